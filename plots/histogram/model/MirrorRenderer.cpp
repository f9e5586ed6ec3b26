#include "plots/histogram/model/MirrorRenderer.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "core/AxisTicks.h"
#include "core/Numbers.h"
#include "core/picture/PictureText.h"
#include "plots/histogram/model/HistogramBins.h"
#include "plots/histogram/model/HistogramRenderer.h"

namespace qv {

std::vector<double> MirrorTickDistances(const MirrorAxis& axis, double length) {
    if (axis.isLog) return LogTickDistances(axis.range, length);
    std::vector<double> ticks;
    if (!(length > 0.0) || axis.range <= 0) return ticks;
    const int32_t step = axis.range <= 1024 ? 100 : axis.range <= 9999 ? 1000 : 10000;
    const int32_t n = axis.range / step;
    for (int32_t t = 0; t <= n; ++t) ticks.push_back(length * (static_cast<double>(t) * step / axis.range));
    return ticks;
}

float MirrorRatio(float sum, float absSum) {
    if (!(absSum > 1.0f)) return 0.0f;
    return static_cast<float>(TruncateTwoDecimals(static_cast<double>(sum) / absSum, true));
}

std::array<std::string, 3> MirrorTexts(float sum, float absSum) {
    return {"K\xe4yr\xe4n summa: " + NumberText(sum), "K\xe4yr\xe4n abs. summa: " + NumberText(absSum),
            "Summien suhde (-100% - 100%): " + NumberText(MirrorRatio(sum, absSum)) + " %"};
}

void RenderMirror(QImage& image, MirrorState& state, const MirrorAxis& axis, const std::vector<MirrorLine>& lines) {
    if (image.isNull()) return;
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    image.fill(Qt::white);
    const int W = std::max(1, image.width()), H = std::max(1, image.height());
    const int m = state.PlotMargin;
    const int plotW = W - 2 * m;
    const double mid = H / 2.0;
    state.LinesDrawn = false;
    state.Difference.clear();

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(PictureFont());
    int64_t longest = 0;
    for (const MirrorLine& line : lines) {
        if (line.counts.size() < 2 || (line.line != 1 && line.line != 2)) continue;
        const int64_t n = static_cast<int64_t>(line.counts.size()) - 1;
        state.Resolution = static_cast<int32_t>(n);
        if (static_cast<int64_t>(state.Difference.size()) < n + 1) state.Difference.resize(static_cast<size_t>(n) + 1, 0.0f);
        const float yMax = HistogramYMax(line.counts, line.yScale, 3);
        const float f = static_cast<float>(H - 2 * m) / 2.0f / yMax;
        if (plotW <= 0) continue;
        longest = std::max(longest, n);
        p.setPen(QColor(160, 160, 160));
        const bool up = line.line == 1;
        for (int64_t k = 1; k <= n; ++k) {
            const int32_t x = FloorPixel(m + (static_cast<double>(k) / static_cast<double>(n)) * plotW);
            const float h = f * static_cast<float>(line.counts[static_cast<size_t>(k)]);
            int32_t y;
            float& d = state.Difference[static_cast<size_t>(k)];
            if (up) {
                y = std::max<int32_t>(FloorPixel(mid - h), m);
                d += h;
            } else {
                y = std::min<int32_t>(FloorPixel(mid + h), H - m);
                d -= h;
            }
            p.drawLine(x, PixelOf(mid), x, y);
        }
        state.LinesDrawn = true;
    }

    if (state.LinesDrawn) {
        QPen pen(QColor(0, 0, 255));
        pen.setWidth(2);
        p.setPen(pen);
        QPointF pen0(m, mid);
        float sum = 0.0f, absSum = 0.0f;
        for (int64_t k = 1; k <= longest; ++k) {
            const double x = FloorPixel(m + (static_cast<double>(k) / static_cast<double>(longest)) * plotW);
            const float d = state.Difference[static_cast<size_t>(k)];
            const double y = std::clamp(mid - d, static_cast<double>(m), static_cast<double>(H - m));
            p.drawLine(QPointF(PixelOf(pen0.x()), PixelOf(pen0.y())), QPointF(PixelOf(x), PixelOf(y)));
            pen0 = QPointF(x, y);
            absSum += std::fabs(d);
            sum += d;
        }
        p.setPen(QColor(0, 0, 0));
        const auto texts = MirrorTexts(sum, absSum);
        for (int i = 0; i < 3; ++i) PrintAt(p, 150, 10 * i, Latin1Text(texts[static_cast<size_t>(i)]));
    }

    p.setPen(QColor(0, 0, 0));
    p.drawLine(m, m, m, H - m);
    p.drawLine(m, PixelOf(mid), W - m, PixelOf(mid));
    const int half = state.TickHalfLength;
    for (const double d : MirrorTickDistances(axis, plotW)) {
        const int x = PixelOf(m + d);
        p.drawLine(x, PixelOf(mid) - half, x, PixelOf(mid) + half);
    }
}

}  // namespace qv
