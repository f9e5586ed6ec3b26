// The statistics window with a dot plot as its owner: the grid as shown,
// its spans and headers, the text layouts and the clipboard copy, the
// column switches of the pop-up, the print-page entry, closing, the tool
// operations and the statistics settings lines.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTableWidget>

#include <memory>
#include <string>
#include <vector>

#include "app/WindowDisposal.h"
#include "app/PlotWindow.h"
#include "core/SharedState.h"
#include "output/Statistics.h"
#include "tests/output/StatisticsTestOwner.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ScriptedDialogs.h"

namespace qv {
namespace {

using test::StatisticsTestOwner;

constexpr int OwnerId = 3;

// Where the program would be back in its top-level event loop.
void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    deleteDiscardedWidgets();
}

// The displayed table, one TAB-joined text per row.
std::vector<std::string> shownRows(const Statistics& w) {
    std::vector<std::string> rows;
    const QTableWidget* t = w.table();
    for (int r = 0; r < t->rowCount(); ++r) {
        std::string row;
        for (int c = 0; c < t->columnCount(); ++c) {
            if (c > 0) row += '\t';
            if (const QTableWidgetItem* item = t->item(r, c)) row += item->text().toStdString();
        }
        rows.push_back(row);
    }
    return rows;
}

std::string join(const std::vector<std::string>& rows, const std::string& separator) {
    std::string out;
    for (size_t i = 0; i < rows.size(); ++i) out += (i ? separator : "") + rows[i];
    return out;
}

// A dot plot (ID 3) showing file slot 1: four events, one in each quadrant
// of the cross at (5000, 5000); Poly-1 holds events 1 and 2, Poly-2 event
// 3, the definition in slot 17 events 1..3. A polygon on the exchanged
// pair and a histogram marker are not listed.
class StatisticsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        FileRecord file = test::MakeFile({{"FSC", 10000}, {"SSC", 10000}},
                                         {{100, 8000}, {6000, 8000}, {200, 1000}, {7000, 2000}}, "cells.fcs");
        file.SampleId = "Tube 7";
        file.Comment = "a\rb";
        for (int e : {1, 2}) file.Membership(e, 1) = 1;
        file.Membership(3, 2) = 1;
        for (int e : {1, 2, 3}) file.Membership(e, 17) = 1;
        test::PutFile(1, std::move(file));
        test::PutPolygon(1, 1, 2, {{0, 0}, {5000, 0}, {5000, 5000}}, "Poly-1");
        test::PutPolygon(2, 1, 2, {{0, 0}, {5000, 0}, {5000, 5000}}, "Poly-2");
        test::PutPolygon(3, 2, 1, {{0, 0}, {5000, 0}, {5000, 5000}}, "Swapped");
        g.PopulationTable[4].InUse = true;
        g.PopulationTable[4].Type = "Histogram";
        g.PopulationTable[4].Name = "Marker";
        g.PopulationTable[17].InUse = true;
        g.PopulationTable[17].Name = "Poly-1 or Poly-2";

        owner = std::make_unique<StatisticsTestOwner>(OwnerId);
        owner->state.QuadrantOn = true;
        owner->state.QuadrantX = 5000;
        owner->state.QuadrantY = 5000;
        owner->AvaaTaiSuljeStatistics("open");
        ASSERT_NE(window(), nullptr);
    }
    void TearDown() override {
        owner.reset();
        flushDeletes();
        setPrintPageRedrawer(nullptr);
    }

    Statistics* window() const { return owner->panel.window(); }
    std::vector<std::string> rows() const { return shownRows(*window()); }

    std::unique_ptr<StatisticsTestOwner> owner;
};

const std::vector<std::string> FullGrid = {
    "\tNumber\t% of vis\tX mean\tY mean\tX geomean\tY geomean",
    "Visible\t4\t100\t3325\t4750\t957.34\t3363.58",
    "Poly-1\t2\t50\t3050\t8000\t774.59\t8000",
    "Poly-2\t1\t25\t200\t1000\t200\t1000",
    "Poly-1 or Poly-2\t3\t75\t2100\t5666.66\t493.24\t4000",
    "\t\t\t\t\t\t",
    "Upper Left\t1\t25\t100\t8000\t100\t8000",
    "Upper Right\t1\t25\t6000\t8000\t6000\t8000",
    "Lower Left\t1\t25\t200\t1000\t200\t1000",
    "Lower Right\t1\t25\t7000\t2000\t7000\t2000",
};

