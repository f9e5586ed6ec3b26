// New names under the renamer's two rules, the checks made before a batch
// runs and the renaming itself in a temporary folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "app/model/FolderListing.h"
#include "fileutils/model/BatchRename.h"
#include "tests/fileutils/DeepFolder.h"
#include "tests/support/ParamNames.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

TEST(BatchRenameRules, NewNames) {
    struct Case {
        const char* name;
        bool pad;
        bool replace;
        const char* find;
        const char* replacement;
        const char* expected;
    };
    const Case cases[] = {
        // Rule 1 alone.
        {"plate_A1_x.fcs", true, false, "", "", "plate_A01_x.fcs"},
        {"plate_A10_x.fcs", true, false, "", "", "plate_A10_x.fcs"},
        {"plate_a1_x.fcs", true, false, "", "", "plate_a1_x.fcs"},
        {"run_B2_C3_.fcs", true, false, "", "", "run_B02_C03_.fcs"},
        {"run_H9_.fcs", true, false, "", "", "run_H09_.fcs"},
        {"run_I9_.fcs", true, false, "", "", "run_I9_.fcs"},
        {"run_A0_.fcs", true, false, "", "", "run_A0_.fcs"},
        {"run_A1.fcs", true, false, "", "", "run_A1.fcs"},
        // Rule 2 alone: every occurrence, left to right, no overlaps.
        {"plate_plate.fcs", false, true, "plate", "P", "P_P.fcs"},
        {"aaa.fcs", false, true, "aa", "b", "ba.fcs"},
        {"x.fcs", false, true, "x", "xx", "xx.fcs"},
        {"Plate_A1_.fcs", false, true, "plate", "P", "Plate_A1_.fcs"},
        // Both: rule 2 sees the zeros of rule 1.
        {"plate_A1_.fcs", true, true, "A01", "W1", "plate_W1_.fcs"},
        {"plate_A1_.fcs", true, true, "plate", "P", "P_A01_.fcs"},
        // Neither rule on.
        {"plate_A1_.fcs", false, false, "plate", "P", "plate_A1_.fcs"},
    };
    for (const Case& c : cases) {
        const RenameRules rules{c.pad, c.replace, c.find, c.replacement};
        EXPECT_EQ(NewFileName(c.name, rules), c.expected) << c.name << " find " << c.find;
    }
}

std::string repeated(const std::string& part, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += part;
    return out;
}

// Which new names a folder's file system takes.
struct NameCase {
    const char* why;
    std::string name;
    bool windowsNames;  // a FAT, NTFS or SMB folder
    bool taken;
};
void PrintTo(const NameCase& c, std::ostream* os) { *os << c.why; }

class FileNameChecks : public ::testing::TestWithParam<NameCase> {};

TEST_P(FileNameChecks, TakenOrRefusedWithAReason) {
    const NameCase& c = GetParam();
    FolderNameRules rules;
    rules.windowsNames = c.windowsNames;
    const std::string why = FileNameProblem(c.name, rules);
    EXPECT_EQ(why.empty(), c.taken) << c.why << ": " << why;
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameChecks,
    ::testing::Values(NameCase{"plain name", "plate_A01_.fcs", false, true},
                      NameCase{"255 bytes", std::string(251, 'n') + ".fcs", false, true},
                      NameCase{"256 bytes", std::string(252, 'n') + ".fcs", false, false},
                      NameCase{"128 letters of two bytes", repeated("\xC3\xA4", 128), false, false},
                      NameCase{"127 letters of two bytes", repeated("\xC3\xA4", 127), false, true},
                      NameCase{"empty", "", false, false},
                      NameCase{"dot", ".", false, false},
                      NameCase{"dot dot", "..", false, false},
                      NameCase{"slash", "a/b.fcs", false, false},
                      NameCase{"zero byte", std::string("a\0b.fcs", 7), false, false},
                      NameCase{"hidden name", ".plate.fcs", false, true},
                      NameCase{"colon on ext4", "run:1.fcs", false, true},
                      NameCase{"colon on FAT", "run:1.fcs", true, false},
                      NameCase{"question mark on FAT", "run?.fcs", true, false},
                      NameCase{"backslash on FAT", "a\\b.fcs", true, false},
                      NameCase{"tab on FAT", "a\tb.fcs", true, false},
                      NameCase{"trailing dot on FAT", "run.", true, false},
                      NameCase{"trailing blank on FAT", "run ", true, false},
                      NameCase{"plain name on FAT", "run A01.fcs", true, true}),
    [](const auto& info) { return test::TestNameOf(info.param.why, info.index); });

TEST(FolderNameRules, ATemporaryFolderTakesNamesOfUpTo255Bytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const FolderNameRules rules = NameRulesOf(QFile::encodeName(dir.path()).toStdString() + "/");
    EXPECT_GT(rules.maxBytes, 13u);
    EXPECT_LE(rules.maxBytes, 255u);
}

