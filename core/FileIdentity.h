#pragma once
// Whether two paths name the same file. Spellings never decide it: "./x",
// "a/../x", "a//x", a symbolic link and a hard link all name the file they
// lead to. Paths are bytes as the file system names them; nothing is opened.
#include <cstdint>
#include <string>

namespace qv {

struct FileIdentity {
    // Absolute, with ".", "..", doubled "/" and symbolic links resolved as
    // far as the path exists; "" for an empty path.
    std::string CanonicalPath;
    bool Exists = false;  // the path leads to an existing file system entry
    std::uintmax_t Device = 0;
    std::uintmax_t Inode = 0;
};

FileIdentity IdentifyFile(const std::string& path);

// Two existing files are the same when their device and inode are; two
// missing ones when their canonical paths are; an existing file and a
// missing one never are.
bool SameFile(const FileIdentity& a, const FileIdentity& b);
bool SameFile(const std::string& a, const std::string& b);

}  // namespace qv
