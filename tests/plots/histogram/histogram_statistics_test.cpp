// The histogram's statistics: values, the entries that are computed, the
// grid and the lookup by region and key.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/SharedState.h"
#include "output/model/StatisticsGrid.h"
#include "plots/histogram/model/HistogramStatistics.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

using test::MakeFile;

PopulationRecord& putMarker(int slot, int axis, const std::string& name) {
    PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
    p.InUse = true;
    p.Type = "Histogram";
    p.AxisX = static_cast<int16_t>(axis);
    p.Corners = 2;
    p.Name = name;
    return p;
}

class HistogramStatisticsTest : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }

    HistogramStatisticsInput input(const FileRecord& f, int channel = 1, int32_t step = 1, int shown = 0) {
        HistogramStatisticsInput in;
        in.file = &f;
        in.channel = channel;
        in.drawStep = step;
        in.shownPopulation = shown;
        in.populations = std::span<const PopulationRecord>(g.PopulationTable);
        return in;
    }

    HistogramStatisticsComputer computer;
    std::vector<HistogramStatistics> stats;
};

TEST_F(HistogramStatisticsTest, MarkerValuesGiveMeanGeometricMeanAndCv) {
    FileRecord f = MakeFile({{"FL1", 1024}}, {{1}, {2}, {3}, {100}});
    putMarker(3, 1, "Histo-3");
    for (int e = 1; e <= 3; ++e) f.Membership(e, 3) = 1;
    computer.compute(input(f), stats);

    const HistogramStatistics& m = stats[3];
    EXPECT_EQ(m.Number, 3);
    EXPECT_DOUBLE_EQ(m.Fraction, 0.75);
    EXPECT_DOUBLE_EQ(m.Mean, 2.0);
    EXPECT_NEAR(m.GeoMean, std::pow(10.0, (std::log10(2.0) + std::log10(3.0)) / 3), 1e-12);
    EXPECT_NEAR(m.CV, std::sqrt(2.0 / 3.0) / 2.0, 1e-12);
    EXPECT_EQ(stats[0].Number, 4);
    EXPECT_EQ(stats[0].Fraction, 1.0);
    EXPECT_DOUBLE_EQ(stats[0].Mean, 26.5);
}

TEST_F(HistogramStatisticsTest, ValuesAtOrBelowZero) {
    struct Case {
        std::vector<float> values;
        double mean, geo, cv;
    } cases[] = {
        {{0, -2, -4}, -2.0, 1.0, 0.0},             // every log counts as 0
        {{0, 0}, 0.0, 1.0, 0.0},                   // mean 0: no CV
        {{-1, 10}, 4.5, std::pow(10.0, 0.5), 5.5 / 4.5},  // the log of -1 counts as 0
    };
    for (const Case& c : cases) {
        std::vector<std::vector<float>> events;
        for (float v : c.values) events.push_back({v});
        const FileRecord f = MakeFile({{"FL1", 1024}}, events);
        computer.compute(input(f), stats);
        EXPECT_NEAR(stats[0].Mean, c.mean, 1e-12);
        EXPECT_NEAR(stats[0].GeoMean, c.geo, 1e-12);
        EXPECT_NEAR(stats[0].CV, c.cv, 1e-12);
    }
}

TEST_F(HistogramStatisticsTest, EmptyEntriesAreZeroAndFractionRelativeToVisible) {
    FileRecord f = MakeFile({{"FL1", 1024}}, {{5}, {6}});
    putMarker(1, 1, "Histo-1");
    computer.compute(input(f), stats);
    EXPECT_EQ(stats[1], HistogramStatistics{});
    // No file events at all: entry 0 keeps Fraction 1 with nothing else.
    const FileRecord empty = MakeFile({{"FL1", 1024}}, {});
    computer.compute(input(empty), stats);
    EXPECT_EQ(stats[0].Number, 0);
    EXPECT_EQ(stats[0].Fraction, 1.0);
    EXPECT_EQ(stats[0].Mean, 0.0);
}

TEST_F(HistogramStatisticsTest, FastDrawStepVisitsEveryStepthEvent) {
    std::vector<std::vector<float>> events;
    for (int e = 1; e <= 10; ++e) events.push_back({static_cast<float>(e)});
    const FileRecord f = MakeFile({{"FL1", 1024}}, events);
    computer.compute(input(f, 1, 3), stats);  // events 1, 4, 7, 10
    EXPECT_EQ(stats[0].Number, 4);
    EXPECT_DOUBLE_EQ(stats[0].Mean, 5.5);
}

