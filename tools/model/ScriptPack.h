#pragma once
// Packed tool scripts ("qorpack" and "qortool" files): the magic
// "QorScriptPackVer1" followed by the tool text with each character's code
// raised by a repeating key of 12 small numbers, the first character after
// the magic by the key's first number. The texts are 8-bit, one character
// per byte.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

inline constexpr std::string_view ScriptPackMagic = "QorScriptPackVer1";
inline constexpr std::array<int, 12> ScriptPackKey = {3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5, 8};

// The plain tool text of a pack; nullopt when the text is no intact pack
// (shorter than the magic, a different magic, or a character whose code is
// below its key number). The magic alone unpacks to the empty text.
std::optional<std::string> UnpackScriptPack(std::string_view pack);

// The message for a pack that can't be unpacked, read from `path`.
std::string DamagedPackMessage(std::string_view path);
inline constexpr const char* DamagedPackTitle = "Load error";

}  // namespace qv
