#include "plots/histogram/model/HistogramExchange.h"

#include <cmath>
#include <stdexcept>

#include "core/Numbers.h"

namespace qv {

namespace {

// The bin of a position, Int(position / 10000 * R), kept within 0..R.
int32_t binAt(double position, int32_t resolution) {
    const double b = std::floor(position / 10000.0 * resolution);
    if (!(b > 0)) return 0;
    if (b > resolution) return resolution;
    return static_cast<int32_t>(b);
}

std::optional<int32_t> wholeNumber(double v) {
    try {
        return CLng(v);
    } catch (const std::overflow_error&) {
        return std::nullopt;
    }
}

std::optional<int32_t> relativeHeight(double count, float yMax) {
    if (!(yMax > 0.0f)) return 0;
    return wholeNumber(count / static_cast<double>(yMax) * 10000.0);
}

}  // namespace

std::optional<int32_t> HistogramPeak(std::span<const double> counts, float yMax, float end1, float end2,
                                     const std::string& key) {
    if (std::isnan(end1) || std::isnan(end2)) return std::nullopt;
    if (counts.empty()) return 0;
    const int32_t R = static_cast<int32_t>(counts.size()) - 1;
    const int32_t lo = binAt(end1, R), hi = binAt(end2, R);
    double best = 0;
    int32_t bestBin = 0;
    for (int32_t b = lo; b <= hi; ++b) {
        if (counts[static_cast<size_t>(b)] > best) {
            best = counts[static_cast<size_t>(b)];
            bestBin = b;
        }
    }
    if (key == "paikka") return R > 0 ? static_cast<int32_t>(std::floor(static_cast<double>(bestBin) / R * 10000.0)) : 0;
    if (key == "abskorkeus") return wholeNumber(best);
    if (key == "suhtkorkeus") return relativeHeight(best, yMax);
    return 0;
}

std::optional<int32_t> HistogramHeightAt(std::span<const double> counts, float yMax, double position, int32_t& bin) {
    if (std::isnan(position)) return std::nullopt;
    if (counts.empty()) {
        bin = binAt(position, 0);
        return 0;
    }
    const int32_t R = static_cast<int32_t>(counts.size()) - 1;
    bin = binAt(position, R);
    return relativeHeight(counts[static_cast<size_t>(bin)], yMax);
}

}  // namespace qv
