#include "plots/multi/model/BendPopulationCheck.h"

#include <algorithm>
#include <vector>

#include "core/GateMembership.h"
#include "core/PolygonTest.h"
#include "core/SharedState.h"
#include "plots/multi/model/BendPlacement.h"

namespace qv {

void BendCheckPopulation(int slot, const AxisTable& axes, int fileSlot, DefinitionRecheck recheck) {
    if (!IsGateSlot(slot)) return;
    const PopulationRecord& gate = g.PopulationTable[static_cast<size_t>(slot)];
    const std::vector<PolygonCorner> polygon = GatePolygon(gate);

    // Positions are made and tested block by block: no array per event.
    std::vector<float> xs(BendPlacementBlock), ys(BendPlacementBlock);
    for (int f = 1; f <= g.MaxFiles && f < static_cast<int>(g.FileTable.size()); ++f) {
        FileRecord& file = g.FileTable[static_cast<size_t>(f)];
        const int32_t events = file.EventCount;
        if (!file.Loaded || events <= 0 || !file.Membership.contains(events, slot)) continue;
        uint8_t* membership = file.Membership.column(slot);
        // Other files hold no members; events without data are outside.
        std::fill(membership + 1, membership + 1 + events, uint8_t{0});
        if (f != fileSlot) continue;
        ForEachPlacedBendBlock(file, axes, 1, false,
                               [&](int32_t first, size_t n, const double* px, const double* py, const double*) {
                                   for (size_t i = 0; i < n; ++i) {
                                       xs[i] = static_cast<float>(px[i]);
                                       ys[i] = static_cast<float>(py[i]);
                                   }
                                   PointsInPolygon(xs.data(), ys.data(), n, polygon, membership + first);
                               });
    }
    if (recheck == DefinitionRecheck::All) CheckAllDefinitions();
}

}  // namespace qv
