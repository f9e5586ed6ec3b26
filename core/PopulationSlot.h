#pragma once
// The start value of a population or definition slot.
#include "core/PopulationRecord.h"

namespace qv {

// Gives slot `slot` of the population table the value it has when the
// program starts: not in use, no name, corners or offsets, and the slot's
// default colour.
void ResetPopulationSlot(PopulationRecord& record, int slot);

}  // namespace qv
