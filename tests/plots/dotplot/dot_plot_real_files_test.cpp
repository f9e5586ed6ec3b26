// Real instrument files shown in a dot plot: the first two parameters as
// dots, a log parameter on X, density, the picture saved as BMP, the
// statistics of a fast draw. Skipped
// when the folder of real files is not there.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <memory>
#include <string>

#include "core/Compensation.h"
#include "core/FcsReader.h"
#include "core/SharedState.h"
#include "output/Statistics.h"
#include "output/model/StatisticsGrid.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/dotplot/DotPlotStatisticsPanel.h"
#include "tests/support/ScriptedDialogs.h"

namespace qv {
namespace {

std::string RealFile(const char* name) { return std::string(QV_TESTDATA_DIR) + "/" + name; }

class DotPlotRealFilesTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (!QDir(QStringLiteral(QV_TESTDATA_DIR)).exists())
            GTEST_SKIP() << "The folder of real instrument files (" << QV_TESTDATA_DIR << ") is not there";
        resetSharedState();
    }
    void TearDown() override {
        if (plot) plot->close();
        resetSharedState();
    }

    // Reads the file into slot 1 as the opening code does and shows it in window 1.
    bool open(const char* name) {
        FileRecord file = ReadFcsFile(RealFile(name));
        if (!file.Loaded) return false;
        g.FileTable[1] = std::move(file);
        ApplyCompensation(g.FileTable[1]);
        plot = std::make_unique<DotPlot>();
        g.WindowRegistry[1].InUse = true;
        g.WindowRegistry[1].Form = plot.get();
        plot->Alusta(1);
        g.WindowRegistry[1].FileIndex = 1;
        plot->LatauksenJalkeen();
        plot->Piirra();
        return true;
    }

    std::unique_ptr<DotPlot> plot;
};

TEST_P(DotPlotRealFilesTest, EveryModeDraws) {
    ASSERT_TRUE(open(GetParam()));
    const FileRecord& file = g.FileTable[1];
    // Events beyond a parameter's range lie outside the picture and are not drawn.
    const int64_t expected = (file.EventCount + plot->state().EventStep - 1) / plot->state().EventStep;
    EXPECT_GT(plot->eventsDrawn(), expected / 2);
    EXPECT_LE(plot->eventsDrawn(), expected);
    for (int p = 1; p <= file.ParameterCount; ++p) {
        SCOPED_TRACE(file.Parameters[static_cast<size_t>(p)].Name);
        plot->AsetaKanava("x", std::to_string(p));
        EXPECT_LE(plot->eventsDrawn(), expected);
        plot->MenuValintaReaktio(MenuDensity);
        EXPECT_LE(plot->eventsDrawn(), expected);
        plot->MenuValintaReaktio(MenuDensity);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, DotPlotRealFilesTest,
                         ::testing::Values("facscalibur_fcs2_int16.fcs", "coulter_fcs2_int16_le.lmd",
                                           "fortessa_fcs3_float_spill.fcs", "macsquant_fcs2_float_le.fcs",
                                           "macsquant_fcs3_float_le.fcs"));

// The road a user takes by hand: FSC/SSC, FL1-H on a log axis, density, saved as BMP.
TEST_F(DotPlotRealFilesTest, FacsCaliburFromScatterToSavedPicture) {
    ASSERT_TRUE(open("facscalibur_fcs2_int16.fcs"));
    EXPECT_EQ(plot->AnnaOtsikko(), "(1): Dot Plot - facscalibur_fcs2_int16.fcs");
    EXPECT_EQ(plot->eventsDrawn(), 37395);
    plot->AsetaKanava("x", "3");
    ASSERT_TRUE(g.FileTable[1].Parameters[3].IsLog);
    EXPECT_EQ(g.FileTable[1].Parameters[3].Name, "FL1-H");
    plot->MenuValintaReaktio(MenuDensity);
    EXPECT_EQ(plot->eventsDrawn(), 37395);

    QTemporaryDir dir;
    const QString path = dir.filePath("facscalibur.bmp");
    test::ScriptedDialogs dlg;
    dlg.expectSaveFile(path, "Save the image");
    plot->MenuValintaReaktio(MenuSaveBmp);
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), plot->picture());
}

// The Fortessa's width parameters in fast draw (a sample of the events): means
// in the tens of thousands, made from 32-bit values, shown cut downward.
TEST_F(DotPlotRealFilesTest, FortessaWidthMeansInFastDrawAreCutDownward) {
    g.FastDrawLimit = 5000;
    ASSERT_TRUE(open("fortessa_fcs3_float_spill.fcs"));
    ASSERT_EQ(g.FileTable[1].Parameters[3].Name, "FSC-W");
    ASSERT_EQ(g.FileTable[1].Parameters[6].Name, "SSC-W");
    plot->AsetaKanava("x", "3");
    plot->AsetaKanava("y", "6");
    g.WindowRegistry[1].Type = "DotPlot";  // the statistics window's columns follow its owner's kind
    plot->MenuValintaReaktio(MenuStatistics);
    ASSERT_NE(plot->statisticsPanel()->window(), nullptr);
    const StatisticsGrid& grid = plot->statisticsPanel()->window()->MSFlexGrid1();
    ASSERT_EQ(grid.text(0, 3), "X mean");
    ASSERT_EQ(grid.text(0, 6), "Y geomean");
    EXPECT_EQ(grid.text(0, 0), "FAST DRAW");
    EXPECT_EQ(grid.text(1, 1), "3862");  // every third event
    EXPECT_EQ(grid.text(1, 3), "113676.49");
    EXPECT_EQ(grid.text(1, 6), "64038.16");
}

}  // namespace
}  // namespace qv
