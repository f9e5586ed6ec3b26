// Real instrument files shown in a dot plot: the first two parameters as
// dots, a log parameter on X, density, the picture saved as BMP. Skipped
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
#include "plots/dotplot/DotPlot.h"
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

}  // namespace
}  // namespace qv
