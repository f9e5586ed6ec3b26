#pragma once
// Writing a loaded file to disk as FCS 3.0, and which file the save commands
// act on.
#include <QString>

#include <string>

#include "core/FileRecord.h"

namespace qv {

// Writes `file` to `path` as every file of the program is written
// (core/AtomicFile): through a temporary file beside it that replaces the
// target only once complete, so a failed write leaves any earlier file of
// that name whole. The DATA is encoded and written in blocks, never held
// whole in memory.
// Shows the wait cursor. False when the file could not be written, with the
// system's reason in `reason` when given.
bool WriteFcsFile(const QString& path, const FileRecord& file, std::string* reason = nullptr);

// The FileTable slot of the active analysis window's file: 0 when no window
// was activated, the active slot names no open window, or that window shows
// no loaded file.
int ActiveWindowFileSlot();

// True when "Save FCS" may overwrite the file: it was written by this program.
bool MayOverwriteFcsFile(const FileRecord& file);

}  // namespace qv
