#include "core/GateKinds.h"

namespace qv {

std::string DefaultGateName(std::string_view type, int slot) {
    for (const GateKind& kind : GateKinds)
        if (kind.type == type) return std::string(kind.namePrefix) + std::to_string(slot);
    return {};
}

}  // namespace qv
