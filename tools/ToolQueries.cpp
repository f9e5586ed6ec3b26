#include "tools/ToolQueries.h"

#include <QTime>

#include <algorithm>
#include <optional>
#include <vector>

#include "app/FileOpening.h"
#include "app/PlotWindow.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/TextUtil.h"
#include "tools/ToolWindowAccess.h"
#include "tools/model/ScriptInterpreter.h"

namespace qv {

namespace {

std::string truth(bool value) { return value ? "true" : "false"; }

class QueryWords {
public:
    explicit QueryWords(const std::string& query) {
        for (std::string_view w : SplitAt(query, '.')) words_.emplace_back(w);
    }
    // Word i; a query that needs a word beyond its last is an error.
    const std::string& operator[](size_t i) const {
        if (i >= words_.size()) throw ScriptError("the query has too few words");
        return words_[i];
    }
    size_t size() const { return words_.size(); }

private:
    std::vector<std::string> words_;
};

const FileRecord& fileInSlot(int slot) { return g.FileTable[static_cast<size_t>(slot)]; }

// ---- program ----

std::optional<std::string> programQuery(ScriptLine& line, const QueryWords& w) {
    const std::string& family = w[1];
    if (family == "foldernow") return line.run.ToolFolder;
    if (family == "filesinfolder") {
        // Without a folder the listing would be of the working directory.
        if (line.run.ToolFolder.empty()) throw ScriptError("no folder has been set");
        // The walk that follows steps through this listing.
        const int count = WalkFileCount(line.run.ToolFolder, line.keepWorking());
        if (count < 0) throw ScriptError("the listing was stopped");
        return NumberText(count);
    }
    if (family == "fastdraw" && w[2] == "limit") return NumberText(g.FastDrawLimit);
    if (family == "time") {
        const QTime now = QTime::currentTime();
        return NumberText(static_cast<float>(now.msecsSinceStartOfDay() / 1000.0));
    }
    return std::nullopt;
}

// ---- windows ----

bool isFileField(const std::string& key) {
    return key == "filename" || key == "fileid" || key == "sampleid" || key == "btime" || key == "etime" ||
           key == "folder";
}

std::optional<std::string> windowQuery(const QueryWords& w) {
    const std::string& key = w[3];
    const int32_t top = std::min<int32_t>(g.MaxWindows, static_cast<int32_t>(g.WindowRegistry.size()) - 1);
    if (isFileField(key)) {
        // These take the leading number of the word, 0 when it has none.
        const double n = RoundHalfEven(Val(w[2]));
        if (!(n >= 0 && n <= top)) throw ScriptError("no window slot " + w[2]);
        const WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(n)];
        const int fileIndex = rec.FileIndex >= 0 && rec.FileIndex < static_cast<int>(g.FileTable.size()) ? rec.FileIndex : 0;
        const FileRecord& file = fileInSlot(fileIndex);
        if (key == "filename") return file.FileName;
        if (key == "fileid") return NumberText(static_cast<int16_t>(fileIndex));
        if (key == "sampleid") return file.SampleId;
        if (key == "btime") return file.BeginTime;
        if (key == "etime") return file.EndTime;
        return file.Folder;
    }
    const int n = ToolWindowNumber(w[2]);
    const WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(n)];
    if (key == "exists") return truth(rec.InUse);
    if (key == "type") return rec.Type;
    if (key == "axis") {
        const std::string& axis = w[4];
        if (axis == "x" || axis == "y") return ToolWindow(n).AnnaKanava(axis);
        return std::nullopt;
    }
    if (key == "population") return NumberText(ToolWindow(n).AnnaStatistiikka(w[4], w[5]));
    if (key == "quadrant") {
        const std::string& q = w[4];
        if (q == "exists") return truth(rec.InUse && rec.Type == "DotPlot" && rec.Form && rec.Form->OnkoKvadranttiKaytossa());
        if (q == "position") {
            const double at = Val(ToolWindow(n).AnnaKvadrantinKoordinaatit(w[5]));
            return NumberText(static_cast<int32_t>(std::clamp(Int(at), -2147483648.0, 2147483647.0)));
        }
        // Counts and shares are cut in double arithmetic; the means are made
        // from 32-bit event values and cut as the statistics window shows them.
        const std::string& stat = w[5];
        const StatisticSource source =
            stat == "number" || stat == "vis" ? StatisticSource::DoubleArithmetic : StatisticSource::FloatEvents;
        return NumberText(TruncateTwoDecimals(ToolWindow(n).AnnaStatistiikka(q, stat), false, source));
    }
    if (key == "histogram") {
        if (w[4] == "highest") {
            const std::string& what = w[5];
            if (what != "position" && what != "height") return std::nullopt;
            const int32_t marker = ScriptLine::index(w[6], 0, PopulationTableSize - 1);
            return NumberText(ToolWindow(n).AnnaHistonKorkeinKohta(what == "position" ? "paikka" : "suhtkorkeus", marker));
        }
        if (w[4] == "height") {
            double position = ScriptLine::wholeNumber(w[5]);
            return NumberText(ToolWindow(n).AnnaHistonKorkeus(position));
        }
        return std::nullopt;
    }
    if (key == "modeller" && w[4] == "height")
        return NumberText(ToolWindow(n).AnnaSummanKorkeus(ScriptLine::wholeNumber(w[5])));
    if (key == "statistics") {
        const std::string& what = w[4];
        if (what == "exists") {
            const bool kind = rec.Type == "Histogram" || rec.Type == "DotPlot" || rec.Type == "Histogram Modeller";
            return truth(rec.InUse && kind && rec.Form && rec.Form->OnkoStatistiikkaKaytossa());
        }
        if (what == "contents") {
            const std::string& form = w[5];
            const char* mode = nullptr;
            if (form == "multiline") mode = "monirivinen";
            else if (form == "singleline" && w[6] == "header") mode = "1-rivinen-otsikko";
            else if (form == "singleline" && w[6] == "stats") mode = "1-rivinen-tieto";
            if (!mode) return std::nullopt;
            PlotWindow& window = ToolWindow(n);
            // The grid is read from the open statistics window only.
            if (!window.OnkoStatistiikkaKaytossa()) throw ScriptError("the statistics window is closed");
            return window.AnnaKokoStatistiikka(mode);
        }
    }
    return std::nullopt;
}

