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

}  // namespace qv
