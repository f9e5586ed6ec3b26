#include "fileutils/FolderTree.h"

#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QListWidget>
#include <QMouseEvent>

#include "app/NameOnlyIconProvider.h"
#include "app/model/FolderListing.h"

namespace qv {

QString FolderText(const QString& path) {
    QString text = QDir::cleanPath(path);
    if (!text.endsWith(QLatin1Char('/'))) text += QLatin1Char('/');
    return text;
}

void FillFileList(QListWidget& list, const QString& folder) {
    list.clear();
    for (const std::string& name : ListFolderFiles(QFile::encodeName(folder).toStdString())) {
        const QByteArray bytes = QByteArray::fromStdString(name);
        auto* item = new QListWidgetItem(QFile::decodeName(bytes), &list);
        item->setData(Qt::UserRole, bytes);
    }
}

std::string FileNameOf(const QListWidgetItem& item) { return item.data(Qt::UserRole).toByteArray().toStdString(); }

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
    // Listing a folder must never open its files (a device or /proc entry can block for good).
    model_->setIconProvider(NameOnlyIconProvider::shared());
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setRootPath(QStringLiteral("/"));
    setModel(model_);
    setRootIndex(model_->index(QStringLiteral("/")));
    // The name column only.
    for (int c = 1; c < model_->columnCount(); ++c) hideColumn(c);
    header()->hide();
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (!current.isValid()) return;
        const QString picked = FolderText(model_->filePath(current));
        if (picked != folder_) setFolder(picked);
    });
    // A click that chooses another folder lists it through the change
    // above; one on the folder already shown tells so instead.
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        const bool onShown = pressOnShownFolder_;
        pressOnShownFolder_ = false;
        if (onShown && index.isValid() && FolderText(model_->filePath(index)) == folder_) emit shownFolderClicked(folder_);
    });
    setFolder(QDir::homePath());
}

void FolderTree::mousePressEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    pressOnShownFolder_ = at.isValid() && FolderText(model_->filePath(at)) == folder_;
    QTreeView::mousePressEvent(event);
}

void FolderTree::setFolder(const QString& path) {
    folder_ = FolderText(path);
    const QModelIndex index = model_->index(folder_ == QStringLiteral("/") ? folder_ : folder_.chopped(1));
    if (index.isValid()) {
        setCurrentIndex(index);  // same folder: no second report
        scrollTo(index);
    }
    emit folderChanged(folder_);
}

}  // namespace qv
