// The histogram window offscreen: its start, markers drawn, dragged and
// relabelled with the mouse, its pop-up menu items, its statistics window
// and its settings lines.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QImage>
#include <QTest>

#include <cmath>
#include <memory>
#include <vector>

#include "app/WindowDisposal.h"
#include "app/WindowRegistry.h"
#include "core/SharedState.h"
#include "output/PrintPreview.h"
#include "output/Statistics.h"
#include "plots/histogram/Histogram.h"
#include "plots/histogram/HistogramStatisticsPanel.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StubMainServices.h"

namespace qv {
namespace {

using test::MakeFile;
using test::MembershipColumn;
using test::PutFile;

class HistogramServices final : public test::StubMainServices {
public:
    void PiirraKaikki() override {
        ++redraws;
        for (auto& r : g.WindowRegistry)
            if (r.InUse && r.Form) r.Form->Piirra();
    }
    int ValittuPopulaatio() const override { return chosen; }
    void TalletaNakyma(const QString&) override { ++autosaves; }
    void showWindowPopup(int owner, const QStringList& captions, const QPoint&, bool) override {
        popupOwner = owner;
        popupCaptions = captions;
    }
    void showChannelPopup(int axis, const QStringList& names, const QPoint&) override {
        channelNames = names;
        if (choice >= 0) g.ChosenChannel = static_cast<int16_t>(choice);
        (void)axis;
    }
    int chosen = 0;
    int redraws = 0;
    int autosaves = 0;
    int popupOwner = 0;
    int choice = -1;
    QStringList popupCaptions, channelNames;
};

// The window is 267 x 267 pixels with a margin of 18: plotting area 231.
constexpr double M = 18, Plot = 231;
double PixelX(double space) { return M + Plot * space / 10000.0; }
float SpaceX(double px) { return static_cast<float>((px - M) / Plot * 10000.0); }

class HistogramWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        setMainServices(&services);
        // FL1 of range 10000 on a linear axis: a value is its plot-space x.
        PutFile(1, MakeFile({{"FSC", 1024}, {"FL1", 10000}},
                            {{10, 1000}, {20, 3000}, {30, 5000}, {40, 5200}, {50, 9000}}, "bright.fcs"));
        window = std::make_unique<Histogram>();
        registerIn(*window, 4);
        window->show();
        g.WindowRegistry[4].FileIndex = 1;
        window->state().Channel = 2;
        window->LatauksenJalkeen();
        window->Piirra();
        ASSERT_EQ(window->picture().size(), QSize(267, 267));
    }
    void TearDown() override {
        window->close();
        window.reset();
        setMainServices(nullptr);
        resetSharedState();
    }
    static void registerIn(Histogram& w, int id) {
        WindowRecord& r = g.WindowRegistry[static_cast<size_t>(id)];
        r.InUse = true;
        r.Form = &w;
        r.Type = "Histogram";
        w.Alusta(id);
    }

    void press(QPointF p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(window.get(), b, {}, p.toPoint()); }
    void release(QPointF p) { QTest::mouseRelease(window.get(), Qt::LeftButton, {}, p.toPoint()); }
    void move(QPointF p) {
        QMouseEvent ev(QEvent::MouseMove, p, window->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &ev);
    }
    void drag(QPointF from, QPointF to) {
        press(from);
        move((from + to) / 2);
        move(to);
        release(to);
    }
    // A marker in slot 2 over FL1 4000..6000 at mid height.
    PopulationRecord& putMarker(float x1 = 4000, float x2 = 6000) {
        PopulationRecord& p = g.PopulationTable[2];
        p.InUse = true;
        p.Type = "Histogram";
        p.AxisX = 2;
        p.Corners = 2;
        p.CornerX[1] = x1;
        p.CornerX[2] = x2;
        p.CornerY[1] = 5000;
        p.Name = "Histo-2";
        window->CheckPopulation(2);
        window->Piirra();
        return p;
    }

    HistogramServices services;
    std::unique_ptr<Histogram> window;
};

TEST_F(HistogramWindowTest, NewWindowWithoutAFileDrawsNothingAndOpensAtTheRememberedSize) {
    g.DefaultHistogramWidth = 3000;
    g.DefaultHistogramHeight = 1500;
    Histogram other;
    registerIn(other, 7);
    EXPECT_EQ(other.windowTitle(), "[S] (7): Histogram - No File");
    EXPECT_EQ(other.size(), QSize(200, 100));
    other.Piirra();
    EXPECT_EQ(other.fullDrawCount(), 0);
    EXPECT_EQ(window->windowTitle(), "[S] (4): Histogram - bright.fcs");
    EXPECT_EQ(window->AnnaKanava("x"), "2");
    EXPECT_EQ(window->AnnaKanava("y"), "");
    other.close();
}

