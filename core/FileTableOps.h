#pragma once
// Freeing, growing and finding entries of the shared file table (g.FileTable).
#include <cstdint>
#include <string>

namespace qv {

// Frees one FileTable slot: FileName empty, Loaded false, EventCount 0,
// FileKey 0 (the mark of a free slot), ParameterCount 0 and Parameters cut to
// element 0. All of its event memory goes with it: WorkingData, PristineData
// and Membership are released (reduced to one element) and the event names
// dropped, so files worked through one after another never pile up. Other
// fields keep their values until the slot is filled again. A slot outside
// 1..MaxFiles is ignored.
void ClearFileSlot(int slot);

// Frees every FileTable slot 1..MaxFiles that no WindowRegistry slot
// 1..MaxWindows names in its FileIndex (closed windows have FileIndex 0).
void ReleaseUnusedFiles();

// Appends one empty parameter to the file in the slot: ParameterCount + 1, a
// new Parameters element (no name, linear, Range 0), a compensation matrix one
// larger that keeps every coefficient between the old parameters and has a
// zero row and column for the new one, and a new zero column in WorkingData
// and PristineData, keeping every stored event. Membership and the other
// fields are unchanged; the caller fills the new parameter's name, range and
// values. Returns false, changing nothing, for a slot outside 1..MaxFiles.
bool AddParameterToFile(int slot);

// The first slot 1..MaxFiles free for a new file (FileKey 0); 0 when the
// table is full.
int FreeFileSlot();

// The FileTable slot that window `window` names in its FileIndex when no
// other WindowRegistry slot 1..MaxWindows names it (as ReleaseUnusedFiles
// counts them): the slot its next file may take. 0 when the window shows no
// file, shares it, or is outside the registry.
int FileSlotShownOnlyBy(int window);

// The first slot 1..MaxFiles holding a loaded data file that is the file at
// `path` (the same file on disk, however either path is spelled), and, when
// `key` is not 0, whose FileKey is `key`; 0 when there is none. Paths are
// resolved only for slots that pass the key test.
int LoadedFileSlotOf(const std::string& path, int32_t key = 0);

}  // namespace qv
