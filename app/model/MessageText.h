#pragma once
// Fitting a message box's text to the screen: lines too wide are broken (a
// long file name has no blanks to break at), and a text of more lines than
// the screen holds shows its first lines, the whole text going to the
// box's details, which scroll.
#include <QString>

#include <functional>

namespace qv {

// Breaks every line of `text` wider than `maxWidth`, as `widthOf` measures
// a line, into lines that fit: at the last blank that keeps the line within
// (the blank is dropped), else after the last character that fits. Line
// breaks already there stay. A width below one character still gives one
// character per line.
QString WrapMessageLines(const QString& text, int maxWidth, const std::function<int(const QString&)>& widthOf);

// Longest line the box's details get: the details pane wraps its lines
// itself, and a line of many thousand characters with no blank (a name
// built by a tool) takes it minutes to lay out.
inline constexpr qsizetype MaxDetailsLineLength = 2000;

// `text` for the details pane: every line longer than MaxDetailsLineLength
// broken into lines of at most that length, after their last blank when
// they have one; shorter lines as they are.
QString DetailsText(const QString& text);

struct FittedMessage {
    QString shown;    // what the box shows
    QString details;  // the whole text as DetailsText gives it when `shown` leaves lines out, else empty
};

// `text` wrapped to `maxWidth`; when that gives more than `maxLines` lines,
// the first lines and a last line saying about how many more there are,
// within `maxLines` lines in all. Only the lines shown are measured as
// `widthOf` measures them; the rest are counted by the widths of their
// characters, which is all a count needs.
FittedMessage FitMessage(const QString& text, int maxWidth, int maxLines,
                         const std::function<int(const QString&)>& widthOf);

}  // namespace qv
