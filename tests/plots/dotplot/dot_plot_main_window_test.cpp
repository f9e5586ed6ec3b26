// A dot plot inside the running main window: made from the Create menu with
// the file loaded last, its pop-up menu and the parameter lists of its axis
// strips answered through the main window's menus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/PaaIkkuna.h"
#include "app/WindowDisposal.h"
#include "app/WindowRegistry.h"
#include "app/model/ProgramFolder.h"
#include "core/SharedState.h"
#include "output/Statistics.h"
#include "plots/dotplot/DotPlot.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

class DotPlotInMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        setProgramFolderOverride(folder.path());
        registerDotPlotKind();
        main = std::make_unique<PaaIkkuna>();
        main->setSheetWriter([this](const QString& mode) { writes << mode; });
        main->setSheetReader([](const QString&) {});
        main->MDIForm_Load();
        QApplication::setActiveWindow(main.get());
    }
    void TearDown() override {
        main.reset();
        deleteDiscardedWidgets();
        setProgramFolderOverride(QString());
        resetSharedState();
    }

    // Two dot plots of one file of `events` events in a 1000 x 800 main
    // window; the workspace frame of the first.
    QMdiSubWindow* twoPlotsOfOneFile(int events) {
        main->resize(1000, 800);
        test::PutFile(1, test::MakeUniformFile(events, 300, 400));
        g.LastLoadedFile = 1;
        EXPECT_EQ(main->createFromMenu("DotPlot"), 1);
        EXPECT_EQ(main->createFromMenu("DotPlot"), 2);
        PlotWindow* plot = windowAt(1);
        auto* frame = plot ? qobject_cast<QMdiSubWindow*>(plot->parentWidget()) : nullptr;
        return dynamic_cast<DotPlot*>(plot) ? frame : nullptr;
    }

    QTemporaryDir folder;
    std::unique_ptr<PaaIkkuna> main;
    QStringList writes;
};

TEST_F(DotPlotInMainWindowTest, PopupAndParameterListsGoThroughTheMainWindow) {
    test::PutFile(1, test::MakeFile({{"FSC-H", 1024}, {"SSC-H", 1024}, {"FL1-H", 10000, true}},
                                    {{100, 200, 300}, {400, 500, 600}}, "tube.fcs"));
    g.LastLoadedFile = 1;
    const int id = main->createFromMenu("DotPlot");
    ASSERT_EQ(id, 1);
    auto* plot = dynamic_cast<DotPlot*>(windowAt(id));
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->AnnaOtsikko(), "(1): Dot Plot - tube.fcs");
    EXPECT_EQ(plot->eventsDrawn(), 2);

    test::ScriptedDialogs dlg;
    // The window's own menu, below "Show populations".
    dlg.expectMenuChoice("Density plot");
    QTest::mouseClick(plot, Qt::RightButton, {}, QPoint(plot->width() / 2, plot->height() / 2));
    EXPECT_TRUE(plot->state().DensityOn);
    EXPECT_EQ(plot->state().caption(MenuDensity), "Dot plot");
    EXPECT_EQ(g.PopupOwner, 1);

    // The X strip below the plot: its parameter list.
    dlg.expectMenuChoice("FL1-H");
    QTest::mouseClick(plot, Qt::RightButton, {}, QPoint(plot->width() / 2, plot->height() - 9));
    EXPECT_EQ(plot->state().ChannelX, 3);

    // Dismissed: the axis stays.
    dlg.expectMenuDismiss();
    QTest::mouseClick(plot, Qt::RightButton, {}, QPoint(9, plot->height() / 2));
    EXPECT_EQ(plot->state().ChannelY, 2);
    dlg.finish();
}

// Some pixel of the picture differs from its corner (the axes at least).
bool holdsDrawing(const QImage& picture) {
    if (picture.isNull()) return false;
    const QRgb background = picture.pixel(0, 0);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != background) return true;
    return false;
}

