#include "plots/multi/model/BendPlotRenderer.h"

#include <QPainter>
#include <QPen>
#include <QString>

#include <algorithm>
#include <cmath>

#include "app/model/FileSystemText.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"
#include "core/picture/WindowPicture.h"
#include "plots/multi/model/BendAxes.h"

namespace qv {

namespace {

uint32_t rgbOf(uint8_t r, uint8_t gr, uint8_t b) { return 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(gr) << 8) | b; }

const AxisRecord& startOf(const AxisTable& axes, const AxisRecord& a) {
    const int c = a.Connected;
    return c >= 0 && c <= BendRootAxis ? axes[static_cast<size_t>(c)] : axes[0];
}

bool isDragged(int slot) {
    return slot == g.DragCornerPopulation || slot == g.DragMovePopulation || slot == g.DragLabelPopulation;
}

}  // namespace

int32_t BendDrawStep(const BendPlotState& state, const FileRecord& file, bool quickPass) {
    if (quickPass && file.EventCount > 1000) return std::max<int32_t>(1, file.EventCount / 1000);
    return std::max<int32_t>(1, state.EventStep);
}

int64_t BendPlotRenderer::render(QImage& image, BendPlotState& state, const FileRecord& file,
                                 const BendPlotRenderOptions& options) {
    state.ForegroundLevel = state.DarkBackground ? 255 : 0;
    const uint8_t fg = state.ForegroundLevel;
    const QColor fore(fg, fg, fg);
    for (int a = 1; a <= BendLastAxis; ++a) {
        AxisRecord& axis = state.Axes[static_cast<size_t>(a)];
        if (axis.Parameter > file.ParameterCount) axis.Parameter = 1;
    }
    image.fill(state.DarkBackground ? Qt::black : Qt::white);
    const double W = std::max(1, image.width());
    const double H = std::max(1, image.height());
    const double SX = W / 10000.0, SY = H / 10000.0;

    auto startPainter = [&](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setFont(PictureFont());
        p.setPen(fore);
        p.setBrush(Qt::NoBrush);
    };
    const int h = state.HandleTolerance;
    {
    QPainter p(&image);
    startPainter(p);
    if (options.showFileName) PrintAt(p, state.TextMargin, 1, shownFileSystemText(file.FileName));

    auto handle = [&](double x, double y) { p.drawRect(QRectF(PixelOf(x) - h, PixelOf(y) - h, 2 * h, 2 * h)); };
    const AxisRecord& root = state.Axes[BendRootAxis];
    handle(root.X * SX, root.Y * SY);
    for (int a = 1; a <= BendLastAxis; ++a) {
        const AxisRecord& axis = state.Axes[static_cast<size_t>(a)];
        if (!axis.Exists) continue;
        const AxisRecord& start = startOf(state.Axes, axis);
        p.setPen(QPen(fore, a == state.SelectedAxis ? 2 : 1));
        p.drawLine(QPointF(PixelOf(start.X * SX), PixelOf(start.Y * SY)), QPointF(PixelOf(axis.X * SX), PixelOf(axis.Y * SY)));
        handle(axis.X * SX, axis.Y * SY);
    }
    }

    const int shown = state.ShownPopulation;
    if (shown != 0 && (shown < 1 || shown >= PopulationTableSize || !g.PopulationTable[static_cast<size_t>(shown)].InUse))
        state.ShownPopulation = 0;

    const int32_t step = BendDrawStep(state, file, options.quickPass);
    // Dots go straight into the scan lines, while no painter holds the image.
    const int64_t drawn = drawDots(image, state, file, step);

    QPainter p(&image);
    startPainter(p);

    if (state.RegionLinesShown) {
        std::vector<int> gates;
        for (int k = 1; k <= g.MaxPopulations && k < PopulationTableSize; ++k) {
            const PopulationRecord& r = g.PopulationTable[static_cast<size_t>(k)];
            if (r.Type == "BendPlot" && r.InUse && !isDragged(k) && r.Corners >= 1 &&
                (!state.CreatedHereOnly || r.Created == state.ID))
                gates.push_back(k);
        }
        for (int k : gates) {
            const PopulationRecord& r = g.PopulationTable[static_cast<size_t>(k)];
            const int n = std::min<int>(r.Corners, MaxCorners);
            auto corner = [&](int j) {
                return QPointF(PixelOf(r.CornerX[static_cast<size_t>(j)] / 10000.0 * W),
                               PixelOf(r.CornerY[static_cast<size_t>(j)] / 10000.0 * H));
            };
            for (int j = 1; j < n; ++j) p.drawLine(corner(j), corner(j + 1));
            p.drawLine(corner(n), corner(1));
        }
        for (int k : gates) {
            PopulationRecord& r = g.PopulationTable[static_cast<size_t>(k)];
            const int n = std::min<int>(r.Corners, MaxCorners);
            double sx = 0, sy = 0;
            for (int j = 1; j <= n; ++j) {
                sx += r.CornerX[static_cast<size_t>(j)];
                sy += r.CornerY[static_cast<size_t>(j)];
            }
            const double half = CentringWidth(r.Name) / 2.0;
            r.LabelBaseX = NearestInt32(std::floor(sx / n - half));
            r.LabelBaseY = NearestInt32(std::floor(sy / n) - 4);
            PrintAt(p, (static_cast<double>(r.LabelBaseX) + r.TitleX) / 10000.0 * W - half,
                    (static_cast<double>(r.LabelBaseY) + r.TitleY) / 10000.0 * H - 4, Latin1Text(r.Name));
        }
    }

    if (state.FastDraw) PrintAt(p, W - state.TextMargin - 98, state.TextMargin, QStringLiteral("FAST DRAW MODE"));

    for (int a = 1; a <= BendLastAxis; ++a) {
        const AxisRecord& axis = state.Axes[static_cast<size_t>(a)];
        if (!axis.Exists) continue;
        const AxisRecord& start = startOf(state.Axes, axis);
        const double dx = (axis.X - start.X) * SX, dy = (axis.Y - start.Y) * SY;
        const int param = axis.Parameter;
        if (param < 1 || param > file.ParameterCount || param >= static_cast<int>(file.Parameters.size())) continue;
        RotatedFont font(p, QStringLiteral("Courier New"), 13, 200, BendAxisNameEscapement(dx, dy));
        font.drawText(QPointF(PixelOf(start.X * SX), PixelOf(start.Y * SY)),
                      Latin1Text(file.Parameters[static_cast<size_t>(param)].Name));
    }
    return drawn;
}

