// The time and projection plots in the running program: a sheet brings a
// projector and a flux tracker back on their file, the time axis and the
// projection become parameters of that file that a dot plot shows, "Save FCS
// as..." writes them, and a sheet written again keeps the windows' lines.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/FcsSaveCommands.h"
#include "app/PaaIkkuna.h"
#include "app/SheetSections.h"
#include "app/WindowRegistry.h"
#include "app/model/ProgramFolder.h"
#include "core/FcsReader.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/histogram/Histogram.h"
#include "plots/timeproj/FluxTracker.h"
#include "plots/timeproj/Projector.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

using test::ScriptedDialogs;
using test::TempFolder;

QString q(const std::string& s) { return QString::fromStdString(s); }

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class TimeProjWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolderOverride(q(programDir.path()));
        setAppDataFolderOverride(q(appDataDir.path()));
        setSheetSection(SheetSectionKind::PrintView, {});
        setSheetSection(SheetSectionKind::FileInfo, {});
        registerDotPlotKind();
        registerHistogramKind();
        registerFluxTrackerKind();
        registerProjectorKind();
        main = std::make_unique<PaaIkkuna>();
        main->MDIForm_Load();
        QApplication::setActiveWindow(main.get());
    }
    void TearDown() override {
        main.reset();
        setProgramFolderOverride(QString());
        setAppDataFolderOverride(QString());
        resetSharedState();
    }

    // A sheet with the data file in slot 1, a flux tracker in window 1 and a
    // projector at -35 degrees in window 2.
    void loadSheetOn(const std::string& dataPath) {
        const std::string sheet = "# Quorvane Analysis sheet\r\n\r\ngeneral.version:1.2.1\r\n\r\n"
                                  "file.1.path:" + dataPath + "\r\n"
                                  "window.1.type:FluxTracker\r\nwindow.1.file:1\r\nwindow.1.curve.smoothing:2\r\n"
                                  "window.2.type:Projector\r\nwindow.2.file:1\r\nwindow.2.size.x:6000\r\n"
                                  "window.2.size.y:3000\r\nwindow.2.angle:-35\r\n";
        test::WriteBytes(sheetDir.file("view.quorvane"), sheet);
        main->LataaNakyma(q(sheetDir.file("view.quorvane")));
    }

    // Makes a time axis and a projection, shows the projection in a dot plot
    // and a histogram, saves the file as FCS and reads it back.
    FileRecord roundTrip(int parameters) {
        auto* flux = dynamic_cast<FluxTracker*>(windowAt(1));
        auto* projector = dynamic_cast<Projector*>(windowAt(2));
        EXPECT_NE(flux, nullptr);
        EXPECT_NE(projector, nullptr);
        if (!flux || !projector) return {};
        EXPECT_EQ(projector->angle(), -35);
        EXPECT_EQ(flux->curveSettings().CurveSmoothing, 2);
        EXPECT_EQ(g.WindowRegistry[2].FileIndex, 1);
        const QWidget* frame = projector->parentWidget();
        EXPECT_EQ(frame->width(), frame->height());  // square whatever size.y said

        flux->MenuValintaReaktio(FluxCreateTimeAxis);
        projector->MenuValintaReaktio(ProjectorMakeProjection);
        const FileRecord& file = g.FileTable[1];
        EXPECT_EQ(file.ParameterCount, parameters + 2);
        const std::string time = std::to_string(parameters + 1), projected = std::to_string(parameters + 2);
        flux->AsetaKanava("x", time);
        EXPECT_FALSE(flux->curveBins().empty());

        const int dot = main->createFromMenu("DotPlot");
        EXPECT_EQ(g.WindowRegistry[static_cast<size_t>(dot)].FileIndex, 1);
        auto* plot = dynamic_cast<DotPlot*>(windowAt(dot));
        plot->AsetaKanava("x", projected);
        EXPECT_EQ(plot->AnnaKanava("x"), projected);
        EXPECT_GT(plot->eventsDrawn(), 0);
        const int histogram = main->createFromMenu("Histogram");
        windowAt(histogram)->AsetaKanava("x", projected);
        EXPECT_EQ(windowAt(histogram)->AnnaKanava("x"), projected);

        g.ActiveWindowSlot = static_cast<int16_t>(dot);
        const std::string saved = dataDir.file("with-projection.fcs");
        {
            ScriptedDialogs dialogs;
            dialogs.expectSaveFile(q(saved), "Save as FCS file");
            SaveFcsAs();
        }
        return ReadFcsFile(saved);
    }

    TempFolder programDir, appDataDir, dataDir, sheetDir;
    std::unique_ptr<PaaIkkuna> main;
};

TEST_F(TimeProjWorkspaceTest, ASheetProjectorMakesAParameterThatIsShownAndSaved) {
    test::FcsTestFile f;
    f.param("FSC-H").param("SSC-H");
    for (int i = 0; i < 300; ++i) f.event({std::fmod(i * 37.0, 1024.0), std::fmod(i * 91.0, 1024.0)});
    test::WriteFcsTestFile(dataDir.file("tube.fcs"), f);
    loadSheetOn(dataDir.file("tube.fcs"));

    const FileRecord back = roundTrip(2);
    ASSERT_TRUE(back.Loaded) << back.RefusalReason;
    ASSERT_EQ(back.ParameterCount, 4);
    EXPECT_EQ(back.Parameters[3].Name, "Time (generic)");
    EXPECT_EQ(back.Parameters[4].Name, "FSC-H,SSC-H (-35 degr)");
    EXPECT_EQ(back.WorkingData(300, 3), 1024);
    for (int e = 1; e <= 300; ++e) {
        ASSERT_GE(back.WorkingData(e, 4), 0);
        ASSERT_LE(back.WorkingData(e, 4), 1024);
    }

    // A sheet written now keeps both windows' own lines (not the parameters).
    const std::string again = sheetDir.file("again.quorvane");
    {
        ScriptedDialogs dialogs;
        dialogs.expectSaveFile(q(again), "Save analysis file");
        main->TalletaNakyma("Sheet");
    }
    const std::string text = readAll(again);
    EXPECT_NE(text.find("window.2.angle:-35\r\n"), std::string::npos);
    EXPECT_NE(text.find("window.1.curve.smoothing:2\r\n"), std::string::npos);
    EXPECT_NE(text.find("window.1.axis.x:3\r\n"), std::string::npos);
}

TEST_F(TimeProjWorkspaceTest, TheFacsCaliburFileTakesATimeAxisAndAProjection) {
    const std::string path = std::string(QV_TESTDATA_DIR) + "/facscalibur_fcs2_int16.fcs";
    if (!QFile::exists(q(path))) GTEST_SKIP() << "no instrument files at " << QV_TESTDATA_DIR;
    loadSheetOn(path);
    const FileRecord back = roundTrip(8);
    ASSERT_TRUE(back.Loaded) << back.RefusalReason;
    ASSERT_EQ(back.ParameterCount, 10);
    EXPECT_EQ(back.EventCount, 37395);
    EXPECT_EQ(back.Parameters[10].Name, "FSC-H,SSC-H (-35 degr)");
    EXPECT_EQ(back.WorkingData(37395, 9), 1024);
}

}  // namespace
}  // namespace qv
