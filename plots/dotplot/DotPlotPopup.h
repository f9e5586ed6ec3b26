#pragma once
// The dot plot's pop-up menu items and its two exports. The menu items are
// members of DotPlot (MenuValintaReaktio, rightButtonMenus, saveImage,
// saveData); this header holds what they share with other windows.
#include <QString>

#include <optional>

namespace qv {

// The save dialog of an export: asks for a file name with the given title
// and filter; when the file exists, asks "File already exists. Do you want
// to overwrite it?" (OK/Cancel, title "File already exists"). Nothing when
// the user cancelled either.
std::optional<QString> AskExportPath(const QString& title, const QString& filter);

}  // namespace qv
