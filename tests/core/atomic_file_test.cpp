// Writing a file whole: what a later write of a target does with the
// temporary files an earlier, killed write of it left behind, how it writes
// through symbolic links and refuses what is no plain file, and the
// system's reason it gives on failure.
#include <gtest/gtest.h>

#include <cerrno>
#include <ctime>
#include <optional>
#include <ostream>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "core/AtomicFile.h"
#include "tests/support/core/FcsTestWriter.h"
#include "tests/support/core/SpecialFiles.h"

namespace qv::test {
namespace {

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

void ageBy(const std::string& path, int seconds) {
    const time_t then = ::time(nullptr) - seconds;
    const timeval times[2] = {{then, 0}, {then, 0}};
    ASSERT_EQ(::utimes(path.c_str(), times), 0) << path;
}

// What an earlier write, or the user, left beside ws.quorvane.
enum class LeftKind { File, Link, Folder, OtherUsersFile, PipeAnotherProgramWrites };

struct LeftFile {
    const char* name;
    std::string file;
    LeftKind kind;
    int ageSeconds;
    bool heldByARunningWrite;  // another process is still writing it
    bool removed;
};

void PrintTo(const LeftFile& left, std::ostream* out) { *out << left.name; }

// The name a write of `target` gives its temporary file.
std::string ours(const char* target, const char* unique = "Q7w2Rt") { return WriteTemporaryName(target, unique); }

class StaleTemporaryTest : public ::testing::TestWithParam<LeftFile> {};

TEST_P(StaleTemporaryTest, OnlyAbandonedTemporariesOfTheSameTargetGo) {
    const LeftFile& t = GetParam();
    TempFolder folder;
    const std::string left = folder.file(t.file);
    const std::string linked = folder.file("linked.txt");
    switch (t.kind) {
    case LeftKind::File:
        WriteBytes(left, "half a sheet");
        break;
    case LeftKind::OtherUsersFile:
        if (::geteuid() != 0) GTEST_SKIP() << "only the superuser may give a file to another user";
        WriteBytes(left, "half a sheet");
        ASSERT_EQ(::chown(left.c_str(), 65534, 65534), 0);
        break;
    case LeftKind::Link:
        WriteBytes(linked, "the user's");
        MakeLink("linked.txt", left);
        break;
    case LeftKind::Folder:
        ASSERT_EQ(::mkdir(left.c_str(), 0700), 0);
        break;
    case LeftKind::PipeAnotherProgramWrites:
        ASSERT_TRUE(MakeSpecialFile(left, SpecialFile::Pipe));
        break;
    }
    // The clean-up never opens a pipe: its writer would be let through.
    std::optional<WaitingPipeWriter> writer;
    if (t.kind == LeftKind::PipeAnotherProgramWrites) writer.emplace(left);
    if (t.kind != LeftKind::Link) ageBy(left, t.ageSeconds);
    // A running write holds the lock through its own open file description.
    const int held = t.heldByARunningWrite ? ::open(left.c_str(), O_RDONLY) : -1;
    if (t.heldByARunningWrite) {
        ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    }
    ASSERT_EQ(WriteFileAtomically(folder.file("ws.quorvane"), "whole", false), FileWriteResult::Ok);
    EXPECT_EQ(!exists(left), t.removed);
    if (t.kind == LeftKind::Link) {
        EXPECT_TRUE(exists(linked));
    }
    if (writer) {
        EXPECT_FALSE(writer->openedByAReader());
    }
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(folder.file("ws.quorvane"), bytes));
    EXPECT_EQ(bytes, "whole");
    if (held >= 0) ::close(held);
}

INSTANTIATE_TEST_SUITE_P(
    LeftBehind, StaleTemporaryTest,
    ::testing::Values(LeftFile{"KilledWriteOfTheTarget", ours("ws.quorvane"), LeftKind::File, 3600, false, true},
                      LeftFile{"WriteKilledAMomentAgo", ours("ws.quorvane", "000000"), LeftKind::File, 0, false, true},
                      LeftFile{"RunningWriteOfTheTarget", ours("ws.quorvane"), LeftKind::File, 0, true, false},
                      LeftFile{"LongRunningWriteOfTheTarget", ours("ws.quorvane"), LeftKind::File, 3600, true, false},
                      LeftFile{"AnotherTarget", ours("other.quorvane"), LeftKind::File, 3600, false, false},
                      LeftFile{"TargetNameAsSuffix", ours("old-ws.quorvane"), LeftKind::File, 3600, false, false},
                      LeftFile{"FiveCharacters", ours("ws.quorvane", "Q7w2R"), LeftKind::File, 3600, false, false},
                      LeftFile{"SevenCharacters", ours("ws.quorvane", "Q7w2Rtx"), LeftKind::File, 3600, false, false},
                      LeftFile{"NotLettersOrDigits", ours("ws.quorvane", "Q7w2R."), LeftKind::File, 3600, false,
                               false},
                      LeftFile{"ALinkOfThatName", ours("ws.quorvane"), LeftKind::Link, 3600, false, false},
                      LeftFile{"AFolderOfThatName", ours("ws.quorvane"), LeftKind::Folder, 3600, false, false},
                      LeftFile{"AnotherUsersFile", ours("ws.quorvane"), LeftKind::OtherUsersFile, 3600, false,
                               false},
                      LeftFile{"APipeOfThatName", ours("ws.quorvane"), LeftKind::PipeAnotherProgramWrites, 3600,
                               false, false},
                      // The user's own files, however much they look like a program's.
                      LeftFile{"UserBackup", "ws.quorvane.backup", LeftKind::File, 3600, false, false},
                      LeftFile{"UserTmpBackup", "ws.quorvane.tmp-backup", LeftKind::File, 3600, false, false},
                      LeftFile{"UserTmpSixCharacters", "ws.quorvane.tmp-Keep01", LeftKind::File, 3600, false,
                               false}),
    [](const ::testing::TestParamInfo<LeftFile>& info) { return std::string(info.param.name); });

// Every name the file system takes is saved, whole and appended, however
// long: the temporary file's name does not grow with it.
TEST(AtomicWriteTest, NamesUpToTheLongestTheFileSystemTakesAreSaved) {
    TempFolder folder;
    const long longest = ::pathconf(folder.path().c_str(), _PC_NAME_MAX);
    for (const long length : {245L, 250L, longest}) {
        SCOPED_TRACE(length);
        const std::string path = folder.file(std::string(static_cast<size_t>(length) - 4, 'n') + ".bmp");
        int error = 0;
        ASSERT_EQ(WriteFileAtomically(path, "whole", false, &error), FileWriteResult::Ok) << FileWriteReason(FileWriteResult::Failed, error);
        ASSERT_EQ(WriteFileAtomically(path, "again", false, &error), FileWriteResult::Ok);
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(path, bytes));
        EXPECT_EQ(bytes, "again");
    }
    // Temporary files are hidden and gone once the writes are done.
    DIR* dir = ::opendir(folder.path().c_str());
    ASSERT_NE(dir, nullptr);
    while (const dirent* entry = ::readdir(dir)) EXPECT_EQ(std::string(entry->d_name).find("quorvane"), std::string::npos);
    ::closedir(dir);
}

