#pragma once
// The message of a save that failed, as a message box shows it: the same
// text for every way the program writes a file (see SaveFailureText), with
// the path decoded as the file system names it.
#include <QString>

#include <string_view>

#include "core/AtomicFile.h"

namespace qv {

// `heading`, the path and `reason` (the system's words, as FileWriteReason
// or a writer's reason gives them), one to a line.
QString SaveFailureMessage(const QString& path, std::string_view reason, const char* heading = SaveFailureHeading);

}  // namespace qv
