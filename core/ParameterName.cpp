#include "core/ParameterName.h"

namespace qv {

std::string DefaultParameterName(int32_t number) { return "P" + std::to_string(number); }

std::string ParameterNameOrDefault(std::string_view name, int32_t number) {
    return name.empty() ? DefaultParameterName(number) : std::string(name);
}

}  // namespace qv
