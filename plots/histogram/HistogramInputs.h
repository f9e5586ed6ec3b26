#pragma once
// The input dialogs that the histogram windows' pop-up menus share: a whole
// number of 0 or more for the Y scale or the smoothing, and the column
// colour.
#include <QColor>

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

// The input box titled `caption` whose prompt is the caption, a line feed
// and `hint`, preset to `current`. An entry that reads as a number of 0 or
// more comes back rounded half to even; an empty entry, Cancel or a
// negative number gives nothing; an entry that is no whole 32-bit number
// of 0 or more is refused with a message and gives nothing.
std::optional<int32_t> AskWholeNumberSetting(const std::string& caption, const char* hint, int32_t current);

// The colour dialog preset to `before`; the chosen colour, or `before`
// when cancelled.
QColor ChooseColumnColour(const QColor& before);

// The colour dialog preset to the fill colour; the components take the
// chosen colour (they stay when cancelled).
void ChooseFillColour(uint8_t& red, uint8_t& green, uint8_t& blue);

// The Y scale or smoothing entry of a histogram window's menu: `field`
// takes what AskWholeNumberSetting gives; a smoothing (with
// `smoothingResolution`) is kept below that resolution, as the moving mean
// needs a full window of bins. True when the field took an entry.
bool AskWholeNumberInto(const std::string& caption, const char* hint, int32_t& field,
                        std::optional<int32_t> smoothingResolution = std::nullopt);

}  // namespace qv
