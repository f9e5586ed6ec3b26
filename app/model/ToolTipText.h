#pragma once
// Tooltips that show a text whole: the user's own texts (names, definitions,
// values) are shown as written, never read as markup, and a text gets a
// tooltip only where its control cuts it.
#include <QString>

class QFontMetrics;

namespace qv {

// `text` as a tooltip shows it character for character: text the tooltip
// would take for markup ("<b>", "<img src=...>") is escaped, line breaks kept.
QString PlainToolTip(const QString& text);

// The tooltip of `text` drawn with `metrics` in `room` pixels: the whole
// text (as PlainToolTip) when it does not fit, else none.
QString CutTextToolTip(const QString& text, const QFontMetrics& metrics, int room);

}  // namespace qv
