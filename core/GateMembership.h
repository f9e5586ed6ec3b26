#pragma once
// The loop every gate's population check runs: over each loaded file that
// holds the gate's membership column, and through its events block by
// block, so the positions scaled for one block stay in the cache.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

#include "core/AxisScaling.h"
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

// Positions of events first..first + out.size() - 1 on parameter `axis`
// scaled to `length`, as ScaleEventsToAxis gives them; events the matrix does
// not hold sit at position 0.
template <class T>
void ScaleGateBlock(const FileRecord& file, int axis, double length, int32_t first, std::span<T> out) {
    const int32_t last = first + static_cast<int32_t>(out.size()) - 1;
    const size_t written = ScaleEventsToAxis(file, static_cast<int16_t>(axis), length, first, last, 1, out);
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(written), out.end(), T{0});
}

// For every loaded file of g.FileTable with events and membership column
// `slot`: a file lacking one of `axes` gets 0 for every event; otherwise
// testBlock(file, first, count, inside) is called for events first..first +
// count - 1, in blocks of at most GateCheckBlock, and writes inside[0..count).
template <class TestBlock>
void WriteGateMembership(int slot, std::initializer_list<int> axes, TestBlock testBlock) {
    for (int f = 1; f <= g.MaxFiles && f < static_cast<int>(g.FileTable.size()); ++f) {
        FileRecord& file = g.FileTable[static_cast<size_t>(f)];
        const int32_t events = file.EventCount;
        if (!file.Loaded || events <= 0 || !file.Membership.contains(events, slot)) continue;
        uint8_t* membership = file.Membership.column(slot);

        if (!std::all_of(axes.begin(), axes.end(), [&](int axis) { return FileHasParameter(file, axis); })) {
            std::fill(membership + 1, membership + 1 + events, uint8_t{0});
            continue;
        }
        for (int32_t first = 1; first <= events; first += GateCheckBlock) {
            const int32_t count = std::min(GateCheckBlock, events - first + 1);
            testBlock(static_cast<const FileRecord&>(file), first, count, membership + first);
        }
    }
}

}  // namespace qv
