#include "app/Dialogs.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QScreen>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPrinter>

#include <algorithm>

#include "app/NameOnlyIconProvider.h"
#include "app/PrinterDialog.h"
#include "app/model/MessageText.h"
#include "app/model/SaveFailure.h"
#include "app/model/WindowGeometry.h"
#include "core/AtomicFile.h"

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

std::optional<QString> runFileDialog(QFileDialog::AcceptMode mode, const QString& title, const QString& filter,
                                     const QString& startPath,
                                     OverwriteQuestion question = OverwriteQuestion::ByDialog) {
    const std::unique_ptr<QFileDialog> dialog =
        makeFileDialog(mode == QFileDialog::AcceptSave, title, filter, startPath, dialogParent());
    // Where the program asks before replacing a file, the dialog does not
    // ask as well: every save asks once.
    if (question == OverwriteQuestion::ByCaller) dialog->setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog->exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog->selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
    return chosen.first();
}

// `text` fitted to the screen of `dialog` in its font: a long text wraps
// and the dialog stays on the screen, a name with no blanks broken
// anywhere, and lines beyond what the screen holds left to the details.
FittedMessage fitToScreen(const QWidget& dialog, const QString& text) {
    const QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const QFontMetrics metrics(dialog.font());
    // Qt's box breaks the label again once the text is wider than about
    // half the screen (at most 500 px, margins included), and then at any
    // hyphen of a file name: the lines are kept narrower than that, so
    // the lines counted are the lines shown.
    const int maxWidth = std::clamp(std::min(room.width() / 2, 500) - 80, 160, 420);
    // Room is left for the details pane (about 130 px) below the lines.
    const int maxLines = std::max(4, (room.height() - 220 - 150) / std::max(1, metrics.lineSpacing()));
    const auto widthOf = [&metrics](const QString& line) { return metrics.horizontalAdvance(line); };
    return FitMessage(text, maxWidth, maxLines, widthOf);
}

// Keeps a box wholly on its screen as it grows: showing its details makes
// it taller, downwards from where it was put.
class KeepOnScreen final : public QObject {
public:
    explicit KeepOnScreen(QWidget* box) : QObject(box) { box->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Resize && event->type() != QEvent::Show) return false;
        auto* box = static_cast<QWidget*>(watched);
        if (const QScreen* screen = box->screen()) {
            const QRect frame = box->frameGeometry();
            const QRect inView = MovedIntoView(frame, screen->availableGeometry());
            if (inView.topLeft() != frame.topLeft()) box->move(inView.topLeft());
        }
        return false;
    }
};

class QtDialogProvider final : public DialogProvider {
public:
    MsgAnswer messageBox(const QString& text, const QString& title, MsgButtons buttons,
                         const QString& details) override {
        const std::unique_ptr<QMessageBox> made = makeMessageBox(text, title, buttons, details, dialogParent());
        QMessageBox& box = *made;
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
        // A question built by a tool can be as long as a message: the
        // prompt shows what fits the screen, and "..." where it goes on.
        const FittedMessage fitted = fitToScreen(dialog, displayText(prompt));
        dialog.setLabelText(fitted.details.isEmpty()
                                ? fitted.shown
                                : fitted.shown.left(fitted.shown.lastIndexOf(QLatin1Char('\n'))) +
                                      QStringLiteral("\n..."));
        dialog.setTextValue(defaultText);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.textValue();
    }

    std::optional<QString> openFileName(const QString& title, const QString& filter,
                                        const QString& startPath) override {
        return runFileDialog(QFileDialog::AcceptOpen, title, filter, startPath);
    }

    std::optional<QString> saveFileName(const QString& title, const QString& filter, const QString& startPath,
                                        OverwriteQuestion question) override {
        return runFileDialog(QFileDialog::AcceptSave, title, filter, startPath, question);
    }

    std::optional<QColor> chooseColour(const QColor& initial) override {
        const QColor c = QColorDialog::getColor(initial, dialogParent());
        if (!c.isValid()) return std::nullopt;
        return c;
    }

