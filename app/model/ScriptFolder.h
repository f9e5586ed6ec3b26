#pragma once
// The listing behind the Tools menu: the tool scripts of a folder, told by
// their extension ("qorscript" plain, "qorpack" and "qortool" packed, in any
// case), captioned with the file name up to its first ".", sorted by name
// without regard to case. Widget-free so the listing can be tested alone.
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace qv {

// The scripts folder inside a program folder ("/" at the end or not):
// the folder + "scripts/".
QString scriptsFolderIn(const QString& programFolder);

struct ScriptMenuEntry {
    QString Caption;   // the file name up to its first "."
    QString FileName;  // the whole file name, without folder
    bool Packed = false;  // "qorpack" and "qortool" must be unpacked before running
    bool operator==(const ScriptMenuEntry&) const = default;
};

// The kind of a file name: nullopt when it is no tool script. The extension
// is the text after the last "."; a name without "." has none.
std::optional<bool> scriptFileIsPacked(const QString& fileName);

// Every tool script of `folder` (files only; hidden entries and folders are
// left out). A missing or unreadable folder lists nothing.
std::vector<ScriptMenuEntry> listScripts(const QString& folder);

// The whole file, one character per byte; nullopt when it can't be read.
std::optional<std::string> readScriptText(const QString& path);

}  // namespace qv
