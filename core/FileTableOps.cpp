#include "core/FileTableOps.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/FileIdentity.h"
#include "core/SharedState.h"

namespace qv {

namespace {

bool validFileSlot(int slot) {
    return slot >= 1 && slot <= g.MaxFiles && static_cast<size_t>(slot) < g.FileTable.size();
}

// A new zero column c in a matrix that had columns 0..c-1 in use (it may
// hold stale columns beyond them after parameters were deleted).
void addZeroColumn(EventMatrix<float>& m, int32_t c) {
    m.resizeColumns(c);
    std::fill(m.column(c), m.column(c) + m.stride(), 0.0f);
}

}  // namespace

void ClearFileSlot(int slot) {
    if (!validFileSlot(slot)) return;
    FileRecord& f = g.FileTable[static_cast<size_t>(slot)];
    f.FileName.clear();
    f.Loaded = false;
    f.EventCount = 0;
    f.FileKey = 0;
    f.WorkingData.release();
    f.PristineData.release();
    f.Membership.release();
    std::vector<std::string>().swap(f.EventNames);
    f.HasEventNames = false;
    f.ParameterCount = 0;
    f.Parameters.resize(1);
    f.Parameters[0] = ParameterInfo{};
}

void ReleaseUnusedFiles() {
    const int windows = std::min<int>(g.MaxWindows, static_cast<int>(g.WindowRegistry.size()) - 1);
    for (int f = 1; f <= g.MaxFiles; ++f) {
        bool shown = false;
        for (int w = 1; w <= windows && !shown; ++w)
            shown = g.WindowRegistry[static_cast<size_t>(w)].FileIndex == f;
        if (!shown) ClearFileSlot(f);
    }
}

bool AddParameterToFile(int slot) {
    if (!validFileSlot(slot)) return false;
    FileRecord& f = g.FileTable[static_cast<size_t>(slot)];
    const int32_t old = std::max(0, f.ParameterCount);
    const int32_t added = old + 1;

    // Coefficients between the old parameters, as far as the matrix has them.
    const EventMatrix<float> oldMatrix = f.CompensationMatrix;
    const int32_t keep = oldMatrix.empty() ? 0 : std::min({old, oldMatrix.maxEvent(), oldMatrix.maxColumn()});

    f.ParameterCount = added;
    f.Parameters.resize(static_cast<size_t>(added) + 1);
    f.Parameters[static_cast<size_t>(added)] = ParameterInfo{};

    f.CompensationMatrix.resize(added, added);
    for (int32_t i = 1; i <= keep; ++i)
        for (int32_t j = 1; j <= keep; ++j) f.CompensationMatrix(i, j) = oldMatrix(i, j);

    addZeroColumn(f.WorkingData, added);
    addZeroColumn(f.PristineData, added);
    return true;
}

int FreeFileSlot() {
    for (int slot = 1; validFileSlot(slot); ++slot)
        if (g.FileTable[static_cast<size_t>(slot)].FileKey == 0) return slot;
    return 0;
}

int FileSlotShownOnlyBy(int window) {
    const int windows = std::min<int>(g.MaxWindows, static_cast<int>(g.WindowRegistry.size()) - 1);
    if (window < 1 || window > windows) return 0;
    const int slot = g.WindowRegistry[static_cast<size_t>(window)].FileIndex;
    if (!validFileSlot(slot)) return 0;
    for (int w = 1; w <= windows; ++w)
        if (w != window && g.WindowRegistry[static_cast<size_t>(w)].FileIndex == slot) return 0;
    return slot;
}

int LoadedFileSlotOf(const std::string& path, int32_t key) {
    std::optional<FileIdentity> target;
    // A path that climbs with ".." out of a folder that does not exist leads
    // nowhere as written; its tidied spelling says which file it names.
    std::optional<FileIdentity> tidied;
    for (int slot = 1; validFileSlot(slot); ++slot) {
        const FileRecord& f = g.FileTable[static_cast<size_t>(slot)];
        if (!f.Loaded || f.FileKey == 0 || (key != 0 && f.FileKey != key)) continue;
        if (!target) {
            target = IdentifyFile(path);
            if (!target->Exists && target->CanonicalPath != path) tidied = IdentifyFile(target->CanonicalPath);
        }
        const FileIdentity loaded = IdentifyFile(f.fullPath());
        if (SameFile(*target, loaded) || (tidied && SameFile(*tidied, loaded))) return slot;
    }
    return 0;
}

}  // namespace qv
