// Tool scripts against every window kind of the program: the members each
// kind answers run end to end from a tool line, and a member a kind lacks
// stops the run with the line's number.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <QLineEdit>
#include <QListWidget>

#include "app/FileInfo.h"
#include "app/FilePlotWindow.h"
#include "app/WindowRegistry.h"
#include "plots/histogram/MirrorHistogram.h"
#include "plots/histogram/Overlayhistogram.h"
#include "plots/modeller/HistogramModeller.h"
#include "plots/multi/BendPlot.h"
#include "plots/multi/Dad.h"
#include "plots/multi/ThreeDPlot.h"
#include "plots/timeproj/FluxTracker.h"
#include "plots/timeproj/Projector.h"
#include "plots/timeproj/ScatterDisplayWindow.h"
#include "tests/support/EveryWindowKind.h"
#include "tests/tools/ToolProgramFixture.h"

namespace qv::test {
namespace {

const char* const OtherKinds[] = {"Overlay Histogram", "Mirror Histogram", "BendPlot",         "FluxTracker",
                                  "Projector",         "Histogram Modeller", "3D Plot",        "DAD"};

class ToolWindowKinds : public ToolProgramTest {
protected:
    void SetUp() override {
        ToolProgramTest::SetUp();
        registerEveryWindowKind();
    }
    void TearDown() override {
        ToolProgramTest::TearDown();
        for (const char* kind : OtherKinds) registerWindowKind(kind, nullptr);
        registerWindowKind("ClipBook", nullptr);
    }

    // A file of three parameters in the data folder, spread over the range.
    void writeThreeParameterFile(const std::string& name) {
        FcsTestFile file;
        file.param("FSC-H").param("SSC-H").param("FL1-H");
        for (int i = 0; i < 200; ++i)
            file.Events.push_back({static_cast<double>(i * 5 % 1024), static_cast<double>(i * 7 % 1024),
                                   static_cast<double>(400 + i % 200)});
        WriteFcsTestFile(data.file(name), file);
    }

    // Slot `slot` holds a new window of `kind`, as the menus make one.
    template <class Kind>
    Kind& make(const char* kind, int slot) {
        EXPECT_TRUE(createWindowInSlot(kind, slot)) << kind;
        auto* window = dynamic_cast<Kind*>(windowAt(slot));
        EXPECT_NE(window, nullptr) << kind;
        return *window;
    }

