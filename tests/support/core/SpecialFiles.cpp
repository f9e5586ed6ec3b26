#include "tests/support/core/SpecialFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace qv::test {

bool MakeSpecialFile(const std::string& path, SpecialFile kind) {
    switch (kind) {
    case SpecialFile::Pipe: return ::mkfifo(path.c_str(), 0600) == 0;
    case SpecialFile::Device:
        // The same device as /dev/null, in the test's folder.
        return ::mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    case SpecialFile::Socket: {
        sockaddr_un address{};
        if (path.size() >= sizeof address.sun_path) return false;
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd < 0) return false;
        const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);  // the socket file stays
        return bound;
    }
    }
    return false;
}

bool IsSpecialFile(const std::string& path, SpecialFile kind) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return false;
    switch (kind) {
    case SpecialFile::Pipe: return S_ISFIFO(info.st_mode);
    case SpecialFile::Socket: return S_ISSOCK(info.st_mode);
    case SpecialFile::Device: return S_ISCHR(info.st_mode);
    }
    return false;
}

const char* SpecialFileName(SpecialFile kind) {
    switch (kind) {
    case SpecialFile::Pipe: return "Pipe";
    case SpecialFile::Socket: return "Socket";
    case SpecialFile::Device: return "Device";
    }
    return "?";
}

void MakeLink(const std::string& target, const std::string& link) {
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0) << link << " -> " << target;
}

bool IsLink(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

std::string LinkText(const std::string& path) {
    char text[4096];
    const ssize_t n = ::readlink(path.c_str(), text, sizeof text);
    return n > 0 ? std::string(text, static_cast<size_t>(n)) : std::string();
}

PipeReader::PipeReader(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK)) {}

PipeReader::~PipeReader() {
    if (fd_ >= 0) ::close(fd_);
}

std::string PipeReader::drain() {
    std::string bytes;
    char buffer[4096];
    ssize_t n = 0;
    while (fd_ >= 0 && (n = ::read(fd_, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<size_t>(n));
    return bytes;
}

PipeWriter::PipeWriter(const std::string& path, int seconds) : fd_(::open(path.c_str(), O_RDWR | O_NONBLOCK)) {
    if (fd_ < 0) return;
    watch_ = std::thread([this, seconds] {
        std::unique_lock<std::mutex> lock(mutex_);
        done_.wait_for(lock, std::chrono::seconds(seconds), [this] { return finished_; });
        // The last writer gone: a reader waiting on the pipe gets its end.
        ::close(fd_);
        fd_ = -1;
    });
}

PipeWriter::~PipeWriter() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
    }
    done_.notify_all();
    if (watch_.joinable()) watch_.join();
}

WaitingPipeWriter::WaitingPipeWriter(const std::string& path) : path_(path) {
    writer_ = std::thread([this] {
        const int fd = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);  // waits for a reader
        const std::lock_guard<std::mutex> lock(mutex_);
        fd_ = fd < 0 ? -2 : fd;
        changed_.notify_all();
    });
    // Time for the thread to be waiting in its open before the test goes on.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

bool WaitingPipeWriter::openedByAReader() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(100), [this] { return fd_ != -1; });
}

WaitingPipeWriter::~WaitingPipeWriter() {
    // Our own reader lets a writer still waiting through.
    const int reader = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    writer_.join();
    if (fd_ >= 0) ::close(fd_);
    if (reader >= 0) ::close(reader);
}

namespace {

// Sets or clears the immutable flag of a folder; false when the file system
// or the user's rights do not allow it.
bool setImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

}  // namespace

LockedFolder::LockedFolder(const std::string& path) : path_(path) {
    if (::geteuid() != 0) {
        if (::chmod(path.c_str(), 0500) == 0) error_ = EACCES;
        return;
    }
    immutable_ = setImmutable(path, true);
    if (immutable_) error_ = EPERM;
}

LockedFolder::~LockedFolder() {
    if (immutable_) setImmutable(path_, false);
    else if (error_ != 0) ::chmod(path_.c_str(), 0700);
}

}  // namespace qv::test
