#pragma once
// The road by which data files reach the windows: the "Open FCS..." and
// "Open TXT file..." commands, the one load routine every opener shares
// (menus, sheets, browsers, tools), and stepping to the next or previous data
// file of the folder a window's file came from.
//
// Paths are given as the file system names them (bytes; folders end with
// "/"). A FileTable slot holds one loaded file for as long as some window
// shows it; a file opened again (same content key and same full path) shares
// its slot and is not read again.
#include <string>
#include <vector>

#include "app/model/FolderListing.h"
#include "app/model/WalkListing.h"

namespace qv {

// Menu commands of the main window's File menu.
// "Open FCS...": offers the chosen file to every selected window; when no
// window is selected, a new dot plot takes it. Afterwards (also when the
// dialog was cancelled) frees the files no window shows and autosaves.
void FileOpenFCS_Click();
// "Open TXT file...": the same with the tab-delimited text reader.
void FileOpenTXT_Click();
// "Next file" / "Previous file": every selected window that shows a file
// steps from its own file, in slot order.
void FileNextFile_Click();
void FilePreviousFile_Click();

// Loads the file at `path` and hands it to window `window` (0 for none).
// fileSlot 0: reuses the FileTable slot holding the same file (same key and
// same full path), else reads the file into the first free slot, compensates
// it and recomputes every population. fileSlot not 0 (the sheet reader, with
// window 0): reads the file into that slot with the reader its content calls
// for (an FCS header, else a text table), compensates it, recomputes
// nothing. Shows "Load error" for a refused file and "Too many files open"
// when the table is full. True when a new file was read or the
// file reached the window.
bool TiedostonLukuToimenPiteet(std::string path, int window, int fileSlot);
// The same for a full table, in place of the file in slot `ownSlot`, which
// only `window` shows: that file stays in its slot, and the window shows it,
// until the new file has been read, so a file the reader refuses leaves the
// window as it was, also while its message is open.
bool LoadInPlaceOfOwnFile(std::string path, int window, int ownSlot);
// Hands `path` to every selected window in turn through
// TiedostonLukuToimenPiteet; a file the reader refuses is reported once and
// offered to no further window. False when no window is selected.
bool OfferToSelectedWindows(const std::string& path);

// Lists the FCS files of `folder` (sorted by name without regard to case)
// into FolderFileList and returns their number.
int TeeLista(const std::string& folder);
// The list made by the last TeeLista: element 0 holds no name, names from 1.
const std::vector<std::string>& FolderFileList();

// Loads the first FCS file of `folder` into the window (tools); then frees
// the files no window shows and autosaves. True when a file was loaded.
bool EnsimmainenTiedostoHakemisto(int window, const std::string& folder);
// Loads the next / previous FCS file of the folder of the window's file into
// the window; false, loading nothing, at the ends of the list (no wrap) or
// when the window shows no file. Then frees unused files and autosaves.
bool SeuraavaTiedosto(int window);
bool EdellinenTiedosto(int window);
// Tools walk a folder through listings that show it as it is at every step:
// a file that arrives while the run goes on is counted and visited. The
// folder is read again only when it may have changed, and a file's header
// only when the file may have changed, so a walk over n files stays in
// proportion to n. `keepWorking` is asked between files and between the
// entries of a listing; when it says stop, the work ends there (nothing
// half-listed is kept). The files a walk passes because the reader refuses
// them are passed without a message and noted for the end of the run.

// The number of FCS files in `folder` as it is now; -1 when `keepWorking`
// ended the listing.
int WalkFileCount(const std::string& folder, const KeepWorking& keepWorking);
// Loads the first file of `folder` the reader takes into the window,
// passing refused files. Then frees unused files and autosaves. True when
// the window took a file.
bool FirstLoadableFile(int window, const std::string& folder, const KeepWorking& keepWorking);
// The step forward or back from the window's file, past the files the reader
// refuses, to the next loadable file; false, with the window's file
// unchanged, when no loadable file follows. An unattended walk through a
// folder is never stopped by a damaged file.
bool StepToLoadableFile(int window, bool forward, const KeepWorking& keepWorking);
// The clock the walks' listings hold the file system's time stamps against
// (WallClockNow unless set; an empty one restores it). Tests set one far
// ahead, as if the folder had been still for long, to see what is kept.
void SetWalkClock(WallClock clock);
// A run starts: the next walk lists its folder and reads its headers
// afresh, and no passed file is noted.
void ForgetWalkListing();
// Names the files walks passed as unreadable since the run started in one
// message ("Load error"), each once, in the order met, with the reader's
// reason; nothing when there are none. Then forgets them.
void ReportPassedFiles();

// Which reader a file read into a new slot goes through: "" for the FCS
// reader, "txt" while "Open TXT file..." runs its loads.
const std::string& LoadFileType();

}  // namespace qv
