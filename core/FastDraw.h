#pragma once
// The event step of fast drawing, shared by every window that draws a file.
#include <cstdint>

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

}  // namespace qv
