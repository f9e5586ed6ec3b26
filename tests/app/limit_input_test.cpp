// The two "Set limit" input boxes: the new limit is the integer part of the
// number typed and is taken only when it is at least 1; anything else leaves
// the limit as it was (a limit of 0 would divide by zero later).
#include <QAction>
#include <QMainWindow>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <optional>

#include "app/MenuBar.h"
#include "app/MenuCommands.h"
#include "app/model/LimitInput.h"
#include "core/SharedState.h"
#include "tests/support/ScriptedDialogs.h"

namespace qv {
namespace {

struct AnswerCase {
    std::optional<QString> answer;  // nullopt: Cancel
    std::optional<int32_t> limit;   // nullopt: unchanged
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << (c.answer ? "\"" + c.answer->toStdString() + "\"" : std::string("Cancel"));
}

const AnswerCase answerCases[] = {
    {QString("12.9"), 12},
    {QString("3.5"), 3},
    {QString("1000"), 1000},
    {QString("1"), 1},
    {QString("1.99"), 1},
    {QString(" 250 "), 250},       // blanks around the number
    {QString("2,5"), 2},           // a single "," as decimal point
    {QString("12,5"), 12},
    {QString("1,25"), 1},
    {QString("1,2345"), 1},
    // Digits grouped by thousands: a count, not a decimal.
    {QString("100,000"), 100000},
    {QString("1,000,000"), 1000000},
    {QString("50 000"), 50000},
    {QString(" 2 500 000 "), 2500000},
    {QString("1,234"), 1234},
    {QString("1,000 000"), std::nullopt},  // two kinds of separator
    {QString("1,00,000"), std::nullopt},   // groups of two
    {QString("1000,000"), 1000},           // no group: a decimal comma
    {QString("100,000.5"), std::nullopt},
    {QString("3,000,000,000"), std::nullopt},  // beyond a 32-bit limit
    {QString("1e3"), 1000},
    {QString("0.5"), std::nullopt},  // Int gives 0
    {QString("0.999"), std::nullopt},
    {QString("0"), std::nullopt},
    {QString("-5"), std::nullopt},
    {QString("-0.5"), std::nullopt},
    {QString(""), std::nullopt},
    {QString("   "), std::nullopt},
    {QString("abc"), std::nullopt},
    {QString("12abc"), std::nullopt},
    {QString("1.2.3"), std::nullopt},
    {QString("1e20"), std::nullopt},  // beyond any limit the program can hold
    {QString("nan"), std::nullopt},
    {std::nullopt, std::nullopt},
};

class LimitFromAnswer : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(LimitFromAnswer, TakesTheIntegerPartOnlyWhenAtLeastOne) {
    EXPECT_EQ(limitFromAnswer(GetParam().answer), GetParam().limit);
}

INSTANTIATE_TEST_SUITE_P(Answers, LimitFromAnswer, ::testing::ValuesIn(answerCases));

// Both menu items, through the dialog layer.
struct LimitItem {
    const char* name;
    const char* prompt;
    int32_t SharedState::*limit;
    int32_t start;
};
void PrintTo(const LimitItem& it, std::ostream* os) { *os << it.name; }

const LimitItem limitItems[] = {
    {"AsetaFastDrawLimit", "Set the fast draw limit", &SharedState::FastDrawLimit, 50000},
    {"AsetaLadattavienPisteidenMaara", "Set the max number of events which will be loaded",
     &SharedState::MaxEventsLoaded, 1000000},
};

class LimitInputBox : public ::testing::TestWithParam<LimitItem> {
protected:
    void SetUp() override { resetSharedState(); }
    QAction* item() { return window.menuBar()->findChild<QAction*>(GetParam().name); }
    QMainWindow window;
    MenuCommands commands;
    MainMenu menu{window, commands};
};

TEST_P(LimitInputBox, ShowsPromptTitleAndCurrentLimitAndTakesTheAnswer) {
    const LimitItem& it = GetParam();
    ASSERT_NE(item(), nullptr);
    EXPECT_EQ(g.*it.limit, it.start);
    for (const AnswerCase& c : answerCases) {
        SCOPED_TRACE(c.answer ? c.answer->toStdString() : std::string("Cancel"));
        const int32_t before = g.*it.limit;
        test::ScriptedDialogs dialogs;
        dialogs.expectInput(it.prompt, "Set limit", c.answer);
        item()->trigger();
        dialogs.finish();
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.shown()[0].defaultText, QString::number(before));
        EXPECT_EQ(g.*it.limit, c.limit ? *c.limit : before);
        // Every answer leaves a usable limit.
        EXPECT_GE(g.*it.limit, 1);
    }
}

TEST_P(LimitInputBox, OnlyItsOwnLimitChanges) {
    const LimitItem& it = GetParam();
    const SharedState before = g;
    test::ScriptedDialogs dialogs;
    dialogs.expectInput(it.prompt, "Set limit", QString("7"));
    item()->trigger();
    EXPECT_EQ(g.*it.limit, 7);
    for (const LimitItem& other : limitItems)
        if (other.limit != it.limit) {
            EXPECT_EQ(g.*other.limit, before.*other.limit);
        }
}

INSTANTIATE_TEST_SUITE_P(Items, LimitInputBox, ::testing::ValuesIn(limitItems),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qv
