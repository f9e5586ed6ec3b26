#include "app/model/Latin1Text.h"

#include <QByteArray>

namespace qv {

QString FirstCharacterBeyondLatin1(const QString& typed) {
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed[i];
        if (c.unicode() <= 0xFF) continue;
        const bool pair = c.isHighSurrogate() && i + 1 < typed.size() && typed[i + 1].isLowSurrogate();
        return typed.mid(i, pair ? 2 : 1);
    }
    return QString();
}

QString BeyondLatin1Message(const QString& character) {
    char32_t code = character.isEmpty() ? 0 : character[0].unicode();
    if (character.size() == 2) code = QChar::surrogateToUcs4(character[0], character[1]);
    const QString codePoint = QStringLiteral("%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("The character \"%1\" (U+%2) cannot be used: names and texts are stored in Latin-1, "
                          "which has no such character.")
        .arg(character, codePoint);
}

std::optional<std::string> Latin1Of(const QString& typed) {
    if (!FirstCharacterBeyondLatin1(typed).isEmpty()) return std::nullopt;
    const QByteArray bytes = typed.toLatin1();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace qv
