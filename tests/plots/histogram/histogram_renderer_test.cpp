// The histogram picture: columns, outline, markers and what a draw leaves
// in the window's state.
#include <gtest/gtest.h>

#include <QImage>

#include <vector>

#include "core/SharedState.h"
#include "plots/histogram/model/HistogramRenderer.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

using test::MakeFile;

class HistogramRendererTest : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }

    // A file whose events all hold `value` on a 1024 linear parameter.
    static FileRecord peakFile(float value, int events) {
        return MakeFile({{"FL1-H", 1024}}, std::vector<std::vector<float>>(static_cast<size_t>(events), {value}));
    }
    static QRgb at(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
};

TEST_F(HistogramRendererTest, TallColumnIsCutAtThePlotTopAndOutlinedDarker) {
    HistogramState s;
    s.Smoothing = 0;
    FileRecord f = peakFile(500.0f, 50);
    QImage image(600, 300, QImage::Format_RGB32);
    RenderHistogram(image, s, f);
    EXPECT_EQ(s.Counts.size(), 1025u);
    EXPECT_EQ(s.Counts[500], 50.0);
    EXPECT_EQ(s.YMax, 50.0f);
    EXPECT_EQ(s.BackgroundValue, 255);
    const int x = static_cast<int>(18 + 500.0 / 1024 * 564);
    EXPECT_EQ(s.ColumnTops[static_cast<size_t>(x - 18)], 18);
    // 564 pixels for 1024 bins: the outline joins the column tops in the
    // fill colour less 80 per component, over the column.
    EXPECT_EQ(at(image, x, 150), 0xAF0000u);
    s.DrawOutline = false;
    RenderHistogram(image, s, f);
    EXPECT_EQ(at(image, x, 150), 0xFF0000u);  // the column, in the fill colour

    // With a Y scale the column is cut at the top of the plotting area.
    s.YScale = 10;
    RenderHistogram(image, s, f);
    EXPECT_EQ(s.YMax, 10.0f);
    EXPECT_EQ(s.ColumnTops[static_cast<size_t>(x - 18)], 18);
    EXPECT_EQ(at(image, x, 17), 0u);
}

TEST_F(HistogramRendererTest, NoOutlineWhenTheBinsAreFewerThanThePixels) {
    HistogramState s;
    s.Resolution = 256;
    s.Smoothing = 0;
    s.DarkBackground = false;
    FileRecord f = peakFile(100.0f, 5);
    QImage image(600, 300, QImage::Format_RGB32);
    RenderHistogram(image, s, f);
    EXPECT_EQ(s.BackgroundValue, 0);
    EXPECT_EQ(at(image, 300, 281), 0xFFFFFFu);  // nothing drawn at the foot of an empty bin
}

TEST_F(HistogramRendererTest, MarkerOnTheChannelIsDrawnWithItsLabelAnchor) {
    HistogramState s;
    s.ID = 2;
    FileRecord f = peakFile(1.0f, 3);
    PopulationRecord& m = g.PopulationTable[4];
    m.InUse = true;
    m.Type = "Histogram";
    m.AxisX = 1;
    m.Corners = 2;
    m.CornerX[1] = 2000;
    m.CornerX[2] = 4001;
    m.CornerY[1] = 5000;
    m.Name = "Histo-4";
    QImage image(400, 300, QImage::Format_RGB32);
    RenderHistogram(image, s, f);
    // x1 = 18 + 0.2 * 364 = 90.8, y = 18 + 0.5 * 264 = 150; bar in white.
    EXPECT_EQ(at(image, 91, 150 - 12), 0xFFFFFFu);
    EXPECT_EQ(at(image, 120, 150), 0xFFFFFFu);
    EXPECT_EQ(m.LabelBaseX, 3000);  // 3000.5 in single precision, half to even
    EXPECT_EQ(m.LabelBaseY, 5000);

    // Being dragged by an end, or on another channel: not drawn.
    for (int variant = 0; variant < 2; ++variant) {
        g.DragCornerPopulation = variant == 0 ? 4 : 0;
        m.AxisX = variant == 0 ? 1 : 2;
        RenderHistogram(image, s, f);
        EXPECT_EQ(at(image, 120, 150), 0u) << variant;
    }
}

TEST_F(HistogramRendererTest, OutOfRangeChannelAndPopulationFallBack) {
    HistogramState s;
    s.Channel = 9;
    s.ShownPopulation = 12;  // not in use
    FileRecord f = peakFile(10.0f, 3);
    QImage image(200, 150, QImage::Format_RGB32);
    RenderHistogram(image, s, f);
    EXPECT_EQ(s.Channel, 1);
    EXPECT_EQ(s.ShownPopulation, 0);
}

TEST_F(HistogramRendererTest, PicturesWithoutAPlottingAreaDrawWithoutTicksOrColumns) {
    for (const QSize size : {QSize(36, 36), QSize(20, 10), QSize(1, 1)}) {
        HistogramState s;
        FileRecord f = MakeFile({{"FL1", 0}, {"FL2", 1, true}}, {{5.0f, 5.0f}});
        for (int channel : {1, 2}) {
            s.Channel = static_cast<int16_t>(channel);
            QImage image(size, QImage::Format_RGB32);
            RenderHistogram(image, s, f);
            EXPECT_TRUE(s.ColumnTops.empty() || size.width() > 36);
        }
    }
}

}  // namespace
}  // namespace qv
