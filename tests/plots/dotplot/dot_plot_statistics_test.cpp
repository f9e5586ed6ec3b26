// The dot plot's statistics: which events are counted, the means and
// geometric means, the quadrants, the listed slots and the single-value
// lookup that tools use.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "core/AxisScaling.h"
#include "core/FcsReader.h"
#include "core/SharedState.h"
#include "plots/dotplot/model/DotPlotStatistics.h"
#include "tests/support/ParamNames.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

using test::MakeFile;
using test::ParamSpec;
using test::PutPolygon;

class DotPlotStatisticsTest : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }

    DotPlotStatisticsInput input(const FileRecord& file) const {
        DotPlotStatisticsInput in;
        in.file = &file;
        in.channelX = 1;
        in.channelY = 2;
        in.populations = std::span<const PopulationRecord>(g.PopulationTable);
        in.maxPopulations = g.MaxPopulations;
        in.maxDefinitions = g.MaxDefinitions;
        return in;
    }

    std::vector<DotPlotStatistics> populations(const DotPlotStatisticsInput& in) {
        std::vector<DotPlotStatistics> stats(static_cast<size_t>(g.membershipSlots()) + 1);
        computer.computePopulations(in, stats);
        return stats;
    }

    DotPlotQuadrantStatistics quadrants(const DotPlotStatisticsInput& in) {
        DotPlotQuadrantStatistics q{};
        computer.computeQuadrants(in, q);
        return q;
    }

    DotPlotStatisticsComputer computer;
};

// Two linear parameters of range 10000, so a value is its own plot-space
// position on X and 10000 minus it on Y.
FileRecord PlaneFile(const std::vector<std::pair<float, float>>& points) {
    std::vector<std::vector<float>> events;
    for (const auto& [x, y] : points) events.push_back({x, y});
    return MakeFile({{"FSC", 10000}, {"SSC", 10000}}, events);
}

struct MeanCase {
    const char* name;
    std::vector<std::pair<float, float>> points;
    double xMean, yMean, xGeo, yGeo;
};
void PrintTo(const MeanCase& c, std::ostream* os) { *os << c.name; }

class MeansTest : public DotPlotStatisticsTest, public ::testing::WithParamInterface<MeanCase> {};

