// The bending plot's axis chain without a window: where events land, the
// distance colours, adding and deleting axes, the angle of axis names, the
// boxes axes answer a right click in, and gate membership in the window's
// file only.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/AxisScaling.h"
#include "core/SharedState.h"
#include "plots/multi/model/BendAxes.h"
#include "plots/multi/model/BendPlacement.h"
#include "plots/multi/model/BendPopulationCheck.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

using test::MakeFile;
using test::MembershipColumn;
using test::PutFile;

// Four parameters of range 1024, one event per row.
FileRecord FourParameterFile(const std::vector<std::vector<float>>& events) {
    return MakeFile({{"P1", 1024}, {"P2", 1024}, {"P3", 1024}, {"P4", 1024}}, events);
}

class BendModel : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
    void TearDown() override { resetSharedState(); }
};

TEST_F(BendModel, PlacementOfTheDefaultChain) {
    struct Case {
        std::vector<float> values;
        float x, y;
    };
    // Root (1000, 9000); axis 1 to (4000, 9000), axis 2 up to (1000, 5000),
    // axis 3 from axis 1's end to (7000, 8000), axis 4 from axis 2's end to
    // (2000, 2000). Each axis moves an event by its value / 1024 of the axis.
    const std::vector<Case> cases = {
        {{0, 0, 0, 0}, 1000, 9000},           // all zeros: on the root
        {{1024, 0, 0, 0}, 4000, 9000},        // axis 1 full: its end point
        {{0, 1024, 0, 0}, 1000, 5000},        // axis 2 full
        {{512, 256, 0, 1024}, 3500, 5000},    // mixed: half, quarter, none, full
        {{1024, 1024, 1024, 1024}, 8000, 1000},  // all full: every axis adds its whole vector
        {{2048, 0, 0, 0}, 7000, 9000},        // above the range: beyond the axis end
        {{-300, 0, 0, 0}, 1000, 9000},        // negative values: nothing
    };
    std::vector<std::vector<float>> events;
    for (const Case& c : cases) events.push_back(c.values);
    const FileRecord file = FourParameterFile(events);
    BendPlacement out;
    PlaceBendEvents(file, DefaultAxisTable(), 1, 0, false, out);
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_FLOAT_EQ(out.X[i + 1], cases[i].x) << "event " << i + 1;
        EXPECT_FLOAT_EQ(out.Y[i + 1], cases[i].y) << "event " << i + 1;
    }

}

TEST_F(BendModel, PlacementOnLogAxesMatchesScalingEachAxisLength) {
    // One axis of a log parameter, pointing left and down: the move equals
    // the scaled position on axes of length |dx| and |dy|.
    FileRecord file = MakeFile({{"L", 262144, true}}, {{10}, {1000}, {200000}});
    AxisTable axes{};
    axes[BendRootAxis] = {5000, 5000, 0, true, 0, false};
    axes[1] = {1000, 8000, BendRootAxis, true, 1, false};
    BendPlacement out;
    PlaceBendEvents(file, axes, 1, 0, true, out);
    for (int e = 1; e <= 3; ++e) {
        EXPECT_NEAR(out.X[e], 5000 - ScaleEventToAxis(file, e, 1, 4000), 1e-3);
        EXPECT_NEAR(out.Y[e], 5000 + ScaleEventToAxis(file, e, 1, 3000), 1e-3);
        EXPECT_NEAR(out.Distance[e], std::hypot(ScaleEventToAxis(file, e, 1, 4000), ScaleEventToAxis(file, e, 1, 3000)),
                    1e-6);
    }
    EXPECT_DOUBLE_EQ(out.TotalAxisLength, 5000);
}