TEST(AtomicWriteTest, TemporaryNamesAreHiddenShortAndTellTheirTarget) {
    const std::string shortName = WriteTemporaryName("a", "Q7w2Rt");
    const std::string longName = WriteTemporaryName(std::string(255, 'n'), "Q7w2Rt");
    EXPECT_EQ(shortName.front(), '.');
    EXPECT_EQ(shortName.size(), longName.size());
    EXPECT_LE(longName.size(), 40u);
    EXPECT_NE(WriteTemporaryName("a", "Q7w2Rt"), WriteTemporaryName("b", "Q7w2Rt"));
    EXPECT_NE(WriteTemporaryName("a", "Q7w2Rt"), WriteTemporaryName("a", "Q7w2Ru"));
}

struct FailingTarget {
    const char* name;
    const char* path;  // inside the test's folder, where "file" is a plain file
    int error;
};

void PrintTo(const FailingTarget& target, std::ostream* out) { *out << target.name; }

class FailedWriteReasonTest : public ::testing::TestWithParam<FailingTarget> {};

TEST_P(FailedWriteReasonTest, GivesTheSystemsReason) {
    TempFolder folder;
    WriteBytes(folder.file("file"), "a file");
    int error = -1;
    EXPECT_EQ(WriteFileAtomically(folder.file(GetParam().path), "x", false, &error), FileWriteResult::Failed);
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FailedWriteReasonTest,
    ::testing::Values(FailingTarget{"MissingFolder", "no/such/ws.quorvane", ENOENT},
                      FailingTarget{"FolderIsAFile", "file/ws.quorvane", ENOTDIR},
                      FailingTarget{"TargetIsAFolder", ".", EISDIR}),
    [](const ::testing::TestParamInfo<FailingTarget>& info) { return std::string(info.param.name); });

TEST(AtomicWriteTest, ASuccessfulWriteGivesNoReason) {
    TempFolder folder;
    int error = -1;
    EXPECT_EQ(WriteFileAtomically(folder.file("ws.quorvane"), "x", false, &error), FileWriteResult::Ok);
    EXPECT_EQ(error, 0);
}

// A write through a symbolic link changes the file the link names and keeps
// the link, however the link names it.
struct LinkedTarget {
    const char* name;
    const char* link;      // what the link "ws.quorvane" in the test's folder says
    const char* written;   // the file that gets the new bytes, in the test's folder
    bool targetExists;
};

void PrintTo(const LinkedTarget& target, std::ostream* out) { *out << target.name; }

class LinkedTargetTest : public ::testing::TestWithParam<LinkedTarget> {};

