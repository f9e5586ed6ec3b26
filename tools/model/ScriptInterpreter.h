#pragma once
// The tool language's interpreter: runs a tool text line by line.
//
// A line is "command.word.tokens:argument". Per line, in order:
//  - a line of 2 characters or fewer, or one starting with "#", is skipped;
//  - conditional skipping: "endif" anywhere closes the skipped block (or one
//    nested in it), "if." anywhere opens a nested one while skipping;
//  - blanks and tabs are trimmed; the command word is the text before the
//    first ":", the argument everything after it (untrimmed);
//  - variable substitution in the argument: the longest variable name found
//    is replaced everywhere by its value, again and again while a name is
//    found (at most MaxSubstitutionPasses passes, then the line is an error;
//    a pass that would make the argument longer than MaxSubstitutedLength is
//    an error too, found before the longer text is built);
//  - the command word is split at "."; every token after the first that is
//    a variable's name becomes that variable's leading number, so
//    "w.$n.x" addresses the window whose number $n holds;
//  - an argument starting with "@" is handed to the query evaluator;
//  - the command table runs the first command matching the tokens; a line
//    that matches none does nothing;
//  - a variable the command left longer than MaxSubstitutedLength makes the
//    line an error.
// Between lines the host processes pending events; the run goes on while
// g.ScriptRunning is true (Stop, "end" and every command's abort message
// clear it) and the program is not closing. A command that throws (a bad
// number, a bad index, a rejected expression) ends the run with the abort
// message naming the line. Widget-free: everything visible goes through the
// ScriptHost.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tools/model/ScriptHost.h"

namespace qv {

// An error of the code in a tool line: ends the run with the abort message.
struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// An error of the code whose reason the user is told: its text is shown
// under the abort message.
struct ExplainedScriptError : ScriptError {
    using ScriptError::ScriptError;
};

inline constexpr int MaxLoopDepth = 100;
inline constexpr int MaxSubstitutionPasses = 100;
// The longest argument substitution may build. A variable set to its own
// value twice over doubles on every pass of a loop; this ends such a run on
// the line that crosses it, long before memory or time run short.
inline constexpr size_t MaxSubstitutedLength = size_t{1} << 20;
// The most characters of one value the variable pane shows.
inline constexpr size_t MaxPaneValueLength = 1000;

inline constexpr const char* ScriptMessageTitle = "Quorvane";
inline constexpr const char* AbortTitle = "Fatal error";
// "There is an error in the code on line " + lineNumber + ". Aborting."
std::string AbortMessage(int lineNumber);

struct ScriptVariable {
    std::string Name;  // as written where it was created, "$" included
    std::string Value;
    bool IsNumeric = false;  // stored as a number ("." as decimal point)
};

struct LoopEntry {
    int32_t MaxCount = 0;
    int32_t Count = 0;      // passes begun
    int32_t StartLine = 0;  // index of the "do" line
    bool Active = false;
};

// The state of one run; each run starts afresh.
class ScriptRun {
public:
    std::vector<std::string> Lines;
    int32_t LineIndex = 0;
    bool Skipping = false;
    int32_t SkipDepth = 0;
    std::array<LoopEntry, MaxLoopDepth + 1> LoopStack{};  // 1..MaxLoopDepth used
    int32_t LoopDepth = 0;
    std::string ToolFolder;  // "" or a folder ending with "/"
    bool AutoUpdate = true;
    bool PrinterSet = false;
    bool OutputOpened = false;
    std::unique_ptr<std::ostream> OutputFile;
    std::string OutputPath;  // the file OutputFile appends to

    // The first variable of that name, nullptr when none.
    ScriptVariable* findVariable(std::string_view name);
    const ScriptVariable* findVariable(std::string_view name) const;
    // The variable of that name, appended (empty, not numeric) when missing.
    ScriptVariable& variable(std::string_view name);
    // A new variable at the end of the list, even when the name exists.
    ScriptVariable& appendVariable(std::string_view name, std::string value, bool isNumeric);

