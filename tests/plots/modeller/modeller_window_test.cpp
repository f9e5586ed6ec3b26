// The histogram modeller window offscreen: curves created, dragged and
// removed with the mouse, the pop-up menu items, the statistics window with
// the shares of scripted curves, the bin value table following the channel,
// tool members and settings lines.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <iomanip>
#include <memory>
#include <vector>

#include "app/WindowDisposal.h"
#include "core/Compensation.h"
#include "core/FcsReader.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "output/Statistics.h"
#include "plots/modeller/HistogramModeller.h"
#include "plots/modeller/ModellerStatisticsPanel.h"
#include "plots/modeller/model/BinValueTable.h"
#include "plots/modeller/model/CurveStatistics.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StubMainServices.h"

namespace qv {
namespace {

using test::MakeFile;
using test::PutFile;

class ModellerServices final : public test::StubMainServices {
public:
    void TalletaNakyma(const QString&) override { ++autosaves; }
    void showWindowPopup(int owner, const QStringList& captions, const QPoint&, bool) override {
        popupOwner = owner;
        popupCaptions = captions;
    }
    void showChannelPopup(int, const QStringList& names, const QPoint&) override {
        channelNames = names;
        if (choice >= 0) g.ChosenChannel = static_cast<int16_t>(choice);
    }
    int autosaves = 0;
    int popupOwner = 0;
    int choice = -1;
    QStringList popupCaptions, channelNames;
};

// The window is 267 x 267 pixels with a margin of 18: plotting area 231.
constexpr double M = 18, Plot = 231, Size = 267;
double PixelX(double bin) { return M + bin / 1000.0 * Plot; }
double PixelY(double height) { return M + Plot - height / 1000.0 * Plot; }

class ModellerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        setMainServices(&services);
        std::vector<std::vector<float>> events;
        for (int e = 0; e < 400; ++e) events.push_back({static_cast<float>(200 + e % 50), static_cast<float>(e % 256)});
        PutFile(1, MakeFile({{"FL1", 1024}, {"FL2", 256}}, events, "cells.fcs"));
        window = std::make_unique<HistogramModeller>();
        registerIn(*window, 4);
        window->show();
        g.WindowRegistry[4].FileIndex = 1;
        window->LatauksenJalkeen();
        window->Piirra();
        ASSERT_EQ(window->picture().size(), QSize(267, 267));
    }
    void TearDown() override {
        window->close();
        window.reset();
        deleteDiscardedWidgets();
        setMainServices(nullptr);
        resetSharedState();
    }
    static void registerIn(HistogramModeller& w, int id) {
        WindowRecord& r = g.WindowRegistry[static_cast<size_t>(id)];
        r.InUse = true;
        r.Form = &w;
        r.Type = "Histogram Modeller";
        w.Alusta(id);
    }
    ModellerState& state() { return window->state(); }
    GaussCurve& curve(int k) { return state().Curves[static_cast<size_t>(k)]; }

    void press(QPointF p, Qt::KeyboardModifiers mods = {}) {
        QMouseEvent ev(QEvent::MouseButtonPress, p, window->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, mods);
        QCoreApplication::sendEvent(window.get(), &ev);
    }
    void rightPress(QPointF p) { QTest::mousePress(window.get(), Qt::RightButton, {}, p.toPoint()); }
    void release(QPointF p) { QTest::mouseRelease(window.get(), Qt::LeftButton, {}, p.toPoint()); }
    void move(QPointF p) {
        QMouseEvent ev(QEvent::MouseMove, p, window->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &ev);
    }

    ModellerServices services;
    std::unique_ptr<HistogramModeller> window;
};

