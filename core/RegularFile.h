#pragma once
// Opening a file for reading only when it is a regular file. The name is
// looked at first, so a pipe, a device or a socket is never opened, and the
// file opened is checked again: a name that becomes a pipe, a device or a
// folder between the look and the open is refused at once instead of
// leaving the program waiting on a pipe nobody writes.
#include <cstddef>
#include <string>

namespace qv {

// A descriptor open for reading on the regular file `path` names (through
// symbolic links), or -1: `systemError`, when given, receives the system's
// error number, or 0 when the path names something other than a regular
// file.
int OpenRegularFile(const std::string& path, int* systemError = nullptr);

// Reads up to `length` bytes from the descriptor's position into `out`,
// going on after interrupted calls and short reads; the number read (fewer
// only at the end of the file), or -1 on a failure.
long long ReadFromFile(int fd, char* out, size_t length);

// An open regular file, closed when it goes.
class RegularFile {
public:
    explicit RegularFile(const std::string& path) : fd_(OpenRegularFile(path, &error_)) {}
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // The system's error number of a failed open; 0 for no regular file.
    int systemError() const { return error_; }
    // The file's size in bytes (0 when not open).
    unsigned long long size() const;
    // Gives up the descriptor to the caller, who closes it.
    int release();

private:
    int error_ = 0;
    int fd_;
};

}  // namespace qv
