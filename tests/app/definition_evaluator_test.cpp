#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "app/model/DefinitionEvaluator.h"
#include "core/SharedState.h"

namespace qv {
namespace {

// Populations of the fixture, one bit each in the event number: event e
// (1..16) belongs to population Slots[k] when bit k of e - 1 is set, so the
// sixteen events cover every combination.
constexpr std::array<int, 4> Slots = {1, 2, 10, 4};
constexpr int DefinitionSlot = 17;
constexpr int Events = 16;

using Members = std::array<bool, 4>;  // Poly-1, Poly-2, Poly-10, Solu-Ä
using Rule = std::function<bool(const Members&)>;

Members membersOf(int event) {
    Members m{};
    for (size_t k = 0; k < m.size(); ++k) m[k] = ((event - 1) >> k) & 1;
    return m;
}

void loadFile(int fileSlot, int events) {
    FileRecord& f = g.FileTable[static_cast<size_t>(fileSlot)];
    f = FileRecord{};
    f.Loaded = true;
    f.FileKey = 1000 + fileSlot;
    f.EventCount = events;
    f.EventsLoaded = events;
    f.Membership.resize(events, g.membershipSlots());
    for (int e = 1; e <= events; ++e) {
        const Members m = membersOf((e - 1) % Events + 1);
        for (size_t k = 0; k < Slots.size(); ++k) f.Membership(e, Slots[k]) = m[k];
    }
}

void definePopulation(int slot, const std::string& name) {
    PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
    p.InUse = true;
    p.Name = name;
    p.Type = "Polygon";
}

class DefinitionEvaluator : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        definePopulation(1, "Poly-1");
        definePopulation(2, "Poly-2");
        definePopulation(10, "Poly-10");
        definePopulation(4, "Solu-\xC4");  // Latin-1 capital A with diaeresis
        loadFile(1, Events);
        loadFile(3, 3 * Events);
    }

    // Sets the definition column of every loaded file to `value`.
    static void fillDefinitionColumn(uint8_t value) {
        for (auto& f : g.FileTable) {
            if (!f.Loaded) continue;
            for (int e = 1; e <= f.EventCount; ++e) f.Membership(e, DefinitionSlot) = value;
        }
    }
    static void expectColumnHolds(uint8_t value, const std::string& text) {
        for (auto& f : g.FileTable) {
            if (!f.Loaded) continue;
            for (int e = 1; e <= f.EventCount; ++e)
                ASSERT_EQ(f.Membership(e, DefinitionSlot), value) << text << " / event " << e;
        }
    }
    static void expectDefinitionColumn(const Rule& rule, const std::string& text) {
        for (int fileSlot : {1, 3}) {
            const FileRecord& f = g.FileTable[static_cast<size_t>(fileSlot)];
            for (int e = 1; e <= f.EventCount; ++e) {
                const int combination = (e - 1) % Events + 1;
                EXPECT_EQ(f.Membership(e, DefinitionSlot), rule(membersOf(combination)) ? 1 : 0)
                    << text << " / file " << fileSlot << " event " << e;
            }
        }
    }
};

struct ValidCase {
    const char* text;
    Rule rule;
};

