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

struct FittedMessage {
    QString shown;    // what the box shows
    QString details;  // the whole text when `shown` leaves lines out, else empty
};

// `text` wrapped to `maxWidth`; when that gives more than `maxLines` lines,
// the first lines and a last line saying how many more there are, within
// `maxLines` lines in all.
FittedMessage FitMessage(const QString& text, int maxWidth, int maxLines,
                         const std::function<int(const QString&)>& widthOf);

}  // namespace qv
