// The flux tracker's numbers: binning (bin 0 dropped, the last bin
// counted), the arithmetic and geometric means, the smoothing and its tail,
// the curve text, the resolution and smoothing answers, the generated time
// parameter and the stretch factor.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/SharedState.h"
#include "plots/timeproj/model/FluxCurve.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

using test::MakeFile;
using test::PutFile;

class FluxCurveTest : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
    void TearDown() override { resetSharedState(); }
};

FluxCurveSettings settings(double resolution, int smoothing, bool geometric = false) {
    FluxCurveSettings s;
    s.CurveResolution = resolution;
    s.CurveSmoothing = smoothing;
    s.GeometricMean = geometric;
    return s;
}

TEST_F(FluxCurveTest, BinZeroIsDroppedAndTheLastBinCounted) {
    // X range 1023, 500 bins: X 1023 lands in bin 500, X 2 in bin 0.
    const FileRecord file =
        MakeFile({{"Time", 1023}, {"FL1", 1024}}, {{1023, 40}, {1023, 60}, {2, 500}, {2.05f, 7}, {1100, 9}});
    const FluxCurveBins bins = ComputeFluxCurve(file, 1, 2, settings(500, 0), 1, nullptr);
    ASSERT_EQ(bins.lastBin(), 500);
    EXPECT_EQ(bins.Count[500], 2);
    EXPECT_DOUBLE_EQ(bins.Value[500], 50.0);
    EXPECT_EQ(bins.Count[0], 0);  // X 2 is below one bin width
    EXPECT_EQ(bins.Count[1], 1);
    EXPECT_DOUBLE_EQ(bins.Value[1], 7.0);
    double counted = 0;
    for (double c : bins.Count) counted += c;
    EXPECT_EQ(counted, 3);  // X 1100 lies beyond the last bin
}

TEST_F(FluxCurveTest, GeometricMeanOfTenAndAThousandIsAHundred) {
    const FileRecord file = MakeFile({{"Time", 1023}, {"FL1", 10000}}, {{500, 10}, {500, 1000}, {800, 0}});
    const FluxCurveBins bins = ComputeFluxCurve(file, 1, 2, settings(500, 0, true), 1, nullptr);
    const int b = 500 * 500 / 1023;
    EXPECT_NEAR(bins.Value[static_cast<size_t>(b)], 100.0, 1e-9);
    // A value at or below 0 counts as log 0, that is 1.
    EXPECT_NEAR(bins.Value[static_cast<size_t>(800 * 500 / 1023)], 1.0, 1e-12);
}

TEST_F(FluxCurveTest, OnlyTheShownPopulationAndTheSteppedEventsCount) {
    FileRecord file = MakeFile({{"Time", 1023}, {"FL1", 1024}}, {{500, 10}, {500, 20}, {500, 30}, {500, 40}});
    file.Membership(2, 3) = 1;
    file.Membership(4, 3) = 1;
    const size_t b = 500 * 500 / 1023;
    EXPECT_DOUBLE_EQ(ComputeFluxCurve(file, 1, 2, settings(500, 0), 1, file.Membership.column(3)).Value[b], 30.0);
    EXPECT_DOUBLE_EQ(ComputeFluxCurve(file, 1, 2, settings(500, 0), 2, nullptr).Value[b], 20.0);  // events 1 and 3
}

TEST_F(FluxCurveTest, NoCurveWithoutARangeOrAParameter) {
    const FileRecord file = MakeFile({{"Time", 0}, {"FL1", 1024}}, {{5, 5}});
    EXPECT_TRUE(ComputeFluxCurve(file, 1, 2, settings(500, 3), 1, nullptr).empty());
    EXPECT_TRUE(ComputeFluxCurve(file, 2, 7, settings(500, 3), 1, nullptr).empty());
    EXPECT_TRUE(ComputeFluxCurve(file, 2, 1, settings(0, 3), 1, nullptr).empty());
}

TEST_F(FluxCurveTest, SmoothingAveragesForwardAndRepeatsTheLastMeanInTheTail) {
    std::vector<double> value(501);
    for (size_t b = 0; b < value.size(); ++b) value[b] = static_cast<double>(b);
    SmoothCurve(value, 500, 3);
    EXPECT_DOUBLE_EQ(value[1], 2.5);      // mean of bins 1..4
    EXPECT_DOUBLE_EQ(value[496], 497.5);  // the last full window, 496..499
    EXPECT_DOUBLE_EQ(value[497], 497.0);  // bin r - s keeps its own mean
    EXPECT_DOUBLE_EQ(value[498], 497.5);
    EXPECT_DOUBLE_EQ(value[499], 497.5);
    EXPECT_DOUBLE_EQ(value[500], 500.0);  // bin B keeps its own mean

    std::vector<double> unchanged(value);
    SmoothCurve(unchanged, 500, 0);
    EXPECT_EQ(unchanged, value);
}

