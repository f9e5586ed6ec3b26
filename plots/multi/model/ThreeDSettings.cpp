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
        if (value == "1") {
            field = true;
            s.setCaption(item, onCaption);
        } else if (value == "0") {
            field = false;
            s.setCaption(item, offCaption);
        }
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
        if (const auto v = ParseNumber(value)) {
            const double b = Int(*v);
            if (b >= 0 && b <= 255) {
                s.BackgroundLevel = static_cast<uint8_t>(b);
                if (s.BackgroundLevel == 255) s.DarkBackground = true;
                if (s.BackgroundLevel == 0) s.DarkBackground = false;
            }
        }
    } else if (key == "dot.size") {
        if (value == "2") {
            s.DotSize = 2;
            s.setCaption(ThreeDMenuDotSize, "Small dots");
        } else if (value == "1") {
            s.DotSize = 1;
            s.setCaption(ThreeDMenuDotSize, "Large dots");
        }
    } else if (key == "fastdraw.enabled") {
        if (value == "0") {
            s.FastDraw = false;
            s.Step = 1;
            s.setCaption(ThreeDMenuFastDraw, "Fast draw mode");
        } else if (value == "1") {
            s.FastDraw = true;
            s.Step = FastDrawStep(fileEventCount, fastDrawLimit);
            s.setCaption(ThreeDMenuFastDraw, "Full draw mode");
        }
    }
    return req;
}

}  // namespace qv