TEST_F(StatisticsWindowTest, OpeningShowsTheGridOfPopulationsDefinitionAndQuadrants) {
    EXPECT_TRUE(owner->state.StatisticsOpen);
    EXPECT_EQ(owner->state.caption(MenuStatistics), "Close statistics");
    EXPECT_TRUE(g.StatisticsRegistry[OwnerId].InUse);
    EXPECT_EQ(window()->AnnaID(), OwnerId);
    EXPECT_EQ(window()->windowTitle(), "(3) Statistics: cells.fcs");
    EXPECT_EQ(rows(), FullGrid);
    EXPECT_EQ(StatisticsGridText(window()->MSFlexGrid1()), join(FullGrid, "\n"));

    // Sized as the grid: 1500 twips of labels, six standard columns, 100;
    // ten rows of the standard height and 380.
    const StatisticsGrid& grid = window()->MSFlexGrid1();
    EXPECT_EQ(grid.colWidth(0), 1500);
    EXPECT_EQ(grid.width(), 1500 + 6 * grid.standardColumnWidth() + 100);
    EXPECT_EQ(grid.height(), 10 * grid.standardRowHeight() + 380);
    EXPECT_EQ(window()->table()->columnWidth(0), 100);
    // The window's inside is exactly its columns and rows: no empty band
    // below the last row or right of the last column, on screen or in the
    // picture for the print page.
    int columns = 0, rowPixels = 0;
    for (int c = 0; c < grid.Cols(); ++c) columns += window()->table()->columnWidth(c);
    for (int r = 0; r < grid.Rows(); ++r) rowPixels += window()->table()->rowHeight(r);
    EXPECT_EQ(rowPixels, 10 * ((grid.standardRowHeight() + 7) / 15));
    EXPECT_EQ(window()->size(), QSize(columns, rowPixels));
    EXPECT_EQ(window()->table()->size(), window()->size());
    EXPECT_EQ(window()->gridPicture().size(), window()->size());
    EXPECT_EQ(owner->AnnaStatistiikka("ul", "vis"), 25.0);
    EXPECT_EQ(owner->AnnaStatistiikka("17", "number"), 3.0);
}

// The label column keeps its width; a definition name wider than it, and
// any other text wider than its cell, shows whole in its tooltip.
TEST_F(StatisticsWindowTest, TextsWiderThanTheirCellsShowWholeInTheirTooltips) {
    const std::string longName = "poly-1 and not (Poly-2 or Poly-1) and not Marker";
    g.PopulationTable[17].Name = longName;
    owner->PaivitaStatistiikka();
    const QTableWidget* t = window()->table();
    ASSERT_EQ(t->columnWidth(0), 100);
    const QFontMetrics metrics(t->font());
    ASSERT_GT(metrics.horizontalAdvance(QString::fromStdString(longName)), t->columnWidth(0));

    bool longNameSeen = false;
    for (int r = 0; r < t->rowCount(); ++r)
        for (int c = 0; c < t->columnCount(); ++c) {
            const QTableWidgetItem* item = t->item(r, c);
            ASSERT_NE(item, nullptr);
            const QString text = item->text();
            int width = 0;
            for (int k = c; k < c + t->columnSpan(r, c); ++k) width += t->columnWidth(k);
            SCOPED_TRACE(text.toStdString());
            if (metrics.horizontalAdvance(text) > width) EXPECT_EQ(item->toolTip(), text);
            if (metrics.horizontalAdvance(text) * 2 < width) EXPECT_TRUE(item->toolTip().isEmpty());
            longNameSeen = longNameSeen || text.toStdString() == longName;
        }
    EXPECT_TRUE(longNameSeen);
}

