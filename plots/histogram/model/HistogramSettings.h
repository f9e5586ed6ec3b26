#pragma once
// The histogram's settings lines for the analysis sheet: writing the
// window's keys in their fixed order, and reading one line back into the
// state. Widget-free: the window's place and size, its file, the print page
// and the statistics window travel as plain values and requests.
#include <cstdint>
#include <string>
#include <vector>

#include "app/model/WindowSettingsLine.h"
#include "plots/histogram/model/HistogramState.h"

namespace qv {

using HistogramFrame = WindowFrameTwips;

// Element 0 the line count, then "location.x:", "location.y:", "size.x:",
// "size.y:", "file:", "axis.x:", "show:", "fill.red:", "fill.green:",
// "fill.blue:", "border.enabled:", "yscale:", "smoothing:",
// "regionlines.show:", "regionlines.showcreatedhere:", "fastdraw.enabled:",
// "background:", "printview.window.visible:", "printview.stat.visible:",
// "statistics.enabled:" (20 lines), then `statisticsLines` as given.
std::vector<std::string> HistogramSettingsLines(const HistogramState& state, const HistogramFrame& frame,
                                                const std::vector<std::string>& statisticsLines = {});

// Reads one line "window.<n>.<key>:<value>". Keys are compared exactly;
// unknown keys, flags other than "1"/"0", numbers that do not read or do not
// fit their field (a colour beyond 0..255, a negative Y scale or smoothing)
// change nothing; a smoothing at or above the resolution is kept just below
// it. `fileEventCount` is the EventCount of the window's current file (for
// "fastdraw.enabled:1").
WindowSettingRequest ApplyHistogramSettingLine(HistogramState& state, const std::string& line,
                                               int32_t fileEventCount, int32_t fastDrawLimit);

}  // namespace qv
