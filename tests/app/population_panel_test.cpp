// The right-hand panel: its rows, colours and places at start, the refresh
// from the population table with the "Show populations" submenu, the chosen
// rows, the hooks for the gate commands, and narrowing and widening.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QComboBox>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "app/MenuBar.h"
#include "app/MenuCommands.h"
#include "app/PopulationPanel.h"
#include "core/SharedState.h"
#include "plots/histogram/MirrorHistogram.h"
#include "tests/support/ScriptedDialogs.h"

namespace qv {
namespace {

// What a user's double click delivers: press, release, double click, release.
void doubleClick(QWidget* w) {
    QTest::mousePress(w, Qt::LeftButton);
    QTest::mouseRelease(w, Qt::LeftButton);
    QTest::mouseDClick(w, Qt::LeftButton);
    QTest::mouseRelease(w, Qt::LeftButton);
}

// The colour a control's background is painted with.
QColor back(const QWidget* w) {
    EXPECT_TRUE(w->autoFillBackground());
    return w->palette().color(w->backgroundRole());
}
QColor rgb(const Rgb& c) { return QColor(c.Red, c.Green, c.Blue); }

class PopulationPanelTest : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
    void use(int slot, const char* name, bool transparent = false) {
        PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
        p.InUse = true;
        p.Name = name;
        p.Transparent = transparent;
    }
    QStringList showPopulationItems() const {
        QStringList out;
        for (QAction* a : menu.ShowPopulationMenu->actions()) out << a->text();
        return out;
    }
    QMainWindow window;
    MenuCommands commands;
    MainMenu menu{window, commands};
    std::unique_ptr<PopulationPanel> panel = [] {
        resetSharedState();
        return std::make_unique<PopulationPanel>();
    }();
};

TEST_F(PopulationPanelTest, StartsWithSixteenRowsPerFrameNotDefinedInTheDefaultColours) {
    EXPECT_EQ(panel->Frame2()->title(), "Populations");
    EXPECT_EQ(panel->Frame1()->title(), "Definitions");
    for (int slot = 1; slot <= 32; ++slot) {
        SCOPED_TRACE(slot);
        const bool definition = slot > 16;
        QRadioButton* option = definition ? panel->DefValitsin(slot) : panel->RegionValitsin(slot);
        QLabel* label = definition ? panel->DefLapinakyvaValitsin(slot) : panel->LapinakyvaValitsin(slot);
        QWidget* box = definition ? panel->DefVari(slot) : panel->RegionVari(slot);
        ASSERT_TRUE(option && label && box);
        EXPECT_EQ(option->parentWidget(), definition ? panel->Frame1() : panel->Frame2());
        EXPECT_EQ(option->text(), "Not defined");
        EXPECT_EQ(label->text(), "C");
        EXPECT_EQ(back(box), rgb(DefaultPopulationColours[static_cast<size_t>(slot)]));
        EXPECT_FALSE(option->isHidden());
        EXPECT_FALSE(label->isHidden());
        EXPECT_FALSE(box->isHidden());
    }
    // A frame holds only its own slots.
    EXPECT_EQ(panel->RegionValitsin(17), nullptr);
    EXPECT_EQ(panel->DefValitsin(16), nullptr);
    EXPECT_EQ(panel->RegionValitsin(0), nullptr);
    EXPECT_EQ(panel->DefValitsin(33), nullptr);
    // Population row 1 and definition row 17 are chosen.
    EXPECT_EQ(panel->ValittuPopulaatio(), 1);
    EXPECT_EQ(panel->ValittuMaaritelma(), 17);
}

TEST_F(PopulationPanelTest, RowsSit220TwipsApartAtTheirFixedPlaces) {
    struct Place {
        int k;
        int optionTop, labelTop;
    };
    for (const Place p : {Place{1, 620, 600}, Place{2, 840, 820}, Place{16, 3920, 3900}}) {
        for (int slot : {p.k, 16 + p.k}) {
            SCOPED_TRACE(slot);
            const bool def = slot > 16;
            const QRect option = (def ? panel->DefValitsin(slot) : panel->RegionValitsin(slot))->geometry();
            const QRect label = (def ? panel->DefLapinakyvaValitsin(slot) : panel->LapinakyvaValitsin(slot))->geometry();
            const QRect box = (def ? panel->DefVari(slot) : panel->RegionVari(slot))->geometry();
            EXPECT_EQ(option.topLeft(), QPoint(twipsToPixels(600), twipsToPixels(p.optionTop)));
            EXPECT_EQ(box.topLeft(), QPoint(twipsToPixels(300), twipsToPixels(p.optionTop)));
            EXPECT_EQ(box.size(), QSize(twipsToPixels(180), twipsToPixels(180)));
            EXPECT_EQ(label.topLeft(), QPoint(twipsToPixels(120), twipsToPixels(p.labelTop)));
        }
    }
    // No row overlaps the frame's buttons.
    EXPECT_LT(panel->LuoUusiRegion()->geometry().bottom(), panel->LapinakyvaValitsin(1)->geometry().top());
    EXPECT_LT(panel->LuoUusiMaaritelma()->geometry().bottom(), panel->DefLapinakyvaValitsin(17)->geometry().top());
    // The frames do not overlap.
    EXPECT_LT(panel->Frame2()->geometry().bottom(), panel->Frame1()->geometry().top());
}

TEST_F(PopulationPanelTest, PanelColoursAndButtons) {
    const QColor panelColour(200, 200, 200);
    EXPECT_EQ(back(panel.get()), panelColour);
    EXPECT_TRUE(panel->autoFillBackground());
    EXPECT_EQ(back(panel->Frame1()), panelColour);
    EXPECT_EQ(back(panel->Frame2()), panelColour);
    EXPECT_EQ(back(panel->JaadytaNakyma()), panelColour);
    EXPECT_EQ(back(panel->RegionValitsin(3)), panelColour);
    EXPECT_EQ(back(panel->DefLapinakyvaValitsin(20)), panelColour);
    EXPECT_EQ(panel->JaadytaNakyma()->text(), "Freeze the panel");
    EXPECT_FALSE(panel->JaadytaNakyma()->isChecked());

    struct ButtonCase {
        QPushButton* button;
        const char* caption;
        QGroupBox* frame;
    };
    for (const ButtonCase& b : {ButtonCase{panel->LuoUusiRegion(), "Create", panel->Frame2()},
                                ButtonCase{panel->MuutaRegioninNimi(), "Rename", panel->Frame2()},
                                ButtonCase{panel->PoistaRegion(), "Delete", panel->Frame2()},
                                ButtonCase{panel->LuoUusiMaaritelma(), "Define", panel->Frame1()},
                                ButtonCase{panel->PoistaMaaritelma(), "Delete", panel->Frame1()}}) {
        SCOPED_TRACE(b.caption);
        EXPECT_EQ(b.button->text(), b.caption);
        EXPECT_EQ(b.button->parentWidget(), b.frame);
        EXPECT_EQ(b.button->palette().color(QPalette::Button), QColor(220, 220, 220));
    }
    // Row 1 is not in use: Rename and Delete of populations are off; the
    // definitions' Delete is never disabled.
    EXPECT_FALSE(panel->PoistaRegion()->isEnabled());
    EXPECT_FALSE(panel->MuutaRegioninNimi()->isEnabled());
    EXPECT_TRUE(panel->LuoUusiRegion()->isEnabled());
    EXPECT_TRUE(panel->PoistaMaaritelma()->isEnabled());
}

TEST_F(PopulationPanelTest, PaintedInThePanelColourWithEachSlotsColourBox) {
    panel->panelMouseMoved();
    panel->resize(panel->sizeHint());
    EXPECT_EQ(panel->width(), twipsToPixels(4000));
    EXPECT_LT(panel->minimumSizeHint().height(), panel->sizeHint().height());  // may be made lower
    const QImage picture = panel->grab().toImage();
    auto pixelAt = [&](QWidget* w, QPoint p) { return QColor(picture.pixel(w->mapTo(panel.get(), p))); };
    for (int slot : {1, 9, 16, 17, 25, 32}) {
        SCOPED_TRACE(slot);
        QRadioButton* option = slot > 16 ? panel->DefValitsin(slot) : panel->RegionValitsin(slot);
        QWidget* box = slot > 16 ? panel->DefVari(slot) : panel->RegionVari(slot);
        // Right of the caption, and the middle of the colour box.
        EXPECT_EQ(pixelAt(option, QPoint(option->width() - 3, option->height() / 2)), QColor(200, 200, 200));
        EXPECT_EQ(pixelAt(box, QPoint(box->width() / 2, box->height() / 2)),
                  rgb(DefaultPopulationColours[static_cast<size_t>(slot)]));
        // A thin dark border, so a light grey box still stands out.
        for (QPoint edge : {QPoint(0, box->height() / 2), QPoint(box->width() - 1, box->height() / 2),
                            QPoint(box->width() / 2, 0), QPoint(box->width() / 2, box->height() - 1)})
            EXPECT_EQ(pixelAt(box, edge), QColor(64, 64, 64)) << edge.x() << "," << edge.y();
        EXPECT_EQ(pixelAt(box, QPoint(1, 1)), rgb(DefaultPopulationColours[static_cast<size_t>(slot)]))
            << "one pixel wide";
        // The whole row lies inside its frame.
        QWidget* frame = option->parentWidget();
        EXPECT_TRUE(frame->rect().contains(option->geometry())) << option->geometry().bottom() << " " << frame->height();
    }
    EXPECT_EQ(pixelAt(panel->JaadytaNakyma(), QPoint(panel->JaadytaNakyma()->width() - 3, 3)), QColor(200, 200, 200));
}

TEST_F(PopulationPanelTest, RefreshShowsNamesTransparencyAndColoursAndClearsUnusedSlots) {
    use(1, "Poly-1");
    use(3, "Histo-3", true);
    use(17, "Poly-1 and Histo-3", true);
    // Slots not in use: a population loses its name and transparent flag,
    // a definition loses its name but keeps its flag.
    g.PopulationTable[2].Name = "stale";
    g.PopulationTable[2].Transparent = true;
    g.PopulationTable[18].Name = "stale";
    g.PopulationTable[18].Transparent = true;
    g.PopulationTable[4].ColorRed = 1;
    g.PopulationTable[4].ColorGreen = 2;
    g.PopulationTable[4].ColorBlue = 3;
    panel->DefLapinakyvaValitsin(18)->setText("T");

    panel->PaivitaRegionLista();

    EXPECT_EQ(panel->RegionValitsin(1)->text(), "Poly-1");
    EXPECT_EQ(panel->LapinakyvaValitsin(1)->text(), "C");
    EXPECT_EQ(panel->RegionValitsin(3)->text(), "Histo-3");
    EXPECT_EQ(panel->LapinakyvaValitsin(3)->text(), "T");
    EXPECT_EQ(panel->DefValitsin(17)->text(), "Poly-1 and Histo-3");
    EXPECT_EQ(panel->DefLapinakyvaValitsin(17)->text(), "T");

    EXPECT_EQ(panel->RegionValitsin(2)->text(), "Not defined");
    EXPECT_EQ(panel->LapinakyvaValitsin(2)->text(), "C");
    EXPECT_TRUE(g.PopulationTable[2].Name.empty());
    EXPECT_FALSE(g.PopulationTable[2].Transparent);

    EXPECT_EQ(panel->DefValitsin(18)->text(), "Not defined");
    EXPECT_TRUE(g.PopulationTable[18].Name.empty());
    EXPECT_TRUE(g.PopulationTable[18].Transparent);
    EXPECT_EQ(panel->DefLapinakyvaValitsin(18)->text(), "T");

    EXPECT_EQ(back(panel->RegionVari(4)), QColor(1, 2, 3));  // shown in use or not
    // Row 1 (chosen) is now in use: Rename and Delete come on.
    EXPECT_TRUE(panel->PoistaRegion()->isEnabled());
    EXPECT_TRUE(panel->MuutaRegioninNimi()->isEnabled());
}

TEST_F(PopulationPanelTest, ShowPopulationsListsAllEventsThenSlotsInUsePopulationsFirst) {
    panel->setShowPopulationMenu(menu.ShowPopulationMenu);
    use(20, "Poly-1 or Poly-5");
    use(5, "Poly-5");
    use(1, "Poly-1");
    panel->PaivitaRegionLista();
    EXPECT_EQ(showPopulationItems(), (QStringList{"All events", "Poly-1", "Poly-5", "Poly-1 or Poly-5"}));
    EXPECT_EQ(panel->ShowPopulationMenuCount(), 3);
    EXPECT_EQ(g.ShowPopulationMap[0], 0);
    EXPECT_EQ(g.ShowPopulationMap[1], 1);
    EXPECT_EQ(g.ShowPopulationMap[2], 5);
    EXPECT_EQ(g.ShowPopulationMap[3], 20);
    EXPECT_EQ(menu.ShowPopulationMenu->actions()[0], menu.ShowPopulationAllEvents);

    // After a deletion the items are renumbered and the map follows; an
    // item number no longer used maps to no slot.
    g.PopulationTable[5].InUse = false;
    panel->PaivitaRegionLista();
    EXPECT_EQ(showPopulationItems(), (QStringList{"All events", "Poly-1", "Poly-1 or Poly-5"}));
    EXPECT_EQ(g.ShowPopulationMap[2], 20);
    EXPECT_EQ(g.ShowPopulationMap[3], 0);
    EXPECT_EQ(menu.ShowPopulationMenu->actions()[2]->data().toInt(), 2);
    EXPECT_EQ(menu.ShowPopulationAllEvents->data().toInt(), 0);

    // Choosing an item passes its number on.
    test::ScriptedDialogs dialogs;
    dialogs.expectMenuChoice("Show populations/Poly-1 or Poly-5");
    QAction* picked = dialogs.execMenu(*menu.NappiMenu, {});
    ASSERT_NE(picked, nullptr);
    EXPECT_EQ(g.ShowPopulationMap[static_cast<size_t>(picked->data().toInt())], 20);
}

// Choosing a population redraws every window, which refreshes the panel:
// the item being chosen is replaced while its own handler runs.
class RefreshingCommands : public MenuCommands {
public:
    PopulationPanel* panel = nullptr;
    std::vector<int> chosen;
    void ShowPopulation_Click(int index) override {
        chosen.push_back(index);
        panel->PaivitaRegionLista();
    }
};

TEST_F(PopulationPanelTest, AChoiceThatRefreshesThePanelIsSafe) {
    QMainWindow host;
    RefreshingCommands refreshing;
    MainMenu own(host, refreshing);
    refreshing.panel = panel.get();
    panel->setShowPopulationMenu(own.ShowPopulationMenu);
    use(1, "Poly-1");
    panel->PaivitaRegionLista();
    test::ScriptedDialogs dialogs;
    dialogs.expectMenuChoice("Show populations/Poly-1");
    QAction* picked = dialogs.execMenu(*own.NappiMenu, {});
    EXPECT_NE(picked, nullptr);
    EXPECT_EQ(refreshing.chosen, std::vector<int>{1});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(test::ScriptedDialogs::menuCaptions(*own.ShowPopulationMenu), (QStringList{"All events", "Poly-1"}));
}

TEST_F(PopulationPanelTest, NamesWithAnAmpersandAreShownAsTheyAre) {
    panel->setShowPopulationMenu(menu.ShowPopulationMenu);
    use(2, "T&B");
    panel->PaivitaRegionLista();
    EXPECT_EQ(panel->RegionValitsin(2)->text(), "T&&B");
    EXPECT_EQ(test::ScriptedDialogs::menuCaptions(*menu.ShowPopulationMenu), (QStringList{"All events", "T&B"}));
}

// A name or definition cut at the row's edge shows whole in the row's
// tooltip, as written (never read as markup); one that fits has none, and
// a slot that goes out of use loses it.
TEST_F(PopulationPanelTest, CutNamesShowWholeInTheirTooltip) {
    const std::string longDefinition = "Poly-1 and (Histo-2 or Poly-3) and not Poly-4 and not Poly-5 and Poly-6";
    struct Case {
        int slot;
        std::string name;
        QString tooltip;
    };
    const int definition = g.MaxPopulations + 1;
    const std::vector<Case> cases{
        {definition, longDefinition, QString::fromStdString(longDefinition)},
        {definition + 1, "Poly-1", QString()},
        {3, std::string(60, 'W'), QString(60, QLatin1Char('W'))},
        {4, "<img src=/dev/zero> " + std::string(60, 'x'),
         "<p style='white-space:pre'>&lt;img src=/dev/zero&gt; " + QString(60, QLatin1Char('x')) + "</p>"},
        {5, "CD4", QString()},
    };
    for (const Case& c : cases) use(c.slot, c.name.c_str());
    panel->PaivitaRegionLista();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QRadioButton* row = c.slot > g.MaxPopulations ? panel->DefValitsin(c.slot) : panel->RegionValitsin(c.slot);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->toolTip(), c.tooltip);
    }
    g.PopulationTable[static_cast<size_t>(definition)].InUse = false;
    panel->PaivitaRegionLista();
    EXPECT_EQ(panel->DefValitsin(definition)->toolTip(), QString());
}

