// The calculation evaluator: values, precedence, functions and the texts it
// refuses.
#include <gtest/gtest.h>

#include <string>

#include "core/Expression.h"

namespace qv {
namespace {

struct Case {
    const char* text;
    const char* result;
};

class ExpressionValues : public ::testing::TestWithParam<Case> {};

TEST_P(ExpressionValues, Evaluate) {
    const ExpressionResult r = EvaluateExpression(GetParam().text);
    ASSERT_TRUE(r.ok()) << GetParam().text << ": " << r.error;
    EXPECT_EQ(ExpressionValueText(*r.value), GetParam().result) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExpressionValues,
    ::testing::Values(Case{"7/2", "3.5"}, Case{"2^10", "1024"}, Case{"7\\2", "3"}, Case{"-7\\2", "-3"},
                      Case{"7 Mod 3", "1"}, Case{"-7 mod 3", "-1"}, Case{"7.5 Mod 2", "0"},  // 7.5 rounds to 8
                      Case{"1+2*3", "7"}, Case{"(1+2)*3", "9"}, Case{"-2^2", "-4"}, Case{"2^-1", "0.5"},
                      Case{"2^3^2", "64"}, Case{"10-4-3", "3"}, Case{"8/4/2", "1"}, Case{"7\\2*2", "1"},
                      Case{"1<2", "True"}, Case{"2<=1", "False"}, Case{"3=3", "True"}, Case{"3<>3", "False"},
                      Case{"1+1=2", "True"}, Case{"(1<2)+1", "0"}, Case{"1 & 2", "12"}, Case{"\"a\"\"b\" & 1.5", "a\"b1.5"},
                      Case{"\"abc\"<\"abd\"", "True"}, Case{"Int(-2.5)", "-3"}, Case{"Fix(-2.5)", "-2"},
                      Case{"Abs(-4)", "4"}, Case{"Sqr(16)", "4"}, Case{"Log(Exp(2))", "2"}, Case{"Round(2.5)", "2"},
                      Case{"Round(3.5)", "4"}, Case{"Round(-2.5)", "-2"}, Case{"ROUND(3.14159, 2)", "3.14"},
                      Case{"Round(2.675, 2)", "2.68"}, Case{"Round(0.125, 2)", "0.12"}, Case{".5+1E1", "10.5"},
                      Case{"0.1+0.2", "0.3"}, Case{"  ( 4 )  ", "4"}));

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
