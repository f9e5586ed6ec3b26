#include "app/model/LimitInput.h"

#include <limits>
#include <string>
#include <string_view>

#include "core/Numbers.h"

namespace qv {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A whole number written with its digits in groups of three, split by ","
// or by blanks, one kind throughout: "100,000", "1,000,000", "50 000". The
// groups' digits without the separators; nullopt for any other text.
std::optional<std::string> groupedDigits(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string digits;
    size_t i = 0;
    while (i < text.size() && isDigit(text[i]) && i < 3) digits += text[i++];
    if (digits.empty()) return std::nullopt;
    char separator = 0;
    int groups = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != ',' && c != ' ') return std::nullopt;
        if (separator != 0 && c != separator) return std::nullopt;
        separator = c;
        ++i;
        for (int k = 0; k < 3; ++k, ++i) {
            if (i >= text.size() || !isDigit(text[i])) return std::nullopt;
            digits += text[i];
        }
        ++groups;
    }
    if (groups == 0) return std::nullopt;
    return digits;
}

}  // namespace

std::optional<int32_t> limitFromAnswer(const std::optional<QString>& answer) {
    if (!answer) return std::nullopt;
    const QByteArray bytes = answer->toLatin1();
    const std::string_view text(bytes.constData(), static_cast<size_t>(bytes.size()));
    // A limit is a count of events: "100,000" is read as a hundred thousand,
    // not as 100 with a decimal comma, which would quietly cap every file.
    const std::optional<std::string> grouped = groupedDigits(text);
    const std::optional<double> value = grouped ? ParseNumber(*grouped) : ParseNumber(text);
    if (!value) return std::nullopt;
    const double whole = Int(*value);
    if (whole < 1.0 || whole > static_cast<double>(std::numeric_limits<int32_t>::max())) return std::nullopt;
    return static_cast<int32_t>(whole);
}

}  // namespace qv