// ---- populations ----

std::optional<std::string> populationQuery(const QueryWords& w) {
    const int k = ScriptLine::index(w[2], 0, PopulationTableSize - 1);
    const PopulationRecord& p = g.PopulationTable[static_cast<size_t>(k)];
    const std::string& key = w[3];
    if (key == "axis") {
        if (w[4] == "x") return NumberText(p.AxisX);
        if (w[4] == "y") return NumberText(p.AxisY);
        return std::nullopt;
    }
    if (key == "position") {
        const int j = ScriptLine::index(w[4], 0, MaxCorners);
        if (w[5] == "x") return NumberText(static_cast<float>(Int(p.CornerX[static_cast<size_t>(j)])));
        if (w[5] == "y") return NumberText(static_cast<float>(Int(10000.0 - p.CornerY[static_cast<size_t>(j)])));
        return std::nullopt;
    }
    if (key == "name") return p.Name;
    if (key == "exists") return truth(p.InUse);
    if (key == "type") return p.Type;
    return std::nullopt;
}

// ---- files ----

// A parameter of a file slot that holds parameters; anything else is an error.
int parameterOf(const FileRecord& file, const std::string& word) {
    if (file.ParameterCount < 1 || static_cast<int32_t>(file.Parameters.size()) <= file.ParameterCount)
        throw ScriptError("the file slot holds no parameters");
    return ScriptLine::index(word, 1, file.ParameterCount);
}

std::optional<std::string> fileQuery(const QueryWords& w) {
    const int top = std::min<int>(g.MaxFiles, static_cast<int>(g.FileTable.size()) - 1);
    const FileRecord& file = fileInSlot(ScriptLine::index(w[2], 0, top));
    const std::string& key = w[3];
    if (key == "exists") return truth(file.Loaded);
    if (key == "name") return file.FileName;
    if (key == "parameters") return NumberText(file.ParameterCount);
    if (key == "cells") return NumberText(file.EventCount);
    if (key == "parameter") {
        const ParameterInfo& par = file.Parameters[static_cast<size_t>(parameterOf(file, w[4]))];
        const std::string& field = w[5];
        if (field == "name") return par.Name;
        if (field == "max") return NumberText(par.Range);
        if (field == "log") return truth(par.IsLog);
        return std::nullopt;
    }
    if (key == "cell") {
        if (file.EventCount < 1) throw ScriptError("the file slot holds no events");
        const int32_t e = ScriptLine::index(w[4], 1, file.EventCount);
        const int32_t p = parameterOf(file, w[5]);
        if (!file.WorkingData.contains(e, p)) throw ScriptError("the file slot holds no such value");
        if (w[6] == "value") return NumberText(file.WorkingData(e, p));
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::string EvaluateToolQuery(ScriptLine& line, const std::string& query) {
    const QueryWords w(query);
    const std::string& family = w[1];
    std::optional<std::string> value;
    if (family == "w" || family == "window")
        value = windowQuery(w);
    else if (family == "p" || family == "population")
        value = populationQuery(w);
    else if (family == "f" || family == "file")
        value = fileQuery(w);
    else
        value = programQuery(line, w);
    return value ? *value : query;
}

}  // namespace qv
