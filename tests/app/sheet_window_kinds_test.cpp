// Every window kind of the program, the print page and the empty workspace
// through an analysis sheet: written, read into a fresh run, written again.
#include <gtest/gtest.h>

#include <QAction>

#include <string>
#include <vector>

#include "output/ClipBook.h"
#include "output/PrintPreview.h"
#include "plots/histogram/Histogram.h"
#include "tests/app/SheetStoreFixture.h"

namespace qv::test {
namespace {

class SheetWindowKindsTest : public SheetStoreTest {
protected:
    void SetUp() override {
        registerHistogramKind();
        registerClipBookKind();
        SheetStoreTest::SetUp();
    }

    Histogram* histogram(int id) { return dynamic_cast<Histogram*>(windowAt(id)); }

    std::vector<std::string> pageLines() { return main->printPage()->SaveInfo(); }
};

// A histogram with every setting changed, its statistics window open and
// moved, a marker gate, a dot plot with its statistics open and a clip
// book, all on a shown print page at places of their own: saved, read into
// a fresh run, saved again.
TEST_F(SheetWindowKindsTest, EveryKindAndThePrintPageComeBackFromASheet) {
    WriteFcsTestFile(dataDir.file("a.fcs"), sampleFile(0));
    ASSERT_EQ(main->createFromMenu("Histogram"), 1);
    openFile(dataDir.file("a.fcs"));
    Histogram* h = histogram(1);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(g.WindowRegistry[1].FileIndex, 1);
    h->AsetaKanava("x", "3");
    h->state().FillRed = 12;
    h->state().FillBlue = 200;
    h->state().Smoothing = 3;
    h->state().YScale = 40;
    h->AvaaTaiSuljeStatistics("open");
    h->LiikutaStatistiikkaLaatikkoa("x", "1500");
    h->LoadInfo("window.1.statistics.column.3.visible:0");
    h->AsetaPreviewissa(true);
    h->AsetaStatPreviewissa(true);
    h->parentWidget()->move(40, 25);

    PopulationRecord& marker = g.PopulationTable[2];
    marker.InUse = true;
    marker.Name = "Histo-2";
    marker.Type = "Histogram";
    marker.AxisX = 3;
    marker.Corners = 2;
    marker.CornerX[1] = 2000.5f;
    marker.CornerX[2] = 6000;
    marker.CornerY[1] = 5000;
    marker.Created = 1;
    h->CheckPopulation(2);
    h->NaytaPopulaatio(2);

    ASSERT_EQ(main->createFromMenu("DotPlot"), 2);
    ASSERT_EQ(g.WindowRegistry[2].FileIndex, 1);
    windowAt(2)->AsetaPreviewissa(true);
    windowAt(2)->AvaaTaiSuljeStatistics("open");
    windowAt(2)->AsetaStatPreviewissa(true);
    windowAt(2)->LoadInfo("window.2.statistics.column.7.visible:0");
    ASSERT_EQ(main->createFromMenu("ClipBook"), 3);
    windowAt(3)->parentWidget()->move(300, 120);
    windowAt(3)->AsetaPreviewissa(true);

    main->mainMenu().AvaaPrintPreviewPage->trigger();
    ASSERT_TRUE(main->printPage()->isVisible());
    PrintPageLayout& page = main->printPage()->layout();
    page.WindowPlacement[1].X = 120;
    page.WindowPlacement[3].Y = 333;
    page.StatPlacement[1].X = 400;
    page.StatPlacement[2].Y = 520;
    main->PiirraKaikki();

    const Workspace before = Workspace::capture();
    const std::vector<std::string> pageBefore = pageLines();
    ASSERT_EQ(before.windows.size(), 3u);
    ASSERT_EQ(before.windows.at(1).front(), "31");  // the statistics lines are there
    const std::string first = saveSheet(sheetDir.file("kinds.quorvane"));
    for (const char* line : {"window.1.type:Histogram\r\n", "window.1.fill.red:12\r\n", "window.1.smoothing:3\r\n",
                             "window.1.statistics.column.3.visible:0\r\n", "window.3.type:ClipBook\r\n",
                             "window.3.printview.window.visible:1\r\n", "printview.visible:1\r\n",
                             "printview.window.1.location.x:120\r\n", "printview.window.3.location.y:333\r\n",
                             "printview.stat.1.location.x:400\r\n", "printview.stat.2.location.y:520\r\n",
                             "window.2.statistics.column.7.visible:0\r\n"})
        EXPECT_NE(first.find(line), std::string::npos) << line;

    restartWithoutRecovery();
    ASSERT_EQ(windowAt(1), nullptr);
    written.clear();
    loadSheet(sheetDir.file("kinds.quorvane"));
    EXPECT_EQ(writesWhileLoading, 0);
    ASSERT_NE(histogram(1), nullptr);
    ASSERT_NE(dynamic_cast<ClipBook*>(windowAt(3)), nullptr);
    EXPECT_TRUE(main->printPage()->isVisible());
    EXPECT_TRUE(main->mainMenu().Printtaa->isEnabled());

    const Workspace after = Workspace::capture();
    EXPECT_EQ(after.populations, before.populations);
    EXPECT_EQ(after.files, before.files);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_TRUE(after.membership == before.membership);
    EXPECT_EQ(pageLines(), pageBefore);
    const std::string second = saveSheet(sheetDir.file("again.quorvane"));
    EXPECT_EQ(withoutDate(second), withoutDate(first));
}

// A new run writes the empty sheet line by line: no population, definition,
// file or window, the print page hidden with its own four lines, the file
// information window unticked and so without lines.
TEST_F(SheetWindowKindsTest, NewWorkspaceWritesTheEmptySheet) {
    const QWidget* page = main->printPage()->outerWidget();
    const auto twips = [](int pixels) { return std::to_string(pixels * 15); };
    const std::string expected = "# Quorvane Analysis sheet\r\n\r\n"
                                 "general.version:1.2.1\r\n"
                                 "\r\n\r\n"  // the date line, left out
                                 "# Populations\r\ngeneral.maxnumberofpopulations:16\r\n\r\n"
                                 "# Definitions\r\ngeneral.maxnumberofdefinitions:16\r\n\r\n"
                                 "# Files\r\n\r\n"
                                 "# Windows\r\n\r\n"
                                 "# Print view\r\nprintview.visible:0\r\n"
                                 "printview.location.x:" + twips(page->x()) + "\r\n" +
                                 "printview.location.y:" + twips(page->y()) + "\r\n" +
                                 "printview.size.x:" + twips(page->width()) + "\r\n" +
                                 "printview.size.y:" + twips(page->height()) + "\r\n\r\n" +
                                 "# File info\r\nfileinfo.visible:0\r\n\r\n";
    EXPECT_EQ(withoutDate(saveSheet(sheetDir.file("empty.quorvane"))), expected);
    main->TalletaNakyma("Autosave");
    EXPECT_EQ(withoutDate(readAll(autosave())), expected);
}

}  // namespace
}  // namespace qv::test
