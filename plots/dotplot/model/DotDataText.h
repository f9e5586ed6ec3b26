#pragma once
// The dot plot's data export: the X and Y values of the shown events as
// tab-delimited text.
#include <QString>

#include <string>

#include "core/FileRecord.h"

namespace qv {

// One line per exported event: X value, TAB, Y value, LF (the last line ends
// with LF too), values of the working (compensated) data as number text with
// "." as decimal point. Exported are events 1..EventCount in order, every one
// of them (no drawing step), when `shownPopulation` is 0 or the event's
// membership byte in that column is 1. A channel outside the file's
// parameters, or a file with no data, gives an empty text.
std::string DotDataText(const FileRecord& file, int channelX, int channelY, int shownPopulation);

// Writes `text` byte for byte to `path` as every file of the program is
// written (core/AtomicFile); an existing file is replaced only once the new
// one is complete.
// False when the file could not be written (the old file is then untouched),
// with the system's reason in `reason` when given.
bool WriteTextFileAtomically(const QString& path, const std::string& text, std::string* reason = nullptr);

}  // namespace qv