TEST_P(MeansTest, VisibleRecordHoldsMeansAndGeometricMeans) {
    const MeanCase& c = GetParam();
    const FileRecord file = PlaneFile(c.points);
    const auto stats = populations(input(file));
    EXPECT_EQ(stats[0].Number, static_cast<int32_t>(c.points.size()));
    EXPECT_EQ(stats[0].Fraction, 1.0);
    EXPECT_NEAR(stats[0].XMean, c.xMean, 1e-9);
    EXPECT_NEAR(stats[0].YMean, c.yMean, 1e-9);
    EXPECT_NEAR(stats[0].XGeoMean, c.xGeo, 1e-9);
    EXPECT_NEAR(stats[0].YGeoMean, c.yGeo, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Values, MeansTest,
    ::testing::Values(
        MeanCase{"TenAndThousand", {{10, 10}, {1000, 1000}}, 505, 505, 100, 100},
        // A value at or below 0 enters the geometric mean as log 0.
        MeanCase{"ZeroCountsAsOne", {{0, 100}, {100, 0}}, 50, 50, 10, 10},
        MeanCase{"NegativeCountsAsOne", {{-5, 1000}, {1000, -5}}, 497.5, 497.5, std::sqrt(1000.0),
                 std::sqrt(1000.0)},
        MeanCase{"BeyondTheAxisStillCounted", {{20000, 4}, {20000, 16}}, 20000, 10, 20000, 8},
        MeanCase{"SingleEvent", {{7, 3}}, 7, 3, 7, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DotPlotStatisticsTest, EmptyFileGivesZerosAndVisibleFractionOne) {
    const FileRecord file = PlaneFile({});
    PutPolygon(1, 1, 2, {{0, 0}, {10000, 0}, {10000, 10000}});
    const auto stats = populations(input(file));
    EXPECT_EQ(stats[0], (DotPlotStatistics{0, 1.0, 0, 0, 0, 0}));
    EXPECT_EQ(stats[1], (DotPlotStatistics{0, 0.0, 0, 0, 0, 0}));
}

struct StepCase {
    int32_t events;
    int32_t step;
    int32_t counted;
    double xMean;  // event e carries the value e
};
std::string describe(const StepCase& c) {
    return std::to_string(c.events) + " events step " + std::to_string(c.step);
}
void PrintTo(const StepCase& c, std::ostream* os) { *os << describe(c); }

class StepTest : public DotPlotStatisticsTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(StepTest, VisitsEveryStepthEventFromTheFirst) {
    const StepCase& c = GetParam();
    std::vector<std::pair<float, float>> points;
    for (int e = 1; e <= c.events; ++e) points.push_back({static_cast<float>(e), 1.0f});
    const FileRecord file = PlaneFile(points);
    DotPlotStatisticsInput in = input(file);
    in.eventStep = c.step;
    const auto stats = populations(in);
    EXPECT_EQ(stats[0].Number, c.counted);
    EXPECT_DOUBLE_EQ(stats[0].XMean, c.xMean);
}

INSTANTIATE_TEST_SUITE_P(Steps, StepTest,
                         ::testing::Values(StepCase{10, 1, 10, 5.5},
                                           StepCase{10, 3, 4, 5.5},   // 1, 4, 7, 10
                                           StepCase{9, 3, 3, 4.0},    // 1, 4, 7
                                           StepCase{2, 5, 1, 1.0},
                                           StepCase{10, 0, 10, 5.5}),  // a step below 1 counts as 1
                         [](const auto& info) { return test::TestNameOf(describe(info.param), info.index); });

TEST_F(DotPlotStatisticsTest, FastDrawStepOnTheEdgeCaseFile) {
    // 120000 events over the limit 50000: step 3 counts 40000 of them.
    const FileRecord file = test::MakeUniformFile(120000, 5, 5);
    DotPlotStatisticsInput in = input(file);
    in.eventStep = 3;
    EXPECT_EQ(populations(in)[0].Number, 40000);
    in.eventStep = 1;
    EXPECT_EQ(populations(in)[0].Number, 120000);
}

TEST_F(DotPlotStatisticsTest, StepThinsPopulationsAndQuadrantsAlike) {
    // Events 1..9 at x = e; population 1 holds every event; every third
    // event is visited.
    std::vector<std::pair<float, float>> points;
    for (int e = 1; e <= 9; ++e) points.push_back({static_cast<float>(e * 1000), 9000.0f});
    FileRecord file = PlaneFile(points);
    PutPolygon(1, 1, 2, {{0, 0}, {10000, 0}, {10000, 10000}});
    for (int e = 1; e <= 9; ++e) file.Membership(e, 1) = 1;
    DotPlotStatisticsInput in = input(file);
    in.eventStep = 3;
    in.quadrantX = 4500;
    in.quadrantY = 5000;
    std::vector<DotPlotStatistics> stats(33);
    DotPlotQuadrantStatistics q{};
    computer.computeAll(in, stats, q);
    EXPECT_EQ(stats[1].Number, 3);
    EXPECT_DOUBLE_EQ(stats[1].XMean, 4000.0);  // events 1, 4, 7
    EXPECT_EQ(q[UpperLeft].Number, 2);   // x 1000 and 4000
    EXPECT_EQ(q[UpperRight].Number, 1);  // x 7000
    EXPECT_EQ(q[LowerLeft].Number + q[LowerRight].Number, 0);
}

struct QuadrantCase {
    const char* name;
    float x, y;  // values; the plot-space place is (x, 10000 - y)
    DotPlotQuadrant expected;
};
void PrintTo(const QuadrantCase& c, std::ostream* os) { *os << c.name; }

class QuadrantTest : public DotPlotStatisticsTest, public ::testing::WithParamInterface<QuadrantCase> {};

TEST_P(QuadrantTest, EventFallsIntoOneQuadrant) {
    const QuadrantCase& c = GetParam();
    const FileRecord file = PlaneFile({{c.x, c.y}});
    DotPlotStatisticsInput in = input(file);
    in.quadrantX = 5000;
    in.quadrantY = 5000;
    const auto q = quadrants(in);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(q[static_cast<size_t>(i)].Number, i == c.expected ? 1 : 0) << "quadrant " << i;
        EXPECT_EQ(q[static_cast<size_t>(i)].Fraction, i == c.expected ? 1.0 : 0.0) << "quadrant " << i;
    }
    EXPECT_DOUBLE_EQ(q[static_cast<size_t>(c.expected)].XMean, c.x);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, QuadrantTest,
    ::testing::Values(
        QuadrantCase{"OnVerticalLineGoesRight", 5000, 6000, UpperRight},       // px 5000, py 4000
        QuadrantCase{"JustLeftOnHorizontalLineGoesDown", 4999.5f, 5000, LowerLeft},
        QuadrantCase{"OnTheCentreGoesRightAndDown", 5000, 5000, LowerRight},
        QuadrantCase{"UpperLeft", 4999, 5001, UpperLeft},
        QuadrantCase{"FarBeyondTheAxis", 30000, -50, LowerRight},
        QuadrantCase{"NegativeValuesSitAtTheOrigin", -10, -10, LowerLeft}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DotPlotStatisticsTest, QuadrantOnALogAxisUsesTheDotPlacement) {
    // Log axis of range 10000: value 100 lies at 5000 exactly, so it is on
    // the vertical line and counts right.
    const FileRecord file = MakeFile({{"FL1", 10000, true}, {"FL2", 10000, true}}, {{100, 10000}, {99, 10000}});
    DotPlotStatisticsInput in = input(file);
    in.quadrantX = 5000;
    in.quadrantY = 5000;
    const auto q = quadrants(in);
    EXPECT_EQ(q[UpperRight].Number, 1);
    EXPECT_EQ(q[UpperLeft].Number, 1);
}

TEST_F(DotPlotStatisticsTest, QuadrantFractionsAreSharesOfTheShownEvents) {
    // Four events, one in the upper left: 25 percent.
    const FileRecord file = PlaneFile({{1000, 9000}, {9000, 9000}, {9000, 1000}, {9000, 2000}});
    DotPlotStatisticsInput in = input(file);
    in.quadrantX = 5000;
    in.quadrantY = 5000;
    std::vector<DotPlotStatistics> stats(33);
    DotPlotQuadrantStatistics q{};
    computer.computeAll(in, stats, q);
    EXPECT_EQ(q[UpperLeft].Fraction, 0.25);
    EXPECT_EQ(q[UpperRight].Fraction, 0.25);
    EXPECT_EQ(q[LowerRight].Fraction, 0.5);
    EXPECT_EQ(q[LowerLeft].Fraction, 0.0);
    EXPECT_EQ(q[LowerLeft].XMean, 0.0);
    EXPECT_EQ(LookUpDotPlotStatistic(stats, q, "ul", "vis"), 25.0);
}

// A file of six events with chosen memberships: population 3 holds events
// 1..4, population 5 (another parameter pair) events 1..2, definition 17
// events 3..6.
class MembershipTest : public DotPlotStatisticsTest {
protected:
    void SetUp() override {
        DotPlotStatisticsTest::SetUp();
        file = PlaneFile({{10, 1}, {20, 1}, {30, 1}, {40, 1}, {50, 1}, {60, 1}});
        PutPolygon(3, 1, 2, {{0, 0}, {1, 0}, {1, 1}}, "Poly-3");
        PutPolygon(5, 2, 1, {{0, 0}, {1, 0}, {1, 1}}, "Poly-5");
        PopulationRecord& def = g.PopulationTable[17];
        def.InUse = true;
        def.Name = "Poly-3 or Poly-5";
        for (int e = 1; e <= 4; ++e) file.Membership(e, 3) = 1;
        for (int e = 1; e <= 2; ++e) file.Membership(e, 5) = 1;
        for (int e = 3; e <= 6; ++e) file.Membership(e, 17) = 1;
    }
    FileRecord file;
};

TEST_F(MembershipTest, ListedSlotsAreOwnPairPolygonsAndDefinitions) {
    const auto stats = populations(input(file));
    EXPECT_EQ(stats[3].Number, 4);
    EXPECT_DOUBLE_EQ(stats[3].XMean, 25.0);
    EXPECT_DOUBLE_EQ(stats[3].Fraction, 4.0 / 6.0);
    EXPECT_EQ(stats[17].Number, 4);
    EXPECT_DOUBLE_EQ(stats[17].XMean, 45.0);
    // Drawn on (2, 1): not this plot's pair, so not computed.
    EXPECT_EQ(stats[5], DotPlotStatistics{});
    EXPECT_TRUE(DotPlotListsSlot(g.PopulationTable[3], 3, 16, 1, 2));
    EXPECT_FALSE(DotPlotListsSlot(g.PopulationTable[5], 5, 16, 1, 2));
    EXPECT_TRUE(DotPlotListsSlot(g.PopulationTable[5], 5, 16, 2, 1));
    EXPECT_TRUE(DotPlotListsSlot(g.PopulationTable[17], 17, 16, 7, 8));
}

TEST_F(MembershipTest, SlotsNotListedKeepTheirEarlierValues) {
    std::vector<DotPlotStatistics> stats(33);
    const DotPlotStatistics earlier{7, 0.5, 1, 2, 3, 4};
    stats[5] = earlier;   // polygon of another pair
    stats[9] = earlier;   // not in use
    g.PopulationTable[9].Type = "Histogram";
    computer.computePopulations(input(file), stats);
    EXPECT_EQ(stats[5], earlier);
    EXPECT_EQ(stats[9], earlier);
    g.PopulationTable[9].InUse = true;  // a marker in use is not listed either
    computer.computePopulations(input(file), stats);
    EXPECT_EQ(stats[9], earlier);
}

TEST_F(MembershipTest, ShownPopulationRestrictsEveryRecord) {
    DotPlotStatisticsInput in = input(file);
    in.shownPopulation = 3;
    const auto stats = populations(in);
    EXPECT_EQ(stats[0].Number, 4);
    EXPECT_DOUBLE_EQ(stats[0].XMean, 25.0);
    // Only events 3 and 4 are in both slot 3 and slot 17; the share is of
    // the four events of slot 3.
    EXPECT_EQ(stats[17].Number, 2);
    EXPECT_DOUBLE_EQ(stats[17].XMean, 35.0);
    EXPECT_DOUBLE_EQ(stats[17].Fraction, 0.5);
    EXPECT_DOUBLE_EQ(stats[3].Fraction, 1.0);
}

TEST_F(MembershipTest, ShownPopulationAlsoRestrictsQuadrants) {
    DotPlotStatisticsInput in = input(file);
    in.shownPopulation = 17;
    in.quadrantX = 35;  // events at x 40, 50, 60 lie right of it
    in.quadrantY = 0;
    const auto q = quadrants(in);
    EXPECT_EQ(q[LowerLeft].Number, 1);
    EXPECT_EQ(q[LowerRight].Number, 3);
    EXPECT_DOUBLE_EQ(q[LowerRight].Fraction, 0.75);
}

TEST_F(MembershipTest, OnlyAMembershipByteOfOneCounts) {
    file.Membership(1, 3) = 2;
    file.Membership(2, 3) = 255;
    const auto stats = populations(input(file));
    EXPECT_EQ(stats[3].Number, 2);
    DotPlotStatisticsInput in = input(file);
    in.shownPopulation = 3;
    EXPECT_EQ(populations(in)[0].Number, 2);
}

TEST_F(MembershipTest, EmptyShownPopulationGivesZeroFractions) {
    DotPlotStatisticsInput in = input(file);
    in.shownPopulation = 8;  // no event belongs to it
    const auto stats = populations(in);
    EXPECT_EQ(stats[0], (DotPlotStatistics{0, 1.0, 0, 0, 0, 0}));
    EXPECT_EQ(stats[3], (DotPlotStatistics{0, 0.0, 0, 0, 0, 0}));
}

TEST_F(MembershipTest, ShortOrMissingMembershipColumnsReadNothingOutside) {
    // A file whose membership matrix has fewer events and columns than the
    // table: the missing bytes count as "not a member".
    file.Membership.resize(3, 10);
    for (int e = 1; e <= 3; ++e) file.Membership(e, 3) = 1;
    DotPlotStatisticsInput in = input(file);
    auto stats = populations(in);
    EXPECT_EQ(stats[0].Number, 6);
    EXPECT_EQ(stats[3].Number, 3);
    EXPECT_EQ(stats[17].Number, 0);
    in.shownPopulation = 17;
    stats = populations(in);
    EXPECT_EQ(stats[0].Number, 0);
    file.Membership.release();
    in.shownPopulation = 0;
    stats = populations(in);
    EXPECT_EQ(stats[0].Number, 6);
    EXPECT_EQ(stats[3].Number, 0);
}

TEST_F(MembershipTest, ChannelOutsideTheFileCountsNothing) {
    DotPlotStatisticsInput in = input(file);
    in.channelY = 3;
    const auto stats = populations(in);
    EXPECT_EQ(stats[0].Number, 0);
    EXPECT_EQ(stats[0].Fraction, 1.0);
}

TEST_F(MembershipTest, EventCountBelowTheLoadedEventsLimitsTheLoop) {
    file.EventCount = 4;
    EXPECT_EQ(populations(input(file))[0].Number, 4);
    file.EventCount = 100;  // more than the matrix holds: cut to the matrix
    EXPECT_EQ(populations(input(file))[0].Number, 6);
}

TEST_F(DotPlotStatisticsTest, ManyListedSlotsAllCounted) {
    // Every one of the 32 slots in use and holding event e when e % slot == 0.
    g.MaxPopulations = 16;
    std::vector<std::pair<float, float>> points;
    for (int e = 1; e <= 96; ++e) points.push_back({static_cast<float>(e), 2.0f});
    FileRecord file = PlaneFile(points);
    for (int k = 1; k <= 32; ++k) {
        if (k <= 16) PutPolygon(k, 1, 2, {{0, 0}, {1, 0}, {1, 1}});
        else { g.PopulationTable[static_cast<size_t>(k)].InUse = true; g.PopulationTable[static_cast<size_t>(k)].Name = "d"; }
        for (int e = k; e <= 96; e += k) file.Membership(e, k) = 1;
    }
    const auto stats = populations(input(file));
    for (int k = 1; k <= 32; ++k) {
        EXPECT_EQ(stats[static_cast<size_t>(k)].Number, 96 / k) << "slot " << k;
        // Mean of k, 2k, ..., (96/k)k
        EXPECT_DOUBLE_EQ(stats[static_cast<size_t>(k)].XMean, k * (96 / k + 1) / 2.0) << "slot " << k;
    }
}

// The records against a plain reference: every listed slot summed event by
// event with Log10, over values of every kind (zero, negative, subnormal,
// huge, infinite, not a number) and memberships of 0, 1 and other bytes.
TEST_F(DotPlotStatisticsTest, AgreesWithAPlainEventByEventReference) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> wide(-50.0f, 5000.0f);
    std::lognormal_distribution<float> skewed(3.0f, 4.0f);
    std::uniform_int_distribution<int> pick(0, 99);
    const float specials[] = {0.0f, -0.0f, -3.0f, 1e-40f, 1.4e-45f, 3.0e38f, 1.0f, 0.5f};
    std::vector<std::pair<float, float>> points;
    for (int e = 1; e <= 3000; ++e) {
        const float x = pick(rng) < 3 ? specials[static_cast<size_t>(e) % 8] : wide(rng);
        const float y = pick(rng) < 3 ? specials[static_cast<size_t>(e * 3) % 8] : skewed(rng);
        points.push_back({x, y});
    }
    FileRecord file = PlaneFile(points);
    for (int k = 1; k <= 32; ++k) {
        if (k <= 16) PutPolygon(k, 1, 2, {{0, 0}, {1, 0}, {1, 1}});
        else {
            g.PopulationTable[static_cast<size_t>(k)].InUse = true;
            g.PopulationTable[static_cast<size_t>(k)].Name = "d";
        }
        for (int e = 1; e <= 3000; ++e) {
            const int r = pick(rng);
            file.Membership(e, k) = r < 10 * (k % 7) + 5 ? 1 : (r < 95 ? 0 : 2);
        }
    }
    for (const int32_t step : {1, 4}) {
        DotPlotStatisticsInput in = input(file);
        in.eventStep = step;
        in.shownPopulation = step == 4 ? 20 : 0;
        const auto stats = populations(in);
        for (int k = 0; k <= 32; ++k) {
            int32_t n = 0;
            double sx = 0, sy = 0, lx = 0, ly = 0;
            for (int e = 1; e <= 3000; e += step) {
                if (in.shownPopulation && file.Membership(e, in.shownPopulation) != 1) continue;
                if (k && file.Membership(e, k) != 1) continue;
                const double x = file.WorkingData(e, 1), y = file.WorkingData(e, 2);
                ++n;
                sx += x;
                sy += y;
                lx += x > 0 ? std::log10(x) : 0.0;
                ly += y > 0 ? std::log10(y) : 0.0;
            }
            const DotPlotStatistics& s = stats[static_cast<size_t>(k)];
            ASSERT_EQ(s.Number, n) << "slot " << k << " step " << step;
            ASSERT_GT(n, 0);
            EXPECT_NEAR(s.XMean, sx / n, 1e-9 * std::fabs(sx / n)) << "slot " << k;
            EXPECT_NEAR(s.YMean, sy / n, 1e-9 * std::fabs(sy / n)) << "slot " << k;
            EXPECT_NEAR(s.XGeoMean, std::pow(10.0, lx / n), 1e-11 * std::pow(10.0, lx / n)) << "slot " << k;
            EXPECT_NEAR(s.YGeoMean, std::pow(10.0, ly / n), 1e-11 * std::pow(10.0, ly / n)) << "slot " << k;
        }
    }
}

// Quadrants against the dot placement made event by event, on linear and
// logarithmic axes (the shifted 262144 one included), with values around
// each line, at the ends of the float range and not finite.
TEST_F(DotPlotStatisticsTest, QuadrantsAgreeWithTheDotPlacementEventByEvent) {
    struct Axes {
        ParamSpec x, y;
    };
    const Axes axes[] = {{{"A", 10000}, {"B", 1024}},
                         {{"A", 262144, true}, {"B", 10000, true}},
                         {{"A", 1024, true}, {"B", 262144}},
                         {{"A", 0}, {"B", -500}}};
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> cross(0, 10000);
    std::lognormal_distribution<float> wide(4.0f, 3.0f);
    const float specials[] = {0.0f,
                              -0.0f,
                              -1.0f,
                              1.0f,
                              std::numeric_limits<float>::max(),
                              -std::numeric_limits<float>::max(),
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::denorm_min()};
    for (const bool fold : {false, true}) {
        g.UseNegativeAbs = fold;
        for (const Axes& a : axes) {
            for (int trial = 0; trial < 4; ++trial) {
                const int32_t cx = cross(rng), cy = cross(rng);
                const AxisScale sx = AxisScale::forParameter({"A", a.x.isLog, a.x.range, false}, 10000.0);
                const AxisScale sy = AxisScale::forParameter({"B", a.y.isLog, a.y.range, false}, 10000.0);
                std::vector<std::vector<float>> events;
                for (int i = 0; i < 400; ++i) {
                    const float v = i < 10 ? specials[i] : (i % 3 ? wide(rng) : -wide(rng));
                    const float w = i < 10 ? specials[9 - i] : wide(rng);
                    events.push_back({v, w});
                    // Values next to the place of the lines.
                    events.push_back({std::nextafter(v, 0.0f), std::nextafter(w, 1e30f)});
                }
                for (const float base : {static_cast<float>(cx) / 10000.0f * static_cast<float>(a.x.range),
                                         static_cast<float>(10000 - cy) / 10000.0f * static_cast<float>(a.y.range)})
                    for (float v = base, n = 0; n < 5; ++n, v = std::nextafter(v, 1e30f))
                        events.push_back({v, v}), events.push_back({-v, -v});
                const FileRecord file = MakeFile({a.x, a.y}, events);
                DotPlotStatisticsInput in = input(file);
                in.quadrantX = cx;
                in.quadrantY = cy;
                const auto q = quadrants(in);
                std::array<int32_t, 4> expected{};
                for (const auto& e : events) {
                    const double px = sx.position(e[0]);
                    const double py = 10000.0 - sy.position(e[1]);
                    ++expected[static_cast<size_t>((px >= cx ? 1 : 0) + (py >= cy ? 2 : 0))];
                }
                for (size_t k = 0; k < 4; ++k)
                    EXPECT_EQ(q[k].Number, expected[k])
                        << "quadrant " << k << " axes " << a.x.range << "/" << a.y.range << " fold " << fold;
            }
        }
    }
}

TEST_F(DotPlotStatisticsTest, InfiniteAndNotANumberValuesAsTheLogarithmGivesThem) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Not a number counts as log 0 (it is not above 0); infinity makes the
    // geometric mean infinite.
    const FileRecord file = PlaneFile({{nan, inf}, {100, 10}});
    const auto stats = populations(input(file));
    EXPECT_EQ(stats[0].Number, 2);
    EXPECT_TRUE(std::isnan(stats[0].XMean));
    EXPECT_DOUBLE_EQ(stats[0].XGeoMean, 10.0);
    EXPECT_TRUE(std::isinf(stats[0].YGeoMean));
}

// A 16-bit file whose stored values carry flag bits above their 1024 range,
// as instruments write them: the bits are no part of the value, so every
// statistic is a number and each event sits where its channel puts it.
TEST_F(DotPlotStatisticsTest, IntegersBeyondTheirRangeGiveFiniteStatistics) {
    test::FcsTestFile fcs;
    fcs.DataType = "I";
    fcs.Bits = 16;
    fcs.param("FL1 Log", "1024", "4,0").param("SSC", "1024");
    // Channels 528 (flag 0x4000 set), 100 (flag 0x8000 set) and 900.
    fcs.event({16912, 100}).event({100, 32868}).event({900, 700});
    const FileRecord file = ReadFcsData(test::FcsTestBytes(fcs), "/data/flags.fcs");
    ASSERT_TRUE(file.Loaded) << file.RefusalReason;
    DotPlotStatisticsInput in = input(file);
    in.quadrantX = 5000;
    in.quadrantY = 5000;
    const auto stats = populations(in);
    const auto q = quadrants(in);

    const double x1 = std::pow(10.0, 528 / 340.0), x2 = std::pow(10.0, 100 / 340.0), x3 = std::pow(10.0, 900 / 340.0);
    EXPECT_EQ(stats[0].Number, 3);
    EXPECT_NEAR(stats[0].XMean, (x1 + x2 + x3) / 3, 1e-3);
    EXPECT_NEAR(stats[0].XGeoMean, std::cbrt(x1 * x2 * x3), 1e-3);
    EXPECT_NEAR(stats[0].YMean, (100 + 100 + 700) / 3.0, 1e-9);
    // Channel 528 of 1024 lies right of the middle, 100 left; SSC 100 low, 700 high.
    EXPECT_EQ(q[LowerRight].Number, 1);
    EXPECT_EQ(q[LowerLeft].Number, 1);
    EXPECT_EQ(q[UpperRight].Number, 1);
    EXPECT_EQ(q[UpperLeft].Number, 0);
    for (const DotPlotStatistics& s : {stats[0], q[0], q[1], q[2], q[3]}) {
        EXPECT_TRUE(std::isfinite(s.XMean) && std::isfinite(s.YMean));
        EXPECT_TRUE(std::isfinite(s.XGeoMean) && std::isfinite(s.YGeoMean));
    }
}

// A float file's log channel far beyond what a float holds once linearised:
// the value stops at the largest float, so the means stay numbers.
TEST_F(DotPlotStatisticsTest, FloatLogChannelsBeyondTheFloatsGiveFiniteStatistics) {
    test::FcsTestFile fcs;
    fcs.param("FL1 Log", "1024", "4,0").param("SSC", "1024");
    fcs.event({1e30, 100}).event({340, 700});
    const FileRecord file = ReadFcsData(test::FcsTestBytes(fcs), "/data/float-log.fcs");
    ASSERT_TRUE(file.Loaded) << file.RefusalReason;
    const auto stats = populations(input(file));
    const double top = std::numeric_limits<float>::max();
    EXPECT_EQ(stats[0].Number, 2);
    EXPECT_DOUBLE_EQ(stats[0].XMean, (top + 10.0) / 2);
    EXPECT_NEAR(stats[0].XGeoMean / std::sqrt(top * 10.0), 1.0, 1e-6);
    EXPECT_TRUE(std::isfinite(stats[0].XMean) && std::isfinite(stats[0].XGeoMean));
}

struct LookupCase {
    const char* region;
    const char* stat;
    double expected;
};
std::string describe(const LookupCase& c) { return std::string("region \"") + c.region + "\" " + c.stat; }
void PrintTo(const LookupCase& c, std::ostream* os) { *os << describe(c); }

class LookupTest : public ::testing::TestWithParam<LookupCase> {
protected:
    static std::vector<DotPlotStatistics> Stats() {
        std::vector<DotPlotStatistics> s(33);
        s[0] = {40, 1.0, 11, 12, 13, 14};
        s[2] = {2, 0.05, 21, 22, 23, 24};
        s[3] = {3, 0.075, 31, 32, 33, 34};
        s[4] = {4, 0.1, 41, 42, 43, 44};
        s[17] = {17, 0.425, 171, 172, 173, 174};
        s[32] = {32, 0.8, 321, 322, 323, 324};
        return s;
    }
    static DotPlotQuadrantStatistics Quadrants() {
        return {DotPlotStatistics{10, 0.25, 1, 2, 3, 4}, DotPlotStatistics{11, 0.275, 5, 6, 7, 8},
                DotPlotStatistics{12, 0.3, 9, 10, 11, 12}, DotPlotStatistics{7, 0.175, 13, 14, 15, 16}};
    }
};

TEST_P(LookupTest, AnswersTheStoredValue) {
    const LookupCase& c = GetParam();
    const auto v = LookUpDotPlotStatistic(Stats(), Quadrants(), c.region, c.stat);
    ASSERT_TRUE(v.has_value());
    EXPECT_DOUBLE_EQ(*v, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, LookupTest,
    ::testing::Values(LookupCase{"ul", "vis", 25}, LookupCase{"ur", "number", 11}, LookupCase{"ll", "xmean", 9},
                      LookupCase{"lr", "ygeomean", 16}, LookupCase{"UL", "vis", 0}, LookupCase{"ul", "Vis", 0},
                      LookupCase{"0", "number", 40}, LookupCase{"17", "xgeomean", 173},
                      LookupCase{"3", "ymean", 32}, LookupCase{" 3 ", "number", 3},
                      LookupCase{"2.5", "number", 2},   // halves to even
                      LookupCase{"3.5", "number", 4}, LookupCase{"3,4", "number", 3},
                      LookupCase{"32", "vis", 80}, LookupCase{"0.4", "number", 40},
                      LookupCase{"-0.5", "number", 40},  // rounds to slot 0
                      LookupCase{"abc", "number", 0}, LookupCase{"", "number", 0},
                      // Any other statistic is 0, even for a slot outside the table.
                      LookupCase{"33", "count", 0}, LookupCase{"-7", "", 0}),
    [](const auto& info) { return test::TestNameOf(describe(info.param), info.index); });

class BadRegionTest : public LookupTest {};

TEST_F(BadRegionTest, SlotOutsideTheTableGivesNoValue) {
    for (const char* region : {"33", "-1", "32.5000001", "1e300", "-0.6", "100"})
        for (const char* stat : {"number", "vis", "xmean", "ymean", "xgeomean", "ygeomean"})
            EXPECT_FALSE(LookUpDotPlotStatistic(Stats(), Quadrants(), region, stat).has_value())
                << region << " " << stat;
}

}  // namespace
}  // namespace qv
