#include "core/FcsReader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "core/Numbers.h"
#include "core/ParameterName.h"
#include "core/RegularFile.h"
#include "core/SharedState.h"
#include "core/TextUtil.h"
#include "core/VectorState.h"

namespace qv {

std::string LoadErrorMessage(const FileRecord& refused) {
    std::string message = LoadErrorText;
    if (!refused.RefusalReason.empty()) message += "\n" + refused.RefusalReason;
    return message;
}

// ---------------------------------------------------------------------------
// Keyword search

namespace {

enum class AtomKind { Literal, Any, NonWhite, White, Digit, NonDigit, Word, NonWord };

struct Atom {
    AtomKind Kind = AtomKind::Literal;
    char Ch = 0;
};

bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isWord(char c) { return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }

bool atomMatches(const Atom& a, char c) {
    switch (a.Kind) {
    case AtomKind::Literal: return c == a.Ch;
    case AtomKind::Any: return c != '\n';
    case AtomKind::NonWhite: return !isWhite(c);
    case AtomKind::White: return isWhite(c);
    case AtomKind::Digit: return isDigit(c);
    case AtomKind::NonDigit: return !isDigit(c);
    case AtomKind::Word: return isWord(c);
    case AtomKind::NonWord: return !isWord(c);
    }
    return false;
}

struct Pattern {
    std::vector<Atom> Before, After;
    bool HasGroup = false;
    Atom Group;
    size_t GroupMin = 1;
    bool Lazy = true;
};

// One atom at p[i]; false for a character that has a meaning this matcher
// does not give it (anchors, classes, alternation, counted repeats, ...).
bool readAtom(std::string_view p, size_t& i, Atom& a) {
    if (i >= p.size()) return false;
    const char c = p[i];
    if (std::strchr("()+*?[]{}|^$", c) != nullptr) return false;
    ++i;
    if (c == '.') { a = {AtomKind::Any, 0}; return true; }
    if (c != '\\') { a = {AtomKind::Literal, c}; return true; }
    if (i >= p.size()) return false;
    const char e = p[i++];
    switch (e) {
    case 'S': a = {AtomKind::NonWhite, 0}; return true;
    case 's': a = {AtomKind::White, 0}; return true;
    case 'd': a = {AtomKind::Digit, 0}; return true;
    case 'D': a = {AtomKind::NonDigit, 0}; return true;
    case 'w': a = {AtomKind::Word, 0}; return true;
    case 'W': a = {AtomKind::NonWord, 0}; return true;
    case 'f': a = {AtomKind::Literal, '\f'}; return true;
    case 'n': a = {AtomKind::Literal, '\n'}; return true;
    case 'r': a = {AtomKind::Literal, '\r'}; return true;
    case 't': a = {AtomKind::Literal, '\t'}; return true;
    case 'v': a = {AtomKind::Literal, '\v'}; return true;
    case 'b': case 'B': case 'x': case 'u': case 'c':
        return false;
    default:
        if (isDigit(e)) return false;  // back references
        a = {AtomKind::Literal, e};
        return true;
    }
}

bool parsePattern(std::string_view p, Pattern& out) {
    size_t i = 0;
    while (i < p.size()) {
        if (p[i] == '(') {
            if (out.HasGroup) return false;
            ++i;
            if (!readAtom(p, i, out.Group) || i >= p.size()) return false;
            if (p[i] == '+') out.GroupMin = 1;
            else if (p[i] == '*') out.GroupMin = 0;
            else return false;
            ++i;
            out.Lazy = i < p.size() && p[i] == '?';
            if (out.Lazy) ++i;
            if (i >= p.size() || p[i] != ')') return false;
            ++i;
            out.HasGroup = true;
            continue;
        }
        Atom a;
        if (!readAtom(p, i, a)) return false;
        (out.HasGroup ? out.After : out.Before).push_back(a);
    }
    return true;
}

bool atomsMatchAt(const std::vector<Atom>& atoms, std::string_view t, size_t pos) {
    if (pos > t.size() || atoms.size() > t.size() - pos) return false;
    for (size_t k = 0; k < atoms.size(); ++k)
        if (!atomMatches(atoms[k], t[pos + k])) return false;
    return true;
}

}  // namespace

std::string RegexFirstSubmatch(std::string_view pattern, std::string_view text) {
    Pattern pat;
    if (!parsePattern(pattern, pat) || !pat.HasGroup) return {};
    const size_t nBefore = pat.Before.size();
    for (size_t start = 0; start + nBefore <= text.size(); ++start) {
        if (!atomsMatchAt(pat.Before, text, start)) continue;
        const size_t g = start + nBefore;
        if (pat.Lazy) {
            for (size_t len = 0;; ++len) {
                if (len >= pat.GroupMin && atomsMatchAt(pat.After, text, g + len))
                    return std::string(text.substr(g, len));
                if (g + len >= text.size() || !atomMatches(pat.Group, text[g + len])) break;
            }
        } else {
            size_t longest = 0;
            while (g + longest < text.size() && atomMatches(pat.Group, text[g + longest])) ++longest;
            for (size_t len = longest + 1; len-- > pat.GroupMin;)
                if (atomsMatchAt(pat.After, text, g + len)) return std::string(text.substr(g, len));
        }
    }
    return {};
}

namespace {

bool isTrailingBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; }

}  // namespace

