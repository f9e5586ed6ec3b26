#include "app/model/WindowGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace qv {

namespace {

constexpr double FarPixels = 1.0e6;

int clampInt(int v, int low, int high) { return std::max(low, std::min(v, high)); }

int64_t overlapArea(const QRect& a, const QRect& b) {
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : int64_t{both.width()} * both.height();
}

}  // namespace

int TwipsToPixels(double twips) {
    const double px = std::floor(twips / TwipsPerPixel + 0.5);
    if (std::isnan(px)) return 0;
    if (px <= -FarPixels) return -static_cast<int>(FarPixels);
    if (px >= FarPixels) return static_cast<int>(FarPixels);
    return static_cast<int>(px);
}

QSize LargestWindowSize(const QSize& screen) {
    return QSize(std::max(MinWindowPixels, MaxScreensPerWindow * screen.width()),
                 std::max(MinWindowPixels, MaxScreensPerWindow * screen.height()));
}

QRect BoundedWindowRect(const QRect& wanted, const QRect& area, const QSize& screen) {
    const QSize largest = LargestWindowSize(screen.isEmpty() ? area.size() : screen);
    const int w = clampInt(wanted.width(), MinWindowPixels, largest.width());
    const int h = clampInt(wanted.height(), MinWindowPixels, largest.height());

    const int reach = std::min(w, ReachableTitleWidth);
    const int xMin = area.left() + reach - w;
    const int xMax = std::max(area.left(), area.left() + area.width() - reach);
    const int yMin = area.top();
    const int yMax = std::max(area.top(), area.top() + area.height() - ReachableTitleHeight);
    return QRect(clampInt(wanted.x(), xMin, xMax), clampInt(wanted.y(), yMin, yMax), w, h);
}

QRect WithTwipsValue(const QRect& current, WindowEdge which, double twips, const QRect& area, const QSize& screen) {
    QRect wanted = current;
    if (std::isfinite(twips)) {
        const int px = TwipsToPixels(twips);
        switch (which) {
        case WindowEdge::Left: wanted.moveLeft(px); break;
        case WindowEdge::Top: wanted.moveTop(px); break;
        case WindowEdge::Width: wanted.setWidth(px); break;
        case WindowEdge::Height: wanted.setHeight(px); break;
        }
    }
    return BoundedWindowRect(wanted, area, screen);
}

QRect MovedIntoView(const QRect& window, const QRect& area) {
    const int x = std::max(area.left(), std::min(window.x(), area.left() + area.width() - window.width()));
    const int y = std::max(area.top(), std::min(window.y(), area.top() + area.height() - window.height()));
    return QRect(QPoint(x, y), window.size());
}

QPoint NewWindowPlace(const QSize& size, const QRect& area, const std::vector<QRect>& others) {
    // The area's own corners, then the corners beside every other window.
    const int right = area.left() + area.width() - size.width();
    const int bottom = area.top() + area.height() - size.height();
    std::vector<QPoint> corners{area.topLeft(), {right, area.top()}, {area.left(), bottom}, {right, bottom}};
    for (const QRect& r : others) {
        corners.emplace_back(r.x() + r.width(), r.y());
        corners.emplace_back(r.x(), r.y() + r.height());
        corners.emplace_back(area.left(), r.y() + r.height());
        corners.emplace_back(r.x() + r.width(), area.top());
    }
    std::optional<QPoint> best;
    int64_t bestCover = std::numeric_limits<int64_t>::max();
    for (const QPoint& corner : corners) {
        const QRect spot(corner, size);
        if (!area.contains(spot)) continue;
        int64_t cover = 0;
        for (const QRect& r : others) cover += overlapArea(spot, r);
        const bool better = !best || cover < bestCover ||
                            (cover == bestCover && (corner.y() < best->y() || (corner.y() == best->y() && corner.x() < best->x())));
        if (better) {
            best = corner;
            bestCover = cover;
        }
    }
    if (best) return *best;
    return MovedIntoView(QRect(area.topLeft(), size), area).topLeft();
}

}  // namespace qv
