#pragma once
// Reader of FCS 2.0 and FCS 3.0 list-mode files.
//
// The HEADER and the TEXT segment are read first; the TEXT is kept with
// every delimiter replaced by character 12 and keywords are looked up in it
// by their search texts. The DATA segment is then read in blocks of whole
// events and decoded straight into the record's flat event matrices, so the
// file itself is never held in memory whole. The reader does not compensate: the opening code copies the
// record into its FileTable slot and applies compensation there.
//
// A file the reader cannot take comes back with Loaded false, FileKey 0 and a
// short reason in RefusalReason; such a record holds nothing else but the
// version text and the HEADER offsets.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/FileKey.h"
#include "core/FileRecord.h"

namespace qv {

// How the opening code reports a refused file (either reader).
inline constexpr const char* LoadErrorTitle = "Load error";
inline constexpr const char* LoadErrorText = "The file was not valid flow cytometry file";
// LoadErrorText, and the record's refusal reason on a second line when it has one.
std::string LoadErrorMessage(const FileRecord& refused);

// Reads the FCS file at `path`. Uses g.MaxEventsLoaded, g.MaxPopulations and
// g.MaxDefinitions as they stand.
FileRecord ReadFcsFile(const std::string& path);
// The same from bytes already in memory; `path` only names the file.
FileRecord ReadFcsData(std::string_view bytes, const std::string& path);

// True when the file is at least 6 bytes long and begins "FCS3.0" or "FCS2.0".
bool IsFcsFile(const std::string& path);
// True when the file begins with an FCS header of any version ("FCS", a
// digit, "." and a digit), also one this reader refuses ("FCS3.1").
bool HasFcsHeader(const std::string& path);

// The first group of the leftmost match of `pattern` in `text`, or "" when
// nothing matches. Case-sensitive; "." matches any character but line feed.
// Handles the pattern shapes the keyword search uses: single-character atoms
// (a literal character, ".", or a backslash escape: \S \s \d \D \w \W for
// their classes, \f \n \r \t for those characters, any other escaped
// character standing for itself) with at most one group of one atom and a
// quantifier (+, *, +?, *?) among them. A pattern outside that shape
// matches nothing.
std::string RegexFirstSubmatch(std::string_view pattern, std::string_view text);

// The value of a keyword in a TEXT segment whose delimiters are character 12:
// the first submatch of the search text, character 12, "(.+?)" and character
// 12. The search text is in the pattern form above ("\$TOT", "\SAMPLE ID").
std::string FcsKeywordValue(std::string_view textSegment, std::string_view searchText);

// The per-parameter keywords of parameters 1..count, found in one pass over
// a TEXT segment: element n of each list holds what FcsKeywordValue would
// give for the search text "\$P" n "N" (Name), "\$P" n "R" (Range),
// "\$P" n "B" (Bits), "P" n "E" (Exponent) and "P" n "DISPLAY" (Display);
// element 0 is empty. The views point into textSegment.
struct FcsParameterKeywords {
    std::vector<std::string_view> Name, Range, Bits, Exponent, Display;
};
FcsParameterKeywords FindFcsParameterKeywords(std::string_view textSegment, int32_t count);

}  // namespace qv
