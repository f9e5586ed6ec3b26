// Fitting a message box's text: lines wider than the room are broken, at a
// blank when there is one, and a text of more lines than the screen holds
// shows its first lines with the whole text kept for the details.
#include <gtest/gtest.h>

#include <QStringList>

#include "app/model/MessageText.h"
#include "tests/support/ParamNames.h"

namespace qv {
namespace {

// One unit of width per character.
int charWidth(const QString& line) { return static_cast<int>(line.size()); }

struct WrapCase {
    const char* why;
    QString text;
    int maxWidth;
    QString expected;
};
void PrintTo(const WrapCase& c, std::ostream* os) { *os << c.why; }

class MessageWrap : public ::testing::TestWithParam<WrapCase> {};

TEST_P(MessageWrap, LinesFitTheRoom) {
    const WrapCase& c = GetParam();
    const QString wrapped = WrapMessageLines(c.text, c.maxWidth, charWidth);
    EXPECT_EQ(wrapped.toStdString(), c.expected.toStdString());
    for (const QString& line : wrapped.split('\n')) EXPECT_LE(line.size(), std::max(c.maxWidth, 1)) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MessageWrap,
    ::testing::Values(WrapCase{"short text unchanged", "Load error", 20, "Load error"},
                      WrapCase{"line breaks kept", "No file was renamed:\na -> b", 20, "No file was renamed:\na -> b"},
                      WrapCase{"breaks at the last blank that fits", "one two three four", 9, "one two\nthree\nfour"},
                      WrapCase{"a name without blanks is broken anywhere", "abcdefghijklmnopqrstuvwxyz", 10,
                               "abcdefghij\nklmnopqrst\nuvwxyz"},
                      WrapCase{"a long name after a blank", "file aaaaaaaaaaaaaaa", 8, "file\naaaaaaaa\naaaaaaa"},
                      WrapCase{"blank right after the fitting part", "abcd efgh", 4, "abcd\nefgh"},
                      WrapCase{"width under one character", "abc", 0, "a\nb\nc"},
                      WrapCase{"empty lines kept", "a\n\nb", 5, "a\n\nb"}),
    [](const auto& info) { return test::TestNameOf(info.param.why, info.index); });

TEST(MessageFit, ALongListShowsItsFirstLinesAndKeepsTheWholeTextForTheDetails) {
    QStringList lines{"Not renamed:"};
    for (int i = 1; i <= 50; ++i) lines << QStringLiteral("file%1.fcs -> new%1.fcs").arg(i);
    const QString text = lines.join('\n');
    const FittedMessage fitted = FitMessage(text, 40, 10, charWidth);
    const QStringList shown = fitted.shown.split('\n');
    ASSERT_EQ(shown.size(), 10);
    EXPECT_EQ(shown.mid(0, 9), lines.mid(0, 9));
    EXPECT_EQ(shown.last().toStdString(), "... and 42 more lines (see the details)");
    EXPECT_EQ(fitted.details, text);
}

TEST(MessageFit, ATextThatFitsHasNoDetails) {
    const FittedMessage fitted = FitMessage("The file could not be written:\n/tmp/x.bmp", 40, 10, charWidth);
    EXPECT_EQ(fitted.shown, "The file could not be written:\n/tmp/x.bmp");
    EXPECT_TRUE(fitted.details.isEmpty());
}

}  // namespace
}  // namespace qv
