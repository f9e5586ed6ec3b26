#include "core/SharedState.h"

namespace qv {

SharedState g;

void resetSharedState() {
    g = SharedState{};
    g.WindowRegistry.assign(static_cast<size_t>(g.MaxWindows) + 1, WindowRecord{});
    g.StatisticsRegistry.assign(static_cast<size_t>(g.MaxWindows) + 1, WindowRecord{});
    g.FileTable.assign(static_cast<size_t>(g.MaxFiles) + 1, FileRecord{});
    for (int slot = 1; slot <= g.membershipSlots() && slot < static_cast<int>(DefaultPopulationColours.size()); ++slot) {
        const Rgb c = DefaultPopulationColours[static_cast<size_t>(slot)];
        g.PopulationTable[static_cast<size_t>(slot)].ColorRed = c.Red;
        g.PopulationTable[static_cast<size_t>(slot)].ColorGreen = c.Green;
        g.PopulationTable[static_cast<size_t>(slot)].ColorBlue = c.Blue;
    }
}

}  // namespace qv
