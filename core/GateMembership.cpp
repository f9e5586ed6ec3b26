#include "core/GateMembership.h"

#include <algorithm>
#include <array>

#include "core/AxisScaling.h"

namespace qv {

namespace {

// A gate the file takes part in: its test, its column and the rows of the
// block's positions it reads.
struct ActiveGate {
    const GateBlockCheck* gate;
    uint8_t* membership;
    std::array<size_t, 2> rows;
};

}  // namespace

void WriteGatesMembership(std::span<const GateBlockCheck> gates) {
    std::vector<int> axes;                         // the parameters the file's gates read, each once
    std::vector<std::vector<double>> positions;    // one block of positions per parameter
    std::vector<ActiveGate> active;
    for (int f = 1; f <= g.MaxFiles && f < static_cast<int>(g.FileTable.size()); ++f) {
        FileRecord& file = g.FileTable[static_cast<size_t>(f)];
        const int32_t events = file.EventCount;
        if (!file.Loaded || events <= 0) continue;

        axes.clear();
        active.clear();
        for (const GateBlockCheck& gate : gates) {
            if (!file.Membership.contains(events, gate.slot)) continue;
            uint8_t* membership = file.Membership.column(gate.slot);
            if (gate.axes.empty() || gate.axes.size() > 2 ||
                !std::all_of(gate.axes.begin(), gate.axes.end(),
                             [&](int axis) { return FileHasParameter(file, axis); })) {
                std::fill(membership + 1, membership + 1 + events, uint8_t{0});
                continue;
            }
            ActiveGate a{&gate, membership, {}};
            for (size_t k = 0; k < gate.axes.size(); ++k) {
                const auto at = std::find(axes.begin(), axes.end(), gate.axes[k]);
                a.rows[k] = static_cast<size_t>(at - axes.begin());
                if (at == axes.end()) axes.push_back(gate.axes[k]);
            }
            active.push_back(a);
        }
        if (active.empty()) continue;
        if (positions.size() < axes.size()) positions.resize(axes.size());
        for (size_t r = 0; r < axes.size(); ++r) positions[r].resize(GateCheckBlock);

        for (int32_t first = 1; first <= events; first += GateCheckBlock) {
            const int32_t count = std::min(GateCheckBlock, events - first + 1);
            const size_t n = static_cast<size_t>(count);
            for (size_t r = 0; r < axes.size(); ++r) {
                std::vector<double>& row = positions[r];
                const size_t written = ScaleEventsToAxis(file, static_cast<int16_t>(axes[r]), GatePlotSpace, first,
                                                         first + count - 1, 1, std::span<double>(row.data(), n));
                std::fill(row.begin() + static_cast<std::ptrdiff_t>(written), row.begin() + static_cast<std::ptrdiff_t>(n),
                          0.0);
            }
            for (const ActiveGate& a : active) {
                const std::array<const double*, 2> rows{positions[a.rows[0]].data(),
                                                        positions[a.rows[a.gate->axes.size() - 1]].data()};
                a.gate->test(std::span<const double* const>(rows.data(), a.gate->axes.size()), n,
                             a.membership + first);
            }
        }
    }
}

}  // namespace qv
