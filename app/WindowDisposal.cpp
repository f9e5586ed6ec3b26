#include "app/WindowDisposal.h"

#include <QAbstractEventDispatcher>
#include <QMdiSubWindow>
#include <QPointer>
#include <QThread>
#include <QWidget>

#include <vector>

namespace qv {

namespace {

std::vector<QPointer<QWidget>>& waiting() {
    static std::vector<QPointer<QWidget>> list;
    return list;
}

// The dispatcher of the GUI thread tells us when its loop is about to wait;
// only at the outermost loop is no handler left on the stack.
void watchTopLevelLoop() {
    static QPointer<QAbstractEventDispatcher> watched;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher || dispatcher == watched) return;
    watched = dispatcher;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, [] {
        if (QThread::currentThread()->loopLevel() <= 1 && !waiting().empty()) deleteDiscardedWidgets();
    });
}

}  // namespace

void deleteWhenIdle(QWidget* widget) {
    if (!widget) return;
    widget->hide();
    for (const QPointer<QWidget>& w : waiting())
        if (w == widget) return;
    waiting().emplace_back(widget);
    watchTopLevelLoop();
}

void discardWindow(QWidget& window) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window.parentWidget()))
        deleteWhenIdle(frame);
    else
        window.hide();
}

void deleteDiscardedWidgets() {
    // Deleting one widget may discard another (a window's statistics go with
    // it), so the list is taken whole until nothing is left.
    while (!waiting().empty()) {
        std::vector<QPointer<QWidget>> now;
        now.swap(waiting());
        for (QPointer<QWidget>& w : now) delete w.data();
    }
}

int discardedWidgetsWaiting() {
    int n = 0;
    for (const QPointer<QWidget>& w : waiting())
        if (w) ++n;
    return n;
}

}  // namespace qv
