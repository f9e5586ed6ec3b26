// The 3-D plot and the DAD window through analysis sheets in the running
// main window: a sheet holding windows without a file and damaged values,
// and a DAD window with its gate saved and read back.
#include <gtest/gtest.h>

#include <QApplication>

#include <memory>
#include <string>

#include "app/PaaIkkuna.h"
#include "app/SheetStore.h"
#include "app/WindowRegistry.h"
#include "app/model/ProgramFolder.h"
#include "core/AtomicFile.h"
#include "core/SharedState.h"
#include "plots/multi/Dad.h"
#include "plots/multi/ThreeDPlot.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

using test::TempFolder;

QString q(const std::string& s) { return QString::fromStdString(s); }

class MultiSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolderOverride(q(programDir.path()));
        setAppDataFolderOverride(q(programDir.path()));
        registerThreeDPlotKind();
        registerDadKind();
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
    void load(const std::string& path) {
        test::ScriptedDialogs dlg;  // any dialog here fails the test at once
        main->LataaNakyma(q(path));
    }
    DAD* dad(int id) { return dynamic_cast<DAD*>(windowAt(id)); }

    TempFolder programDir, dataDir;
    std::unique_ptr<PaaIkkuna> main;
};

TEST_F(MultiSheetTest, WindowsWithoutAFileAndDamagedValuesLoad) {
    const std::string sheet = dataDir.file("fileless.quorvane");
    test::WriteBytes(sheet,
                     "# Quorvane Analysis sheet\r\n\r\ngeneral.version:1.2.1\r\n\r\n"
                     "window.2.type:DAD\r\nwindow.2.location.x:100\r\nwindow.2.file:3\r\nwindow.2.events:0\r\n"
                     "window.2.deviator:0\r\nwindow.2.iterations:x\r\nwindow.2.axis.x:99999\r\nwindow.2.show:300\r\n"
                     "window.4.type:3D Plot\r\nwindow.4.file:0\r\nwindow.4.axis.z:-4\r\nwindow.4.distance:1e400\r\n"
                     "window.4.rotate.x:45\r\n");
    load(sheet);
    DAD* d = dad(2);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(g.WindowRegistry[2].FileIndex, 0);
    EXPECT_GE(d->layout().SampleSize, 1);
    EXPECT_EQ(d->layout().Deviator, 1000);
    EXPECT_EQ(d->layout().IterationCount, 100);
    EXPECT_EQ(d->AnnaOtsikko(), "(2): Data Analyzing Data - No File");
    d->startOrStop();
    d->placeRest();
    EXPECT_FALSE(d->layout().Running);

    auto* plot = dynamic_cast<Plot3D*>(windowAt(4));
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->state().AxisZ, 3);
    EXPECT_EQ(plot->state().Distance, 1500);
    EXPECT_EQ(plot->state().RotateX, 45);

    // The autosave of this workspace reads back as well.
    main->TalletaNakyma(QStringLiteral("Autosave"));
    const std::string autosave = programDir.file("autosave.quorvane");
    std::string text;
    ASSERT_TRUE(ReadWholeFile(autosave, text));
    EXPECT_NE(text.find("window.2.type:DAD\r\n"), std::string::npos);
    load(autosave);
    ASSERT_NE(dad(2), nullptr);
}

TEST_F(MultiSheetTest, DadWindowItsSettingsAndItsGateComeBack) {
    test::FcsTestFile f;
    f.param("FSC-H").param("SSC-H").param("FL1-H");
    for (int i = 0; i < 300; ++i) f.event({double((i * 37) % 1000), double((i * 91) % 1000), double((i * 13) % 1000)});
    test::WriteFcsTestFile(dataDir.file("tube.fcs"), f);
    const std::string sheet = dataDir.file("dad.quorvane");
    test::WriteBytes(sheet, "# Quorvane Analysis sheet\r\n\r\ngeneral.version:1.2.1\r\n\r\n"
                            "file.1.path:" + dataDir.file("tube.fcs") + "\r\n"
                            "window.2.type:DAD\r\nwindow.2.file:1\r\nwindow.2.events:50\r\nwindow.2.iterations:7\r\n"
                            "window.2.deviator:300\r\nwindow.2.axis.x:3\r\nwindow.2.movement.x:12\r\n"
                            "window.2.movement.y:-4\r\n");
    load(sheet);
    DAD* d = dad(2);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(g.WindowRegistry[2].FileIndex, 1);
    EXPECT_EQ(d->layout().SampleSize, 50);
    EXPECT_EQ(d->layout().IterationCount, 7);
    EXPECT_EQ(d->layout().Deviator, 300);
    EXPECT_EQ(d->layout().StartAxisX, 3);
    EXPECT_EQ(d->pan().x, 12);
    EXPECT_EQ(SampledEvents(d->layout()).size(), 50u);
    EXPECT_EQ(d->channelNames(), (QStringList{"FSC-H", "SSC-H", "FL1-H"}));
    EXPECT_EQ(d->AnnaOtsikko(), "(2): Data Analyzing Data - , tube.fcs");

    // A gate drawn on the layout.
    PopulationRecord& gate = g.PopulationTable[3];
    gate.InUse = true;
    gate.Type = "DAD";
    gate.Name = "DAD-3";
    gate.Created = 2;
    gate.Corners = 3;
    const float corners[][2] = {{100, 200}, {9000, 300}, {4000, 9500}};
    for (int j = 1; j <= 3; ++j) {
        gate.CornerX[static_cast<size_t>(j)] = corners[j - 1][0];
        gate.CornerY[static_cast<size_t>(j)] = corners[j - 1][1];
    }
    d->CheckPopulation(3);
    const std::vector<std::string> settings = d->SaveInfo();

    main->TalletaNakyma(QStringLiteral("Autosave"));
    load(programDir.file("autosave.quorvane"));
    d = dad(2);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->SaveInfo(), settings);
    const PopulationRecord& back = g.PopulationTable[3];
    EXPECT_TRUE(back.InUse);
    EXPECT_EQ(back.Type, "DAD");
    ASSERT_EQ(back.Corners, 3);
    for (int j = 1; j <= 3; ++j) {
        EXPECT_EQ(back.CornerX[static_cast<size_t>(j)], corners[j - 1][0]);
        EXPECT_EQ(back.CornerY[static_cast<size_t>(j)], corners[j - 1][1]);
    }
    // The layout is not saved, and "Place rest" leaves the gate's membership
    // as it is: the gate takes the new layout when its polygon closes again.
    auto inside = [] {
        int n = 0;
        for (int e = 1; e <= 300; ++e) n += g.FileTable[1].Membership(e, 3);
        return n;
    };
    const int before = inside();
    d->setChannelChecked(0, true);
    d->setChannelChecked(1, true);
    d->placeRest();
    EXPECT_EQ(inside(), before);
    d->CheckPopulation(3);
    EXPECT_GT(inside(), 0);
}

}  // namespace
}  // namespace qv
