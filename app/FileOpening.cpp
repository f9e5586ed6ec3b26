#include "app/FileOpening.h"
#include "app/model/WaitCursor.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QString>

#include <map>
#include <memory>
#include <new>
#include <optional>
#include <set>

#include "app/Dialogs.h"
#include "app/MainServices.h"
#include "app/PlotWindow.h"
#include "app/WindowRegistry.h"
#include "app/model/FileSystemText.h"
#include "app/model/FolderListing.h"
#include "app/model/PassedFiles.h"
#include "app/model/PopulationRecompute.h"
#include "app/model/WalkListing.h"
#include "core/Compensation.h"
#include "core/FcsReader.h"
#include "core/FileKey.h"
#include "core/FileTableOps.h"
#include "core/SharedState.h"
#include "core/TxtReader.h"

namespace qv {

namespace {

std::string loadFileType;
std::vector<std::string> folderFileList(1);

enum class LoadOutcome { Done, Refused, TableFull };
struct LoadResult {
    bool result = false;  // what the load routine answers its callers
    LoadOutcome outcome = LoadOutcome::Done;
};
// The load routine, telling a refused file from a full table. `ownSlot`, not
// 0, is the slot of the window's own file, which a full table gives up to the
// new file once that has been read.
LoadResult loadFile(std::string path, int window, int fileSlot, int ownSlot = 0);


// Sets LoadFileType for the loads of one command and clears it on every way out.
class LoadFileTypeScope {
public:
    explicit LoadFileTypeScope(const char* type) { loadFileType = type; }
    ~LoadFileTypeScope() { loadFileType.clear(); }
    LoadFileTypeScope(const LoadFileTypeScope&) = delete;
    LoadFileTypeScope& operator=(const LoadFileTypeScope&) = delete;
};

bool isFileSlot(int slot) { return slot >= 1 && slot <= g.MaxFiles && slot < static_cast<int>(g.FileTable.size()); }
bool isWindowSlot(int id) { return id >= 1 && id <= g.MaxWindows && id < static_cast<int>(g.WindowRegistry.size()); }

std::string toFileSystem(const QString& path) { return QFile::encodeName(path).toStdString(); }

// While set, a refused file is passed over without its message (tool
// walks); it is noted instead, for the one message at the end of the run.
bool quietRefusals = false;
PassedFiles passedFiles;

// The message names the file (as the file system encodes its name), so a
// refusal met while stepping through a folder says which file it was, and
// gives the reader's reason.
void showLoadError(const std::string& path, const FileRecord& refused) {
    if (quietRefusals) {
        passedFiles.note(path, refused.RefusalReason);
        return;
    }
    QString text = QString::fromLatin1(LoadErrorText) + QLatin1Char('\n') + shownFileSystemText(path);
    if (!refused.RefusalReason.empty()) text += QLatin1Char('\n') + QString::fromLatin1(refused.RefusalReason);
    showMessage(text, QString::fromLatin1(LoadErrorTitle));
}

void showTableFull() {
    showMessage(QStringLiteral("Loading failed: There can be only ") + QString::number(g.MaxFiles) +
                    QStringLiteral(" files open at a time."),
                QStringLiteral("Too many files open"));
}

// A refused record for a file too large to hold in memory, so that it is
// reported like any other file the readers cannot take.
FileRecord refusedForMemory() {
    FileRecord record;
    record.RefusalReason = "There is not enough memory to load the file.";
    return record;
}

FileRecord readFcs(const std::string& path) {
    try {
        return ReadFcsFile(path);
    } catch (const std::bad_alloc&) {
        return refusedForMemory();
    }
}

enum class Clipboard { Fill, Leave };

FileRecord readTxt(const std::string& path, Clipboard clipboard = Clipboard::Fill) {
    TxtReadResult result;
    try {
        result = ReadTxtFile(path);
    } catch (const std::bad_alloc&) {
        return refusedForMemory();
    }
    // The text reader's copy of the table goes to the clipboard, replacing its
    // text, also when the copy is empty (a table without events or names).
    if (result.Record.Loaded && clipboard == Clipboard::Fill) {
        if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            app->clipboard()->setText(QString::fromLatin1(result.ClipboardText));
    }
    return std::move(result.Record);
}

// A file reopened from a sheet, an autosave or a package: the sheet names
// no reader, so the file's content chooses one, the FCS reader for an FCS
// header and the text reader otherwise. The user's clipboard stays as it is.
FileRecord readByContent(const std::string& path) {
    return HasFcsHeader(path) ? readFcs(path) : readTxt(path, Clipboard::Leave);
}

void autosave() {
    if (MainServices* services = mainServices()) services->TalletaNakyma(QStringLiteral("Autosave"));
}

// The common end of every command: free what no window shows, then autosave.
void finishCommand() {
    ReleaseUnusedFiles();
    autosave();
}

// Offers `path` to every selected window; a new dot plot takes it when none is selected.
void openIntoSelectedWindows(const std::string& path) {
    if (OfferToSelectedWindows(path)) return;
    // The new window's slot is taken before its Alusta runs, so nothing
    // started from Alusta can hand the same slot out again. A full registry
    // creates nothing and says nothing.
    const int slot = firstFreeWindowSlot();
    if (slot == 0) return;
    if (!createWindowInSlot("DotPlot", slot)) return;
    TiedostonLukuToimenPiteet(path, slot, 0);
}

void openCommand(const QString& title, const QString& filter, const char* fileType) {
    const std::optional<QString> chosen = dialogs().openFileName(title, filter, QString());
    if (chosen && !chosen->isEmpty()) {
        LoadFileTypeScope type(fileType);
        openIntoSelectedWindows(toFileSystem(*chosen));
    }
    finishCommand();
}

// Loads the name at `pos` of the list just made for `folder` into the window.
bool loadListed(const std::string& folder, int pos, int window) {
    return TiedostonLukuToimenPiteet(folder + folderFileList[static_cast<size_t>(pos)], window, 0);
}

enum class Step { Next, Previous };

// A step that stopped at a file the reader refused: the window keeps its own
// file, but its next step goes on from the refused one, so a folder holding a
// damaged file is no wall. Kept only while the window still shows the file
// it stepped from, and only for a step the same way.
struct RefusedStep {
    Step step = Step::Next;
    std::string folder;
    std::string fromName;
    int32_t fromKey = 0;
    std::string refusedName;
};
std::map<int, RefusedStep> refusedSteps;

// The paths refused during one Next/Previous command over several windows:
// each is read and reported once, not once per window.
std::set<std::string>* refusedInCommand = nullptr;

std::optional<RefusedStep> takeRefusedStep(int window) {
    auto it = refusedSteps.find(window);
    if (it == refusedSteps.end()) return std::nullopt;
    RefusedStep r = std::move(it->second);
    refusedSteps.erase(it);
    return r;
}

bool stepFile(int window, Step step) {
    bool result = false;
    const int f = isWindowSlot(window) && g.WindowRegistry[window].InUse ? g.WindowRegistry[window].FileIndex : 0;
    const std::optional<RefusedStep> refused = takeRefusedStep(window);
    // A window without a file has no folder to step through.
    if (isFileSlot(f) && g.FileTable[f].FileKey != 0) {
        const std::string folder = g.FileTable[f].Folder;
        const std::string shown = g.FileTable[f].FileName;
        const int32_t shownKey = g.FileTable[f].FileKey;
        const bool fromRefused =
            refused && refused->step == step && refused->folder == folder && refused->fromName == shown && refused->fromKey == shownKey;
        const std::string& name = fromRefused ? refused->refusedName : shown;
        const int n = TeeLista(folder);
        int pos = 0;
        for (int i = 1; i <= n; ++i) {
            if (folderFileList[static_cast<size_t>(i)] == name) {
                pos = i;
                break;
            }
        }
        int target = 0;
        if (step == Step::Next) {
            // A file that is not in the list (a text table) steps to the first listed file.
            if (n > 1 && pos < n) target = pos + 1;
        } else {
            if (pos > 1) target = pos - 1;
        }
        if (target != 0) {
            const std::string targetName = folderFileList[static_cast<size_t>(target)];
            const std::string path = folder + targetName;
            LoadOutcome outcome = LoadOutcome::Refused;
            if (!refusedInCommand || !refusedInCommand->contains(path)) {
                const LoadResult loaded = loadFile(path, window, 0);
                result = loaded.result;
                outcome = loaded.outcome;
            }
            if (outcome == LoadOutcome::Refused) {
                refusedSteps[window] = RefusedStep{step, folder, shown, shownKey, targetName};
                if (refusedInCommand) refusedInCommand->insert(path);
            }
        }
    }
    finishCommand();
    return result;
}

void stepSelectedWindows(Step step) {
    std::set<std::string> refused;
    refusedInCommand = &refused;
    struct Reset {
        ~Reset() { refusedInCommand = nullptr; }
    } reset;
    for (int w = 1; w <= g.MaxWindows && w < static_cast<int>(g.WindowRegistry.size()); ++w) {
        const WindowRecord& rec = g.WindowRegistry[w];
        if (rec.InUse && rec.FileIndex != 0 && rec.Selected) stepFile(w, step);
    }
}

}  // namespace

const std::string& LoadFileType() { return loadFileType; }

const std::vector<std::string>& FolderFileList() { return folderFileList; }

void FileOpenFCS_Click() {
    openCommand(QStringLiteral("Open FCS file"), QStringLiteral("FCS files (*)"), "");
}

void FileOpenTXT_Click() {
    openCommand(QStringLiteral("Open Tabbed TXT file"), QStringLiteral("Tabbed TXT files (*.txt)"), "txt");
}

void FileNextFile_Click() { stepSelectedWindows(Step::Next); }
void FilePreviousFile_Click() { stepSelectedWindows(Step::Previous); }

bool TiedostonLukuToimenPiteet(std::string path, int window, int fileSlot) {
    return loadFile(std::move(path), window, fileSlot).result;
}

bool LoadInPlaceOfOwnFile(std::string path, int window, int ownSlot) {
    return loadFile(std::move(path), window, 0, ownSlot).result;
}

bool OfferToSelectedWindows(const std::string& path) {
    bool offered = false;
    for (int w = 1; w <= g.MaxWindows && w < static_cast<int>(g.WindowRegistry.size()); ++w) {
        const WindowRecord& rec = g.WindowRegistry[w];
        if (!rec.InUse || !rec.Selected) continue;
        offered = true;
        // One refusal is one message: the same file is not read and
        // refused again for the next window.
        if (loadFile(path, w, 0).outcome == LoadOutcome::Refused) break;
    }
    return offered;
}

namespace {

LoadResult loadFile(std::string path, int window, int fileSlot, int ownSlot) {
    LoadResult out;
    bool& result = out.result;
    int slot = 0;
    if (fileSlot != 0) {
        // The sheet reader names the slot; one outside the table cannot be filled.
        if (!isFileSlot(fileSlot)) return out;
        {
            WaitCursor wait;
            // Whatever the slot held goes first, so two files' data never
            // sit in memory side by side.
            g.FileTable[fileSlot] = FileRecord{};
            g.FileTable[fileSlot] = readByContent(path);
        }
        FileRecord& record = g.FileTable[fileSlot];
        if (!record.Loaded) {
            // A refused record carries key 0, so the slot stays free.
            record.FileKey = 0;
            showLoadError(path, record);
            out.outcome = LoadOutcome::Refused;
            return out;
        }
        ApplyCompensation(record);
        slot = fileSlot;
    } else {
        const int32_t key = ComputeFileKey(path);
        // A file that cannot be read has key 0, the mark of a free slot: it
        // never matches a loaded file. The same file under another spelling
        // of its path is the loaded one.
        if (key != 0) slot = LoadedFileSlotOf(path, key);
        if (slot == 0) {
            int free = FreeFileSlot();
            if (free == 0 && isFileSlot(ownSlot)) {
                // The window keeps its own file, shown and in the table,
                // until the new one has been read: a refusal leaves it as it
                // was, and while its message is open the window still shows it.
                FileRecord incoming;
                {
                    WaitCursor wait;
                    incoming = loadFileType == "txt" ? readTxt(path) : readFcs(path);
                }
                if (!incoming.Loaded) {
                    showLoadError(path, incoming);
                    out.outcome = LoadOutcome::Refused;
                    return out;
                }
                g.FileTable[ownSlot] = std::move(incoming);
                free = ownSlot;
            } else if (free == 0) {
                showTableFull();
                out.outcome = LoadOutcome::TableFull;
                return out;
            } else {
                {
                    WaitCursor wait;
                    // A freed slot may still hold its last file's pristine data.
                    g.FileTable[free] = FileRecord{};
                    g.FileTable[free] = loadFileType == "txt" ? readTxt(path) : readFcs(path);
                }
                if (!g.FileTable[free].Loaded) {
                    g.FileTable[free].FileKey = 0;
                    showLoadError(path, g.FileTable[free]);
                    out.outcome = LoadOutcome::Refused;
                    return out;
                }
            }
            FileRecord& record = g.FileTable[free];
            ApplyCompensation(record);
            RecomputeAllPopulations();
            result = true;
            slot = free;
        }
    }

    // Hand the file to the window.
    if (isWindowSlot(window) && g.WindowRegistry[window].InUse) {
        g.WindowRegistry[window].FileIndex = static_cast<int16_t>(slot);
        if (PlotWindow* form = g.WindowRegistry[window].Form) {
            form->LatauksenJalkeen();
            form->Piirra();
        }
        result = true;
    }
    g.LastLoadedFile = static_cast<int16_t>(slot);
    return out;
}

}  // namespace

int TeeLista(const std::string& folder) {
    std::vector<std::string> names = ListFcsFiles(folder);
    folderFileList.assign(1, std::string());
    folderFileList.reserve(names.size() + 1);
    for (std::string& name : names) folderFileList.push_back(std::move(name));
    return static_cast<int>(folderFileList.size()) - 1;
}

bool EnsimmainenTiedostoHakemisto(int window, const std::string& folder) {
    bool result = false;
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    if (TeeLista(dir) >= 1) result = loadListed(dir, 1, window);
    finishCommand();
    return result;
}

bool SeuraavaTiedosto(int window) { return stepFile(window, Step::Next); }
bool EdellinenTiedosto(int window) { return stepFile(window, Step::Previous); }

// ---- tool walks ----

namespace {

// The listings tool walks step through: the folder as it is at every step,
// read again only when it may have changed.
WalkListings walkListings;

std::string withFolderEnd(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

// Loads the listed files from `from` on, one `direction` at a time, into the
// window until the reader takes one; the files it refuses are passed without
// a message. False when none is taken, the window is gone, or
// `keepWorking` (asked before each file) ends the walk.
bool loadFirstTaken(const WalkListing& listing, int from, int direction, int window, const KeepWorking& keepWorking) {
    quietRefusals = true;
    struct Reset {
        ~Reset() { quietRefusals = false; }
    } reset;
    for (int i = from; i >= 1 && i <= listing.count(); i += direction) {
        if (keepWorking && !keepWorking()) return false;
        // Events may have run: a window closed meanwhile takes nothing.
        if (!isWindowSlot(window) || !g.WindowRegistry[window].InUse) return false;
        const LoadResult loaded = loadFile(listing.folder + listing.names[static_cast<size_t>(i)], window, 0);
        if (loaded.outcome != LoadOutcome::Refused) return loaded.result;
    }
    return false;
}

}  // namespace

int WalkFileCount(const std::string& folder, const KeepWorking& keepWorking) {
    const std::shared_ptr<const WalkListing> listing = walkListings.current(withFolderEnd(folder), keepWorking);
    return listing ? listing->count() : -1;
}

bool FirstLoadableFile(int window, const std::string& folder, const KeepWorking& keepWorking) {
    bool result = false;
    if (const std::shared_ptr<const WalkListing> listing = walkListings.current(withFolderEnd(folder), keepWorking)) {
        refusedSteps.erase(window);
        result = loadFirstTaken(*listing, 1, +1, window, keepWorking);
    }
    finishCommand();
    return result;
}

bool StepToLoadableFile(int window, bool forward, const KeepWorking& keepWorking) {
    bool result = false;
    refusedSteps.erase(window);
    const int f = isWindowSlot(window) && g.WindowRegistry[window].InUse ? g.WindowRegistry[window].FileIndex : 0;
    // A window without a file has no folder to step through.
    if (isFileSlot(f) && g.FileTable[f].FileKey != 0) {
        const std::string folder = g.FileTable[f].Folder;
        const std::string shown = g.FileTable[f].FileName;
        if (const std::shared_ptr<const WalkListing> listing = walkListings.current(folder, keepWorking)) {
            const int n = listing->count();
            const int pos = listing->placeOf(shown);
            // As a single step: a file that is not in the list (a text table)
            // steps forward to the first listed file, and not back.
            if (forward && n > 1 && pos < n) result = loadFirstTaken(*listing, pos + 1, +1, window, keepWorking);
            if (!forward && pos > 1) result = loadFirstTaken(*listing, pos - 1, -1, window, keepWorking);
        }
    }
    finishCommand();
    return result;
}

void SetWalkClock(WallClock clock) { walkListings = WalkListings(clock ? std::move(clock) : WallClock(WallClockNow)); }

void ForgetWalkListing() {
    walkListings.forget();
    passedFiles.take();
}

void ReportPassedFiles() {
    const std::vector<PassedFile> passed = passedFiles.take();
    if (!passed.empty()) showMessage(PassedFilesMessage(passed), QString::fromLatin1(LoadErrorTitle));
}

}  // namespace qv
