#pragma once
// Number conversions with fixed meanings, used everywhere numbers are rounded,
// read from text or written as text. Text always uses "." as decimal point
// and no thousands separator, whatever the system locale.
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Rounds toward minus infinity: Int(-1.5) == -2.
double Int(double x);
// Rounds toward zero: Fix(-1.5) == -1.
double Fix(double x);

// Round half to even to a whole number, without a range check: 2.5 -> 2,
// 3.5 -> 4, -2.5 -> -2. NaN and infinities come back as they are.
double RoundHalfEven(double x);

// Round half to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). A result outside the
// 16-bit (CInt) or 32-bit (CLng) range, or a NaN, throws std::overflow_error.
int16_t CInt(double x);
int32_t CLng(double x);

// The leading number of a text with "." as decimal point: optional blanks,
// an optional sign, digits with an optional "." and fraction, an optional
// exponent ("E" or "e", optional sign, digits). Reading stops at the first
// character that does not fit; 0 when no digit is found. A number beyond the
// range of a double also gives 0.
double Val(std::string_view text);

// Round half to even as CLng, but a result beyond the 32-bit range is held
// at its end and a NaN gives 0: for positions and sizes that a drag or a
// scale may push anywhere, where no error is wanted.
int32_t NearestInt32(double x);

// Length of the unsigned number at the start of text ("12", "1.5", ".5",
// "2E-3", "." as decimal point); 0 when the text starts with no number.
size_t LeadingNumberLength(std::string_view text);

// Reads a number typed by the user or stored in a sheet or table: blanks
// (spaces, tabs, line ends) around it are allowed, the decimal point is "."
// or a single ",", an exponent is allowed. Anything else in the text (a
// second separator, letters, an empty text) gives no value. Infinite and
// NaN results give no value either.
std::optional<double> ParseNumber(std::string_view text);
// The same, also telling which decimal point the text used: '.', ',' or 0
// when it had none (an exponent alone uses none).
std::optional<double> ParseNumber(std::string_view text, char& decimalPoint);

// The plain decimal at the start of a text, as most cells of a data table
// hold it: an optional sign, then digits with at most one "." or "," among
// or after them, 15 digits at most. Returns its length, with its value (the
// one ParseNumber gives for the same text) and its decimal point ('.', ','
// or 0); returns 0 when the text starts with no such number or a longer run
// of digits, and the caller reads it with ParseNumber instead. Reading stops
// at the first character that does not fit, which the caller checks.
size_t ReadPlainDecimal(std::string_view text, double& value, char& decimalPoint);

// Number to text: a double with up to 15 significant digits, a 32-bit float
// with up to 7; no trailing zeros, no trailing ".", the leading "0" of a
// fraction kept ("0.5", "-0.25", "12"), "-0" written "0". Very large or
// very small magnitudes use an exponent ("1E+20", "1E-05"), which Val and
// ParseNumber read back.
std::string NumberText(double v);
std::string NumberText(float v);
// NumberText(v) written at `out`, which has room for FloatTextRoom
// characters; returns the end of the text. For long texts built number by
// number.
inline constexpr size_t FloatTextRoom = 32;
char* WriteNumberText(char* out, float v);
template <std::integral T>
std::string NumberText(T v) { return std::to_string(v); }

// Where a statistic's value comes from, and so how much binary error it may
// carry: double arithmetic on exact inputs (counts and their shares), or
// 32-bit event values, each stored to about 7 significant digits (4.35 is
// stored as 4.3499999...).
enum class StatisticSource { DoubleArithmetic, FloatEvents };

// A statistic cut (never rounded) toward minus infinity to two decimals:
// floor(value * 100) / 100, or with asPercent floor(value * 10000) / 100.
// A product that lies within binary rounding error of a whole number counts
// as that number, so 0.57 as a percentage is 57, not 56.99; for a value made
// from 32-bit event values the storage error of those values counts too, so
// a single event of 4.35 shows 4.35, not 4.34. Either allowance stays a
// small fraction of the last shown digit at any magnitude: 113676.4966 is
// 113676.49, never 113676.5.
double TruncateTwoDecimals(double value, bool asPercent,
                           StatisticSource source = StatisticSource::DoubleArithmetic);

}  // namespace qv
