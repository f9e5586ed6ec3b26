// A dot plot with its statistics window: opening and closing from its menu
// and by the user, the refresh of a full draw with the picture for the print
// page, and the statistics lines through SaveInfo and LoadInfo.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QTableWidget>

#include <memory>
#include <string>
#include <vector>

#include "app/WindowDisposal.h"
#include "core/FcsReader.h"
#include "core/SharedState.h"
#include "output/Statistics.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/dotplot/DotPlotStatisticsPanel.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/plots/dotplot/DotPlotTestWindows.h"

namespace qv {
namespace {

// Where the program would be back in its top-level event loop.
void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    deleteDiscardedWidgets();
}

class DotPlotStatisticsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        FileRecord file = test::MakeFile({{"FSC", 1000}, {"SSC", 1000}},
                                         {{100, 900}, {600, 900}, {200, 100}, {700, 200}, {800, 300}}, "tube.fcs");
        for (int e : {1, 2}) file.Membership(e, 1) = 1;
        test::PutFile(1, std::move(file));
        test::PutPolygon(1, 1, 2, {{0, 0}, {5000, 0}, {5000, 5000}}, "Poly-1");
    }
    void TearDown() override {
        for (auto& w : windows) w->UnloadWindow();
        windows.clear();
        flushDeletes();
        resetSharedState();
    }

    DotPlot& open(int id) {
        DotPlot& w = test::OpenDotPlot(windows, id);
        g.WindowRegistry[static_cast<size_t>(id)].FileIndex = 1;
        w.LatauksenJalkeen();
        return w;
    }

    static Statistics* statisticsOf(const DotPlot& w) { return w.statisticsPanel()->window(); }

    std::vector<std::unique_ptr<DotPlot>> windows;
};

// A file name as the file system gives it (UTF-8 bytes here) reads as typed
// in the plot's caption and in the statistics window; the bytes are kept.
TEST_F(DotPlotStatisticsWindowTest, NonAsciiFileNameIsShownDecoded) {
    const std::string bytes = "m\xC3\xA9sure.txt";
    const QString shown = QString::fromUtf8("m\u00E9sure.txt");
    g.FileTable[1].FileName = bytes;
    DotPlot& w = open(2);
    w.Piirra();
    EXPECT_EQ(w.AnnaOtsikko(), "(2): Dot Plot - " + shown);
    EXPECT_EQ(w.windowTitle(), "[S] (2): Dot Plot - " + shown);
    w.MenuValintaReaktio(MenuStatistics);
    Statistics* s = statisticsOf(w);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->windowTitle(), "(2) Statistics: " + shown);
    s->AsetaNakyvyys(8, "1");  // the "File name" entry
    w.PaivitaStatistiikka();
    const StatisticsGrid& grid = s->MSFlexGrid1();
    EXPECT_EQ(grid.text(0, 0), "File name");
    EXPECT_EQ(grid.text(0, 1), " " + bytes);
    EXPECT_EQ(s->table()->item(0, 1)->text(), " " + shown);
    EXPECT_EQ(s->table()->item(1, 1)->text(), QString::fromStdString(grid.text(1, 1)));
}

