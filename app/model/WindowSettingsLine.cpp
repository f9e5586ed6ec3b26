#include "app/model/WindowSettingsLine.h"

#include <cmath>
#include <stdexcept>

#include "core/FastDraw.h"
#include "core/Numbers.h"

namespace qv {

namespace {

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t at = s.find(sep, start);
        if (at == std::string::npos) {
            out.push_back(s.substr(start));
            return out;
        }
        out.push_back(s.substr(start, at - start));
        start = at + 1;
    }
}

}  // namespace

void AppendWindowPlaceLines(std::vector<std::string>& lines, const WindowFrameTwips& frame) {
    lines.push_back("location.x:" + NumberText(frame.left));
    lines.push_back("location.y:" + NumberText(frame.top));
    lines.push_back("size.x:" + NumberText(frame.width));
    lines.push_back("size.y:" + NumberText(frame.height));
}

void AppendWindowFrameLines(std::vector<std::string>& lines, const WindowFrameTwips& frame) {
    AppendWindowPlaceLines(lines, frame);
    lines.push_back("file:" + NumberText(frame.fileIndex));
}

WindowSettingsLine ParseWindowSettingsLine(const std::string& line) {
    WindowSettingsLine out;
    const std::vector<std::string> parts = split(line, ':');
    if (parts.size() < 2) return out;
    out.value = parts[1];
    out.pieces = split(parts[0], '.');
    if (out.pieces.size() < 3) return out;
    out.key = out.pieces[2];
    for (size_t i = 3; i < out.pieces.size() && i <= 5; ++i) out.key += "." + out.pieces[i];
    out.valid = true;
    return out;
}

std::optional<int16_t> ReadInt16(const std::string& value) {
    const auto d = ParseNumber(value);
    if (!d) return std::nullopt;
    try {
        return CInt(*d);
    } catch (const std::overflow_error&) {
        return std::nullopt;
    }
}

std::optional<int32_t> ReadInt32(const std::string& value) {
    const auto d = ParseNumber(value);
    if (!d) return std::nullopt;
    try {
        return CLng(*d);
    } catch (const std::overflow_error&) {
        return std::nullopt;
    }
}

std::optional<uint8_t> ReadByte(const std::string& value) {
    const auto v = ReadInt16(value);
    if (!v || *v < 0 || *v > 255) return std::nullopt;
    return static_cast<uint8_t>(*v);
}

void AppendFillColourLines(std::vector<std::string>& lines, uint8_t red, uint8_t green, uint8_t blue) {
    lines.push_back("fill.red:" + NumberText(static_cast<int>(red)));
    lines.push_back("fill.green:" + NumberText(static_cast<int>(green)));
    lines.push_back("fill.blue:" + NumberText(static_cast<int>(blue)));
}

bool ReadFillColourLine(const std::string& key, const std::string& value, uint8_t& red, uint8_t& green,
                        uint8_t& blue) {
    uint8_t* component = key == "fill.red" ? &red : key == "fill.green" ? &green : key == "fill.blue" ? &blue : nullptr;
    if (!component) return false;
    if (const auto v = ReadByte(value)) *component = *v;
    return true;
}

bool ReadFlag(const std::string& value, bool& field) {
    if (value == "1") field = true;
    else if (value == "0") field = false;
    else return false;
    return true;
}

bool ReadFastDrawFlag(const std::string& value, bool& fastDraw, int32_t& step, int32_t eventCount,
                      int32_t fastDrawLimit) {
    if (!ReadFlag(value, fastDraw)) return false;
    step = fastDraw ? FastDrawStep(eventCount, fastDrawLimit) : 1;
    return true;
}

std::optional<uint8_t> ReadDotSize(const std::string& value) {
    if (value == "1") return uint8_t{1};
    if (value == "2") return uint8_t{2};
    return std::nullopt;
}

bool ReadBackgroundGrey(const std::string& value, uint8_t& grey, bool& dark, bool towardZero) {
    const auto d = ParseNumber(value);
    if (!d) return false;
    const double v = towardZero ? Fix(*d) : Int(*d);
    if (!(v >= 0 && v <= 255)) return false;
    grey = static_cast<uint8_t>(v);
    if (grey == 0) dark = false;
    if (grey == 255) dark = true;
    return true;
}

std::optional<WindowSettingRequest> SharedWindowSettingRequest(const WindowSettingsLine& line) {
    using Kind = WindowSettingRequest::Kind;
    WindowSettingRequest req;
    const std::string& key = line.key;
    const std::string& value = line.value;
    auto number = [&](Kind kind) {
        if (const auto d = ParseNumber(value)) {
            // The window's place and size are 32-bit floats.
            if (std::fabs(*d) <= 3.4e38) {
                req.kind = kind;
                req.number = static_cast<float>(*d);
            }
        }
        return req;
    };
    auto flag = [&](Kind kind) {
        if (value == "1" || value == "0") {
            req.kind = kind;
            req.flag = value == "1";
        }
        return req;
    };
    if (key == "location.x") return number(Kind::Left);
    if (key == "location.y") return number(Kind::Top);
    if (key == "size.x") return number(Kind::Width);
    if (key == "size.y") return number(Kind::Height);
    if (key == "file") {
        if (const auto v = ReadInt16(value)) {
            req.kind = Kind::File;
            req.number = *v;
        }
        return req;
    }
    if (key == "printview.window.visible") return flag(Kind::Preview);
    if (key == "statistics.enabled") return flag(Kind::Statistics);
    const auto& p = line.pieces;
    if (key == "statistics.x" || key == "statistics.y" ||
        (p.size() == 6 && p[2] == "statistics" && p[3] == "column" && p[5] == "visible")) {
        req.kind = Kind::StatisticsLine;
        req.key = key;
        req.value = value;
        return req;
    }
    return std::nullopt;
}

}  // namespace qv
