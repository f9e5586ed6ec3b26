#include "plots/dotplot/model/DotPlotSettings.h"

#include <cmath>
#include <optional>
#include <stdexcept>

#include "core/Numbers.h"

namespace qv {

std::vector<std::string> DotPlotSettingsLines(const DotPlotState& s, const DotPlotFrame& frame,
                                              const std::vector<std::string>& statisticsLines) {
    std::vector<std::string> lines;
    lines.reserve(23 + statisticsLines.size());
    lines.emplace_back();  // the count, filled last
    AppendWindowFrameLines(lines, frame);
    lines.push_back("axis.x:" + NumberText(s.ChannelX));
    lines.push_back("axis.y:" + NumberText(s.ChannelY));
    lines.push_back("show:" + NumberText(s.ShownPopulation));
    lines.push_back(std::string("quadrant.enabled:") + FlagText(s.QuadrantOn));
    lines.push_back("quadrant.x:" + NumberText(s.QuadrantX));
    lines.push_back("quadrant.y:" + NumberText(s.QuadrantY));
    lines.push_back(std::string("density.enabled:") + FlagText(s.DensityOn));
    lines.push_back("density.resolution:" + NumberText(s.DensityResolution));
    lines.push_back(std::string("regionlines.show:") + FlagText(s.RegionLinesOn));
    lines.push_back(std::string("regionlines.showcreatedhere:") + FlagText(s.CreatedHereOnly));
    lines.push_back(std::string("fastdraw.enabled:") + FlagText(s.FastDrawOn));
    lines.push_back("background:" + NumberText(static_cast<int>(s.ForegroundGrey)));
    lines.push_back(std::string("multicolor.enabled:") + FlagText(s.MulticolourOn));
    lines.push_back("dot.size:" + NumberText(static_cast<int>(s.DotSize)));
    lines.push_back(std::string("printview.window.visible:") + FlagText(s.InPreview));
    lines.push_back(std::string("printview.stat.visible:") + FlagText(s.StatInPreview));
    lines.push_back(std::string("statistics.enabled:") + FlagText(s.StatisticsOpen));
    for (const std::string& l : statisticsLines) lines.push_back(l);
    lines[0] = std::to_string(lines.size() - 1);
    return lines;
}

DotPlotSettingRequest ApplyDotPlotSettingLine(DotPlotState& s, const std::string& line, int32_t fileEventCount,
                                              int32_t fastDrawLimit) {
    DotPlotSettingRequest req;
    const WindowSettingsLine parsed = ParseWindowSettingsLine(line);
    if (!parsed.valid) return req;
    if (const auto shared = SharedWindowSettingRequest(parsed)) return *shared;
    const std::string& key = parsed.key;
    const std::string& value = parsed.value;

    auto flag = [&](bool& field, int item, const char* onCaption, const char* offCaption) {
        if (ReadFlag(value, field)) s.setCaption(item, field ? onCaption : offCaption);
    };

    if (key == "axis.x") {
        if (const auto v = ReadInt16(value)) s.ChannelX = *v;
    } else if (key == "axis.y") {
        if (const auto v = ReadInt16(value)) s.ChannelY = *v;
    } else if (key == "show") {
        if (const auto d = ParseNumber(value)) {
            const double v = Int(*d);
            if (v >= INT16_MIN && v <= INT16_MAX) s.ShownPopulation = static_cast<int16_t>(v);
        }
    } else if (key == "quadrant.enabled") {
        flag(s.QuadrantOn, MenuQuadrant, "Hide quadrant", "Show quadrant");
    } else if (key == "quadrant.x") {
        if (const auto v = ReadInt32(value)) s.QuadrantX = *v;
    } else if (key == "quadrant.y") {
        if (const auto v = ReadInt32(value)) s.QuadrantY = *v;
    } else if (key == "density.enabled") {
        flag(s.DensityOn, MenuDensity, "Dot plot", "Density plot");
    } else if (key == "regionlines.show") {
        flag(s.RegionLinesOn, MenuRegionLines, "Hide region lines", "Show region lines");
    } else if (key == "regionlines.showcreatedhere") {
        flag(s.CreatedHereOnly, MenuCreatedHere, "Show all regions", "Show only regions created here");
    } else if (key == "fastdraw.enabled") {
        if (ReadFastDrawFlag(value, s.FastDrawOn, s.EventStep, fileEventCount, fastDrawLimit))
            s.setCaption(MenuFastDraw, s.FastDrawOn ? "Full draw mode" : "Fast draw mode");
    } else if (key == "background") {
        ReadBackgroundGrey(value, s.ForegroundGrey, s.DarkBackground, /*towardZero=*/true);
    } else if (key == "multicolor.enabled") {
        flag(s.MulticolourOn, MenuMulticolour, "Disable multicoloring", "Enable multicoloring");
    } else if (key == "dot.size") {
        if (const auto size = ReadDotSize(value)) {
            s.DotSize = *size;
            s.setCaption(MenuDotSize, DotSizeCaption(*size));
        }
    } else if (key == "printview.stat.visible") {
        ReadFlag(value, s.StatInPreview);
    }
    return req;
}

}  // namespace qv
