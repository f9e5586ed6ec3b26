// The main window's start-up, the recovery offer and the orderly exit.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMdiArea>

#include <QAction>
#include <QMenuBar>
#include <QRadioButton>

#include "app/MainServices.h"
#include "app/MenuBar.h"
#include "app/PopulationPanel.h"
#include "app/ToolsMenu.h"
#include "plots/dotplot/DotPlot.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedDialogs.h"

namespace qv::test {
namespace {

const char* const ExitQuestion = "Do you really want to exit? All unsaved data will be lost.";
const char* const RecoveryQuestion = "Quorvane was not closed properly. You want to recover the view?";

TEST_F(MainWindowTest, StartStateWithoutAutosaveFile) {
    // Values left over from an earlier run of the tables must not survive start-up.
    g.FastDrawLimit = 7;
    g.ProgramClosing = true;
    PaaIkkuna& w = start();  // no dialog scripted: a question here fails the test
    EXPECT_EQ(w.windowTitle(), "Quorvane v. 1.2.1");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.workspace()->background().color(), QColor(34, 30, 31));
    EXPECT_TRUE(w.workspace()->subWindowList().isEmpty());
    EXPECT_EQ(mainServices(), &w);
    EXPECT_TRUE(w.AutosaveEnabled);

    EXPECT_EQ(g.FastDrawLimit, 50000);
    EXPECT_FALSE(g.ProgramClosing);
    EXPECT_EQ(g.MaxWindows, 50);
    EXPECT_EQ(g.WindowRegistry.size(), 51u);
    EXPECT_EQ(g.StatisticsRegistry.size(), 51u);
    EXPECT_EQ(g.FileTable.size(), 21u);
    EXPECT_EQ(g.MaxEventsLoaded, 1000000);
    EXPECT_EQ(g.SelectedPrefix, "[S] ");
    const PopulationRecord& first = g.PopulationTable[1];
    const PopulationRecord& last = g.PopulationTable[32];
    EXPECT_EQ(Rgb({first.ColorRed, first.ColorGreen, first.ColorBlue}), Rgb({255, 50, 0}));
    EXPECT_EQ(Rgb({last.ColorRed, last.ColorGreen, last.ColorBlue}), Rgb({60, 80, 120}));
    EXPECT_TRUE(reads.isEmpty());

    // The panel is built from the limits, with row 1 and row 17 chosen.
    ASSERT_NE(w.panel(), nullptr);
    EXPECT_EQ(w.ValittuPopulaatio(), 1);
    EXPECT_EQ(w.ValittuMaaritelma(), 17);
    ASSERT_NE(w.panel()->RegionValitsin(16), nullptr);
    EXPECT_EQ(w.panel()->RegionValitsin(16)->text(), "Not defined");
    ASSERT_NE(w.panel()->DefValitsin(32), nullptr);
    EXPECT_EQ(w.panel()->DefValitsin(33), nullptr);
    EXPECT_TRUE(g.PanelCollapsed);

    QStringList titles;
    for (QAction* a : w.menuBar()->actions())
        if (a->isVisible()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "View", "&Create", "&Tools", "&Help"}));
    // The window pop-up's first item opens the panel's "Show populations" submenu.
    EXPECT_EQ(ScriptedDialogs::menuCaptions(w.nappiMenu()),
              (QStringList{"Show populations", "Show populations/All events"}));
}

