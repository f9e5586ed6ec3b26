#pragma once
// The settings lines both time and projection plots write first (lines 1 to
// 15) and how one such line is read back. What concerns the window itself
// (place, size, file, print page) comes back as a request the window
// carries out.
#include <cstdint>
#include <string>
#include <vector>

#include "app/model/WindowSettingsLine.h"
#include "plots/timeproj/model/ScatterView.h"

namespace qv {

// Appends "location.x:", "location.y:", "size.x:", "size.y:", "file:",
// "axis.x:", "axis.y:", "show:", "density.enabled:",
// "density.resolution:", "fastdraw.enabled:", "background:",
// "multicolor.enabled:", "dot.size:", "printview.window.visible:".
void AppendScatterSettingsLines(std::vector<std::string>& lines, const ScatterView& view,
                                const WindowFrameTwips& frame);

// What the window's file offers a settings line: its event count (for
// "fastdraw.enabled:1") and parameter count (for the axes; 0 without a file).
struct ScatterFileFacts {
    int32_t eventCount = 0;
    int parameterCount = 0;
    int32_t fastDrawLimit = 1;
};

// Reads one of the common keys of `line` into the view; `handled` tells
// whether the key was one of them (a window then reads its own keys
// otherwise). Values that do not read, axes outside the file and shown
// populations outside the table change nothing.
WindowSettingRequest ApplyScatterSettingLine(ScatterView& view, const WindowSettingsLine& line,
                                             const ScatterFileFacts& file, bool& handled);

}  // namespace qv
