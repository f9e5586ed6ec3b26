#pragma once
// The DAD window's eleven settings lines in the analysis sheet, and reading
// them back. The layout, the sample and the channel choice are not saved.
#include <cstdint>
#include <string>
#include <vector>

#include "app/model/WindowSettingsLine.h"
#include "plots/multi/model/DadLayout.h"

namespace qv {

struct DadPan {
    int32_t x = 0, y = 0;  // added to every drawn position
};

// Element 0 the count ("11"), then the lines.
std::vector<std::string> DadSettingsLines(const DadLayout& layout, const DadPan& pan, float left, float top,
                                          int fileIndex);

// Applies one whole sheet line. Numbers that do not read or lie out of range
// change nothing: events, iterations and deviator stay at least 1, and the
// sample no larger than the program holds. The place and file lines come
// back as requests for the window; every other shared key is ignored.
WindowSettingRequest ApplyDadSettingLine(DadLayout& layout, DadPan& pan, const std::string& line);

}  // namespace qv