int64_t BendPlotRenderer::drawDots(QImage& image, const BendPlotState& state, const FileRecord& file, int32_t step) {
    const int W = image.width(), H = image.height();
    const int32_t last = std::min(file.EventCount, file.WorkingData.maxEvent());
    if (last < 1 || W < 1 || H < 1) return 0;
    const uint8_t* shown = nullptr;
    if (state.ShownPopulation != 0) {
        if (!file.Membership.contains(last, state.ShownPopulation)) return 0;
        shown = file.Membership.column(state.ShownPopulation);
    }

    const uint8_t g0 = state.ForegroundLevel;
    const uint32_t plain = rgbOf(g0, g0, g0);
    colourSlots_.clear();
    if (state.Multicolor && !state.DistanceColors && file.Membership.maxEvent() >= last) {
        const int slotCount = std::min<int>(g.membershipSlots(), file.Membership.maxColumn());
        for (int k = 1; k <= slotCount && k < PopulationTableSize; ++k) {
            const PopulationRecord& r = g.PopulationTable[static_cast<size_t>(k)];
            if (r.InUse && !r.Transparent)
                colourSlots_.push_back({file.Membership.column(k), rgbOf(r.ColorRed, r.ColorGreen, r.ColorBlue)});
        }
    }
    uint32_t ramp[BendRampTop + 1];
    if (state.DistanceColors)
        for (int k = 0; k <= BendRampTop; ++k) {
            const Rgb c = BendRampColour(k);
            ramp[k] = rgbOf(c.Red, c.Green, c.Blue);
        }
    const ColourSlot* slotsBegin = colourSlots_.data();
    const ColourSlot* slotsEnd = slotsBegin + colourSlots_.size();

    uchar* bits = image.bits();
    const qsizetype bpl = image.bytesPerLine();
    const bool large = state.DotSize == 2;
    const float SX = static_cast<float>(W) / 10000.0f, SY = static_cast<float>(H) / 10000.0f;
    const float maxX = static_cast<float>(W) - 0.5f, maxY = static_cast<float>(H) - 0.5f;
    auto put = [&](int x, int y, uint32_t c) {
        if (x >= 0 && x < W && y >= 0 && y < H) reinterpret_cast<uint32_t*>(bits + y * bpl)[x] = c;
    };
    const double total = state.DistanceColors ? BendTotalAxisLength(state.Axes) : 0.0;

    // Each block of events is placed and drawn at once, so no position is
    // kept per event.
    int64_t drawn = 0;
    ForEachPlacedBendBlock(file, state.Axes, step, state.DistanceColors,
                           [&](int32_t first, size_t n, const double* px, const double* py, const double* dist) {
        int64_t e = first;
        for (size_t i = 0; i < n; ++i, e += step) {
            if (shown && shown[e] != 1) continue;
            ++drawn;
            const float fx = static_cast<float>(px[i]) * SX, fy = static_cast<float>(py[i]) * SY;
            if (!(fx >= -0.5f && fx < maxX && fy >= -0.5f && fy < maxY)) continue;
            uint32_t colour = plain;
            if (dist) {
                colour = ramp[BendRampIndex(dist[i], total)];
            } else {
                for (const ColourSlot* s = slotsEnd; s != slotsBegin;) {
                    --s;
                    if (s->member[e] == 1) {
                        colour = s->rgb;
                        break;
                    }
                }
            }
            const int x = static_cast<int>(fx + 0.5f);
            const int y = static_cast<int>(fy + 0.5f);
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

}  // namespace qv
