#include "app/PlotWindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QTimer>

#include "core/SharedState.h"

namespace qv {

namespace {
// How often a postponed full draw looks again while a mouse button is held.
constexpr int kButtonHeldRetryMs = 100;
}  // namespace

PlotWindow::PlotWindow(QWidget* parent) : QWidget(parent) {}

PlotWindow::~PlotWindow() = default;

bool PlotWindow::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ParentChange:
        // The workspace tells the frame, not the window, when it activates it.
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
            connect(frame, &QMdiSubWindow::aboutToActivate, this, &PlotWindow::frameActivating, Qt::UniqueConnection);
        break;
    case QEvent::WindowActivate:
        // Every widget of an activated window hears this; only a window of
        // its own (no workspace frame) is activated by it.
        if (isWindow()) onActivated();
        break;
    case QEvent::Resize: {
        const bool handled = QWidget::event(event);
        const int id = AnnaID();
        if (id != 0 && g.FullRedrawPending == id) {
            if (!postponedDraw_) {
                postponedDraw_ = new QTimer(this);
                postponedDraw_->setSingleShot(true);
                connect(postponedDraw_, &QTimer::timeout, this, &PlotWindow::completePostponedDraw);
            }
            postponedDraw_->start(0);
        }
        return handled;
    }
    default: break;
    }
    return QWidget::event(event);
}

void PlotWindow::completePostponedDraw() {
    const int id = AnnaID();
    if (id == 0 || g.FullRedrawPending != id) return;  // drawn meanwhile (the mouse moved)
    // Still dragging the frame's edge: the quick passes go on.
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        postponedDraw_->start(kButtonHeldRetryMs);
        return;
    }
    g.FullRedrawPending = 0;
    Piirra();
}

}  // namespace qv