// Widths from r - 1 up reach every bin: each bin shows the mean of bins 1..B.
struct WholeCurveCase {
    const char* name;
    double resolution;
    int smoothing;
};

void PrintTo(const WholeCurveCase& c, std::ostream* out) { *out << c.name; }

class SmoothingOverTheWholeCurve : public ::testing::TestWithParam<WholeCurveCase> {};

TEST_P(SmoothingOverTheWholeCurve, EveryBinShowsTheMeanOfAllBins) {
    const WholeCurveCase& c = GetParam();
    const int32_t B = CurveLastBin(c.resolution);
    std::vector<double> value(static_cast<size_t>(B) + 1, 0.0);
    double sum = 0;
    for (int32_t b = 1; b <= B; ++b) {
        value[static_cast<size_t>(b)] = b % 3 == 0 ? 0.0 : 2.0 * b;  // empty bins count as 0
        sum += value[static_cast<size_t>(b)];
    }
    SmoothCurve(value, c.resolution, c.smoothing);
    EXPECT_EQ(value[0], 0.0);
    for (int32_t b = 1; b <= B; ++b) ASSERT_NEAR(value[static_cast<size_t>(b)], sum / B, 1e-3) << b;
}

INSTANTIATE_TEST_SUITE_P(
    Widths, SmoothingOverTheWholeCurve,
    ::testing::Values(WholeCurveCase{"ThreeBinsWidthTwo", 3, 2}, WholeCurveCase{"ThreeBinsWidthThree", 3, 3},
                      WholeCurveCase{"FiveHundredBinsWidthRMinusOne", 500, 499},
                      WholeCurveCase{"FiveHundredBinsWidthR", 500, 500},
                      WholeCurveCase{"FiveHundredBinsWidthFortyThousand", 500, 40000},
                      WholeCurveCase{"FiveHundredBinsWidestWidth", 500, INT32_MAX},
                      WholeCurveCase{"FractionalResolutionNoWindowLeft", 2.5, 1}),
    [](const ::testing::TestParamInfo<WholeCurveCase>& info) { return std::string(info.param.name); });

TEST_F(FluxCurveTest, JustBelowTheWholeCurveOneWindowIsLeft) {
    // r - 2: one window over bins 1..r - 1, copied to the tail; bins r - s and B stay.
    std::vector<double> value = {0, 1, 2, 3, 4, 5};
    SmoothCurve(value, 5, 3);
    EXPECT_EQ(value, (std::vector<double>{0, 2.5, 2, 2.5, 2.5, 5}));
}

TEST_F(FluxCurveTest, AWideWindowOverManyBinsSlidesOneSum) {
    // Wide enough that each window is not summed afresh: the means stay those of each window.
    std::vector<double> value(200001);
    for (size_t b = 0; b < value.size(); ++b) value[b] = static_cast<double>(b % 10);
    SmoothCurve(value, 200000, 999);
    EXPECT_NEAR(value[1], 4.5, 1e-5);       // bins 1..1000 hold each of 0..9 a hundred times
    EXPECT_NEAR(value[199000], 4.5, 1e-5);  // the last full window
    EXPECT_EQ(value[199001], 1.0);          // bin r - s keeps its own value
}

TEST_F(FluxCurveTest, TheCurveTextLeavesTheLastBinOut) {
    FluxCurveBins bins;
    bins.Value.assign(501, 0.0);
    bins.Count.assign(501, 1.0);
    bins.Value[1] = 12.5;
    bins.Value[2] = -0.25;
    const std::string text = FluxCurveText(bins, 500);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 499);
    EXPECT_EQ(text.substr(0, 11), "12.5\n-0.25\n");
    // A resolution above the bins built copies only those.
    const std::string all = FluxCurveText(bins, 5000);
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 500);
    EXPECT_EQ(FluxCurveText(FluxCurveBins(), 500), "");
}