    // The lines, each ended as a tool file ends them.
    void runLines(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        run(text);
    }
    std::string loadLine() const { return "folder.set:" + data.path(); }
};

TEST_F(ToolWindowKinds, ThreeDPlotTurnsZoomsZeroesAndSwitchesItsBackground) {
    writeThreeParameterFile("a.fcs");
    Plot3D& plot = make<Plot3D>("3D Plot", 1);
    runLines({loadLine(), "w.1.file.load:a.fcs", "w.1.rotate.x:30", "w.1.rotate.y:-20", "w.1.distance:100",
              "w.1.bgpicture:true", "$x.set:@.w.1.axis.x", "$type.set:@.w.1.type", "w.1.drawmode:fast",
              "w.1.axis.x:3", "$afterAxis.set:@.w.1.axis.x"});
    EXPECT_EQ(plot.state().RotateX, 30);
    EXPECT_EQ(plot.state().RotateY, 340);
    EXPECT_EQ(plot.state().Distance, ThreeDDefaultDistance - 100);
    EXPECT_TRUE(plot.state().BackgroundPictureShown);
    // As the menu item: a file within the fast-draw limit stays drawn in full.
    EXPECT_FALSE(plot.state().FastDraw);
    EXPECT_EQ(value("$x"), "1");
    EXPECT_EQ(value("$type"), "3D Plot");
    EXPECT_EQ(value("$afterAxis"), "3");
    EXPECT_FALSE(plot.Kuva().isNull());

    // Words other than "true" and "false" leave the picture as it is.
    runLines({"w.1.bgpicture:yes", "w.1.zero", "w.1.bgpicture:false"});
    EXPECT_EQ(plot.state().RotateX, 0);
    EXPECT_EQ(plot.state().RotateY, 0);
    EXPECT_EQ(plot.state().Distance, ThreeDDefaultDistance);
    EXPECT_FALSE(plot.state().BackgroundPictureShown);
}

TEST_F(ToolWindowKinds, OverlayAndMirrorLinesTakeTheHistogramOfAWindow) {
    writeFcs("a.fcs", std::vector<std::vector<double>>(30, {512, 100}));
    Overlayhistogram& overlay = make<Overlayhistogram>("Overlay Histogram", 2);
    MirrorHistogram& mirror = make<MirrorHistogram>("Mirror Histogram", 3);
    runLines({loadLine(), "create.histogram:1", "w.1.file.load:a.fcs", "w.2.overlay.1.histogram:1",
              "w.2.overlay.2.histogram:1", "w.3.overlay.2.histogram:1", "$t.set:@.w.2.type"});
    EXPECT_EQ(overlay.state().LineWindow[1], 1);
    EXPECT_EQ(overlay.state().LineWindow[2], 1);
    EXPECT_EQ(mirror.state().LineWindow[2], 1);
    EXPECT_EQ(value("$t"), "Overlay Histogram");
    // The line was drawn from the histogram: the picture holds more than
    // its cleared background.
    const QImage picture = overlay.Kuva();
    ASSERT_FALSE(picture.isNull());
    bool drawn = false;
    for (int y = 0; y < picture.height() && !drawn; ++y)
        for (int x = 0; x < picture.width() && !drawn; ++x) drawn = picture.pixel(x, y) != picture.pixel(0, 0);
    EXPECT_TRUE(drawn);

    // A slot that holds no histogram is dropped again by the drawing.
    runLines({"w.2.overlay.3.histogram:3"});
    EXPECT_EQ(overlay.state().LineWindow[3], 0);
}

TEST_F(ToolWindowKinds, ModellerCurvesAreShapedAndReadFromATool) {
    writeFcs("a.fcs", std::vector<std::vector<double>>(30, {512, 100}));
    HistogramModeller& modeller = make<HistogramModeller>("Histogram Modeller", 1);
    runLines({loadLine(), "w.1.file.load:a.fcs", "w.1.curve.1.create:peak", "w.1.curve.1.position:5000",
              "w.1.curve.1.height:3000", "w.1.curve.1.deviation.left:200", "w.1.curve.1.deviation.right:300",
              "w.1.curve.1.plateau:0", "w.1.curve.1.name:first", "$top.set:@.w.1.modeller.height.5000",
              "$far.set:@.w.1.modeller.height.100", "w.1.statistics.visible:true",
              "$open.set:@.w.1.statistics.exists", "$mean.set:@.w.1.population.1.xmean"});
    const GaussCurve* curve = modeller.state().curve(1);
    ASSERT_NE(curve, nullptr);
    EXPECT_TRUE(curve->Active);
    EXPECT_EQ(curve->Name, "first");
    EXPECT_EQ(curve->Place, 500);
    EXPECT_GT(std::stoi(value("$top")), 0);
    EXPECT_EQ(value("$far"), "0");
    EXPECT_EQ(value("$open"), "true");
    EXPECT_NE(value("$mean"), "<none>");

    runLines({"w.1.curve.1.delete", "$top.set:@.w.1.modeller.height.5000"});
    EXPECT_FALSE(modeller.state().curve(1)->Active);
    EXPECT_EQ(value("$top"), "0");
}

TEST_F(ToolWindowKinds, BendPlotStatisticsOpenButNotCountedAsAStatisticsWindow) {
    writeThreeParameterFile("a.fcs");
    BendPlot& bend = make<BendPlot>("BendPlot", 1);
    runLines({loadLine(), "w.1.file.load:a.fcs", "w.1.statistics.visible:true", "$open.set:@.w.1.statistics.exists",
              "w.1.statistics.position.x:1500", "w.1.statistics.position.y:750", "$grid.set:@.w.1.statistics.contents.multiline", "w.1.drawmode:fast"});
    EXPECT_TRUE(bend.OnkoStatistiikkaKaytossa());
    EXPECT_EQ(value("$open"), "false");
    EXPECT_NE(value("$grid"), "<none>");
    runLines({"w.1.statistics.visible:false"});
    EXPECT_FALSE(bend.OnkoStatistiikkaKaytossa());
}

TEST_F(ToolWindowKinds, CreatedDadShowsAFileFromTheTool) {
    writeThreeParameterFile("a.fcs");
    runLines({loadLine(), "create.dad:2", "w.2.file.load:a.fcs", "$type.set:@.w.2.type", "$file.set:@.w.2.filename",
              "$exists.set:@.w.2.exists"});
    ASSERT_NE(dynamic_cast<DAD*>(windowAt(2)), nullptr);
    EXPECT_EQ(value("$type"), "DAD");
    EXPECT_EQ(value("$file"), "a.fcs");
    EXPECT_EQ(value("$exists"), "true");
}

TEST_F(ToolWindowKinds, FluxTrackerAndProjectorTakeAxesAndDrawingModes) {
    writeThreeParameterFile("a.fcs");
    make<FluxTracker>("FluxTracker", 1);
    make<Projector>("Projector", 2);
    runLines({loadLine(), "w.1.file.load:a.fcs", "w.2.file.load:a.fcs", "w.1.axis.x:3", "w.2.axis.y:3",
              "w.1.drawmode:fast", "w.2.drawmode:full", "$x1.set:@.w.1.axis.x", "$y2.set:@.w.2.axis.y"});
    EXPECT_EQ(value("$x1"), "3");
    EXPECT_EQ(value("$y2"), "3");
}

// An axis index above the file's parameter count is kept as given and put
// back to the first (X) or second (Y) parameter by the next drawing, on the
// flux tracker and the projector as on a dot plot.
class ToolAxisBeyondTheParameters : public ToolWindowKinds, public ::testing::WithParamInterface<const char*> {};

TEST_P(ToolAxisBeyondTheParameters, IsKeptAndResetAtTheNextDraw) {
    writeThreeParameterFile("a.fcs");
    ASSERT_TRUE(createWindowInSlot(GetParam(), 1));
    // No file shown: nothing is drawn, the index stays.
    runLines({loadLine(), "w.1.axis.x:9", "w.1.axis.y:7", "$x.set:@.w.1.axis.x", "$y.set:@.w.1.axis.y"});
    EXPECT_EQ(value("$x"), "9");
    EXPECT_EQ(value("$y"), "7");
    runLines({loadLine(), "w.1.file.load:a.fcs", "$x.set:@.w.1.axis.x", "$y.set:@.w.1.axis.y"});
    EXPECT_EQ(value("$x"), "1");
    EXPECT_EQ(value("$y"), "2");
    // Over a shown file the drawing that follows resets it at once, not
    // back to the axis shown before.
    runLines({"w.1.axis.x:3", "w.1.axis.y:3", "w.1.axis.x:4", "w.1.axis.y:4", "$x.set:@.w.1.axis.x",
              "$y.set:@.w.1.axis.y"});
    EXPECT_EQ(value("$x"), "1");
    EXPECT_EQ(value("$y"), "2");
}

INSTANTIATE_TEST_SUITE_P(Kinds, ToolAxisBeyondTheParameters, ::testing::Values("FluxTracker", "Projector", "DotPlot"),
                         [](const auto& info) { return std::string(info.param); });

// ---- drawing modes ----

// What a window draws and counts: whether it is marked as fast drawing, and
// every how many events it takes.
struct DrawnShare {
    bool fastMark = false;
    int32_t step = 0;
    bool operator==(const DrawnShare&) const = default;
};

void PrintTo(const DrawnShare& d, std::ostream* os) { *os << (d.fastMark ? "fast" : "full") << ", every " << d.step; }

template <class Kind>
DrawnShare stateShare(PlotWindow* w) {
    const auto& s = dynamic_cast<Kind&>(*w).state();
    if constexpr (requires { s.FastDrawOn; }) return {s.FastDrawOn, s.EventStep};
    else if constexpr (requires { s.DrawStep; }) return {s.FastDraw, s.DrawStep};
    else if constexpr (requires { s.Step; }) return {s.FastDraw, s.Step};
    else return {s.FastDraw, s.EventStep};
}

DrawnShare scatterShare(PlotWindow* w) {
    const ScatterView& v = dynamic_cast<ScatterDisplayWindow&>(*w).view();
    return {v.FastDraw, v.EventStep};
}

struct DrawModeKind {
    const char* kind;
    DrawnShare (*share)(PlotWindow*);
    bool statisticsText;  // its statistics grid reaches the tool as text
};

void PrintTo(const DrawModeKind& k, std::ostream* os) { *os << k.kind; }

class ToolDrawMode : public ToolWindowKinds, public ::testing::WithParamInterface<DrawModeKind> {};

// A file above the fast-draw limit (60000 events, limit 50000: every second
// event in fast drawing). "full" draws and counts every event without the
// mark, "fast" the sample with it, as the window's menu item does.
TEST_P(ToolDrawMode, FullCountsEveryEventAndFastTheMarkedSample) {
    const DrawModeKind& k = GetParam();
    FcsTestFile file;
    file.param("FSC-H").param("SSC-H").param("FL1-H");
    for (int i = 0; i < 60000; ++i)
        file.Events.push_back({static_cast<double>(i % 1000), static_cast<double>(i * 7 % 1000),
                               static_cast<double>(i * 13 % 1000)});
    WriteFcsTestFile(data.file("big.fcs"), file);
    ASSERT_TRUE(createWindowInSlot(k.kind, 1));
    ASSERT_EQ(g.FastDrawLimit, 50000);

    std::vector<std::string> lines{loadLine(), "w.1.file.load:big.fcs"};
    if (k.statisticsText) lines.push_back("w.1.statistics.visible:true");
    runLines(lines);
    EXPECT_EQ(k.share(windowAt(1)), (DrawnShare{true, 2}));

    std::string statistics = k.statisticsText ? "$grid.set:@.w.1.statistics.contents.multiline" : "";
    runLines({"w.1.drawmode:full", statistics});
    EXPECT_EQ(k.share(windowAt(1)), (DrawnShare{false, 1}));
    if (k.statisticsText) {
        EXPECT_EQ(value("$grid").find("FAST DRAW"), std::string::npos) << value("$grid");
        EXPECT_NE(value("$grid").find("\t60000\t"), std::string::npos) << value("$grid");
    }

    runLines({"w.1.drawmode:fast", statistics});
    EXPECT_EQ(k.share(windowAt(1)), (DrawnShare{true, 2}));
    if (k.statisticsText) {
        EXPECT_NE(value("$grid").find("FAST DRAW"), std::string::npos) << value("$grid");
        EXPECT_NE(value("$grid").find("\t30000\t"), std::string::npos) << value("$grid");
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ToolDrawMode,
                         ::testing::Values(DrawModeKind{"DotPlot", stateShare<DotPlot>, true},
                                           DrawModeKind{"Histogram", stateShare<Histogram>, true},
                                           DrawModeKind{"BendPlot", stateShare<BendPlot>, true},
                                           DrawModeKind{"Histogram Modeller", stateShare<HistogramModeller>, false},
                                           DrawModeKind{"3D Plot", stateShare<Plot3D>, false},
                                           DrawModeKind{"FluxTracker", scatterShare, false},
                                           DrawModeKind{"Projector", scatterShare, false}),
                         [](const auto& info) {
                             std::string name = info.param.kind;
                             std::erase(name, ' ');
                             return name;
                         });

// "fast" on a file within the limit does what the menu item does: nothing,
// so the window never shows the mark while it counts every event.
TEST_F(ToolWindowKinds, FastOnAFileWithinTheLimitStaysFull) {
    writeThreeParameterFile("a.fcs");
    ASSERT_TRUE(createWindowInSlot("DotPlot", 1));
    runLines({loadLine(), "w.1.file.load:a.fcs", "w.1.drawmode:fast"});
    EXPECT_EQ(stateShare<DotPlot>(windowAt(1)), (DrawnShare{false, 1}));
}

// ---- pictures ----

class ToolPictureOfEachKind : public ToolWindowKinds, public ::testing::WithParamInterface<const char*> {};

// Every kind's picture is the one the print page shows and the tool saves.
TEST_P(ToolPictureOfEachKind, SaveImageWritesTheWindowsPicture) {
    writeThreeParameterFile("a.fcs");
    ASSERT_TRUE(createWindowInSlot(GetParam(), 1));
    std::vector<std::string> lines{loadLine()};
    if (dynamic_cast<FilePlotWindow*>(windowAt(1))) lines.push_back("w.1.file.load:a.fcs");
    lines.push_back("w.1.saveimage:picture.bmp");
    runLines(lines);
    const QImage shown = windowAt(1)->Kuva();
    ASSERT_FALSE(shown.isNull());
    const QImage saved(QString::fromStdString(data.file("picture.bmp")));
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), shown.size());
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), shown.convertToFormat(QImage::Format_RGB32));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ToolPictureOfEachKind,
                         ::testing::Values("DotPlot", "Histogram", "Overlay Histogram", "Mirror Histogram",
                                           "BendPlot", "FluxTracker", "Projector", "Histogram Modeller",
                                           "3D Plot", "DAD"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::erase(name, ' ');
                             return name;
                         });

