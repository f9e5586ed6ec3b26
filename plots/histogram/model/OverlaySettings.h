#pragma once
// The overlay's settings lines for the analysis sheet: writing them in
// their fixed order and reading one line back into the state.
#include <string>
#include <vector>

#include "app/model/WindowSettingsLine.h"
#include "plots/histogram/model/OverlayState.h"

namespace qv {

// Element 0 the count (11 + 4 x LineCount), then "location.x:",
// "location.y:", "size.x:", "size.y:", "maxnumberoflines:",
// "regionlines.show:", "fill.red:", "fill.green:", "fill.blue:",
// "background:", "printview.window.visible:", and per line L
// "line.L.window:", "line.L.red:", "line.L.green:", "line.L.blue:".
std::vector<std::string> OverlaySettingsLines(const OverlayState& state, const WindowFrameTwips& frame);

// Reads one line "window.<n>.<key>:<value>" into the state; place, size
// and the print page come back as a request. Unknown keys, line indices
// outside 0..100 (window) or 0..10 (colours), and values that do not read
// or do not fit change nothing; "maxnumberoflines" is not read.
WindowSettingRequest ApplyOverlaySettingLine(OverlayState& state, const std::string& line);

}  // namespace qv
