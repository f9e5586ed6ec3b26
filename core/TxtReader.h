#pragma once
// Reader of tab-delimited text tables: a header line of parameter names
// (optionally led by a "NAME", "Name" or "name" column of event names), then
// one event per line, cells separated by TAB. Lines end with LF, CR LF or CR
// CR LF; the last line is read whether or not a line end follows it, and
// empty lines at the end are ignored, as are a UTF-8 byte-order mark and a
// last column that is empty in every line (a TAB ending every line). Cells
// are numbers with "." or a single "," as decimal point, one of the two for
// the whole table: a table that uses both is refused, since "1,234" beside
// "1.5" may as well be a thousand as a decimal.
//
// A table the reader cannot take comes back with Loaded false, FileKey 0 and
// a short reason in RefusalReason, naming the line and column at fault.
#include <string>
#include <string_view>

#include "core/FileRecord.h"

namespace qv {

struct TxtReadResult {
    FileRecord Record;
    // A tab-separated copy of the table for the clipboard (empty when the
    // table was refused). The opening code puts it there, replacing the
    // clipboard's text; the reader never touches the clipboard.
    std::string ClipboardText;
};

// Uses g.MaxPopulations and g.MaxDefinitions as they stand.
TxtReadResult ReadTxtFile(const std::string& path);
// The same from bytes already in memory; `path` only names the file.
TxtReadResult ReadTxtData(std::string_view bytes, const std::string& path);
// The same, the event lines cut into `runs` runs of about equal size that
// are read side by side (ReadTxtData takes one a core for a large table).
// The result never depends on the cut.
TxtReadResult ReadTxtDataInRuns(std::string_view bytes, const std::string& path, size_t runs);

}  // namespace qv