class BatchRenameFolder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    std::string folder() const { return QFile::encodeName(dir.path()).toStdString() + "/"; }
    void make(const QString& name, const QByteArray& content) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray read(const QString& name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    std::vector<std::string> names() const { return ListFolderFiles(folder()); }
    QTemporaryDir dir;
};

TEST_F(BatchRenameFolder, UnchangedNamesAreLeftOutAndTheRestRenamed) {
    make("p_A1_.fcs", "one");
    make("p_A10_.fcs", "ten");
    make("notes.txt", "n");
    const RenamePlan plan = PlanRenames(folder(), names(), RenameRules{true, false, "", ""});
    ASSERT_TRUE(plan.problems.empty());
    ASSERT_EQ(plan.renames.size(), 1u);
    EXPECT_EQ(plan.renames[0].from, "p_A1_.fcs");
    const RenameOutcome out = ApplyRenames(folder(), plan.renames);
    EXPECT_TRUE(out.error.empty());
    EXPECT_EQ(out.done.size(), 1u);
    EXPECT_EQ(names(), (std::vector<std::string>{"notes.txt", "p_A01_.fcs", "p_A10_.fcs"}));
    EXPECT_EQ(read("p_A01_.fcs"), "one");
    EXPECT_EQ(read("p_A10_.fcs"), "ten");
}

TEST_F(BatchRenameFolder, ClashesRefuseTheWholeBatch) {
    struct Case {
        const char* why;
        std::vector<const char*> files;
        RenameRules rules;
        const char* problem;
    };
    const Case cases[] = {
        {"new name exists", {"a_A1_.fcs", "a_A01_.fcs", "b_B1_.fcs"}, {true, false, "", ""},
         "a_A1_.fcs -> a_A01_.fcs: a_A01_.fcs exists already"},
        {"new name is another file being renamed", {"r1.fcs", "r2.fcs"}, {false, true, "1", "2"},
         "r1.fcs -> r2.fcs: r2.fcs exists already"},
        {"two files one new name", {"r_1.fcs", "r1_.fcs", "s.fcs"}, {false, true, "_", ""},
         "r_1.fcs -> r1.fcs: also the new name of r1_.fcs"},
    };
    for (const Case& c : cases) {
        QTemporaryDir case_dir;
        dir.swap(case_dir);
        for (const char* f : c.files) make(f, f);
        const std::vector<std::string> before = names();
        const RenamePlan plan = PlanRenames(folder(), before, c.rules);
        EXPECT_EQ(plan.problems, std::vector<std::string>{c.problem}) << c.why;
        // The window runs nothing when the plan has problems; the files stay.
        EXPECT_EQ(names(), before) << c.why;
        for (const char* f : c.files) EXPECT_EQ(read(f), QByteArray(f)) << c.why;
    }
}

TEST_F(BatchRenameFolder, InvalidRulesAndNamesAreRefused) {
    make("abc.fcs", "x");
    struct Case {
        RenameRules rules;
        const char* problem;
    };
    const Case cases[] = {
        {{false, true, "", "P"}, "The text to replace is empty."},
        {{false, true, "abc.fcs", ""}, "abc.fcs: \"\" is not a valid name"},
        {{false, true, "b", "/"}, "abc.fcs: \"a/c.fcs\" is not a valid name"},
        {{false, true, "abc.fcs", ".."}, "abc.fcs: \"..\" is not a valid name"},
    };
    for (const Case& c : cases) {
        const RenamePlan plan = PlanRenames(folder(), names(), c.rules);
        EXPECT_EQ(plan.problems, std::vector<std::string>{c.problem}) << c.rules.replacement;
    }
    EXPECT_EQ(read("abc.fcs"), "x");
}

// A name the file system would refuse halfway through the batch: before,
// the files listed before it were renamed and those after it were not.
TEST_F(BatchRenameFolder, OneOverLongNameRenamesNothingAndIsMarked) {
    const std::string longName = std::string(250, 'm') + "1.fcs";  // 255 bytes, 256 after the rule
    make("a1.fcs", "a");
    make(QFile::decodeName(QByteArray::fromStdString(longName)), "m");
    make("z1.fcs", "z");
    const std::vector<std::string> before = names();
    const RenamePlan plan = PlanRenames(folder(), before, RenameRules{false, true, "1", "22"});
    ASSERT_EQ(plan.problems.size(), 1u);
    EXPECT_NE(plan.problems[0].find("256 bytes"), std::string::npos) << plan.problems[0];
    ASSERT_EQ(plan.refusals.size(), 3u);
    EXPECT_TRUE(plan.refusals[0].empty());
    EXPECT_EQ(plan.refusals[1], plan.problems[0]);
    EXPECT_TRUE(plan.refusals[2].empty());
    EXPECT_EQ(names(), before);
    EXPECT_EQ(read("a1.fcs"), "a");
}

