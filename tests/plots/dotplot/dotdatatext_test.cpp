// The data export text and its atomic write.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "plots/dotplot/model/DotDataText.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

class DotDataTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        file = test::MakeFile({{"FSC", 1024}, {"SSC", 1024}, {"FL1", 10000, true}},
                              {{1.5f, 2.f, 3.f}, {-0.25f, 100.f, 7.f}, {512.f, 0.5f, 1e6f}, {12.f, 13.f, 14.f}});
        // Event 2 and 4 belong to population 5; event 3 has a stray byte 2.
        file.Membership(2, 5) = 1;
        file.Membership(4, 5) = 1;
        file.Membership(3, 5) = 2;
    }
    FileRecord file;
};

TEST_F(DotDataTextTest, WritesTheChosenChannelsOfTheShownEvents) {
    struct Case {
        int x, y, shown;
        const char* expected;
    };
    const Case cases[] = {
        {1, 2, 0, "1.5\t2\n-0.25\t100\n512\t0.5\n12\t13\n"},
        {2, 3, 0, "2\t3\n100\t7\n0.5\t1000000\n13\t14\n"},
        // Only membership byte 1 counts.
        {1, 2, 5, "-0.25\t100\n12\t13\n"},
        // A population nobody belongs to gives an empty text.
        {1, 2, 6, ""},
        // Channels outside the file write nothing rather than read past the data.
        {4, 1, 0, ""},
        {0, 1, 0, ""},
        // A column outside the membership table exports nothing.
        {1, 2, 99, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x=" << c.x << " y=" << c.y << " shown=" << c.shown);
        EXPECT_EQ(DotDataText(file, c.x, c.y, c.shown), c.expected);
    }
}

TEST_F(DotDataTextTest, EventsBeyondEventCountAreNotWritten) {
    file.EventCount = 2;
    EXPECT_EQ(DotDataText(file, 1, 2, 0), "1.5\t2\n-0.25\t100\n");
}

TEST_F(DotDataTextTest, AFileThatIsNotLoadedGivesAnEmptyText) {
    EXPECT_EQ(DotDataText(FileRecord{}, 1, 2, 0), "");
}

TEST(WriteTextFileAtomically, ReplacesTheFileOnlyWhenItCanBeWritten) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("data.txt");
    ASSERT_TRUE(WriteTextFileAtomically(path, "old\n"));
    ASSERT_TRUE(WriteTextFileAtomically(path, std::string("1\t\xe9\n", 4)));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("1\t\xe9\n", 4));
    f.close();

    // A missing folder: no file appears and the call says so.
    EXPECT_FALSE(WriteTextFileAtomically(dir.filePath("missing/data.txt"), "x"));
    EXPECT_FALSE(QFile::exists(dir.filePath("missing/data.txt")));
    // No temporary file is left behind next to the target.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"data.txt"});
}

TEST(WriteTextFileAtomically, AnEmptyTextMakesAnEmptyFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.txt");
    ASSERT_TRUE(WriteTextFileAtomically(path, ""));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFile(path).size(), 0);
}

}  // namespace
}  // namespace qv
