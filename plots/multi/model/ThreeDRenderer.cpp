#include "plots/multi/model/ThreeDRenderer.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <vector>

#include "core/AxisScaling.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"
#include "plots/multi/model/ThreeDProjection.h"

namespace qv {
namespace {

constexpr int32_t EventBlock = 4096;
constexpr int EdgePoints = 30;

struct Corner {
    double x, y, z;
    const char* label;
};

// Population slots that may colour an event, highest first: the highest slot
// an event belongs to wins.
std::vector<const uint8_t*> colouringColumns(const FileRecord& file, std::vector<Rgb>& colours) {
    std::vector<const uint8_t*> columns;
    colours.clear();
    const int last = std::min<int>(g.membershipSlots(), PopulationTableSize - 1);
    for (int k = last; k >= 1; --k) {
        const PopulationRecord& p = g.PopulationTable[static_cast<size_t>(k)];
        if (!p.InUse || p.Transparent || !file.Membership.contains(file.EventCount, k)) continue;
        columns.push_back(file.Membership.column(k));
        colours.push_back({p.ColorRed, p.ColorGreen, p.ColorBlue});
    }
    return columns;
}

int16_t axisWithin(int16_t axis, int16_t fallback, int32_t parameterCount) {
    if (axis >= 1 && axis <= parameterCount) return axis;
    return static_cast<int16_t>(std::clamp<int32_t>(fallback, 1, std::max<int32_t>(parameterCount, 1)));
}

void printLabels(QPainter& painter, const ThreeDProjector& projector, const std::array<Corner, 4>& corners, double S,
                 bool nearOnes) {
    for (const Corner& c : corners) {
        const ProjectedPosition p = projector.project(c.x, c.y, c.z, S);
        if ((p.Depth >= 0) != nearOnes || !projector.visible(p.Depth)) continue;
        PrintAt(painter, p.X, p.Y - 4, QString::fromLatin1(c.label));
    }
}

}  // namespace

int32_t CoarseThreeDStep(int32_t eventCount) { return std::max<int32_t>(1, eventCount / 1000); }

void RenderThreeD(QImage& picture, ThreeDState& s, const FileRecord& file, const ThreeDDrawOptions& options) {
    const QColor background = s.DarkBackground ? QColor(0, 0, 0) : QColor(255, 255, 255);
    const QColor text = s.DarkBackground ? QColor(255, 255, 255) : QColor(0, 0, 0);
    s.BackgroundLevel = s.DarkBackground ? 255 : 0;

    const int32_t P = file.ParameterCount;
    s.AxisX = axisWithin(s.AxisX, 1, P);
    s.AxisY = axisWithin(s.AxisY, 2, P);
    s.AxisZ = axisWithin(s.AxisZ, 3, P);

    if (picture.format() != QImage::Format_RGB32) picture = picture.convertToFormat(QImage::Format_RGB32);
    picture.fill(background);
    const int W = std::max(1, picture.width()), H = std::max(1, picture.height());
    s.PictureWidth = W;
    s.PictureHeight = H;
    const double S = std::min(W, H);

    QPainter painter(&picture);
    painter.setFont(PictureFont());
    painter.setPen(text);
    if (s.BackgroundPictureShown && options.backgroundPicture && !options.backgroundPicture->isNull()) {
        const QImage& bg = *options.backgroundPicture;
        const double w = bg.width() * static_cast<double>(W) / 800, h = bg.height() * static_cast<double>(H) / 800;
        painter.drawImage(QRectF(W - w, H - h, w, h), bg);
    }
    auto parameterName = [&](int16_t axis) {
        return axis >= 1 && axis < static_cast<int>(file.Parameters.size())
                   ? Latin1Text(file.Parameters[static_cast<size_t>(axis)].Name)
                   : QString();
    };
    if (s.ShowParameterNames) {
        PrintAt(painter, 0, 0, QStringLiteral("X-axis: ") + parameterName(s.AxisX));
        PrintAt(painter, 0, 12, QStringLiteral("Y-axis: ") + parameterName(s.AxisY));
        PrintAt(painter, 0, 24, QStringLiteral("Z-axis: ") + parameterName(s.AxisZ));
    }

    if (s.ShownPopulation < 0 || s.ShownPopulation >= PopulationTableSize ||
        !g.PopulationTable[static_cast<size_t>(s.ShownPopulation)].InUse)
        s.ShownPopulation = 0;
    const uint8_t* shown = nullptr;
    if (s.ShownPopulation != 0) {
        // A population the file holds no column for shows no event.
        static const uint8_t none[1] = {0};
        shown = file.Membership.contains(file.EventCount, s.ShownPopulation) ? file.Membership.column(s.ShownPopulation)
                                                                             : nullptr;
        if (!shown) shown = none;
    }
    const bool shownHasColumn = s.ShownPopulation == 0 || file.Membership.contains(file.EventCount, s.ShownPopulation);

    const ThreeDView view{s.RotateX, s.RotateY, s.RotateZ, s.PerspectiveFactor, s.Distance,
                          static_cast<double>(W), static_cast<double>(H)};
    const ThreeDProjector projector(view);

    // Events.
    std::vector<ProjectedPoint>& points = s.ProjectedPoints;
    points.clear();
    const int32_t events = std::min(file.EventCount, file.WorkingData.maxEvent());
    const int32_t step = options.quickPass && events > 1000 ? events / 1000 : std::max<int32_t>(s.Step, 1);
    std::vector<Rgb> colours;
    const std::vector<const uint8_t*> columns = colouringColumns(file, colours);
    const uint8_t level = s.BackgroundLevel;
    if (events > 0 && P >= 1 && shownHasColumn) {
        points.reserve(static_cast<size_t>(events / step + 1 + 12 * EdgePoints));
        std::vector<float> xs(EventBlock), ys(EventBlock), zs(EventBlock);
        const int64_t blockSpan = static_cast<int64_t>(EventBlock) * step;
        for (int64_t first = 1; first <= events; first += blockSpan) {
            const int32_t f = static_cast<int32_t>(first);
            const int32_t last = static_cast<int32_t>(std::min<int64_t>(events, first + blockSpan - 1));
            const size_t n = ScaleEventsToAxis(file, s.AxisX, S, f, last, step, std::span<float>(xs));
            ScaleEventsToAxis(file, s.AxisY, S, f, last, step, std::span<float>(ys));
            ScaleEventsToAxis(file, s.AxisZ, S, f, last, step, std::span<float>(zs));
            for (size_t i = 0; i < n; ++i) {
                const int32_t e = f + static_cast<int32_t>(i) * step;
                if (shown && shown[e] != 1) continue;
                Rgb c{level, level, level};
                for (size_t k = 0; k < columns.size(); ++k)
                    if (columns[k][e] == 1) {
                        c = colours[k];
                        break;
                    }
                const ProjectedPosition p = projector.project(xs[i], ys[i], zs[i], S);
                points.push_back({static_cast<float>(p.X), static_cast<float>(p.Y), static_cast<float>(p.Depth), c.Red,
                                  c.Green, c.Blue});
            }
        }
    }

    // Cube edges: the low faces at 1, each edge 30 points from S/30 to S.
    const std::array<Corner, 4> corners = {{{1, 1, 1, "0"}, {S, 1, 1, "X"}, {1, S, 1, "Y"}, {1, 1, S, "Z"}}};
    if (s.ShowOutlines) {
        for (int i = 1; i <= EdgePoints; ++i) {
            const double t = static_cast<double>(i) / EdgePoints * S;
            const double edges[12][3] = {{t, 1, 1}, {1, t, 1}, {t, S, 1}, {S, t, 1}, {t, 1, S}, {1, t, S},
                                         {t, S, S}, {S, t, S}, {1, 1, t}, {S, 1, t}, {1, S, t}, {S, S, t}};
            for (const auto& e : edges) {
                const ProjectedPosition p = projector.project(e[0], e[1], e[2], S);
                points.push_back({static_cast<float>(p.X), static_cast<float>(p.Y), static_cast<float>(p.Depth), 0, 0, 255});
            }
        }
        printLabels(painter, projector, corners, S, false);
    }
    painter.end();

    // Dots, nearest per pixel cell; equal depth keeps the first.
    const size_t cellsAcross = static_cast<size_t>(W) + 1;
    std::vector<float> depthBuffer(cellsAcross * (static_cast<size_t>(H) + 1), 0.0f);
    const int dot = std::max<int>(1, s.DotSize);
    const bool cue = s.DarkBackground;
    uint8_t* bits = picture.bits();
    const qsizetype stride = picture.bytesPerLine();
    const int iw = picture.width(), ih = picture.height();
    for (const ProjectedPoint& pt : points) {
        const float px = pt.X, py = pt.Y, pd = pt.Depth;
        if (!(px >= 0 && px <= W && py >= 0 && py <= H)) continue;
        if (!projector.visible(pd)) continue;  // at or behind the viewer
        const int ix = static_cast<int>(std::nearbyint(px)), iy = static_cast<int>(std::nearbyint(py));
        float& cell = depthBuffer[static_cast<size_t>(iy) * cellsAcross + static_cast<size_t>(ix)];
        if (cell != 0 && cell >= pd) continue;
        cell = pd;
        QRgb colour;
        if (cue) {
            const double f = DepthCue(pd);
            colour = qRgb(static_cast<int>(std::nearbyint(pt.Red * f)), static_cast<int>(std::nearbyint(pt.Green * f)),
                          static_cast<int>(std::nearbyint(pt.Blue * f)));
        } else {
            colour = qRgb(pt.Red, pt.Green, pt.Blue);
        }
        const int x0 = ix - dot / 2, y0 = iy - dot / 2;
        for (int y = std::max(0, y0); y < std::min(ih, y0 + dot); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(bits + stride * y);
            for (int x = std::max(0, x0); x < std::min(iw, x0 + dot); ++x) line[x] = colour;
        }
    }

    QPainter after(&picture);
    after.setFont(PictureFont());
    after.setPen(text);
    if (s.ShowOutlines) printLabels(after, projector, corners, S, true);
    if (s.FastDraw) PrintAt(after, W - 103, 5, QStringLiteral("FAST DRAW MODE"));
}

}  // namespace qv
