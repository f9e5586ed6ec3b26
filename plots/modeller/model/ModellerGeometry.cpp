#include "plots/modeller/model/ModellerGeometry.h"

namespace qv {

std::array<HandleCentre, 4> CurveHandles(const GaussCurve& c, const ModellerGeometry& geo, double divisor) {
    const double P = c.Place;
    return {HandleCentre{geo.px(P), geo.py(c.Height)},
            HandleCentre{geo.px(P + c.Plateau), geo.py(c.Height)},
            HandleCentre{geo.px(P - c.LeftDeviation), geo.py(c.Height / divisor)},
            HandleCentre{geo.px(P + c.Plateau + c.RightDeviation), geo.py(c.Height / divisor)}};
}

}  // namespace qv
