#pragma once
// The settings and working state of one overlay histogram window (up to
// four histograms drawn over each other on the first one's axis), with the
// values a new window starts from. Widget-free.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/model/MenuCaptionList.h"
#include "plots/histogram/model/HistogramSources.h"

namespace qv {

// Items of the overlay's pop-up menu, 1-based.
enum OverlayMenuItem : int16_t {
    OverlayMenuCopy = 1,
    OverlayMenuSaveBmp = 2,
    OverlayMenuRegionLines = 3,
    OverlayMenuInvertBackground = 4,
    OverlayMenuPrintPreview = 6,
};

inline const std::array<const char*, 7> OverlayStartCaptions = {
    "", "Copy to clipboard (CTRL-C)", "Save as .BMP...", "Hide marker lines", "Invert background color", "-",
    "Show in print preview page",
};

// Colours and thickness are kept for lines 0..10; only 1..LineCount show.
inline constexpr int OverlayMaxStyledLine = 10;

struct OverlayState : MenuCaptionList<OverlayStartCaptions> {
    int16_t ID = 0;
    std::string Title;              // the window caption
    bool Ready = false;             // resize and selector clicks act only once set
    bool ShowRegionLines = true;
    int16_t PlotMargin = 18;
    int16_t LabelGap = 4;           // X tick length; the title stands this far below the axis
    int32_t Resolution = 1024;      // bins of the line drawn last
    std::vector<int32_t> ColumnTop; // drawing scratch, per pixel column
    bool DarkBackground = true;
    uint8_t BackgroundValue = 0;    // grey of axes and text at the last drawing
    int32_t ControlBandHeight = 105;
    int16_t LineCount = 4;
    SourceLineWindows LineWindow{};
    // LineColor[line][0..2]: red, green, blue of each line's outline.
    std::array<std::array<uint8_t, 3>, OverlayMaxStyledLine + 1> LineColor{};
    uint8_t FillRed = 120, FillGreen = 120, FillBlue = 120;  // under line 1
    std::array<bool, OverlayMaxStyledLine + 1> LineThick{};
    bool OnPrintPage = false;
    int16_t MenuCount = 6;

    OverlayState() {
        LineColor[1] = {255, 255, 255};
        LineColor[2] = {255, 255, 0};
        LineColor[3] = {0, 0, 255};
    }
};

}  // namespace qv
