// The file information window's share of an analysis sheet in the running
// program: what it restores is in force once the sheet has loaded.
#include <QLineEdit>

#include <algorithm>

#include "app/FileInfo.h"
#include "tests/app/SheetStoreFixture.h"

namespace qv::test {
namespace {

// The events in use of the shown file come back as events in use, not only
// as the text of the events box.
TEST_F(SheetStoreTest, TheEventsInUseOfASheetAreInForceAfterLoading) {
    buildWorkspace();
    FileInfo* info = main->fileInfo();
    ASSERT_NE(info, nullptr);
    main->mainMenu().NaytaFileInfo->trigger();  // its lines are kept while it is shown
    info->AsetaLista(2, false);
    ASSERT_EQ(info->shownFileSlot(), 2);
    {
        ScriptedDialogs dlg;
        dlg.expectInput("Give the number of events which will be available\r1-200", "Number of events",
                        QString("150"));
        info->askEventsInUse();
        dlg.finish();
    }
    ASSERT_EQ(g.FileTable[2].EventCount, 150);
    const std::string sheet = saveSheet(sheetDir.file("events.quorvane"));
    ASSERT_NE(sheet.find("fileinfo.events.show:150\r\n"), std::string::npos);
    const Workspace before = Workspace::capture();

    restartWithoutRecovery();
    loadSheet(sheetDir.file("events.quorvane"));
    info = main->fileInfo();
    ASSERT_NE(info, nullptr);
    ASSERT_EQ(info->shownFileSlot(), 2);
    EXPECT_EQ(g.FileTable[2].FileName, "Run #3 b.fcs");
    EXPECT_EQ(g.FileTable[2].EventCount, 150);
    EXPECT_EQ(g.FileTable[2].EventsLoaded, 200);
    EXPECT_EQ(g.FileTable[1].EventCount, 200);
    EXPECT_EQ(info->eventsBox()->text(), "150");
    // Files, windows and the memberships of the events in use are those of
    // the saved workspace (events beyond those in use are not recomputed).
    const Workspace after = Workspace::capture();
    EXPECT_EQ(after.files, before.files);
    EXPECT_EQ(after.windows, before.windows);
    for (const auto& [slot, columns] : before.membership) {
        SCOPED_TRACE(slot);
        const size_t inUse = static_cast<size_t>(g.FileTable[static_cast<size_t>(slot)].EventCount) + 1;
        ASSERT_EQ(after.membership.at(slot).size(), columns.size());
        for (size_t c = 0; c < columns.size(); ++c) {
            const auto& was = columns[c];
            const auto& now = after.membership.at(slot)[c];
            ASSERT_GE(was.size(), inUse);
            ASSERT_GE(now.size(), inUse);
            EXPECT_TRUE(std::equal(was.begin(), was.begin() + static_cast<long>(inUse), now.begin())) << "column " << c;
        }
    }
}

}  // namespace
}  // namespace qv::test
