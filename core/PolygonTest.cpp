#include "core/PolygonTest.h"

#include "core/Numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv {

namespace {

struct Edge {
    double yLow, yHigh;   // y of the lower and the upper end
    double xLow;          // x of the lower end
    double xMin;
    double dx, dy;        // upper end minus lower end
};

// A filler edge: its x is minus infinity at every height, so no point
// (not even one at minus infinity, nor one that is not a number) is left of it.
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr Edge kNeverCrossed{0.0, 1.0, -kInf, -kInf, 0.0, 1.0};

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
// the edge's end heights. Both tests are made without branching on their
// outcome (points come in no useful order), so the edge's x is interpolated
// even when the first test already decides.
inline unsigned crosses(const Edge& e, double px, double py) {
    const double x = e.xLow + (py - e.yLow) * e.dx / e.dy;
    return static_cast<unsigned>(px < e.xMin) | static_cast<unsigned>(px < x);
}

// The edges, grouped by horizontal band between consecutive corner heights:
// for py strictly inside a band, exactly the band's edges have
// yLow < py < yHigh, so only they need testing. Points level with a corner
// take the plain loop over all edges. A table of equal slices of the height
// gives each point its band in one look-up, corrected by a step when a
// corner level falls inside the slice.
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
        // Every band gets the same number of edges, filled up with edges
        // that never count, so the loop over a band's edges always runs the
        // same length and its end is never mispredicted.
        size_t widest = 0;
        for (size_t b = 0; b + 1 < levels_.size(); ++b) {
            size_t n = 0;
            for (const Edge& e : edges_) n += (e.yLow <= levels_[b] && e.yHigh >= levels_[b + 1]) ? 1 : 0;
            widest = std::max(widest, n);
        }
        // An even width lets the edges of a band be tested two at a time.
        bandWidth_ = widest + (widest & 1u);
        for (size_t b = 0; b + 1 < levels_.size(); ++b) {
            size_t n = 0;
            for (const Edge& e : edges_)
                if (e.yLow <= levels_[b] && e.yHigh >= levels_[b + 1]) { addBandEdge(e); ++n; }
            for (; n < bandWidth_; ++n) addBandEdge(kNeverCrossed);
        }
        bottom_ = levels_.front();
        top_ = levels_.back();
        sliceScale_ = kSlices / (top_ - bottom_);
        sliceBand_.resize(kSlices);
        // Slice c starts its search in the band of the start of slice
        // c - 1: a point that rounding puts in slice c lies above that, so
        // the search only ever needs to step up.
        size_t band = 0;
        for (size_t c = 0; c < kSlices; ++c) {
            const double lo = bottom_ + static_cast<double>(c == 0 ? 0 : c - 1) / sliceScale_;
            while (band + 2 < levels_.size() && levels_[band + 1] <= lo) ++band;
            sliceBand_[c] = static_cast<uint32_t>(band);
        }
        usable_ = true;
    }

    bool usable() const { return usable_; }

    // Only for a usable polygon.
    [[gnu::always_inline]] inline bool inside(double px, double py) const {
        // Outside the corner heights (or not a number) no edge counts.
        if (!((py > bottom_) & (py < top_))) return false;
        const double slice = (py - bottom_) * sliceScale_;
        size_t band = sliceBand_[slice < static_cast<double>(kSlices - 1) ? static_cast<size_t>(slice) : kSlices - 1];
        // Step up past a level inside the slice, so that
        // levels_[band] <= py < levels_[band + 1].
        while (py >= levels_[band + 1]) ++band;
        if (levels_[band] == py) return insideByAllEdges(px, py);
        const size_t first = band * bandWidth_;
        switch (bandWidth_) {
        case 2: return crossingsOdd<2>(first, px, py);
        case 4: return crossingsOdd<4>(first, px, py);
        case 6: return crossingsOdd<6>(first, px, py);
        case 8: return crossingsOdd<8>(first, px, py);
        default: {
            unsigned count = 0;
            for (size_t k = first; k < first + bandWidth_; ++k) count += crossesBand(k, px, py);
            return (count & 1u) != 0;
        }
        }
    }

    bool insideByAllEdges(double px, double py) const {
        unsigned count = 0;
        for (const Edge& e : edges_)
            if (e.yLow < py && py < e.yHigh) count += crosses(e, px, py);
        return (count & 1u) != 0;
    }

