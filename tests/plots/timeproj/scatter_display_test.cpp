// The scatter display the flux tracker and the projector share: density
// levels and the single-point cells of a narrow or low picture, linear tick
// steps, the fast-draw step with its captions, the axis strips, the checks on
// axis and population values, and the common settings lines.
#include <gtest/gtest.h>

#include <QImage>

#include <string>
#include <vector>

#include "app/model/WindowSettingsLine.h"
#include "core/AxisTicks.h"
#include "core/SharedState.h"
#include "plots/dotplot/model/DotPlotRenderer.h"
#include "plots/timeproj/model/ScatterDisplay.h"
#include "plots/timeproj/model/ScatterSettings.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

using test::MakeFile;
using test::MakeUniformFile;

constexpr ScatterMenuItems kItems{4, 7, 9, 10, 12, 13, 14, 16};

ScatterView newView() {
    std::vector<std::string> captions(17, "-");
    captions[0] = "";
    captions[4] = "Dot plot";
    captions[7] = "Disable multicoloring";
    captions[13] = "Large dots";
    captions[14] = "Fast draw mode";
    captions[16] = "Show in print preview page";
    return NewScatterView(3, "(3): Projector - No File", kItems, captions);
}

class ScatterDisplayTest : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
    void TearDown() override { resetSharedState(); }

    uint8_t greyAt(const QImage& image, int x, int y) { return static_cast<uint8_t>(qRed(image.pixel(x, y))); }

    DotPlotRenderer renderer;
};

TEST_F(ScatterDisplayTest, DensityCellsTakeTheLevelOfTheirCount) {
    // Every event at (512, 512) of 1024: cell (256, 256), drawn at (300, 300)
    // on a picture whose plotting area is 564 units wide.
    const std::vector<std::pair<int, int>> cases = {{1, 60}, {2, 95}, {10, 208}, {18, 255}, {40, 255}};
    for (const auto& [events, level] : cases) {
        SCOPED_TRACE(events);
        const FileRecord file = MakeUniformFile(events, 512, 512);
        ScatterView view = newView();
        QImage image(600, 600, QImage::Format_RGB32);
        DrawScatter(image, view, file, {}, renderer);
        EXPECT_EQ(greyAt(image, 300, 300), level);
        ASSERT_FALSE(view.DensityGrid.empty());
        EXPECT_EQ(view.DensityGrid[static_cast<size_t>(256 + 10) * (512 + 21) + (256 + 10)], events);
    }
}

TEST_F(ScatterDisplayTest, DensityCellsArePointsWhenThePictureIsNarrowerOrLowerThanTheGrid) {
    const FileRecord file = MakeUniformFile(5, 512, 512);
    ScatterView view = newView();
    // Wide enough, and high enough: a box of 1 + 1 units per cell.
    QImage big(600, 600, QImage::Format_RGB32);
    DrawScatter(big, view, file, {}, renderer);
    EXPECT_NE(greyAt(big, 301, 300), 0);
    // Wide enough but lower than the grid: one point per cell.
    QImage low(600, 400, QImage::Format_RGB32);
    DrawScatter(low, view, file, {}, renderer);
    const int py = 18 + 364 * 256 / 512;
    EXPECT_NE(greyAt(low, 300, py), 0);
    EXPECT_EQ(greyAt(low, 301, py), 0);
    EXPECT_EQ(greyAt(low, 300, py + 1), 0);
}

TEST_F(ScatterDisplayTest, LinearTicksStepByAPowerOfTenBelowTheRange) {
    const std::vector<double> small = LinearTickDistances(1023, 1023);
    ASSERT_EQ(small.size(), 103u);  // 0, 10, ..., 1020
    EXPECT_DOUBLE_EQ(small[1], 10.0);
    EXPECT_DOUBLE_EQ(small.back(), 1020.0);
    const std::vector<double> large = LinearTickDistances(262144, 262.144);
    ASSERT_EQ(large.size(), 263u);  // every 1000 channels
    EXPECT_NEAR(large[1], 1.0, 1e-12);

    // On the picture: a tick below the X axis every 10 units from the origin.
    const FileRecord file = MakeFile({{"FSC", 1023}, {"SSC", 1023}}, {{5000, 5000}});
    ScatterView view = newView();
    view.DensityShown = false;
    QImage image(1023 + 36, 300, QImage::Format_RGB32);
    DrawScatter(image, view, file, {}, renderer);
    const int below = 300 - 18 + 2;
    EXPECT_EQ(greyAt(image, 18 + 10, below), 255);
    EXPECT_EQ(greyAt(image, 18 + 1020, below), 255);
    EXPECT_EQ(greyAt(image, 18 + 15, below), 0);
}