TEST_F(StatisticsWindowTest, InformationRowsComeFirstAndSpanTheDataColumns) {
    window()->AsetaNakyvyys(8, "1");   // File name
    window()->AsetaNakyvyys(10, "1");  // Comments
    owner->PaivitaStatistiikka();
    const std::vector<std::string> shown = rows();
    ASSERT_EQ(shown.size(), FullGrid.size() + 2);
    EXPECT_EQ(shown[0], "File name\t cells.fcs\t cells.fcs\t cells.fcs\t cells.fcs\t cells.fcs\t cells.fcs");
    EXPECT_EQ(shown[1], "Comments\t a, b\t a, b\t a, b\t a, b\t a, b\t a, b");
    EXPECT_EQ(shown[2], FullGrid[0]);  // the header row is row 2
    EXPECT_EQ(shown[3], FullGrid[1]);
    const QTableWidget* t = window()->table();
    for (int r : {0, 1}) {
        EXPECT_EQ(t->columnSpan(r, 1), 6) << "row " << r;
        EXPECT_EQ(t->columnSpan(r, 0), 1) << "row " << r;
    }
    EXPECT_EQ(t->columnSpan(3, 1), 1);
    EXPECT_TRUE(window()->MSFlexGrid1().rowMerge(0));
    EXPECT_FALSE(window()->MSFlexGrid1().rowMerge(2));

    // A refresh without them drops the rows and the spans.
    window()->AsetaNakyvyys(8, "0");
    window()->AsetaNakyvyys(10, "0");
    owner->PaivitaStatistiikka();
    EXPECT_EQ(rows(), FullGrid);
    EXPECT_EQ(t->columnSpan(0, 1), 1);
}

TEST_F(StatisticsWindowTest, TextLayoutsCharacterForCharacter) {
    window()->AsetaNakyvyys(3, "0");
    window()->AsetaNakyvyys(4, "0");
    window()->AsetaNakyvyys(5, "0");
    window()->AsetaNakyvyys(6, "0");
    window()->AsetaNakyvyys(9, "1");  // Sample ID
    owner->state.QuadrantOn = false;
    owner->PaivitaStatistiikka();

    EXPECT_EQ(owner->AnnaKokoStatistiikka("monirivinen"),
              "Sample ID\t Tube 7\t Tube 7\n"
              "\tNumber\t% of vis\n"
              "Visible\t4\t100\n"
              "Poly-1\t2\t50\n"
              "Poly-2\t1\t25\n"
              "Poly-1 or Poly-2\t3\t75");
    EXPECT_EQ(owner->AnnaKokoStatistiikka("1-rivinen-otsikko"),
              "[W 3] Visible Number\t[W 3] Visible % of vis\t"
              "[W 3] Poly-1 Number\t[W 3] Poly-1 % of vis\t"
              "[W 3] Poly-2 Number\t[W 3] Poly-2 % of vis\t"
              "[W 3] Poly-1 or Poly-2 Number\t[W 3] Poly-1 or Poly-2 % of vis\t");
    EXPECT_EQ(owner->AnnaKokoStatistiikka("1-rivinen-tieto"), "4\t100\t2\t50\t1\t25\t3\t75\t");
    EXPECT_EQ(owner->AnnaKokoStatistiikka("Monirivinen"), "");
    EXPECT_EQ(owner->AnnaKokoStatistiikka(""), "");

    // With the quadrant: the gap row is left out of the header line but the
    // quadrant rows are in both single lines.
    owner->state.QuadrantOn = true;
    owner->PaivitaStatistiikka();
    const std::string header = owner->AnnaKokoStatistiikka("1-rivinen-otsikko");
    EXPECT_EQ(header.find("[W 3]  "), std::string::npos);
    EXPECT_NE(header.find("[W 3] Lower Right % of vis\t"), std::string::npos);
    EXPECT_EQ(owner->AnnaKokoStatistiikka("1-rivinen-tieto"),
              "4\t100\t2\t50\t1\t25\t3\t75\t1\t25\t1\t25\t1\t25\t1\t25\t");
}

TEST_F(StatisticsWindowTest, ClipboardCopyWritesInformationOnceAndRestoresTheDisplay) {
    window()->AsetaNakyvyys(8, "1");
    owner->PaivitaStatistiikka();
    QApplication::clipboard()->setText("old");
    int redraws = 0;
    setPrintPageRedrawer([&] { ++redraws; });
    const int before = owner->refreshes;

    window()->StatistiikkaMenuValintaReaktio(0);  // "Copy to clipboard"

    std::vector<std::string> copied = FullGrid;
    copied.insert(copied.begin(), "File name\t cells.fcs\t\t\t\t\t");
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), join(copied, "\n"));
    EXPECT_FALSE(g.CopyingStatistics);
    // Once for the copy, once to restore the display, once after the menu.
    EXPECT_EQ(owner->refreshes - before, 3);
    EXPECT_EQ(rows()[0], "File name\t cells.fcs\t cells.fcs\t cells.fcs\t cells.fcs\t cells.fcs\t cells.fcs");
    EXPECT_FALSE(owner->StatKuva().isNull());
    EXPECT_EQ(redraws, 1);
    for (int k = 1; k <= 12; ++k)
        EXPECT_EQ(window()->OnkoNakyvissa(k), k <= 6 || k == 8) << "entry " << k;
}

