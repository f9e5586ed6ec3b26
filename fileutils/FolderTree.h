#pragma once
// The folder list of the file utilities: the folders of the file system from
// "/" down, starting at the user's home folder. Tells when the user picks
// another folder.
#include <QString>
#include <QTreeView>

#include <string>

class QFileSystemModel;
class QListWidget;
class QListWidgetItem;

namespace qv {

class FolderTree final : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent = nullptr);

    // The folder shown, ending with "/".
    const QString& folder() const { return folder_; }
    QFileSystemModel* folderModel() const { return model_; }
    // Goes to `path` (with or without the closing "/") and tells it with
    // folderChanged, also when it is the folder shown already.
    void setFolder(const QString& path);

signals:
    void folderChanged(const QString& folder);
    // The user clicked the folder already shown (to see what it holds now).
    void shownFolderClicked(const QString& folder);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QFileSystemModel* model_ = nullptr;
    QString folder_;
    // The press of the click being made was on the folder then shown.
    bool pressOnShownFolder_ = false;
};

// `path` as a folder text ending with "/".
QString FolderText(const QString& path);

// Fills `list` with every file of `folder` (folders' own listing order), the
// name as the file system holds it kept with each item.
void FillFileList(QListWidget& list, const QString& folder);
// The file system's name of an item of such a list.
std::string FileNameOf(const QListWidgetItem& item);

}  // namespace qv
