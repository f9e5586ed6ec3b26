#pragma once
// The main window's analysis sheets: writing the workspace (the autosave
// file, a sheet the user saves, an analysis package) and reading a sheet or
// package back in its place. The text itself is built and taken apart by
// app/model/SheetWriter and SheetReader; this class gathers the windows'
// lines, asks the dialogs, writes the files and rebuilds the workspace.
#include <QString>

#include <functional>
#include <string>

namespace qv {

class PaaIkkuna;

class SheetStore {
public:
    explicit SheetStore(PaaIkkuna& main) : main_(main) {}

    // TalletaNakyma: "Autosave", "Sheet" or "Paketti". Every file is written
    // whole to a temporary file that then replaces the target.
    void write(const QString& mode);
    // LataaNakyma: replaces the workspace with the sheet or package at path.
    // Does nothing while a load is running.
    void load(const QString& path);

    // True from the start to the end of a load (nothing is autosaved then).
    bool loading() const { return loading_; }
    // Where the last autosave was written (next to the program, or the
    // application data folder when that failed); next to the program before
    // the first one.
    QString autosaveTarget() const;

    // Called with the mode and path of every file the writer has written
    // (tests count the autosaves with it).
    std::function<void(const QString& mode, const QString& path)> onWritten;

private:
    bool writeAutosave(const std::string& text);
    // Shows a failed autosave, once for each run of failures.
    void reportAutosaveFailure(const QString& text, const QString& title);

    PaaIkkuna& main_;
    bool loading_ = false;
    QString lastAutosave_;
    // True once the application data folder took an autosave of this run
    // that a later one next to the program makes stale. (A copy an earlier
    // run left there is older than this run's and loses the recovery.)
    bool fallbackMayHoldCopy_ = false;
    // True from a failed autosave until the next one that is written.
    bool autosaveFailing_ = false;
};

}  // namespace qv