TEST_P(LinkedTargetTest, TheNamedFileChangesAndTheLinkStays) {
    TempFolder folder;
    ASSERT_EQ(::mkdir(folder.file("real").c_str(), 0700), 0);
    const LinkedTarget& t = GetParam();
    const std::string written = folder.file(t.written);
    if (t.targetExists) WriteBytes(written, "old");
    std::string linkText = t.link;
    if (linkText.rfind("ABS/", 0) == 0) linkText = folder.file(linkText.substr(4));
    if (std::string(t.name) == "ChainOfLinks") MakeLink("real/data.fcs", folder.file("middle"));
    MakeLink(linkText, folder.file("ws.quorvane"));

    ASSERT_EQ(WriteFileAtomically(folder.file("ws.quorvane"), "new", false), FileWriteResult::Ok);
    EXPECT_TRUE(IsLink(folder.file("ws.quorvane")));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(written, bytes));
    EXPECT_EQ(bytes, "new");
    ASSERT_TRUE(ReadWholeFile(folder.file("ws.quorvane"), bytes));
    EXPECT_EQ(bytes, "new");

    // Appending goes the same way.
    FileWriteResult result{};
    int error = 0;
    const int fd = OpenForAppending(folder.file("ws.quorvane"), result, error);
    ASSERT_GE(fd, 0) << FileWriteReason(result, error);
    ASSERT_EQ(::write(fd, "+", 1), 1);
    ::close(fd);
    EXPECT_TRUE(IsLink(folder.file("ws.quorvane")));
    ASSERT_TRUE(ReadWholeFile(written, bytes));
    EXPECT_EQ(bytes, "new+");
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkedTargetTest,
    ::testing::Values(LinkedTarget{"RelativeLink", "real/data.fcs", "real/data.fcs", true},
                      LinkedTarget{"AbsoluteLink", "ABS/real/data.fcs", "real/data.fcs", true},
                      LinkedTarget{"ChainOfLinks", "middle", "real/data.fcs", true},
                      LinkedTarget{"LinkToAFileNotThereYet", "real/data.fcs", "real/data.fcs", false}),
    [](const ::testing::TestParamInfo<LinkedTarget>& info) { return std::string(info.param.name); });

TEST(AtomicWriteTest, LinksInALoopAreRefused) {
    TempFolder folder;
    MakeLink("b", folder.file("a"));
    MakeLink("a", folder.file("b"));
    int error = 0;
    EXPECT_EQ(WriteFileAtomically(folder.file("a"), "x", false, &error), FileWriteResult::Failed);
    EXPECT_EQ(error, ELOOP);
    EXPECT_TRUE(IsLink(folder.file("a")));
}

// A pipe, a socket or a device of the target's name is refused before it is
// opened, whole or appended, and stays what it was.
class SpecialTargetTest : public ::testing::TestWithParam<SpecialFile> {};

TEST_P(SpecialTargetTest, IsRefusedAndLeftAsItWas) {
    TempFolder folder;
    const std::string target = folder.file("out.txt");
    if (!MakeSpecialFile(target, GetParam())) GTEST_SKIP() << "this system does not let the test make one";
    // Should a write open the pipe after all, it finds a reader and does not hang.
    PipeReader reader(target);
    for (const bool throughLink : {false, true}) {
        SCOPED_TRACE(throughLink ? "through a link" : "by its name");
        const std::string path = throughLink ? folder.file("link.txt") : target;
        if (throughLink) MakeLink("out.txt", path);
        int error = -1;
        const FileWriteResult whole = WriteFileAtomically(path, "bytes", false, &error);
        EXPECT_EQ(whole, FileWriteResult::NotAFile);
        EXPECT_EQ(FileWriteReason(whole, error), "Not a regular file (a pipe, a device or a socket)");
        FileWriteResult appended{};
        const int fd = OpenForAppending(path, appended, error);
        EXPECT_LT(fd, 0);
        if (fd >= 0) ::close(fd);
        EXPECT_EQ(appended, FileWriteResult::NotAFile);
        EXPECT_TRUE(IsSpecialFile(target, GetParam()));
    }
    EXPECT_EQ(reader.drain(), "");
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialTargetTest,
                         ::testing::Values(SpecialFile::Pipe, SpecialFile::Socket, SpecialFile::Device),
                         [](const ::testing::TestParamInfo<SpecialFile>& info) {
                             return std::string(SpecialFileName(info.param));
                         });

// A write given up before its commit (a failure while the bytes were
// made) leaves the old file and no temporary file.
TEST(AtomicWriteTest, AWriteGivenUpLeavesTheOldFileAndNoTemporary) {
    TempFolder folder;
    const std::string path = folder.file("data.fcs");
    WriteBytes(path, "old");
    {
        AtomicFileWriter writer(path, false);
        ASSERT_EQ(writer.open(), FileWriteResult::Ok);
        ASSERT_TRUE(writer.write("half of the new"));
    }
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, "old");
    DIR* dir = ::opendir(folder.path().c_str());
    ASSERT_NE(dir, nullptr);
    int entries = 0;
    while (const dirent* entry = ::readdir(dir))
        if (entry->d_name[0] != '.') ++entries;
    ::closedir(dir);
    EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace qv::test
