#pragma once
// "Next to the program": the folder of the executable, or the user's
// application data folder when the executable's folder can't be written.
// The autosave file and the scripts folder live there.
#include <QString>

#include <optional>

namespace qv {

// The folder as a path with "/" separators ending in "/".
QString programFolder();

// Where the autosave file lives: programFolder() + "autosave.quorvane".
QString autosaveFilePath();

// Where the autosave goes when it cannot be written next to the program:
// the user's application data folder + "autosave.quorvane".
QString fallbackAutosaveFilePath();

// The autosave file a run that did not end in order left behind: of the two
// places, the one that exists (the newer when both do); empty when none.
QString leftAutosaveFile();

// The executable's folder when it cannot be written, so that the program
// folder is the user's application data folder instead, with the system's
// reason (its error number); nothing when it can be written, or when the
// program folder was pointed elsewhere.
struct UnwritableFolder {
    QString folder;  // ending in "/"
    int systemError = 0;
};
std::optional<UnwritableFolder> unwritableExecutableFolder();

// Makes `folder` and every folder above it that is missing: 0 when it is a
// folder now, else the system's error of the first that could not be made
// (ENOTDIR when something other than a folder holds a name on the way).
int makeFolderPath(const QString& folder);

// Points the executable's folder elsewhere (tests); an empty text restores
// the real one.
void setExecutableFolderOverride(const QString& folder);

// Points the user's application data folder elsewhere (tests); an empty
// text restores the real one.
void setAppDataFolderOverride(const QString& folder);

// Points the program folder elsewhere (tests use a temporary folder); an
// empty text restores the real one.
void setProgramFolderOverride(const QString& folder);

}  // namespace qv
