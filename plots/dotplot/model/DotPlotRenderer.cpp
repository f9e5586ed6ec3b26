#include "plots/dotplot/model/DotPlotRenderer.h"

#include <QFont>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <string>

#include "app/model/FileSystemText.h"
#include "core/AxisScaling.h"
#include "core/AxisTicks.h"
#include "core/QuickAxisScaling.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"
#include "core/picture/WindowPicture.h"

namespace qv {

namespace {

// Events scaled per block: the scratch arrays stay small and in cache.
constexpr int32_t kBlock = 8192;

uint32_t rgbOf(uint8_t r, uint8_t g, uint8_t b) { return 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b; }

// The membership column of the population a draw shows, in `shown` (null
// when every event is shown). False when that population cannot be shown
// for the events up to `last`; then nothing is drawn.
bool shownFilter(const DotPlotState& state, const FileRecord& file, int32_t last, const uint8_t*& shown) {
    shown = nullptr;
    if (state.ShownPopulation == 0) return true;
    if (state.ShownPopulation > file.Membership.maxColumn() || file.Membership.maxEvent() < last) return false;
    shown = file.Membership.column(state.ShownPopulation);
    return true;
}

// Events 1, 1 + step, ... up to `last`, a block at a time: the positions of
// a block's events on the X channel (axis length lengthX) go to xs and on
// the Y channel (lengthY) to ys, then visit(first, count) runs with the
// block's first event and the number of positions both axes gave.
template <class Out, class Visit>
void forEachScaledBlock(const FileRecord& file, const DotPlotState& state, double lengthX, double lengthY,
                        int32_t last, int32_t step, std::vector<Out>& xs, std::vector<Out>& ys, Visit visit) {
    xs.resize(kBlock);
    ys.resize(kBlock);
    const int64_t stride = static_cast<int64_t>(step) * kBlock;
    for (int64_t first = 1; first <= last; first += stride) {
        const int64_t lastHere = std::min<int64_t>(last, first + static_cast<int64_t>(step) * (kBlock - 1));
        const size_t n = ScaleEventsToAxisQuick(file, state.ChannelX, lengthX, static_cast<int32_t>(first),
                                    static_cast<int32_t>(lastHere), step, std::span<Out>(xs));
        const size_t ny = ScaleEventsToAxisQuick(file, state.ChannelY, lengthY, static_cast<int32_t>(first),
                                     static_cast<int32_t>(lastHere), step, std::span<Out>(ys));
        visit(first, std::min(n, ny));
    }
}

}  // namespace

int FitChannelsToFile(DotPlotState& state, const FileRecord& file) {
    int params = file.ParameterCount;
    params = std::min<int>(params, static_cast<int>(file.Parameters.size()) - 1);
    params = std::min<int>(params, file.WorkingData.maxColumn());
    if (params < 1) return 0;
    if (state.ChannelX < 1 || state.ChannelX > params) state.ChannelX = 1;
    if (state.ChannelY < 1 || state.ChannelY > params) state.ChannelY = static_cast<int16_t>(std::min(2, params));
    return params;
}

void FitShownPopulation(DotPlotState& state) {
    const int s = state.ShownPopulation;
    if (s == 0) return;
    if (s < 0 || s >= PopulationTableSize || !g.PopulationTable[static_cast<size_t>(s)].InUse) state.ShownPopulation = 0;
}

uint8_t DensityGrey(int32_t count) {
    if (count <= 0) return 0;
    if (count >= 18) return 255;
    const double level = std::nearbyint(200.0 * Log10(static_cast<double>(count) + 1.0));  // half to even
    return static_cast<uint8_t>(std::min(255.0, level));
}

int32_t DrawStep(const DotPlotState& state, const FileRecord& file, bool quickPass) {
    int32_t step = state.EventStep < 1 ? 1 : state.EventStep;
    if (quickPass && file.EventCount > 1000) step = file.EventCount / 1000;
    return step < 1 ? 1 : step;
}

int64_t DotPlotRenderer::render(QImage& image, DotPlotState& state, const FileRecord& file,
                                const DotPlotRenderOptions& options) {
    if (image.isNull()) return 0;
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    const int W = std::max(1, image.width());
    const int H = std::max(1, image.height());
    const int m = state.Margin;
    const int t = state.TickLength;
    const int plotW = W - 2 * m;
    const int plotH = H - 2 * m;
    const bool hasArea = plotW > 0 && plotH > 0;

    // Colours of the picture.
    state.ForegroundGrey = state.DarkBackground ? 255 : 0;
    const uint8_t fg = state.ForegroundGrey;
    const QColor fore(fg, fg, fg);
    image.fill(state.DarkBackground ? QColor(0, 0, 0) : QColor(255, 255, 255));

    const int params = FitChannelsToFile(state, file);
    const ParameterInfo* px = params > 0 ? &file.Parameters[static_cast<size_t>(state.ChannelX)] : nullptr;
    const ParameterInfo* py = params > 0 ? &file.Parameters[static_cast<size_t>(state.ChannelY)] : nullptr;

    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(fore);
        p.setFont(PictureFont());
        if (options.showFileName) PrintAt(p, m, 1, shownFileSystemText(file.FileName));
        // Axes.
        p.drawLine(m, m, m, H - m);
        p.drawLine(m, H - m, W - m, H - m);
        if (hasArea && px && py) {
            for (const double d : AxisTickDistances(*px, plotW)) {
                const int x = PixelOf(m + d);
                p.drawLine(x, H - m, x, H - m + t);
            }
            for (const double d : AxisTickDistances(*py, plotH)) {
                const int y = PixelOf(H - (m + d));
                p.drawLine(m, y, m - t, y);
            }
        }
    }

