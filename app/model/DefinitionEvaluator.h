#pragma once
// Definitions: populations combined with "and", "or", "not" and parentheses,
// for example "Poly-1 and (Histo-2 or not Poly-3)". A definition lives in a
// definition slot of g.PopulationTable (MaxPopulations + 1 ..
// MaxPopulations + MaxDefinitions); its Name holds the text as typed and its
// Membership column in every loaded file says which events belong to it.
//
// The text is read by our own small parser; nothing is ever executed. Names
// of populations (slots 1..MaxPopulations in use) are matched as whole words
// without regard to case, so "Poly-1" never matches inside "Poly-10". The
// parser builds a truth table with one column per distinct population (a
// name written twice adds no column) and then writes each event's row of it.
//
// Precedence: "not" binds tightest and negates the operand that follows it,
// a population name or a whole parenthesised group; then "and"; then "or".
// "not not x" (two keywords in a row) is refused, "not (not x)" is fine.
//
// Nothing here shows anything; the caller shows a returned message with
// qv::showMessage(message, title).
#include <string>

namespace qv {

// What an evaluation gives back: an empty Message when the text was valid and
// the slot's membership has been written, otherwise the text to show in a
// message box with an OK button and the title Title.
struct DefinitionResult {
    std::string Message;
    std::string Title = "Quorvane";
    bool ok() const { return Message.empty(); }
};

// Message texts, used exactly.
inline constexpr const char* DefinitionWordError = "Error in the definition: ";  // + the first bad word
inline constexpr const char* DefinitionProblem = "Problem in the definition";

// Checks `text` and, when valid, writes column `slot` of the Membership of
// every loaded file (g.FileTable, events 1..EventCount). Errors, in order:
// - a word (the text in lower case with "(" and ")" removed, split at each
//   single blank) that is neither "and", "or", "not" nor the name of a
//   population in use: DefinitionWordError + that word (so an empty text, a
//   double blank or a leading/trailing blank report an empty word);
// - any other text that is not a well-formed expression (operator at either
//   end, two operators in a row, a trailing "not", unbalanced parentheses,
//   two names without an operator between them): DefinitionProblem.
// On an error no membership changes. Name and InUse of the slot are never
// touched. A slot outside the definition slots gives DefinitionProblem.
DefinitionResult EvaluateDefinition(int slot, const std::string& text);

// Re-evaluates the definition stored in `slot` from its Name. A slot in use
// whose text no longer evaluates (it names a deleted population, say) gets
// InUse false; nothing is shown. A slot not in use is left alone.
void CheckDefinition(int slot);

// CheckDefinition for every definition slot in ascending order. Run after any
// gate changes, so that no definition is left computed from an old column.
void CheckAllDefinitions();

// Whether a population check re-evaluates the definitions afterwards. The
// recomputation of all populations asks for None and evaluates every
// definition once at its end instead of once per population.
enum class DefinitionRecheck { All, None };

}  // namespace qv
