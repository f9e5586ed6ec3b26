#include "core/AtomicFile.h"

#include "core/RegularFile.h"

#include <cctype>
#include <cstdint>
#include <cerrno>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <climits>
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


std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : (slash == 0 ? std::string("/") : path.substr(0, slash));
}


std::string nameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A temporary file's name: hidden, marked as this program's, and of one
// length whatever the target's name, so a target whose name is as long as
// the file system allows still gets one. The target is told by a hash of
// its name, the file itself by the six letters or digits mkstemps puts in
// place of the X's.
constexpr std::string_view TempMark = ".quorvane-write-";
constexpr std::string_view TempEnd = ".tmp";
constexpr size_t TempHashLength = 8;
constexpr size_t TempUniqueLength = 6;

std::string hashOf(std::string_view name) {
    // FNV-1a: stable between runs and machines, so a later run finds what
    // an earlier one left.
    uint32_t hash = 2166136261u;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    char text[TempHashLength + 1];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(hash));
    return std::string(text, TempHashLength);
}

// True when `entry` is a temporary name made from `pattern`, the name of one
// target's temporaries with X's for the letters that tell one write from
// another.
bool isTemporaryOf(std::string_view entry, const std::string& pattern) {
    if (entry.size() != pattern.size()) return false;
    const size_t unique = pattern.size() - TempEnd.size() - TempUniqueLength;
    for (size_t i = 0; i < entry.size(); ++i) {
        const bool ok = i >= unique && i < unique + TempUniqueLength
                            ? std::isalnum(static_cast<unsigned char>(entry[i])) != 0
                            : entry[i] == pattern[i];
        if (!ok) return false;
    }
    return true;
}

// Removes the temporary files of `path` that a killed write left. A running
// write holds a lock on its temporary file until it has been renamed, and
// the system drops the lock of a killed one: a file we can lock is nobody's.
// Only a regular file of the user's own goes; a link, a folder or another
// user's file of such a name stays.
void removeStaleTemporaries(const std::string& path) {
    const std::string folder = folderOf(path);
    const std::string pattern = WriteTemporaryName(nameOf(path), std::string(TempUniqueLength, 'X'));
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryOf(entry->d_name, pattern)) continue;
        const std::string left = folder + "/" + entry->d_name;
        // Looked at before it is opened: a pipe or a device of that name is
        // never opened (a pipe's waiting writer would be let through).
        struct stat named {};
        if (::lstat(left.c_str(), &named) != 0 || !S_ISREG(named.st_mode)) continue;
        const int fd = ::open(left.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(left.c_str());
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

// The part of `path` up to and with its last "/"; empty for a bare name.
std::string folderPrefix(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The longest chain of links followed, as the system's own limit.
constexpr int MaxLinkHops = 40;

// Finds the file a write of `path` changes and checks it may be written:
// not a folder, and, where it exists, a regular file. `info` and `exists`
// describe the target; on a refusal the result says why and `error` holds
// the system's error number (0 for a file that is no regular file).
FileWriteResult checkWriteTarget(const std::string& path, std::string& target, struct stat& info, bool& exists,
                                 int& error) {
    error = 0;
    exists = false;
    if (path.empty() || path.back() == '/') error = EISDIR;
    else ResolveWriteTarget(path, target, &error);
    if (error != 0) return FileWriteResultOf(error);
    exists = ::stat(target.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) {
        error = EISDIR;
        return FileWriteResultOf(error);
    }
    if (exists && !S_ISREG(info.st_mode)) return FileWriteResult::NotAFile;
    return FileWriteResult::Ok;
}

}  // namespace

std::string WriteTemporaryName(std::string_view targetName, std::string_view unique) {
    return std::string(TempMark) + hashOf(targetName) + "-" + std::string(unique) + std::string(TempEnd);
}

FileWriteResult FileWriteResultOf(int systemError) {
    return systemError == EACCES || systemError == EPERM || systemError == EROFS ? FileWriteResult::AccessDenied
                                                                                  : FileWriteResult::Failed;
}

std::string SaveFailureText(std::string_view path, std::string_view reason, std::string_view heading) {
    std::string text(heading);
    text += '\n';
    text += path;
    if (!reason.empty()) {
        text += '\n';
        text += reason;
    }
    return text;
}

std::string FileWriteReason(FileWriteResult result, int systemError) {
    if (result == FileWriteResult::NotAFile) return "Not a regular file (a pipe, a device or a socket)";
    if (systemError != 0) return std::strerror(systemError);
    return "Unknown error";
}

bool ResolveWriteTarget(const std::string& path, std::string& target, int* systemError) {
    if (systemError) *systemError = 0;
    std::string current = path;
    for (int hop = 0; hop <= MaxLinkHops; ++hop) {
        struct stat info {};
        // Whatever is not a link (or not there yet) is the file written;
        // a folder on the way that cannot be read gives its error later.
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = current;
            return true;
        }
        std::vector<char> link(PATH_MAX + 1);
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<size_t>(n) >= link.size()) {
            if (systemError) *systemError = n < 0 ? errno : ENAMETOOLONG;
            return false;
        }
        const std::string named(link.data(), static_cast<size_t>(n));
        current = named.front() == '/' ? named : folderPrefix(current) + named;
    }
    if (systemError) *systemError = ELOOP;
    return false;
}

