#include "core/Numbers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
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

// The seven significant digits of a positive float, as the general format
// rounds them (to nearest, ties to even), found in whole-number arithmetic
// on the float's exact value m * 2^q: digits (10^6 <= digits < 10^7) and
// the decimal exponent of the first. False for magnitudes the 128-bit
// arithmetic does not cover (below about 1e-25, and subnormals).
bool sevenDigits(float v, uint32_t& digits, int& exponent) {
    using U128 = unsigned __int128;
    const auto bits = std::bit_cast<uint32_t>(v);
    const int biased = static_cast<int>((bits >> 23) & 0xFF);
    if (biased == 0 || biased == 0xFF) return false;
    const uint64_t m = (bits & 0x7FFFFFu) | 0x800000u;
    const int q = biased - 150;  // v = m * 2^q
    if (q < -110) return false;
    static constexpr auto powers = [] {
        std::array<U128, 39> p{};
        p[0] = 1;
        for (size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
        return p;
    }();
    auto pow10 = [](int n) { return powers[static_cast<size_t>(n)]; };
    // digits = round(v * 10^(6 - e)) for the decimal exponent e of v.
    auto scaled = [&](int e, uint64_t& out) {
        U128 quotient, remainder, half;
        if (6 - e > 31 || e - 6 > 38) return false;  // m * 10^31 < 2^128
        if (6 - e >= 0) {
            const U128 x = static_cast<U128>(m) * pow10(6 - e);
            if (q >= 0) {
                quotient = x << q;
                remainder = 0;
                half = 1;
            } else {
                quotient = x >> -q;
                remainder = x & ((static_cast<U128>(1) << -q) - 1);
                half = static_cast<U128>(1) << (-q - 1);
            }
        } else {  // q >= 0: v is a whole number of 8 digits or more
            const U128 x = static_cast<U128>(m) << q;
            const U128 d = pow10(e - 6);
            quotient = x / d;
            remainder = x % d;
            half = d / 2;  // d is even: a tie is exact
        }
        // To nearest, a tie to the even neighbour.
        const bool up = remainder > half || (remainder == half && remainder != 0 && (quotient & 1) != 0);
        out = static_cast<uint64_t>(quotient + (up ? 1 : 0));
        return true;
    };
    // The decimal exponent from the binary one, then corrected by one.
    const int binary = q + 23;  // 2^binary <= v < 2^(binary + 1)
    int e = binary >= 0 ? (binary * 78913) >> 18 : -((-binary * 78913 + (1 << 18) - 1) >> 18);
    uint64_t n = 0;
    if (!scaled(e, n)) return false;
    if (n < 1000000) {
        --e;
        if (!scaled(e, n)) return false;
    } else if (n > 10000000) {
        ++e;
        if (!scaled(e, n)) return false;
    }
    if (n == 10000000) {  // rounded up into the next decade
        n = 1000000;
        ++e;
    }
    if (n < 1000000 || n >= 10000000) return false;
    digits = static_cast<uint32_t>(n);
    exponent = e;
    return true;
}

// A float in the general format with seven significant digits, as
// std::to_chars gives it, written without its slower general path.
char* formatFloat(char* buf, float v) {
    uint32_t digits = 0;
    int e = 0;
    if (!(v != 0.0f) || !std::isfinite(v) || !sevenDigits(std::fabs(v), digits, e)) return nullptr;
    char* out = buf;
    if (v < 0) *out++ = '-';
    char d[7];
    int length = 7;
    for (int i = 6; i >= 0; --i) {
        d[i] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    while (length > 1 && d[length - 1] == '0') --length;
    if (e < -4 || e >= 7) {
        *out++ = d[0];
        if (length > 1) {
            *out++ = '.';
            out = std::copy(d + 1, d + length, out);
        }
        *out++ = 'E';
        *out++ = e < 0 ? '-' : '+';
        const int a = e < 0 ? -e : e;
        if (a >= 10) *out++ = static_cast<char>('0' + a / 10);
        else *out++ = '0';
        *out++ = static_cast<char>('0' + a % 10);
    } else if (e >= 0) {
        for (int i = 0; i <= e; ++i) *out++ = i < length ? d[i] : '0';
        if (length > e + 1) {
            *out++ = '.';
            out = std::copy(d + e + 1, d + length, out);
        }
    } else {
        *out++ = '0';
        *out++ = '.';
        for (int i = 0; i < -e - 1; ++i) *out++ = '0';
        out = std::copy(d, d + length, out);
    }
    return out;
}

// Writes v into buf (room for FloatTextRoom characters) and returns the end of the text.
char* formatGeneral(char* buf, double v, int precision, bool asFloat) {
    if (asFloat && precision == 7)
        if (char* end = formatFloat(buf, static_cast<float>(v))) return end;
    auto put = [&](std::string_view text) { return std::copy(text.begin(), text.end(), buf); };
    if (v == 0.0) return put("0");  // also "-0"
    if (std::isnan(v)) return put("NaN");
    if (std::isinf(v)) return put(v < 0 ? "-Inf" : "Inf");
    const std::to_chars_result r = asFloat
        ? std::to_chars(buf, buf + FloatTextRoom, static_cast<float>(v), std::chars_format::general, precision)
        : std::to_chars(buf, buf + FloatTextRoom, v, std::chars_format::general, precision);
    std::replace(buf, r.ptr, 'e', 'E');
    return r.ptr;
}

std::string formatGeneral(double v, int precision, bool asFloat) {
    char buf[32];
    return std::string(buf, formatGeneral(buf, v, precision, asFloat));
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

size_t ReadPlainDecimal(std::string_view text, double& value, char& decimalPoint) {
    // Up to 15 digits the digits form a whole number below 2^53, and the
    // fraction has at most 15 digits, so both the number and 10^fraction are
    // exact doubles and one division rounds their quotient correctly: the
    // same double a full conversion of the text gives.
    static constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    constexpr int MaxDigits = 15;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+')) ++p;
    uint64_t whole = 0;
    int digits = 0, fraction = 0;
    char point = 0;
    for (; p != end; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            if (++digits > MaxDigits) return 0;
            whole = whole * 10 + static_cast<uint64_t>(c - '0');
            fraction += point != 0;
        } else if ((c == '.' || c == ',') && point == 0) {
            point = c;
        } else {
            break;
        }
    }
    if (digits == 0) return 0;
    const double magnitude = static_cast<double>(whole) / powersOfTen[fraction];
    value = negative ? -magnitude : magnitude;
    decimalPoint = point;
    return static_cast<size_t>(p - begin);
}

std::optional<double> ParseNumber(std::string_view text, char& decimalPoint) {
    decimalPoint = 0;
    double plain = 0.0;
    if (const size_t n = ReadPlainDecimal(text, plain, decimalPoint); n != 0 && n == text.size()) return plain;
    decimalPoint = 0;
    size_t b = 0, e = text.size();
    while (b < e && isBlank(text[b])) ++b;
    while (e > b && isBlank(text[e - 1])) --e;
    std::string_view body = text.substr(b, e - b);
    if (body.empty()) return std::nullopt;

    bool negative = false;
    if (body[0] == '+' || body[0] == '-') {
        negative = body[0] == '-';
        body.remove_prefix(1);
    }
    // One decimal separator at most, "." or ",". A "," is read as "." in a
    // copy; cells of a large table are short, so the copy stays on the stack.
    size_t separatorAt = std::string_view::npos;
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] != ',' && body[i] != '.') continue;
        if (separatorAt != std::string_view::npos) return std::nullopt;
        separatorAt = i;
    }
    std::string longCopy;
    char shortCopy[64];
    std::string_view number = body;
    if (separatorAt != std::string_view::npos) {
        decimalPoint = body[separatorAt];
        if (decimalPoint == ',') {
            char* copy = shortCopy;
            if (body.size() > sizeof shortCopy) {
                longCopy.assign(body);
                copy = longCopy.data();
            } else {
                std::copy(body.begin(), body.end(), shortCopy);
            }
            copy[separatorAt] = '.';
            number = std::string_view(copy, body.size());
        }
    }

    bool digits = false;
    const size_t n = scanUnsigned(number, '.', digits);
    if (n == 0 || n != number.size()) return std::nullopt;
    const std::optional<double> v = convert(number);
    if (!v) return std::nullopt;
    return negative ? -*v : *v;
}

