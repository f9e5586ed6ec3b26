#include "core/FileIdentity.h"

#include <sys/stat.h>

#include <filesystem>

namespace qv {

FileIdentity IdentifyFile(const std::string& path) {
    FileIdentity id;
    if (path.empty()) return id;
    namespace fs = std::filesystem;
    std::error_code ec;
    // Made absolute first, so a relative path whose first folder is missing
    // is resolved against the working folder as well.
    const fs::path absolute = fs::absolute(path, ec);
    const fs::path canonical = fs::weakly_canonical(absolute, ec);
    // A path that cannot be resolved (a part of it unreadable) is still
    // compared by its absolute, lexically tidied spelling.
    id.CanonicalPath = (ec ? absolute.lexically_normal() : canonical).string();
    // stat follows symbolic links: a link names the file it leads to.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        id.Exists = true;
        id.Device = static_cast<std::uintmax_t>(st.st_dev);
        id.Inode = static_cast<std::uintmax_t>(st.st_ino);
    }
    return id;
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
    if (a.Exists != b.Exists) return false;
    if (a.Exists) return a.Device == b.Device && a.Inode == b.Inode;
    return !a.CanonicalPath.empty() && a.CanonicalPath == b.CanonicalPath;
}

bool SameFile(const std::string& a, const std::string& b) { return SameFile(IdentifyFile(a), IdentifyFile(b)); }

}  // namespace qv
