#include "plots/dotplot/model/DotPlotSettings.h"

#include <cmath>
#include <optional>
#include <stdexcept>

#include "core/Numbers.h"

namespace qv {

namespace {

const char* flagText(bool b) { return b ? "1" : "0"; }

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

// CInt / CLng of a number text; nothing when the text is no number or the
// value does not fit.
std::optional<int16_t> readInt16(const std::string& v) {
    const auto d = ParseNumber(v);
    if (!d) return std::nullopt;
    try {
        return CInt(*d);
    } catch (const std::overflow_error&) {
        return std::nullopt;
    }
}

std::optional<int32_t> readInt32(const std::string& v) {
    const auto d = ParseNumber(v);
    if (!d) return std::nullopt;
    try {
        return CLng(*d);
    } catch (const std::overflow_error&) {
        return std::nullopt;
    }
}

}  // namespace

std::vector<std::string> DotPlotSettingsLines(const DotPlotState& s, const DotPlotFrame& frame,
                                              const std::vector<std::string>& statisticsLines) {
    std::vector<std::string> lines;
    lines.reserve(23 + statisticsLines.size());
    lines.emplace_back();  // the count, filled last
    lines.push_back("location.x:" + NumberText(frame.left));
    lines.push_back("location.y:" + NumberText(frame.top));
    lines.push_back("size.x:" + NumberText(frame.width));
    lines.push_back("size.y:" + NumberText(frame.height));
    lines.push_back("file:" + NumberText(frame.fileIndex));
    lines.push_back("axis.x:" + NumberText(s.ChannelX));
    lines.push_back("axis.y:" + NumberText(s.ChannelY));
    lines.push_back("show:" + NumberText(s.ShownPopulation));
    lines.push_back(std::string("quadrant.enabled:") + flagText(s.QuadrantOn));
    lines.push_back("quadrant.x:" + NumberText(s.QuadrantX));
    lines.push_back("quadrant.y:" + NumberText(s.QuadrantY));
    lines.push_back(std::string("density.enabled:") + flagText(s.DensityOn));
    lines.push_back("density.resolution:" + NumberText(s.DensityResolution));
    lines.push_back(std::string("regionlines.show:") + flagText(s.RegionLinesOn));
    lines.push_back(std::string("regionlines.showcreatedhere:") + flagText(s.CreatedHereOnly));
    lines.push_back(std::string("fastdraw.enabled:") + flagText(s.FastDrawOn));
    lines.push_back("background:" + NumberText(static_cast<int>(s.ForegroundGrey)));
    lines.push_back(std::string("multicolor.enabled:") + flagText(s.MulticolourOn));
    lines.push_back("dot.size:" + NumberText(static_cast<int>(s.DotSize)));
    lines.push_back(std::string("printview.window.visible:") + flagText(s.InPreview));
    lines.push_back(std::string("printview.stat.visible:") + flagText(s.StatInPreview));
    lines.push_back(std::string("statistics.enabled:") + flagText(s.StatisticsOpen));
    for (const std::string& l : statisticsLines) lines.push_back(l);
    lines[0] = std::to_string(lines.size() - 1);
    return lines;
}

DotPlotSettingRequest ApplyDotPlotSettingLine(DotPlotState& s, const std::string& line, int32_t fileEventCount,
                                              int32_t fastDrawLimit) {
    using Kind = DotPlotSettingRequest::Kind;
    DotPlotSettingRequest req;
    const std::vector<std::string> parts = split(line, ':');
    if (parts.size() < 2) return req;
    const std::string& value = parts[1];
    const std::vector<std::string> pieces = split(parts[0], '.');
    if (pieces.size() < 3) return req;
    std::string key = pieces[2];
    for (size_t i = 3; i < pieces.size() && i <= 5; ++i) key += "." + pieces[i];

    auto number = [&](Kind kind) {
        if (const auto d = ParseNumber(value)) {
            // The window's place and size are 32-bit floats.
            if (std::fabs(*d) <= 3.4e38) {
                req.kind = kind;
                req.number = static_cast<float>(*d);
            }
        }
    };
    auto flag = [&](bool& field, int item, const char* onCaption, const char* offCaption) {
        if (value == "1") {
            field = true;
            s.setCaption(item, onCaption);
        } else if (value == "0") {
            field = false;
            s.setCaption(item, offCaption);
        }
    };

    if (key == "location.x") number(Kind::Left);
    else if (key == "location.y") number(Kind::Top);
    else if (key == "size.x") number(Kind::Width);
    else if (key == "size.y") number(Kind::Height);
    else if (key == "file") {
        if (const auto v = readInt16(value)) {
            req.kind = Kind::File;
            req.number = *v;
        }
    } else if (key == "axis.x") {
        if (const auto v = readInt16(value)) s.ChannelX = *v;
    } else if (key == "axis.y") {
        if (const auto v = readInt16(value)) s.ChannelY = *v;
    } else if (key == "show") {
        if (const auto d = ParseNumber(value)) {
            const double v = Int(*d);
            if (v >= INT16_MIN && v <= INT16_MAX) s.ShownPopulation = static_cast<int16_t>(v);
        }
    } else if (key == "quadrant.enabled") {
        flag(s.QuadrantOn, MenuQuadrant, "Hide quadrant", "Show quadrant");
    } else if (key == "quadrant.x") {
        if (const auto v = readInt32(value)) s.QuadrantX = *v;
    } else if (key == "quadrant.y") {
        if (const auto v = readInt32(value)) s.QuadrantY = *v;
    } else if (key == "density.enabled") {
        flag(s.DensityOn, MenuDensity, "Dot plot", "Density plot");
    } else if (key == "regionlines.show") {
        flag(s.RegionLinesOn, MenuRegionLines, "Hide region lines", "Show region lines");
    } else if (key == "regionlines.showcreatedhere") {
        flag(s.CreatedHereOnly, MenuCreatedHere, "Show all regions", "Show only regions created here");
    } else if (key == "fastdraw.enabled") {
        if (value == "0") {
            s.FastDrawOn = false;
            s.EventStep = 1;
            s.setCaption(MenuFastDraw, "Fast draw mode");
        } else if (value == "1") {
            s.FastDrawOn = true;
            s.EventStep = FastDrawStep(fileEventCount, fastDrawLimit);
            s.setCaption(MenuFastDraw, "Full draw mode");
        }
    } else if (key == "background") {
        if (const auto d = ParseNumber(value)) {
            const double v = Fix(*d);
            if (v >= 0 && v <= 255) {
                s.ForegroundGrey = static_cast<uint8_t>(v);
                if (s.ForegroundGrey == 0) s.DarkBackground = false;
                if (s.ForegroundGrey == 255) s.DarkBackground = true;
            }
        }
    } else if (key == "multicolor.enabled") {
        flag(s.MulticolourOn, MenuMulticolour, "Disable multicoloring", "Enable multicoloring");
    } else if (key == "dot.size") {
        if (value == "2") {
            s.DotSize = 2;
            s.setCaption(MenuDotSize, "Small dots");
        } else if (value == "1") {
            s.DotSize = 1;
            s.setCaption(MenuDotSize, "Large dots");
        }
    } else if (key == "printview.window.visible") {
        if (value == "1" || value == "0") {
            req.kind = Kind::Preview;
            req.flag = value == "1";
        }
    } else if (key == "printview.stat.visible") {
        if (value == "1") s.StatInPreview = true;
        else if (value == "0") s.StatInPreview = false;
    } else if (key == "statistics.enabled") {
        if (value == "1" || value == "0") {
            req.kind = Kind::Statistics;
            req.flag = value == "1";
        }
    } else if (key == "statistics.x" || key == "statistics.y" ||
               (pieces.size() == 6 && pieces[2] == "statistics" && pieces[3] == "column" && pieces[5] == "visible")) {
        req.kind = Kind::StatisticsLine;
        req.key = key;
        req.value = value;
    }
    return req;
}

}  // namespace qv
