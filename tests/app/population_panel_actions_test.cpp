#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <string>
#include <vector>

#include "app/PopulationPanel.h"
#include "app/PopulationPanelActions.h"
#include "app/model/PopulationRecompute.h"
#include "core/SharedState.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StubMainServices.h"

namespace qv {
namespace {

using test::MakeFile;
using test::MembershipColumn;
using test::PutFile;
using test::PutPolygon;
using test::ScriptedDialogs;

// Counts the redraws the panel asks of the main window.
class CountingMain final : public test::StubMainServices {
public:
    explicit CountingMain(PopulationPanel& panel) : panel_(panel) {}
    void PiirraKaikki() override {
        ++redraws;
        panel_.PaivitaRegionLista();
    }
    void PaivitaRegionLista() override { panel_.PaivitaRegionLista(); }
    int ValittuPopulaatio() const override { return panel_.ValittuPopulaatio(); }
    int ValittuMaaritelma() const override { return panel_.ValittuMaaritelma(); }
    int redraws = 0;

private:
    PopulationPanel& panel_;
};

class PopulationPanelActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        // Events at PlotSpace x 1000 / 7000 and y 1000 / 9000.
        PutFile(1, MakeFile({{"FSC", 10000}, {"SSC", 10000}},
                            {{1000, 9000}, {7000, 9000}, {1000, 1000}, {7000, 1000}}));
        PutPolygon(1, 1, 2, {{0, 0}, {5000, 0}, {5000, 10000}, {0, 10000}});
        PutPolygon(2, 1, 2, {{0, 5000}, {10000, 5000}, {10000, 10000}, {0, 10000}});
        RecomputeAllPopulations();
        panel_ = std::make_unique<PopulationPanel>();
        actions_ = std::make_unique<PopulationPanelActions>(*panel_);
        main_ = std::make_unique<CountingMain>(*panel_);
        setMainServices(main_.get());
        panel_->PaivitaRegionLista();
    }
    void TearDown() override {
        setMainServices(nullptr);
        SetWindowPopulationCheck({});
    }

    void click(QPushButton* button) {
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled()) << button->text().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    std::unique_ptr<PopulationPanel> panel_;
    std::unique_ptr<PopulationPanelActions> actions_;
    std::unique_ptr<CountingMain> main_;
};

TEST_F(PopulationPanelActionsTest, CreateArmsDrawingAndAsksForARowInUse) {
    ScriptedDialogs dlg;
    panel_->choosePopulation(3);
    click(panel_->LuoUusiRegion());
    EXPECT_TRUE(g.RegionDrawMode);
    EXPECT_TRUE(panel_->LuoUusiRegion()->isChecked()) << "stays down while drawing mode is on";
    click(panel_->LuoUusiRegion());
    EXPECT_FALSE(g.RegionDrawMode);
    EXPECT_FALSE(panel_->LuoUusiRegion()->isChecked());

    panel_->choosePopulation(1);
    dlg.expectMessage("Population has been already defined. Do you want to re-define it?",
                      "Population already defined", MsgButtons::OkCancel, MsgAnswer::Cancel);
    click(panel_->LuoUusiRegion());
    EXPECT_FALSE(g.RegionDrawMode);
    EXPECT_FALSE(panel_->LuoUusiRegion()->isChecked()) << "Cancel leaves it up";
    dlg.expectMessage("Population has been already defined. Do you want to re-define it?",
                      "Population already defined", MsgButtons::OkCancel, MsgAnswer::Ok);
    click(panel_->LuoUusiRegion());
    EXPECT_TRUE(g.RegionDrawMode);
    EXPECT_TRUE(panel_->LuoUusiRegion()->isChecked());
    EXPECT_EQ(main_->redraws, 0);

    // Drawing mode ended elsewhere (a gate closed in a window): the refresh
    // that follows shows it.
    g.RegionDrawMode = false;
    panel_->PaivitaRegionLista();
    EXPECT_FALSE(panel_->LuoUusiRegion()->isChecked());
}

TEST_F(PopulationPanelActionsTest, RenameShowsTheNewNameInRowsAndDefinitions) {
    g.PopulationTable[17].InUse = true;
    g.PopulationTable[17].Name = "poly-1 and (Poly-2 or not POLY-1)";
    panel_->PaivitaRegionLista();
    ScriptedDialogs dlg;
    panel_->choosePopulation(1);
    dlg.expectInput("Give a new name for population", "Rename population", QString("Live"));
    click(panel_->MuutaRegioninNimi());
    EXPECT_EQ(panel_->RegionValitsin(1)->text(), "Live");
    EXPECT_EQ(panel_->DefValitsin(17)->text(), "Live and (Poly-2 or not Live)");
    EXPECT_EQ(dlg.shown().at(0).defaultText, "Poly-1");
    EXPECT_EQ(main_->redraws, 1);

    dlg.expectInput("Give a new name for population", "Rename population", QString("Poly-2"));
    dlg.expectMessage("\"Poly-2\" is already the name of the population in row 2 (names are compared without regard "
                      "to case).",
                      "Rename population", MsgButtons::Ok, MsgAnswer::Ok);
    click(panel_->MuutaRegioninNimi());
    EXPECT_EQ(panel_->RegionValitsin(1)->text(), "Live");
    EXPECT_EQ(main_->redraws, 1);
}

