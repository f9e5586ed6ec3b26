// The modeller's settings lines and the curve commands of tools, without a
// window.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/SharedState.h"
#include "plots/modeller/model/CurveEditing.h"
#include "plots/modeller/model/CurveStatistics.h"
#include "plots/modeller/model/ModellerSettings.h"

namespace qv {
namespace {

std::vector<std::string> linesOf(const ModellerState& s, const std::vector<std::string>& stats = {}) {
    return ModellerSettingsLines(s, WindowFrameTwips{15, 30, 4000, 3000, 2}, stats);
}

void load(ModellerState& s, const std::string& key) { ApplyModellerSettingLine(s, "window.7." + key, 1000, 50000); }

TEST(ModellerSettings, LineCountsAndTheOrderOfTheCurveLines) {
    ModellerState s;
    s.Curves[2].Active = true;
    s.Curves[2].Name = "G1";
    s.Curves[5].Active = true;
    const std::vector<std::string> l = linesOf(s);
    ASSERT_EQ(l[0], "29");
    ASSERT_EQ(l.size(), 30u);
    const std::vector<std::string> head = {"location.x:15", "location.y:30", "size.x:4000", "size.y:3000", "file:2",
                                           "axis.x:1", "show:0", "fill.red:150", "fill.green:150", "fill.blue:150",
                                           "yscale:0", "smoothing:5", "fastdraw.enabled:0", "background:255",
                                           "printview.window.visible:0", "printview.stat.visible:0"};
    for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(l[i + 1], head[i]);
    const std::vector<std::string> curve2 = {"curve.2.name:G1", "curve.2.height:500", "curve.2.place:700",
                                             "curve.2.deviation.left:50", "curve.2.deviation.right:50",
                                             "curve.2.plateau:0"};
    for (size_t i = 0; i < curve2.size(); ++i) EXPECT_EQ(l[17 + i], curve2[i]);
    EXPECT_EQ(l[23], "curve.5.name:");
    EXPECT_EQ(l[29], "statistics.enabled:0");

    // Twenty curves with the statistics open: 16 + 120 + 1 + 10 lines, none lost.
    for (int k = 1; k <= 20; ++k) s.Curves[static_cast<size_t>(k)].Active = true;
    s.StatisticsOpen = true;
    std::vector<std::string> stats = {"statistics.x:0", "statistics.y:0"};
    for (int c = 1; c <= 8; ++c) stats.push_back("statistics.column." + std::to_string(c) + ".visible:1");
    const std::vector<std::string> full = linesOf(s, stats);
    EXPECT_EQ(full[0], "147");
    EXPECT_EQ(full.back(), "statistics.column.8.visible:1");
}

TEST(ModellerSettings, CurvesRoundTripWithANameHoldingColons) {
    ModellerState s;
    GaussCurve& c = s.Curves[3];
    c.Active = true;
    c.Name = "G2: late, 4:1";
    c.Height = 412.75;
    c.Place = 333;
    c.LeftDeviation = 17.5;
    c.RightDeviation = 0.25;
    c.Plateau = 61.125;
    s.Curves[11].Active = true;
    s.Curves[11].Name = "second";
    s.Channel = 4;
    s.FillRed = 10;
    s.YScale = 250;
    s.Smoothing = 0;

    ModellerState back;
    const std::vector<std::string> l = linesOf(s);
    for (size_t i = 1; i < l.size(); ++i) load(back, l[i]);
    for (int k = 1; k <= 20; ++k) {
        const GaussCurve& a = s.Curves[static_cast<size_t>(k)];
        const GaussCurve& b = back.Curves[static_cast<size_t>(k)];
        EXPECT_EQ(b.Active, a.Active) << k;
        if (!a.Active) continue;
        EXPECT_EQ(b.Name, a.Name);
        EXPECT_EQ(b.Height, a.Height);
        EXPECT_EQ(b.Place, a.Place);
        EXPECT_EQ(b.LeftDeviation, a.LeftDeviation);
        EXPECT_EQ(b.RightDeviation, a.RightDeviation);
        EXPECT_EQ(b.Plateau, a.Plateau);
    }
    EXPECT_EQ(back.Channel, 4);
    EXPECT_EQ(back.FillRed, 10);
    EXPECT_EQ(back.YScale, 250);
    EXPECT_EQ(back.Smoothing, 0);
}

TEST(ModellerSettings, LinesThatNameNoCurveOrHoldNoNumberChangeNothing) {
    ModellerState s;
    const ModellerState before = s;
    const char* ignored[] = {"curve.0.height:250",    "curve.21.height:250",   "curve.x.height:250",
                             "Curve.3.height:250",
                             "show:101",              "show:-1",               "fill.red:256",
                             "yscale:-5",             "fastdraw.enabled:yes",  "background:300",
                             "nothing.at.all:1",      "nocolon"};
    for (const char* line : ignored) {
        load(s, line);
        for (int k = 1; k <= 20; ++k) EXPECT_FALSE(s.Curves[static_cast<size_t>(k)].Active) << line;
        EXPECT_EQ(s.Curves[3].Height, before.Curves[3].Height) << line;
        EXPECT_EQ(s.ShownPopulation, 0) << line;
        EXPECT_EQ(s.FillRed, before.FillRed) << line;
        EXPECT_EQ(s.YScale, 0) << line;
        EXPECT_FALSE(s.FastDraw) << line;
        EXPECT_EQ(s.BackgroundLevel, 255) << line;
    }
}

TEST(ModellerSettings, OneCurveLineActivatesItsCurve) {
    ModellerState s;
    load(s, "curve.3.height:250");
    EXPECT_TRUE(s.Curves[3].Active);
    EXPECT_EQ(s.Curves[3].Height, 250);
    load(s, "curve.4.place:12.5");  // halves to even
    EXPECT_EQ(s.Curves[4].Place, 12);
    load(s, "curve.4.deviation.left:0");  // a flank of no width is taken as 1
    load(s, "curve.4.deviation.right:-3");  // the flank squares it
    EXPECT_EQ(s.Curves[4].LeftDeviation, 1);
    EXPECT_EQ(s.Curves[4].RightDeviation, -3);
    load(s, "curve.4.deviation.right:0.5");
    EXPECT_EQ(s.Curves[4].RightDeviation, 0.5);
    load(s, "show:100");
    EXPECT_EQ(s.ShownPopulation, 100);
    load(s, "background:128");
    EXPECT_EQ(s.BackgroundLevel, 128);
    EXPECT_TRUE(s.DarkBackground);
    load(s, "background:0");
    EXPECT_FALSE(s.DarkBackground);
    load(s, "fastdraw.enabled:1");  // 1000 events, limit 50000: every event
    EXPECT_TRUE(s.FastDraw);
    EXPECT_EQ(s.caption(ModellerMenuFastDraw), "Full draw mode");
}

// A curve line whose value does not read still makes its curve active; the
// value it names keeps what it held.
struct UnreadableCurveLine {
    const char* name;
    const char* line;
};

void PrintTo(const UnreadableCurveLine& c, std::ostream* out) { *out << c.name; }

class ModellerUnreadableCurveLine : public ::testing::TestWithParam<UnreadableCurveLine> {};

TEST_P(ModellerUnreadableCurveLine, ActivatesTheCurveAndKeepsItsValues) {
    ModellerState s;
    const GaussCurve before = s.Curves[3];
    load(s, GetParam().line);
    const GaussCurve& c = s.Curves[3];
    EXPECT_TRUE(c.Active);
    EXPECT_EQ(c.Height, before.Height);
    EXPECT_EQ(c.Place, before.Place);
    EXPECT_EQ(c.Plateau, before.Plateau);
    EXPECT_EQ(c.LeftDeviation, before.LeftDeviation);
    EXPECT_EQ(c.RightDeviation, before.RightDeviation);
    for (int k = 1; k <= 20; ++k)
        if (k != 3) EXPECT_FALSE(s.Curves[static_cast<size_t>(k)].Active) << k;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ModellerUnreadableCurveLine,
    ::testing::Values(UnreadableCurveLine{"InfiniteHeight", "curve.3.height:inf"},
                      UnreadableCurveLine{"NanHeight", "curve.3.height:nan"},
                      UnreadableCurveLine{"HeightBeyondDouble", "curve.3.height:1e400"},
                      UnreadableCurveLine{"WordHeight", "curve.3.height:abc"},
                      UnreadableCurveLine{"PlaceBeyond32Bits", "curve.3.place:1e12"},
                      UnreadableCurveLine{"EmptyDeviation", "curve.3.deviation.left:"},
                      UnreadableCurveLine{"DeviationOfNoSide", "curve.3.deviation.up:20"},
                      UnreadableCurveLine{"UnknownField", "curve.3.colour:12"}),
    [](const ::testing::TestParamInfo<UnreadableCurveLine>& info) { return std::string(info.param.name); });

// A deviation from a sheet or a tool: one whose square is no positive
// normal number is taken as 1, a negative one is kept (the flank squares it),
// and the statistics of every curve stay finite either way.
struct DeviationCase {
    const char* name;
    bool fromTool;        // a tool's value in ten-thousandths of the axis, else a sheet line's
    const char* value;
    double kept;          // the left deviation the curve then has
    double flankAt450;    // the curve's value 50 bins left of its place 500
};

void PrintTo(const DeviationCase& c, std::ostream* out) { *out << c.name; }

class ModellerDeviation : public ::testing::TestWithParam<DeviationCase> {};

TEST_P(ModellerDeviation, GivesAUsableFlankAndFiniteStatistics) {
    const DeviationCase& c = GetParam();
    ModellerState s;
    s.BinValues.resize(static_cast<size_t>(s.CurveResolution) + 1);
    for (size_t b = 0; b < s.BinValues.size(); ++b) s.BinValues[b] = static_cast<double>(b);
    load(s, "curve.1.place:500");
    load(s, "curve.1.height:500");
    load(s, "curve.2.height:500");  // a second curve, at its starting place 700
    if (c.fromTool) ASSERT_EQ(SetCurveProperty(s, "hajontavasen", "1", c.value), CurveCommandError::None);
    else load(s, std::string("curve.1.deviation.left:") + c.value);
    EXPECT_EQ(s.Curves[1].LeftDeviation, c.kept);
    EXPECT_NEAR(CurveValue(s.Curves[1], 450), c.flankAt450, 0.005);

    SumActiveCurves(s, 200.0);
    ComputeCurvePercentages(s);
    double shares = 0.0;
    for (int k = 1; k <= 2; ++k) {
        const HistogramStatistics& st = s.CurveStatistics[static_cast<size_t>(k)];
        SCOPED_TRACE(k);
        EXPECT_GT(st.Number, 0);
        EXPECT_TRUE(std::isfinite(st.Mean) && std::isfinite(st.GeoMean) && std::isfinite(st.CV));
        EXPECT_GT(st.Fraction, 0.0);
        shares += st.Fraction;
    }
    EXPECT_DOUBLE_EQ(shares, 1.0);
    for (int i = 1; i <= s.CurveResolution; ++i) ASSERT_TRUE(std::isfinite(s.CurveSum[static_cast<size_t>(i)])) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ModellerDeviation,
    ::testing::Values(DeviationCase{"TinyFromASheet", false, "1e-300", 1.0, 0.0},
                      DeviationCase{"SubnormalFromASheet", false, "4e-320", 1.0, 0.0},
                      DeviationCase{"SquareBeyondDoubleFromASheet", false, "1e200", 1.0, 0.0},
                      DeviationCase{"NegativeFromASheet", false, "-50", -50.0, 302.46},
                      DeviationCase{"PositiveFromASheet", false, "50", 50.0, 302.46},
                      DeviationCase{"TinyFromATool", true, "1e-300", 1.0, 0.0},
                      DeviationCase{"NegativeFromATool", true, "-500", -50.0, 302.46}),
    [](const ::testing::TestParamInfo<DeviationCase>& info) { return std::string(info.param.name); });

TEST(ModellerSettings, SharedKeysBecomeRequestsForTheWindow) {
    ModellerState s;
    using Kind = WindowSettingRequest::Kind;
    EXPECT_EQ(ApplyModellerSettingLine(s, "window.7.file:3", 0, 1).kind, Kind::File);
    EXPECT_EQ(ApplyModellerSettingLine(s, "window.7.statistics.enabled:1", 0, 1).kind, Kind::Statistics);
    EXPECT_EQ(ApplyModellerSettingLine(s, "window.7.statistics.column.2.visible:0", 0, 1).kind, Kind::StatisticsLine);
    EXPECT_EQ(ApplyModellerSettingLine(s, "window.7.printview.window.visible:1", 0, 1).kind, Kind::Preview);
}

TEST(ModellerCurveCommands, ToolValuesAreTenThousandthsOfTheAxis) {
    ModellerState s;
    struct Case {
        const char* what;
        const char* value;
        double GaussCurve::*field;
        double want;
    };
    const Case cases[] = {{"korkeus", "5000", &GaussCurve::Height, 500},
                          {"tasanne", "-250", &GaussCurve::Plateau, -25},
                          {"hajontavasen", "5", &GaussCurve::LeftDeviation, 0.5},
                          {"hajontaoikea", "0", &GaussCurve::RightDeviation, 1},
                          {"hajontavasen", "-40", &GaussCurve::LeftDeviation, -4}};  // the flank squares it
    for (const Case& c : cases) {
        EXPECT_EQ(SetCurveProperty(s, c.what, "1", c.value), CurveCommandError::None);
        EXPECT_EQ(s.Curves[1].*c.field, c.want) << c.what << " " << c.value;
    }
    SetCurveProperty(s, "paikka", "1", "2505");
    EXPECT_EQ(s.Curves[1].Place, 250);
    SetCurveProperty(s, "paikka", "1", "1235");
    EXPECT_EQ(s.Curves[1].Place, 124);
    SetCurveProperty(s, "nimi", "1", "G0/G1");
    EXPECT_EQ(s.Curves[1].Name, "G0/G1");
    EXPECT_FALSE(s.Curves[1].Active);
    EXPECT_EQ(SetCurveProperty(s, "leveys", "1", "x"), CurveCommandError::None);

    EXPECT_EQ(SetCurveProperty(s, "korkeus", "21", "10"), CurveCommandError::CurveOutOfRange);
    EXPECT_EQ(SetCurveProperty(s, "nimi", "0", "a"), CurveCommandError::CurveOutOfRange);
    EXPECT_EQ(SetCurveProperty(s, "korkeus", "one", "10"), CurveCommandError::NotANumber);
    EXPECT_EQ(SetCurveProperty(s, "korkeus", "2", "high"), CurveCommandError::NotANumber);
    EXPECT_EQ(SetCurveProperty(s, "paikka", "2", "1e300"), CurveCommandError::NotANumber);
}

TEST(ModellerCurveCommands, CreatedDeletedAndCreatedAgain) {
    ModellerState s;
    s.Curves[4].LeftDeviation = 9;
    EXPECT_EQ(CreateOrRemoveCurve(s, "poista", "4", ""), CurveCommandError::None);
    EXPECT_EQ(CreateOrRemoveCurve(s, "luo", "4", "S phase"), CurveCommandError::None);
    const GaussCurve& c = s.Curves[4];
    EXPECT_TRUE(c.Active);
    EXPECT_EQ(c.Place, 100);
    EXPECT_EQ(c.Height, 100);
    EXPECT_EQ(c.Name, "S phase");
    EXPECT_EQ(c.LeftDeviation, 50);  // left by the removal
    EXPECT_EQ(c.Plateau, 0);
    EXPECT_EQ(CreateOrRemoveCurve(s, "LUO", "5", "x"), CurveCommandError::None);
    EXPECT_FALSE(s.Curves[5].Active);
    EXPECT_EQ(CreateOrRemoveCurve(s, "luo", "25", "x"), CurveCommandError::CurveOutOfRange);
}

TEST(ModellerCurveCommands, SumHeightAtAPosition) {
    ModellerState s;
    s.CurveSum[500] = 115.5;
    const std::optional<int32_t> bin = CurveSumBinAt(s, "5000");
    ASSERT_TRUE(bin);
    EXPECT_EQ(*bin, 500);
    EXPECT_EQ(CurveSumHeightAt(s, *bin, 231), 5000);
    EXPECT_EQ(CurveSumBinAt(s, "5009.9"), 500);
    EXPECT_EQ(CurveSumBinAt(s, "9"), 0);
    EXPECT_EQ(CurveSumBinAt(s, "10000"), 1000);
    EXPECT_FALSE(CurveSumBinAt(s, "10020"));
    EXPECT_FALSE(CurveSumBinAt(s, "-1"));
    EXPECT_FALSE(CurveSumBinAt(s, "here"));
    EXPECT_EQ(CurveSumHeightAt(s, 500, 0), 0);
}

}  // namespace
}  // namespace qv
