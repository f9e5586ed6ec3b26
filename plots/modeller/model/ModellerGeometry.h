#pragma once
// Where the modeller's curve bins and curve heights lie in its picture, and
// the four handles of a curve. Curve bin b sits at m + b / R * W', a curve
// height h at m + H' - h / R * H' (a height of R on the top edge of the
// plotting area), in unrounded pixels.
#include <array>
#include <cstdint>

#include "plots/modeller/model/GaussCurve.h"

namespace qv {

struct ModellerGeometry {
    double W = 1, H = 1, m = 18;
    int32_t R = 1000;  // curve bins across the X axis

    double plotWidth() const { return W - 2 * m; }
    double plotHeight() const { return H - 2 * m; }
    double px(double bin) const { return m + bin / R * plotWidth(); }
    double py(double height) const { return m + plotHeight() - height / R * plotHeight(); }
    // Strictly inside the plotting area.
    bool inside(double x, double y) const { return m < x && x < W - m && m < y && y < H - m; }
};

enum class CurveHandle { Peak = 0, PlateauEnd = 1, LeftFlank = 2, RightFlank = 3 };

struct HandleCentre {
    double x = 0, y = 0;
};

// The peak, plateau end, left flank and right flank handles, in that order;
// the flank handles stand at Height / `heightDivisor`.
std::array<HandleCentre, 4> CurveHandles(const GaussCurve& curve, const ModellerGeometry& geo, double heightDivisor);

}  // namespace qv
