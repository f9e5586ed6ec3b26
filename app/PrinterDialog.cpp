#include "app/PrinterDialog.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#include "app/Dialogs.h"

namespace qv {

namespace {

// A PDF file name that names no file: nothing typed, or a folder (Qt's
// field starts as the home folder).
bool namesNoFile(const QString& name) {
    return name.trimmed().isEmpty() || name.endsWith(QLatin1Char('/')) || QFileInfo(name).isDir();
}

}  // namespace

PrinterDialog::PrinterDialog(QPrinter* printer, QWidget* parent) : QPrintDialog(printer, parent) {
    // Qt's field of the file name and its browse button, and its buttons.
    fileName_ = findChild<QLineEdit*>(QStringLiteral("filename"));
    auto* browse = findChild<QAbstractButton*>(QStringLiteral("fileBrowser"));
    auto* buttons = findChild<QDialogButtonBox*>();
    if (!fileName_ || !browse || !buttons) {
        // A Qt whose dialog is laid out otherwise: no file is offered
        // rather than one Qt would test.
        fileName_ = nullptr;
        setOption(QAbstractPrintDialog::PrintToFile, false);
        return;
    }
    QObject::disconnect(browse, &QAbstractButton::clicked, nullptr, nullptr);
    QObject::connect(browse, &QAbstractButton::clicked, this, [this] { askFileName(); });
    QObject::disconnect(buttons, &QDialogButtonBox::accepted, nullptr, nullptr);
    QObject::connect(buttons, &QDialogButtonBox::accepted, this, [this] { printChosen(); });
}

bool PrinterDialog::askFileName() {
    const std::optional<QString> chosen = dialogs().saveFileName(
        QStringLiteral("Print To File ..."), QStringLiteral("PDF files (*.pdf);;All files (*)"), fileName_->text(),
        OverwriteQuestion::ByCaller);
    if (!chosen || chosen->isEmpty()) return false;
    fileName_->setText(QDir::toNativeSeparators(*chosen));
    return true;
}

void PrinterDialog::printChosen() {
    // The field is enabled exactly while "Print to File" is the printer.
    if (fileName_ && fileName_->isEnabled()) {
        if (namesNoFile(fileName_->text()) && !askFileName()) return;
        // Qt's "Print" tests an enabled file field by opening the file;
        // its accept() only takes the settings, the name among them.
        fileName_->setEnabled(false);
        accept();
        fileName_->setEnabled(true);
        return;
    }
    // A printer: Qt's own checks of its settings, then its accept.
    if (!QMetaObject::invokeMethod(this, "_q_checkFields")) accept();
}

}  // namespace qv
