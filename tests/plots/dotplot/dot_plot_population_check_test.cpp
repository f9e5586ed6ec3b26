#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "app/model/DefinitionEvaluator.h"
#include "core/AxisScaling.h"
#include "core/PolygonTest.h"
#include "core/SharedState.h"
#include "plots/dotplot/model/DotPlotPopulationCheck.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

using test::MakeFile;
using test::MembershipColumn;
using test::PutFile;
using test::PutPolygon;

// On a linear axis whose range is 10000 an event's value is its PlotSpace x
// (and 10000 minus its PlotSpace y), so events can be put at known places.
FileRecord PlotSpaceFile(const std::vector<std::pair<float, float>>& points, int extraParameters = 0) {
    std::vector<test::ParamSpec> params = {{"FSC", 10000}, {"SSC", 10000}};
    for (int i = 0; i < extraParameters; ++i) params.push_back({"P" + std::to_string(i + 3), 10000});
    std::vector<std::vector<float>> events;
    for (const auto& [x, y] : points) {
        std::vector<float> values(params.size(), 0.0f);
        values[0] = x;
        values[1] = 10000.0f - y;  // y measured from the top
        events.push_back(values);
    }
    return MakeFile(params, events);
}

void FillColumn(FileRecord& f, int slot, uint8_t value) {
    for (int e = 1; e <= f.EventCount; ++e) f.Membership(e, slot) = value;
}

class DotPlotPopulationCheck : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
};

TEST_F(DotPlotPopulationCheck, MembershipFollowsTheGateInPlotSpace) {
    // Square 1000..5000 on both axes; edges and corners at whole units.
    PutPolygon(3, 1, 2, {{1000, 1000}, {5000, 1000}, {5000, 5000}, {1000, 5000}});
    FileRecord& f = PutFile(1, PlotSpaceFile({
        {3000, 3000},    // inside
        {6000, 3000},    // right of it
        {3000, 6000},    // below it (y from the top)
        {1000, 3000},    // on the left edge: inside
        {5000, 3000},    // on the right edge: outside
        {999.9f, 3000},  // just left of it
        {4999.5f, 4999.5f},
        {0, 0},
    }));
    FillColumn(f, 3, 7);
    DotPlotCheckPopulation(3);
    EXPECT_EQ(MembershipColumn(f, 3), (std::vector<int>{1, 0, 0, 1, 0, 0, 1, 0}));
    EXPECT_EQ(f.Membership(0, 3), 0) << "row 0 carries no event";
}

TEST_F(DotPlotPopulationCheck, CornersAreTestedAtWholeUnitsRoundedHalfToEven) {
    // Left edge stored at 12.5 is tested at 12, right edge at 13.5 at 14.
    PutPolygon(1, 1, 2, {{12.5f, 100}, {13.5f, 100}, {13.5f, 200}, {12.5f, 200}});
    FileRecord& f = PutFile(1, PlotSpaceFile({{12, 150}, {13.7f, 150}, {11.9f, 150}, {14, 150}}));
    DotPlotCheckPopulation(1);
    EXPECT_EQ(MembershipColumn(f, 1), (std::vector<int>{1, 1, 0, 0}));
}

TEST_F(DotPlotPopulationCheck, FilesLackingAGateParameterGetNoMembers) {
    // Gate on parameters 3 and 5: the file with 4 parameters has no members,
    // the one with 5 is tested on its own parameters 3 and 5.
    PutPolygon(2, 3, 5, {{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}});
    std::vector<std::vector<float>> events(5, std::vector<float>{1, 1, 5000, 1, 5000});
    FileRecord& four = PutFile(1, MakeFile({{"A", 10000}, {"B", 10000}, {"C", 10000}, {"D", 10000}}, events));
    FileRecord& five = PutFile(2, MakeFile({{"A", 10000}, {"B", 10000}, {"C", 10000}, {"D", 10000}, {"E", 10000}}, events));
    FillColumn(four, 2, 7);
    FillColumn(five, 2, 7);
    DotPlotCheckPopulation(2);
    EXPECT_EQ(MembershipColumn(four, 2), std::vector<int>(5, 0));
    EXPECT_EQ(MembershipColumn(five, 2), std::vector<int>(5, 1));
}

