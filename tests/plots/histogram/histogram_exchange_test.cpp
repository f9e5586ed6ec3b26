// What a histogram hands to overlay and mirror windows and to tools: the
// peak inside a marker and the height at a position, from known counts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "plots/histogram/model/HistogramExchange.h"

namespace qv {
namespace {

// Bins 0..1024, with 0, 5, 9, 9, 3 in bins 100..104.
std::vector<double> PeakCounts() {
    std::vector<double> c(1025, 0.0);
    const double v[] = {0, 5, 9, 9, 3};
    for (int k = 0; k < 5; ++k) c[static_cast<size_t>(100 + k)] = v[k];
    return c;
}

float SpaceOfBin(double b) { return static_cast<float>(b / 1024.0 * 10000.0); }

struct PeakCase {
    const char* name;
    float end1, end2;
    const char* key;
    int32_t expected;
};

TEST(HistogramExchange, PeakInsideAMarkerByKey) {
    const std::vector<double> counts = PeakCounts();
    // Ends a little inside bins 100 and 104 so that Int lands on them.
    const float lo = SpaceOfBin(100.2), hi = SpaceOfBin(104.2);
    const PeakCase cases[] = {
        {"position of the lower of two equal peaks", lo, hi, "paikka", 996},
        {"absolute height", lo, hi, "abskorkeus", 9},
        {"relative height of 9 over a Y maximum of 18", lo, hi, "suhtkorkeus", 5000},
        {"an unknown key", lo, hi, "Paikka", 0},
        {"empty bins give bin 0, not the lower end", SpaceOfBin(500.5), SpaceOfBin(600.5), "paikka", 0},
        {"empty bins give height 0", SpaceOfBin(500.5), SpaceOfBin(600.5), "abskorkeus", 0},
        {"ends in the wrong order", hi, lo, "abskorkeus", 0},
        {"ends far outside the axis are kept within the table", -1e9f, 1e9f, "abskorkeus", 9},
    };
    for (const PeakCase& c : cases) {
        const auto v = HistogramPeak(counts, 18.0f, c.end1, c.end2, c.key);
        ASSERT_TRUE(v.has_value()) << c.name;
        EXPECT_EQ(*v, c.expected) << c.name;
    }
}

TEST(HistogramExchange, SmoothedPeaksRoundHalfToEven) {
    std::vector<double> counts(1025, 0.0);
    counts[200] = 2.5;
    EXPECT_EQ(HistogramPeak(counts, 1.0f, 0, 10000, "abskorkeus"), 2);
    counts[200] = 3.5;
    EXPECT_EQ(HistogramPeak(counts, 1.0f, 0, 10000, "abskorkeus"), 4);
}

TEST(HistogramExchange, HeightAtAPositionGivesBackTheBinRead) {
    std::vector<double> counts(1025, 0.0);
    counts[512] = 30;
    counts[1024] = 6;
    struct Case {
        double position;
        int32_t bin, height;
    } cases[] = {{5000, 512, 5000}, {-300, 0, 0}, {10000, 1024, 1000}, {25000, 1024, 1000}};
    for (const Case& c : cases) {
        int32_t bin = -1;
        EXPECT_EQ(HistogramHeightAt(counts, 60.0f, c.position, bin), c.height) << c.position;
        EXPECT_EQ(bin, c.bin) << c.position;
    }
}

TEST(HistogramExchange, NeverDrawnAnswersZeroAndBadArgumentsAreRefused) {
    const std::vector<double> none;
    int32_t bin = -1;
    EXPECT_EQ(HistogramHeightAt(none, 0.0f, 5000, bin), 0);
    EXPECT_EQ(bin, 0);
    EXPECT_EQ(HistogramPeak(none, 0.0f, 0, 10000, "suhtkorkeus"), 0);
    // Counts but no Y maximum: no division by 0.
    EXPECT_EQ(HistogramHeightAt(PeakCounts(), 0.0f, 10000.0 * 102 / 1024, bin), 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(HistogramHeightAt(PeakCounts(), 1.0f, nan, bin).has_value());
    EXPECT_FALSE(HistogramPeak(PeakCounts(), 1.0f, static_cast<float>(nan), 100, "paikka").has_value());
    // A height beyond 32 bits.
    std::vector<double> huge(1025, 0.0);
    huge[300] = 1e12;
    EXPECT_FALSE(HistogramPeak(huge, 1.0f, 0, 10000, "suhtkorkeus").has_value());
}

}  // namespace
}  // namespace qv
