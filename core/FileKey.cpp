#include "core/FileKey.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include <unistd.h>

#include "core/RegularFile.h"

namespace qv {


namespace {

// Opens `path` as every reader does: a regular file, checked once open, of
// a size the program reads. The descriptor and the file's size, or -1 with
// a short reason.
int openForReading(const std::string& path, std::uintmax_t& size, std::string& reason) {
    RegularFile file(path);
    if (!file.isOpen()) {
        std::error_code ec;
        if (file.systemError() != 0) reason = "the file could not be opened";
        else if (std::filesystem::is_directory(path, ec)) reason = "the path is a folder, not a file";
        else reason = "the path is not a regular file";
        return -1;
    }
    size = file.size();
    if (size > static_cast<std::uintmax_t>(MaxReadableFileBytes)) {
        reason = "the file is too large";
        return -1;
    }
    return file.release();
}

}  // namespace

bool ReadWholeFile(const std::string& path, FileBytes& out, std::string& reason) {
    out = FileBytes{};
    std::uintmax_t size = 0;
    const int fd = openForReading(path, size, reason);
    if (fd < 0) return false;
    // Left unset by the allocator: the read fills every byte.
    out.Data.resize(static_cast<size_t>(size));
    const long long read = ReadFromFile(fd, out.Data.data(), static_cast<size_t>(size));
    ::close(fd);
    if (read < 0 || static_cast<std::uintmax_t>(read) != size) {
        out = FileBytes{};
        reason = "the file could not be read";
        return false;
    }
    return true;
}

bool MemorySource::read(size_t offset, size_t length, char* out) {
    if (offset > bytes_.size() || length > bytes_.size() - offset) return false;
    if (length > 0) std::memcpy(out, bytes_.data() + offset, length);
    return true;
}

FileSource::~FileSource() {
    if (file_ != nullptr) std::fclose(file_);
}

bool FileSource::open(const std::string& path, std::string& reason) {
    std::uintmax_t size = 0;
    const int fd = openForReading(path, size, reason);
    if (fd < 0) return false;
    file_ = ::fdopen(fd, "rb");
    if (file_ == nullptr) {
        ::close(fd);
        reason = "the file could not be opened";
        return false;
    }
    size_ = static_cast<size_t>(size);
    return true;
}

bool FileSource::read(size_t offset, size_t length, char* out) {
    if (file_ == nullptr || offset > size_ || length > size_ - offset) return false;
    if (length == 0) return true;
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
    return std::fread(out, 1, length, file_) == length;
}

void SplitPath(const std::string& path, std::string& folder, std::string& fileName) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        folder.clear();
        fileName = path;
    } else {
        folder = path.substr(0, slash + 1);
        fileName = path.substr(slash + 1);
    }
}

int32_t ComputeFileKeyOfData(std::string_view bytes) {
    if (bytes.empty()) return 0;
    const size_t n = bytes.size() < FileKeyBytes ? bytes.size() : FileKeyBytes;
    float sum = 0.0f;
    // Bytes 0, 2, 4, ... are skipped; 1, 3, 5, ... are summed.
    for (size_t i = 1; i < n; i += 2)
        sum = static_cast<float>(static_cast<double>(sum) +
                                 static_cast<unsigned char>(bytes[i]) / 100.0);
    const auto key = static_cast<int32_t>(std::floor(sum));
    return key == 0 ? 1 : key;
}

int32_t ComputeFileKey(const std::string& path) {
    const RegularFile file(path);
    if (!file.isOpen()) return 0;
    // Only the start of the file counts.
    std::string head(FileKeyBytes, '\0');
    const long long read = ReadFromFile(file.fd(), head.data(), head.size());
    if (read < 0) return 0;
    head.resize(static_cast<size_t>(read));
    return ComputeFileKeyOfData(head);
}

}  // namespace qv
