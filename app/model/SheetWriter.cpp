#include "app/model/SheetWriter.h"

#include <algorithm>
#include <cmath>

#include "core/Numbers.h"

namespace qv {

namespace {

constexpr std::string_view Eol = "\r\n";

class Lines {
public:
    explicit Lines(std::string& out) : out_(out) {}
    void line(std::string_view text) {
        out_ += text;
        out_ += Eol;
    }
    // "<prefix><key>:<value>" and the line end.
    template <class... Keys>
    void keyed(std::string_view value, const Keys&... keys) {
        (append(keys), ...);
        out_ += ':';
        out_ += value;
        out_ += Eol;
    }

private:
    void append(std::string_view s) { out_ += s; }
    void append(int n) { out_ += std::to_string(n); }
    std::string& out_;
};

const char* flag(bool b) { return b ? "1" : "0"; }

// Element 0 of a SaveInfo result: the number of lines that follow.
size_t lineCount(const std::vector<std::string>& info, std::string_view owner) {
    if (info.empty()) throw SheetWriteError(std::string(owner) + ": no line count");
    const std::optional<double> count = ParseNumber(info[0]);
    if (!count) throw SheetWriteError(std::string(owner) + ": the line count is not a number");
    const double c = Int(*count);
    if (c < 0 || c > static_cast<double>(info.size() - 1))
        throw SheetWriteError(std::string(owner) + ": the line count names more lines than were given");
    return static_cast<size_t>(c);
}

void block(Lines& out, std::string_view prefix, const std::vector<std::string>& info, std::string_view owner) {
    const size_t c = lineCount(info, owner);
    for (size_t k = 1; k <= c; ++k) {
        std::string text(prefix);
        text += info[k];
        out.line(text);
    }
}

void populationLines(Lines& out, int i, const PopulationRecord& p) {
    const std::string key = "population." + std::to_string(i) + ".";
    out.keyed(p.Name, key, "name");
    out.keyed(p.Type, key, "type");
    out.keyed(std::to_string(p.AxisX), key, "axis.x");
    out.keyed(std::to_string(p.AxisY), key, "axis.y");
    out.keyed(std::to_string(p.ColorRed), key, "color.red");
    out.keyed(std::to_string(p.ColorGreen), key, "color.green");
    out.keyed(std::to_string(p.ColorBlue), key, "color.blue");
    out.keyed(std::to_string(p.Corners), key, "corners");
    out.keyed(std::to_string(p.Created), key, "created");
    out.keyed(std::to_string(p.TitleX), key, "title.x");
    out.keyed(std::to_string(p.TitleY), key, "title.y");
    out.keyed(flag(p.Transparent), key, "transparent");
    const int corners = std::min<int>(p.Corners, MaxCorners);
    for (int j = 1; j <= corners; ++j) {
        const std::string corner = key + "corner." + std::to_string(j) + ".";
        out.keyed(NumberText(p.CornerX[static_cast<size_t>(j)]), corner, "x");
        out.keyed(NumberText(p.CornerY[static_cast<size_t>(j)]), corner, "y");
    }
}

void definitionLines(Lines& out, int i, const PopulationRecord& p) {
    const std::string key = "definition." + std::to_string(i) + ".";
    out.keyed(p.Name, key, "name");
    out.keyed(std::to_string(p.ColorRed), key, "color.red");
    out.keyed(std::to_string(p.ColorGreen), key, "color.green");
    out.keyed(std::to_string(p.ColorBlue), key, "color.blue");
    out.keyed(flag(p.Transparent), key, "transparent");
}

}  // namespace

std::optional<SheetMode> SheetModeOf(std::string_view mode) {
    if (mode == "Autosave") return SheetMode::Autosave;
    if (mode == "Sheet") return SheetMode::Sheet;
    if (mode == "Paketti") return SheetMode::Package;
    return std::nullopt;
}

std::string SheetText(const SheetContent& c) {
    std::string text;
    text.reserve(4096 + c.windows.size() * 1024);
    Lines out(text);
    const bool package = c.mode == SheetMode::Package;

    out.line("# Quorvane Analysis sheet");
    out.line("");
    out.keyed(c.versionText, "general.version");
    out.keyed(c.date, "general.date");
    if (package) out.line("general.style:package");
    out.line("");

    const int lastPopulation = std::min(c.maxPopulations, PopulationTableSize - 1);
    const int lastDefinition = std::min(c.maxPopulations + c.maxDefinitions, PopulationTableSize - 1);
    out.line("# Populations");
    out.keyed(std::to_string(c.maxPopulations), "general.maxnumberofpopulations");
    if (c.populations) {
        for (int i = 1; i <= lastPopulation; ++i) {
            const PopulationRecord& p = (*c.populations)[static_cast<size_t>(i)];
            if (p.InUse) populationLines(out, i, p);
        }
    }
    out.line("");

    out.line("# Definitions");
    out.keyed(std::to_string(c.maxDefinitions), "general.maxnumberofdefinitions");
    if (c.populations) {
        for (int i = c.maxPopulations + 1; i <= lastDefinition; ++i) {
            const PopulationRecord& p = (*c.populations)[static_cast<size_t>(i)];
            if (p.InUse) definitionLines(out, i, p);
        }
    }
    out.line("");

    out.line("# Files");
    for (const SheetFileEntry& f : c.files) {
        const std::string key = "file." + std::to_string(f.slot) + ".";
        if (package) {
            out.keyed(f.name, key, "name");
            out.keyed(std::to_string(f.length), key, "length");
        } else {
            out.keyed(f.path, key, "path");
        }
    }
    out.line("");

    out.line("# Windows");
    for (const SheetWindowBlock& w : c.windows) {
        const std::string prefix = "window." + std::to_string(w.id) + ".";
        out.keyed(w.type, prefix, "type");
        block(out, prefix, w.info, "window " + std::to_string(w.id));
    }
    out.line("");

    out.line("# Print view");
    out.keyed(flag(c.printViewVisible), "printview.visible");
    if (!c.printViewInfo.empty()) block(out, "printview.", c.printViewInfo, "print view");
    out.line("");

    out.line("# File info");
    out.keyed(flag(c.fileInfoVisible), "fileinfo.visible");
    if (c.fileInfoVisible && !c.fileInfoInfo.empty()) block(out, "fileinfo.", c.fileInfoInfo, "file info");
    out.line("");
    return text;
}

}  // namespace qv