TEST_F(ModellerWindowTest, ANewWindowStartsEmptyAndTakesItsFile) {
    HistogramModeller other;
    registerIn(other, 7);
    EXPECT_EQ(other.windowTitle(), "[S] (7): Histogram Modeller - No File");
    EXPECT_EQ(other.size(), QSize(267, 267));  // 4000 twips
    other.Piirra();
    EXPECT_EQ(other.fullDrawCount(), 0);
    // Without a file the bin value table and the clipboard are left alone.
    QGuiApplication::clipboard()->setText("kept");
    other.state().BinValues[10] = 77;
    other.BuildBinValueTable();
    EXPECT_EQ(other.state().BinValues[10], 77);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
    other.close();

    EXPECT_EQ(window->windowTitle(), "[S] (4): Histogram Modeller - cells.fcs");
    EXPECT_EQ(window->AnnaKanava("x"), "1");
    EXPECT_EQ(window->AnnaKanava("X"), "");
    EXPECT_EQ(state().BinValues[500], 513);
    EXPECT_EQ(state().HistogramCounts.size(), 1025u);
}

TEST_F(ModellerWindowTest, ACurveIsCreatedFromTheAxisStripAndDraggedByItsPeak) {
    const int drawsBefore = window->fullDrawCount();
    press({100, Size - 5});
    EXPECT_TRUE(state().Dragging);
    move({100, 150});  // up out of the strip: curve 1 is made and its peak held
    ASSERT_TRUE(curve(1).Active);
    EXPECT_EQ(curve(1).Name, "Curve 1");
    EXPECT_EQ(curve(1).Height, 1.0);
    EXPECT_EQ(state().DraggedCurve, 1);
    EXPECT_FALSE(state().Dragging);
    const int drawsAtCreation = window->fullDrawCount();
    EXPECT_EQ(drawsAtCreation, drawsBefore + 1);

    move({120, 100});
    move({121.5, 80});
    EXPECT_EQ(curve(1).Place, std::lround((121.5 - M) / Plot * 1000));
    EXPECT_DOUBLE_EQ(curve(1).Height, (Plot - (80 - M)) / Plot * 1000);
    EXPECT_EQ(window->fullDrawCount(), drawsAtCreation);  // moves draw over the picture only
    EXPECT_GT(state().CurveSum[static_cast<size_t>(curve(1).Place)], 0);

    release({121.5, 80});
    EXPECT_TRUE(curve(1).Active);
    EXPECT_EQ(state().DraggedCurve, 0);
    EXPECT_EQ(window->fullDrawCount(), drawsAtCreation + 1);
}

TEST_F(ModellerWindowTest, ACurveReleasedAtTheFloorIsRemoved) {
    // Created and released without a further move.
    press({100, Size - 5});
    move({100, 150});
    release({100, 150});
    EXPECT_FALSE(curve(1).Active);
    EXPECT_EQ(curve(1).Place, 600);
    EXPECT_EQ(curve(1).Height, 500);
    EXPECT_EQ(curve(1).Name, "Curve 1");

    // Pulled down below the bottom line.
    window->LuoTaiPoista("luo", "2", "G1");
    window->SiirraKayraa("paikka", "2", "4000");
    window->SiirraKayraa("korkeus", "2", "5000");
    press({PixelX(400), PixelY(500)});
    EXPECT_EQ(state().DragPeak, 1);
    move({PixelX(420), Size - 2});
    EXPECT_EQ(curve(2).Height, 1.0);
    release({PixelX(420), Size - 2});
    EXPECT_FALSE(curve(2).Active);
    EXPECT_EQ(curve(2).Name, "G1");
    EXPECT_EQ(window->SaveInfo()[0], "17");
}

TEST_F(ModellerWindowTest, HandlesAreGrabbedStrictlyInsideTheirTolerance) {
    window->LuoTaiPoista("luo", "1", "a");
    window->SiirraKayraa("paikka", "1", "5000");
    window->SiirraKayraa("korkeus", "1", "5000");
    window->SiirraKayraa("hajontavasen", "1", "1000");
    const double px = PixelX(500), py = PixelY(500);
    press({px + 3, py});  // exactly the tolerance away: no grab
    EXPECT_EQ(state().DraggedCurve, 0);
    release({px + 3, py});
    press({px + 2, py - 2});
    EXPECT_EQ(state().DragPeak, 1);
    release({px + 2, py - 2});

    // With Shift the plateau end under the peak is taken and pulled out.
    press({px, py}, Qt::ShiftModifier);
    EXPECT_EQ(state().DragPeak, 0);
    EXPECT_EQ(state().DragPlateau, 1.0);
    move({px + 23.1, py});
    EXPECT_NEAR(curve(1).Plateau, 100, 1e-9);
    release({px + 23.1, py});

    // The left flank handle: 100 bins left of the place at height / 1.6.
    press({PixelX(400), PixelY(500 / 1.6)});
    EXPECT_EQ(state().DragLeftFlank, 1.0);
    move({PixelX(600), 100});  // across the peak: at least one bin
    EXPECT_EQ(curve(1).LeftDeviation, 1.0);
    release({PixelX(600), 100});
}

