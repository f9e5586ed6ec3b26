#include "plots/dotplot/model/DotPlotPopulationCheck.h"

#include <cstdint>
#include <vector>

#include "core/PolygonTest.h"
#include "core/SharedState.h"

namespace qv {

GateBlockCheck DotPlotGateCheck(int slot) {
    const PopulationRecord& gate = g.PopulationTable[static_cast<size_t>(slot)];
    return {slot,
            {gate.AxisX, gate.AxisY},
            [polygon = GatePolygon(gate), xs = std::vector<float>(GateCheckBlock),
             ys = std::vector<float>(GateCheckBlock)](std::span<const double* const> positions, size_t n,
                                                     uint8_t* inside) mutable {
                // x is placed as a float; y is measured from the top, computed
                // wide and then held as a float.
                for (size_t i = 0; i < n; ++i) {
                    xs[i] = static_cast<float>(positions[0][i]);
                    ys[i] = static_cast<float>(GatePlotSpace - positions[1][i]);
                }
                PointsInPolygon(xs.data(), ys.data(), n, polygon, inside);
            }};
}

void DotPlotCheckPopulation(int slot, DefinitionRecheck recheck) {
    if (!IsGateSlot(slot)) return;
    const GateBlockCheck check = DotPlotGateCheck(slot);
    WriteGatesMembership(std::span<const GateBlockCheck>(&check, 1));
    if (recheck == DefinitionRecheck::All) CheckAllDefinitions();
}

}  // namespace qv
