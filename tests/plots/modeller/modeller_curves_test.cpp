// The modeller's curve arithmetic without a window: curve values on the
// flanks and the plateau, a curve's statistics against a computation written
// out step by step (the per-addition rounding and the per-unit CV loop
// included), the shares of several curves, and the table of channel values
// per curve bin.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/AxisScaling.h"
#include "core/SharedState.h"
#include "plots/modeller/model/BinValueTable.h"
#include "plots/modeller/model/CurveStatistics.h"
#include "plots/modeller/model/ModellerState.h"
#include "plots/modeller/model/ModellerStatistics.h"
#include "output/model/StatisticsGrid.h"

namespace qv {
namespace {

GaussCurve curveAt(int32_t place, double height, double left, double right, double plateau = 0) {
    GaussCurve c;
    c.Place = place;
    c.Height = height;
    c.LeftDeviation = left;
    c.RightDeviation = right;
    c.Plateau = plateau;
    c.Active = true;
    return c;
}

TEST(ModellerCurve, ValuesAtThePeakOnTheFlanksAndOverThePlateau) {
    const GaussCurve peak = curveAt(500, 500, 50, 50);
    EXPECT_NEAR(CurveValue(peak, 500), 498.68, 0.005);  // 0.99736 of the height
    EXPECT_NEAR(CurveValue(peak, 450), 302.46, 0.005);
    EXPECT_NEAR(CurveValue(peak, 550), 302.46, 0.005);

    const GaussCurve wide = curveAt(500, 500, 50, 80, 100);
    for (int i = 501; i <= 600; ++i) EXPECT_EQ(CurveValue(wide, i), 500.0) << i;
    // The right flank starts one bin after the plateau, with its own deviation.
    EXPECT_DOUBLE_EQ(CurveValue(wide, 601), GaussFlank(1, 80, 500));
    EXPECT_DOUBLE_EQ(CurveValue(wide, 499), GaussFlank(-1, 50, 500));

    // A negative plateau: the right flank reaches back before the place.
    const GaussCurve back = curveAt(500, 500, 50, 30, -20);
    for (int i = 481; i <= 500; ++i) EXPECT_DOUBLE_EQ(CurveValue(back, i), GaussFlank(i - 480, 30, 500)) << i;
    EXPECT_DOUBLE_EQ(CurveValue(back, 480), GaussFlank(-20, 50, 500));
}

TEST(ModellerCurve, NewAndRemovedCurvesTakeTheirStartingValues) {
    const ModellerState s;
    EXPECT_EQ(s.Curves[1].Place, 600);
    EXPECT_EQ(s.Curves[5].Place, 1000);
    EXPECT_EQ(s.Curves[20].Place, 2500);
    EXPECT_EQ(s.Curves[3].LeftDeviation, 50);
    EXPECT_EQ(s.Curves[3].Height, 500);
    EXPECT_EQ(s.activeCurveCount(), 0);

    GaussCurve c = curveAt(123, 7, 3, 4, 9);
    c.Name = "kept";
    ResetRemovedCurve(c, 1000);
    EXPECT_FALSE(c.Active);
    EXPECT_EQ(c.Place, 600);
    EXPECT_EQ(c.Height, 500);
    EXPECT_EQ(c.LeftDeviation, 50);
    EXPECT_EQ(c.RightDeviation, 50);
    EXPECT_EQ(c.Plateau, 0);
    EXPECT_EQ(c.Name, "kept");
}

// The statistics as the loop of the original design computes them: the area
// rounded half to even after every addition, the spread added once per whole
// unit of each value in a counted loop.
HistogramStatistics statisticsStepByStep(const GaussCurve& c, const std::vector<double>& bins) {
    HistogramStatistics s;
    double number = 0, mean = 0, geo = 0;
    const int R = static_cast<int>(bins.size()) - 1;
    for (int i = 1; i <= R; ++i) {
        const double v = CurveValue(c, i);
        number = std::nearbyint(number + v);  // the default rounding mode: halves to even
        mean += v * bins[static_cast<size_t>(i)];
        geo += v * (bins[static_cast<size_t>(i)] > 0 ? std::log10(bins[static_cast<size_t>(i)]) : 0.0);
    }
    s.Number = static_cast<int32_t>(number);
    if (number < 1) return s;
    s.Mean = mean / number;
    s.GeoMean = std::pow(10.0, geo / number);
    double spread = 0;
    for (int i = 1; i <= R; ++i) {
        const double v = CurveValue(c, i);
        for (int j = 1; j <= v; ++j) spread += std::pow(bins[static_cast<size_t>(i)] - s.Mean, 2);
    }
    s.CV = std::sqrt(spread / number) / s.Mean;
    return s;
}

std::vector<double> linearBins(int32_t range) {
    ParameterInfo p;
    p.Range = range;
    return BuildBinValueTable(p, 1000);
}

TEST(ModellerCurve, StatisticsOfOneCurveMatchAStepByStepComputation) {
    struct Case {
        GaussCurve curve;
        int32_t range;
    };
    const Case cases[] = {
        {curveAt(400, 300, 40, 60), 1024},
        {curveAt(250, 120.5, 12.25, 33, 40), 1024},
        {curveAt(700, 37.3, 5, 90, 3.5), 256},
        {curveAt(10, 900, 100, 7), 10000},
    };
    for (const Case& c : cases) {
        const std::vector<double> bins = linearBins(c.range);
        std::vector<double> values(1001), sum(1001, 0.0);
        HistogramStatistics got;
        EvaluateCurveValues(c.curve, bins, 200.0, values, sum, got);
        const HistogramStatistics want = statisticsStepByStep(c.curve, bins);
        EXPECT_EQ(got.Number, want.Number);
        EXPECT_EQ(got.Fraction, 0.0);
        EXPECT_NEAR(got.Mean, want.Mean, 1e-9 * want.Mean);
        EXPECT_NEAR(got.GeoMean, want.GeoMean, 1e-9 * want.GeoMean);
        EXPECT_NEAR(got.CV, want.CV, 1e-9);
        // The drawn heights: value / R of the plotting height.
        EXPECT_DOUBLE_EQ(sum[c.curve.Place], values[c.curve.Place] / 1000.0 * 200.0);
    }
}

// A curve's means are sums over its channels in double arithmetic: the grid
// cuts them as tightly as a share, with no allowance for a 32-bit value's
// storage error (just below a hundredth stays below it, at any size). The
// share is a ratio of counts and is cut in double arithmetic too.
struct ShownCurveValue {
    const char* name;
    double mean;
    const char* shown;
};

void PrintTo(const ShownCurveValue& c, std::ostream* out) { *out << c.name; }

class ModellerShownValue : public ::testing::TestWithParam<ShownCurveValue> {};

TEST_P(ModellerShownValue, MeansAreCutInDoubleArithmetic) {
    const ShownCurveValue& c = GetParam();
    ModellerState s;
    s.Curves[1].Active = true;
    s.Curves[1].Name = "G1";
    HistogramStatistics& st = s.CurveStatistics[1];
    st.Number = 100000000;
    st.Fraction = 56999996.0 / 100000000.0;  // just below 57 %
    st.Mean = c.mean;
    st.GeoMean = c.mean;
    StatisticsGrid grid;
    ModellerGridOptions options;
    options.columnShown = {false, true, true, true, true};
    FillModellerStatisticsGrid(grid, options, FileRecord{}, s);
    ASSERT_EQ(grid.text(1, 0), "G1");
    EXPECT_EQ(grid.text(1, 1), "56.99");
    EXPECT_EQ(grid.text(1, 2), c.shown);
    EXPECT_EQ(grid.text(1, 3), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Values, ModellerShownValue,
                         ::testing::Values(ShownCurveValue{"FourPointThirtyFive", 4.35, "4.35"},
                                           ShownCurveValue{"NoughtPointTwentyNine", 0.29, "0.29"},
                                           ShownCurveValue{"OnePointFifteen", 1.15, "1.15"},
                                           ShownCurveValue{"BelowTheHundredthIsCut", 4.359, "4.35"},
                                           ShownCurveValue{"JustBelowAHundredthIsCut", 4.3499999, "4.34"},
                                           ShownCurveValue{"LargeGeoMeanIsCut", 39720.8364, "39720.83"},
                                           ShownCurveValue{"NegativeGoesDown", -39720.8364, "-39720.84"}),
                         [](const ::testing::TestParamInfo<ShownCurveValue>& info) {
                             return std::string(info.param.name);
                         });

TEST(ModellerCurve, ACurveBelowHalfAUnitEverywhereHasNoStatistics) {
    const std::vector<double> bins = linearBins(1024);
    std::vector<double> values(1001), sum(1001, 0.0);
    HistogramStatistics s;
    s.Mean = 5;
    EvaluateCurveValues(curveAt(500, 0.4, 50, 50), bins, 100.0, values, sum, s);
    EXPECT_EQ(s, HistogramStatistics{});
}

TEST(ModellerCurve, SharesOfThreeCurvesFollowTheirAreas) {
    ModellerState s;
    s.BinValues = linearBins(1024);
    s.Curves[2] = curveAt(200, 100, 20, 20);
    s.Curves[5] = curveAt(500, 300, 30, 40, 10);
    s.Curves[9] = curveAt(800, 50, 60, 10);
    s.CurveStatistics[3].Fraction = 0.7;  // an inactive curve keeps its last share
    SumActiveCurves(s, 300.0);
    for (int k : {2, 5, 9}) EXPECT_EQ(s.CurveStatistics[static_cast<size_t>(k)].Fraction, 0.0);
    ComputeCurvePercentages(s);

    double total = 0;
    for (int k : {2, 5, 9}) total += statisticsStepByStep(s.Curves[static_cast<size_t>(k)], s.BinValues).Number;
    for (int k : {2, 5, 9})
        EXPECT_DOUBLE_EQ(s.CurveStatistics[static_cast<size_t>(k)].Fraction,
                         statisticsStepByStep(s.Curves[static_cast<size_t>(k)], s.BinValues).Number / total);
    EXPECT_EQ(s.CurveStatistics[3].Fraction, 0.7);

    // The areas 100, 300 and 600 give 10, 30 and 60 per cent.
    s.CurveStatistics[2].Number = 100;
    s.CurveStatistics[5].Number = 300;
    s.CurveStatistics[9].Number = 600;
    ComputeCurvePercentages(s);
    EXPECT_DOUBLE_EQ(s.CurveStatistics[2].Fraction, 0.1);
    EXPECT_DOUBLE_EQ(s.CurveStatistics[5].Fraction, 0.3);
    EXPECT_DOUBLE_EQ(s.CurveStatistics[9].Fraction, 0.6);
}

TEST(ModellerCurve, HugeCurvesSaturateTheirAreaAndStillShare) {
    ModellerState s;
    s.BinValues = linearBins(1024);
    s.Curves[1] = curveAt(300, 1e12, 50, 50);
    s.Curves[2] = curveAt(600, 1e12, 50, 50);
    SumActiveCurves(s, 100.0);
    EXPECT_EQ(s.CurveStatistics[1].Number, INT32_MAX);
    ComputeCurvePercentages(s);  // the total passes 32 bits
    EXPECT_DOUBLE_EQ(s.CurveStatistics[1].Fraction, 0.5);
    EXPECT_GT(s.CurveStatistics[1].Mean, 0);
}

// The table as the original loop builds it: channel c written into bin
// Int(position of c), past-the-end bins skipped; then the carry pass.
std::vector<double> binTableByLoop(const ParameterInfo& p, int32_t R) {
    std::vector<double> t(static_cast<size_t>(R) + 1, 0.0);
    for (int32_t c = 1; c <= p.Range; ++c) {
        const double pos = p.IsLog ? ScaleValueToAxis(c, p.Range, R) : static_cast<double>(c) / p.Range * R;
        const double b = std::floor(pos);
        if (b >= 0 && b <= R) t[static_cast<size_t>(b)] = c;
    }
    double carried = 1;
    for (int32_t b = 1; b <= R; ++b) {
        if (t[static_cast<size_t>(b)] != 0) carried = t[static_cast<size_t>(b)];
        else t[static_cast<size_t>(b)] = carried;
    }
    return t;
}

TEST(ModellerBinValues, Range256RisesFromOneToTheRangeWithNoEmptyBin) {
    const std::vector<double> t = linearBins(256);
    const std::vector<double> first = {1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3};
    for (size_t b = 1; b <= first.size(); ++b) EXPECT_EQ(t[b], first[b - 1]) << b;
    // Bin b holds the largest channel c with Int(c / 256 * 1000) <= b.
    for (int b = 1; b <= 1000; ++b) {
        const double want = std::max(1.0, std::ceil((b + 1) * 0.256) - 1);
        ASSERT_EQ(t[static_cast<size_t>(b)], want) << b;
    }
    EXPECT_EQ(t[999], 255);
    EXPECT_EQ(t[1000], 256);
}

TEST(ModellerBinValues, LinearRange1024GivesEveryBinItsLargestChannel) {
    const std::vector<double> t = linearBins(1024);
    EXPECT_EQ(t[1], 2);  // channel 1 lies in bin 0, channel 2 in bin 1
    EXPECT_EQ(t[500], 513);  // 512 and 513 both lie in bin 500
    EXPECT_EQ(t[1000], 1024);
}

TEST(ModellerBinValues, EqualsTheChannelLoopOnLinearAndLogAxes) {
    resetSharedState();
    struct Case {
        int32_t range;
        bool log;
    };
    const Case cases[] = {{1, false}, {3, false}, {256, false}, {999, false}, {1000, false}, {1001, false},
                          {1024, false}, {10000, false}, {262144, false}, {2, true}, {4, true}, {128, true},
                          {1024, true}, {10000, true}, {262144, true}};
    for (const Case& c : cases) {
        ParameterInfo p;
        p.Range = c.range;
        p.IsLog = c.log;
        EXPECT_EQ(BuildBinValueTable(p, 1000), binTableByLoop(p, 1000)) << c.range << (c.log ? " log" : " linear");
    }
}

TEST(ModellerBinValues, ARangeOfNothingLeavesEveryBinAtOneAndTheTextEndsEachValueWithACarriageReturn) {
    ParameterInfo p;
    p.Range = 0;
    const std::vector<double> t = BuildBinValueTable(p, 4);
    EXPECT_EQ(t, (std::vector<double>{0, 1, 1, 1, 1}));
    EXPECT_EQ(BinValuesText(std::vector<double>{0, 1, 2.5, 40}), "1\r2.5\r40\r");
}

}  // namespace
}  // namespace qv
