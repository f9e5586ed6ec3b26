#include "app/WorkspacePlacement.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include <vector>

namespace qv {

namespace {

QScreen* screenOf(const QWidget& widget) {
    if (QScreen* s = widget.screen()) return s;
    return QGuiApplication::primaryScreen();
}

QSize screenSize(const QWidget& widget) {
    const QScreen* s = screenOf(widget);
    return s ? s->availableGeometry().size() : QSize();
}

// The frame a window of its own has from the window manager; none while
// it is not known.
QMargins knownFrameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

// The same for a window about to open: until it has been shown its frame
// is not known, and the style's title bar stands in for it.
QMargins frameOf(const QWidget& window) {
    const QMargins known = knownFrameOf(window);
    if (!known.isNull()) return known;
    // A border of a few pixels all round, as window managers draw them.
    constexpr int border = 4;
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return QMargins(border, title + border, border, border);
}

// Where the outer window lives, in the coordinates of savedPlaceOf, and the
// frame around its saved rectangle.
struct Living {
    QRect area;
    QMargins frame;
};

Living livingOf(const QWidget& outer) {
    if (auto* sub = qobject_cast<const QMdiSubWindow*>(&outer)) {
        if (const QMdiArea* mdi = sub->mdiArea()) {
            // A window placed far out makes the workspace show its scroll
            // bars, which then cover the bottom and right of the view.
            QSize view = mdi->viewport()->size();
            const int bar = mdi->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, mdi);
            if (!mdi->horizontalScrollBar()->isVisible()) view.rheight() -= bar;
            if (!mdi->verticalScrollBar()->isVisible()) view.rwidth() -= bar;
            return {QRect(QPoint(0, 0), view), QMargins()};
        }
    }
    if (!outer.isWindow() && outer.parentWidget()) return {outer.parentWidget()->rect(), QMargins()};
    // Only a frame known for certain counts here: a guessed one would move
    // a restored place away from where it was saved.
    const QScreen* s = screenOf(outer);
    return {s ? s->availableGeometry() : QRect(0, 0, 1600, 1000), knownFrameOf(outer)};
}

}  // namespace

QWidget* OuterWindowOf(QWidget* window) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) return sub;
    return window;
}

QSize largestWindowSizeFor(const QWidget& window) { return LargestWindowSize(screenSize(window)); }

QRect savedPlaceOf(const QWidget& outer) { return outer.geometry(); }

void setPlaceFromTwips(QWidget& outer, WindowEdge which, double twips) {
    const Living living = livingOf(outer);
    // The bounds hold for the whole window, frame included.
    const QRect withFrame = savedPlaceOf(outer).marginsAdded(living.frame);
    const double frameTwips = [&] {
        switch (which) {
        case WindowEdge::Left: return -double(living.frame.left());
        case WindowEdge::Top: return -double(living.frame.top());
        case WindowEdge::Width: return double(living.frame.left() + living.frame.right());
        case WindowEdge::Height: return double(living.frame.top() + living.frame.bottom());
        }
        return 0.0;
    }() * TwipsPerPixel;
    const QRect bounded = WithTwipsValue(withFrame, which, twips + frameTwips, living.area, screenSize(outer));
    const QRect place = bounded.marginsRemoved(living.frame);
    if (place != savedPlaceOf(outer)) outer.setGeometry(place);
}

void keepInsideWorkspace(QWidget& window) {
    auto* frame = qobject_cast<QMdiSubWindow*>(window.parentWidget());
    if (!frame || !frame->mdiArea() || frame->isMaximized()) return;
    const QRect view(QPoint(0, 0), frame->mdiArea()->viewport()->size());
    std::vector<QRect> others;
    for (QMdiSubWindow* sub : frame->mdiArea()->subWindowList())
        if (sub != frame && sub->isVisible() && !sub->isMinimized()) others.push_back(sub->geometry());
    const QPoint at = NewWindowPlace(frame->size(), view, others);
    if (at != frame->pos()) frame->move(at);
}

void keepOnScreen(QWidget& window) {
    if (!window.isWindow()) return;
    const QScreen* s = screenOf(window);
    if (!s) return;
    const QMargins frame = frameOf(window);
    const QRect whole = window.geometry().marginsAdded(frame);
    const QRect inView = MovedIntoView(whole, s->availableGeometry());
    if (inView != whole) window.setGeometry(inView.marginsRemoved(frame));
}

void openOwnWindowInView(QWidget& window, const QWidget* beside) {
    if (!window.isWindow()) return;
    if (!window.testAttribute(Qt::WA_Moved) && beside) {
        const QMargins frame = frameOf(window);
        const QRect main = beside->geometry();
        // Its layout may still widen it to what its contents need.
        const QSize size = window.size().expandedTo(window.minimumSizeHint());
        const QRect whole = QRect(window.pos(), size).marginsAdded(frame);
        const QPoint topRight(main.right() - whole.width(), main.top() + ReachableTitleHeight);
        window.setGeometry(QRect(topRight, whole.size()).marginsRemoved(frame));
    }
    keepOnScreen(window);
}

}  // namespace qv