std::optional<double> ParseNumber(std::string_view text) {
    char decimalPoint = 0;
    return ParseNumber(text, decimalPoint);
}

std::string NumberText(double v) { return formatGeneral(v, 15, false); }

std::string NumberText(float v) { return formatGeneral(v, 7, true); }

char* WriteNumberText(char* out, float v) { return formatGeneral(out, v, 7, true); }

double TruncateTwoDecimals(double value, bool asPercent, StatisticSource source) {
    const double scaled = value * (asPercent ? 10000.0 : 100.0);
    const double nearest = std::round(scaled);
    // Products of decimal fractions carry binary error of a few units in the
    // last place (57 of 100 events scales to 5699.999...); a whole number that
    // close is taken as meant.
    double relative = 1e-12;
    // A 32-bit value is stored within half a unit in its last place (a
    // relative 2^-24) of the number typed, and a mean of such values keeps
    // that error: twice that is absorbed, so 4.35 (stored as 4.3499999)
    // shows as typed.
    if (source == StatisticSource::FloatEvents) relative = std::ldexp(1.0, -23);
    // Either allowance is held at 1/256 of the last shown digit, so a value
    // is rounded up only when it lies within that sliver of the next
    // hundredth, at any magnitude. Every two-decimal float below 1024 still
    // shows as typed; above that a float's own step is coarse enough that
    // its storage error would otherwise swallow whole hundredths.
    constexpr double MarginCap = 1.0 / 256.0;
    const double margin = std::fmin(relative * std::fmax(1.0, std::fabs(scaled)), MarginCap);
    const double whole = std::fabs(scaled - nearest) <= margin ? nearest : std::floor(scaled);
    return whole / 100.0;
}

int32_t NearestInt32(double x) {
    if (std::isnan(x)) return 0;
    const double r = std::nearbyint(x);
    if (r >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    if (r <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

}  // namespace qv