FcsTextPairs::FcsTextPairs(std::string_view t) : text_(t) {
    if (t.empty()) return;
    const char d = t[0];
    delimiter_ = d;
    // A TEXT no larger than the largest file the reader opens fits the offsets.
    if (t.size() > std::numeric_limits<uint32_t>::max()) return;
    // Every pair takes at least two delimiters: room for all is set aside
    // once, so the offsets never grow by copying.
    valueBounds_.reserve((static_cast<size_t>(std::count(t.begin(), t.end(), d)) / 2 + 1) * 2);
    const auto addPair = [this](size_t valueBegin, size_t valueEnd) {
        valueBounds_.push_back(static_cast<uint32_t>(valueBegin));
        valueBounds_.push_back(static_cast<uint32_t>(valueEnd));
    };
    // Escaped delimiters at the very start belong to the first keyword, and
    // tell how this writer places them (see the header).
    size_t i = 1;
    while (i + 1 < t.size() && t[i] == d && t[i + 1] == d) i += 2;
    const bool escapesLead = i > 1;
    bool inKey = true;
    size_t valueBegin = 0;
    while (i < t.size()) {
        const char* next = static_cast<const char*>(std::memchr(t.data() + i, d, t.size() - i));
        if (next == nullptr) break;
        i = static_cast<size_t>(next - t.data());
        size_t runEnd = i + 1;
        while (runEnd < t.size() && t[runEnd] == d) ++runEnd;
        const size_t run = runEnd - i;
        if (inKey && run % 2 == 1) {
            // The keyword ends; the escapes of the run end it or begin the value.
            valueBegin = (escapesLead ? i : runEnd - 1) + 1;
            inKey = false;
        } else if (inKey) {
            // The keyword ends and an empty value follows it.
            const size_t close = escapesLead ? i : runEnd - 2;
            addPair(close + 1, close + 1);
        } else if (run % 2 == 1) {
            const size_t close = escapesLead ? i : runEnd - 1;
            addPair(valueBegin, close);
            inKey = true;
        }
        i = runEnd;
    }
    if (!inKey) {
        size_t end = t.size();
        while (end > valueBegin && isTrailingBlank(t[end - 1])) --end;
        addPair(valueBegin, end);
    }
}

std::string_view FcsTextPairs::rawKey(size_t i) const {
    const size_t begin = i == 0 ? 1 : valueBounds_[2 * i - 1] + size_t{1};
    const size_t end = valueBounds_[2 * i] - size_t{1};
    return text_.substr(begin, end - begin);
}

std::string_view FcsTextPairs::rawValue(size_t i) const {
    const size_t begin = valueBounds_[2 * i];
    return text_.substr(begin, valueBounds_[2 * i + 1] - begin);
}

FcsTextPairs SplitFcsText(std::string_view textSegment) { return FcsTextPairs(textSegment); }

std::string UnescapeFcsText(std::string_view raw, char delimiter) {
    std::string out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        out += raw[i];
        if (raw[i] == delimiter) ++i;  // the second of the pair
    }
    return out;
}

