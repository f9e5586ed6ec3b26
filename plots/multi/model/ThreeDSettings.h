#pragma once
// The 3-D plot's settings lines in the analysis sheet: written in a fixed
// order after the window's frame and file, and read back one line at a time.
#include <cstdint>
#include <string>
#include <vector>

#include "app/model/WindowSettingsLine.h"
#include "plots/multi/model/ThreeDState.h"

namespace qv {

// Element 0 the count ("19"), then the lines.
std::vector<std::string> ThreeDSettingsLines(const ThreeDState& state, const WindowFrameTwips& frame);

// Applies one whole sheet line ("window.<n>.<key>:<value>") to the state.
// Values that are no numbers or lie out of range change nothing. The frame,
// file and print-page lines come back as requests for the window.
WindowSettingRequest ApplyThreeDSettingLine(ThreeDState& state, const std::string& line, int32_t fileEventCount,
                                            int32_t fastDrawLimit);

}  // namespace qv