TEST_F(StatisticsWindowTest, OneCellGridCopiesThatCellAlone) {
    for (int c = 1; c <= 10; ++c) window()->AsetaNakyvyys(c, "0");
    owner->state.QuadrantOn = false;
    g.PopulationTable[1].InUse = g.PopulationTable[2].InUse = g.PopulationTable[17].InUse = false;
    owner->PaivitaStatistiikka();
    // Header and "Visible" in column 0 only.
    EXPECT_EQ(rows(), (std::vector<std::string>{"", "Visible"}));
    window()->CopyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(), "\nVisible");
}

TEST_F(StatisticsWindowTest, PopupShowsTheEntriesWithTheirTicksAndTogglesAColumn) {
    test::ScriptedDialogs dialogs;
    dialogs.expectMenu([](QMenu& menu) {
        const QStringList captions = test::ScriptedDialogs::menuCaptions(menu);
        EXPECT_EQ(captions, (QStringList{"Copy to clipboard", "Number", "% of Vis", "XMean", "YMean", "XGeoMean",
                                         "YGeoMean", "File name", "Sample ID", "Comments",
                                         "Show in print preview page"}));
        QAction* xmean = test::ScriptedDialogs::findMenuItem(menu, "XMean");
        EXPECT_TRUE(xmean->isChecked());
        EXPECT_FALSE(test::ScriptedDialogs::findMenuItem(menu, "File name")->isChecked());
        return xmean;
    });
    window()->openPopup(QPoint(10, 10));
    dialogs.finish();
    EXPECT_EQ(g.PopupOwner, OwnerId);
    EXPECT_EQ(g.StatisticsMenuCount, 12);
    EXPECT_FALSE(window()->OnkoNakyvissa(3));
    EXPECT_EQ(rows()[0], "\tNumber\t% of vis\tY mean\tX geomean\tY geomean");
    EXPECT_EQ(rows()[1], "Visible\t4\t100\t4750\t957.34\t3363.58");

    // Dismissing the pop-up changes nothing.
    dialogs.expectMenuDismiss();
    window()->openPopup(QPoint(10, 10));
    dialogs.finish();
    EXPECT_FALSE(window()->OnkoNakyvissa(3));
    EXPECT_EQ(rows()[0], "\tNumber\t% of vis\tY mean\tX geomean\tY geomean");
}

TEST_F(StatisticsWindowTest, EveryStatisticColumnOffLeavesTheLabelsAndTheFileName) {
    window()->StatistiikkaMenuValintaReaktio(8);  // File name on
    for (int c = 1; c <= 6; ++c) window()->StatistiikkaMenuValintaReaktio(c);
    for (int c = 1; c <= 6; ++c) EXPECT_FALSE(window()->OnkoNakyvissa(c));
    // The file name keeps column 1 beside its label.
    EXPECT_EQ(window()->MSFlexGrid1().Cols(), 2);
    EXPECT_EQ(rows(), (std::vector<std::string>{"File name\t cells.fcs", "\t", "Visible\t", "Poly-1\t", "Poly-2\t",
                                                "Poly-1 or Poly-2\t", "\t", "Upper Left\t", "Upper Right\t",
                                                "Lower Left\t", "Lower Right\t"}));
    EXPECT_EQ(window()->MSFlexGrid1().width(), 1600 + window()->MSFlexGrid1().standardColumnWidth());
    EXPECT_EQ(owner->AnnaKokoStatistiikka("1-rivinen-tieto"), "");
    EXPECT_EQ(owner->AnnaKokoStatistiikka("1-rivinen-otsikko"), "");
    window()->CopyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "File name\t cells.fcs\n\t\nVisible\t\nPoly-1\t\nPoly-2\t\nPoly-1 or Poly-2\t\n\t\nUpper Left\t\n"
              "Upper Right\t\nLower Left\t\nLower Right\t");

    // The last entry on stays on; a separator is no entry.
    window()->StatistiikkaMenuValintaReaktio(8);
    EXPECT_TRUE(window()->OnkoNakyvissa(8));
    window()->StatistiikkaMenuValintaReaktio(7);
    EXPECT_FALSE(window()->OnkoNakyvissa(7));
    window()->StatistiikkaMenuValintaReaktio(2);
    window()->StatistiikkaMenuValintaReaktio(8);
    EXPECT_FALSE(window()->OnkoNakyvissa(8));
    EXPECT_EQ(rows()[0], "\t% of vis");
}

