#pragma once
// The settings and working state of one histogram modeller window, with the
// values a new window starts from. Kept apart from the window so the
// curve arithmetic, the drawing, the statistics, the settings lines and the
// tests can use it without a widget.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "plots/histogram/model/HistogramStatistics.h"
#include "plots/modeller/model/GaussCurve.h"

namespace qv {

// Items of the modeller's pop-up menu, 1-based as the main window's menu array.
enum ModellerMenuItem : int16_t {
    ModellerMenuStatistics = 1,
    ModellerMenuAddCurve = 2,
    ModellerMenuYScale = 3,
    ModellerMenuSmoothing = 4,
    ModellerMenuCopy = 6,
    ModellerMenuSaveBmp = 7,
    ModellerMenuColour = 9,
    ModellerMenuInvertBackground = 10,
    ModellerMenuFastDraw = 11,
    ModellerMenuPrintPreview = 13,
};

inline constexpr int ModellerMenuItemCount = 13;

// Captions of a new window; each names the action the item takes next.
inline const std::array<const char*, ModellerMenuItemCount + 1> ModellerStartCaptions = {
    "",
    "Open statistics",
    "Add curve",
    "Set Y scale",
    "Set smoothing",
    "-",
    "Copy to clipboard (CTRL-C)",
    "Save as .BMP...",
    "-",
    "Change color",
    "Invert background color",
    "Fast draw mode",
    "-",
    "Show in print preview page",
};

inline constexpr int32_t ModellerCurveResolution = 1000;
inline constexpr int32_t ModellerMaxCurves = 20;

struct ModellerState {
    int16_t ID = 0;
    std::string Title;              // caption without the selection prefix
    int16_t MenuCount = ModellerMenuItemCount;
    uint8_t FillRed = 150, FillGreen = 150, FillBlue = 150;  // histogram columns
    int32_t YScale = 0;             // fixed Y maximum in counts; 0 = automatic
    std::vector<double> HistogramCounts;  // bins 0..HistogramResolution of the last draw, smoothed
    float YMax = 0.0f;              // Y maximum of the last draw
    int32_t Smoothing = 5;          // width of the moving mean; 0 = none
    bool StatisticsOpen = false;
    int16_t Channel = 1;            // 1-based parameter on the X axis
    int16_t Margin = 18;            // pixels around the plotting area
    int16_t TextGap = 4;            // length of the X ticks and gap under the axis
    bool FastDraw = false;
    int32_t DrawStep = 1;           // every DrawStep-th event is binned
    int32_t CurveResolution = ModellerCurveResolution;  // curve bins across the X axis
    int32_t MaxCurves = ModellerMaxCurves;
    std::vector<GaussCurve> Curves;  // 0..MaxCurves, 0 unused

    // The mouse editing: which handle of which curve is held.
    int32_t DragPeak = 0;           // 1 while the peak is dragged
    double DragLeftFlank = 0.0;     // 1.0 while the left flank is dragged
    double DragRightFlank = 0.0;    // 1.0 while the right flank is dragged
    int32_t DraggedCurve = 0;       // 1..MaxCurves, 0 none
    double DragPlateau = 0.0;       // 1.0 while the plateau end is dragged
    bool Dragging = false;          // a left press in the axis strip, armed to create a curve

    double HandleHeightDivisor = 1.6;  // the flank handles stand at Height / 1.6
    std::vector<double> CurveSum;   // 0..CurveResolution: the active curves summed, in pixels
    std::vector<HistogramStatistics> CurveStatistics;  // 0..MaxCurves
    std::vector<double> BinValues;  // 0..CurveResolution: channel value of each curve bin
    int16_t HandleSize = 3;         // half side of a handle and grab tolerance, pixels
    bool DarkBackground = true;
    uint8_t BackgroundLevel = 255;  // 255 dark, 0 light: grey of the ticks and the curve sum
    int32_t HistogramResolution = 1024;
    bool Initialised = false;       // set once the window knows its slot
    bool Copying = false;           // the picture is drawn for the clipboard: no handles
    int16_t FileSlot = 0;           // FileTable slot read by the last draw
    bool InPreview = false;         // the picture is on the print page
    bool StatInPreview = false;     // the statistics box is on the print page
    int16_t ShownPopulation = 0;    // 0 = all events
    std::array<std::string, ModellerMenuItemCount + 1> MenuCaptions{};

    // What the bin value table was built from, so a draw notices a channel,
    // log switch or range that changed since.
    struct BinTableSource {
        int16_t fileSlot = 0;
        int16_t channel = 0;
        bool isLog = false;
        int32_t range = 0;
        bool operator==(const BinTableSource&) const = default;
    };
    BinTableSource BinValuesBuiltFrom{};

    // A new window's curves (all inactive), statistics and tables.
    ModellerState();

    const std::string& caption(int item) const { return MenuCaptions[static_cast<size_t>(item)]; }
    void setCaption(int item, const char* text) { MenuCaptions[static_cast<size_t>(item)] = text; }

    // Curve k (1..MaxCurves) or nullptr outside that range.
    GaussCurve* curve(int64_t k);
    const GaussCurve* curve(int64_t k) const;
    int activeCurveCount() const;
    // The smoothing a draw uses: below the histogram resolution, never negative.
    int32_t effectiveSmoothing() const;
};

}  // namespace qv
