// The calculation evaluator: values, precedence, functions and the texts it
// refuses.
#include <gtest/gtest.h>

#include <string>

#include "core/Expression.h"

namespace qv {
namespace {

struct Case {
    const char* name;
    const char* text;
    const char* result;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.text << " = " << c.result; }

class ExpressionValues : public ::testing::TestWithParam<Case> {};

TEST_P(ExpressionValues, Evaluate) {
    const ExpressionResult r = EvaluateExpression(GetParam().text);
    ASSERT_TRUE(r.ok()) << GetParam().text << ": " << r.error;
    EXPECT_EQ(ExpressionValueText(*r.value), GetParam().result) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExpressionValues,
    ::testing::Values(
        Case{"DivisionGivesAFraction", "7/2", "3.5"},
        Case{"Power", "2^10", "1024"},
        Case{"WholeDivisionTruncates", "7\\2", "3"},
        Case{"WholeDivisionTruncatesTowardZero", "-7\\2", "-3"},
        Case{"Mod", "7 Mod 3", "1"},
        Case{"ModTakesTheSignOfTheDividend", "-7 mod 3", "-1"},
        Case{"ModRoundsItsOperands", "7.5 Mod 2", "0"},  // 7.5 rounds to 8
        Case{"ProductBeforeSum", "1+2*3", "7"},
        Case{"Parentheses", "(1+2)*3", "9"},
        Case{"PowerBeforeNegation", "-2^2", "-4"},
        Case{"NegativeExponent", "2^-1", "0.5"},
        Case{"PowerGroupsFromTheLeft", "2^3^2", "64"},
        Case{"SubtractionGroupsFromTheLeft", "10-4-3", "3"},
        Case{"DivisionGroupsFromTheLeft", "8/4/2", "1"},
        Case{"ProductBeforeWholeDivision", "7\\2*2", "1"},
        Case{"LessThanHolds", "1<2", "True"},
        Case{"LessOrEqualFails", "2<=1", "False"},
        Case{"EqualHolds", "3=3", "True"},
        Case{"NotEqualFails", "3<>3", "False"},
        Case{"SumBeforeComparison", "1+1=2", "True"},
        Case{"TrueIsMinusOne", "(1<2)+1", "0"},
        Case{"JoinNumbersAsText", "1 & 2", "12"},
        Case{"JoinQuotedTextWithDoubledQuote", "\"a\"\"b\" & 1.5", "a\"b1.5"},
        Case{"TextComparison", "\"abc\"<\"abd\"", "True"},
        Case{"IntRoundsDown", "Int(-2.5)", "-3"},
        Case{"FixRoundsTowardZero", "Fix(-2.5)", "-2"},
        Case{"Abs", "Abs(-4)", "4"},
        Case{"Sqr", "Sqr(16)", "4"},
        Case{"LogOfExp", "Log(Exp(2))", "2"},
        Case{"RoundHalfToEvenDown", "Round(2.5)", "2"},
        Case{"RoundHalfToEvenUp", "Round(3.5)", "4"},
        Case{"RoundNegativeHalfToEven", "Round(-2.5)", "-2"},
        Case{"FunctionNamesIgnoreCase", "ROUND(3.14159, 2)", "3.14"},
        Case{"RoundToDecimalsOfTheWrittenNumber", "Round(2.675, 2)", "2.68"},
        Case{"RoundToDecimalsHalfToEven", "Round(0.125, 2)", "0.12"},
        Case{"LeadingPointAndExponent", ".5+1E1", "10.5"},
        Case{"SumWrittenWithFifteenDigits", "0.1+0.2", "0.3"},
        Case{"BlanksAroundEverything", "  ( 4 )  ", "4"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExpressionErrors, MalformedAndImpossibleTextsAreRefused) {
    for (const char* text : {"", "1 +", "2*(3", "2)", "1 2", "x+1", "Int 2", "Round(1, 2, 3)", "Round(1, -1)",
                             "1/0", "1\\0", "1 Mod 0", "Sqr(-1)", "Log(0)", "10^400", "(-8)^(1/3)", "1.2.3",
                             "2x", "\"open", "1 $ 2", "\"a\"+1", "Abs()", "Shell(1)"}) {
        const ExpressionResult r = EvaluateExpression(text);
        EXPECT_FALSE(r.ok()) << text;
        EXPECT_FALSE(r.error.empty()) << text;
    }
}

TEST(ExpressionErrors, DeepNestingIsRefusedNotACrash) {
    std::string deep(100000, '(');
    deep += "1";
    EXPECT_FALSE(EvaluateExpression(deep).ok());
    EXPECT_FALSE(EvaluateExpression(std::string(100000, '-') + "1").ok());
}

}  // namespace
}  // namespace qv