TEST_F(DotPlotStatisticsWindowTest, MenuOpensAndClosesTheWindowAndAFullDrawRefreshesIt) {
    DotPlot& w = open(2);
    w.MenuValintaReaktio(MenuStatistics);
    ASSERT_NE(statisticsOf(w), nullptr);
    EXPECT_TRUE(w.OnkoStatistiikkaKaytossa());
    EXPECT_EQ(w.state().caption(MenuStatistics), "Close statistics");
    EXPECT_EQ(statisticsOf(w)->windowTitle(), "(2) Statistics: tube.fcs");
    EXPECT_EQ(statisticsOf(w)->MSFlexGrid1().text(1, 1), "5");
    EXPECT_EQ(statisticsOf(w)->MSFlexGrid1().text(2, 0), "Poly-1");
    EXPECT_TRUE(w.StatKuva().isNull());  // no full draw yet

    g.FileTable[1].Membership(3, 1) = 1;
    w.Piirra();
    EXPECT_EQ(statisticsOf(w)->MSFlexGrid1().text(2, 1), "3");
    EXPECT_EQ(statisticsOf(w)->MSFlexGrid1().text(2, 2), "60");
    EXPECT_FALSE(w.StatKuva().isNull());
    EXPECT_EQ(w.AnnaStatistiikka("1", "number"), 3.0);
    EXPECT_EQ(w.AnnaKokoStatistiikka("1-rivinen-tieto").substr(0, 6), "5\t100\t");

    QPointer<Statistics> shown = statisticsOf(w);
    w.MenuValintaReaktio(MenuStatistics);
    EXPECT_FALSE(w.OnkoStatistiikkaKaytossa());
    EXPECT_EQ(w.state().caption(MenuStatistics), "Open statistics");
    flushDeletes();
    EXPECT_TRUE(shown.isNull());
    EXPECT_THROW(w.AnnaKokoStatistiikka("monirivinen"), WindowOperationError);
    EXPECT_EQ(w.AnnaStatistiikka("1", "number"), 3.0);  // the records stay
}

TEST_F(DotPlotStatisticsWindowTest, UserClosingTheWindowClosesTheStatistics) {
    DotPlot& w = open(2);
    w.AvaaTaiSuljeStatistics("open");
    QPointer<Statistics> shown = statisticsOf(w);
    int destroyed = 0;
    QObject::connect(shown.data(), &QObject::destroyed, [&] { ++destroyed; });
    shown->close();
    EXPECT_FALSE(w.OnkoStatistiikkaKaytossa());
    EXPECT_FALSE(g.StatisticsRegistry[2].InUse);
    w.UnloadWindow();
    flushDeletes();
    EXPECT_TRUE(shown.isNull());
    EXPECT_EQ(destroyed, 1);
}

TEST_F(DotPlotStatisticsWindowTest, UnloadingThePlotUnloadsItsStatisticsOnce) {
    DotPlot& w = open(2);
    w.AvaaTaiSuljeStatistics("open");
    QPointer<Statistics> shown = statisticsOf(w);
    int destroyed = 0;
    QObject::connect(shown.data(), &QObject::destroyed, [&] { ++destroyed; });
    w.UnloadWindow();
    EXPECT_FALSE(g.StatisticsRegistry[2].InUse);
    windows.clear();
    flushDeletes();
    EXPECT_TRUE(shown.isNull());
    EXPECT_EQ(destroyed, 1);
}

TEST_F(DotPlotStatisticsWindowTest, StatisticsLinesRoundTripThroughTheSettings) {
    DotPlot& w = open(2);
    EXPECT_EQ(w.SaveInfo()[0], "22");
    EXPECT_EQ(w.SaveInfo()[22], "statistics.enabled:0");

    w.AvaaTaiSuljeStatistics("open");
    w.LiikutaStatistiikkaLaatikkoa("x", "4500");
    w.LiikutaStatistiikkaLaatikkoa("y", "750");
    statisticsOf(w)->StatistiikkaMenuValintaReaktio(1);   // "Number" off
    statisticsOf(w)->StatistiikkaMenuValintaReaktio(10);  // "Comments" on
    const std::vector<std::string> lines = w.SaveInfo();
    ASSERT_EQ(lines.size(), 35u);
    EXPECT_EQ(lines[0], "34");
    EXPECT_EQ(lines[22], "statistics.enabled:1");
    EXPECT_EQ(lines[23], "statistics.x:4500");
    EXPECT_EQ(lines[24], "statistics.y:750");
    EXPECT_EQ(lines[25], "statistics.column.1.visible:0");
    EXPECT_EQ(lines[26], "statistics.column.2.visible:1");
    EXPECT_EQ(lines[33], "statistics.column.9.visible:0");
    EXPECT_EQ(lines[34], "statistics.column.10.visible:1");

    DotPlot& copy = open(7);
    for (size_t i = 1; i < lines.size(); ++i) copy.LoadInfo("window.7." + lines[i]);
    ASSERT_TRUE(copy.OnkoStatistiikkaKaytossa());
    const std::vector<std::string> again = copy.SaveInfo();
    EXPECT_EQ(std::vector<std::string>(again.begin() + 22, again.end()),
              std::vector<std::string>(lines.begin() + 22, lines.end()));
    EXPECT_EQ(statisticsOf(copy)->Left(), 4500.0f);
    copy.PaivitaStatistiikka();
    EXPECT_EQ(statisticsOf(copy)->MSFlexGrid1().text(0, 0), "Comments");
    EXPECT_EQ(statisticsOf(copy)->MSFlexGrid1().text(1, 1), "% of vis");

    copy.LoadInfo("window.7.statistics.enabled:0");
    EXPECT_FALSE(copy.OnkoStatistiikkaKaytossa());
    EXPECT_EQ(copy.SaveInfo()[0], "22");
}