TEST_F(StatisticsWindowTest, PrintPageEntryTogglesTheOwnersBoxAndItsCaption) {
    EXPECT_FALSE(owner->OnkoStatPreviewissa());
    const int before = owner->refreshes;
    window()->StatistiikkaMenuValintaReaktio(12);
    EXPECT_TRUE(owner->OnkoStatPreviewissa());
    EXPECT_EQ(owner->refreshes, before);  // nothing else
    EXPECT_FALSE(window()->OnkoNakyvissa(12));

    test::ScriptedDialogs dialogs;
    dialogs.expectMenu([](QMenu& menu) {
        EXPECT_TRUE(test::ScriptedDialogs::menuCaptions(menu).contains("Don't show in print preview page"));
        return test::ScriptedDialogs::findMenuItem(menu, "Don't show in print preview page");
    });
    window()->openPopup(QPoint(1, 1));
    dialogs.finish();
    EXPECT_FALSE(owner->OnkoStatPreviewissa());
}

TEST_F(StatisticsWindowTest, ClosedByTheUserTellsTheOwnerAndIsDeletedOnce) {
    QPointer<Statistics> w = window();
    int destroyed = 0;
    QObject::connect(w.data(), &QObject::destroyed, [&] { ++destroyed; });
    w->close();
    EXPECT_EQ(owner->unloadCalls, 1);
    EXPECT_FALSE(owner->state.StatisticsOpen);
    EXPECT_EQ(owner->state.caption(MenuStatistics), "Open statistics");
    EXPECT_FALSE(g.StatisticsRegistry[OwnerId].InUse);
    EXPECT_EQ(owner->panel.window(), nullptr);
    flushDeletes();
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(destroyed, 1);
    // The owner's later close requests find nothing to do.
    owner->AvaaTaiSuljeStatistics("close");
    owner->UnloadWindow();
    flushDeletes();
    EXPECT_EQ(destroyed, 1);
    EXPECT_THROW(owner->AnnaKokoStatistiikka("monirivinen"), WindowOperationError);
}

TEST_F(StatisticsWindowTest, ClosedByTheOwnerIsDeletedOnceWithoutCallingBack) {
    QPointer<Statistics> w = window();
    int destroyed = 0;
    QObject::connect(w.data(), &QObject::destroyed, [&] { ++destroyed; });
    owner->AvaaTaiSuljeStatistics("");  // toggles: closes
    EXPECT_FALSE(owner->state.StatisticsOpen);
    EXPECT_EQ(owner->unloadCalls, 0);
    flushDeletes();
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(destroyed, 1);

    owner->AvaaTaiSuljeStatistics("open");
    owner->AvaaTaiSuljeStatistics("open");  // already open: no second window
    QPointer<Statistics> second = window();
    ASSERT_FALSE(second.isNull());
    owner->UnloadWindow();
    flushDeletes();
    EXPECT_TRUE(second.isNull());
    EXPECT_EQ(owner->unloadCalls, 0);
}

TEST_F(StatisticsWindowTest, ClosingWhileTheProgramClosesDoesNotCallTheOwner) {
    g.ProgramClosing = true;
    QPointer<Statistics> w = window();
    w->close();
    EXPECT_EQ(owner->unloadCalls, 0);
    EXPECT_TRUE(owner->state.StatisticsOpen);
    owner->UnloadWindow();  // at shutdown the window is left alone
    EXPECT_TRUE(owner->state.StatisticsOpen);
    owner.reset();
    flushDeletes();
    EXPECT_TRUE(w.isNull());
}