    bool choosePrinter(QPrinter& printer) override {
        PrinterDialog dialog(&printer, dialogParent());
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

std::unique_ptr<QFileDialog> makeFileDialog(bool save, const QString& title, const QString& filter,
                                            const QString& startPath, QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent, title, startPath, filter);
    // Qt's own dialog rather than the desktop's, with icons and types by
    // name alone: no listing it makes opens a file (a device, a pipe or a
    // /proc entry read to guess its type can block the program for good).
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setIconProvider(NameOnlyIconProvider::shared());
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    return dialog;
}

std::unique_ptr<QMessageBox> makeMessageBox(const QString& text, const QString& title, MsgButtons buttons,
                                            const QString& details, QWidget* parent) {
    auto made = std::make_unique<QMessageBox>(
        QMessageBox::NoIcon, title.isEmpty() ? QString::fromLatin1(DefaultMessageTitle) : title, QString(),
        standardButtons(buttons), parent);
    QMessageBox& box = *made;
    // File names and user texts are shown as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    // Lines beyond what the screen holds go to the details, which scroll.
    const FittedMessage fitted = fitToScreen(box, displayText(text));
    box.setText(fitted.shown);
    const QString givenDetails = DetailsText(details);
    const QString allDetails = fitted.details.isEmpty() || givenDetails.isEmpty()
                                   ? fitted.details + givenDetails
                                   : fitted.details + QStringLiteral("\n\n") + givenDetails;
    if (!allDetails.isEmpty()) box.setDetailedText(allDetails);
    box.setDefaultButton(buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? QMessageBox::Yes
                                                                                            : QMessageBox::Ok);
    new KeepOnScreen(&box);
    return made;
}

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

MsgAnswer showMessage(const QString& text, const QString& title, MsgButtons buttons, const QString& details) {
    return dialogs().messageBox(text, title.isEmpty() ? QString::fromLatin1(DefaultMessageTitle) : title, buttons,
                                details);
}

void showSaveError(const QString& path, std::string_view reason) {
    dialogs().messageBox(SaveFailureMessage(path, reason), QStringLiteral("Save error"), MsgButtons::Ok);
}

namespace {

enum class SaveTarget { Writable, Declined, Refused };

// The file a save of `path` writes (the one a link leads to), checked by the
// program's write rules before anything opens it: Refused, with `reason`,
// when it cannot become a file (a pipe, a device, a folder); else, where it
// exists, after the one question "File already exists. Do you want to
// overwrite it?", Declined when the user says no.
SaveTarget checkSaveTarget(const QString& path, std::string& reason) {
    bool exists = false;
    int error = 0;
    const FileWriteResult target = CheckWriteTarget(QFile::encodeName(path).toStdString(), exists, &error);
    if (target != FileWriteResult::Ok) {
        reason = FileWriteReason(target, error);
        return SaveTarget::Refused;
    }
    if (exists && showMessage(QStringLiteral("File already exists. Do you want to overwrite it?"),
                              QStringLiteral("File already exists"), MsgButtons::OkCancel) != MsgAnswer::Ok)
        return SaveTarget::Declined;
    return SaveTarget::Writable;
}

}  // namespace

bool ChoosePrinter(QPrinter& printer) {
    if (!dialogs().choosePrinter(printer)) return false;
    const QString path = PrintFileName(printer);
    if (path.isEmpty()) return true;
    std::string reason;
    switch (checkSaveTarget(path, reason)) {
    case SaveTarget::Writable: return true;
    case SaveTarget::Declined: return false;
    case SaveTarget::Refused: break;
    }
    showSaveError(path, reason);
    return false;
}

QString PrintFileName(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
}

std::optional<QString> AskExportPath(const QString& title, const QString& filter) {
    std::optional<QString> path = dialogs().saveFileName(title, filter, QString(), OverwriteQuestion::ByCaller);
    if (!path || path->isEmpty()) return std::nullopt;
    // A name that cannot become a file goes straight on to the save, which
    // refuses it with its own message: no question about replacing it.
    std::string reason;
    if (checkSaveTarget(*path, reason) == SaveTarget::Declined) return std::nullopt;
    return path;
}

std::optional<QString> AskPicturePath() {
    // The name is kept as typed: no extension is added, whatever the filter.
    return AskExportPath(QStringLiteral("Save the image"), QStringLiteral("BMP files (*.BMP *.bmp)"));
}

}  // namespace qv
