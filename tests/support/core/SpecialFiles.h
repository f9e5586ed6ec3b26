#pragma once
// Targets a save meets besides plain files: symbolic links, named pipes,
// sockets and device nodes, made in a test's own folder.
#include <ostream>
#include <string>

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

}  // namespace qv::test
