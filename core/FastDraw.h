#pragma once
// The event step of fast drawing, shared by every window that draws a file.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

namespace qv {

// The step that keeps a file of `eventCount` events near `limit` drawn
// events: Int(E / L) + 1. A limit below 1 counts as 1, so the step is
// always defined and at least 1.
inline int32_t FastDrawStep(int32_t eventCount, int32_t limit) {
    if (limit < 1) limit = 1;
    if (eventCount < 0) eventCount = 0;
    const int32_t quotient = eventCount / limit;
    return quotient == INT32_MAX ? INT32_MAX : quotient + 1;
}

// A window's drawing mode: fast drawing on or off, the event step, and the
// caption of the menu item that switches it (it names the other mode).
struct DrawMode {
    bool fast = false;
    int32_t step = 1;
    const char* caption = "Fast draw mode";
};

// After a file load: fast, with the step of the limit, only when the file
// has more events than the limit.
inline DrawMode DrawModeAfterLoad(int32_t eventCount, int32_t limit) {
    if (eventCount <= limit) return {};
    return {true, FastDrawStep(eventCount, limit), "Full draw mode"};
}

// The menu item: fast drawing always goes back to full; full drawing turns
// fast only for a file of more events than the limit (nothing otherwise).
inline std::optional<DrawMode> SwitchedDrawMode(bool fastNow, int32_t eventCount, int32_t limit) {
    if (fastNow) return DrawMode{};
    if (eventCount <= limit) return std::nullopt;
    return DrawModeAfterLoad(eventCount, limit);
}

// A settings line's flag: "1" fast with the step of the file's events, "0"
// full; any other text changes nothing.
inline std::optional<DrawMode> DrawModeFromFlag(const std::string& value, int32_t eventCount, int32_t limit) {
    if (value == "0") return DrawMode{};
    if (value == "1") return DrawMode{true, FastDrawStep(eventCount, limit), "Full draw mode"};
    return std::nullopt;
}

// The limit as the windows that never draw fewer than one event read it
// (the dot plot, the bending plot, the flux tracker and projector).
inline int32_t LimitOfAtLeastOne(int32_t limit) { return std::max<int32_t>(1, limit); }

// AsetaPiirtoMoodi of the tools: whether `mode` ("fast" or "full") names the
// mode a window is not in. The window then does what its menu item does
// (SwitchedDrawMode), so the mark, the caption and the event step change
// together: the label never says full while a sample is drawn and counted.
inline bool AsksForOtherDrawMode(const std::string& mode, bool fastNow) {
    return (mode == "fast" && !fastNow) || (mode == "full" && fastNow);
}

}  // namespace qv
