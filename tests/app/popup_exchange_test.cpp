// The pop-up menus the windows fill and show through the main window, the
// "Show populations" submenu, redraw-all and the postponed full redraw.
#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTimer>

#include "tests/support/ParamNames.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedDialogs.h"

namespace qv::test {
namespace {

class PopupTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        start();
        // Windows 1..3 are dot plots, 4 a clip book; 1 and 3 selected.
        for (int i = 1; i <= 3; ++i) ASSERT_EQ(createWindow("DotPlot"), i);
        ASSERT_EQ(createWindow("ClipBook"), 4);
        g.ShiftHeld = true;
        activateFileWindow(1);
        g.ShiftHeld = false;
        ASSERT_EQ(selectedIds(), (QList<int>{1, 3}));
        definePopulation(2, "Poly-2");
        definePopulation(17, "Poly-2 and not Poly-5");
        main_->PaivitaRegionLista();
        writes.clear();
        StandInWindow::log().clear();
    }

    static void definePopulation(int slot, const char* name) {
        g.PopulationTable[static_cast<size_t>(slot)].InUse = true;
        g.PopulationTable[static_cast<size_t>(slot)].Name = name;
    }
};

TEST_F(PopupTest, WindowItemReachesTheOwnerThenAutosaves) {
    ScriptedDialogs dlg;
    dlg.expectMenuChoice("Save as .BMP...");
    main_->showWindowPopup(2, {"Fast draw", "-", "Save as .BMP..."}, {});
    EXPECT_EQ(standIn(2)->menuChoices, std::vector<int>{3});  // the separator counts as item 2
    EXPECT_TRUE(standIn(1)->menuChoices.empty());
    EXPECT_EQ(g.PopupOwner, 2);
    EXPECT_EQ(g.WindowMenuCount, 3);
    EXPECT_EQ(autosaves(), 1);
    ASSERT_EQ(dlg.shown().size(), 1u);
    EXPECT_EQ(dlg.shown()[0].menuItems,
              (QStringList{"Show populations", "Show populations/All events", "Show populations/Poly-2",
                           "Show populations/Poly-2 and not Poly-5", "Fast draw", "Save as .BMP..."}));
}

TEST_F(PopupTest, NextPopupReplacesTheItemsOfTheLast) {
    ScriptedDialogs dlg;
    dlg.expectMenuDismiss().expectMenuChoice(1);
    main_->showWindowPopup(3, {"A", "B", "C", "D"}, {});
    main_->showWindowPopup(2, {"Only"}, {});
    EXPECT_EQ(g.PopupOwner, 2);
    EXPECT_EQ(g.WindowMenuCount, 1);
    EXPECT_EQ(dlg.shown()[1].menuItems.filter(QRegularExpression("^[A-D]$")), QStringList{});
    EXPECT_EQ(standIn(2)->menuChoices, std::vector<int>{1});
    EXPECT_TRUE(standIn(3)->menuChoices.empty());  // dismissed: nothing, no autosave
    EXPECT_EQ(autosaves(), 1);
}

TEST_F(PopupTest, PopupWithoutPopulationsHidesItemZeroOnlyWhileShown) {
    ScriptedDialogs dlg;
    dlg.expectMenuChoice("Paste").expectMenuDismiss();
    main_->showWindowPopup(4, {"Paste"}, {}, false);
    EXPECT_EQ(dlg.shown()[0].menuItems, QStringList{"Paste"});
    EXPECT_EQ(standIn(4)->menuChoices, std::vector<int>{1});
    main_->showWindowPopup(1, {"X"}, {});
    EXPECT_EQ(dlg.shown()[1].menuItems.first(), "Show populations");
}

TEST_F(PopupTest, OwnerClosedWhileTheMenuWasUpIsNotCalled) {
    ScriptedDialogs dlg;
    dlg.expectMenu([&](QMenu& menu) -> QAction* {
        windowAt(2)->UnloadWindow();
        return ScriptedDialogs::findMenuItem(menu, "Go");
    });
    main_->showWindowPopup(2, {"Go"}, {});
    EXPECT_EQ(windowAt(2), nullptr);
    EXPECT_EQ(autosaves(), 0);
}

