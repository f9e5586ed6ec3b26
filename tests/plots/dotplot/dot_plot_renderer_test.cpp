// The dot plot picture, pixel by pixel: dots at known places on linear and
// log axes, colour precedence of populations, density grey levels, ticks,
// gates, the quadrant cross, the event step, and the damaged inputs a plot
// must survive (channels and populations out of range, no plot area,
// ranges without a scale, gates without corners).
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <limits>
#include <vector>

#include "core/AxisScaling.h"
#include "core/SharedState.h"
#include "plots/dotplot/model/DotPlotRenderer.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

using test::MakeFile;
using test::PutPolygon;

// 436 x 436 pixels: with the margin of 18 the plotting area is 400 x 400,
// so on a linear axis of range 1000 the value v lies 0.4 v pixels from the
// origin: x = 18 + 0.4 v, y = 418 - 0.4 v.
constexpr int kSide = 436;

QRgb rgb(int r, int g, int b) { return qRgb(r, g, b); }
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

class DotPlotRendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        image = QImage(kSide, kSide, QImage::Format_RGB32);
        state.ID = 1;
    }

    int64_t draw(const FileRecord& file, bool quick = false) {
        DotPlotRenderOptions o;
        o.quickPass = quick;
        return renderer.render(image, state, file, o);
    }

    QRgb at(int x, int y) const { return image.pixel(x, y); }

    // Pixels inside the plotting area (axes and tick strips left out) that
    // are not background.
    int paintedInside() const {
        int n = 0;
        for (int y = 19; y < kSide - 19; ++y)
            for (int x = 19; x < kSide - 18; ++x)
                if (image.pixel(x, y) != kBlack) ++n;
        return n;
    }

    QImage image;
    DotPlotState state;
    DotPlotRenderer renderer;
};

TEST_F(DotPlotRendererTest, DotsLandAtTheirLinearPositions) {
    const FileRecord file =
        MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{250, 500}, {500, 250}, {750, 750}, {100, 900}});
    EXPECT_EQ(draw(file), 4);
    EXPECT_EQ(at(118, 218), kWhite);
    EXPECT_EQ(at(218, 318), kWhite);
    EXPECT_EQ(at(318, 118), kWhite);
    EXPECT_EQ(at(58, 58), kWhite);
    EXPECT_EQ(paintedInside(), 4);
    EXPECT_EQ(state.ForegroundGrey, 255);
}

TEST_F(DotPlotRendererTest, DotsLandAtTheirLogPositions) {
    // Log axis of range 10000: value v at 100 * log10(v) pixels; values up to 1 at 1/10000 of the axis.
    const FileRecord file = MakeFile({{"FL1", 10000, true}, {"FL2", 10000, true}},
                                     {{100, 1000}, {10, 100}, {1000, 10}, {0.5f, -3}});
    EXPECT_EQ(draw(file), 4);
    EXPECT_EQ(at(218, 118), kWhite);
    EXPECT_EQ(at(118, 218), kWhite);
    EXPECT_EQ(at(318, 318), kWhite);
    EXPECT_EQ(at(18, 418), kWhite);  // (0.5, -3): the origin
    EXPECT_EQ(paintedInside(), 3);
}

TEST_F(DotPlotRendererTest, LightBackgroundDrawsBlackOnWhite) {
    state.DarkBackground = false;
    const FileRecord file = MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{250, 500}});
    draw(file);
    EXPECT_EQ(state.ForegroundGrey, 0);
    EXPECT_EQ(at(118, 218), kBlack);
    EXPECT_EQ(at(200, 200), kWhite);
    EXPECT_EQ(at(18, 200), kBlack);  // Y axis
}

TEST_F(DotPlotRendererTest, LargeDotsCoverTwoByTwoPixels) {
    state.DotSize = 2;
    const FileRecord file = MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{250, 500}});
    draw(file);
    EXPECT_EQ(paintedInside(), 4);
    EXPECT_EQ(at(118, 218), kWhite);
    EXPECT_EQ(at(119, 219), kWhite);
}

