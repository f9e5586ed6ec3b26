#pragma once
// How tool lines reach the windows: a window number taken from the script is
// checked against the registry, and every member is called through the
// plot-window protocol, so a kind that lacks one stops the run.
#include <string_view>

namespace qv {

class PlotWindow;

// A window number word (rounded half to even), which must lie in
// 0..MaxWindows; anything else is an error of the line.
int ToolWindowNumber(std::string_view word);
// The window in registry slot n; a slot without a window is an error of the line.
PlotWindow& ToolWindow(int n);

}  // namespace qv
