#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/model/DefinitionEvaluator.h"
#include "app/model/PopulationPanelModel.h"
#include "app/model/PopulationRecompute.h"
#include "core/SharedState.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

using test::MakeFile;
using test::MembershipColumn;
using test::PutFile;
using test::PutPolygon;

// Answers the panel's questions from a script and records what was asked;
// a question the script does not expect fails the test.
class ScriptedQuestions : public PanelQuestions {
public:
    struct Asked {
        std::string kind, text, title, defaultText;
        PanelButtons buttons = PanelButtons::Ok;
    };
    using Answer = std::variant<bool, std::optional<std::string>, std::optional<Rgb>>;

    bool message(const std::string& text, const std::string& title, PanelButtons buttons) override {
        asked.push_back({"message", text, title, {}, buttons});
        return next<bool>(false);
    }
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override {
        asked.push_back({"input", prompt, title, defaultText});
        return next<std::optional<std::string>>(std::nullopt);
    }
    std::optional<Rgb> chooseColour(Rgb initial) override {
        asked.push_back({"colour", std::to_string(initial.Red) + "," + std::to_string(initial.Green) + "," +
                                       std::to_string(initial.Blue)});
        return next<std::optional<Rgb>>(std::nullopt);
    }

    std::deque<Answer> answers;
    std::vector<Asked> asked;

private:
    template <class T>
    T next(T fallback) {
        if (answers.empty() || !std::holds_alternative<T>(answers.front())) {
            ADD_FAILURE() << "unexpected question: " << asked.back().kind << " \"" << asked.back().text << "\"";
            return fallback;
        }
        T value = std::get<T>(answers.front());
        answers.pop_front();
        return value;
    }
};

PopulationRecord& Definition(int slot, const std::string& text, bool inUse = true) {
    PopulationRecord& d = g.PopulationTable[static_cast<size_t>(slot)];
    d.InUse = inUse;
    d.Name = text;
    return d;
}

class PopulationPanelModel : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        // Events at PlotSpace (x, y): ranges of 10000 keep values as positions.
        std::vector<std::vector<float>> events = {{1000, 9000}, {7000, 9000}, {1000, 1000}, {7000, 1000}};
        file_ = &PutFile(1, MakeFile({{"FSC", 10000}, {"SSC", 10000}}, events));
        PutPolygon(1, 1, 2, {{0, 0}, {5000, 0}, {5000, 10000}, {0, 10000}});       // left half
        PutPolygon(2, 1, 2, {{0, 5000}, {10000, 5000}, {10000, 10000}, {0, 10000}});  // bottom half
        PutPolygon(10, 1, 2, {{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}});    // everything
        RecomputeAllPopulations();
    }
    void TearDown() override { EXPECT_TRUE(q_.answers.empty()) << "answers left unused"; }

    FileRecord* file_ = nullptr;
    ScriptedQuestions q_;
};

TEST_F(PopulationPanelModel, CreateArmsDrawingAndAsksBeforeRedefining) {
    // A free row: drawing mode at once, no question; a second press cancels it.
    CreatePopulation(3, q_);
    EXPECT_TRUE(g.RegionDrawMode);
    CreatePopulation(3, q_);
    EXPECT_FALSE(g.RegionDrawMode);
    ASSERT_TRUE(q_.asked.empty()) << "no question for a free row, none for the second press";

    // A row in use asks; Cancel leaves drawing off and the slot unchanged.
    g.RegionDrawMode = false;
    q_.answers = {false, true};
    const PopulationRecord before = g.PopulationTable[1];
    CreatePopulation(1, q_);
    EXPECT_FALSE(g.RegionDrawMode);
    EXPECT_EQ(g.PopulationTable[1].Name, before.Name);
    EXPECT_TRUE(g.PopulationTable[1].InUse);
    CreatePopulation(1, q_);
    EXPECT_TRUE(g.RegionDrawMode);
    ASSERT_EQ(q_.asked.size(), 2u);
    EXPECT_EQ(q_.asked[1].text, "Population has been already defined. Do you want to re-define it?");
    EXPECT_EQ(q_.asked[1].title, "Population already defined");
    EXPECT_EQ(q_.asked[1].buttons, PanelButtons::OkCancel);
    EXPECT_EQ(CreatePopulation(1, q_), 0);  // armed: this press only cancels, asking nothing
    EXPECT_FALSE(g.RegionDrawMode);
    EXPECT_EQ(q_.asked.size(), 2u);

    // A polygon half drawn in window 4 is abandoned whole: the next click
    // after "Create" starts a new one instead of continuing it.
    EXPECT_EQ(CreatePopulation(3, q_), 0);
    g.GateInProgress = true;
    g.DraftRegion.DraftWindow = 4;
    g.DraftRegion.Corners = 2;
    EXPECT_EQ(CreatePopulation(3, q_), 4) << "the window whose rubber band must go";
    EXPECT_FALSE(g.RegionDrawMode);
    EXPECT_FALSE(g.GateInProgress);
    EXPECT_EQ(g.DraftRegion.Corners, 0);
    EXPECT_FALSE(g.PopulationTable[3].InUse);
    EXPECT_EQ(AbandonGateDrawing(), 0) << "nothing left to abandon";
    EXPECT_EQ(q_.asked.size(), 2u);
}

