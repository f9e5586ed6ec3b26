// Writing a file whole: what a later write of a target does with the
// temporary files an earlier, killed write of it left behind, and the
// system's reason it gives on failure.
#include <gtest/gtest.h>

#include <cerrno>
#include <ctime>
#include <ostream>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "core/AtomicFile.h"
#include "tests/support/core/FcsTestWriter.h"

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

struct LeftFile {
    const char* name;
    const char* file;  // what an earlier write left beside ws.quorvane
    int ageSeconds;
    bool heldByARunningWrite;  // another process is still writing it
    bool removed;
};

void PrintTo(const LeftFile& left, std::ostream* out) { *out << left.name; }

class StaleTemporaryTest : public ::testing::TestWithParam<LeftFile> {};

TEST_P(StaleTemporaryTest, OnlyAbandonedTemporariesOfTheSameTargetGo) {
    TempFolder folder;
    const std::string left = folder.file(GetParam().file);
    WriteBytes(left, "half a sheet");
    ageBy(left, GetParam().ageSeconds);
    // A running write holds the lock through its own open file description.
    const int held = GetParam().heldByARunningWrite ? ::open(left.c_str(), O_RDONLY) : -1;
    if (GetParam().heldByARunningWrite) ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(WriteFileAtomically(folder.file("ws.quorvane"), "whole", false), FileWriteResult::Ok);
    EXPECT_EQ(!exists(left), GetParam().removed);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(folder.file("ws.quorvane"), bytes));
    EXPECT_EQ(bytes, "whole");
    if (held >= 0) ::close(held);
}

INSTANTIATE_TEST_SUITE_P(
    LeftBehind, StaleTemporaryTest,
    ::testing::Values(LeftFile{"KilledWriteOfTheTarget", "ws.quorvane.tmp-Q7w2Rt", 3600, false, true},
                      LeftFile{"WriteKilledAMomentAgo", "ws.quorvane.tmp-000000", 0, false, true},
                      LeftFile{"RunningWriteOfTheTarget", "ws.quorvane.tmp-Q7w2Rt", 0, true, false},
                      LeftFile{"LongRunningWriteOfTheTarget", "ws.quorvane.tmp-Q7w2Rt", 3600, true, false},
                      LeftFile{"AnotherTarget", "other.quorvane.tmp-Q7w2Rt", 3600, false, false},
                      LeftFile{"TargetNameAsSuffix", "old-ws.quorvane.tmp-Q7w2Rt", 3600, false, false},
                      LeftFile{"FiveCharacters", "ws.quorvane.tmp-Q7w2R", 3600, false, false},
                      LeftFile{"SevenCharacters", "ws.quorvane.tmp-Q7w2Rtx", 3600, false, false},
                      LeftFile{"NotLettersOrDigits", "ws.quorvane.tmp-Q7w2R.", 3600, false, false},
                      LeftFile{"UserBackup", "ws.quorvane.backup", 3600, false, false}),
    [](const ::testing::TestParamInfo<LeftFile>& info) { return std::string(info.param.name); });

TEST(AtomicWriteTest, AFolderNamedLikeATemporaryStays) {
    TempFolder folder;
    const std::string sub = folder.file("ws.quorvane.tmp-Q7w2Rt");
    ASSERT_EQ(::mkdir(sub.c_str(), 0700), 0);
    ageBy(sub, 3600);
    ASSERT_EQ(WriteFileAtomically(folder.file("ws.quorvane"), "whole", false), FileWriteResult::Ok);
    EXPECT_TRUE(exists(sub));
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

}  // namespace
}  // namespace qv::test
