#include "app/WorkspacePlacement.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QVariant>

#include <algorithm>
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

// Set on a window each time the fit into view moves it, until a restore
// of places has counted the move.
const char* const MovedIntoViewProperty = "qvMovedIntoView";

constexpr Qt::WindowStates NotNormal = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

// The dynamic property on a workspace frame that holds its place and size
// in the normal state.
const char* const NormalPlaceProperty = "qvNormalPlace";

// Notes a workspace frame's place and size whenever it moves or is resized
// in its normal state. Minimised, the frame is an icon strip, and
// maximised the whole workspace; the workspace keeps the place it comes
// back to to itself.
class NormalPlaceKeeper final : public QObject {
public:
    explicit NormalPlaceKeeper(QMdiSubWindow& frame) : QObject(&frame) {
        note(frame);
        frame.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize) note(*static_cast<QWidget*>(watched));
        return false;
    }

private:
    static void note(QWidget& frame) {
        if (!(frame.windowState() & NotNormal)) frame.setProperty(NormalPlaceProperty, frame.geometry());
    }
};

}  // namespace

QMdiSubWindow* addToWorkspace(QMdiArea& workspace, QWidget& window) {
    QMdiSubWindow* frame = workspace.addSubWindow(&window);
    if (frame) new NormalPlaceKeeper(*frame);
    return frame;
}

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

QRect savedPlaceOf(const QWidget& outer) {
    if (!(outer.windowState() & NotNormal)) return outer.geometry();
    if (outer.isWindow()) {
        const QRect normal = outer.normalGeometry();
        if (normal.isValid()) return normal;
    }
    const QVariant kept = outer.property(NormalPlaceProperty);
    return kept.isValid() ? kept.toRect() : outer.geometry();
}

void setPlaceFromTwips(QWidget& outer, WindowEdge which, double twips) {
    // The value is for the window in its normal state: set on an icon strip
    // or a maximised window it would be lost when the window comes back.
    // Its normal place is taken first: a window of its own keeps the
    // maximised size until the window manager has brought it back.
    const QRect normal = savedPlaceOf(outer);
    if (outer.windowState() & NotNormal) outer.setWindowState(outer.windowState() & ~NotNormal);
    const Living living = livingOf(outer);
    // The bounds hold for the whole window, frame included.
    const QRect withFrame = normal.marginsAdded(living.frame);
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
    if (place != outer.geometry()) outer.setGeometry(place);
}

namespace {

// Where a window is fitted into view, and the frame around its place there.
Living viewOf(const QWidget& outer) {
    if (const QMdiArea* mdi = workspaceOf(outer)) {
        // Once every window lies inside, the workspace needs no scroll bars:
        // its whole view is the area.
        QSize view = mdi->viewport()->size();
        if (mdi->verticalScrollBar()->isVisible()) view.rwidth() += mdi->verticalScrollBar()->width();
        if (mdi->horizontalScrollBar()->isVisible()) view.rheight() += mdi->horizontalScrollBar()->height();
        return {QRect(QPoint(0, 0), view), QMargins()};
    }
    // Frame included: the one the window manager gives, or until it is
    // known the one it is likely to give.
    return {livingOf(outer).area, outer.isWindow() ? frameOf(outer) : QMargins()};
}

bool isNormal(const QWidget& outer) { return !(outer.windowState() & NotNormal); }

// The outer rectangle, frame included, and the height of the title bar
// along its top: a workspace frame's own title bar, or the window
// manager's above a window of its own.
TitledRect titledRectOf(const QWidget& outer, const QMargins& frame) {
    if (auto* sub = qobject_cast<const QMdiSubWindow*>(&outer)) {
        const int title = sub->widget() ? sub->widget()->y()
                                        : sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
        return {sub->geometry(), title};
    }
    return {outer.geometry().marginsAdded(frame), frame.top()};
}

// The title bars of the workspace's windows in `main`, on the screen and
// as far as the workspace shows them: a window of its own brought back
// from a larger screen keeps clear of them where it can.
std::vector<QRect> workspaceTitleBarsIn(const QWidget& main) {
    std::vector<QRect> bars;
    const auto* mdi = main.findChild<const QMdiArea*>();
    if (!mdi) return bars;
    const QRect view(mdi->viewport()->mapToGlobal(QPoint(0, 0)), mdi->viewport()->size());
    for (const QMdiSubWindow* sub : mdi->subWindowList()) {
        if (!sub->isVisible()) continue;
        const QRect title(sub->mapToGlobal(QPoint(0, 0)), QSize(sub->width(), titledRectOf(*sub, {}).titleHeight));
        const QRect shown = title.intersected(view);
        if (!shown.isEmpty()) bars.push_back(shown);
    }
    return bars;
}

void moveTo(QWidget& outer, TitledRect& titled, const QPoint& at, const QMargins& frame) {
    if (at == titled.rect.topLeft()) return;
    titled.rect.moveTopLeft(at);
    outer.setGeometry(titled.rect.marginsRemoved(frame));
}

}  // namespace

void fitIntoView(QWidget& outer) {
    if (!isNormal(outer)) return;
    const Living view = viewOf(outer);
    const QRect place = savedPlaceOf(outer);
    const QRect fitted = FittedIntoView(place, view.frame, view.area);
    if (fitted == place) return;
    outer.setGeometry(fitted);
    outer.setProperty(MovedIntoViewProperty, true);
}

