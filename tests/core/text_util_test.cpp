#include <gtest/gtest.h>

#include <string>

#include "core/TextUtil.h"

namespace qv {
namespace {

TEST(TextUtil, ReplaceAllLeftToRightWithoutOverlapOrRescan) {
    struct Case { std::string text, find, replacement, expected; };
    const Case cases[] = {
        {"-.5", "-.", "-0.", "-0.5"},
        {"aaa", "aa", "b", "ba"},             // no overlapping matches
        {"", "x", "y", ""},
        {"abc", "", "zz", "abc"},              // empty find: unchanged
        {"", "", "zz", ""},
        {"aaa", "a", "aa", "aaaaaa"},          // a replacement is never searched again
        {"abab", "ab", "", ""},
        {"Poly-1 poly-1", "Poly-1", "X", "X poly-1"},  // case-sensitive
        {"abc", "abcd", "x", "abc"},
        {"a.b.c", ".", ",", "a,b,c"},
        {std::string("a\0b", 3), std::string("\0", 1), "-", "a-b"},
        {"\xe4\xf6\xe4", "\xe4", "a", "a\xf6" "a"},   // 8-bit characters compare as bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text '" + c.text + "' find '" + c.find + "'");
        EXPECT_EQ(ReplaceAll(c.text, c.find, c.replacement), c.expected);
    }
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

TEST(SplitAt, KeepsEmptyPiecesAndGivesOneMorePieceThanSeparators) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(SplitAt("a.b.c", '.'), (V{"a", "b", "c"}));
    EXPECT_EQ(SplitAt("", '.'), (V{""}));
    EXPECT_EQ(SplitAt(".a..", '.'), (V{"", "a", "", ""}));
    EXPECT_EQ(SplitAt("2,0,-15", ','), (V{"2", "0", "-15"}));
}

}  // namespace
}  // namespace qv
