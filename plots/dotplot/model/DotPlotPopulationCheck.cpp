#include "plots/dotplot/model/DotPlotPopulationCheck.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "core/AxisScaling.h"
#include "core/PolygonTest.h"
#include "core/SharedState.h"

namespace qv {
namespace {

constexpr double PlotSpaceLength = 10000.0;
// Events scaled and tested per pass; the scratch stays in the cache.
constexpr int32_t Block = 8192;

bool hasParameter(const FileRecord& file, int axis) {
    return axis >= 1 && axis <= file.ParameterCount && axis < static_cast<int>(file.Parameters.size());
}

}  // namespace

void DotPlotCheckPopulation(int slot, DefinitionRecheck recheck) {
    if (slot < 1 || slot > g.membershipSlots() || slot >= PopulationTableSize) return;
    const PopulationRecord& gate = g.PopulationTable[static_cast<size_t>(slot)];

    const int corners = std::clamp<int>(gate.Corners, 0, MaxCorners);
    std::vector<PolygonCorner> polygon(static_cast<size_t>(corners));
    for (int j = 1; j <= corners; ++j)
        polygon[static_cast<size_t>(j - 1)] =
            PolygonCornerFromPlotSpace(gate.CornerX[static_cast<size_t>(j)], gate.CornerY[static_cast<size_t>(j)]);

    std::vector<float> xs(Block), ys(Block);
    std::vector<double> yPositions(Block);
    for (int f = 1; f <= g.MaxFiles && f < static_cast<int>(g.FileTable.size()); ++f) {
        FileRecord& file = g.FileTable[static_cast<size_t>(f)];
        const int32_t events = file.EventCount;
        if (!file.Loaded || events <= 0 || !file.Membership.contains(events, slot)) continue;
        uint8_t* membership = file.Membership.column(slot);

        if (!hasParameter(file, gate.AxisX) || !hasParameter(file, gate.AxisY)) {
            std::fill(membership + 1, membership + 1 + events, uint8_t{0});
            continue;
        }
        for (int32_t first = 1; first <= events; first += Block) {
            const int32_t count = std::min(Block, events - first + 1);
            const int32_t last = first + count - 1;
            const size_t n = static_cast<size_t>(count);
            // Events the matrix does not hold sit at position 0.
            const size_t nx =
                ScaleEventsToAxis(file, gate.AxisX, PlotSpaceLength, first, last, 1, std::span<float>(xs.data(), n));
            const size_t ny = ScaleEventsToAxis(file, gate.AxisY, PlotSpaceLength, first, last, 1,
                                                std::span<double>(yPositions.data(), n));
            std::fill(xs.begin() + static_cast<std::ptrdiff_t>(nx), xs.begin() + count, 0.0f);
            std::fill(yPositions.begin() + static_cast<std::ptrdiff_t>(ny), yPositions.begin() + count, 0.0);
            // y is measured from the top, computed wide and then held as a float.
            for (size_t i = 0; i < n; ++i) ys[i] = static_cast<float>(PlotSpaceLength - yPositions[i]);
            PointsInPolygon(xs.data(), ys.data(), n, polygon, membership + first);
        }
    }

    if (recheck == DefinitionRecheck::All) CheckAllDefinitions();
}

}  // namespace qv
