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
#include "core/ParameterName.h"
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

// The table's text: without a UTF-8 byte-order mark at its start, and
// without the CRs and LFs that end it, so that empty lines at the end are no
// lines at all.
std::string_view tableText(std::string_view bytes) {
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, ByteOrderMark.size()) == ByteOrderMark) bytes.remove_prefix(ByteOrderMark.size());
    size_t end = bytes.size();
    while (end > 0 && (bytes[end - 1] == '\r' || bytes[end - 1] == '\n')) --end;
    return bytes.substr(0, end);
}

// Calls take(line) for the lines of a text that starts at a line's start, in
// order, while it returns true. A line ends at LF, and every CR right before
// that LF (CR LF, CR CR LF) is left out of it; text after the last LF is the
// last line, and an LF that ends the text starts no further line.
template <class Take>
void forEachLine(std::string_view text, Take take) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end) {
        const void* hit = std::memchr(p, '\n', static_cast<size_t>(end - p));
        const char* const lf = hit ? static_cast<const char*>(hit) : end;
        const char* lineEnd = lf;
        while (lineEnd != p && lineEnd[-1] == '\r') --lineEnd;
        if (!take(std::string_view(p, static_cast<size_t>(lineEnd - p))) || lf == end) return;
        p = lf + 1;
    }
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

// A run of whole event lines, read on a core of its own: its text, the
// index of its first line (the header is line 0), and what a first look at
// it found.
struct LineRun {
    std::string_view text;
    size_t firstLine = 0;
    size_t lines = 0;
    size_t firstShortLine = std::numeric_limits<size_t>::max();  // index of its first line shorter than `shortest`
};

// Cuts the event lines (the text after the header line's LF) into `count`
// runs that start at line starts, and counts each run's lines, noting its
// first line shorter than `shortest` characters.
std::vector<LineRun> cutIntoRuns(std::string_view events, size_t count, size_t shortest) {
    std::vector<LineRun> runs(std::max<size_t>(count, 1));
    std::vector<size_t> starts(runs.size() + 1, events.size());
    starts[0] = 0;
    for (size_t c = 1; c < runs.size(); ++c) {
        // The first line starting at or after an even share of the text.
        const size_t from = std::max(starts[c - 1], events.size() / runs.size() * c);
        const void* hit = from == 0 ? nullptr : std::memchr(events.data() + from - 1, '\n', events.size() - from + 1);
        starts[c] = from == 0 ? 0 : hit ? static_cast<size_t>(static_cast<const char*>(hit) - events.data()) + 1
                                        : events.size();
    }
    ForEachChunk(runs.size(), runs.size(), [&](size_t, size_t first, size_t last) {
        for (size_t c = first; c < last; ++c) {
            LineRun& run = runs[c];
            run.text = events.substr(starts[c], starts[c + 1] - starts[c]);
            forEachLine(run.text, [&](std::string_view line) {
                if (line.size() < shortest && run.firstShortLine == std::numeric_limits<size_t>::max())
                    run.firstShortLine = run.lines;
                ++run.lines;
                return true;
            });
        }
    });
    size_t line = 1;
    for (LineRun& run : runs) {
        run.firstLine = line;
        if (run.firstShortLine != std::numeric_limits<size_t>::max()) run.firstShortLine += line;
        line += run.lines;
    }
    return runs;
}

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

