#include "tools/model/ScriptCommands.h"

#include <cmath>
#include <vector>

#include "core/Expression.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/TextUtil.h"

namespace qv {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The text of a message or prompt: "[enter]" starts a new line.
std::string withLineBreaks(const std::string& text) { return ReplaceAll(text, "[enter]", "\n"); }

// The folder part of a chosen path, "/" at its end; "" when there is none.
std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// ---- variables ----

void variableCommand(ScriptLine& line) {
    ScriptRun& run = line.run;
    ScriptVariable& v = run.variable(line.token(0));
    const std::string& sub = line.token(1);
    const std::string& arg = line.ScriptArgument;
    if (sub == "set") {
        if (const std::optional<double> n = ParseNumber(arg)) {
            v.Value = NumberText(*n);
            v.IsNumeric = true;
        } else {
            v.Value = arg;
            v.IsNumeric = false;
        }
    } else if (sub == "calc") {
        v.Value = ScriptCalculation(arg);
    } else if (sub == "int") {
        v.Value = NumberText(Int(ScriptLine::number(arg)));
    } else if (sub == "zeros") {
        v.Value = PadWithZeros(v.Value, ScriptLine::wholeNumber(arg));
        v.IsNumeric = false;
    } else if (sub == "if") {
        const std::string& test = line.token(2);
        bool holds = false;
        if (test == "bigger" || test == "smaller" || test == "equals") {
            const double value = ScriptLine::number(v.Value);
            const double other = ScriptLine::number(arg);
            holds = test == "bigger" ? value > other : (test == "smaller" ? value < other : value == other);
        } else if (test == "same") {
            holds = v.Value == arg;
        } else if (test == "different") {
            holds = v.Value != arg;
        }
        run.Skipping = !holds;
    }
    // "digits" and any other sub-command only create the variable.
}

// ---- conditions, version ----

void ifCommand(ScriptLine& line) {
    const std::string& kind = line.token(1);
    const bool holds = (kind == "true" || kind == "false") && line.ScriptArgument == kind;
    line.run.Skipping = !holds;
}

void versionRequire(ScriptLine& line) {
    if (!VersionSatisfied(line.ScriptArgument))
        line.abort("This tool requires at least version " + line.ScriptArgument + ". Aborting.");
}

// ---- questions ----

// The name a question's answer is stored under, checked before the user is asked.
const std::string& questionName(const ScriptLine& line) {
    if (line.token(1).empty()) throw ScriptError("a question needs a name");
    return line.token(1);
}

void questionInput(ScriptLine& line) {
    const std::string& name = questionName(line);
    const std::optional<std::string> answer = line.host.input(withLineBreaks(line.ScriptArgument), ScriptMessageTitle);
    if (!answer || answer->empty()) {
        line.abort("You must give the value for each question. Aborting.");
        return;
    }
    line.run.appendVariable(name, *answer, false);
}

void questionFile(ScriptLine& line, bool save) {
    const std::string& name = questionName(line);
    const std::optional<std::string> path =
        save ? line.host.saveFile(line.ScriptArgument) : line.host.openFile(line.ScriptArgument, {});
    if (!path || path->empty()) {
        line.abort("You must give the valid file name. Aborting.");
        return;
    }
    const std::string folder = folderOf(*path);
    line.run.appendVariable(name, path->substr(folder.size()), false);
    line.run.ToolFolder = folder;
}

void questionFolder(ScriptLine& line) {
    const std::string& name = questionName(line);
    const std::optional<std::string> path = line.host.openFile("Select folder", line.ScriptArgument);
    if (!path || path->empty()) {
        line.abort("You must give the valid folder. Aborting.");
        return;
    }
    const std::string folder = folderOf(*path);
    line.run.appendVariable(name, folder, false);
    line.run.ToolFolder = folder;
}

void questionContinue(ScriptLine& line) {
    if (!line.host.confirm(line.ScriptArgument, ScriptMessageTitle)) ScriptLine::endRun();
}

void questionPrinter(ScriptLine& line) {
    if (line.host.choosePrinter())
        line.run.PrinterSet = true;
    else
        line.abort("Print aborted!");
}

// ---- loops ----

void doCommand(ScriptLine& line) {
    ScriptRun& run = line.run;
    const double count = Int(ScriptLine::number(line.ScriptArgument));
    if (count < INT32_MIN || count > INT32_MAX) throw ScriptError("loop count out of range");
    if (run.LoopDepth >= MaxLoopDepth) throw ScriptError("too many nested loops");
    ++run.LoopDepth;
    if (count == 0) {
        line.abort("You must give the max loop times. Aborting.");
        return;
    }
    run.LoopStack[static_cast<size_t>(run.LoopDepth)] =
        LoopEntry{static_cast<int32_t>(count), 1, run.LineIndex, true};
}

// The two numbers on either side of the first `sign` of the argument.
bool loopConditionHolds(const std::string& arg, char sign) {
    const size_t at = arg.find(sign);
    const size_t next = arg.find(sign, at + 1);
    const double left = ScriptLine::number(std::string_view(arg).substr(0, at));
    const double right = ScriptLine::number(
        std::string_view(arg).substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1));
    return sign == '=' ? left == right : (sign == '>' ? left > right : left < right);
}

