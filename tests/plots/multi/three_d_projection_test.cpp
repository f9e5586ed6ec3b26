// The 3-D plot's projection and picture: where the cube's centre and its
// labelled corners land, a quarter turn, the depth buffer (nearer wins, equal
// depth keeps the first), the depth cue, and files the cube cannot show in
// full (fewer than three parameters, points at or behind the viewer).
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>

#include "core/SharedState.h"
#include "plots/multi/model/ThreeDProjection.h"
#include "plots/multi/model/ThreeDRenderer.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

constexpr double S = 400, F = 850, D = 1500;

ThreeDView squareView(double rx = 0, double ry = 0, double rz = 0) { return {rx, ry, rz, F, D, S, S}; }

struct ProjectionCase {
    const char* what;
    double x, y, z;
    double X, Y, depth;
};

// At zero angles a point lies at depth h - z, and its screen position is
// the centre plus F * (h - x) / (depth - D) across and minus F * (h - y) /
// (depth - D) down.
TEST(ThreeDProjectionTest, CentreAndLabelledCornersAtZeroAngles) {
    const double h = S / 2;
    const ProjectionCase cases[] = {
        {"centre", h, h, h, 200, 200, 0},
        {"corner 0", 1, 1, 1, 200 + F * 199 / (199 - D), 200 - F * 199 / (199 - D), 199},
        {"corner X", S, 1, 1, 200 + F * -200 / (199 - D), 200 - F * 199 / (199 - D), 199},
        {"corner Y", 1, S, 1, 200 + F * 199 / (199 - D), 200 - F * -200 / (199 - D), 199},
        {"corner Z", 1, 1, S, 200 + F * 199 / (-200 - D), 200 - F * 199 / (-200 - D), -200},
    };
    for (const ProjectionCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ProjectedPosition p = ProjectPoint(squareView(), c.x, c.y, c.z, S);
        EXPECT_NEAR(p.X, c.X, 1e-9);
        EXPECT_NEAR(p.Y, c.Y, 1e-9);
        EXPECT_NEAR(p.Depth, c.depth, 1e-9);
    }
    // X lies right of 0 and Y above it; Z is the far corner.
    const ProjectedPosition zero = ProjectPoint(squareView(), 1, 1, 1, S);
    EXPECT_GT(ProjectPoint(squareView(), S, 1, 1, S).X, zero.X);
    EXPECT_LT(ProjectPoint(squareView(), 1, S, 1, S).Y, zero.Y);
}

TEST(ThreeDProjectionTest, QuarterTurnsBringTheEdgesToTheViewer) {
    const double h = S / 2;
    // RotateX turns about the screen's vertical: the x edge's far end comes
    // to the front, at the centre of the picture.
    ProjectedPosition p = ProjectPoint(squareView(90), S, h, h, S);
    EXPECT_NEAR(p.X, 200, 1e-9);
    EXPECT_NEAR(p.Y, 200, 1e-9);
    EXPECT_NEAR(p.Depth, h, 1e-9);
    // RotateY turns about the horizontal: the y edge's far end comes forward.
    p = ProjectPoint(squareView(0, 90), h, S, h, S);
    EXPECT_NEAR(p.Depth, h, 1e-9);
    EXPECT_NEAR(p.X, 200, 1e-9);
    // A full turn is no turn.
    const ProjectedPosition a = ProjectPoint(squareView(360, 360, 360), 30, 70, 350, S);
    const ProjectedPosition b = ProjectPoint(squareView(), 30, 70, 350, S);
    EXPECT_NEAR(a.X, b.X, 1e-9);
    EXPECT_NEAR(a.Y, b.Y, 1e-9);
    EXPECT_NEAR(a.Depth, b.Depth, 1e-9);
}

TEST(ThreeDProjectionTest, DepthCueIsFullNearAndBlackFar) {
    EXPECT_EQ(DepthCue(170), 1.0);
    EXPECT_EQ(DepthCue(-390), 0.0);
    EXPECT_NEAR(DepthCue(0), 0.7, 1e-12);
    EXPECT_NEAR(DepthCue(100), 0.88, 1e-12);
}

class ThreeDRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        picture = QImage(400, 400, QImage::Format_RGB32);
        state.ShowOutlines = false;
        state.ShowParameterNames = false;
    }
    void TearDown() override { resetSharedState(); }

    // Three linear parameters of range 400: a value is its cube coordinate.
    static FileRecord cubeFile(const std::vector<std::vector<float>>& events) {
        return test::MakeFile({{"FSC", 400}, {"SSC", 400}, {"FL1", 400}}, events);
    }
    static void colourSlot(int slot, uint8_t r, uint8_t gr, uint8_t b) {
        PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
        p.InUse = true;
        p.Type = "Polygon";
        p.ColorRed = r;
        p.ColorGreen = gr;
        p.ColorBlue = b;
    }
    QRgb centre() const { return picture.pixel(200, 200); }

    QImage picture;
    ThreeDState state;
};