AtomicFileWriter::AtomicFileWriter(std::string path, bool syncToDisk) : path_(std::move(path)), sync_(syncToDisk) {}

AtomicFileWriter::~AtomicFileWriter() { cancel(); }

FileWriteResult AtomicFileWriter::fail(int error) {
    cancel();
    error_ = error;
    result_ = FileWriteResultOf(error);
    return result_;
}

std::string AtomicFileWriter::reason() const { return FileWriteReason(result_, error_); }

FileWriteResult AtomicFileWriter::open() {
    cancel();
    error_ = 0;
    result_ = FileWriteResult::Ok;
    struct stat target {};
    int error = 0;
    const FileWriteResult checked = checkWriteTarget(path_, target_, target, existed_, error);
    // A folder of that name, or a file the user may not change, is not
    // replaced behind their back by a rename; a pipe or a device is no file
    // to replace at all.
    if (checked == FileWriteResult::NotAFile) {
        result_ = checked;
        return result_;
    }
    if (checked != FileWriteResult::Ok) return fail(error);
    if (existed_ && ::access(target_.c_str(), W_OK) != 0) return fail(errno);
    mode_ = target.st_mode & 07777;

    if (firstWriteOf(target_)) removeStaleTemporaries(target_);
    const std::string temp =
        folderPrefix(target_) + WriteTemporaryName(nameOf(target_), std::string(TempUniqueLength, 'X'));
    // Another run's clean-up may take a file in the moment between its
    // making and its lock; a file no longer in the folder is made again.
    for (int attempt = 0; attempt < 10; ++attempt) {
        std::vector<char> name(temp.begin(), temp.end());
        name.push_back('\0');
        fd_ = ::mkstemps(name.data(), static_cast<int>(TempEnd.size()));
        if (fd_ < 0) return fail(errno);
        temp_.assign(name.data());
        // Marks the temporary file as a running write's until it is renamed.
        ::flock(fd_, LOCK_EX | LOCK_NB);
        struct stat made {};
        if (::fstat(fd_, &made) != 0 || made.st_nlink > 0) return FileWriteResult::Ok;
        ::close(fd_);
        fd_ = -1;
        temp_.clear();
    }
    return fail(EEXIST);
}

bool AtomicFileWriter::write(std::string_view bytes) {
    if (fd_ < 0) return false;
    if (!WriteAllTo(fd_, bytes)) {
        fail(errno);
        return false;
    }
    return true;
}

FileWriteResult AtomicFileWriter::commit() {
    if (fd_ < 0) return result_ == FileWriteResult::Ok ? fail(EBADF) : result_;
    // The new file takes the permissions an existing file had, otherwise
    // those a newly created file gets.
    mode_t mode = static_cast<mode_t>(mode_);
    if (!existed_) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd_, mode);
    if (sync_ && ::fsync(fd_) != 0) return fail(errno);
    // Renamed while still open, so the lock covers the file until it has its
    // final name.
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) return fail(errno);
    temp_.clear();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        error_ = errno;
        result_ = FileWriteResultOf(error_);
        return result_;
    }
    if (sync_) syncFolder(folderOf(target_));
    return FileWriteResult::Ok;
}

void AtomicFileWriter::cancel() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

FileWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes, bool syncToDisk,
                                    int* systemError) {
    AtomicFileWriter writer(path, syncToDisk);
    FileWriteResult result = writer.open();
    if (result == FileWriteResult::Ok) {
        writer.write(bytes);
        result = writer.commit();
    }
    if (systemError) *systemError = result == FileWriteResult::Ok ? 0 : writer.systemError();
    return result;
}

int OpenForAppending(const std::string& path, FileWriteResult& result, int& systemError) {
    result = FileWriteResult::Ok;
    systemError = 0;
    const auto failed = [&](FileWriteResult why, int error) {
        result = why;
        systemError = error;
        return -1;
    };
    std::string target;
    struct stat info {};
    bool exists = false;
    int error = 0;
    const FileWriteResult checked = checkWriteTarget(path, target, info, exists, error);
    if (checked != FileWriteResult::Ok) return failed(checked, error);
    // Without waiting: a pipe put in the file's place since the check above
    // fails at once (nobody reads it) or is caught below.
    const int fd = ::open(target.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = errno;
        return error == ENXIO ? failed(FileWriteResult::NotAFile, 0) : failed(FileWriteResultOf(error), error);
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return failed(FileWriteResult::NotAFile, 0);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

bool WriteAllTo(int fd, std::string_view bytes) {
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

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    const RegularFile file(path);
    if (!file.isOpen()) return false;
    bytes.resize(static_cast<size_t>(file.size()));
    const long long read = ReadFromFile(file.fd(), bytes.data(), bytes.size());
    if (read < 0 || static_cast<size_t>(read) != bytes.size()) {
        bytes.clear();
        return false;
    }
    return true;
}

FileWriteResult CheckWriteTarget(const std::string& path, bool& exists, int* systemError) {
    std::string target;
    struct stat info {};
    int error = 0;
    const FileWriteResult result = checkWriteTarget(path, target, info, exists, error);
    if (systemError) *systemError = error;
    return result;
}

}  // namespace qv
