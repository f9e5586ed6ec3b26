#include "plots/histogram/model/MirrorSettings.h"

#include "core/Numbers.h"

namespace qv {

std::vector<std::string> MirrorSettingsLines(const MirrorState& s, const WindowFrameTwips& frame) {
    std::vector<std::string> lines{"6"};
    AppendWindowPlaceLines(lines, frame);
    lines.push_back("line.1.window:" + NumberText(s.LineWindow[1]));
    lines.push_back("line.2.window:" + NumberText(s.LineWindow[2]));
    return lines;
}

WindowSettingRequest ApplyMirrorSettingLine(MirrorState& s, const std::string& line) {
    const WindowSettingsLine parsed = ParseWindowSettingsLine(line);
    if (!parsed.valid) return {};
    if (const auto place = PlaceSettingRequest(parsed)) return *place;
    ReadSourceLineWindow(parsed, s.LineWindow);
    return {};
}

}  // namespace qv