TEST_F(DotPlotPopulationCheck, FilesNotLoadedAndEventsBeyondTheCountAreLeftAlone) {
    PutPolygon(1, 1, 2, {{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}});
    FileRecord& unloaded = PutFile(1, PlotSpaceFile({{5000, 5000}}));
    unloaded.Loaded = false;
    FillColumn(unloaded, 1, 7);
    FileRecord& cut = PutFile(2, PlotSpaceFile({{5000, 5000}, {5000, 5000}, {5000, 5000}}));
    FillColumn(cut, 1, 7);
    cut.EventCount = 2;
    FileRecord& empty = PutFile(3, PlotSpaceFile({}));
    DotPlotCheckPopulation(1);
    EXPECT_EQ(unloaded.Membership(1, 1), 7);
    EXPECT_EQ(cut.Membership(1, 1), 1);
    EXPECT_EQ(cut.Membership(2, 1), 1);
    EXPECT_EQ(cut.Membership(3, 1), 7) << "event beyond EventCount";
    EXPECT_EQ(empty.EventCount, 0);
}

TEST_F(DotPlotPopulationCheck, NegativeValuesSitOnTheLeftBorder) {
    FileRecord& f = PutFile(1, PlotSpaceFile({{-300, 5000}, {-0.5f, 5000}}));
    PutPolygon(1, 1, 2, {{0, 4000}, {100, 4000}, {100, 6000}, {0, 6000}});
    PutPolygon(2, 1, 2, {{1, 4000}, {100, 4000}, {100, 6000}, {1, 6000}});
    DotPlotCheckPopulation(1);
    DotPlotCheckPopulation(2);
    EXPECT_EQ(MembershipColumn(f, 1), (std::vector<int>{1, 1}));
    EXPECT_EQ(MembershipColumn(f, 2), (std::vector<int>{0, 0}));
}

TEST_F(DotPlotPopulationCheck, OnlyTheGatesAxesCountAndTheRecordIsUnchanged) {
    // The gate on parameters (2, 1) swaps the roles of the two values.
    FileRecord& f = PutFile(1, PlotSpaceFile({{2000, 9000}, {9000, 2000}}));
    const PopulationRecord& gate = PutPolygon(1, 2, 1, {{500, 7500}, {1500, 7500}, {1500, 8500}, {500, 8500}});
    const PopulationRecord before = gate;
    DotPlotCheckPopulation(1);
    // Event 1: x on parameter 2 = 10000 - 9000 = 1000, y = 10000 - 2000 = 8000.
    EXPECT_EQ(MembershipColumn(f, 1), (std::vector<int>{1, 0}));
    EXPECT_EQ(gate.Corners, before.Corners);
    EXPECT_EQ(gate.CornerX, before.CornerX);
    EXPECT_EQ(gate.CornerY, before.CornerY);
    EXPECT_EQ(gate.Name, before.Name);
}

TEST_F(DotPlotPopulationCheck, DamagedCornersNeverCrashAndFewCornersHoldNothing) {
    FileRecord& f = PutFile(1, PlotSpaceFile({{5000, 5000}, {100, 100}}));
    PopulationRecord& gate = PutPolygon(1, 1, 2, {{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}});
    gate.CornerX[2] = std::numeric_limits<float>::quiet_NaN();
    gate.CornerY[3] = std::numeric_limits<float>::infinity();
    gate.CornerX[4] = -std::numeric_limits<float>::infinity();
    DotPlotCheckPopulation(1);  // whatever it holds, no overflow and no crash
    for (int e = 1; e <= f.EventCount; ++e) EXPECT_LE(f.Membership(e, 1), 1);

    PutPolygon(2, 1, 2, {{0, 0}, {10000, 10000}});
    PopulationRecord& many = PutPolygon(3, 1, 2, {{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}});
    many.Corners = 500;  // beyond the table: only the stored 50 corners are read
    FillColumn(f, 2, 7);
    DotPlotCheckPopulation(2);
    DotPlotCheckPopulation(3);
    EXPECT_EQ(MembershipColumn(f, 2), (std::vector<int>{0, 0}));
}