TEST_F(MainWindowTest, StartUpListsTheToolsOfTheScriptsFolder) {
    QDir(folder_.path()).mkpath("scripts");
    for (const char* name : {"Count.qorscript", "Gate.big.QORPACK", "notes.txt"}) {
        QFile f(QDir(folder_.path()).filePath(QStringLiteral("scripts/") + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    PaaIkkuna& w = start();
    ASSERT_NE(w.toolsMenu(), nullptr);
    const auto& table = w.toolsMenu()->ScriptMenuTable();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].Caption, "Count");
    EXPECT_EQ(table[1].Caption, "Gate");
    EXPECT_TRUE(table[1].Packed);
}

// The menu items reach the main window's commands.
TEST_F(MainWindowTest, CreateSelectAllAndExitItemsRunTheirCommands) {
    PaaIkkuna& w = start();
    MainMenu& m = w.mainMenu();
    m.CreateDotPlot->trigger();
    m.LuoClipBook->trigger();
    m.CreateHistogram->trigger();
    EXPECT_EQ(g.WindowRegistry[1].Type, "DotPlot");
    EXPECT_EQ(g.WindowRegistry[2].Type, "ClipBook");
    EXPECT_EQ(g.WindowRegistry[3].Type, "Histogram");
    EXPECT_EQ(selectedIds(), QList<int>{3});
    m.SelectAll->trigger();
    EXPECT_EQ(selectedIds(), (QList<int>{1, 3}));

    // A kind whose window is not built creates nothing and says nothing.
    registerWindowKind("3D Plot", nullptr);
    m.Create3DPlot->trigger();
    EXPECT_EQ(firstFreeWindowSlot(), 4);

    ScriptedDialogs dlg;
    dlg.expectMessage(ExitQuestion, "Exit the program", MsgButtons::OkCancel, MsgAnswer::Ok);
    m.FileExit->trigger();
    EXPECT_TRUE(w.exited());
}

TEST_F(MainWindowTest, RecoveryAnsweredYesReadsTheAutosaveFile) {
    writeAutosave();
    ScriptedDialogs dlg;
    dlg.expectMessage(RecoveryQuestion, "Recovery", MsgButtons::YesNo, MsgAnswer::Yes);
    start();
    ASSERT_EQ(reads.size(), 1);
    EXPECT_EQ(QFileInfo(reads[0]).canonicalFilePath(), QFileInfo(autosavePath()).canonicalFilePath());
}

TEST_F(MainWindowTest, RecoveryAnsweredNoLeavesTheFileAlone) {
    writeAutosave();
    ScriptedDialogs dlg;
    dlg.expectMessage(RecoveryQuestion, "Recovery", MsgButtons::YesNo, MsgAnswer::No);
    start();
    EXPECT_TRUE(reads.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(autosavePath()));
    // The next autosave of the run is what replaces it.
    EXPECT_TRUE(main_->AutosaveEnabled);
}

TEST_F(MainWindowTest, AutosaveOnlyWhileEnabled) {
    PaaIkkuna& w = start();
    w.TalletaNakyma("Autosave");
    w.AutosaveEnabled = false;
    w.TalletaNakyma("Autosave");
    w.TalletaNakyma("Save");  // a save the user asked for is not an autosave
    EXPECT_EQ(writes, (QStringList{"Autosave", "Save"}));
}

// ---- exit ----

class ExitTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        start();
        for (int i = 0; i < 3; ++i) ASSERT_EQ(createWindow("DotPlot"), i + 1);
        ASSERT_EQ(createWindow("ClipBook"), 4);
        FileRecord& f = g.FileTable[1];
        f.Loaded = true;
        f.EventCount = 100;
        f.WorkingData.resize(100, 3);
        f.PristineData.resize(100, 3);
        f.Membership.resize(100, 32);
        writeAutosave();
        writes.clear();
        StandInWindow::log().clear();
    }

    void expectUntouched() {
        EXPECT_FALSE(main_->exited());
        EXPECT_FALSE(g.ProgramClosing);
        for (int id = 1; id <= 4; ++id) EXPECT_NE(windowAt(id), nullptr) << id;
        EXPECT_EQ(g.FileTable[1].WorkingData.maxEvent(), 100);
        EXPECT_EQ(g.FileTable[1].Membership.maxColumn(), 32);
        EXPECT_TRUE(QFileInfo::exists(autosavePath()));
        EXPECT_TRUE(StandInWindow::log().empty());
    }
};

TEST_F(ExitTest, CancelFromTheMenuChangesNothing) {
    ScriptedDialogs dlg;
    dlg.expectMessage(ExitQuestion, "Exit the program", MsgButtons::OkCancel, MsgAnswer::Cancel);
    main_->FileExit_Click();
    expectUntouched();
    EXPECT_TRUE(main_->isVisible());
}

TEST_F(ExitTest, CancelWhenClosingTheWindowKeepsItOpen) {
    ScriptedDialogs dlg;
    dlg.expectMessage(ExitQuestion, "Exit the program", MsgButtons::OkCancel, MsgAnswer::Cancel);
    EXPECT_FALSE(main_->close());
    expectUntouched();
    EXPECT_TRUE(main_->isVisible());
}

// What the windows see while they unload: data still there, drawing and
// autosave already off.
struct UnloadSight {
    int id;
    bool closing;
    int32_t workingEvents;
};