// In the main window's workspace the window sits in a frame: closing the
// frame reaches the owner once, the frame is placed by the tools and both go
// exactly once.
TEST(StatisticsInWorkspaceTest, FrameCloseReachesTheOwnerOnceAndDeletesOnce) {
    resetSharedState();
    test::PutFile(1, test::MakeFile({{"FSC", 1024}, {"SSC", 1024}}, {{1, 2}}));
    QMdiArea area;
    area.resize(800, 600);
    area.show();
    setStatisticsWindowShower([&](Statistics& w) { area.addSubWindow(&w)->show(); });
    {
        StatisticsTestOwner owner(4);
        owner.AvaaTaiSuljeStatistics("open");
        QPointer<Statistics> w = owner.panel.window();
        ASSERT_FALSE(w.isNull());
        QPointer<QMdiSubWindow> frame = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        ASSERT_FALSE(frame.isNull());
        const StatisticsGrid& grid = w->MSFlexGrid1();
        // The frame's borders and title bar lie around the rows, inside
        // them nothing else.
        int rowPixels = 0;
        for (int r = 0; r < grid.Rows(); ++r) rowPixels += w->table()->rowHeight(r);
        EXPECT_EQ(w->height(), rowPixels);
        EXPECT_EQ(w->table()->size(), w->size());
        EXPECT_GT(frame->height(), w->height());
        EXPECT_GT(frame->width(), w->width());
        owner.LiikutaStatistiikkaLaatikkoa("x", "300");
        owner.LiikutaStatistiikkaLaatikkoa("y", "150");
        EXPECT_EQ(frame->pos(), QPoint(20, 10));
        EXPECT_EQ(w->Left(), 300.0f);
        int destroyed = 0;
        QObject::connect(w.data(), &QObject::destroyed, [&] { ++destroyed; });

        frame->close();
        EXPECT_EQ(owner.unloadCalls, 1);
        EXPECT_FALSE(owner.state.StatisticsOpen);
        flushDeletes();
        EXPECT_TRUE(w.isNull());
        EXPECT_TRUE(frame.isNull());
        EXPECT_EQ(destroyed, 1);

        // Closed by its owner: the frame goes too, without a call back.
        owner.AvaaTaiSuljeStatistics("open");
        QPointer<QMdiSubWindow> second = qobject_cast<QMdiSubWindow*>(owner.panel.window()->parentWidget());
        owner.AvaaTaiSuljeStatistics("close");
        flushDeletes();
        EXPECT_TRUE(second.isNull());
        EXPECT_EQ(owner.unloadCalls, 1);
        EXPECT_TRUE(area.subWindowList().isEmpty());
    }
    setStatisticsWindowShower(nullptr);
    flushDeletes();
}

TEST_F(StatisticsWindowTest, WindowDeletedFromOutsideCountsAsClosed) {
    delete window();  // its workspace went first
    EXPECT_FALSE(owner->state.StatisticsOpen);
    EXPECT_FALSE(g.StatisticsRegistry[OwnerId].InUse);
    EXPECT_EQ(owner->state.caption(MenuStatistics), "Open statistics");
    EXPECT_TRUE(owner->panel.settingsLines().empty());
    EXPECT_EQ(owner->panel.enabledLine(), "statistics.enabled:0");
    owner->PaivitaStatistiikka();  // nothing to fill, no failure
    EXPECT_THROW(owner->AnnaKokoStatistiikka("monirivinen"), WindowOperationError);
    owner->AvaaTaiSuljeStatistics("open");
    EXPECT_NE(window(), nullptr);
}

// A right click on the grid opens the pop-up; for an owner of another kind
// the window offers that kind's entries, and without an owner in its slot
// nothing fails.
TEST(StatisticsOwnerKindTest, RightClickShowsTheEntriesOfTheOwnersKind) {
    resetSharedState();
    g.WindowRegistry[6].Type = "Histogram";
    Statistics w;
    w.Alusta(6);
    EXPECT_EQ(w.AnnaID(), 6);
    EXPECT_EQ(w.windowTitle(), "Statistics");
    test::ScriptedDialogs dialogs;
    dialogs.expectMenu([](QMenu& menu) {
        EXPECT_EQ(test::ScriptedDialogs::menuCaptions(menu),
                  (QStringList{"Copy to clipboard", "Number", "% of vis", "XMean", "XGeoMean", "CV", "File name",
                               "Sample ID", "Comments", "Show in print preview page"}));
        return test::ScriptedDialogs::findMenuItem(menu, "CV");
    });
    QWidget* viewport = w.table()->viewport();
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), viewport->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(viewport, &click);
    dialogs.finish();
    EXPECT_EQ(g.StatisticsMenuCount, 11);
    EXPECT_FALSE(w.OnkoNakyvissa(5));
    w.StatistiikkaMenuValintaReaktio(11);  // print-page entry without an owner
    w.StatistiikkaMenuValintaReaktio(0);
    EXPECT_EQ(QApplication::clipboard()->text(), "");  // the empty grid
    EXPECT_EQ(w.AnnaKokoStatistiikka("monirivinen"), "");

    // An owner kind without statistics gets no entries: only the copy.
    g.WindowRegistry[6].Type = "ClipBook";
    w.Alusta(6);
    dialogs.expectMenu([](QMenu& menu) {
        EXPECT_EQ(test::ScriptedDialogs::menuCaptions(menu), QStringList{"Copy to clipboard"});
        return nullptr;
    });
    w.openPopup(QPoint(1, 1));
    dialogs.finish();
}

