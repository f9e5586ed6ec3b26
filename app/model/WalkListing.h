#pragma once
// The data files of a folder as a tool walking it sees them. A walk asks at
// every step, and files may arrive while it runs (an acquisition going on, a
// copy made while a question box waits), so every answer is the folder as it
// is now. A walk over n files must still cost in proportion to n: the folder
// is read again only when it may have changed since it was last read, and a
// file's header is read again only when the file may have changed.
//
// "May have changed" is told by the file system's time stamps (modification
// and change time, in nanoseconds), the size and the identity (device and
// inode). A time stamp is coarser than the clock (a kernel tick, or whole
// seconds on some file systems), so a change made just after a look can
// leave the stamps as they were:
//  - a folder listed within SettleNs of its own last stamp is listed again
//    at the next call, whatever its stamps say;
//  - a file that is no data file but changed within SettleNs of the listing
//    (one still being written, whose header may come last) has its header
//    read again at every call until it has settled, so it is listed once it
//    becomes a data file although the folder itself does not change. A file
//    the walk's own tool appends to is such a file: it costs one header a
//    call, not a listing;
//  - a settled file that is no data file (an empty placeholder, notes) may
//    still be written in place later, its header with it, which changes its
//    own stamps but not the folder's. Such files are looked at again (their
//    stamps, not their headers) in sweeps, and a file whose stamps changed
//    has its header read again. A sweep waits until the walk has spent
//    SweepShare times as long as the last sweep took, so sweeps take a small
//    share of a walk's time however many such files the folder holds, and a
//    file written in place while a walk waits (a question box open) is seen
//    at its next step.
// A file's header is kept while its stamps, size and identity stay the same.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/model/EntryStamp.h"
#include "app/model/FolderListing.h"

namespace qv {

struct WalkListing {
    std::string folder;              // ends with "/"
    std::vector<std::string> names;  // element 0 holds no name; the FCS files from 1, sorted
    std::unordered_map<std::string, int> place;  // name -> its index in `names`

    int count() const { return static_cast<int>(names.size()) - 1; }
    // The index (1..count) of `name`, 0 when it is not listed.
    int placeOf(const std::string& name) const {
        const auto found = place.find(name);
        return found == place.end() ? 0 : found->second;
    }
};

// The wall clock the file system's time stamps are taken from, in
// nanoseconds since the epoch.
using WallClock = std::function<int64_t()>;
int64_t WallClockNow();

class WalkListings {
public:
    // How long after an entry's last stamp a change may still leave the
    // stamp as it was (covers a kernel tick and file systems that keep
    // times to two seconds).
    static constexpr int64_t SettleNs = 3'000'000'000;
    // How many times as long as the last sweep over the settled files that
    // are no data files a walk runs before the next sweep.
    static constexpr int64_t SweepShare = 10;

    explicit WalkListings(WallClock clock = WallClockNow) : clock_(std::move(clock)) {}

    // The FCS files of `folder` (ending with "/") as it is now: the kept
    // listing when the folder cannot have changed since it was made, else a
    // new one, for which only the headers of new or changed files are read.
    // Null when `keepWorking` (asked before every entry) ended the listing;
    // nothing half-listed is kept.
    std::shared_ptr<const WalkListing> current(const std::string& folder, const KeepWorking& keepWorking);
    // The next call lists its folder and reads every header afresh.
    void forget();

    // How many times a folder was read, and a header, since construction.
    int foldersRead() const { return foldersRead_; }
    int headersRead() const { return headersRead_; }

private:
    struct HeaderCheck {
        EntryStamp stamp;
        bool isFcs = false;
    };

    // Whether the files that may still become data files have stayed no
    // data files: each is looked at, its header read again.
    bool unsettledFilesStayOut();
    // Whether the settled files that are no data files have stayed so: when
    // a sweep is due, each is looked at, and its header read again when its
    // stamps changed.
    bool refusedFilesStayOut();
    // Reads the header of the file at `path`, whose entry has `stamp`.
    HeaderCheck readHeader(const std::string& path, const EntryStamp& stamp);

    WallClock clock_;
    std::shared_ptr<const WalkListing> listing_;
    EntryStamp folderStamp_;
    bool folderSettled_ = false;  // the folder was listed long enough after its last change
    std::unordered_map<std::string, HeaderCheck> checks_;  // by name, for the kept listing's folder
    std::vector<std::string> unsettled_;  // files of the listing that are no data files yet may become one
    std::vector<std::string> refused_;    // files of the listing that are no data files and have settled
    int64_t sweptAtNs_ = 0;               // when the last sweep over refused_ ended (or the listing was made)
    int64_t sweepCostNs_ = 0;             // how long it took
    int foldersRead_ = 0;
    int headersRead_ = 0;
};

}  // namespace qv