void expectOrderlyExit(const std::vector<UnloadSight>& seen, const QStringList& writes, const QString& autosave) {
    ASSERT_EQ(seen.size(), 4u);
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].id, static_cast<int>(i) + 1);
        EXPECT_TRUE(seen[i].closing);
        EXPECT_EQ(seen[i].workingEvents, 100) << "event data released before window " << seen[i].id << " unloaded";
    }
    EXPECT_TRUE(writes.isEmpty()) << writes.join(",").toStdString();
    for (int id = 1; id <= 4; ++id) EXPECT_EQ(windowAt(id), nullptr);
    EXPECT_EQ(g.FileTable[1].WorkingData.maxEvent(), 0);
    EXPECT_EQ(g.FileTable[1].Membership.maxEvent(), 0);
    EXPECT_EQ(g.FileTable[1].PristineData.maxEvent(), 100);  // left to the process end
    EXPECT_FALSE(QFileInfo::exists(autosave));
}

TEST_F(ExitTest, OkFromTheMenuUnloadsWindowsThenReleasesDataThenDeletesAutosave) {
    std::vector<UnloadSight> seen;
    StandInWindow::onUnload() = [&](int id) {
        seen.push_back({id, g.ProgramClosing, g.FileTable[1].WorkingData.maxEvent()});
        // A window that redraws every window and autosaves while it unloads
        // must not bring the autosave file back.
        main_->PiirraKaikki();
        main_->TalletaNakyma("Autosave");
    };
    ScriptedDialogs dlg;  // exactly one question: the close that follows asks nothing
    dlg.expectMessage(ExitQuestion, "Exit the program", MsgButtons::OkCancel, MsgAnswer::Ok);
    main_->FileExit_Click();
    EXPECT_TRUE(main_->exited());
    EXPECT_FALSE(main_->isVisible());
    expectOrderlyExit(seen, writes, autosavePath());
}

TEST_F(ExitTest, OkWhenClosingTheWindowDoesTheSame) {
    std::vector<UnloadSight> seen;
    StandInWindow::onUnload() = [&](int id) {
        seen.push_back({id, g.ProgramClosing, g.FileTable[1].WorkingData.maxEvent()});
    };
    ScriptedDialogs dlg;
    dlg.expectMessage(ExitQuestion, "Exit the program", MsgButtons::OkCancel, MsgAnswer::Ok);
    EXPECT_TRUE(main_->close());
    EXPECT_TRUE(main_->exited());
    expectOrderlyExit(seen, writes, autosavePath());
    // Closing again after the exit asks nothing more.
    main_->close();
}

TEST_F(MainWindowTest, ExitWithNothingOpenStillAsksAndDeletesAnOldAutosave) {
    ScriptedDialogs dlg;
    dlg.expectMessage(RecoveryQuestion, "Recovery", MsgButtons::YesNo, MsgAnswer::No);
    dlg.expectMessage(ExitQuestion, "Exit the program", MsgButtons::OkCancel, MsgAnswer::Ok);
    writeAutosave();
    start();
    main_->FileExit_Click();
    EXPECT_TRUE(main_->exited());
    EXPECT_FALSE(QFileInfo::exists(autosavePath()));
}

}  // namespace
}  // namespace qv::test

namespace qv::test {
namespace {

// The real dot plot goes through the same creation, selection and exit.
TEST_F(MainWindowTest, RealDotPlotsThroughTheMenuCloseAndExit) {
    registerDotPlotKind();
    PaaIkkuna& w = start();
    w.mainMenu().CreateDotPlot->trigger();
    w.mainMenu().CreateDotPlot->trigger();
    ASSERT_NE(windowAt(2), nullptr);
    EXPECT_EQ(caption(1), "(1): Dot Plot - No File");
    EXPECT_EQ(caption(2), "[S] (2): Dot Plot - No File");
    EXPECT_EQ(autosaves(), 2);

    auto* frame = qobject_cast<QMdiSubWindow*>(windowAt(1)->parentWidget());
    ASSERT_NE(frame, nullptr);
    frame->close();
    EXPECT_EQ(windowAt(1), nullptr);
    w.mainMenu().CreateDotPlot->trigger();
    EXPECT_NE(windowAt(1), nullptr);
    EXPECT_EQ(selectedIds(), QList<int>{1});

    writeAutosave();
    ScriptedDialogs dlg;
    dlg.expectMessage(ExitQuestion, "Exit the program", MsgButtons::OkCancel, MsgAnswer::Ok);
    EXPECT_TRUE(w.close());
    EXPECT_EQ(windowAt(1), nullptr);
    EXPECT_EQ(windowAt(2), nullptr);
    EXPECT_FALSE(QFileInfo::exists(autosavePath()));
}

}  // namespace
}  // namespace qv::test
