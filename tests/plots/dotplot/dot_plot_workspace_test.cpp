// Dot plots and their statistics windows as children of the running main
// window: the statistics open in the workspace and go when their frame is
// closed, "Copy to clipboard" copies whichever of them is active, and
// however a plot is unloaded (its frame's close box, a direct unload by a
// tool or the sheet reader, the exit) its frame goes with it, deleted once.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include <map>

#include "app/WindowDisposal.h"
#include "app/MenuBar.h"
#include "output/Statistics.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/dotplot/DotPlotStatisticsPanel.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ScriptedDialogs.h"

namespace qv {
namespace {

// Where the program would be back in its top-level event loop.
void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    deleteDiscardedWidgets();
}

QMdiSubWindow* frameOf(QWidget* w) { return qobject_cast<QMdiSubWindow*>(w->parentWidget()); }

class DotPlotWorkspaceTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        test::MainWindowTest::SetUp();
        registerDotPlotKind();
        start();
        test::PutFile(1, test::MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{100, 900}, {600, 900}, {200, 100}},
                                        "tube.fcs"));
        g.LastLoadedFile = 1;
    }
    void TearDown() override {
        test::MainWindowTest::TearDown();
        flushDeletes();
        resetSharedState();
    }

    DotPlot& create() {
        const int id = main_->createFromMenu("DotPlot");
        auto* plot = dynamic_cast<DotPlot*>(windowAt(id));
        if (!plot) throw std::runtime_error("no dot plot was made");
        return *plot;
    }
    QList<QMdiSubWindow*> frames() const { return main_->workspace()->subWindowList(); }

    // Counts the deletions of `o` (the counts outlive the objects).
    void watch(QObject* o) {
        deaths[o] = 0;
        QObject::connect(o, &QObject::destroyed, [this, o] { ++deaths[o]; });
    }
    std::map<const QObject*, int> deaths;
};

TEST_F(DotPlotWorkspaceTest, StatisticsOpenInTheWorkspaceAndClosingTheirFrameTellsTheOwnerOnce) {
    DotPlot& plot = create();
    plot.AvaaTaiSuljeStatistics("open");
    Statistics* statistics = plot.statisticsPanel()->window();
    ASSERT_NE(statistics, nullptr);
    QMdiSubWindow* frame = frameOf(statistics);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->mdiArea(), main_->workspace());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frames().size(), 2);

    // The owner places the frame, in twips.
    plot.LiikutaStatistiikkaLaatikkoa("x", "1500");
    plot.LiikutaStatistiikkaLaatikkoa("y", "750");
    EXPECT_EQ(frame->pos(), QPoint(100, 50));
    EXPECT_EQ(statistics->Left(), 1500.0f);
    EXPECT_EQ(statistics->Top(), 750.0f);

    watch(statistics);
    watch(frame);
    frame->close();
    EXPECT_FALSE(plot.OnkoStatistiikkaKaytossa());
    EXPECT_FALSE(g.StatisticsRegistry[1].InUse);
    EXPECT_EQ(plot.state().caption(MenuStatistics), "Open statistics");
    flushDeletes();
    EXPECT_EQ(deaths[statistics], 1);
    EXPECT_EQ(deaths[frame], 1);
    EXPECT_EQ(frames().size(), 1);

    // Opened again: a new window in a new frame.
    plot.AvaaTaiSuljeStatistics("open");
    ASSERT_NE(plot.statisticsPanel()->window(), nullptr);
    EXPECT_EQ(frameOf(plot.statisticsPanel()->window())->mdiArea(), main_->workspace());
    EXPECT_EQ(frames().size(), 2);
}

TEST_F(DotPlotWorkspaceTest, StatisticsPopupIsTheMainWindowsMenuWithTheColumnTicks) {
    DotPlot& plot = create();
    plot.AvaaTaiSuljeStatistics("open");
    Statistics* statistics = plot.statisticsPanel()->window();
    ASSERT_NE(statistics, nullptr);
    ASSERT_TRUE(statistics->OnkoNakyvissa(3));

    test::ScriptedDialogs dlg;
    dlg.expectMenu([](QMenu& menu) {
        EXPECT_EQ(menu.objectName(), "StatMenu");
        EXPECT_TRUE(test::ScriptedDialogs::findMenuItem(menu, "XMean")->isChecked());
        EXPECT_FALSE(test::ScriptedDialogs::findMenuItem(menu, "File name")->isChecked());
        EXPECT_FALSE(test::ScriptedDialogs::findMenuItem(menu, "Copy to clipboard")->isCheckable());
        return test::ScriptedDialogs::findMenuItem(menu, "XMean");
    });
    const int before = autosaves();
    statistics->openPopup(QPoint(5, 5));
    dlg.finish();
    EXPECT_EQ(g.PopupOwner, plot.AnnaID());
    EXPECT_FALSE(statistics->OnkoNakyvissa(3));
    QCoreApplication::processEvents();
    EXPECT_EQ(autosaves(), before + 1);
}

