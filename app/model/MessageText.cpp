#include "app/model/MessageText.h"

#include <QHash>
#include <QStringList>
#include <QStringView>

#include <algorithm>

namespace qv {
namespace {

using WidthOf = std::function<int(const QString&)>;

// The longest run of `line` from `start` that fits, at least one character.
// Only runs about as long as the answer are measured, stepping out from a
// guess (the previous line's length) by steps that double, then halving the
// last step: a line costs in proportion to its own length, whatever follows
// it, so a whole text wraps in time linear in it, and a text of even lines
// takes two measures a line.
qsizetype fittingLength(const QString& line, qsizetype start, qsizetype guess, int maxWidth, const WidthOf& widthOf) {
    const qsizetype rest = line.size() - start;
    const auto fits = [&](qsizetype n) { return widthOf(line.mid(start, n)) <= maxWidth; };
    qsizetype lo = 1, hi = rest;  // lo fits (or is the one character given anyway); beyond hi does not
    qsizetype probe = std::clamp<qsizetype>(guess, 1, rest);
    qsizetype step = 1;
    if (fits(probe)) {
        lo = probe;
        while (true) {
            if (lo == rest) return rest;
            probe = std::min(rest, lo + step);
            if (!fits(probe)) {
                hi = probe - 1;
                break;
            }
            lo = probe;
            step *= 2;
        }
    } else {
        hi = probe - 1;
        while (true) {
            if (hi <= 1) return 1;
            probe = std::max<qsizetype>(1, probe - step);
            if (fits(probe)) {
                lo = probe;
                break;
            }
            hi = probe - 1;
            step *= 2;
        }
    }
    while (lo < hi) {
        const qsizetype mid = lo + (hi - lo + 1) / 2;
        if (fits(mid))
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

// The longest run of `line` from `start` that fits when a run is as wide
// as its characters together, at least one character.
template <typename CharWidth>
qsizetype summedFittingLength(const QString& line, qsizetype start, int maxWidth, CharWidth&& charWidth) {
    qint64 width = 0;
    for (qsizetype i = start; i < line.size(); ++i) {
        width += charWidth(line[i]);
        if (width > maxWidth) return std::max<qsizetype>(1, i - start);
    }
    return line.size() - start;
}

// Wraps `text` line by line, each line broken where `fit(line, start,
// guess)` says the run from `start` ends (`guess`: the last run's length),
// and gives every wrapped line to `take`.
template <typename Fit, typename Take>
void wrapLines(const QString& text, Fit&& fit, Take&& take) {
    qsizetype guess = 1;
    qsizetype from = 0;
    while (true) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), from);
        if (end < 0) end = text.size();
        const QString line = text.mid(from, end - from);
        const QStringView view(line);
        qsizetype start = 0;
        while (line.size() - start > 1) {
            const qsizetype fits = fit(line, start, guess);
            if (fits == line.size() - start) break;
            guess = fits;
            // A blank at or right after the fitting part breaks the line
            // there (looked for in that part only).
            const qsizetype blank = start + view.mid(start, fits + 1).lastIndexOf(QLatin1Char(' '));
            if (blank > start) {
                take(view.mid(start, blank - start));
                start = blank + 1;
            } else {
                take(view.mid(start, fits));
                start += fits;
            }
        }
        take(view.mid(start));
        if (end == text.size()) return;
        from = end + 1;
    }
}

}  // namespace

QString DetailsText(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / MaxDetailsLineLength + 1);
    const QStringView all(text);
    qsizetype from = 0;
    while (from <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), from);
        if (end < 0) end = text.size();
        qsizetype start = from;
        while (end - start > MaxDetailsLineLength) {
            const qsizetype blank = all.mid(start, MaxDetailsLineLength).lastIndexOf(QLatin1Char(' '));
            const qsizetype piece = blank > 0 ? blank + 1 : MaxDetailsLineLength;
            out += all.mid(start, piece);
            out += QLatin1Char('\n');
            start += piece;
        }
        out += all.mid(start, end - start);
        if (end < text.size()) out += QLatin1Char('\n');
        from = end + 1;
    }
    return out;
}

QString WrapMessageLines(const QString& text, int maxWidth, const WidthOf& widthOf) {
    QStringList out;
    wrapLines(
        text,
        [&](const QString& line, qsizetype start, qsizetype guess) {
            return fittingLength(line, start, guess, maxWidth, widthOf);
        },
        [&out](QStringView line) { out << line.toString(); });
    return out.join(QLatin1Char('\n'));
}

FittedMessage FitMessage(const QString& text, int maxWidth, int maxLines, const WidthOf& widthOf) {
    maxLines = std::max(maxLines, 2);
    const qsizetype kept = maxLines - 1;
    QStringList lines;
    qsizetype count = 0;
    // The lines shown are measured as the box draws them. Beyond them only
    // their number is said, counted with each character's own width: a
    // megabyte of text counts in a blink, where measuring every line as
    // drawn would take seconds.
    bool counting = false;
    QHash<char16_t, int> charWidths;
    const auto charWidth = [&](QChar c) {
        auto known = charWidths.constFind(c.unicode());
        if (known == charWidths.cend()) known = charWidths.insert(c.unicode(), widthOf(QString(c)));
        return *known;
    };
    wrapLines(
        text,
        [&](const QString& line, qsizetype start, qsizetype guess) {
            return counting ? summedFittingLength(line, start, maxWidth, charWidth)
                            : fittingLength(line, start, guess, maxWidth, widthOf);
        },
        [&](QStringView line) {
            if (count++ < maxLines)
                lines << line.toString();
            else
                counting = true;
        });
    if (count <= maxLines) return {lines.join(QLatin1Char('\n')), QString()};
    QString shown = QStringList(lines.mid(0, kept)).join(QLatin1Char('\n'));
    shown += QStringLiteral("\n... and %1 more lines (see the details)").arg(count - kept);
    return {shown, DetailsText(text)};
}

}  // namespace qv
