#pragma once
// The table that turns a curve bin of the modeller into a channel value of
// the shown parameter, and its clipboard text. Widget-free.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/FileRecord.h"

namespace qv {

// Bins 0..resolution. Each channel c = 1..Range is placed in curve bin
// Int(position of c on an axis of `resolution`) (linear c / Range, or the
// log axis), the largest channel winning a bin; channels placed beyond the
// last bin are left out. Then every bin 1..resolution that no channel
// reached takes the channel of the nearest filled bin to its left (1 before
// the first), on linear and log axes alike, so no bin stays 0 and the
// means under a curve stay in channel units. The work does not grow with
// the Range.
std::vector<double> BuildBinValueTable(const ParameterInfo& parameter, int32_t resolution);

// Bins 1..last, each written as a number and followed by a carriage return
// alone (no line feed).
std::string BinValuesText(std::span<const double> binValues);

}  // namespace qv