TEST_F(ModellerWindowTest, PopupItemsAddCurvesUpToTwentyAndSetTheScale) {
    rightPress({100, 100});
    EXPECT_EQ(services.popupOwner, 4);
    ASSERT_EQ(services.popupCaptions.size(), 13);
    EXPECT_EQ(services.popupCaptions[1], "Add curve");
    EXPECT_EQ(services.popupCaptions[5], "Copy to clipboard (CTRL-C)");

    for (int k = 1; k <= 20; ++k) window->MenuValintaReaktio(ModellerMenuAddCurve);
    EXPECT_EQ(state().activeCurveCount(), 20);
    EXPECT_EQ(curve(7).Place, 1200);  // as its record stands
    test::ScriptedDialogs dlg;
    dlg.expectMessage("You can create only 20 gauss curves at a time", "Max number of gauss curves", MsgButtons::Ok,
                      MsgAnswer::Ok);
    window->MenuValintaReaktio(ModellerMenuAddCurve);

    dlg.expectInput("Set Y scale\n(0 = automatic)", "Set Y scale", QString("2.5"));
    window->MenuValintaReaktio(ModellerMenuYScale);
    EXPECT_EQ(state().YScale, 2);
    dlg.expectInput("Set Y scale\n(0 = automatic)", "Set Y scale", QString("-4"));
    window->MenuValintaReaktio(ModellerMenuYScale);
    EXPECT_EQ(state().YScale, 2);
    dlg.expectInput("Set smoothing\n(0 = none)", "Set smoothing", QString("5000"));
    window->MenuValintaReaktio(ModellerMenuSmoothing);
    EXPECT_EQ(state().Smoothing, 1023);  // kept below the resolution

    // Fast draw needs more events than the limit.
    window->MenuValintaReaktio(ModellerMenuFastDraw);
    EXPECT_FALSE(state().FastDraw);
    g.FastDrawLimit = 100;
    window->MenuValintaReaktio(ModellerMenuFastDraw);
    EXPECT_TRUE(state().FastDraw);
    EXPECT_EQ(state().DrawStep, 5);
    EXPECT_EQ(state().caption(ModellerMenuFastDraw), "Full draw mode");

    // Every curve with the statistics open still saves.
    window->AvaaTaiSuljeStatistics("open");
    EXPECT_EQ(window->SaveInfo()[0], "147");
    dlg.finish();
}

TEST_F(ModellerWindowTest, ABmpThatCannotBeWrittenKeepsNothingHalfWritten) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("no/such/folder/model.bmp");
    test::ScriptedDialogs dlg;
    dlg.expectSaveFile(missing, "Save the image");
    dlg.expectMessage("The file could not be written:\n" + missing + "\nNo such file or directory", "Save error", MsgAnswer::Ok);
    window->MenuValintaReaktio(ModellerMenuSaveBmp);
    dlg.finish();
}

TEST_F(ModellerWindowTest, TheCopiedPictureHasNoHandles) {
    window->LuoTaiPoista("luo", "1", "a");
    window->SiirraKayraa("paikka", "1", "5000");
    window->SiirraKayraa("korkeus", "1", "5000");
    auto bluePixels = [](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == qRgb(0, 0, 255);
        return n;
    };
    const int withHandles = bluePixels(window->picture());
    window->CopyToClipboard();
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), window->picture().size());
    // One curve lies under the sum drawn over it: what is blue is the handles.
    EXPECT_GT(withHandles, 8);
    EXPECT_EQ(bluePixels(copied), 0);
    EXPECT_EQ(bluePixels(window->picture()), withHandles);
}

