#pragma once
// Reader of FCS 2.0 and FCS 3.0 list-mode files.
//
// The HEADER and the TEXT segment are read first; the TEXT is kept as the
// file holds it, split into keyword-value pairs with its own delimiter, and
// keywords are looked up among the pairs by their search texts. The DATA
// segment is then read in blocks of whole events and decoded straight into
// the record's flat event matrices, so the file itself is never held in
// memory whole. An integer keeps only the bits its $PnR needs. The reader
// does not compensate: the opening code copies the record into its
// FileTable slot and applies compensation there.
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
// Handles these pattern shapes, whose atoms the keyword search's texts use
// too: single-character atoms
// (a literal character, ".", or a backslash escape: \S \s \d \D \w \W for
// their classes, \f \n \r \t for those characters, any other escaped
// character standing for itself) with at most one group of one atom and a
// quantifier (+, *, +?, *?) among them. A pattern outside that shape
// matches nothing.
std::string RegexFirstSubmatch(std::string_view pattern, std::string_view text);

// The TEXT segment as keyword-value pairs, in order, split in one pass with
// the segment's own delimiter (its first byte). A run of delimiters is read
// as FCS writers escape them: inside a value a doubled delimiter is an
// escaped one; after a keyword's text a doubled delimiter ends the keyword
// and stands for an empty value (FCS 2.0 instruments write those, so a
// keyword cannot hold an escaped delimiter between two of its characters);
// a single delimiter ends the keyword or value. Escaped delimiters in a run that also
// ends its keyword or value belong to that keyword or value, except in a
// TEXT whose first keyword begins with an escaped delimiter (a writer whose
// keywords begin with the delimiter character): there they begin the next
// one. A last value no delimiter closes is kept without its trailing blanks;
// a last keyword without a value is dropped. The pairs are held as offsets
// into the segment, which must outlive them; keys and values come back as
// they stand, escapes included (UnescapeFcsText undoes them).
class FcsTextPairs {
public:
    explicit FcsTextPairs(std::string_view textSegment);
    size_t size() const { return valueBounds_.size() / 2; }
    bool empty() const { return valueBounds_.empty(); }
    char delimiter() const { return delimiter_; }
    std::string_view rawKey(size_t i) const;
    std::string_view rawValue(size_t i) const;

private:
    std::string_view text_;
    char delimiter_ = 0;
    // For each pair the offset of its value's first byte and one past its
    // last; a keyword ends right before its value's offset and the next one
    // begins right after the delimiter that closes the value.
    std::vector<uint32_t> valueBounds_;
};
FcsTextPairs SplitFcsText(std::string_view textSegment);

// A keyword or value with each escaped (doubled) delimiter made one.
std::string UnescapeFcsText(std::string_view raw, char delimiter);

// The value of a keyword: the first pair whose keyword the search text takes
// whole and whose value is one character or more without a line feed; ""
// when there is none. So a keyword's text inside a value or inside a longer
// keyword is never taken for the keyword. The search text is in the pattern
// form above ("\$TOT", "\SAMPLE ID"); one that does not begin with "$" also
// takes the keyword with a "$" in front ("P1E" finds "$P1E"). Keyword and
// value are compared and given with their escapes undone.
std::string FcsKeywordValue(const FcsTextPairs& pairs, std::string_view searchText);
std::string FcsKeywordValue(std::string_view textSegment, std::string_view searchText);

// The per-parameter keywords of parameters 1..count, found in one pass over
// the pairs: element n of each list holds what FcsKeywordValue would give
// for the search text "\$P" n "N" (Name), "\$P" n "R" (Range), "\$P" n "B"
// (Bits), "P" n "E" (Exponent) and "P" n "DISPLAY" (Display); element 0 is
// empty.
struct FcsParameterKeywords {
    std::vector<std::string> Name, Range, Bits, Exponent, Display;
};
FcsParameterKeywords FindFcsParameterKeywords(const FcsTextPairs& pairs, int32_t count);
FcsParameterKeywords FindFcsParameterKeywords(std::string_view textSegment, int32_t count);

}  // namespace qv
