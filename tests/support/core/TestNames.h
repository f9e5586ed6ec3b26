#pragma once
// Readable GoogleTest parameter names made from a case's own text, so test
// lists and failures name the case ("Poly_2_and_not_Poly_5", "minus0point5")
// instead of a number or a dump of its bytes.
#include <cctype>
#include <string>
#include <string_view>

namespace qv::test {

// Letters and digits as they stand; the marks of a number spelt out
// ("-5" -> "minus5", "2.5" -> "2point5", "2,5" -> "2comma5"); any other
// character "_" ("Poly-2" -> "Poly_2"); "empty" for an empty text.
inline std::string TestNameOf(std::string_view text) {
    if (text.empty()) return "empty";
    auto digit = [&](size_t i) { return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); };
    auto alnum = [&](size_t i) { return i < text.size() && std::isalnum(static_cast<unsigned char>(text[i])); };
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (alnum(i))
            out += c;
        else if (c == '-' && digit(i + 1) && (i == 0 || !alnum(i - 1)))
            out += "minus";
        else if (c == '.' && digit(i + 1) && (i == 0 || digit(i - 1)))
            out += "point";
        else if (c == ',' && digit(i + 1) && i > 0 && digit(i - 1))
            out += "comma";
        else
            out += '_';
    }
    return out;
}

// A name generator for INSTANTIATE_TEST_SUITE_P: the text `nameOf` gives for the case.
template <typename NameOf>
auto NamedBy(NameOf nameOf) {
    return [nameOf](const auto& info) { return TestNameOf(nameOf(info.param)); };
}

}  // namespace qv::test
