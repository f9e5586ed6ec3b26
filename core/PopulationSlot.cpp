#include "core/PopulationSlot.h"

#include "core/SharedState.h"

namespace qv {

void ResetPopulationSlot(PopulationRecord& record, int slot) {
    record = PopulationRecord{};
    if (slot < 1 || slot >= static_cast<int>(DefaultPopulationColours.size())) return;
    const Rgb c = DefaultPopulationColours[static_cast<size_t>(slot)];
    record.ColorRed = c.Red;
    record.ColorGreen = c.Green;
    record.ColorBlue = c.Blue;
}

}  // namespace qv
