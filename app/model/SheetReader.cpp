#include "app/model/SheetReader.h"

#include <cmath>
#include <limits>
#include <set>
#include <stdexcept>

#include "app/model/SheetWriter.h"
#include "core/Numbers.h"
#include "core/PopulationSlot.h"
#include "core/TextUtil.h"

namespace qv {

namespace {

std::vector<std::string> splitDots(std::string_view s) {
    const std::vector<std::string_view> pieces = SplitAt(s, '.');
    return {pieces.begin(), pieces.end()};
}

// The window lines every file window shares: "file" (the file slot it
// shows), "axis.x", "axis.y", "axis.z" (the parameters of its axes) and
// "show" (the population it shows). A value that is no number or lies
// outside its table never reaches the window as it stands (a "file" line
// of that kind reaches it as file 0, no file). Longer keys that start with
// one of these words are a kind's own (a bending plot's "axis.3.x" is a
// position, not a parameter) and pass unchecked.
bool windowValueFits(const std::vector<std::string>& keys, const std::string& value, const SheetLimits& limits) {
    if (keys.size() < 3) return true;
    const std::string& key = keys[2];
    const bool axisKey = key == "axis" && keys.size() == 4 && (keys[3] == "x" || keys[3] == "y" || keys[3] == "z");
    const bool slotKey = (key == "file" || key == "show") && keys.size() == 3;
    if (!axisKey && !slotKey) return true;
    const std::optional<double> v = ParseNumber(value);
    if (!v) return false;
    const double n = Int(*v);
    if (key == "file") return n >= 0 && n <= limits.maxFiles;
    if (key == "axis") return n >= 1 && n <= INT16_MAX;
    return n >= 0 && n < PopulationTableSize;
}

bool isWindowFileLine(const std::vector<std::string>& keys) { return keys.size() == 3 && keys[2] == "file"; }

// The integer part of a number text; nothing when it is no number or does not fit an int.
std::optional<int> wholeNumber(std::string_view text) {
    const std::optional<double> d = ParseNumber(text);
    if (!d) return std::nullopt;
    const double v = Int(*d);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(v);
}

std::optional<int64_t> wholeNumber64(std::string_view text) {
    const std::optional<double> d = ParseNumber(text);
    if (!d) return std::nullopt;
    const double v = Int(*d);
    if (v < -9.0e15 || v > 9.0e15) return std::nullopt;
    return static_cast<int64_t>(v);
}

// CInt / CLng of a value text within [lo, hi]; nothing otherwise.
std::optional<int32_t> roundedInRange(std::string_view text, int32_t lo, int32_t hi) {
    const std::optional<double> d = ParseNumber(text);
    if (!d) return std::nullopt;
    try {
        const int32_t v = CLng(*d);
        if (v < lo || v > hi) return std::nullopt;
        return v;
    } catch (const std::overflow_error&) {
        return std::nullopt;
    }
}

// The largest version number a sheet may carry: the program's own numbers
// are 16-bit.
constexpr double MaxVersionNumber = INT16_MAX;

// The number at the start of a piece of the version text, 0 when the piece
// does not start with a number ("abc" is 0, as Val reads it); nothing when
// it starts with a number outside 0..32767, which no version of the program
// carries.
std::optional<int> versionPart(std::string_view piece) {
    while (!piece.empty() && (piece.front() == ' ' || piece.front() == '\t')) piece.remove_prefix(1);
    const size_t sign = !piece.empty() && (piece.front() == '+' || piece.front() == '-') ? 1 : 0;
    const size_t length = LeadingNumberLength(piece.substr(sign));
    if (length == 0) return 0;
    const std::optional<double> v = ParseNumber(piece.substr(0, sign + length));
    if (!v || !(*v >= 0 && *v <= MaxVersionNumber)) return std::nullopt;
    return static_cast<int>(Int(*v));
}

class Parser {
public:
    Parser(std::string_view bytes, const SheetLimits& limits, const std::function<bool(const std::string&)>& known)
        : bytes_(bytes), limits_(limits), known_(known) {}

    ParsedSheet run() {
        size_t start = 0;
        while (start < bytes_.size()) {
            size_t end = bytes_.find('\n', start);
            const size_t next = end == std::string_view::npos ? bytes_.size() : end + 1;
            if (end == std::string_view::npos) end = bytes_.size();
            std::string_view line = bytes_.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            // In a package the data follows the marker at the start of a
            // line; its bytes are never read as sheet lines.
            if (sheet_.package && line.substr(0, PackageDataMarker.size()) == PackageDataMarker) {
                sheet_.dataOffset = start + PackageDataMarker.size();
                break;
            }
            dispatch(line);
            start = next;
        }
        placePackageFiles();
        return std::move(sheet_);
    }

private:
    void dispatch(std::string_view line) {
        if (line.empty() || line.front() == '#') return;
        const size_t colon = line.find(':');
        const std::string_view keyText = line.substr(0, colon);
        const std::string value(colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1));
        const std::vector<std::string> keys = splitDots(keyText);
        const std::string& section = keys[0];
        if (section == "general") general(keys, value);
        else if (section == "population" || section == "definition") slotLine(section == "definition", keys, value);
        else if (section == "file") file(keys, value);
        else if (section == "window") window(keys, value, line);
        else if (section == "printview") service(keys, value, line, sheet_.printViewVisible, sheet_.printViewLines);
        else if (section == "fileinfo") service(keys, value, line, sheet_.fileInfoVisible, sheet_.fileInfoLines);
    }