TEST_F(PopulationPanelActionsTest, DeletePopulationDropsItsDefinitionWithoutAWord) {
    ScriptedDialogs dlg;
    panel_->chooseDefinition(17);
    dlg.expectInput("Create a new definition (case insensitive)\rExamples:\r  Poly-1 and Poly-2\r"
                    "  Poly-1 and (Histo-2 or Poly-3)\r  Poly-1 and Histo-2 and not Poly-3",
                    "Create definition", QString("Poly-1 and Poly-2"));
    click(panel_->LuoUusiMaaritelma());
    EXPECT_EQ(panel_->DefValitsin(17)->text(), "Poly-1 and Poly-2");
    EXPECT_EQ(MembershipColumn(1, 17), (std::vector<int>{0, 0, 1, 0}));

    panel_->choosePopulation(1);
    dlg.expectMessage("Do you really want to delete the selected population?", "Delete population",
                      MsgButtons::OkCancel, MsgAnswer::Ok);
    click(panel_->PoistaRegion());
    dlg.finish();
    EXPECT_EQ(panel_->RegionValitsin(1)->text(), "Not defined");
    EXPECT_EQ(panel_->DefValitsin(17)->text(), "Not defined");
    EXPECT_FALSE(panel_->PoistaRegion()->isEnabled());
    EXPECT_FALSE(panel_->MuutaRegioninNimi()->isEnabled());
    EXPECT_EQ(MembershipColumn(1, 1), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(dlg.shown().size(), 2u) << "no message for the dropped definition";
}

TEST_F(PopulationPanelActionsTest, DefinitionErrorsAreShownAndDeleteAsks) {
    ScriptedDialogs dlg;
    panel_->chooseDefinition(18);
    dlg.expectAnyInput(QString("Poly-1 and Poly-7"));
    dlg.expectMessage("Error in the definition: poly-7", "Quorvane", MsgButtons::Ok, MsgAnswer::Ok);
    click(panel_->LuoUusiMaaritelma());
    EXPECT_EQ(panel_->DefValitsin(18)->text(), "Not defined");
    EXPECT_EQ(main_->redraws, 0);

    dlg.expectAnyInput(QString("not Poly-2"));
    click(panel_->LuoUusiMaaritelma());
    dlg.expectMessage("Do you really want to delete the definition?", "Delete definition", MsgButtons::OkCancel,
                      MsgAnswer::Ok);
    click(panel_->PoistaMaaritelma());
    EXPECT_EQ(panel_->DefValitsin(18)->text(), "Not defined");
    EXPECT_FALSE(g.PopulationTable[18].InUse);
}

TEST_F(PopulationPanelActionsTest, ColourBoxAndTransparencyLabel) {
    ScriptedDialogs dlg;
    dlg.expectColour(QColor(10, 20, 30));
    emit panel_->colourBoxActivated(2);
    EXPECT_EQ(dlg.shown().at(0).initialColour, QColor(255, 255, 0)) << "starts from the slot's colour";
    EXPECT_EQ(g.PopulationTable[2].ColorRed, 10);
    EXPECT_EQ(g.PopulationTable[2].ColorGreen, 20);
    EXPECT_EQ(g.PopulationTable[2].ColorBlue, 30);
    dlg.expectColour(std::nullopt);
    emit panel_->colourBoxActivated(2);
    EXPECT_EQ(g.PopulationTable[2].ColorRed, 10) << "Cancel keeps the colour";
    EXPECT_EQ(main_->redraws, 2) << "the windows are redrawn after Cancel too";

    emit panel_->transparencyLabelActivated(1);
    EXPECT_EQ(panel_->LapinakyvaValitsin(1)->text(), "T");
    emit panel_->transparencyLabelActivated(5);  // not in use: stays "C"
    EXPECT_EQ(panel_->LapinakyvaValitsin(5)->text(), "C");

    // A definition row not in use keeps its flag, and its label shows it.
    for (const char* shown : {"T", "C", "T"}) {
        QTest::mouseDClick(panel_->DefLapinakyvaValitsin(20), Qt::LeftButton);
        EXPECT_EQ(panel_->DefLapinakyvaValitsin(20)->text(), shown);
        EXPECT_EQ(g.PopulationTable[20].Transparent, std::string(shown) == "T");
    }
}

}  // namespace
}  // namespace qv
