// Whether two paths name the same file: by what they lead to, never by how
// they are spelled.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/FileIdentity.h"
#include "core/FileTableOps.h"
#include "core/SharedState.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using test::WriteBytes;

// A folder holding data.fcs, a copy of it, a symbolic and a hard link to it,
// an empty folder "sub", and "innerlink", a link to the folder "deep/inner". Paths in a case are written relative to the
// folder ("F/" stands for it) or to the working folder ("W/").
class FileIdentityFolder {
public:
    FileIdentityFolder() {
        WriteBytes(dir.file("data.fcs"), "FCS3.0 some bytes");
        WriteBytes(dir.file("copy.fcs"), "FCS3.0 some bytes");
        fs::create_directory(dir.file("sub"));
        fs::create_symlink(dir.file("data.fcs"), dir.file("symlink.fcs"));
        fs::create_hard_link(dir.file("data.fcs"), dir.file("hardlink.fcs"));
        fs::create_directories(dir.file("deep/inner"));
        fs::create_directory_symlink(dir.file("deep/inner"), dir.file("innerlink"));
    }
    std::string expand(const std::string& spelling) const {
        if (spelling.rfind("F/", 0) == 0) return dir.path() + spelling.substr(2);
        if (spelling.rfind("W/", 0) == 0)
            return fs::relative(dir.path(), fs::current_path()).string() + "/" + spelling.substr(2);
        return spelling;
    }
    TempFolder dir;
};

struct IdentityCase {
    const char* name;
    const char* a;
    const char* b;
    bool same;
};

void PrintTo(const IdentityCase& c, std::ostream* os) {
    *os << c.a << (c.same ? " is " : " is not ") << c.b;
}

class SameFileOfSpellings : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(SameFileOfSpellings, DecidesByTheFileNotTheText) {
    const FileIdentityFolder folder;
    const std::string a = folder.expand(GetParam().a);
    const std::string b = folder.expand(GetParam().b);
    EXPECT_EQ(SameFile(a, b), GetParam().same) << a << " / " << b;
    EXPECT_EQ(SameFile(b, a), GetParam().same) << b << " / " << a;
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, SameFileOfSpellings,
    ::testing::Values(
        IdentityCase{"TheSamePath", "F/data.fcs", "F/data.fcs", true},
        IdentityCase{"DotFolder", "F/./data.fcs", "F/data.fcs", true},
        IdentityCase{"ClimbBackFromASubfolder", "F/sub/../data.fcs", "F/data.fcs", true},
        IdentityCase{"DoubledSlash", "F//data.fcs", "F/data.fcs", true},
        IdentityCase{"RelativeToTheWorkingFolder", "W/data.fcs", "F/data.fcs", true},
        IdentityCase{"SymbolicLink", "F/symlink.fcs", "F/data.fcs", true},
        IdentityCase{"HardLink", "F/hardlink.fcs", "F/data.fcs", true},
        IdentityCase{"CopyWithTheSameBytes", "F/copy.fcs", "F/data.fcs", false},
        // ".." after a linked folder climbs out of the folder it leads to.
        IdentityCase{"ClimbOutOfALinkedFolderIsNotTheTextsParent", "F/innerlink/../data.fcs", "F/data.fcs", false},
        IdentityCase{"ClimbOutOfALinkedFolderReachesItsTargetsParent", "F/innerlink/../x.fcs", "F/deep/x.fcs", true},
        IdentityCase{"MissingFileUnderTwoSpellings", "F/sub/../missing.fcs", "F//missing.fcs", true},
        IdentityCase{"TwoMissingFiles", "F/missing.fcs", "F/other.fcs", false},
        IdentityCase{"ExistingAndMissing", "F/data.fcs", "F/sub/data.fcs", false},
        IdentityCase{"AFileAndItsFolder", "F/data.fcs", "F/", false},
        IdentityCase{"EmptyPaths", "", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the loaded data file a path names ----

class LoadedFileSlot : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
    void TearDown() override { resetSharedState(); }
    void load(int slot, const std::string& folder, const std::string& name, int32_t key) {
        FileRecord& f = g.FileTable[static_cast<size_t>(slot)];
        f.Loaded = true;
        f.Folder = folder;
        f.FileName = name;
        f.FileKey = key;
    }
    FileIdentityFolder folder;
};

TEST_F(LoadedFileSlot, FindsTheSlotOfTheSameFileUnderAnySpelling) {
    load(2, folder.dir.path(), "copy.fcs", 77);
    load(4, folder.dir.path() + "sub/../", "data.fcs", 77);
    EXPECT_EQ(LoadedFileSlotOf(folder.dir.file("./data.fcs")), 4);
    EXPECT_EQ(LoadedFileSlotOf(folder.dir.file("symlink.fcs")), 4);
    EXPECT_EQ(LoadedFileSlotOf(folder.dir.file("copy.fcs")), 2);
    EXPECT_EQ(LoadedFileSlotOf(folder.dir.file("hardlink.fcs"), 77), 4);
    // The key must match as well when one is given.
    EXPECT_EQ(LoadedFileSlotOf(folder.dir.file("data.fcs"), 78), 0);
    EXPECT_EQ(LoadedFileSlotOf(folder.dir.file("missing.fcs")), 0);
}

TEST_F(LoadedFileSlot, FreeAndRefusedSlotsAreNoLoadedFiles) {
    load(1, folder.dir.path(), "data.fcs", 0);  // key 0 marks a free slot
    load(2, folder.dir.path(), "data.fcs", 5);
    g.FileTable[2].Loaded = false;
    EXPECT_EQ(LoadedFileSlotOf(folder.dir.file("data.fcs")), 0);
}

}  // namespace
}  // namespace qv