TEST_F(DotPlotRendererTest, ValuesBeyondTheRangeAreClippedNotWrapped) {
    const FileRecord file = MakeFile({{"FSC", 1000}, {"SSC", 1000}},
                                     {{5000, 500}, {500, 5000}, {1e30f, 1e30f},
                                      {std::numeric_limits<float>::quiet_NaN(), 500}});
    EXPECT_EQ(draw(file), 1);  // only the value that is no number, put at the origin of X
    EXPECT_EQ(paintedInside(), 0);
}

struct PrecedenceCase {
    const char* what;
    bool transparent20;
    bool multicolour;
    bool inUse20;
    QRgb expected;
};

TEST_F(DotPlotRendererTest, LastColouredSlotWins) {
    const PrecedenceCase cases[] = {
        {"definition over population", false, true, true, rgb(200, 180, 100)},
        {"transparent definition leaves the population's colour", true, true, true, rgb(0, 0, 255)},
        {"multicolour off draws every dot plain", false, false, true, kWhite},
        {"slot not in use gives no colour", false, true, false, rgb(0, 0, 255)},
    };
    for (const PrecedenceCase& c : cases) {
        SCOPED_TRACE(c.what);
        resetSharedState();
        FileRecord file = MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{250, 500}, {500, 250}});
        file.Membership(1, 3) = 1;
        file.Membership(1, 20) = 1;
        file.Membership(2, 3) = 1;
        g.PopulationTable[3].InUse = true;
        g.PopulationTable[20].InUse = c.inUse20;
        g.PopulationTable[20].Transparent = c.transparent20;
        state.MulticolourOn = c.multicolour;
        draw(file);
        EXPECT_EQ(at(118, 218), c.expected);
        EXPECT_EQ(at(218, 318), c.multicolour ? rgb(0, 0, 255) : kWhite);
    }
}

TEST_F(DotPlotRendererTest, ShownPopulationFiltersEvents) {
    FileRecord file = MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{250, 500}, {500, 250}, {750, 750}});
    file.Membership(2, 5) = 1;
    g.PopulationTable[5].InUse = true;
    g.PopulationTable[5].Transparent = true;
    state.ShownPopulation = 5;
    EXPECT_EQ(draw(file), 1);
    EXPECT_EQ(at(218, 318), kWhite);
    EXPECT_EQ(paintedInside(), 1);
}

TEST_F(DotPlotRendererTest, ShownPopulationOutOfUseOrRangeFallsBackToAllEvents) {
    const FileRecord file = MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{250, 500}, {500, 250}});
    for (int shown : {3, 40, 101, 5000, -7}) {
        SCOPED_TRACE(shown);
        state.ShownPopulation = static_cast<int16_t>(shown);
        EXPECT_EQ(draw(file), 2);
        EXPECT_EQ(state.ShownPopulation, 0);
    }
}

TEST_F(DotPlotRendererTest, ChannelsOutsideTheFileAreBroughtIntoRange) {
    const FileRecord three = MakeFile({{"A", 1000}, {"B", 1000}, {"C", 1000}}, {{250, 500, 750}});
    state.ChannelX = 9;
    state.ChannelY = 0;
    EXPECT_EQ(draw(three), 1);
    EXPECT_EQ(state.ChannelX, 1);
    EXPECT_EQ(state.ChannelY, 2);
    EXPECT_EQ(at(118, 218), kWhite);

    const FileRecord one = MakeFile({{"A", 1000}}, {{250}});
    state.ChannelX = 1;
    state.ChannelY = 2;
    EXPECT_EQ(draw(one), 1);
    EXPECT_EQ(state.ChannelY, 1);
    EXPECT_EQ(at(118, 318), kWhite);

    // No parameters at all: the axes only.
    FileRecord none = MakeFile({}, {});
    none.EventCount = 5;
    EXPECT_EQ(draw(none), 0);
    EXPECT_EQ(at(18, 200), kWhite);
    EXPECT_EQ(paintedInside(), 0);
}

