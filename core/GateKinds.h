#pragma once
// The kinds of gate a window can draw, and the name each gives a population
// row it is first drawn into: the kind's prefix followed by the row number
// ("Poly-3", "Histo-3", "Bending-3", "DAD-3").
#include <array>
#include <string>
#include <string_view>

namespace qv {

struct GateKind {
    std::string_view type;        // PopulationRecord::Type of such a gate
    std::string_view namePrefix;  // the default name without the row number
};

inline constexpr std::array<GateKind, 4> GateKinds{{
    {"Polygon", "Poly-"},
    {"Histogram", "Histo-"},
    {"BendPlot", "Bending-"},
    {"DAD", "DAD-"},
}};

// The name a gate of `type` gives row `slot`; empty for a type that is no
// gate kind.
std::string DefaultGateName(std::string_view type, int slot);

}  // namespace qv
