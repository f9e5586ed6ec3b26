// Typed names and answers enter 8-bit tables and files: wherever the user
// types one, a character Latin-1 cannot hold is refused with a message that
// names it (and the question comes back with the answer as typed), never
// kept as "?"; Latin-1's own accented letters are kept byte for byte.
#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/FileInfo.h"
#include "app/PopulationPanel.h"
#include "app/PopulationPanelActions.h"
#include "app/model/Latin1Text.h"
#include "app/model/PopulationRecompute.h"
#include "app/model/WritingDate.h"
#include "core/SharedState.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ParamNames.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StubMainServices.h"
#include "tools/ToolHost.h"
#include "tools/model/ScriptInterpreter.h"

namespace qv {
namespace {

using test::ScriptedDialogs;

class ChosenRows final : public test::StubMainServices {
public:
    explicit ChosenRows(PopulationPanel& panel) : panel_(panel) {}
    void PiirraKaikki() override { panel_.PaivitaRegionLista(); }
    void PaivitaRegionLista() override { panel_.PaivitaRegionLista(); }
    int ValittuPopulaatio() const override { return panel_.ValittuPopulaatio(); }
    int ValittuMaaritelma() const override { return panel_.ValittuMaaritelma(); }

private:
    PopulationPanel& panel_;
};

// Every place a name or answer is typed, ready to be asked: a file with a
// gate in population row 1, shown by File info, and a tool run.
class TypingPlaces {
public:
    TypingPlaces() {
        resetSharedState();
        test::PutFile(1, test::MakeFile({{"FSC", 10000}, {"SSC", 10000}}, {{1000, 9000}, {7000, 1000}}));
        test::PutPolygon(1, 1, 2, {{0, 0}, {5000, 0}, {5000, 10000}, {0, 10000}});
        RecomputeAllPopulations();
        panel_.PaivitaRegionLista();
        setMainServices(&main_);
        g.WindowRegistry[3].InUse = true;
        g.WindowRegistry[3].FileIndex = 1;
        fileInfo_ = std::make_unique<FileInfo>();
        fileInfo_->AsetaLista(3, false);
    }
    ~TypingPlaces() {
        fileInfo_.reset();
        setMainServices(nullptr);
        SetWindowPopulationCheck({});
        resetSharedState();
    }

    void renamePopulation() {
        panel_.choosePopulation(1);
        actions_.MuutaRegioninNimi_Click();
    }
    void renameParameter() { fileInfo_->renameParameter(1); }
    void answerToolQuestion() { interpreter_.AjaOhjelma("question.x.input:Name?\r\n", false); }

