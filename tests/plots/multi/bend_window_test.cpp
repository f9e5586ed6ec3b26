// A bending plot window on its own: drawing, the pop-up, the statistics and
// the mouse editing of axes and gates, offscreen.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>
#include <vector>

#include "app/model/PopulationRecompute.h"
#include "core/SharedState.h"
#include "output/Statistics.h"
#include "plots/multi/BendPlot.h"
#include "plots/multi/BendPlotStatisticsPanel.h"
#include "plots/multi/model/BendAxes.h"
#include "plots/multi/model/BendPopulationCheck.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/plots/multi/BendPlotTestWindows.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StubMainServices.h"

namespace qv {
namespace {

using test::MakeFile;
using test::MembershipColumn;
using test::PutFile;
using test::ScriptedDialogs;

// The main window as the window sees it: the chosen row, a redraw of every
// window, the pop-ups it asks for.
class BendServices final : public test::StubMainServices {
public:
    void PiirraKaikki() override {
        ++redraws;
        for (auto& r : g.WindowRegistry)
            if (r.InUse && r.Form) r.Form->Piirra();
    }
    int ValittuPopulaatio() const override { return chosen; }
    void TalletaNakyma(const QString& mode) override { autosaves += mode == "Autosave"; }
    void showWindowPopupWithDisabled(int owner, const QStringList& captions, const QPoint&,
                                     const QList<int>& disabledItems) override {
        ++windowPopups;
        popupOwner = owner;
        lastCaptions = captions;
        disabled = disabledItems;
    }
    void showChannelPopup(int axis, const QStringList& names, const QPoint&) override {
        g.AxisPopupAxis = static_cast<int16_t>(axis);
        lastNames = names;
        if (channelChoice >= 0) g.ChosenChannel = static_cast<int16_t>(channelChoice);
    }

    int chosen = 0, redraws = 0, autosaves = 0, windowPopups = 0, popupOwner = 0, channelChoice = -1;
    QStringList lastCaptions, lastNames;
    QList<int> disabled;
};

// The window is 267 x 267 pixels: plot space / 10000 * 267.
constexpr double Side = 267;
double Pixel(double plotSpace) { return plotSpace / 10000.0 * Side; }
double PlotSpace(double pixel) { return pixel / Side * 10000.0; }

class BendWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        BendPlot::DefaultBendPlotWidth = BendPlot::DefaultBendPlotHeight = 0;
        setMainServices(&services);
        SetWindowPopulationCheck([](PlotWindow& w, int slot) { w.CheckPopulation(slot); });
        // Range 10000: axis 1 moves an event by 0.3 * P1 right, axis 2 by
        // 0.4 * P2 up, from the root at (1000, 9000).
        PutFile(1, MakeFile({{"P1", 10000}, {"P2", 10000}, {"P3", 10000}, {"P4", 10000}},
                            {
                                {0, 0, 0, 0},         // (1000, 9000)
                                {5000, 0, 0, 0},      // (2500, 9000)
                                {10000, 0, 0, 0},     // (4000, 9000)
                                {5000, 5000, 0, 0},   // (2500, 7000)
                                {5000, 10000, 0, 0},  // (2500, 5000)
                                {0, 5000, 0, 0},      // (1000, 7000)
                            },
                            "six.fcs"));
    }
    void TearDown() override {
        for (auto& w : windows) w->close();
        windows.clear();
        setMainServices(nullptr);
        SetWindowPopulationCheck({});
        resetSharedState();
    }

    BendPlot& open(int id, int file = 1) {
        BendPlot& w = test::OpenBendPlot(windows, id);
        w.show();
        g.WindowRegistry[static_cast<size_t>(id)].FileIndex = static_cast<int16_t>(file);
        w.LatauksenJalkeen();
        w.Piirra();
        return w;
    }

    void press(BendPlot& w, QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(&w, b, {}, p); }
    void release(BendPlot& w, QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(&w, b, {}, p); }
    void click(BendPlot& w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        press(w, p, b);
        release(w, p, b);
    }
    void move(BendPlot& w, QPoint p) {
        QMouseEvent ev(QEvent::MouseMove, QPointF(p), w.mapToGlobal(QPointF(p)), Qt::NoButton, Qt::LeftButton,
                       Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &ev);
    }
    void drag(BendPlot& w, QPoint from, QPoint to) {
        press(w, from);
        move(w, QPoint((from.x() + to.x()) / 2, (from.y() + to.y()) / 2));
        move(w, to);
        release(w, to);
    }
    // The gate around events 2 and 4: pixels 54..80 by 161..253, closed by
    // a right click.
    void drawSquare(BendPlot& w, int slot) {
        services.chosen = slot;
        g.RegionDrawMode = true;
        click(w, {54, 161});
        click(w, {80, 161});
        click(w, {80, 253});
        click(w, {54, 253});
        click(w, {10, 10}, Qt::RightButton);
    }

