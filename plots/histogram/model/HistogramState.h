#pragma once
// The settings and working state of one histogram window, with the values a
// new window starts from. Kept apart from the window so the drawing, the
// statistics, the settings lines and the tests can use it without a widget.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/model/MenuCaptionList.h"

namespace qv {

// Items of the histogram's pop-up menu, 1-based as the main window's menu array.
enum HistogramMenuItem : int16_t {
    HistoMenuStatistics = 1,
    HistoMenuYScale = 2,
    HistoMenuSmoothing = 3,
    HistoMenuRegionLines = 5,
    HistoMenuCreatedHere = 6,
    HistoMenuCopy = 8,
    HistoMenuSaveBmp = 9,
    HistoMenuColour = 11,
    HistoMenuInvertBackground = 12,
    HistoMenuOutline = 13,
    HistoMenuFastDraw = 14,
    HistoMenuCopyCounts = 16,
    HistoMenuPrintPreview = 18,
};

inline constexpr int HistogramMenuItemCount = 18;

// Captions of a new window; each names the action the item takes next.
inline const std::array<const char*, HistogramMenuItemCount + 1> HistogramStartCaptions = {
    "",
    "Open statistics",
    "Set Y scale",
    "Set smoothing",
    "-",
    "Hide marker lines",
    "Show only markers created here",
    "-",
    "Copy to clipboard (CTLR-C)",
    "Save as .BMP...",
    "-",
    "Change color",
    "Invert background color",
    "Don't draw outline",
    "Fast draw mode",
    "-",
    "Copy histogram to clipboard",
    "-",
    "Show in print preview page",
};

struct HistogramState : MenuCaptionList<HistogramStartCaptions> {
    int16_t ID = 0;
    std::string Title;            // caption without the selection prefix
    int16_t MenuItemCount = HistogramMenuItemCount;
    int16_t HitTolerance = 3;     // pixels, strict on both axes
    int16_t PlotMargin = 18;      // pixels between the picture edge and the plotting area
    int16_t LabelGap = 4;         // length of the X ticks and gap under the axis
    int16_t Channel = 1;          // 1-based parameter shown on the X axis
    int32_t Resolution = 1024;    // bins 0..Resolution
    int32_t Smoothing = 2;        // width of the moving mean; 0 = none
    int32_t YScale = 0;           // fixed Y maximum in counts; 0 = automatic
    float YMax = 0.0f;            // Y maximum of the last draw
    std::vector<double> Counts;   // bins 0..Resolution of the last draw, smoothed
    std::vector<int32_t> ColumnTops;  // per pixel column of the plotting area
    uint8_t FillRed = 255, FillGreen = 0, FillBlue = 0;
    bool DrawOutline = true;
    bool DarkBackground = true;
    uint8_t BackgroundValue = 255;  // grey of axes, ticks and marker lines
    bool FastDraw = false;
    int32_t DrawStep = 1;         // every DrawStep-th event is binned
    int16_t ShownPopulation = 0;  // 0 = all events
    bool ShowRegionLines = true;
    bool ShowCreatedHereOnly = false;
    bool Dragging = false;        // a marker end, label or body is being dragged
    bool OnPrintPage = false;
    bool StatisticsOnPrintPage = false;
    bool StatisticsOpen = false;
    int16_t FileSlot = 0;         // FileTable slot read by the last draw
    bool MarkerInProgress = false;
    float DragStartX = 0.0f, DragStartY = 0.0f;  // pixels, whole-marker drag
    bool Initialised = false;     // set once the window knows its slot

    // The smoothing a draw uses: below the resolution, never negative.
    int32_t effectiveSmoothing() const;
};

// A smoothing width kept below the resolution (and at least 0).
int32_t SmoothingWithin(int64_t smoothing, int32_t resolution);

inline int32_t HistogramState::effectiveSmoothing() const { return SmoothingWithin(Smoothing, Resolution); }

inline int32_t SmoothingWithin(int64_t smoothing, int32_t resolution) {
    if (smoothing < 0) return 0;
    const int64_t top = resolution > 1 ? resolution - 1 : 0;
    return static_cast<int32_t>(smoothing > top ? top : smoothing);
}

}  // namespace qv
