#pragma once
// Positions of a block of events on one parameter for the loops that place a
// million events per draw: the linear case with step 1 in a loop simple
// enough for the compiler to vectorise, every other case through
// ScaleEventsToAxis. Both give the same positions.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>

#include "core/AxisScaling.h"
#include "core/SharedState.h"

namespace qv {

// Positions of events first..last (step 1) of a linear parameter, computed
// exactly as AxisScale::position computes them (value, folded when the
// negative-value option is on, divided by the range, times the length;
// negative and non-numeric results 0), in a loop simple enough for the
// compiler to vectorise. Other axes and steps go through ScaleEventsToAxis.
template <class Out>
inline size_t ScaleEventsToAxisQuick(const FileRecord& file, int16_t parameter, double length, int32_t first, int32_t last,
                  int32_t step, std::span<Out> out) {
    const ParameterInfo& param = file.Parameters[static_cast<size_t>(parameter)];
    if (param.IsLog || param.Range == 0 || step != 1 || first < 1)
        return ScaleEventsToAxis(file, parameter, length, first, last, step, out);
    last = std::min(last, file.WorkingData.maxEvent());
    if (last < first) return 0;
    const size_t count = std::min(static_cast<size_t>(last - first) + 1, out.size());
    const float* v = file.WorkingData.column(parameter) + first;
    const double range = param.Range;
    Out* dst = out.data();
    constexpr double kMax = std::numeric_limits<double>::max();
    if (g.UseNegativeAbs) {
        for (size_t i = 0; i < count; ++i) {
            const float x = v[i] < 1.0f ? std::fabs(v[i]) + 1.0f : v[i];
            const double r = static_cast<double>(x) / range * length;
            dst[i] = static_cast<Out>(r > 0.0 && r <= kMax ? r : 0.0);
        }
    } else if (param.Range > 0 && (param.Range & (param.Range - 1)) == 0) {
        // The usual ranges (1024, 262144, ...) are powers of two: dividing by
        // one is multiplying by its exact reciprocal, the same result at a
        // fraction of the cost.
        const double inverse = 1.0 / range;
        for (size_t i = 0; i < count; ++i) {
            const double r = static_cast<double>(v[i]) * inverse * length;
            dst[i] = static_cast<Out>(r > 0.0 && r <= kMax ? r : 0.0);
        }
    } else {
        for (size_t i = 0; i < count; ++i) {
            const double r = static_cast<double>(v[i]) / range * length;
            dst[i] = static_cast<Out>(r > 0.0 && r <= kMax ? r : 0.0);
        }
    }
    return count;
}

}  // namespace qv
