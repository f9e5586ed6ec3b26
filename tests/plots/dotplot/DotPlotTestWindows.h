#pragma once
// Dot plot windows for the tests, put into the window registry as the
// window creators put them.
#include <memory>
#include <vector>

#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"

namespace qv::test {

// Registers `w` in registry slot `id` (in use, of kind "DotPlot") and sets
// it up there.
inline DotPlot& RegisterDotPlot(DotPlot& w, int id) {
    WindowRecord& r = g.WindowRegistry[static_cast<size_t>(id)];
    r.InUse = true;
    r.Form = &w;
    r.Type = "DotPlot";
    w.Alusta(id);
    return w;
}

// A new window, kept in `windows`, registered in slot `id`.
inline DotPlot& OpenDotPlot(std::vector<std::unique_ptr<DotPlot>>& windows, int id) {
    windows.push_back(std::make_unique<DotPlot>());
    return RegisterDotPlot(*windows.back(), id);
}

}  // namespace qv::test
