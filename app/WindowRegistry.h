#pragma once
// The registry of child windows: which kinds exist, how a window of a kind is
// made, and the creation sequence every creator (the Create menu, opening a
// file, sheets, tools) shares. A window's slot in g.WindowRegistry is its ID.
#include <functional>
#include <string>

class QWidget;

namespace qv {

class PlotWindow;

// Makes a new, not yet shown window of one kind.
using WindowMaker = std::function<PlotWindow*()>;

// Each window kind registers its maker once at start-up under its type name
// ("DotPlot", "Histogram", ...). Registering a name again replaces the maker.
// This is also how a kind joins the analysis sheet: the sheet reader makes
// windows of registered kinds only, and reads and writes their lines through
// PlotWindow::SaveInfo / LoadInfo (see there).
void registerWindowKind(const std::string& type, WindowMaker maker);
bool hasWindowKind(const std::string& type);

// The main window installs how a new window is shown as its child
// (added to the MDI area and made visible). Without it windows are shown
// as top-level widgets (tests of a lone window).
using WindowShower = std::function<void(PlotWindow& window)>;
void setWindowShower(WindowShower shower);

// First slot 1..MaxWindows not in use; 0 when the registry is full (no message).
int firstFreeWindowSlot();

// The whole creation sequence for a window of `type`: takes the first free slot
// (InUse true, Selected false, before the window's Alusta runs), shows the
// "Max number of windows" message when there is none, stores Type and Form,
// shows the window, deselects the others for the kinds that do so, runs
// Alusta(slot) and autosaves for the kinds that do. Returns the slot, or 0
// when nothing was created (full registry or unknown kind).
int createWindow(const std::string& type);

// Same sequence into a given free slot (the sheet reader names the slot);
// returns false when the slot is out of range, in use or the kind unknown.
bool createWindowInSlot(const std::string& type, int slot);

// The window in slot id, or nullptr when the slot is not in use.
PlotWindow* windowAt(int id);

// Clears the selection of every file window and removes the "[S] " prefix
// from their captions.
void DeselectAllWindows();
// "Select all": every file window in use is selected and its caption prefixed.
void SelectAllWindows();

// Frees slot id after its window closed: InUse false, Form null, FileIndex 0.
void releaseWindowSlot(int id);

// The part of a file window's activation that every kind shares: nothing
// while a sheet is being read; otherwise, unless Shift is held, every file
// window is deselected; then window id is selected, its caption prefixed
// and it becomes ActiveWindowSlot. The kind adds its own steps after it.
void activateFileWindow(int id);

// The registry slot holding this window, 0 when none does.
int windowSlotOf(const PlotWindow* window);

}  // namespace qv
