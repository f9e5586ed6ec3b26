// The overlay and mirror pictures and settings lines without a window:
// ticks, the mirror's texts and ratio, the pixels of an overlay of two
// histograms, and the settings lines in order and back.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>

#include <string>
#include <vector>

#include "core/SharedState.h"
#include "plots/histogram/model/MirrorRenderer.h"
#include "plots/histogram/model/MirrorSettings.h"
#include "plots/histogram/model/OverlayRenderer.h"
#include "plots/histogram/model/OverlaySettings.h"

namespace qv {
namespace {

TEST(MirrorTicks, StepByRangeAndBoundedLoops) {
    struct Case {
        MirrorAxis axis;
        double length;
        size_t ticks;
        double last;
    } cases[] = {
        {{false, 1024}, 1024, 11, 1000},       // every 100 channels
        {{false, 1025}, 1025, 2, 1000},        // every 1000
        {{false, 262144}, 262144, 27, 260000}, // every 10000
        {{false, 1}, 500, 1, 0},               // a new window: one tick at the left end
        {{false, 0}, 500, 0, 0},               // no range: no ticks
        {{false, 1024}, 0, 0, 0},              // a plot of no width
        {{true, 1}, 500, 0, 0},                // a log axis of range 1
        {{true, 0}, 500, 0, 0},
    };
    for (const Case& c : cases) {
        const std::vector<double> t = MirrorTickDistances(c.axis, c.length);
        ASSERT_EQ(t.size(), c.ticks) << c.axis.range;
        if (!t.empty()) {
            EXPECT_DOUBLE_EQ(t.front(), 0.0);
            EXPECT_DOUBLE_EQ(t.back(), c.last) << c.axis.range;
        }
    }
    EXPECT_FALSE(MirrorTickDistances({true, 10000}, 400).empty());
}

TEST(MirrorTexts, RatioIsCutTowardMinusInfinityAndNeedsAnAbsoluteSumAboveOne) {
    const auto t = MirrorTexts(-12.3456f, 100.0f);
    EXPECT_EQ(t[0], "K\xe4yr\xe4n summa: -12.3456");
    EXPECT_EQ(t[1], "K\xe4yr\xe4n abs. summa: 100");
    EXPECT_EQ(t[2], "Summien suhde (-100% - 100%): -12.35 %");
    EXPECT_FLOAT_EQ(MirrorRatio(12.3456f, 100.0f), 12.34f);
    EXPECT_EQ(MirrorRatio(0.5f, 1.0f), 0.0f);
    EXPECT_EQ(MirrorTexts(0, 0)[2], "Summien suhde (-100% - 100%): 0 %");
}

std::vector<double> Peak(int n, int at, double height) {
    std::vector<double> c(static_cast<size_t>(n) + 1, 0.0);
    for (int k = at - 5; k <= at + 5; ++k) c[static_cast<size_t>(k)] = height;
    return c;
}

struct MirrorCase {
    const char* name;
    bool line1, line2;
    float ratio;
};

TEST(MirrorDrawing, DifferenceSumsForIdenticalAndOneSidedSources) {
    const std::vector<double> a = Peak(256, 100, 40);
    const MirrorCase cases[] = {
        {"identical sources", true, true, 0.0f},
        {"line 1 only", true, false, 100.0f},
        {"line 2 only", false, true, -100.0f},
    };
    for (const MirrorCase& c : cases) {
        MirrorState s;
        QImage image(400, 300, QImage::Format_RGB32);
        std::vector<MirrorLine> lines;
        if (c.line1) lines.push_back({1, a, 0});
        if (c.line2) lines.push_back({2, a, 0});
        RenderMirror(image, s, {false, 1024}, lines);
        ASSERT_TRUE(s.LinesDrawn) << c.name;
        float sum = 0, abs = 0;
        for (float d : s.Difference) {
            sum += d;
            abs += std::fabs(d);
        }
        EXPECT_EQ(MirrorRatio(sum, abs), c.ratio) << c.name;
        // Line 1 reaches the margin: its peak is the Y maximum.
        if (c.line1 && !c.line2) {
            EXPECT_NEAR(s.Difference[100], (300 - 36) / 2.0, 0.01);
        }
    }
}

TEST(MirrorDrawing, DifferenceCoversTheLongerLineAndUsesUncutHeights) {
    MirrorState s;
    QImage image(400, 300, QImage::Format_RGB32);
    const std::vector<double> shortLine = Peak(256, 100, 40);
    // A fixed scale of 10 below a peak of 40: columns are cut at the margin,
    // the difference keeps the full height (4 x half the plot height).
    const std::vector<double> longLine = Peak(1024, 600, 40);
    RenderMirror(image, s, {false, 1024}, {{1, shortLine, 0}, {2, longLine, 10}});
    ASSERT_EQ(s.Difference.size(), 1025u);
    EXPECT_EQ(s.Resolution, 1024);
    EXPECT_NEAR(s.Difference[600], -4 * (300 - 36) / 2.0, 0.01);
    // The column of line 2 stops at the bottom margin.
    const int x = static_cast<int>(18 + 600.0 / 1024 * (400 - 36));
    EXPECT_EQ(image.pixel(x, 250), qRgb(160, 160, 160));
    EXPECT_EQ(image.pixel(x, 292), qRgb(255, 255, 255));
}

TEST(MirrorDrawing, NoLinesGivesAxesOnlyAndNoPlotWidthNoColumns) {
    MirrorState s;
    QImage image(400, 300, QImage::Format_RGB32);
    RenderMirror(image, s, {}, {});
    EXPECT_FALSE(s.LinesDrawn);
    EXPECT_EQ(image.pixel(200, 150), qRgb(0, 0, 0));  // the middle line
    EXPECT_EQ(image.pixel(200, 100), qRgb(255, 255, 255));
    QImage narrow(30, 300, QImage::Format_RGB32);
    const std::vector<double> a = Peak(256, 100, 40);
    RenderMirror(narrow, s, {false, 1024}, {{1, a, 0}});
    EXPECT_FALSE(s.LinesDrawn);
}

// Two generated histograms on a plot wider than the bin count: line 1 is
// filled, each outline is in its line's colour, and pixel columns that no
// bin reaches are not joined to the top of the picture.
TEST(OverlayDrawing, TwoHistogramsOnAPlotWiderThanTheBins) {
    resetSharedState();
    OverlayState s;
    s.DarkBackground = false;
    s.LineColor[1] = {0, 200, 0};
    s.LineColor[2] = {0, 0, 255};
    const int W = 1300, H = 300, m = 18;
    QImage image(W, H, QImage::Format_RGB32);
    const std::vector<double> a = Peak(1024, 300, 50);
    const std::vector<double> b = Peak(1024, 700, 20);
    RenderOverlay(image, s, {"FL1-H", false, 1024, 3}, {{1, a, 0}, {2, b, 0}});
    EXPECT_EQ(s.BackgroundValue, 0);
    EXPECT_EQ(s.Resolution, 1024);
    const int plotW = W - 2 * m;
    auto columnX = [&](int k) { return static_cast<int>(m + static_cast<double>(k) / 1024 * plotW); };
    // Line 1's peak is filled in the fill colour from the axis up to the margin.
    EXPECT_EQ(image.pixel(columnX(300), H / 2), qRgb(120, 120, 120));
    // Line 2's peak reaches the top too (each line has its own Y maximum),
    // only as an outline: no fill below it.
    EXPECT_EQ(image.pixel(columnX(700), m), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(columnX(700), H / 2), qRgb(255, 255, 255));
    // Nothing but the picture edge above the plotting area.
    for (int x = m + 1; x < W - m; ++x)
        for (int y = 0; y < m - 2; ++y) ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

TEST(OverlayDrawing, MarkersFollowLineOnesChannel) {
    resetSharedState();
    PopulationRecord& r = g.PopulationTable[2];
    r.InUse = true;
    r.Type = "Histogram";
    r.AxisX = 3;
    r.CornerX[1] = 2000;
    r.CornerX[2] = 4000;
    r.CornerY[1] = 5000;
    OverlayState s;
    QImage image(400, 300, QImage::Format_RGB32);
    const int barY = 18 + (300 - 36) / 2, barX = 18 + 364 * 3 / 10;
    RenderOverlay(image, s, {"FL1-H", false, 1024, 3}, {});
    EXPECT_EQ(image.pixel(barX, barY), qRgb(255, 255, 255));
    RenderOverlay(image, s, {"FL1-H", false, 1024, 2}, {});
    EXPECT_EQ(image.pixel(barX, barY), qRgb(0, 0, 0));
    s.ShowRegionLines = false;
    RenderOverlay(image, s, {"FL1-H", false, 1024, 3}, {});
    EXPECT_EQ(image.pixel(barX, barY), qRgb(0, 0, 0));
    resetSharedState();
}

TEST(OverlaySettings, DefaultLinesInOrderAndRoundTrip) {
    OverlayState s;
    const std::vector<std::string> lines = OverlaySettingsLines(s, {15, 30, 6000, 5000, 0});
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[0], "27");
    const std::vector<std::string> head(lines.begin() + 1, lines.begin() + 12);
    EXPECT_EQ(head, (std::vector<std::string>{"location.x:15", "location.y:30", "size.x:6000", "size.y:5000",
                                              "maxnumberoflines:4", "regionlines.show:1", "fill.red:120",
                                              "fill.green:120", "fill.blue:120", "background:0",
                                              "printview.window.visible:0"}));
    EXPECT_EQ(lines[12], "line.1.window:0");
    EXPECT_EQ(lines[13], "line.1.red:255");
    EXPECT_EQ(lines[27], "line.4.blue:0");

    OverlayState changed;
    changed.LineWindow[2] = 7;
    changed.LineColor[3] = {10, 20, 30};
    changed.FillGreen = 9;
    changed.ShowRegionLines = false;
    changed.BackgroundValue = 255;
    OverlayState back;
    back.DarkBackground = false;
    for (const std::string& l : OverlaySettingsLines(changed, {})) {
        const WindowSettingRequest req = ApplyOverlaySettingLine(back, "window.3." + l);
        if (l.rfind("location", 0) == 0 || l.rfind("size", 0) == 0) {
            EXPECT_NE(req.kind, WindowSettingRequest::Kind::None);
        }
    }
    EXPECT_EQ(back.LineWindow, changed.LineWindow);
    EXPECT_EQ(back.LineColor, changed.LineColor);
    EXPECT_EQ(back.FillGreen, 9);
    EXPECT_FALSE(back.ShowRegionLines);
    EXPECT_EQ(back.caption(OverlayMenuRegionLines), "Show marker lines");
    EXPECT_TRUE(back.DarkBackground);
}

TEST(OverlaySettings, OutOfRangeAndNonNumericLinesAreIgnored) {
    OverlayState s;
    const OverlayState fresh;
    const char* bad[] = {"window.3.line.101.window:2", "window.3.line.-1.window:2", "window.3.line.x.window:2",
                         "window.3.line.2.window:abc", "window.3.line.11.red:5", "window.3.line.2.red:256",
                         "window.3.fill.red:-1", "window.3.fill.blue:", "window.3.background:300",
                         "window.3.regionlines.show:yes", "window.3.line.2.window:70000", "window.3.nothing"};
    for (const char* l : bad) {
        EXPECT_EQ(ApplyOverlaySettingLine(s, l).kind, WindowSettingRequest::Kind::None) << l;
        EXPECT_EQ(s.LineWindow, fresh.LineWindow) << l;
        EXPECT_EQ(s.LineColor, fresh.LineColor) << l;
        EXPECT_EQ(s.FillRed, fresh.FillRed) << l;
        EXPECT_EQ(s.BackgroundValue, fresh.BackgroundValue) << l;
        EXPECT_TRUE(s.ShowRegionLines) << l;
    }
    // Lines above the four shown are stored.
    ApplyOverlaySettingLine(s, "window.3.line.9.window:4");
    EXPECT_EQ(s.LineWindow[9], 4);
}

TEST(MirrorSettings, LinesInOrderAndRoundTrip) {
    MirrorState s;
    s.LineWindow[1] = 2;
    s.LineWindow[2] = 3;
    const std::vector<std::string> lines = MirrorSettingsLines(s, {1.5f, 30, 6000, 4000, 0});
    EXPECT_EQ(lines, (std::vector<std::string>{"6", "location.x:1.5", "location.y:30", "size.x:6000", "size.y:4000",
                                               "line.1.window:2", "line.2.window:3"}));
    MirrorState back;
    EXPECT_EQ(ApplyMirrorSettingLine(back, "window.9.size.y:4000").kind, WindowSettingRequest::Kind::Height);
    for (size_t k = 5; k < lines.size(); ++k) ApplyMirrorSettingLine(back, "window.9." + lines[k]);
    EXPECT_EQ(back.LineWindow, s.LineWindow);
    for (const char* l : {"window.9.line.2.window:x", "window.9.line.200.window:1", "window.9.file:3"})
        EXPECT_EQ(ApplyMirrorSettingLine(back, l).kind, WindowSettingRequest::Kind::None) << l;
    EXPECT_EQ(back.LineWindow, s.LineWindow);
}

}  // namespace
}  // namespace qv