    FitShownPopulation(state);

    int64_t drawn = 0;
    if (hasArea && params > 0 && file.EventCount > 0) {
        const int32_t step = DrawStep(state, file, options.quickPass);
        drawn = state.DensityOn
                    ? drawDensity(image, state, file, step, options.densityPointsWhenEitherSideSmaller)
                    : drawDots(image, state, file, step);
    }

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(fore);
    p.setFont(PictureFont());

    // Polygon gates of this channel pair, then their labels.
    if (state.RegionLinesOn && hasArea && params > 0) {
        auto drawsGate = [&](int k) {
            const PopulationRecord& r = g.PopulationTable[static_cast<size_t>(k)];
            return r.InUse && r.Type == "Polygon" && r.AxisX == state.ChannelX && r.AxisY == state.ChannelY &&
                   k != g.DragCornerPopulation && k != g.DragMovePopulation &&
                   (!state.CreatedHereOnly || r.Created == state.ID) && r.Corners >= 1;
        };
        auto toX = [&](double v) { return m + plotW * v / 10000.0; };
        auto toY = [&](double v) { return m + plotH * v / 10000.0; };
        const int maxPop = std::min<int>(g.MaxPopulations, PopulationTableSize - 1);
        for (int k = 1; k <= maxPop; ++k) {
            if (!drawsGate(k)) continue;
            const PopulationRecord& r = g.PopulationTable[static_cast<size_t>(k)];
            const int n = std::min<int>(r.Corners, MaxCorners);
            for (int j = 1; j <= n; ++j) {
                const int next = j == n ? 1 : j + 1;
                p.drawLine(QPoint(PixelOf(toX(r.CornerX[j])), PixelOf(toY(r.CornerY[j]))),
                           QPoint(PixelOf(toX(r.CornerX[next])), PixelOf(toY(r.CornerY[next]))));
            }
        }
        for (int k = 1; k <= maxPop; ++k) {
            if (!drawsGate(k) || k == g.DragLabelPopulation) continue;
            PopulationRecord& r = g.PopulationTable[static_cast<size_t>(k)];
            const int n = std::min<int>(r.Corners, MaxCorners);
            double sx = 0, sy = 0;
            for (int j = 1; j <= n; ++j) {
                sx += r.CornerX[j];
                sy += r.CornerY[j];
            }
            const double mx = sx / n, my = sy / n;
            if (!std::isfinite(mx) || !std::isfinite(my) || std::fabs(mx) > 1e9 || std::fabs(my) > 1e9) continue;
            const double half = CentringWidth(r.Name) / 2.0;
            r.LabelBaseX = static_cast<int32_t>(std::floor(mx - half));
            r.LabelBaseY = static_cast<int32_t>(std::floor(my)) - 4;
            const double lx = toX(static_cast<double>(r.LabelBaseX) + r.TitleX) - half;
            const double ly = toY(static_cast<double>(r.LabelBaseY) + r.TitleY) - 4;
            PrintAt(p, lx, ly, Latin1Text(r.Name));
        }
    }

