// The projector's numbers: projected values at positive, negative and zero
// angles with their clamping, the parameter's name, the angle answers, a
// projection with no length, the file left alone without a loaded file, and
// a projected parameter saved as FCS and read back.
#include <gtest/gtest.h>

#include <QString>

#include <string>
#include <vector>

#include "app/model/FcsFileSave.h"
#include "core/FcsReader.h"
#include "core/SharedState.h"
#include "plots/timeproj/model/Projection.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

using test::MakeFile;
using test::PutFile;

class ProjectionTest : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
    void TearDown() override { resetSharedState(); }
};

TEST_F(ProjectionTest, ValuesAlongTheLineAtPositiveNegativeAndZeroAngles) {
    struct Case {
        int angle;
        float x, y;
        float expected;
    };
    const std::vector<Case> cases = {
        {30, 500, 200, 618},   {30, 300, 900, 235},   {30, 0, 1024, 0},     {30, 1024, 0, 1024},
        {-30, 500, 200, 390},  {-30, 0, 0, 0},        {-30, 1024, 1024, 1024},
        {0, 100.7f, 999, 100}, {0, 1023.9f, 0, 1023},
        // beyond the ranges and below 0: held at the ends
        {30, 2000, 0, 1024},   {-30, -300, -10, 0},   {0, -5, 0, 0},         {0, 5000, 0, 1024},
        {90, 100, 300, 724},   {-90, 100, 300, 300},
    };
    for (const Case& c : cases) {
        FileRecord f = MakeFile({{"FL1", 1024}, {"FL2", 1024}}, {{c.x, c.y}});
        PutFile(1, f);
        ASSERT_TRUE(MakeProjection(1, 1, 2, c.angle));
        const FileRecord& out = g.FileTable[1];
        EXPECT_EQ(out.WorkingData(1, 3), c.expected) << c.angle << " " << c.x << "," << c.y;
        EXPECT_EQ(out.PristineData(1, 3), c.expected);
    }
}

TEST_F(ProjectionTest, TheNewParameterIsNamedByItsAxesAndAngle) {
    PutFile(2, MakeFile({{"FL1", 1024}, {"FL2", 256}}, {{1, 1}, {2, 2}}));
    ASSERT_TRUE(MakeProjection(2, 1, 2, -35));
    ASSERT_TRUE(MakeProjection(2, 1, 2, -35));  // again: a second parameter of the same name
    const FileRecord& f = g.FileTable[2];
    ASSERT_EQ(f.ParameterCount, 4);
    EXPECT_EQ(f.Parameters[3].Name, "FL1,FL2 (-35 degr)");
    EXPECT_EQ(f.Parameters[4].Name, "FL1,FL2 (-35 degr)");
    EXPECT_EQ(f.Parameters[3].Range, 1024);
    EXPECT_FALSE(f.Parameters[3].IsLog);
    EXPECT_EQ(f.CompensationMatrix.maxColumn(), 4);
    EXPECT_EQ(ProjectionName("FSC", "SSC", 0), "FSC,SSC (0 degr)");
}

TEST_F(ProjectionTest, NothingIsAddedWithoutAFileOrALength) {
    EXPECT_FALSE(MakeProjection(0, 1, 2, 20));
    EXPECT_FALSE(MakeProjection(3, 1, 2, 20));  // empty slot
    EXPECT_EQ(g.FileTable[0].ParameterCount, 0);
    EXPECT_EQ(g.FileTable[3].ParameterCount, 0);

    PutFile(1, MakeFile({{"A", 0}, {"B", 0}, {"C", 1024}}, {{1, 1, 1}}));
    EXPECT_FALSE(MakeProjection(1, 1, 2, 30));  // both ranges 0: no length
    EXPECT_FALSE(MakeProjection(1, 1, 9, 30));  // no parameter 9
    EXPECT_EQ(g.FileTable[1].ParameterCount, 3);
    EXPECT_FALSE(ProjectionFor(30, 0, 0).valid);
    EXPECT_TRUE(ProjectionFor(30, 1024, 0).valid);
}

TEST_F(ProjectionTest, AnglesAreHeldWithinNinetyDegrees) {
    struct Case {
        const char* answer;
        int expected;  // 999: no answer taken
    };
    for (const Case& c : std::vector<Case>{{"120", 90}, {"-200", -90}, {"12.5", 12}, {"13.5", 14}, {"", 999},
                                           {"abc", 999}, {"1e9", 90}, {"-45", -45}, {" 7,5 ", 8}}) {
        const auto a = AngleAnswer(c.answer);
        EXPECT_EQ(a ? *a : 999, c.expected) << c.answer;
    }
    EXPECT_EQ(ClampAngle(500), 90);
    EXPECT_EQ(ClampAngle(-91), -90);
}

TEST_F(ProjectionTest, TheHandleIsHitStrictlyInsideThreeUnits) {
    EXPECT_TRUE(HandleHit(102, 50, 100, 50));
    EXPECT_FALSE(HandleHit(103, 50, 100, 50));  // exactly 3 to the right: a rotation
    EXPECT_FALSE(HandleHit(100, 47, 100, 50));
    EXPECT_TRUE(HandleHit(98, 52, 100, 50));
}

TEST_F(ProjectionTest, TheCentreKeepsItsPlaceAcrossResizes) {
    EXPECT_EQ(RescaledCentre(200, 800, 400), 400);
    EXPECT_EQ(RescaledCentre(5, 300, 400), 4);   // 3.75 -> 4
    EXPECT_EQ(RescaledCentre(200, 800, 0), 200);  // no last size: nothing to divide by
}

TEST_F(ProjectionTest, AProjectedParameterIsSavedAsFcsAndReadBack) {
    test::TempFolder folder;
    PutFile(1, MakeFile({{"FL1", 1024}, {"FL2", 1024}}, {{500, 200}, {0, 1024}, {1024, 0}}, "cells.fcs",
                        folder.path()));
    ASSERT_TRUE(MakeProjection(1, 1, 2, 30));
    const std::string path = folder.file("projected.fcs");
    ASSERT_TRUE(WriteFcsFile(QString::fromStdString(path), g.FileTable[1]));

    const FileRecord back = ReadFcsFile(path);
    ASSERT_TRUE(back.Loaded) << back.RefusalReason;
    ASSERT_EQ(back.ParameterCount, 3);
    EXPECT_EQ(back.Parameters[3].Name, "FL1,FL2 (30 degr)");
    EXPECT_EQ(back.Parameters[3].Range, 1024);
    EXPECT_EQ(back.WorkingData(1, 3), 618);
    EXPECT_EQ(back.WorkingData(2, 3), 0);
    EXPECT_EQ(back.WorkingData(3, 3), 1024);
}

}  // namespace
}  // namespace qv
