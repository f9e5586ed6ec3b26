// Gates drawn and edited with the mouse in a dot plot: "Create" in the
// panel, corners clicked on a plot of events at known places, the polygon
// closed into the chosen row, its membership in two loaded files, and the
// drags of a corner, a whole gate, a label and the quadrant cross.
#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "app/PopulationPanel.h"
#include "app/PopulationPanelActions.h"
#include "app/model/PopulationRecompute.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/plots/dotplot/DotPlotTestWindows.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StubMainServices.h"

namespace qv {
namespace {

using test::MakeFile;
using test::MembershipColumn;
using test::PutFile;

// The main window as the gate code sees it: the panel's chosen row, and a
// redraw of every window that counts itself.
class GatingServices final : public test::StubMainServices {
public:
    void PiirraKaikki() override {
        ++redraws;
        const QCursor* cursor = QGuiApplication::overrideCursor();
        redrawCursors.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
        for (auto& r : g.WindowRegistry)
            if (r.InUse && r.Form) r.Form->Piirra();
    }
    int ValittuPopulaatio() const override { return panel ? panel->ValittuPopulaatio() : chosen; }

    PopulationPanel* panel = nullptr;
    int chosen = 0;
    int redraws = 0;
    std::vector<Qt::CursorShape> redrawCursors;  // the pointer each redraw saw
};

// The window is 267 x 267 pixels with a margin of 18: plotting area 231.
constexpr double M = 18, Plot = 231;
float PlotX(double x) { return static_cast<float>((x - M) / Plot * 10000.0); }

class DotPlotGating : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        setMainServices(&services);
        // File 1: four parameters of range 10000, so an event's FL1 value is
        // its plot-space x and 10000 - FL2 its plot-space y.
        PutFile(1, MakeFile({{"FSC", 10000}, {"SSC", 10000}, {"FL1", 10000}, {"FL2", 10000}},
                            {
                                {0, 0, 3000, 7000},  // (3000, 3000)
                                {0, 0, 8000, 7000},  // (8000, 3000)
                                {0, 0, 3000, 2000},  // (3000, 8000)
                                {0, 0, 990, 7000},   // (990, 3000)
                                {0, 0, 1000, 7000},  // (1000, 3000)
                                {0, 0, 7000, 5000},  // (7000, 5000)
                            },
                            "four.fcs"));
        // File 2 lacks FL1 and FL2.
        PutFile(2, MakeFile({{"FSC", 10000}, {"SSC", 10000}}, {{3000, 7000}, {5000, 5000}}, "two.fcs"));
        g.FileTable[2].FileKey = 4712;

        window = std::make_unique<DotPlot>();
        test::RegisterDotPlot(*window, 5);
        window->show();
        g.WindowRegistry[5].FileIndex = 1;
        window->state().ChannelX = 3;
        window->state().ChannelY = 4;
        window->LatauksenJalkeen();
        window->Piirra();
        ASSERT_EQ(window->picture().size(), QSize(267, 267));
    }
    void TearDown() override {
        window->close();
        window.reset();
        setMainServices(nullptr);
        SetWindowPopulationCheck({});
        resetSharedState();
    }

    void press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(window.get(), b, {}, p); }
    void release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(window.get(), b, {}, p); }
    void click(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        press(p, b);
        release(p, b);
    }
    void move(QPoint p) {
        QMouseEvent ev(QEvent::MouseMove, QPointF(p), window->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::LeftButton,
                       Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &ev);
    }
    void drag(QPoint from, QPoint to) {
        press(from);
        move(QPoint((from.x() + to.x()) / 2, (from.y() + to.y()) / 2));
        move(to);
        release(to);
    }
    // The square of pixels 41..157 on both axes, closed by a click near corner 1.
    void drawSquare() {
        click({41, 41});
        click({157, 41});
        click({157, 157});
        click({41, 157});
        click({42, 40});  // within 3 pixels of corner 1
    }

    GatingServices services;
    std::unique_ptr<DotPlot> window;
};

