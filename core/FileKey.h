#pragma once
// What both data-file readers share: reading a file's bytes, splitting its
// path, and the content key by which an already loaded file is recognised.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qv {

// The most parameters either reader takes from one file. A record's
// compensation matrix grows with the square of the count, so a file that
// declares more is refused rather than sizing it; real instruments stay far
// below this.
inline constexpr int32_t MaxReadableParameters = 2048;

// A file's whole content, read once.
struct FileBytes {
    std::unique_ptr<char[]> Data;
    size_t Size = 0;
    std::string_view view() const { return {Data.get(), Size}; }
};

// Reads the whole file at `path` as bytes. On failure returns false and puts a
// short reason into `reason` ("the file could not be opened", "the path is a
// folder, not a file", ...). An empty file reads successfully with Size 0.
bool ReadWholeFile(const std::string& path, FileBytes& out, std::string& reason);

// Splits a path at its last "/": the folder (ending with "/", empty when the
// path has no "/") and the file name.
void SplitPath(const std::string& path, std::string& folder, std::string& fileName);

// The content key of a file: of its first 80000 bytes, the codes of the
// second, fourth, sixth, ... byte are divided by 100 and summed in a 32-bit
// float, and the sum is rounded down. A file that cannot be read, and an
// empty file, give 0. A readable file whose sum rounds down to 0 gets the
// key 1, since 0 marks a free FileTable slot.
int32_t ComputeFileKey(const std::string& path);
int32_t ComputeFileKeyOfData(std::string_view bytes);

}  // namespace qv
