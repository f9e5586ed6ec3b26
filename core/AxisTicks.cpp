#include "core/AxisTicks.h"

#include <cmath>
#include <string>

#include "core/AxisScaling.h"

namespace qv {

std::vector<double> LinearTickDistances(int32_t range, double length) {
    std::vector<double> ticks;
    if (!(length > 0.0) || range <= 0) return ticks;
    const int digits = static_cast<int>(std::to_string(range).size());
    const double step = std::pow(10.0, digits - 3);
    const int64_t n = static_cast<int64_t>(std::floor(range / step));
    ticks.reserve(static_cast<size_t>(n) + 1);
    for (int64_t k = 0; k <= n; ++k) ticks.push_back(length * (static_cast<double>(k) * step / range));
    return ticks;
}

std::vector<double> LogTickDistances(int32_t range, double length) {
    std::vector<double> ticks;
    if (!(length > 0.0) || range <= 1) return ticks;
    for (int64_t mult = 1; mult <= INT32_MAX; mult *= 10) {
        for (int64_t k = 1; k <= 10; ++k) {
            const int64_t value = k * mult;
            if (value > INT32_MAX) return ticks;
            const double d = ScaleValueToAxis(static_cast<int32_t>(value), range, length);
            if (d > length) return ticks;
            ticks.push_back(d);
        }
    }
    return ticks;
}

std::vector<double> AxisTickDistances(const ParameterInfo& parameter, double length) {
    return parameter.IsLog ? LogTickDistances(parameter.Range, length) : LinearTickDistances(parameter.Range, length);
}

}  // namespace qv