TEST_F(DotPlotGating, CreateThenClickedCornersMakeAGateInBothFiles) {
    PopulationPanel panel;
    PopulationPanelActions actions(panel);
    services.panel = &panel;
    panel.choosePopulation(3);
    test::ScriptedDialogs dlg;  // no question for a free row
    QTest::mouseClick(panel.LuoUusiRegion(), Qt::LeftButton);
    ASSERT_TRUE(g.RegionDrawMode);

    drawSquare();
    EXPECT_FALSE(g.RegionDrawMode);
    EXPECT_FALSE(g.GateInProgress);
    const PopulationRecord& p = g.PopulationTable[3];
    EXPECT_TRUE(p.InUse);
    EXPECT_EQ(p.Name, "Poly-3");
    EXPECT_EQ(p.Type, "Polygon");
    EXPECT_EQ(p.Created, 5);
    EXPECT_EQ(p.AxisX, 3);
    EXPECT_EQ(p.AxisY, 4);
    EXPECT_EQ(p.TitleX, 0);
    EXPECT_FALSE(p.Transparent);
    ASSERT_EQ(p.Corners, 4) << "the closing click adds no corner";
    const double xs[] = {41, 157, 157, 41}, ys[] = {41, 41, 157, 157};
    for (int j = 1; j <= 4; ++j) {
        EXPECT_FLOAT_EQ(p.CornerX[static_cast<size_t>(j)], PlotX(xs[j - 1])) << j;
        EXPECT_FLOAT_EQ(p.CornerY[static_cast<size_t>(j)], PlotX(ys[j - 1])) << j;
    }
    // The square spans plot space 996..6017 on both axes.
    EXPECT_EQ(MembershipColumn(1, 3), (std::vector<int>{1, 0, 0, 0, 1, 0}));
    EXPECT_EQ(MembershipColumn(2, 3), (std::vector<int>{0, 0})) << "the second file lacks the gate's parameters";
    EXPECT_EQ(services.redraws, 1);
    EXPECT_EQ(services.redrawCursors, (std::vector<Qt::CursorShape>{Qt::WaitCursor}))
        << "the hourglass lasts until every window is redrawn";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "and is gone afterwards";

    // A right click while merely armed ends drawing mode without the hourglass.
    g.RegionDrawMode = true;
    click({100, 100}, Qt::RightButton);
    EXPECT_FALSE(g.RegionDrawMode);
    EXPECT_EQ(services.redrawCursors.back(), Qt::ArrowCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(DotPlotGating, ClosingFollowsTheStrictToleranceAndTheCornerLimit) {
    services.chosen = 2;
    g.RegionDrawMode = true;
    click({41, 41});
    click({42, 42});  // the second click adds a corner even on top of corner 1
    click({157, 41});
    click({44, 41});  // exactly 3 pixels away: a fourth corner
    EXPECT_TRUE(g.GateInProgress);
    EXPECT_EQ(g.DraftRegion.Corners, 4);
    click({100, 200}, Qt::RightButton);
    EXPECT_EQ(g.PopulationTable[2].Corners, 4);
    EXPECT_FALSE(g.RegionDrawMode);

    // A right click closes a polygon of one corner too.
    g.RegionDrawMode = true;
    services.chosen = 4;
    click({60, 60});
    click({70, 70}, Qt::RightButton);
    EXPECT_EQ(g.PopulationTable[4].Corners, 1);

    // Clicks beyond the 50th corner are ignored.
    g.RegionDrawMode = true;
    services.chosen = 6;
    for (int k = 0; k < 55; ++k) click({30 + 4 * k, 30 + (k % 2) * 100});
    EXPECT_EQ(g.DraftRegion.Corners, 50);
    click({30, 30}, Qt::RightButton);
    EXPECT_EQ(g.PopulationTable[6].Corners, 50);
    for (int j = 1; j <= 50; ++j) EXPECT_TRUE(std::isfinite(g.PopulationTable[6].CornerX[static_cast<size_t>(j)]));
}

TEST_F(DotPlotGating, ArmedClickNearAnOldFirstCornerStartsANewPolygon) {
    services.chosen = 1;
    g.RegionDrawMode = true;
    drawSquare();
    ASSERT_TRUE(g.PopulationTable[1].InUse);
    // Armed again; the last polygon's first corner is still in the draft.
    services.chosen = 2;
    g.RegionDrawMode = true;
    click({42, 41});
    EXPECT_TRUE(g.RegionDrawMode) << "no polygon was being drawn, so nothing closes";
    EXPECT_TRUE(g.GateInProgress);
    EXPECT_EQ(g.DraftRegion.Corners, 1);
    EXPECT_FALSE(g.PopulationTable[2].InUse);
}

TEST_F(DotPlotGating, NoChosenRowDiscardsThePolygon) {
    services.chosen = 0;
    g.RegionDrawMode = true;
    drawSquare();
    EXPECT_FALSE(g.RegionDrawMode);
    EXPECT_FALSE(g.GateInProgress);
    for (int k = 0; k <= g.MaxPopulations; ++k) EXPECT_FALSE(g.PopulationTable[static_cast<size_t>(k)].InUse);
}

TEST_F(DotPlotGating, ClosingTheWindowOfAHalfDrawnPolygonDiscardsIt) {
    services.chosen = 1;
    g.RegionDrawMode = true;
    click({41, 41});
    click({157, 41});
    ASSERT_TRUE(g.GateInProgress);
    window->UnloadWindow();
    EXPECT_FALSE(g.GateInProgress) << "later clicks in other windows would be ignored for good";
    EXPECT_FALSE(g.RegionDrawMode);
    EXPECT_FALSE(g.PopulationTable[1].InUse);
}

// Esc, or "Create" pressed again, abandons a half-drawn polygon: no gate,
// no drawing mode, no rubber band, and "Create" no longer down.
TEST_F(DotPlotGating, EscOrASecondCreateAbandonsAHalfDrawnPolygon) {
    PopulationPanel panel;
    PopulationPanelActions actions(panel);
    services.panel = &panel;
    struct Way {
        const char* what;
        std::function<void()> abandon;
    };
    const Way ways[] = {
        {"Esc", [&] { QTest::keyClick(window.get(), Qt::Key_Escape); }},
        {"a second Create", [&] { QTest::mouseClick(panel.LuoUusiRegion(), Qt::LeftButton); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        panel.choosePopulation(2);
        test::ScriptedDialogs dlg;  // no question for a free row
        QTest::mouseClick(panel.LuoUusiRegion(), Qt::LeftButton);
        ASSERT_TRUE(panel.LuoUusiRegion()->isChecked());
        click({41, 41});
        click({157, 41});
        move({157, 157});
        const QPoint onBand(100, 41);
        ASSERT_NE(window->grab().toImage().pixel(onBand), window->picture().pixel(onBand)) << "the rubber band shows";

        way.abandon();
        EXPECT_FALSE(g.RegionDrawMode);
        EXPECT_FALSE(g.GateInProgress);
        EXPECT_FALSE(panel.LuoUusiRegion()->isChecked());
        EXPECT_EQ(window->grab().toImage().pixel(onBand), window->picture().pixel(onBand)) << "the band is gone";
        EXPECT_FALSE(g.PopulationTable[2].InUse) << "the row is as it was";

        // The clicks that follow edit nothing and start nothing.
        click({60, 60});
        click({60, 60}, Qt::RightButton);
        EXPECT_FALSE(g.GateInProgress);
        EXPECT_FALSE(g.PopulationTable[2].InUse);
        EXPECT_EQ(services.redraws, 0);
    }
}

// A gate drawn again into a row in use keeps the name the user gave it, so
// the definitions that name it stay; a new row still gets "Poly-k".
TEST_F(DotPlotGating, AGateRedrawnIntoARenamedRowKeepsItsNameAndDefinitions) {
    services.chosen = 3;
    g.RegionDrawMode = true;
    drawSquare();
    g.PopulationTable[3].Name = "Live";
    g.PopulationTable[17].InUse = true;
    g.PopulationTable[17].Name = "not live";

    // Redrawn over the upper right: events (8000, 3000) and (7000, 5000).
    g.RegionDrawMode = true;
    click({170, 30});
    click({250, 30});
    click({250, 150});
    click({170, 150});
    click({0, 0}, Qt::RightButton);
    const PopulationRecord& p = g.PopulationTable[3];
    EXPECT_EQ(p.Name, "Live");
    EXPECT_EQ(p.Corners, 4);
    EXPECT_EQ(MembershipColumn(1, 3), (std::vector<int>{0, 1, 0, 0, 0, 1}));
    EXPECT_TRUE(g.PopulationTable[17].InUse) << "the definition naming it survives";
    EXPECT_EQ(MembershipColumn(1, 17), (std::vector<int>{1, 0, 1, 1, 1, 0}));

    services.chosen = 4;
    g.RegionDrawMode = true;
    drawSquare();
    EXPECT_EQ(g.PopulationTable[4].Name, "Poly-4");
}

TEST_F(DotPlotGating, CornerAndWholeGateDragsChangeMembership) {
    services.chosen = 3;
    g.RegionDrawMode = true;
    drawSquare();
    g.PopulationTable[17].InUse = true;
    g.PopulationTable[17].Name = "not POLY-3";
    ASSERT_EQ(MembershipColumn(1, 3), (std::vector<int>{1, 0, 0, 0, 1, 0}));

    // Corner 3 to the right: the event at (7000, 5000) comes inside.
    const int redraws = services.redraws;
    drag({157, 157}, {240, 157});
    EXPECT_FLOAT_EQ(g.PopulationTable[3].CornerX[3], PlotX(240));
    EXPECT_FLOAT_EQ(g.PopulationTable[3].CornerY[3], PlotX(157));
    EXPECT_EQ(g.DragCornerPopulation, 0);
    EXPECT_FALSE(window->state().Dragging);
    EXPECT_EQ(MembershipColumn(1, 3), (std::vector<int>{1, 0, 0, 0, 1, 1}));
    EXPECT_EQ(MembershipColumn(1, 17), (std::vector<int>{0, 1, 1, 1, 0, 0})) << "definitions follow the gate";
    EXPECT_EQ(services.redraws, redraws + 1);

    // The whole gate 30 pixels to the right: the event at x 1000 falls out.
    drag({50, 60}, {80, 60});
    EXPECT_EQ(g.DragMovePopulation, 0);
    EXPECT_NEAR(g.PopulationTable[3].CornerX[1], PlotX(71), 0.01);
    EXPECT_NEAR(g.PopulationTable[3].CornerY[1], PlotX(41), 0.01);
    EXPECT_EQ(MembershipColumn(1, 3), (std::vector<int>{1, 1, 0, 0, 0, 1}));
    EXPECT_EQ(MembershipColumn(2, 3), (std::vector<int>{0, 0}));
    EXPECT_EQ(services.redraws, redraws + 2);
}

TEST_F(DotPlotGating, ADragRecomputesNothingUntilRelease) {
    services.chosen = 3;
    g.RegionDrawMode = true;
    drawSquare();
    press({157, 157});
    EXPECT_EQ(g.DragCornerPopulation, 3);
    EXPECT_EQ(g.DragCornerIndex, 3);
    EXPECT_TRUE(window->state().Dragging);
    const std::vector<int> before = MembershipColumn(1, 3);
    const float corner = g.PopulationTable[3].CornerX[3];
    move({240, 157});
    EXPECT_EQ(MembershipColumn(1, 3), before);
    EXPECT_EQ(g.PopulationTable[3].CornerX[3], corner) << "the record changes at the release";
    EXPECT_EQ(g.DraftRegion.CornerX[3], 240.0f);
    release({240, 157});
}

TEST_F(DotPlotGating, LabelDragStoresTheOffsetOfTheTextsCorner) {
    services.chosen = 3;
    g.RegionDrawMode = true;
    drawSquare();
    const PopulationRecord& p = g.PopulationTable[3];
    // The label's grab point: its anchor less half the text, 4 pixels up.
    const double gx = M + Plot * (p.LabelBaseX + p.TitleX) / 10000.0 - p.Name.size() * 7.0 / 2.0;
    const double gy = M + Plot * (p.LabelBaseY + p.TitleY) / 10000.0 - 4.0;
    const QPoint grab(static_cast<int>(std::lround(gx)), static_cast<int>(std::lround(gy)));
    const std::vector<int> before = MembershipColumn(1, 3);
    drag(grab, {200, 220});
    EXPECT_EQ(g.DragLabelPopulation, 0);
    EXPECT_EQ(p.TitleX, std::lrint((200 + 21.0 - M) / Plot * 10000.0 - p.LabelBaseX));
    EXPECT_EQ(p.TitleY, std::lrint((220 + 4.0 - M) / Plot * 10000.0 - p.LabelBaseY));
    EXPECT_EQ(MembershipColumn(1, 3), before);
}

TEST_F(DotPlotGating, QuadrantCrossIsDraggedAndKeptOnTheMarginLine) {
    DotPlotState& s = window->state();
    s.QuadrantOn = true;
    s.QuadrantX = 5000;
    s.QuadrantY = 5000;
    // A gate corner at the cross: the cross wins.
    services.chosen = 1;
    g.RegionDrawMode = true;
    click({133, 134});
    click({200, 134});
    click({200, 200}, Qt::RightButton);
    window->Piirra();

    drag({133, 134}, {64, 110});
    EXPECT_FALSE(s.QuadrantDragging);
    EXPECT_FALSE(s.Dragging);
    EXPECT_EQ(s.QuadrantX, std::lrint((64 - M) / Plot * 10000.0));
    EXPECT_EQ(s.QuadrantY, std::lrint((110 - M) / Plot * 10000.0));
    EXPECT_EQ(g.LastQuadrantX, s.QuadrantX);
    EXPECT_EQ(g.LastQuadrantY, s.QuadrantY);
    EXPECT_FLOAT_EQ(g.PopulationTable[1].CornerX[1], PlotX(133)) << "the corner under the cross stays";

    // Beyond the plotting area the cross stays on the margin line.
    const QPoint at(static_cast<int>(std::lround(M + Plot * s.QuadrantX / 10000.0)),
                    static_cast<int>(std::lround(M + Plot * s.QuadrantY / 10000.0)));
    drag(at, {300, -20});
    EXPECT_EQ(s.QuadrantX, 10000);
    EXPECT_EQ(s.QuadrantY, 0);
}

}  // namespace
}  // namespace qv