TEST_F(ScatterDisplayTest, FastDrawStepAndCaptionsFollowTheLimit) {
    ScatterView view = newView();
    ChooseDrawMode(view, 2500, 1000);
    EXPECT_TRUE(view.FastDraw);
    EXPECT_EQ(view.EventStep, 3);
    EXPECT_EQ(view.caption(14), "Full draw mode");

    EXPECT_TRUE(ToggleFastDraw(view, 2500, 1000));
    EXPECT_FALSE(view.FastDraw);
    EXPECT_EQ(view.EventStep, 1);
    EXPECT_EQ(view.caption(14), "Fast draw mode");

    EXPECT_TRUE(ToggleFastDraw(view, 2500, 1000));
    EXPECT_EQ(view.EventStep, 3);

    ScatterView few = newView();
    ChooseDrawMode(few, 800, 1000);
    EXPECT_FALSE(few.FastDraw);
    EXPECT_FALSE(ToggleFastDraw(few, 800, 1000));  // nothing to switch, no redraw
    EXPECT_FALSE(few.FastDraw);
    EXPECT_EQ(few.caption(14), "Fast draw mode");
}

TEST_F(ScatterDisplayTest, TheQuickPassDrawsAboutAThousandEvents) {
    const FileRecord file = MakeUniformFile(50000, 100, 100);
    ScatterView view = newView();
    view.DensityShown = false;
    QImage image(300, 300, QImage::Format_RGB32);
    EXPECT_EQ(DrawScatter(image, view, file, {}, renderer), 50000);
    ScatterDrawOptions quick;
    quick.quickPass = true;
    EXPECT_EQ(DrawScatter(image, view, file, quick, renderer), 1000);  // every 50th
    EXPECT_EQ(view.EventStep, 1);
}

TEST_F(ScatterDisplayTest, DisplayItemsToggleWithTheirCaptions) {
    ScatterView view = newView();
    ASSERT_TRUE(ToggleDisplayItem(view, 4));
    EXPECT_FALSE(view.DensityShown);
    EXPECT_EQ(view.caption(4), "Density plot");
    ASSERT_TRUE(ToggleDisplayItem(view, 7));
    EXPECT_EQ(view.caption(7), "Enable multicoloring");
    ASSERT_TRUE(ToggleDisplayItem(view, 13));
    EXPECT_EQ(view.DotSize, 2);
    EXPECT_EQ(view.caption(13), "Small dots");
    ASSERT_TRUE(ToggleDisplayItem(view, 12));
    EXPECT_FALSE(view.DarkBackground);
    for (int other : {0, 1, 3, 9, 14, 16, 99}) EXPECT_FALSE(ToggleDisplayItem(view, other)) << other;
}

TEST_F(ScatterDisplayTest, AxisStripsOpenTheParameterList) {
    struct Case {
        double x, y;
        int axis;
    };
    // Picture 400 x 400, margin 18.
    const std::vector<Case> cases = {{5, 200, 2}, {18, 200, 0}, {5, 10, 0}, {200, 390, 1},
                                     {18, 390, 0}, {200, 200, 0}, {5, 390, 0}};
    for (const Case& c : cases) EXPECT_EQ(AxisStripAt(c.x, c.y, 400, 400, 18), c.axis) << c.x << "," << c.y;
}

TEST_F(ScatterDisplayTest, AxisAndPopulationValuesOutsideTheFileAreRefused) {
    struct Case {
        const char* text;
        int parameters;
        int expected;  // -1 refused
    };
    const std::vector<Case> axes = {{"3", 4, 3},  {"4", 4, 4},   {"5", 4, -1},  {"0", 4, -1},  {"-2", 4, -1},
                                    {"x", 4, -1}, {"2.5", 4, 2}, {" 3,0 ", 4, 3}, {"40", 0, 40}, {"99999", 0, -1}};
    for (const Case& c : axes) {
        const auto v = AxisValue(c.text, c.parameters);
        EXPECT_EQ(v ? *v : -1, c.expected) << c.text;
    }
    const std::vector<std::pair<const char*, int>> shown = {{"0", 0}, {"5", 5}, {"32", 32}, {"33", -1},
                                                            {"-1", -1}, {"", -1}, {"two", -1}};
    for (const auto& [text, expected] : shown) {
        const auto v = ShownPopulationValue(text);
        EXPECT_EQ(v ? *v : -1, expected) << text;
    }
}