TEST_F(ModellerWindowTest, StatisticsOfScriptedCurvesWithTheStatisticsWindowOpen) {
    window->LuoTaiPoista("luo", "1", "G1");
    window->SiirraKayraa("paikka", "1", "3000");
    window->SiirraKayraa("korkeus", "1", "4000");
    window->SiirraKayraa("hajontavasen", "1", "400");
    window->SiirraKayraa("hajontaoikea", "1", "600");
    // Closed statistics: the share is not refreshed.
    EXPECT_EQ(window->AnnaStatistiikka("1", "vis"), 0);
    window->AvaaTaiSuljeStatistics("open");
    EXPECT_DOUBLE_EQ(window->AnnaStatistiikka("1", "vis"), 100);

    // The same numbers computed apart from the window.
    ModellerState apart;
    apart.BinValues = BuildBinValueTable(g.FileTable[1].Parameters[1], 1000);
    apart.Curves[1] = curve(1);
    SumActiveCurves(apart, Plot);
    const HistogramStatistics& want = apart.CurveStatistics[1];
    const HistogramStatistics& got = state().CurveStatistics[1];
    EXPECT_EQ(got.Number, want.Number);
    EXPECT_GT(got.Number, 0);
    EXPECT_DOUBLE_EQ(window->AnnaStatistiikka("1", "xmean"), want.Mean);
    // Right of its place (the right flank is wider), in channels.
    EXPECT_GT(want.Mean, 300 * 1.024);
    EXPECT_LT(want.Mean, 340 * 1.024);
    EXPECT_DOUBLE_EQ(window->AnnaStatistiikka("1", "xgeomean"), want.GeoMean);
    EXPECT_DOUBLE_EQ(window->AnnaStatistiikka("1.4", "cv"), want.CV * 100);
    EXPECT_EQ(window->AnnaStatistiikka("1", "number"), 0);
    EXPECT_EQ(window->AnnaStatistiikka("x", "cv"), 0);
    EXPECT_THROW(window->AnnaStatistiikka("21", "cv"), WindowOperationError);
    EXPECT_THROW(window->AnnaKokoStatistiikka("monirivinen"), MissingMemberError);

    // Three curves: their shares, shown truncated in the grid.
    window->LuoTaiPoista("luo", "2", "G2");
    window->SiirraKayraa("paikka", "2", "6000");
    window->SiirraKayraa("korkeus", "2", "1000");
    window->LuoTaiPoista("luo", "4", "G4");
    window->SiirraKayraa("tasanne", "4", "500");
    apart.Curves[2] = curve(2);
    apart.Curves[4] = curve(4);
    SumActiveCurves(apart, Plot);
    const double total = apart.CurveStatistics[1].Number + apart.CurveStatistics[2].Number +
                         apart.CurveStatistics[4].Number;
    for (int k : {1, 2, 4})
        EXPECT_DOUBLE_EQ(window->AnnaStatistiikka(std::to_string(k), "vis"),
                         apart.CurveStatistics[static_cast<size_t>(k)].Number / total * 100);
    const StatisticsGrid& grid = window->statisticsPanel()->window()->MSFlexGrid1();
    EXPECT_EQ(grid.text(0, 1), "% of tot");
    EXPECT_EQ(grid.text(0, 4), "CV");
    EXPECT_EQ(grid.text(1, 0), "G1");
    EXPECT_EQ(grid.text(3, 0), "G4");
    EXPECT_EQ(grid.text(2, 1), NumberText(TruncateTwoDecimals(apart.CurveStatistics[2].Number / total, true)));
    EXPECT_EQ(window->statisticsPanel()->window()->windowTitle(), "(4) Statistics: cells.fcs");

    // Closed with the window: the statistics window goes once.
    QPointer<Statistics> watched(window->statisticsPanel()->window());
    window->close();
    deleteDiscardedWidgets();
    EXPECT_TRUE(watched.isNull());
    EXPECT_FALSE(g.StatisticsRegistry[4].InUse);
    EXPECT_FALSE(g.WindowRegistry[4].InUse);
}

