// The dot plot's settings lines: the keys in their fixed order, and reading
// the lines back restores the state and the captions that go with it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SharedState.h"
#include "plots/dotplot/model/DotPlotSettings.h"

namespace qv {
namespace {

std::string keyOf(const std::string& line) { return line.substr(0, line.find(':') + 1); }

DotPlotSettingRequest load(DotPlotState& s, const std::string& line, int32_t events = 0) {
    return ApplyDotPlotSettingLine(s, "window.3." + line, events, 50000);
}

TEST(DotPlotSettingsTest, LinesComeInTheirFixedOrder) {
    DotPlotState s;
    DotPlotFrame frame{150, 300, 4000, 4500, 2};
    const std::vector<std::string> lines = DotPlotSettingsLines(s, frame);
    const std::vector<std::string> expected = {
        "22",
        "location.x:150",
        "location.y:300",
        "size.x:4000",
        "size.y:4500",
        "file:2",
        "axis.x:1",
        "axis.y:2",
        "show:0",
        "quadrant.enabled:0",
        "quadrant.x:0",
        "quadrant.y:0",
        "density.enabled:0",
        "density.resolution:512",
        "regionlines.show:1",
        "regionlines.showcreatedhere:0",
        "fastdraw.enabled:0",
        "background:255",
        "multicolor.enabled:1",
        "dot.size:1",
        "printview.window.visible:0",
        "printview.stat.visible:0",
        "statistics.enabled:0",
    };
    EXPECT_EQ(lines, expected);
}

TEST(DotPlotSettingsTest, StatisticsLinesFollowAndAreCounted) {
    DotPlotState s;
    s.StatisticsOpen = true;
    std::vector<std::string> stat = {"statistics.x:10", "statistics.y:20"};
    for (int c = 1; c <= 10; ++c) stat.push_back("statistics.column." + std::to_string(c) + ".visible:1");
    const std::vector<std::string> lines = DotPlotSettingsLines(s, DotPlotFrame{}, stat);
    ASSERT_EQ(lines.size(), 35u);
    EXPECT_EQ(lines[0], "34");
    EXPECT_EQ(lines[22], "statistics.enabled:1");
    EXPECT_EQ(lines[23], "statistics.x:10");
    EXPECT_EQ(lines[34], "statistics.column.10.visible:1");
}

TEST(DotPlotSettingsTest, ReadingItsOwnLinesRestoresTheState) {
    resetSharedState();
    DotPlotState s;
    s.ChannelX = 3;
    s.ChannelY = 4;
    s.ShownPopulation = 17;
    s.QuadrantOn = true;
    s.QuadrantX = 2500;
    s.QuadrantY = 7400;
    s.DensityOn = true;
    s.RegionLinesOn = false;
    s.CreatedHereOnly = true;
    s.FastDrawOn = true;
    s.DarkBackground = false;
    s.ForegroundGrey = 0;
    s.MulticolourOn = false;
    s.DotSize = 2;
    s.InPreview = true;
    s.StatInPreview = true;
    const std::vector<std::string> lines = DotPlotSettingsLines(s, DotPlotFrame{15, 30, 4500, 6000, 4});

    DotPlotState r;
    std::vector<DotPlotSettingRequest> requests;
    for (size_t i = 1; i < lines.size(); ++i) requests.push_back(load(r, lines[i], 120000));

    EXPECT_EQ(r.ChannelX, 3);
    EXPECT_EQ(r.ChannelY, 4);
    EXPECT_EQ(r.ShownPopulation, 17);
    EXPECT_TRUE(r.QuadrantOn);
    EXPECT_EQ(r.QuadrantX, 2500);
    EXPECT_EQ(r.QuadrantY, 7400);
    EXPECT_TRUE(r.DensityOn);
    EXPECT_FALSE(r.RegionLinesOn);
    EXPECT_TRUE(r.CreatedHereOnly);
    EXPECT_TRUE(r.FastDrawOn);
    EXPECT_EQ(r.EventStep, 3);
    EXPECT_FALSE(r.DarkBackground);
    EXPECT_EQ(r.ForegroundGrey, 0);
    EXPECT_FALSE(r.MulticolourOn);
    EXPECT_EQ(r.DotSize, 2);
    EXPECT_TRUE(r.StatInPreview);

    // The captions name the next action of each restored toggle.
    EXPECT_EQ(r.caption(MenuQuadrant), "Hide quadrant");
    EXPECT_EQ(r.caption(MenuDensity), "Dot plot");
    EXPECT_EQ(r.caption(MenuRegionLines), "Show region lines");
    EXPECT_EQ(r.caption(MenuCreatedHere), "Show all regions");
    EXPECT_EQ(r.caption(MenuMulticolour), "Enable multicoloring");
    EXPECT_EQ(r.caption(MenuDotSize), "Small dots");
    EXPECT_EQ(r.caption(MenuFastDraw), "Full draw mode");

    // What the window itself carries out.
    using Kind = DotPlotSettingRequest::Kind;
    EXPECT_EQ(requests[0].kind, Kind::Left);
    EXPECT_EQ(requests[0].number, 15);
    EXPECT_EQ(requests[3].kind, Kind::Height);
    EXPECT_EQ(requests[3].number, 6000);
    EXPECT_EQ(requests[4].kind, Kind::File);
    EXPECT_EQ(requests[4].number, 4);
    EXPECT_EQ(requests[19].kind, Kind::Preview);
    EXPECT_TRUE(requests[19].flag);
    EXPECT_EQ(requests[21].kind, Kind::Statistics);
    EXPECT_FALSE(requests[21].flag);

    // Written again, the same lines.
    r.InPreview = true;
    EXPECT_EQ(DotPlotSettingsLines(r, DotPlotFrame{15, 30, 4500, 6000, 4}), lines);
}

TEST(DotPlotSettingsTest, LinesThatDoNotFitChangeNothing) {
    const char* ignored[] = {
        "Axis.x:5",                  // keys are case-sensitive
        "axis.x:",                   // no number
        "axis.x:abc",                // no number
        "axis.x:70000",              // beyond 16 bits
        "quadrant.x:1e12",           // beyond 32 bits
        "quadrant.enabled:true",     // flags are "1" or "0"
        "density.resolution:64",     // written, never read
        "dot.size:3",
        "background:300",
        "background:-1",
        "show:1e9",
        "axis.x",                    // no colon
        "unknown.key:1",
    };
    for (const char* line : ignored) {
        SCOPED_TRACE(line);
        DotPlotState s;
        const DotPlotSettingRequest req = load(s, line);
        EXPECT_EQ(req.kind, DotPlotSettingRequest::Kind::None);
        EXPECT_EQ(DotPlotSettingsLines(s, DotPlotFrame{}), DotPlotSettingsLines(DotPlotState{}, DotPlotFrame{}));
    }
}

TEST(DotPlotSettingsTest, BackgroundGreyBetweenTheExtremesKeepsTheBackground) {
    DotPlotState s;
    load(s, "background:128");
    EXPECT_EQ(s.ForegroundGrey, 128);
    EXPECT_TRUE(s.DarkBackground);
    load(s, "background:0");
    EXPECT_FALSE(s.DarkBackground);
    load(s, "background:255");
    EXPECT_TRUE(s.DarkBackground);
}

TEST(DotPlotSettingsTest, NumbersReadWithEitherDecimalSeparator) {
    DotPlotState s;
    load(s, "axis.x: 2,5 ");  // half to even
    EXPECT_EQ(s.ChannelX, 2);
    load(s, "show:3.9");  // Int
    EXPECT_EQ(s.ShownPopulation, 3);
    load(s, "quadrant.y:7500.5");
    EXPECT_EQ(s.QuadrantY, 7500);
    const DotPlotSettingRequest req = load(s, "location.x:1234.5");
    EXPECT_EQ(req.kind, DotPlotSettingRequest::Kind::Left);
    EXPECT_DOUBLE_EQ(req.number, 1234.5);
}

TEST(DotPlotSettingsTest, FastDrawLineUsesTheFileAndTheLimit) {
    DotPlotState s;
    load(s, "fastdraw.enabled:1", 120000);
    EXPECT_EQ(s.EventStep, 3);
    load(s, "fastdraw.enabled:0", 120000);
    EXPECT_EQ(s.EventStep, 1);
    EXPECT_FALSE(s.FastDrawOn);
    EXPECT_EQ(s.caption(MenuFastDraw), "Fast draw mode");
    // No limit below 1 divides by zero.
    ApplyDotPlotSettingLine(s, "window.1.fastdraw.enabled:1", 10, 0);
    EXPECT_EQ(s.EventStep, 11);
}

TEST(DotPlotSettingsTest, StatisticsWindowLinesGoToTheStatistics) {
    DotPlotState s;
    for (const char* line : {"statistics.x:100", "statistics.y:200", "statistics.column.7.visible:0"}) {
        const DotPlotSettingRequest req = load(s, line);
        EXPECT_EQ(req.kind, DotPlotSettingRequest::Kind::StatisticsLine) << line;
    }
    EXPECT_EQ(load(s, "statistics.column.7:0").kind, DotPlotSettingRequest::Kind::None);
}

}  // namespace
}  // namespace qv
