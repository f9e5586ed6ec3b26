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
//   still up on two consecutive ticks fails the test and is closed.
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include "tests/support/ScriptedDialogs.h"

namespace {

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
