// The 3-D plot's settings lines: a new window's values in order, reading
// them back, and lines whose values cannot apply.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plots/multi/model/ThreeDSettings.h"

namespace qv {
namespace {

std::string line(const std::string& keyValue) { return "window.4." + keyValue; }

TEST(ThreeDSettingsTest, NewWindowWritesNineteenLinesInOrder) {
    const ThreeDState s;
    const std::vector<std::string> lines = ThreeDSettingsLines(s, {15, 30, 4000, 4000, 2});
    const std::vector<std::string> expected = {
        "19", "location.x:15", "location.y:30", "size.x:4000", "size.y:4000", "file:2", "axis.x:1", "axis.y:2",
        "axis.z:3", "show:0", "fastdraw.enabled:0", "rotate.x:0", "rotate.y:0", "rotate.z:0", "lines.show:1",
        "distance:1500", "background:255", "dot.size:1", "parameternames.show:1", "printview.window.visible:0"};
    EXPECT_EQ(lines, expected);
}

TEST(ThreeDSettingsTest, LinesReadBackIntoAnEqualState) {
    ThreeDState s;
    s.AxisX = 4;
    s.AxisY = 1;
    s.AxisZ = 6;
    s.ShownPopulation = 3;
    s.FastDraw = true;
    s.RotateX = 12.5;
    s.RotateY = 359.25;
    s.RotateZ = 7;
    s.ShowOutlines = false;
    s.Distance = 2100;
    s.BackgroundLevel = 0;
    s.DarkBackground = false;
    s.DotSize = 2;
    s.ShowParameterNames = false;
    const std::vector<std::string> lines = ThreeDSettingsLines(s, {});

    ThreeDState r;
    for (size_t i = 1; i < lines.size(); ++i) ApplyThreeDSettingLine(r, line(lines[i]), 120000, 50000);
    EXPECT_EQ(ThreeDSettingsLines(r, {}), lines);
    EXPECT_EQ(r.Step, 3);  // 120000 events over a limit of 50000
    EXPECT_FALSE(r.DarkBackground);
    EXPECT_EQ(r.caption(ThreeDMenuOutlines), "Show outlines");
    EXPECT_EQ(r.caption(ThreeDMenuParameterNames), "Show parameter names");
    EXPECT_EQ(r.caption(ThreeDMenuDotSize), "Small dots");
    EXPECT_EQ(r.caption(ThreeDMenuFastDraw), "Full draw mode");
}

TEST(ThreeDSettingsTest, ValuesAreReadAsTheFieldsHoldThem) {
    ThreeDState s;
    ApplyThreeDSettingLine(s, line("distance:1234.9"), 0, 50000);
    EXPECT_EQ(s.Distance, 1234);  // Int: the fraction is dropped
    ApplyThreeDSettingLine(s, line("distance:-20.5"), 0, 50000);
    EXPECT_EQ(s.Distance, -21);
    // 128 keeps the background choice; the next draw writes 0 or 255 back.
    ApplyThreeDSettingLine(s, line("background:128"), 0, 50000);
    EXPECT_EQ(s.BackgroundLevel, 128);
    EXPECT_TRUE(s.DarkBackground);
    ApplyThreeDSettingLine(s, line("rotate.y:45,5"), 0, 50000);
    EXPECT_EQ(s.RotateY, 45.5);
    const WindowSettingRequest preview = ApplyThreeDSettingLine(s, line("printview.window.visible:1"), 0, 50000);
    EXPECT_EQ(preview.kind, WindowSettingRequest::Kind::Preview);
    EXPECT_TRUE(preview.flag);
    const WindowSettingRequest file = ApplyThreeDSettingLine(s, line("file:3"), 0, 50000);
    EXPECT_EQ(file.kind, WindowSettingRequest::Kind::File);
    EXPECT_EQ(file.number, 3);
}

TEST(ThreeDSettingsTest, ValuesThatCannotApplyChangeNothing) {
    const char* damaged[] = {"axis.x:0",        "axis.y:-3",       "axis.z:99999",   "axis.x:x",
                             "show:101",        "show:-1",         "show:",          "distance:1e300",
                             "distance:abc",    "rotate.x:nan",    "rotate.z:1e200", "background:256",
                             "background:-1",   "dot.size:3",      "lines.show:yes", "fastdraw.enabled:2",
                             "unknown.key:1",   "axis.x",          "parameternames.show:-1"};
    for (const char* d : damaged) {
        SCOPED_TRACE(d);
        ThreeDState s;
        const std::vector<std::string> before = ThreeDSettingsLines(s, {});
        ApplyThreeDSettingLine(s, line(d), 1000, 50000);
        EXPECT_EQ(ThreeDSettingsLines(s, {}), before);
    }
}

}  // namespace
}  // namespace qv