// On a wide linear channel a curve's means run into the tens of thousands;
// the statistics window cuts them downward as computed, never rounding one
// up that lies within a 32-bit value's storage error of the next hundredth.
TEST_F(ModellerWindowTest, LargeMeansAreCutInTheStatisticsWindow) {
    std::vector<std::vector<float>> events(50, std::vector<float>{100000.0f});
    PutFile(1, MakeFile({{"FL1", 262144}}, events, "wide.fcs"));
    window->LatauksenJalkeen();
    window->LuoTaiPoista("luo", "1", "G1");
    window->SiirraKayraa("korkeus", "1", "4000");
    window->AvaaTaiSuljeStatistics("open");
    const StatisticsGrid& grid = window->statisticsPanel()->window()->MSFlexGrid1();
    ASSERT_EQ(grid.text(0, 2), "X mean");
    ASSERT_EQ(grid.text(0, 3), "X geomean");
    // The value's own decimals cut after the second.
    auto cut = [](double v) {
        const long double hundredths = std::floor(static_cast<long double>(v) * 100.0L);
        return NumberText(static_cast<double>(hundredths / 100.0L));
    };
    int nearNextHundredth = 0;
    for (int place = 1000; place <= 9000; place += 137) {
        window->SiirraKayraa("paikka", "1", std::to_string(place));
        for (const auto& [column, stat] : {std::pair{2, "xmean"}, std::pair{3, "xgeomean"}}) {
            const double v = window->AnnaStatistiikka("1", stat);
            SCOPED_TRACE(testing::Message() << "place " << place << " " << stat << " " << std::setprecision(17) << v);
            ASSERT_GT(v, 10000.0);
            const double fraction = v * 100.0 - std::floor(v * 100.0);
            // A float's storage error at this size reaches past a tenth of a hundredth.
            if (fraction > 0.9) ++nearNextHundredth;
            EXPECT_EQ(grid.text(1, column), cut(v));
        }
    }
    // The places tried include values the 32-bit allowance would round up.
    EXPECT_GT(nearNextHundredth, 0);
}

TEST_F(ModellerWindowTest, TheBinTableFollowsTheChannelAndItsRange) {
    // The parameter list of the axis strip.
    services.choice = 1;
    rightPress({100, Size - 5});
    EXPECT_EQ(services.channelNames, (QStringList{"FL1", "FL2"}));
    EXPECT_EQ(state().Channel, 2);
    EXPECT_EQ(state().BinValues[1], 1);  // Range 256: no bin left at 0
    EXPECT_EQ(state().BinValues[7], 2);
    EXPECT_EQ(QGuiApplication::clipboard()->text().count('\r'), 1000);

    // A curve over the whole linear range 256 has its mean near the middle.
    window->LuoTaiPoista("luo", "1", "all");
    window->SiirraKayraa("paikka", "1", "5000");
    window->SiirraKayraa("hajontavasen", "1", "1500");
    window->SiirraKayraa("hajontaoikea", "1", "1500");
    EXPECT_NEAR(window->AnnaStatistiikka("1", "xmean"), 128, 3);

    // A tool changes the channel; the file information changes the range.
    window->AsetaKanava("x", "1");
    EXPECT_EQ(state().BinValues[500], 513);
    g.FileTable[1].Parameters[1].Range = 2048;
    window->Piirra();
    EXPECT_EQ(state().BinValues[500], 1026);
    g.FileTable[1].Parameters[1].IsLog = true;
    window->Piirra();
    EXPECT_EQ(state().BinValues, BuildBinValueTable(g.FileTable[1].Parameters[1], 1000));
    // A channel the file lacks comes back to 1 first.
    window->AsetaKanava("x", "9");
    EXPECT_EQ(state().Channel, 1);
    EXPECT_THROW(window->AsetaKanava("x", "many"), WindowOperationError);
}

