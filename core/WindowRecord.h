#pragma once
// One child window of the registry.
#include <array>
#include <cstdint>
#include <string>

namespace qv {

class PlotWindow;  // the window protocol; defined by the application layer

struct WindowRecord {
    bool InUse = false;
    PlotWindow* Form = nullptr;
    bool Selected = false;
    int16_t FileIndex = 0;
    bool ShowsFile = false;
    std::string Type;
};

// The window type names used by the create commands, the registry and sheets.
inline constexpr std::array<const char*, 11> WindowTypeNames = {
    "DotPlot", "Histogram", "Histogram Modeller", "Overlay Histogram", "Mirror Histogram",
    "3D Plot", "BendPlot", "DAD", "FluxTracker", "Projector", "ClipBook"};

}  // namespace qv