TEST_F(ThreeDRenderTest, NearerPointWinsAndEqualDepthKeepsTheFirst) {
    colourSlot(1, 255, 0, 0);
    colourSlot(2, 0, 255, 0);
    state.DarkBackground = false;  // no depth cue: the colours stand as they are
    struct Case {
        const char* what;
        float z1, z2;  // events 1 (slot 1, red) and 2 (slot 2, green) at the centre of x and y
        QRgb expected;
    } cases[] = {
        {"the second is nearer", 300, 100, qRgb(0, 255, 0)},
        {"the first is nearer", 100, 300, qRgb(255, 0, 0)},
        {"equal depth keeps the first", 150, 150, qRgb(255, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileRecord file = cubeFile({{200, 200, c.z1}, {200, 200, c.z2}});
        file.Membership(1, 1) = 1;
        file.Membership(2, 2) = 1;
        RenderThreeD(picture, state, file, {});
        EXPECT_EQ(centre(), c.expected);
    }
}

TEST_F(ThreeDRenderTest, DarkBackgroundDimsWithDepthAndHighestSlotColours) {
    colourSlot(1, 255, 0, 0);
    colourSlot(3, 100, 200, 250);
    g.PopulationTable[4].InUse = true;
    g.PopulationTable[4].Transparent = true;  // never colours
    FileRecord file = cubeFile({{200, 200, 100}});
    file.Membership(1, 1) = 1;
    file.Membership(1, 3) = 1;
    file.Membership(1, 4) = 1;
    file.Membership(1, 5) = 1;  // slot 5 is not in use
    RenderThreeD(picture, state, file, {});
    // Depth 100: f = 0.88.
    EXPECT_EQ(centre(), qRgb(88, 176, 220));
    EXPECT_EQ(state.BackgroundLevel, 255);
    EXPECT_EQ(picture.pixel(5, 395), qRgb(0, 0, 0));
}

TEST_F(ThreeDRenderTest, FewerThanThreeParametersKeepsTheAxesWithinTheFile) {
    const FileRecord file = test::MakeFile({{"FSC", 400}, {"SSC", 400}}, {{100, 100}, {300, 300}});
    state.ShowOutlines = true;
    state.ShowParameterNames = true;
    RenderThreeD(picture, state, file, {});
    EXPECT_EQ(state.AxisX, 1);
    EXPECT_EQ(state.AxisY, 2);
    EXPECT_EQ(state.AxisZ, 2);
    // Two events and the twelve edges of 30 points: sized by what is drawn.
    EXPECT_EQ(state.ProjectedPoints.size(), 2u + 360u);

    const FileRecord none = test::MakeFile({}, {{}, {}});
    state.AxisX = 7;
    RenderThreeD(picture, state, none, {});
    EXPECT_EQ(state.AxisX, 1);
    EXPECT_EQ(state.ProjectedPoints.size(), 360u);
}

TEST_F(ThreeDRenderTest, PointsAtOrBehindTheViewerAreDropped) {
    state.DarkBackground = false;
    // The centre has depth 0: a viewer there would divide by zero.
    state.Distance = 0;
    FileRecord file = cubeFile({{200, 200, 200}, {10, 10, 10}, {390, 390, 390}});
    RenderThreeD(picture, state, file, {});
    EXPECT_EQ(centre(), qRgb(255, 255, 255));
    for (const ProjectedPoint& p : state.ProjectedPoints) {
        EXPECT_FALSE(std::isnan(p.Depth));
    }
    // Far behind the cube nothing is drawn at all.
    state.Distance = -5000;
    RenderThreeD(picture, state, file, {});
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) ASSERT_EQ(picture.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

TEST_F(ThreeDRenderTest, QuickPassDrawsAboutAThousandEventsAndShownPopulationFilters) {
    std::vector<std::vector<float>> events(5000, std::vector<float>{100, 100, 100});
    FileRecord file = cubeFile(events);
    RenderThreeD(picture, state, file, {true, nullptr});
    EXPECT_EQ(state.ProjectedPoints.size(), 1000u);  // every 5th
    FileRecord small = cubeFile(std::vector<std::vector<float>>(1500, std::vector<float>{1, 1, 1}));
    RenderThreeD(picture, state, small, {true, nullptr});
    EXPECT_EQ(state.ProjectedPoints.size(), 1500u);

    colourSlot(2, 1, 2, 3);
    small.Membership(7, 2) = 1;
    small.Membership(9, 2) = 1;
    state.ShownPopulation = 2;
    RenderThreeD(picture, state, small, {});
    EXPECT_EQ(state.ProjectedPoints.size(), 2u);
    // A population not in use falls back to all events.
    state.ShownPopulation = 6;
    RenderThreeD(picture, state, small, {});
    EXPECT_EQ(state.ShownPopulation, 0);
    EXPECT_EQ(state.ProjectedPoints.size(), 1500u);
}

}  // namespace
}  // namespace qv
