#include "plots/dotplot/model/DotPlotPopulationCheck.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "core/GateMembership.h"
#include "core/PolygonTest.h"
#include "core/SharedState.h"

namespace qv {
namespace {

constexpr double PlotSpaceLength = 10000.0;

}  // namespace

void DotPlotCheckPopulation(int slot, DefinitionRecheck recheck) {
    if (!IsGateSlot(slot)) return;
    const PopulationRecord& gate = g.PopulationTable[static_cast<size_t>(slot)];

    const std::vector<PolygonCorner> polygon = GatePolygon(gate);

    std::vector<float> xs(GateCheckBlock), ys(GateCheckBlock);
    std::vector<double> yPositions(GateCheckBlock);
    WriteGateMembership(slot, {gate.AxisX, gate.AxisY},
                        [&](const FileRecord& file, int32_t first, int32_t count, uint8_t* inside) {
                            const size_t n = static_cast<size_t>(count);
                            ScaleGateBlock(file, gate.AxisX, PlotSpaceLength, first, std::span<float>(xs.data(), n));
                            ScaleGateBlock(file, gate.AxisY, PlotSpaceLength, first,
                                           std::span<double>(yPositions.data(), n));
                            // y is measured from the top, computed wide and then held as a float.
                            for (size_t i = 0; i < n; ++i)
                                ys[i] = static_cast<float>(PlotSpaceLength - yPositions[i]);
                            PointsInPolygon(xs.data(), ys.data(), n, polygon, inside);
                        });

    if (recheck == DefinitionRecheck::All) CheckAllDefinitions();
}

}  // namespace qv
