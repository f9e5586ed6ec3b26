#pragma once
// The tool commands that drive the program, added to the interpreter's
// table after the language's own: window commands ("w.N." / "window.N."),
// window creation ("create.dotplot:N", ...), population colours and
// positions ("p.K." / "population.K."), the folder, file values, output,
// the fast-draw limit and printing the print page. The queries ("@...")
// are installed with them.
#include <string>

namespace qv {

class ScriptInterpreter;
class ScriptCommandTable;
struct ScriptLine;

void addWindowScriptCommands(ScriptCommandTable& table);
void addFileScriptCommands(ScriptCommandTable& table);

// Both sets and the query evaluator.
void installToolCommands(ScriptInterpreter& interpreter);

// Refuses a file the tool would write: no loaded data file may be written
// over (ToolMayWriteOver, judged first, so a name that leads to a loaded file
// is refused for that), and the tool folder must be set and the name must
// stay inside it (else "The tool may write only inside its folder:"). Shows
// the message with the name (titled "Fatal error") and ends the run when
// refused; else gives the full path.
bool ToolWritePath(ScriptLine& line, const std::string& name, std::string& path);

// False, with the message "The tool may not write over a loaded data file:"
// and the name, ending the run, when `path` is a loaded data file however it
// is spelled; checked again before each write to a file the run keeps open,
// since a file may be loaded after the tool opened it.
bool ToolMayWriteOver(ScriptLine& line, const std::string& path, const std::string& name);

}  // namespace qv