// A change of a window's size, named for the failure messages.
struct SizeChange {
    const char* what;
    std::function<void()> act;
};

// Runs the event loop for a moment, as the program does between user actions.
void settle() {
    QEventLoop loop;
    QTimer::singleShot(30, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST_F(DotPlotInMainWindowTest, MaximisedRestoredAndTiledPlotsHoldAFullDrawnPicture) {
    QMdiSubWindow* frame = twoPlotsOfOneFile(5000);
    ASSERT_NE(frame, nullptr);
    auto* plot = dynamic_cast<DotPlot*>(windowAt(1));

    const SizeChange changes[] = {
        {"maximised", [&] { frame->showMaximized(); }},
        {"restored", [&] { frame->showNormal(); }},
        {"tiled", [&] { main->workspace()->tileSubWindows(); }},
        {"edge drag", [&] { frame->resize(frame->width() + 37, frame->height() - 11); }},
    };
    for (const auto& change : changes) {
        const QSize before = plot->size();
        change.act();
        QCoreApplication::processEvents();
        EXPECT_NE(plot->size(), before) << change.what;
        EXPECT_EQ(plot->picture().size(), plot->size()) << change.what;
        EXPECT_TRUE(holdsDrawing(plot->picture())) << change.what;
        settle();
        EXPECT_EQ(g.FullRedrawPending, 0) << change.what;
        EXPECT_EQ(plot->eventsDrawn(), 5000) << change.what << ": the full draw followed";
        EXPECT_TRUE(holdsDrawing(plot->picture())) << change.what;
    }
}

// A plot that draws from its own resize event refreshes its statistics
// picture, which renders the statistics grid; while the workspace is not on
// screen, that render lays out the whole main window and hands the plot the
// resize it is still handling. The plot draws once and the resize ends.
TEST_F(DotPlotInMainWindowTest, ResizingAPlotWithItsStatisticsOpenEndsWithOneDrawnPicture) {
    QMdiSubWindow* frame = twoPlotsOfOneFile(2000);
    ASSERT_NE(frame, nullptr);
    auto* plot = dynamic_cast<DotPlot*>(windowAt(1));
    plot->AvaaTaiSuljeStatistics("open");
    windowAt(2)->AvaaTaiSuljeStatistics("open");
    const SizeChange changes[] = {
        {"maximised", [&] { frame->showMaximized(); }},
        {"restored", [&] { frame->showNormal(); }},
        {"minimised", [&] { frame->showMinimized(); }},
        {"restored again", [&] { frame->showNormal(); }},
        {"tiled", [&] { main->workspace()->tileSubWindows(); }},
        {"hidden and resized", [&] {
             frame->hide();
             frame->resize(frame->width() + 23, frame->height() + 17);
             frame->show();
         }},
    };
    for (const auto& change : changes) {
        change.act();
        QCoreApplication::processEvents();
        settle();
        EXPECT_EQ(plot->picture().size(), plot->size()) << change.what;
        EXPECT_TRUE(holdsDrawing(plot->picture())) << change.what;
    }
}

// A statistics window opens inside the workspace's visible area, also when
// the workspace would place it beside the plots, past its right edge.
TEST_F(DotPlotInMainWindowTest, StatisticsWindowsOpenInsideTheVisibleWorkspace) {
    main->resize(760, 560);
    test::PutFile(1, test::MakeUniformFile(500, 300, 400));
    g.LastLoadedFile = 1;
    for (int id = 1; id <= 3; ++id) ASSERT_EQ(main->createFromMenu("DotPlot"), id);
    QCoreApplication::processEvents();
    const QRect visible(QPoint(0, 0), main->workspace()->viewport()->size());
    for (int id = 1; id <= 3; ++id) {
        windowAt(id)->AvaaTaiSuljeStatistics("open");
        QCoreApplication::processEvents();
        const QMdiSubWindow* frame = nullptr;
        for (QMdiSubWindow* sub : main->workspace()->subWindowList()) {
            auto* stats = qobject_cast<Statistics*>(sub->widget());
            if (stats && stats->windowTitle().startsWith(QStringLiteral("(%1) ").arg(id))) frame = sub;
        }
        ASSERT_NE(frame, nullptr) << "statistics of plot " << id;
        ASSERT_LE(frame->width(), visible.width());
        EXPECT_TRUE(visible.contains(frame->geometry())) << "statistics of plot " << id;
    }
}

TEST_F(DotPlotInMainWindowTest, NewPlotIsTheActiveWindowAfterCreateAndOpen) {
    const int created = main->createFromMenu("DotPlot");
    ASSERT_EQ(created, 1);
    EXPECT_EQ(g.ActiveWindowSlot, 1);

    // With no window selected, "Open FCS..." makes a plot for the file.
    test::FcsTestFile fcs;
    fcs.param("FSC-H").param("SSC-H").event({10, 20}).event({30, 40});
    const QString path = QDir(folder.path()).filePath(QStringLiteral("tube.fcs"));
    test::WriteFcsTestFile(path.toStdString(), fcs);
    DeselectAllWindows();
    test::ScriptedDialogs dlg;
    dlg.expectOpenFile(path);
    main->FileOpenFCS_Click();
    dlg.finish();
    ASSERT_NE(windowAt(2), nullptr);
    EXPECT_EQ(g.ActiveWindowSlot, 2);
    EXPECT_EQ(main->workspace()->currentSubWindow(), windowAt(2)->parentWidget());
    EXPECT_TRUE(g.WindowRegistry[2].Selected);
    EXPECT_FALSE(g.WindowRegistry[1].Selected);
}

// A click on a window's close box that arrives while the window's own gate
// release redraws every window (which runs pending events between windows)
// closes it at once, but the object lives on until the release handler has
// returned; it is deleted back in the top-level loop.
TEST_F(DotPlotInMainWindowTest, WindowClosedWhileItsGateReleaseRedrawsAllOutlivesTheHandler) {
    test::PutFile(1, test::MakeFile({{"FSC-H", 1024}, {"SSC-H", 1024}}, {{100, 200}, {400, 500}}, "tube.fcs"));
    g.LastLoadedFile = 1;
    for (int i = 1; i <= 3; ++i) ASSERT_EQ(main->createFromMenu("DotPlot"), i);
    test::PutPolygon(4, 1, 2, {{1000, 1000}, {9000, 1000}, {9000, 9000}}, "Lymph");

    for (int closing : {2, 3}) {
        auto* plot = dynamic_cast<DotPlot*>(windowAt(2));
        ASSERT_NE(plot, nullptr);
        QPointer<DotPlot> alive(plot);
        QPointer<QWidget> frame(plot->parentWidget());
        QPointer<QWidget> other(windowAt(closing)->parentWidget());
        // A label drag in progress in window 2.
        g.DragLabelPopulation = 4;
        plot->state().Dragging = true;
        bool closedDuringRedraw = false;
        QTimer::singleShot(0, other.data(), [&closedDuringRedraw, other] {
            closedDuringRedraw = true;
            other->close();
        });
        QTest::mouseRelease(plot, Qt::LeftButton, {}, QPoint(120, 130));
        EXPECT_TRUE(closedDuringRedraw) << "window " << closing;
        EXPECT_EQ(windowAt(closing), nullptr);
        EXPECT_TRUE(alive) << "window 2 was deleted under its own handler";
        EXPECT_EQ(g.DragLabelPopulation, 0);
        deleteDiscardedWidgets();
        EXPECT_FALSE(other) << "window " << closing;
        if (closing == 3) {
            EXPECT_TRUE(alive);
            EXPECT_EQ(windowAt(2), plot);
        }
        if (closing == 2) {
            // The same slot is taken by a new window, which the old one
            // must not be mistaken for.
            ASSERT_EQ(main->createFromMenu("DotPlot"), 2);
            ASSERT_FALSE(frame);
        }
    }
}

}  // namespace
}  // namespace qv
