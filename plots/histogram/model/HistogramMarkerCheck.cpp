#include "plots/histogram/model/HistogramMarkerCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/SharedState.h"

namespace qv {
namespace {

// An end that is not a number counts as 0 and an infinite one as a point far
// outside any plot, so the ends written back are always finite.
float finiteEnd(float v) {
    if (std::isnan(v)) return 0.0f;
    if (std::isinf(v)) return v > 0 ? 1.0e9f : -1.0e9f;
    return v;
}

}  // namespace

GateBlockCheck HistogramGateCheck(int slot) {
    PopulationRecord& marker = g.PopulationTable[static_cast<size_t>(slot)];
    const float a = finiteEnd(marker.CornerX[1]);
    const float b = finiteEnd(marker.CornerX[2]);
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    marker.CornerX[1] = static_cast<float>(lo);
    marker.CornerX[2] = static_cast<float>(hi);
    return {slot, {marker.AxisX}, [lo, hi](std::span<const double* const> positions, size_t n, uint8_t* inside) {
                const double* x = positions[0];
                for (size_t i = 0; i < n; ++i) inside[i] = (x[i] >= lo && x[i] <= hi) ? 1 : 0;
            }};
}

void HistogramCheckPopulation(int slot, DefinitionRecheck recheck) {
    if (!IsGateSlot(slot)) return;
    const GateBlockCheck check = HistogramGateCheck(slot);
    WriteGatesMembership(std::span<const GateBlockCheck>(&check, 1));
    if (recheck == DefinitionRecheck::All) CheckAllDefinitions();
}

}  // namespace qv