TEST_F(DefinitionEvaluator, ValidTextsGiveTheBooleanMeaning) {
    const ValidCase cases[] = {
        {"Poly-1 and Poly-2", [](const Members& m) { return m[0] && m[1]; }},
        {"POLY-1 Or poly-2", [](const Members& m) { return m[0] || m[1]; }},
        {"(Poly-1 or Poly-2) and Poly-10", [](const Members& m) { return (m[0] || m[1]) && m[2]; }},
        {"Poly-10 and (Poly-1)", [](const Members& m) { return m[2] && m[0]; }},
        {"not Poly-1", [](const Members& m) { return !m[0]; }},
        {"Poly-1 or Poly-1", [](const Members& m) { return m[0]; }},
        // "Poly-1" is the start of "Poly-10": names are whole words.
        {"Poly-1 and not Poly-10", [](const Members& m) { return m[0] && !m[2]; }},
        {"Poly-10 and not Poly-1", [](const Members& m) { return m[2] && !m[0]; }},
        {"not (Poly-1 or Poly-2)", [](const Members& m) { return !(m[0] || m[1]); }},
        {"not Poly-1 and Poly-2", [](const Members& m) { return !m[0] && m[1]; }},
        {"Poly-1 or Poly-2 and Poly-10", [](const Members& m) { return m[0] || (m[1] && m[2]); }},
        {"Poly-1 and (not Poly-2 or Poly-10)", [](const Members& m) { return m[0] && (!m[1] || m[2]); }},
        {"not (not Poly-1)", [](const Members& m) { return m[0]; }},
        {"((Poly-2))", [](const Members& m) { return m[1]; }},
        {"Poly-1 and Poly-2 and not Poly-10", [](const Members& m) { return m[0] && m[1] && !m[2]; }},
        {"sOLU-\xE4 or Poly-10", [](const Members& m) { return m[3] || m[2]; }},
        {"NOT (poly-1 OR POLY-2) AND Poly-10", [](const Members& m) { return !(m[0] || m[1]) && m[2]; }},
        {"(Poly-1 or (Poly-2 and not (Poly-10)))", [](const Members& m) { return m[0] || (m[1] && !m[2]); }},
        {"not Poly-1 or not Poly-1", [](const Members& m) { return !m[0]; }},
    };
    for (const ValidCase& c : cases) {
        fillDefinitionColumn(7);
        const DefinitionResult r = EvaluateDefinition(DefinitionSlot, c.text);
        EXPECT_TRUE(r.ok()) << c.text << ": " << r.Message;
        expectDefinitionColumn(c.rule, c.text);
    }
}

struct InvalidCase {
    const char* text;
    const char* message;
};

TEST_F(DefinitionEvaluator, InvalidTextsGiveTheirMessageAndChangeNothing) {
    g.PopulationTable[DefinitionSlot + 1].InUse = true;
    g.PopulationTable[DefinitionSlot + 1].Name = "Both";
    const InvalidCase cases[] = {
        {"Poly-1 and Poly-3", "Error in the definition: poly-3"},  // slot 3 not in use
        {"Poly-1 and Both", "Error in the definition: both"},      // a definition's name
        {"Poly-1 or Poly-1x", "Error in the definition: poly-1x"},
        {"POLY-1 OR POLY-99", "Error in the definition: poly-99"},
        {"(Poly-1)(Poly-2)", "Error in the definition: poly-1poly-2"},
        {"", "Error in the definition: "},
        {"Poly-1  and Poly-2", "Error in the definition: "},
        {" Poly-1", "Error in the definition: "},
        {"Poly-1 and ()", "Error in the definition: "},
        // Keywords glued to a parenthesis are no longer words of their own.
        {"not(Poly-1)", "Error in the definition: notpoly-1"},
        {"Poly-1 and(Poly-2)", "Error in the definition: andpoly-2"},
        {"(Poly-1)or Poly-2", "Error in the definition: poly-1or"},
        {"Poly-1 and", "Problem in the definition"},
        {"or Poly-1", "Problem in the definition"},
        {"Poly-1 and or Poly-2", "Problem in the definition"},
        {"not not Poly-1", "Problem in the definition"},
        {"Poly-1 and not", "Problem in the definition"},
        {"not", "Problem in the definition"},
        {"Poly-1 or not (Poly-2) not", "Problem in the definition"},
        {"not ()", "Error in the definition: "},  // the group leaves an empty word
        {"(Poly-1 or Poly-2", "Problem in the definition"},
        {"Poly-1 or Poly-2)", "Problem in the definition"},
        {"Poly-1 Poly-2", "Problem in the definition"},
        {"Poly-1 not Poly-2", "Problem in the definition"},
        {"(Poly-1) (Poly-2)", "Problem in the definition"},
    };
    for (const InvalidCase& c : cases) {
        fillDefinitionColumn(7);
        const DefinitionResult r = EvaluateDefinition(DefinitionSlot, c.text);
        EXPECT_EQ(r.Message, c.message) << "text: \"" << c.text << "\"";
        EXPECT_EQ(r.Title, "Quorvane");
        expectColumnHolds(7, c.text);
    }
}

