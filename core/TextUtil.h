#pragma once
// Small text routines shared by the windows.
#include <string>
#include <string_view>

namespace qv {

// Every occurrence of find in text replaced by replacement, from left to
// right, case-sensitive, without overlaps; text produced by a replacement is
// never searched again. An empty find text returns the text unchanged.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);

}  // namespace qv
