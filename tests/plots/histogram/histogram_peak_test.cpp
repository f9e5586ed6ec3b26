// The peak inside a marker and the height at a position, as tools read them
// from a histogram's last draw.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "plots/histogram/model/HistogramPeak.h"

namespace qv {
namespace {

PopulationRecord markerOver(int32_t firstBin, int32_t lastBin, int32_t resolution) {
    PopulationRecord m;
    // Ends placed inside their bins, so Int() lands on them.
    m.CornerX[1] = static_cast<float>((firstBin + 0.5) / resolution * 10000.0);
    m.CornerX[2] = static_cast<float>((lastBin + 0.5) / resolution * 10000.0);
    return m;
}

TEST(HistogramPeakTest, LowestOfTheHighestBinsByKey) {
    std::vector<double> counts(1025, 0.0);
    const double peak[] = {0, 5, 9, 9, 3};
    for (int i = 0; i < 5; ++i) counts[static_cast<size_t>(100 + i)] = peak[i];
    const PopulationRecord m = markerOver(100, 104, 1024);
    EXPECT_EQ(HistogramPeak(counts, 1024, 18.0f, m, "paikka"), 996);
    EXPECT_EQ(HistogramPeak(counts, 1024, 18.0f, m, "abskorkeus"), 9);
    EXPECT_EQ(HistogramPeak(counts, 1024, 18.0f, m, "suhtkorkeus"), 5000);
    EXPECT_EQ(HistogramPeak(counts, 1024, 18.0f, m, "Paikka"), 0);
}

TEST(HistogramPeakTest, EmptyRangesReversedEndsAndHalfCounts) {
    std::vector<double> counts(1025, 0.0);
    EXPECT_EQ(HistogramPeak(counts, 1024, 1.0f, markerOver(10, 20, 1024), "paikka"), 0);
    EXPECT_EQ(HistogramPeak(counts, 1024, 1.0f, markerOver(10, 20, 1024), "suhtkorkeus"), 0);
    counts[15] = 2.5;
    EXPECT_EQ(HistogramPeak(counts, 1024, 1.0f, markerOver(10, 20, 1024), "abskorkeus"), 2);
    counts[15] = 3.5;
    EXPECT_EQ(HistogramPeak(counts, 1024, 1.0f, markerOver(10, 20, 1024), "abskorkeus"), 4);
    EXPECT_EQ(HistogramPeak(counts, 1024, 1.0f, markerOver(20, 10, 1024), "abskorkeus"), 0);
    // A window that never drew has no counts.
    EXPECT_EQ(HistogramPeak({}, 1024, 0.0f, markerOver(10, 20, 1024), "suhtkorkeus"), 0);
}

TEST(HistogramPeakTest, HeightAtAPositionReadsItsBin) {
    std::vector<double> counts(1025, 0.0);
    counts[512] = 4.0;
    EXPECT_EQ(HistogramHeightAt(counts, 1024, 8.0f, 5000), 5000);
    EXPECT_EQ(HistogramHeightAt(counts, 1024, 8.0f, 10000), 0);
    EXPECT_EQ(HistogramHeightAt({}, 1024, 0.0f, 5000), 0);
    EXPECT_THROW(HistogramHeightAt(counts, 1024, 8.0f, 10001), std::out_of_range);
    EXPECT_THROW(HistogramHeightAt(counts, 1024, 8.0f, -1), std::out_of_range);
}

}  // namespace
}  // namespace qv
