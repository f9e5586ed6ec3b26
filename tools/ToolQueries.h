#pragma once
// The tool queries: a line argument beginning with "@" is replaced by what
// it asks of the run, the program's tables or a window:
//   @.foldernow  @.filesinfolder  @.fastdraw.limit  @.time
//   @.w.N....    (window N: its file's fields, axes, statistics, quadrant,
//                 histogram and modeller heights, existence and kind)
//   @.p.K....    (population K: axes, corners, name, existence, kind)
//   @.f.K....    (file slot K: existence, name, parameters, events, values)
// Numbers come back as number text ("." as decimal point), truth values as
// "true" / "false", tool y counted from the bottom (10000 - stored y). A
// query whose words match no entry leaves the argument as it was; one that
// needs a word it lacks, a number word out of range or a member the window
// kind lacks is an error of the line.
#include <string>

namespace qv {

struct ScriptLine;

std::string EvaluateToolQuery(ScriptLine& line, const std::string& query);

}  // namespace qv
