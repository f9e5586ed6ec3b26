#include "core/PolygonTest.h"

#include <algorithm>

namespace qv {

namespace {

struct Edge {
    double yLow, yHigh;   // y of the lower and the upper end
    double xLow;          // x of the lower end
    double xMin;
    double dx, dy;        // upper end minus lower end
};

Edge makeEdge(const PolygonCorner& a, const PolygonCorner& b) {
    const bool aLow = a.Y <= b.Y;
    const PolygonCorner& lo = aLow ? a : b;
    const PolygonCorner& hi = aLow ? b : a;
    Edge e;
    e.yLow = lo.Y;
    e.yHigh = hi.Y;
    e.xLow = lo.X;
    e.xMin = std::min(a.X, b.X);
    e.dx = static_cast<double>(hi.X) - lo.X;
    e.dy = static_cast<double>(hi.Y) - lo.Y;
    return e;
}

// The crossing rule of one edge for a point whose py lies strictly between
// the edge's end heights.
inline bool crosses(const Edge& e, double px, double py) {
    if (px < e.xMin) return true;
    return px < e.xLow + (py - e.yLow) * e.dx / e.dy;
}

// The edges, grouped by horizontal band between consecutive corner heights:
// for py strictly inside a band, exactly the band's edges have
// yLow < py < yHigh, so only they need testing. Points level with a corner
// take the plain loop over all edges.
class Polygon {
public:
    explicit Polygon(std::span<const PolygonCorner> corners) {
        if (corners.size() < 3) return;
        for (size_t k = 0; k < corners.size(); ++k)
            edges_.push_back(makeEdge(corners[k], corners[(k + 1) % corners.size()]));
        for (const PolygonCorner& c : corners) levels_.push_back(c.Y);
        std::sort(levels_.begin(), levels_.end());
        levels_.erase(std::unique(levels_.begin(), levels_.end()), levels_.end());
        if (levels_.size() < 2) return;  // all corners level: no area
        bandStart_.push_back(0);
        for (size_t b = 0; b + 1 < levels_.size(); ++b) {
            for (const Edge& e : edges_)
                if (e.yLow <= levels_[b] && e.yHigh >= levels_[b + 1]) bandEdges_.push_back(e);
            bandStart_.push_back(bandEdges_.size());
        }
        usable_ = true;
    }

    bool inside(double px, double py) const {
        if (!usable_) return false;
        // Outside the corner heights (or not a number) no edge counts.
        if (!(py > levels_.front() && py < levels_.back())) return false;
        const auto it = std::upper_bound(levels_.begin(), levels_.end(), py);
        const size_t band = static_cast<size_t>(it - levels_.begin()) - 1;
        if (levels_[band] == py) return insideByAllEdges(px, py);
        unsigned count = 0;
        for (size_t k = bandStart_[band]; k < bandStart_[band + 1]; ++k)
            count += crosses(bandEdges_[k], px, py) ? 1u : 0u;
        return (count & 1u) != 0;
    }

    bool insideByAllEdges(double px, double py) const {
        unsigned count = 0;
        for (const Edge& e : edges_)
            if (e.yLow < py && py < e.yHigh && crosses(e, px, py)) ++count;
        return (count & 1u) != 0;
    }

private:
    bool usable_ = false;
    std::vector<Edge> edges_;
    std::vector<double> levels_;
    std::vector<size_t> bandStart_;
    std::vector<Edge> bandEdges_;
};

}  // namespace

std::vector<uint8_t> PointsInPolygon(std::span<const PlotPoint> points, std::span<const PolygonCorner> polygon) {
    std::vector<uint8_t> result(points.empty() ? 1 : points.size(), 0);
    const Polygon shape(polygon);
    for (size_t i = 1; i < points.size(); ++i)
        result[i] = shape.inside(points[i].X, points[i].Y) ? 1 : 0;
    return result;
}

void PointsInPolygon(const float* xs, const float* ys, size_t count,
                     std::span<const PolygonCorner> polygon, uint8_t* inside) {
    const Polygon shape(polygon);
    for (size_t k = 0; k < count; ++k) inside[k] = shape.inside(xs[k], ys[k]) ? 1 : 0;
}

bool PointInPolygon(double px, double py, std::span<const PolygonCorner> polygon) {
    return Polygon(polygon).inside(px, py);
}

}  // namespace qv