TEST_F(HistogramStatisticsTest, ShownPopulationLimitsEveryEntry) {
    FileRecord f = MakeFile({{"FL1", 1024}}, {{1}, {2}, {3}, {4}});
    g.PopulationTable[7].InUse = true;
    putMarker(2, 1, "Histo-2");
    for (int e : {1, 2, 3}) f.Membership(e, 7) = 1;  // shown population
    for (int e : {3, 4}) f.Membership(e, 2) = 1;
    computer.compute(input(f, 1, 1, 7), stats);
    EXPECT_EQ(stats[0].Number, 3);
    EXPECT_EQ(stats[2].Number, 1);  // event 4 is not visible
    EXPECT_NEAR(stats[2].Fraction, 1.0 / 3.0, 1e-15);
}

TEST_F(HistogramStatisticsTest, OnlyMarkersOfTheChannelAndDefinitionsInUseAreComputedAndListed) {
    FileRecord f = MakeFile({{"FL1", 1024}, {"FL2", 1024}}, {{1, 1}, {2, 2}});
    for (int e : {1, 2}) {
        f.Membership(e, 1) = 1;
        f.Membership(e, 2) = 1;
        f.Membership(e, 3) = 1;
        f.Membership(e, 17) = 1;
    }
    putMarker(1, 1, "Histo-1");
    putMarker(2, 2, "Histo-2");                    // another channel
    test::PutPolygon(3, 1, 2, {{0, 0}, {1, 1}}); // another gate type
    g.PopulationTable[17].InUse = true;
    g.PopulationTable[17].Name = "Histo-1 AND Poly-3";
    stats.assign(33, HistogramStatistics{});
    stats[2].Number = 77;  // left as it was
    computer.compute(input(f), stats);
    EXPECT_EQ(stats[1].Number, 2);
    EXPECT_EQ(stats[2].Number, 77);
    EXPECT_EQ(stats[3].Number, 0);
    EXPECT_EQ(stats[17].Number, 2);

    StatisticsGrid grid;
    HistogramGridOptions options;
    options.columnShown = {false, true, true, true, true, true};
    FillHistogramStatisticsGrid(grid, options, f, g.PopulationTable, stats);
    ASSERT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.text(1, 0), "Visible");
    EXPECT_EQ(grid.text(2, 0), "Histo-1");
    EXPECT_EQ(grid.text(3, 0), "Histo-1 AND Poly-3");
}

TEST_F(HistogramStatisticsTest, GridShowsHeadersAndCutValues) {
    FileRecord f = MakeFile({{"FL1", 1024}}, {{1}, {2}, {3}});
    f.Comment = "first\rsecond";
    putMarker(1, 1, "Histo-1");
    for (int e = 1; e <= 3; ++e) f.Membership(e, 1) = 1;
    computer.compute(input(f), stats);
    stats[1].Mean = -1.234;

    StatisticsGrid grid;
    HistogramGridOptions options;
    options.columnShown = {false, true, true, true, true, true};
    options.commentsRow = true;
    options.fastDraw = true;
    FillHistogramStatisticsGrid(grid, options, f, g.PopulationTable, stats);
    EXPECT_EQ(grid.text(0, 0), "Comments");
    EXPECT_EQ(grid.text(0, 1), " first, second");
    EXPECT_EQ(grid.text(0, 5), " first, second");
    const std::vector<std::string> header = {"FAST DRAW", "Number", "% of vis", "X mean", "X geomean", "CV"};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(grid.text(1, c), header[static_cast<size_t>(c)]);
    const std::vector<std::string> visible = {"Visible", "3", "100", "2", "1.81", "40.82"};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(grid.text(2, c), visible[static_cast<size_t>(c)]);
    EXPECT_EQ(grid.text(3, 3), "-1.24");

    // Only columns 1 and 3, while copying: information text once.
    options.columnShown = {false, true, false, true, false, false};
    options.copying = true;
    options.fastDraw = false;
    FillHistogramStatisticsGrid(grid, options, f, g.PopulationTable, stats);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.text(0, 2), "");
    EXPECT_EQ(grid.text(1, 0), "");
    EXPECT_EQ(grid.text(1, 2), "X mean");
    EXPECT_EQ(grid.width(), 1500 + 2 * grid.standardColumnWidth() + 100);

    // Without any statistics column the comments row keeps column 1 for
    // its text.
    options.columnShown = {};
    FillHistogramStatisticsGrid(grid, options, f, g.PopulationTable, stats);
    EXPECT_EQ(grid.Cols(), 2);
    EXPECT_EQ(grid.text(0, 1), " first, second");
    EXPECT_EQ(grid.text(2, 0), "Visible");

    // Without an information row either: labels alone.
    options.commentsRow = false;
    FillHistogramStatisticsGrid(grid, options, f, g.PopulationTable, stats);
    EXPECT_EQ(grid.Cols(), 1);
    EXPECT_EQ(grid.text(1, 0), "Visible");
}

