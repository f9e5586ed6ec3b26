#pragma once
// The one layer through which the program shows every message box, input
// box, file, colour and printer dialog and runs every pop-up menu. The
// running program uses Qt's dialogs; tests install a scripted provider that
// answers from a script and fails at once on a dialog it did not expect.
#include <QColor>
#include <QPoint>
#include <QString>

#include <memory>
#include <optional>
#include <string_view>

class QMenu;
class QAction;
class QFileDialog;
class QMessageBox;
class QPrinter;
class QWidget;

namespace qv {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

// Title of a message box that has none of its own.
inline const char* const DefaultMessageTitle = "Quorvane";

// Who asks before a save replaces an existing file: the save dialog itself,
// or the caller with a question of its own (then the dialog must not ask
// too, so that one save asks once).
enum class OverwriteQuestion { ByDialog, ByCaller };

// What a message box with these buttons answers when it is closed without a
// button (Escape, the close box).
MsgAnswer ClosedAnswer(MsgButtons buttons);

class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    // `details`: a longer text the box offers behind its details button
    // (a list of names, say); empty for none.
    virtual MsgAnswer messageBox(const QString& text, const QString& title, MsgButtons buttons,
                                 const QString& details = QString()) = 0;
    // Empty optional when cancelled.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    // filter in Qt's form ("FCS files (*.fcs);;All files (*)"); empty optional when cancelled.
    virtual std::optional<QString> openFileName(const QString& title, const QString& filter,
                                                const QString& startPath) = 0;
    virtual std::optional<QString> saveFileName(const QString& title, const QString& filter,
                                                const QString& startPath, OverwriteQuestion question) = 0;
    virtual std::optional<QColor> chooseColour(const QColor& initial) = 0;
    virtual bool choosePrinter(QPrinter& printer) = 0;
    // Runs a pop-up menu modally; nullptr when dismissed without a choice.
    virtual QAction* execMenu(QMenu& menu, const QPoint& globalPos) = 0;
};

// The provider in force (Qt's own unless a test installed another).
DialogProvider& dialogs();
// Installs a provider (not owned); nullptr restores Qt's own.
void setDialogProvider(DialogProvider* provider);
// The provider installed by setDialogProvider (nullptr while Qt's own is in force).
DialogProvider* currentDialogProvider();
// Qt's own provider, whatever is installed (tests of the real dialogs use it).
DialogProvider& qtDialogs();

// The open or save dialog the layer runs for Qt's own provider: Qt's
// dialog, not the desktop's, listing folders by names alone so that no file
// is opened to learn its type. The layer runs it modally.
std::unique_ptr<QFileDialog> makeFileDialog(bool save, const QString& title, const QString& filter,
                                            const QString& startPath, QWidget* parent = nullptr);

// The message box the layer shows for Qt's own provider, built but not yet
// shown: the text fitted to the screen (long lines broken, lines beyond a
// screenful left to the details, which then hold the whole text followed
// by `details`), never read as markup.
std::unique_ptr<QMessageBox> makeMessageBox(const QString& text, const QString& title, MsgButtons buttons,
                                            const QString& details = QString(), QWidget* parent = nullptr);

// Shorthands used across the program.
MsgAnswer showMessage(const QString& text, const QString& title = DefaultMessageTitle,
                      MsgButtons buttons = MsgButtons::Ok, const QString& details = QString());
// A file that could not be written: "The file could not be written:", the
// path and the reason, one to a line (SaveFailureMessage), titled "Save error".
void showSaveError(const QString& path, std::string_view reason = {});
// The save dialog of an export or a sheet: asks for a file name with the
// given title and filter; when the file exists (the one a link leads to),
// asks "File already exists. Do you want to overwrite it?" (OK/Cancel, title
// "File already exists"), the only question of the save. A name that cannot
// become a file (a pipe, a device, a folder) is given back unasked, for the
// save to refuse at once with its own message. Nothing when the user
// cancelled either.
std::optional<QString> AskExportPath(const QString& title, const QString& filter);
// The save dialog of a window's picture ("Save the image", bitmap files), as
// AskExportPath: the picture is written under the name exactly as typed
// (no extension added) and the question is asked about that name.
std::optional<QString> AskPicturePath();
// The printer dialog of "Print..." and of a tool. When it prints into a
// PDF file, that file is checked by the program's write rules before
// anything opens it: a name that cannot become a file (a pipe, a device, a
// folder) is refused at once with the save error, and where the file (the
// one a link leads to) exists, "File already exists. Do you want to
// overwrite it?" is the one question. False when the dialog was cancelled,
// the file refused or not to be replaced.
bool ChoosePrinter(QPrinter& printer);
// The PDF file `printer` writes; empty when it prints on a printer.
QString PrintFileName(const QPrinter& printer);

}  // namespace qv
