#include "plots/multi/model/DadSettings.h"

#include <cmath>
#include <limits>
#include <optional>

#include "core/Numbers.h"

namespace qv {
namespace {

// Int of a number text within 1..top; nothing otherwise.
std::optional<int32_t> wholeAtLeastOne(const std::string& value, int32_t top) {
    const auto v = ParseNumber(value);
    if (!v) return std::nullopt;
    const double w = Int(*v);
    if (w < 1 || w > top) return std::nullopt;
    return static_cast<int32_t>(w);
}

}  // namespace

std::vector<std::string> DadSettingsLines(const DadLayout& layout, const DadPan& pan, float left, float top,
                                          int fileIndex) {
    return {"11",
            "location.x:" + NumberText(left),
            "location.y:" + NumberText(top),
            "file:" + NumberText(fileIndex),
            "axis.x:" + NumberText(layout.StartAxisX),
            "axis.y:" + NumberText(layout.StartAxisY),
            "iterations:" + NumberText(layout.IterationCount),
            "deviator:" + NumberText(layout.Deviator),
            "events:" + NumberText(layout.SampleSize),
            "movement.x:" + NumberText(pan.x),
            "movement.y:" + NumberText(pan.y),
            "show:" + NumberText(layout.ShownPopulation)};
}

WindowSettingRequest ApplyDadSettingLine(DadLayout& layout, DadPan& pan, const std::string& line) {
    using Kind = WindowSettingRequest::Kind;
    const WindowSettingsLine parsed = ParseWindowSettingsLine(line);
    if (!parsed.valid) return {};
    if (const auto shared = SharedWindowSettingRequest(parsed)) {
        // The window keeps its designed size and is never on the print page.
        if (shared->kind == Kind::Left || shared->kind == Kind::Top || shared->kind == Kind::File) return *shared;
        return {};
    }
    const std::string& key = parsed.key;
    const std::string& value = parsed.value;
    constexpr int32_t Largest = std::numeric_limits<int32_t>::max();

    if (key == "axis.x") {
        if (const auto v = ReadInt16(value); v && *v >= 1) layout.StartAxisX = *v;
    } else if (key == "axis.y") {
        if (const auto v = ReadInt16(value); v && *v >= 1) layout.StartAxisY = *v;
    } else if (key == "iterations") {
        if (const auto v = wholeAtLeastOne(value, Largest - 1)) layout.IterationCount = *v;
    } else if (key == "deviator") {
        if (const auto v = wholeAtLeastOne(value, Largest)) layout.Deviator = *v;
    } else if (key == "events") {
        if (const auto v = wholeAtLeastOne(value, MaxDadSampleSize())) {
            if (*v != layout.SampleSize) layout.TargetsStale = true;
            layout.SampleSize = *v;
        }
    } else if (key == "movement.x") {
        if (const auto v = ReadInt32(value)) pan.x = *v;
    } else if (key == "movement.y") {
        if (const auto v = ReadInt32(value)) pan.y = *v;
    } else if (key == "show") {
        if (const auto v = ParseNumber(value); v && Int(*v) >= 0 && Int(*v) <= 100) {
            const auto slot = static_cast<int16_t>(Int(*v));
            if (slot != layout.ShownPopulation) layout.TargetsStale = true;
            layout.ShownPopulation = slot;
        }
    }
    return {};
}

}  // namespace qv
