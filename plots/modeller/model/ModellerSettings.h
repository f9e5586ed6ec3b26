#pragma once
// The modeller's settings lines for the analysis sheet: writing the
// window's keys and its active curves in their fixed order, and reading one
// line back into the state. Widget-free: the window's place and size, its
// file, the print page and the statistics window travel as plain values and
// requests.
#include <cstdint>
#include <string>
#include <vector>

#include "app/model/WindowSettingsLine.h"
#include "plots/modeller/model/ModellerState.h"

namespace qv {

// Element 0 the line count, then "location.x:", "location.y:", "size.x:",
// "size.y:", "file:", "axis.x:", "show:", "fill.red:", "fill.green:",
// "fill.blue:", "yscale:", "smoothing:", "fastdraw.enabled:", "background:",
// "printview.window.visible:", "printview.stat.visible:" (16 lines); for
// every active curve K in ascending order "curve.K.name:", ".height:",
// ".place:", ".deviation.left:", ".deviation.right:", ".plateau:" in curve
// bins and curve-height units; "statistics.enabled:"; then
// `statisticsLines` as given (the statistics window's place and entries
// while it is open). The list has no fixed length.
std::vector<std::string> ModellerSettingsLines(const ModellerState& state, const WindowFrameTwips& frame,
                                               const std::vector<std::string>& statisticsLines = {});

// Reads one line "window.<n>.<key>:<value>". Keys are compared exactly.
// Unknown keys, flags other than "1"/"0" and numbers that do not read, are
// not finite or do not fit their field change nothing; so do a "show:"
// outside the population table and a "curve.K" with K outside
// 1..MaxCurves. Any other "curve.K" line makes curve K active. A curve's
// name is everything after the line's first colon; a flank deviation of 0
// or less is taken as 1. `fileEventCount` is the EventCount of the window's
// current file (for "fastdraw.enabled:1").
WindowSettingRequest ApplyModellerSettingLine(ModellerState& state, const std::string& line,
                                              int32_t fileEventCount, int32_t fastDrawLimit);

}  // namespace qv
