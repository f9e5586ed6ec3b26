#include "core/Numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <system_error>

namespace qv {

double Int(double x) { return std::floor(x); }

double Fix(double x) { return std::trunc(x); }

namespace {

// Half to even without depending on the floating-point rounding mode.
// x - floor(x) is exact for every double, so the comparison with 0.5 is too.
double roundHalfEven(double x) {
    const double down = std::floor(x);
    const double diff = x - down;
    if (diff < 0.5) return down;
    if (diff > 0.5) return down + 1.0;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

template <class T>
T roundChecked(double x, const char* what) {
    if (std::isnan(x)) throw std::overflow_error(std::string(what) + ": not a number");
    const double r = roundHalfEven(x);
    if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
        r > static_cast<double>(std::numeric_limits<T>::max()))
        throw std::overflow_error(std::string(what) + ": value out of range");
    return static_cast<T>(r);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Length of the number pattern at the start of s (no sign): digits, an
// optional point with digits, and an optional exponent. `digits` tells
// whether the mantissa had a digit at all.
size_t scanUnsigned(std::string_view s, char point, bool& digits) {
    size_t i = 0;
    digits = false;
    while (i < s.size() && isDigit(s[i])) { ++i; digits = true; }
    if (i < s.size() && s[i] == point) {
        ++i;
        while (i < s.size() && isDigit(s[i])) { ++i; digits = true; }
    }
    if (!digits) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j])) ++j;
            i = j;
        }
    }
    return i;
}

// Converts an unsigned number pattern that uses "." as point.
std::optional<double> convert(std::string_view s) {
    double v = 0.0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Underflow (a negative exponent) reads as zero; overflow is no number.
        const auto e = s.find_first_of("eE");
        if (e != std::string_view::npos && e + 1 < s.size() && s[e + 1] == '-') return 0.0;
        return std::nullopt;
    }
    if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::string formatGeneral(double v, int precision, bool asFloat) {
    if (v == 0.0) return "0";  // also "-0"
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v < 0 ? "-Inf" : "Inf";
    char buf[64];
    std::to_chars_result r = asFloat
        ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(v), std::chars_format::general, precision)
        : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, precision);
    std::string out(buf, r.ptr);
    for (char& c : out)
        if (c == 'e') c = 'E';
    return out;
}

}  // namespace

double RoundHalfEven(double x) { return std::isfinite(x) ? roundHalfEven(x) : x; }

int16_t CInt(double x) { return roundChecked<int16_t>(x, "CInt"); }

int32_t CLng(double x) { return roundChecked<int32_t>(x, "CLng"); }

size_t LeadingNumberLength(std::string_view text) {
    bool digits = false;
    return scanUnsigned(text, '.', digits);
}

double Val(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::string_view rest = text.substr(i);
    bool digits = false;
    const size_t n = scanUnsigned(rest, '.', digits);
    if (n == 0) return 0.0;
    const std::optional<double> v = convert(rest.substr(0, n));
    if (!v) return 0.0;
    return negative ? -*v : *v;
}

std::optional<double> ParseNumber(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && isBlank(text[b])) ++b;
    while (e > b && isBlank(text[e - 1])) --e;
    std::string body(text.substr(b, e - b));
    if (body.empty()) return std::nullopt;

    bool negative = false;
    size_t start = 0;
    if (body[0] == '+' || body[0] == '-') {
        negative = body[0] == '-';
        start = 1;
    }
    // One decimal separator at most, "." or ",".
    int separators = 0;
    for (char& c : body) {
        if (c == ',') { c = '.'; ++separators; }
        else if (c == '.') ++separators;
    }
    if (separators > 1) return std::nullopt;

    const std::string_view number = std::string_view(body).substr(start);
    bool digits = false;
    const size_t n = scanUnsigned(number, '.', digits);
    if (n == 0 || n != number.size()) return std::nullopt;
    const std::optional<double> v = convert(number);
    if (!v) return std::nullopt;
    return negative ? -*v : *v;
}

std::string NumberText(double v) { return formatGeneral(v, 15, false); }

std::string NumberText(float v) { return formatGeneral(v, 7, true); }

double TruncateTwoDecimals(double value, bool asPercent) {
    const double scaled = value * (asPercent ? 10000.0 : 100.0);
    const double nearest = std::round(scaled);
    // Products of decimal fractions carry binary error of a few units in the
    // last place (57 of 100 events scales to 5699.999...); a whole number that
    // close is taken as meant. The margin stays far below a hundredth even for
    // means in the hundreds of thousands, so nothing truly below a hundredth
    // is ever rounded up.
    const double margin = 1e-12 * std::fmax(1.0, std::fabs(scaled));
    const double whole = std::fabs(scaled - nearest) <= margin ? nearest : std::floor(scaled);
    return whole / 100.0;
}

}  // namespace qv
