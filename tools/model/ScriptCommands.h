#pragma once
// The commands of the tool language that work on the run itself: variables
// and their arithmetic, conditions, the version requirement, the questions,
// counted loops, redraw and recompute requests, and the program commands
// "end", "message" and "showscripter".
#include <string>
#include <string_view>

#include "tools/model/ScriptInterpreter.h"

namespace qv {

void addBasicScriptCommands(ScriptCommandTable& table);

// The calculation of "$x.calc": a comma between two digits becomes a decimal
// point ("1,5*2" is 3, while "Round(x, 2)" keeps its argument comma); the
// result is written with "." as decimal point, truth values as "True" /
// "False". Throws ScriptError on a malformed expression.
std::string ScriptCalculation(std::string_view expression);

// "zeros": the text with (width - digits) "0" in front, where digits is the
// number of digits of the whole part of the number the text holds (1 for
// anything below 10). Throws ScriptError when the text holds no number or
// the width is out of range.
std::string PadWithZeros(const std::string& text, int32_t width);

// Whether a required version "major.minor.revision" is met by the program's.
// Throws ScriptError when the text has too few parts to decide.
bool VersionSatisfied(std::string_view required);

}  // namespace qv
