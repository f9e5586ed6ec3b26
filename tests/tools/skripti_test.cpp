// The tool window offscreen: Execute and Stop, the panes, the layouts, copy,
// closing, and runs of script files from the Tools menu.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <string>

#include "core/SharedState.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/tools/TestPacker.h"
#include "tools/Skripti.h"
#include "tools/model/ScriptPack.h"

namespace qv::test {
namespace {

class SkriptiTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        window.host().pendingEvents = [this] {
            ++rounds;
            if (betweenLines) betweenLines();
        };
    }
    std::string value(const std::string& name) const {
        const ScriptRun* r = window.interpreter().lastRun();
        const ScriptVariable* v = r ? r->findVariable(name) : nullptr;
        return v ? v->Value : "<none>";
    }

    ScriptedDialogs dialogs;
    Skripti window;
    std::function<void()> betweenLines;
    int rounds = 0;
};

TEST_F(SkriptiTest, ExecuteRunsThePaneTextAndShowsTheVariables) {
    window.Teksti->setPlainText("$a.set:1\n$b.calc:$a+1\n$c.set:no line end");
    std::vector<QString> captions;
    betweenLines = [&] { captions.push_back(window.Toteuta->text()); };
    window.Toteuta->click();
    EXPECT_EQ(window.Muuttujat->toPlainText(), "$a: 1\n$b: 2\n$c: no line end\n");
    EXPECT_EQ(captions, (std::vector<QString>{"Stop", "Stop", "Stop"}));
    EXPECT_EQ(window.Toteuta->text(), "Execute");
}

// A tool is 8-bit text: a typed character Latin-1 cannot hold stops the
// run before its first line, by name; Latin-1's accents run as they are.
TEST_F(SkriptiTest, ATypedCharacterBeyondLatin1IsRefusedBeforeTheRun) {
    window.Teksti->setPlainText(QStringLiteral("$a.set:1\nmessage:γδ cells"));
    dialogs.expectMessage("The character \"γ\" (U+03B3) cannot be used: names and texts are stored in Latin-1, "
                          "which has no such character.",
                          "Quorvane", MsgAnswer::Ok);
    window.Toteuta->click();
    EXPECT_EQ(value("$a"), "<none>");
    EXPECT_EQ(window.Toteuta->text(), "Execute");

    window.Teksti->setPlainText(QStringLiteral("$a.set:café"));
    window.Toteuta->click();
    EXPECT_EQ(value("$a"), "caf\xE9");
}

TEST_F(SkriptiTest, StopEndsTheRunAfterTheCurrentLineWithoutAMessage) {
    window.Teksti->setPlainText("$i.set:0\ndo:100000\n$i.calc:$i+1\nloop");
    betweenLines = [&] {
        if (rounds == 10) window.Toteuta->click();  // the user clicks Stop
    };
    window.Toteuta->click();
    EXPECT_EQ(rounds, 10);
    EXPECT_EQ(value("$i"), "4");  // ten lines: set, do, then calc and loop four times
    EXPECT_EQ(window.Toteuta->text(), "Execute");
    EXPECT_FALSE(g.ScriptRunning);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(SkriptiTest, SecondExecuteDuringARunStartsNothing) {
    window.Teksti->setPlainText("$n.calc:1\n$n.calc:$n+1\n$n.calc:$n+1");
    const ScriptRun* first = nullptr;
    betweenLines = [&] {
        if (rounds != 1) return;
        first = window.interpreter().lastRun();
        window.Toteuta->click();  // Stop
        window.Toteuta->click();  // Execute again while the stopped run finishes its line
        window.runScriptFile({"t", "t.qorscript", false}, "/s/t.qorscript", "$n.set:99");
    };
    window.Toteuta->click();
    EXPECT_EQ(window.interpreter().lastRun(), first);
    EXPECT_EQ(value("$n"), "1");
    EXPECT_EQ(window.Toteuta->text(), "Execute");
}

TEST_F(SkriptiTest, MessageWaitsForItsBoxAndAFailingLineShowsTheAbortMessage) {
    dialogs.expectMessage("Step one", "Message", MsgAnswer::Ok);
    dialogs.expectMessage("There is an error in the code on line 2. Aborting.", "Fatal error", MsgAnswer::Ok);
    window.Teksti->setPlainText("message:Step one\n$x.calc:1/0\nmessage:never");
    window.Toteuta->click();
    EXPECT_EQ(window.Toteuta->text(), "Execute");
}

TEST_F(SkriptiTest, LayoutsSwitchAndRepeat) {
    window.MuutaSkriptiKoko("pieni");
    window.MuutaSkriptiKoko("pieni");
    EXPECT_TRUE(g.ToolWindowSmall);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.Teksti->isVisible());
    EXPECT_FALSE(window.MuutaKokoa->isVisible());
    EXPECT_TRUE(window.Toteuta->isVisible());
    EXPECT_EQ(window.MuutaKokoa->text(), "Maximize");
    EXPECT_EQ(window.size(), QSize(120, 60));

    window.MuutaSkriptiKoko("");
    EXPECT_FALSE(g.ToolWindowSmall);
    EXPECT_TRUE(window.Teksti->isVisible());
    EXPECT_TRUE(window.Muuttujat->isVisible());
    EXPECT_TRUE(window.Tyhjenna->isVisible());
    EXPECT_EQ(window.MuutaKokoa->text(), "Minimize");
    const QSize large = window.size();
    window.MuutaSkriptiKoko("");
    window.MuutaSkriptiKoko("");
    EXPECT_FALSE(g.ToolWindowSmall);
    EXPECT_EQ(window.size(), large);
    window.MuutaSkriptiKoko("iso");
    EXPECT_FALSE(g.ToolWindowSmall);
    window.MuutaKokoa->click();
    EXPECT_TRUE(g.ToolWindowSmall);
}

