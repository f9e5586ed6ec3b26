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
        if (value == "1") {
            field = true;
            v.setCaption(item, onCaption);
        } else if (value == "0") {
            field = false;
            v.setCaption(item, offCaption);
        }
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
        if (value == "0") {
            v.FastDraw = false;
            v.EventStep = 1;
            v.setCaption(it.FastDraw, "Fast draw mode");
        } else if (value == "1") {
            v.FastDraw = true;
            v.EventStep = FastDrawStep(file.eventCount, file.fastDrawLimit);
            v.setCaption(it.FastDraw, "Full draw mode");
        }
    } else if (key == "background") {
        if (const auto d = ParseNumber(value)) {
            const double level = Int(*d);
            if (level >= 0 && level <= 255) {
                v.ForegroundLevel = static_cast<uint8_t>(level);
                if (v.ForegroundLevel == 0) v.DarkBackground = false;
                if (v.ForegroundLevel == 255) v.DarkBackground = true;
            }
        }
    } else if (key == "multicolor.enabled") {
        flag(v.Multicolor, it.Multicolor, "Disable multicoloring", "Enable multicoloring");
    } else if (key == "dot.size") {
        if (value == "2") {
            v.DotSize = 2;
            v.setCaption(it.DotSize, "Small dots");
        } else if (value == "1") {
            v.DotSize = 1;
            v.setCaption(it.DotSize, "Large dots");
        }
    } else {
        handled = false;
    }
    return none;
}

}  // namespace qv
