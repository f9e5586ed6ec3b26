// Tools driving the program: queries, window, creation and population
// commands, the folder walk with its output file, the write guards and
// printing the print page, inside the started main window.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

#include "app/FileOpening.h"
#include "core/AtomicFile.h"
#include "app/FilePlotWindow.h"
#include "app/model/FolderListing.h"
#include "core/FcsReader.h"
#include "app/PlotWindow.h"
#include "tests/support/core/SpecialFiles.h"
#include "tests/tools/ToolProgramFixture.h"

namespace qv::test {
namespace {

std::string script(std::initializer_list<std::string> items) {
    std::string out;
    for (const std::string& line : items) out += line + "\r\n";
    return out;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A window kind that answers only what the query edge cases need.
class KnownStatisticsWindow final : public PlotWindow {
public:
    void Alusta(int) override {}
    void Piirra() override {}
    int AnnaID() const override { return 2; }
    void UnloadWindow() override {}
    void MenuValintaReaktio(int) override {}
    void CopyToClipboard() override {}
    std::vector<std::string> SaveInfo() override { return {"0"}; }
    void LoadInfo(const std::string&) override {}
    double AnnaStatistiikka(const std::string&, const std::string&) override { return answer; }
    double answer = 12.3456;
};

// ---- the folder walk ----

// Walks `folder` in a dot plot with its statistics open, writing the name,
// the event count and whether the statistics are open, a line per file.
std::string walkScript(const std::string& folder) {
    return script({
        "folder.set:" + folder,
        "create.dotplot:1",
        "w.1.statistics.visible:true",
        "w.1.file.move:first",
        "output.set:result.txt",
        "do:@.filesinfolder",
        "$name.set:@.w.1.filename",
        "$id.set:@.w.1.fileid",
        "$cells.set:@.f.$id.cells",
        "$open.set:@.w.1.statistics.exists",
        "output.write:$name[tab]$cells[tab]$open",
        "w.1.file.move:next",
        "loop",
    });
}

// The reason the reader gives for a file writeDamaged made.
const std::string TooShort = "the file is too short to hold an FCS header";

// The message that ends a run whose walks passed these files (name and the
// reader's reason), as shown.
QString passedMessage(const TempFolder& data, const std::vector<std::pair<std::string, std::string>>& files) {
    QString text = files.size() == 1 ? QStringLiteral("The tool passed 1 file that was not a valid flow cytometry file:")
                                     : QStringLiteral("The tool passed %1 files that were not valid flow cytometry files:")
                                           .arg(files.size());
    for (const auto& [name, reason] : files) text += QString::fromStdString("\n" + data.file(name) + ": " + reason);
    return text;
}

TEST_F(ToolProgramTest, FolderWalkWritesOneLinePerLoadableFileAndTheNextRunAppends) {
    writeFcs("a.fcs", {{100, 200}, {300, 400}});
    writeDamaged("b.fcs");
    writeFcs("c.fcs", {{1, 2}, {3, 4}, {5, 6}});
    const std::string walk = walkScript(data.path());
    // The damaged file is passed over without a box of its own; each run
    // names it when it ends.
    dialogs.expectMessage(passedMessage(data, {{"b.fcs", TooShort}}), "Load error", MsgAnswer::Ok);
    run(walk);
    EXPECT_EQ(readAll(data.file("result.txt")), "a.fcs\t2\ttrue\r\nc.fcs\t3\ttrue\r\n");
    EXPECT_FALSE(tool().interpreter().lastRun()->OutputOpened);
    dialogs.expectMessage(passedMessage(data, {{"b.fcs", TooShort}}), "Load error", MsgAnswer::Ok);
    run(walk);
    EXPECT_EQ(readAll(data.file("result.txt")), "a.fcs\t2\ttrue\r\nc.fcs\t3\ttrue\r\na.fcs\t2\ttrue\r\nc.fcs\t3\ttrue\r\n");
}

TEST_F(ToolProgramTest, WalksACopyOfTheInstrumentFilesOverTheOnesRefused) {
    const QDir source(QStringLiteral(QV_TESTDATA_DIR));
    if (!source.exists()) GTEST_SKIP() << "no instrument files at " << QV_TESTDATA_DIR;
    for (const QString& name : source.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(source.filePath(name), QString::fromStdString(data.file(name.toStdString()))));
    std::string expected;
    std::vector<std::pair<std::string, std::string>> refused;
    for (const std::string& name : ListFcsFiles(data.path())) {
        const FileRecord file = ReadFcsFile(data.file(name));
        if (file.Loaded) expected += name + "\t" + std::to_string(file.EventCount) + "\ttrue\r\n";
        else refused.emplace_back(name, file.RefusalReason);
    }
    ASSERT_FALSE(expected.empty());
    // Every refused file is named once at the end, with the reader's reason.
    if (!refused.empty()) dialogs.expectMessage(passedMessage(data, refused), "Load error", MsgAnswer::Ok);
    run(walkScript(data.path()));
    EXPECT_EQ(readAll(data.file("result.txt")), expected);
}

TEST_F(ToolProgramTest, FileThatFailsToLoadHasTheLoadersMessageAndTheRunGoesOn) {
    writeDamaged("b.fcs");
    dialogs.expectAnyMessage(MsgAnswer::Ok);
    run(script({"folder.set:" + data.path(), "create.dotplot:1", "w.1.file.load:b.fcs", "$after.set:1"}));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].title, "Load error");
    EXPECT_TRUE(dialogs.shown()[0].text.contains(QString::fromStdString(data.file("b.fcs"))));
    EXPECT_EQ(value("$after"), "1");
    EXPECT_EQ(g.WindowRegistry[1].FileIndex, 0);
}

// ---- loading named files ----

// `count` events of two parameters, each event its own values.
std::vector<std::vector<double>> events(int count) {
    std::vector<std::vector<double>> out;
    for (int i = 0; i < count; ++i) out.push_back({static_cast<double>(i % 1000), static_cast<double>((i * 7) % 1000)});
    return out;
}

// The file a window shows and its event count; "" and -1 for none.
std::pair<std::string, int> shownFile(int window) {
    const int f = g.WindowRegistry[window].FileIndex;
    if (f < 1 || f > g.MaxFiles || g.FileTable[f].FileKey == 0) return {"", -1};
    return {g.FileTable[f].FileName, g.FileTable[f].EventCount};
}

TEST_F(ToolProgramTest, TwentyFiveLoadsIntoOneWindowEachReportTheirOwnFile) {
    std::string expected;
    for (int i = 1; i <= 25; ++i) {
        const std::string name = (i < 10 ? "s0" : "s") + std::to_string(i) + ".fcs";
        writeFcs(name, events(i));
        expected += name + "\t" + std::to_string(i) + "\r\n";
    }
    run(script({"folder.set:" + data.path(), "create.dotplot:1", "output.set:batch.txt", "$i.set:0", "do:25",
                "$i.calc:$i+1", "$n.set:$i", "$n.zeros:2", "w.1.file.load:s$n.fcs", "$name.set:@.w.1.filename",
                "$id.set:@.w.1.fileid", "$cells.set:@.f.$id.cells", "output.write:$name[tab]$cells", "loop"}));
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(readAll(data.file("batch.txt")), expected);
    // Only the window's own file is held.
    int held = 0;
    for (int f = 1; f <= g.MaxFiles; ++f) held += g.FileTable[f].FileKey != 0;
    EXPECT_EQ(held, 1);
}

// Windows 1..20 each show their own file fNN.fcs of NN events when `load`
// runs, and window 21, made before them, shows none; the table is full then.
struct FullTableLoad {
    const char* name;
    std::vector<std::string> before;  // lines after the twenty windows
    std::string load;                 // the line that loads
    bool refusedAsFull;
    int window;              // the window looked at afterwards
    const char* shownName;   // the file it shows then
    int shownCells;
};

void PrintTo(const FullTableLoad& c, std::ostream* os) { *os << c.name << ": " << c.load; }

class FileLoadIntoAFullTable : public ToolProgramTest, public ::testing::WithParamInterface<FullTableLoad> {};

TEST_P(FileLoadIntoAFullTable, TakesTheFileOnlyWhereASlotCanBeFreed) {
    const FullTableLoad& c = GetParam();
    for (int i = 1; i <= 20; ++i) writeFcs((i < 10 ? "f0" : "f") + std::to_string(i) + ".fcs", events(i));
    writeFcs("x.fcs", events(50));
    writeDamaged("bad.fcs");
    std::vector<std::string> lines{"folder.set:" + data.path(), "create.dotplot:21", "$i.set:0",
                                   "do:20",                     "$i.calc:$i+1",      "$n.set:$i",
                                   "$n.zeros:2",                "create.dotplot:$i", "w.$i.file.load:f$n.fcs",
                                   "loop"};
    lines.insert(lines.end(), c.before.begin(), c.before.end());
    lines.push_back(c.load);
    const int loadLine = static_cast<int>(lines.size());
    lines.push_back("$after.set:ran");
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";

    if (c.refusedAsFull)
        dialogs.expectMessage(abortText(loadLine) + "\nThe file table is full: each of its 20 files is shown by a window.",
                              "Fatal error", MsgAnswer::Ok);
    // What the window shows while the loader's own "Load error" is open.
    std::optional<std::pair<std::string, int>> shownDuringTheRefusal;
    const bool refusedByTheReader = std::string(c.load).find("bad.fcs") != std::string::npos;
    if (refusedByTheReader)
        dialogs.expectAnyMessage(MsgAnswer::Ok).whileShown([&] { shownDuringTheRefusal = shownFile(c.window); });
    run(text);
    if (refusedByTheReader)
        EXPECT_EQ(shownDuringTheRefusal, std::make_pair(std::string(c.shownName), c.shownCells));

    EXPECT_EQ(value("$after"), c.refusedAsFull ? "<none>" : "ran");
    EXPECT_EQ(shownFile(c.window), std::make_pair(std::string(c.shownName), c.shownCells));
    // The other windows keep their files.
    for (int w = 1; w <= 19; ++w) {
        const std::string own = (w < 10 ? "f0" : "f") + std::to_string(w) + ".fcs";
        EXPECT_EQ(shownFile(w), std::make_pair(own, w)) << "window " << w;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileLoadIntoAFullTable,
    ::testing::Values(
        FullTableLoad{"AWindowWithoutAFileIsRefused", {}, "w.21.file.load:x.fcs", true, 21, "", -1},
        FullTableLoad{"AWindowSharingItsFileIsRefused", {"w.21.file.load:f20.fcs"}, "w.21.file.load:x.fcs", true, 21,
                      "f20.fcs", 20},
        FullTableLoad{"TheOnlyWindowOfAFileTakesTheNewOneInItsPlace", {}, "w.20.file.load:x.fcs", false, 20, "x.fcs", 50},
        FullTableLoad{"AFileTheReaderRefusesLeavesTheWindowItsOwn", {}, "w.20.file.load:bad.fcs", false, 20, "f20.fcs", 20},
        FullTableLoad{"ALoadedFileIsSharedWithoutASlot", {}, "w.21.file.load:f05.fcs", false, 21, "f05.fcs", 5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolProgramTest, FirstPassesARefusedFirstFileQuietly) {
    writeDamaged("a.fcs");
    writeFcs("b.fcs", {{1, 2}});
    dialogs.expectMessage(passedMessage(data, {{"a.fcs", TooShort}}), "Load error", MsgAnswer::Ok);
    run(script({"folder.set:" + data.path(), "create.dotplot:1", "w.1.file.move:first", "$name.set:@.w.1.filename"}));
    EXPECT_EQ(dialogs.shown().size(), 1u);  // at the end of the run, not when passed
    EXPECT_EQ(value("$name"), "b.fcs");
}

TEST_F(ToolProgramTest, WalkOverAFolderWhoseFirstFilesAreRefusedWritesTheOthers) {
    writeDamaged("a1.fcs");
    writeDamaged("a2.fcs");
    writeFcs("b.fcs", {{1, 2}});
    writeDamaged("c.fcs");
    writeFcs("d.fcs", {{1, 2}, {3, 4}});
    dialogs.expectMessage(passedMessage(data, {{"a1.fcs", TooShort}, {"a2.fcs", TooShort}, {"c.fcs", TooShort}}),
                          "Load error", MsgAnswer::Ok);
    run(walkScript(data.path()));
    EXPECT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(readAll(data.file("result.txt")), "b.fcs\t1\ttrue\r\nd.fcs\t2\ttrue\r\n");
}

// The truth of "first" goes to the innermost loop: false when no file of the
// folder loads, so the loop ends after its first pass.
struct FirstTruthCase {
    const char* name;
    bool goodFile;
    const char* passes;
};

void PrintTo(const FirstTruthCase& c, std::ostream* out) { *out << c.name; }

class FirstFileTruth : public ToolProgramTest, public ::testing::WithParamInterface<FirstTruthCase> {};

TEST_P(FirstFileTruth, GoesToTheInnermostLoop) {
    writeDamaged("a.fcs");
    writeDamaged("b.fcs");
    if (GetParam().goodFile) writeFcs("c.fcs", {{1, 2}});
    // Passed at every "first", each refused file is still named once.
    dialogs.expectMessage(passedMessage(data, {{"a.fcs", TooShort}, {"b.fcs", TooShort}}), "Load error",
                          MsgAnswer::Ok);
    run(script({"folder.set:" + data.path(), "create.dotplot:1", "$n.set:0", "do:3", "$n.calc:$n+1",
                "w.1.file.move:first", "loop"}));
    EXPECT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(value("$n"), GetParam().passes);
}

INSTANTIATE_TEST_SUITE_P(Folders, FirstFileTruth,
                         ::testing::Values(FirstTruthCase{"OnlyRefusedFilesEndTheLoop", false, "1"},
                                           FirstTruthCase{"ALoadableFileKeepsItGoing", true, "3"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolProgramTest, FolderCountIsExactBeyond16Bits) {
    // Hard links to one tiny file make a large folder cheaply (no new file
    // is written); each name counts as a file.
    const std::string base = data.file("base.fcs");
    WriteBytes(base, "FCS3.0");
    constexpr int Links = 32770;
    for (int i = 0; i < Links; ++i) {
        const std::string link = data.file("l" + std::to_string(i) + ".fcs");
        ASSERT_EQ(::link(base.c_str(), link.c_str()), 0) << link;
    }
    run(script({"folder.set:" + data.path(), "$n.set:@.filesinfolder"}));
    EXPECT_EQ(value("$n"), std::to_string(Links + 1));
}

// Stop pressed while one line works through many refused files, or lists
// them, ends the run there: the walk neither runs to its end nor reaches the
// good file after them, and only the files passed before Stop are named.
struct LongWorkCase {
    const char* name;
    const char* shownFirst;  // the file the window shows before the long line
    const char* before;      // the line before it
    const char* longLine;
    bool passesFiles;        // the long line passes refused files
};

void PrintTo(const LongWorkCase& c, std::ostream* out) { *out << c.name; }

class StopDuringLongWork : public ToolProgramTest, public ::testing::WithParamInterface<LongWorkCase> {};

// Walks list their folder as if it had been still for long: a listing made
// on one line is kept on the next while the folder does not change.
class StillFolderClock {
public:
    StillFolderClock() {
        SetWalkClock([waited = waited_] { return WallClockNow() + WalkListings::SettleNs * 1000 + *waited; });
    }
    ~StillFolderClock() { SetWalkClock({}); }
    // The run waits `ns` longer than the real clock shows (a question box
    // left open).
    void wait(int64_t ns) { *waited_ += ns; }
    StillFolderClock(const StillFolderClock&) = delete;
    StillFolderClock& operator=(const StillFolderClock&) = delete;

private:
    std::shared_ptr<int64_t> waited_ = std::make_shared<int64_t>(0);
};

TEST_P(StopDuringLongWork, EndsTheRunThere) {
    const StillFolderClock still;
    constexpr int Refused = 200;
    writeFcs("a.fcs", {{1, 2}});
    for (int i = 0; i < Refused; ++i) writeDamaged("m" + std::to_string(1000 + i) + ".fcs");
    writeFcs("z.fcs", {{3, 4}});
    constexpr int LongLine = 4;  // 0-based index of the long line below
    int pumps = 0;
    tool().host().workEventInterval = 0;
    tool().host().pendingEvents = [&] {
        if (tool().interpreter().lastRun()->LineIndex != LongLine) return;
        if (++pumps == 5) tool().Toteuta->click();  // the user clicks Stop
    };
    if (GetParam().passesFiles) dialogs.expectAnyMessage(MsgAnswer::Ok);
    run(script({"folder.set:" + data.path(), "create.dotplot:1", std::string("w.1.file.load:") + GetParam().shownFirst,
                GetParam().before, GetParam().longLine, "$after.set:1"}));
    // Stopped at once: at most the pump between lines follows the click.
    EXPECT_GE(pumps, 5);
    EXPECT_LE(pumps, 6);
    EXPECT_EQ(value("$after"), "<none>");
    EXPECT_EQ(g.FileTable[g.WindowRegistry[1].FileIndex].FileName, GetParam().shownFirst);
    EXPECT_EQ(tool().Toteuta->text(), "Execute");
    if (!GetParam().passesFiles) {
        EXPECT_TRUE(dialogs.shown().empty());
        return;
    }
    // The files passed before Stop, a few of the many, in one message.
    ASSERT_EQ(dialogs.shown().size(), 1u);
    const QString text = dialogs.shown()[0].text;
    EXPECT_EQ(dialogs.shown()[0].title, "Load error");
    const qsizetype named = text.count(QString::fromStdString(": " + TooShort));
    EXPECT_GE(named, 1);
    EXPECT_LE(named, 6);
    EXPECT_TRUE(text.startsWith(QStringLiteral("The tool passed %1 ").arg(named))) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Walks, StopDuringLongWork,
    ::testing::Values(
        // The folder is listed on the line before, so the long line passes refused files.
        LongWorkCase{"StepForwardPastRefusedFiles", "a.fcs", "$n.set:@.filesinfolder", "w.1.file.move:next", true},
        LongWorkCase{"StepBackPastRefusedFiles", "z.fcs", "$n.set:@.filesinfolder", "w.1.file.move:previous", true},
        LongWorkCase{"ListingTheFolder", "a.fcs", "$n.set:0", "$n.set:@.filesinfolder", false}),
    [](const auto& info) { return std::string(info.param.name); });

// However a run ends, the files its walks passed are named in one message
// after everything else the run showed, each once with the reader's reason;
// a run that passed none shows nothing more.
struct RunEndCase {
    const char* name;
    std::vector<std::string> lines;  // after the folder and the window are set up
    std::vector<std::pair<std::string, std::string>> passed;
    int abortLine;  // the line whose error ends the run, 0 for none
};

void PrintTo(const RunEndCase& c, std::ostream* out) { *out << c.name; }

class RunEndNamesPassedFiles : public ToolProgramTest, public ::testing::WithParamInterface<RunEndCase> {};

const std::string OutsideTheFile = "the TEXT segment lies outside the file";

TEST_P(RunEndNamesPassedFiles, InOneMessage) {
    writeFcs("a.fcs", {{1, 2}});
    writeDamaged("b.fcs");
    writeFcs("c.fcs", {{1, 2}});
    // A header whose TEXT offsets point past the end of the file.
    WriteBytes(data.file("d.fcs"), "FCS3.0        9999   10000       0" + std::string(30, ' '));
    writeFcs("e.fcs", {{1, 2}});
    if (GetParam().abortLine != 0) dialogs.expectMessage(abortText(GetParam().abortLine), "Fatal error", MsgAnswer::Ok);
    if (!GetParam().passed.empty())
        dialogs.expectMessage(passedMessage(data, GetParam().passed), "Load error", MsgAnswer::Ok);
    std::string text = script({"folder.set:" + data.path(), "create.dotplot:1"});
    for (const std::string& line : GetParam().lines) text += line + "\r\n";
    run(text);
    dialogs.finish();
    EXPECT_EQ(dialogs.shown().size(), (GetParam().abortLine != 0 ? 1u : 0u) + (GetParam().passed.empty() ? 0u : 1u));
}

INSTANTIATE_TEST_SUITE_P(
    Ends, RunEndNamesPassedFiles,
    ::testing::Values(
        RunEndCase{"LastLine",
                   {"w.1.file.move:first", "do:@.filesinfolder", "w.1.file.move:next", "loop"},
                   {{"b.fcs", TooShort}, {"d.fcs", OutsideTheFile}},
                   0},
        RunEndCase{"End", {"w.1.file.move:first", "w.1.file.move:next", "end", "w.1.file.move:next"},
                   {{"b.fcs", TooShort}}, 0},
        RunEndCase{"Error", {"w.1.file.move:first", "w.1.file.move:next", "w.51.file.move:next", "w.1.file.move:next"},
                   {{"b.fcs", TooShort}}, 5},
        RunEndCase{"BackAndForthOverTheSameFile",
                   {"w.1.file.move:first", "w.1.file.move:next", "w.1.file.move:previous", "w.1.file.move:next"},
                   {{"b.fcs", TooShort}}, 0},
        RunEndCase{"NonePassed",
                   {"w.1.file.move:first", "w.1.file.move:previous", "w.1.file.load:e.fcs", "w.1.file.move:next"},
                   {},
                   0}),
    [](const auto& info) { return std::string(info.param.name); });

// A file that arrives while the run waits (here while a message box is
// open, as during an acquisition or a copy) is counted and stepped to; so is
// an empty placeholder the walk passed that is written in place meanwhile.
struct ArrivalCase {
    const char* name;
    bool stillFolder;  // listed as if the folder had been still for long before the file came
    bool placeholder;  // the file is there, empty, from the start and written in place
    std::vector<std::string> afterThePause;
    const char* count;    // the count asked after the pause, "<none>" when not asked
    const char* written;  // what the lines write to result.txt, "" when nothing
};

void PrintTo(const ArrivalCase& c, std::ostream* out) { *out << c.name; }

class FileArrivingDuringAWalk : public ToolProgramTest, public ::testing::WithParamInterface<ArrivalCase> {};

TEST_P(FileArrivingDuringAWalk, IsCountedAndVisited) {
    std::optional<StillFolderClock> still;
    if (GetParam().stillFolder) still.emplace();
    writeFcs("a.fcs", {{1, 2}});
    if (GetParam().placeholder) WriteBytes(data.file("b.fcs"), "");
    dialogs.expectMessage("waiting", "Message", MsgAnswer::Ok).whileShown([this, &still] {
        writeFcs("b.fcs", {{1, 2}, {3, 4}});
        if (still) still->wait(int64_t{60} * 1'000'000'000);
    });
    std::string text = script({"folder.set:" + data.path(), "create.dotplot:1", "w.1.file.move:first",
                               "$before.set:@.filesinfolder", "message:waiting"});
    for (const std::string& line : GetParam().afterThePause) text += line + "\r\n";
    run(text + "$name.set:@.w.1.filename\r\n");
    EXPECT_EQ(value("$before"), "1");
    EXPECT_EQ(value("$after"), GetParam().count);
    EXPECT_EQ(value("$name"), "b.fcs");
    EXPECT_EQ(readAll(data.file("result.txt")), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Walks, FileArrivingDuringAWalk,
    ::testing::Values(
        ArrivalCase{"CountedThenVisited", false, false, {"$after.set:@.filesinfolder", "w.1.file.move:next"}, "2", ""},
        ArrivalCase{"CountedThenVisitedInAStillFolder", true, false,
                    {"$after.set:@.filesinfolder", "w.1.file.move:next"}, "2", ""},
        ArrivalCase{"VisitedWithoutACount", false, false, {"w.1.file.move:next"}, "<none>", ""},
        ArrivalCase{"VisitedWithoutACountInAStillFolder", true, false, {"w.1.file.move:next"}, "<none>", ""},
        ArrivalCase{"PlaceholderCountedThenVisitedInAStillFolder", true, true,
                    {"$after.set:@.filesinfolder", "w.1.file.move:next"}, "2", ""},
        ArrivalCase{"PlaceholderVisitedWithoutACountInAStillFolder", true, true, {"w.1.file.move:next"}, "<none>", ""},
        ArrivalCase{"PlaceholderVisitedWithoutACount", false, true, {"w.1.file.move:next"}, "<none>", ""},
        ArrivalCase{"WrittenByALoopOverTheCount",
                    false,
                    false,
                    {"output.set:result.txt", "do:@.filesinfolder", "$file.set:@.w.1.filename", "output.write:$file",
                     "w.1.file.move:next", "loop"},
                    "<none>",
                    "a.fcs\r\nb.fcs\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolProgramTest, CloseEndsTheOutputAndAWriteAfterItIsAnError) {
    dialogs.expectMessage(abortText(5), "Fatal error", MsgAnswer::Ok);
    run(script({"folder.set:" + data.path(), "output.set:out.txt", "output.write:one", "output.close",
                "output.write:two"}));
    EXPECT_EQ(readAll(data.file("out.txt")), "one\r\n");
}

TEST_F(ToolProgramTest, FileValuesAndLogMarksChangeTheLoadedFile) {
    writeFcs("a.fcs", {{100, 200}, {300, 400}});
    run(script({"folder.set:" + data.path(), "create.dotplot:1", "w.1.file.load:a.fcs", "f.1.parameter.2.log:true",
                "f.1.cell.2.1.value:7.5", "$v.set:@.f.1.cell.2.1.value", "$log.set:@.f.1.parameter.2.log",
                "$name.set:@.f.1.parameter.1.name", "$n.set:@.f.1.parameters", "$exists.set:@.f.1.exists"}));
    EXPECT_TRUE(g.FileTable[1].Parameters[2].IsLog);
    EXPECT_EQ(g.FileTable[1].WorkingData(2, 1), 7.5f);
    EXPECT_EQ(value("$v"), "7.5");
    EXPECT_EQ(value("$log"), "true");
    EXPECT_EQ(value("$name"), "FSC-H");
    EXPECT_EQ(value("$n"), "2");
    EXPECT_EQ(value("$exists"), "true");
}

// ---- queries ----

TEST_F(ToolProgramTest, QueriesAnswerTheEdgeCases) {
    KnownStatisticsWindow known;
    g.WindowRegistry[2].InUse = true;
    g.WindowRegistry[2].Form = &known;
    g.WindowRegistry[2].Type = "Known";
    g.PopulationTable[3].CornerY[1] = 2500;
    g.PopulationTable[3].Type = "Polygon";
    g.PopulationTable[3].InUse = true;
    run(script({
        "create.dotplot:1",
        "$qy0.set:@.w.1.quadrant.position.y",
        "w.1.quadrant.position.y:2500",
        "$qy1.set:@.w.1.quadrant.position.y",
        "$corner.set:@.p.3.position.1.y",
        "$truncated.set:@.w.2.quadrant.ul.xmean",
        "$raw.set:@.w.2.population.ul.xmean",
        "$free.set:@.f.5.exists",
        "$cells.set:@.f.5.cells",
        "$slot0.set:@.f.0.exists",
        "$capital.set:@.W.1.filename",
        "$w7.set:@.w.7.exists",
        "$type7.set:@.w.7.type",
        "$type1.set:@.w.1.type",
        "$quadrant.set:@.w.1.quadrant.exists",
        "$stats.set:@.w.1.statistics.exists",
        "$nofile.set:@.w.1.filename",
        "$folder.set:@.foldernow",
        "$limit.set:@.fastdraw.limit",
        "$ptype.set:@.p.3.type",
        "$pexists.set:@.p.4.exists",
    }));
    g.WindowRegistry[2] = WindowRecord{};
    EXPECT_EQ(value("$qy0"), "10000");
    EXPECT_EQ(value("$qy1"), "2500");
    EXPECT_EQ(qobject_cast<DotPlot*>(windowAt(1))->state().QuadrantY, 7500);
    EXPECT_EQ(value("$corner"), "7500");
    EXPECT_EQ(value("$truncated"), "12.34");
    EXPECT_EQ(value("$raw"), "12.3456");
    EXPECT_EQ(value("$free"), "false");
    EXPECT_EQ(value("$cells"), "0");
    EXPECT_EQ(value("$slot0"), "false");
    EXPECT_EQ(value("$capital"), "@.W.1.filename");
    EXPECT_EQ(value("$w7"), "false");
    EXPECT_EQ(value("$type7"), "");
    EXPECT_EQ(value("$type1"), "DotPlot");
    EXPECT_EQ(value("$quadrant"), "false");
    EXPECT_EQ(value("$stats"), "false");
    EXPECT_EQ(value("$nofile"), "");
    EXPECT_EQ(value("$folder"), "");
    EXPECT_EQ(value("$limit"), "50000");
    EXPECT_EQ(value("$ptype"), "Polygon");
    EXPECT_EQ(value("$pexists"), "false");
}

// A quadrant's means are made from 32-bit event values and show as typed;
// its share is a ratio of counts, cut in double arithmetic.
TEST_F(ToolProgramTest, QuadrantQueriesCutMeansAsTypedAndSharesDownward) {
    struct Case {
        const char* stat;
        double answer;
        const char* shown;
    };
    const Case cases[] = {
        {"xmean", 4.35f, "4.35"},    {"ygeomean", 0.29f, "0.29"}, {"xgeomean", 1.15f, "1.15"},
        {"ymean", 4.359f, "4.35"},   {"vis", 5699999.6 / 100000.0, "56.99"},
        // Large means are cut, never rounded up by the allowance for floats.
        {"xmean", 113676.4966, "113676.49"}, {"ygeomean", 64038.1677, "64038.16"},
        {"ymean", -200000.015625f, "-200000.02"},
    };
    KnownStatisticsWindow known;
    g.WindowRegistry[2].InUse = true;
    g.WindowRegistry[2].Form = &known;
    g.WindowRegistry[2].Type = "Known";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stat);
        known.answer = c.answer;
        run(script({std::string("$q.set:@.w.2.quadrant.ul.") + c.stat}));
        EXPECT_EQ(value("$q"), c.shown);
    }
    g.WindowRegistry[2] = WindowRecord{};
}

// A real dot plot of a one-event file: the statistics window and the
// quadrant holding the event cut its large values, as stored, downward.
TEST_F(ToolProgramTest, OneEventDotPlotCutsLargeValuesDownward) {
    FcsTestFile file;
    file.param("FSC-W", "262144").param("SSC-W", "262144");
    file.Events = {{200000.015625, 50000.0078125}};
    WriteFcsTestFile(data.file("one.fcs"), file);
    run(script({"folder.set:" + data.path(), "create.dotplot:1", "w.1.file.load:one.fcs",
                "w.1.statistics.visible:true", "w.1.quadrant.visible:true", "w.1.quadrant.position.x:0",
                "w.1.quadrant.position.y:0", "$row.set:@.w.1.statistics.contents.singleline.stats",
                "$n.set:@.w.1.quadrant.ur.number", "$xm.set:@.w.1.quadrant.ur.xmean",
                "$ym.set:@.w.1.quadrant.ur.ymean", "$xg.set:@.w.1.quadrant.ur.xgeomean",
                "$yg.set:@.w.1.quadrant.ur.ygeomean"}));
    // The visible events, then the quadrants upper left, upper right (the
    // event), lower left and lower right.
    const std::string event = "1\t100\t200000.01\t50000\t200000.01\t50000\t";
    const std::string none = "0\t0\t0\t0\t0\t0\t";
    EXPECT_EQ(value("$row"), event + none + event + none + none);
    EXPECT_EQ(value("$n"), "1");
    EXPECT_EQ(value("$xm"), "200000.01");
    EXPECT_EQ(value("$ym"), "50000");
    EXPECT_EQ(value("$xg"), "200000.01");
    EXPECT_EQ(value("$yg"), "50000");
}

TEST_F(ToolProgramTest, HistogramPeakAndHeightQueriesReadTheLastDraw) {
    // Every event at 512 of 1024: the three-bin mean spreads it over bins
    // 510..512, and the lowest of the equal bins is the peak.
    writeFcs("a.fcs", std::vector<std::vector<double>>(30, {512, 100}));
    PopulationRecord& marker = g.PopulationTable[1];
    marker.InUse = true;
    marker.Type = "Histogram";
    marker.CornerX[1] = 0;
    marker.CornerX[2] = 10000;
    run(script({"folder.set:" + data.path(), "create.histogram:1", "w.1.file.load:a.fcs",
                "$at.set:@.w.1.histogram.highest.position.1", "$peak.set:@.w.1.histogram.highest.height.1",
                "$mid.set:@.w.1.histogram.height.5000", "$low.set:@.w.1.histogram.height.100",
                "$axis.set:@.w.1.axis.x"}));
    EXPECT_EQ(value("$at"), "4980");
    EXPECT_EQ(value("$peak"), "10000");
    EXPECT_EQ(value("$mid"), "10000");
    EXPECT_EQ(value("$low"), "0");
    EXPECT_EQ(value("$axis"), "1");
}

// ---- errors of the line ----

struct LineError {
    const char* name;
    std::vector<std::string> lines;
    int failingLine;
};

void PrintTo(const LineError& c, std::ostream* os) { *os << c.name << " fails on line " << c.failingLine; }

class ToolLineErrors : public ToolProgramTest, public ::testing::WithParamInterface<LineError> {};

TEST_P(ToolLineErrors, StopTheRunWithTheLinesNumber) {
    dialogs.expectMessage(abortText(GetParam().failingLine), "Fatal error", MsgAnswer::Ok);
    std::string text;
    for (const std::string& line : GetParam().lines) text += line + "\r\n";
    run(text + "$after.set:ran\r\n");
    EXPECT_EQ(value("$after"), "<none>");
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, ToolLineErrors,
    ::testing::Values(
        LineError{"WindowBeyondTheTable", {"w.51.drawmode:fast"}, 1},
        LineError{"WindowNotANumber", {"w.one.drawmode:fast"}, 1},
        LineError{"WindowSlotEmpty", {"w.3.drawmode:fast"}, 1},
        LineError{"PopulationBeyondTheTable", {"p.101.color.red:1"}, 1},
        LineError{"ColourAbove255", {"p.1.color.red:256"}, 1},
        LineError{"ColourNotANumber", {"p.1.color.blue:blue"}, 1},
        LineError{"CornerBeyond50", {"p.1.position.51.x:5"}, 1},
        LineError{"PositionNotANumber", {"p.1.position.1.x:left"}, 1},
        LineError{"FileSlotBeyondTheTable", {"f.21.parameter.1.log:true"}, 1},
        LineError{"FileSlotWithoutParameters", {"f.1.parameter.1.log:true"}, 1},
        LineError{"CreateInSlotZero", {"create.dotplot:0"}, 1},
        LineError{"CreateBeyondTheTable", {"create.histogram:51"}, 1},
        LineError{"FastDrawLimitBelowOne", {"fastdraw.limit:0"}, 1},
        LineError{"WriteWithoutOutput", {"output.write:x"}, 1},
        LineError{"CloseWithoutOutput", {"output.close"}, 1},
        LineError{"EmptyFolder", {"folder.set:"}, 1},
        LineError{"QueryWindowBeyondTheTable", {"$a.set:@.w.99.exists"}, 1},
        LineError{"QueryPopulationBeyondTheTable", {"$a.set:@.p.101.name"}, 1},
        LineError{"QueryFileBeyondTheTable", {"$a.set:@.f.21.name"}, 1},
        LineError{"QueryAtAlone", {"$a.set:@"}, 1},
        LineError{"QueryMissingWord", {"$a.set:@.w.1"}, 1},
        LineError{"FilesInFolderWithoutFolder", {"$a.set:@.filesinfolder"}, 1},
        LineError{"FirstFileWithoutFolderOrFile", {"create.dotplot:1", "w.1.file.move:first"}, 2},
        LineError{"RotateOnADotPlot", {"create.dotplot:1", "w.1.rotate.x:5"}, 2},
        LineError{"QuadrantOnAHistogram", {"create.histogram:1", "w.1.quadrant.visible:true"}, 2},
        LineError{"HistogramHeightOfADotPlot", {"create.dotplot:1", "$h.set:@.w.1.histogram.height.5000"}, 2},
        LineError{"StatisticsTextWhileClosed", {"create.dotplot:1", "$s.set:@.w.1.statistics.contents.multiline"}, 2},
        LineError{"SizeBeyond32Bits", {"create.dotplot:1", "w.1.size.x:1e12"}, 2},
        LineError{"CellBeyondTheEvents", {"f.0.cell.1.1.value:3"}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- write guards ----

TEST_F(ToolProgramTest, UnsafeOutputNamesAreRefused) {
    writeFcs("a.fcs", {{1, 2}});
    const std::vector<std::string> names = {"/tmp/escape.txt", "../escape.txt", "sub/../../escape.txt", ".."};
    for (const std::string& name : names) {
        dialogs.expectMessage(QString::fromStdString("The tool may write only inside its folder:\n" + name),
                              "Fatal error", MsgAnswer::Ok);
        run(script({"folder.set:" + data.path(), "output.set:" + name, "$after.set:ran"}));
        EXPECT_EQ(value("$after"), "<none>") << name;
    }
    // No folder set.
    dialogs.expectMessage("The tool may write only inside its folder:\nresult.txt", "Fatal error", MsgAnswer::Ok);
    run(script({"output.set:result.txt", "$after.set:ran"}));
    EXPECT_EQ(value("$after"), "<none>");
}

// The output file is opened once and appended to; a pipe, a socket or a
// device of its name ends the run on that line at once, before it is
// opened, and stays as it was.
TEST_F(ToolProgramTest, OutputOntoAPipeOrADeviceIsRefusedAtOnce) {
    for (const SpecialFile kind : {SpecialFile::Pipe, SpecialFile::Socket, SpecialFile::Device}) {
        SCOPED_TRACE(SpecialFileName(kind));
        const std::string name = std::string("out-") + SpecialFileName(kind);
        if (!MakeSpecialFile(data.file(name), kind)) continue;  // no device without the privilege
        // Were the pipe opened after all, it would find this reader and not hang.
        PipeReader reader(data.file(name));
        dialogs.expectMessage(abortText(2) + "\nThe output file could not be opened:\n" +
                                  QString::fromStdString(data.file(name)) + "\n" +
                                  QString::fromStdString(FileWriteReason(FileWriteResult::NotAFile, 0)),
                              "Fatal error", MsgAnswer::Ok);
        run(script({"folder.set:" + data.path(), "output.set:" + name, "$after.set:ran", "output.write:x"}));
        EXPECT_EQ(value("$after"), "<none>");
        EXPECT_TRUE(IsSpecialFile(data.file(name), kind));
        EXPECT_EQ(reader.drain(), "");
    }
}

// A picture or an output line that cannot be written ends the run with the
// file and the system's reason under the abort message.
struct ToolWriteFailure {
    const char* name;
    std::string file;  // in the data folder
    std::string lines;  // the writing lines after a dot plot is made, the last failing
    std::string reason;
    bool fullDisk;     // the output file may grow no more (the disk is full)
};

void PrintTo(const ToolWriteFailure& failure, std::ostream* out) { *out << failure.name; }

class ToolWriteFailureTest : public ToolProgramTest, public ::testing::WithParamInterface<ToolWriteFailure> {};

TEST_P(ToolWriteFailureTest, NamesTheFileAndTheReason) {
    const ToolWriteFailure& t = GetParam();
    WriteBytes(data.file("plain"), "a file");
    if (t.file == "pipe.bmp") ASSERT_TRUE(MakeSpecialFile(data.file(t.file), SpecialFile::Pipe));
    // Were the pipe opened after all, it would find this reader and not hang.
    PipeReader reader(data.file(t.file));
    if (t.fullDisk) WriteBytes(data.file(t.file), "earlier\r\n");
    const std::string text = script({"folder.set:" + data.path(), "create.dotplot:1", t.lines, "$after.set:ran"});
    const int failing = 2 + static_cast<int>(std::count(t.lines.begin(), t.lines.end(), '\n')) + 1;
    dialogs.expectMessage(abortText(failing) + QString::fromStdString("\nThe file could not be written:\n" +
                                                                data.file(t.file) + "\n" + t.reason),
                          "Fatal error", MsgAnswer::Ok);
    if (t.fullDisk) {
        // The file may not grow past its present size: a write fails as on a
        // full disk, with the system's reason.
        const auto ignored = std::signal(SIGXFSZ, SIG_IGN);
        rlimit before {};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
        rlimit limit = before;
        limit.rlim_cur = 9;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        run(text);
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, ignored);
        EXPECT_EQ(readAll(data.file(t.file)), "earlier\r\n");
    } else {
        run(text);
    }
    dialogs.finish();
    EXPECT_EQ(value("$after"), "<none>");
    EXPECT_EQ(reader.drain(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Routes, ToolWriteFailureTest,
    ::testing::Values(
        ToolWriteFailure{"PictureOntoAPipe", "pipe.bmp", "w.1.saveimage:pipe.bmp",
                         FileWriteReason(FileWriteResult::NotAFile, 0), false},
        ToolWriteFailure{"PictureIntoAMissingFolder", "none/p.bmp", "w.1.saveimage:none/p.bmp",
                         "No such file or directory", false},
        ToolWriteFailure{"PictureUnderAFile", "plain/p.bmp", "w.1.saveimage:plain/p.bmp", "Not a directory", false},
        ToolWriteFailure{"OutputOnAFullDisk", "out.txt", "output.set:out.txt\r\noutput.write:x", "File too large",
                         true}),
    [](const ::testing::TestParamInfo<ToolWriteFailure>& info) { return std::string(info.param.name); });

// ---- a loaded data file is never written over ----

struct LoadedFileWrite {
    const char* name;
    std::string folder;  // the tool folder, "D/" standing for the data folder
    std::string write;   // the writing line(s) after a.fcs is loaded
    std::string shownName;
};

void PrintTo(const LoadedFileWrite& c, std::ostream* os) { *os << c.write << " in " << c.folder; }

class ToolWriteOverLoadedFile : public ToolProgramTest, public ::testing::WithParamInterface<LoadedFileWrite> {};

TEST_P(ToolWriteOverLoadedFile, IsRefusedAndTheFileKeepsItsBytes) {
    writeFcs("a.fcs", {{1, 2}, {3, 4}});
    std::filesystem::create_directory(data.file("sub"));
    const std::string before = readAll(data.file("a.fcs"));
    std::string folder = GetParam().folder;
    if (folder.rfind("D/", 0) == 0) folder = data.path() + folder.substr(2);
    dialogs.expectMessage(QString::fromStdString("The tool may not write over a loaded data file:\n" + GetParam().shownName),
                          "Fatal error", MsgAnswer::Ok);
    run(script({"folder.set:" + data.path(), "create.dotplot:1", "w.1.file.load:a.fcs", "folder.set:" + folder,
                GetParam().write, "$after.set:ran"}));
    EXPECT_EQ(value("$after"), "<none>");
    EXPECT_EQ(readAll(data.file("a.fcs")), before);
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, ToolWriteOverLoadedFile,
    ::testing::Values(
        LoadedFileWrite{"PictureUnderItsOwnName", "D/", "w.1.saveimage:a.fcs", "a.fcs"},
        LoadedFileWrite{"PictureThroughDotSlash", "D/", "w.1.saveimage:./a.fcs", "./a.fcs"},
        LoadedFileWrite{"PictureThroughDoubledSlash", "D/", "w.1.saveimage:.//a.fcs", ".//a.fcs"},
        LoadedFileWrite{"PictureFromAFolderClimbingBack", "D/sub/../", "w.1.saveimage:a.fcs", "a.fcs"},
        LoadedFileWrite{"PictureFromAFolderWithDoubledSlash", "D//", "w.1.saveimage:a.fcs", "a.fcs"},
        LoadedFileWrite{"OutputThroughDotSlash", "D/", "output.set:./a.fcs", "./a.fcs"},
        LoadedFileWrite{"OutputFromAFolderClimbingBack", "D/sub/../", "output.set:a.fcs", "a.fcs"},
        // A name that climbs out of a folder and back is refused for the
        // loaded file it leads to, not for leaving the folder.
        LoadedFileWrite{"PictureClimbingBackThroughASubfolder", "D/", "w.1.saveimage:.//sub/../a.fcs", ".//sub/../a.fcs"},
        LoadedFileWrite{"OutputClimbingBackThroughASubfolder", "D/", "output.set:sub/../a.fcs", "sub/../a.fcs"},
        LoadedFileWrite{"PictureClimbingBackThroughAMissingFolder", "D/", "w.1.saveimage:none/../a.fcs",
                        "none/../a.fcs"},
        LoadedFileWrite{"OutputClimbingOutAndBackIntoTheFolder", "D/sub/", "output.set:../a.fcs", "../a.fcs"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolProgramTest, OutputOpenedBeforeItsFileIsLoadedIsNotWrittenAfterwards) {
    writeFcs("a.fcs", {{1, 2}, {3, 4}});
    const std::string before = readAll(data.file("a.fcs"));
    dialogs.expectMessage(QString::fromStdString("The tool may not write over a loaded data file:\n" + data.path() + "./a.fcs"),
                          "Fatal error", MsgAnswer::Ok);
    run(script({"folder.set:" + data.path(), "output.set:./a.fcs", "create.dotplot:1", "w.1.file.load:a.fcs",
                "output.write:appended", "$after.set:ran"}));
    EXPECT_EQ(value("$after"), "<none>");
    EXPECT_EQ(readAll(data.file("a.fcs")), before);
}

TEST_F(ToolProgramTest, ADoublingVariableEndsTheRunOnTheLineThatCrossesTheLimit) {
    dialogs.expectMessage(abortText(5), "Fatal error", MsgAnswer::Ok);
    run(script({"folder.set:" + data.path(), "output.set:out.txt", "$v.set:ab", "do:100", "$v.set:$v$v", "output.write:$v",
                "loop", "$after.set:ran"}));
    EXPECT_EQ(value("$after"), "<none>");
    // Every pass wrote its line until the value would have passed the limit.
    const std::string out = readAll(data.file("out.txt"));
    EXPECT_LE(out.size(), 2 * MaxSubstitutedLength + 200);
    EXPECT_GT(value("$v").size(), MaxSubstitutedLength / 4);
}

TEST_F(ToolProgramTest, OtherFilesBesideALoadedOneAreWritten) {
    writeFcs("a.fcs", {{1, 2}, {3, 4}});
    run(script({"folder.set:" + data.path(), "create.dotplot:1", "w.1.file.load:a.fcs", "output.set:./a.txt",
                "output.write:x", "w.1.saveimage:a.bmp"}));
    EXPECT_EQ(readAll(data.file("a.txt")), "x\r\n");
    EXPECT_EQ(readAll(data.file("a.bmp")).substr(0, 2), "BM");
}

TEST_F(ToolProgramTest, SaveImageWritesAndOverwritesItsOwnPicture) {
    writeFcs("a.fcs", {{1, 2}, {500, 600}});
    const std::string text =
        script({"folder.set:" + data.path(), "create.dotplot:1", "w.1.file.load:a.fcs", "w.1.saveimage:plot.bmp"});
    run(text);
    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(data.file("plot.bmp"))));
    run(text);
    EXPECT_EQ(readAll(data.file("plot.bmp")).substr(0, 2), "BM");
}

TEST_F(ToolProgramTest, FolderPathsUseSlashes) {
    dialogs.expectMessage("Folder paths use \"/\" between folders:\nC:\\data", "Fatal error", MsgAnswer::Ok);
    run(script({"folder.set:C:\\data", "$after.set:ran"}));
    EXPECT_EQ(value("$after"), "<none>");
    run(script({"folder.set:" + data.path().substr(0, data.path().size() - 1), "$f.set:@.foldernow"}));
    EXPECT_EQ(value("$f"), data.path());
}

// ---- windows and populations ----

TEST_F(ToolProgramTest, CreateChecksTheKindBeforeItReplacesTheWindow) {
    run(script({"create.histogram:4"}));
    ASSERT_NE(qobject_cast<Histogram*>(windowAt(4)), nullptr);
    run(script({"create.dotplod:4"}));
    EXPECT_NE(qobject_cast<Histogram*>(windowAt(4)), nullptr);
    run(script({"create.dotplot:4"}));
    EXPECT_NE(qobject_cast<DotPlot*>(windowAt(4)), nullptr);
    EXPECT_EQ(g.WindowRegistry[4].Type, "DotPlot");
}

TEST_F(ToolProgramTest, SizesAndPlacesAreInTwips) {
    run(script({"create.dotplot:1", "w.1.size.x:6000", "w.1.size.y:4500", "w.1.position.x:150", "w.1.position.y:300"}));
    QWidget* frame = windowAt(1)->parentWidget();
    ASSERT_NE(qobject_cast<QMdiSubWindow*>(frame), nullptr);
    EXPECT_EQ(frame->size(), QSize(400, 300));
    EXPECT_EQ(frame->pos(), QPoint(10, 20));
}

// Far sizes and places a tool asks for (within the 32-bit range a number
// argument may have) give a window whose title bar can be reached and whose
// picture a screen holds a few times over.
TEST_F(ToolProgramTest, FarSizesAndPlacesAreHeldToBounds) {
    run(script({"create.dotplot:1", "w.1.size.x:2e9", "w.1.size.y:-5", "w.1.position.x:-2e9",
                "w.1.position.y:2e9"}));
    QWidget* frame = windowAt(1)->parentWidget();
    ASSERT_NE(qobject_cast<QMdiSubWindow*>(frame), nullptr);
    const QSize largest = LargestWindowSize(QGuiApplication::primaryScreen()->availableGeometry().size());
    EXPECT_LE(frame->width(), largest.width());
    EXPECT_GE(frame->height(), MinWindowPixels);
    EXPECT_GE(frame->x() + frame->width(), ReachableTitleWidth);
    EXPECT_GE(frame->y(), 0);
    EXPECT_LE(frame->y(), frame->parentWidget()->height() - ReachableTitleHeight);
    const auto* plot = dynamic_cast<FilePlotWindow*>(windowAt(1));
    ASSERT_NE(plot, nullptr);
    EXPECT_LE(plot->picture().width(), largest.width());
}

TEST_F(ToolProgramTest, PopulationPositionsAndColours) {
    PopulationRecord& polygon = g.PopulationTable[2];
    polygon.InUse = true;
    polygon.Type = "Polygon";
    polygon.Corners = 3;
    polygon.CornerY[3] = 1234;
    PopulationRecord& marker = g.PopulationTable[1];
    marker.InUse = true;
    marker.Type = "Histogram";
    run(script({"p.2.position.3.y:10000", "p.2.position.3.x:10001", "p.2.color.red:12.5", "p.2.color.green:13.5",
                "autoupdate:off", "p.1.position.left:300", "p.1.position.right:700", "p.1.position.1.x:5",
                "p.2.position.left:1"}));
    EXPECT_EQ(polygon.CornerY[3], 0.0f);
    EXPECT_EQ(polygon.CornerX[3], 0.0f);
    EXPECT_EQ(polygon.ColorRed, 12);
    EXPECT_EQ(polygon.ColorGreen, 14);
    EXPECT_EQ(polygon.CornerX[1], 0.0f);  // a marker command on a polygon does nothing
    EXPECT_EQ(marker.CornerX[1], 300.0f);
    EXPECT_EQ(marker.CornerX[2], 700.0f);
}

TEST_F(ToolProgramTest, FastDrawLimitRoundsHalvesToEven) {
    run(script({"fastdraw.limit:2.5"}));
    EXPECT_EQ(g.FastDrawLimit, 2);
    run(script({"fastdraw.limit:3.5", "$l.set:@.fastdraw.limit"}));
    EXPECT_EQ(g.FastDrawLimit, 4);
    EXPECT_EQ(value("$l"), "4");
}

// ---- printing ----

TEST_F(ToolProgramTest, PrintWithoutThePrinterQuestionShowsItsMessageAndEnds) {
    dialogs.expectMessage("The printer has not been set! Aborting.", "Quorvane", MsgAnswer::Ok);
    run(script({"printpreview.print", "$after.set:ran"}));
    EXPECT_EQ(value("$after"), "<none>");
}

TEST_F(ToolProgramTest, PrintAfterThePrinterQuestionPrintsThePageToPdf) {
    const QString pdf = QString::fromStdString(data.file("page.pdf"));
    dialogs.expectPrinterToPdf(pdf);
    run(script({"question.printer.set", "printpreview.print", "$after.set:ran"}));
    EXPECT_EQ(value("$after"), "ran");
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
}

// The tool's printer question checks a PDF file as "Print..." does, before
// anything opens it: a pipe is refused at once, a file is replaced only
// when the user says so; either refusal ends the run as a cancel does.
TEST_F(ToolProgramTest, PrinterQuestionRefusesAPipeAndAsksBeforeReplacingAFile) {
    const std::string pipe = data.file("pipe.pdf");
    ASSERT_TRUE(MakeSpecialFile(pipe, SpecialFile::Pipe));
    PipeReader reader(pipe);  // a fault that opened it fails instead of hanging
    dialogs.expectPrinterToPdf(QString::fromStdString(pipe))
        .expectMessage(QString::fromStdString(SaveFailureText(pipe, FileWriteReason(FileWriteResult::NotAFile, 0))),
                       "Save error", MsgAnswer::Ok)
        .expectMessage("Print aborted!", "Quorvane", MsgAnswer::Ok);
    run(script({"question.printer.set", "printpreview.print", "$after.set:ran"}));
    EXPECT_EQ(value("$after"), "<none>");
    EXPECT_TRUE(IsSpecialFile(pipe, SpecialFile::Pipe));
    EXPECT_EQ(reader.drain(), "");

    const std::string kept = data.file("kept.pdf");
    WriteBytes(kept, "old");
    dialogs.expectPrinterToPdf(QString::fromStdString(kept))
        .expectMessage("File already exists. Do you want to overwrite it?", "File already exists",
                       MsgButtons::OkCancel, MsgAnswer::Cancel)
        .expectMessage("Print aborted!", "Quorvane", MsgAnswer::Ok);
    run(script({"question.printer.set", "printpreview.print", "$after.set:ran"}));
    EXPECT_EQ(value("$after"), "<none>");
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(kept, bytes));
    EXPECT_EQ(bytes, "old");
}

}  // namespace
}  // namespace qv::test