    if (state.FastDrawOn) PrintAt(p, (W - m) - 98, m, QStringLiteral("FAST DRAW MODE"));

    if (px) PrintAt(p, W / 2.0 - CentringWidth(px->Name) / 2.0, H - m + t, Latin1Text(px->Name));
    // Running upwards, centred on the Y axis.
    if (py) DrawVerticalTitle(p, QPointF(m - 12 - t, H / 2.0 + CentringWidth(py->Name) / 2.0), Latin1Text(py->Name), 13, 400);

    if (state.QuadrantOn && !state.QuadrantDragging && hasArea) {
        const int qx = PixelOf(m + plotW * static_cast<double>(state.QuadrantX) / 10000.0);
        const int qy = PixelOf(m + plotH * static_cast<double>(state.QuadrantY) / 10000.0);
        const int h = state.HitTolerance;
        p.setBrush(Qt::NoBrush);
        p.drawRect(qx - h, qy - h, 2 * h, 2 * h);
        p.drawLine(qx, H - m, qx, m);
        p.drawLine(W - m, qy, m, qy);
    }
    return drawn;
}

int64_t DotPlotRenderer::drawDots(QImage& image, DotPlotState& state, const FileRecord& file, int32_t step) {
    const int W = image.width(), H = image.height();
    const int m = state.Margin;
    const double plotW = W - 2 * m, plotH = H - 2 * m;
    const int32_t last = std::min(file.EventCount, file.WorkingData.maxEvent());
    if (last < 1) return 0;

    const uint8_t* shown = nullptr;
    if (!shownFilter(state, file, last, shown)) return 0;

    // Slots whose colour a member takes, in slot order: the last one that
    // holds the event wins, so they are visited from the end.
    const uint8_t g0 = state.ForegroundGrey;
    const uint32_t plain = rgbOf(g0, g0, g0);
    colourSlots_.clear();
    if (state.MulticolourOn && file.Membership.maxEvent() >= last) {
        const int slotCount = std::min<int>(g.membershipSlots(), file.Membership.maxColumn());
        for (int k = 1; k <= slotCount && k < PopulationTableSize; ++k) {
            const PopulationRecord& r = g.PopulationTable[static_cast<size_t>(k)];
            if (r.InUse && !r.Transparent)
                colourSlots_.push_back({file.Membership.column(k), rgbOf(r.ColorRed, r.ColorGreen, r.ColorBlue)});
        }
    }
    const ColourSlot* slotsBegin = colourSlots_.data();
    const ColourSlot* slotsEnd = slotsBegin + colourSlots_.size();

    uchar* bits = image.bits();
    const qsizetype bpl = image.bytesPerLine();
    const bool large = state.DotSize == 2;
    const float left = static_cast<float>(m);
    const float maxX = static_cast<float>(W) - 0.5f;
    const float bottom = static_cast<float>(H - m);

    auto put = [&](int x, int y, uint32_t c) {
        if (x >= 0 && x < W && y >= 0 && y < H) reinterpret_cast<uint32_t*>(bits + y * bpl)[x] = c;
    };

    int64_t drawn = 0;
    forEachScaledBlock(file, state, plotW, plotH, last, step, xs_, ys_, [&](int64_t first, size_t count) {
        int64_t e = first;
        for (size_t i = 0; i < count; ++i, e += step) {
            if (shown && shown[e] != 1) continue;
            // Positions are never negative, so only the far edges clip.
            const float fx = left + xs_[i];
            const float fy = bottom - ys_[i];
            if (!(fx < maxX) || !(fy >= -0.5f)) continue;
            uint32_t colour = plain;
            for (const ColourSlot* s = slotsEnd; s != slotsBegin;) {
                --s;
                if (s->member[e] == 1) {
                    colour = s->rgb;
                    break;
                }
            }
            const int x = static_cast<int>(fx + 0.5f);
            const int y = static_cast<int>(fy + 0.5f);
            ++drawn;
            if (!large) {
                reinterpret_cast<uint32_t*>(bits + y * bpl)[x] = colour;
            } else {
                put(x, y, colour);
                put(x + 1, y, colour);
                put(x, y + 1, colour);
                put(x + 1, y + 1, colour);
            }
        }
    });
    return drawn;
}

