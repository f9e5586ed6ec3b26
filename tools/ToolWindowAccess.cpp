#include "tools/ToolWindowAccess.h"

#include <algorithm>
#include <string>

#include "app/WindowRegistry.h"
#include "core/SharedState.h"
#include "tools/model/ScriptInterpreter.h"

namespace qv {

int ToolWindowNumber(std::string_view word) {
    const int32_t top = std::min<int32_t>(g.MaxWindows, static_cast<int32_t>(g.WindowRegistry.size()) - 1);
    return ScriptLine::index(word, 0, top);
}

PlotWindow& ToolWindow(int n) {
    PlotWindow* window = windowAt(n);
    if (!window) throw ScriptError("no window in slot " + std::to_string(n));
    return *window;
}

}  // namespace qv
