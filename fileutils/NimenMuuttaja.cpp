#include "fileutils/NimenMuuttaja.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/model/WaitCursor.h"
#include "fileutils/FolderTree.h"

namespace qv {
namespace {

const QString WindowTitle = QStringLiteral("File name handler");
const QString FolderChangedText =
    QStringLiteral("The folder has changed since the preview: no file was renamed.\nThe preview has been made again.");

QString text(const std::string& s) { return QFile::decodeName(QByteArray::fromStdString(s)); }

QString pairLines(const std::vector<RenamePair>& pairs) {
    QString lines;
    for (const RenamePair& p : pairs) lines += QStringLiteral("\n") + text(p.from) + QStringLiteral(" -> ") + text(p.to);
    return lines;
}

}  // namespace

NimenMuuttaja::NimenMuuttaja(QWidget* parent) : UtilityWindow(parent) {
    setWindowTitle(WindowTitle);

    auto* original = new QGroupBox(QStringLiteral("Original files"), this);
    dir1_ = new FolderTree(original);
    file1_ = new QListWidget(original);
    auto* originalLayout = new QVBoxLayout(original);
    originalLayout->addWidget(dir1_, 1);
    originalLayout->addWidget(file1_, 1);

    auto* actions = new QGroupBox(QStringLiteral("Actions"), this);
    a1ToA01_ = new QCheckBox(QStringLiteral("Change \"A1\" --> \"A01\" etc."), actions);
    muutaStringToiseksi_ = new QCheckBox(QStringLiteral("Replace"), actions);
    string1_ = new QLineEdit(actions);
    string2_ = new QLineEdit(actions);
    auto* actionsLayout = new QGridLayout(actions);
    actionsLayout->addWidget(a1ToA01_, 0, 0, 1, 4);
    actionsLayout->addWidget(muutaStringToiseksi_, 1, 0);
    actionsLayout->addWidget(string1_, 1, 1);
    actionsLayout->addWidget(new QLabel(QStringLiteral("-->"), actions), 1, 2);
    actionsLayout->addWidget(string2_, 1, 3);

    auto* preview = new QGroupBox(QStringLiteral("Preview"), this);
    list1_ = new QListWidget(preview);
    auto* previewLayout = new QVBoxLayout(preview);
    previewLayout->addWidget(list1_);

    command1_ = new QPushButton(QStringLiteral("Make the preview"), this);
    toteutaMuutokset_ = new QPushButton(QStringLiteral("Make the changes!"), this);
    toteutaMuutokset_->setEnabled(false);

    auto* right = new QVBoxLayout;
    right->addWidget(actions);
    right->addWidget(preview, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(command1_);
    buttons->addWidget(toteutaMuutokset_);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(original, 1);
    layout->addLayout(right, 1);
    resize(640, 480);

    const auto disableApply = [this] { this->disableApply(); };
    connect(dir1_, &FolderTree::folderChanged, this, &NimenMuuttaja::folderChanged);
    connect(a1ToA01_, &QCheckBox::clicked, this, disableApply);
    connect(muutaStringToiseksi_, &QCheckBox::clicked, this, disableApply);
    connect(string1_, &QLineEdit::textChanged, this, disableApply);
    connect(string2_, &QLineEdit::textChanged, this, disableApply);
    connect(command1_, &QPushButton::clicked, this, [this] { Muuta(QStringLiteral("Preview")); });
    connect(toteutaMuutokset_, &QPushButton::clicked, this, [this] { Muuta(QStringLiteral("Muuta")); });
    // The folder is listed when the window is shown, not while it waits hidden.
    watchMouseMoves();
}

void NimenMuuttaja::folderChanged(const QString& folder) {
    FillFileList(*file1_, folder);
    disableApply();
}

void NimenMuuttaja::disableApply() {
    toteutaMuutokset_->setEnabled(false);
    preview_.reset();
}

void NimenMuuttaja::listFolder() { FillFileList(*file1_, dir1_->folder()); }

RenameRules NimenMuuttaja::rules() const {
    return RenameRules{a1ToA01_->isChecked(), muutaStringToiseksi_->isChecked(),
                       QFile::encodeName(string1_->text()).toStdString(),
                       QFile::encodeName(string2_->text()).toStdString()};
}

std::vector<std::string> NimenMuuttaja::listedNames() const {
    std::vector<std::string> names;
    for (int row = 0; row < file1_->count(); ++row) names.push_back(FileNameOf(*file1_->item(row)));
    return names;
}

void NimenMuuttaja::Muuta(const QString& mode) {
    if (mode == QStringLiteral("Preview")) {
        preview();
        return;
    }
    // Without a preview there is nothing to carry out: one is made first.
    if (!preview_) {
        preview();
        return;
    }
    if (!rename()) {
        preview();
        showMessage(FolderChangedText, WindowTitle);
        return;
    }
    disableApply();
    FillFileList(*file1_, dir1_->folder());
    if (file1_->count() > 0) file1_->setCurrentRow(0);
}

void NimenMuuttaja::preview() {
    list1_->clear();
    listFolder();
    const std::vector<std::string> names = listedNames();
    // The same checks as the renaming makes, so a name that would be
    // refused or would clash shows before "Make the changes!".
    preview_ = PreviewRenames(QFile::encodeName(dir1_->folder()).toStdString(), names, rules());
    for (size_t row = 0; row < names.size(); ++row) {
        auto* item = new QListWidgetItem(text(NewFileName(names[row], preview_->rules)), list1_);
        const std::string& refusal = preview_->plan.refusals[row];
        if (refusal.empty()) continue;
        item->setData(RefusalRole, text(refusal));
        item->setToolTip(text(refusal));
        item->setForeground(QColor(200, 0, 0));
        item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
    }
    if (file1_->count() > 0) file1_->setCurrentRow(0);
    toteutaMuutokset_->setEnabled(true);
}

bool NimenMuuttaja::rename() {
    // Only the batch the preview showed is renamed, and only while the
    // folder is as the preview saw it: a file that came or changed since
    // would otherwise be renamed unseen.
    const std::string folder = QFile::encodeName(dir1_->folder()).toStdString();
    listFolder();
    if (!StillAsPreviewed(*preview_, folder, listedNames())) return false;
    // Every new name was worked out and checked before any file is touched,
    // so a clash leaves the whole folder as it was.
    const RenamePlan& plan = preview_->plan;
    if (!plan.problems.empty()) {
        QString lines;
        for (const std::string& p : plan.problems) lines += QStringLiteral("\n") + text(p);
        showMessage(QStringLiteral("No file was renamed:") + lines, WindowTitle);
        return true;
    }
    RenameOutcome outcome;
    {
        WaitCursor wait;
        outcome = ApplyRenames(folder, plan.renames);
    }
    if (outcome.error.empty()) return true;
    const RenamePair& failed = outcome.notDone.front();
    QString message = QStringLiteral("The file ") + text(failed.from) + QStringLiteral(" could not be renamed to ") +
                      text(failed.to) + QStringLiteral(": ") + QString::fromLocal8Bit(outcome.error.c_str());
    if (!outcome.done.empty()) message += QStringLiteral("\n\nRenamed:") + pairLines(outcome.done);
    message += QStringLiteral("\n\nNot renamed:") + pairLines(outcome.notDone);
    showMessage(message, WindowTitle);
    return true;
}

}  // namespace qv
