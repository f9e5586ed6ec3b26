#include "plots/modeller/model/GaussCurve.h"

#include <cmath>

#include "core/Numbers.h"

namespace qv {

double GaussFlank(double d, double s, double height) {
    return 2.5 * height * std::pow(2.718282, -(d * d) / (2.0 * s * s)) / std::sqrt(6.2831852);
}

double CurveValue(const GaussCurve& c, int32_t bin) {
    const double i = bin;
    const double P = c.Place;
    const double W = c.Plateau;
    if (i > P + W) return GaussFlank((i - P) - W, c.RightDeviation, c.Height);
    if (i > P) return c.Height;
    return GaussFlank(i - P, c.LeftDeviation, c.Height);
}

GaussCurve InitialCurve(int k, int32_t R) {
    GaussCurve c;
    c.Place = NearestInt32(static_cast<double>(R) / 10.0 * k + static_cast<double>(R) / 2.0);
    c.LeftDeviation = c.RightDeviation = static_cast<double>(R) / 20.0;
    c.Height = static_cast<double>(R) / 2.0;
    return c;
}

void ResetRemovedCurve(GaussCurve& c, int32_t R) {
    c.Active = false;
    c.LeftDeviation = c.RightDeviation = static_cast<double>(R) / 20.0;
    c.Height = static_cast<double>(R) / 2.0;
    c.Place = NearestInt32(static_cast<double>(R) / 2.0 + static_cast<double>(R) / 10.0);
    c.Plateau = 0.0;
}

double UsableDeviation(double deviation) {
    // The flank divides by the square: a square that is 0 (also of a tiny
    // deviation), subnormal, infinite or not a number would turn every
    // value into 0/0. The sign does not matter once squared.
    return std::isnormal(deviation * deviation) ? deviation : 1.0;
}

}  // namespace qv
