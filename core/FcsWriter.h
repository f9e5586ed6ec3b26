#pragma once
// Writer of FCS 3.0 list-mode files: a loaded file's events in use, as
// big-endian 32-bit floats, with its names, ranges, display marks, times,
// comment, sample ID and compensation.
//
// The usual file has a fixed layout: HEADER 0..255, TEXT 256..2999 padded
// with blanks, DATA from 3000. A TEXT too long for that room pushes the DATA
// to right after it, and a DATA segment whose end does not fit the HEADER's
// eight digits gets 0 for both DATA offsets there; $BEGINDATA and $ENDDATA
// always say where the DATA lies. This code builds bytes only; the caller
// writes them to disk.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/FileRecord.h"

namespace qv {

inline constexpr int64_t FcsFixedDataStart = 3000;
inline constexpr int64_t FcsHeaderLength = 256;
// The largest offset the HEADER's eight characters hold.
inline constexpr int64_t FcsHeaderOffsetLimit = 99999999;

// A compensation coefficient c as this program stores it in $COMP: -100 x c
// as the shortest decimal text that the reader turns back into c, "0" for
// zero.
std::string FcsCompValueText(float coefficient);

// The keyword-value pairs of the TEXT in the order they are written, for a
// file whose DATA spans dataStart..dataEnd. Parameters and events are those
// in use (ParameterCount, EventCount).
std::vector<std::pair<std::string, std::string>> FcsKeywords(const FileRecord& file, std::string_view versionText,
                                                             int64_t dataStart, int64_t dataEnd);

// "\" unless a keyword or value contains it; then the first byte of a fixed
// list of candidates that none contains (readers take the TEXT's first byte
// as its delimiter).
char ChooseFcsDelimiter(const std::vector<std::pair<std::string, std::string>>& keywords);

// The TEXT segment: the delimiter, then each keyword and value, each
// followed by the delimiter.
std::string FcsTextSegment(const std::vector<std::pair<std::string, std::string>>& keywords, char delimiter);

struct FcsFileLayout {
    std::string Head;       // HEADER and TEXT: the bytes 0 .. DataStart - 1
    int64_t DataStart = 0;  // offset of the first DATA byte
    int64_t DataEnd = 0;    // offset of the last DATA byte (DataStart - 1 when empty)
    char Delimiter = '\\';
};

// The HEADER and TEXT of `file` and where its DATA goes. Reads no event
// values, so it serves for any event count.
FcsFileLayout LayoutFcsFile(const FileRecord& file, std::string_view versionText);

// The DATA bytes of events first..last (1-based, within EventCount) appended
// to `out`: for each event the P values of PristineData, most significant
// byte first. Values the matrix does not hold are written as 0.
void AppendFcsEvents(const FileRecord& file, int32_t first, int32_t last, std::string& out);

// Why this program's reader would refuse the file LayoutFcsFile and
// AppendFcsEvents make of `file` (no parameters, more parameters than it
// takes, more bytes than it opens, no delimiter left that the names and
// texts do not hold); "" when the file reads back. Sizes the
// layout from the counts alone, so it serves before anything is written.
std::string FcsWriteRefusal(const FileRecord& file, std::string_view versionText);

// The whole file in memory (tests and small files).
std::string FcsFileBytes(const FileRecord& file, std::string_view versionText);

}  // namespace qv
