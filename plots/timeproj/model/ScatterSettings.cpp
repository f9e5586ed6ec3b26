#include "plots/timeproj/model/ScatterSettings.h"

#include "core/FastDraw.h"
#include "core/Numbers.h"
#include "plots/timeproj/model/ScatterDisplay.h"

namespace qv {

void AppendScatterSettingsLines(std::vector<std::string>& lines, const ScatterView& v,
                                const WindowFrameTwips& frame) {
    AppendWindowFrameLines(lines, frame);
    lines.push_back("axis.x:" + NumberText(v.AxisX));
    lines.push_back("axis.y:" + NumberText(v.AxisY));
    lines.push_back("show:" + NumberText(v.ShownPopulation));
    lines.push_back(std::string("density.enabled:") + FlagText(v.DensityShown));
    lines.push_back("density.resolution:" + NumberText(v.DensityResolution));
    lines.push_back(std::string("fastdraw.enabled:") + FlagText(v.FastDraw));
    lines.push_back("background:" + NumberText(static_cast<int>(v.ForegroundLevel)));
    lines.push_back(std::string("multicolor.enabled:") + FlagText(v.Multicolor));
    lines.push_back("dot.size:" + NumberText(static_cast<int>(v.DotSize)));
    lines.push_back(std::string("printview.window.visible:") + FlagText(v.OnPreviewPage));
}

WindowSettingRequest ApplyScatterSettingLine(ScatterView& v, const WindowSettingsLine& line,
                                             const ScatterFileFacts& file, bool& handled) {
    handled = true;
    if (const auto shared = SharedWindowSettingRequest(line)) return *shared;
    WindowSettingRequest none;
    const std::string& key = line.key;
    const std::string& value = line.value;
    const ScatterMenuItems& it = v.Items;

    auto flag = [&](bool& field, int item, const char* onCaption, const char* offCaption) {
        if (ReadFlag(value, field)) v.setCaption(item, field ? onCaption : offCaption);
    };

    if (key == "axis.x") {
        if (const auto a = AxisValue(value, file.parameterCount)) v.AxisX = *a;
    } else if (key == "axis.y") {
        if (const auto a = AxisValue(value, file.parameterCount)) v.AxisY = *a;
    } else if (key == "show") {
        if (const auto p = ShownPopulationValue(value)) v.ShownPopulation = *p;
    } else if (key == "density.enabled") {
        flag(v.DensityShown, it.Density, "Dot plot", "Density plot");
    } else if (key == "density.resolution") {
        // Written for the record only; the grid keeps its resolution.
    } else if (key == "fastdraw.enabled") {
        if (ReadFastDrawFlag(value, v.FastDraw, v.EventStep, file.eventCount, file.fastDrawLimit))
            v.setCaption(it.FastDraw, v.FastDraw ? "Full draw mode" : "Fast draw mode");
    } else if (key == "background") {
        ReadBackgroundGrey(value, v.ForegroundLevel, v.DarkBackground);
    } else if (key == "multicolor.enabled") {
        flag(v.Multicolor, it.Multicolor, "Disable multicoloring", "Enable multicoloring");
    } else if (key == "dot.size") {
        if (const auto size = ReadDotSize(value)) {
            v.DotSize = *size;
            v.setCaption(it.DotSize, DotSizeCaption(*size));
        }
    } else {
        handled = false;
    }
    return none;
}

}  // namespace qv
