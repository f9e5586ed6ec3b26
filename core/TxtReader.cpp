#include "core/TxtReader.h"

#include <cmath>
#include <limits>
#include <vector>

#include "core/FileKey.h"
#include "core/Numbers.h"
#include "core/SharedState.h"

namespace qv {

namespace {

bool refuse(TxtReadResult& result, std::string reason) {
    result = TxtReadResult{};
    result.Record.RefusalReason = std::move(reason);
    return false;
}

bool isNameHeader(std::string_view cell) { return cell == "NAME" || cell == "Name" || cell == "name"; }

// Walks the complete lines of a text: each ends with LF (a CR before it is
// not part of the line); text after the last LF is not a line.
class LineWalker {
public:
    explicit LineWalker(std::string_view bytes) : bytes_(bytes) {}
    bool next(std::string_view& line) {
        const size_t lf = bytes_.find('\n', from_);
        if (lf == std::string_view::npos) return false;
        size_t end = lf;
        if (end > from_ && bytes_[end - 1] == '\r') --end;
        line = bytes_.substr(from_, end - from_);
        from_ = lf + 1;
        return true;
    }

private:
    std::string_view bytes_;
    size_t from_ = 0;
};

size_t cellCount(std::string_view line) {
    size_t n = 1;
    for (char c : line)
        if (c == '\t') ++n;
    return n;
}

// Calls take(index, cell) for the cells of a line, in order.
template <class Take>
void forEachCell(std::string_view line, Take take) {
    size_t from = 0, index = 0;
    while (true) {
        const size_t tab = line.find('\t', from);
        take(index++, line.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from));
        if (tab == std::string_view::npos) return;
        from = tab + 1;
    }
}

bool readTable(std::string_view bytes, const std::string& path, TxtReadResult& result) {
    FileRecord& r = result.Record;
    if (bytes.empty()) return refuse(result, "the file is empty");
    LineWalker walker(bytes);
    std::string_view headerLine;
    if (!walker.next(headerLine)) return refuse(result, "the file has no complete header line");
    if (headerLine.empty()) return refuse(result, "the header line is empty");

    // Header.
    if (cellCount(headerLine) > static_cast<size_t>(MaxReadableParameters) + 1)
        return refuse(result, "more than " + std::to_string(MaxReadableParameters) + " parameters are not supported");
    std::vector<std::string_view> header;
    forEachCell(headerLine, [&](size_t, std::string_view cell) { header.push_back(cell); });
    const bool named = isNameHeader(header[0]);
    const size_t first = named ? 1 : 0;  // cell of parameter 1
    const size_t P = header.size() - first;
    if (P == 0) return refuse(result, "the table has no parameter columns");
    if (P > static_cast<size_t>(MaxReadableParameters))
        return refuse(result, "more than " + std::to_string(MaxReadableParameters) + " parameters are not supported");

    // Every line is checked for its cells before anything is sized by the
    // line count, so a file of empty lines sizes nothing.
    int32_t events = 0;
    {
        LineWalker check = walker;
        std::string_view line;
        while (check.next(line)) {
            if (events == std::numeric_limits<int32_t>::max()) return refuse(result, "the table has too many lines");
            ++events;
            if (cellCount(line) < first + P)
                return refuse(result, "line " + std::to_string(events + 1) + " has fewer cells than the header");
            size_t emptyCell = 0;
            forEachCell(line, [&](size_t index, std::string_view cell) {
                if (emptyCell == 0 && index >= first && index < first + P && cell.empty()) emptyCell = index + 1;
            });
            if (emptyCell != 0)
                return refuse(result, "line " + std::to_string(events + 1) + ", column " + std::to_string(emptyCell) +
                                          " is not a number");
        }
    }

    r.ParameterCount = static_cast<int32_t>(P);
    r.Parameters.assign(P + 1, ParameterInfo{});
    for (size_t n = 1; n <= P; ++n) {
        r.Parameters[n].Name = std::string(header[first + n - 1]);
        r.Parameters[n].Range = 1023;
    }
    r.EventCount = events;
    r.EventsLoaded = events;
    r.PristineData.resize(events, r.ParameterCount);
    if (named) {
        r.EventNames.assign(static_cast<size_t>(events) + 1, std::string());
        r.HasEventNames = true;
    }

    std::string problem;
    std::string_view line;
    for (int32_t e = 1; e <= events && problem.empty() && walker.next(line); ++e) {
        forEachCell(line, [&](size_t index, std::string_view cell) {
            if (!problem.empty() || index >= first + P) return;
            if (index < first) {
                r.EventNames[static_cast<size_t>(e)] = std::string(cell);
                return;
            }
            const std::optional<double> v = ParseNumber(cell);
            const bool fits = v && std::fabs(*v) <= std::numeric_limits<float>::max();
            if (!fits) {
                problem = "line " + std::to_string(e + 1) + ", column " + std::to_string(index + 1) +
                          (v ? " is too large for a 32-bit float" : " is not a number");
                return;
            }
            r.PristineData(e, static_cast<int32_t>(index - first + 1)) = static_cast<float>(*v);
        });
    }
    if (!problem.empty()) return refuse(result, problem);

    r.WorkingData = r.PristineData;
    SplitPath(path, r.Folder, r.FileName);
    r.FileKey = ComputeFileKeyOfData(bytes);
    r.CompensationMatrix.resize(r.ParameterCount, r.ParameterCount);
    r.CompensationOn = false;
    r.Membership.resize(events, g.MaxPopulations + g.MaxDefinitions);
    r.Loaded = true;

    // The clipboard copy: lines end with TAB LF; a name column adds a header line.
    std::string& clip = result.ClipboardText;
    if (named) {
        clip += '\t';
        for (size_t n = 1; n <= P; ++n) {
            clip += r.Parameters[n].Name;
            clip += '\t';
        }
        clip += '\n';
    }
    for (int32_t e = 1; e <= events; ++e) {
        if (named) {
            clip += r.EventNames[static_cast<size_t>(e)];
            clip += '\t';
        }
        for (int32_t p = 1; p <= r.ParameterCount; ++p) {
            clip += NumberText(r.WorkingData(e, p));
            clip += '\t';
        }
        clip += '\n';
    }
    return true;
}

}  // namespace

TxtReadResult ReadTxtData(std::string_view bytes, const std::string& path) {
    TxtReadResult result;
    readTable(bytes, path, result);
    return result;
}

TxtReadResult ReadTxtFile(const std::string& path) {
    TxtReadResult result;
    FileBytes bytes;
    std::string reason;
    if (!ReadWholeFile(path, bytes, reason)) {
        refuse(result, reason);
        return result;
    }
    readTable(bytes.view(), path, result);
    return result;
}

}  // namespace qv