private:
    void addBandEdge(const Edge& e) {
        xLow_.push_back(e.xLow);
        yLow_.push_back(e.yLow);
        dx_.push_back(e.dx);
        dy_.push_back(e.dy);
        xMin_.push_back(e.xMin);
    }
    // crosses() for the band edge k, from the edge columns.
    unsigned crossesBand(size_t k, double px, double py) const {
        const double x = xLow_[k] + (py - yLow_[k]) * dx_[k] / dy_[k];
        return static_cast<unsigned>(px < xMin_[k]) | static_cast<unsigned>(px < x);
    }
    template <size_t W>
    bool crossingsOdd(size_t first, double px, double py) const {
        const double* xLow = xLow_.data() + first;
        const double* yLow = yLow_.data() + first;
        const double* dx = dx_.data() + first;
        const double* dy = dy_.data() + first;
        const double* xMin = xMin_.data() + first;
#if defined(__SSE2__)
        // Two edges per step; the same IEEE operations as the scalar form,
        // so the same results.
        const __m128d vpx = _mm_set1_pd(px), vpy = _mm_set1_pd(py);
        __m128d odd = _mm_setzero_pd();
        for (size_t k = 0; k < W; k += 2) {
            const __m128d x = _mm_add_pd(_mm_loadu_pd(xLow + k),
                                         _mm_div_pd(_mm_mul_pd(_mm_sub_pd(vpy, _mm_loadu_pd(yLow + k)),
                                                               _mm_loadu_pd(dx + k)),
                                                    _mm_loadu_pd(dy + k)));
            const __m128d crossed = _mm_or_pd(_mm_cmplt_pd(vpx, _mm_loadu_pd(xMin + k)), _mm_cmplt_pd(vpx, x));
            odd = _mm_xor_pd(odd, crossed);
        }
        const int lanes = _mm_movemask_pd(odd);
        return ((lanes ^ (lanes >> 1)) & 1) != 0;
#else
        unsigned count = 0;
        for (size_t k = 0; k < W; ++k) {
            const double x = xLow[k] + (py - yLow[k]) * dx[k] / dy[k];
            count += static_cast<unsigned>(px < xMin[k]) | static_cast<unsigned>(px < x);
        }
        return (count & 1u) != 0;
#endif
    }

    static constexpr size_t kSlices = 1024;
    bool usable_ = false;
    double bottom_ = 0.0, top_ = 0.0, sliceScale_ = 0.0;
    std::vector<uint32_t> sliceBand_;
    std::vector<Edge> edges_;
    std::vector<double> levels_;
    size_t bandWidth_ = 0;  // edges per band, fillers included
    // The edges of every band, bandWidth_ per band, as columns.
    std::vector<double> xLow_, yLow_, dx_, dy_, xMin_;
};

}  // namespace

namespace {

int32_t cornerUnit(float v) {
    if (std::isnan(v)) return 0;
    return CLng(std::clamp(static_cast<double>(v), -1.0e9, 1.0e9));
}

}  // namespace

PolygonCorner PolygonCornerFromPlotSpace(float x, float y) { return {cornerUnit(x), cornerUnit(y)}; }

std::vector<uint8_t> PointsInPolygon(std::span<const PlotPoint> points, std::span<const PolygonCorner> polygon) {
    std::vector<uint8_t> result(points.empty() ? 1 : points.size(), 0);
    const Polygon shape(polygon);
    if (!shape.usable()) return result;
    for (size_t i = 1; i < points.size(); ++i)
        result[i] = shape.inside(points[i].X, points[i].Y) ? 1 : 0;
    return result;
}

std::vector<PolygonCorner> GatePolygon(const PopulationRecord& gate) {
    const int corners = std::clamp<int>(gate.Corners, 0, MaxCorners);
    std::vector<PolygonCorner> polygon(static_cast<size_t>(corners));
    for (int j = 1; j <= corners; ++j)
        polygon[static_cast<size_t>(j - 1)] =
            PolygonCornerFromPlotSpace(gate.CornerX[static_cast<size_t>(j)], gate.CornerY[static_cast<size_t>(j)]);
    return polygon;
}

void PointsInPolygon(const float* xs, const float* ys, size_t count,
                     std::span<const PolygonCorner> polygon, uint8_t* inside) {
    const Polygon shape(polygon);
    if (!shape.usable()) {
        std::fill(inside, inside + count, uint8_t{0});
        return;
    }
    for (size_t k = 0; k < count; ++k) inside[k] = shape.inside(xs[k], ys[k]) ? 1 : 0;
}

bool PointInPolygon(double px, double py, std::span<const PolygonCorner> polygon) {
    const Polygon shape(polygon);
    return shape.usable() && shape.inside(px, py);
}

}  // namespace qv