TEST_F(ModellerWindowTest, ToolMembersReportCurvesOutsideTheTable) {
    EXPECT_THROW(window->SiirraKayraa("korkeus", "21", "10"), WindowOperationError);
    EXPECT_THROW(window->LuoTaiPoista("luo", "0", "x"), WindowOperationError);
    EXPECT_THROW(window->SiirraKayraa("korkeus", "1", "tall"), WindowOperationError);
    window->LuoTaiPoista("luo", "1", "a");
    window->SiirraKayraa("paikka", "1", "5000");
    window->SiirraKayraa("korkeus", "1", "5000");
    std::string pos = "5000";
    const int height = window->AnnaSummanKorkeus(pos);
    EXPECT_EQ(pos, "500");
    EXPECT_EQ(height, std::lround(state().CurveSum[500] / Plot * 10000));
    EXPECT_NEAR(height, 4987, 1);  // 0.99736 of half the plot
    std::string beyond = "12000";
    EXPECT_THROW(window->AnnaSummanKorkeus(beyond), WindowOperationError);
}

TEST_F(ModellerWindowTest, SettingsLinesRestoreCurvesAndTheStatisticsWindow) {
    window->LuoTaiPoista("luo", "3", "G0/G1: diploid");
    window->SiirraKayraa("hajontaoikea", "3", "123");
    window->AvaaTaiSuljeStatistics("open");
    window->statisticsPanel()->window()->AsetaNakyvyys(2, "0");
    const std::vector<std::string> lines = window->SaveInfo();
    ASSERT_EQ(lines[0], "33");

    HistogramModeller copy;
    registerIn(copy, 9);
    for (size_t i = 1; i < lines.size(); ++i) copy.LoadInfo("window.9." + lines[i]);
    EXPECT_EQ(g.WindowRegistry[9].FileIndex, 1);
    EXPECT_TRUE(copy.OnkoStatistiikkaKaytossa());
    EXPECT_EQ(copy.state().Curves[3].Name, "G0/G1: diploid");
    EXPECT_EQ(copy.SaveInfo(), lines);
    copy.LoadInfo("window.9.file:6");
    EXPECT_EQ(g.WindowRegistry[9].FileIndex, 0);
    copy.close();
}

TEST_F(ModellerWindowTest, TwoCurvesFittedToARealDnaProfile) {
#ifdef QV_TESTDATA_DIR
    const std::string path = std::string(QV_TESTDATA_DIR) + "/facscalibur_fcs2_int16.fcs";
    if (!QFile::exists(QString::fromStdString(path))) GTEST_SKIP() << "no real instrument files at " << path;
    FileRecord file = ReadFcsFile(path);
    ASSERT_TRUE(file.Loaded);
    g.FileTable[2] = std::move(file);
    ApplyCompensation(g.FileTable[2]);
    g.FileTable[2].Membership.resize(g.FileTable[2].EventCount, g.membershipSlots());
    g.WindowRegistry[4].FileIndex = 2;
    window->LatauksenJalkeen();
    window->AsetaKanava("x", "6");  // FL2-A
    EXPECT_EQ(window->windowTitle(), "[S] (4): Histogram Modeller - facscalibur_fcs2_int16.fcs");
    window->LuoTaiPoista("luo", "1", "G1");
    window->SiirraKayraa("paikka", "1", "2000");
    window->LuoTaiPoista("luo", "2", "G2");
    window->SiirraKayraa("paikka", "2", "4000");
    window->SiirraKayraa("korkeus", "2", "500");
    window->AvaaTaiSuljeStatistics("open");
    const double a = window->AnnaStatistiikka("1", "vis"), b = window->AnnaStatistiikka("2", "vis");
    EXPECT_GT(a, b);
    EXPECT_NEAR(a + b, 100, 1e-9);
    EXPECT_LT(window->AnnaStatistiikka("1", "xmean"), window->AnnaStatistiikka("2", "xmean"));
#else
    GTEST_SKIP() << "built without the real instrument files";
#endif
}

}  // namespace
}  // namespace qv
