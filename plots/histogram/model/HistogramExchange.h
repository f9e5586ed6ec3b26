#pragma once
// What a histogram hands to the windows built from it and to tools: the
// peak inside a marker and the height at a position, read from the counts
// and Y maximum of its last draw. Positions are plot-space units along the
// X axis (0 the left end, 10000 the right end; bin b lies at
// b / resolution * 10000).
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace qv {

// AnnaHistonKorkeinKohta: the highest bin from Int(end1 / 10000 * R) to
// Int(end2 / 10000 * R), both kept within the table; the lowest of equally
// high bins wins and a range of empty bins (or ends in the wrong order)
// gives bin 0 with height 0. By key: "paikka" the peak's position,
// "abskorkeus" its count rounded half to even, "suhtkorkeus" its height in
// ten-thousandths of `yMax` rounded half to even (0 while yMax is not
// positive); any other key 0. Empty `counts` (never drawn) gives 0. Nothing
// for an end that is not a number or a result beyond 32 bits (an error of
// the caller's line).
std::optional<int32_t> HistogramPeak(std::span<const double> counts, float yMax, float end1, float end2, const std::string& key);

// AnnaHistonKorkeus: bin Int(position / 10000 * R), kept within the table,
// is written to `bin`; the result is its height in ten-thousandths of
// `yMax`, rounded half to even; 0 without counts or a positive yMax.
// Nothing for a position that is not a number or a height beyond 32 bits.
std::optional<int32_t> HistogramHeightAt(std::span<const double> counts, float yMax, double position, int32_t& bin);

}  // namespace qv
