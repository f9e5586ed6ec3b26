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

// A long text is measured piece by piece, each piece about as long as the
// line it becomes, never the whole rest of the text for every line: the
// characters measured stay within a small multiple of the text's length.
struct LongWrapCase {
    const char* why;
    QString text;
};
void PrintTo(const LongWrapCase& c, std::ostream* os) { *os << c.why; }

class MessageWrapCost : public ::testing::TestWithParam<LongWrapCase> {};

TEST_P(MessageWrapCost, MeasuresInProportionToTheText) {
    const QString& text = GetParam().text;
    qint64 measured = 0;
    // Blanks and letters one unit wide, "~" none (a mark that takes no room).
    const auto counting = [&measured](const QString& line) {
        measured += line.size();
        return static_cast<int>(line.size() - line.count(QLatin1Char('~')));
    };
    const FittedMessage fitted = FitMessage(text, 60, 30, counting);
    EXPECT_LE(measured, 40 * text.size());
    // Cut texts keep the whole text for the details.
    EXPECT_TRUE(fitted.details.isEmpty() || fitted.details == DetailsText(text));
    for (const QString& line : fitted.shown.split('\n')) EXPECT_LE(line.size() - line.count('~'), 60);
}

QString repeated(const QString& piece, int times) {
    QString out;
    out.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MessageWrapCost,
    ::testing::Values(LongWrapCase{"one name without blanks", QString(200000, QChar('n'))},
                      LongWrapCase{"words", repeated(QStringLiteral("word "), 40000)},
                      LongWrapCase{"short lines", repeated(QStringLiteral("a.fcs -> b.fcs\n"), 15000)},
                      LongWrapCase{"a long word after short ones",
                                   repeated(QStringLiteral("ab "), 500) + QString(150000, QChar('x'))},
                      LongWrapCase{"marks that take no room", QString(200000, QChar('~')) + QStringLiteral("end")},
                      LongWrapCase{"long and short lines mixed",
                                   repeated(QString(3000, QChar('y')) + QStringLiteral("\nz\n"), 60)}),
    [](const auto& info) { return test::TestNameOf(info.param.why, info.index); });

// The details pane gets no line longer than it lays out quickly; nothing
// of the text is lost and short lines stay as they are.
struct DetailsCase {
    const char* why;
    QString text;
    QString expected;  // "" when the text stays as it is
};
void PrintTo(const DetailsCase& c, std::ostream* os) { *os << c.why; }

class MessageDetails : public ::testing::TestWithParam<DetailsCase> {};

TEST_P(MessageDetails, LongLinesAreBrokenAndNothingIsLost) {
    const DetailsCase& c = GetParam();
    const QString details = DetailsText(c.text);
    EXPECT_EQ(details.toStdString(), (c.expected.isEmpty() ? c.text : c.expected).toStdString());
    for (const QString& line : details.split('\n')) EXPECT_LE(line.size(), MaxDetailsLineLength);
}

const qsizetype L = MaxDetailsLineLength;

INSTANTIATE_TEST_SUITE_P(
    Texts, MessageDetails,
    ::testing::Values(
        DetailsCase{"short lines as they are", "a.fcs: not an FCS file\n\nb.fcs: 24-bit values\n", ""},
        DetailsCase{"a line of the longest length as it is", QString(L, QChar('n')), ""},
        DetailsCase{"a name without blanks in pieces", QString(2 * L + 5, QChar('n')) + "\nend",
                    QString(L, QChar('n')) + "\n" + QString(L, QChar('n')) + "\nnnnnn\nend"},
        DetailsCase{"words broken after their last blank", "ab " + QString(L - 1, QChar('c')),
                    "ab \n" + QString(L - 1, QChar('c'))}),
    [](const auto& info) { return test::TestNameOf(info.param.why, info.index); });

TEST(MessageFit, AWholeTextOfManyLinesCountsEveryWrappedLine) {
    // 1000 lines of 150 characters: 3 wrapped lines each.
    const QString text = repeated(QString(150, QChar('k')) + QStringLiteral("\n"), 999) + QString(150, QChar('k'));
    const FittedMessage fitted = FitMessage(text, 60, 5, charWidth);
    EXPECT_EQ(fitted.shown.split('\n').last().toStdString(), "... and 2996 more lines (see the details)");
}

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
