// The DAD window's eleven settings lines: order, reading back, whole numbers
// read as the fields hold them, and values that must be refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plots/multi/model/DadSettings.h"

namespace qv {
namespace {

std::string line(const std::string& keyValue) { return "window.6." + keyValue; }

TEST(DadSettingsTest, NewWindowWritesElevenLinesInOrder) {
    const DadLayout l;
    const std::vector<std::string> lines = DadSettingsLines(l, {}, 150, 300, 2);
    const std::vector<std::string> expected = {"11",           "location.x:150", "location.y:300", "file:2",
                                               "axis.x:1",     "axis.y:2",       "iterations:100", "deviator:1000",
                                               "events:1000",  "movement.x:0",   "movement.y:0",   "show:0"};
    EXPECT_EQ(lines, expected);
}

TEST(DadSettingsTest, LinesReadBackIntoAnEqualState) {
    DadLayout l;
    l.StartAxisX = 3;
    l.StartAxisY = 5;
    l.IterationCount = 40;
    l.Deviator = 250;
    l.SampleSize = 600;
    l.ShownPopulation = 7;
    const DadPan pan{20, -10};
    const std::vector<std::string> lines = DadSettingsLines(l, pan, 0, 0, 0);

    DadLayout r;
    DadPan rp;
    for (size_t i = 1; i < lines.size(); ++i) ApplyDadSettingLine(r, rp, line(lines[i]));
    EXPECT_EQ(DadSettingsLines(r, rp, 0, 0, 0), lines);
}

TEST(DadSettingsTest, NumbersAreReadAsTheFieldsHoldThem) {
    DadLayout l;
    DadPan pan;
    ApplyDadSettingLine(l, pan, line("events:250.9"));
    EXPECT_EQ(l.SampleSize, 250);
    ApplyDadSettingLine(l, pan, line("axis.x:2.5"));
    EXPECT_EQ(l.StartAxisX, 2);
    ApplyDadSettingLine(l, pan, line("axis.y:3.5"));
    EXPECT_EQ(l.StartAxisY, 4);
    ApplyDadSettingLine(l, pan, line("iterations:7.99"));
    EXPECT_EQ(l.IterationCount, 7);
    ApplyDadSettingLine(l, pan, line("movement.x:-20.5"));
    EXPECT_EQ(pan.x, -20);
    ApplyDadSettingLine(l, pan, line("show:3.7"));
    EXPECT_EQ(l.ShownPopulation, 3);

    using Kind = WindowSettingRequest::Kind;
    EXPECT_EQ(ApplyDadSettingLine(l, pan, line("location.x:90")).kind, Kind::Left);
    EXPECT_EQ(ApplyDadSettingLine(l, pan, line("file:4")).kind, Kind::File);
    // The window keeps its designed size and is never on the print page.
    EXPECT_EQ(ApplyDadSettingLine(l, pan, line("size.x:9000")).kind, Kind::None);
    EXPECT_EQ(ApplyDadSettingLine(l, pan, line("printview.window.visible:1")).kind, Kind::None);
}

TEST(DadSettingsTest, RefusedValuesChangeNothing) {
    const char* refused[] = {"events:0",      "events:-5",     "events:abc",     "events:1e12",
                             "deviator:0",    "deviator:0.5",  "deviator:-1",    "iterations:0",
                             "iterations:x",  "axis.x:0",      "axis.y:70000",   "movement.x:1e20",
                             "movement.y:",   "show:101",      "show:-1",        "show:nan",
                             "nothing.here:5", "events"};
    for (const char* r : refused) {
        SCOPED_TRACE(r);
        DadLayout l;
        DadPan pan;
        ApplyDadSettingLine(l, pan, line(r));
        EXPECT_EQ(DadSettingsLines(l, pan, 0, 0, 0), DadSettingsLines(DadLayout(), DadPan(), 0, 0, 0));
    }
}

}  // namespace
}  // namespace qv