TEST_F(DefinitionEvaluator, OnlyLoadedFilesAndEventsInUseAreWritten) {
    loadFile(5, Events);
    g.FileTable[5].Loaded = false;
    fillDefinitionColumn(7);
    g.FileTable[3].EventCount = Events;  // events above it are not in use
    for (int e = 1; e <= Events; ++e) g.FileTable[5].Membership(e, DefinitionSlot) = 7;

    ASSERT_TRUE(EvaluateDefinition(DefinitionSlot, "Poly-2").ok());
    for (int e = 1; e <= Events; ++e) {
        EXPECT_EQ(g.FileTable[1].Membership(e, DefinitionSlot), membersOf(e)[1] ? 1 : 0);
        EXPECT_EQ(g.FileTable[3].Membership(e, DefinitionSlot), membersOf(e)[1] ? 1 : 0);
        EXPECT_EQ(g.FileTable[5].Membership(e, DefinitionSlot), 7) << "file not loaded";
    }
    for (int e = Events + 1; e <= 3 * Events; ++e)
        EXPECT_EQ(g.FileTable[3].Membership(e, DefinitionSlot), 7) << "event " << e << " beyond EventCount";
}

TEST_F(DefinitionEvaluator, RepeatedNamesDoNotGrowTheTable) {
    // Forty mentions of four populations: one truth-table column per
    // population, so this is as quick as the short form.
    std::string text = "Poly-1";
    for (int i = 0; i < 39; ++i) text += i % 2 ? " or Poly-1" : " and (Poly-2 or Poly-10 or not Solu-\xC4)";
    ASSERT_TRUE(EvaluateDefinition(DefinitionSlot, text).ok());
    expectDefinitionColumn(
        [](const Members& m) { return m[0] && (m[1] || m[2] || !m[3]); }, "forty mentions");
}

TEST_F(DefinitionEvaluator, WritesOnlyIntoDefinitionSlots) {
    fillDefinitionColumn(7);
    const uint8_t before = g.FileTable[1].Membership(1, 2);
    EXPECT_EQ(EvaluateDefinition(2, "Poly-1").Message, "Problem in the definition");
    EXPECT_EQ(EvaluateDefinition(0, "Poly-1").Message, "Problem in the definition");
    EXPECT_EQ(g.FileTable[1].Membership(1, 2), before);
    CheckDefinition(2);
    EXPECT_TRUE(g.PopulationTable[2].InUse) << "a population slot is not a definition to drop";
}

TEST_F(DefinitionEvaluator, CheckDefinitionDropsTextsThatNoLongerEvaluate) {
    PopulationRecord& valid = g.PopulationTable[DefinitionSlot];
    valid.InUse = true;
    valid.Name = "poly-1 AND POLY-2";
    PopulationRecord& stale = g.PopulationTable[DefinitionSlot + 1];
    stale.InUse = true;
    stale.Name = "Poly-1 or Poly-2";
    PopulationRecord& unused = g.PopulationTable[DefinitionSlot + 2];
    unused.Name = "Poly-1";  // not in use: left alone
    for (auto& f : g.FileTable) {
        if (!f.Loaded) continue;
        for (int e = 1; e <= f.EventCount; ++e) f.Membership(e, DefinitionSlot + 2) = 7;
    }

    CheckAllDefinitions();
    EXPECT_TRUE(valid.InUse);
    EXPECT_TRUE(stale.InUse);
    expectDefinitionColumn([](const Members& m) { return m[0] && m[1]; }, valid.Name);

    // Deleting Poly-2 leaves the texts naming it unable to evaluate.
    g.PopulationTable[2].InUse = false;
    g.PopulationTable[2].Name.clear();
    fillDefinitionColumn(7);
    CheckDefinition(DefinitionSlot);
    CheckDefinition(DefinitionSlot + 1);
    EXPECT_FALSE(valid.InUse);
    EXPECT_FALSE(stale.InUse);
    EXPECT_EQ(valid.Name, "poly-1 AND POLY-2") << "the text stays; only InUse changes";
    expectColumnHolds(7, "dropped definition");
    EXPECT_FALSE(unused.InUse);
    EXPECT_EQ(g.FileTable[1].Membership(1, DefinitionSlot + 2), 7);
}

TEST_F(DefinitionEvaluator, TwoPopulationsOfOneNameUseTheFirst) {
    definePopulation(6, "poly-2");
    for (int e = 1; e <= Events; ++e) g.FileTable[1].Membership(e, 6) = 1;
    ASSERT_TRUE(EvaluateDefinition(DefinitionSlot, "Poly-2").ok());
    for (int e = 1; e <= Events; ++e)
        EXPECT_EQ(g.FileTable[1].Membership(e, DefinitionSlot), membersOf(e)[1] ? 1 : 0);
}

}  // namespace
}  // namespace qv
