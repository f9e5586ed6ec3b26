#pragma once
// A folder nested so deep under another that its path nears the system's
// path limit: names that fit in it may become paths the system refuses.
#include <sys/stat.h>

#include <algorithm>
#include <string>

namespace qv::test {

// Makes the folders under `base` (no "/" at its end) whose path, with the
// "/" at its end, is `length` bytes long; returns that path, "" on failure.
inline std::string MakeDeepFolder(std::string base, size_t length) {
    if (base.size() + 3 > length) return {};
    while (length - base.size() > 1) {
        const size_t room = length - base.size();  // the bytes still to add, the closing "/" included
        // Parts of 100 bytes while much is left, so the last one is never empty.
        const size_t part = room - 2 > 200 ? 100 : room - 2;
        base += "/" + std::string(part, 'd');
        if (::mkdir(base.c_str(), 0700) != 0) return {};
    }
    return base + "/";
}

}  // namespace qv::test
