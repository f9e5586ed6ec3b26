#include "plots/histogram/model/HistogramPeak.h"

#include <algorithm>
#include <stdexcept>

#include "core/Numbers.h"

namespace qv {

namespace {

double countAt(std::span<const double> counts, int64_t bin) {
    return bin >= 0 && bin < static_cast<int64_t>(counts.size()) ? counts[static_cast<size_t>(bin)] : 0.0;
}

int32_t relative(double count, float yMax) {
    if (yMax == 0.0f) return 0;
    return NearestInt32(count / static_cast<double>(yMax) * 10000.0);
}

}  // namespace

int32_t HistogramPeak(std::span<const double> counts, int32_t resolution, float yMax,
                      const PopulationRecord& marker, const std::string& what) {
    const int64_t lo = static_cast<int64_t>(Int(marker.CornerX[1] / 10000.0 * resolution));
    const int64_t hi = static_cast<int64_t>(Int(marker.CornerX[2] / 10000.0 * resolution));
    double best = 0.0;
    int64_t bestBin = 0;
    for (int64_t b = std::max<int64_t>(lo, 0); b <= hi && b < static_cast<int64_t>(counts.size()); ++b) {
        if (countAt(counts, b) > best) {
            best = countAt(counts, b);
            bestBin = b;
        }
    }
    if (what == "paikka")
        return resolution > 0 ? static_cast<int32_t>(Int(static_cast<double>(bestBin) / resolution * 10000.0)) : 0;
    if (what == "abskorkeus") return NearestInt32(best);
    if (what == "suhtkorkeus") return relative(best, yMax);
    return 0;
}

int32_t HistogramHeightAt(std::span<const double> counts, int32_t resolution, float yMax, double position) {
    if (!(position >= 0.0 && position <= 10000.0)) throw std::out_of_range("histogram position outside 0..10000");
    const int64_t bin = static_cast<int64_t>(Int(position / 10000.0 * resolution));
    return relative(countAt(counts, bin), yMax);
}

}  // namespace qv
