#pragma once
// Targets a save meets besides plain files: symbolic links, named pipes,
// sockets and device nodes, made in a test's own folder.
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

namespace qv::test {

enum class SpecialFile { Pipe, Socket, Device };

// Makes `path` a special file of that kind; false when the system does not
// let the test make one (a device node needs the privilege to).
bool MakeSpecialFile(const std::string& path, SpecialFile kind);
// True when `path` is still a special file of that kind.
bool IsSpecialFile(const std::string& path, SpecialFile kind);
const char* SpecialFileName(SpecialFile kind);
inline void PrintTo(SpecialFile kind, std::ostream* out) { *out << SpecialFileName(kind); }

// Makes `link` a symbolic link whose text is `target`.
void MakeLink(const std::string& target, const std::string& link);
bool IsLink(const std::string& path);
// The text of the symbolic link `path` (empty when it is none).
std::string LinkText(const std::string& path);

// The read end of a pipe, opened without waiting: while it is open, a
// writer's open of the pipe cannot block either, so a test of a write that
// must refuse a pipe fails instead of hanging when the write does not.
class PipeReader {
public:
    explicit PipeReader(const std::string& path);
    ~PipeReader();
    PipeReader(const PipeReader&) = delete;
    PipeReader& operator=(const PipeReader&) = delete;
    bool open() const { return fd_ >= 0; }
    // Whatever was written into the pipe so far.
    std::string drain();

private:
    int fd_ = -1;
};

// A writer held on a pipe for a while: a reader's open of the pipe does not
// wait, and a reader that waits on the pipe's data gets the end of the file
// once `seconds` have passed. A test of a read that must refuse a pipe then
// fails instead of hanging when the read does not refuse it.
class PipeWriter {
public:
    explicit PipeWriter(const std::string& path, int seconds = 3);
    ~PipeWriter();
    PipeWriter(const PipeWriter&) = delete;
    PipeWriter& operator=(const PipeWriter&) = delete;
    bool open() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread watch_;
};

// A writer of another program waiting in its open of a pipe for a reader:
// whoever opens the pipe for reading, even for a moment, lets that open
// through (and the writer then meets a closed pipe). A test tells with
// openedByAReader() whether the code it ran opened the pipe at all.
class WaitingPipeWriter {
public:
    explicit WaitingPipeWriter(const std::string& path);
    ~WaitingPipeWriter();
    WaitingPipeWriter(const WaitingPipeWriter&) = delete;
    WaitingPipeWriter& operator=(const WaitingPipeWriter&) = delete;
    // True when the writer's open has gone through: a reader opened the pipe.
    bool openedByAReader();

private:
    std::string path_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int fd_ = -1;
    std::thread writer_;
};

// A folder nothing can be made in while this lives: made read-only for a
// user, made immutable for the superuser (who may write in any folder of
// ours otherwise). locked() is false when the system allows neither.
class LockedFolder {
public:
    explicit LockedFolder(const std::string& path);
    ~LockedFolder();
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;
    bool locked() const { return error_ != 0; }
    // The system's error a new file or folder in it meets.
    int error() const { return error_; }

private:
    std::string path_;
    bool immutable_ = false;
    int error_ = 0;
};

}  // namespace qv::test