TEST_F(DotPlotRendererTest, TicksFollowLinearAndLogAxes) {
    // Linear range 1024: a tick every 10 channels, 103 in all.
    const FileRecord lin = MakeFile({{"FSC", 1024}, {"SSC", 1024}}, {});
    draw(lin);
    EXPECT_EQ(at(18, 420), kWhite);
    EXPECT_EQ(at(18 + static_cast<int>(std::floor(400.0 * 510 / 1024 + 0.5)), 422), kWhite);
    EXPECT_EQ(at(16, 418 - static_cast<int>(std::floor(400.0 * 1020 / 1024 + 0.5))), kWhite);
    int ticks = 0;
    for (int x = 0; x < kSide; ++x)
        if (at(x, 421) == kWhite) ++ticks;
    EXPECT_EQ(ticks, 103);

    // Log range 10000: ticks at 1..10, 20..100, ... 10000, i.e. 18 + 100 log10(v); none beyond the end.
    const FileRecord log = MakeFile({{"FL1", 10000, true}, {"FL2", 10000, true}}, {});
    draw(log);
    ticks = 0;
    for (int x = 0; x < kSide; ++x)
        if (at(x, 421) == kWhite) ++ticks;
    EXPECT_EQ(ticks, 37);
    EXPECT_EQ(at(118, 421), kWhite);
    EXPECT_EQ(at(148, 421), kWhite);  // 20
    EXPECT_EQ(at(130, 421), kBlack);
    EXPECT_EQ(at(418, 421), kWhite);  // 10000, the end
}

TEST_F(DotPlotRendererTest, RangesWithoutScaleDrawWithoutTicks) {
    for (auto [range, isLog] : {std::pair{0, false}, std::pair{0, true}, std::pair{1, true}, std::pair{-5, true},
                                std::pair{-5, false}}) {
        SCOPED_TRACE(range);
        const FileRecord file = MakeFile({{"A", range, isLog}, {"B", range, isLog}}, {{5, 5}});
        EXPECT_EQ(draw(file), 1);
        int ticks = 0;
        for (int x = 19; x < kSide; ++x)
            if (at(x, 421) == kWhite) ++ticks;
        EXPECT_EQ(ticks, 0);
        EXPECT_EQ(at(18, 418), kWhite);  // every event at the origin
    }
}

TEST_F(DotPlotRendererTest, NoPlotAreaDrawsNoEvents) {
    const FileRecord file = MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{250, 500}});
    PutPolygon(1, 1, 2, {{0, 0}, {10000, 0}, {10000, 10000}});
    state.QuadrantOn = true;
    for (auto [w, h] : {std::pair{36, 36}, std::pair{20, 200}, std::pair{200, 10}, std::pair{1, 1}}) {
        SCOPED_TRACE(w);
        image = QImage(w, h, QImage::Format_RGB32);
        EXPECT_EQ(draw(file), 0);
        state.DensityOn = !state.DensityOn;
        EXPECT_EQ(draw(file), 0);
    }
}

TEST_F(DotPlotRendererTest, DensityGreyLevels) {
    const std::pair<int, int> levels[] = {{1, 60}, {2, 95}, {9, 200}, {16, 246}, {17, 251}, {18, 255}, {500, 255}};
    for (auto [count, grey] : levels) EXPECT_EQ(DensityGrey(count), grey) << count;
}

TEST_F(DotPlotRendererTest, DensityCellsTakeTheirCountsGrey) {
    // A plot of 512 x 512 pixels: cell (gx, gy) has its box at (18 + gx, 18 + gy)
    // and covers 2 x 2 pixels. Range 1024: a value v falls in cell v / 2.
    image = QImage(548, 548, QImage::Format_RGB32);
    state.DensityOn = true;
    std::vector<std::vector<float>> events;
    const std::pair<int, float> groups[] = {{1, 100}, {9, 200}, {16, 300}, {18, 400}, {40, 500}};
    for (auto [count, x] : groups)
        for (int i = 0; i < count; ++i) events.push_back({x, 600});
    const FileRecord file = MakeFile({{"FSC", 1024}, {"SSC", 1024}}, events);
    EXPECT_EQ(draw(file), 84);
    const int y = 18 + (512 - 300);
    const std::pair<int, int> expected[] = {{50, 60}, {100, 200}, {150, 246}, {200, 255}, {250, 255}};
    for (auto [gx, grey] : expected) {
        SCOPED_TRACE(gx);
        EXPECT_EQ(state.densityCount(gx, 212), gx == 50 ? 1 : gx == 100 ? 9 : gx == 150 ? 16 : gx == 200 ? 18 : 40);
        EXPECT_EQ(image.pixel(18 + gx, y), qRgb(grey, grey, grey));
        EXPECT_EQ(image.pixel(19 + gx, y + 1), qRgb(grey, grey, grey));
    }
}

