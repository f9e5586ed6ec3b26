#include "plots/multi/model/ThreeDSettings.h"

#include <cmath>

#include "core/FastDraw.h"
#include "core/Numbers.h"

namespace qv {

std::vector<std::string> ThreeDSettingsLines(const ThreeDState& s, const WindowFrameTwips& frame) {
    std::vector<std::string> lines;
    lines.emplace_back();  // the count, filled last
    AppendWindowFrameLines(lines, frame);
    lines.push_back("axis.x:" + NumberText(s.AxisX));
    lines.push_back("axis.y:" + NumberText(s.AxisY));
    lines.push_back("axis.z:" + NumberText(s.AxisZ));
    lines.push_back("show:" + NumberText(s.ShownPopulation));
    lines.push_back(std::string("fastdraw.enabled:") + FlagText(s.FastDraw));
    lines.push_back("rotate.x:" + NumberText(s.RotateX));
    lines.push_back("rotate.y:" + NumberText(s.RotateY));
    lines.push_back("rotate.z:" + NumberText(s.RotateZ));
    lines.push_back(std::string("lines.show:") + FlagText(s.ShowOutlines));
    lines.push_back("distance:" + NumberText(s.Distance));
    lines.push_back("background:" + NumberText(static_cast<int>(s.BackgroundLevel)));
    lines.push_back("dot.size:" + NumberText(static_cast<int>(s.DotSize)));
    lines.push_back(std::string("parameternames.show:") + FlagText(s.ShowParameterNames));
    lines.push_back(std::string("printview.window.visible:") + FlagText(s.OnPrintPage));
    lines[0] = std::to_string(lines.size() - 1);
    return lines;
}

WindowSettingRequest ApplyThreeDSettingLine(ThreeDState& s, const std::string& line, int32_t fileEventCount,
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
    // A parameter number: the drawing keeps it within the file's parameters.
    auto axis = [&](int16_t& field) {
        if (const auto v = ReadInt16(value); v && *v >= 1) field = *v;
    };
    // An angle or a distance far beyond any picture would only blank it.
    constexpr double Far = 1e9;

    if (key == "axis.x") {
        axis(s.AxisX);
    } else if (key == "axis.y") {
        axis(s.AxisY);
    } else if (key == "axis.z") {
        axis(s.AxisZ);
    } else if (key == "show") {
        if (const auto v = ReadInt16(value); v && *v >= 0 && *v <= 100) s.ShownPopulation = *v;
    } else if (key == "distance") {
        if (const auto v = ParseNumber(value); v && std::fabs(*v) <= Far) s.Distance = Int(*v);
    } else if (key == "rotate.x" || key == "rotate.y" || key == "rotate.z") {
        if (const auto v = ParseNumber(value); v && std::fabs(*v) <= Far)
            (key == "rotate.x" ? s.RotateX : key == "rotate.y" ? s.RotateY : s.RotateZ) = *v;
    } else if (key == "lines.show") {
        flag(s.ShowOutlines, ThreeDMenuOutlines, "Hide outlines", "Show outlines");
    } else if (key == "parameternames.show") {
        flag(s.ShowParameterNames, ThreeDMenuParameterNames, "Hide parameter names", "Show parameter names");
    } else if (key == "background") {
        ReadBackgroundGrey(value, s.BackgroundLevel, s.DarkBackground);
    } else if (key == "dot.size") {
        if (const auto size = ReadDotSize(value)) {
            s.DotSize = *size;
            s.setCaption(ThreeDMenuDotSize, DotSizeCaption(*size));
        }
    } else if (key == "fastdraw.enabled") {
        if (ReadFastDrawFlag(value, s.FastDraw, s.Step, fileEventCount, fastDrawLimit))
            s.setCaption(ThreeDMenuFastDraw, s.FastDraw ? "Full draw mode" : "Fast draw mode");
    }
    return req;
}

}  // namespace qv
