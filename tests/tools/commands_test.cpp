// The variable, version, question and program commands, run as small
// scripts; questions and messages are answered by the scripted dialogs.
#include <gtest/gtest.h>

#include <string>

#include "tests/tools/ToolRunFixture.h"
#include "tools/model/ScriptCommands.h"

namespace qv::test {
namespace {

struct ValueCase {
    const char* name;
    std::string script;  // ends by setting $r
    std::string value;
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name << " gives \"" << c.value << '"'; }

class VariableValues : public ToolRunFixture, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(VariableValues, GiveTheValue) {
    run(GetParam().script);
    EXPECT_EQ(value("$r"), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, VariableValues,
    ::testing::Values(
        ValueCase{"CalcDivision", lines({"$r.calc:7/2"}), "3.5"},
        ValueCase{"CalcDecimalComma", lines({"$r.calc:1,5*2"}), "3"},
        ValueCase{"CalcSubstitutedDecimalComma", lines({"$x.set:2,5", "$r.calc:$x*2"}), "5"},
        ValueCase{"CalcPower", lines({"$r.calc:2^10"}), "1024"},
        ValueCase{"CalcWholeDivision", lines({"$r.calc:7\\2"}), "3"},
        ValueCase{"CalcMod", lines({"$r.calc:7 Mod 3"}), "1"},
        ValueCase{"CalcComparison", lines({"$r.calc:1<2"}), "True"},
        ValueCase{"CalcRoundHalfToEven", lines({"$r.calc:Round(2.5)"}), "2"},
        ValueCase{"CalcRoundToDecimals", lines({"$r.calc:Round(3.14159, 2)"}), "3.14"},
        ValueCase{"CalcDecimalResultUsesPoint", lines({"$r.calc:1,5/2"}), "0.75"},
        ValueCase{"CalcCounter", lines({"$r.set:0", "do:4", "$r.calc:$r+1", "loop"}), "4"},
        ValueCase{"IntOfNegativeHalf", lines({"$r.int:-2.5"}), "-3"},
        ValueCase{"IntWithDecimalComma", lines({"$r.int:7,9"}), "7"},
        ValueCase{"ZerosPadsToTheWidth", lines({"$r.set:5", "$r.zeros:3"}), "005"},
        ValueCase{"ZerosLeavesAWiderNumber", lines({"$r.set:1234", "$r.zeros:3"}), "1234"},
        ValueCase{"ZerosExactWidth", lines({"$r.set:42", "$r.zeros:2"}), "42"},
        ValueCase{"ZerosKeepsTheFraction", lines({"$r.set:7.5", "$r.zeros:3"}), "007.5"},
        ValueCase{"ZerosBeyondSevenDigits", lines({"$r.set:12345678", "$r.zeros:10"}), "0012345678"},
        ValueCase{"ZerosResultIsSubstitutedAsText", lines({"$n.set:5", "$n.zeros:3", "$r.set:f$n"}), "f005"},
        ValueCase{"DigitsOnlyCreates", lines({"$r.digits:3"}), ""},
        ValueCase{"SetNumberIsWrittenWithPoint", lines({"$r.set:0012,50"}), "12.5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScriptCalculationTest, CommaBecomesAPointOnlyBetweenDigits) {
    EXPECT_EQ(ScriptCalculation("Round(1,25, 1)"), "1.2");
    EXPECT_THROW(ScriptCalculation("Round(3.14159,2)"), ScriptError);  // 3.14159.2 is no number
    EXPECT_THROW(ScriptCalculation("1 +"), ScriptError);
}

// ---- version ----

struct VersionCase {
    const char* required;
    bool met;
};

void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.required << (c.met ? " is met" : " is not met"); }

// "1.2.1" met: "1_2_1_IsMet".
std::string versionCaseName(const ::testing::TestParamInfo<VersionCase>& info) {
    std::string name = info.param.required;
    for (char& ch : name)
        if (ch == '.') ch = '_';
    return name + (info.param.met ? "_IsMet" : "_IsNotMet");
}

class VersionRequire : public ToolRunFixture, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionRequire, RunsOnOnlyWhenMet) {
    if (!GetParam().met)
        dialogs.expectMessage(QString("This tool requires at least version ") + GetParam().required + ". Aborting.",
                              "Quorvane", MsgAnswer::Ok);
    run(lines({(std::string("version.require:") + GetParam().required).c_str(), "$r.set:ran"}));
    EXPECT_EQ(value("$r"), GetParam().met ? "ran" : "<none>");
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionRequire,
                         ::testing::Values(VersionCase{"1.2.1", true}, VersionCase{"1.3.0", false},
                                           VersionCase{"1.2.2", false}, VersionCase{"2.0.0", false},
                                           VersionCase{"0.9.9", true}, VersionCase{"1.1", true},
                                           VersionCase{"1.2.0", true}),
                         versionCaseName);

// ---- questions ----

class Questions : public ToolRunFixture {};

TEST_F(Questions, InputAnswerBecomesAVariable) {
    dialogs.expectInput("Name of the\nsample", "Quorvane", QString("CD4 run"));
    run(lines({"question.sample.input:Name of the[enter]sample", "$r.set:sample"}));
    EXPECT_EQ(value("sample"), "CD4 run");
    EXPECT_EQ(value("$r"), "CD4 run");
}

TEST_F(Questions, InputCancelledOrEmptyEndsTheRun) {
    for (std::optional<QString> answer : {std::optional<QString>(), std::optional<QString>(QString())}) {
        dialogs.expectAnyInput(answer);
        dialogs.expectMessage("You must give the value for each question. Aborting.", "Quorvane", MsgAnswer::Ok);
        run(lines({"question.x.input:Value?", "$r.set:ran"}));
        EXPECT_EQ(value("x"), "<none>");
        EXPECT_EQ(value("$r"), "<none>");
    }
}

TEST_F(Questions, FileQuestionsSetTheFolderAndTheName) {
    dialogs.expectSaveFile(QString("/data/run 1/out.txt"), "Save results as");
    dialogs.expectOpenFile(QString("/data/in/a.fcs"), "Pick a file");
    run(lines({"question.out.file.save:Save results as", "question.in.file.open:Pick a file"}));
    EXPECT_EQ(value("out"), "out.txt");
    EXPECT_EQ(value("in"), "a.fcs");
    EXPECT_EQ(interpreter.lastRun()->ToolFolder, "/data/in/");
}

TEST_F(Questions, FolderQuestionTakesTheChosenFilesFolder) {
    dialogs.expectOpenFile(QString("/data/plate 3/A01.fcs"), "Select folder");
    run(lines({"question.dir.folder.open:start.fcs"}));
    EXPECT_EQ(value("dir"), "/data/plate 3/");
    EXPECT_EQ(interpreter.lastRun()->ToolFolder, "/data/plate 3/");
    EXPECT_EQ(dialogs.shown().back().defaultText, "start.fcs");
}

struct CancelCase {
    const char* name;
    const char* line;
    DialogKind kind;
    const char* message;  // "" when the run ends without one
};

void PrintTo(const CancelCase& c, std::ostream* os) { *os << c.line; }

class QuestionCancel : public ToolRunFixture, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(QuestionCancel, EndsTheRunWithItsMessage) {
    switch (GetParam().kind) {
        case DialogKind::SaveFile: dialogs.expectSaveFile(std::nullopt); break;
        case DialogKind::OpenFile: dialogs.expectOpenFile(std::nullopt); break;
        case DialogKind::Printer: dialogs.expectPrinter(false); break;
        default: dialogs.expectMessage("Go on?", "Quorvane", MsgButtons::OkCancel, MsgAnswer::Cancel); break;
    }
    if (*GetParam().message) dialogs.expectMessage(GetParam().message, "Quorvane", MsgAnswer::Ok);
    run(lines({GetParam().line, "$r.set:ran"}));
    EXPECT_EQ(value("$r"), "<none>");
}

INSTANTIATE_TEST_SUITE_P(
    Questions, QuestionCancel,
    ::testing::Values(CancelCase{"SaveFileQuestion", "question.f.file.save:t", DialogKind::SaveFile,
                                 "You must give the valid file name. Aborting."},
                      CancelCase{"OpenFileQuestion", "question.f.file.open:t", DialogKind::OpenFile,
                                 "You must give the valid file name. Aborting."},
                      CancelCase{"FolderQuestion", "question.d.folder.open:", DialogKind::OpenFile,
                                 "You must give the valid folder. Aborting."},
                      CancelCase{"PrinterQuestion", "question.printer.set", DialogKind::Printer, "Print aborted!"},
                      CancelCase{"ContinueQuestion", "question.go.continue:Go on?", DialogKind::Message, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Questions, ContinueAndPrinterConfirmedGoOn) {
    dialogs.expectMessage("Go on?", "Quorvane", MsgButtons::OkCancel, MsgAnswer::Ok);
    dialogs.expectPrinter(true);
    run(lines({"question.go.continue:Go on?", "question.printer.set", "$r.set:ran"}));
    EXPECT_EQ(value("$r"), "ran");
    EXPECT_TRUE(interpreter.lastRun()->PrinterSet);
}

// ---- messages ----

TEST_F(Questions, DoZeroShowsItsMessageAndEnds) {
    dialogs.expectMessage("You must give the max loop times. Aborting.", "Quorvane", MsgAnswer::Ok);
    run(lines({"do:0", "$r.set:ran", "loop"}));
    EXPECT_EQ(value("$r"), "<none>");
}

TEST_F(Questions, MessageShowsItsTextTitledMessageAndWaits) {
    dialogs.expectMessage("one\ntwo: three", "Message", MsgButtons::Ok, MsgAnswer::Ok);
    // The run is past the message only once the box is closed.
    betweenLines = [&] { EXPECT_EQ(dialogs.pending(), 0u); };
    run(lines({"message:one[enter]two: three", "$r.set:ran"}));
    EXPECT_EQ(value("$r"), "ran");
}

TEST_F(Questions, ShowscripterAsksForTheLargeLayout) {
    int shown = 0;
    host.onShowToolWindow = [&] { ++shown; };
    run(lines({"showscripter"}));
    EXPECT_EQ(shown, 1);
}

TEST_F(Questions, AutoupdateKeywordsMustFollowTheColonExactly) {
    run(lines({"autoupdate:off"}));
    EXPECT_FALSE(interpreter.lastRun()->AutoUpdate);
    run(lines({"autoupdate:off", "autoupdate: on"}));
    EXPECT_FALSE(interpreter.lastRun()->AutoUpdate);
    run(lines({"autoupdate:off", "autoupdate:on"}));
    EXPECT_TRUE(interpreter.lastRun()->AutoUpdate);
}

}  // namespace
}  // namespace qv::test
