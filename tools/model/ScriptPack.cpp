#include "tools/model/ScriptPack.h"

namespace qv {

std::optional<std::string> UnpackScriptPack(std::string_view pack) {
    if (pack.size() < ScriptPackMagic.size() || pack.substr(0, ScriptPackMagic.size()) != ScriptPackMagic)
        return std::nullopt;
    const std::string_view body = pack.substr(ScriptPackMagic.size());
    std::string plain;
    plain.resize(body.size());
    size_t key = 0;
    for (size_t i = 0; i < body.size(); ++i) {
        const int code = static_cast<unsigned char>(body[i]) - ScriptPackKey[key];
        if (code < 0) return std::nullopt;
        plain[i] = static_cast<char>(code);
        key = key + 1 == ScriptPackKey.size() ? 0 : key + 1;
    }
    return plain;
}

std::string DamagedPackMessage(std::string_view path) {
    return "The tool file is damaged:\n" + std::string(path);
}

}  // namespace qv
