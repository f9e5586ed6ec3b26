#pragma once
// Closed windows are hidden at once and deleted only once control is back in
// the program's top-level event loop. Handlers that process events (the
// redraw-all, long loops, modal boxes) may see their own window closed by a
// click that arrives meanwhile; the window object then stays alive until
// every handler on the stack has returned, so none of them writes to freed
// memory. A closed window is out of the registry at once (its UnloadWindow
// frees the slot), so handlers that must not act on a closed window check
// windowAt(id) after such a call.
//
// Qt's deleteLater is not enough here: an object closed from inside a
// handler's processEvents is deleted before that handler returns.
class QWidget;

namespace qv {

// The end of every window kind's close: its workspace frame (with the window
// inside) is hidden and deleted later, once. A lone window without a frame
// belongs to whoever made it and is only hidden.
void discardWindow(QWidget& window);

// Hides `widget` now and deletes it once control is back in the top-level
// event loop; asking twice deletes it once.
void deleteWhenIdle(QWidget* widget);

// Deletes every widget waiting. Runs by itself whenever the top-level event
// loop is about to wait for events (nested loops of modal boxes and menus
// don't count); tests call it where the program would be back in that loop.
void deleteDiscardedWidgets();

// How many widgets are waiting to be deleted.
int discardedWidgetsWaiting();

}  // namespace qv
