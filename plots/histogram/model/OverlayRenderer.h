#pragma once
// The overlay picture, drawn into a QImage without a widget: line 1 filled
// with an outline, the other lines as outlines, each scaled to its own Y
// maximum, on line 1's X axis with its ticks, title and markers.
#include <QImage>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "plots/histogram/model/OverlayState.h"

namespace qv {

// What line 1's source tells the axis; without it the empty title, a linear
// range of 1 and channel 0.
struct OverlayAxis {
    std::string title;
    bool isLog = false;
    int32_t range = 1;
    int16_t channel = 0;
};

// One line to draw: its index 1..LineCount (colour, thickness, fill for
// line 1), the counts of its source (bins 0..n) and the source's Y scale.
struct OverlayLine {
    int line = 1;
    std::span<const double> counts;
    int32_t yScale = 0;
};

// Clears the picture and draws it whole; writes BackgroundValue, Resolution
// (the last line's n) and ColumnTop. Lines without counts draw nothing.
void RenderOverlay(QImage& image, OverlayState& state, const OverlayAxis& axis, const std::vector<OverlayLine>& lines);

}  // namespace qv
