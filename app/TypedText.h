#pragma once
// Input boxes whose answer is kept as 8-bit text (names, definitions, tool
// answers): a character Latin-1 cannot hold is refused with a message that
// names it, and the box comes back with the answer as typed, so the user
// can mend it or cancel.
#include <QString>

#include <optional>
#include <string>

namespace qv {

// The answer one character per byte; nullopt when the user cancelled.
std::optional<std::string> AskLatin1Text(const QString& prompt, const QString& title, const QString& defaultText);

// `typed` one character per byte; nullopt after the message naming the
// first character that does not fit, titled `title`.
std::optional<std::string> AcceptLatin1Text(const QString& typed, const QString& title);

}  // namespace qv
