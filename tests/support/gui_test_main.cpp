// Entry point of the GUI test programs: a QApplication on the offscreen
// platform around GoogleTest.
//
// No test may ever wait for a user. Two guards see to it:
// - a scripted dialog provider with an empty script is installed for the
//   whole run, so a dialog shown by a test that did not script it fails that
//   test at once and is answered Cancel / No (a test's own ScriptedDialogs
//   takes over while it lives);
// - a watchdog timer looks for modal widgets and pop-ups shown around the
//   dialog layer (a QMessageBox or QMenu::exec called directly): one that is
//   still up on two consecutive ticks fails the test and is closed. Qt's own
//   menus (the menu bar's menus and its extension button's menu, a
//   sub-window's system menu, an editor's context menu), which a click
//   opens without the program asking, are closed and the test goes on; a
//   dialog a test marks as answered by itself ("qvAnsweredByTheTest") is
//   left to the test for a few seconds.
#include <QApplication>
#include <QDialog>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include "tests/support/ScriptedDialogs.h"

namespace {

// A menu Qt's widgets open by themselves on a click: one the menu bar owns
// (its menus, the extension button's menu of the items that do not fit,
// and their submenus), a sub-window's system menu, or a menu Qt names as
// its own (an editor's context menu). The program's own pop-ups go through
// the dialog layer and never show in a test.
bool isQtOwnMenu(const QMenu* menu) {
    if (menu->objectName().startsWith(QStringLiteral("qt_"))) return true;
    for (const QWidget* w = menu->parentWidget(); w; w = w->parentWidget()) {
        if (qobject_cast<const QMenuBar*>(w)) return true;
        if (const auto* sub = qobject_cast<const QMdiSubWindow*>(w); sub && sub->systemMenu() == menu) return true;
    }
    for (const QObject* holder : menu->menuAction()->associatedObjects()) {
        if (qobject_cast<const QMenuBar*>(holder)) return true;
        if (const auto* parentMenu = qobject_cast<const QMenu*>(holder); parentMenu && parentMenu != menu &&
                                                                         isQtOwnMenu(parentMenu))
            return true;
    }
    return false;
}

class ModalWatchdog : public QObject {
public:
    ModalWatchdog() {
        timer_.setInterval(200);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
        timer_.start();
    }

private:
    void tick() {
        QWidget* w = QApplication::activePopupWidget();
        if (!w) w = QApplication::activeModalWidget();
        if (!w) {
            seen_ = nullptr;
            return;
        }
        if (w != seen_) {  // give code that closes its own dialog a moment
            seen_ = w;
            ticksSeen_ = 1;
            return;
        }
        // A test that shows a real dialog to look at it answers it itself,
        // given a few seconds however busy the machine.
        if (++ticksSeen_ < 25 && w->property("qvAnsweredByTheTest").toBool()) return;
        if (auto* menu = qobject_cast<QMenu*>(w); menu && isQtOwnMenu(menu)) {
            menu->close();
            seen_ = nullptr;
            return;
        }
        QString text = w->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(w)) text += QStringLiteral(": ") + box->text();
        ADD_FAILURE() << "A " << w->metaObject()->className() << " (\"" << text.toStdString()
                      << "\") was shown outside the dialog layer; the watchdog closed it";
        if (auto* dialog = qobject_cast<QDialog*>(w))
            dialog->reject();
        else
            w->close();
        seen_ = nullptr;
    }

    QTimer timer_;
    QPointer<QWidget> seen_;
    int ticksSeen_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    qv::test::ScriptedDialogs noDialogsExpected;
    ModalWatchdog watchdog;
    return RUN_ALL_TESTS();
}