TEST_F(PopulationPanelTest, ChoosingARowSwitchesTheButtonsAndTellsTheGateCommands) {
    use(4, "Poly-4");
    panel->PaivitaRegionLista();
    QSignalSpy chosen(panel.get(), &PopulationPanel::populationRowChosen);
    panel->RegionValitsin(4)->click();
    EXPECT_EQ(panel->ValittuPopulaatio(), 4);
    EXPECT_TRUE(panel->PoistaRegion()->isEnabled());
    panel->choosePopulation(2);
    EXPECT_EQ(panel->ValittuPopulaatio(), 2);
    EXPECT_FALSE(panel->PoistaRegion()->isEnabled());
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_EQ(chosen[0][0].toInt(), 4);
    EXPECT_EQ(chosen[1][0].toInt(), 2);
    // One row per frame is chosen at any time.
    panel->chooseDefinition(30);
    EXPECT_EQ(panel->ValittuMaaritelma(), 30);
    EXPECT_FALSE(panel->DefValitsin(17)->isChecked());
    EXPECT_EQ(panel->ValittuPopulaatio(), 2);
}

TEST_F(PopulationPanelTest, ButtonsColourBoxesAndLabelsSignalTheirSlot) {
    panel->resize(300, 700);
    panel->show();
    QSignalSpy create(panel.get(), &PopulationPanel::createPopulationClicked);
    QSignalSpy rename(panel.get(), &PopulationPanel::renamePopulationClicked);
    QSignalSpy del(panel.get(), &PopulationPanel::deletePopulationClicked);
    QSignalSpy define(panel.get(), &PopulationPanel::defineClicked);
    QSignalSpy delDef(panel.get(), &PopulationPanel::deleteDefinitionClicked);
    QSignalSpy colour(panel.get(), &PopulationPanel::colourBoxActivated);
    QSignalSpy transparency(panel.get(), &PopulationPanel::transparencyLabelActivated);

    use(1, "Poly-1");
    panel->PaivitaRegionLista();
    panel->LuoUusiRegion()->click();
    panel->MuutaRegioninNimi()->click();
    panel->PoistaRegion()->click();
    panel->LuoUusiMaaritelma()->click();
    panel->PoistaMaaritelma()->click();
    EXPECT_EQ(create.size(), 1);
    EXPECT_EQ(rename.size(), 1);
    EXPECT_EQ(del.size(), 1);
    EXPECT_EQ(define.size(), 1);
    EXPECT_EQ(delDef.size(), 1);

    // A population's colour box answers a double click, not a single one.
    QTest::mouseClick(panel->RegionVari(5), Qt::LeftButton);
    EXPECT_EQ(colour.size(), 0);
    doubleClick(panel->RegionVari(5));
    ASSERT_EQ(colour.size(), 1);
    EXPECT_EQ(colour[0][0].toInt(), 5);
    // A definition's colour box answers a single click, and a double click
    // asks only once.
    QTest::mouseClick(panel->DefVari(19), Qt::LeftButton);
    ASSERT_EQ(colour.size(), 2);
    EXPECT_EQ(colour[1][0].toInt(), 19);
    colour.clear();
    doubleClick(panel->DefVari(19));
    EXPECT_EQ(colour.size(), 1);
    // A double click whose last release went to a dialog it opened: the
    // next click still counts.
    colour.clear();
    QTest::mouseDClick(panel->RegionVari(6), Qt::LeftButton);
    EXPECT_EQ(colour.size(), 1);
    QTest::mouseClick(panel->DefVari(20), Qt::LeftButton);
    EXPECT_EQ(colour.size(), 2);

    // Transparency labels answer a double click.
    QTest::mouseClick(panel->LapinakyvaValitsin(2), Qt::LeftButton);
    EXPECT_EQ(transparency.size(), 0);
    doubleClick(panel->LapinakyvaValitsin(2));
    doubleClick(panel->DefLapinakyvaValitsin(25));
    ASSERT_EQ(transparency.size(), 2);
    EXPECT_EQ(transparency[0][0].toInt(), 2);
    EXPECT_EQ(transparency[1][0].toInt(), 25);
}

