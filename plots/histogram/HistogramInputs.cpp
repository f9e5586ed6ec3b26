#include "plots/histogram/HistogramInputs.h"

#include <stdexcept>

#include "app/Dialogs.h"
#include "core/Numbers.h"

namespace qv {

std::optional<int32_t> AskWholeNumberSetting(const std::string& captionText, const char* hint, int32_t current) {
    const QString caption = QString::fromLatin1(captionText.data(), static_cast<qsizetype>(captionText.size()));
    const std::optional<QString> answer =
        dialogs().inputBox(caption + QChar(10) + QString::fromLatin1(hint), caption, QString::number(current));
    if (!answer || answer->trimmed().isEmpty()) return std::nullopt;
    const std::optional<double> value = ParseNumber(answer->toStdString());
    if (!value) {
        showMessage(QStringLiteral("Please give a whole number of 0 or more."), caption);
        return std::nullopt;
    }
    if (*value < 0) return std::nullopt;  // refused silently, as a negative entry always was
    try {
        return CLng(*value);
    } catch (const std::overflow_error&) {
        showMessage(QStringLiteral("Please give a whole number of 0 or more."), caption);
        return std::nullopt;
    }
}

QColor ChooseColumnColour(const QColor& before) {
    const std::optional<QColor> chosen = dialogs().chooseColour(before);
    return chosen && chosen->isValid() ? *chosen : before;
}

}  // namespace qv
