#pragma once
// The settings and working state of one mirror histogram window (two
// histograms drawn up and down from one middle line, with their difference
// and the ratio of its sums), with the values a new window starts from.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/model/MenuCaptionList.h"
#include "plots/histogram/model/HistogramSources.h"

namespace qv {

inline const std::array<const char*, 2> MirrorStartCaptions = {"", "Copy to clipboard"};

struct MirrorState : MenuCaptionList<MirrorStartCaptions> {
    int16_t ID = 0;
    std::string Title;             // the window caption
    bool Ready = false;            // resize and selector clicks act only once set
    int16_t PlotMargin = 18;
    int16_t TickHalfLength = 2;    // ticks reach this far above and below the middle line
    int32_t Resolution = 1024;     // bins of the line fetched last
    int32_t ControlBandHeight = 53;
    SourceLineWindows LineWindow{};  // entry 1 the upper line, entry 2 the lower
    std::vector<float> Difference;   // per bin: scaled height of line 1 minus line 2, in pixels
    bool LinesDrawn = false;
    int16_t MenuCount = 1;
};

}  // namespace qv
