#include "plots/multi/model/BendPlotSettings.h"

#include <optional>

#include "core/FastDraw.h"
#include "core/Numbers.h"
#include "core/SharedState.h"

namespace qv {

std::vector<std::string> BendPlotSettingsLines(const BendPlotState& s, const WindowFrameTwips& frame,
                                               const std::vector<std::string>& statisticsLines) {
    std::vector<std::string> lines;
    lines.emplace_back();  // the count, filled last
    AppendWindowFrameLines(lines, frame);
    lines.push_back("show:" + NumberText(s.ShownPopulation));
    lines.push_back(std::string("regionlines.show:") + FlagText(s.RegionLinesShown));
    lines.push_back(std::string("regionlines.showcreatedhere:") + FlagText(s.CreatedHereOnly));
    lines.push_back(std::string("fastdraw.enabled:") + FlagText(s.FastDraw));
    lines.push_back("background:" + NumberText(static_cast<int>(s.ForegroundLevel)));
    lines.push_back(std::string("multicolor.enabled:") + FlagText(s.Multicolor));
    lines.push_back("dot.size:" + NumberText(static_cast<int>(s.DotSize)));
    lines.push_back(std::string("printview.window.visible:") + FlagText(s.OnPreviewPage));
    lines.push_back(std::string("printview.stat.visible:") + FlagText(s.StatisticsOnPreviewPage));
    lines.push_back(std::string("distancecolors:") + FlagText(s.DistanceColors));
    for (int i = 1; i <= BendRootAxis; ++i) {
        const AxisRecord& a = s.Axes[static_cast<size_t>(i)];
        if (!a.Exists) continue;
        const std::string head = "axis." + std::to_string(i) + ".";
        lines.push_back(head + "parameter:" + NumberText(a.Parameter));
        lines.push_back(head + "x:" + NumberText(a.X));
        lines.push_back(head + "y:" + NumberText(a.Y));
        lines.push_back(head + "connected:" + NumberText(a.Connected));
        lines.push_back(head + "yaxis:" + FlagText(a.YAxis));
    }
    lines.push_back(std::string("statistics.enabled:") + FlagText(s.StatisticsOpen));
    for (const std::string& l : statisticsLines) lines.push_back(l);
    lines[0] = std::to_string(lines.size() - 1);
    return lines;
}

namespace {

// "axis.N.field": entry N (1..100) gets the value.
void applyAxisLine(BendPlotState& s, const WindowSettingsLine& parsed) {
    if (parsed.pieces.size() < 5) return;
    const std::optional<int16_t> n = ReadInt16(parsed.pieces[3]);
    if (!n || *n < 1 || *n > BendRootAxis) return;
    const std::string& field = parsed.pieces[4];
    const std::string& value = parsed.value;
    std::optional<int32_t> number;
    if (field != "yaxis") {
        number = ReadInt32(value);
        if (!number) return;
    }
    if (field == "parameter" && (*number < 1 || *number > INT16_MAX)) return;
    if (field == "connected" && (*number < 1 || *number > BendRootAxis)) return;
    if (field != "parameter" && field != "x" && field != "y" && field != "connected" && field != "yaxis") return;

    if (!s.AxesFromSheet) {
        // A saved window names every axis it had: defaults it deleted stay gone.
        s.AxesFromSheet = true;
        for (int a = 1; a <= BendLastAxis; ++a) s.Axes[static_cast<size_t>(a)] = AxisRecord{};
    }
    AxisRecord& a = s.Axes[static_cast<size_t>(*n)];
    a.Exists = true;
    if (field == "parameter") a.Parameter = static_cast<int16_t>(*number);
    else if (field == "x") a.X = *number;
    else if (field == "y") a.Y = *number;
    else if (field == "connected") a.Connected = static_cast<int16_t>(*number);
    else a.YAxis = value == "1";
}

}  // namespace

WindowSettingRequest ApplyBendPlotSettingLine(BendPlotState& s, const std::string& line, int32_t fileEventCount,
                                              int32_t fastDrawLimit) {
    WindowSettingRequest req;
    const WindowSettingsLine parsed = ParseWindowSettingsLine(line);
    if (!parsed.valid) return req;
    if (const auto shared = SharedWindowSettingRequest(parsed)) return *shared;
    const std::string& key = parsed.key;
    const std::string& value = parsed.value;

    auto flag = [&](bool& field, int item, const char* onCaption, const char* offCaption) {
        if (ReadFlag(value, field)) s.setCaption(item, field ? onCaption : offCaption);
    };

    if (parsed.pieces.size() >= 3 && parsed.pieces[2] == "axis") {
        applyAxisLine(s, parsed);
    } else if (key == "show") {
        if (const auto d = ParseNumber(value)) {
            const double v = Int(*d);
            if (v >= 0 && v < PopulationTableSize) s.ShownPopulation = static_cast<int16_t>(v);
        }
    } else if (key == "regionlines.show") {
        flag(s.RegionLinesShown, BendMenuRegionLines, "Hide region lines", "Show region lines");
    } else if (key == "regionlines.showcreatedhere") {
        flag(s.CreatedHereOnly, BendMenuCreatedHere, "Show all regions", "Show only regions created here");
    } else if (key == "multicolor.enabled") {
        flag(s.Multicolor, BendMenuMulticolour, "Disable multicoloring", "Enable multicoloring");
    } else if (key == "distancecolors") {
        flag(s.DistanceColors, BendMenuDistanceColours, "Don't use distance colors", "Use distance colors");
    } else if (key == "fastdraw.enabled") {
        if (ReadFastDrawFlag(value, s.FastDraw, s.EventStep, fileEventCount, fastDrawLimit))
            s.setCaption(BendMenuFastDraw, s.FastDraw ? "Full draw mode" : "Fast draw mode");
    } else if (key == "background") {
        ReadBackgroundGrey(value, s.ForegroundLevel, s.DarkBackground);
    } else if (key == "dot.size") {
        if (const auto size = ReadDotSize(value)) {
            s.DotSize = *size;
            s.setCaption(BendMenuDotSize, DotSizeCaption(*size));
        }
    } else if (key == "printview.stat.visible") {
        ReadFlag(value, s.StatisticsOnPreviewPage);
    }
    return req;
}

}  // namespace qv
