// The modeller's settings lines and the curve commands of tools, without a
// window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SharedState.h"
#include "plots/modeller/model/CurveEditing.h"
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
                             "curve.3.height:abc",    "curve.3.height:1e999",  "curve.3.place:1e12",
                             "Curve.3.height:250",    "curve.3.deviation.left:",
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
    load(s, "curve.4.deviation.right:-3");
    EXPECT_EQ(s.Curves[4].LeftDeviation, 1);
    EXPECT_EQ(s.Curves[4].RightDeviation, 1);
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
                          {"hajontavasen", "-40", &GaussCurve::LeftDeviation, 1}};
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