namespace {

// A value the keyword search takes: one character or more, no line feed.
bool isKeywordValue(std::string_view value) { return !value.empty() && value.find('\n') == std::string_view::npos; }

// The keyword of pair i with its escapes undone; `buffer` holds it when it
// has any.
std::string_view keyOf(const FcsTextPairs& pairs, size_t i, std::string& buffer) {
    const std::string_view raw = pairs.rawKey(i);
    if (raw.find(pairs.delimiter()) == std::string_view::npos) return raw;
    buffer = UnescapeFcsText(raw, pairs.delimiter());
    return buffer;
}

// A search text names a keyword when it takes the whole keyword; a search
// text that does not begin with "$" also takes a keyword that has one more
// "$" in front ("P1E" is the "$P1E" of FCS 3.0, as "P1DISPLAY" finds both
// spellings of the display mark).
bool keyMatches(const std::vector<Atom>& search, std::string_view key) {
    if (search.size() == key.size() && atomsMatchAt(search, key, 0)) return true;
    const bool searchHasDollar = !search.empty() && search[0].Kind == AtomKind::Literal && search[0].Ch == '$';
    return !searchHasDollar && !key.empty() && key[0] == '$' && search.size() == key.size() - 1 &&
           atomsMatchAt(search, key, 1);
}

}  // namespace

std::string FcsKeywordValue(const FcsTextPairs& pairs, std::string_view searchText) {
    std::vector<Atom> search;
    for (size_t i = 0; i < searchText.size();) {
        Atom a;
        if (!readAtom(searchText, i, a)) return {};
        search.push_back(a);
    }
    std::string buffer;
    for (size_t i = 0; i < pairs.size(); ++i) {
        // A keyword of another length can match only through its escapes.
        const std::string_view raw = pairs.rawKey(i);
        if (raw.size() < search.size()) continue;
        if (raw.size() > search.size() + 1 && raw.find(pairs.delimiter()) == std::string_view::npos) continue;
        const std::string_view value = pairs.rawValue(i);
        if (isKeywordValue(value) && keyMatches(search, keyOf(pairs, i, buffer)))
            return UnescapeFcsText(value, pairs.delimiter());
    }
    return {};
}

std::string FcsKeywordValue(std::string_view textSegment, std::string_view searchText) {
    return FcsKeywordValue(SplitFcsText(textSegment), searchText);
}

FcsParameterKeywords FindFcsParameterKeywords(const FcsTextPairs& pairs, int32_t count) {
    FcsParameterKeywords k;
    const size_t slots = count > 0 ? static_cast<size_t>(count) + 1 : 1;
    k.Name.assign(slots, {});
    k.Range.assign(slots, {});
    k.Bits.assign(slots, {});
    k.Exponent.assign(slots, {});
    k.Display.assign(slots, {});

    // Each keyword is read once, in order: "$P", the number without a leading
    // zero, and "N", "R" or "B"; "E" and "DISPLAY" with or without the "$".
    std::string buffer;
    for (size_t i = 0; i < pairs.size(); ++i) {
        const std::string_view value = pairs.rawValue(i);
        if (!isKeywordValue(value)) continue;
        std::string_view key = keyOf(pairs, i, buffer);
        const bool dollar = key.starts_with('$');
        if (dollar) key.remove_prefix(1);
        if (!key.starts_with('P')) continue;
        key.remove_prefix(1);
        size_t digits = 0;
        while (digits < key.size() && isDigit(key[digits])) ++digits;
        if (digits == 0 || digits > 10 || key[0] == '0') continue;
        const std::string_view suffix = key.substr(digits);
        std::vector<std::string>* list = nullptr;
        if (dollar && suffix == "N") list = &k.Name;
        else if (dollar && suffix == "R") list = &k.Range;
        else if (dollar && suffix == "B") list = &k.Bits;
        else if (suffix == "E") list = &k.Exponent;
        else if (suffix == "DISPLAY") list = &k.Display;
        if (list == nullptr) continue;
        int64_t n = 0;
        for (size_t d = 0; d < digits; ++d) n = n * 10 + (key[d] - '0');
        if (n > count) continue;
        // The first of them counts; a value is never empty.
        std::string& slot = (*list)[static_cast<size_t>(n)];
        if (slot.empty()) slot = UnescapeFcsText(value, pairs.delimiter());
    }
    return k;
}

// ---------------------------------------------------------------------------
// Reader