// ---- width ----

class PanelWidth : public PopulationPanelTest {
protected:
    void SetUp() override {
        PopulationPanelTest::SetUp();
        workspace = new QWidget(&host);
        child = new QWidget(workspace);
        panel->watchWorkspace(workspace);
        host.resize(800, 600);
        host.show();
    }
    void overPanel() {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(panel.get(), &enter);
    }
    void overChildWindow() {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(child, &enter);
    }
    bool wide() const { return panel->width() == twipsToPixels(4000) && !g.PanelCollapsed; }
    bool narrow() const { return panel->width() == twipsToPixels(150) && g.PanelCollapsed; }
    QWidget host;
    QWidget* workspace = nullptr;
    QWidget* child = nullptr;
};

TEST_F(PanelWidth, StartsNarrowWidensOverThePanelNarrowsOverTheWorkspace) {
    QSignalSpy workspaceMoves(panel.get(), &PopulationPanel::mouseMovedOverWorkspace);
    EXPECT_TRUE(narrow());
    EXPECT_EQ(panel->width(), 10);
    overPanel();
    EXPECT_TRUE(wide());
    EXPECT_EQ(panel->width(), 267);
    overChildWindow();
    EXPECT_TRUE(narrow());
    overPanel();
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(workspace, &move);
    EXPECT_TRUE(narrow());
    EXPECT_EQ(workspaceMoves.size(), 2);  // the child window, then the workspace itself
    // Movement elsewhere (outside the workspace) changes nothing.
    overPanel();
    QWidget elsewhere;
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(&elsewhere, &enter);
    EXPECT_TRUE(wide());
    EXPECT_EQ(workspaceMoves.size(), 2);
}