TEST_F(HistogramWindowTest, DrawingAMarkerWritesTheChosenRowAndItsMembers) {
    services.chosen = 3;
    g.RegionDrawMode = true;
    // Drawn right to left, ends stored in order by the check.
    drag({PixelX(6000), 100}, {PixelX(4000), 120});
    EXPECT_FALSE(g.RegionDrawMode);
    const PopulationRecord& p = g.PopulationTable[3];
    EXPECT_TRUE(p.InUse);
    EXPECT_EQ(p.Name, "Histo-3");
    EXPECT_EQ(p.Type, "Histogram");
    EXPECT_EQ(p.AxisX, 2);
    EXPECT_EQ(p.Created, 4);
    EXPECT_TRUE(p.Transparent);
    EXPECT_LT(p.CornerX[1], p.CornerX[2]);
    EXPECT_NEAR(p.CornerX[1], 4000, 1);  // where the last move left the end
    EXPECT_EQ(MembershipColumn(1, 3), (std::vector<int>{0, 0, 1, 1, 0}));
    EXPECT_GE(services.redraws, 1);
}

TEST_F(HistogramWindowTest, MarkerReleasedWithoutAChosenRowIsDropped) {
    services.chosen = 0;
    g.RegionDrawMode = true;
    drag({50, 100}, {150, 100});
    EXPECT_FALSE(g.RegionDrawMode);
    for (int k = 1; k <= 16; ++k) EXPECT_FALSE(g.PopulationTable[static_cast<size_t>(k)].InUse) << k;
    // A click without a move, far left of the plot: the starting end is kept
    // as pressed, and every position stays finite.
    services.chosen = 5;
    g.RegionDrawMode = true;
    press({2, 100});
    release({2, 100});
    EXPECT_FLOAT_EQ(g.PopulationTable[5].CornerX[1], SpaceX(2));
    EXPECT_EQ(g.PopulationTable[5].CornerX[1], g.PopulationTable[5].CornerX[2]);
}

TEST_F(HistogramWindowTest, RenamedRowRedrawnKeepsItsNameAndItsDefinitionFollows) {
    PopulationRecord& p = putMarker(0, 2000);
    p.Name = "Bright";
    PopulationRecord& d = g.PopulationTable[17];
    d.InUse = true;
    d.Name = "Bright";
    window->CheckPopulation(2);
    EXPECT_EQ(MembershipColumn(1, 17), (std::vector<int>{1, 0, 0, 0, 0}));

    services.chosen = 2;
    g.RegionDrawMode = true;
    drag({PixelX(8000), 100}, {PixelX(9500), 100});
    EXPECT_EQ(g.PopulationTable[2].Name, "Bright");
    EXPECT_EQ(MembershipColumn(1, 2), (std::vector<int>{0, 0, 0, 0, 1}));
    EXPECT_EQ(MembershipColumn(1, 17), (std::vector<int>{0, 0, 0, 0, 1}));
}

TEST_F(HistogramWindowTest, EndDragIsStrictRunsNoCheckWhileMovingAndWritesAtRelease) {
    PopulationRecord& p = putMarker();
    const double endX = PixelX(6000), barY = M + Plot * 0.5;
    // Exactly 3 pixels away does not grab.
    press({endX + 3, barY});
    EXPECT_EQ(g.DragCornerPopulation, 0);
    release({endX + 3, barY});
    const std::vector<int> before = MembershipColumn(1, 2);

    press({endX, barY});
    ASSERT_EQ(g.DragCornerPopulation, 2);
    EXPECT_EQ(g.DragCornerIndex, 2);
    const int draws = window->fullDrawCount();
    const int autosaves = services.autosaves;
    for (double x = endX; x <= PixelX(9500); x += 5) move({x, barY - 20});
    EXPECT_EQ(window->fullDrawCount(), draws);  // no draw, no statistics per move
    EXPECT_EQ(services.autosaves, autosaves);
    EXPECT_EQ(MembershipColumn(1, 2), before);
    // Beyond the plotting area the end stays at its edge.
    move({400, barY - 20});
    release({400, barY - 20});
    EXPECT_EQ(g.DragCornerPopulation, 0);
    EXPECT_FALSE(window->state().Dragging);
    EXPECT_NEAR(p.CornerX[2], 10000, 1);
    EXPECT_LT(p.CornerY[1], 5000);
    EXPECT_EQ(MembershipColumn(1, 2), (std::vector<int>{0, 0, 1, 1, 1}));
}

