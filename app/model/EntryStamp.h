#pragma once
// What a file system entry shows when it is looked at: its identity, size
// and time stamps. Two equal stamps mean the entry may be taken as unchanged
// between the two looks; a change within one tick of the clock the stamps
// are kept in can leave them equal.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace qv {

struct EntryStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;  // nanoseconds since the epoch
    int64_t changedNs = 0;
    bool operator==(const EntryStamp&) const = default;
    // The later of the two times.
    int64_t latestNs() const { return modifiedNs > changedNs ? modifiedNs : changedNs; }
};

struct LookedEntry {
    EntryStamp stamp;
    bool regular = false;  // a plain file
};

// A time of the system's clocks in nanoseconds.
int64_t NanosecondsOf(const timespec& t);

enum class Links { Follow, AsThemselves };

// The entry at `path` as it is now; nullopt when it is gone or cannot be
// looked at. With Links::Follow a link counts as what it names.
std::optional<LookedEntry> LookAtEntry(const std::string& path, Links links = Links::Follow);

}  // namespace qv