TEST_F(ScatterDisplayTest, AnAxisAboveTheParameterCountFallsBackAtTheDraw) {
    const FileRecord file = MakeFile({{"A", 1024}, {"B", 1024}, {"C", 1024}}, {{1, 2, 3}});
    ScatterView view = newView();
    view.AxisX = 7;
    view.AxisY = 9;
    view.ShownPopulation = 5;  // not in use
    QImage image(200, 200, QImage::Format_RGB32);
    DrawScatter(image, view, file, {}, renderer);
    EXPECT_EQ(view.AxisX, 1);
    EXPECT_EQ(view.AxisY, 2);
    EXPECT_EQ(view.ShownPopulation, 0);
}

TEST_F(ScatterDisplayTest, CommonSettingsLinesReadBackIntoAnotherView) {
    ScatterView view = newView();
    view.AxisX = 3;
    view.AxisY = 4;
    view.ShownPopulation = 2;
    view.DensityShown = false;
    view.FastDraw = true;
    view.ForegroundLevel = 0;
    view.DarkBackground = false;
    view.Multicolor = false;
    view.DotSize = 2;
    WindowFrameTwips frame{150, 300, 6000, 6000, 1};
    std::vector<std::string> lines;
    AppendScatterSettingsLines(lines, view, frame);
    const std::vector<std::string> expected = {
        "location.x:150",      "location.y:300",     "size.x:6000",         "size.y:6000",
        "file:1",              "axis.x:3",           "axis.y:4",            "show:2",
        "density.enabled:0",   "density.resolution:512", "fastdraw.enabled:1", "background:0",
        "multicolor.enabled:0", "dot.size:2",        "printview.window.visible:0"};
    EXPECT_EQ(lines, expected);

    ScatterView back = newView();
    ScatterFileFacts facts{2500, 4, 1000};
    for (const std::string& l : lines) {
        bool handled = false;
        ApplyScatterSettingLine(back, ParseWindowSettingsLine("window.3." + l), facts, handled);
        EXPECT_TRUE(handled) << l;
    }
    EXPECT_EQ(back.AxisX, 3);
    EXPECT_EQ(back.AxisY, 4);
    EXPECT_EQ(back.ShownPopulation, 2);
    EXPECT_FALSE(back.DensityShown);
    EXPECT_EQ(back.caption(4), "Density plot");
    EXPECT_TRUE(back.FastDraw);
    EXPECT_EQ(back.EventStep, 3);
    EXPECT_EQ(back.caption(14), "Full draw mode");
    EXPECT_FALSE(back.DarkBackground);
    EXPECT_FALSE(back.Multicolor);
    EXPECT_EQ(back.caption(7), "Enable multicoloring");
    EXPECT_EQ(back.DotSize, 2);
    EXPECT_EQ(back.caption(13), "Small dots");
}

TEST_F(ScatterDisplayTest, DamagedSettingsValuesChangeNothing) {
    ScatterView view = newView();
    ScatterFileFacts facts{100, 4, 1000};
    for (const char* line : {"window.3.axis.x:9", "window.3.axis.x:-1", "window.3.axis.y:abc", "window.3.show:-4",
                             "window.3.show:200", "window.3.background:300", "window.3.background:128",
                             "window.3.dot.size:3", "window.3.density.enabled:yes"}) {
        bool handled = false;
        ApplyScatterSettingLine(view, ParseWindowSettingsLine(line), facts, handled);
    }
    EXPECT_EQ(view.AxisX, 1);
    EXPECT_EQ(view.AxisY, 2);
    EXPECT_EQ(view.ShownPopulation, 0);
    EXPECT_EQ(view.ForegroundLevel, 128);  // a grey level leaves the background as it was
    EXPECT_TRUE(view.DarkBackground);
    EXPECT_EQ(view.DotSize, 1);
    EXPECT_TRUE(view.DensityShown);
}

}  // namespace
}  // namespace qv
