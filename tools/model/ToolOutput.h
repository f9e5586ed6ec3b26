#pragma once
// The files a tool writes: its text output (appended line by line, 8-bit,
// CR LF) and the names it may give them. A tool writes only inside its
// folder: a name that is absolute or climbs out with ".." is refused.
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace qv {

inline constexpr const char* ToolWriteRefusedMessage = "The tool may write only inside its folder:";
inline constexpr const char* ToolWriteLoadedFileMessage = "The tool may not write over a loaded data file:";
inline constexpr const char* FolderPathMessage = "Folder paths use \"/\" between folders:";

// A name relative to the tool folder that stays inside it: not empty, not
// starting with "/", no ".." component between "/".
bool IsNameInsideToolFolder(std::string_view name);

// A folder path as tools take them: "/" between folders, no "\" and no
// drive letter ("C:").
bool IsSlashFolderPath(std::string_view path);

// Opens `path` for appending as 8-bit text, creating it when missing (through
// a symbolic link, to the file it names). A pipe, a device or a socket of
// that name is refused before it is opened, so a run never waits on a pipe
// nobody reads. nullptr when it cannot be opened, with the reason in words
// in `reason` when given.
std::unique_ptr<std::ostream> OpenToolOutput(const std::string& path, std::string* reason = nullptr);

// Writes the text and CR LF; false when the write failed, with the system's
// reason in `reason` when given.
bool WriteToolOutputLine(std::ostream& out, std::string_view text, std::string* reason = nullptr);

}  // namespace qv