    // "Name: Value" and a line feed for every variable in list order. A value
    // longer than MaxPaneValueLength shows its start and "...": the pane is
    // rewritten after every line, and laying out a long value each time
    // would hold up the run (and the Stop button) for seconds.
    std::string paneText() const;
    // The argument with the variables substituted (see above); throws
    // ScriptError when names are still found after MaxSubstitutionPasses or
    // when a pass would grow the argument past MaxSubstitutedLength.
    std::string substituteVariables(std::string argument) const;
    // Throws ScriptError when a variable's value has grown longer than
    // MaxSubstitutedLength. Run after every command, so whatever lengthens
    // a variable (padding with zeros, a long answer or line, a calculation)
    // ends the run on the line that crossed the limit, as substitution does.
    void checkVariableLengths() const;

    // The innermost open loop; throws ScriptError when none is open.
    LoopEntry& innermostLoop();

private:
    std::vector<ScriptVariable> variables_;
    std::unordered_map<std::string, size_t> index_;  // name -> first variable of that name
};

// What a command sees of its line, and what it may do to the run.
struct ScriptLine {
    ScriptRun& run;
    ScriptHost& host;
    std::vector<std::string> CommandTokens;  // after token substitution
    std::string ScriptArgument;              // after substitution and query

    // Token i, "" when the command word has fewer tokens.
    const std::string& token(size_t i) const;
    // The text as a number ("." or "," as decimal point, blanks around
    // allowed); throws ScriptError when it is none.
    static double number(std::string_view text);
    // A number rounded half to even to a whole 32-bit number; throws
    // ScriptError when it is none or out of range.
    static int32_t wholeNumber(std::string_view text);
    // A number word used as a table index: wholeNumber, which must lie in
    // lo..hi; throws ScriptError otherwise.
    static int32_t index(std::string_view text, int32_t lo, int32_t hi);
    // Shows the message (OK button) and ends the run after this line.
    void abort(const std::string& message, const std::string& title = ScriptMessageTitle);
    // Ends the run after this line without a message.
    static void endRun();
    // What long work inside this line asks between items: the host's
    // keepWorking (events run now and then; false once the run is to end).
    std::function<bool()> keepWorking() const {
        return [&h = host] { return h.keepWorking(); };
    }
};

using ScriptCommand = std::function<void(ScriptLine&)>;
using CommandMatcher = std::function<bool(const std::vector<std::string>& tokens)>;

// The commands of the language, tested in the order they were added.
class ScriptCommandTable {
public:
    void add(CommandMatcher matches, ScriptCommand run);
    // A pattern of tokens joined by "."; "*" matches any one token, and the
    // token count must be the pattern's ("question.*.input").
    void add(std::string_view pattern, ScriptCommand run);
    // The first command whose matcher accepts the tokens, nullptr when none.
    const ScriptCommand* find(const std::vector<std::string>& tokens) const;

private:
    std::vector<std::pair<CommandMatcher, ScriptCommand>> commands_;
};

// Answers an argument beginning with "@"; the result (a text, numbers with
// "." as decimal point, truth values "true" / "false") becomes the argument.
using QueryEvaluator = std::function<std::string(ScriptLine& line, const std::string& query)>;

// The lines of a tool text: split at LF, a CR before the LF dropped. The
// last line runs also without a line end; a text ending with a line end
// has no line after it.
std::vector<std::string> SplitScriptLines(std::string_view text);

class ScriptInterpreter {
public:
    // The table starts with the variable, condition, question, loop, update
    // and program commands ("end", "message", "showscripter").
    explicit ScriptInterpreter(ScriptHost& host);

    ScriptCommandTable& commands() { return commands_; }
    void setQueryEvaluator(QueryEvaluator evaluator) { query_ = std::move(evaluator); }

    // Runs the text to its end (AjaOhjelma). Returns false, starting
    // nothing, while a run is going on (also one that Stop has ended but
    // that is still finishing its line).
    bool AjaOhjelma(std::string_view text, bool showVariables);
    // Stop: the run ends after the line in progress.
    static void stop();
    bool busy() const { return busy_; }
    // The run in progress, or the last one after it ended (nullptr before any).
    const ScriptRun* lastRun() const { return run_.get(); }

private:
    void runLine(ScriptRun& run, const std::string& rawLine);

    ScriptHost& host_;
    ScriptCommandTable commands_;
    QueryEvaluator query_;
    std::unique_ptr<ScriptRun> run_;
    bool busy_ = false;
};

}  // namespace qv
