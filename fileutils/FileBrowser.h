#pragma once
// The file browser ("File browser"): a folder list and the folder's files;
// a double-clicked file is loaded into every selected analysis window.
#include <string>

#include "fileutils/UtilityWindow.h"

class QListWidget;

namespace qv {

class FolderTree;

class FileBrowser final : public UtilityWindow {
    Q_OBJECT
public:
    explicit FileBrowser(QWidget* parent = nullptr);

    // The copy command copies nothing while this window is active.
    int AnnaID() const { return 0; }

    FolderTree* folderTree() const { return dir1_; }
    QListWidget* fileList() const { return file1_; }
    // Loads row `row` of the file list into the selected windows.
    void loadRow(int row);

protected:
    void listFolder() override;

private:
    FolderTree* dir1_ = nullptr;
    QListWidget* file1_ = nullptr;
};

// The file list window ("File list"): one list and nothing else; no command
// opens it.
class TiedostoLista final : public UtilityWindow {  // "file list"
    Q_OBJECT
public:
    explicit TiedostoLista(QWidget* parent = nullptr);
    int AnnaID() const { return 0; }
    QListWidget* lista() const { return lista_; }

private:
    QListWidget* lista_ = nullptr;
};

}  // namespace qv
