// The window registry as the main window uses it: the creation sequence of
// every kind, the limit, reuse of IDs, selection and "Select all".
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>

#include "app/WindowDisposal.h"

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
void PrintTo(const CreationCase& c, std::ostream* os) { *os << c.type; }

class CreationSteps : public MainWindowTest, public ::testing::WithParamInterface<CreationCase> {};

TEST_P(CreationSteps, DeselectAndAutosaveAsTheKindWants) {
    const CreationCase c = GetParam();
    start();
    ASSERT_EQ(main_->createFromMenu("DotPlot"), 1);
    ASSERT_EQ(selectedIds(), QList<int>{1});
    writes.clear();

    // Shift held: the new window's own activation keeps the others selected,
    // so only the creator's deselection shows.
    g.ShiftHeld = true;
    const int id = main_->createFromMenu(c.type);
    g.ShiftHeld = false;
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
    // Shown before its Alusta, the new window still runs its activation step
    // once, as the active window; a file window becomes the active slot.
    EXPECT_EQ(main_->workspace()->currentSubWindow(), windowAt(2)->parentWidget());
    ASSERT_NE(standIn(2), nullptr);
    EXPECT_EQ(standIn(2)->activations, 1);
    EXPECT_EQ(g.ActiveWindowSlot, rec.ShowsFile ? 2 : 1);

    // Without Shift, a new file window is the only one selected, whatever
    // its kind; other kinds leave the selection to the creator.
    const int third = main_->createFromMenu(c.type);
    ASSERT_EQ(third, 3);
    if (rec.ShowsFile)
        EXPECT_EQ(selectedIds(), QList<int>{3});
    else
        EXPECT_EQ(selectedIds(), c.deselectsOthers ? QList<int>{} : QList<int>{1});
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

// A window closed from inside a handler (here the user's close box clicked
// while a redraw-all runs events) leaves the registry at once and is deleted
// only once control is back in the top-level event loop; a nested loop (a
// modal box) is not that loop.
TEST_F(MainWindowTest, ClosedWindowIsDeletedOnlyBackInTheTopLevelLoop) {
    start();
    for (int i = 1; i <= 3; ++i) ASSERT_EQ(createWindow("DotPlot"), i);
    QPointer<PlotWindow> second(windowAt(2));
    QPointer<QWidget> frame2(second->parentWidget());
    StandInWindow::onDraw() = [&](int id) {
        if (id == 1 && frame2) QTimer::singleShot(0, frame2.data(), [&] { frame2->close(); });
    };
    main_->PiirraKaikki();
    StandInWindow::onDraw() = nullptr;
    EXPECT_EQ(windowAt(2), nullptr);
    EXPECT_EQ(standIn(1)->drawCount, 1);
    EXPECT_EQ(standIn(3)->drawCount, 1);
    ASSERT_TRUE(second);
    EXPECT_FALSE(frame2->isVisible());
    EXPECT_EQ(discardedWidgetsWaiting(), 1);

    // Inside a nested loop (a modal box up) nothing is deleted; back in the
    // outermost loop it is.
    QPointer<QWidget> frame3(windowAt(3)->parentWidget());
    bool aliveAfterNestedLoop = false;
    QEventLoop outer;
    QTimer::singleShot(0, &outer, [&] {
        frame3->close();
        QEventLoop nested;
        QTimer::singleShot(20, &nested, &QEventLoop::quit);
        nested.exec();
        aliveAfterNestedLoop = !frame3.isNull();
        outer.quit();
    });
    outer.exec();
    EXPECT_TRUE(aliveAfterNestedLoop);
    QEventLoop idle;
    QTimer::singleShot(20, &idle, &QEventLoop::quit);
    idle.exec();
    EXPECT_FALSE(second);
    EXPECT_FALSE(frame3);
    EXPECT_EQ(discardedWidgetsWaiting(), 0);
    EXPECT_EQ(main_->workspace()->subWindowList().size(), 1);
    EXPECT_EQ(createWindow("DotPlot"), 2);
}

// New windows open inside the visible part of the workspace, and a window
// left outside it (the main window made smaller) is reached by scrolling.
TEST_F(MainWindowTest, WindowsOpenInsideTheWorkspaceAndStayReachableByScrolling) {
    start();
    main_->resize(700, 500);
    QCoreApplication::processEvents();
    QWidget* view = main_->workspace()->viewport();
    for (int i = 1; i <= 12; ++i) {
        ASSERT_EQ(createWindow(i % 3 == 0 ? "ClipBook" : "DotPlot"), i);
        const QRect frame = windowAt(i)->parentWidget()->geometry();
        EXPECT_TRUE(view->rect().contains(frame)) << "window " << i << " at " << frame.x() << "," << frame.y();
    }
    EXPECT_FALSE(main_->workspace()->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(main_->workspace()->verticalScrollBar()->isVisible());

    main_->resize(300, 250);
    QCoreApplication::processEvents();
    // (The panel keeps the main window from getting much lower.)
    EXPECT_TRUE(main_->workspace()->horizontalScrollBar()->isVisible());
    // Scrolled to its end, the window farthest out comes into view.
    QScrollBar* across = main_->workspace()->horizontalScrollBar();
    QScrollBar* down = main_->workspace()->verticalScrollBar();
    across->setValue(across->maximum());
    down->setValue(down->maximum());
    QCoreApplication::processEvents();
    int right = 0, bottom = 0;
    for (int i = 1; i <= 12; ++i) {
        right = std::max(right, windowAt(i)->parentWidget()->geometry().right());
        bottom = std::max(bottom, windowAt(i)->parentWidget()->geometry().bottom());
    }
    EXPECT_LE(right, view->width());
    EXPECT_LE(bottom, view->height());
}

// A slot is taken whole: nothing of its last window (a file window's
// ShowsFile, its file) is left for the next kind while its Alusta has not
// run, so the selection steps don't ask a caption of a window that has none.
TEST_F(MainWindowTest, TakenSlotStartsFromAnEmptyRecord) {
    start();
    ASSERT_EQ(createWindow("DotPlot"), 1);
    g.WindowRegistry[1].FileIndex = 3;
    windowAt(1)->UnloadWindow();
    g.WindowRegistry[1].FileIndex = 3;  // what a careless unload leaves
    bool showsFileWhileMade = true;
    int fileWhileMade = -1;
    StandInWindow::onAlusta() = [&](int id) {
        showsFileWhileMade = g.WindowRegistry[static_cast<size_t>(id)].ShowsFile;
        fileWhileMade = g.WindowRegistry[static_cast<size_t>(id)].FileIndex;
    };
    ASSERT_EQ(createWindow("DAD"), 1);  // deselects every file window first
    EXPECT_FALSE(showsFileWhileMade);
    EXPECT_EQ(fileWhileMade, 0);
}

TEST_F(MainWindowTest, CreateDeselectsOthersForTheKindsThatDoSo) {
    start();
    ASSERT_EQ(createWindow("DotPlot"), 1);
    g.ShiftHeld = true;  // the new window's activation then keeps them too
    ASSERT_EQ(createWindow("FluxTracker"), 2);  // keeps window 1 selected
    g.ShiftHeld = false;
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
