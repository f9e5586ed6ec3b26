#pragma once
// A dialog provider for tests: every message box, input box, file, colour and
// printer dialog and every pop-up menu is answered from a script written by
// the test, in order. A dialog the script did not expect (or of another kind
// than the next one scripted) fails the test at once with the dialog's text
// and is answered Cancel / No / dismissed, so nothing ever waits for a user.
// Every dialog shown is recorded so tests can assert texts and titles. When
// the object goes out of scope (or finish() is called) a scripted dialog that
// never came fails the test.
//
//   ScriptedDialogs dlg;   // installs itself, restores the previous provider when destroyed
//   dlg.expectMessage("Do you really want to exit? All unsaved data will be lost.",
//                     "Exit the program", MsgAnswer::Ok);
//   dlg.expectInput("Set the fast draw limit", "Set limit", QString("12.9"));
//   dlg.expectMenuChoice("All events");
//
// For random-input tests it can instead answer every dialog at random from a
// seed (answerAtRandom): each answer is one a user could give, drawn from the
// choices the test supplies, and is reported to the test's log.
#include <QColor>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/Dialogs.h"

namespace qv::test {

enum class DialogKind { Message, Input, OpenFile, SaveFile, Colour, Printer, Menu };

const char* dialogKindName(DialogKind kind);

// One dialog as it was shown.
struct ShownDialog {
    DialogKind kind = DialogKind::Message;
    QString text;         // message text, input prompt; for a menu its title
    QString details;      // message boxes: the text behind the details button, if any
    QString title;        // window title; file dialogs: their caption
    MsgButtons buttons = MsgButtons::Ok;  // message boxes
    QString defaultText;  // input boxes: the preset answer; file dialogs: the start path
    QString filter;       // file dialogs
    // Save dialogs: the dialog itself asks before replacing a file (Qt's
    // question, which the script does not answer), rather than its caller.
    bool dialogAsksOverwrite = false;
    QColor initialColour; // colour dialog
    QStringList menuItems;  // pop-up menus: captions of the visible items ("&" removed), submenus as "Sub/Item"
};

// What a dialog answered at random may choose from.
struct RandomAnswerChoices {
    QStringList openPaths;   // files an open-file dialog may pick (existing or not)
    QString saveFolder;      // where a save-file dialog puts its files (ends with "/")
    QStringList inputTexts;  // texts typed into input boxes, besides the preset answer
    std::function<void(const std::string&)> log;  // told every answer given, may be empty
};

class ScriptedDialogs final : public DialogProvider {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // ---- the script, in the order the dialogs are expected ----
    // A message box with exactly this text and title.
    ScriptedDialogs& expectMessage(const QString& text, const QString& title, MsgAnswer answer);
    // ... and with exactly these buttons.
    ScriptedDialogs& expectMessage(const QString& text, const QString& title, MsgButtons buttons,
                                   MsgAnswer answer);
    // Any message box (text and title not checked, only recorded).
    ScriptedDialogs& expectAnyMessage(MsgAnswer answer);
    // Runs `action` while the dialog scripted last is shown, before it is
    // answered: what the user or another program does while the box waits.
    ScriptedDialogs& whileShown(std::function<void()> action);

    // An input box with this prompt and title; nullopt answers Cancel.
    ScriptedDialogs& expectInput(const QString& prompt, const QString& title, std::optional<QString> answer);
    ScriptedDialogs& expectAnyInput(std::optional<QString> answer);

    // File dialogs; nullopt answers Cancel. A non-empty title is checked.
    ScriptedDialogs& expectOpenFile(std::optional<QString> path, const QString& title = {});
    ScriptedDialogs& expectSaveFile(std::optional<QString> path, const QString& title = {});

    // Colour dialog; nullopt answers Cancel.
    ScriptedDialogs& expectColour(std::optional<QColor> colour);
    // Printer dialog; false answers Cancel.
    ScriptedDialogs& expectPrinter(bool accept);
    // Printer dialog answered OK with "print to file" chosen: the printer
    // writes a PDF file at `pdfPath`.
    ScriptedDialogs& expectPrinterToPdf(const QString& pdfPath);

