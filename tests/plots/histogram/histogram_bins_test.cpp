// Binning, smoothing, Y maximum, axis ticks and the bin-count text.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/AxisScaling.h"
#include "core/AxisTicks.h"
#include "core/SharedState.h"
#include "plots/histogram/model/HistogramBins.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

using test::MakeFile;

class HistogramBinsTest : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
};

TEST_F(HistogramBinsTest, EventsFallIntoTheBinOfTheirWholePosition) {
    struct Case {
        float value;
        int bin;  // -1: not counted
    } cases[] = {
        {0.0f, 0},  {-5.0f, 0},    {0.999f, 0},   {1.0f, 1},      {511.999f, 511},
        {512.0f, 512}, {1023.5f, 1023}, {1024.0f, 1024}, {1025.0f, -1}, {5000.0f, -1},
    };
    for (const Case& c : cases) {
        const FileRecord f = MakeFile({{"FL1", 1024}}, {{c.value}});
        std::vector<double> counts;
        BinEvents(f, {1, 1024, 1, 0}, counts);
        ASSERT_EQ(counts.size(), 1025u);
        double total = 0;
        for (double v : counts) total += v;
        if (c.bin < 0) {
            EXPECT_EQ(total, 0.0) << c.value;
        } else {
            EXPECT_EQ(total, 1.0) << c.value;
            EXPECT_EQ(counts[static_cast<size_t>(c.bin)], 1.0) << c.value;
        }
    }
}

TEST_F(HistogramBinsTest, StepAndShownPopulationChooseTheEvents) {
    std::vector<std::vector<float>> events;
    for (int e = 1; e <= 10; ++e) events.push_back({static_cast<float>(e * 10)});
    FileRecord f = MakeFile({{"FL1", 1024}}, events);
    std::vector<double> counts;

    BinEvents(f, {1, 1024, 3, 0}, counts);  // events 1, 4, 7, 10
    for (int bin : {10, 40, 70, 100}) EXPECT_EQ(counts[static_cast<size_t>(bin)], 1.0) << bin;
    EXPECT_EQ(counts[20], 0.0);

    f.Membership(2, 5) = 1;
    f.Membership(4, 5) = 1;
    BinEvents(f, {1, 1024, 1, 5}, counts);
    EXPECT_EQ(counts[20], 1.0);
    EXPECT_EQ(counts[40], 1.0);
    EXPECT_EQ(counts[10], 0.0);

    // A channel the file lacks bins nothing.
    BinEvents(f, {3, 1024, 1, 0}, counts);
    for (double v : counts) EXPECT_EQ(v, 0.0);
}

TEST_F(HistogramBinsTest, LogParameterBinsByItsDecades) {
    const FileRecord f = MakeFile({{"FL1", 10000, true}}, {{10000.0f}, {1.0f}, {20000.0f}});
    std::vector<double> counts;
    BinEvents(f, {1, 1024, 1, 0}, counts);
    const int top = static_cast<int>(std::floor(ScaleEventToAxis(f, 1, 1, 1024)));
    EXPECT_EQ(top, 1024);
    EXPECT_EQ(counts[1024], 1.0);
    double total = 0;
    for (double v : counts) total += v;
    EXPECT_EQ(total, 2.0);  // 20000 lies beyond the axis
}

TEST_F(HistogramBinsTest, SmoothingIsAForwardMeanInSinglePrecisionWithAFlatTail) {
    // Resolution 8, width 2: bin k takes the mean of the raw bins k..k+2;
    // bins 6, 7 and 8 all hold the mean of raw bins 6..8.
    std::vector<double> counts = {7, 1, 0, 0, 3, 3, 3, 1, 2};
    SmoothCounts(counts, 2);
    EXPECT_EQ(counts[0], 7.0);  // bin 0 is never smoothed
    EXPECT_EQ(counts[1], static_cast<double>(1.0f / 3.0f));
    EXPECT_NE(counts[1], 1.0 / 3.0);  // single precision, not double
    EXPECT_EQ(counts[2], 1.0);
    EXPECT_EQ(counts[3], 2.0);
    EXPECT_EQ(counts[4], 3.0);
    EXPECT_EQ(counts[5], static_cast<double>(7.0f / 3.0f));
    for (int k : {6, 7, 8}) EXPECT_EQ(counts[static_cast<size_t>(k)], 2.0) << k;

    std::vector<double> unchanged = {1, 2, 3};
    SmoothCounts(unchanged, 0);
    EXPECT_EQ(unchanged, (std::vector<double>{1, 2, 3}));
}

