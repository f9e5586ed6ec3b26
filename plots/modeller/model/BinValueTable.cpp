#include "plots/modeller/model/BinValueTable.h"

#include <cmath>

#include "core/AxisScaling.h"
#include "core/Numbers.h"

namespace qv {

namespace {

// The largest channel 1..range whose bin (non-decreasing in the channel) is
// at most `bin`; 0 when even channel 1 lies beyond it.
template <class BinOf>
int64_t largestChannelUpTo(int64_t bin, int32_t range, const BinOf& binOf) {
    int64_t lo = 0, hi = range;  // binOf(lo) <= bin holds for lo (0 meaning none)
    while (lo < hi) {
        const int64_t mid = lo + (hi - lo + 1) / 2;
        if (binOf(static_cast<int32_t>(mid)) <= bin) lo = mid;
        else hi = mid - 1;
    }
    return lo;
}

}  // namespace

std::vector<double> BuildBinValueTable(const ParameterInfo& parameter, int32_t resolution) {
    const int32_t R = resolution < 1 ? 1 : resolution;
    std::vector<double> table(static_cast<size_t>(R) + 1, 0.0);
    const int32_t range = parameter.Range;
    if (range >= 1) {
        auto binOf = [&](int32_t c) -> double {
            if (parameter.IsLog) return Int(ScaleValueToAxis(c, range, R));
            return Int(static_cast<double>(c) / range * R);
        };
        // Each bin keeps the largest channel placed in it: the largest
        // channel whose bin is at most b, when that channel's bin is b.
        for (int32_t b = 0; b <= R; ++b) {
            const int64_t c = largestChannelUpTo(b, range, binOf);
            if (c >= 1 && binOf(static_cast<int32_t>(c)) == b) table[static_cast<size_t>(b)] = static_cast<double>(c);
        }
    }
    double carried = 1.0;
    for (int32_t b = 1; b <= R; ++b) {
        double& v = table[static_cast<size_t>(b)];
        if (v != 0.0) carried = v;
        else v = carried;
    }
    return table;
}

std::string BinValuesText(std::span<const double> binValues) {
    std::string text;
    text.reserve(binValues.size() * 7);
    for (size_t b = 1; b < binValues.size(); ++b) {
        text += NumberText(binValues[b]);
        text += '\r';
    }
    return text;
}

}  // namespace qv
