#pragma once
// Tick positions along a plot axis, as distances in pixels from the axis
// origin. Every loop is bounded: an axis of no length, a linear Range of 0
// or below, and a log Range of 1 or below give no ticks.
#include <cstdint>
#include <vector>

#include "core/FileRecord.h"

namespace qv {

// A tick every 10^(digits of range - 3) channels from 0 to the range:
// 1024 -> 0, 10, ..., 1020; 262144 -> every 1000; 100 -> every 1; 10 -> 0.1.
std::vector<double> LinearTickDistances(int32_t range, double length);

// Decade ticks 1..10, 10..100, ... (k * 10^d for k = 1..10) placed with
// ScaleValueToAxis; the list ends before the first tick beyond the axis end.
std::vector<double> LogTickDistances(int32_t range, double length);

// The ticks of a parameter's axis: log or linear by its IsLog.
std::vector<double> AxisTickDistances(const ParameterInfo& parameter, double length);

}  // namespace qv
