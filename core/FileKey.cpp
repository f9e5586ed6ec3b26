#include "core/FileKey.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

namespace qv {


namespace {

// The checks every reader makes before opening a path; the file's size.
bool checkPath(const std::string& path, std::uintmax_t& size, std::string& reason) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        reason = "the file could not be opened";
        return false;
    }
    if (fs::is_directory(status)) {
        reason = "the path is a folder, not a file";
        return false;
    }
    if (!fs::is_regular_file(status)) {
        reason = "the path is not a regular file";
        return false;
    }
    size = fs::file_size(path, ec);
    if (ec) {
        reason = "the file could not be opened";
        return false;
    }
    if (size > static_cast<std::uintmax_t>(MaxReadableFileBytes)) {
        reason = "the file is too large";
        return false;
    }
    return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, FileBytes& out, std::string& reason) {
    out = FileBytes{};
    std::uintmax_t size = 0;
    if (!checkPath(path, size, reason)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reason = "the file could not be opened";
        return false;
    }
    // Left unset by the allocator: the read fills every byte.
    out.Data.resize(static_cast<size_t>(size));
    if (size > 0) {
        in.read(out.Data.data(), static_cast<std::streamsize>(size));
        if (static_cast<std::uintmax_t>(in.gcount()) != size) {
            out = FileBytes{};
            reason = "the file could not be read";
            return false;
        }
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
    if (!checkPath(path, size, reason)) return false;
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
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
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return 0;
    // Only the start of the file counts.
    std::string head(FileKeyBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    return ComputeFileKeyOfData(head);
}

}  // namespace qv
