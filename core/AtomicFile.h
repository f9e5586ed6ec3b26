#pragma once
// Writing a whole file so that the target is never seen half written: the
// bytes go to a temporary file in the target's folder, which replaces the
// target only when it is complete. A crash, a full disk or any failure in
// between leaves an earlier file of that name exactly as it was, and the
// temporary file is removed. Paths are bytes as the file system names them.
#include <string>
#include <string_view>

namespace qv {

enum class FileWriteResult {
    Ok,
    AccessDenied,  // no permission for the folder or a write-protected target
    Failed,        // anything else: missing folder, a folder of that name, full disk, ...
};

// Writes `bytes` as the whole content of `path`. With `syncToDisk` the data
// (and the rename) are flushed to the disk before it returns, so a power cut
// keeps either the old file or the new one; without it a killed process still
// leaves a whole file, only the machine's crash may lose the newest one.
// Temporary files of the same target that a killed write left behind (no
// running write holds their lock) are removed first. On failure `systemError`, when
// given, receives the system's error number (0 when there was none).
FileWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes, bool syncToDisk = true,
                                    int* systemError = nullptr);

// Reads the whole file into `bytes`; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace qv
