// The run frame of the tool language: which lines run, conditional blocks,
// substitution, loops, stopping and the abort message. Each script notes
// what ran through a "note" command added to the table for the test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainServices.h"
#include "tests/support/StandInWindow.h"
#include "tests/support/StubMainServices.h"
#include "tests/tools/ToolRunFixture.h"

namespace qv::test {
namespace {

class InterpreterTest : public ToolRunFixture {
protected:
    void SetUp() override {
        ToolRunFixture::SetUp();
        interpreter.commands().add("note", [this](ScriptLine& line) { notes.push_back(line.ScriptArgument); });
    }
    std::vector<std::string> notes;
};

struct FrameCase {
    const char* name;
    std::string script;
    std::vector<std::string> notes;
};

void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }

class RunFrame : public InterpreterTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(RunFrame, RunsTheLinesItShould) {
    run(GetParam().script);
    EXPECT_EQ(notes, GetParam().notes);
    EXPECT_FALSE(g.ScriptRunning);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, RunFrame,
    ::testing::Values(
        FrameCase{"ShortEmptyAndCommentLinesRunNothing", lines({"a", "#note:x", "", "ab", "  #note:y", "note:ran"}),
                  {"ran"}},
        FrameCase{"FalseConditionSkipsItsBlock", lines({"if.true:false", "note:a", "endif", "note:b"}), {"b"}},
        FrameCase{"TrueConditionRunsItsBlock", lines({"if.false:false", "note:a", "endif", "note:b"}), {"a", "b"}},
        FrameCase{"OtherIfWordNeverHolds", lines({"if.maybe:maybe", "note:a", "endif", "note:b"}), {"b"}},
        FrameCase{"FalseOuterSkipsThroughBothEndifs",
                  lines({"if.true:false", "if.true:true", "note:a", "endif", "note:b", "endif", "note:c"}), {"c"}},
        FrameCase{"TrueOuterFalseInner",
                  lines({"if.true:true", "if.false:true", "note:a", "endif", "note:b", "endif", "note:c"}),
                  {"b", "c"}},
        FrameCase{"BlankBeforeHashStillCountsAsEndif",
                  lines({"if.true:false", "note:a", "  #endif", "note:b", "endif", "note:c"}), {"b", "c"}},
        FrameCase{"LongestNameWins", lines({"$abc.set:5", "$ab.set:7", "$x.set:$abc", "note:$x|$ab|$abc"}),
                  {"5|7|5"}},
        FrameCase{"ValueHoldingANameIsSubstitutedAgain", lines({"$a.set:1", "$b.set:x", "$b.set:$a+$a", "note:$b"}),
                  {"1+1"}},
        FrameCase{"ArgumentIsEverythingAfterTheFirstColon", lines({"note:Note: step 2: done", "note: blank"}),
                  {"Note: step 2: done", " blank"}},
        FrameCase{"TextAndNumbersAsVariables", lines({"$f.set:data.fcs", "$n.set: 12,5", "note:$f $n"}),
                  {"data.fcs 12.5"}},
        FrameCase{"DoLoopRunsTheBodyCountTimes", lines({"do:3", "note:x", "loop"}), {"x", "x", "x"}},
        FrameCase{"NestedLoopsMultiply", lines({"$n.set:0", "do:2", "do:3", "$n.calc:$n+1", "loop", "loop", "note:$n"}),
                  {"6"}},
        FrameCase{"LoopEqualsEndsAfterThePassItHolds",
                  lines({"$i.set:0", "do:10", "$i.calc:$i+1", "loop:$i=5", "note:$i"}), {"5"}},
        FrameCase{"LoopGreaterEndsAfterThePassItHolds",
                  lines({"$i.set:0", "do:10", "$i.calc:$i+1", "loop:$i>2", "note:$i"}), {"3"}},
        FrameCase{"LoopLessEndsAfterThePassItHolds",
                  lines({"$i.set:10", "do:10", "$i.calc:$i-1", "loop:$i<8", "note:$i"}), {"7"}},
        FrameCase{"NegativeCountRunsOnce", lines({"do:-3", "note:x", "loop"}), {"x"}},
        FrameCase{"LfOnlyLinesAndNoFinalLineEnd", "note:a\nnote:b\nnote:c", {"a", "b", "c"}},
        FrameCase{"CrLfWithoutFinalLineEnd", "note:a\r\nnote:b", {"a", "b"}},
        FrameCase{"EndStopsAfterItsLine", lines({"note:a", "end", "note:b"}), {"a"}},
        FrameCase{"EmptyTextRunsNothing", "", {}},
        FrameCase{"TextComparisons",
                  lines({"$a.set:abc", "$a.if.same:ABC", "note:same", "endif", "$a.if.different:ABC", "note:diff",
                         "endif", "$a.if.unknown:abc", "note:unknown", "endif"}),
                  {"diff"}},
        FrameCase{"NumberComparisons",
                  lines({"$n.set:12", "$n.if.bigger:3", "note:big", "endif", "$n.if.smaller:3", "note:small",
                         "endif", "$n.if.equals:12,0", "note:eq", "endif"}),
                  {"big", "eq"}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- errors of the code: the abort message names the line ----

struct ErrorCase {
    const char* name;
    std::string script;
    int line;
    size_t inputAnswerLength = 0;  // an input question is answered with this many characters
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name << " fails on line " << c.line; }

class CodeErrors : public InterpreterTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(CodeErrors, AbortWithTheLineNumber) {
    if (GetParam().inputAnswerLength > 0)
        dialogs.expectAnyInput(QString(static_cast<qsizetype>(GetParam().inputAnswerLength), QLatin1Char('x')));
    dialogs.expectMessage(QString::fromStdString(AbortMessage(GetParam().line)), "Fatal error", MsgAnswer::Ok);
    run(GetParam().script + "note:after\r\n");
    EXPECT_TRUE(notes.empty() || notes.back() != "after");
    EXPECT_FALSE(g.ScriptRunning);
}

std::string nestedDo(int depth) {
    std::string out;
    for (int i = 0; i < depth; ++i) out += "do:2\r\n";
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, CodeErrors,
    ::testing::Values(
        ErrorCase{"FailingSeventhLine",
                  lines({"note:1", "# two", "note:3", "note:4", "note:5", "note:6", "$x.int:abc"}), 7},
        ErrorCase{"VariableHoldingItsOwnName", lines({"$a.set:$a", "note:$a"}), 2},
        ErrorCase{"TwoVariablesNamingEachOther",
                  lines({"$b.set:0", "$a.calc:\"$\" & \"b\"", "$b.calc:\"$\" & \"a\"", "note:$a"}), 4},
        ErrorCase{"LoopWithoutDo", lines({"note:a", "loop"}), 2},
        ErrorCase{"LoopAfterItsLoopEnded", lines({"do:1", "loop", "loop"}), 3},
        ErrorCase{"HundredAndFirstNestedDo", nestedDo(101), 101},
        ErrorCase{"DoWithoutANumber", lines({"do:many"}), 1},
        ErrorCase{"LoopConditionWithoutANumber", lines({"do:3", "loop:x=1"}), 2},
        ErrorCase{"MalformedCalculation", lines({"$x.calc:2*(3"}), 1},
        ErrorCase{"UnknownWordInCalculation", lines({"$x.calc:y+1"}), 1},
        ErrorCase{"NumberComparisonOnText", lines({"$a.set:abc", "$a.if.bigger:1"}), 2},
        ErrorCase{"ZerosOnText", lines({"$a.set:abc", "$a.zeros:3"}), 2},
        ErrorCase{"ZerosWithoutAWidth", lines({"$a.set:5", "$a.zeros:wide"}), 2},
        ErrorCase{"RedrawOfAnEmptyWindowSlot", lines({"update.window:7"}), 1},
        ErrorCase{"RedrawOfAWindowNumberOutOfRange", lines({"update.window:-1"}), 1},
        ErrorCase{"PopulationSlotOutOfRange", lines({"update.population:99"}), 1},
        ErrorCase{"QuestionWithoutAName", lines({"question..input:x"}), 1},
        ErrorCase{"VersionWithTooFewParts", lines({"version.require:1.2"}), 1},
        // Doubles on every pass: the line that would cross the length limit fails.
        ErrorCase{"VariableDoublingItselfInALoop", lines({"$v.set:ab", "do:100", "$v.set:$v$v", "loop"}), 3},
        // Every command that lengthens a variable is held to the same limit.
        ErrorCase{"ZerosPaddingPastTheLengthLimit", lines({"$v.set:7", "do:100", "$v.zeros:32767", "loop"}), 3},
        ErrorCase{"SetFromALineLongerThanTheLimit",
                  lines({"note:a"}) + "$v.set:" + std::string(MaxSubstitutedLength + 1, 'x') + "\r\n", 2},
        ErrorCase{"InputAnswerLongerThanTheLimit", lines({"question.answer.input:Value?"}), 1,
                  MaxSubstitutedLength + 1}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- substitution into tokens and queries, the pane, the frame's calls ----

TEST_F(InterpreterTest, VariableTokenAddressesTheWindowItsNumberNames) {
    StandInWindow window("Dot Plot", true);
    g.WindowRegistry[2].InUse = true;
    g.WindowRegistry[2].Form = &window;
    interpreter.commands().add("w.*.redraw", [](ScriptLine& line) {
        line.host.redrawWindow(ScriptLine::wholeNumber(line.token(1)));
    });
    run(lines({"$n.set:2", "w.$n.redraw", "update.window:$n", "$n.if.equals:2", "note:token 0 stays", "endif"}));
    EXPECT_EQ(window.drawCount, 2);
    EXPECT_EQ(notes, std::vector<std::string>{"token 0 stays"});
    g.WindowRegistry[2] = WindowRecord{};
}

TEST_F(InterpreterTest, QueryGetsVariablesSubstitutedFirst) {
    interpreter.setQueryEvaluator([](ScriptLine&, const std::string& query) { return "answer to " + query; });
    run(lines({"$w.set:3", "note:@w.$w.x", "note:not @ first"}));
    EXPECT_EQ(notes, (std::vector<std::string>{"answer to @w.3.x", "not @ first"}));
}

TEST_F(InterpreterTest, PaneListsTheVariablesAfterEveryLine) {
    std::vector<std::string> panes;
    host.onVariables = [&](const std::string& pane) { panes.push_back(pane); };
    ASSERT_TRUE(interpreter.AjaOhjelma(lines({"$a.set:1", "#", "$b.set:x y"}), true));
    EXPECT_EQ(panes, (std::vector<std::string>{"$a: 1\n", "$a: 1\n", "$a: 1\n$b: x y\n"}));
}

TEST_F(InterpreterTest, AutosavesOnceAndProcessesEventsAfterEveryLine) {
    struct Services : StubMainServices {
        std::vector<QString> saves;
        void TalletaNakyma(const QString& mode) override { saves.push_back(mode); }
    } services;
    setMainServices(&services);
    run(lines({"note:a", "", "note:b"}));
    setMainServices(nullptr);
    EXPECT_EQ(services.saves, std::vector<QString>{"Autosave"});
    EXPECT_EQ(eventRounds, 3);
}

TEST_F(InterpreterTest, StopBetweenLinesEndsTheRunAfterTheCurrentLine) {
    betweenLines = [&] {
        if (notes.size() == 2) ScriptInterpreter::stop();
    };
    run(lines({"do:100", "note:x", "loop"}));
    EXPECT_EQ(notes.size(), 2u);
}

TEST_F(InterpreterTest, ExitDuringARunRunsNoFurtherLine) {
    betweenLines = [&] {
        // The exit releases windows and data; the run must not touch them again.
        if (!notes.empty()) g.ProgramClosing = true;
    };
    run(lines({"note:a", "note:b", "$x.int:abc"}));
    EXPECT_EQ(notes, std::vector<std::string>{"a"});
}

TEST_F(InterpreterTest, NoSecondRunStartsInsideARun) {
    bool nestedStarted = true;
    betweenLines = [&] {
        if (notes.size() == 1 && nestedStarted) nestedStarted = interpreter.AjaOhjelma("note:nested", false);
    };
    run(lines({"note:a", "note:b"}));
    EXPECT_FALSE(nestedStarted);
    EXPECT_EQ(notes, (std::vector<std::string>{"a", "b"}));
}

TEST_F(InterpreterTest, EachRunStartsAfresh) {
    run(lines({"$a.set:1", "do:5", "loop:1=2", "if.true:false"}));
    run(lines({"note:$a", "note:shown"}));
    EXPECT_EQ(notes, (std::vector<std::string>{"$a", "shown"}));
}

TEST_F(InterpreterTest, PaneShowsTheStartOfALongValue) {
    std::vector<std::string> panes;
    host.onVariables = [&](const std::string& pane) { panes.push_back(pane); };
    const std::string exact(MaxPaneValueLength, 'e');
    const std::string longer = exact + "f";
    ASSERT_TRUE(interpreter.AjaOhjelma("$a.set:" + exact + "\r\n$b.set:" + longer + "\r\n", true));
    ASSERT_FALSE(panes.empty());
    EXPECT_EQ(panes.back(), "$a: " + exact + "\n$b: " + exact + "...\n");
    EXPECT_EQ(interpreter.lastRun()->findVariable("$b")->Value, longer);  // the value itself is whole
}

// ---- the length substitution may build ----

class SubstitutionLength : public ::testing::Test {
protected:
    ScriptRun run;
};

TEST_F(SubstitutionLength, GrowingPastTheLimitIsAnError) {
    const std::string half(MaxSubstitutedLength / 2, 'x');
    run.appendVariable("$h", half, false);
    EXPECT_EQ(run.substituteVariables("$h$h"), half + half);  // exactly at the limit
    EXPECT_THROW(run.substituteVariables("$h$h+"), ScriptError);
    EXPECT_THROW(run.substituteVariables("$h$h$h"), ScriptError);
}

TEST_F(SubstitutionLength, ValuesNamingEachOtherAreStoppedAtTheLimitToo) {
    // Each pass replaces one name by four more: far more than the limit
    // within the allowed passes, unless stopped at the length.
    run.appendVariable("$a", "$b$b$b$b", false);
    run.appendVariable("$b", "$a$a$a$a", false);
    EXPECT_THROW(run.substituteVariables("$a"), ScriptError);
}

TEST_F(SubstitutionLength, ALongLineThatDoesNotGrowIsSubstituted) {
    run.appendVariable("$name", "v", false);
    const std::string tail(MaxSubstitutedLength, 'y');
    EXPECT_EQ(run.substituteVariables("$name" + tail), "v" + tail);
}

TEST(ScriptLinesTest, SplitAtLineEnds) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitScriptLines("a\r\nb\nc"), (V{"a", "b", "c"}));
    EXPECT_EQ(SplitScriptLines("a\r\n"), (V{"a"}));
    EXPECT_EQ(SplitScriptLines("a\r\n\r\nb\r\n"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitScriptLines("a\rb"), (V{"a\rb"}));
    EXPECT_EQ(SplitScriptLines(""), V{});
}

}  // namespace
}  // namespace qv::test
