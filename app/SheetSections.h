#pragma once
// How the service windows that keep settings in the analysis sheet (the
// print page behind "printview.", the file information window behind
// "fileinfo.") plug into the sheet writer and reader. Each registers its
// members once; until one does, its block is empty and its lines are
// ignored. Whether the window is shown is the sheet's own "visible" line,
// kept with the window's menu item.
#include <functional>
#include <string>
#include <vector>

namespace qv {

enum class SheetSectionKind { PrintView, FileInfo };

struct SheetSection {
    // Element 0 the number of lines, then "key:value" lines (SaveInfo).
    std::function<std::vector<std::string>()> saveInfo;
    // One sheet line, the section word included (LoadInfo).
    std::function<void(const std::string& line)> loadInfo;
    // Runs once the sheet has loaded and every window has drawn, while the
    // window is shown (the file information window takes its file then).
    std::function<void()> afterLoad;
};

// Registers the members of a section; an empty SheetSection unregisters.
void setSheetSection(SheetSectionKind kind, SheetSection section);
const SheetSection& sheetSection(SheetSectionKind kind);

}  // namespace qv
