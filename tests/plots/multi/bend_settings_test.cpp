// The bending plot's lines in an analysis sheet, without a window: the
// default list, the axis lines, reading them back, and lines that name
// entries outside the tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SharedState.h"
#include "plots/multi/model/BendAxes.h"
#include "plots/multi/model/BendPlotSettings.h"

namespace qv {
namespace {

std::vector<std::string> SaveLines(const BendPlotState& s, const std::vector<std::string>& statistics = {}) {
    WindowFrameTwips frame{150, 300, 4000, 4000, 1};
    return BendPlotSettingsLines(s, frame, statistics);
}

// Every line as the sheet reader hands it to LoadInfo.
BendPlotState Reload(const std::vector<std::string>& lines) {
    BendPlotState s;
    for (size_t i = 1; i < lines.size(); ++i) ApplyBendPlotSettingLine(s, "window.3." + lines[i], 100, 50000);
    return s;
}

bool SameAxes(const AxisTable& a, const AxisTable& b) {
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].Exists != b[i].Exists ||
            (a[i].Exists && (a[i].X != b[i].X || a[i].Y != b[i].Y || a[i].Connected != b[i].Connected ||
                             a[i].Parameter != b[i].Parameter || a[i].YAxis != b[i].YAxis)))
            return false;
    return true;
}

TEST(BendSettings, DefaultWindowWritesFortyOneLinesInOrder) {
    const BendPlotState s;
    const std::vector<std::string> lines = SaveLines(s);
    ASSERT_EQ(lines[0], "41");
    ASSERT_EQ(lines.size(), 42u);
    const std::vector<std::string> head = {
        "location.x:150", "location.y:300", "size.x:4000", "size.y:4000", "file:1", "show:0",
        "regionlines.show:1", "regionlines.showcreatedhere:0", "fastdraw.enabled:0", "background:255",
        "multicolor.enabled:1", "dot.size:1", "printview.window.visible:0", "printview.stat.visible:0",
        "distancecolors:0", "axis.1.parameter:1", "axis.1.x:4000", "axis.1.y:9000", "axis.1.connected:100",
        "axis.1.yaxis:0"};
    for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(lines[i + 1], head[i]) << i + 1;
    EXPECT_EQ(lines[36], "axis.100.parameter:0");  // the root last
    EXPECT_EQ(lines[39], "axis.100.connected:0");
    EXPECT_EQ(lines[41], "statistics.enabled:0");

    // The statistics window's eight lines follow while it is open.
    const std::vector<std::string> stat(8, "statistics.x:0");
    EXPECT_EQ(SaveLines(s, stat)[0], "49");
}

TEST(BendSettings, RoundTripKeepsAxesSwitchesAndDeletions) {
    BendPlotState s;
    BendAddAxis(s.Axes, 4);           // entry 5 after axis 4
    s.Axes[5].Parameter = 7;
    s.Axes[BendRootAxis].X = 1234;    // the root moved
    BendDeleteAxis(s.Axes, 3);        // a default axis deleted
    s.DistanceColors = true;
    s.CreatedHereOnly = true;
    s.DarkBackground = false;
    s.ForegroundLevel = 0;
    s.DotSize = 2;
    s.ShownPopulation = 3;

    const BendPlotState back = Reload(SaveLines(s));
    EXPECT_TRUE(SameAxes(back.Axes, s.Axes));
    EXPECT_FALSE(back.Axes[3].Exists);  // stays deleted
    EXPECT_TRUE(back.DistanceColors);
    EXPECT_EQ(back.caption(BendMenuDistanceColours), "Don't use distance colors");
    EXPECT_TRUE(back.CreatedHereOnly);
    EXPECT_EQ(back.caption(BendMenuCreatedHere), "Show all regions");
    EXPECT_FALSE(back.DarkBackground);
    EXPECT_EQ(back.DotSize, 2);
    EXPECT_EQ(back.caption(BendMenuDotSize), "Small dots");
    EXPECT_EQ(back.ShownPopulation, 3);

    // The default window reloads with the same five entries.
    EXPECT_TRUE(SameAxes(Reload(SaveLines(BendPlotState())).Axes, DefaultAxisTable()));
}

TEST(BendSettings, EveryAxisIsSavedHoweverManyThereAre) {
    BendPlotState s;
    for (int a = 5; a <= BendLastAxis; ++a) ASSERT_NE(BendAddAxis(s.Axes, a - 1), 0);
    const std::vector<std::string> lines = SaveLines(s, std::vector<std::string>(8, "statistics.x:0"));
    EXPECT_EQ(lines[0], std::to_string(15 + 100 * 5 + 1 + 8));
    EXPECT_TRUE(SameAxes(Reload(lines).Axes, s.Axes));
}

TEST(BendSettings, LinesOutsideTheTablesAreIgnored) {
    BendPlotState s;
    const BendPlotState before = s;
    for (const char* line : {"window.3.axis.0.x:5", "window.3.axis.101.x:5", "window.3.axis.-1.x:5",
                             "window.3.axis.x.x:5", "window.3.axis.7.x:abc", "window.3.axis.7.connected:0",
                             "window.3.axis.7.connected:101", "window.3.axis.7.parameter:0",
                             "window.3.axis.7.colour:3", "window.3.show:101", "window.3.show:-1",
                             "window.3.show:many", "window.3.background:300", "window.3.dot.size:3",
                             "window.3.fastdraw.enabled:yes", "window.3.distancecolors:2"}) {
        ApplyBendPlotSettingLine(s, line, 100, 50000);
        EXPECT_TRUE(SameAxes(s.Axes, before.Axes)) << line;
    }
    EXPECT_EQ(s.ShownPopulation, 0);
    EXPECT_EQ(s.ForegroundLevel, 255);
    EXPECT_EQ(s.DotSize, 1);
    EXPECT_FALSE(s.FastDraw);
    EXPECT_FALSE(s.DistanceColors);

    // A sound axis line for a new entry clears the defaults first.
    ApplyBendPlotSettingLine(s, "window.3.axis.7.x:2500", 100, 50000);
    EXPECT_TRUE(s.Axes[7].Exists);
    EXPECT_EQ(s.Axes[7].X, 2500);
    for (int a = 1; a <= 4; ++a) EXPECT_FALSE(s.Axes[static_cast<size_t>(a)].Exists) << a;
    EXPECT_TRUE(s.Axes[BendRootAxis].Exists);

    // Fast draw read back takes its step from the window's file.
    ApplyBendPlotSettingLine(s, "window.3.fastdraw.enabled:1", 120000, 50000);
    EXPECT_TRUE(s.FastDraw);
    EXPECT_EQ(s.EventStep, 3);
    EXPECT_EQ(s.caption(BendMenuFastDraw), "Full draw mode");
}

}  // namespace
}  // namespace qv