void loopCommand(ScriptLine& line) {
    ScriptRun& run = line.run;
    LoopEntry& entry = run.innermostLoop();
    if (entry.Active && entry.Count >= entry.MaxCount) entry.Active = false;
    const std::string& arg = line.ScriptArgument;
    if (entry.Active && !arg.empty()) {
        for (char sign : {'=', '>', '<'})
            if (arg.find(sign) != std::string::npos && loopConditionHolds(arg, sign)) entry.Active = false;
    }
    if (entry.Active) {
        ++entry.Count;
        run.LineIndex = entry.StartLine;
    } else {
        --run.LoopDepth;
    }
}

// ---- updates ----

void autoupdateCommand(ScriptLine& line) {
    if (line.ScriptArgument == "on") line.run.AutoUpdate = true;
    if (line.ScriptArgument == "off") line.run.AutoUpdate = false;
}

void updateWindow(ScriptLine& line) {
    if (line.ScriptArgument == "all")
        line.host.redrawAll();
    else
        line.host.redrawWindow(ScriptLine::wholeNumber(line.ScriptArgument));
}

void updatePopulation(ScriptLine& line) {
    if (line.ScriptArgument == "all") {
        line.host.recomputeAllPopulations();
        return;
    }
    const int32_t slot = ScriptLine::wholeNumber(line.ScriptArgument);
    if (slot < 1 || slot > g.membershipSlots() || slot >= PopulationTableSize)
        throw ScriptError("no population slot " + line.ScriptArgument);
    line.host.recomputePopulation(slot);
}

}  // namespace

std::string ScriptCalculation(std::string_view expression) {
    std::string text(expression);
    for (size_t i = 1; i + 1 < text.size(); ++i)
        if (text[i] == ',' && isDigit(text[i - 1]) && isDigit(text[i + 1])) text[i] = '.';
    const ExpressionResult result = EvaluateExpression(text);
    if (!result.ok()) throw ScriptError("calculation: " + result.error);
    return ExpressionValueText(*result.value);
}

std::string PadWithZeros(const std::string& text, int32_t width) {
    const double value = ScriptLine::number(text);
    if (width > 32767) throw ScriptError("width out of range");
    int digits = 1;
    for (double limit = 10.0; value >= limit && digits < 400; limit *= 10.0) ++digits;
    return width > digits ? std::string(static_cast<size_t>(width - digits), '0') + text : text;
}

bool VersionSatisfied(std::string_view required) {
    const std::vector<std::string_view> parts = SplitAt(required, '.');
    if (parts.size() < 2) throw ScriptError("version needs major.minor.revision");
    const double have[3] = {static_cast<double>(g.ProgramVersion[1]), static_cast<double>(g.ProgramVersion[2]),
                            static_cast<double>(g.ProgramVersion[3])};
    for (int i = 0; i < 2; ++i) {
        const double want = Val(parts[static_cast<size_t>(i)]);
        if (want < have[i]) return true;
        if (want > have[i]) return false;
    }
    if (parts.size() < 3) throw ScriptError("version needs major.minor.revision");
    return Val(parts[2]) <= have[2];
}

void addBasicScriptCommands(ScriptCommandTable& table) {
    table.add([](const std::vector<std::string>& t) { return t[0].find('$') != std::string::npos; },
              variableCommand);
    table.add([](const std::vector<std::string>& t) { return t[0] == "if" && t.size() >= 2; }, ifCommand);
    table.add("version.require", versionRequire);
    table.add("question.*.input", questionInput);
    table.add("question.*.file.save", [](ScriptLine& line) { questionFile(line, true); });
    table.add("question.*.file.open", [](ScriptLine& line) { questionFile(line, false); });
    table.add("question.*.folder.open", questionFolder);
    table.add("question.printer.set", questionPrinter);
    table.add("question.*.continue", questionContinue);
    table.add("do", doCommand);
    table.add("loop", loopCommand);
    table.add("autoupdate", autoupdateCommand);
    table.add("update.window", updateWindow);
    table.add("update.population", updatePopulation);
    table.add("end", [](ScriptLine&) { ScriptLine::endRun(); });
    table.add("message", [](ScriptLine& line) { line.host.message(withLineBreaks(line.ScriptArgument), "Message"); });
    table.add("showscripter", [](ScriptLine& line) { line.host.showToolWindow(); });
}

}  // namespace qv
