#include "plots/histogram/model/OverlaySettings.h"

#include "core/Numbers.h"

namespace qv {

std::vector<std::string> OverlaySettingsLines(const OverlayState& s, const WindowFrameTwips& frame) {
    std::vector<std::string> lines;
    lines.emplace_back();  // the count, filled last
    AppendWindowPlaceLines(lines, frame);
    lines.push_back("maxnumberoflines:" + NumberText(s.LineCount));
    lines.push_back(std::string("regionlines.show:") + FlagText(s.ShowRegionLines));
    AppendFillColourLines(lines, s.FillRed, s.FillGreen, s.FillBlue);
    lines.push_back("background:" + NumberText(static_cast<int>(s.BackgroundValue)));
    lines.push_back(std::string("printview.window.visible:") + FlagText(s.OnPrintPage));
    static const char* const colourKeys[] = {"red", "green", "blue"};
    for (int L = 1; L <= s.LineCount && L <= OverlayMaxStyledLine; ++L) {
        const std::string key = "line." + std::to_string(L) + ".";
        lines.push_back(key + "window:" + NumberText(s.LineWindow[static_cast<size_t>(L)]));
        for (int c = 0; c < 3; ++c)
            lines.push_back(key + colourKeys[c] + ":" +
                            NumberText(static_cast<int>(s.LineColor[static_cast<size_t>(L)][static_cast<size_t>(c)])));
    }
    lines[0] = std::to_string(lines.size() - 1);
    return lines;
}

WindowSettingRequest ApplyOverlaySettingLine(OverlayState& s, const std::string& line) {
    WindowSettingRequest req;
    const WindowSettingsLine parsed = ParseWindowSettingsLine(line);
    if (!parsed.valid) return req;
    const std::string& key = parsed.key;
    const std::string& value = parsed.value;
    if (const auto place = PlaceSettingRequest(parsed)) return *place;
    if (key == "printview.window.visible") return SharedWindowSettingRequest(parsed).value_or(req);
    if (ReadSourceLineWindow(parsed, s.LineWindow)) return req;

    const auto& p = parsed.pieces;
    if (ReadFillColourLine(key, value, s.FillRed, s.FillGreen, s.FillBlue)) return req;
    if (key == "regionlines.show") {
        if (ReadFlag(value, s.ShowRegionLines))
            s.setCaption(OverlayMenuRegionLines, s.ShowRegionLines ? "Hide marker lines" : "Show marker lines");
    } else if (key == "background") {
        ReadBackgroundGrey(value, s.BackgroundValue, s.DarkBackground);
    } else if (p.size() == 5 && p[2] == "line") {
        int component = -1;
        if (p[4] == "red") component = 0;
        else if (p[4] == "green") component = 1;
        else if (p[4] == "blue") component = 2;
        const auto index = ReadInt16(p[3]);
        const auto v = ReadByte(value);
        if (component >= 0 && index && *index >= 0 && *index <= OverlayMaxStyledLine && v)
            s.LineColor[static_cast<size_t>(*index)][static_cast<size_t>(component)] = *v;
    }
    return req;
}

}  // namespace qv
