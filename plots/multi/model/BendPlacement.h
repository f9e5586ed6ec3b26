#pragma once
// Where the bending plot puts each event: the root plus, for every existing
// axis in index order, that axis's vector scaled by the event's position on
// the axis's parameter (0 at the axis start, the whole axis at the
// parameter's Range). Pure functions over the file's flat columns.
//
// Each axis's position is computed once per event on an axis of length 1
// and then multiplied by the axis's dx and dy, which gives exactly what
// scaling the value onto axes of lengths |dx| and |dy| gives.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "core/FileRecord.h"
#include "core/GateMembership.h"
#include "core/QuickAxisScaling.h"
#include "plots/multi/model/BendPlotState.h"

namespace qv {

struct BendPlacement {
    // Per event 0..EventCount, plot space; events not placed stay at (0, 0).
    std::vector<float> X, Y;
    // Per event: the sum over the axes of the length of its move along each
    // axis (filled only with distances asked for).
    std::vector<double> Distance;
    // Sum of the lengths of all existing axes (only with distances).
    double TotalAxisLength = 0;
};

// One axis as a move: its parameter and its vector from its parent's end
// point (entry 0, at the origin, for a parent number outside the table).
struct BendAxisMove {
    int16_t parameter = 0;
    double dx = 0, dy = 0;
    double length = 0;
};
BendAxisMove BendAxisVector(const AxisTable& axes, int a);
// The sum of the lengths of every existing axis.
double BendTotalAxisLength(const AxisTable& axes);

// Sampled events per block: the per-axis positions of one block stay in the
// cache while they are added up.
inline constexpr size_t BendPlacementBlock = 4096;

// Visits events 1, 1 + step, ... (up to the events the file holds) in
// blocks: visit(firstEvent, count, px, py, distance) gets the positions of
// events firstEvent, firstEvent + step, ... (distance only when asked for).
// Axes whose parameter the file lacks add nothing.
template <class Visit>
void ForEachPlacedBendBlock(const FileRecord& file, const AxisTable& axes, int32_t step, bool withDistances,
                            Visit visit) {
    const int32_t last = std::min(file.EventCount, file.WorkingData.maxEvent());
    if (last < 1) return;
    if (step < 1) step = 1;
    std::vector<BendAxisMove> moves;
    for (int a = 1; a <= BendLastAxis; ++a)
        if (axes[static_cast<size_t>(a)].Exists && FileHasParameter(file, axes[static_cast<size_t>(a)].Parameter))
            moves.push_back(BendAxisVector(axes, a));
    const AxisRecord& root = axes[BendRootAxis];
    std::vector<double> u(BendPlacementBlock), px(BendPlacementBlock), py(BendPlacementBlock),
        dist(withDistances ? BendPlacementBlock : 0);
    const size_t total = SampledEventCount(1, last, step);
    for (size_t i0 = 0; i0 < total; i0 += BendPlacementBlock) {
        const size_t n = std::min(BendPlacementBlock, total - i0);
        const int32_t first = static_cast<int32_t>(1 + static_cast<int64_t>(i0) * step);
        const int32_t blockLast = static_cast<int32_t>(first + static_cast<int64_t>(n - 1) * step);
        std::fill_n(px.begin(), n, static_cast<double>(root.X));
        std::fill_n(py.begin(), n, static_cast<double>(root.Y));
        if (withDistances) std::fill_n(dist.begin(), n, 0.0);
        for (const BendAxisMove& m : moves) {
            const size_t got = ScaleEventsToAxisQuick(file, m.parameter, 1.0, first, blockLast, step,
                                                      std::span<double>(u.data(), n));
            std::fill(u.begin() + static_cast<std::ptrdiff_t>(got), u.begin() + static_cast<std::ptrdiff_t>(n), 0.0);
            const double dx = m.dx, dy = m.dy;
            double* x = px.data();
            double* y = py.data();
            const double* w = u.data();
            for (size_t i = 0; i < n; ++i) {
                x[i] += dx * w[i];
                y[i] += dy * w[i];
            }
            if (withDistances)
                for (size_t i = 0; i < n; ++i) dist[i] += m.length * w[i];
        }
        visit(first, n, px.data(), py.data(), withDistances ? dist.data() : nullptr);
    }
}

// Places events 1, 1 + step, ... of `file` (all of them when shownPopulation
// is 0, else only members of that membership column) into `out`, which is
// sized anew to the file's events. `step` below 1 counts as 1.
void PlaceBendEvents(const FileRecord& file, const AxisTable& axes, int32_t step, int shownPopulation,
                     bool withDistances, BendPlacement& out);

}  // namespace qv
