#include "plots/histogram/model/HistogramMarkerCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "core/AxisScaling.h"
#include "core/SharedState.h"

namespace qv {
namespace {

constexpr double PlotSpaceLength = 10000.0;
constexpr int32_t Block = 8192;

// An end that is not a number counts as 0 and an infinite one as a point far
// outside any plot, so the ends written back are always finite.
float finiteEnd(float v) {
    if (std::isnan(v)) return 0.0f;
    if (std::isinf(v)) return v > 0 ? 1.0e9f : -1.0e9f;
    return v;
}

}  // namespace

void HistogramCheckPopulation(int slot, DefinitionRecheck recheck) {
    if (slot < 1 || slot > g.membershipSlots() || slot >= PopulationTableSize) return;
    PopulationRecord& marker = g.PopulationTable[static_cast<size_t>(slot)];

    const float a = finiteEnd(marker.CornerX[1]);
    const float b = finiteEnd(marker.CornerX[2]);
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    const int axis = marker.AxisX;

    std::vector<double> positions(Block);
    for (int f = 1; f <= g.MaxFiles && f < static_cast<int>(g.FileTable.size()); ++f) {
        FileRecord& file = g.FileTable[static_cast<size_t>(f)];
        const int32_t events = file.EventCount;
        if (!file.Loaded || events <= 0 || !file.Membership.contains(events, slot)) continue;
        uint8_t* membership = file.Membership.column(slot);

        if (axis < 1 || axis > file.ParameterCount || axis >= static_cast<int>(file.Parameters.size())) {
            std::fill(membership + 1, membership + 1 + events, uint8_t{0});
            continue;
        }
        for (int32_t first = 1; first <= events; first += Block) {
            const int32_t count = std::min(Block, events - first + 1);
            const size_t n = static_cast<size_t>(count);
            // Events the matrix does not hold sit at position 0.
            const size_t written = ScaleEventsToAxis(file, static_cast<int16_t>(axis), PlotSpaceLength, first,
                                                     first + count - 1, 1, std::span<double>(positions.data(), n));
            std::fill(positions.begin() + static_cast<std::ptrdiff_t>(written), positions.begin() + count, 0.0);
            uint8_t* out = membership + first;
            for (size_t i = 0; i < n; ++i) out[i] = (positions[i] >= lo && positions[i] <= hi) ? 1 : 0;
        }
    }

    if (recheck == DefinitionRecheck::All) CheckAllDefinitions();
    marker.CornerX[1] = static_cast<float>(lo);
    marker.CornerX[2] = static_cast<float>(hi);
}

}  // namespace qv
