#pragma once
// The mirror's settings lines for the analysis sheet.
#include <string>
#include <vector>

#include "app/model/WindowSettingsLine.h"
#include "plots/histogram/model/MirrorState.h"

namespace qv {

// "6", then "location.x:", "location.y:", "size.x:", "size.y:",
// "line.1.window:", "line.2.window:".
std::vector<std::string> MirrorSettingsLines(const MirrorState& state, const WindowFrameTwips& frame);

// Reads one line into the state; place and size come back as a request.
// Other keys, line indices outside 0..100 and values that do not read
// change nothing.
WindowSettingRequest ApplyMirrorSettingLine(MirrorState& state, const std::string& line);

}  // namespace qv