namespace {

constexpr size_t HeaderLength = 58;

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The number of a keyword value. Empty text gives "missing"; anything but
// one number (blanks around it allowed) gives an error.
std::optional<double> keywordNumber(std::string_view value, const std::string& what, std::string& problem) {
    if (value.empty()) {
        problem = what + " is missing";
        return std::nullopt;
    }
    const std::optional<double> v = ParseNumber(value);
    if (!v) problem = what + " is not a number";
    return v;
}

// A whole-number keyword value, rounded to 32 bits.
bool wholeNumber(std::string_view value, const std::string& what, int32_t& out, std::string& problem) {
    const std::optional<double> v = keywordNumber(value, what, problem);
    if (!v) return false;
    try {
        out = CLng(*v);
    } catch (const std::overflow_error&) {
        problem = what + " is out of range";
        return false;
    }
    return true;
}

// A $PnR value, taken as wholeNumber takes it, except that a range above
// the largest the record keeps is held there: 32-bit integer files declare
// 4294967296. `declared` receives the number as the file gives it.
bool rangeNumber(std::string_view value, const std::string& what, int32_t& out, double& declared,
                 std::string& problem) {
    const std::optional<double> v = keywordNumber(value, what, problem);
    if (!v) return false;
    declared = *v;
    if (*v > std::numeric_limits<int32_t>::max()) {
        out = std::numeric_limits<int32_t>::max();
        return true;
    }
    return wholeNumber(value, what, out, problem);
}

// A count at the start of a SPILL or $COMP value, as a whole number; false
// when it is negative or too large to be meant.
bool listCount(std::string_view element, int32_t& n) {
    try {
        n = CLng(Val(element));
    } catch (const std::overflow_error&) {
        return false;
    }
    return n >= 0;
}

std::vector<std::string_view> splitAtCommas(std::string_view s) { return SplitAt(s, ','); }

// Gives up on a file: the record keeps only the version text and the HEADER
// offsets, so a refused record never carries half-read data.
bool refuse(FileRecord& r, std::string reason) {
    FileRecord kept;
    kept.FcsVersionText = std::move(r.FcsVersionText);
    kept.TextStart = r.TextStart;
    kept.TextEnd = r.TextEnd;
    kept.DataStart = r.DataStart;
    kept.RefusalReason = std::move(reason);
    r = std::move(kept);
    return false;
}

enum class Coding { Float32, UInt16, UInt32 };

inline uint32_t load32(const unsigned char* b, bool little) {
    return little ? (uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24)
                  : (uint32_t{b[3]} | uint32_t{b[2]} << 8 | uint32_t{b[1]} << 16 | uint32_t{b[0]} << 24);
}

template <class Decode>
void decodeEvents(const unsigned char* src, int32_t first, int32_t last, const std::vector<float*>& columns,
                  size_t width, Decode decode) {
    const size_t params = columns.size();
    float* const* cols = columns.data();
    for (int32_t e = first; e <= last; ++e) {
        for (size_t p = 0; p < params; ++p) {
            cols[p][e] = decode(src, p);
            src += width;
        }
    }
}

// Decodes events first..last from src, which holds exactly those events.
// Integers keep only the bits of their parameter's mask (masks[p] for
// columns[p]).
void decodeData(const unsigned char* src, int32_t first, int32_t last, const std::vector<float*>& columns,
                const std::vector<uint32_t>& masks, Coding coding, bool little) {
    const uint32_t* m = masks.data();
    switch (coding) {
    case Coding::Float32:
        if (little)
            decodeEvents(src, first, last, columns, 4, [](const unsigned char* b, size_t) { return std::bit_cast<float>(load32(b, true)); });
        else
            decodeEvents(src, first, last, columns, 4, [](const unsigned char* b, size_t) { return std::bit_cast<float>(load32(b, false)); });
        break;
    case Coding::UInt32:
        if (little)
            decodeEvents(src, first, last, columns, 4, [m](const unsigned char* b, size_t p) { return static_cast<float>(load32(b, true) & m[p]); });
        else
            decodeEvents(src, first, last, columns, 4, [m](const unsigned char* b, size_t p) { return static_cast<float>(load32(b, false) & m[p]); });
        break;
    case Coding::UInt16:
        if (little)
            decodeEvents(src, first, last, columns, 2, [m](const unsigned char* b, size_t p) { return static_cast<float>((b[0] | b[1] << 8) & m[p]); });
        else
            decodeEvents(src, first, last, columns, 2, [m](const unsigned char* b, size_t p) { return static_cast<float>((b[0] << 8 | b[1]) & m[p]); });
        break;
    }
}

// The bits an integer of a parameter with the declared range may use: the
// smallest all-ones mask that covers range - 1, within the value's width.
// Instruments keep flags in the bits above, which are no part of the value.
// A range below 1 says nothing about the bits and masks none.
uint32_t integerMask(double declaredRange, Coding coding) {
    const uint64_t all = coding == Coding::UInt16 ? 0xFFFFu : 0xFFFFFFFFu;
    const double whole = std::nearbyint(declaredRange);
    if (!(whole >= 1)) return static_cast<uint32_t>(all);
    if (whole - 1 >= static_cast<double>(all)) return static_cast<uint32_t>(all);
    const uint64_t top = static_cast<uint64_t>(whole) - 1;
    return static_cast<uint32_t>(std::min(all, std::bit_ceil(top + 1) - 1));
}

// A value for a 32-bit float: beyond the float range, the largest float of
// that sign.
inline float toFloat(double v) {
    constexpr double top = std::numeric_limits<float>::max();
    if (v > top) return std::numeric_limits<float>::max();
    if (v < -top) return -std::numeric_limits<float>::max();
    return static_cast<float>(v);
}

// Log data stored as channels: each value v becomes 10 ^ (v / c). The
// channels of a large 16-bit column go through a table of every value.
// A channel never becomes infinite, whether stored as an integer or as a
// float: a statistic over the column stays a number.
void lineariseLog(float* column, int32_t events, int32_t channelsPerDecade, Coding coding) {
    const double c = channelsPerDecade;
    ClearUpperVectorHalves();  // one power per value
    if (coding == Coding::UInt16 && events > 16384) {
        std::vector<float> table(65536);
        for (size_t k = 0; k < table.size(); ++k) table[k] = toFloat(std::pow(10.0, static_cast<double>(k) / c));
        for (int32_t e = 1; e <= events; ++e) column[e] = table[static_cast<uint32_t>(column[e])];
        return;
    }
    for (int32_t e = 1; e <= events; ++e) column[e] = toFloat(std::pow(10.0, static_cast<double>(column[e]) / c));
}

bool headerNumber(std::string_view bytes, size_t at, int32_t& out) {
    out = 0;
    if (at >= bytes.size()) return true;
    try {
        out = CLng(Val(bytes.substr(at, 8)));
    } catch (const std::overflow_error&) {
        return false;
    }
    return true;
}

// Parses the file and decodes its DATA into PristineData; the working copy
// and the membership table are made afterwards from the record alone.
bool decodeFcs(ByteSource& source, const std::string& path, FileRecord& r) {
    const size_t size = source.size();
    if (size == 0) return refuse(r, "the file is empty");
    std::string bytes(size < HeaderLength ? size : HeaderLength, '\0');
    if (!source.read(0, bytes.size(), bytes.data())) return refuse(r, "the file could not be read");

    // HEADER.
    r.FcsVersionText = std::string(bytes.substr(0, 6));
    const bool textStartOk = headerNumber(bytes, 10, r.TextStart);
    const bool textEndOk = headerNumber(bytes, 18, r.TextEnd);
    const bool dataStartOk = headerNumber(bytes, 26, r.DataStart);
    if (r.FcsVersionText == "FCS3.0") r.VersionNumber = 3;
    else if (r.FcsVersionText == "FCS2.0") r.VersionNumber = 2;
    else if (r.FcsVersionText.starts_with("FCS"))
        return refuse(r, "version " + r.FcsVersionText + " is not supported (only FCS2.0 and FCS3.0)");
    else
        return refuse(r, "the file does not begin with FCS2.0 or FCS3.0");
    if (size < HeaderLength) return refuse(r, "the file is too short to hold an FCS header");
    if (!textStartOk || !textEndOk || !dataStartOk) return refuse(r, "a HEADER offset is out of range");

    // TEXT.
    if (r.TextStart < 0 || r.TextEnd < 0 || static_cast<size_t>(r.TextStart) >= size ||
        static_cast<size_t>(r.TextEnd) >= size)
        return refuse(r, "the TEXT segment lies outside the file");
    if (r.TextEnd < r.TextStart) return refuse(r, "the TEXT segment ends before it starts");
    r.TextSegment.assign(static_cast<size_t>(r.TextEnd - r.TextStart) + 1, '\0');
    if (!source.read(static_cast<size_t>(r.TextStart), r.TextSegment.size(), r.TextSegment.data()))
        return refuse(r, "the file could not be read");
    const std::string_view text = r.TextSegment;
    const FcsTextPairs pairs = SplitFcsText(text);
    const auto keyword = [&pairs](std::string_view searchText) { return FcsKeywordValue(pairs, searchText); };

    SplitPath(path, r.Folder, r.FileName);

    // Keywords of the file as a whole.
    int32_t total = 0;
    std::string problem;
    if (!wholeNumber(trimBlanks(keyword("\\$TOT")), "$TOT", total, problem)) return refuse(r, problem);
    if (total < 0) return refuse(r, "$TOT is negative");
    r.DataType = keyword("\\$DATATYPE");
    int32_t P = 0;
    if (!wholeNumber(keyword("\\$PAR"), "$PAR", P, problem)) return refuse(r, problem);
    if (P < 1) return refuse(r, "$PAR is below 1");
    // Every parameter needs at least its own $PnR and $PnB pairs in the TEXT
    // ("$P1R/1/$P1B/8/" is twelve characters), so a larger count is not
    // believed and sizes nothing.
    if (static_cast<size_t>(P) > text.size() / 12) return refuse(r, "$PAR is larger than the file can hold");
    if (P > MaxReadableParameters)
        return refuse(r, "more than " + std::to_string(MaxReadableParameters) + " parameters are not supported");
    r.ParameterCount = P;
    r.ByteOrder = keyword("\\$BYTEORD");
    r.Comment = keyword("\\$COM");
    r.SampleId = keyword("\\SAMPLE ID");
    r.BeginTime = keyword("\\$BTIM");
    r.EndTime = keyword("\\$ETIM");
    r.Cytometer = keyword("\\$CYT");

    // Parameters.
    const FcsParameterKeywords keys = FindFcsParameterKeywords(pairs, P);
    // These instruments store log data as 256 channels per decade over 0..1023.
    const bool fixedDecades = (r.Cytometer == "LSRII" && r.VersionNumber == 2) || r.Cytometer == "FACScan" ||
                              r.Cytometer == "FACSCalibur";
    r.Parameters.assign(static_cast<size_t>(P) + 1, ParameterInfo{});
    std::vector<double> declaredRanges(static_cast<size_t>(P) + 1, 0.0);
    for (int32_t n = 1; n <= P; ++n) {
        ParameterInfo& info = r.Parameters[static_cast<size_t>(n)];
        const std::string number = std::to_string(n);
        info.Name = ParameterNameOrDefault(keys.Name[static_cast<size_t>(n)], n);
        if (!rangeNumber(keys.Range[static_cast<size_t>(n)], "$P" + number + "R", info.Range,
                         declaredRanges[static_cast<size_t>(n)], problem))
            return refuse(r, problem);
        if (keys.Bits[static_cast<size_t>(n)].empty()) return refuse(r, "$P" + number + "B is missing");
        int16_t bits = 0;
        try {
            bits = CInt(Val(keys.Bits[static_cast<size_t>(n)]));
        } catch (const std::overflow_error&) {
            return refuse(r, "$P" + number + "B is out of range");
        }
        if (n > 1 && bits != r.BitsPerValue) return refuse(r, "$PnB differs between parameters");
        r.BitsPerValue = bits;
        info.IsLog = keys.Exponent[static_cast<size_t>(n)].find('4') != std::string_view::npos;
        if (info.IsLog && fixedDecades) info.Range = 10000;
        if (info.IsLog && !fixedDecades && info.Range < 2)
            return refuse(r, "parameter " + number + " is logarithmic with a range below 2");
    }

    // How the values are stored.
    const std::string_view dataType = trimBlanks(r.DataType);
    const std::string_view byteOrder = trimBlanks(r.ByteOrder);
    Coding coding = Coding::Float32;
    if (dataType == "F") {
        if (r.BitsPerValue != 32)
            return refuse(r, std::to_string(r.BitsPerValue) + "-bit floats are not supported");
    } else if (dataType == "I") {
        if (r.BitsPerValue == 16) coding = Coding::UInt16;
        else if (r.BitsPerValue == 32) coding = Coding::UInt32;
        else return refuse(r, std::to_string(r.BitsPerValue) + "-bit integers are not supported");
    } else {
        return refuse(r, "data type \"" + r.DataType + "\" is not supported");
    }
    bool little = false;
    if (byteOrder == "1,2,3,4" || byteOrder == "1,2") little = true;
    else if (byteOrder == "4,3,2,1" || byteOrder == "2,1") little = false;
    else return refuse(r, "byte order \"" + r.ByteOrder + "\" is not supported");

    // Compensation.
    r.CompensationMatrix.resize(P, P);
    r.CompensationOn = false;
    if (keyword("\\APPLY COMPENSATION") == "TRUE") {
        r.CompensationOn = true;
        const std::string spill = keyword("\\SPILL");
        const std::vector<std::string_view> el = splitAtCommas(spill);
        int32_t n = 0;
        if (!listCount(el[0], n)) return refuse(r, "SPILL has no valid count");
        if (n > 100) return refuse(r, "SPILL names more than 100 parameters");
        if (el.size() < 1 + static_cast<size_t>(n) + static_cast<size_t>(n) * static_cast<size_t>(n))
            return refuse(r, "SPILL is shorter than its count");
        std::vector<int32_t> map(static_cast<size_t>(n) + 1, 0);
        for (int32_t i = 1; i <= n; ++i)
            for (int32_t p = 1; p <= P; ++p)
                if (r.Parameters[static_cast<size_t>(p)].Name == el[static_cast<size_t>(i)])
                    map[static_cast<size_t>(i)] = p;
        for (int32_t i = 1; i <= n; ++i) {
            for (int32_t j = 1; j <= n; ++j) {
                const double v = Val(el[static_cast<size_t>(i * n + j)]);
                const int32_t row = map[static_cast<size_t>(i)], col = map[static_cast<size_t>(j)];
                // The diagonal (1) is not a share; unnamed parameters have no row or column.
                if (v < 1 && row != 0 && col != 0) r.CompensationMatrix(row, col) = static_cast<float>(v);
            }
        }
    }
    const std::string comp = keyword("\\$COMP");
    if (!comp.empty()) {
        r.CompensationOn = true;
        const std::vector<std::string_view> el = splitAtCommas(comp);
        int32_t n = 0;
        if (!listCount(el[0], n)) return refuse(r, "$COMP has no valid count");
        if (n > P) return refuse(r, "$COMP has more rows than the file has parameters");
        if (el.size() < 1 + static_cast<size_t>(n) * static_cast<size_t>(n))
            return refuse(r, "$COMP is shorter than its count");
        size_t k = 1;
        for (int32_t i = 1; i <= n; ++i)
            for (int32_t j = 1; j <= n; ++j)
                r.CompensationMatrix(i, j) = static_cast<float>(-(Val(el[k++]) / 100.0));
    }

    // DATA. Files too large for the HEADER's eight digits put 0 (or all
    // nines) there and give the offsets as keywords.
    size_t dataBegin = 0, dataEnd = size;
    if (r.DataStart == 0 || r.DataStart == 99999999) {
        int32_t begin = 0;
        if (!wholeNumber(keyword("\\$BEGINDATA"), "$BEGINDATA", begin, problem))
            return refuse(r, problem);
        if (begin < 0 || static_cast<size_t>(begin) > size) return refuse(r, "the DATA segment lies outside the file");
        int32_t end = 0;
        const std::string endText = keyword("\\$ENDDATA");
        if (!endText.empty()) {
            if (!wholeNumber(endText, "$ENDDATA", end, problem)) return refuse(r, problem);
            if (end < begin - 1) return refuse(r, "the DATA segment ends before it starts");
            if (static_cast<size_t>(end) < size) dataEnd = static_cast<size_t>(end) + 1;
        }
        r.DataStart = begin;
        dataBegin = static_cast<size_t>(begin);
    } else {
        if (r.DataStart < 0 || static_cast<size_t>(r.DataStart) > size)
            return refuse(r, "the DATA segment lies outside the file");
        dataBegin = static_cast<size_t>(r.DataStart);
    }

    // Only whole events are taken: a DATA segment cut short gives fewer.
    const size_t valueBytes = static_cast<size_t>(r.BitsPerValue) / 8;
    const size_t eventBytes = valueBytes * static_cast<size_t>(P);
    const size_t completeEvents = (dataEnd - dataBegin) / eventBytes;
    int32_t events = total;
    if (events > g.MaxEventsLoaded) events = g.MaxEventsLoaded < 0 ? 0 : g.MaxEventsLoaded;
    if (static_cast<size_t>(events) > completeEvents) events = static_cast<int32_t>(completeEvents);
    r.EventCount = events;
    r.EventsLoaded = events;

    // Every element is written below: index 0 here, the events by the decoding.
    r.PristineData.resizeForOverwrite(events, P);
    std::fill_n(r.PristineData.column(0), r.PristineData.stride(), 0.0f);
    for (int32_t p = 1; p <= P; ++p) r.PristineData(0, p) = 0.0f;
    std::vector<float*> columns(static_cast<size_t>(P));
    std::vector<uint32_t> masks(static_cast<size_t>(P));
    for (int32_t p = 1; p <= P; ++p) {
        columns[static_cast<size_t>(p - 1)] = r.PristineData.column(p);
        masks[static_cast<size_t>(p - 1)] = integerMask(declaredRanges[static_cast<size_t>(p)], coding);
    }
    // DATA is read in blocks of whole events, about a megabyte each.
    const int32_t blockEvents = static_cast<int32_t>(std::max<size_t>(1, (size_t{1} << 20) / eventBytes));
    std::vector<char> block;
    for (int32_t first = 1; first <= events; first += blockEvents) {
        const int32_t last = std::min(events, first + blockEvents - 1);
        const size_t length = static_cast<size_t>(last - first + 1) * eventBytes;
        block.resize(length);
        if (!source.read(dataBegin + static_cast<size_t>(first - 1) * eventBytes, length, block.data()))
            return refuse(r, "the file could not be read");
        decodeData(reinterpret_cast<const unsigned char*>(block.data()), first, last, columns, masks, coding, little);
    }

    for (int32_t p = 1; p <= P; ++p) {
        const ParameterInfo& info = r.Parameters[static_cast<size_t>(p)];
        if (!info.IsLog) continue;
        const int32_t c = fixedDecades ? 256 : CLng(info.Range / std::log10(static_cast<double>(info.Range)));
        lineariseLog(r.PristineData.column(p), events, c, coding);
    }

    // Display marks change the axis only, never the values.
    for (int32_t p = 1; p <= P; ++p) {
        const std::string_view display = keys.Display[static_cast<size_t>(p)];
        if (display == "LOG") r.Parameters[static_cast<size_t>(p)].IsLog = true;
        else if (display == "LIN") r.Parameters[static_cast<size_t>(p)].IsLog = false;
    }

    std::string keyBytes(std::min(size, FileKeyBytes), '\0');
    if (!source.read(0, keyBytes.size(), keyBytes.data())) return refuse(r, "the file could not be read");
    r.FileKey = ComputeFileKeyOfData(keyBytes);
    r.Loaded = true;
    return true;
}

void finishRecord(FileRecord& r) {
    r.WorkingData.resizeForOverwrite(r.PristineData.maxEvent(), r.PristineData.maxColumn());
    std::memcpy(r.WorkingData.raw().data(), r.PristineData.raw().data(), sizeof(float) * r.PristineData.raw().size());
    r.Membership.resize(r.EventCount, g.MaxPopulations + g.MaxDefinitions);
}

}  // namespace

FileRecord ReadFcsData(std::string_view bytes, const std::string& path) {
    FileRecord r;
    MemorySource source(bytes);
    if (decodeFcs(source, path, r)) finishRecord(r);
    return r;
}

FileRecord ReadFcsFile(const std::string& path) {
    FileRecord r;
    FileSource source;
    std::string reason;
    if (!source.open(path, reason)) {
        refuse(r, reason);
        return r;
    }
    if (decodeFcs(source, path, r)) finishRecord(r);
    return r;
}

namespace {

// The first six bytes of a regular file; empty when it has fewer or is no
// regular file.
std::string headOf(const std::string& path) {
    const RegularFile file(path);
    std::string head(6, '\0');
    if (!file.isOpen() || ReadFromFile(file.fd(), head.data(), head.size()) != 6) return {};
    return head;
}

}  // namespace

bool IsFcsFile(const std::string& path) {
    const std::string version = headOf(path);
    return version == "FCS3.0" || version == "FCS2.0";
}

bool HasFcsHeader(const std::string& path) {
    const std::string head = headOf(path);
    return head.size() == 6 && head.compare(0, 3, "FCS") == 0 && isDigit(head[3]) && head[4] == '.' &&
           isDigit(head[5]);
}

}  // namespace qv
