#pragma once
// The name of a parameter that came without one: an empty header cell of a
// text table, an FCS file without its $PnN, an empty name line in a sheet.
// Such a parameter is called "P" and its number, so that every list, axis
// and saved file names it the same way (an FCS keyword may not be empty).
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// "P2" for parameter 2.
std::string DefaultParameterName(int32_t number);

// `name` itself, or the default name of parameter `number` when it is empty.
std::string ParameterNameOrDefault(std::string_view name, int32_t number);

}  // namespace qv
