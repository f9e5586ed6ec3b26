#include "plots/multi/model/BendPlacement.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "core/AxisScaling.h"
#include "core/GateMembership.h"

namespace qv {
namespace {

// Sampled events per block: the per-axis positions of one block stay in the
// cache while they are added up.
constexpr size_t PlacementBlock = 4096;

struct AxisMove {
    int16_t parameter = 0;
    double dx = 0, dy = 0;   // the axis vector, plot space
    double length = 0;       // its length
};

// Axis a from its parent's end point (entry 0, at the origin, for a parent
// number outside the table) to its own.
AxisMove axisVector(const AxisTable& axes, int a) {
    const AxisRecord& axis = axes[static_cast<size_t>(a)];
    const int c = axis.Connected;
    const AxisRecord& start = c >= 0 && c <= BendRootAxis ? axes[static_cast<size_t>(c)] : axes[0];
    AxisMove m;
    m.parameter = axis.Parameter;
    m.dx = static_cast<double>(axis.X) - start.X;
    m.dy = static_cast<double>(axis.Y) - start.Y;
    m.length = std::sqrt(m.dx * m.dx + m.dy * m.dy);
    return m;
}

std::vector<AxisMove> axisMoves(const FileRecord& file, const AxisTable& axes) {
    std::vector<AxisMove> moves;
    for (int a = 1; a <= BendLastAxis; ++a)
        if (axes[static_cast<size_t>(a)].Exists && FileHasParameter(file, axes[static_cast<size_t>(a)].Parameter))
            moves.push_back(axisVector(axes, a));
    return moves;
}

// Visits the sampled events in blocks: place(firstEvent, count, px, py, dist)
// gets the block's positions (and distances when asked for).
template <class Place>
void forEachPlacedBlock(const FileRecord& file, const AxisTable& axes, int32_t step, bool withDistances,
                        Place place) {
    const int32_t last = std::min(file.EventCount, file.WorkingData.maxEvent());
    if (last < 1) return;
    if (step < 1) step = 1;
    const std::vector<AxisMove> moves = axisMoves(file, axes);
    const AxisRecord& root = axes[BendRootAxis];
    std::vector<double> u(PlacementBlock), px(PlacementBlock), py(PlacementBlock), dist(PlacementBlock);
    const size_t total = SampledEventCount(1, last, step);
    for (size_t i0 = 0; i0 < total; i0 += PlacementBlock) {
        const size_t n = std::min(PlacementBlock, total - i0);
        const int32_t first = static_cast<int32_t>(1 + static_cast<int64_t>(i0) * step);
        const int32_t blockLast = static_cast<int32_t>(first + static_cast<int64_t>(n - 1) * step);
        std::fill_n(px.begin(), n, static_cast<double>(root.X));
        std::fill_n(py.begin(), n, static_cast<double>(root.Y));
        if (withDistances) std::fill_n(dist.begin(), n, 0.0);
        for (const AxisMove& m : moves) {
            ScaleEventsToAxis(file, m.parameter, 1.0, first, blockLast, step, std::span<double>(u.data(), n));
            for (size_t i = 0; i < n; ++i) {
                px[i] += m.dx * u[i];
                py[i] += m.dy * u[i];
            }
            if (withDistances)
                for (size_t i = 0; i < n; ++i) dist[i] += m.length * u[i];
        }
        place(first, n, px.data(), py.data(), dist.data());
    }
}

}  // namespace

void PlaceBendEvents(const FileRecord& file, const AxisTable& axes, int32_t step, int shownPopulation,
                     bool withDistances, BendPlacement& out) {
    const size_t size = static_cast<size_t>(std::max<int32_t>(file.EventCount, 0)) + 1;
    out.X.assign(size, 0.0f);
    out.Y.assign(size, 0.0f);
    out.Distance.assign(withDistances ? size : 0, 0.0);
    out.TotalAxisLength = 0;
    // Every existing axis counts in the total, whether the file has its
    // parameter or not.
    if (withDistances)
        for (int a = 1; a <= BendLastAxis; ++a)
            if (axes[static_cast<size_t>(a)].Exists) out.TotalAxisLength += axisVector(axes, a).length;
    if (step < 1) step = 1;

    const uint8_t* shown = nullptr;
    if (shownPopulation != 0) {
        const int32_t last = std::min(file.EventCount, file.WorkingData.maxEvent());
        if (!file.Membership.contains(last, shownPopulation) || shownPopulation < 0) return;
        shown = file.Membership.column(shownPopulation);
    }
    forEachPlacedBlock(file, axes, step, withDistances,
                       [&](int32_t first, size_t n, const double* px, const double* py, const double* dist) {
                           int64_t e = first;
                           for (size_t i = 0; i < n; ++i, e += step) {
                               if (shown && shown[e] != 1) continue;
                               out.X[static_cast<size_t>(e)] = static_cast<float>(px[i]);
                               out.Y[static_cast<size_t>(e)] = static_cast<float>(py[i]);
                               if (withDistances) out.Distance[static_cast<size_t>(e)] = dist[i];
                           }
                       });
}

void PlaceAllBendEvents(const FileRecord& file, const AxisTable& axes, float* xs, float* ys) {
    forEachPlacedBlock(file, axes, 1, false,
                       [&](int32_t first, size_t n, const double* px, const double* py, const double*) {
                           for (size_t i = 0; i < n; ++i) {
                               xs[first + static_cast<int64_t>(i)] = static_cast<float>(px[i]);
                               ys[first + static_cast<int64_t>(i)] = static_cast<float>(py[i]);
                           }
                       });
}

}  // namespace qv