// Reads the lines of a run that lie before line `to` into the record's
// matrices (or, without a record, only checks them); event e is line e.
// Stops at the first fault.
LinesRead readLines(const LineRun& run, const Layout& layout, size_t to, FileRecord* r) {
    LinesRead out;
    const size_t needed = layout.cellsNeeded();
    size_t k = run.firstLine;
    forEachLine(run.text, [&](std::string_view line) {
        if (k >= to) return false;
        const auto e = static_cast<int32_t>(k);
        const char* p = line.data();
        const char* const end = p + line.size();
        size_t cells = 0;
        for (size_t index = 0;; ++index) {
            // p is where cell `index` starts.
            cells = index + 1;
            if (index >= needed) {
                // Cells beyond the header are not read; under an empty last
                // header cell they must be empty too.
                if (layout.emptyLastColumn && index == needed && p != end && *p != '\t') out.lastColumnUsed = true;
                break;
            }
            const char* cellEnd;
            if (index < layout.first) {
                cellEnd = std::find(p, end, '\t');
                if (r) r->EventNames[k].assign(p, static_cast<size_t>(cellEnd - p));
            } else {
                // Most cells are plain decimals that end at their TAB; any
                // other cell is read in full on its own.
                double v = 0.0;
                char point = 0;
                const std::string_view rest(p, static_cast<size_t>(end - p));
                cellEnd = p + ReadPlainDecimal(rest, v, point);
                if (cellEnd == p || (cellEnd != end && *cellEnd != '\t')) {
                    cellEnd = std::find(p, end, '\t');
                    const std::optional<double> read =
                        ParseNumber(std::string_view(p, static_cast<size_t>(cellEnd - p)), point);
                    v = read.value_or(std::numeric_limits<double>::infinity());
                    if (!read) point = 0;
                    if (!read || std::fabs(v) > std::numeric_limits<float>::max()) {
                        out.faultAt = {k, index};
                        out.fault = cellText(k, index) + (read ? " is too large for a 32-bit float" : " is not a number");
                        break;
                    }
                }
                CellPlace& first = point == ',' ? out.firstComma : out.firstPoint;
                if (point != 0 && !first.found()) first = {k, index};
                if (r) r->PristineData(e, static_cast<int32_t>(index - layout.first + 1)) = static_cast<float>(v);
            }
            if (cellEnd == end) break;
            p = cellEnd + 1;
        }
        // A line short of cells says so, whatever else is wrong with it.
        if ((out.faultAt.found() || cells < needed) && cellCount(line) < needed) {
            out.faultAt = {k, 0};
            out.fault = lineText(k) + " has fewer cells than the header";
        }
        ++k;
        return !out.faultAt.found();
    });
    return out;
}

