// The file information window in the running program: made hidden at
// start-up, shown by its menu item with the active window's file, and the
// Save FCS items reaching the writer.
#include <QAction>
#include <QListWidget>

#include "app/FileInfo.h"
#include "app/MenuBar.h"
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

}  // namespace
}  // namespace qv::test
