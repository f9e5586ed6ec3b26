#include "app/ToolsMenu.h"

#include <QAction>
#include <QMenu>

#include "app/Dialogs.h"
#include "core/SharedState.h"

namespace qv {

ToolsMenu::ToolsMenu(QMenu& menu, QObject* parent) : QObject(parent), menu_(menu) {}

void ToolsMenu::BuildScriptMenu(const QString& folder) {
    for (QAction* item : items_) {
        menu_.removeAction(item);
        delete item;
    }
    items_.clear();
    folder_ = folder;
    if (!folder_.isEmpty() && !folder_.endsWith(QLatin1Char('/'))) folder_ += QLatin1Char('/');
    table_ = listScripts(folder_);
    for (size_t i = 0; i < table_.size(); ++i) {
        // "&" in a file name is shown as itself, not taken as a shortcut mark.
        QString caption = table_[i].Caption;
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));
        auto* item = new QAction(caption, &menu_);
        item->setObjectName(QStringLiteral("SkriptiLista"));
        item->setData(static_cast<int>(i));
        const int index = static_cast<int>(i);
        connect(item, &QAction::triggered, this, [this, index] { SkriptiLista_Click(index); });
        menu_.addAction(item);
        items_.push_back(item);
    }
    // An empty menu would open onto nothing: it is greyed while no tool is there.
    menu_.menuAction()->setEnabled(!items_.empty());
}

QAction* ToolsMenu::SkriptiLista(int index) const {
    if (index < 0 || index >= static_cast<int>(items_.size())) return nullptr;
    return items_[static_cast<size_t>(index)];
}

void ToolsMenu::SkriptiLista_Click(int index) {
    if (index < 0 || index >= static_cast<int>(table_.size())) return;
    if (g.ScriptRunning) return;
    const ScriptMenuEntry entry = table_[static_cast<size_t>(index)];
    const QString path = folder_ + entry.FileName;
    const std::optional<std::string> text = readScriptText(path);
    if (!text) {
        showMessage(QStringLiteral("The file could not be read:\n") + path, QStringLiteral("Load error"));
        return;
    }
    if (launcher_) launcher_(entry, path, *text);
}

}  // namespace qv
