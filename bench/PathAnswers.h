#pragma once
// A benchmark's answers to the dialog layer: the open and save dialogs get
// the paths set here, and any other dialog (a message box above all) ends
// the run, since a benchmark that meets one measures the wrong thing.
#include <QColor>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "app/Dialogs.h"

namespace qv::bench {

class PathAnswers final : public DialogProvider {
public:
    // Empty: the dialog ends the run.
    QString open, save;

    MsgAnswer messageBox(const QString& text, const QString&, MsgButtons, const QString&) override { fail(text); }
    std::optional<QString> inputBox(const QString& prompt, const QString&, const QString&) override { fail(prompt); }
    std::optional<QString> openFileName(const QString& title, const QString&, const QString&) override {
        if (open.isEmpty()) fail(title);
        return open;
    }
    std::optional<QString> saveFileName(const QString& title, const QString&, const QString&,
                                        OverwriteQuestion) override {
        if (save.isEmpty()) fail(title);
        return save;
    }
    std::optional<QColor> chooseColour(const QColor&) override { fail("colour"); }
    bool choosePrinter(QPrinter&) override { fail("printer"); }
    QAction* execMenu(QMenu&, const QPoint&) override { fail("menu"); }

private:
    [[noreturn]] static void fail(const QString& what) {
        std::fprintf(stderr, "unexpected dialog: %s\n", qPrintable(what));
        std::abort();
    }
};

}  // namespace qv::bench
