// Bending plots in the running main window: created from the menu on the
// file loaded last, their gates in definitions and statistics with a dot
// plot's gate, and two of them in one analysis sheet, saved and read back.
#include <gtest/gtest.h>

#include <QApplication>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/PaaIkkuna.h"
#include "app/SheetSections.h"
#include "app/WindowRegistry.h"
#include "app/model/PopulationRecompute.h"
#include "app/model/ProgramFolder.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/multi/BendPlot.h"
#include "plots/multi/model/BendAxes.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv::test {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

FcsTestFile SixParameterFile() {
    FcsTestFile f;
    for (const char* name : {"FSC-A", "SSC-A", "FL1-A", "FL2-A", "FL3-A", "FL4-A"}) f.param(name);
    for (int i = 0; i < 300; ++i) {
        std::vector<double> v;
        for (int p = 0; p < 6; ++p) v.push_back(std::fmod(i * (37.0 + 11 * p) + 50 * p, 1000.0));
        f.event(v);
    }
    return f;
}

void PutGate(int slot, const std::string& name, const std::string& type, int created,
             std::vector<std::pair<float, float>> corners, int axisX = 0, int axisY = 0) {
    PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
    p.InUse = true;
    p.Name = name;
    p.Type = type;
    p.Created = static_cast<int16_t>(created);
    p.AxisX = static_cast<int16_t>(axisX);
    p.AxisY = static_cast<int16_t>(axisY);
    p.Corners = static_cast<int16_t>(corners.size());
    for (size_t j = 0; j < corners.size(); ++j) {
        p.CornerX[j + 1] = corners[j].first;
        p.CornerY[j + 1] = corners[j].second;
    }
}

std::vector<uint8_t> Column(int slot) {
    const FileRecord& f = g.FileTable[1];
    return std::vector<uint8_t>(f.Membership.column(slot) + 1, f.Membership.column(slot) + 1 + f.EventCount);
}

class BendWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolderOverride(q(programDir.path()));
        setAppDataFolderOverride(q(appDataDir.path()));
        setSheetSection(SheetSectionKind::PrintView, {});
        setSheetSection(SheetSectionKind::FileInfo, {});
        registerDotPlotKind();
        registerBendPlotKind();
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

    BendPlot* bend(int id) { return dynamic_cast<BendPlot*>(windowAt(id)); }

    TempFolder programDir, appDataDir, dataDir, sheetDir;
    std::unique_ptr<PaaIkkuna> main;
};

TEST_F(BendWorkspaceTest, TwoBendingPlotsKeepTheirGatesThroughASheet) {
    WriteFcsTestFile(dataDir.file("six.fcs"), SixParameterFile());
    {
        ScriptedDialogs dlg;
        dlg.expectOpenFile(q(dataDir.file("six.fcs")), "Open FCS file");
        main->FileOpenFCS_Click();
    }
    ASSERT_NE(dynamic_cast<DotPlot*>(windowAt(1)), nullptr);
    ASSERT_EQ(main->createFromMenu("BendPlot"), 2);
    ASSERT_EQ(main->createFromMenu("BendPlot"), 3);
    ASSERT_EQ(g.WindowRegistry[3].FileIndex, 1);

    // Window 3: six axes, its root moved, axis 3 on another parameter.
    BendPlot& b3 = *bend(3);
    b3.state().SelectedAxis = 3;
    b3.MenuValintaReaktio(BendMenuAddAxis);
    b3.state().SelectedAxis = 5;
    b3.MenuValintaReaktio(BendMenuAddAxis);
    b3.state().Axes[5].Parameter = 5;
    b3.state().Axes[6].Parameter = 6;
    b3.state().Axes[BendRootAxis].Y = 8000;

    const std::vector<std::pair<float, float>> square = {{2000, 6000}, {5000, 6000}, {5000, 8800}, {2000, 8800}};
    PutGate(1, "Bending-1", "BendPlot", 2, square);
    PutGate(2, "Bending-2", "BendPlot", 3, square);
    PutGate(3, "Poly-3", "Polygon", 1, {{0, 0}, {6000, 0}, {6000, 10000}, {0, 10000}}, 1, 2);
    PopulationRecord& def = g.PopulationTable[17];
    def.InUse = true;
    def.Name = "Bending-1 and Poly-3";
    RecomputeAllPopulations();
    main->PiirraKaikki();

    const std::vector<uint8_t> gate1 = Column(1), gate2 = Column(2), definition = Column(17);
    // The two windows place the events differently, so the same square holds
    // other events in each.
    ASSERT_NE(gate1, gate2);
    ASSERT_GT(std::count(gate1.begin(), gate1.end(), 1), 0);
    ASSERT_GT(std::count(definition.begin(), definition.end(), 1), 0);
    EXPECT_EQ(bend(2)->SaveInfo()[0], "41");
    const std::vector<std::string> lines3 = bend(3)->SaveInfo();
    EXPECT_EQ(lines3[0], "51");  // six axes and the root

    // Both gates, and the definition, stand in window 2's statistics.
    bend(2)->AvaaTaiSuljeStatistics("open");
    const std::string text = bend(2)->AnnaKokoStatistiikka("monirivinen");
    EXPECT_NE(text.find("\nBending-1\t"), std::string::npos);
    EXPECT_NE(text.find("\nBending-2\t"), std::string::npos);
    EXPECT_NE(text.find("\nBending-1 and Poly-3\t"), std::string::npos);
    EXPECT_EQ(text.find("Poly-3\t"), text.find("Bending-1 and Poly-3\t") + 14);  // no row of its own
    const std::vector<std::string> lines2 = bend(2)->SaveInfo();
    EXPECT_EQ(lines2[0], "49");

    const std::string sheet = sheetDir.file("bend.quorvane");
    {
        ScriptedDialogs dlg;
        dlg.expectSaveFile(q(sheet), "Save analysis file");
        main->TalletaNakyma("Sheet");
    }
    // Something else in the workspace, which the load replaces.
    bend(2)->state().Axes[1].X = 9000;
    g.PopulationTable[1].Created = 3;
    {
        ScriptedDialogs dlg;
        dlg.expectOpenFile(q(sheet), "Open analysis file");
        main->FileOpenView_Click();
    }
    ASSERT_NE(bend(2), nullptr);
    ASSERT_NE(bend(3), nullptr);
    EXPECT_EQ(g.PopulationTable[1].Created, 2);
    EXPECT_EQ(g.PopulationTable[2].Created, 3);
    EXPECT_EQ(Column(1), gate1);
    EXPECT_EQ(Column(2), gate2);
    EXPECT_EQ(Column(17), definition);
    EXPECT_EQ(bend(2)->SaveInfo(), lines2);
    std::vector<std::string> reloaded3 = bend(3)->SaveInfo();
    EXPECT_EQ(reloaded3, lines3);
    EXPECT_TRUE(bend(2)->OnkoStatistiikkaKaytossa());
}

}  // namespace
}  // namespace qv::test
