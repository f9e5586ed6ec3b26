#include "app/Dialogs.h"

#include <QFileInfo>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace qv {

namespace {

QWidget* dialogParent() {
    if (QWidget* w = QApplication::activeWindow()) return w;
    return nullptr;
}

// Prompts are built with bare carriage returns as line breaks (the definition
// prompt joins its lines that way); Qt's labels only break on line feeds.
QString displayText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    return text;
}

QMessageBox::StandardButtons standardButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok: return QMessageBox::Ok;
    case MsgButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

class QtDialogProvider final : public DialogProvider {
public:
    MsgAnswer messageBox(const QString& text, const QString& title, MsgButtons buttons) override {
        QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? QString::fromLatin1(DefaultMessageTitle) : title,
                        displayText(text), standardButtons(buttons), dialogParent());
        // File names and user texts are shown as they are, never as markup.
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel
                                 ? QMessageBox::Yes
                                 : QMessageBox::Ok);
        box.exec();
        QAbstractButton* clicked = box.clickedButton();
        if (!clicked) return ClosedAnswer(buttons);
        switch (box.standardButton(clicked)) {
        case QMessageBox::Ok: return MsgAnswer::Ok;
        case QMessageBox::Cancel: return MsgAnswer::Cancel;
        case QMessageBox::Yes: return MsgAnswer::Yes;
        case QMessageBox::No: return MsgAnswer::No;
        default: return ClosedAnswer(buttons);
        }
    }

    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override {
        QInputDialog dialog(dialogParent());
        dialog.setInputMode(QInputDialog::TextInput);
        dialog.setWindowTitle(title.isEmpty() ? QString::fromLatin1(DefaultMessageTitle) : title);
        dialog.setLabelText(displayText(prompt));
        dialog.setTextValue(defaultText);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.textValue();
    }

    std::optional<QString> openFileName(const QString& title, const QString& filter,
                                        const QString& startPath) override {
        const QString path = QFileDialog::getOpenFileName(dialogParent(), title, startPath, filter);
        if (path.isEmpty()) return std::nullopt;
        return path;
    }

    std::optional<QString> saveFileName(const QString& title, const QString& filter, const QString& startPath,
                                        OverwriteQuestion question) override {
        const QFileDialog::Options options = question == OverwriteQuestion::ByCaller
                                                 ? QFileDialog::Options(QFileDialog::DontConfirmOverwrite)
                                                 : QFileDialog::Options();
        const QString path = QFileDialog::getSaveFileName(dialogParent(), title, startPath, filter, nullptr, options);
        if (path.isEmpty()) return std::nullopt;
        return path;
    }

    std::optional<QColor> chooseColour(const QColor& initial) override {
        const QColor c = QColorDialog::getColor(initial, dialogParent());
        if (!c.isValid()) return std::nullopt;
        return c;
    }

    bool choosePrinter(QPrinter& printer) override {
        QPrintDialog dialog(&printer, dialogParent());
        return dialog.exec() == QDialog::Accepted;
    }

    QAction* execMenu(QMenu& menu, const QPoint& globalPos) override { return menu.exec(globalPos); }
};

QtDialogProvider& qtProvider() {
    static QtDialogProvider provider;
    return provider;
}

DialogProvider* installed = nullptr;

}  // namespace

MsgAnswer ClosedAnswer(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::OkCancel: return MsgAnswer::Cancel;
    case MsgButtons::YesNo: return MsgAnswer::No;
    case MsgButtons::YesNoCancel: return MsgAnswer::Cancel;
    }
    return MsgAnswer::Cancel;
}

DialogProvider& qtDialogs() { return qtProvider(); }

DialogProvider& dialogs() { return installed ? *installed : qtProvider(); }

void setDialogProvider(DialogProvider* provider) { installed = provider; }

DialogProvider* currentDialogProvider() { return installed; }

MsgAnswer showMessage(const QString& text, const QString& title, MsgButtons buttons) {
    return dialogs().messageBox(text, title.isEmpty() ? QString::fromLatin1(DefaultMessageTitle) : title, buttons);
}

void showSaveError(const QString& path) {
    dialogs().messageBox(QStringLiteral("The file could not be written:\n") + path, QStringLiteral("Save error"),
                         MsgButtons::Ok);
}

std::optional<QString> AskExportPath(const QString& title, const QString& filter) {
    const std::optional<QString> path = dialogs().saveFileName(title, filter, QString(), OverwriteQuestion::ByCaller);
    if (!path || path->isEmpty()) return std::nullopt;
    if (QFileInfo::exists(*path) &&
        showMessage(QStringLiteral("File already exists. Do you want to overwrite it?"),
                    QStringLiteral("File already exists"), MsgButtons::OkCancel) != MsgAnswer::Ok)
        return std::nullopt;
    return path;
}

}  // namespace qv
