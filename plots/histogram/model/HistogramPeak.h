#pragma once
// What tools read of a histogram's last draw: the peak inside a marker and
// the height at a position. Both read the smoothed counts and the Y maximum
// the draw left; neither recomputes anything.
#include <cstdint>
#include <span>
#include <string>

#include "core/PopulationRecord.h"

namespace qv {

// The highest bin between the marker's ends (CornerX(1), CornerX(2) in plot
// space), the lowest of equally high bins; an all-empty range gives bin 0.
// By key: "paikka" its position (0..10000), "abskorkeus" its count,
// "suhtkorkeus" its count in ten-thousandths of yMax; any other key 0.
// Counts outside the drawn bins count as empty.
int32_t HistogramPeak(std::span<const double> counts, int32_t resolution, float yMax,
                      const PopulationRecord& marker, const std::string& what);

// The count of the bin at a position (0..10000) in ten-thousandths of yMax;
// 0 before any draw. Throws std::out_of_range for a position outside 0..10000.
int32_t HistogramHeightAt(std::span<const double> counts, int32_t resolution, float yMax, double position);

}  // namespace qv
