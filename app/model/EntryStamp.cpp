#include "app/model/EntryStamp.h"

#include <sys/stat.h>

namespace qv {
int64_t NanosecondsOf(const timespec& t) { return static_cast<int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec; }

std::optional<LookedEntry> LookAtEntry(const std::string& path, Links links) {
    struct stat st {};
    const int failed = links == Links::Follow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    if (failed != 0) return std::nullopt;
    LookedEntry out;
    out.stamp.device = static_cast<uint64_t>(st.st_dev);
    out.stamp.inode = static_cast<uint64_t>(st.st_ino);
    out.stamp.size = static_cast<int64_t>(st.st_size);
    out.stamp.modifiedNs = NanosecondsOf(st.st_mtim);
    out.stamp.changedNs = NanosecondsOf(st.st_ctim);
    out.regular = S_ISREG(st.st_mode);
    return out;
}

}  // namespace qv
