#include "tools/ToolCommands.h"

#include "tools/ToolQueries.h"
#include "tools/model/ScriptInterpreter.h"

namespace qv {

void installToolCommands(ScriptInterpreter& interpreter) {
    addWindowScriptCommands(interpreter.commands());
    addFileScriptCommands(interpreter.commands());
    interpreter.setQueryEvaluator(EvaluateToolQuery);
}

}  // namespace qv
