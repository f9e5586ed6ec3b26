#pragma once
// The settings and working state of one bending plot window: its chain of
// axes (AxisTable), the display switches, the pop-up captions and the edit
// state of its mouse code. Kept apart from the window so the drawing, the
// settings lines, the statistics and the tests use it without a widget.
//
// Axes live in plot space (0..10000 across the picture, y from the top).
// Each axis runs from the end point of its parent (`Connected`, 100 = the
// root) to its own end point (`X`, `Y`) and carries one parameter of the
// file; an event is placed at the root plus, for every axis, the axis vector
// scaled by the event's position on that axis's parameter.
#include <array>
#include <cstdint>
#include <string>

namespace qv {

// One axis of the chain.
struct AxisRecord {
    int32_t X = 0;           // end point, plot space
    int32_t Y = 0;
    int16_t Connected = 0;   // parent entry whose end point is this axis's start; 100 = root
    bool Exists = false;
    int16_t Parameter = 0;   // 1-based parameter of the window's file
    bool YAxis = false;      // kept and saved with the window; the drawing does not read it
};

// Entries 0..100: 1..99 are axes, 100 is the root (only X, Y, Exists used),
// 0 is never an axis.
inline constexpr int BendRootAxis = 100;
inline constexpr int BendLastAxis = 99;
using AxisTable = std::array<AxisRecord, BendRootAxis + 1>;

// The root at (1000, 9000) with axis 1 to the right, axis 2 up, axis 3
// continuing from axis 1 and axis 4 from axis 2.
AxisTable DefaultAxisTable();

// Items of the bending plot's pop-up menu, 1-based as the main window's menu
// array.
enum BendPlotMenuItem : int16_t {
    BendMenuStatistics = 1,
    BendMenuAddAxis = 2,
    BendMenuDeleteAxis = 3,
    BendMenuRegionLines = 5,
    BendMenuCreatedHere = 6,
    BendMenuMulticolour = 7,
    BendMenuCopy = 9,
    BendMenuSaveBmp = 10,
    BendMenuInvertBackground = 12,
    BendMenuDotSize = 13,
    BendMenuFastDraw = 14,
    BendMenuDistanceColours = 16,
    BendMenuPrintPreview = 18,
};

inline constexpr int BendPlotMenuItemCount = 18;

// Captions of a new window; each names the action the item takes next.
inline const std::array<const char*, BendPlotMenuItemCount + 1> BendPlotStartCaptions = {
    "",
    "Open statistics",
    "Add new axis",
    "Delete axis",
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
    "Use distance colors",
    "-",
    "Show in print preview page",
};

struct BendPlotState {
    int16_t ID = 0;
    std::string Title;              // caption without the selection prefix
    bool Initialised = false;       // Alusta has run
    int16_t FileSlot = 0;           // ViewFileIndex: the FileTable slot of the last draw

    AxisTable Axes = DefaultAxisTable();
    int16_t SelectedAxis = 1;       // 0 = none

    bool DarkBackground = true;
    uint8_t ForegroundLevel = 255;  // grey of lines and texts: 255 dark, 0 light
    uint8_t DotSize = 1;            // 2 = large dots
    int32_t EventStep = 1;          // every EventStep-th event is placed and drawn
    bool FastDraw = false;
    int16_t ShownPopulation = 0;    // 0 = all events
    bool RegionLinesShown = true;
    bool CreatedHereOnly = false;
    bool Multicolor = true;
    bool DistanceColors = false;    // wins over Multicolor
    bool OnPreviewPage = false;
    bool StatisticsOnPreviewPage = false;
    bool StatisticsOpen = false;
    int TextMargin = 18;
    int HandleTolerance = 3;        // half side of the handles, and the grab tolerance

    // Mouse editing.
    bool GateEditActive = false;    // a gate corner, label or whole gate is dragged
    int16_t DraggedAxis = 0;        // axis (1..100) whose end point is dragged
    int32_t StepBeforeDrag = 1;     // EventStep at the grab of an end point
    int32_t MoveStartX = 0, MoveStartY = 0;

    // Sheet loading: the first "axis." line clears the default axes.
    bool AxesFromSheet = false;

    std::array<std::string, BendPlotMenuItemCount + 1> MenuCaptions = startCaptions();

    void setCaption(int item, const char* text) {
        if (item >= 1 && item <= BendPlotMenuItemCount) MenuCaptions[static_cast<size_t>(item)] = text;
    }
    const std::string& caption(int item) const {
        static const std::string none;
        return item >= 1 && item <= BendPlotMenuItemCount ? MenuCaptions[static_cast<size_t>(item)] : none;
    }

    static std::array<std::string, BendPlotMenuItemCount + 1> startCaptions() {
        std::array<std::string, BendPlotMenuItemCount + 1> c;
        for (size_t k = 0; k < c.size(); ++k) c[k] = BendPlotStartCaptions[k];
        return c;
    }
};

}  // namespace qv
