#pragma once
// Membership of a "DAD" gate: the events of the DAD window's own file whose
// layout positions, in the window's 0..10000 plot space without the pan,
// lie inside the gate's polygon.
#include <cstdint>

#include "plots/multi/model/DadLayout.h"

namespace qv {

// Writes membership column `slot` of FileTable slot `fileSlot` from the
// layout (events without a position are outside), then evaluates every
// definition again. Nothing for a window without a file or a slot that is
// no gate column.
void DadCheckPopulation(int slot, const DadLayout& layout, int fileSlot, int32_t pictureWidth,
                        int32_t pictureHeight);

}  // namespace qv
