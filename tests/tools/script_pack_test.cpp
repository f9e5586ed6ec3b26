// Packed tool scripts: what the test packer packs unpacks to the same text,
// and a damaged pack is refused rather than run empty.
#include <gtest/gtest.h>

#include <string>

#include "tests/tools/TestPacker.h"
#include "tools/model/ScriptPack.h"

namespace qv {
namespace {

using test::packForTest;

TEST(ScriptPackTest, RoundTripKeepsEveryCharacter) {
    std::string plain = "$i.set:0\r\ndo:3\r\nmessage:Hyv\xE4\xE4 p\xE4iv\xE4\xE4 \xA7 1,5\r\nloop\r\nend";
    for (int c = 0; c < 256 - 9; ++c) plain += static_cast<char>(c);  // codes that stay in 0..255 when packed
    EXPECT_EQ(UnpackScriptPack(packForTest(plain)), plain);
}

TEST(ScriptPackTest, MagicAloneIsTheEmptyTextAndOneCharacterUsesTheFirstKey) {
    EXPECT_EQ(UnpackScriptPack(ScriptPackMagic), std::string());
    EXPECT_EQ(UnpackScriptPack(std::string(ScriptPackMagic) + static_cast<char>('A' + ScriptPackKey[0])), "A");
}

TEST(ScriptPackTest, DamagedPacksAreRefused) {
    const std::string good = packForTest("message:hi");
    for (const std::string& bad : {std::string(), std::string("QorScriptPack"), "qorScriptPackVer1" + good.substr(17),
                                   std::string("QorScriptPackVer2") + good.substr(17),
                                   std::string(ScriptPackMagic) + '\x01'})
        EXPECT_FALSE(UnpackScriptPack(bad).has_value()) << bad;
    EXPECT_EQ(DamagedPackMessage("/p/scripts/a.qorpack"), "The tool file is damaged:\n/p/scripts/a.qorpack");
}

}  // namespace
}  // namespace qv