TEST_F(HistogramWindowTest, BodyDragMovesTheWholeMarkerButNeverOutOfTheArea) {
    PopulationRecord& p = putMarker(1000, 3000);
    const double y = M + Plot * 0.5 + 30;  // the height is not tested
    press({PixelX(2000), y});
    ASSERT_EQ(g.DragMovePopulation, 2);
    move({PixelX(2000) - 100, y});  // would push end 1 out: refused, and lost
    move({PixelX(2000) - 90, y});
    release({PixelX(2000) - 90, y});
    EXPECT_NEAR(p.CornerX[1], 1000 + SpaceX(M + 10), 1);
    EXPECT_NEAR(p.CornerX[2] - p.CornerX[1], 2000, 1);
}

TEST_F(HistogramWindowTest, LabelIsGrabbedByItsCornerHandleAndMovedByItsOffset) {
    PopulationRecord& p = putMarker();
    const double left = PixelX(5000) - 7 * 7 / 2.0, top = M + Plot * 0.5 - 14;
    press({left + 10, top + 5});  // on the text, away from the handle: the body
    EXPECT_EQ(g.DragLabelPopulation, 0);
    EXPECT_EQ(g.DragMovePopulation, 2);
    release({left + 10, top + 5});

    press({left, top});
    ASSERT_EQ(g.DragLabelPopulation, 2);
    const QPoint to(150, 90);
    move(to);
    release(to);
    EXPECT_EQ(g.DragLabelPopulation, 0);
    // The label's top left corner lands on the release point.
    EXPECT_NEAR(p.TitleX, (to.x() + 24.5 - M) / Plot * 10000 - 5000, 0.5);
    EXPECT_NEAR(p.TitleY, (to.y() + 14 - M) / Plot * 10000 - 5000, 0.5);
    EXPECT_FALSE(window->state().Dragging);
}

// Pixels of `after` that differ from `before` in the 9 x 9 box around (x, y).
int changedAround(const QImage& before, const QImage& after, double x, double y) {
    int changed = 0;
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx) {
            const QPoint at(static_cast<int>(std::lround(x)) + dx, static_cast<int>(std::lround(y)) + dy);
            if (before.pixel(at) != after.pixel(at)) ++changed;
        }
    return changed;
}

TEST_F(HistogramWindowTest, HoverShowsTheEndHandlesOfEveryMarkerWithAnEndUnderThePointer) {
    putMarker(4000, 6000);
    PopulationRecord& third = g.PopulationTable[3];
    third = g.PopulationTable[2];
    third.Name = "Histo-3";
    third.CornerX[1] = 6000;  // shares the point of marker 2's right end
    third.CornerX[2] = 8000;
    window->CheckPopulation(3);
    window->Piirra();
    const double barY = M + Plot * 0.5;
    move({5, 5});  // away from every marker: nothing is shown
    const QImage plain = window->grab().toImage();

    move({PixelX(6000), barY});
    const QImage both = window->grab().toImage();
    EXPECT_GT(changedAround(plain, both, PixelX(4000), barY), 0);  // marker 2's far end
    EXPECT_GT(changedAround(plain, both, PixelX(8000), barY), 0);  // marker 3's far end

    // Only marker 3's right end under the pointer: marker 2 shows nothing.
    move({PixelX(8000), barY});
    const QImage one = window->grab().toImage();
    EXPECT_GT(changedAround(plain, one, PixelX(6000), barY), 0);
    EXPECT_EQ(changedAround(plain, one, PixelX(4000), barY), 0);
}

