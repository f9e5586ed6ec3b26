#include "fileutils/FileBrowser.h"

#include <QFile>
#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>

#include "fileutils/FolderTree.h"

namespace qv {

FileBrowser::FileBrowser(QWidget* parent) : UtilityWindow(parent) {
    setWindowTitle(QStringLiteral("File browser"));
    dir1_ = new FolderTree(this);
    file1_ = new QListWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dir1_, 1);
    layout->addWidget(file1_, 1);
    resize(260, 480);
    connect(dir1_, &FolderTree::folderChanged, this, [this](const QString& folder) { FillFileList(*file1_, folder); });
    // A user watching a folder that fills (an acquisition) clicks it to see the new files.
    connect(dir1_, &FolderTree::shownFolderClicked, this, &FileBrowser::listFolder);
    connect(file1_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { loadRow(file1_->row(item)); });
    // The folder is listed when the window is shown, not while it waits hidden.
    watchMouseMoves();
}

void FileBrowser::listFolder() { FillFileList(*file1_, dir1_->folder()); }

void FileBrowser::loadRow(int row) {
    const QListWidgetItem* item = file1_->item(row);
    if (!item) return;
    LoadIntoSelectedWindows(QFile::encodeName(dir1_->folder()).toStdString() + FileNameOf(*item));
}

TiedostoLista::TiedostoLista(QWidget* parent) : UtilityWindow(parent) {
    setWindowTitle(QStringLiteral("File list"));
    lista_ = new QListWidget(this);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(lista_);
    watchMouseMoves();
}

}  // namespace qv
