// Every reader of a file takes only a regular file, checked on the file it
// opened: a pipe, a socket, a device or a folder of that name is refused at
// once, never waited on, and a regular file (also through a link) is read.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include <sys/stat.h>

#include "core/AtomicFile.h"
#include "core/FcsReader.h"
#include "core/FileKey.h"
#include "core/RegularFile.h"
#include "tests/support/core/FcsTestWriter.h"
#include "tests/support/core/SpecialFiles.h"

namespace qv::test {
namespace {

struct Reader {
    const char* name;
    // True when the reader took the file at `path` and read "FCS3.0...".
    std::function<bool(const std::string& path)> read;
};

void PrintTo(const Reader& reader, std::ostream* out) { *out << reader.name; }

const Reader Readers[] = {
    {"WholeFileAsText",
     [](const std::string& path) {
         std::string bytes;
         return ReadWholeFile(path, bytes) && bytes.rfind("FCS3.0", 0) == 0;
     }},
    {"WholeFileForTheDataReaders",
     [](const std::string& path) {
         FileBytes bytes;
         std::string reason;
         return ReadWholeFile(path, bytes, reason) && bytes.view().rfind("FCS3.0", 0) == 0;
     }},
    {"FileReadInParts",
     [](const std::string& path) {
         FileSource source;
         std::string reason;
         char head[6];
         return source.open(path, reason) && source.read(0, 6, head) && std::string(head, 6) == "FCS3.0";
     }},
    {"ContentKey", [](const std::string& path) { return ComputeFileKey(path) != 0; }},
    {"FcsHeaderCheck", [](const std::string& path) { return IsFcsFile(path) && HasFcsHeader(path); }},
};

class RegularFileReaderTest : public ::testing::TestWithParam<Reader> {};

TEST_P(RegularFileReaderTest, ReadsARegularFileAlsoThroughALink) {
    TempFolder folder;
    WriteBytes(folder.file("data.txt"), "FCS3.0    58");
    MakeLink("data.txt", folder.file("link.txt"));
    EXPECT_TRUE(GetParam().read(folder.file("data.txt")));
    EXPECT_TRUE(GetParam().read(folder.file("link.txt")));
}

TEST_P(RegularFileReaderTest, RefusesAtOnceWhatIsNoRegularFile) {
    TempFolder folder;
    ASSERT_EQ(::mkdir(folder.file("folder").c_str(), 0700), 0);
    EXPECT_FALSE(GetParam().read(folder.file("folder")));
    EXPECT_FALSE(GetParam().read(folder.file("missing")));
    for (const SpecialFile kind : {SpecialFile::Pipe, SpecialFile::Socket, SpecialFile::Device}) {
        SCOPED_TRACE(SpecialFileName(kind));
        const std::string path = folder.file(std::string("special-") + SpecialFileName(kind));
        if (!MakeSpecialFile(path, kind)) continue;  // a device node needs the privilege
        // A writer held on a pipe: a read that waits on it is freed after
        // a while and then fails here by the time it took.
        std::optional<PipeWriter> writer;
        if (kind == SpecialFile::Pipe) writer.emplace(path);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(GetParam().read(path));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        EXPECT_TRUE(IsSpecialFile(path, kind));
    }
}

TEST_P(RegularFileReaderTest, NeverOpensAPipeAnotherProgramWaitsToWriteInto) {
    TempFolder folder;
    const std::string pipe = folder.file("pipe");
    ASSERT_TRUE(MakeSpecialFile(pipe, SpecialFile::Pipe));
    MakeLink("pipe", folder.file("link"));
    for (const char* name : {"pipe", "link"}) {
        SCOPED_TRACE(name);
        WaitingPipeWriter writer(pipe);
        EXPECT_FALSE(GetParam().read(folder.file(name)));
        EXPECT_FALSE(writer.openedByAReader());
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, RegularFileReaderTest, ::testing::ValuesIn(Readers),
                         [](const ::testing::TestParamInfo<Reader>& info) { return std::string(info.param.name); });

// A reader's message says a pipe, a socket or a device is no regular file,
// rather than that it could not be opened.
TEST(RegularFileTest, WhatIsNoRegularFileIsToldAsSuch) {
    TempFolder folder;
    for (const SpecialFile kind : {SpecialFile::Pipe, SpecialFile::Socket, SpecialFile::Device}) {
        SCOPED_TRACE(SpecialFileName(kind));
        const std::string path = folder.file(std::string("special-") + SpecialFileName(kind));
        if (!MakeSpecialFile(path, kind)) continue;  // a device node needs the privilege
        int error = -1;
        EXPECT_EQ(OpenRegularFile(path, &error), -1);
        EXPECT_EQ(error, 0);
        FileSource source;
        std::string reason;
        EXPECT_FALSE(source.open(path, reason));
        EXPECT_EQ(reason, "the path is not a regular file");
    }
}

}  // namespace
}  // namespace qv::test