TEST_F(FluxCurveTest, ResolutionAndSmoothingAnswers) {
    struct Case {
        const char* answer;
        double expected;  // 0 refused
    };
    for (const Case& c : std::vector<Case>{{"1", 0}, {"1024", 0}, {"1023", 1023}, {"2.5", 2.5}, {"2,5", 2.5},
                                           {"", 0}, {"many", 0}, {"-4", 0}}) {
        const auto r = ResolutionAnswer(c.answer, 1023);
        EXPECT_EQ(r ? *r : 0.0, c.expected) << c.answer;
    }
    for (const Case& c : std::vector<Case>{{"0", 0}, {"2.5", 2}, {"3.5", 4}, {"498", 498}, {"499", 499},
                                           {"40000", 40000}, {"1e12", INT32_MAX}, {"-1", -1}, {"-0.4", -1},
                                           {"", -1}, {"x", -1}}) {
        const auto s = SmoothingAnswer(c.answer);
        EXPECT_EQ(s ? *s : -1, c.expected) << c.answer;
    }
}

TEST_F(FluxCurveTest, TimeValuesRunUpToOneAboveTheRange) {
    std::vector<float> four(5);
    FillTimeValues(four.data(), 4);
    EXPECT_EQ(four, (std::vector<float>{0, 256, 512, 768, 1024}));
    std::vector<float> many(2049);
    FillTimeValues(many.data(), 2048);
    EXPECT_EQ(many[1], 0);
    EXPECT_EQ(many[2], 1);
    EXPECT_EQ(many[3], 1);
    EXPECT_EQ(many[2048], 1024);
}

TEST_F(FluxCurveTest, CreateTimeAxisAddsAParameterToBothDataCopies) {
    FileRecord f = MakeFile({{"FSC", 1024}, {"SSC", 1024}}, {{1, 2}, {3, 4}, {5, 6}, {7, 8}});
    f.CompensationMatrix.resize(2, 2);
    f.CompensationMatrix(1, 2) = 0.25f;
    PutFile(2, f);
    ASSERT_TRUE(CreateTimeAxis(2));
    const FileRecord& out = g.FileTable[2];
    ASSERT_EQ(out.ParameterCount, 3);
    EXPECT_EQ(out.Parameters[3].Name, "Time (generic)");
    EXPECT_EQ(out.Parameters[3].Range, 1023);
    EXPECT_FALSE(out.Parameters[3].IsLog);
    for (int e = 1; e <= 4; ++e) {
        EXPECT_EQ(out.WorkingData(e, 3), 256.0f * e);
        EXPECT_EQ(out.PristineData(e, 3), 256.0f * e);
        EXPECT_EQ(out.WorkingData(e, 1), 2.0f * e - 1);
    }
    EXPECT_EQ(out.CompensationMatrix.maxColumn(), 3);
    EXPECT_EQ(out.CompensationMatrix(1, 2), 0.25f);
    EXPECT_EQ(out.CompensationMatrix(3, 1), 0.0f);

    // No file in the slot: nothing happens, slot 0 is never touched.
    EXPECT_FALSE(CreateTimeAxis(0));
    EXPECT_FALSE(CreateTimeAxis(5));
    EXPECT_EQ(g.FileTable[0].ParameterCount, 0);
    EXPECT_FALSE(g.FileTable[5].Loaded);
}

TEST_F(FluxCurveTest, StretchFactorsAreAtLeastOne) {
    struct Case {
        double maximum;
        int factor;
    };
    for (const Case& c : std::vector<Case>{{400, 3}, {682, 2}, {2046, 1}, {5000, 1}, {0, 1}, {-100000, 1}, {1023, 1}})
        EXPECT_EQ(StretchFactor(c.maximum, 1023), c.factor) << c.maximum;
    EXPECT_GT(StretchFactor(1e-30, 1023), 1);  // no overflow on a tiny maximum
}

TEST_F(FluxCurveTest, StretchChangesTheWorkingValuesOnly) {
    FileRecord f = MakeFile({{"FSC", 1023}, {"SSC", 1024}}, {{400, 1}, {100.5f, 2}, {-3, 3}});
    EXPECT_EQ(StretchXValues(f, 1), 3);
    EXPECT_EQ(f.WorkingData(1, 1), 1200);
    EXPECT_EQ(f.WorkingData(2, 1), 301);  // Int(301.5)
    EXPECT_EQ(f.WorkingData(3, 1), -9);
    EXPECT_EQ(f.PristineData(1, 1), 400);
    EXPECT_EQ(f.WorkingData(1, 2), 1);
    EXPECT_EQ(StretchXValues(f, 9), 0);
}

}  // namespace
}  // namespace qv
