// One workspace holding a window of every kind the program makes, each with
// settings away from its defaults, through an analysis sheet: saved, read
// into a fresh run that declined recovery, saved again.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <QAction>

#include "app/MenuBar.h"
#include "output/ClipBook.h"
#include "output/PrintPreview.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/histogram/Histogram.h"
#include "plots/histogram/MirrorHistogram.h"
#include "plots/histogram/Overlayhistogram.h"
#include "plots/modeller/HistogramModeller.h"
#include "plots/multi/BendPlot.h"
#include "plots/multi/Dad.h"
#include "plots/multi/ThreeDPlot.h"
#include "plots/timeproj/FluxTracker.h"
#include "plots/timeproj/Projector.h"
#include "tests/app/SheetStoreFixture.h"
#include "tests/support/EveryWindowKind.h"

namespace qv::test {
namespace {

class SheetWholeWorkspaceTest : public SheetStoreTest {
protected:
    void SetUp() override {
        registerEveryWindowKind();
        SheetStoreTest::SetUp();
    }

    void buildEveryKind();

    // The workspace now against `before`, window by window; the files'
    // paths only when they were read from where they were written.
    void expectSameWorkspace(const Workspace& before, const std::vector<std::string>& pageBefore,
                             bool samePaths = true) {
        const Workspace after = Workspace::capture();
        EXPECT_EQ(after.populations, before.populations);
        if (samePaths) {
            EXPECT_EQ(after.files, before.files);
        }
        for (const auto& [slot, lines] : before.windows)
            EXPECT_EQ(after.windows.count(slot) ? after.windows.at(slot) : std::vector<std::string>{}, lines)
                << "window " << slot << " (" << g.WindowRegistry[slot].Type << ")";
        EXPECT_EQ(after.windows.size(), before.windows.size());
        EXPECT_TRUE(after.membership == before.membership);
        EXPECT_EQ(main->printPage()->SaveInfo(), pageBefore);
    }
};

// Settings away from each kind's defaults, given to each window as the
// lines its own LoadInfo reads; every one of them must show in the
// window's SaveInfo before the sheet is written.
struct ChangedSettings {
    int id;
    std::vector<std::string> lines;  // "<key>:<value>", behind "window.<id>."
};

const std::vector<ChangedSettings> changedSettings = {
    {1, {"location.x:600", "location.y:300", "axis.x:3", "show:1", "quadrant.enabled:1", "quadrant.x:3000",
         "quadrant.y:4100", "density.enabled:1", "regionlines.showcreatedhere:1", "background:0",
         "multicolor.enabled:0", "dot.size:2", "statistics.enabled:1", "statistics.x:1500", "statistics.y:2250",
         "statistics.column.2.visible:0", "printview.window.visible:1", "printview.stat.visible:1"}},
    {2, {"axis.x:2", "show:1", "fill.red:10", "fill.green:20", "fill.blue:30", "border.enabled:0", "yscale:50",
         "smoothing:4", "regionlines.show:0", "background:0", "printview.window.visible:1",
         "printview.stat.visible:1"}},
    {3, {"regionlines.show:0", "fill.red:5", "fill.green:6", "fill.blue:7", "background:255", "line.1.window:2",
         "line.2.window:11", "line.3.red:9", "line.4.blue:77", "printview.window.visible:1"}},
    {4, {"file:2", "axis.x:3", "fill.blue:40", "yscale:30", "smoothing:2", "background:0",
         "curve.1.name:Peak: one #1", "curve.1.height:100", "curve.1.place:200", "curve.1.deviation.left:10",
         "curve.1.deviation.right:12", "curve.1.plateau:3", "curve.3.name:Second", "curve.3.height:40",
         "curve.3.place:700", "statistics.enabled:1", "statistics.x:1500", "statistics.y:2250",
         "statistics.column.2.visible:0", "printview.window.visible:1", "printview.stat.visible:1"}},
    {5, {"file:2", "axis.x:2", "axis.y:3", "axis.z:1", "show:1", "rotate.x:30", "rotate.y:45", "rotate.z:60",
         "lines.show:0", "background:0", "dot.size:2", "printview.window.visible:1",
         "parameternames.show:0"}},
    {6, {"file:2", "axis.x:3", "axis.y:1", "iterations:50", "deviator:500", "events:150", "movement.x:12",
         "movement.y:-7", "show:1"}},
    {7, {"file:2", "show:1", "regionlines.show:0", "background:0", "multicolor.enabled:0", "dot.size:2",
         "distancecolors:1", "axis.1.x:4500", "axis.4.parameter:3", "axis.4.yaxis:0", "axis.5.parameter:2",
         "axis.5.x:3000", "axis.5.y:3000", "axis.5.connected:4", "axis.5.yaxis:1", "statistics.enabled:1",
         "statistics.x:1500", "statistics.y:2250", "statistics.column.2.visible:0", "printview.window.visible:1",
         "printview.stat.visible:1"}},
    {8, {"file:2", "axis.y:3", "show:1", "density.enabled:0", "printview.window.visible:1", "background:0",
         "dot.size:2", "curve.resolution:250", "curve.smoothing:5", "curve.geomean:1"}},
    {9, {"axis.x:3", "show:1", "multicolor.enabled:0", "angle:35", "line.color.green:128", "line.color.blue:64"}},
    {10, {"location.x:900", "location.y:1200", "printview.window.visible:1"}},
    {11, {"axis.x:3", "fill.green:90", "smoothing:1"}},
    {14, {"line.1.window:2", "line.2.window:11"}},
};

// Two files; dot plot 1 with its gate, one window of every other kind (a
// second histogram in 11, on the second file), the mirror histogram in 14,
// every window given its changed settings and the print page shown.
void SheetWholeWorkspaceTest::buildEveryKind() {
    WriteFcsTestFile(dataDir.file("a.fcs"), sampleFile(0));
    openFile(dataDir.file("a.fcs"));
    ASSERT_NE(plot(1), nullptr);
    const char* kinds[] = {"Histogram", "Overlay Histogram", "Histogram Modeller", "3D Plot", "DAD",
                           "BendPlot", "FluxTracker", "Projector", "ClipBook", "Histogram"};
    int id = 2;
    for (const char* kind : kinds) {
        ASSERT_EQ(main->createFromMenu(kind), id) << kind;
        ++id;
    }
    // A mirror histogram is never made from a menu, only by a sheet, in
    // the slot it names; it takes the same way in.
    ASSERT_TRUE(createWindowInSlot("Mirror Histogram", 14));
    // A second file, which the histogram in 11 shows (the last file
    // opened goes to the selected window).
    WriteFcsTestFile(dataDir.file("Run #3 b.fcs"), sampleFile(250));
    openFile(dataDir.file("Run #3 b.fcs"));
    ASSERT_EQ(g.WindowRegistry[11].FileIndex, 2);

    PopulationRecord& gate = g.PopulationTable[1];
    gate.InUse = true;
    gate.Name = "Poly-1";
    gate.Type = "Polygon";
    gate.AxisX = 1;
    gate.AxisY = 2;
    gate.Created = 1;
    gate.Corners = 4;
    const float corners[][2] = {{1000, 1000}, {6000, 1200}, {5000, 7000}, {1500, 6000}};
    for (int j = 1; j <= 4; ++j) {
        gate.CornerX[j] = corners[j - 1][0];
        gate.CornerY[j] = corners[j - 1][1];
    }
    windowAt(1)->CheckPopulation(1);
    RecomputeAllPopulations();

    for (const ChangedSettings& c : changedSettings)
        for (const std::string& line : c.lines)
            windowAt(c.id)->LoadInfo("window." + std::to_string(c.id) + "." + line);
    // Fast drawing and the 3-D plot's distance, through the members the
    // tools call.
    // As the menu item, the member turns fast drawing on only for a file
    // above the limit: the 200-event files are, for a moment.
    const int fastDrawn[] = {1, 2, 4, 5, 7, 8, 9};
    const int32_t limit = g.FastDrawLimit;
    g.FastDrawLimit = 100;
    for (int slot : fastDrawn) windowAt(slot)->AsetaPiirtoMoodi("fast");
    g.FastDrawLimit = limit;
    windowAt(5)->MuutaEtaisyytta("250");  // 250 nearer than 1500
    main->mainMenu().AvaaPrintPreviewPage->trigger();
    ASSERT_TRUE(main->printPage()->isVisible());
    main->printPage()->layout().WindowPlacement[7].X = 210;
    main->PiirraKaikki();
    for (const ChangedSettings& c : changedSettings) {
        const std::vector<std::string> saved = windowAt(c.id)->SaveInfo();
        for (const std::string& line : c.lines)
            EXPECT_NE(std::find(saved.begin(), saved.end(), line), saved.end())
                << "window " << c.id << " (" << g.WindowRegistry[c.id].Type << ") lost " << line;
    }
    for (int slot : fastDrawn) {
        const std::vector<std::string> saved = windowAt(slot)->SaveInfo();
        EXPECT_NE(std::find(saved.begin(), saved.end(), "fastdraw.enabled:1"), saved.end()) << slot;
    }
    const std::vector<std::string> threeD = windowAt(5)->SaveInfo();
    EXPECT_NE(std::find(threeD.begin(), threeD.end(), "distance:1250"), threeD.end());
}

TEST_F(SheetWholeWorkspaceTest, EveryKindWithChangedSettingsComesBack) {
    buildEveryKind();
    if (HasFatalFailure()) return;
    const Workspace before = Workspace::capture();
    const std::vector<std::string> pageBefore = main->printPage()->SaveInfo();
    ASSERT_EQ(before.windows.size(), 12u);
    std::map<int, std::string> types;
    for (const auto& entry : before.windows) types[entry.first] = g.WindowRegistry[entry.first].Type;
    const std::string first = saveSheet(sheetDir.file("all.quorvane"));

    restartWithoutRecovery();
    ASSERT_EQ(windowAt(1), nullptr);
    written.clear();
    loadSheet(sheetDir.file("all.quorvane"));
    EXPECT_EQ(writesWhileLoading, 0);
    for (const auto& [slot, type] : types) {
        ASSERT_NE(windowAt(slot), nullptr) << slot;
        EXPECT_EQ(g.WindowRegistry[slot].Type, type);
    }
    expectSameWorkspace(before, pageBefore);
    const std::string second = saveSheet(sheetDir.file("again.quorvane"));
    EXPECT_EQ(withoutDate(second), withoutDate(first));
    // Read again over the workspace it made: nothing of the old windows
    // stays behind or takes a slot.
    loadSheet(sheetDir.file("all.quorvane"));
    const std::string third = saveSheet(sheetDir.file("third.quorvane"));
    EXPECT_EQ(withoutDate(third), withoutDate(first));
}

// The same workspace after the program is killed: the autosave file it
// left brings every window back when the user answers Yes at the next start.
TEST_F(SheetWholeWorkspaceTest, EveryKindComesBackFromRecovery) {
    buildEveryKind();
    if (HasFatalFailure()) return;
    main->TalletaNakyma("Autosave");
    const Workspace before = Workspace::capture();
    const std::vector<std::string> pageBefore = main->printPage()->SaveInfo();
    const std::string left = withoutDate(readAll(autosave()));

    main.reset();  // no orderly exit: the autosave file stays
    resetSharedState();
    {
        ScriptedDialogs dlg;
        dlg.expectMessage(RecoveryQuestion, "Recovery", MsgButtons::YesNo, MsgAnswer::Yes);
        start();
        dlg.finish();
    }
    EXPECT_EQ(writesWhileLoading, 0);
    expectSameWorkspace(before, pageBefore);
    main->TalletaNakyma("Autosave");
    EXPECT_EQ(withoutDate(readAll(autosave())), left);
}

// The same workspace as a package, opened in a fresh run from another
// folder: every window reads its lines back against the extracted files.
TEST_F(SheetWholeWorkspaceTest, EveryKindComesBackFromAPackage) {
    buildEveryKind();
    if (HasFatalFailure()) return;
    const Workspace before = Workspace::capture();
    const std::vector<std::string> pageBefore = main->printPage()->SaveInfo();
    const std::string package = saveSheet(sheetDir.file("all.quorvane"), "Paketti");

    restartWithoutRecovery();
    TempFolder elsewhere;
    WriteBytes(elsewhere.file("all.quorvane"), package);
    main->LataaNakyma(q(elsewhere.file("all.quorvane")));
    EXPECT_EQ(readAll(elsewhere.file("Run #3 b.fcs")), readAll(dataDir.file("Run #3 b.fcs")));
    expectSameWorkspace(before, pageBefore, /*samePaths=*/false);
    EXPECT_EQ(withoutDate(saveSheet(elsewhere.file("again.quorvane"), "Paketti")), withoutDate(package));
}

}  // namespace
}  // namespace qv::test
