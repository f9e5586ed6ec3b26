#include "plots/histogram/HistogramInputs.h"

#include <stdexcept>

#include "app/Dialogs.h"
#include "core/Numbers.h"
#include "plots/histogram/model/HistogramState.h"

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

void ChooseFillColour(uint8_t& red, uint8_t& green, uint8_t& blue) {
    const QColor c = ChooseColumnColour(QColor(red, green, blue));
    red = static_cast<uint8_t>(c.red());
    green = static_cast<uint8_t>(c.green());
    blue = static_cast<uint8_t>(c.blue());
}

bool AskWholeNumberInto(const std::string& caption, const char* hint, int32_t& field,
                        std::optional<int32_t> smoothingResolution) {
    std::optional<int32_t> whole = AskWholeNumberSetting(caption, hint, field);
    if (!whole) return false;
    if (smoothingResolution) *whole = SmoothingWithin(*whole, *smoothingResolution);
    field = *whole;
    return true;
}

}  // namespace qv
