// The file information window in the running program: made hidden at
// start-up, shown by its menu item with the active window's file, and the
// Save FCS items reaching the writer; a file of thousands of parameters
// whose compensation grid is built only when the window is shown.
#include <QAction>
#include <QListWidget>
#include <QTableView>

#include "app/FileInfo.h"
#include "app/FileOpening.h"
#include "app/MenuBar.h"
#include "app/model/CompensationGridModel.h"
#include "plots/dotplot/DotPlot.h"
#include "tests/support/core/FcsTestWriter.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ScriptedDialogs.h"

namespace qv::test {
namespace {

class FileInfoInMainWindow : public MainWindowTest {};

TEST_F(FileInfoInMainWindow, TheMenuItemShowsTheActiveWindowsFile) {
    PaaIkkuna& main = start();
    FileInfo* info = main.fileInfo();
    ASSERT_NE(info, nullptr);
    EXPECT_FALSE(info->isVisible());
    EXPECT_EQ(FileInfo::instance(), info);

    PutFile(2, MakeFile({{"FSC", 1024}, {"SSC", 1024}}, {{1, 2}}, "menu.fcs"));
    const int id = main.createFromMenu("DotPlot");
    ASSERT_NE(id, 0);
    g.WindowRegistry[static_cast<size_t>(id)].FileIndex = 2;
    g.ActiveWindowSlot = static_cast<int16_t>(id);

    main.NaytaFileInfo_Click();
    EXPECT_TRUE(info->isVisible());
    EXPECT_TRUE(main.mainMenu().NaytaFileInfo->isChecked());
    EXPECT_EQ(info->shownFileSlot(), 2);
    ASSERT_EQ(info->parameterList()->count(), 2);
    EXPECT_EQ(info->parameterList()->item(1)->text(), "SSC");

    // Its close box only hides it.
    info->close();
    EXPECT_FALSE(info->isVisible());
    EXPECT_FALSE(main.mainMenu().NaytaFileInfo->isChecked());
    EXPECT_EQ(main.fileInfo(), info);
}

TEST_F(FileInfoInMainWindow, SaveFcsOfAnInstrumentFileShowsTheProtection) {
    PaaIkkuna& main = start();
    FileRecord f = MakeFile({{"FSC", 1024}}, {{1}}, "instrument.fcs", "/nowhere/");
    f.Cytometer = "FACSCalibur";
    PutFile(1, f);
    const int id = main.createFromMenu("DotPlot");
    g.WindowRegistry[static_cast<size_t>(id)].FileIndex = 1;
    g.ActiveWindowSlot = static_cast<int16_t>(id);
    ScriptedDialogs dialogs;
    dialogs.expectMessage(
        "The current FCS file has been created with some other than with Quorvane. To protect your original data, "
        "please choose 'Save FCS as...' from File menu.",
        "File protection", MsgButtons::Ok, MsgAnswer::Ok);
    main.mainMenu().FileSaveFCSEiKysymysta->trigger();
    dialogs.expectSaveFile(std::nullopt, "Save as FCS file");
    main.mainMenu().FileSaveFCS->trigger();
}

// A 2048-parameter file opened through the menu into a dot plot: while File
// info is hidden it lists the parameters but builds no grid, also when the
// file's window is clicked again; shown, the grid holds every cell of the
// file as it is then, and hidden again it lets the cells go.
TEST_F(FileInfoInMainWindow, AWideFileBuildsItsGridOnlyWhileFileInfoIsShown) {
    constexpr int P = 2048;
    TempFolder folder;
    FcsTestFile wide;
    std::vector<double> event;
    for (int p = 1; p <= P; ++p) {
        wide.param("P" + std::to_string(p));
        event.push_back(p % 1024);
    }
    wide.event(event);
    const std::string path = folder.file("wide.fcs");
    WriteFcsTestFile(path, wide);

    registerDotPlotKind();
    PaaIkkuna& main = start();
    FileInfo* info = main.fileInfo();
    ASSERT_NE(info, nullptr);
    {
        ScriptedDialogs dialogs;
        dialogs.expectOpenFile(QString::fromStdString(path), "Open FCS file");
        FileOpenFCS_Click();
    }
    const int slot = info->shownFileSlot();
    ASSERT_NE(slot, 0);
    FileRecord& file = g.FileTable[static_cast<size_t>(slot)];
    ASSERT_EQ(file.ParameterCount, P);
    const int window = g.ActiveWindowSlot;
    ASSERT_NE(windowAt(window), nullptr);

    const auto expectNoGrid = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(info->grid(), nullptr);
        EXPECT_EQ(info->gridModel()->rowCount(), 0);
        EXPECT_EQ(info->gridModel()->columnCount(), 0);
        EXPECT_EQ(info->parameterList()->count(), P);
    };
    expectNoGrid("after the load");
    windowAt(window)->onActivated();
    expectNoGrid("after a click on the file's window");

    file.CompensationMatrix(P, 1) = 0.153f;
    main.NaytaFileInfo_Click();
    ASSERT_TRUE(info->isVisible());
    ASSERT_NE(info->grid(), nullptr);
    const QAbstractItemModel* grid = info->grid()->model();
    ASSERT_EQ(grid->rowCount(), P + 1);
    ASSERT_EQ(grid->columnCount(), P + 1);
    EXPECT_EQ(grid->index(0, P).data().toString(), "P2048");
    EXPECT_EQ(grid->index(P, 0).data().toString(), "P2048");
    EXPECT_EQ(grid->index(P, 1).data().toString(), "15.3");
    EXPECT_EQ(grid->index(1, P).data().toString(), "0");

    main.NaytaFileInfo_Click();
    ASSERT_FALSE(info->isVisible());
    windowAt(window)->onActivated();
    EXPECT_EQ(info->gridModel()->rowCount(), 0);
}

}  // namespace
}  // namespace qv::test
