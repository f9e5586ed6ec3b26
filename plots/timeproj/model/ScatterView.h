#pragma once
// The view state the flux tracker and the projector share: which parameters
// and population are drawn, dots or density, the fast-draw step, colours,
// dot size and the print page, with the numbers of the pop-up items that
// each window gives these display functions. Widget-free, so the drawing,
// the settings lines and the tests use it without a window.
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// Where a window's display items sit in its pop-up menu (1-based).
struct ScatterMenuItems {
    int Density = 0;
    int Multicolor = 0;
    int CopyImage = 0;
    int SavePicture = 0;
    int Background = 0;
    int DotSize = 0;
    int FastDraw = 0;
    int PrintPage = 0;
};

struct ScatterView {
    int16_t ID = 0;
    std::string Title;              // caption without the selection prefix
    int16_t AxisX = 1;              // 1-based parameter numbers
    int16_t AxisY = 2;
    int16_t ShownPopulation = 0;    // PopulationTable slot drawn, 0 = all events
    bool FastDraw = false;
    int32_t EventStep = 1;          // step of every event loop (32-bit: a limit of 1 on a million events)
    bool DensityShown = true;
    int16_t DensityResolution = 512;
    std::vector<int32_t> DensityGrid;  // counts per cell, -10..r+10 both ways, rebuilt at each density draw
    bool DarkBackground = true;
    uint8_t ForegroundLevel = 255;  // grey of axes and uncoloured dots
    uint8_t DotSize = 1;
    bool Multicolor = true;
    int16_t PlotMargin = 18;
    int16_t TickLength = 4;
    bool OnPreviewPage = false;
    bool Initialised = false;
    ScatterMenuItems Items;
    std::vector<std::string> MenuCaptions;  // 1..n, element 0 unused

    int menuCaptionCount() const { return static_cast<int>(MenuCaptions.size()) - 1; }
    void setCaption(int item, const char* text) {
        if (item >= 1 && item < static_cast<int>(MenuCaptions.size())) MenuCaptions[static_cast<size_t>(item)] = text;
    }
    const std::string& caption(int item) const {
        static const std::string none;
        return item >= 1 && item < static_cast<int>(MenuCaptions.size()) ? MenuCaptions[static_cast<size_t>(item)]
                                                                          : none;
    }
};

// A fresh view with the start values, the given items and captions
// (captions[0] is unused), for window `id` with `title`.
ScatterView NewScatterView(int id, const std::string& title, const ScatterMenuItems& items,
                           const std::vector<std::string>& captions);

}  // namespace qv