    void general(const std::vector<std::string>& keys, const std::string& value) {
        if (keys.size() < 2) return;
        if (keys[1] == "style" && value == "package") sheet_.package = true;
        if (keys[1] == "version" && !sheet_.hasVersion) {
            // Major and minor; a version without a minor is version major.0.
            const std::vector<std::string> pieces = splitDots(value);
            sheet_.hasVersion = true;
            const std::optional<int> major = versionPart(pieces[0]);
            const std::optional<int> minor = pieces.size() > 1 ? versionPart(pieces[1]) : std::optional<int>(0);
            sheet_.versionReadable = major && minor;
            sheet_.versionMajor = major.value_or(0);
            sheet_.versionMinor = minor.value_or(0);
        }
    }

    void slotLine(bool definition, const std::vector<std::string>& keys, const std::string& value) {
        if (keys.size() < 3) return;
        const std::optional<int> slot = wholeNumber(keys[1]);
        if (!slot) return;
        const int first = definition ? limits_.maxPopulations + 1 : 1;
        const int last = definition ? limits_.maxPopulations + limits_.maxDefinitions : limits_.maxPopulations;
        if (*slot < first || *slot > last || *slot >= PopulationTableSize) return;
        sheet_.populationLines.push_back({*slot, {keys.begin() + 2, keys.end()}, value});
    }

    void file(const std::vector<std::string>& keys, const std::string& value) {
        if (keys.size() < 3) return;
        const std::optional<int> slot = wholeNumber(keys[1]);
        if (!slot || *slot < 1 || *slot > limits_.maxFiles) return;
        if (!sheet_.package) {
            if (keys[2] == "path") sheet_.files.push_back({*slot, value, {}, 0, -1, false});
            return;
        }
        if (keys[2] == "name") {
            pendingName_ = value;
        } else if (keys[2] == "length") {
            SheetFile f;
            f.slot = *slot;
            f.name = pendingName_;
            const std::optional<int64_t> length = wholeNumber64(value);
            f.length = length ? *length : -1;
            sheet_.files.push_back(std::move(f));
        }
    }

    void window(const std::vector<std::string>& keys, const std::string& value, std::string_view line) {
        if (keys.size() < 2) return;
        const std::optional<int> n = wholeNumber(keys[1]);
        if (!n || *n < 1 || *n > limits_.maxWindows) return;
        if (*n != current_) {
            // A new block: its first line names the window's type.
            current_ = *n;
            currentOpen_ = false;
            if (opened_.count(*n) || !known_ || !known_(value)) return;
            opened_.insert(*n);
            currentOpen_ = true;
            sheet_.windows.push_back({*n, value, {}});
            return;
        }
        if (!currentOpen_) return;
        if (windowValueFits(keys, value, limits_)) {
            sheet_.windows.back().lines.emplace_back(line);
        } else if (isWindowFileLine(keys)) {
            // A file the table cannot hold: the window shows no file rather
            // than keep the one it was created with.
            sheet_.windows.back().lines.push_back(std::string(line.substr(0, line.find(':') + 1)) + "0");
        }
    }

    static void service(const std::vector<std::string>& keys, const std::string& value, std::string_view line,
                        std::optional<bool>& visible, std::vector<std::string>& lines) {
        if (keys.size() >= 2 && keys[1] == "visible") {
            if (value == "1") visible = true;
            else if (value == "0") visible = false;
            return;
        }
        lines.emplace_back(line);
    }

    // Each packed file's bytes follow those of the files before it; one
    // whose length does not fit the data refuses it and every later one.
    void placePackageFiles() {
        if (!sheet_.package) return;
        size_t offset = sheet_.dataOffset;
        bool broken = offset == std::string::npos;
        for (SheetFile& f : sheet_.files) {
            if (!broken && (f.length < 0 || static_cast<uint64_t>(f.length) > bytes_.size() - offset)) broken = true;
            if (broken || f.name.empty()) {
                f.refused = true;
                if (broken) continue;
            }
            f.offset = offset;
            offset += static_cast<size_t>(f.length);
        }
    }

