#pragma once
// Packs a tool text the way pack files are made: the magic, then every
// character raised by the key number of its place.
#include <string>

#include "tools/model/ScriptPack.h"

namespace qv::test {

inline std::string packForTest(const std::string& plain) {
    std::string out(ScriptPackMagic);
    for (size_t i = 0; i < plain.size(); ++i)
        out += static_cast<char>(static_cast<unsigned char>(plain[i]) + ScriptPackKey[i % ScriptPackKey.size()]);
    return out;
}

}  // namespace qv::test
