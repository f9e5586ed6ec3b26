#include "core/AtomicFile.h"

#include <cctype>
#include <cerrno>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <set>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

namespace {

FileWriteResult resultOf(int error) {
    return error == EACCES || error == EPERM || error == EROFS ? FileWriteResult::AccessDenied
                                                                : FileWriteResult::Failed;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : (slash == 0 ? std::string("/") : path.substr(0, slash));
}

bool writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

// "name.tmp-" and the six letters or digits mkstemp puts in place of XXXXXX.
constexpr const char* TempInfix = ".tmp-";
constexpr size_t TempSuffixLength = 6;

std::string nameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isTemporaryOf(const std::string& entry, const std::string& targetName) {
    const std::string prefix = targetName + TempInfix;
    if (entry.size() != prefix.size() + TempSuffixLength || entry.compare(0, prefix.size(), prefix) != 0) return false;
    for (size_t i = prefix.size(); i < entry.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(entry[i]);
        if (!std::isalnum(c)) return false;
    }
    return true;
}

// Removes the temporary files of `path` that a killed write left. A running
// write holds a lock on its temporary file until it has been renamed, and
// the system drops the lock of a killed one: a file we can lock is nobody's.
void removeStaleTemporaries(const std::string& path) {
    const std::string folder = folderOf(path);
    const std::string name = nameOf(path);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryOf(entry->d_name, name)) continue;
        const std::string left = folder + "/" + entry->d_name;
        struct stat info {};
        if (::lstat(left.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        const int fd = ::open(left.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(left.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

// Only a killed process leaves a temporary file behind (a write of this one
// removes its own on every path out), so each target's folder is looked
// through once per run, not at every autosave.
bool firstWriteOf(const std::string& path) {
    static std::mutex guard;
    static std::set<std::string> written;
    const std::lock_guard<std::mutex> lock(guard);
    return written.insert(path).second;
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

FileWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes, bool syncToDisk,
                                    int* systemError) {
    const auto failed = [systemError](int error) {
        if (systemError) *systemError = error;
        return resultOf(error);
    };
    if (systemError) *systemError = 0;
    if (path.empty() || path.back() == '/') return failed(EISDIR);
    struct stat target {};
    const bool exists = ::stat(path.c_str(), &target) == 0;
    // A folder of that name, or a file the user may not change, is not
    // replaced behind their back by a rename.
    if (exists && S_ISDIR(target.st_mode)) return failed(EISDIR);
    if (exists && ::access(path.c_str(), W_OK) != 0) return failed(errno);

    if (firstWriteOf(path)) removeStaleTemporaries(path);
    std::string temp = path + TempInfix + std::string(TempSuffixLength, 'X');
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return failed(errno);
    temp.assign(name.data());
    // Marks the temporary file as a running write's until it is renamed.
    ::flock(fd, LOCK_EX | LOCK_NB);

    int error = 0;
    if (!writeAll(fd, bytes)) error = errno;
    // The new file takes the permissions an existing file had, otherwise
    // those a newly created file gets.
    if (error == 0) {
        mode_t mode = target.st_mode & 07777;
        if (!exists) {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        ::fchmod(fd, mode);
    }
    if (error == 0 && syncToDisk && ::fsync(fd) != 0) error = errno;
    // Renamed while still open, so the lock covers the file until it has its
    // final name.
    if (error == 0 && std::rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return failed(error);
    }
    if (syncToDisk) syncFolder(folderOf(path));
    return FileWriteResult::Ok;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return false;
    in.seekg(0, std::ios::beg);
    bytes.resize(static_cast<size_t>(size));
    if (size > 0 && !in.read(bytes.data(), size)) {
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace qv
