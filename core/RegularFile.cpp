#include "core/RegularFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

int OpenRegularFile(const std::string& path, int* systemError) {
    if (systemError) *systemError = 0;
    // What is no regular file is refused before it is opened: an open of a
    // pipe would let a writer waiting on it through into a pipe nobody reads,
    // an open of a device may act on the device, a socket cannot be opened.
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) {
        if (systemError) *systemError = errno;
        return -1;
    }
    if (!S_ISREG(named.st_mode)) return -1;
    // Checked again on the file opened, without waiting: a name made a pipe
    // since the look above returns at once and is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (systemError) *systemError = errno;
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

long long ReadFromFile(int fd, char* out, size_t length) {
    size_t done = 0;
    while (done < length) {
        const ssize_t n = ::read(fd, out + done, length - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return static_cast<long long>(done);
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) ::close(fd_);
}

unsigned long long RegularFile::size() const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) return 0;
    return static_cast<unsigned long long>(info.st_size);
}

int RegularFile::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

}  // namespace qv