int64_t DotPlotRenderer::drawDensity(QImage& image, DotPlotState& state, const FileRecord& file, int32_t step,
                                     bool pointsWhenEitherSideSmaller) {
    const int W = image.width(), H = image.height();
    const int m = state.Margin;
    const int plotW = W - 2 * m, plotH = H - 2 * m;
    const int R = std::max<int>(1, state.DensityResolution);
    const int side = R + 21;

    // The grid is made anew at each density draw, indices -10..R+10 both ways.
    state.DensityGridResolution = R;
    state.DensityGrid.assign(static_cast<size_t>(side) * static_cast<size_t>(side), 0);

    const int32_t last = std::min(file.EventCount, file.WorkingData.maxEvent());
    if (last < 1) return 0;
    const uint8_t* shown = nullptr;
    if (!shownFilter(state, file, last, shown)) return 0;

    // Picture position of every cell, and the box each cell covers: a single
    // point while both sides of the plot are below the resolution.
    cellX_.resize(static_cast<size_t>(side));
    cellY_.resize(static_cast<size_t>(side));
    for (int c = -10; c <= R + 10; ++c) {
        cellX_[static_cast<size_t>(c + 10)] = PixelOf(m + static_cast<double>(plotW) * c / R);
        cellY_[static_cast<size_t>(c + 10)] = PixelOf(m + static_cast<double>(plotH) * c / R);
    }
    const bool points = pointsWhenEitherSideSmaller ? (plotW < R || plotH < R) : (plotW < R && plotH < R);
    const int boxW = points ? 0 : plotW / R;
    const int boxH = points ? 0 : plotH / R;

    uint32_t greys[19];
    for (int c = 0; c <= 18; ++c) {
        const uint8_t v = DensityGrey(c);
        greys[c] = rgbOf(v, v, v);
    }

    uchar* bits = image.bits();
    const qsizetype bpl = image.bytesPerLine();
    int32_t* grid = state.DensityGrid.data();
    const double maxCell = R + 10;

    int64_t counted = 0;
    forEachScaledBlock(file, state, R, R, last, step, gxs_, gys_, [&](int64_t first, size_t count) {
        int64_t e = first;
        for (size_t i = 0; i < count; ++i, e += step) {
            if (shown && shown[e] != 1) continue;
            // Cells outside the grid are skipped, never written. Positions
            // are never negative, so the X cell is the whole part; the Y
            // cell counts down from R and is rounded towards minus infinity.
            const double px = gxs_[i];
            const double py = R - gys_[i];
            if (!(px < maxCell + 1.0 && py >= -10.0 && py < maxCell + 1.0)) continue;
            const int gx = static_cast<int>(px);
            int gy = static_cast<int>(py);
            if (py < gy) --gy;
            int32_t& cell = grid[static_cast<size_t>(gy + 10) * side + static_cast<size_t>(gx + 10)];
            ++cell;
            ++counted;
            const uint32_t colour = greys[cell < 18 ? cell : 18];
            // The cell is painted at once; its last event leaves the final level.
            const int x0 = cellX_[static_cast<size_t>(gx + 10)], y0 = cellY_[static_cast<size_t>(gy + 10)];
            if (points) {
                // Cells beyond the plotting area still lie within the margins.
                if (x0 >= 0 && x0 < W && y0 >= 0 && y0 < H) reinterpret_cast<uint32_t*>(bits + y0 * bpl)[x0] = colour;
                continue;
            }
            for (int y = std::max(0, y0), y1 = std::min(H - 1, y0 + boxH); y <= y1; ++y) {
                uint32_t* line = reinterpret_cast<uint32_t*>(bits + y * bpl);
                for (int x = std::max(0, x0), x1 = std::min(W - 1, x0 + boxW); x <= x1; ++x) line[x] = colour;
            }
        }
    });
    return counted;
}

}  // namespace qv
