#include "app/WorkspacePlacement.h"

#include <QGuiApplication>
#include <QMainWindow>
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

QRect screenArea(const QWidget& widget) {
    const QScreen* s = screenOf(widget);
    return s ? s->availableGeometry() : QRect(0, 0, 1600, 1000);
}

QSize screenSize(const QWidget& widget) { return screenArea(widget).size(); }

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

const QMdiArea* workspaceOf(const QWidget& outer) {
    auto* sub = qobject_cast<const QMdiSubWindow*>(&outer);
    return sub ? sub->mdiArea() : nullptr;
}

Living livingOf(const QWidget& outer) {
    if (const QMdiArea* mdi = workspaceOf(outer)) {
        // A window placed far out makes the workspace show its scroll
        // bars, which then cover the bottom and right of the view.
        QSize view = mdi->viewport()->size();
        const int bar = mdi->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, mdi);
        if (!mdi->horizontalScrollBar()->isVisible()) view.rheight() -= bar;
        if (!mdi->verticalScrollBar()->isVisible()) view.rwidth() -= bar;
        return {QRect(QPoint(0, 0), view), QMargins()};
    }
    if (!outer.isWindow() && outer.parentWidget()) return {outer.parentWidget()->rect(), QMargins()};
    // Only a frame known for certain counts here: a guessed one would move
    // a restored place away from where it was saved.
    return {screenArea(outer), knownFrameOf(outer)};
}

// The main window's title and menu bars on the screen, which no window of
// its own may open over: the main window could not be moved, nor its
// menus reached.
QRect titleAndMenuBarsOf(const QWidget& main) {
    const QRect whole = main.geometry().marginsAdded(frameOf(main));
    int bottom = main.geometry().top();
    if (const auto* window = qobject_cast<const QMainWindow*>(&main)) {
        if (const QWidget* bar = window->menuWidget(); bar && !bar->isHidden())
            bottom = bar->mapToGlobal(QPoint(0, bar->height())).y();
    }
    return QRect(whole.left(), whole.top(), whole.width(), std::max(0, bottom - whole.top()));
}

}  // namespace

QWidget* OuterWindowOf(QWidget* window) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) return sub;
    return window;
}

QSize largestClientSizeOnScreen(const QWidget& window) {
    const QMargins frame = frameOf(window);
    const QSize screen = screenSize(window);
    return QSize(std::max(1, screen.width() - frame.left() - frame.right()),
                 std::max(1, screen.height() - frame.top() - frame.bottom()));
}

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

void fitIntoView(QWidget& outer) {
    if (outer.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) return;
    QRect area;
    QMargins frame;
    if (const QMdiArea* mdi = workspaceOf(outer)) {
        // Once every window lies inside, the workspace needs no scroll bars:
        // its whole view is the area.
        QSize view = mdi->viewport()->size();
        if (mdi->verticalScrollBar()->isVisible()) view.rwidth() += mdi->verticalScrollBar()->width();
        if (mdi->horizontalScrollBar()->isVisible()) view.rheight() += mdi->horizontalScrollBar()->height();
        area = QRect(QPoint(0, 0), view);
    } else {
        area = livingOf(outer).area;
        // Frame included: the one the window manager gives, or until it is
        // known the one it is likely to give.
        if (outer.isWindow()) frame = frameOf(outer);
    }
    const QRect place = savedPlaceOf(outer);
    const QRect fitted = FittedIntoView(place, frame, area);
    if (fitted != place) outer.setGeometry(fitted);
}

void keepInsideWorkspace(QWidget& window) {
    auto* frame = qobject_cast<QMdiSubWindow*>(window.parentWidget());
    if (!frame || !frame->mdiArea() || frame->isMaximized()) return;
    const QRect view(QPoint(0, 0), frame->mdiArea()->viewport()->size());
    // A size remembered from a window made large may not fit any more.
    const QSize size = frame->size().boundedTo(view.size());
    if (size != frame->size()) frame->resize(size);
    std::vector<QRect> others;
    for (QMdiSubWindow* sub : frame->mdiArea()->subWindowList())
        if (sub != frame && sub->isVisible() && !sub->isMinimized()) others.push_back(sub->geometry());
    const QPoint at = NewWindowPlace(frame->size(), view, others);
    if (at != frame->pos()) frame->move(at);
}

void keepOnScreen(QWidget& window) {
    if (window.isWindow()) fitIntoView(window);
}

void openOwnWindowInView(QWidget& window, const QWidget* beside, const std::vector<const QWidget*>& others) {
    if (!window.isWindow()) return;
    if (!window.testAttribute(Qt::WA_Moved) && beside) {
        const QMargins frame = frameOf(window);
        // Its layout may still widen it to what its contents need.
        const QSize size = window.size().expandedTo(window.minimumSizeHint());
        const QRect whole = QRect(window.pos(), size).marginsAdded(frame);
        std::vector<QRect> shown;
        for (const QWidget* other : others)
            if (other && other != &window && other->isVisible() && !other->isMinimized())
                shown.push_back(other->geometry().marginsAdded(frameOf(*other)));
        const QPoint at = OwnWindowPlace(whole.size(), screenArea(*beside), shown, {titleAndMenuBarsOf(*beside)});
        window.setGeometry(QRect(at, whole.size()).marginsRemoved(frame));
    }
    keepOnScreen(window);
}

}  // namespace qv
