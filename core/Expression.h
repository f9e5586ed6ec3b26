#pragma once
// The program's own small expression evaluator for calculations written by
// users (tool calculations). It reads the text, computes one value and never
// runs anything.
//
// Grammar, loosest binding first (operators and function names without
// regard to case, as users of such calculators expect):
//   comparison := concat { ("=" | "<>" | "<" | ">" | "<=" | ">=") concat }
//   concat     := additive { "&" additive }
//   additive   := modulo { ("+" | "-") modulo }
//   modulo     := intdiv { "Mod" intdiv }
//   intdiv     := product { "\" product }
//   product    := unary { ("*" | "/") unary }
//   unary      := ("-" | "+") unary | power
//   power      := primary { "^" ["-" | "+"] primary }      (left to right)
//   primary    := number | "text" | "(" comparison ")" | function "(" args ")"
// So -2^2 is -4 and 2^3^2 is 64. Functions: Int (toward minus infinity),
// Fix (toward zero), Abs, Sqr, Log (natural), Exp, Round(x) and Round(x, n)
// (halves to even, n decimals 0..15, judged on x's 15-digit decimal form so
// Round(2.675, 2) is 2.68).
//
// Numbers use "." as decimal point ("1.5", ".5", "1E3"); "," only separates
// function arguments. "\" and Mod round their operands half to even to whole
// 32-bit numbers first; "\" cuts the quotient toward zero and Mod's result
// has the sign of the dividend. A comparison gives True or False, which
// count as -1 and 0 in arithmetic. "&" joins the texts of its operands.
//
// Any malformed text, unknown word, division by zero, result that is not a
// finite number, or operand of the wrong kind is an error (std::nullopt with
// a reason), never a crash.
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace qv {

// A computed value: a number, a truth value or a text.
using ExpressionValue = std::variant<double, bool, std::string>;

struct ExpressionResult {
    std::optional<ExpressionValue> value;  // empty on an error
    std::string error;                     // why, for an error
    bool ok() const { return value.has_value(); }
};

ExpressionResult EvaluateExpression(std::string_view text);

// The value as text: numbers as NumberText ("." point, up to 15 digits),
// truth values "True" / "False", texts as they are.
std::string ExpressionValueText(const ExpressionValue& value);

}  // namespace qv