TEST_F(DotPlotWorkspaceTest, CopyToClipboardCopiesTheActiveStatisticsAsTextUnderItsOwnersId) {
    DotPlot& first = create();
    DotPlot& second = create();
    ASSERT_EQ(second.AnnaID(), 2);
    second.AvaaTaiSuljeStatistics("open");
    Statistics* statistics = second.statisticsPanel()->window();
    ASSERT_NE(statistics, nullptr);
    QAction* copy = main_->mainMenu().CopyImages;
    QClipboard* clipboard = QGuiApplication::clipboard();

    main_->workspace()->setActiveSubWindow(frameOf(statistics));
    ASSERT_EQ(main_->workspace()->activeSubWindow(), frameOf(statistics));
    g.LastCopiedWindow = 0;
    clipboard->setText("old");
    copy->trigger();
    EXPECT_EQ(g.LastCopiedWindow, 2);
    const QStringList lines = clipboard->text().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "\tNumber\t% of vis\tX mean\tY mean\tX geomean\tY geomean");
    EXPECT_TRUE(lines[1].startsWith("Visible\t3\t100\t")) << lines[1].toStdString();
    EXPECT_TRUE(clipboard->image().isNull());

    // The plot itself active: its picture, under its own ID.
    main_->workspace()->setActiveSubWindow(frameOf(&first));
    ASSERT_EQ(main_->workspace()->activeSubWindow(), frameOf(&first));
    copy->trigger();
    EXPECT_EQ(g.LastCopiedWindow, 1);
    EXPECT_EQ(clipboard->image().size(), first.picture().size());
    EXPECT_TRUE(clipboard->text().isEmpty());
}

TEST_F(DotPlotWorkspaceTest, ClosingThePlotsFrameUnloadsItAndDeletesEverythingOnce) {
    DotPlot& plot = create();
    plot.AvaaTaiSuljeStatistics("open");
    QMdiSubWindow* frame = frameOf(&plot);
    Statistics* statistics = plot.statisticsPanel()->window();
    QMdiSubWindow* statisticsFrame = frameOf(statistics);
    for (QObject* o : std::initializer_list<QObject*>{&plot, frame, statistics, statisticsFrame}) watch(o);

    frame->close();
    EXPECT_EQ(windowAt(1), nullptr);
    EXPECT_FALSE(g.StatisticsRegistry[1].InUse);
    EXPECT_FALSE(g.FileTable[1].Loaded);  // no window shows it any more
    flushDeletes();
    for (const auto& [object, count] : deaths) EXPECT_EQ(count, 1);
    EXPECT_TRUE(frames().isEmpty());
}

TEST_F(DotPlotWorkspaceTest, UnloadCalledDirectlyTakesTheFrameAwayOnce) {
    DotPlot& plot = create();
    DotPlot& other = create();
    plot.AvaaTaiSuljeStatistics("open");
    QPointer<QMdiSubWindow> frame = frameOf(&plot);
    Statistics* statistics = plot.statisticsPanel()->window();
    QMdiSubWindow* statisticsFrame = frameOf(statistics);
    for (QObject* o : std::initializer_list<QObject*>{&plot, frame.data(), statistics, statisticsFrame}) watch(o);

    plot.UnloadWindow();
    EXPECT_FALSE(frame->isVisible());  // no empty frame left on screen
    EXPECT_EQ(windowAt(1), nullptr);
    EXPECT_FALSE(g.StatisticsRegistry[1].InUse);
    // A second unload (a tool after the sheet reader) changes nothing, and
    // the slot taken meanwhile stays with its new window.
    plot.UnloadWindow();
    ASSERT_EQ(main_->createFromMenu("DotPlot"), 1);
    PlotWindow* successor = windowAt(1);
    plot.UnloadWindow();
    EXPECT_EQ(windowAt(1), successor);

    flushDeletes();
    EXPECT_TRUE(frame.isNull());
    for (const auto& [object, count] : deaths) EXPECT_EQ(count, 1);
    EXPECT_EQ(windowAt(1), successor);
    EXPECT_EQ(frames().size(), 2);
    EXPECT_TRUE(frameOf(&other)->isVisible());
    EXPECT_TRUE(g.FileTable[1].Loaded);
}

TEST_F(DotPlotWorkspaceTest, ExitUnloadsEveryPlotAndItsFrameWithoutDeletingTwice) {
    DotPlot& first = create();
    DotPlot& second = create();
    second.AvaaTaiSuljeStatistics("open");
    Statistics* statistics = second.statisticsPanel()->window();
    for (QObject* o : std::initializer_list<QObject*>{&first, frameOf(&first), &second, frameOf(&second), statistics,
                                                      frameOf(statistics)})
        watch(o);

    test::ScriptedDialogs dlg;
    dlg.expectMessage("Do you really want to exit? All unsaved data will be lost.", "Exit the program",
                      MsgButtons::OkCancel, MsgAnswer::Ok);
    main_->mainMenu().FileExit->trigger();
    dlg.finish();
    ASSERT_TRUE(main_->exited());
    EXPECT_EQ(windowAt(1), nullptr);
    EXPECT_EQ(windowAt(2), nullptr);

    // The plots go first; a statistics window left to the end goes with its plot.
    flushDeletes();
    flushDeletes();
    for (const auto& [object, count] : deaths) EXPECT_EQ(count, 1);
    EXPECT_TRUE(frames().isEmpty());
    main_.reset();
}

}  // namespace
}  // namespace qv
