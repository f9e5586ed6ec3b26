// Tools driving the program: queries, window, creation and population
// commands, the folder walk with its output file, the write guards and
// printing the print page, inside the started main window.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/FilePlotWindow.h"
#include "app/model/FolderListing.h"
#include "core/FcsReader.h"
#include "app/PlotWindow.h"
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
    double AnnaStatistiikka(const std::string&, const std::string&) override { return 12.3456; }
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

TEST_F(ToolProgramTest, FolderWalkWritesOneLinePerLoadableFileAndTheNextRunAppends) {
    writeFcs("a.fcs", {{100, 200}, {300, 400}});
    writeDamaged("b.fcs");
    writeFcs("c.fcs", {{1, 2}, {3, 4}, {5, 6}});
    const std::string walk = walkScript(data.path());
    run(walk);  // the damaged file is passed over without a message box
    EXPECT_EQ(readAll(data.file("result.txt")), "a.fcs\t2\ttrue\r\nc.fcs\t3\ttrue\r\n");
    EXPECT_FALSE(tool().interpreter().lastRun()->OutputOpened);
    run(walk);
    EXPECT_EQ(readAll(data.file("result.txt")), "a.fcs\t2\ttrue\r\nc.fcs\t3\ttrue\r\na.fcs\t2\ttrue\r\nc.fcs\t3\ttrue\r\n");
}

TEST_F(ToolProgramTest, WalksACopyOfTheInstrumentFilesOverTheOnesRefused) {
    const QDir source(QStringLiteral(QV_TESTDATA_DIR));
    if (!source.exists()) GTEST_SKIP() << "no instrument files at " << QV_TESTDATA_DIR;
    for (const QString& name : source.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(source.filePath(name), QString::fromStdString(data.file(name.toStdString()))));
    std::string expected;
    for (const std::string& name : ListFcsFiles(data.path())) {
        const FileRecord file = ReadFcsFile(data.file(name));
        if (file.Loaded) expected += name + "\t" + std::to_string(file.EventCount) + "\ttrue\r\n";
    }
    ASSERT_FALSE(expected.empty());
    run(walkScript(data.path()));
    EXPECT_EQ(readAll(data.file("result.txt")), expected);
}

TEST_F(ToolProgramTest, FileThatFailsToLoadStopsTheRunAfterTheLoadersOwnMessage) {
    writeDamaged("b.fcs");
    dialogs.expectAnyMessage(MsgAnswer::Ok);
    run(script({"folder.set:" + data.path(), "create.dotplot:1", "w.1.file.load:b.fcs", "$after.set:1"}));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].title, "Load error");
    EXPECT_EQ(value("$after"), "<none>");
}

TEST_F(ToolProgramTest, FirstFileThatFailsToLoadStopsTheWalk) {
    writeDamaged("a.fcs");
    writeFcs("b.fcs", {{1, 2}});
    dialogs.expectAnyMessage(MsgAnswer::Ok);
    run(script({"folder.set:" + data.path(), "create.dotplot:1", "w.1.file.move:first", "$after.set:1"}));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].title, "Load error");
    EXPECT_EQ(value("$after"), "<none>");
}

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
    // No folder set, and a loaded data file as a picture's name.
    dialogs.expectMessage("The tool may write only inside its folder:\nresult.txt", "Fatal error", MsgAnswer::Ok);
    run(script({"output.set:result.txt", "$after.set:ran"}));
    EXPECT_EQ(value("$after"), "<none>");
    const std::string before = readAll(data.file("a.fcs"));
    dialogs.expectMessage("The tool may write only inside its folder:\na.fcs", "Fatal error", MsgAnswer::Ok);
    run(script({"folder.set:" + data.path(), "create.dotplot:1", "w.1.file.load:a.fcs", "w.1.saveimage:a.fcs",
                "$after.set:ran"}));
    EXPECT_EQ(value("$after"), "<none>");
    EXPECT_EQ(readAll(data.file("a.fcs")), before);
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

}  // namespace
}  // namespace qv::test