TEST_F(BendModel, ShownPopulationStepAndZeroLengthAxes) {
    FileRecord file = FourParameterFile({{1024, 0, 0, 0}, {1024, 0, 0, 0}, {1024, 0, 0, 0}, {1024, 0, 0, 0}});
    file.Membership(2, 3) = 1;
    file.Membership(4, 3) = 1;
    AxisTable axes = DefaultAxisTable();
    BendPlacement out;
    PlaceBendEvents(file, axes, 1, 3, false, out);
    // Only members of slot 3 are placed; the others keep (0, 0).
    EXPECT_EQ(out.X, (std::vector<float>{0, 0, 4000, 0, 4000}));
    EXPECT_EQ(out.Y, (std::vector<float>{0, 0, 9000, 0, 9000}));

    PlaceBendEvents(file, axes, 3, 0, false, out);  // events 1 and 4
    EXPECT_EQ(out.X, (std::vector<float>{0, 4000, 0, 0, 4000}));

    // An axis of zero length moves nothing.
    axes[1].X = 1000;
    PlaceBendEvents(file, axes, 1, 0, false, out);
    EXPECT_EQ(out.X[1], 1000);
    EXPECT_EQ(out.Y[1], 9000);
}

TEST_F(BendModel, DistanceRampAndItsIndexStayInRange) {
    EXPECT_EQ(BendRampColour(0), (Rgb{0, 0, 0}));
    EXPECT_EQ(BendRampColour(255), (Rgb{255, 0, 0}));
    EXPECT_EQ(BendRampColour(325), (Rgb{255, 70, 0}));
    EXPECT_EQ(BendRampColour(510), (Rgb{255, 255, 0}));
    EXPECT_EQ(BendRampColour(600), (Rgb{255, 255, 90}));
    EXPECT_EQ(BendRampColour(765), (Rgb{255, 255, 255}));

    struct Case {
        double distance, total;
        int index;
    };
    for (const Case& c : std::vector<Case>{{0, 100, 0},
                                           {100, 100, 765},
                                           {50, 100, 382},      // floor of 382.5
                                           {250, 100, 765},     // beyond the total: held at the top
                                           {0, 0, 0},           // every axis of length 0
                                           {5, 0, 0},
                                           {NAN, 100, 0},
                                           {-1, 100, 0}})
        EXPECT_EQ(BendRampIndex(c.distance, c.total), c.index) << c.distance << " / " << c.total;

    // With distances on, an event at the root is black and one at the end
    // of every axis white.
    const FileRecord file = FourParameterFile({{0, 0, 0, 0}, {1024, 1024, 1024, 1024}});
    BendPlacement out;
    PlaceBendEvents(file, DefaultAxisTable(), 1, 0, true, out);
    EXPECT_EQ(BendRampIndex(out.Distance[1], out.TotalAxisLength), 0);
    EXPECT_EQ(BendRampIndex(out.Distance[2], out.TotalAxisLength), 765);
}

TEST_F(BendModel, AddingAndDeletingAxes) {
    AxisTable axes = DefaultAxisTable();
    // Axis 3 selected: entry 5 ends 1000 right and below axis 3's end.
    EXPECT_TRUE(BendCanAddAxis(axes, 3));
    EXPECT_EQ(BendAddAxis(axes, 3), 5);
    EXPECT_EQ(axes[5].X, 8000);
    EXPECT_EQ(axes[5].Y, 9000);
    EXPECT_EQ(axes[5].Connected, 3);
    EXPECT_EQ(axes[5].Parameter, 1);
    EXPECT_FALSE(axes[5].YAxis);
    // Axis 3 now has a follower; the root and axes 1 and 2 have theirs.
    for (int selected : {0, 1, 2, 3, 100}) EXPECT_FALSE(BendCanAddAxis(axes, selected)) << selected;
    EXPECT_TRUE(BendCanAddAxis(axes, 4));
    EXPECT_TRUE(BendCanAddAxis(axes, 5));

    // An end at or beyond 9000 turns the new axis back.
    axes[4].X = 9500;
    axes[4].Y = 500;
    EXPECT_EQ(BendAddAxis(axes, 4), 6);
    EXPECT_EQ(axes[6].X, 8500);
    EXPECT_EQ(axes[6].Y, 1500);
    EXPECT_TRUE(axes[6].YAxis);  // from axis 4

    // Deleting: axes 1 and 2, the root, nothing selected and axes with a
    // follower stay.
    for (int selected : {0, 1, 2, 3, 4, 100}) EXPECT_FALSE(BendCanDeleteAxis(axes, selected)) << selected;
    EXPECT_TRUE(BendCanDeleteAxis(axes, 6));
    BendDeleteAxis(axes, 6);
    EXPECT_FALSE(axes[6].Exists);
    EXPECT_TRUE(BendCanDeleteAxis(axes, 4));  // its follower is gone
    BendDeleteAxis(axes, 250);                          // outside the table: nothing

    // All 99 in use: nothing is added.
    for (int a = 1; a <= BendLastAxis; ++a) axes[static_cast<size_t>(a)].Exists = true;
    const AxisTable before = axes;
    EXPECT_EQ(BendAddAxis(axes, 5), 0);
    for (int a = 0; a <= BendRootAxis; ++a) EXPECT_EQ(axes[static_cast<size_t>(a)].X, before[static_cast<size_t>(a)].X);
}

