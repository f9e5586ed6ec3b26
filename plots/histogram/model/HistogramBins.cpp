#include "plots/histogram/model/HistogramBins.h"

#include <algorithm>

#include "core/AxisScaling.h"
#include "core/Numbers.h"

namespace qv {

namespace {

constexpr int32_t kBlock = 8192;

}  // namespace

void BinEvents(const FileRecord& file, const HistogramBinning& b, std::vector<double>& counts) {
    const int32_t R = std::max<int32_t>(0, b.resolution);
    counts.assign(static_cast<size_t>(R) + 1, 0.0);
    const int channel = b.channel;
    if (channel < 1 || channel > file.ParameterCount || channel >= static_cast<int>(file.Parameters.size()) ||
        channel > file.WorkingData.maxColumn())
        return;
    const int32_t last = std::min(file.EventCount, file.WorkingData.maxEvent());
    if (last < 1) return;
    const uint8_t* shown = nullptr;
    if (b.shownPopulation != 0) {
        if (b.shownPopulation < 0 || !file.Membership.contains(last, b.shownPopulation)) return;
        shown = file.Membership.column(b.shownPopulation);
    }
    const int32_t step = std::max<int32_t>(1, b.step);

    // Whole counts while binning, so each bin is exact; widened at the end.
    std::vector<int64_t> whole(static_cast<size_t>(R) + 1, 0);
    int32_t bins[kBlock];
    const int64_t stride = static_cast<int64_t>(step) * kBlock;
    for (int64_t first = 1; first <= last; first += stride) {
        const int64_t lastHere = std::min<int64_t>(last, first + static_cast<int64_t>(step) * (kBlock - 1));
        const size_t n = ScaleEventsToAxis(file, channel, static_cast<double>(R), static_cast<int32_t>(first),
                                           static_cast<int32_t>(lastHere), step, std::span<int32_t>(bins, kBlock));
        if (shown) {
            int64_t e = first;
            for (size_t i = 0; i < n; ++i, e += step)
                if (shown[e] == 1 && bins[i] <= R) ++whole[static_cast<size_t>(bins[i])];
        } else {
            for (size_t i = 0; i < n; ++i)
                if (bins[i] <= R) ++whole[static_cast<size_t>(bins[i])];
        }
    }
    for (size_t k = 0; k < whole.size(); ++k) counts[k] = static_cast<double>(whole[k]);
}

void SmoothCounts(std::span<double> counts, int32_t smoothing) {
    if (counts.size() < 2) return;
    const int32_t R = static_cast<int32_t>(counts.size()) - 1;
    const int32_t s = std::min(smoothing, R - 1);
    if (s <= 0) return;
    float mean = 0.0f;
    for (int32_t k = 1; k <= R - s; ++k) {
        // Bins k..k + s still hold their own counts: bin k is the first one
        // this loop overwrites, and it is read before.
        float sum = 0.0f;
        int32_t n = 0;
        for (int32_t j = k; j <= k + s; ++j) {
            sum = static_cast<float>(static_cast<double>(sum) + counts[static_cast<size_t>(j)]);
            ++n;
        }
        mean = static_cast<float>(static_cast<double>(sum) / n);
        counts[static_cast<size_t>(k)] = mean;
    }
    for (int32_t k = R - s; k <= R; ++k) counts[static_cast<size_t>(k)] = mean;
}

float HistogramYMax(std::span<const double> counts, int32_t yScale, int32_t edgeBins) {
    if (yScale != 0) return static_cast<float>(yScale);
    float top = 1.0f;
    const int64_t R = static_cast<int64_t>(counts.size()) - 1;
    for (int64_t k = edgeBins; k <= R - edgeBins; ++k) {
        const float v = static_cast<float>(counts[static_cast<size_t>(k)]);
        if (v > top) top = v;
    }
    return top;
}

float BinnedSmoothedCounts(const FileRecord& file, const HistogramBinning& binning, int32_t smoothing,
                           int32_t yScale, std::vector<double>& counts) {
    BinEvents(file, binning, counts);
    SmoothCounts(counts, smoothing);
    return HistogramYMax(counts, yScale);
}

std::string BinCountsText(std::span<const double> counts) {
    std::string text;
    text.reserve(counts.size() * 6);
    for (size_t k = 1; k < counts.size(); ++k) {
        text += NumberText(counts[k]);
        text += '\n';
    }
    return text;
}

}  // namespace qv
