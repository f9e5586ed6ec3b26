#include "app/model/ToolTipText.h"

#include <QFontMetrics>
#include <QTextDocument>

namespace qv {

QString PlainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text)) return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

QString CutTextToolTip(const QString& text, const QFontMetrics& metrics, int room) {
    return metrics.horizontalAdvance(text) > room ? PlainToolTip(text) : QString();
}

}  // namespace qv
