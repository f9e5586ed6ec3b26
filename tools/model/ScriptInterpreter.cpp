#include "tools/model/ScriptInterpreter.h"

#include <cmath>
#include <limits>

#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/TextUtil.h"
#include "tools/model/ScriptCommands.h"

namespace qv {

std::string AbortMessage(int lineNumber) {
    return "There is an error in the code on line " + std::to_string(lineNumber) + ". Aborting.";
}

namespace {

// Whether replacing every occurrence of `name` in `text` by a value of
// `valueLength` characters would make it longer than MaxSubstitutedLength,
// counted without building the longer text. An argument that was that long
// already (a long line) may keep its length, not grow.
bool growsTooLong(const std::string& text, const std::string& name, size_t valueLength) {
    if (valueLength <= name.size()) return false;
    const size_t growth = valueLength - name.size();
    const size_t room = text.size() >= MaxSubstitutedLength ? 0 : MaxSubstitutedLength - text.size();
    size_t grown = 0;
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + name.size())) {
        grown += growth;
        if (grown > room) return true;
    }
    return false;
}

}  // namespace

// ---- ScriptRun ----

ScriptVariable* ScriptRun::findVariable(std::string_view name) {
    const auto it = index_.find(std::string(name));
    return it == index_.end() ? nullptr : &variables_[it->second];
}

const ScriptVariable* ScriptRun::findVariable(std::string_view name) const {
    const auto it = index_.find(std::string(name));
    return it == index_.end() ? nullptr : &variables_[it->second];
}

ScriptVariable& ScriptRun::variable(std::string_view name) {
    if (ScriptVariable* v = findVariable(name)) return *v;
    return appendVariable(name, {}, false);
}

ScriptVariable& ScriptRun::appendVariable(std::string_view name, std::string value, bool isNumeric) {
    // An empty name would be found in every argument and never substituted away.
    if (name.empty()) throw ScriptError("a variable needs a name");
    variables_.push_back(ScriptVariable{std::string(name), std::move(value), isNumeric});
    index_.emplace(std::string(name), variables_.size() - 1);
    return variables_.back();
}

std::string ScriptRun::paneText() const {
    std::string out;
    for (const ScriptVariable& v : variables_) {
        out += v.Name;
        out += ": ";
        if (v.Value.size() > MaxPaneValueLength) {
            out.append(v.Value, 0, MaxPaneValueLength);
            out += "...";
        } else {
            out += v.Value;
        }
        out += '\n';
    }
    return out;
}

std::string ScriptRun::substituteVariables(std::string argument) const {
    if (variables_.empty()) return argument;
    for (int pass = 0;; ++pass) {
        // The longest name found wins; on equal length the one defined first.
        const ScriptVariable* chosen = nullptr;
        for (const ScriptVariable& v : variables_) {
            if ((!chosen || v.Name.size() > chosen->Name.size()) && argument.find(v.Name) != std::string::npos)
                chosen = &v;
        }
        if (!chosen) return argument;
        // A variable holding its own name, or two naming each other, would
        // substitute without end.
        if (pass == MaxSubstitutionPasses) throw ScriptError("variable substitution does not end");
        if (growsTooLong(argument, chosen->Name, chosen->Value.size()))
            throw ScriptError("variable substitution grows the line too long");
        argument = ReplaceAll(argument, chosen->Name, chosen->Value);
    }
}

void ScriptRun::checkVariableLengths() const {
    for (const ScriptVariable& v : variables_)
        if (v.Value.size() > MaxSubstitutedLength) throw ScriptError("the variable " + v.Name + " grows too long");
}

LoopEntry& ScriptRun::innermostLoop() {
    if (LoopDepth < 1 || LoopDepth > MaxLoopDepth) throw ScriptError("\"loop\" without an open \"do\"");
    return LoopStack[static_cast<size_t>(LoopDepth)];
}

// ---- ScriptLine ----

const std::string& ScriptLine::token(size_t i) const {
    static const std::string none;
    return i < CommandTokens.size() ? CommandTokens[i] : none;
}

double ScriptLine::number(std::string_view text) {
    const std::optional<double> v = ParseNumber(text);
    if (!v) throw ScriptError("not a number: " + std::string(text));
    return *v;
}

int32_t ScriptLine::wholeNumber(std::string_view text) {
    const double r = RoundHalfEven(number(text));
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
        throw ScriptError("number out of range: " + std::string(text));
    return static_cast<int32_t>(r);
}

int32_t ScriptLine::index(std::string_view text, int32_t lo, int32_t hi) {
    const int32_t i = wholeNumber(text);
    if (i < lo || i > hi) throw ScriptError("index out of range: " + std::string(text));
    return i;
}

