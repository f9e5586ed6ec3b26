#include "plots/multi/model/BendPlacement.h"

namespace qv {

BendAxisMove BendAxisVector(const AxisTable& axes, int a) {
    const AxisRecord& axis = axes[static_cast<size_t>(a)];
    const int c = axis.Connected;
    const AxisRecord& start = c >= 0 && c <= BendRootAxis ? axes[static_cast<size_t>(c)] : axes[0];
    BendAxisMove m;
    m.parameter = axis.Parameter;
    m.dx = static_cast<double>(axis.X) - start.X;
    m.dy = static_cast<double>(axis.Y) - start.Y;
    m.length = std::sqrt(m.dx * m.dx + m.dy * m.dy);
    return m;
}

double BendTotalAxisLength(const AxisTable& axes) {
    // Every existing axis counts, whether the file has its parameter or not.
    double total = 0;
    for (int a = 1; a <= BendLastAxis; ++a)
        if (axes[static_cast<size_t>(a)].Exists) total += BendAxisVector(axes, a).length;
    return total;
}

void PlaceBendEvents(const FileRecord& file, const AxisTable& axes, int32_t step, int shownPopulation,
                     bool withDistances, BendPlacement& out) {
    const size_t size = static_cast<size_t>(std::max<int32_t>(file.EventCount, 0)) + 1;
    out.X.assign(size, 0.0f);
    out.Y.assign(size, 0.0f);
    out.Distance.assign(withDistances ? size : 0, 0.0);
    out.TotalAxisLength = withDistances ? BendTotalAxisLength(axes) : 0.0;
    if (step < 1) step = 1;

    const uint8_t* shown = nullptr;
    if (shownPopulation != 0) {
        const int32_t last = std::min(file.EventCount, file.WorkingData.maxEvent());
        if (shownPopulation < 0 || !file.Membership.contains(last, shownPopulation)) return;
        shown = file.Membership.column(shownPopulation);
    }
    ForEachPlacedBendBlock(file, axes, step, withDistances,
                           [&](int32_t first, size_t n, const double* px, const double* py, const double* dist) {
                               int64_t e = first;
                               for (size_t i = 0; i < n; ++i, e += step) {
                                   if (shown && shown[e] != 1) continue;
                                   out.X[static_cast<size_t>(e)] = static_cast<float>(px[i]);
                                   out.Y[static_cast<size_t>(e)] = static_cast<float>(py[i]);
                                   if (dist) out.Distance[static_cast<size_t>(e)] = dist[i];
                               }
                           });
}

}  // namespace qv
