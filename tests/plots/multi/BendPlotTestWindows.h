#pragma once
// Bending plot windows for the tests, put into the window registry as the
// window creators put them.
#include <memory>
#include <vector>

#include "core/SharedState.h"
#include "plots/multi/BendPlot.h"

namespace qv::test {

// A new window, kept in `windows`, registered in slot `id` (in use, of kind
// "BendPlot") and set up there.
inline BendPlot& OpenBendPlot(std::vector<std::unique_ptr<BendPlot>>& windows, int id) {
    windows.push_back(std::make_unique<BendPlot>());
    BendPlot& w = *windows.back();
    WindowRecord& r = g.WindowRegistry[static_cast<size_t>(id)];
    r.InUse = true;
    r.Form = &w;
    r.Type = "BendPlot";
    w.Alusta(id);
    return w;
}

}  // namespace qv::test
