// The window registry as the main window uses it: the creation sequence of
// every kind, the limit, reuse of IDs, selection and "Select all".
#include <QMdiArea>
#include <QMdiSubWindow>

#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedDialogs.h"

namespace qv::test {
namespace {

const char* const LimitMessage = "You can create only 50 windows at a time.";

// What the creator does around Alusta, kind by kind.
struct CreationCase {
    const char* type;
    bool deselectsOthers;
    bool autosaves;
};

class CreationSteps : public MainWindowTest, public ::testing::WithParamInterface<CreationCase> {};

TEST_P(CreationSteps, DeselectAndAutosaveAsTheKindWants) {
    const CreationCase c = GetParam();
    start();
    ASSERT_EQ(main_->createFromMenu("DotPlot"), 1);
    ASSERT_EQ(selectedIds(), QList<int>{1});
    writes.clear();

    const int id = main_->createFromMenu(c.type);
    ASSERT_EQ(id, 2);
    const WindowRecord& rec = g.WindowRegistry[2];
    EXPECT_TRUE(rec.InUse);
    EXPECT_EQ(rec.Type, c.type);
    EXPECT_EQ(rec.Form, windowAt(2));
    EXPECT_TRUE(windowAt(2)->isVisible());
    EXPECT_EQ(main_->workspace()->subWindowList().size(), 2);
    EXPECT_EQ(g.WindowRegistry[1].Selected, !c.deselectsOthers);
    EXPECT_EQ(caption(1), c.deselectsOthers ? "(1): Dot Plot - No File" : "[S] (1): Dot Plot - No File");
    EXPECT_EQ(autosaves(), c.autosaves ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, CreationSteps,
    ::testing::Values(CreationCase{"DotPlot", true, true}, CreationCase{"Histogram", true, true},
                      CreationCase{"Histogram Modeller", false, true}, CreationCase{"Overlay Histogram", false, true},
                      CreationCase{"3D Plot", true, true}, CreationCase{"BendPlot", true, true},
                      CreationCase{"FluxTracker", false, false}, CreationCase{"Projector", false, false},
                      CreationCase{"ClipBook", false, true}, CreationCase{"DAD", true, false},
                      CreationCase{"Mirror Histogram", false, false}),
    [](const auto& info) {
        std::string name = info.param.type;
        std::erase(name, ' ');
        return name;
    });

TEST_F(MainWindowTest, SlotIsTakenBeforeTheWindowIsMadeOrInitialised) {
    start();
    ASSERT_EQ(createWindow("DotPlot"), 1);
    int freeWhileMaking = -1;
    registerWindowKind("Projector", [&] {
        freeWhileMaking = firstFreeWindowSlot();
        return new StandInWindow("Projector", true);
    });
    bool inUse = false, selected = true, shown = false;
    std::string type;
    StandInWindow::onAlusta() = [&](int id) {
        const WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(id)];
        inUse = rec.InUse;
        selected = rec.Selected;
        type = rec.Type;
        shown = rec.Form && rec.Form->isVisible();
    };
    ASSERT_EQ(createWindow("Projector"), 2);
    EXPECT_EQ(freeWhileMaking, 3);
    EXPECT_TRUE(inUse);
    EXPECT_FALSE(selected);
    EXPECT_EQ(type, "Projector");
    EXPECT_TRUE(shown);
    EXPECT_TRUE(g.WindowRegistry[2].Selected);  // the window's own Alusta selects it
}

TEST_F(MainWindowTest, UnknownKindOrNoWindowCreatesNothing) {
    start();
    EXPECT_EQ(createWindow("Spreadsheet"), 0);
    registerWindowKind("ClipBook", [] { return static_cast<PlotWindow*>(nullptr); });
    EXPECT_EQ(createWindow("ClipBook"), 0);
    EXPECT_EQ(firstFreeWindowSlot(), 1);
    EXPECT_FALSE(g.WindowRegistry[1].InUse);
    EXPECT_TRUE(writes.isEmpty());
}

TEST_F(MainWindowTest, CreatesUpToTheLimitThenShowsTheLimitMessage) {
    start();
    for (int i = 1; i <= 50; ++i) ASSERT_EQ(main_->createFromMenu(i % 2 ? "DotPlot" : "ClipBook"), i);
    EXPECT_EQ(firstFreeWindowSlot(), 0);
    writes.clear();
    StandInWindow::log().clear();
    {
        ScriptedDialogs dlg;
        for (const char* type : {"DotPlot", "Histogram", "ClipBook", "DAD"}) {
            dlg.expectMessage(LimitMessage, "Max number of windows", MsgButtons::Ok, MsgAnswer::Ok);
            EXPECT_EQ(main_->createFromMenu(type), 0) << type;
        }
    }
    EXPECT_TRUE(writes.isEmpty());
    EXPECT_TRUE(StandInWindow::log().empty());
    EXPECT_EQ(main_->workspace()->subWindowList().size(), 50);

    // Closing any window frees its ID for the next one.
    windowAt(17)->UnloadWindow();
    EXPECT_EQ(windowAt(17), nullptr);
    EXPECT_EQ(main_->createFromMenu("Histogram"), 17);
    EXPECT_EQ(g.WindowRegistry[17].Type, "Histogram");
}

TEST_F(MainWindowTest, ClosedWindowsIdIsReusedLowestFirst) {
    start();
    for (int i = 1; i <= 5; ++i) ASSERT_EQ(createWindow("DotPlot"), i);
    // The user's close box: the frame closes, the window unloads itself.
    QMdiSubWindow* frame3 = qobject_cast<QMdiSubWindow*>(windowAt(3)->parentWidget());
    ASSERT_NE(frame3, nullptr);
    frame3->close();
    windowAt(5)->UnloadWindow();
    EXPECT_FALSE(g.WindowRegistry[3].InUse);
    EXPECT_EQ(g.WindowRegistry[3].Form, nullptr);
    EXPECT_EQ(g.WindowRegistry[3].FileIndex, 0);
    EXPECT_EQ(createWindow("Histogram"), 3);
    EXPECT_EQ(caption(3), "[S] (3): Histogram - No File");
    EXPECT_EQ(createWindow("DotPlot"), 5);
    EXPECT_EQ(createWindow("DotPlot"), 6);
}

TEST_F(MainWindowTest, WindowDestroyedWithoutUnloadLeavesTheRegistry) {
    start();
    ASSERT_EQ(createWindow("DotPlot"), 1);
    delete windowAt(1)->parentWidget();
    EXPECT_EQ(windowAt(1), nullptr);
    EXPECT_FALSE(g.WindowRegistry[1].InUse);
    main_->PiirraKaikki();  // must not reach the destroyed window
    EXPECT_EQ(createWindow("DotPlot"), 1);
}

TEST_F(MainWindowTest, CreateDeselectsOthersForTheKindsThatDoSo) {
    start();
    ASSERT_EQ(createWindow("DotPlot"), 1);
    ASSERT_EQ(createWindow("FluxTracker"), 2);  // keeps window 1 selected
    ASSERT_EQ(createWindow("ClipBook"), 3);     // never selected
    EXPECT_EQ(selectedIds(), (QList<int>{1, 2}));
    EXPECT_EQ(caption(1), "[S] (1): Dot Plot - No File");
    EXPECT_EQ(caption(2), "[S] (2): Flux Tracker - No File");
    EXPECT_EQ(caption(3), "(3): ClipBook - No File");
    ASSERT_EQ(createWindow("Histogram"), 4);
    EXPECT_EQ(selectedIds(), QList<int>{4});
    EXPECT_EQ(caption(1), "(1): Dot Plot - No File");
    EXPECT_EQ(caption(2), "(2): Flux Tracker - No File");
    EXPECT_EQ(caption(3), "(3): ClipBook - No File");
}

TEST_F(MainWindowTest, ActivationSelectsWithoutShiftAloneWithShiftTogether) {
    start();
    for (int i = 1; i <= 3; ++i) ASSERT_EQ(createWindow("DotPlot"), i);
    ASSERT_EQ(createWindow("ClipBook"), 4);
    ASSERT_EQ(selectedIds(), QList<int>{3});
    auto activate = [&](int id) {
        main_->workspace()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(windowAt(id)->parentWidget()));
    };