TEST_F(HistogramBinsTest, SmoothingWiderThanTheResolutionIsKeptBelowIt) {
    std::vector<double> counts = {0, 1, 2, 3, 6};
    SmoothCounts(counts, 99);  // as width 3: the mean of bins 1..4 everywhere
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(counts[static_cast<size_t>(k)], 3.0) << k;
    EXPECT_EQ(counts[0], 0.0);
}

TEST_F(HistogramBinsTest, YMaximumComesFromBins10ToResolutionMinus10) {
    std::vector<double> counts(1025, 0.0);
    EXPECT_EQ(HistogramYMax(counts, 0), 1.0f);  // never below 1
    counts[5] = 900;
    counts[1020] = 800;
    EXPECT_EQ(HistogramYMax(counts, 0), 1.0f);
    counts[10] = 40;
    counts[1014] = 41.5;
    EXPECT_EQ(HistogramYMax(counts, 0), 41.5f);
    EXPECT_EQ(HistogramYMax(counts, 500), 500.0f);
}

TEST_F(HistogramBinsTest, LinearTicksStepByTheRangesDigits) {
    struct Case {
        int32_t range;
        size_t ticks;
        double lastFraction;
    } cases[] = {{1024, 103, 1020.0 / 1024}, {262144, 263, 262000.0 / 262144}, {100, 101, 1.0}, {10, 101, 1.0}};
    for (const Case& c : cases) {
        const std::vector<double> t = LinearTickDistances(c.range, 500.0);
        ASSERT_EQ(t.size(), c.ticks) << c.range;
        EXPECT_EQ(t.front(), 0.0);
        EXPECT_NEAR(t.back(), 500.0 * c.lastFraction, 1e-9) << c.range;
    }
    EXPECT_TRUE(LinearTickDistances(0, 500.0).empty());
    EXPECT_TRUE(LinearTickDistances(-3, 500.0).empty());
    EXPECT_TRUE(LinearTickDistances(1024, 0.0).empty());
}

TEST_F(HistogramBinsTest, LogTicksStopAtTheAxisEndAndAlwaysEnd) {
    const std::vector<double> t = LogTickDistances(10000, 400.0);
    // 1..10, 10..100, 100..1000, 1000..10000: the tick at 10000 lies on the end.
    ASSERT_FALSE(t.empty());
    EXPECT_NEAR(t.back(), 400.0, 1e-6);
    EXPECT_LE(t.back(), 400.0);
    for (size_t i = 1; i < t.size(); ++i) EXPECT_GE(t[i], t[i - 1]);
    EXPECT_GE(t.size(), 39u);
    EXPECT_LE(t.size(), 41u);

    EXPECT_TRUE(LogTickDistances(1, 400.0).empty());
    EXPECT_TRUE(LogTickDistances(0, 400.0).empty());
    EXPECT_TRUE(LogTickDistances(10000, 0.0).empty());
    EXPECT_TRUE(LogTickDistances(10000, -20.0).empty());
    // A huge range still ends within the 32-bit values.
    EXPECT_LT(LogTickDistances(INT32_MAX, 400.0).size(), 100u);
}

TEST_F(HistogramBinsTest, BinCountTextHasOneLinePerBinFromBin1) {
    const std::vector<double> counts = {99, 3, 0, static_cast<double>(1.0f / 3.0f), 12.5};
    EXPECT_EQ(BinCountsText(counts), "3\n0\n0.333333343267441\n12.5\n");
    EXPECT_EQ(BinCountsText(std::vector<double>(1025, 1.0)).size(), 2048u);
}

}  // namespace
}  // namespace qv
