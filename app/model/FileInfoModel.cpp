#include "app/model/FileInfoModel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "core/Compensation.h"
#include "core/Numbers.h"
#include "core/ParameterName.h"
#include "core/TextUtil.h"

namespace qv {

namespace {

const char* flagText(bool b) { return b ? "1" : "0"; }


// A parameter or matrix index of a key: decimal digits only, 1..count.
std::optional<int32_t> indexIn(std::string_view text, int32_t count) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int32_t v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v < 1 || v > count) return std::nullopt;
    return v;
}

std::optional<bool> flagOf(std::string_view value) {
    if (value == "1") return true;
    if (value == "0") return false;
    return std::nullopt;
}

int32_t parameterCountOf(const FileRecord& file) {
    return std::max(0, std::min(file.ParameterCount, static_cast<int32_t>(file.Parameters.size()) - 1));
}

bool matrixHolds(const FileRecord& file, int32_t i, int32_t j) { return file.CompensationMatrix.contains(i, j); }

// Removes column c of a matrix: the columns after it move down by one.
template <class T>
void removeColumn(EventMatrix<T>& m, int32_t c) {
    if (m.empty() || c < 1 || c > m.maxColumn()) return;
    if (c < m.maxColumn()) {
        T* dst = m.column(c);
        const size_t count = m.stride() * static_cast<size_t>(m.maxColumn() - c);
        std::memmove(dst, m.column(c + 1), count * sizeof(T));
    }
    m.resizeColumns(m.maxColumn() - 1);
}

}  // namespace

std::vector<std::string> FileFactLines(const FileRecord& file) {
    std::vector<std::string> lines = {"Name: " + file.FileName, "Begin time: " + file.BeginTime,
                                      "End time: " + file.EndTime};
    if (!file.Comment.empty()) lines.push_back("Comments: " + ReplaceAll(file.Comment, "\r", ", "));
    return lines;
}

std::string CompensationCellText(float coefficient) { return NumberText(static_cast<float>(coefficient * 100.0f)); }

std::string CompensationEditDefault(std::string_view cellText) {
    const std::optional<double> v = ParseNumber(cellText);
    return NumberText(v ? TruncateTwoDecimals(*v, false) : 0.0);
}

std::optional<float> CompensationCoefficient(double fraction) {
    if (!std::isfinite(fraction) || std::abs(fraction) > std::numeric_limits<float>::max()) return std::nullopt;
    const auto c = static_cast<float>(fraction);
    if (!std::isfinite(c * 100.0f)) return std::nullopt;
    return c;
}

std::optional<float> CompensationFromPercent(std::string_view text) {
    const std::optional<double> v = ParseNumber(text);
    if (!v) return std::nullopt;
    return CompensationCoefficient(*v / 100.0);
}

std::optional<int32_t> EventsInUseFromAnswer(std::string_view answer, int32_t eventsLoaded) {
    std::string packed;
    for (const char c : answer)
        if (c != ' ' && c != '\t' && c != '\n') packed += c;
    if (packed.empty()) return std::nullopt;
    const double v = Val(packed);
    if (!(v > 0) || v > eventsLoaded) return std::nullopt;
    int32_t n = 0;
    try {
        n = CLng(v);
    } catch (const std::overflow_error&) {
        return std::nullopt;
    }
    if (n < 1) return std::nullopt;  // a file needs at least one event in use
    return n;
}

bool DeleteParameter(FileRecord& file, int32_t p) {
    const int32_t count = parameterCountOf(file);
    if (count <= 1 || p < 1 || p > count) return false;
    file.Parameters.erase(file.Parameters.begin() + p);
    removeColumn(file.PristineData, p);
    removeColumn(file.WorkingData, p);

    // Row p and column p of the coefficients go together.
    const EventMatrix<float>& old = file.CompensationMatrix;
    if (!old.empty() && old.maxEvent() >= 1) {
        const int32_t rows = old.maxEvent(), cols = old.maxColumn();
        EventMatrix<float> kept(p <= rows ? rows - 1 : rows, p <= cols ? cols - 1 : cols);
        for (int32_t i = 0; i <= rows; ++i) {
            if (i == p) continue;
            for (int32_t j = 0; j <= cols; ++j) {
                if (j == p) continue;
                kept(i > p ? i - 1 : i, j > p ? j - 1 : j) = old(i, j);
            }
        }
        file.CompensationMatrix = std::move(kept);
    }
    file.ParameterCount = count - 1;
    return true;
}

void ImposeParameterValues(const ParameterValueSet& values, std::vector<FileRecord>& table, int maxFiles) {
    const int last = std::min(maxFiles, static_cast<int>(table.size()) - 1);
    for (int slot = 1; slot <= last; ++slot) {
        FileRecord& file = table[static_cast<size_t>(slot)];
        if (!file.Loaded) continue;
        const int32_t n = std::min(parameterCountOf(file), static_cast<int32_t>(values.Parameters.size()));
        for (int32_t p = 1; p <= n; ++p) {
            const ParameterValueSet::Item& item = values.Parameters[static_cast<size_t>(p - 1)];
            file.Parameters[static_cast<size_t>(p)].Name = item.Name;
            file.Parameters[static_cast<size_t>(p)].IsLog = item.IsLog;
        }
        if (n >= 1) file.CompensationOn = values.CompensationOn;
        for (int32_t i = 1; i <= n && i <= static_cast<int32_t>(values.Matrix.size()); ++i) {
            const auto& row = values.Matrix[static_cast<size_t>(i - 1)];
            for (int32_t j = 1; j <= n && j <= static_cast<int32_t>(row.size()); ++j) {
                const std::optional<float>& cell = row[static_cast<size_t>(j - 1)];
                if (cell && matrixHolds(file, i, j)) file.CompensationMatrix(i, j) = *cell;
            }
        }
        ApplyCompensation(file);
    }
}

