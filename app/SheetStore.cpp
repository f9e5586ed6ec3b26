#include "app/SheetStore.h"

#include <QAction>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/Dialogs.h"
#include "app/FileOpening.h"
#include "app/MenuBar.h"
#include "app/PaaIkkuna.h"
#include "app/PlotWindow.h"
#include "app/SheetSections.h"
#include "app/WindowRegistry.h"
#include "app/WorkspacePlacement.h"
#include "app/model/PopulationRecompute.h"
#include "app/model/ProgramFolder.h"
#include "app/model/SaveFailure.h"
#include "app/model/SheetReader.h"
#include "app/model/SheetWriter.h"
#include "app/model/WaitCursor.h"
#include "app/model/WritingDate.h"
#include "core/AtomicFile.h"
#include "core/FileTableOps.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"

namespace qv {

namespace {

const char* const SaveFailedText = "An error occured during the saving!";
const char* const MakerAddress = "https://quorvane.example.org/";
const char* const SheetFilter = "Quorvane files (*.quorvane)";

std::string bytesOf(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString pathText(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

int lastSlot(const std::vector<WindowRecord>& table, int limit) {
    return std::min<int>(limit, static_cast<int>(table.size()) - 1);
}

std::string dateText() { return WritingDateText(QDate::currentDate()); }

SheetLimits runningLimits() {
    SheetLimits limits;
    limits.maxPopulations = g.MaxPopulations;
    limits.maxDefinitions = g.MaxDefinitions;
    limits.maxFiles = std::min<int>(g.MaxFiles, static_cast<int>(g.FileTable.size()) - 1);
    limits.maxWindows = lastSlot(g.WindowRegistry, g.MaxWindows);
    return limits;
}

bool isWindowTypeName(const std::string& type) {
    for (const char* name : WindowTypeNames)
        if (type == name) return true;
    return false;
}

// Pending window events, without the user's clicks and keys: those wait
// until the load is over, so they can neither start another load nor
// change the tables under it.
void processPendingEvents() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

// The whole workspace as sheet text; a package's data follows its marker.
// Throws when a window's lines or a package's data file cannot be had.
std::string workspaceText(SheetMode mode, const MainMenu& menu) {
    SheetContent c;
    c.mode = mode;
    c.versionText = g.VersionText;
    c.date = dateText();
    c.maxPopulations = g.MaxPopulations;
    c.maxDefinitions = g.MaxDefinitions;
    c.populations = &g.PopulationTable;

    std::string data;
    const int lastFile = std::min<int>(g.MaxFiles, static_cast<int>(g.FileTable.size()) - 1);
    for (int f = 1; f <= lastFile; ++f) {
        const FileRecord& file = g.FileTable[static_cast<size_t>(f)];
        if (!file.Loaded) continue;
        SheetFileEntry entry{f, file.fullPath(), file.FileName, 0};
        if (mode == SheetMode::Package) {
            std::string bytes;
            if (!ReadWholeFile(file.fullPath(), bytes)) throw SheetWriteError("data file unreadable: " + file.fullPath());
            entry.length = static_cast<int64_t>(bytes.size());
            data += bytes;
        }
        c.files.push_back(std::move(entry));
    }

    for (int w = 1; w <= lastSlot(g.WindowRegistry, g.MaxWindows); ++w) {
        const WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(w)];
        if (!rec.InUse) continue;
        c.windows.push_back({w, rec.Type, rec.Form ? rec.Form->SaveInfo() : std::vector<std::string>{"0"}});
    }

    c.printViewVisible = menu.AvaaPrintPreviewPage && menu.AvaaPrintPreviewPage->isChecked();
    if (const auto& save = sheetSection(SheetSectionKind::PrintView).saveInfo) c.printViewInfo = save();
    c.fileInfoVisible = menu.NaytaFileInfo && menu.NaytaFileInfo->isChecked();
    if (const auto& save = sheetSection(SheetSectionKind::FileInfo).saveInfo; save && c.fileInfoVisible)
        c.fileInfoInfo = save();

    std::string text = SheetText(c);
    if (mode == SheetMode::Package) {
        text.reserve(text.size() + PackageDataMarker.size() + data.size());
        text += PackageDataMarker;
        text += data;
    }
    return text;
}

// Shows or hides a service window as a sheet's "visible" line says, with its
// menu item's tick (and "Print..." for the print page).
void setServiceShown(PaaIkkuna& main, ServiceWindow which, bool shown) {
    // Shown the way the menu shows it: in view, at a free spot when the
    // sheet gives no place.
    if (shown)
        main.showServiceWindow(which);
    else if (QWidget* window = main.serviceWindow(which))
        window->hide();
    MainMenu& menu = main.mainMenu();
    QAction* item = which == ServiceWindow::PrintPreview ? menu.AvaaPrintPreviewPage : menu.NaytaFileInfo;
    if (item) item->setChecked(shown);
    if (which == ServiceWindow::PrintPreview && menu.Printtaa) menu.Printtaa->setEnabled(shown);
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

void showLoadError() {
    showMessage(QStringLiteral("The file was not valid flow cytometry file"), QStringLiteral("Load error"));
}

// What a name beside the package holds, seen without following a link.
enum class PackedName { Free, RegularFile, Taken };

PackedName packedNameState(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT ? PackedName::Free : PackedName::Taken;
    return S_ISREG(info.st_mode) ? PackedName::RegularFile : PackedName::Taken;
}

// Takes `path` for a new file as an empty file of our own, made only where
// nothing of that name is: a link (dangling or not) fails as a clash, so
// nothing is ever written through one, also when one appears meanwhile.
// False with `error` the system's error (EEXIST for a clash).
bool claimFreeName(const std::string& path, int& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = errno;
        return false;
    }
    ::close(fd);
    return true;
}

// Takes one file out of the package into the sheet's folder and returns its
// path: the file of that name when its bytes are the packed ones (an earlier
// extraction), else the first free name beside it. A name that is a link of
// any kind or anything but a plain file is not free and never reused: what
// the package brings lands in its folder, never where a link points. Empty
// when it cannot be written.
std::string extractPackedFile(const std::string& folder, const std::string& name, std::string_view data) {
    for (int k = 1; k <= 1000; ++k) {
        const std::string target = folder + PackageCopyName(name, k);
        switch (packedNameState(target)) {
        case PackedName::RegularFile: {
            std::string existing;
            if (ReadWholeFile(target, existing) && existing == data) return target;
            continue;
        }
        case PackedName::Taken: continue;
        case PackedName::Free: break;
        }
        int error = 0;
        if (!claimFreeName(target, error)) {
            if (error == EEXIST) continue;  // taken since it was looked at
            showSaveError(pathText(target), FileWriteReason(FileWriteResultOf(error), error));
            return {};
        }
        const FileWriteResult written = WriteFileAtomically(target, data, true, &error);
        if (written != FileWriteResult::Ok) {
            ::unlink(target.c_str());
            showSaveError(pathText(target), FileWriteReason(written, error));
            return {};
        }
        return target;
    }
    showSaveError(pathText(folder + name), "Every free name beside it is taken");
    return {};
}

// Clears SheetLoading and the store's running flag on every way out of a load.
class LoadScope {
public:
    explicit LoadScope(bool& running) : running_(running) { running_ = true; }
    ~LoadScope() {
        g.SheetLoading = false;
        running_ = false;
    }
    LoadScope(const LoadScope&) = delete;
    LoadScope& operator=(const LoadScope&) = delete;

private:
    bool& running_;
};

void clearWorkspace() {
    for (int s = 1; s <= g.MaxPopulations + g.MaxDefinitions && s < PopulationTableSize; ++s)
        g.PopulationTable[static_cast<size_t>(s)].InUse = false;
    const int lastFile = std::min<int>(g.MaxFiles, static_cast<int>(g.FileTable.size()) - 1);
    for (int f = 1; f <= lastFile; ++f)
        if (g.FileTable[static_cast<size_t>(f)].Loaded) ClearFileSlot(f);
    for (int w = 1; w <= lastSlot(g.WindowRegistry, g.MaxWindows); ++w) {
        PlotWindow* window = windowAt(w);
        if (!window) {
            // A slot left in use without a window is freed as well.
            releaseWindowSlot(w);
            continue;
        }
        window->hide();
        try {
            window->UnloadWindow();
        } catch (...) {
            // The slot is dropped below whatever the window did.
        }
        if (g.WindowRegistry[static_cast<size_t>(w)].Form == window) releaseWindowSlot(w);
    }
}

// Every window the sheet brought back lies wholly in view, also when the
// sheet was written on a larger screen: the workspace's windows inside its
// visible area, the windows of their own on the screen, each with its title
// bar clear of the others' where there is room.
void keepRestoredWindowsInView(PaaIkkuna& main) {
    processPendingEvents();
    const QList<QMdiSubWindow*> subs = main.workspace()->subWindowList();
    const std::vector<QWidget*> moved =
        fitRestoredWindowsIntoView(std::vector<QWidget*>(subs.begin(), subs.end()), &main);
    std::vector<QWidget*> own;
    for (const ServiceWindow which : AllServiceWindows) own.push_back(main.serviceWindow(which));
    fitRestoredWindowsIntoView(own, &main);
    uncoverMovedTitleBars(moved, own);
}

void loadFiles(const ParsedSheet& sheet, const std::string& sheetPath, std::string_view bytes) {
    const size_t slash = sheetPath.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : sheetPath.substr(0, slash + 1);
    for (const SheetFile& f : sheet.files) {
        std::string path = f.path;
        if (sheet.package) {
            if (f.refused) {
                showLoadError();
                continue;
            }
            WaitCursor wait;
            path = extractPackedFile(folder, f.name, bytes.substr(f.offset, static_cast<size_t>(f.length)));
            if (path.empty()) continue;
        } else if (!exists(path)) {
            showMessage(QStringLiteral("The file '") + pathText(path) + QStringLiteral("'\rwas not in its original location."));
            continue;
        }
        TiedostonLukuToimenPiteet(path, 0, f.slot);
    }
}

void createWindows(const ParsedSheet& sheet) {
    for (const SheetWindow& block : sheet.windows) {
        if (windowAt(block.id) || !createWindowInSlot(block.type, block.id)) continue;
        g.WindowRegistry[static_cast<size_t>(block.id)].Selected = false;
        processPendingEvents();
        for (const std::string& line : block.lines) {
            // Looked up for every line: a window gone meanwhile is never called.
            if (PlotWindow* window = windowAt(block.id)) {
                try {
                    window->LoadInfo(line);
                } catch (...) {
                    // A line the window cannot take changes nothing; the rest still apply.
                }
            }
            processPendingEvents();
        }
    }
}

template <class Member>
void callSection(SheetSectionKind kind, Member member, const std::vector<std::string>& lines) {
    const auto& load = sheetSection(kind).*member;
    if (!load) return;
    for (const std::string& line : lines) {
        try {
            load(line);
        } catch (...) {
        }
    }
}

}  // namespace

namespace {

// "An error occured during the saving!", the file and the reason, as a load
// error names its file.
QString saveFailedText(const QString& path, const std::string& reason) {
    return SaveFailureMessage(path, reason, SaveFailedText);
}

// One place the autosave was tried, and what came of it.
struct AutosaveAttempt {
    QString target;
    FileWriteResult result = FileWriteResult::Ok;
    int error = 0;
    QString reason() const { return QString::fromLocal8Bit(FileWriteReason(result, error).c_str()); }
};

// The message of an autosave that no place took: every folder tried, each
// with its reason.
QString autosaveFailureText(const std::vector<AutosaveAttempt>& tried, bool off) {
    QString text = off ? QStringLiteral("Autosave is off: the autosave file could not be written in the folder:")
                       : QStringLiteral("The autosave file could not be written in the folder:");
    for (size_t i = 0; i < tried.size(); ++i) {
        if (i > 0) text += QStringLiteral("\nnor in the folder:");
        text += QStringLiteral("\n") + QFileInfo(tried[i].target).absolutePath() + QStringLiteral("\n") +
                tried[i].reason();
    }
    if (!off) text += QStringLiteral("\nIt is written again after your next action.");
    return text;
}

}  // namespace

QString SheetStore::autosaveTarget() const { return lastAutosave_.isEmpty() ? autosaveFilePath() : lastAutosave_; }

void SheetStore::write(const QString& modeText) {
    const std::optional<SheetMode> mode = SheetModeOf(modeText.toStdString());
    if (!mode) return;
    if (*mode == SheetMode::Autosave) {
        std::string text;
        try {
            text = workspaceText(SheetMode::Autosave, main_.mainMenu());
        } catch (const std::exception& e) {
            reportAutosaveFailure(saveFailedText(autosaveTarget(), e.what()), QStringLiteral("Quorvane"));
            return;
        }
        writeAutosave(text);
        return;
    }

    const std::optional<QString> chosen =
        AskExportPath(QStringLiteral("Save analysis file"), QString::fromLatin1(SheetFilter));
    if (!chosen) return;
    std::string reason;
    {
        WaitCursor wait;
        try {
            const std::string text = workspaceText(*mode, main_.mainMenu());
            int error = 0;
            const FileWriteResult result = WriteFileAtomically(bytesOf(*chosen), text, true, &error);
            if (result != FileWriteResult::Ok) reason = FileWriteReason(result, error);
        } catch (const std::exception& e) {
            reason = e.what();
        }
    }
    // A save the user asked for never fails silently, and never turns the autosave off.
    if (!reason.empty()) {
        showMessage(saveFailedText(*chosen, reason));
        return;
    }
    if (onWritten) onWritten(modeText, *chosen);
}

void SheetStore::reportAutosaveFailure(const QString& text, const QString& title) {
    // One message for a run of failures: every later action tries again in
    // silence until a write succeeds.
    if (autosaveFailing_) return;
    autosaveFailing_ = true;
    showMessage(text, title);
}

bool SheetStore::writeAutosave(const std::string& text) {
    // Next to the program first, every time, and the user's application data
    // folder only when that fails: the first place that can be written
    // holds the newest workspace, and a folder whose disk was full is used
    // again as soon as it has room.
    const QString primary = autosaveFilePath();
    const QString fallback = fallbackAutosaveFilePath();
    QStringList places{primary};
    if (!fallback.isEmpty() && fallback != primary) places << fallback;

    std::vector<AutosaveAttempt> tried;
    // The program's own folder, when it cannot be written, was passed over
    // for the application data folder; a failure names it too, with its reason.
    if (const std::optional<UnwritableFolder> skipped = unwritableExecutableFolder()) {
        tried.push_back(AutosaveAttempt{skipped->folder + QStringLiteral("autosave.quorvane"),
                                        FileWriteResultOf(skipped->systemError), skipped->systemError});
    }
    for (const QString& target : places) {
        AutosaveAttempt attempt{target};
        // A folder that cannot be made is told by why it cannot, not by
        // its absence.
        if (const int error = makeFolderPath(QFileInfo(target).absolutePath()); error != 0) {
            attempt.result = FileWriteResultOf(error);
            attempt.error = error;
        } else {
            attempt.result = WriteFileAtomically(bytesOf(target), text, true, &attempt.error);
        }
        if (attempt.result != FileWriteResult::Ok) {
            tried.push_back(attempt);
            continue;
        }
        autosaveFailing_ = false;
        lastAutosave_ = target;
        if (target == primary && fallbackMayHoldCopy_ && !fallback.isEmpty() && fallback != primary) {
            // An older copy in the second place would only compete with this
            // one at the next recovery.
            QFile::remove(fallback);
            fallbackMayHoldCopy_ = false;
        } else if (target != primary) {
            fallbackMayHoldCopy_ = true;
        }
        if (onWritten) onWritten(QStringLiteral("Autosave"), target);
        return true;
    }

    const bool allDenied = std::all_of(tried.begin(), tried.end(), [](const AutosaveAttempt& a) {
        return a.result == FileWriteResult::AccessDenied;
    });
    if (allDenied) {
        // Folders the user may not write stay so: autosave is off for the run.
        main_.AutosaveEnabled = false;
        showMessage(autosaveFailureText(tried, true), QStringLiteral("Save error"));
        return false;
    }
    // Anything else (a full disk, a missing folder) may pass: autosave stays
    // on and the next action writes again.
    reportAutosaveFailure(autosaveFailureText(tried, false), QStringLiteral("Save error"));
    return false;
}

void SheetStore::load(const QString& path) {
    if (loading_) return;
    const std::string sheetPath = bytesOf(path);
    std::string bytes;
    // A file that cannot be read, or an empty one, holds no workspace: the
    // one in use stays.
    if (!ReadWholeFile(sheetPath, bytes) || bytes.empty()) {
        showMessage(QStringLiteral("The analysis sheet could not be read:\n") + path, QStringLiteral("Load error"));
        return;
    }
    const SheetLimits limits = runningLimits();
    const ParsedSheet sheet = ParseSheet(bytes, limits, [](const std::string& type) {
        return isWindowTypeName(type) && hasWindowKind(type);
    });

    if (SheetIsNewer(sheet, g.ProgramVersion[1], g.ProgramVersion[2])) {
        showMessage(QStringLiteral("The analysis sheet you trying to open has been created with newer version of "
                                   "Quorvane than you have.\rPlease, download the newest version from the address ") +
                        QString::fromLatin1(MakerAddress),
                    QStringLiteral("Wrong version"));
        return;
    }
    if (const std::optional<std::string> unsafe = UnsafePackageName(sheet)) {
        showMessage(QStringLiteral("The package names a file outside its folder:\n") + Latin1Text(*unsafe),
                    QStringLiteral("Load error"));
        return;
    }

    {
        LoadScope scope(loading_);
        try {
            g.SheetLoading = true;
            clearWorkspace();
            for (const ServiceWindow which : AllServiceWindows)
                if (QWidget* window = main_.serviceWindow(which)) beginRestoringPlace(*window);
            ApplyPopulationLines(sheet, g.PopulationTable, limits);
            loadFiles(sheet, sheetPath, bytes);
            createWindows(sheet);

            if (sheet.printViewVisible) setServiceShown(main_, ServiceWindow::PrintPreview, *sheet.printViewVisible);
            callSection(SheetSectionKind::PrintView, &SheetSection::loadInfo, sheet.printViewLines);
            if (sheet.fileInfoVisible) setServiceShown(main_, ServiceWindow::FileInfo, *sheet.fileInfoVisible);
            callSection(SheetSectionKind::FileInfo, &SheetSection::loadInfo, sheet.fileInfoLines);

            for (int w = 1; w <= limits.maxWindows; ++w) {
                if (PlotWindow* window = windowAt(w)) window->LatauksenJalkeen();
                processPendingEvents();
            }
            // The file window with the highest ID is the one selected.
            DeselectAllWindows();
            for (int w = limits.maxWindows; w >= 1; --w) {
                WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(w)];
                if (rec.InUse && rec.ShowsFile) {
                    rec.Selected = true;
                    if (rec.Form) rec.Form->setWindowTitle(Latin1Text(g.SelectedPrefix) + rec.Form->AnnaOtsikko());
                    break;
                }
            }
            main_.PaivitaRegionLista();
            // The populations are worked out once, and every window is drawn
            // once, at the end: a million events make each pass a wait.
            // File info, when shown, brings its file in line with its lines
            // first and works the populations out itself.
            const SheetSection& fileInfo = sheetSection(SheetSectionKind::FileInfo);
            const bool fileInfoAfterLoad =
                fileInfo.afterLoad && main_.mainMenu().NaytaFileInfo && main_.mainMenu().NaytaFileInfo->isChecked();
            if (!fileInfoAfterLoad) RecomputeAllPopulations();
            g.SheetLoading = false;
            if (fileInfoAfterLoad) fileInfo.afterLoad();
            // The window the workspace shows active became so while its
            // activation was skipped, and a click on it activates nothing:
            // its activation step runs now, so that what acts on the active
            // window (Save FCS, File info) acts on the one the user sees.
            // The workspace's current window is the one, also while the main
            // window itself is not active yet (a recovery at start-up).
            const QMdiSubWindow* current = main_.workspace()->currentSubWindow();
            if (auto* active = current ? qobject_cast<PlotWindow*>(current->widget()) : nullptr)
                active->onActivated();
            keepRestoredWindowsInView(main_);
            main_.PiirraKaikki();
        } catch (...) {
            // Whatever failed, the workspace holds what was loaded so far
            // and the windows draw again.
        }
    }
    // The autosave file holds the loaded workspace from now on.
    main_.TalletaNakyma(QStringLiteral("Autosave"));
}

}  // namespace qv
