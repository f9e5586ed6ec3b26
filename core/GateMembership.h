#pragma once
// The loop every gate's population check runs: over each loaded file that
// holds the gate's membership column, and through its events block by
// block, so the positions scaled for one block stay in the cache.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "core/SharedState.h"

namespace qv {

// Events scaled and tested per block.
inline constexpr int32_t GateCheckBlock = 8192;

// Whether `slot` is a membership column a gate's check may write.
inline bool IsGateSlot(int slot) {
    return slot >= 1 && slot <= g.membershipSlots() && slot < PopulationTableSize;
}

// Whether the file holds parameter `axis`.
inline bool FileHasParameter(const FileRecord& file, int axis) {
    return axis >= 1 && axis <= file.ParameterCount && axis < static_cast<int>(file.Parameters.size());
}

// The plot space the table's gates are drawn in: both axes run 0..10000.
inline constexpr double GatePlotSpace = 10000.0;

// One gate for WriteGatesMembership: its membership column, its parameters,
// and the test of a block of events given their positions on those
// parameters.
struct GateBlockCheck {
    int slot = 0;
    std::vector<int> axes;  // the gate's parameters, in the order the test takes them
    // positions[k][i] is event first + i on axes[k], scaled to GatePlotSpace
    // as ScaleEventsToAxis gives it (0 for an event the matrix does not
    // hold); the test writes inside[0..count).
    std::function<void(std::span<const double* const> positions, size_t count, uint8_t* inside)> test;
};

// For every loaded file of g.FileTable with events, and every gate whose
// membership column the file holds: a file lacking one of the gate's axes
// gets 0 for every event; otherwise the gate's test is called for events
// first..first + count - 1, in blocks of at most GateCheckBlock, and writes
// the column. Each parameter is placed on the plot space once per block,
// however many gates test it, so the gates of one recomputation share one
// pass of scaling over the events.
void WriteGatesMembership(std::span<const GateBlockCheck> gates);

}  // namespace qv
