#include "core/RegularFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

int OpenRegularFile(const std::string& path, int* systemError) {
    if (systemError) *systemError = 0;
    // Without waiting: the open of a pipe returns at once, and is then
    // refused below like anything else that is no regular file.
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