// ---- File info ----

class ToolFileInfoOfEachKind : public ToolWindowKinds, public ::testing::WithParamInterface<const char*> {};

// A new window is activated before it has a file, so File info first shows
// no file; each file a tool then loads into the window, by name or by a step
// through the folder, is the one File info shows, as after a load from the
// menu, whether File info is shown or not.
TEST_P(ToolFileInfoOfEachKind, ShowsTheFileEachLoadPutsIntoTheWindow) {
    writeThreeParameterFile("a.fcs");
    writeFcs("b.fcs", {{1, 2}, {3, 4}, {5, 6}});
    FileInfo* info = main->fileInfo();
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(createWindowInSlot(GetParam(), 1));
    windowAt(1)->onActivated();
    ASSERT_EQ(info->factsList()->item(0)->text(), "Name: ");
    const struct {
        const char* line;
        std::string file;
        int events;
    } loads[] = {
        {"w.1.file.load:a.fcs", "a.fcs", 200}, {"w.1.file.load:b.fcs", "b.fcs", 3},
        {"w.1.file.move:first", "a.fcs", 200}, {"w.1.file.move:next", "b.fcs", 3},
        {"w.1.file.move:previous", "a.fcs", 200},
    };
    for (const auto& [line, file, events] : loads) {
        SCOPED_TRACE(line);
        runLines({loadLine(), line});
        EXPECT_EQ(info->shownFileSlot(), g.WindowRegistry[1].FileIndex);
        ASSERT_GE(info->factsList()->count(), 1);
        EXPECT_EQ(info->factsList()->item(0)->text(), QString::fromStdString("Name: " + file));
        EXPECT_EQ(info->eventsBox()->text(), QString::number(events));
        EXPECT_FALSE(info->isVisible());
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ToolFileInfoOfEachKind,
                         ::testing::Values("DotPlot", "Histogram", "BendPlot", "FluxTracker", "Projector",
                                           "Histogram Modeller", "3D Plot", "DAD"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::erase(name, ' ');
                             return name;
                         });

// ---- members a kind lacks, and values a member refuses ----

struct LackingMember {
    const char* name;
    const char* kind;  // made in slot 1 before the tool runs
    const char* line;  // the tool's line 1
};

void PrintTo(const LackingMember& c, std::ostream* os) { *os << c.kind << ": " << c.line; }

class ToolMemberLacking : public ToolWindowKinds, public ::testing::WithParamInterface<LackingMember> {};

TEST_P(ToolMemberLacking, StopsTheRunWithTheLinesNumber) {
    ASSERT_TRUE(createWindowInSlot(GetParam().kind, 1));
    dialogs.expectMessage(abortText(1), "Fatal error", MsgAnswer::Ok);
    runLines({GetParam().line, "$after.set:ran"});
    EXPECT_EQ(value("$after"), "<none>");
    // The window is left as it was.
    EXPECT_NE(windowAt(1), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ToolMemberLacking,
    ::testing::Values(
        LackingMember{"OverlayOnADotPlot", "DotPlot", "w.1.overlay.1.histogram:2"},
        LackingMember{"CurveOnAHistogram", "Histogram", "w.1.curve.1.create:x"},
        LackingMember{"ZeroOnAHistogram", "Histogram", "w.1.zero"},
        LackingMember{"QuadrantOnAThreeDPlot", "3D Plot", "w.1.quadrant.visible:true"},
        LackingMember{"StatisticsOnAThreeDPlot", "3D Plot", "w.1.statistics.visible:true"},
        LackingMember{"ModellerHeightOfAThreeDPlot", "3D Plot", "$h.set:@.w.1.modeller.height.5000"},
        LackingMember{"RotateAnOverlay", "Overlay Histogram", "w.1.rotate.x:5"},
        LackingMember{"HistogramHeightOfAnOverlay", "Overlay Histogram", "$h.set:@.w.1.histogram.height.5000"},
        LackingMember{"AxisOfAMirror", "Mirror Histogram", "w.1.axis.x:1"},
        LackingMember{"CurveOnAMirror", "Mirror Histogram", "w.1.curve.1.create:x"},
        LackingMember{"DistanceOfAModeller", "Histogram Modeller", "w.1.distance:10"},
        LackingMember{"StatisticsTextOfAModeller", "Histogram Modeller", "$s.set:@.w.1.statistics.contents.multiline"},
        LackingMember{"CurveNotANumberOnAModeller", "Histogram Modeller", "w.1.curve.x.create:x"},
        LackingMember{"CurveBeyondTheModellersCurves", "Histogram Modeller", "w.1.curve.21.create:x"},
        LackingMember{"OverlayOnABendPlot", "BendPlot", "w.1.overlay.1.histogram:2"},
        LackingMember{"BackgroundOfAFluxTracker", "FluxTracker", "w.1.bgpicture:true"},
        LackingMember{"AxisNotANumberOnADotPlot", "DotPlot", "w.1.axis.x:abc"},
        LackingMember{"AxisNotANumberOnAFluxTracker", "FluxTracker", "w.1.axis.x:abc"},
        LackingMember{"AxisNotANumberOnAProjector", "Projector", "w.1.axis.y:abc"},
        LackingMember{"QuadrantOfAProjector", "Projector", "$q.set:@.w.1.quadrant.position.x"},
        LackingMember{"RotateADad", "DAD", "w.1.rotate.y:5"},
        LackingMember{"OverlayLineBeyondTheLines", "Overlay Histogram", "w.1.overlay.101.histogram:1"},
        LackingMember{"OverlayWindowBeyondTheTable", "Overlay Histogram", "w.1.overlay.1.histogram:51"}),
    [](const auto& info) { return std::string(info.param.name); });

// The questions that never fail on a slot in range answer "false" for the
// kinds without a quadrant or statistics of their own.
TEST_F(ToolWindowKinds, ExistenceQueriesAnswerFalseForKindsWithoutThem) {
    int slot = 1;
    for (const char* kind : OtherKinds) ASSERT_TRUE(createWindowInSlot(kind, slot++)) << kind;
    std::string text;
    for (int n = 1; n < slot; ++n)
        text += "$q" + std::to_string(n) + ".set:@.w." + std::to_string(n) + ".quadrant.exists\r\n$s" +
                std::to_string(n) + ".set:@.w." + std::to_string(n) + ".statistics.exists\r\n";
    run(text);
    for (int n = 1; n < slot; ++n) {
        EXPECT_EQ(value("$q" + std::to_string(n)), "false") << OtherKinds[n - 1];
        EXPECT_EQ(value("$s" + std::to_string(n)), "false") << OtherKinds[n - 1];
    }
}

}  // namespace
}  // namespace qv::test
