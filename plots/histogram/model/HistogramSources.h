#pragma once
// What the windows built from histograms (the overlay and the mirror)
// share: their lines each naming a source histogram window by its ID, the
// list of histogram windows a line can choose, and the settings lines of
// their place, size and line windows. Widget-free.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/model/WindowSettingsLine.h"

namespace qv {

// A line's source window per line index 0..100; 0 = "None".
inline constexpr int MaxSourceLineIndex = 100;
using SourceLineWindows = std::array<int16_t, MaxSourceLineIndex + 1>;

// One item of a line selector: the slot of an open histogram window and its
// text, the slot, ": " and the name of the file it shows (nothing after the
// blank when it shows none).
struct SourceChoice {
    int16_t slot = 0;
    std::string text;
};
// Every registry slot 1..MaxWindows in use whose Type is "Histogram", in
// slot order.
std::vector<SourceChoice> HistogramSourceChoices();

// The selector rebuild of one line: the line keeps its window only when it
// is among `choices`, else falls back to 0. Returns the position to select
// (0 "None", k the k-th choice).
int KeepSourceLine(int16_t& lineWindow, const std::vector<SourceChoice>& choices);

// The line window of a selector's item text: the number before ":" ("None"
// and anything else gives 0).
int16_t SourceOfChoiceText(const std::string& text);

// The request of a "location.x/y" or "size.x/y" line; nothing for other
// keys (and a request of no kind for a value that does not read).
std::optional<WindowSettingRequest> PlaceSettingRequest(const WindowSettingsLine& line);

// A line "window.<n>.line.<L>.window:<v>": the entry L (0..100) takes v as
// a 16-bit integer; true when the line was one of these and was taken. Other
// indices and values that do not read change nothing.
bool ReadSourceLineWindow(const WindowSettingsLine& line, SourceLineWindows& windows);

}  // namespace qv
