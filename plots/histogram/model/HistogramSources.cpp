#include "plots/histogram/model/HistogramSources.h"

#include <algorithm>

#include "core/Numbers.h"
#include "core/SharedState.h"

namespace qv {

std::vector<SourceChoice> HistogramSourceChoices() {
    std::vector<SourceChoice> out;
    const int last = std::min<int>(g.MaxWindows, static_cast<int>(g.WindowRegistry.size()) - 1);
    for (int w = 1; w <= last; ++w) {
        const WindowRecord& r = g.WindowRegistry[static_cast<size_t>(w)];
        if (!r.InUse || r.Type != "Histogram") continue;
        std::string name;
        if (r.FileIndex >= 1 && r.FileIndex < static_cast<int>(g.FileTable.size()))
            name = g.FileTable[static_cast<size_t>(r.FileIndex)].FileName;
        out.push_back({static_cast<int16_t>(w), std::to_string(w) + ": " + name});
    }
    return out;
}

int KeepSourceLine(int16_t& lineWindow, const std::vector<SourceChoice>& choices) {
    const int16_t remembered = lineWindow;
    lineWindow = 0;
    for (size_t k = 0; k < choices.size(); ++k) {
        if (choices[k].slot == remembered) {
            lineWindow = remembered;
            return static_cast<int>(k) + 1;
        }
    }
    return 0;
}

int16_t SourceOfChoiceText(const std::string& text) {
    const std::string first = text.substr(0, text.find(':'));
    const auto v = ReadInt16(first);
    return v ? *v : 0;
}

std::optional<WindowSettingRequest> PlaceSettingRequest(const WindowSettingsLine& line) {
    const std::string& key = line.key;
    if (key != "location.x" && key != "location.y" && key != "size.x" && key != "size.y") return std::nullopt;
    return SharedWindowSettingRequest(line);
}

bool ReadSourceLineWindow(const WindowSettingsLine& line, SourceLineWindows& windows) {
    const auto& p = line.pieces;
    if (p.size() != 5 || p[2] != "line" || p[4] != "window") return false;
    const auto index = ReadInt16(p[3]);
    const auto value = ReadInt16(line.value);
    if (!index || *index < 0 || *index > MaxSourceLineIndex || !value) return false;
    windows[static_cast<size_t>(*index)] = *value;
    return true;
}

}  // namespace qv