void ScriptLine::abort(const std::string& message, const std::string& title) {
    host.message(message, title);
    endRun();
}

void ScriptLine::endRun() { g.ScriptRunning = false; }

// ---- ScriptCommandTable ----

void ScriptCommandTable::add(CommandMatcher matches, ScriptCommand run) {
    commands_.emplace_back(std::move(matches), std::move(run));
}

void ScriptCommandTable::add(std::string_view pattern, ScriptCommand run) {
    const std::vector<std::string_view> pieces = SplitAt(pattern, '.');
    std::vector<std::string> want(pieces.begin(), pieces.end());
    add(
        [want = std::move(want)](const std::vector<std::string>& tokens) {
            if (tokens.size() != want.size()) return false;
            for (size_t i = 0; i < want.size(); ++i)
                if (want[i] != "*" && want[i] != tokens[i]) return false;
            return true;
        },
        std::move(run));
}

const ScriptCommand* ScriptCommandTable::find(const std::vector<std::string>& tokens) const {
    for (const auto& [matches, run] : commands_)
        if (matches(tokens)) return &run;
    return nullptr;
}

// ---- lines ----

std::vector<std::string> SplitScriptLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = text.size();
        size_t stop = end;
        if (!last && stop > start && text[stop - 1] == '\r') --stop;
        lines.emplace_back(text.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string trimmed(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::vector<std::string> splitAtDots(std::string_view word) {
    const std::vector<std::string_view> pieces = SplitAt(word, '.');
    return std::vector<std::string>(pieces.begin(), pieces.end());
}

}  // namespace

// ---- ScriptInterpreter ----

ScriptInterpreter::ScriptInterpreter(ScriptHost& host) : host_(host) { addBasicScriptCommands(commands_); }

void ScriptInterpreter::stop() { g.ScriptRunning = false; }

bool ScriptHost::runGoesOn() { return g.ScriptRunning && !g.ProgramClosing; }

void ScriptInterpreter::runLine(ScriptRun& run, const std::string& rawLine) {
    if (rawLine.size() <= 2 || rawLine[0] == '#') return;

    // Conditional skipping looks at the line as written.
    if (rawLine.find("endif") != std::string::npos) {
        if (run.SkipDepth == 0)
            run.Skipping = false;
        else
            --run.SkipDepth;
    }
    if (rawLine.find("if.") != std::string::npos && run.Skipping) ++run.SkipDepth;
    if (run.Skipping) return;

    const std::string line = trimmed(rawLine);
    const size_t colon = line.find(':');
    const std::string word = colon == std::string::npos ? line : line.substr(0, colon);
    ScriptLine context{run, host_, splitAtDots(word),
                       colon == std::string::npos ? std::string() : line.substr(colon + 1)};

    context.ScriptArgument = run.substituteVariables(std::move(context.ScriptArgument));
    for (size_t i = 1; i < context.CommandTokens.size(); ++i) {
        if (const ScriptVariable* v = run.findVariable(context.CommandTokens[i]))
            context.CommandTokens[i] = NumberText(Val(v->Value));
    }
    if (!context.ScriptArgument.empty() && context.ScriptArgument[0] == '@' && query_)
        context.ScriptArgument = query_(context, context.ScriptArgument);

    if (const ScriptCommand* command = commands_.find(context.CommandTokens)) {
        (*command)(context);
        run.checkVariableLengths();
    }
}

bool ScriptInterpreter::AjaOhjelma(std::string_view text, bool showVariables) {
    if (busy_) return false;
    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    } busy(busy_);

    g.ScriptRunning = true;
    host_.runStarted();
    host_.autosave();

    run_ = std::make_unique<ScriptRun>();
    ScriptRun& run = *run_;
    run.Lines = SplitScriptLines(text);
    const int32_t lastLine = static_cast<int32_t>(run.Lines.size()) - 1;

    while (run.LineIndex <= lastLine && g.ScriptRunning && !g.ProgramClosing) {
        try {
            runLine(run, run.Lines[static_cast<size_t>(run.LineIndex)]);
        } catch (const std::exception& e) {
            if (g.ScriptRunning && !g.ProgramClosing) {
                std::string text = AbortMessage(run.LineIndex + 1);
                if (dynamic_cast<const ExplainedScriptError*>(&e)) text += std::string("\n") + e.what();
                host_.message(text, AbortTitle);
            }
            break;
        }
        if (g.ProgramClosing) break;
        if (showVariables) host_.showVariables(run.paneText());
        host_.processEvents();
        ++run.LineIndex;
    }

    if (run.OutputOpened) {
        run.OutputFile.reset();
        run.OutputOpened = false;
    }
    g.ScriptRunning = false;
    host_.runEnded();
    return true;
}

}  // namespace qv