TEST_F(PanelWidth, AFrozenPanelWidensAndThenStaysWide) {
    // Frozen while narrow: the first movement over it widens it for good.
    panel->JaadytaNakyma()->click();
    EXPECT_TRUE(g.PanelFrozen);
    EXPECT_TRUE(narrow());
    overChildWindow();
    EXPECT_TRUE(narrow());
    overPanel();
    EXPECT_TRUE(wide());
    overChildWindow();
    EXPECT_TRUE(wide());
    // Unfrozen: the next movement over the workspace narrows it.
    panel->JaadytaNakyma()->click();
    EXPECT_FALSE(g.PanelFrozen);
    EXPECT_TRUE(wide());
    overChildWindow();
    EXPECT_TRUE(narrow());
}

// The mirror histogram is the one window over which the pointer leaves the
// panel and the workspace alone: its picture, its selectors and its frame.
TEST_F(PanelWidth, MovingOverAMirrorLeavesThePanelWide) {
    workspace->resize(400, 300);
    auto* frame = new QMdiSubWindow(workspace);
    auto* mirror = new MirrorHistogram;
    frame->setWidget(mirror);
    auto* selector = new QComboBox(mirror);
    frame->setGeometry(100, 50, 200, 150);
    frame->show();
    QSignalSpy workspaceMoves(panel.get(), &PopulationPanel::mouseMovedOverWorkspace);
    overPanel();
    ASSERT_TRUE(wide());
    // Each widget with a point over the mirror in its own coordinates: the
    // workspace gets an Enter of its own when the pointer jumps straight
    // from the panel into the mirror.
    const QPoint overMirror = mirror->mapTo(workspace, QPoint(40, 40));
    const std::pair<QWidget*, QPointF> targets[] = {
        {mirror, QPointF(3, 3)}, {selector, QPointF(3, 3)}, {frame, QPointF(3, 3)}, {workspace, overMirror}};
    for (const auto& [target, at] : targets) {
        QEnterEvent enter(at, at, at);
        QApplication::sendEvent(target, &enter);
        QMouseEvent move(QEvent::MouseMove, at, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        EXPECT_TRUE(wide()) << target->metaObject()->className();
    }
    EXPECT_EQ(workspaceMoves.size(), 0);
    // The workspace beside the mirror narrows it.
    QEnterEvent beside(QPointF(20, 250), QPointF(20, 250), QPointF(20, 250));
    QApplication::sendEvent(workspace, &beside);
    EXPECT_TRUE(narrow());
    overPanel();
    // Any other window in the workspace still narrows it.
    overChildWindow();
    EXPECT_TRUE(narrow());
}

TEST_F(PanelWidth, MovingOverTheRowsCountsAsMovingOverThePanel) {
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(panel->RegionValitsin(3), &move);
    EXPECT_TRUE(wide());
}

}  // namespace
}  // namespace qv
