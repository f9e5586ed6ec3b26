#pragma once
// What both data-file readers share: reading a file's bytes, splitting its
// path, and the content key by which an already loaded file is recognised.
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/LargeBlockAllocator.h"

namespace qv {

// The most parameters either reader takes from one file. A record's
// compensation matrix grows with the square of the count, so a file that
// declares more is refused rather than sizing it; real instruments stay far
// below this.
inline constexpr int32_t MaxReadableParameters = 2048;
// The largest data file either reader opens, in bytes: offsets in the
// records are 32-bit.
inline constexpr int64_t MaxReadableFileBytes = std::numeric_limits<int32_t>::max();

// A file's whole content, read once; a large file's in huge pages, which
// it fills faster.
struct FileBytes {
    std::vector<char, LargeBlockAllocator<char>> Data;
    std::string_view view() const { return {Data.data(), Data.size()}; }
};

// Reads the whole file at `path` as bytes. On failure returns false and puts a
// short reason into `reason` ("the file could not be opened", "the path is a
// folder, not a file", ...). An empty file reads successfully with Size 0.
bool ReadWholeFile(const std::string& path, FileBytes& out, std::string& reason);

// Random-access reading of a file's bytes, so that a reader can take the
// parts it needs (HEADER, TEXT, DATA in blocks) without holding the whole
// file in memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual size_t size() const = 0;
    // Copies `length` bytes from `offset` into `out`; false when they lie
    // beyond the end or cannot be read.
    virtual bool read(size_t offset, size_t length, char* out) = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    size_t size() const override { return bytes_.size(); }
    bool read(size_t offset, size_t length, char* out) override;

private:
    std::string_view bytes_;
};

class FileSource final : public ByteSource {
public:
    FileSource() = default;
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    // Opens a regular file; on failure returns false with a short reason, as
    // ReadWholeFile gives them.
    bool open(const std::string& path, std::string& reason);
    size_t size() const override { return size_; }
    bool read(size_t offset, size_t length, char* out) override;

private:
    std::FILE* file_ = nullptr;
    size_t size_ = 0;
};

// Splits a path at its last "/": the folder (ending with "/", empty when the
// path has no "/") and the file name.
void SplitPath(const std::string& path, std::string& folder, std::string& fileName);

// The content key of a file: of its first 80000 bytes, the codes of the
// second, fourth, sixth, ... byte are divided by 100 and summed in a 32-bit
// float, and the sum is rounded down. A file that cannot be read, and an
// empty file, give 0. A readable file whose sum rounds down to 0 gets the
// key 1, since 0 marks a free FileTable slot.
inline constexpr size_t FileKeyBytes = 80000;  // bytes of a file that its key looks at
int32_t ComputeFileKey(const std::string& path);
int32_t ComputeFileKeyOfData(std::string_view bytes);

}  // namespace qv