void beginRestoringPlace(QWidget& outer) { outer.setProperty(MovedIntoViewProperty, false); }

std::vector<QWidget*> fitRestoredWindowsIntoView(const std::vector<QWidget*>& windows, const QWidget* beside) {
    // Those the sheet put in view settle first, as the user arranged them;
    // those the fit had to move, as from a larger screen (also while the
    // sheet was read), then find room among them.
    std::vector<QWidget*> inPlace, moved;
    for (QWidget* outer : windows) {
        if (!outer || !outer->isVisible() || !isNormal(*outer)) continue;
        fitIntoView(*outer);
        (outer->property(MovedIntoViewProperty).toBool() ? moved : inPlace).push_back(outer);
        beginRestoringPlace(*outer);
    }
    // Only windows of their own can lie over the main window's bars.
    const auto keepClearFor = [&](const QWidget& outer) {
        std::vector<QRect> keepClear;
        if (beside && !workspaceOf(outer)) keepClear.push_back(titleAndMenuBarsOf(*beside));
        return keepClear;
    };

    std::vector<TitledRect> settled;
    const auto settle = [&](QWidget& outer, bool amongOthers) {
        const Living view = viewOf(outer);
        const std::vector<QRect> keepClear = keepClearFor(outer);
        TitledRect titled = titledRectOf(outer, view.frame);
        // A window of its own too large for the room beside the main
        // window's bars, as from a larger screen, is made smaller. A window
        // that keeps its own proportions (the print page's A4, of its
        // client area) may round up: a few more tries take that back.
        for (int tries = 0; tries < 3; ++tries) {
            const QSize fits = SizeClearOf(titled.rect.size(), view.area, keepClear);
            if (fits == titled.rect.size()) break;
            outer.resize(fits.shrunkBy(view.frame));
            titled = titledRectOf(outer, view.frame);
        }
        const std::vector<TitledRect> none;
        moveTo(outer, titled, PlaceClearOfTitleBars(titled, view.area, amongOthers ? settled : none, keepClear),
               view.frame);
        settled.push_back(titled);
    };
    for (QWidget* outer : inPlace) settle(*outer, false);
    for (QWidget* outer : moved) settle(*outer, true);

    // Windows of their own lie above the workspace's windows: once they
    // are clear of each other, a moved one also gives way to the title bars
    // of those where it can without hiding anything more of the others.
    if (!beside || moved.empty() || workspaceOf(*moved.front())) return moved;
    const std::vector<QRect> beneath = workspaceTitleBarsIn(*beside);
    if (beneath.empty()) return moved;
    for (size_t i = inPlace.size(); i < settled.size(); ++i) {
        QWidget& outer = *moved[i - inPlace.size()];
        std::vector<TitledRect> others = settled;
        others.erase(others.begin() + static_cast<std::ptrdiff_t>(i));
        const Living view = viewOf(outer);
        moveTo(outer, settled[i],
               PlaceClearOfTitleBars(settled[i], view.area, others, keepClearFor(outer), beneath), view.frame);
    }
    return moved;
}

void uncoverMovedTitleBars(const std::vector<QWidget*>& moved, const std::vector<QWidget*>& own) {
    const QMdiArea* mdi = moved.empty() ? nullptr : workspaceOf(*moved.front());
    if (!mdi) return;
    // The windows of their own as they lie over the workspace, in its
    // coordinates; beneath them, their title bars are no concern.
    std::vector<TitledRect> above;
    for (const QWidget* outer : own) {
        if (!outer || !outer->isVisible() || !isNormal(*outer)) continue;
        QRect rect = titledRectOf(*outer, viewOf(*outer).frame).rect;
        rect.moveTopLeft(mdi->viewport()->mapFromGlobal(rect.topLeft()));
        above.push_back({rect, 0});
    }
    if (above.empty()) return;
    for (QWidget* outer : moved) {
        if (!outer->isVisible() || !isNormal(*outer)) continue;
        TitledRect titled = titledRectOf(*outer, {});
        const QRect bar(titled.rect.topLeft(), QSize(titled.rect.width(), titled.titleHeight));
        if (std::none_of(above.begin(), above.end(), [&](const TitledRect& a) { return a.rect.intersects(bar); }))
            continue;
        std::vector<TitledRect> others = above;
        for (const QMdiSubWindow* sub : mdi->subWindowList())
            if (sub != outer && sub->isVisible() && isNormal(*sub)) others.push_back(titledRectOf(*sub, {}));
        // Where no place leaves its title bar clear, it moves only where
        // less of the bar is hidden: a crowded workspace never buries it.
        std::vector<QRect> covers;
        for (const TitledRect& other : others) covers.push_back(other.rect);
        const auto hiddenAt = [&](const QPoint& at) {
            return CoveredArea(QRect(at, QSize(bar.width(), bar.height())), covers);
        };
        const QPoint at = PlaceClearOfTitleBars(titled, viewOf(*outer).area, others, {});
        if (hiddenAt(at) < hiddenAt(bar.topLeft())) moveTo(*outer, titled, at, {});
    }
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
