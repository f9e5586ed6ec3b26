#pragma once
// The "&Tools" menu: one item per tool script of the scripts folder, built
// once at start-up. Choosing an item reads the script file anew and hands
// its text to the launcher (the tool window runs it; packed scripts are
// unpacked there).
#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <vector>

#include "app/model/ScriptFolder.h"

class QAction;
class QMenu;

namespace qv {

class ToolsMenu : public QObject {
    Q_OBJECT
public:
    // Runs one script: the entry chosen, the path read and the file's text
    // (one character per byte, still packed when entry.Packed).
    using Launcher = std::function<void(const ScriptMenuEntry& entry, const QString& path, const std::string& text)>;

    explicit ToolsMenu(QMenu& menu, QObject* parent = nullptr);

    // Lists the scripts of `folder` (for the running program the scripts
    // folder next to it, scriptsFolderIn(programFolder())) into the menu,
    // replacing what it held.
    void BuildScriptMenu(const QString& folder);

    void setLauncher(Launcher launcher) { launcher_ = std::move(launcher); }

    const std::vector<ScriptMenuEntry>& ScriptMenuTable() const { return table_; }
    const QString& folder() const { return folder_; }
    // The menu item of entry `index` (SkriptiLista(index)), nullptr when out of range.
    QAction* SkriptiLista(int index) const;

    // The user chose item `index`: the file is read and launched. Nothing
    // starts while a tool is running, so a second run can't disturb the
    // first. A file that can no longer be read gives a "Load error" message.
    void SkriptiLista_Click(int index);

private:
    QMenu& menu_;
    QString folder_;
    std::vector<ScriptMenuEntry> table_;
    std::vector<QAction*> items_;
    Launcher launcher_;
};

}  // namespace qv
