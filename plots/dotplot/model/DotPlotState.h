#pragma once
// The settings and working state of one dot plot window, with the values a
// new window starts from. Kept apart from the window so the drawing, the
// settings lines and the tests can use it without a widget.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/model/MenuCaptionList.h"

#include "core/FastDraw.h"

namespace qv {

// Items of the dot plot's pop-up menu, 1-based as the main window's menu array.
enum DotPlotMenuItem : int16_t {
    MenuStatistics = 1,
    MenuQuadrant = 2,
    MenuDensity = 3,
    MenuRegionLines = 5,
    MenuCreatedHere = 6,
    MenuMulticolour = 7,
    MenuCopy = 9,
    MenuSaveBmp = 10,
    MenuInvertBackground = 12,
    MenuDotSize = 13,
    MenuFastDraw = 14,
    MenuSaveData = 16,
    MenuPrintPreview = 18,
};

inline constexpr int DotPlotMenuItemCount = 18;

// Captions of a new window; each names the action the item takes next.
inline const std::array<const char*, DotPlotMenuItemCount + 1> DotPlotStartCaptions = {
    "",
    "Open statistics",
    "Show Quadrant",
    "Density plot",
    "-",
    "Hide region lines",
    "Show only regions created here",
    "Disable multicoloring",
    "-",
    "Copy to clipboard (CTRL-C)",
    "Save as .BMP...",
    "-",
    "Invert background color",
    "Large dots",
    "Fast draw mode",
    "-",
    "Save data as .TXT...",
    "-",
    "Show in print preview page",
};

struct DotPlotState : MenuCaptionList<DotPlotStartCaptions> {
    int16_t ID = 0;
    std::string Title;           // caption without the selection prefix
    int16_t ChannelX = 1;        // 1-based parameter numbers
    int16_t ChannelY = 2;
    int16_t Margin = 18;         // pixels between picture edge and plotting area
    int16_t TickLength = 4;
    int16_t MenuItemCount = DotPlotMenuItemCount;
    int16_t HitTolerance = 3;
    // Every n-th event is drawn. 32-bit: a million events over a limit of 1
    // needs a step no 16-bit number holds.
    int32_t EventStep = 1;
    bool FastDrawOn = false;
    bool DensityOn = false;
    int16_t DensityResolution = 512;
    bool RegionLinesOn = true;
    bool CreatedHereOnly = false;
    bool MulticolourOn = true;
    bool DarkBackground = true;
    uint8_t ForegroundGrey = 255;
    uint8_t DotSize = 1;
    bool QuadrantOn = false;
    int32_t QuadrantX = 0;       // plot space, y from the top
    int32_t QuadrantY = 0;
    bool QuadrantDragging = false;
    bool Dragging = false;       // a gate, corner or label is being dragged
    int16_t ShownPopulation = 0; // 0 = all events
    bool StatisticsOpen = false;
    bool InPreview = false;
    bool StatInPreview = false;
    bool Initialised = false;    // set once the window knows its slot
    int16_t FileSlot = 0;        // FileTable slot read by the last full draw or export
    // Where the last step of a whole-polygon drag ended, in picture pixels.
    int32_t MoveStartX = 0;
    int32_t MoveStartY = 0;

    // Event counts per density cell, both indices -10..R+10 (R the resolution
    // in force at the last density draw); rebuilt by every density draw.
    std::vector<int32_t> DensityGrid;
    int32_t DensityGridResolution = 0;

    // Count of density cell (gx, gy) after the last density draw; 0 outside the grid.
    int32_t densityCount(int gx, int gy) const {
        const int side = DensityGridResolution + 21;
        if (DensityGrid.empty() || gx < -10 || gy < -10 || gx > DensityGridResolution + 10 ||
            gy > DensityGridResolution + 10)
            return 0;
        return DensityGrid[static_cast<size_t>(gy + 10) * static_cast<size_t>(side) + static_cast<size_t>(gx + 10)];
    }
};

}  // namespace qv
