#include "app/TypedText.h"

#include "app/Dialogs.h"
#include "app/model/Latin1Text.h"

namespace qv {

std::optional<std::string> AcceptLatin1Text(const QString& typed, const QString& title) {
    if (std::optional<std::string> text = Latin1Of(typed)) return text;
    showMessage(BeyondLatin1Message(FirstCharacterBeyondLatin1(typed)), title);
    return std::nullopt;
}

std::optional<std::string> AskLatin1Text(const QString& prompt, const QString& title, const QString& defaultText) {
    QString preset = defaultText;
    while (true) {
        const std::optional<QString> answer = dialogs().inputBox(prompt, title, preset);
        if (!answer) return std::nullopt;
        if (std::optional<std::string> text = AcceptLatin1Text(*answer, title)) return text;
        preset = *answer;
    }
}

}  // namespace qv