// Each name fits the file system, but the folder and a new name make a path
// the system refuses: before, the files before it in the list were renamed
// and the rename of that one failed with "File name too long".
TEST_F(BatchRenameFolder, APathPastTheSystemLimitRenamesNothingAndIsMarked) {
    const size_t limit = NameRulesOf(folder()).maxPathBytes;
    ASSERT_GT(limit, 200u);
    // a1.fcs -> a22.fcs fits exactly; bb1.fcs -> bb22.fcs is one byte too long.
    const std::string deep = test::MakeDeepFolder(QFile::encodeName(dir.path()).toStdString(), limit - 7);
    ASSERT_EQ(deep.size(), limit - 7);
    for (const char* name : {"a1.fcs", "bb1.fcs"}) test::WriteBytes(deep + name, name);
    const std::vector<std::string> before = ListFolderFiles(deep);
    ASSERT_EQ(before, (std::vector<std::string>{"a1.fcs", "bb1.fcs"}));
    const RenamePlan plan = PlanRenames(deep, before, RenameRules{false, true, "1", "22"});
    const std::string why = "bb1.fcs: \"bb22.fcs\" makes a path of " + std::to_string(limit + 1) +
                            " bytes; the system takes paths of at most " + std::to_string(limit);
    EXPECT_EQ(plan.problems, std::vector<std::string>{why});
    EXPECT_EQ(plan.refusals, (std::vector<std::string>{"", why}));
    EXPECT_EQ(ListFolderFiles(deep), before);
    // One byte less in the new name and the whole batch fits.
    EXPECT_TRUE(PlanRenames(deep, before, RenameRules{false, true, "1", "2"}).problems.empty());
}

TEST_F(BatchRenameFolder, RefusalsMarkEachRowOfAClash) {
    make("r_1.fcs", "x");
    make("r1_.fcs", "y");
    make("s.fcs", "s");
    make("t_.fcs", "t");
    make("t.fcs", "taken");
    // r_1 and r1_ both become r1; t_ becomes t, which exists; s is unchanged.
    const RenamePlan plan = PlanRenames(folder(), names(), RenameRules{false, true, "_", ""});
    ASSERT_EQ(names(), (std::vector<std::string>{"r1_.fcs", "r_1.fcs", "s.fcs", "t.fcs", "t_.fcs"}));
    ASSERT_EQ(plan.refusals.size(), 5u);
    EXPECT_EQ(plan.refusals[0], "r1_.fcs -> r1.fcs: also the new name of r_1.fcs");
    EXPECT_EQ(plan.refusals[1], "r_1.fcs -> r1.fcs: also the new name of r1_.fcs");
    EXPECT_EQ(plan.refusals[2], "");
    EXPECT_EQ(plan.refusals[3], "");
    EXPECT_EQ(plan.refusals[4], "t_.fcs -> t.fcs: t.fcs exists already");
}

TEST_F(BatchRenameFolder, AFailedRenameStopsAndListsTheRest) {
    make("a1.fcs", "a");
    make("b1.fcs", "b");
    make("c1.fcs", "c");
    const RenamePlan plan = PlanRenames(folder(), names(), RenameRules{false, true, "1", "2"});
    ASSERT_TRUE(plan.problems.empty());
    // Another program takes the second target between the preview and the renaming.
    make("b2.fcs", "other");
    const RenameOutcome out = ApplyRenames(folder(), plan.renames);
    EXPECT_FALSE(out.error.empty());
    ASSERT_EQ(out.done.size(), 1u);
    EXPECT_EQ(out.done[0].to, "a2.fcs");
    ASSERT_EQ(out.notDone.size(), 2u);
    EXPECT_EQ(out.notDone[0].from, "b1.fcs");
    EXPECT_EQ(out.notDone[1].from, "c1.fcs");
    EXPECT_EQ(read("b2.fcs"), "other");  // never overwritten
    EXPECT_EQ(read("b1.fcs"), "b");
    EXPECT_EQ(read("c1.fcs"), "c");
}

TEST_F(BatchRenameFolder, NamesDifferingInCaseAreTwoFiles) {
    make("A.fcs", "upper");
    make("b.fcs", "lower");
    // "b.fcs" -> "a.fcs" does not clash with "A.fcs".
    const RenamePlan plan = PlanRenames(folder(), names(), RenameRules{false, true, "b", "a"});
    ASSERT_TRUE(plan.problems.empty());
    ApplyRenames(folder(), plan.renames);
    EXPECT_EQ(read("A.fcs"), "upper");
    EXPECT_EQ(read("a.fcs"), "lower");
}

}  // namespace
}  // namespace qv
