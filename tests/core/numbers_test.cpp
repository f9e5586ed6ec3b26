#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <iomanip>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Numbers.h"

namespace qv {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST(Numbers, IntGoesDownAndFixGoesTowardZero) {
    struct Case { double x, intResult, fixResult; };
    const Case cases[] = {
        {1.5, 1, 1},     {-1.5, -2, -1}, {2.0, 2, 2},       {-2.0, -2, -2},
        {-0.1, -1, 0},   {0.9, 0, 0},    {-2.000001, -3, -2}, {123456789.75, 123456789, 123456789},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(Int(c.x), c.intResult);
        EXPECT_EQ(Fix(c.x), c.fixResult);
    }
}

TEST(Numbers, CIntAndCLngRoundHalfToEven) {
    struct Case { double x; int32_t expected; };
    const Case cases[] = {
        {2.5, 2},    {3.5, 4},    {-2.5, -2},  {-3.5, -4},  {0.5, 0},     {1.5, 2},
        {-0.5, 0},   {2.49999, 2}, {2.500001, 3}, {-2.500001, -3}, {7.0, 7}, {0.0, 0},
        {32767.4, 32767}, {-32768.5, -32768},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(CInt(c.x), c.expected);
        EXPECT_EQ(CLng(c.x), c.expected);
    }
    EXPECT_EQ(CLng(2147483647.4), 2147483647);
    EXPECT_EQ(CLng(-2147483648.5), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(CLng(100000.5), 100000);
}

TEST(Numbers, CIntAndCLngRefuseValuesOutsideTheirRange) {
    for (double x : {32767.5, 32768.0, -32768.6, -32769.0, 1e10, kNaN, kInf, -kInf}) {
        SCOPED_TRACE(x);
        EXPECT_THROW(CInt(x), std::overflow_error);
    }
    for (double x : {2147483647.5, 2147483648.0, -2147483648.6, -1e12, kNaN, kInf}) {
        SCOPED_TRACE(x);
        EXPECT_THROW(CLng(x), std::overflow_error);
    }
}

TEST(Numbers, ValReadsTheLeadingNumber) {
    struct Case { const char* text; double expected; };
    const Case cases[] = {
        {"12", 12},         {"  12.5abc", 12.5}, {"-0.25", -0.25}, {"+3", 3},
        {".5", 0.5},        {"5.", 5},           {"1e3", 1000},    {"1E-2x", 0.01},
        {"2.5E+2", 250},    {"1e", 1},           {"1e+", 1},       {"7e-", 7},
        {"abc", 0},         {"", 0},             {"-", 0},         {".", 0},
        {"-.", 0},          {"1,5", 1},          {"1.2.3", 1.2},   {" \t7", 7},
        {"--1", 0},         {"- 1", 0},          {"x12", 0},       {"0012", 12},
        {"1e400", 0},       {"1e-400", 0},       {"-1e-400", 0},   {"262144", 262144},
        {"3\t4", 3},        {"-12.75 15", -12.75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(Val(c.text), c.expected);
    }
}

TEST(Numbers, ParseNumberAcceptsPointOrOneCommaWithBlanksAround) {
    struct Case { const char* text; double expected; char point = 0; };
    const std::string longComma = "1," + std::string(80, '5');
    const Case cases[] = {
        {"12", 12},        {"1.5", 1.5, '.'},      {"1,5", 1.5, ','},       {"  -0,25 ", -0.25, ','},
        {"\t3.75\r\n", 3.75, '.'}, {"+4", 4},      {".5", 0.5, '.'},        {",5", 0.5, ','},
        {"5.", 5, '.'},         {"5,", 5, ','},         {"1E+20", 1e20},    {"1e-05", 1e-5},
        {"2,5E3", 2500, ','},   {"-0", 0},         {"1e-400", 0},      {"262144", 262144},
        {longComma.c_str(), 1.5555555555555556, ','},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<double> v = ParseNumber(c.text);
        ASSERT_TRUE(v.has_value());
        EXPECT_DOUBLE_EQ(*v, c.expected);
        char point = 'x';
        EXPECT_EQ(ParseNumber(c.text, point), v);
        EXPECT_EQ(point, c.point) << "the decimal point the text used";
    }
}

// Plain decimals take a short path of their own; it must give the double a
// full conversion of the same text gives, to the bit, and stop where the
// plain number ends.
TEST(Numbers, PlainDecimalsReadExactlyAsAFullConversion) {
    std::mt19937 rng(11);
    auto full = [](std::string text) {
        std::replace(text.begin(), text.end(), ',', '.');
        const bool negative = text[0] == '-';
        if (text[0] == '-' || text[0] == '+') text.erase(0, 1);
        double v = 0.0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        EXPECT_EQ(ec, std::errc());
        EXPECT_EQ(end, text.data() + text.size());
        return negative ? -v : v;
    };
    for (int k = 0; k < 200000; ++k) {
        const int digits = 1 + static_cast<int>(rng() % 18);
        std::string text = rng() % 3 == 0 ? "-" : rng() % 5 == 0 ? "+" : "";
        const int pointAt = static_cast<int>(rng() % (digits + 2)) - 1;  // -1: none
        const char point = rng() % 2 ? '.' : ',';
        for (int d = 0; d < digits; ++d) {
            if (d == pointAt) text += point;
            text += static_cast<char>('0' + rng() % 10);
        }
        if (pointAt == digits) text += point;
        SCOPED_TRACE(text);
        double plain = 0.0;
        char used = 'x';
        const size_t n = ReadPlainDecimal(text, plain, used);
        if (digits > 15) {
            EXPECT_EQ(n, 0u) << "a long run of digits is left to the full conversion";
        } else {
            ASSERT_EQ(n, text.size());
            EXPECT_EQ(std::bit_cast<uint64_t>(plain), std::bit_cast<uint64_t>(full(text)));
            EXPECT_EQ(used, pointAt >= 0 ? point : 0);
        }
        char parsedPoint = 'x';
        const std::optional<double> parsed = ParseNumber(text, parsedPoint);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(std::bit_cast<uint64_t>(*parsed), std::bit_cast<uint64_t>(full(text)));
        EXPECT_EQ(parsedPoint, pointAt >= 0 ? point : 0);
    }
    struct Case { const char* text; size_t length; };
    for (const Case c : {Case{"12\tx", 2}, {"1.5.3", 3}, {"-0,25E3", 5}, {" 1", 0}, {"-", 0}, {".", 0},
                         {"+.5", 3}, {"5,\r", 2}, {"", 0}, {"abc", 0}}) {
        SCOPED_TRACE(c.text);
        double v = 0.0;
        char used = 0;
        EXPECT_EQ(ReadPlainDecimal(c.text, v, used), c.length);
    }
    double zero = 1.0;
    char used = 0;
    ASSERT_EQ(ReadPlainDecimal("-0", zero, used), 2u);
    EXPECT_TRUE(std::signbit(zero));
}

TEST(Numbers, ParseNumberRefusesAnythingElse) {
    for (const char* text : {"", "   ", "abc", "1.2.3", "1,2,3", "1.2,3", "1,000.5", "12abc",
                             "1 2", "--1", "+-1", "-", ".", ",", "- 1", "1e", "1e+", "e5",
                             "1e400", "inf", "nan", "0x10", "1_000"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseNumber(text).has_value());
    }
}

// Float text is written on a fast path of its own (a table of a million
// events puts ten million numbers on the clipboard); it must agree with the
// standard library's general format to the last character, ties and decade
// edges included.
TEST(Numbers, FloatTextAgreesWithTheStandardGeneralFormat) {
    auto reference = [](float v) {
        if (v == 0.0f) return std::string("0");
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 7);
        std::string s(buf, r.ptr);
        for (char& c : s)
            if (c == 'e') c = 'E';
        return s;
    };
    std::vector<float> values = {
        1.0f,        9.9999995f,  9.999999f,   99999995.0f, 1e7f,       9999999.0f, 8388609.0f,
        16777216.0f, 1048576.5f,  0.0001f,     0.00001f,    123456789.0f, 1.5e-7f,  -2.5e-5f,
        1e-20f,      1e-30f,      1e-40f,      3.4028235e38f, 1.17549435e-38f, 0.99999997f,
        -1048576.5f, 2.5f,        -0.35f,      4.35f,        100000.0f,  1234567.5f, 1234568.5f,
    };
    // Every float on a sweep of exponents, and random bit patterns.
    for (uint32_t bits = 0x00800000u; bits < 0x7F800000u; bits += 0x00012345u) values.push_back(std::bit_cast<float>(bits));
    std::mt19937 rng(11);
    for (int k = 0; k < 200000; ++k) {
        const float v = std::bit_cast<float>(static_cast<uint32_t>(rng()));
        if (std::isfinite(v)) values.push_back(v);
    }
    // Halfway cases: whole numbers and halves beyond seven digits.
    for (int k = 0; k < 20000; ++k) values.push_back(static_cast<float>(1000000 + k * 397) * 8.0f + 4.0f);
    for (float v : values) {
        SCOPED_TRACE(testing::Message() << std::hexfloat << v);
        ASSERT_EQ(NumberText(v), reference(v));
        char written[FloatTextRoom];
        ASSERT_EQ(std::string(written, WriteNumberText(written, v)), reference(v));
    }
}

TEST(Numbers, DoubleTextKeepsFifteenDigitsWithoutTrailingZeros) {
    struct Case { double v; const char* expected; };
    const Case cases[] = {
        {0.5, "0.5"},          {-0.25, "-0.25"},       {12.0, "12"},
        {100.0, "100"},        {1234.5, "1234.5"},     {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},              {-2.0 / 3.0, "-0.666666666666667"},
        {123456789012345.0, "123456789012345"},        {1e20, "1E+20"},
        {1e-5, "1E-05"},       {0.0001, "0.0001"},     {0.0, "0"},
        {-0.0, "0"},           {262144.0, "262144"},   {-1.24, "-1.24"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(NumberText(c.v), c.expected);
    }
}

TEST(Numbers, FloatTextKeepsSevenDigits) {
    struct Case { float v; const char* expected; };
    const Case cases[] = {
        {0.1f, "0.1"},          {0.5f, "0.5"},           {-0.25f, "-0.25"},
        {12.0f, "12"},          {1.0f / 3.0f, "0.3333333"}, {262144.0f, "262144"},
        {992.0f, "992"},        {1.5e-7f, "1.5E-07"},    {16777216.0f, "1.677722E+07"},
        {0.15f, "0.15"},        {-0.0f, "0"},            {1234567.0f, "1234567"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(NumberText(c.v), c.expected);
    }
}

TEST(Numbers, IntegerTextHasNoPoint) {
    EXPECT_EQ(NumberText(12), "12");
    EXPECT_EQ(NumberText(int16_t{-7}), "-7");
    EXPECT_EQ(NumberText(int64_t{10000000000}), "10000000000");
}

TEST(Numbers, TextWrittenReadsBackEverywhere) {
    for (double v : {0.5, -0.25, 1.0 / 3.0, 1e20, -1e-5, 262144.0, 12345.678, -98765.4321}) {
        SCOPED_TRACE(v);
        const std::string text = NumberText(v);
        const std::optional<double> parsed = ParseNumber(text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_NEAR(*parsed, v, std::fabs(v) * 1e-14);
        EXPECT_NEAR(Val(text), v, std::fabs(v) * 1e-14);
    }
}

// The number text must not follow the process locale, which Qt sets from the
// environment at start-up.
TEST(Numbers, TextIgnoresACommaLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const char* found = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fi_FI.UTF-8", "de_DE"}) {
        if (std::setlocale(LC_ALL, name)) { found = name; break; }
    }
    if (!found) GTEST_SKIP() << "no locale with a decimal comma is installed";
    const std::string text = NumberText(1.5);
    const double val = Val("2.5");
    const std::optional<double> parsed = ParseNumber("3.25");
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(text, "1.5");
    EXPECT_DOUBLE_EQ(val, 2.5);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_DOUBLE_EQ(*parsed, 3.25);
}

TEST(Numbers, TruncateTwoDecimalsCutsDownward) {
    struct Case { double value; bool asPercent; double expected; };
    const Case cases[] = {
        {12.349, false, 12.34},  {0.12349, true, 12.34},  {-1.234, false, -1.24},
        {0.57, true, 57.0},      {-0.57, true, -57.0},    {1.13, false, 1.13},
        {0.29, true, 29.0},      {0.0, false, 0.0},       {-0.001, false, -0.01},
        {0.005, false, 0.0},     {0.999999, true, 99.99}, {1.0, true, 100.0},
        {-12.3456, true, -1234.56}, {1234567.891, false, 1234567.89},
        // Large means just below a hundredth are cut, never rounded up.
        {5000.009999, false, 5000.0}, {100000.00999, false, 100000.0},
        {123456.789995, false, 123456.78},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << (c.asPercent ? " %" : ""));
        EXPECT_DOUBLE_EQ(TruncateTwoDecimals(c.value, c.asPercent), c.expected);
    }
}

// Means of 32-bit event values carry the values' own storage error (4.35 is
// stored as 4.3499999046): that much is absorbed, double arithmetic stays cut.
TEST(Numbers, TruncateTwoDecimalsOfFloatEventsShowsTypedValues) {
    struct Case { double value; StatisticSource source; double expected; };
    const auto F = StatisticSource::FloatEvents;
    const auto D = StatisticSource::DoubleArithmetic;
    const Case cases[] = {
        {4.35f, F, 4.35},   {0.29f, F, 0.29},    {1.15f, F, 1.15},    {-1.15f, F, -1.15},
        {12.349f, F, 12.34}, {0.005f, F, 0.0},   {1023.99f, F, 1023.99}, {-4.351f, F, -4.36},
        // The mean of three stored values, summed in double as the statistics do.
        {(static_cast<double>(4.35f) + 4.35f + 4.35f) / 3.0, F, 4.35},
        // Values made in double arithmetic (shares of counts) keep the tight
        // margin: just below a hundredth is cut.
        {4.3499996, D, 4.34}, {0.2899999, D, 0.28},
        {5000.009999, D, 5000.0}, {123456.789995, D, 123456.78},
        // Where a float's step nears a hundredth its storage error is no
        // reason to round up: large means from floats are cut, both signs.
        {113676.4966, F, 113676.49}, {64038.1677, F, 64038.16},
        {200000.015625f, F, 200000.01}, {50000.0078125f, F, 50000.0},
        {-200000.015625f, F, -200000.02}, {-50000.0078125f, F, -50000.01},
        {-113676.4966, F, -113676.5}, {262143.99f, F, 262143.98},
        // A modeller's geometric mean over whole channels, in double.
        {39720.8364, D, 39720.83},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::setprecision(17) << c.value
                                        << (c.source == F ? " from floats" : " in double"));
        EXPECT_DOUBLE_EQ(TruncateTwoDecimals(c.value, false, c.source), c.expected);
    }
}

// The allowance for binary error is a sliver of the last shown digit at any
// magnitude: a value a hundredth of that digit below the next hundredth is
// cut, from floats or from double arithmetic, plain or as a percentage.
TEST(Numbers, TruncateTwoDecimalsNeverRoundsUpAHundredthOfTheLastDigit) {
    for (const StatisticSource source : {StatisticSource::FloatEvents, StatisticSource::DoubleArithmetic}) {
        for (const bool asPercent : {false, true}) {
            const double scale = asPercent ? 10000.0 : 100.0;
            for (double next = 1.0; next <= 1e13; next *= 7.0) {
                for (const double sign : {1.0, -1.0}) {
                    const double value = sign * (next - 0.01) / scale;
                    const double expected = (sign > 0 ? next - 1.0 : -next) / 100.0;
                    ASSERT_DOUBLE_EQ(TruncateTwoDecimals(value, asPercent, source), expected)
                        << std::setprecision(17) << value << (asPercent ? " %" : "")
                        << (source == StatisticSource::FloatEvents ? " from floats" : " in double");
                }
            }
        }
    }
}

// Every two-decimal value below 1024, held as a 32-bit float and shown
// alone, reads as it was typed.
TEST(Numbers, TruncateTwoDecimalsShowsEveryTypedFloatBelow1024) {
    for (int32_t k = -102399; k <= 102399; ++k) {
        const float stored = static_cast<float>(k / 100.0);
        ASSERT_DOUBLE_EQ(TruncateTwoDecimals(stored, false, StatisticSource::FloatEvents), k / 100.0)
            << std::setprecision(9) << stored;
    }
}

// Every share k of n events as a percentage: the exact answer is
// floor(k * 10000 / n) / 100 in whole-number arithmetic.
TEST(Numbers, TruncateTwoDecimalsGivesExactPercentagesOfCounts) {
    for (int n = 1; n <= 300; ++n) {
        for (int k = 0; k <= n; ++k) {
            const long long hundredths = (static_cast<long long>(k) * 10000) / n;
            const double got = TruncateTwoDecimals(static_cast<double>(k) / n, true);
            ASSERT_DOUBLE_EQ(got, hundredths / 100.0) << k << " of " << n;
        }
    }
}

TEST(Numbers, NearestInt32RoundsHalvesToEvenAndHoldsAtTheRangeEnds) {
    struct Case { double value; int32_t expected; };
    const Case cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-0.4, 0}, {65.0 / 6.5, 10}, {1950.4999, 1950},
        {3.0e9, 2147483647}, {-3.0e9, -2147483647 - 1}, {std::numeric_limits<double>::infinity(), 2147483647}, {std::nan(""), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(NearestInt32(c.value), c.expected) << c.value;
}

}  // namespace
}  // namespace qv