    activate(1);
    EXPECT_EQ(selectedIds(), QList<int>{1});
    EXPECT_EQ(g.ActiveWindowSlot, 1);
    EXPECT_EQ(caption(1), "[S] (1): Dot Plot - No File");
    EXPECT_EQ(caption(3), "(3): Dot Plot - No File");

    g.ShiftHeld = true;
    activate(2);
    EXPECT_EQ(selectedIds(), (QList<int>{1, 2}));
    EXPECT_EQ(caption(1), "[S] (1): Dot Plot - No File");
    EXPECT_EQ(caption(2), "[S] (2): Dot Plot - No File");
    activate(3);
    EXPECT_EQ(selectedIds(), (QList<int>{1, 2, 3}));
    EXPECT_EQ(g.ActiveWindowSlot, 3);

    g.ShiftHeld = false;
    activate(2);
    EXPECT_EQ(selectedIds(), QList<int>{2});
    EXPECT_EQ(caption(1), "(1): Dot Plot - No File");
    EXPECT_EQ(caption(3), "(3): Dot Plot - No File");
    EXPECT_EQ(caption(4), "(4): ClipBook - No File");

    // While a sheet is read, activation leaves the selection alone.
    g.SheetLoading = true;
    activate(1);
    EXPECT_EQ(selectedIds(), QList<int>{2});
    g.SheetLoading = false;
}

TEST_F(MainWindowTest, SelectAllSelectsEveryFileWindowAndNothingElse) {
    start();
    ASSERT_EQ(createWindow("DotPlot"), 1);
    ASSERT_EQ(createWindow("Overlay Histogram"), 2);
    ASSERT_EQ(createWindow("Histogram"), 3);
    ASSERT_EQ(createWindow("ClipBook"), 4);
    ASSERT_EQ(selectedIds(), QList<int>{3});
    writes.clear();
    main_->SelectAll_Click();
    EXPECT_EQ(selectedIds(), (QList<int>{1, 3}));
    EXPECT_EQ(caption(1), "[S] (1): Dot Plot - No File");
    EXPECT_EQ(caption(2), "(2): Overlay Histogram - No File");
    EXPECT_EQ(caption(3), "[S] (3): Histogram - No File");
    EXPECT_EQ(caption(4), "(4): ClipBook - No File");
    EXPECT_TRUE(writes.isEmpty());  // no autosave follows
    // Twice gives one prefix, not two.
    main_->SelectAll_Click();
    EXPECT_EQ(caption(1), "[S] (1): Dot Plot - No File");
}

TEST_F(MainWindowTest, SelectAllWithOnlyNonFileWindowsChangesNothing) {
    start();
    ASSERT_EQ(createWindow("ClipBook"), 1);
    ASSERT_EQ(createWindow("Overlay Histogram"), 2);
    main_->SelectAll_Click();
    EXPECT_TRUE(selectedIds().isEmpty());
    EXPECT_EQ(caption(1), "(1): ClipBook - No File");
    EXPECT_EQ(caption(2), "(2): Overlay Histogram - No File");
}

TEST_F(MainWindowTest, SheetReaderCreatesIntoTheSlotItNames) {
    start();
    EXPECT_TRUE(createWindowInSlot("DotPlot", 7));
    EXPECT_FALSE(createWindowInSlot("DotPlot", 7));   // in use
    EXPECT_FALSE(createWindowInSlot("DotPlot", 0));
    EXPECT_FALSE(createWindowInSlot("DotPlot", 51));
    EXPECT_FALSE(createWindowInSlot("Spreadsheet", 8));
    EXPECT_EQ(caption(7), "[S] (7): Dot Plot - No File");
    EXPECT_EQ(createWindow("DotPlot"), 1);
}

}  // namespace
}  // namespace qv::test