TEST_F(HistogramWindowTest, OnlyTheShownPrintPageGetsTheFileNameAndIsRefreshed) {
    PrintPreview page;  // loaded hidden, as at start-up
    ASSERT_FALSE(printPreviewShown());
    // Ink above the plotting area, right of the Y maximum: only the file
    // name is printed there.
    auto nameInk = [&]() {
        int ink = 0;
        const QImage& pic = window->picture();
        const QRgb background = pic.pixel(0, 0);
        for (int y = 0; y < static_cast<int>(M) - 1; ++y)
            for (int x = static_cast<int>(M); x < 200; ++x)
                if (pic.pixel(x, y) != background) ++ink;
        return ink;
    };
    window->AsetaPreviewissa(true);
    EXPECT_EQ(nameInk(), 0);
    const QImage hiddenPage = page.Kuva().copy();
    window->state().Channel = 1;  // another picture
    window->Piirra();
    EXPECT_EQ(page.Kuva(), hiddenPage);  // a hidden page is left alone

    page.show();
    ASSERT_TRUE(printPreviewShown());
    window->Piirra();
    EXPECT_GT(nameInk(), 0);
    EXPECT_NE(page.Kuva(), hiddenPage);

    window->AsetaPreviewissa(false);
    window->Piirra();
    EXPECT_EQ(nameInk(), 0);
}

TEST_F(HistogramWindowTest, RightClickShowsTheMenuOrTheParameterList) {
    press({100, 100}, Qt::RightButton);
    EXPECT_EQ(services.popupOwner, 4);
    ASSERT_EQ(services.popupCaptions.size(), 18);
    EXPECT_EQ(services.popupCaptions[15], "Copy histogram to clipboard");

    // The X-axis strip: dismissed changes nothing; a choice sets the channel.
    press({100, 260}, Qt::RightButton);
    EXPECT_EQ(services.channelNames, (QStringList{"FSC", "FL1"}));
    EXPECT_EQ(window->state().Channel, 2);
    services.choice = 0;
    press({100, 260}, Qt::RightButton);
    EXPECT_EQ(window->state().Channel, 1);
}

TEST_F(HistogramWindowTest, InputBoxesTakeWholeNumbersOfZeroOrMore) {
    test::ScriptedDialogs dlg;
    setDialogProvider(&dlg);
    struct Case {
        int item;
        std::optional<QString> answer;
        int32_t yScale, smoothing;
    } cases[] = {
        {2, QString("2.5"), 2, 2},  {2, QString("-3"), 2, 2},    {2, std::nullopt, 2, 2},
        {2, QString("0"), 0, 2},    {3, QString("7"), 0, 7},     {3, QString("5000"), 0, 1023},
        {3, QString(""), 0, 1023},
    };
    for (const Case& c : cases) {
        const QString caption = c.item == 2 ? "Set Y scale" : "Set smoothing";
        dlg.expectInput(caption + "\n" + (c.item == 2 ? "(0 = automatic)" : "(0 = none)"), caption, c.answer);
        window->MenuValintaReaktio(c.item);
        EXPECT_EQ(window->state().YScale, c.yScale) << c.item << " " << c.answer.value_or("cancel").toStdString();
        EXPECT_EQ(window->state().Smoothing, c.smoothing);
    }
    dlg.expectInput("Set smoothing\n(0 = none)", "Set smoothing", QString("abc"));
    dlg.expectAnyMessage(MsgAnswer::Ok);
    window->MenuValintaReaktio(3);
    EXPECT_EQ(window->state().Smoothing, 1023);
    dlg.finish();
    setDialogProvider(nullptr);
}

TEST_F(HistogramWindowTest, TogglesTwiceRestoreFlagAndCaption) {
    for (int item : {5, 6, 13}) {
        const HistogramState before = window->state();
        window->MenuValintaReaktio(item);
        EXPECT_NE(window->state().caption(item), before.caption(item)) << item;
        window->MenuValintaReaktio(item);
        EXPECT_EQ(window->state().caption(item), before.caption(item)) << item;
        EXPECT_EQ(window->state().ShowRegionLines, before.ShowRegionLines);
        EXPECT_EQ(window->state().ShowCreatedHereOnly, before.ShowCreatedHereOnly);
        EXPECT_EQ(window->state().DrawOutline, before.DrawOutline);
    }
    // A file within the fast-draw limit stays in full mode.
    window->MenuValintaReaktio(14);
    EXPECT_FALSE(window->state().FastDraw);
    EXPECT_EQ(window->state().caption(14), "Fast draw mode");
    window->MenuValintaReaktio(12);
    EXPECT_FALSE(window->state().DarkBackground);
    EXPECT_EQ(window->SaveInfo()[17], "background:0");
}

TEST_F(HistogramWindowTest, CopyHistogramPutsTheBinCountsOnTheClipboard) {
    window->state().Smoothing = 0;
    window->Piirra();
    window->MenuValintaReaktio(16);
    const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
    ASSERT_EQ(lines.size(), 1025);  // 1024 lines, the last one ended too
    EXPECT_EQ(lines[1023], "0");
    EXPECT_EQ(lines[static_cast<int>(3000 * 1024 / 10000) - 1], "1");

    // Without a file the clipboard is left alone.
    QGuiApplication::clipboard()->setText("kept");
    g.WindowRegistry[4].FileIndex = 0;
    window->MenuValintaReaktio(16);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
}

