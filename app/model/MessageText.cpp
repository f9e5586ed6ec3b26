#include "app/model/MessageText.h"

#include <QStringList>

#include <algorithm>

namespace qv {
namespace {

// The longest prefix of `line` that fits, at least one character.
qsizetype fittingLength(const QString& line, int maxWidth, const std::function<int(const QString&)>& widthOf) {
    qsizetype lo = 1, hi = line.size();
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (widthOf(line.left(mid)) <= maxWidth)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

}  // namespace

QString WrapMessageLines(const QString& text, int maxWidth, const std::function<int(const QString&)>& widthOf) {
    QStringList out;
    for (QString line : text.split(QLatin1Char('\n'))) {
        while (line.size() > 1 && widthOf(line) > maxWidth) {
            const qsizetype fits = fittingLength(line, maxWidth, widthOf);
            // A blank at or right after the fitting part breaks the line there.
            const qsizetype blank = line.lastIndexOf(QLatin1Char(' '), fits);
            if (blank > 0) {
                out << line.left(blank);
                line = line.mid(blank + 1);
            } else {
                out << line.left(fits);
                line = line.mid(fits);
            }
        }
        out << line;
    }
    return out.join(QLatin1Char('\n'));
}

FittedMessage FitMessage(const QString& text, int maxWidth, int maxLines,
                         const std::function<int(const QString&)>& widthOf) {
    const QString wrapped = WrapMessageLines(text, maxWidth, widthOf);
    const QStringList lines = wrapped.split(QLatin1Char('\n'));
    maxLines = std::max(maxLines, 2);
    if (lines.size() <= maxLines) return {wrapped, QString()};
    const qsizetype kept = maxLines - 1;
    QString shown = QStringList(lines.mid(0, kept)).join(QLatin1Char('\n'));
    shown += QStringLiteral("\n... and %1 more lines (see the details)").arg(lines.size() - kept);
    return {shown, text};
}

}  // namespace qv
