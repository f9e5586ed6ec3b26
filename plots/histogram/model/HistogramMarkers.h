#pragma once
// Marker gates as a histogram window sees them: which markers it shows and
// edits, and the conversions between picture pixels and plot space (0..10000
// across the plotting area, y from the top) that its drawing and its mouse
// code share.
#include <cmath>
#include <cstdint>

#include "core/PopulationRecord.h"
#include "plots/histogram/model/HistogramState.h"

namespace qv {

inline constexpr double MarkerPlotSpace = 10000.0;

// The plotting area of a picture W x H pixels with margin m.
struct HistogramGeometry {
    double W = 1, H = 1, m = 18;

    double plotWidth() const { return W - 2 * m; }
    double plotHeight() const { return H - 2 * m; }
    double px(double x) const { return m + plotWidth() * x / MarkerPlotSpace; }
    double py(double y) const { return m + plotHeight() * y / MarkerPlotSpace; }
    // Plot space of a pixel; an area of no width or height gives 0, so a
    // stored position is always finite.
    float spaceX(double pixelX) const { return toSpace(pixelX - m, plotWidth()); }
    float spaceY(double pixelY) const { return toSpace(pixelY - m, plotHeight()); }

private:
    static float toSpace(double offset, double size) {
        if (!(size > 0)) return 0.0f;
        const double v = offset / size * MarkerPlotSpace;
        return std::isfinite(v) ? static_cast<float>(v) : 0.0f;
    }
};

// A marker the window shows and lets the user grab: a "Histogram" gate of
// population slots 1..MaxPopulations in use, on the window's channel, and
// (while only markers created here are shown) drawn in this window.
bool IsEligibleMarker(const PopulationRecord& record, int slot, const HistogramState& state);

// The label anchor a draw writes: the rounded middle of the two ends
// (summed and halved in single precision) and the rounded bar height, halves
// to even. False (and nothing written) when the marker lies too far out for
// a whole number.
bool SetMarkerLabelAnchor(PopulationRecord& record);

// Where a marker's name is printed: its top left corner (lx - hw, ly - 14).
struct MarkerLabel {
    double lx = 0, ly = 0, hw = 0;
    double left() const { return lx - hw; }
    double top() const { return ly - 14; }
};
MarkerLabel MarkerLabelAt(const PopulationRecord& record, const HistogramGeometry& geometry);

}  // namespace qv
