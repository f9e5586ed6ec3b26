#pragma once
// The mirror picture, drawn into a QImage without a widget: line 1 drawn
// up and line 2 down from the middle line, each scaled to half the plot
// height, the difference curve over them, its sums and their ratio, the
// axes and the ticks of line 1's axis.
#include <QImage>

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "plots/histogram/model/MirrorState.h"

namespace qv {

// One source to draw: 1 (up) or 2 (down), its counts (bins 0..n) and Y scale.
struct MirrorLine {
    int line = 1;
    std::span<const double> counts;
    int32_t yScale = 0;
};

// Line 1's axis; a range of 1 on a linear axis without it.
struct MirrorAxis {
    bool isLog = false;
    int32_t range = 1;
};

// Tick distances from the axis origin along a middle line of `length`:
// linear every 100 channels up to a range of 1024, every 1000 up to 9999,
// every 10000 above; log as a histogram's decade ticks. An axis of no
// length, a linear range of 0 or below, or a log range of 1 or below has
// none.
std::vector<double> MirrorTickDistances(const MirrorAxis& axis, double length);

// The ratio of the sums in percent, cut toward minus infinity to two
// decimals, when the absolute sum is above 1; else 0.
float MirrorRatio(float sum, float absSum);

// "Käyrän summa: " & sum, "Käyrän abs. summa: " & absSum and
// "Summien suhde (-100% - 100%): " & ratio & " %", as 8-bit text.
std::array<std::string, 3> MirrorTexts(float sum, float absSum);

// Clears the picture and draws it whole; writes Resolution, Difference and
// LinesDrawn. Lines without counts draw nothing. The difference covers the
// longer of the lines and uses the heights before they are cut at the
// plotting area.
void RenderMirror(QImage& image, MirrorState& state, const MirrorAxis& axis, const std::vector<MirrorLine>& lines);

}  // namespace qv
