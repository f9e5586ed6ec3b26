#pragma once
// One model curve of a histogram modeller: a flat plateau with a gaussian
// flank on either side, in curve bins (X) and curve-height units (Y, where
// the curve resolution reaches the top of the plotting area), its value at a
// curve bin, and the values a curve takes when it is made or removed.
#include <cstdint>
#include <string>

namespace qv {

struct GaussCurve {
    int32_t Place = 0;             // curve bin where the left flank ends and the plateau begins
    double LeftDeviation = 0.0;    // standard deviation of the left flank, curve bins
    double RightDeviation = 0.0;   // standard deviation of the right flank, curve bins
    double Height = 0.0;           // height of the plateau, curve-height units
    bool Active = false;           // the curve is in use
    double Plateau = 0.0;          // width of the flat top, curve bins
    std::string Name;              // the user's name for the curve
};

// The flank: 2.5 * height * 2.718282 ^ (-(d * d) / (2 * s * s)) / Sqr(6.2831852),
// with the literal constants the stored models were fitted with (so a curve
// without plateau peaks at 0.99736 of its height).
double GaussFlank(double distance, double deviation, double height);

// The value of `curve` at curve bin `bin`: the left flank up to Place, the
// height over the plateau, the right flank after it. A negative plateau lets
// the right flank start before Place.
double CurveValue(const GaussCurve& curve, int32_t bin);

// Curve `k` of a new window (inactive): Place 100 k + 500 at a resolution of
// 1000, deviations R / 20, height R / 2.
GaussCurve InitialCurve(int k, int32_t resolution);

// A curve removed with the mouse or by a tool: inactive, back at Place
// R / 2 + R / 10, deviations R / 20, height R / 2, no plateau; the name stays.
void ResetRemovedCurve(GaussCurve& curve, int32_t resolution);

// A flank deviation as a curve can use it: one whose square is not a
// positive normal number (0, a tiny one, not finite) is 1; a negative one
// stays, the flank squares it.
double UsableDeviation(double deviation);

}  // namespace qv