// Choosing a population in any window's submenu switches every selected window.
struct ShowCase {
    const char* item;
    int slot;
};
void PrintTo(const ShowCase& c, std::ostream* os) { *os << '"' << c.item << "\" (slot " << c.slot << ")"; }

class ShowPopulations : public PopupTest, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(ShowPopulations, EverySelectedWindowShowsTheChosenSlot) {
    const ShowCase c = GetParam();
    standIn(2)->shownPopulation = 99;
    ScriptedDialogs dlg;
    dlg.expectMenuChoice(QStringLiteral("Show populations/") + c.item);
    main_->showWindowPopup(2, {"Item"}, {});  // opened on an unselected window
    EXPECT_EQ(standIn(1)->shownPopulation, c.slot);
    EXPECT_EQ(standIn(3)->shownPopulation, c.slot);
    EXPECT_EQ(standIn(2)->shownPopulation, 99);
    EXPECT_TRUE(standIn(2)->menuChoices.empty());
    EXPECT_EQ(autosaves(), 1);
}

INSTANTIATE_TEST_SUITE_P(Items, ShowPopulations,
                         ::testing::Values(ShowCase{"All events", 0}, ShowCase{"Poly-2", 2},
                                           ShowCase{"Poly-2 and not Poly-5", 17}),
                         [](const auto& info) { return test::TestNameOf(info.param.item, info.index); });

TEST_F(PopupTest, ShowPopulationsFollowsTheTableAfterADeletion) {
    definePopulation(5, "Poly-5");
    main_->PaivitaRegionLista();
    EXPECT_EQ(ScriptedDialogs::menuCaptions(main_->showPopulationMenu()),
              (QStringList{"All events", "Poly-2", "Poly-5", "Poly-2 and not Poly-5"}));
    EXPECT_EQ(g.ShowPopulationMap[3], 17);
    g.PopulationTable[2].InUse = false;
    main_->PaivitaRegionLista();
    EXPECT_EQ(ScriptedDialogs::menuCaptions(main_->showPopulationMenu()),
              (QStringList{"All events", "Poly-5", "Poly-2 and not Poly-5"}));
    EXPECT_EQ(g.ShowPopulationMap[1], 5);
    EXPECT_EQ(g.ShowPopulationMap[2], 17);
}

TEST_F(PopupTest, ChannelPopupSetsChosenChannelOnlyOnAChoice) {
    ScriptedDialogs dlg;
    dlg.expectMenuChoice("FL1-H").expectMenuDismiss();
    main_->showChannelPopup(2, {"FSC-H", "SSC-H", "FL1-H"}, {});
    EXPECT_EQ(g.AxisPopupAxis, 2);
    EXPECT_EQ(g.ChosenChannel, 2);
    EXPECT_EQ(g.ChannelMenuCount, 2);
    EXPECT_EQ(dlg.shown()[0].menuItems, (QStringList{"FSC-H", "SSC-H", "FL1-H"}));
    main_->showChannelPopup(1, {"A", "B"}, {});
    EXPECT_EQ(g.AxisPopupAxis, 1);
    EXPECT_EQ(g.ChosenChannel, 2);  // kept without a choice
    EXPECT_EQ(autosaves(), 0);
    // No parameters: no menu at all.
    main_->showChannelPopup(3, {}, {});
    EXPECT_EQ(g.ChannelMenuCount, 0);
}

TEST_F(PopupTest, StatisticsPopupReturnsTheChoiceAndAutosavesAfterIt) {
    ScriptedDialogs dlg;
    dlg.expectMenuChoice("Copy to clipboard").expectMenuChoice("Mean").expectMenuDismiss();
    EXPECT_EQ(main_->showStatisticsPopup(3, {"Number", "Mean"}, {}), 0);
    EXPECT_EQ(g.PopupOwner, 3);
    EXPECT_EQ(main_->showStatisticsPopup(1, {"Number", "Mean"}, {}), 2);
    EXPECT_EQ(g.StatisticsMenuCount, 2);
    EXPECT_EQ(main_->showStatisticsPopup(1, {"Number"}, {}), -1);
    EXPECT_EQ(dlg.shown()[2].menuItems, (QStringList{"Copy to clipboard", "Number"}));
    EXPECT_EQ(autosaves(), 0);  // not before the owner has acted
    QCoreApplication::processEvents();
    EXPECT_EQ(autosaves(), 2);
}

