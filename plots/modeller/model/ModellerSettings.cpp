#include "plots/modeller/model/ModellerSettings.h"

#include <cmath>

#include "core/FastDraw.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "plots/histogram/model/HistogramState.h"

namespace qv {

std::vector<std::string> ModellerSettingsLines(const ModellerState& s, const WindowFrameTwips& frame,
                                               const std::vector<std::string>& statisticsLines) {
    std::vector<std::string> lines;
    lines.reserve(18 + 6 * static_cast<size_t>(s.activeCurveCount()) + statisticsLines.size());
    lines.emplace_back();  // the count, filled last
    AppendWindowFrameLines(lines, frame);
    lines.push_back("axis.x:" + NumberText(s.Channel));
    lines.push_back("show:" + NumberText(s.ShownPopulation));
    lines.push_back("fill.red:" + NumberText(static_cast<int>(s.FillRed)));
    lines.push_back("fill.green:" + NumberText(static_cast<int>(s.FillGreen)));
    lines.push_back("fill.blue:" + NumberText(static_cast<int>(s.FillBlue)));
    lines.push_back("yscale:" + NumberText(s.YScale));
    lines.push_back("smoothing:" + NumberText(s.Smoothing));
    lines.push_back(std::string("fastdraw.enabled:") + FlagText(s.FastDraw));
    lines.push_back("background:" + NumberText(static_cast<int>(s.BackgroundLevel)));
    lines.push_back(std::string("printview.window.visible:") + FlagText(s.InPreview));
    lines.push_back(std::string("printview.stat.visible:") + FlagText(s.StatInPreview));
    for (int k = 1; k <= s.MaxCurves; ++k) {
        const GaussCurve* c = s.curve(k);
        if (!c || !c->Active) continue;
        const std::string key = "curve." + std::to_string(k) + ".";
        lines.push_back(key + "name:" + c->Name);
        lines.push_back(key + "height:" + NumberText(c->Height));
        lines.push_back(key + "place:" + NumberText(c->Place));
        lines.push_back(key + "deviation.left:" + NumberText(c->LeftDeviation));
        lines.push_back(key + "deviation.right:" + NumberText(c->RightDeviation));
        lines.push_back(key + "plateau:" + NumberText(c->Plateau));
    }
    lines.push_back(std::string("statistics.enabled:") + FlagText(s.StatisticsOpen));
    for (const std::string& l : statisticsLines) lines.push_back(l);
    lines[0] = std::to_string(lines.size() - 1);
    return lines;
}

namespace {

void applyCurveLine(ModellerState& s, const WindowSettingsLine& parsed, const std::string& line) {
    const auto& w = parsed.pieces;
    if (w.size() < 5) return;
    const std::optional<int32_t> k = ReadInt32(w[3]);
    GaussCurve* c = k ? s.curve(*k) : nullptr;
    if (!c) return;
    // Any line of a curve activates it, also one whose value does not read
    // (that value is then left as it was).
    c->Active = true;
    const std::string& field = w[4];
    if (field == "name") {
        c->Name = line.substr(line.find(':') + 1);
        return;
    }
    const bool numeric = field == "height" || field == "place" || field == "plateau" || field == "deviation";
    if (!numeric) return;
    const std::optional<double> v = ParseNumber(parsed.value);
    if (!v) return;
    if (field == "place") {
        const std::optional<int32_t> place = ReadInt32(parsed.value);
        if (!place) return;
        c->Place = *place;
    } else if (field == "height") {
        c->Height = *v;
    } else if (field == "plateau") {
        c->Plateau = *v;
    } else {
        const std::string side = w.size() > 5 ? w[5] : std::string();
        if (side == "left") c->LeftDeviation = UsableDeviation(*v);
        else if (side == "right") c->RightDeviation = UsableDeviation(*v);
    }
}

}  // namespace

WindowSettingRequest ApplyModellerSettingLine(ModellerState& s, const std::string& line, int32_t fileEventCount,
                                              int32_t fastDrawLimit) {
    WindowSettingRequest req;
    const WindowSettingsLine parsed = ParseWindowSettingsLine(line);
    if (!parsed.valid) return req;
    if (const auto shared = SharedWindowSettingRequest(parsed)) return *shared;
    const std::string& key = parsed.key;
    const std::string& value = parsed.value;
    auto nonNegative = [&](int32_t& field) {
        if (const auto v = ReadInt32(value); v && *v >= 0) field = *v;
    };

    if (parsed.pieces[2] == "curve") {
        applyCurveLine(s, parsed, line);
    } else if (key == "axis.x") {
        if (const auto v = ReadInt16(value)) s.Channel = *v;
    } else if (key == "show") {
        if (const auto v = ReadInt16(value); v && *v >= 0 && *v < PopulationTableSize) s.ShownPopulation = *v;
    } else if (key == "fill.red") {
        if (const auto v = ReadByte(value)) s.FillRed = *v;
    } else if (key == "fill.green") {
        if (const auto v = ReadByte(value)) s.FillGreen = *v;
    } else if (key == "fill.blue") {
        if (const auto v = ReadByte(value)) s.FillBlue = *v;
    } else if (key == "yscale") {
        nonNegative(s.YScale);
    } else if (key == "smoothing") {
        nonNegative(s.Smoothing);
        s.Smoothing = SmoothingWithin(s.Smoothing, s.HistogramResolution);
    } else if (key == "fastdraw.enabled") {
        if (const auto mode = DrawModeFromFlag(value, fileEventCount, fastDrawLimit)) {
            s.FastDraw = mode->fast;
            s.DrawStep = mode->step;
            s.setCaption(ModellerMenuFastDraw, mode->caption);
        }
    } else if (key == "background") {
        ReadBackgroundGrey(value, s.BackgroundLevel, s.DarkBackground);
    } else if (key == "printview.stat.visible") {
        ReadFlag(value, s.StatInPreview);
    }
    return req;
}

}  // namespace qv
