#pragma once
// Where the windows of the program sit: every place and size that a sheet
// or a tool hands in is held to sane bounds here, and a new window opens in
// view. A workspace window is measured by its workspace frame inside the
// workspace's visible area; a window of its own (the print page, File
// info) by its client rectangle inside the screen, with its frame around
// it.
#include <QRect>

#include <vector>

#include "app/model/WindowGeometry.h"

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace qv {

// The widget whose place and size are the window's: the workspace frame
// around `window` when there is one, else the window itself.
QWidget* OuterWindowOf(QWidget* window);

// Puts `window` into the workspace in a frame of its own, which from then
// on remembers its place and size in the normal state (savedPlaceOf).
QMdiSubWindow* addToWorkspace(QMdiArea& workspace, QWidget& window);

// The place and size of an outer window as saved and restored: the frame's
// rectangle inside the workspace, or a window of its own's client
// rectangle on the screen. Saving and restoring use the same point, so a
// place comes back exactly. A minimised or maximised window gives the
// place and size it has in its normal state, where it comes back to.
QRect savedPlaceOf(const QWidget& outer);

// Sets one place or size value of `outer` from outside input, in twips:
// the whole window is then held to sane bounds (BoundedWindowRect) within
// the workspace or the screen. A minimised or maximised window is brought
// back to its normal state first, which the value is for.
void setPlaceFromTwips(QWidget& outer, WindowEdge which, double twips);

// The largest client size a window of its own may take on the screen it is
// on: the screen's available area less the window's frame.
QSize largestClientSizeOnScreen(const QWidget& window);

// The window lies wholly in view: a workspace frame inside the workspace's
// visible area, a window of its own on the screen, frame included. It stays
// where it is when it lies there already, else it is moved (FittedIntoView),
// and shrunk only where it is larger than its area. A maximised or
// minimised window is left to the window manager.
void fitIntoView(QWidget& outer);

// A window about to take its place and size from a sheet: from now on the
// fits into view that move it count for fitRestoredWindowsIntoView. New
// workspace windows start so.
void beginRestoringPlace(QWidget& outer);

// The windows a sheet brought back, all in the workspace or all windows of
// their own, each fitted into view (fitIntoView). Then, where the area has
// room, no window of its own lies over the title and menu bars of `beside`
// (the main window), and a window the fit had to move (as from a sheet of
// a larger screen) neither hides another one's title bar nor has its own
// hidden, and one of its own keeps off the workspace windows' title bars
// too; one of its own too large for the room beside the main window's
// bars is made smaller (SizeClearOf). Windows that lay in view where the
// sheet put them keep the places the user gave them among each other; a
// window that must give way moves the shortest way.
// The windows the fit had to move.
std::vector<QWidget*> fitRestoredWindowsIntoView(const std::vector<QWidget*>& windows, const QWidget* beside);

// After the windows of their own (`own`) have found their places: a
// workspace window the fit had to move (`moved`) whose title bar lies under
// one of them goes to the nearest place in the workspace where its title bar
// is clear of them and of the other workspace windows, where there is one.
void uncoverMovedTitleBars(const std::vector<QWidget*>& moved, const std::vector<QWidget*>& own);

// A new window opens where the user can see it: the workspace frame around
// `window`, no larger than the workspace's visible area, is placed by its
// real size wholly inside it, beside the other windows. A window without a
// workspace frame, or a maximised one, is left as it is.
void keepInsideWorkspace(QWidget& window);

// A window of its own about to be shown: one that was never placed opens at
// a free spot of the screen (OwnWindowPlace): beside the `others` shown
// already, never over the title and menu bars of `beside` (the main
// window); then, placed or not, it is fitted into view.
void openOwnWindowInView(QWidget& window, const QWidget* beside, const std::vector<const QWidget*>& others);

// A window of its own being shown: fitted wholly on the screen, title bar
// and frame included.
void keepOnScreen(QWidget& window);

}  // namespace qv