TEST_F(StatisticsWindowTest, ToolErrorsAndLookups) {
    EXPECT_THROW(owner->AnnaStatistiikka("33", "number"), WindowOperationError);
    EXPECT_THROW(owner->AnnaStatistiikka("-1", "vis"), WindowOperationError);
    EXPECT_EQ(owner->AnnaStatistiikka("33", "count"), 0.0);
    EXPECT_EQ(owner->AnnaStatistiikka("UL", "vis"), 0.0);
    EXPECT_EQ(owner->AnnaStatistiikka("0", "number"), 4.0);
    EXPECT_DOUBLE_EQ(owner->AnnaStatistiikka("2", "vis"), 25.0);

    // The records keep their values after the window closes.
    owner->AvaaTaiSuljeStatistics("close");
    EXPECT_EQ(owner->AnnaStatistiikka("1", "number"), 2.0);
    EXPECT_THROW(owner->AnnaKokoStatistiikka("monirivinen"), WindowOperationError);
    owner->LiikutaStatistiikkaLaatikkoa("x", "abc");  // closed: nothing, no error
}

TEST_F(StatisticsWindowTest, ToolsMoveTheWindowInTwips) {
    owner->LiikutaStatistiikkaLaatikkoa("x", "1500");
    owner->LiikutaStatistiikkaLaatikkoa("y", "3000");
    owner->LiikutaStatistiikkaLaatikkoa("z", "4500");
    EXPECT_EQ(window()->Left(), 1500.0f);
    EXPECT_EQ(window()->Top(), 3000.0f);
    EXPECT_THROW(owner->LiikutaStatistiikkaLaatikkoa("x", "left"), WindowOperationError);
}

TEST_F(StatisticsWindowTest, RefreshDoesNothingWithoutAFileOrWhileClosed) {
    const std::vector<std::string> before = rows();
    g.WindowRegistry[OwnerId].FileIndex = 0;
    g.FileTable[1].Membership(4, 1) = 1;
    owner->PaivitaStatistiikka();
    EXPECT_EQ(rows(), before);
    g.WindowRegistry[OwnerId].FileIndex = 1;
    owner->PaivitaStatistiikka();
    EXPECT_EQ(rows()[2], "Poly-1\t3\t75\t4366.66\t6000\t1613.42\t5039.68");
}

TEST_F(StatisticsWindowTest, FastDrawCornerAndStep) {
    test::PutFile(1, test::MakeUniformFile(120000, 5, 5));
    owner->state.FastDrawOn = true;
    owner->state.EventStep = 3;
    owner->state.QuadrantOn = false;
    owner->PaivitaStatistiikka();
    EXPECT_EQ(rows()[0].substr(0, 10), "FAST DRAW\t");
    EXPECT_EQ(rows()[1].substr(0, 14), "Visible\t40000\t");
    owner->state.FastDrawOn = false;
    owner->state.EventStep = 1;
    owner->PaivitaStatistiikka();
    EXPECT_EQ(rows()[0].substr(0, 7), "\tNumber");
    EXPECT_EQ(rows()[1].substr(0, 15), "Visible\t120000\t");
}