    std::string_view bytes_;
    const SheetLimits& limits_;
    const std::function<bool(const std::string&)>& known_;
    ParsedSheet sheet_;
    std::string pendingName_;
    int current_ = 0;
    bool currentOpen_ = false;
    std::set<int> opened_;
};

void setColour(PopulationRecord& p, const std::string& which, const std::string& value) {
    const std::optional<int32_t> v = roundedInRange(value, 0, 255);
    if (!v) return;
    const auto byte = static_cast<uint8_t>(*v);
    if (which == "red") p.ColorRed = byte;
    else if (which == "green") p.ColorGreen = byte;
    else if (which == "blue") p.ColorBlue = byte;
}

void setTransparent(PopulationRecord& p, const std::string& value) {
    if (value == "1") p.Transparent = true;
    else if (value == "0") p.Transparent = false;
}

void setCorner(PopulationRecord& p, const std::vector<std::string>& keys, const std::string& value) {
    if (keys.size() < 3) return;
    const std::optional<int> j = wholeNumber(keys[1]);
    if (!j || *j < 1 || *j > MaxCorners) return;
    const std::optional<double> v = ParseNumber(value);
    if (!v || std::fabs(*v) > std::numeric_limits<float>::max()) return;
    if (keys[2] == "x") p.CornerX[static_cast<size_t>(*j)] = static_cast<float>(*v);
    else if (keys[2] == "y") p.CornerY[static_cast<size_t>(*j)] = static_cast<float>(*v);
}

}  // namespace

ParsedSheet ParseSheet(std::string_view bytes, const SheetLimits& limits,
                       const std::function<bool(const std::string&)>& isKnownKind) {
    return Parser(bytes, limits, isKnownKind).run();
}

bool SheetIsNewer(const ParsedSheet& sheet, int major, int minor) {
    if (!sheet.hasVersion) return false;
    if (!sheet.versionReadable) return true;
    return sheet.versionMajor > major || (sheet.versionMajor == major && sheet.versionMinor > minor);
}

std::optional<std::string> UnsafePackageName(const ParsedSheet& sheet) {
    if (!sheet.package) return std::nullopt;
    for (const SheetFile& f : sheet.files) {
        if (f.name.empty()) continue;  // no name line: that file alone is refused
        if (f.name == "." || f.name == ".." || f.name.find_first_of("/\\") != std::string::npos ||
            f.name.find('\0') != std::string::npos)
            return f.name;
    }
    return std::nullopt;
}

void ApplyPopulationLines(const ParsedSheet& sheet, std::array<PopulationRecord, PopulationTableSize>& table,
                          const SheetLimits& limits) {
    // A slot the sheet names starts from its start value, so nothing the
    // sheet leaves out (a label offset, a colour) comes from the workspace before.
    std::set<int> started;
    for (const SheetSlotLine& l : sheet.populationLines) {
        PopulationRecord& p = table[static_cast<size_t>(l.slot)];
        if (started.insert(l.slot).second) ResetPopulationSlot(p, l.slot);
        const bool definition = l.slot > limits.maxPopulations;
        p.InUse = true;
        const std::string& key = l.keys[0];
        const std::string sub = l.keys.size() >= 2 ? l.keys[1] : std::string();
        if (key == "name") p.Name = l.value;
        else if (key == "color") setColour(p, sub, l.value);
        else if (key == "transparent") setTransparent(p, l.value);
        if (definition) continue;
        if (key == "type") {
            p.Type = l.value;
        } else if (key == "created") {
            if (const auto v = roundedInRange(l.value, 1, limits.maxWindows)) p.Created = static_cast<int16_t>(*v);
        } else if (key == "axis") {
            const auto v = roundedInRange(l.value, 0, INT16_MAX);
            if (v && sub == "x") p.AxisX = static_cast<int16_t>(*v);
            if (v && sub == "y") p.AxisY = static_cast<int16_t>(*v);
        } else if (key == "title") {
            const auto v = roundedInRange(l.value, INT32_MIN, INT32_MAX);
            if (v && sub == "x") p.TitleX = *v;
            if (v && sub == "y") p.TitleY = *v;
        } else if (key == "corners") {
            if (const auto v = roundedInRange(l.value, 0, MaxCorners)) p.Corners = static_cast<int16_t>(*v);
        } else if (key == "corner") {
            setCorner(p, l.keys, l.value);
        }
    }
}

std::string PackageCopyName(const std::string& wanted, int k) {
    if (k <= 1) return wanted;
    const size_t dot = wanted.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > 0;
    const std::string base = hasExtension ? wanted.substr(0, dot) : wanted;
    const std::string extension = hasExtension ? wanted.substr(dot) : std::string();
    return base + " (" + std::to_string(k) + ")" + extension;
}

}  // namespace qv