TEST_F(PopulationPanelModel, RenameRewritesEveryDefinitionWordOfTheOldName) {
    Definition(17, "poly-1 and (Poly-2 or not POLY-1)");
    Definition(18, "(Poly-10) or Poly-1", false);  // not in use: rewritten as well
    Definition(19, "Poly-10 and not Poly-2");
    const std::vector<int> column17 = MembershipColumn(*file_, 17);
    q_.answers = {std::optional<std::string>("Live")};
    EXPECT_TRUE(RenamePopulation(1, q_));
    ASSERT_EQ(q_.asked.size(), 1u);
    EXPECT_EQ(q_.asked[0].text, "Give a new name for population");
    EXPECT_EQ(q_.asked[0].title, "Rename population");
    EXPECT_EQ(q_.asked[0].defaultText, "Poly-1");
    EXPECT_EQ(g.PopulationTable[1].Name, "Live");
    EXPECT_EQ(g.PopulationTable[17].Name, "Live and (Poly-2 or not Live)");
    EXPECT_EQ(g.PopulationTable[18].Name, "(Poly-10) or Live");
    EXPECT_EQ(g.PopulationTable[19].Name, "Poly-10 and not Poly-2");
    EXPECT_EQ(MembershipColumn(*file_, 17), column17) << "a rename changes no event";
    EXPECT_EQ(MembershipColumn(*file_, 1), (std::vector<int>{1, 0, 1, 0}));
}

TEST_F(PopulationPanelModel, RenameInDefinitionKeepsBlanksAndParentheses) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"((poly-1))", "((Live))"},
        {"not(Poly-1) and Poly-1x", "not(Poly-1) and Poly-1x"},  // glued to "not": another word
        {"Poly-1  or Poly-1", "Live  or Live"},
        {"Poly-10 or poly-1", "Poly-10 or Live"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(RenameInDefinition(c.text, "Poly-1", "Live"), c.expected) << c.text;
}

