#pragma once
// "Next to the program": the folder of the executable, or the user's
// application data folder when the executable's folder can't be written.
// The autosave file and the scripts folder live there.
#include <QString>

namespace qv {

// The folder as a path with "/" separators ending in "/".
QString programFolder();

// Where the autosave file lives: programFolder() + "autosave.quorvane".
QString autosaveFilePath();

// Points the program folder elsewhere (tests use a temporary folder); an
// empty text restores the real one.
void setProgramFolderOverride(const QString& folder);

}  // namespace qv
