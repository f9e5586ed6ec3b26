#include "plots/histogram/model/HistogramMarkerCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "core/GateMembership.h"
#include "core/SharedState.h"

namespace qv {
namespace {

constexpr double PlotSpaceLength = 10000.0;

// An end that is not a number counts as 0 and an infinite one as a point far
// outside any plot, so the ends written back are always finite.
float finiteEnd(float v) {
    if (std::isnan(v)) return 0.0f;
    if (std::isinf(v)) return v > 0 ? 1.0e9f : -1.0e9f;
    return v;
}

}  // namespace

void HistogramCheckPopulation(int slot, DefinitionRecheck recheck) {
    if (!IsGateSlot(slot)) return;
    PopulationRecord& marker = g.PopulationTable[static_cast<size_t>(slot)];

    const float a = finiteEnd(marker.CornerX[1]);
    const float b = finiteEnd(marker.CornerX[2]);
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    const int axis = marker.AxisX;

    std::vector<double> positions(GateCheckBlock);
    WriteGateMembership(slot, {axis}, [&](const FileRecord& file, int32_t first, int32_t count, uint8_t* inside) {
        const size_t n = static_cast<size_t>(count);
        ScaleGateBlock(file, axis, PlotSpaceLength, first, std::span<double>(positions.data(), n));
        for (size_t i = 0; i < n; ++i) inside[i] = (positions[i] >= lo && positions[i] <= hi) ? 1 : 0;
    });

    if (recheck == DefinitionRecheck::All) CheckAllDefinitions();
    marker.CornerX[1] = static_cast<float>(lo);
    marker.CornerX[2] = static_cast<float>(hi);
}

}  // namespace qv
