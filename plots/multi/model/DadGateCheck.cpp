#include "plots/multi/model/DadGateCheck.h"

#include <algorithm>
#include <vector>

#include "app/model/DefinitionEvaluator.h"
#include "core/GateMembership.h"
#include "core/PolygonTest.h"
#include "core/SharedState.h"

namespace qv {

void DadCheckPopulation(int slot, const DadLayout& layout, int fileSlot, int32_t pictureWidth,
                        int32_t pictureHeight) {
    if (!IsGateSlot(slot) || fileSlot < 1 || fileSlot > g.MaxFiles || fileSlot >= static_cast<int>(g.FileTable.size()))
        return;
    FileRecord& file = g.FileTable[static_cast<size_t>(fileSlot)];
    const int32_t events = file.EventCount;
    if (!file.Loaded || events <= 0 || !file.Membership.contains(events, slot)) return;

    const PopulationRecord& gate = g.PopulationTable[static_cast<size_t>(slot)];
    const int corners = std::clamp<int>(gate.Corners, 0, MaxCorners);
    std::vector<PolygonCorner> polygon(static_cast<size_t>(corners));
    for (int j = 1; j <= corners; ++j)
        polygon[static_cast<size_t>(j - 1)] =
            PolygonCornerFromPlotSpace(gate.CornerX[static_cast<size_t>(j)], gate.CornerY[static_cast<size_t>(j)]);

    const int32_t placed = std::min<int32_t>(events, static_cast<int32_t>(layout.LayoutPosition.size()) - 1);
    const double w = std::max(1, pictureWidth), h = std::max(1, pictureHeight);
    std::vector<float> xs(static_cast<size_t>(std::max(placed, 0))), ys(xs.size());
    for (int32_t e = 1; e <= placed; ++e) {
        const LayoutPoint& p = layout.LayoutPosition[static_cast<size_t>(e)];
        xs[static_cast<size_t>(e - 1)] = static_cast<float>(p.x / w * 10000.0);
        ys[static_cast<size_t>(e - 1)] = static_cast<float>(p.y / h * 10000.0);
    }
    uint8_t* membership = file.Membership.column(slot);
    std::fill(membership + 1, membership + 1 + events, uint8_t{0});
    if (placed > 0) PointsInPolygon(xs.data(), ys.data(), xs.size(), polygon, membership + 1);

    CheckAllDefinitions();
}

}  // namespace qv
