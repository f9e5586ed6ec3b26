#pragma once
// Typed text entering the program's 8-bit world. Names, definitions,
// scripts and tool answers are kept and written one character per byte
// (Latin-1), so a typed character Latin-1 cannot hold ("γ", "€", "😀") is
// refused by name, never stored as "?".
#include <QString>

#include <optional>
#include <string>

namespace qv {

// The first character of `typed` that Latin-1 cannot hold, whole (a
// character beyond the basic plane is a pair of UTF-16 units), or an empty
// text when every character fits.
QString FirstCharacterBeyondLatin1(const QString& typed);

// The message that refuses such a character, naming it and its code point.
QString BeyondLatin1Message(const QString& character);

// `typed` one character per byte, or nullopt when a character does not fit.
std::optional<std::string> Latin1Of(const QString& typed);

}  // namespace qv