TEST_F(PopulationPanelModel, RenameRefusesNamesNoDefinitionCouldUse) {
    Definition(17, "Poly-1 and Poly-2");
    // Each refusal names the rule the name breaks (rows 1, 2 and 10 are in use).
    const std::string blank = " contains a blank.";
    const std::string keyword = " is a word of the definitions (\"and\", \"or\", \"not\") and cannot name a population.";
    const std::string taken = " (names are compared without regard to case).";
    const std::string byDefault = ", which a gate drawn into that row gets; choose another name.";
    struct Case {
        const char* name;
        std::string message;
    };
    const Case refused[] = {
        {" ", "A population name must be one word: \" \"" + blank},
        {"   ", "A population name must be one word: \"   \"" + blank},
        {"Live cells", "A population name must be one word: \"Live cells\"" + blank},
        {" Live", "A population name must be one word: \" Live\"" + blank},
        {"Live ", "A population name must be one word: \"Live \"" + blank},
        {"(Live)", "A population name cannot contain a parenthesis: \"(Live)\"."},
        {"Li)ve", "A population name cannot contain a parenthesis: \"Li)ve\"."},
        {"and", "\"and\"" + keyword},
        {"OR", "\"OR\"" + keyword},
        {"Not", "\"Not\"" + keyword},
        {"poly-2", "\"poly-2\" is already the name of the population in row 2" + taken},
        {"POLY-10", "\"POLY-10\" is already the name of the population in row 10" + taken},
        // Default names of other rows, in use or not.
        {"Poly-3", "\"Poly-3\" is the default name of row 3" + byDefault},
        {"poly-5", "\"poly-5\" is the default name of row 5" + byDefault},
        {"POLY-16", "\"POLY-16\" is the default name of row 16" + byDefault},
        {"Histo-3", "\"Histo-3\" is the default name of row 3" + byDefault},
        {"poly-16", "\"poly-16\" is the default name of row 16" + byDefault},
        {"HISTO-2", "\"HISTO-2\" is the default name of row 2" + byDefault},
        {"Bending-3", "\"Bending-3\" is the default name of row 3" + byDefault},
        {"bending-16", "\"bending-16\" is the default name of row 16" + byDefault},
        {"DAD-3", "\"DAD-3\" is the default name of row 3" + byDefault},
        {"dad-2", "\"dad-2\" is the default name of row 2" + byDefault},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE("\"" + std::string(c.name) + "\"");
        q_.asked.clear();
        q_.answers = {std::optional<std::string>(c.name), true};
        EXPECT_FALSE(RenamePopulation(1, q_));
        ASSERT_EQ(q_.asked.size(), 2u);
        EXPECT_EQ(q_.asked[1].text, c.message);
        EXPECT_EQ(q_.asked[1].title, "Rename population");
        EXPECT_EQ(q_.asked[1].buttons, PanelButtons::Ok);
        EXPECT_EQ(PopulationNameProblem(1, c.name), c.message);
        EXPECT_EQ(g.PopulationTable[1].Name, "Poly-1");
        EXPECT_EQ(g.PopulationTable[17].Name, "Poly-1 and Poly-2");
    }

    // Cancel and an empty answer change nothing and say nothing.
    for (std::optional<std::string> answer : {std::optional<std::string>(), std::optional<std::string>("")}) {
        q_.asked.clear();
        q_.answers = {answer};
        EXPECT_FALSE(RenamePopulation(1, q_));
        EXPECT_EQ(q_.asked.size(), 1u);
        EXPECT_EQ(g.PopulationTable[1].Name, "Poly-1");
    }

    // Its own name in another case, a name of a slot not in use, a name with
    // letters of other words: accepted, and the definitions still evaluate.
    g.PopulationTable[5].Name = "Old";
    for (const char* name : {"POLY-1", "Old", "Andrea", "Poly-1b", "Poly-17", "Poly-03", "Histo-1", "Histo-17", "Histo-0",
                             "Bending-1", "DAD-1", "DAD-17", "Bending-0", "Bend-3", "DAD3"}) {
        q_.answers = {std::optional<std::string>(name)};
        EXPECT_TRUE(RenamePopulation(1, q_)) << name;
        EXPECT_EQ(g.PopulationTable[17].Name, std::string(name) + " and Poly-2");
    }
    CheckDefinition(17);
    EXPECT_TRUE(g.PopulationTable[17].InUse);

    // A slot not in use: nothing asked.
    q_.asked.clear();
    EXPECT_FALSE(RenamePopulation(3, q_));
    EXPECT_TRUE(q_.asked.empty());
    EXPECT_FALSE(PopulationButtonsEnabled(3));
    EXPECT_TRUE(PopulationButtonsEnabled(1));
}

