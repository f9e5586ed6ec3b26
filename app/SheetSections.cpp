#include "app/SheetSections.h"

#include <array>

namespace qv {

namespace {

std::array<SheetSection, 2>& sections() {
    static std::array<SheetSection, 2> table;
    return table;
}

}  // namespace

void setSheetSection(SheetSectionKind kind, SheetSection section) {
    sections()[static_cast<size_t>(kind)] = std::move(section);
}

const SheetSection& sheetSection(SheetSectionKind kind) { return sections()[static_cast<size_t>(kind)]; }

}  // namespace qv
