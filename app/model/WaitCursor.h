#pragma once
// The hourglass for the length of a long operation, restored on every way
// out; does nothing when there is no GUI (tools and tests without one).
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace qv {

class WaitCursor {
public:
    WaitCursor() : active_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (active_) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor() {
        if (active_) QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool active_;
};

}  // namespace qv
