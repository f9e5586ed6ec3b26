#include "app/model/WalkListing.h"

#include <ctime>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "core/FcsReader.h"

namespace qv {

int64_t WallClockNow() {
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return NanosecondsOf(now);
}

void WalkListings::forget() {
    listing_.reset();
    checks_.clear();
    unsettled_.clear();
    refused_.clear();
    folderSettled_ = false;
}

WalkListings::HeaderCheck WalkListings::readHeader(const std::string& path, const EntryStamp& stamp) {
    ++headersRead_;
    return HeaderCheck{stamp, IsFcsFile(path)};
}

bool WalkListings::unsettledFilesStayOut() {
    const int64_t now = clock_();
    for (auto it = unsettled_.begin(); it != unsettled_.end();) {
        const std::string path = listing_->folder + *it;
        const std::optional<LookedEntry> entry = LookAtEntry(path);
        // Gone or made a folder: the folder's stamp tells that too, but
        // nothing is taken for granted here.
        if (!entry || !entry->regular) return false;
        // Its header is read again even under the same stamp: a change in
        // the same tick as the last look keeps the stamp.
        const HeaderCheck& check = checks_[*it] = readHeader(path, entry->stamp);
        if (check.isFcs) return false;
        // Read long enough after its last change, it stays as it is now
        // until its stamps change.
        if (now - entry->stamp.latestNs() >= SettleNs) {
            refused_.push_back(std::move(*it));
            it = unsettled_.erase(it);
        } else {
            ++it;
        }
    }
    return true;
}

bool WalkListings::refusedFilesStayOut() {
    const int64_t started = clock_();
    // A clock set back makes a sweep due rather than putting it off.
    if (started >= sweptAtNs_ && started - sweptAtNs_ < SweepShare * sweepCostNs_) return true;
    for (size_t i = 0; i < refused_.size();) {
        const std::string path = listing_->folder + refused_[i];
        const std::optional<LookedEntry> entry = LookAtEntry(path);
        if (!entry || !entry->regular) return false;
        HeaderCheck& check = checks_[refused_[i]];
        if (entry->stamp == check.stamp) {
            ++i;
            continue;
        }
        check = readHeader(path, entry->stamp);
        if (check.isFcs) return false;
        if (started - entry->stamp.latestNs() >= SettleNs) {
            ++i;
            continue;
        }
        // Still being written: looked at every call until it settles.
        unsettled_.push_back(std::move(refused_[i]));
        refused_[i] = std::move(refused_.back());
        refused_.pop_back();
    }
    const int64_t ended = clock_();
    sweptAtNs_ = ended;
    sweepCostNs_ = ended > started ? ended - started : 0;
    return true;
}

std::shared_ptr<const WalkListing> WalkListings::current(const std::string& folder, const KeepWorking& keepWorking) {
    if (listing_ && listing_->folder == folder && folderSettled_) {
        const std::optional<LookedEntry> now = LookAtEntry(folder);
        if (now && now->stamp == folderStamp_ && unsettledFilesStayOut() && refusedFilesStayOut()) return listing_;
    }
    if (listing_ && listing_->folder != folder) checks_.clear();

    // The time and the folder's stamp are taken before it is read, so a
    // change made while it is read shows as a changed stamp next time.
    const int64_t started = clock_();
    const std::optional<LookedEntry> folderNow = LookAtEntry(folder);
    const auto settledAt = [started](const EntryStamp& stamp) { return started - stamp.latestNs() >= SettleNs; };
    bool folderSettled = folderNow.has_value() && settledAt(folderNow->stamp);
    ++foldersRead_;

    std::vector<std::string> names;
    std::vector<std::string> unsettled;
    std::vector<std::string> refused;
    std::unordered_map<std::string, HeaderCheck> checks;
    // An empty folder text would list the working folder: nothing is meant.
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::directory_iterator it(std::filesystem::path(folder), ec);
        for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
            if (keepWorking && !keepWorking()) return nullptr;
            std::string name = it->path().filename().string();
            // Plain files only, no hidden ones, as every listing of data files.
            if (name.empty() || name[0] == '.') continue;
            const std::string path = folder + name;
            const std::optional<LookedEntry> entry = LookAtEntry(path);
            if (!entry || !entry->regular) continue;
            const auto kept = checks_.find(name);
            const HeaderCheck check = kept != checks_.end() && kept->second.stamp == entry->stamp
                                          ? kept->second
                                          : readHeader(path, entry->stamp);
            if (check.isFcs)
                names.push_back(name);
            else if (!settledAt(entry->stamp))
                unsettled.push_back(name);
            else
                refused.push_back(name);
            checks.emplace(std::move(name), check);
        }
        if (ec) folderSettled = false;
    }
    SortFolderNames(names);

    auto listing = std::make_shared<WalkListing>();
    listing->folder = folder;
    listing->names.reserve(names.size() + 1);
    listing->names.emplace_back();
    for (std::string& name : names) listing->names.push_back(std::move(name));
    listing->place.reserve(names.size());
    for (int i = 1; i <= listing->count(); ++i) listing->place.emplace(listing->names[static_cast<size_t>(i)], i);

    listing_ = listing;
    folderStamp_ = folderNow ? folderNow->stamp : EntryStamp{};
    folderSettled_ = folderSettled;
    checks_ = std::move(checks);
    unsettled_ = std::move(unsettled);
    refused_ = std::move(refused);
    // Every file was looked at just now; the first step after a listing
    // sweeps, as its cost is already matched by the listing's.
    sweptAtNs_ = started;
    sweepCostNs_ = 0;
    return listing;
}

}  // namespace qv
