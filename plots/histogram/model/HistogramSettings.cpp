#include "plots/histogram/model/HistogramSettings.h"

#include <cmath>

#include "core/Numbers.h"
#include "core/FastDraw.h"

namespace qv {

std::vector<std::string> HistogramSettingsLines(const HistogramState& s, const HistogramFrame& frame,
                                                const std::vector<std::string>& statisticsLines) {
    std::vector<std::string> lines;
    lines.reserve(21 + statisticsLines.size());
    lines.emplace_back();  // the count, filled last
    AppendWindowFrameLines(lines, frame);
    lines.push_back("axis.x:" + NumberText(s.Channel));
    lines.push_back("show:" + NumberText(s.ShownPopulation));
    lines.push_back("fill.red:" + NumberText(static_cast<int>(s.FillRed)));
    lines.push_back("fill.green:" + NumberText(static_cast<int>(s.FillGreen)));
    lines.push_back("fill.blue:" + NumberText(static_cast<int>(s.FillBlue)));
    lines.push_back(std::string("border.enabled:") + FlagText(s.DrawOutline));
    lines.push_back("yscale:" + NumberText(s.YScale));
    lines.push_back("smoothing:" + NumberText(s.Smoothing));
    lines.push_back(std::string("regionlines.show:") + FlagText(s.ShowRegionLines));
    lines.push_back(std::string("regionlines.showcreatedhere:") + FlagText(s.ShowCreatedHereOnly));
    lines.push_back(std::string("fastdraw.enabled:") + FlagText(s.FastDraw));
    lines.push_back("background:" + NumberText(static_cast<int>(s.BackgroundValue)));
    lines.push_back(std::string("printview.window.visible:") + FlagText(s.OnPrintPage));
    lines.push_back(std::string("printview.stat.visible:") + FlagText(s.StatisticsOnPrintPage));
    lines.push_back(std::string("statistics.enabled:") + FlagText(s.StatisticsOpen));
    for (const std::string& l : statisticsLines) lines.push_back(l);
    lines[0] = std::to_string(lines.size() - 1);
    return lines;
}

WindowSettingRequest ApplyHistogramSettingLine(HistogramState& s, const std::string& line, int32_t fileEventCount,
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
    auto nonNegative = [&](int32_t& field) {
        if (const auto v = ReadInt32(value); v && *v >= 0) field = *v;
    };

    if (key == "axis.x") {
        if (const auto v = ReadInt16(value)) s.Channel = *v;
    } else if (key == "show") {
        if (const auto v = ReadInt16(value)) s.ShownPopulation = *v;
    } else if (key == "fill.red") {
        if (const auto v = ReadByte(value)) s.FillRed = *v;
    } else if (key == "fill.green") {
        if (const auto v = ReadByte(value)) s.FillGreen = *v;
    } else if (key == "fill.blue") {
        if (const auto v = ReadByte(value)) s.FillBlue = *v;
    } else if (key == "border.enabled") {
        flag(s.DrawOutline, HistoMenuOutline, "Don't draw outline", "Draw outline");
    } else if (key == "yscale") {
        nonNegative(s.YScale);
    } else if (key == "smoothing") {
        nonNegative(s.Smoothing);
        s.Smoothing = SmoothingWithin(s.Smoothing, s.Resolution);
    } else if (key == "regionlines.show") {
        flag(s.ShowRegionLines, HistoMenuRegionLines, "Hide marker lines", "Show marker lines");
    } else if (key == "regionlines.showcreatedhere") {
        flag(s.ShowCreatedHereOnly, HistoMenuCreatedHere, "Show all markers", "Show only markers created here");
    } else if (key == "fastdraw.enabled") {
        if (const auto mode = DrawModeFromFlag(value, fileEventCount, fastDrawLimit)) {
            s.FastDraw = mode->fast;
            s.DrawStep = mode->step;
            s.setCaption(HistoMenuFastDraw, mode->caption);
        }
    } else if (key == "background") {
        ApplyBackgroundLevel(value, s.BackgroundValue, s.DarkBackground);
    } else if (key == "printview.stat.visible") {
        if (value == "1") s.StatisticsOnPrintPage = true;
        else if (value == "0") s.StatisticsOnPrintPage = false;
    }
    return req;
}

}  // namespace qv
