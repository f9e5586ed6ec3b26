#pragma once
// The dot plot's settings lines for the analysis sheet: writing the window's
// own keys in their fixed order, and reading one line back into the state.
// Widget-free: what concerns the window itself (its place and size, its
// file, the print page, the statistics window) travels as plain values and
// requests that the window carries out.
#include <cstdint>
#include <string>
#include <vector>

#include "app/model/WindowSettingsLine.h"
#include "plots/dotplot/model/DotPlotState.h"

namespace qv {

using DotPlotFrame = WindowFrameTwips;

// Element 0 the line count, then "location.x:", "location.y:", "size.x:",
// "size.y:", "file:", "axis.x:", "axis.y:", "show:", "quadrant.enabled:",
// "quadrant.x:", "quadrant.y:", "density.enabled:", "density.resolution:",
// "regionlines.show:", "regionlines.showcreatedhere:", "fastdraw.enabled:",
// "background:", "multicolor.enabled:", "dot.size:",
// "printview.window.visible:", "printview.stat.visible:",
// "statistics.enabled:" (22 lines), then `statisticsLines` (the statistics
// window's place and columns while it is open) as given. The print page
// flags are the state's InPreview and StatInPreview.
std::vector<std::string> DotPlotSettingsLines(const DotPlotState& state, const DotPlotFrame& frame,
                                              const std::vector<std::string>& statisticsLines = {});

// What a settings line asks of the window beyond its state.
using DotPlotSettingRequest = WindowSettingRequest;

// Reads one line "window.<n>.<key>:<value>" (the sheet's form: the first two
// pieces of the key are skipped). Keys are compared exactly; unknown keys,
// values that are not the listed flags and numbers that do not read (or do
// not fit their field) change nothing. `fileEventCount` is the EventCount of
// the window's current file (for "fastdraw.enabled:1"); `fastDrawLimit` the
// limit in force.
DotPlotSettingRequest ApplyDotPlotSettingLine(DotPlotState& state, const std::string& line,
                                              int32_t fileEventCount, int32_t fastDrawLimit);

}  // namespace qv
