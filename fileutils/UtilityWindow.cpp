#include "fileutils/UtilityWindow.h"

#include <QEvent>

#include "app/FileOpening.h"
#include "core/FileTableOps.h"
#include "core/SharedState.h"

namespace qv {

UtilityWindow::UtilityWindow(QWidget* parent) : QWidget(parent, Qt::Tool) { setMouseTracking(true); }

void UtilityWindow::watchMouseMoves() {
    for (QWidget* child : findChildren<QWidget*>()) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
}

bool UtilityWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && mouseMoved_) mouseMoved_();
    return QWidget::eventFilter(watched, event);
}

void UtilityWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    listFolder();
}

void UtilityWindow::mouseMoveEvent(QMouseEvent* event) {
    if (mouseMoved_) mouseMoved_();
    QWidget::mouseMoveEvent(event);
}

void LoadIntoSelectedWindows(const std::string& path) {
    OfferToSelectedWindows(path);
    ReleaseUnusedFiles();
}

}  // namespace qv
