#pragma once
// Small text routines shared by the windows.
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Every occurrence of find in text replaced by replacement, from left to
// right, case-sensitive, without overlaps; text produced by a replacement is
// never searched again. An empty find text returns the text unchanged.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);

// The pieces of text between the separators, empty pieces included: one
// more piece than there are separators. The views point into text.
std::vector<std::string_view> SplitAt(std::string_view text, char separator);

}  // namespace qv