TEST_F(PopulationPanelModel, DeletePopulationDropsItsDefinitionsAndClearsItsColumn) {
    Definition(17, "Poly-1 and Poly-2");
    Definition(18, "Poly-10 and not Poly-2");
    CheckDefinition(17);
    CheckDefinition(18);
    g.PopulationTable[1].Transparent = true;

    // Cancel: nothing changes.
    q_.answers = {false};
    EXPECT_FALSE(DeletePopulation(1, q_));
    EXPECT_TRUE(g.PopulationTable[1].InUse);
    ASSERT_EQ(q_.asked.size(), 1u);
    EXPECT_EQ(q_.asked[0].text, "Do you really want to delete the selected population?");
    EXPECT_EQ(q_.asked[0].title, "Delete population");
    EXPECT_EQ(q_.asked[0].buttons, PanelButtons::OkCancel);

    q_.answers = {true};
    const Rgb colour{g.PopulationTable[1].ColorRed, g.PopulationTable[1].ColorGreen, g.PopulationTable[1].ColorBlue};
    EXPECT_TRUE(DeletePopulation(1, q_));
    const PopulationRecord& p = g.PopulationTable[1];
    EXPECT_FALSE(p.InUse);
    EXPECT_EQ(p.Name, "");
    EXPECT_FALSE(p.Transparent);
    EXPECT_EQ(p.Type, "Polygon") << "the gate's geometry stays for the next gate drawn into it";
    EXPECT_EQ(p.Corners, 4);
    EXPECT_EQ((Rgb{p.ColorRed, p.ColorGreen, p.ColorBlue}), colour);
    EXPECT_EQ(MembershipColumn(*file_, 1), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_FALSE(g.PopulationTable[17].InUse) << "dropped without a message";
    EXPECT_TRUE(g.PopulationTable[18].InUse);
    EXPECT_EQ(MembershipColumn(*file_, 18), (std::vector<int>{1, 1, 0, 0}));

    const PanelView view = RefreshPanel(1);
    EXPECT_EQ(view.Definitions[0].Caption, "Not defined");
    EXPECT_EQ(view.Populations[0].Caption, "Not defined");
    EXPECT_FALSE(view.PopulationButtonsEnabled);

    // A row not in use: nothing asked.
    q_.asked.clear();
    EXPECT_FALSE(DeletePopulation(1, q_));
    EXPECT_TRUE(q_.asked.empty());
}

TEST_F(PopulationPanelModel, DefineStoresValidTextsAndShowsTheEvaluatorsMessage) {
    const std::string prompt =
        "Create a new definition (case insensitive)\rExamples:\r  Poly-1 and Poly-2\r"
        "  Poly-1 and (Histo-2 or Poly-3)\r  Poly-1 and Histo-2 and not Poly-3";
    q_.answers = {std::optional<std::string>("Poly-1 and not Poly-2")};
    EXPECT_TRUE(DefineDefinition(17, q_));
    ASSERT_EQ(q_.asked.size(), 1u);
    EXPECT_EQ(q_.asked[0].text, prompt);
    EXPECT_EQ(q_.asked[0].title, "Create definition");
    EXPECT_EQ(q_.asked[0].defaultText, "");
    EXPECT_TRUE(g.PopulationTable[17].InUse);
    EXPECT_EQ(g.PopulationTable[17].Name, "Poly-1 and not Poly-2");
    EXPECT_EQ(MembershipColumn(*file_, 17), (std::vector<int>{1, 0, 0, 0}));

    // Re-defining asks first, offers the current text; a failing text is shown
    // and the row stays as it was.
    q_.asked.clear();
    q_.answers = {true, std::optional<std::string>("Poly-1 and Poly-3"), true};
    EXPECT_FALSE(DefineDefinition(17, q_));
    ASSERT_EQ(q_.asked.size(), 3u);
    EXPECT_EQ(q_.asked[0].text, "The definition has been already defined. To you want to re-define it?");
    EXPECT_EQ(q_.asked[0].title, "Definition already defined");
    EXPECT_EQ(q_.asked[1].defaultText, "Poly-1 and not Poly-2");
    EXPECT_EQ(q_.asked[2].text, "Error in the definition: poly-3");
    EXPECT_EQ(q_.asked[2].title, "Quorvane");
    EXPECT_EQ(q_.asked[2].buttons, PanelButtons::Ok);
    EXPECT_EQ(g.PopulationTable[17].Name, "Poly-1 and not Poly-2");
    EXPECT_TRUE(g.PopulationTable[17].InUse);
    EXPECT_EQ(MembershipColumn(*file_, 17), (std::vector<int>{1, 0, 0, 0}));

    q_.answers = {true, std::optional<std::string>("Poly-1 and"), true};
    EXPECT_FALSE(DefineDefinition(17, q_));
    EXPECT_EQ(q_.asked.back().text, "Problem in the definition");

    // Cancel at the question or at the input box ends the command.
    q_.answers = {false};
    EXPECT_FALSE(DefineDefinition(17, q_));
    q_.answers = {true, std::optional<std::string>()};
    EXPECT_FALSE(DefineDefinition(17, q_));
    EXPECT_EQ(g.PopulationTable[17].Name, "Poly-1 and not Poly-2");

    // A failing text on a free row leaves it free.
    q_.answers = {std::optional<std::string>("Poly-7"), true};
    EXPECT_FALSE(DefineDefinition(18, q_));
    EXPECT_FALSE(g.PopulationTable[18].InUse);
}

TEST_F(PopulationPanelModel, DeleteDefinitionKeepsItsColumn) {
    q_.answers = {std::optional<std::string>("not Poly-2")};
    ASSERT_TRUE(DefineDefinition(20, q_));
    q_.asked.clear();
    q_.answers = {false, true};
    EXPECT_FALSE(DeleteDefinition(20, q_));
    EXPECT_TRUE(g.PopulationTable[20].InUse);
    EXPECT_TRUE(DeleteDefinition(20, q_));
    EXPECT_EQ(q_.asked[0].text, "Do you really want to delete the definition?");
    EXPECT_EQ(q_.asked[0].title, "Delete definition");
    EXPECT_FALSE(g.PopulationTable[20].InUse);
    EXPECT_EQ(g.PopulationTable[20].Name, "");
    EXPECT_EQ(MembershipColumn(*file_, 20), (std::vector<int>{1, 1, 0, 0}));
    // Not in use: nothing asked.
    q_.asked.clear();
    EXPECT_FALSE(DeleteDefinition(20, q_));
    EXPECT_TRUE(q_.asked.empty());
}

TEST_F(PopulationPanelModel, ColoursAndTransparencyWorkOnEveryRow) {
    q_.answers = {std::optional<Rgb>(Rgb{1, 2, 3}), std::optional<Rgb>()};
    EXPECT_TRUE(ChooseSlotColour(5, q_));  // not in use: the colour still changes
    EXPECT_EQ((Rgb{g.PopulationTable[5].ColorRed, g.PopulationTable[5].ColorGreen, g.PopulationTable[5].ColorBlue}),
              (Rgb{1, 2, 3}));
    EXPECT_TRUE(ChooseSlotColour(5, q_)) << "Cancel still redraws";
    EXPECT_EQ(q_.asked[1].text, "1,2,3") << "the dialog starts from the slot's colour";
    EXPECT_EQ(g.PopulationTable[5].ColorRed, 1);

    ToggleTransparent(1);
    ToggleTransparent(5);   // population not in use: the refresh sets it back
    ToggleTransparent(30);  // definition not in use: stays
    const PanelView view = RefreshPanel(1);
    EXPECT_EQ(view.Populations[0].Label, "T");
    EXPECT_EQ(view.Populations[4].Label, "C");
    EXPECT_FALSE(g.PopulationTable[5].Transparent);
    EXPECT_EQ(view.Definitions[30 - 17].Label, "T");
    EXPECT_EQ(view.Populations[4].Colour, (Rgb{1, 2, 3}));
    ToggleTransparent(1);
    EXPECT_EQ(RefreshPanel(1).Populations[0].Label, "C");
}

TEST_F(PopulationPanelModel, RefreshListsSlotsInUseForTheShowPopulationsMenu) {
    Definition(17, "Poly-1 or Poly-2");
    Definition(18, "stale", false);
    const PanelView view = RefreshPanel(2);
    ASSERT_EQ(view.Populations.size(), 16u);
    ASSERT_EQ(view.Definitions.size(), 16u);
    EXPECT_EQ(view.Populations[1].Slot, 2);
    EXPECT_EQ(view.Populations[1].Caption, "Poly-2");
    EXPECT_EQ(view.Populations[2].Caption, "Not defined");
    EXPECT_EQ(view.Definitions[0].Slot, 17);
    EXPECT_EQ(view.Definitions[0].Caption, "Poly-1 or Poly-2");
    EXPECT_EQ(view.Definitions[1].Caption, "Not defined");
    EXPECT_EQ(g.PopulationTable[18].Name, "");
    EXPECT_TRUE(view.PopulationButtonsEnabled);
    ASSERT_EQ(view.ShowPopulation.size(), 4u);
    const int slots[] = {1, 2, 10, 17};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(view.ShowPopulation[k].Slot, slots[k]);
        EXPECT_EQ(g.ShowPopulationMap[k + 1], slots[k]);
    }
    EXPECT_EQ(view.ShowPopulation[3].Caption, "Poly-1 or Poly-2");

    // After a deletion the items close up and the map follows.
    q_.answers = {true};
    DeletePopulation(2, q_);
    const PanelView after = RefreshPanel(2);
    ASSERT_EQ(after.ShowPopulation.size(), 2u);  // the definition named Poly-2 went too
    EXPECT_EQ(g.ShowPopulationMap[1], 1);
    EXPECT_EQ(g.ShowPopulationMap[2], 10);
    EXPECT_EQ(g.ShowPopulationMap[3], 0);
    EXPECT_FALSE(after.PopulationButtonsEnabled);
}

}  // namespace
}  // namespace qv
