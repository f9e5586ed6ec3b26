#pragma once
// Where the windows of the program sit: every place and size that a sheet
// or a tool hands in is held to sane bounds here, and a new window opens in
// view. A workspace window is measured by its workspace frame inside the
// workspace's visible area; a window of its own (the print page, File
// info) by its client rectangle inside the screen, with its frame around
// it.
#include <QRect>

#include "app/model/WindowGeometry.h"

class QWidget;

namespace qv {

// The widget whose place and size are the window's: the workspace frame
// around `window` when there is one, else the window itself.
QWidget* OuterWindowOf(QWidget* window);

// The place and size of an outer window as saved and restored: the frame's
// rectangle inside the workspace, or a window of its own's client
// rectangle on the screen. Saving and restoring use the same point, so a
// place comes back exactly.
QRect savedPlaceOf(const QWidget& outer);

// Sets one place or size value of `outer` from outside input, in twips:
// the whole window is then held to sane bounds (BoundedWindowRect) within
// the workspace or the screen.
void setPlaceFromTwips(QWidget& outer, WindowEdge which, double twips);

// The largest size a window may take on the screen `window` is on.
QSize largestWindowSizeFor(const QWidget& window);

// A new window opens where the user can see it: the workspace frame around
// `window` is placed by its real size, wholly inside the workspace's
// visible area when it fits there, beside the other windows. A window
// without a workspace frame, or a maximised one, is left as it is.
void keepInsideWorkspace(QWidget& window);

// A window of its own about to be shown: one that was never placed opens at
// the top right of `beside` (the main window), clear of the plots that
// fill the workspace from the left; then, placed or not, it is moved,
// never shrunk, so that it lies wholly on the screen, frame included.
void openOwnWindowInView(QWidget& window, const QWidget* beside);

// A window of its own being shown: moved, never shrunk, so that it lies
// wholly on the screen, title bar and frame included.
void keepOnScreen(QWidget& window);

}  // namespace qv