    BendServices services;
    std::vector<std::unique_ptr<BendPlot>> windows;
};

TEST_F(BendWindowTest, NewWindowDrawsEveryEventAndItsChain) {
    BendPlot& w = open(5);
    EXPECT_EQ(w.size(), QSize(267, 267));
    EXPECT_EQ(w.windowTitle(), "[S] (5): Bending Plot - six.fcs");
    EXPECT_EQ(w.eventsDrawn(), 6);
    const QImage& pic = w.picture();
    // Event 3 at the end of axis 1, white on black; the root handle's outline.
    EXPECT_EQ(pic.pixel(qRound(Pixel(4000)), qRound(Pixel(9000))), qRgb(255, 255, 255));
    EXPECT_EQ(pic.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_FALSE(w.state().FastDraw);
    EXPECT_EQ(w.AnnaKanava("x"), "");

    // Distance colours: event 3 went 3000 of the chain's 3000 + 4000 +
    // 3162 + 3162 units.
    w.MenuValintaReaktio(BendMenuDistanceColours);
    const double total = 3000 + 4000 + 2 * std::sqrt(3000.0 * 3000 + 1000 * 1000);
    const Rgb c = BendRampColour(static_cast<int>(std::floor(3000 / total * 765)));
    EXPECT_EQ(w.picture().pixel(qRound(Pixel(4000)), qRound(Pixel(9000))), qRgb(c.Red, c.Green, c.Blue));
    EXPECT_EQ(w.state().caption(BendMenuDistanceColours), "Don't use distance colors");
}

TEST_F(BendWindowTest, FastDrawStepsAndTheQuickPassAfterAResize) {
    g.FastDrawLimit = 1000;
    std::vector<std::vector<float>> events(5000, std::vector<float>{100, 200});
    PutFile(2, MakeFile({{"A", 1024}, {"B", 1024}}, events, "many.fcs"));
    BendPlot& w = open(5, 2);
    EXPECT_TRUE(w.state().FastDraw);
    EXPECT_EQ(w.state().EventStep, 6);
    EXPECT_EQ(w.eventsDrawn(), 834);
    EXPECT_EQ(w.state().caption(BendMenuFastDraw), "Full draw mode");
    // Axes 3 and 4 name parameters the file lacks: they show parameter 1.
    EXPECT_EQ(w.state().Axes[3].Parameter, 1);

    const int saves = services.autosaves;
    g.FullRedrawPending = 5;
    w.Piirra();
    EXPECT_EQ(w.eventsDrawn(), 1000);
    EXPECT_EQ(w.state().EventStep, 6);
    EXPECT_EQ(services.autosaves, saves);  // no autosave in a quick pass

    w.AsetaPiirtoMoodi("fast");  // already fast: nothing
    EXPECT_EQ(w.state().EventStep, 6);
    w.MenuValintaReaktio(BendMenuFastDraw);
    EXPECT_FALSE(w.state().FastDraw);
    EXPECT_EQ(w.state().EventStep, 1);
}

TEST_F(BendWindowTest, PopupEnableRulesAndAddingAxes) {
    BendPlot& w = open(5);
    // Axis 1 selected (the default): it has a follower and cannot go.
    click(w, {200, 50}, Qt::RightButton);
    ASSERT_EQ(services.windowPopups, 1);
    EXPECT_EQ(services.popupOwner, 5);
    EXPECT_EQ(services.lastCaptions.size(), 18);
    EXPECT_EQ(services.lastCaptions[1], "Add new axis");
    EXPECT_EQ(services.disabled, (QList<int>{2, 3}));

    w.state().SelectedAxis = 3;
    click(w, {200, 50}, Qt::RightButton);
    EXPECT_EQ(services.disabled, (QList<int>{}));
    w.MenuValintaReaktio(BendMenuAddAxis);
    EXPECT_TRUE(w.state().Axes[5].Exists);
    EXPECT_EQ(w.state().Axes[5].X, 8000);
    EXPECT_EQ(w.state().Axes[5].Y, 9000);
    EXPECT_EQ(w.state().SelectedAxis, 3);  // the new axis is not selected
    click(w, {200, 50}, Qt::RightButton);
    EXPECT_EQ(services.disabled, (QList<int>{2, 3}));

    // With every entry in use the maximum message comes and nothing changes.
    for (int a = 1; a <= BendLastAxis; ++a) w.state().Axes[static_cast<size_t>(a)].Exists = true;
    ScriptedDialogs dlg;
    dlg.expectMessage("There is already maximum number of axes.", "Quorvane", MsgButtons::Ok, MsgAnswer::Ok);
    w.MenuValintaReaktio(BendMenuAddAxis);
}

TEST_F(BendWindowTest, ToggleCaptionsAndASaveThatFails) {
    BendPlot& w = open(5);
    w.MenuValintaReaktio(BendMenuRegionLines);
    EXPECT_FALSE(w.state().RegionLinesShown);
    EXPECT_EQ(w.state().caption(BendMenuRegionLines), "Show region lines");
    w.MenuValintaReaktio(BendMenuMulticolour);
    EXPECT_EQ(w.state().caption(BendMenuMulticolour), "Enable multicoloring");
    w.MenuValintaReaktio(BendMenuDotSize);
    EXPECT_EQ(w.state().DotSize, 2);
    EXPECT_EQ(w.state().caption(BendMenuDotSize), "Small dots");
    w.MenuValintaReaktio(BendMenuInvertBackground);
    EXPECT_EQ(w.picture().pixel(5, 5), qRgb(255, 255, 255));

    QTemporaryDir dir;
    const QString path = dir.path() + "/missing/plot.bmp";
    ScriptedDialogs dlg;
    dlg.expectSaveFile(path, "Save the image");
    dlg.expectMessage("The file could not be written:\n" + path + "\nNo such file or directory", "Save error", MsgAnswer::Ok);
    w.MenuValintaReaktio(BendMenuSaveBmp);
    dlg.finish();

    dlg.expectSaveFile(dir.path() + "/plot.bmp", "Save the image");
    w.MenuValintaReaktio(BendMenuSaveBmp);
    EXPECT_EQ(QImage(dir.path() + "/plot.bmp").size(), QSize(267, 267));
}

TEST_F(BendWindowTest, StatisticsThroughTheStatisticsWindow) {
    g.FastDrawLimit = 3;  // 6 events: step Int(6 / 3) + 1 = 3, events 1 and 4
    BendPlot& w = open(5);
    drawSquare(w, 2);     // events 2 and 4
    w.AvaaTaiSuljeStatistics("open");
    w.AvaaTaiSuljeStatistics("open");
    ASSERT_TRUE(w.OnkoStatistiikkaKaytossa());
    EXPECT_EQ(w.state().caption(BendMenuStatistics), "Close statistics");
    Statistics* s = w.statisticsPanel()->window();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(w.AnnaKokoStatistiikka("monirivinen"), "FAST DRAW\tNumber\t% of vis\nVisible\t2\t100\nBending-2\t1\t50");
    EXPECT_EQ(w.AnnaStatistiikka("2", "number"), 1);
    EXPECT_EQ(w.AnnaStatistiikka("0", "vis"), 100);
    EXPECT_THROW(w.AnnaStatistiikka("40", "number"), WindowOperationError);
    EXPECT_EQ(w.SaveInfo()[0], "49");

    w.AvaaTaiSuljeStatistics("close");
    EXPECT_FALSE(w.OnkoStatistiikkaKaytossa());
    EXPECT_EQ(w.SaveInfo()[0], "41");
    EXPECT_THROW(w.AnnaKokoStatistiikka("monirivinen"), WindowOperationError);
}

TEST_F(BendWindowTest, DrawingAGateFillsTheChosenRow) {
    BendPlot& w = open(5);
    drawSquare(w, 2);
    const PopulationRecord& p = g.PopulationTable[2];
    EXPECT_TRUE(p.InUse);
    EXPECT_EQ(p.Name, "Bending-2");
    EXPECT_EQ(p.Type, "BendPlot");
    EXPECT_EQ(p.Created, 5);
    ASSERT_EQ(p.Corners, 4);
    EXPECT_FLOAT_EQ(p.CornerX[3], static_cast<float>(PlotSpace(80)));
    EXPECT_FLOAT_EQ(p.CornerY[3], static_cast<float>(PlotSpace(253)));
    EXPECT_EQ(MembershipColumn(1, 2), (std::vector<int>{0, 1, 0, 1, 0, 0}));
    EXPECT_FALSE(g.RegionDrawMode);
    EXPECT_FALSE(g.GateInProgress);

    // Closed by a left click within 3 pixels of corner 1 (the click adds no corner).
    services.chosen = 3;
    g.RegionDrawMode = true;
    click(w, {54, 161});
    click(w, {80, 161});
    click(w, {80, 253});
    click(w, {56, 159});
    EXPECT_EQ(g.PopulationTable[3].Corners, 3);
    EXPECT_FALSE(g.RegionDrawMode);
}

TEST_F(BendWindowTest, PolygonsThatHaveNowhereToGo) {
    BendPlot& w = open(5);
    // No row chosen: the polygon is dropped and drawing mode ends.
    services.chosen = 0;
    g.RegionDrawMode = true;
    click(w, {54, 161});
    click(w, {80, 161});
    click(w, {80, 253});
    click(w, {10, 10}, Qt::RightButton);
    EXPECT_FALSE(g.RegionDrawMode);
    EXPECT_FALSE(g.GateInProgress);
    for (int k = 1; k <= 16; ++k) EXPECT_FALSE(g.PopulationTable[static_cast<size_t>(k)].InUse);

    // Clicks past corner 50 are ignored.
    services.chosen = 4;
    g.RegionDrawMode = true;
    for (int i = 0; i < 60; ++i) click(w, {60 + 3 * i, 100 + (i % 2) * 20});
    EXPECT_EQ(g.DraftRegion.Corners, 50);
    click(w, {10, 10}, Qt::RightButton);
    EXPECT_EQ(g.PopulationTable[4].Corners, 50);

    // A window closed while its polygon is half drawn drops it.
    g.RegionDrawMode = true;
    click(w, {54, 161});
    click(w, {80, 161});
    ASSERT_TRUE(g.GateInProgress);
    w.UnloadWindow();
    EXPECT_FALSE(g.GateInProgress);
}

TEST_F(BendWindowTest, ReshapeMoveAndRelabelAGate) {
    BendPlot& w = open(5);
    drawSquare(w, 2);
    // Corner 3 dragged right: event 3 falls inside.
    const int redraws = services.redraws;
    drag(w, {80, 253}, {120, 253});
    EXPECT_FLOAT_EQ(g.PopulationTable[2].CornerX[3], static_cast<float>(PlotSpace(120)));
    EXPECT_EQ(MembershipColumn(1, 2), (std::vector<int>{0, 1, 1, 1, 0, 0}));
    EXPECT_EQ(services.redraws, redraws + 1);
    EXPECT_FALSE(w.state().GateEditActive);
    EXPECT_EQ(g.DragCornerPopulation, 0);

    // The whole gate moved 60 pixels up: events 4 and 5 inside.
    const float y1 = g.PopulationTable[2].CornerY[1];
    drag(w, {65, 200}, {65, 140});
    EXPECT_NEAR(g.PopulationTable[2].CornerY[1], y1 - PlotSpace(60), 1e-2);
    EXPECT_EQ(MembershipColumn(1, 2), (std::vector<int>{0, 0, 0, 1, 1, 0}));
    EXPECT_EQ(g.DragMovePopulation, 0);

    // The label dropped with its top-left at the release point.
    PopulationRecord& p = g.PopulationTable[2];
    const double half = 9 * 7 / 2.0;
    const QPoint grab(qRound(Pixel(p.LabelBaseX + p.TitleX) - half), qRound(Pixel(p.LabelBaseY + p.TitleY) - 4));
    drag(w, grab, {150, 30});
    EXPECT_NEAR(Pixel(p.LabelBaseX + p.TitleX) - half, 150, 0.1);
    EXPECT_NEAR(Pixel(p.LabelBaseY + p.TitleY) - 4, 30, 0.1);
    EXPECT_EQ(MembershipColumn(1, 2), (std::vector<int>{0, 0, 0, 1, 1, 0}));
}

TEST_F(BendWindowTest, DraggingAxisEndsRedrawsASampleAndRecomputesAtTheRelease) {
    g.FastDrawLimit = 1000;
    std::vector<std::vector<float>> events(2500, std::vector<float>{10000, 0, 0, 0});
    events[0] = {5000, 0, 0, 0};
    PutFile(2, MakeFile({{"P1", 10000}, {"P2", 10000}, {"P3", 10000}, {"P4", 10000}}, events, "big.fcs"));
    BendPlot& w = open(5, 2);
    ASSERT_EQ(w.state().EventStep, 3);
    drawSquare(w, 2);  // event 1 at (2500, 9000) is inside
    ASSERT_EQ(g.FileTable[2].Membership(1, 2), 1);

    const int saves = services.autosaves;
    press(w, {qRound(Pixel(4000)), qRound(Pixel(9000))});  // the end of axis 1
    EXPECT_EQ(w.state().DraggedAxis, 1);
    EXPECT_EQ(w.state().SelectedAxis, 1);
    EXPECT_EQ(w.state().EventStep, 2);
    move(w, {200, 240});
    EXPECT_EQ(w.state().Axes[1].X, 7491);
    EXPECT_EQ(w.eventsDrawn(), 1250);
    EXPECT_EQ(services.autosaves, saves);                  // nothing saved while dragging
    EXPECT_EQ(g.FileTable[2].Membership(1, 2), 1);        // nor recomputed
    release(w, {240, 240});
    EXPECT_EQ(w.state().Axes[1].X, 8989);
    EXPECT_EQ(w.state().DraggedAxis, 0);
    EXPECT_EQ(w.state().EventStep, 3);                     // the fast-draw step comes back
    // Event 1 now sits at 1000 + 0.5 * 7989: out of the gate.
    EXPECT_EQ(g.FileTable[2].Membership(1, 2), 0);

    // The root drags the whole chain.
    drag(w, {qRound(Pixel(1000)), qRound(Pixel(9000))}, {40, 240});
    EXPECT_EQ(w.state().Axes[BendRootAxis].X, 1498);
    EXPECT_EQ(w.state().SelectedAxis, 100);

    // A left click on nothing drops the selection.
    click(w, {250, 20});
    EXPECT_EQ(w.state().SelectedAxis, 0);
}

TEST_F(BendWindowTest, ChoosingAnAxisParameter) {
    BendPlot& w = open(5);
    services.channelChoice = 2;
    click(w, {70, 243}, Qt::RightButton);
    EXPECT_EQ(g.AxisPopupAxis, 1);
    EXPECT_EQ(services.lastNames, (QStringList{"P1", "P2", "P3", "P4"}));
    EXPECT_EQ(w.state().Axes[1].Parameter, 3);
    EXPECT_EQ(services.windowPopups, 0);

    // Dismissed: nothing changes, and the last choice is kept.
    services.channelChoice = -1;
    click(w, {70, 243}, Qt::RightButton);
    EXPECT_EQ(w.state().Axes[1].Parameter, 3);
    EXPECT_EQ(g.ChosenChannel, 2);

    // Without a file there is no list.
    g.WindowRegistry[5].FileIndex = 0;
    services.lastNames.clear();
    click(w, {70, 243}, Qt::RightButton);
    EXPECT_TRUE(services.lastNames.isEmpty());
}

TEST_F(BendWindowTest, AGateIsPlacedByTheAxesOfTheWindowThatDrewIt) {
    BendPlot& a = open(5);
    BendPlot& b = open(6);
    // Window 6's chain starts higher up: its events lie 2000 units above.
    b.state().Axes[BendRootAxis].Y = 7000;
    drawSquare(a, 2);
    const std::vector<int> drawnHere = MembershipColumn(1, 2);
    ASSERT_EQ(drawnHere, (std::vector<int>{0, 1, 0, 1, 0, 0}));
    // Window 6 draws the gate, and recomputes it with window 5's axes.
    b.CheckPopulation(2);
    EXPECT_EQ(MembershipColumn(1, 2), drawnHere);
    b.LatauksenJalkeen();
    EXPECT_EQ(MembershipColumn(1, 2), drawnHere);
    // A corner dragged in window 6 is recomputed through window 5.
    drag(b, {80, 253}, {120, 253});
    EXPECT_EQ(MembershipColumn(1, 2), (std::vector<int>{0, 1, 1, 1, 0, 0}));

    // With "Show only regions created here" window 6 neither draws nor grabs it.
    b.MenuValintaReaktio(BendMenuCreatedHere);
    drag(b, {120, 253}, {140, 253});
    EXPECT_FLOAT_EQ(g.PopulationTable[2].CornerX[3], static_cast<float>(PlotSpace(120)));

    // Its creator closed, the gate keeps its members.
    a.UnloadWindow();
    g.PopulationTable[2].CornerX[3] = 9999;
    b.CheckPopulation(2);
    EXPECT_EQ(MembershipColumn(1, 2), (std::vector<int>{0, 1, 1, 1, 0, 0}));
}

}  // namespace
}  // namespace qv
