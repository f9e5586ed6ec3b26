#include "app/WorkspacePlacement.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace qv {

void keepInsideWorkspace(QWidget& window) {
    auto* frame = qobject_cast<QMdiSubWindow*>(window.parentWidget());
    if (!frame || !frame->mdiArea() || frame->isMaximized()) return;
    const QSize view = frame->mdiArea()->viewport()->size();
    const QPoint at(std::max(0, std::min(frame->x(), view.width() - frame->width())),
                    std::max(0, std::min(frame->y(), view.height() - frame->height())));
    if (at != frame->pos()) frame->move(at);
}

}  // namespace qv
