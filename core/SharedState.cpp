#include "core/SharedState.h"

#include "core/PopulationSlot.h"

namespace qv {

SharedState g;

void resetSharedState() {
    g = SharedState{};
    g.WindowRegistry.assign(static_cast<size_t>(g.MaxWindows) + 1, WindowRecord{});
    g.StatisticsRegistry.assign(static_cast<size_t>(g.MaxWindows) + 1, WindowRecord{});
    g.FileTable.assign(static_cast<size_t>(g.MaxFiles) + 1, FileRecord{});
    for (int slot = 1; slot <= g.membershipSlots() && slot < static_cast<int>(DefaultPopulationColours.size()); ++slot)
        ResetPopulationSlot(g.PopulationTable[static_cast<size_t>(slot)], slot);
}

}  // namespace qv
