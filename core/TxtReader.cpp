#include "core/TxtReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "core/FileKey.h"
#include "core/LargeBlockAllocator.h"
#include "core/Numbers.h"
#include "core/ParallelChunks.h"
#include "core/SharedState.h"

namespace qv {

namespace {

bool refuse(TxtReadResult& result, std::string reason) {
    result = TxtReadResult{};
    result.Record.RefusalReason = std::move(reason);
    return false;
}

bool isNameHeader(std::string_view cell) { return cell == "NAME" || cell == "Name" || cell == "name"; }

std::string lineText(size_t index) { return "line " + std::to_string(index + 1); }
std::string cellText(size_t line, size_t column) { return lineText(line) + ", column " + std::to_string(column + 1); }

// The lines of a text. A line ends at LF, and every CR right before that LF
// (CR LF, CR CR LF) is left out of it; text after the last LF is the last
// line. A UTF-8 byte-order mark at the start is no part of the first line,
// and empty lines at the end are dropped.
std::vector<std::string_view> splitLines(std::string_view bytes) {
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, ByteOrderMark.size()) == ByteOrderMark) bytes.remove_prefix(ByteOrderMark.size());
    std::vector<std::string_view> lines;
    size_t from = 0;
    while (from < bytes.size()) {
        const void* hit = std::memchr(bytes.data() + from, '\n', bytes.size() - from);
        const size_t lf = hit ? static_cast<size_t>(static_cast<const char*>(hit) - bytes.data()) : bytes.size();
        size_t end = lf;
        while (end > from && bytes[end - 1] == '\r') --end;
        lines.push_back(bytes.substr(from, end - from));
        from = lf + 1;
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

// Calls take(index, cell) for the cells of a line, in order, while it
// returns true.
template <class Take>
void forEachCell(std::string_view line, Take take) {
    const char* p = line.data();
    const char* const end = p + line.size();
    for (size_t index = 0;; ++index) {
        // Cells are short: a plain scan beats a library call per cell.
        const char* cellEnd = std::find(p, end, '\t');
        if (!take(index, std::string_view(p, static_cast<size_t>(cellEnd - p))) || cellEnd == end) return;
        p = cellEnd + 1;
    }
}

size_t cellCount(std::string_view line) { return 1 + static_cast<size_t>(std::count(line.begin(), line.end(), '\t')); }

// The columns of the table as its header gives them.
struct Layout {
    size_t first = 0;          // cell of parameter 1 (1 behind a name column)
    size_t parameters = 0;
    bool named = false;
    bool emptyLastColumn = false;  // a last header cell left out as empty in every line
    size_t cellsNeeded() const { return first + parameters; }
};

// A cell's place, ordered as the lines are read.
struct CellPlace {
    size_t line = std::numeric_limits<size_t>::max();
    size_t column = 0;
    bool found() const { return line != std::numeric_limits<size_t>::max(); }
    bool operator<(const CellPlace& o) const { return line != o.line ? line < o.line : column < o.column; }
};

// What reading a run of event lines found: its first fault, and the first
// cell that used each decimal point.
struct LinesRead {
    CellPlace faultAt;
    std::string fault;
    CellPlace firstPoint, firstComma;
    bool lastColumnUsed = false;  // a non-empty cell under the empty last header cell
};

// Reads event lines [from, to) into the record's matrices (or, without a
// record, only checks them); event e is line e, the header line 0. Stops at
// the first fault.
LinesRead readLines(const std::vector<std::string_view>& lines, const Layout& layout, size_t from, size_t to,
                    FileRecord* r) {
    LinesRead out;
    const size_t needed = layout.cellsNeeded();
    for (size_t k = from; k < to && !out.faultAt.found(); ++k) {
        size_t cells = 0;
        const auto e = static_cast<int32_t>(k);
        forEachCell(lines[k], [&](size_t index, std::string_view cell) {
            cells = index + 1;
            if (index >= needed) {
                // Cells beyond the header are not read; under an empty last
                // header cell they must be empty too.
                if (layout.emptyLastColumn && index == needed && !cell.empty()) out.lastColumnUsed = true;
                return false;
            }
            if (index < layout.first) {
                if (r) r->EventNames[k] = std::string(cell);
                return true;
            }
            char point = 0;
            const std::optional<double> v = ParseNumber(cell, point);
            if (!v || std::fabs(*v) > std::numeric_limits<float>::max()) {
                out.faultAt = {k, index};
                out.fault = cellText(k, index) + (v ? " is too large for a 32-bit float" : " is not a number");
                return false;
            }
            CellPlace& first = point == ',' ? out.firstComma : out.firstPoint;
            if (point != 0 && !first.found()) first = {k, index};
            if (r) r->PristineData(e, static_cast<int32_t>(index - layout.first + 1)) = static_cast<float>(*v);
            return true;
        });
        // A line short of cells says so, whatever else is wrong with it.
        if ((out.faultAt.found() || cells < needed) && cellCount(lines[k]) < needed) {
            out.faultAt = {k, 0};
            out.fault = lineText(k) + " has fewer cells than the header";
        }
    }
    return out;
}

// Reads event lines [from, to) over the machine's cores and returns the
// table's first fault: a cell that can't be read, a short line, or the
// first cell whose decimal point differs from the one used before it.
std::optional<std::string> readEventLines(const std::vector<std::string_view>& lines, const Layout& layout,
                                          size_t from, size_t to, FileRecord* r, bool& lastColumnUsed) {
    const size_t count = to - from;
    std::vector<LinesRead> parts(ChunkCount(count, 20000));
    ForEachChunk(count, parts.size(), [&](size_t chunk, size_t first, size_t last) {
        parts[chunk] = readLines(lines, layout, from + first, from + last, r);
    });
    LinesRead all;
    for (LinesRead& part : parts) {
        if (part.faultAt < all.faultAt) {
            all.faultAt = part.faultAt;
            all.fault = std::move(part.fault);
        }
        all.firstPoint = std::min(all.firstPoint, part.firstPoint);
        all.firstComma = std::min(all.firstComma, part.firstComma);
        all.lastColumnUsed = all.lastColumnUsed || part.lastColumnUsed;
    }
    lastColumnUsed = all.lastColumnUsed;
    // "1,234" beside "1.5" may as well be a thousand as a decimal.
    if (all.firstPoint.found() && all.firstComma.found()) {
        const bool commaLater = all.firstPoint < all.firstComma;
        const CellPlace mixed = commaLater ? all.firstComma : all.firstPoint;
        const CellPlace before = commaLater ? all.firstPoint : all.firstComma;
        if (mixed < all.faultAt)
            return cellText(mixed.line, mixed.column) + " uses \"" + (commaLater ? "," : ".") +
                   "\" as decimal point, but " + cellText(before.line, before.column) + " uses \"" +
                   (commaLater ? "." : ",") + "\": the table mixes decimal points";
    }
    if (all.faultAt.found()) return all.fault;
    return std::nullopt;
}

// The tab-separated copy of a read table for the clipboard: lines end with
// TAB LF; a name column adds a header line. The lines are written over the
// machine's cores, each run into a text of its own, then joined.
std::string clipboardText(const FileRecord& r, int32_t events) {
    const int32_t P = r.ParameterCount;
    // Each run of lines is written straight into a buffer sized for its
    // longest possible text, left unset until written.
    using Buffer = std::vector<char, LargeBlockAllocator<char>>;
    struct Part {
        Buffer text;
        size_t length = 0;
    };
    std::vector<Part> parts(ChunkCount(static_cast<size_t>(events), 20000));
    ForEachChunk(static_cast<size_t>(events), parts.size(), [&](size_t chunk, size_t first, size_t last) {
        size_t room = (last - first) * (static_cast<size_t>(P) * (FloatTextRoom + 1) + 2);
        if (r.HasEventNames)
            for (size_t k = first; k < last; ++k) room += r.EventNames[k + 1].size();
        Part& part = parts[chunk];
        part.text.resize(room);
        char* out = part.text.data();
        for (size_t k = first; k < last; ++k) {
            const auto e = static_cast<int32_t>(k + 1);
            if (r.HasEventNames) {
                const std::string& name = r.EventNames[static_cast<size_t>(e)];
                out = std::copy(name.begin(), name.end(), out);
                *out++ = '\t';
            }
            for (int32_t p = 1; p <= P; ++p) {
                out = WriteNumberText(out, r.WorkingData(e, p));
                *out++ = '\t';
            }
            *out++ = '\n';
        }
        part.length = static_cast<size_t>(out - part.text.data());
    });
    std::string clip;
    size_t length = 0;
    for (const Part& part : parts) length += part.length;
    if (r.HasEventNames) {
        for (int32_t p = 1; p <= P; ++p) length += r.Parameters[static_cast<size_t>(p)].Name.size() + 1;
        length += 2;
    }
    clip.reserve(length);
    if (r.HasEventNames) {
        clip += '\t';
        for (int32_t p = 1; p <= P; ++p) {
            clip += r.Parameters[static_cast<size_t>(p)].Name;
            clip += '\t';
        }
        clip += '\n';
    }
    for (Part& part : parts) {
        clip.append(part.text.data(), part.length);
        Buffer().swap(part.text);
    }
    return clip;
}

// Reads the table; `dropEmptyLastColumn` lets an empty last header cell go
// unread. Returns false when that cell names a column after all (a line
// holds something under it): the caller reads again without dropping it.
bool readTable(std::string_view bytes, const std::string& path, TxtReadResult& result, bool dropEmptyLastColumn) {
    result = TxtReadResult{};
    FileRecord& r = result.Record;
    auto refused = [&](std::string reason) {
        refuse(result, std::move(reason));
        return true;
    };
    if (bytes.empty()) return refused("the file is empty");
    const std::vector<std::string_view> lines = splitLines(bytes);
    if (lines.empty() || lines[0].empty()) return refused("the header line is empty");
    if (lines.size() - 1 > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return refused("the table has too many lines");

    // Header.
    const std::string tooWide = "more than " + std::to_string(MaxReadableParameters) + " parameters are not supported";
    std::vector<std::string_view> header;
    forEachCell(lines[0], [&](size_t, std::string_view cell) {
        header.push_back(cell);
        return header.size() <= static_cast<size_t>(MaxReadableParameters) + 2;
    });
    Layout layout;
    layout.named = isNameHeader(header[0]);
    layout.first = layout.named ? 1 : 0;
    // A TAB ending every line (the layout of copied tables) leaves an empty
    // last column; it holds no parameter.
    layout.emptyLastColumn = dropEmptyLastColumn && header.size() > layout.first + 1 && header.back().empty();
    layout.parameters = header.size() - layout.first - (layout.emptyLastColumn ? 1 : 0);
    if (layout.parameters == 0) return refused("the table has no parameter columns");
    if (layout.parameters > static_cast<size_t>(MaxReadableParameters)) return refused(tooWide);

    // A line shorter than its numbers and their TABs can't be an event. Such
    // a line is found before anything is sized by the line count (a file of
    // empty lines sizes nothing); the lines before it are checked first, so
    // the fault reported is always the first one.
    const size_t shortest = 2 * layout.parameters - 1 + layout.first;
    for (size_t k = 1; k < lines.size(); ++k) {
        if (lines[k].size() >= shortest) continue;
        bool unused = false;
        const std::optional<std::string> problem = readEventLines(lines, layout, 1, k + 1, nullptr, unused);
        return refused(problem.value_or(lineText(k) + " has fewer cells than the header"));
    }

    const auto P = static_cast<int32_t>(layout.parameters);
    const auto events = static_cast<int32_t>(lines.size() - 1);
    r.ParameterCount = P;
    r.Parameters.assign(layout.parameters + 1, ParameterInfo{});
    for (size_t n = 1; n <= layout.parameters; ++n) {
        r.Parameters[n].Name = std::string(header[layout.first + n - 1]);
        r.Parameters[n].Range = 1023;
    }
    r.EventCount = events;
    r.EventsLoaded = events;
    // Every event's every value is written below; only index 0 is set here.
    r.PristineData.resizeForOverwrite(events, P);
    std::fill(r.PristineData.column(0), r.PristineData.column(0) + r.PristineData.stride(), 0.0f);
    for (int32_t p = 1; p <= P; ++p) r.PristineData(0, p) = 0.0f;
    if (layout.named) {
        r.EventNames.assign(static_cast<size_t>(events) + 1, std::string());
        r.HasEventNames = true;
    }
    bool lastColumnUsed = false;
    if (const std::optional<std::string> problem = readEventLines(lines, layout, 1, lines.size(), &r, lastColumnUsed))
        return refused(*problem);
    if (lastColumnUsed) return false;

    r.WorkingData = r.PristineData;
    SplitPath(path, r.Folder, r.FileName);
    r.FileKey = ComputeFileKeyOfData(bytes);
    r.CompensationMatrix.resize(P, P);
    r.CompensationOn = false;
    r.Membership.resize(events, g.MaxPopulations + g.MaxDefinitions);
    r.Loaded = true;

    result.ClipboardText = clipboardText(r, events);
    return true;
}

}  // namespace

TxtReadResult ReadTxtData(std::string_view bytes, const std::string& path) {
    TxtReadResult result;
    if (!readTable(bytes, path, result, true)) readTable(bytes, path, result, false);
    return result;
}

TxtReadResult ReadTxtFile(const std::string& path) {
    FileBytes bytes;
    std::string reason;
    if (!ReadWholeFile(path, bytes, reason)) {
        TxtReadResult result;
        refuse(result, reason);
        return result;
    }
    return ReadTxtData(bytes.view(), path);
}

}  // namespace qv
