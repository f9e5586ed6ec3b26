#pragma once
// The bending plot's lines in an analysis sheet: what SaveInfo writes and
// what one line read back by LoadInfo does to the window's state.
#include <cstdint>
#include <string>
#include <vector>

#include "app/model/WindowSettingsLine.h"
#include "plots/multi/model/BendPlotState.h"

namespace qv {

// Element 0 is the line count; then the frame and file, "show", the display
// switches, five lines per existing axis entry 1..100 (the root last),
// "statistics.enabled" and `statisticsLines` (the statistics window's own,
// while it is open). The list grows with the axes.
std::vector<std::string> BendPlotSettingsLines(const BendPlotState& state, const WindowFrameTwips& frame,
                                               const std::vector<std::string>& statisticsLines);

// Applies one whole sheet line to the state and returns what the window
// itself must still do (frame, file, print page, statistics). The window's
// first "axis." line clears the default axes 1..99 first, so axes deleted
// before saving stay deleted. Axis numbers outside 1..100, parents outside
// 1..100, shown populations outside the population table, and values that
// are no numbers where a number is read, leave the state as it was.
WindowSettingRequest ApplyBendPlotSettingLine(BendPlotState& state, const std::string& line, int32_t fileEventCount,
                                              int32_t fastDrawLimit);

}  // namespace qv
