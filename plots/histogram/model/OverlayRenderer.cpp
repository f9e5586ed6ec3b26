#include "plots/histogram/model/OverlayRenderer.h"

#include <QPainter>

#include <algorithm>

#include "core/AxisTicks.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"
#include "plots/histogram/model/HistogramBins.h"
#include "plots/histogram/model/HistogramRenderer.h"

namespace qv {

void RenderOverlay(QImage& image, OverlayState& state, const OverlayAxis& axis, const std::vector<OverlayLine>& lines) {
    if (image.isNull()) return;
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    state.BackgroundValue = state.DarkBackground ? 255 : 0;
    const uint8_t b = state.BackgroundValue;
    const QColor grey(b, b, b);
    const QColor fore = state.DarkBackground ? QColor(255, 255, 255) : QColor(0, 0, 0);
    image.fill(state.DarkBackground ? QColor(0, 0, 0) : QColor(255, 255, 255));
    const int W = std::max(1, image.width()), H = std::max(1, image.height());
    const int m = state.PlotMargin, gap = state.LabelGap;
    const int plotW = W - 2 * m;

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const OverlayLine& line : lines) {
        if (line.counts.size() < 2 || line.line < 1 || line.line > OverlayMaxStyledLine) continue;
        state.Resolution = static_cast<int32_t>(line.counts.size()) - 1;
        const float yMax = HistogramYMax(line.counts, line.yScale);
        const float f = static_cast<float>(H - 2 * m) / yMax;
        if (plotW <= 0) continue;
        std::optional<QRgb> fill;
        if (line.line == 1) fill = qRgb(state.FillRed, state.FillGreen, state.FillBlue);
        DrawHistogramColumns(image, line.counts, f, m, fill, state.ColumnTop);
        const auto& c = state.LineColor[static_cast<size_t>(line.line)];
        QPen pen(QColor(c[0], c[1], c[2]));
        pen.setWidth(state.LineThick[static_cast<size_t>(line.line)] ? 2 : 1);
        p.setPen(pen);
        DrawColumnOutline(p, state.ColumnTop, m);
    }

    p.setPen(grey);
    const std::vector<double> ticks =
        axis.isLog ? LogTickDistances(axis.range, plotW) : LinearTickDistances(axis.range, plotW);
    DrawHistogramAxes(p, W, H, m, gap, ticks);
    p.setFont(PictureFont());
    p.setPen(fore);
    PrintAt(p, W / 2.0 - CentringWidth(axis.title) / 2.0, H - m + gap, Latin1Text(axis.title));
    p.setPen(grey);

    if (state.ShowRegionLines) {
        const HistogramGeometry geo{static_cast<double>(W), static_cast<double>(H), static_cast<double>(m)};
        const int maxPop = std::min<int>(g.MaxPopulations, PopulationTableSize - 1);
        for (int k = 1; k <= maxPop; ++k) {
            const PopulationRecord& r = g.PopulationTable[static_cast<size_t>(k)];
            if (r.Type == "Histogram" && r.InUse && r.AxisX == axis.channel) DrawMarkerBar(p, r, geo);
        }
    }
}

}  // namespace qv
