#pragma once
// The answer of the "Set limit" input boxes (fast draw limit, max events).
#include <QString>

#include <cstdint>
#include <optional>

namespace qv {

// The new limit: the integer part (Int) of the number typed, taken only when
// it is at least 1 and fits a 32-bit limit. Digits in groups of three split
// by "," or by blanks ("100,000", "1,000,000", "50 000") are one whole
// number; otherwise a single "," is a decimal point ("12,5" gives 12). Cancel (nullopt), an empty text,
// a text that is no number, or a number below 1 (0.5 included: a limit of 0
// would divide by zero later) give nullopt: the limit stays as it was.
std::optional<int32_t> limitFromAnswer(const std::optional<QString>& answer);

}  // namespace qv