TEST_F(HistogramWindowTest, SaveAsBmpAsksBeforeOverwritingAndReportsAFailedWrite) {
    QTemporaryDir dir;
    const QString path = dir.filePath("plot.bmp");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    test::ScriptedDialogs dlg;
    setDialogProvider(&dlg);
    dlg.expectSaveFile(path, "Save the image");
    dlg.expectMessage("File already exists. Do you want to overwrite it?", "File already exists",
                      MsgButtons::OkCancel, MsgAnswer::Cancel);
    window->MenuValintaReaktio(9);
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old");

    const QString missing = dir.filePath("no/such/folder/plot.bmp");
    dlg.expectSaveFile(missing, "Save the image");
    dlg.expectMessage("The file could not be written:\n" + missing + "\nNo such file or directory", "Save error", MsgAnswer::Ok);
    window->MenuValintaReaktio(9);
    dlg.finish();
    setDialogProvider(nullptr);
}

TEST_F(HistogramWindowTest, StatisticsWindowOpensFillsAndClosesOnceWhoeverClosesIt) {
    putMarker();
    window->MenuValintaReaktio(1);
    ASSERT_TRUE(window->OnkoStatistiikkaKaytossa());
    EXPECT_EQ(window->state().caption(1), "Close statistics");
    Statistics* stats = window->statisticsPanel()->window();
    ASSERT_NE(stats, nullptr);
    const StatisticsGrid& grid = stats->MSFlexGrid1();
    EXPECT_EQ(grid.text(0, 2), "% of vis");
    EXPECT_EQ(grid.text(1, 0), "Visible");
    EXPECT_EQ(grid.text(2, 0), "Histo-2");
    EXPECT_EQ(grid.text(2, 1), "2");
    EXPECT_DOUBLE_EQ(window->AnnaStatistiikka("2", "vis"), 40.0);
    EXPECT_THROW(window->AnnaStatistiikka("33", "number"), WindowOperationError);
    EXPECT_EQ(window->SaveInfo()[0], "31");

    // The user closes the statistics window.
    QPointer<Statistics> watched(stats);
    stats->close();
    EXPECT_FALSE(window->OnkoStatistiikkaKaytossa());
    EXPECT_EQ(window->state().caption(1), "Open statistics");
    deleteDiscardedWidgets();  // the program is idle again
    EXPECT_TRUE(watched.isNull());
    EXPECT_THROW(window->AnnaKokoStatistiikka("monirivinen"), WindowOperationError);
    EXPECT_EQ(window->SaveInfo()[0], "20");
    // Statistics lines for a closed window are ignored.
    window->LoadInfo("window.4.statistics.column.2.visible:0");
    window->LoadInfo("window.4.statistics.x:300");
    EXPECT_FALSE(window->OnkoStatistiikkaKaytossa());

    // Opened again by a sheet line, then closed with the histogram.
    window->LoadInfo("window.4.statistics.enabled:1");
    ASSERT_TRUE(window->OnkoStatistiikkaKaytossa());
    watched = window->statisticsPanel()->window();
    window->close();
    deleteDiscardedWidgets();  // the program is idle again
    EXPECT_TRUE(watched.isNull());
    EXPECT_FALSE(g.WindowRegistry[4].InUse);
}

TEST_F(HistogramWindowTest, SettingsLinesRoundTripThroughANewWindow) {
    window->state().FillGreen = 200;
    window->state().YScale = 40;
    window->state().FastDraw = true;
    const std::vector<std::string> lines = window->SaveInfo();
    ASSERT_EQ(lines[0], "20");

    Histogram copy;
    registerIn(copy, 9);
    for (size_t i = 1; i < lines.size(); ++i) copy.LoadInfo("window.9." + lines[i]);
    EXPECT_EQ(g.WindowRegistry[9].FileIndex, 1);
    std::vector<std::string> again = copy.SaveInfo();
    EXPECT_EQ(again, lines);
    // A file slot that holds no loaded file leaves the window without one.
    copy.LoadInfo("window.9.file:6");
    EXPECT_EQ(g.WindowRegistry[9].FileIndex, 0);
    copy.close();
}

}  // namespace
}  // namespace qv