    // Pop-up menus. The item is found by caption ("&" ignored), in the menu
    // or its submenus; "Sub/Item" names an item of the submenu "Sub". An
    // item that is missing, hidden or disabled fails the test (a user could
    // not choose it) and the menu is dismissed.
    ScriptedDialogs& expectMenuChoice(const QString& caption);
    // The index-th action of the menu itself (separators and hidden items counted, as QMenu::actions()).
    ScriptedDialogs& expectMenuChoice(int index);
    ScriptedDialogs& expectMenuDismiss();
    // Full control: the function sees the menu and returns the action to choose (nullptr dismisses).
    ScriptedDialogs& expectMenu(std::function<QAction*(QMenu&)> choose);

    // From now on every dialog is answered at random from `seed`, whatever
    // the script holds: message boxes with one of their buttons, input boxes
    // with the preset text, a chosen text or Cancel, file dialogs with one of
    // the paths or Cancel, pop-up menus with any item a user could click or
    // dismissed, the printer dialog printing to a PDF file in saveFolder.
    void answerAtRandom(std::uint64_t seed, RandomAnswerChoices choices);

    // ---- what was shown ----
    const std::vector<ShownDialog>& shown() const { return shown_; }
    // Texts of the message boxes shown, in order.
    QStringList messageTexts() const;
    // Scripted dialogs still waiting.
    size_t pending() const { return script_.size(); }

    // Fails the test for every scripted dialog that did not come, then clears the script.
    void finish();

    // DialogProvider
    MsgAnswer messageBox(const QString& text, const QString& title, MsgButtons buttons,
                         const QString& details = QString()) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    std::optional<QString> openFileName(const QString& title, const QString& filter,
                                        const QString& startPath) override;
    std::optional<QString> saveFileName(const QString& title, const QString& filter, const QString& startPath,
                                        OverwriteQuestion question) override;
    std::optional<QColor> chooseColour(const QColor& initial) override;
    bool choosePrinter(QPrinter& printer) override;
    QAction* execMenu(QMenu& menu, const QPoint& globalPos) override;

    // Captions of the visible items of a menu, submenus as "Sub/Item" ("&" removed, separators left out).
    static QStringList menuCaptions(const QMenu& menu);
    // The visible item with this caption ("Sub/Item" for submenus), or nullptr.
    static QAction* findMenuItem(const QMenu& menu, const QString& caption);

private:
    struct Expectation {
        DialogKind kind = DialogKind::Message;
        std::optional<QString> text;   // checked when set
        std::optional<QString> title;  // checked when set
        std::optional<MsgButtons> buttons;
        MsgAnswer msgAnswer = MsgAnswer::Ok;
        std::optional<QString> textAnswer;
        std::optional<QColor> colourAnswer;
        bool accept = false;
        std::function<QAction*(QMenu&)> chooseMenu;
        std::function<void()> whileShown;
        QString describe;  // for failure messages
    };

    // A new expectation at the end of the script.
    Expectation& expect(DialogKind kind, QString describe);
    void expectFile(DialogKind kind, QString describe, std::optional<QString> path, const QString& title);
    // Records the dialog shown; gives the next expectation when it is of the
    // dialog's kind, otherwise fails the test and gives nullopt.
    std::optional<Expectation> take(const ShownDialog& shown);
    std::optional<QString> fileName(DialogKind kind, const QString& title, const QString& filter,
                                    const QString& startPath, bool dialogAsksOverwrite = false);
    void checkText(const Expectation& e, const ShownDialog& shown);

    // Random mode: a number in [0, n).
    size_t below(size_t n);
    void logAnswer(const ShownDialog& shown, const QString& answer);
    QAction* randomMenuItem(QMenu& menu);

    std::optional<std::mt19937_64> random_;
    RandomAnswerChoices choices_;
    int savedFiles_ = 0;
    std::deque<Expectation> script_;
    std::vector<ShownDialog> shown_;
    DialogProvider* previous_ = nullptr;
};

}  // namespace qv::test
