#pragma once
// The settings and working state of one three-dimensional plot window, with
// the values a new window starts from. Kept apart from the window so the
// drawing, the settings lines and the tests use it without a widget.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// Items of the 3-D plot's pop-up menu, 1-based as the main window's menu array.
enum ThreeDMenuItem : int16_t {
    ThreeDMenuZeroRotation = 1,
    ThreeDMenuCopy = 3,
    ThreeDMenuSaveBmp = 4,
    ThreeDMenuOutlines = 6,
    ThreeDMenuParameterNames = 7,
    ThreeDMenuInvertBackground = 8,
    ThreeDMenuDotSize = 9,
    ThreeDMenuFastDraw = 10,
    ThreeDMenuPrintPreview = 12,
};

inline constexpr int ThreeDMenuItemCount = 12;

// Captions of a new window; a toggling item names the state it leads to.
inline const std::array<const char*, ThreeDMenuItemCount + 1> ThreeDStartCaptions = {
    "",
    "Zero rotation",
    "-",
    "Copy to clipboard (CTRL-C)",
    "Save image as BMP...",
    "-",
    "Hide outlines",
    "Hide parameter names",
    "Invert background color",
    "Large dots",
    "Fast draw mode",
    "-",
    "Show in print preview page",
};

// Where a viewer at the default distance looks from, and the lens.
inline constexpr double ThreeDDefaultDistance = 1500.0;
inline constexpr double ThreeDDefaultPerspective = 850.0;

// One point of the last draw, in picture pixels, with its depth (larger is
// nearer the viewer) and its colour before the depth cue.
struct ProjectedPoint {
    float X = 0, Y = 0, Depth = 0;
    uint8_t Red = 0, Green = 0, Blue = 0;
};

struct ThreeDState {
    int16_t ID = 0;
    std::string Title;                // caption without the selection prefix
    int16_t AxisX = 1, AxisY = 2, AxisZ = 3;
    bool BackgroundPictureShown = false;
    double PerspectiveFactor = ThreeDDefaultPerspective;
    double Distance = ThreeDDefaultDistance;
    double RotateX = 0, RotateY = 0, RotateZ = 0;  // degrees
    uint8_t BackgroundLevel = 255;    // grey of uncoloured events: 255 dark background, 0 light
    bool DarkBackground = true;
    uint8_t DotSize = 1;
    bool Dragging = false;
    int16_t LastX = 0, LastY = 0;
    bool ShowOutlines = true;
    bool ShowParameterNames = true;
    int32_t Step = 1;                 // draw every Step-th event
    int32_t SavedStep = 1;            // Step kept while a drag uses a coarser one
    bool FastDraw = false;
    int32_t PictureWidth = 1, PictureHeight = 1;
    int16_t FileSlot = 0;
    bool OnPrintPage = false;
    int16_t ShownPopulation = 0;      // 0 = all events
    bool Initialised = false;

    // Rebuilt by every draw: the events and cube edges drawn, in draw order.
    std::vector<ProjectedPoint> ProjectedPoints;

    std::array<std::string, ThreeDMenuItemCount + 1> PopupCaptions = [] {
        std::array<std::string, ThreeDMenuItemCount + 1> c;
        for (size_t i = 0; i < c.size(); ++i) c[i] = ThreeDStartCaptions[i];
        return c;
    }();
    const std::string& caption(int item) const { return PopupCaptions[static_cast<size_t>(item)]; }
    void setCaption(int item, const char* text) { PopupCaptions[static_cast<size_t>(item)] = text; }
};

// An angle after a turn, wrapped once: below 0 it gains 360, above 360 it
// loses 360 (360 itself stays).
inline double WrapAngleOnce(double degrees) {
    if (degrees < 0) return degrees + 360.0;
    if (degrees > 360) return degrees - 360.0;
    return degrees;
}

}  // namespace qv