// Every event of a large file on log and linear axes: the membership equals
// the test of the dot's own position, as the dot plot places it, one event at
// a time; the file spans several of the check's working blocks.
TEST_F(DotPlotPopulationCheck, LargeFileAgreesWithEachDotsPlace) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> linear(-50.0f, 1100.0f);
    std::uniform_real_distribution<float> decades(-0.5f, 3.1f);  // spread over the log axes
    auto logValue = [&] { return std::pow(10.0f, decades(rng)) - 1.0f; };
    std::vector<std::vector<float>> events(30011);
    for (auto& ev : events) ev = {linear(rng), logValue(), logValue()};
    FileRecord& f = PutFile(4, MakeFile({{"FSC", 1024}, {"FL1", 1024, true}, {"FL2", 1024, true}}, events));
    PutPolygon(5, 1, 2, {{1000, 2000}, {8000, 1000}, {9000, 7000}, {5000, 9500}, {4000, 5000}, {1500, 6000}});
    PutPolygon(6, 3, 2, {{0, 0}, {6000, 3000}, {9000, 9000}, {2000, 8000}});
    DotPlotCheckPopulation(5);
    DotPlotCheckPopulation(6);

    for (int slot : {5, 6}) {
        const PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
        std::vector<PolygonCorner> corners;
        for (int j = 1; j <= p.Corners; ++j)
            corners.push_back({static_cast<int32_t>(std::lrint(p.CornerX[static_cast<size_t>(j)])),
                               static_cast<int32_t>(std::lrint(p.CornerY[static_cast<size_t>(j)]))});
        int members = 0;
        for (int e = 1; e <= f.EventCount; ++e) {
            const float x = static_cast<float>(ScaleEventToAxis(f, e, p.AxisX, 10000));
            const float y = static_cast<float>(10000.0 - ScaleEventToAxis(f, e, p.AxisY, 10000));
            const int expected = PointInPolygon(x, y, corners) ? 1 : 0;
            ASSERT_EQ(f.Membership(e, slot), expected) << "slot " << slot << " event " << e;
            members += expected;
        }
        EXPECT_GT(members, 1000) << "the gate must hold a fair share of the events";
        EXPECT_LT(members, f.EventCount - 1000);
    }
}

TEST_F(DotPlotPopulationCheck, EveryDefinitionInUseIsEvaluatedAgain) {
    FileRecord& f = PutFile(1, PlotSpaceFile({{100, 100}, {5000, 5000}}));
    PutPolygon(1, 1, 2, {{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}});
    PutPolygon(12, 1, 2, {{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}});
    DotPlotCheckPopulation(12);
    // A definition written in another case than the population's name.
    PopulationRecord& def = g.PopulationTable[17];
    def.InUse = true;
    def.Name = "POLY-1";
    PopulationRecord& other = g.PopulationTable[18];
    other.InUse = true;
    other.Name = "Poly-12 and not poly-1";
    FillColumn(f, 17, 7);
    FillColumn(f, 18, 7);

    DotPlotCheckPopulation(1);
    EXPECT_EQ(MembershipColumn(f, 17), (std::vector<int>{1, 0}));
    EXPECT_EQ(MembershipColumn(f, 18), (std::vector<int>{0, 1}));

    // Without the definitions' pass (the recomputation of all gates does it once at its end).
    FillColumn(f, 17, 7);
    DotPlotCheckPopulation(1, DefinitionRecheck::None);
    EXPECT_EQ(MembershipColumn(f, 17), (std::vector<int>{7, 7}));
}

}  // namespace
}  // namespace qv
