#pragma once
// The batch renamer ("File name handler"): renames the files of one folder
// by two optional rules, well numbers written with two digits and one text
// replaced by another. A preview lists the new names first; "Make the
// changes!" is on only after a preview and until the next change of folder,
// rule or text. The folder is listed again whenever the window is shown and
// before every preview. "Make the changes!" renames exactly what the last
// preview showed: when the folder no longer matches it (a file to be renamed
// gone or changed, a new name taken, a new file the rules would rename), it
// renames nothing, says so and makes the preview again.
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "fileutils/UtilityWindow.h"
#include "fileutils/model/BatchRename.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qv {

class FolderTree;

class NimenMuuttaja final : public UtilityWindow {  // "name changer"
    Q_OBJECT
public:
    explicit NimenMuuttaja(QWidget* parent = nullptr);

    // The preview item's data that tells why its new name would be refused
    // (empty for a name that would be taken).
    static constexpr int RefusalRole = Qt::UserRole + 1;

    // "Preview" lists the new names; "Muuta" ("change") renames the files as
    // the last preview showed (without one, it makes the preview).
    void Muuta(const QString& mode);

    // The rules as the controls set them.
    RenameRules rules() const;

    FolderTree* folderTree() const { return dir1_; }
    QListWidget* fileList() const { return file1_; }
    QListWidget* previewList() const { return list1_; }
    QCheckBox* a1ToA01() const { return a1ToA01_; }
    QCheckBox* replaceBox() const { return muutaStringToiseksi_; }
    QLineEdit* string1() const { return string1_; }
    QLineEdit* string2() const { return string2_; }
    QPushButton* previewButton() const { return command1_; }
    QPushButton* applyButton() const { return toteutaMuutokset_; }

protected:
    void listFolder() override;

private:
    void folderChanged(const QString& folder);
    std::vector<std::string> listedNames() const;
    void preview();
    // Carries out the last preview; false, renaming nothing, when the folder
    // is no longer as it was then.
    bool rename();
    void disableApply();

    FolderTree* dir1_ = nullptr;
    QListWidget* file1_ = nullptr;
    QCheckBox* a1ToA01_ = nullptr;
    QCheckBox* muutaStringToiseksi_ = nullptr;  // "replace a text with another"
    QLineEdit* string1_ = nullptr;
    QLineEdit* string2_ = nullptr;
    QListWidget* list1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* toteutaMuutokset_ = nullptr;   // "carry out the changes"
    std::optional<RenamePreview> preview_;       // the last preview while "Make the changes!" is on
};

}  // namespace qv
