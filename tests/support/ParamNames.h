#pragma once
// Readable names for parameterised tests: the value's own words instead of
// a number, e.g. "Poly_2_and_not_Poly_5_2".
#include <cctype>
#include <string>
#include <string_view>

namespace qv::test {

// The letters and digits of `text`, other runs as one "_", then "_" and the
// case's index so equal texts still give distinct names.
inline std::string TestNameOf(std::string_view text, size_t index) {
    std::string name;
    for (char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_') name.pop_back();
    if (name.empty()) name = "Case";
    return name + "_" + std::to_string(index);
}

}  // namespace qv::test