    std::string toolAnswer() const {
        const ScriptRun* r = interpreter_.lastRun();
        const ScriptVariable* v = r ? r->findVariable("x") : nullptr;
        return v ? v->Value : "<none>";
    }

private:
    PopulationPanel panel_;
    PopulationPanelActions actions_{panel_};
    ChosenRows main_{panel_};
    std::unique_ptr<FileInfo> fileInfo_;
    ToolHost host_;
    ScriptInterpreter interpreter_{host_};
};

struct Place {
    const char* name;
    QString prompt, title;
    std::function<void(TypingPlaces&)> ask;
    std::function<std::string(TypingPlaces&)> kept;
    std::string before;
    // What follows a cancelled question, besides nothing being kept.
    std::function<void(ScriptedDialogs&)> afterCancel;
};

const std::vector<Place>& places() {
    static const std::vector<Place> all = {
        {"population name", "Give a new name for population", "Rename population",
         [](TypingPlaces& t) { t.renamePopulation(); }, [](TypingPlaces&) { return g.PopulationTable[1].Name; },
         "Poly-1", {}},
        {"File info parameter name", "Give a new name for parameter", "Rename the parameter",
         [](TypingPlaces& t) { t.renameParameter(); }, [](TypingPlaces&) { return g.FileTable[1].Parameters[2].Name; },
         "SSC", {}},
        {"tool question answer", "Name?", "Quorvane", [](TypingPlaces& t) { t.answerToolQuestion(); },
         [](TypingPlaces& t) { return t.toolAnswer(); }, "<none>",
         [](ScriptedDialogs& d) {
             d.expectMessage("You must give the value for each question. Aborting.", "Quorvane", MsgAnswer::Ok);
         }},
    };
    return all;
}

struct Typed {
    const char* name;
    QString text;
    QString refused;    // the character named, empty when the text is kept
    QString codePoint;  // of the refused character
    std::string kept;   // the bytes kept when accepted
};

const std::vector<Typed>& typedTexts() {
    static const std::vector<Typed> all = {
        {"Greek letters", QStringLiteral("γδ-T"), QStringLiteral("γ"), "03B3", {}},
        {"euro sign after Latin-1 letters", QStringLiteral("CD4 é €"), QStringLiteral("€"), "20AC", {}},
        {"character beyond the basic plane", QStringLiteral("T\U0001D6FC"), QStringLiteral("\U0001D6FC"), "1D6FC", {}},
        {"Latin-1 accents kept", QStringLiteral("é-ÿ-µ"), {}, {}, "\xE9-\xFF-\xB5"},
    };
    return all;
}

struct TypingCase {
    size_t place;
    size_t typed;
};
void PrintTo(const TypingCase& c, std::ostream* os) {
    *os << typedTexts()[c.typed].name << " as " << places()[c.place].name;
}

std::vector<TypingCase> everyTypingCase() {
    std::vector<TypingCase> cases;
    for (size_t p = 0; p < places().size(); ++p)
        for (size_t t = 0; t < typedTexts().size(); ++t) cases.push_back({p, t});
    return cases;
}

class TypedText : public ::testing::TestWithParam<TypingCase> {};

TEST_P(TypedText, ACharacterLatin1CannotHoldIsRefusedByName) {
    const Place& place = places()[GetParam().place];
    const Typed& typed = typedTexts()[GetParam().typed];
    TypingPlaces at;
    ScriptedDialogs dialogs;
    dialogs.expectInput(place.prompt, place.title, typed.text);
    if (typed.refused.isEmpty()) {
        place.ask(at);
        EXPECT_EQ(place.kept(at), typed.kept);
        return;
    }
    dialogs.expectMessage(QStringLiteral("The character \"%1\" (U+%2) cannot be used: names and texts are stored in "
                                         "Latin-1, which has no such character.")
                              .arg(typed.refused, typed.codePoint),
                          place.title, MsgButtons::Ok, MsgAnswer::Ok);
    dialogs.expectInput(place.prompt, place.title, std::nullopt);
    if (place.afterCancel) place.afterCancel(dialogs);
    place.ask(at);
    EXPECT_EQ(place.kept(at), place.before);
    // The question came back with the answer as typed, for the user to mend.
    ASSERT_GE(dialogs.shown().size(), 3u);
    EXPECT_EQ(dialogs.shown()[2].defaultText, typed.text);
}

INSTANTIATE_TEST_SUITE_P(Places, TypedText, ::testing::ValuesIn(everyTypingCase()), [](const auto& info) {
    return test::TestNameOf(std::string(typedTexts()[info.param.typed].name) + " as " +
                                places()[info.param.place].name,
                            info.index);
});

// The mended answer after a refusal is the one kept, and a second name
// typed the same way is no longer taken for the first one's "??".
TEST(TypedTextMended, TheAnswerAfterARefusalIsKept) {
    TypingPlaces at;
    ScriptedDialogs dialogs;
    dialogs.expectInput("Give a new name for population", "Rename population", QStringLiteral("γδ-T"));
    dialogs.expectAnyMessage(MsgAnswer::Ok);
    dialogs.expectInput("Give a new name for population", "Rename population", QStringLiteral("gd-T"));
    at.renamePopulation();
    EXPECT_EQ(g.PopulationTable[1].Name, "gd-T");
    EXPECT_TRUE(dialogs.shown()[1].text.contains(QStringLiteral("\"γ\"")));
}

// The sheet's date is in ASCII digits whatever the locale writes.
TEST(WritingDate, DigitsAreAsciiUnderAnyLocale) {
    const QLocale before;
    for (const QLocale& locale : {QLocale(QLocale::Arabic, QLocale::Egypt), QLocale(QLocale::Persian, QLocale::Iran),
                                  QLocale(QLocale::Chinese, QLocale::China), QLocale(QLocale::C)}) {
        QLocale::setDefault(locale);
        EXPECT_EQ(WritingDateText(QDate(2026, 12, 3)), "3/12/2026") << locale.name().toStdString();
    }
    QLocale::setDefault(before);
}

}  // namespace
}  // namespace qv