TEST_F(BendModel, AxisNameAngles) {
    struct Case {
        double dx, dy;
        int32_t escapement;
    };
    for (const Case& c : std::vector<Case>{{10, 0, 3600},     // right
                                           {0, -400, 4500},   // straight up, reading upward
                                           {-10, 0, 1800},    // left, upside down
                                           {0, 400, 2700},    // straight down
                                           {10, -10, 4050},  // up and right
                                           {-10, 10, 2250}})
        EXPECT_EQ(BendAxisNameEscapement(c.dx, c.dy), c.escapement) << c.dx << ", " << c.dy;
}

TEST_F(BendModel, RightClickBoxesAndEndHandles) {
    AxisTable axes = DefaultAxisTable();
    // A 1000 x 1000 picture: plot space / 10.
    // Axis 1 is horizontal (y 900): its box is widened to 895..905.
    EXPECT_EQ(BendAxisAt(axes, 250, 903, 1000, 1000), 1);
    EXPECT_EQ(BendAxisAt(axes, 250, 906, 1000, 1000), 0);
    // Axis 2 is vertical (x 100): widened to 95..105.
    EXPECT_EQ(BendAxisAt(axes, 97, 700, 1000, 1000), 2);
    // Where the boxes of axes 1 and 2 overlap the higher number wins.
    EXPECT_EQ(BendAxisAt(axes, 103, 897, 1000, 1000), 2);

    // End handles: strictly within 3 pixels, the root included, lowest first.
    EXPECT_EQ(BendEndHandleAt(axes, 102, 898, 1000, 1000, 3), 100);
    EXPECT_EQ(BendEndHandleAt(axes, 103, 900, 1000, 1000, 3), 0);
    EXPECT_EQ(BendEndHandleAt(axes, 401, 901, 1000, 1000, 3), 1);
}

TEST_F(BendModel, GateMembershipOnlyInTheWindowsFile) {
    // Axis 1 alone: x = 1000 + 3000 * P1 / 1024 at y 9000.
    PutFile(1, FourParameterFile({{0, 0, 0, 0}, {512, 0, 0, 0}, {1024, 0, 0, 0}, {512, 0, 0, 0}}));
    PutFile(2, FourParameterFile({{512, 0, 0, 0}, {512, 0, 0, 0}}));
    g.FileTable[2].Membership(1, 4) = 1;
    PopulationRecord& gate = g.PopulationTable[4];
    gate.InUse = true;
    gate.Type = "BendPlot";
    gate.Name = "Bending-4";
    gate.Corners = 4;
    const float corners[4][2] = {{2000, 8000}, {3000, 8000}, {3000, 9500}, {2000, 9500}};
    for (int j = 1; j <= 4; ++j) {
        gate.CornerX[static_cast<size_t>(j)] = corners[j - 1][0];
        gate.CornerY[static_cast<size_t>(j)] = corners[j - 1][1];
    }
    // A definition over it follows.
    PopulationRecord& def = g.PopulationTable[17];
    def.InUse = true;
    def.Name = "not Bending-4";

    BendCheckPopulation(4, DefaultAxisTable(), 1);
    EXPECT_EQ(MembershipColumn(1, 4), (std::vector<int>{0, 1, 0, 1}));
    EXPECT_EQ(MembershipColumn(2, 4), (std::vector<int>{0, 0}));
    EXPECT_EQ(MembershipColumn(1, 17), (std::vector<int>{1, 0, 1, 0}));

    // A slot outside the columns does nothing.
    BendCheckPopulation(0, DefaultAxisTable(), 1);
    BendCheckPopulation(200, DefaultAxisTable(), 1);
}

}  // namespace
}  // namespace qv
