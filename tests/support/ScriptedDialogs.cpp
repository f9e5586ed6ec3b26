#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPrinter>

#include <gtest/gtest.h>

namespace qv::test {

namespace {

QString plain(QString caption) {
    // "&&" is a literal ampersand, a single "&" marks the accelerator.
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QChar('&'));
    caption.replace(QChar('\x01'), QChar('&'));
    return caption;
}

const char* buttonsName(MsgButtons b) {
    switch (b) {
    case MsgButtons::Ok: return "Ok";
    case MsgButtons::OkCancel: return "OkCancel";
    case MsgButtons::YesNo: return "YesNo";
    case MsgButtons::YesNoCancel: return "YesNoCancel";
    }
    return "?";
}

bool answerFits(MsgAnswer a, MsgButtons b) {
    switch (b) {
    case MsgButtons::Ok: return a == MsgAnswer::Ok;
    case MsgButtons::OkCancel: return a == MsgAnswer::Ok || a == MsgAnswer::Cancel;
    case MsgButtons::YesNo: return a == MsgAnswer::Yes || a == MsgAnswer::No;
    case MsgButtons::YesNoCancel: return a == MsgAnswer::Yes || a == MsgAnswer::No || a == MsgAnswer::Cancel;
    }
    return false;
}

std::string str(const QString& s) { return s.toStdString(); }

std::string describeShown(const ShownDialog& d) {
    std::string out = dialogKindName(d.kind);
    out += " \"" + str(d.text) + "\"";
    if (!d.title.isEmpty()) out += " titled \"" + str(d.title) + "\"";
    if (d.kind == DialogKind::Menu) out += " with items [" + str(d.menuItems.join(", ")) + "]";
    return out;
}

void collectCaptions(const QMenu& menu, const QString& prefix, QStringList& out) {
    for (QAction* a : menu.actions()) {
        if (!a->isVisible() || a->isSeparator()) continue;
        const QString caption = prefix + plain(a->text());
        out << caption;
        if (QMenu* sub = a->menu()) collectCaptions(*sub, caption + QChar('/'), out);
    }
}

QAction* findIn(const QMenu& menu, const QStringList& path, bool visibleOnly) {
    if (path.isEmpty()) return nullptr;
    for (QAction* a : menu.actions()) {
        if (a->isSeparator() || (visibleOnly && !a->isVisible())) continue;
        if (plain(a->text()) != path.front()) continue;
        if (path.size() == 1) return a;
        if (QMenu* sub = a->menu()) {
            if (QAction* found = findIn(*sub, path.mid(1), visibleOnly)) return found;
        }
    }
    // A bare caption may also name an item of a submenu.
    if (path.size() == 1) {
        for (QAction* a : menu.actions()) {
            if (QMenu* sub = a->menu(); sub && (!visibleOnly || a->isVisible())) {
                if (QAction* found = findIn(*sub, path, visibleOnly)) return found;
            }
        }
    }
    return nullptr;
}

// Every item a user could click: shown, enabled, no separator, reached
// through shown and enabled submenus.
void collectChoosable(const QMenu& menu, QList<QAction*>& out) {
    for (QAction* a : menu.actions()) {
        if (!a->isVisible() || !a->isEnabled() || a->isSeparator()) continue;
        if (QMenu* sub = a->menu())
            collectChoosable(*sub, out);
        else
            out << a;
    }
}

const char* answerName(MsgAnswer a) {
    switch (a) {
    case MsgAnswer::Ok: return "Ok";
    case MsgAnswer::Cancel: return "Cancel";
    case MsgAnswer::Yes: return "Yes";
    case MsgAnswer::No: return "No";
    }
    return "?";
}

// The answers a message box with these buttons offers.
std::vector<MsgAnswer> answersOf(MsgButtons b) {
    switch (b) {
    case MsgButtons::Ok: return {MsgAnswer::Ok};
    case MsgButtons::OkCancel: return {MsgAnswer::Ok, MsgAnswer::Cancel};
    case MsgButtons::YesNo: return {MsgAnswer::Yes, MsgAnswer::No};
    case MsgButtons::YesNoCancel: return {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
    }
    return {MsgAnswer::Ok};
}

// The first pattern's extension of a Qt file filter ("FCS files (*.fcs)" -> ".fcs").
QString firstExtension(const QString& filter) {
    const qsizetype star = filter.indexOf(QStringLiteral("*."));
    if (star < 0) return {};
    qsizetype end = star + 2;
    while (end < filter.size() && (filter[end].isLetterOrNumber() || filter[end] == QChar('_'))) ++end;
    return filter.mid(star + 1, end - star - 1);
}

}  // namespace

const char* dialogKindName(DialogKind kind) {
    switch (kind) {
    case DialogKind::Message: return "message box";
    case DialogKind::Input: return "input box";
    case DialogKind::OpenFile: return "open-file dialog";
    case DialogKind::SaveFile: return "save-file dialog";
    case DialogKind::Colour: return "colour dialog";
    case DialogKind::Printer: return "printer dialog";
    case DialogKind::Menu: return "pop-up menu";
    }
    return "dialog";
}

ScriptedDialogs::ScriptedDialogs() : previous_(currentDialogProvider()) { setDialogProvider(this); }

ScriptedDialogs::~ScriptedDialogs() {
    finish();
    setDialogProvider(previous_);
}

void ScriptedDialogs::answerAtRandom(std::uint64_t seed, RandomAnswerChoices choices) {
    random_.emplace(seed);
    choices_ = std::move(choices);
}

size_t ScriptedDialogs::below(size_t n) { return n == 0 ? 0 : static_cast<size_t>((*random_)() % n); }

void ScriptedDialogs::logAnswer(const ShownDialog& shown, const QString& answer) {
    shown_.push_back(shown);
    if (choices_.log) choices_.log(describeShown(shown) + " -> " + str(answer));
}

QAction* ScriptedDialogs::randomMenuItem(QMenu& menu) {
    QList<QAction*> items;
    collectChoosable(menu, items);
    // Now and then the user dismisses the menu.
    if (items.isEmpty() || below(8) == 0) return nullptr;
    return items[static_cast<qsizetype>(below(static_cast<size_t>(items.size())))];
}

ScriptedDialogs::Expectation& ScriptedDialogs::expect(DialogKind kind, QString describe) {
    Expectation& e = script_.emplace_back();
    e.kind = kind;
    e.describe = std::move(describe);
    return e;
}

ScriptedDialogs& ScriptedDialogs::expectMessage(const QString& text, const QString& title, MsgAnswer answer) {
    Expectation& e = expect(DialogKind::Message, QStringLiteral("message box \"%1\" titled \"%2\"").arg(text, title));
    e.text = text;
    e.title = title;
    e.msgAnswer = answer;
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectMessage(const QString& text, const QString& title, MsgButtons buttons,
                                                MsgAnswer answer) {
    expectMessage(text, title, answer);
    script_.back().buttons = buttons;
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectAnyMessage(MsgAnswer answer) {
    expect(DialogKind::Message, QStringLiteral("a message box")).msgAnswer = answer;
    return *this;
}

ScriptedDialogs& ScriptedDialogs::whileShown(std::function<void()> action) {
    if (script_.empty())
        ADD_FAILURE() << "whileShown needs a scripted dialog before it";
    else
        script_.back().whileShown = std::move(action);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectInput(const QString& prompt, const QString& title,
                                              std::optional<QString> answer) {
    Expectation& e = expect(DialogKind::Input, QStringLiteral("input box \"%1\" titled \"%2\"").arg(prompt, title));
    e.text = prompt;
    e.title = title;
    e.textAnswer = std::move(answer);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectAnyInput(std::optional<QString> answer) {
    expect(DialogKind::Input, QStringLiteral("an input box")).textAnswer = std::move(answer);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectOpenFile(std::optional<QString> path, const QString& title) {
    expectFile(DialogKind::OpenFile, QStringLiteral("an open-file dialog"), std::move(path), title);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectSaveFile(std::optional<QString> path, const QString& title) {
    expectFile(DialogKind::SaveFile, QStringLiteral("a save-file dialog"), std::move(path), title);
    return *this;
}

void ScriptedDialogs::expectFile(DialogKind kind, QString describe, std::optional<QString> path,
                                 const QString& title) {
    Expectation& e = expect(kind, std::move(describe));
    if (!title.isEmpty()) e.title = title;
    e.textAnswer = std::move(path);
}

ScriptedDialogs& ScriptedDialogs::expectColour(std::optional<QColor> colour) {
    expect(DialogKind::Colour, QStringLiteral("a colour dialog")).colourAnswer = colour;
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectPrinter(bool accept) {
    expect(DialogKind::Printer, QStringLiteral("a printer dialog")).accept = accept;
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectPrinterToPdf(const QString& pdfPath) {
    Expectation& e = expect(DialogKind::Printer, QStringLiteral("a printer dialog printing to ") + pdfPath);
    e.accept = true;
    e.textAnswer = pdfPath;
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectMenuChoice(const QString& caption) {
    return expectMenu([caption](QMenu& menu) -> QAction* {
        QAction* a = findIn(menu, caption.split(QChar('/')), false);
        if (!a) {
            ADD_FAILURE() << "Pop-up menu has no item \"" << str(caption) << "\"; items: ["
                          << str(menuCaptions(menu).join(", ")) << "]";
            return nullptr;
        }
        return a;
    });
}

ScriptedDialogs& ScriptedDialogs::expectMenuChoice(int index) {
    return expectMenu([index](QMenu& menu) -> QAction* {
        const QList<QAction*> actions = menu.actions();
        if (index < 0 || index >= actions.size()) {
            ADD_FAILURE() << "Pop-up menu has no item number " << index << "; it has " << actions.size();
            return nullptr;
        }
        return actions[index];
    });
}

ScriptedDialogs& ScriptedDialogs::expectMenuDismiss() {
    return expectMenu([](QMenu&) -> QAction* { return nullptr; });
}

ScriptedDialogs& ScriptedDialogs::expectMenu(std::function<QAction*(QMenu&)> choose) {
    expect(DialogKind::Menu, QStringLiteral("a pop-up menu")).chooseMenu = std::move(choose);
    return *this;
}

QStringList ScriptedDialogs::messageTexts() const {
    QStringList out;
    for (const ShownDialog& d : shown_)
        if (d.kind == DialogKind::Message) out << d.text;
    return out;
}

void ScriptedDialogs::finish() {
    for (const Expectation& e : script_) ADD_FAILURE() << "Expected " << str(e.describe) << " that never came";
    script_.clear();
}

std::optional<ScriptedDialogs::Expectation> ScriptedDialogs::take(const ShownDialog& shown) {
    shown_.push_back(shown);
    const DialogKind kind = shown.kind;
    if (script_.empty()) {
        ADD_FAILURE() << "Unexpected " << describeShown(shown);
        return std::nullopt;
    }
    if (script_.front().kind != kind) {
        ADD_FAILURE() << "Unexpected " << describeShown(shown) << " while expecting "
                      << str(script_.front().describe);
        return std::nullopt;
    }
    Expectation e = std::move(script_.front());
    script_.pop_front();
    checkText(e, shown);
    if (e.whileShown) e.whileShown();
    return e;
}

void ScriptedDialogs::checkText(const Expectation& e, const ShownDialog& shown) {
    if (e.text && *e.text != shown.text)
        ADD_FAILURE() << dialogKindName(shown.kind) << " text differs.\n  expected: \"" << str(*e.text)
                      << "\"\n  shown:    \"" << str(shown.text) << "\"";
    if (e.title && *e.title != shown.title)
        ADD_FAILURE() << dialogKindName(shown.kind) << " \"" << str(shown.text) << "\" title differs.\n  expected: \""
                      << str(*e.title) << "\"\n  shown:    \"" << str(shown.title) << "\"";
    if (e.buttons && *e.buttons != shown.buttons)
        ADD_FAILURE() << "message box \"" << str(shown.text) << "\" has buttons " << buttonsName(shown.buttons)
                      << ", expected " << buttonsName(*e.buttons);
}

MsgAnswer ScriptedDialogs::messageBox(const QString& text, const QString& title, MsgButtons buttons,
                                      const QString& details) {
    ShownDialog d;
    d.kind = DialogKind::Message;
    d.text = text;
    d.details = details;
    d.title = title;
    d.buttons = buttons;
    if (random_) {
        const std::vector<MsgAnswer> answers = answersOf(buttons);
        const MsgAnswer a = answers[below(answers.size())];
        logAnswer(d, QString::fromLatin1(answerName(a)));
        return a;
    }
    std::optional<Expectation> e = take(d);
    if (!e) return ClosedAnswer(buttons);  // as a user who closes the box without choosing
    if (!answerFits(e->msgAnswer, buttons)) {
        ADD_FAILURE() << "message box \"" << str(text) << "\" has buttons " << buttonsName(buttons)
                      << "; the scripted answer is not one of them";
        return ClosedAnswer(buttons);
    }
    return e->msgAnswer;
}

std::optional<QString> ScriptedDialogs::inputBox(const QString& prompt, const QString& title,
                                                 const QString& defaultText) {
    ShownDialog d;
    d.kind = DialogKind::Input;
    d.text = prompt;
    d.title = title;
    d.defaultText = defaultText;
    if (random_) {
        std::optional<QString> answer;
        const size_t pick = below(static_cast<size_t>(choices_.inputTexts.size()) + 2);
        if (pick == 1) answer = defaultText;
        if (pick >= 2) answer = choices_.inputTexts[static_cast<qsizetype>(pick - 2)];
        logAnswer(d, answer ? QStringLiteral("\"%1\"").arg(*answer) : QStringLiteral("Cancel"));
        return answer;
    }
    std::optional<Expectation> e = take(d);
    if (!e) return std::nullopt;
    return e->textAnswer;
}

std::optional<QString> ScriptedDialogs::openFileName(const QString& title, const QString& filter,
                                                     const QString& startPath) {
    return fileName(DialogKind::OpenFile, title, filter, startPath);
}

std::optional<QString> ScriptedDialogs::saveFileName(const QString& title, const QString& filter,
                                                     const QString& startPath, OverwriteQuestion question) {
    return fileName(DialogKind::SaveFile, title, filter, startPath, question == OverwriteQuestion::ByDialog);
}

std::optional<QString> ScriptedDialogs::fileName(DialogKind kind, const QString& title, const QString& filter,
                                                 const QString& startPath, bool dialogAsksOverwrite) {
    ShownDialog d;
    d.kind = kind;
    d.title = title;
    d.filter = filter;
    d.defaultText = startPath;
    d.dialogAsksOverwrite = dialogAsksOverwrite;
    if (random_) {
        std::optional<QString> answer;
        if (below(6) != 0) {
            if (kind == DialogKind::OpenFile && !choices_.openPaths.isEmpty())
                answer = choices_.openPaths[static_cast<qsizetype>(below(static_cast<size_t>(choices_.openPaths.size())))];
            else if (kind == DialogKind::SaveFile)
                answer = choices_.saveFolder + QStringLiteral("saved-%1%2").arg(++savedFiles_).arg(firstExtension(filter));
        }
        logAnswer(d, answer ? *answer : QStringLiteral("Cancel"));
        return answer;
    }
    std::optional<Expectation> e = take(d);
    if (!e) return std::nullopt;
    return e->textAnswer;
}

std::optional<QColor> ScriptedDialogs::chooseColour(const QColor& initial) {
    ShownDialog d;
    d.kind = DialogKind::Colour;
    d.initialColour = initial;
    if (random_) {
        std::optional<QColor> answer;
        if (below(4) != 0) answer = QColor::fromRgb(static_cast<QRgb>((*random_)() & 0xFFFFFFu)).toRgb();
        logAnswer(d, answer ? answer->name() : QStringLiteral("Cancel"));
        return answer;
    }
    std::optional<Expectation> e = take(d);
    if (!e) return std::nullopt;
    return e->colourAnswer;
}

bool ScriptedDialogs::choosePrinter(QPrinter& printer) {
    ShownDialog d;
    d.kind = DialogKind::Printer;
    if (random_) {
        const bool accept = below(2) == 0;
        if (accept) {
            // As "Print to file" in the real dialog: nothing reaches a printer.
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(choices_.saveFolder + QStringLiteral("printed-%1.pdf").arg(++savedFiles_));
        }
        logAnswer(d, accept ? QStringLiteral("Print") : QStringLiteral("Cancel"));
        return accept;
    }
    std::optional<Expectation> e = take(d);
    if (e && e->accept && e->textAnswer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(*e->textAnswer);
    }
    return e && e->accept;
}

QAction* ScriptedDialogs::execMenu(QMenu& menu, const QPoint&) {
    ShownDialog d;
    d.kind = DialogKind::Menu;
    d.text = plain(menu.title());
    d.menuItems = menuCaptions(menu);
    QAction* chosen = nullptr;
    if (random_) {
        chosen = randomMenuItem(menu);
        logAnswer(d, chosen ? plain(chosen->text()) : QStringLiteral("dismissed"));
    } else {
        std::optional<Expectation> e = take(d);
        if (!e || !e->chooseMenu) return nullptr;
        chosen = e->chooseMenu(menu);
    }
    if (!chosen) return nullptr;
    // A user can only choose an item that is shown and enabled, along a path
    // of shown submenus.
    if (chosen->isSeparator() || !chosen->isVisible() || !chosen->isEnabled() || chosen->menu()) {
        ADD_FAILURE() << "Pop-up menu item \"" << str(plain(chosen->text()))
                      << "\" can't be chosen (hidden, disabled, a separator or a submenu)";
        return nullptr;
    }
    // As a real click does: the action triggers, then exec returns it.
    chosen->trigger();
    return chosen;
}

QStringList ScriptedDialogs::menuCaptions(const QMenu& menu) {
    QStringList out;
    collectCaptions(menu, QString(), out);
    return out;
}

QAction* ScriptedDialogs::findMenuItem(const QMenu& menu, const QString& caption) {
    if (caption.isEmpty()) return nullptr;
    return findIn(menu, caption.split(QChar('/')), true);
}

}  // namespace qv::test
