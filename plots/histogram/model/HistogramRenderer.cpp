#include "plots/histogram/model/HistogramRenderer.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <string>

#include "app/model/FileSystemText.h"
#include "core/AxisTicks.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"
#include "core/picture/WindowPicture.h"
#include "plots/histogram/model/HistogramBins.h"
#include "plots/histogram/model/HistogramMarkers.h"

namespace qv {

namespace {

void drawMarkers(QPainter& p, const HistogramState& state, const HistogramGeometry& geo, const QColor& grey,
                 const QColor& fore) {
    const int maxPop = std::min<int>(g.MaxPopulations, PopulationTableSize - 1);
    auto drawn = [&](int k) {
        const PopulationRecord& r = g.PopulationTable[static_cast<size_t>(k)];
        return IsEligibleMarker(r, k, state) && k != g.DragCornerPopulation && k != g.DragMovePopulation;
    };
    p.setPen(grey);
    for (int k = 1; k <= maxPop; ++k) {
        if (!drawn(k)) continue;
        DrawMarkerBar(p, g.PopulationTable[static_cast<size_t>(k)], geo);
    }
    p.setPen(fore);
    for (int k = 1; k <= maxPop; ++k) {
        if (!drawn(k) || k == g.DragLabelPopulation) continue;
        PopulationRecord& r = g.PopulationTable[static_cast<size_t>(k)];
        if (!SetMarkerLabelAnchor(r)) continue;
        const MarkerLabel l = MarkerLabelAt(r, geo);
        PrintAt(p, l.left(), l.top(), Latin1Text(r.Name));
    }
}

}  // namespace

int32_t FloorPixel(double v) {
    constexpr double kFar = 1.0e7;
    if (!(v > -kFar)) return -static_cast<int32_t>(kFar);
    if (v > kFar) return static_cast<int32_t>(kFar);
    return static_cast<int32_t>(std::floor(v));
}

void DrawHistogramColumns(QImage& image, std::span<const double> counts, float f, int m,
                          std::optional<QRgb> colour, std::vector<int32_t>& tops) {
    const int W = image.width(), H = image.height();
    const int plotW = W - 2 * m;
    const int64_t n = static_cast<int64_t>(counts.size()) - 1;
    tops.assign(static_cast<size_t>(std::max(0, plotW)) + 1, 0);
    if (plotW <= 0 || n < 1) return;
    uchar* bits = image.bits();
    const qsizetype bpl = image.bytesPerLine();
    const int bottom = H - m;
    for (int64_t k = 1; k <= n; ++k) {
        const int32_t x = FloorPixel(m + (static_cast<double>(k) / static_cast<double>(n)) * plotW);
        int32_t y = FloorPixel(static_cast<double>(bottom) - static_cast<double>(f) * counts[static_cast<size_t>(k)]);
        if (y < m) y = m;
        if (colour && x >= 0 && x < W) {
            for (int32_t row = std::max(0, std::min(y, bottom)); row <= std::min(bottom, H - 1); ++row)
                reinterpret_cast<uint32_t*>(bits + row * bpl)[x] = *colour;
        }
        const int32_t c = x - m;
        if (c < 0 || c > plotW) continue;
        int32_t& top = tops[static_cast<size_t>(c)];
        if (top == 0 || y < top) top = y;
    }
}

void DrawColumnOutline(QPainter& p, const std::vector<int32_t>& tops, int m) {
    const int plotW = static_cast<int>(tops.size()) - 1;
    for (int c = 1; c <= plotW - 1; ++c) {
        const int32_t a = tops[static_cast<size_t>(c)], b = tops[static_cast<size_t>(c + 1)];
        if (a == 0 || b == 0) continue;  // a pixel column no bin reaches
        p.drawLine(m + c, a, m + c + 1, b);
    }
}

void DrawHistogramAxes(QPainter& p, int W, int H, int m, int gap, const std::vector<double>& ticks) {
    p.drawLine(m, m, m, H - m);
    p.drawLine(m, H - m, W - m, H - m);
    for (const double d : ticks) {
        const int x = PixelOf(m + d);
        p.drawLine(x, H - m, x, H - m + gap);
    }
}

void DrawMarkerBar(QPainter& p, const PopulationRecord& r, const HistogramGeometry& geo) {
    const double e = geo.plotHeight() * 0.05;
    const double x1 = geo.px(r.CornerX[1]), x2 = geo.px(r.CornerX[2]), y = geo.py(r.CornerY[1]);
    p.drawLine(QPoint(PixelOf(x1), PixelOf(y - e)), QPoint(PixelOf(x1), PixelOf(y + e)));
    p.drawLine(QPoint(PixelOf(x2), PixelOf(y - e)), QPoint(PixelOf(x2), PixelOf(y + e)));
    p.drawLine(QPoint(PixelOf(x1), PixelOf(y)), QPoint(PixelOf(x2), PixelOf(y)));
}

int FitHistogramToFile(HistogramState& state, const FileRecord& file) {
    int params = std::min<int>(file.ParameterCount, static_cast<int>(file.Parameters.size()) - 1);
    params = std::min<int>(params, file.WorkingData.maxColumn());
    if (params >= 1 && (state.Channel < 1 || state.Channel > params)) state.Channel = 1;
    const int s = state.ShownPopulation;
    if (s != 0 && (s < 0 || s >= PopulationTableSize || !g.PopulationTable[static_cast<size_t>(s)].InUse))
        state.ShownPopulation = 0;
    return std::max(0, params);
}

void RenderHistogram(QImage& image, HistogramState& state, const FileRecord& file,
                     const HistogramRenderOptions& options) {
    if (image.isNull()) return;
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    const int W = std::max(1, image.width());
    const int H = std::max(1, image.height());
    const int m = state.PlotMargin;
    const int gap = state.LabelGap;
    const int plotW = W - 2 * m;
    const HistogramGeometry geo{static_cast<double>(W), static_cast<double>(H), static_cast<double>(m)};

    state.BackgroundValue = state.DarkBackground ? 255 : 0;
    const uint8_t b = state.BackgroundValue;
    const QColor grey(b, b, b);
    const QColor fore = state.DarkBackground ? QColor(255, 255, 255) : QColor(0, 0, 0);
    image.fill(state.DarkBackground ? QColor(0, 0, 0) : QColor(255, 255, 255));

    const int params = FitHistogramToFile(state, file);
    const ParameterInfo* param = params > 0 ? &file.Parameters[static_cast<size_t>(state.Channel)] : nullptr;

    // The numbers: bins, moving mean, Y maximum.
    state.Resolution = std::max<int32_t>(1, state.Resolution);
    HistogramBinning binning;
    binning.channel = param ? state.Channel : 0;
    binning.resolution = state.Resolution;
    binning.step = state.DrawStep;
    binning.shownPopulation = state.ShownPopulation;
    state.YMax = BinnedSmoothedCounts(file, binning, state.effectiveSmoothing(), state.YScale, state.Counts);
    const float f = static_cast<float>(H - 2 * m) / state.YMax;

    const QRgb fill = qRgb(state.FillRed, state.FillGreen, state.FillBlue);
    if (plotW > 0) DrawHistogramColumns(image, state.Counts, f, m, fill, state.ColumnTops);
    else state.ColumnTops.clear();

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(PictureFont());
    p.setPen(fore);
    if (options.showFileName) PrintAt(p, m, 1, shownFileSystemText(file.FileName));
    if (param) PrintAt(p, W / 2.0 - CentringWidth(param->Name) / 2.0, H - m + gap, Latin1Text(param->Name));

    if (plotW > 0 && state.DrawOutline && plotW < state.Resolution) {
        auto darker = [](uint8_t v) { return v > 80 ? v - 80 : 0; };
        p.setPen(QColor(darker(state.FillRed), darker(state.FillGreen), darker(state.FillBlue)));
        DrawColumnOutline(p, state.ColumnTops, m);
    }

    p.setPen(grey);
    DrawHistogramAxes(p, W, H, m, gap, param ? AxisTickDistances(*param, plotW) : std::vector<double>{});
    if (state.ShowRegionLines) drawMarkers(p, state, geo, grey, fore);

    p.setPen(fore);
    if (state.FastDraw) PrintAt(p, (W - m) - 98, m, QStringLiteral("FAST DRAW MODE"));
    const std::string top = NumberText(Int(state.YMax));
    DrawVerticalTitle(p, QPointF(m - 12 - gap, m + 7.0 * static_cast<double>(top.size())), Latin1Text(top), 13, 400);
}

}  // namespace qv
