#pragma once
// Writing a whole file so that the target is never seen half written: the
// bytes go to a temporary file in the target's folder, which replaces the
// target only when it is complete. A crash, a full disk or any failure in
// between leaves an earlier file of that name exactly as it was, and the
// temporary file is removed. Paths are bytes as the file system names them.
//
// Every file the program writes goes through here, so every save follows
// the same rules:
// - a symbolic link is written through: the file it names gets the new
//   content and the link stays a link;
// - temporary files are hidden and named by this program's own pattern
//   (WriteTemporaryName), of one short length whatever the target's name;
// - temporary files of the same target that a killed write left behind (no
//   running write holds their lock) are removed: only regular files of the
//   user's own of that pattern, never a user's file of a similar name;
// - a target that exists and is not a regular file (a pipe, a device, a
//   socket, a folder) is refused before anything is opened, so a save never
//   waits on a pipe nobody reads nor writes into a device.
#include <string>
#include <string_view>

namespace qv {

enum class FileWriteResult {
    Ok,
    AccessDenied,  // no permission for the folder or a write-protected target
    Failed,        // anything else: missing folder, a folder of that name, full disk, ...
    NotAFile,      // the target is a pipe, a device or a socket
};

// The kind of failure the system's error number of a failed write is.
FileWriteResult FileWriteResultOf(int systemError);

// The reason of a failed write in words, for a message: the system's text
// for `systemError`, or what the target is when it is not a regular file.
std::string FileWriteReason(FileWriteResult result, int systemError);

// The name of a temporary file of a write of the file named `targetName`
// (without its folder), with `unique` (six letters or digits) telling one
// write from another.
std::string WriteTemporaryName(std::string_view targetName, std::string_view unique);

// The first line of the message of a file that could not be written.
inline constexpr const char* SaveFailureHeading = "The file could not be written:";

// The message of a failed save, the same for every way the program saves a
// file: `heading`, the path and the reason, one to a line (the reason's line
// left out when there is none). Path and reason are bytes as the system
// gives them.
std::string SaveFailureText(std::string_view path, std::string_view reason,
                            std::string_view heading = SaveFailureHeading);

// The path a write of `path` changes: symbolic links followed to the file
// they name (which need not exist yet). False, with the system's error,
// when the links go round in a loop or cannot be read.
bool ResolveWriteTarget(const std::string& path, std::string& target, int* systemError = nullptr);

// One file written whole in pieces (a large file is never held in memory at
// once). open() checks the target and makes the temporary file, write()
// appends, commit() renames it over the target. A writer destroyed before
// its commit, or whose write failed, removes its temporary file and leaves
// the target as it was.
class AtomicFileWriter {
public:
    // With `syncToDisk` the data (and the rename) are flushed to the disk
    // before commit() returns, so a power cut keeps either the old file or
    // the new one; without it a killed process still leaves a whole file,
    // only the machine's crash may lose the newest one.
    explicit AtomicFileWriter(std::string path, bool syncToDisk = true);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    FileWriteResult open();
    // False once a write has failed; later writes then do nothing.
    bool write(std::string_view bytes);
    FileWriteResult commit();
    // Gives up the write: the temporary file goes, the target stays.
    void cancel();

    // The system's error number of the failure (0 when there was none).
    int systemError() const { return error_; }
    // The failure in words (see FileWriteReason).
    std::string reason() const;

private:
    FileWriteResult fail(int error);

    std::string path_;
    std::string target_;  // path_ with its links followed
    std::string temp_;
    bool sync_;
    bool existed_ = false;
    unsigned mode_ = 0;
    int fd_ = -1;
    int error_ = 0;
    FileWriteResult result_ = FileWriteResult::Ok;
};

// Writes `bytes` as the whole content of `path` with an AtomicFileWriter.
// On failure `systemError`, when given, receives the system's error number
// (0 when there was none).
FileWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes, bool syncToDisk = true,
                                    int* systemError = nullptr);

// Opens `path` for appending, creating it when missing, through a symbolic
// link to the file it names. A target that is not a regular file is refused
// before it is opened, and the open itself cannot wait on a pipe that
// appears in its place meanwhile. The descriptor, or -1 with `result` and
// `systemError` saying why.
int OpenForAppending(const std::string& path, FileWriteResult& result, int& systemError);

// Writes all of `bytes` to the open descriptor `fd`, going on after an
// interrupted call; false on the first failure.
bool WriteAllTo(int fd, std::string_view bytes);

// Reads the whole file into `bytes`; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Checks, without opening anything, that a write of `path` may go ahead as
// the writers above would: Ok, with `exists` saying whether the file the
// links lead to is there already, or why the write would be refused (a
// folder, a pipe, a device, links in a loop), the system's error in
// `systemError` when given.
FileWriteResult CheckWriteTarget(const std::string& path, bool& exists, int* systemError = nullptr);

}  // namespace qv
