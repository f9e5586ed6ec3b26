#include "app/model/WindowGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

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

QRect FittedIntoView(const QRect& window, const QMargins& frame, const QRect& area) {
    const int roomW = std::max(1, area.width() - frame.left() - frame.right());
    const int roomH = std::max(1, area.height() - frame.top() - frame.bottom());
    const QRect client(window.topLeft(), QSize(clampInt(window.width(), 1, roomW), clampInt(window.height(), 1, roomH)));
    return MovedIntoView(client.marginsAdded(frame), area).marginsRemoved(frame);
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

QPoint OwnWindowPlace(const QSize& size, const QRect& screen, const std::vector<QRect>& others,
                      const std::vector<QRect>& keepClear) {
    const int w = size.width(), h = size.height();
    const int left = screen.left(), top = screen.top();
    const int right = screen.left() + screen.width() - w;
    const int bottom = screen.top() + screen.height() - h;
    std::vector<QPoint> corners{{right, top}, {left, top}, {right, bottom}, {left, bottom}};
    const auto besides = [&](const QRect& r) {
        const int rEnd = r.x() + r.width(), bEnd = r.y() + r.height();
        for (const int x : {r.x() - w, rEnd, r.x(), rEnd - w, left, right})
            for (const int y : {r.y(), bEnd, r.y() - h, bEnd - h, top, bottom}) corners.emplace_back(x, y);
    };
    for (const QRect& r : others) besides(r);
    for (const QRect& r : keepClear) besides(r);

    // Compared in this order: kept-clear area covered, other windows
    // covered, distance from the screen's top right corner (along the
    // edges), height on the screen.
    using Score = std::tuple<int64_t, int64_t, int64_t, int>;
    std::optional<QPoint> best;
    Score bestScore{};
    for (const QPoint& corner : corners) {
        const QRect spot(corner, size);
        if (!screen.contains(spot)) continue;
        int64_t clear = 0, cover = 0;
        for (const QRect& r : keepClear) clear += overlapArea(spot, r);
        for (const QRect& r : others) cover += overlapArea(spot, r);
        const int64_t distance = int64_t{corner.y() - top} + (right - corner.x());
        const Score score{clear, cover, distance, corner.y()};
        if (!best || score < bestScore) {
            best = corner;
            bestScore = score;
        }
    }
    if (best) return *best;
    // Larger than the screen: its top-left corner at the screen's.
    return MovedIntoView(QRect(QPoint(right, top), size), screen).topLeft();
}

QSize SizeClearOf(const QSize& size, const QRect& area, const std::vector<QRect>& keepClear) {
    if (keepClear.empty() || size.isEmpty()) return size;
    const int areaRight = area.left() + area.width(), areaBottom = area.top() + area.height();
    double scale = 0.0;
    for (const QRect& r : keepClear) {
        const int right = r.x() + r.width(), bottom = r.y() + r.height();
        for (const QRect& part : {QRect(area.left(), area.top(), area.width(), r.y() - area.top()),
                                  QRect(area.left(), bottom, area.width(), areaBottom - bottom),
                                  QRect(area.left(), area.top(), r.x() - area.left(), area.height()),
                                  QRect(right, area.top(), areaRight - right, area.height())}) {
            if (part.isEmpty()) continue;
            bool clear = true;
            for (const QRect& other : keepClear) clear = clear && !part.intersects(other);
            if (!clear) continue;
            scale = std::max(scale, std::min({1.0, double(part.width()) / size.width(),
                                              double(part.height()) / size.height()}));
        }
    }
    if (scale >= 1.0 || scale < 0.5) return size;
    return QSize(std::max(MinWindowPixels, static_cast<int>(std::lround(size.width() * scale))),
                 std::max(MinWindowPixels, static_cast<int>(std::lround(size.height() * scale))));
}

int64_t CoveredArea(const QRect& r, const std::vector<QRect>& covers) {
    std::vector<QRect> parts;
    std::vector<int> edges;
    for (const QRect& c : covers) {
        const QRect part = r.intersected(c);
        if (part.isEmpty()) continue;
        parts.push_back(part);
        edges.insert(edges.end(), {part.left(), part.left() + part.width()});
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    // Column by column between the edges, the covered heights merged.
    int64_t area = 0;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        std::vector<std::pair<int, int>> spans;
        for (const QRect& p : parts)
            if (p.left() <= edges[i] && p.left() + p.width() >= edges[i + 1])
                spans.emplace_back(p.top(), p.top() + p.height());
        std::sort(spans.begin(), spans.end());
        int64_t height = 0;
        int reached = std::numeric_limits<int>::min();
        for (const auto& [top, bottom] : spans) {
            const int from = std::max(top, reached);
            if (bottom > from) height += bottom - from;
            reached = std::max(reached, bottom);
        }
        area += height * (edges[i + 1] - edges[i]);
    }
    return area;
}

QPoint PlaceClearOfTitleBars(const TitledRect& window, const QRect& area, const std::vector<TitledRect>& settled,
                             const std::vector<QRect>& keepClear, const std::vector<QRect>& lowerTitleBars) {
    const QRect& own = window.rect;
    const QSize size = own.size();
    const auto titleOf = [](const QRect& r, int height) {
        return QRect(r.x(), r.y(), r.width(), std::clamp(height, 0, r.height()));
    };
    // Compared in this order: kept-clear area covered, title bars covered
    // (either way), lower title bars covered, distance moved.
    using Score = std::tuple<int64_t, int64_t, int64_t, int64_t>;
    const auto scoreOf = [&](const QPoint& at) {
        const QRect spot(at, size);
        const QRect title = titleOf(spot, window.titleHeight);
        int64_t clear = 0, hidden = 0, lower = 0;
        for (const QRect& r : keepClear) clear += overlapArea(spot, r);
        for (const TitledRect& other : settled)
            hidden += overlapArea(spot, titleOf(other.rect, other.titleHeight)) + overlapArea(title, other.rect);
        for (const QRect& r : lowerTitleBars) lower += overlapArea(spot, r);
        const int64_t moved = std::abs(int64_t{at.x()} - own.x()) + std::abs(int64_t{at.y()} - own.y());
        return Score{clear, hidden, lower, moved};
    };
    Score best = scoreOf(own.topLeft());
    if (std::get<0>(best) == 0 && std::get<1>(best) == 0 && std::get<2>(best) == 0) return own.topLeft();

    // The places tried along each axis: its own, the area's edges, and
    // beside every other window and kept-clear rectangle. Where the window
    // is larger than the area that way, only its own.
    std::vector<int> xs{own.x()}, ys{own.y()};
    const bool fitsAcross = size.width() <= area.width();
    const bool fitsDown = size.height() <= area.height();
    const auto besides = [&](const QRect& r) {
        if (fitsAcross) xs.insert(xs.end(), {r.x() - size.width(), r.x() + r.width(), r.x(), r.x() + r.width() - size.width()});
        if (fitsDown) ys.insert(ys.end(), {r.y() - size.height(), r.y() + r.height()});
    };
    if (fitsAcross) xs.insert(xs.end(), {area.left(), area.left() + area.width() - size.width()});
    if (fitsDown) ys.insert(ys.end(), {area.top(), area.top() + area.height() - size.height()});
    for (const TitledRect& other : settled) besides(other.rect);
    for (const QRect& r : keepClear) besides(r);
    for (const QRect& r : lowerTitleBars) besides(r);
    const auto inside = [](int v, int low, int length, int room) { return v >= low && v + length <= low + room; };

    QPoint bestAt = own.topLeft();
    for (const int x : xs) {
        if (fitsAcross && !inside(x, area.left(), size.width(), area.width())) continue;
        for (const int y : ys) {
            if (fitsDown && !inside(y, area.top(), size.height(), area.height())) continue;
            const Score score = scoreOf(QPoint(x, y));
            if (score < best) {
                best = score;
                bestAt = QPoint(x, y);
            }
        }
    }
    return bestAt;
}

}  // namespace qv