TEST_F(DotPlotRendererTest, DensityCellsAreSinglePointsOnSmallPlots) {
    state.DensityOn = true;
    const FileRecord file = MakeFile({{"FSC", 1024}, {"SSC", 1024}}, {{512, 512}, {512, 512}});
    EXPECT_EQ(draw(file), 2);
    // Cell (256, 256) at 18 + 400 * 256 / 512 = 218 both ways.
    EXPECT_EQ(at(218, 218), qRgb(95, 95, 95));
    EXPECT_EQ(paintedInside(), 1);
}

TEST_F(DotPlotRendererTest, DensityCellsOutsideTheGridAreSkipped) {
    state.DensityOn = true;
    const FileRecord file = MakeFile({{"FSC", 1024}, {"SSC", 1024}},
                                     {{100000, 10}, {10, 100000}, {1e30f, -1e30f}, {1040, 10}, {10, 10}});
    // 1040 lies in cell 520, inside the grid's margin of 10 cells.
    EXPECT_EQ(draw(file), 2);
    EXPECT_EQ(state.densityCount(520, 507), 1);
    EXPECT_EQ(state.densityCount(5, 507), 1);

    // Just above the Y range: cell row -1 (rounded down), not row 0.
    const FileRecord above = MakeFile({{"FSC", 1024}, {"SSC", 1024}}, {{10, 1025}, {10, 1044}, {10, 1045}});
    EXPECT_EQ(draw(above), 2);
    EXPECT_EQ(state.densityCount(5, -1), 1);
    EXPECT_EQ(state.densityCount(5, 0), 0);
    EXPECT_EQ(state.densityCount(5, -10), 1);
}

TEST_F(DotPlotRendererTest, FastDrawStepDrawsEveryThirdEvent) {
    const FileRecord file = test::MakeUniformFile(120000, 250, 500);
    state.EventStep = FastDrawStep(file.EventCount, 50000);
    EXPECT_EQ(state.EventStep, 3);
    EXPECT_EQ(draw(file), 40000);
    // The quick pass after a resize: about 1000 events, whatever the step, which stays.
    EXPECT_EQ(draw(file, true), 1000);
    EXPECT_EQ(state.EventStep, 3);
}

TEST_F(DotPlotRendererTest, FastDrawStepArithmetic) {
    EXPECT_EQ(FastDrawStep(49999, 50000), 1);
    EXPECT_EQ(FastDrawStep(120000, 50000), 3);
    EXPECT_EQ(FastDrawStep(1000000, 1), 1000001);  // beyond 16 bits
    EXPECT_EQ(FastDrawStep(1000, 0), 1001);        // a limit below 1 counts as 1
    EXPECT_EQ(FastDrawStep(1000, -5), 1001);
}

TEST_F(DotPlotRendererTest, GatesOfThePairAreOutlinedAndLabelled) {
    const FileRecord file = MakeFile({{"FSC", 1000}, {"SSC", 1000}, {"FL1", 1000}}, {});
    PutPolygon(2, 1, 2, {{2500, 2500}, {7500, 2500}, {7500, 7500}, {2500, 7500}}, "Lymph");
    PutPolygon(3, 1, 3, {{1000, 1000}, {1500, 1000}, {1500, 1500}});  // another pair
    draw(file);
    EXPECT_EQ(at(118, 200), kWhite);
    EXPECT_EQ(at(318, 300), kWhite);
    EXPECT_EQ(at(200, 118), kWhite);
    EXPECT_EQ(at(78, 60), kBlack);  // slot 3 is on FSC/FL1
    EXPECT_EQ(g.PopulationTable[2].LabelBaseX, 5000 - 18);  // 5 characters: 17.5 rounded down
    EXPECT_EQ(g.PopulationTable[2].LabelBaseY, 4996);

    // Only gates drawn here.
    state.CreatedHereOnly = true;
    g.PopulationTable[2].Created = 7;
    draw(file);
    EXPECT_EQ(at(118, 200), kBlack);
    g.PopulationTable[2].Created = 1;
    draw(file);
    EXPECT_EQ(at(118, 200), kWhite);

    // Region lines off.
    state.RegionLinesOn = false;
    draw(file);
    EXPECT_EQ(at(118, 200), kBlack);
}