// ---- redraw-all ----

TEST_F(PopupTest, RedrawAllDrawsEveryWindowInOrderThenRefreshesAndAutosaves) {
    definePopulation(3, "Poly-3");
    main_->PiirraKaikki();
    EXPECT_EQ(StandInWindow::log(),
              (std::vector<std::string>{"Piirra 1", "Piirra 2", "Piirra 3", "Piirra 4"}));
    EXPECT_EQ(autosaves(), 1);
    EXPECT_TRUE(ScriptedDialogs::menuCaptions(main_->showPopulationMenu()).contains("Poly-3"));
}

TEST_F(MainWindowTest, RedrawAllWithNoWindowRefreshesAndAutosaves) {
    start();
    writes.clear();
    g.PopulationTable[1].InUse = true;
    g.PopulationTable[1].Name = "Poly-1";
    main_->PiirraKaikki();
    EXPECT_EQ(autosaves(), 1);
    EXPECT_EQ(ScriptedDialogs::menuCaptions(main_->showPopulationMenu()), (QStringList{"All events", "Poly-1"}));
}

TEST_F(PopupTest, WindowClosedByPendingEventsDuringRedrawAllIsNotCalled) {
    StandInWindow::onDraw() = [&](int id) {
        if (id == 2) QTimer::singleShot(0, [] { windowAt(3)->UnloadWindow(); });
    };
    main_->PiirraKaikki();
    EXPECT_EQ(StandInWindow::log(),
              (std::vector<std::string>{"Piirra 1", "Piirra 2", "UnloadWindow 3", "Piirra 4"}));
}

TEST_F(PopupTest, RedrawAllAskedForWhileRunningIsFoldedIntoTheRunningOne) {
    int asked = 0;
    StandInWindow::onDraw() = [&](int id) {
        if (id == 1 && asked++ == 0) QTimer::singleShot(0, [this] { main_->PiirraKaikki(); });
    };
    main_->PiirraKaikki();
    EXPECT_EQ(StandInWindow::log(), (std::vector<std::string>{"Piirra 1", "Piirra 2", "Piirra 3", "Piirra 4",
                                                              "Piirra 1", "Piirra 2", "Piirra 3", "Piirra 4"}));
    EXPECT_EQ(autosaves(), 1);
}

TEST_F(PopupTest, ExitDuringRedrawAllStopsIt) {
    StandInWindow::onDraw() = [&](int id) {
        if (id == 2)
            QTimer::singleShot(0, [this] {
                ScriptedDialogs dlg;
                dlg.expectMessage("Do you really want to exit? All unsaved data will be lost.", "Exit the program",
                                  MsgAnswer::Ok);
                main_->FileExit_Click();
            });
    };
    main_->PiirraKaikki();
    EXPECT_TRUE(main_->exited());
    const std::vector<std::string> expected{"Piirra 1",       "Piirra 2",       "UnloadWindow 1",
                                            "UnloadWindow 2", "UnloadWindow 3", "UnloadWindow 4"};
    EXPECT_EQ(StandInWindow::log(), expected);
    EXPECT_EQ(autosaves(), 0);
}

// ---- postponed full redraw ----

TEST_F(PopupTest, MouseOverTheWorkspaceCompletesAPostponedFullDraw) {
    g.FullRedrawPending = 2;
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(main_->workspace()->viewport(), &move);
    EXPECT_EQ(StandInWindow::log(), std::vector<std::string>{"Piirra 2"});
    EXPECT_EQ(g.FullRedrawPending, 0);
    QCoreApplication::sendEvent(main_->workspace()->viewport(), &move);
    EXPECT_EQ(StandInWindow::log().size(), 1u);

    // A window closed before the mouse came back is not called.
    g.FullRedrawPending = 3;
    windowAt(3)->UnloadWindow();
    StandInWindow::log().clear();
    main_->MDIForm_MouseMove();
    EXPECT_TRUE(StandInWindow::log().empty());
    EXPECT_EQ(g.FullRedrawPending, 0);
}

}  // namespace
}  // namespace qv::test