// Reads the event lines before line `to` over the machine's cores, a run to
// a core, and returns the table's first fault: a cell that can't be read, a
// short line, or the first cell whose decimal point differs from the one
// used before it.
std::optional<std::string> readEventLines(const std::vector<LineRun>& runs, const Layout& layout, size_t to,
                                          FileRecord* r, bool& lastColumnUsed) {
    std::vector<LinesRead> parts(runs.size());
    ForEachChunk(runs.size(), runs.size(), [&](size_t, size_t first, size_t last) {
        for (size_t c = first; c < last; ++c)
            if (runs[c].firstLine < to) parts[c] = readLines(runs[c], layout, to, r);
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
    AdviseHugePages(clip.data(), clip.capacity());
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
bool readTable(std::string_view bytes, const std::string& path, size_t runCount, TxtReadResult& result,
               bool dropEmptyLastColumn, FileBytes* release) {
    result = TxtReadResult{};
    FileRecord& r = result.Record;
    auto refused = [&](std::string reason) {
        refuse(result, std::move(reason));
        return true;
    };
    if (bytes.empty()) return refused("the file is empty");
    const std::string_view text = tableText(bytes);
    std::string_view headerLine;
    forEachLine(text, [&](std::string_view line) {
        headerLine = line;
        return false;
    });
    if (headerLine.empty()) return refused("the header line is empty");
    const size_t headerEnd = text.find('\n');
    const std::string_view eventText = headerEnd == std::string_view::npos ? std::string_view() : text.substr(headerEnd + 1);

    // Header.
    const std::string tooWide = "more than " + std::to_string(MaxReadableParameters) + " parameters are not supported";
    std::vector<std::string_view> header;
    forEachCell(headerLine, [&](size_t, std::string_view cell) {
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
    const std::vector<LineRun> runs = cutIntoRuns(eventText, runCount, shortest);
    for (const LineRun& run : runs) {
        if (run.firstShortLine == std::numeric_limits<size_t>::max()) continue;
        const size_t k = run.firstShortLine;
        bool unused = false;
        const std::optional<std::string> problem = readEventLines(runs, layout, k + 1, nullptr, unused);
        return refused(problem.value_or(lineText(k) + " has fewer cells than the header"));
    }
    size_t lineCount = 0;
    for (const LineRun& run : runs) lineCount += run.lines;
    if (lineCount > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return refused("the table has too many lines");

    const auto P = static_cast<int32_t>(layout.parameters);
    const auto events = static_cast<int32_t>(lineCount);
    r.ParameterCount = P;
    r.Parameters.assign(layout.parameters + 1, ParameterInfo{});
    for (size_t n = 1; n <= layout.parameters; ++n) {
        r.Parameters[n].Name = ParameterNameOrDefault(header[layout.first + n - 1], static_cast<int32_t>(n));
        r.Parameters[n].Range = 1023;
    }
    r.EventCount = events;
    r.EventsLoaded = events;
    // Every event's every value is written below; only index 0 is set here.
    r.PristineData.resizeForOverwrite(events, P);
    std::fill(r.PristineData.column(0), r.PristineData.column(0) + r.PristineData.stride(), 0.0f);
    for (int32_t p = 1; p <= P; ++p) r.PristineData(0, p) = 0.0f;
    if (layout.named) {
        r.EventNames.reserve(static_cast<size_t>(events) + 1);
        AdviseHugePages(r.EventNames.data(), r.EventNames.capacity() * sizeof(std::string));
        r.EventNames.assign(static_cast<size_t>(events) + 1, std::string());
        r.HasEventNames = true;
    }
    bool lastColumnUsed = false;
    if (const std::optional<std::string> problem = readEventLines(runs, layout, lineCount + 1, &r, lastColumnUsed))
        return refused(*problem);
    if (lastColumnUsed) return false;

    r.FileKey = ComputeFileKeyOfData(bytes);
    // The file's bytes are done with: their memory serves what follows.
    if (release) *release = FileBytes{};
    r.WorkingData = r.PristineData;
    SplitPath(path, r.Folder, r.FileName);
    r.CompensationMatrix.resize(P, P);
    r.CompensationOn = false;
    r.Membership.resize(events, g.MaxPopulations + g.MaxDefinitions);
    r.Loaded = true;

    result.ClipboardText = clipboardText(r, events);
    return true;
}

// Runs of a megabyte or more: below that a thread costs more than it saves.
size_t runsFor(std::string_view bytes) { return ChunkCount(bytes.size(), size_t{1} << 20); }

// Reads the table, and frees `release` (the bytes, when read from a file)
// as soon as they are done with.
TxtReadResult readTxt(std::string_view bytes, const std::string& path, size_t runs, FileBytes* release) {
    TxtReadResult result;
    if (!readTable(bytes, path, runs, result, true, release)) readTable(bytes, path, runs, result, false, release);
    return result;
}

}  // namespace

TxtReadResult ReadTxtDataInRuns(std::string_view bytes, const std::string& path, size_t runs) {
    return readTxt(bytes, path, runs, nullptr);
}

TxtReadResult ReadTxtData(std::string_view bytes, const std::string& path) {
    return readTxt(bytes, path, runsFor(bytes), nullptr);
}

TxtReadResult ReadTxtFile(const std::string& path) {
    FileBytes bytes;
    std::string reason;
    if (!ReadWholeFile(path, bytes, reason)) {
        TxtReadResult result;
        refuse(result, reason);
        return result;
    }
    return readTxt(bytes.view(), path, runsFor(bytes.view()), &bytes);
}

}  // namespace qv