TEST_F(DotPlotRendererTest, DamagedGatesDrawNothingAndDoNotCrash) {
    const FileRecord file = MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{250, 500}});
    PutPolygon(1, 1, 2, {});
    PutPolygon(2, 1, 2, {{std::numeric_limits<float>::quiet_NaN(), 10}, {5000, 5000}});
    PutPolygon(3, 1, 2, {{3e38f, -3e38f}, {5000, 5000}, {std::numeric_limits<float>::infinity(), 0}});
    g.PopulationTable[4] = g.PopulationTable[3];
    g.PopulationTable[4].Corners = 30000;  // more corners than a record holds
    EXPECT_EQ(draw(file), 1);
    EXPECT_EQ(at(118, 218), kWhite);
}

TEST_F(DotPlotRendererTest, QuadrantCrossAndFastDrawLabel) {
    const FileRecord file = MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {});
    state.QuadrantOn = true;
    state.QuadrantX = 2500;
    state.QuadrantY = 7500;
    draw(file);
    EXPECT_EQ(at(118, 30), kWhite);   // vertical line
    EXPECT_EQ(at(400, 318), kWhite);  // horizontal line
    EXPECT_EQ(at(115, 315), kWhite);  // handle corner

    state.QuadrantDragging = true;  // drawn by the mouse code meanwhile
    draw(file);
    EXPECT_EQ(at(118, 30), kBlack);

    // "FAST DRAW MODE" goes to the top right corner.
    state.FastDrawOn = true;
    draw(file);
    int lit = 0;
    for (int y = 18; y < 32; ++y)
        for (int x = 418 - 98; x < 418; ++x)
            if (at(x, y) != kBlack) ++lit;
    EXPECT_GT(lit, 20);
}

TEST_F(DotPlotRendererTest, TitlesAreWrittenUnderAndLeftOfTheAxes) {
    const FileRecord file = MakeFile({{"FSC-H", 1000}, {"SSC-H", 1000}}, {});
    draw(file);
    int below = 0, left = 0;
    for (int y = 422; y < kSide; ++y)
        for (int x = 180; x < 260; ++x)
            if (at(x, y) != kBlack) ++below;
    for (int y = 180; y < 260; ++y)
        for (int x = 0; x < 14; ++x)
            if (at(x, y) != kBlack) ++left;
    EXPECT_GT(below, 10);
    EXPECT_GT(left, 10);
}

// Dots are placed exactly where ScaleEventToAxis puts them, whatever path
// the drawing takes to scale a column: the lit pixels of a row are exactly
// those the scaled positions of its events round to.
TEST_F(DotPlotRendererTest, DotsSitWhereTheAxisScalingPutsThem) {
    for (bool fold : {false, true}) {
        for (auto [range, isLog] : {std::pair{1024, false}, std::pair{1000, false}, std::pair{262144, false},
                                    std::pair{262144, true}, std::pair{10000, true}}) {
            SCOPED_TRACE(std::to_string(range) + (isLog ? " log" : " linear") + (fold ? " folded" : ""));
            resetSharedState();
            g.UseNegativeAbs = fold;
            std::vector<std::vector<float>> events;
            // Few enough that many pixels stay dark, spread over the whole axis.
            for (int i = -3; i < 120; ++i) events.push_back({static_cast<float>(i) * range / 97.3f + 0.37f, 503});
            const FileRecord file = MakeFile({{"A", range, isLog}, {"B", 1000}}, events);
            draw(file);
            std::vector<bool> expected(kSide, false);
            for (int32_t e = 1; e <= file.EventCount; ++e) {
                const double x = 18 + ScaleEventToAxis(file, e, 1, 400);
                if (x < kSide - 0.5) expected[static_cast<size_t>(std::floor(x + 0.5))] = true;
            }
            // Row 217 (the value 503) crosses no tick; the Y axis itself is left out.
            for (int x = 19; x < kSide; ++x)
                EXPECT_EQ(at(x, 217) == kWhite, expected[static_cast<size_t>(x)]) << "pixel " << x;
        }
    }
}

}  // namespace
}  // namespace qv