// A one-event table shows its value as typed in the mean and geometric mean,
// although the event holds it as the nearest 32-bit value (4.35 is stored as
// 4.3499999); where a float's step nears a hundredth, what it stores is cut.
struct TypedValue {
    const char* name;
    float value;
    const char* shown;
};

void PrintTo(const TypedValue& c, std::ostream* out) { *out << c.name; }

class HistogramTypedValue : public HistogramStatisticsTest, public ::testing::WithParamInterface<TypedValue> {};

TEST_P(HistogramTypedValue, OneEventShowsItsValueAsTyped) {
    const TypedValue& c = GetParam();
    FileRecord f = MakeFile({{"X", 1023}}, {{c.value}}, "typed.txt");
    computer.compute(input(f), stats);
    StatisticsGrid grid;
    HistogramGridOptions options;
    options.columnShown = {false, true, true, true, true, true};
    FillHistogramStatisticsGrid(grid, options, f, g.PopulationTable, stats);
    ASSERT_EQ(grid.text(1, 0), "Visible");
    EXPECT_EQ(grid.text(1, 1), "1");
    EXPECT_EQ(grid.text(1, 2), "100");
    EXPECT_EQ(grid.text(1, 3), c.shown);
    EXPECT_EQ(grid.text(1, 4), c.shown);
    EXPECT_EQ(grid.text(1, 5), "0");
}

INSTANTIATE_TEST_SUITE_P(Values, HistogramTypedValue,
                         ::testing::Values(TypedValue{"FourPointThirtyFive", 4.35f, "4.35"},
                                           TypedValue{"NoughtPointTwentyNine", 0.29f, "0.29"},
                                           TypedValue{"OnePointFifteen", 1.15f, "1.15"},
                                           TypedValue{"BelowTheHundredthIsCut", 4.359f, "4.35"},
                                           TypedValue{"TwoHundredThousandIsCut", 200000.015625f, "200000.01"},
                                           TypedValue{"FiftyThousandIsCut", 50000.0078125f, "50000"}),
                         [](const ::testing::TestParamInfo<TypedValue>& info) { return std::string(info.param.name); });

TEST_F(HistogramStatisticsTest, LookUpByRegionAndKey) {
    std::vector<HistogramStatistics> s(33);
    s[0] = {10, 1.0, 5.0, 4.0, 0.25};
    s[2] = {2, 0.2, 1.0, 1.0, 0.0};
    s[4] = {4, 0.4, 1.0, 1.0, 0.0};
    struct Case {
        const char* region;
        const char* stat;
        double value;
    } cases[] = {
        {"0", "vis", 100}, {"0", "cv", 25}, {"0", "xmean", 5}, {"0", "xgeomean", 4}, {"0", "number", 10},
        {"abc", "number", 0}, {"0", "CV", 0}, {"2.5", "number", 2}, {"3.5", "number", 4}, {" 2", "number", 2},
    };
    for (const Case& c : cases) {
        const auto v = LookUpHistogramStatistic(s, c.region, c.stat);
        ASSERT_TRUE(v.has_value()) << c.region << " " << c.stat;
        EXPECT_DOUBLE_EQ(*v, c.value) << c.region << " " << c.stat;
    }
    for (const char* outside : {"33", "-1", "1e12"})
        EXPECT_FALSE(LookUpHistogramStatistic(s, outside, "number").has_value()) << outside;
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

TEST_F(HistogramStatisticsTest, OnlyMembershipOneCountsAcrossEveryGroupOfSlots) {
    // 19 events (not a multiple of 8) and 16 markers: every group of slots
    // and the tail of each block are read. A membership byte other than 1
    // is no membership.
    std::vector<std::vector<float>> events;
    for (int e = 1; e <= 19; ++e) events.push_back({static_cast<float>(e)});
    FileRecord f = MakeFile({{"FL1", 1024}}, events);
    for (int k = 1; k <= 16; ++k) {
        putMarker(k, 1, "Histo-" + std::to_string(k));
        for (int e = 1; e <= k; ++e) f.Membership(e, k) = 1;
        f.Membership(19, k) = 2;
    }
    computer.compute(input(f), stats);
    for (int k = 1; k <= 16; ++k) {
        EXPECT_EQ(stats[static_cast<size_t>(k)].Number, k) << k;
        EXPECT_DOUBLE_EQ(stats[static_cast<size_t>(k)].Mean, (k + 1) / 2.0) << k;
    }
    computer.compute(input(f, 1, 2), stats);  // events 1, 3, 5, ...
    EXPECT_EQ(stats[16].Number, 8);
}

}  // namespace
}  // namespace qv
