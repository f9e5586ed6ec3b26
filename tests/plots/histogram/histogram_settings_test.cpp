// The histogram's settings lines: order, defaults, reading back, and lines
// that must change nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plots/histogram/model/HistogramSettings.h"

namespace qv {
namespace {

std::string line(const std::string& keyValue) { return "window.3." + keyValue; }

TEST(HistogramSettingsTest, NewWindowWritesTwentyLinesInOrder) {
    HistogramState s;
    HistogramFrame frame{15, 30, 4000, 4000, 2};
    const std::vector<std::string> lines = HistogramSettingsLines(s, frame);
    const std::vector<std::string> expected = {
        "20", "location.x:15", "location.y:30", "size.x:4000", "size.y:4000", "file:2", "axis.x:1", "show:0",
        "fill.red:255", "fill.green:0", "fill.blue:0", "border.enabled:1", "yscale:0", "smoothing:2",
        "regionlines.show:1", "regionlines.showcreatedhere:0", "fastdraw.enabled:0", "background:255",
        "printview.window.visible:0", "printview.stat.visible:0", "statistics.enabled:0"};
    EXPECT_EQ(lines, expected);

    s.StatisticsOpen = true;
    const std::vector<std::string> withStats = HistogramSettingsLines(s, frame, std::vector<std::string>(11, "x:1"));
    EXPECT_EQ(withStats[0], "31");
    EXPECT_EQ(withStats.size(), 32u);
}

TEST(HistogramSettingsTest, LinesReadBackIntoAnEqualState) {
    HistogramState s;
    s.Channel = 3;
    s.ShownPopulation = 4;
    s.FillRed = 50;
    s.FillGreen = 200;
    s.FillBlue = 90;
    s.DrawOutline = false;
    s.YScale = 500;
    s.Smoothing = 7;
    s.ShowRegionLines = false;
    s.ShowCreatedHereOnly = true;
    s.FastDraw = true;
    s.BackgroundValue = 0;
    s.StatisticsOnPrintPage = true;
    const std::vector<std::string> lines = HistogramSettingsLines(s, {});

    HistogramState r;
    for (size_t i = 1; i < lines.size(); ++i) ApplyHistogramSettingLine(r, line(lines[i]), 120000, 50000);
    EXPECT_EQ(r.Channel, 3);
    EXPECT_EQ(r.ShownPopulation, 4);
    EXPECT_EQ(r.FillRed, 50);
    EXPECT_EQ(r.FillGreen, 200);
    EXPECT_EQ(r.FillBlue, 90);
    EXPECT_FALSE(r.DrawOutline);
    EXPECT_EQ(r.caption(HistoMenuOutline), "Draw outline");
    EXPECT_EQ(r.YScale, 500);
    EXPECT_EQ(r.Smoothing, 7);
    EXPECT_FALSE(r.ShowRegionLines);
    EXPECT_EQ(r.caption(HistoMenuRegionLines), "Show marker lines");
    EXPECT_TRUE(r.ShowCreatedHereOnly);
    EXPECT_EQ(r.caption(HistoMenuCreatedHere), "Show all markers");
    EXPECT_TRUE(r.FastDraw);
    EXPECT_EQ(r.DrawStep, 3);  // 120000 events over a limit of 50000
    EXPECT_EQ(r.caption(HistoMenuFastDraw), "Full draw mode");
    EXPECT_FALSE(r.DarkBackground);
    EXPECT_TRUE(r.StatisticsOnPrintPage);
    EXPECT_EQ(HistogramSettingsLines(r, {}), lines);
}

TEST(HistogramSettingsTest, WindowLinesBecomeRequests) {
    using Kind = WindowSettingRequest::Kind;
    HistogramState s;
    struct Case {
        const char* keyValue;
        Kind kind;
        double number;
        bool flag;
    } cases[] = {
        {"location.x:150", Kind::Left, 150, false},  {"size.y:3000", Kind::Height, 3000, false},
        {"file:4", Kind::File, 4, false},            {"printview.window.visible:1", Kind::Preview, 0, true},
        {"statistics.enabled:0", Kind::Statistics, 0, false},
        {"statistics.column.3.visible:0", Kind::StatisticsLine, 0, false},
        {"statistics.enabled:yes", Kind::None, 0, false},
    };
    for (const Case& c : cases) {
        const WindowSettingRequest r = ApplyHistogramSettingLine(s, line(c.keyValue), 0, 50000);
        EXPECT_EQ(r.kind, c.kind) << c.keyValue;
        if (c.kind == Kind::Left || c.kind == Kind::Height || c.kind == Kind::File) {
            EXPECT_EQ(r.number, c.number);
        }
        if (c.kind == Kind::Preview || c.kind == Kind::Statistics) {
            EXPECT_EQ(r.flag, c.flag);
        }
    }
}

TEST(HistogramSettingsTest, BadOrUnknownLinesChangeNothing) {
    const char* lines[] = {
        "fill.red:256", "fill.green:-1", "fill.blue:abc", "yscale:-5", "smoothing:-1", "smoothing:x",
        "axis.x:99999", "show:", "background:300", "border.enabled:2", "colour.red:10", "fastdraw.enabled:true",
        "regionlines.show:yes", "nocolon",
    };
    const HistogramState fresh;
    for (const char* l : lines) {
        HistogramState s;
        ApplyHistogramSettingLine(s, line(l), 0, 50000);
        EXPECT_EQ(HistogramSettingsLines(s, {}), HistogramSettingsLines(fresh, {})) << l;
        EXPECT_EQ(s.MenuCaptions, fresh.MenuCaptions) << l;
    }
}

TEST(HistogramSettingsTest, SmoothingFromASheetStaysBelowTheResolution) {
    HistogramState s;
    ApplyHistogramSettingLine(s, line("smoothing:5000"), 0, 50000);
    EXPECT_EQ(s.Smoothing, 1023);
    ApplyHistogramSettingLine(s, line("background:0"), 0, 50000);
    EXPECT_FALSE(s.DarkBackground);
    ApplyHistogramSettingLine(s, line("background:255"), 0, 50000);
    EXPECT_TRUE(s.DarkBackground);
}

}  // namespace
}  // namespace qv