// The road by hand on a real instrument file: a gate, the statistics, the
// quadrant, and the grid copied as text.
TEST_F(DotPlotStatisticsWindowTest, RealFileGatedWithQuadrantCopiesAsTabbedLines) {
    const std::string path = std::string(QV_TESTDATA_DIR) + "/facscalibur_fcs2_int16.fcs";
    if (!QFileInfo::exists(QString::fromStdString(path)))
        GTEST_SKIP() << "instrument files not available at " << QV_TESTDATA_DIR;
    FileRecord file = ReadFcsFile(path);
    ASSERT_TRUE(file.Loaded) << file.RefusalReason;
    ASSERT_EQ(file.EventCount, 37395);
    test::PutFile(1, std::move(file));
    test::PutPolygon(1, 1, 2, {{0, 0}, {5000, 0}, {5000, 10000}, {0, 10000}}, "Small");

    DotPlot& w = open(1);
    g.FastDrawLimit = 50000;
    w.LatauksenJalkeen();
    w.CheckPopulation(1);
    w.AvaaTaiSuljeStatistics("open");
    w.NaytaTaiPiilotaKvadrantti("open");
    w.Piirra();
    statisticsOf(w)->CopyToClipboard();

    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_FALSE(text.contains('\r'));
    EXPECT_FALSE(text.endsWith('\n'));
    const QStringList lines = text.split('\n');
    ASSERT_EQ(lines.size(), 8);  // header, Visible, Small, gap, four quadrants
    for (const QString& line : lines) EXPECT_EQ(line.count('\t'), 6) << line.toStdString();
    EXPECT_EQ(lines[0], "\tNumber\t% of vis\tX mean\tY mean\tX geomean\tY geomean");
    EXPECT_TRUE(lines[1].startsWith("Visible\t37395\t100\t"));
    EXPECT_TRUE(lines[2].startsWith("Small\t"));
    EXPECT_EQ(lines[3], "\t\t\t\t\t\t");
    const QStringList quadrantNames = {"Upper Left", "Upper Right", "Lower Left", "Lower Right"};
    int total = 0;
    for (int q = 0; q < 4; ++q) {
        const QStringList cells = lines[4 + q].split('\t');
        EXPECT_EQ(cells[0], quadrantNames[q]);
        total += cells[1].toInt();
    }
    EXPECT_EQ(total, 37395);

    int members = 0;
    for (int e = 1; e <= 37395; ++e) members += g.FileTable[1].Membership(e, 1) == 1;
    EXPECT_EQ(lines[2].split('\t')[1].toInt(), members);
    EXPECT_GT(members, 0);
    EXPECT_EQ(w.AnnaStatistiikka("1", "number"), members);
}

}  // namespace
}  // namespace qv