TEST_F(StatisticsWindowTest, PercentagesAreTruncatedWithoutBinaryRoundingLoss) {
    // 57 of 100 events: 57, not 56.99; 1 of 3: 33.33; 2 of 3: 66.66.
    std::vector<std::vector<float>> events(100, std::vector<float>{10, 10});
    FileRecord file = test::MakeFile({{"FSC", 1024}, {"SSC", 1024}}, events);
    for (int e = 1; e <= 57; ++e) file.Membership(e, 1) = 1;
    test::PutFile(1, std::move(file));
    g.PopulationTable[2].InUse = g.PopulationTable[17].InUse = false;
    owner->state.QuadrantOn = false;
    owner->PaivitaStatistiikka();
    EXPECT_EQ(rows()[2], "Poly-1\t57\t57\t10\t10\t10\t10");

    std::vector<std::vector<float>> three(3, std::vector<float>{1, 1});
    FileRecord small = test::MakeFile({{"FSC", 1024}, {"SSC", 1024}}, three);
    small.Membership(1, 1) = 1;
    small.Membership(1, 2) = small.Membership(2, 2) = 1;
    test::PutFile(1, std::move(small));
    g.PopulationTable[2].InUse = true;
    owner->PaivitaStatistiikka();
    EXPECT_EQ(rows()[2], "Poly-1\t1\t33.33\t1\t1\t1\t1");
    EXPECT_EQ(rows()[3], "Poly-2\t2\t66.66\t1\t1\t1\t1");
}

TEST_F(StatisticsWindowTest, SettingsLinesRoundTrip) {
    owner->LiikutaStatistiikkaLaatikkoa("x", "1200");
    owner->LiikutaStatistiikkaLaatikkoa("y", "2400");
    window()->StatistiikkaMenuValintaReaktio(2);  // "% of Vis" off
    window()->StatistiikkaMenuValintaReaktio(9);  // "Sample ID" on
    const std::vector<std::string> lines = owner->panel.settingsLines();
    EXPECT_EQ(owner->panel.enabledLine(), "statistics.enabled:1");
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "statistics.x:1200", "statistics.y:2400", "statistics.column.1.visible:1",
                         "statistics.column.2.visible:0", "statistics.column.3.visible:1",
                         "statistics.column.4.visible:1", "statistics.column.5.visible:1",
                         "statistics.column.6.visible:1", "statistics.column.7.visible:0",
                         "statistics.column.8.visible:0", "statistics.column.9.visible:1",
                         "statistics.column.10.visible:0"}));
    const std::vector<std::string> shownBefore = rows();

    // A second window of another ID reads them back as the sheet gives them.
    test::StatisticsTestOwner other(5);
    other.state.QuadrantOn = true;
    other.state.QuadrantX = other.state.QuadrantY = 5000;
    EXPECT_TRUE(other.panel.loadSettingsLine("window.5." + owner->panel.enabledLine()));
    for (const std::string& line : lines) EXPECT_TRUE(other.panel.loadSettingsLine("window.5." + line)) << line;
    ASSERT_NE(other.panel.window(), nullptr);
    other.PaivitaStatistiikka();
    EXPECT_EQ(other.panel.settingsLines(), lines);
    EXPECT_EQ(shownRows(*other.panel.window()), shownBefore);

    // Lines that are not statistics lines, or carry no number, change nothing.
    EXPECT_FALSE(other.panel.loadSettingsLine("window.5.axis.x:2"));
    EXPECT_FALSE(other.panel.loadSettingsLine("window.5.Statistics.x:2"));
    EXPECT_TRUE(other.panel.loadSettingsLine("window.5.statistics.x:abc"));
    EXPECT_TRUE(other.panel.loadSettingsLine("window.5.statistics.column.x.visible:0"));
    EXPECT_TRUE(other.panel.loadSettingsLine("window.5.statistics.column.1.visible:yes"));
    EXPECT_TRUE(other.panel.loadSettingsLine("window.5.statistics.column.99.visible:1"));
    EXPECT_TRUE(other.panel.loadSettingsLine("window.5.statistics.enabled:2"));
    EXPECT_EQ(other.panel.settingsLines(), lines);

    // Every entry off from the lines: the grid keeps its label column.
    for (int c = 1; c <= 10; ++c)
        other.panel.loadSettingsLine("window.5.statistics.column." + std::to_string(c) + ".visible:0");
    other.PaivitaStatistiikka();
    EXPECT_EQ(other.panel.window()->MSFlexGrid1().Cols(), 1);
    EXPECT_EQ(shownRows(*other.panel.window())[1], "Visible");

    EXPECT_TRUE(other.panel.loadSettingsLine("window.5.statistics.enabled:0"));
    EXPECT_FALSE(other.state.StatisticsOpen);
    EXPECT_TRUE(other.panel.settingsLines().empty());
    EXPECT_EQ(other.panel.enabledLine(), "statistics.enabled:0");
    flushDeletes();
}

}  // namespace
}  // namespace qv
