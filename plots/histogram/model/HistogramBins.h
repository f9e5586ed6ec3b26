#pragma once
// The numbers behind a histogram picture: binning the shown events of one
// parameter, the moving mean in single precision, the Y maximum, and the
// bin counts as clipboard text. Pure functions over the file table, shared
// by every window that draws a histogram.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/FileRecord.h"

namespace qv {

struct HistogramBinning {
    int16_t channel = 1;          // parameter binned (must be one the file has)
    int32_t resolution = 1024;    // bins 0..resolution
    int32_t step = 1;             // events 1, 1 + step, ...
    int16_t shownPopulation = 0;  // membership column the events must be in; 0 = all
};

// Counts per bin 0..resolution: event e's bin is Int(position) on an axis of
// `resolution` (linear or log by the parameter), counted when it is at most
// resolution. Bin 0 collects the events at the bottom of the axis. A channel
// the file lacks, or a population column it lacks, gives all zeros.
// `counts` is resized and overwritten; no allocation when it has the size.
void BinEvents(const FileRecord& file, const HistogramBinning& binning, std::vector<double>& counts);

// The forward moving mean of s + 1 bins, in place: bin k (1..R - s) becomes
// the mean of the unsmoothed bins k..k + s, summed and divided in 32-bit
// floats; bins R - s..R all take the last mean. Bin 0 is left alone. A width
// of 0 (or an array of fewer than s + 2 elements) changes nothing; the width
// is brought below the resolution first.
void SmoothCounts(std::span<double> counts, int32_t smoothing);

// The Y maximum: `yScale` when it is not 0; else the largest count (as a
// 32-bit float) of bins edge..R - edge, never below 1. The histogram and
// the overlay leave 10 bins out at each end, the mirror 3.
float HistogramYMax(std::span<const double> counts, int32_t yScale, int32_t edgeBins = 10);

// The picture's numbers in drawing order: the events binned, the moving mean
// of `smoothing`, and the Y maximum (returned) the columns are scaled to.
float BinnedSmoothedCounts(const FileRecord& file, const HistogramBinning& binning, int32_t smoothing,
                           int32_t yScale, std::vector<double>& counts);

// Bins 1..R, each count as number text followed by a line feed.
std::string BinCountsText(std::span<const double> counts);

}  // namespace qv