TEST_F(SkriptiTest, CopiesTheSelectionOrTheWholeText) {
    EXPECT_EQ(window.AnnaID(), 999);
    window.Teksti->setPlainText("line one\nline two\nline three");
    window.CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "line one\nline two\nline three");

    QTextCursor cursor = window.Teksti->textCursor();
    cursor.setPosition(5);
    cursor.setPosition(13, QTextCursor::KeepAnchor);
    window.Teksti->setTextCursor(cursor);
    window.CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "one\nline");
}

TEST_F(SkriptiTest, RowBoxFollowsTheCaretAndClearEmptiesTheText) {
    window.Teksti->setPlainText("a\nb\nc\nd");
    QTextCursor cursor(window.Teksti->document()->findBlockByNumber(2));
    window.Teksti->setTextCursor(cursor);
    EXPECT_EQ(window.KursorinPaikka->text(), "Row: 3");
    window.Tyhjenna->click();
    EXPECT_TRUE(window.Teksti->toPlainText().isEmpty());
    EXPECT_EQ(window.KursorinPaikka->text(), "Row: 1");
}

TEST_F(SkriptiTest, ClosingOnlyHidesWhileTheProgramRuns) {
    window.MuutaSkriptiKoko("iso");
    EXPECT_FALSE(window.close());
    EXPECT_FALSE(window.isVisible());
    g.ProgramClosing = true;
    window.MuutaSkriptiKoko("iso");
    EXPECT_TRUE(window.close());
}

// ---- runs from the Tools menu ----

TEST_F(SkriptiTest, MenuRunIsSmallWithoutThePaneAndHidesAfterwards) {
    window.Muuttujat->setPlainText("kept");
    bool smallDuringRun = false;
    betweenLines = [&] { smallDuringRun = g.ToolWindowSmall && window.isVisible(); };
    window.runScriptFile({"Count", "Count.qorpack", true}, "/s/Count.qorpack", packForTest("$a.set:1\r\n$b.set:2"));
    EXPECT_TRUE(smallDuringRun);
    EXPECT_EQ(value("$b"), "2");
    EXPECT_EQ(window.Muuttujat->toPlainText(), "kept");
    EXPECT_FALSE(window.isVisible());
}

TEST_F(SkriptiTest, MenuRunThatShowsTheToolWindowLeavesItInView) {
    window.runScriptFile({"Show", "Show.qorscript", false}, "/s/Show.qorscript", "showscripter");
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(g.ToolWindowSmall);
}

TEST_F(SkriptiTest, DamagedPackIsRefusedWithAMessage) {
    dialogs.expectMessage("The tool file is damaged:\n/s/Bad.qortool", "Load error", MsgAnswer::Ok);
    window.runScriptFile({"Bad", "Bad.qortool", true}, "/s/Bad.qortool", "QorScriptPackVer2 whatever");
    EXPECT_EQ(window.interpreter().lastRun(), nullptr);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace qv::test