std::vector<std::string> FileInfoSettingsLines(const FileInfoSettings& s, const FileRecord* shown) {
    std::vector<std::string> lines;
    lines.emplace_back();  // the count, filled last
    lines.push_back("location.x:" + NumberText(s.Left));
    lines.push_back("location.y:" + NumberText(s.Top));
    lines.push_back("file:" + NumberText(s.ShownFileSlot));
    lines.push_back(std::string("global.enabled:") + flagText(s.Global));
    lines.push_back("events.show:" + s.EventsText);
    if (s.Global) {
        const int32_t P = shown ? parameterCountOf(*shown) : 0;
        for (int32_t p = 1; p <= P; ++p) {
            const ParameterInfo& info = shown->Parameters[static_cast<size_t>(p)];
            const std::string key = "parameter." + std::to_string(p);
            lines.push_back(key + ".name:" + info.Name);
            lines.push_back(key + ".log:" + flagText(info.IsLog));
        }
        lines.push_back(std::string("compensation.enabled:") + flagText(s.CompensateTicked));
        for (int32_t i = 1; i <= P; ++i)
            for (int32_t j = 1; j <= P; ++j) {
                if (!matrixHolds(*shown, i, j)) continue;
                const float c = shown->CompensationMatrix(i, j);
                if (c == 0.0f) continue;
                lines.push_back("compensation.table." + std::to_string(i) + "." + std::to_string(j) + ":" +
                                NumberText(c));
            }
    }
    lines[0] = std::to_string(lines.size() - 1);
    return lines;
}

FileInfoSettingRequest ApplyFileInfoSettingLine(std::string_view line, FileRecord* shown,
                                                const std::vector<FileRecord>& table, int maxFiles) {
    using Kind = FileInfoSettingRequest::Kind;
    FileInfoSettingRequest req;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return req;
    const std::string_view value = line.substr(colon + 1);
    const std::vector<std::string_view> key = SplitAt(line.substr(0, colon), '.');
    if (key.size() < 2 || key[0] != "fileinfo") return req;
    const std::string_view part = key[1];
    const auto part2 = [&](std::string_view want) { return key.size() == 3 && key[2] == want; };
    const int32_t P = shown ? parameterCountOf(*shown) : 0;

    if (part == "location" && (part2("x") || part2("y"))) {
        const std::optional<double> v = ParseNumber(value);
        if (!v) return req;
        req.kind = key[2] == "x" ? Kind::Left : Kind::Top;
        req.number = *v;
    } else if (part == "file" && key.size() == 2) {
        const std::optional<double> v = ParseNumber(value);
        // Checked as a whole number within range before it is converted.
        if (!v || *v != std::floor(*v) || *v < 1 || *v > maxFiles) return req;
        const int32_t slot = static_cast<int32_t>(*v);
        if (slot >= static_cast<int32_t>(table.size()) ||
            !table[static_cast<size_t>(slot)].Loaded)
            return req;
        req.kind = Kind::File;
        req.number = slot;
    } else if (part == "global" && part2("enabled")) {
        const std::optional<bool> f = flagOf(value);
        if (!f) return req;
        req.kind = Kind::Global;
        req.flag = *f;
    } else if (part == "events" && part2("show")) {
        req.kind = Kind::EventsInUse;
        if (!shown) return req;
        if (const std::optional<int32_t> n = EventsInUseFromAnswer(value, shown->EventsLoaded)) {
            const bool more = *n > shown->EventCount;
            shown->EventCount = *n;
            // Events taken back into use get the file's working values.
            if (more) ApplyCompensation(*shown);
        }
    } else if (part == "parameter" && key.size() == 4 && shown) {
        const std::optional<int32_t> p = indexIn(key[2], P);
        if (!p) return req;
        ParameterInfo& info = shown->Parameters[static_cast<size_t>(*p)];
        if (key[3] == "name") {
            info.Name = ParameterNameOrDefault(value, *p);
        } else if (key[3] == "log") {
            if (const std::optional<bool> f = flagOf(value)) info.IsLog = *f;
        }
    } else if (part == "compensation" && part2("enabled") && shown) {
        const std::optional<bool> f = flagOf(value);
        if (!f) return req;
        shown->CompensationOn = *f;
        req.kind = Kind::Compensate;
        req.flag = *f;
    } else if (part == "compensation" && key.size() == 5 && key[2] == "table" && shown) {
        const std::optional<int32_t> i = indexIn(key[3], P), j = indexIn(key[4], P);
        const std::optional<double> v = ParseNumber(value);
        const std::optional<float> c = v ? CompensationCoefficient(*v) : std::nullopt;
        if (!i || !j || !c || !matrixHolds(*shown, *i, *j)) return req;
        shown->CompensationMatrix(*i, *j) = *c;
    }
    return req;
}

}  // namespace qv
