// The dot plot window: set-up with and without a loaded file, the fast-draw
// step, the pop-up captions that follow each toggle, the quadrant and channel
// members, the right-button menus, the resize quick pass, the exports with
// their dialogs and failures, the settings lines and unloading.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "app/WindowRegistry.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/dotplot/model/DotDataText.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/plots/dotplot/DotPlotTestWindows.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StubMainServices.h"

namespace qv {
namespace {

using test::MakeFile;
using test::MakeUniformFile;
using test::PutFile;
using test::ScriptedDialogs;

// Records what a window asks of the main window; a parameter list is
// answered with `channelChoice` (or dismissed when negative).
class FakeServices final : public test::StubMainServices {
public:
    void TalletaNakyma(const QString& mode) override { autosaves += mode == "Autosave"; }
    void showWindowPopup(int ownerId, const QStringList& captions, const QPoint&, bool) override {
        ++windowPopups;
        owner = ownerId;
        lastCaptions = captions;
    }
    void showChannelPopup(int axis, const QStringList& names, const QPoint&) override {
        ++channelPopups;
        g.AxisPopupAxis = static_cast<int16_t>(axis);
        lastNames = names;
        if (channelChoice >= 0) g.ChosenChannel = static_cast<int16_t>(channelChoice);
    }

    int autosaves = 0, windowPopups = 0, channelPopups = 0, owner = 0;
    int channelChoice = -1;
    QStringList lastCaptions, lastNames;
};

class DotPlotWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        setMainServices(&services);
    }
    void TearDown() override {
        for (auto& w : windows) w->close();
        windows.clear();
        setMainServices(nullptr);
        resetSharedState();
    }

    // A window in registry slot `id`, made as the creators make it.
    DotPlot& open(int id) { return test::OpenDotPlot(windows, id); }

    void showFile(DotPlot& w, int slot) {
        g.WindowRegistry[static_cast<size_t>(w.AnnaID())].FileIndex = static_cast<int16_t>(slot);
        w.LatauksenJalkeen();
        w.Piirra();
    }

    FakeServices services;
    std::vector<std::unique_ptr<DotPlot>> windows;
};

TEST_F(DotPlotWindowTest, NewWindowWithoutFileDrawsNothing) {
    DotPlot& w = open(4);
    EXPECT_EQ(w.windowTitle(), "[S] (4): Dot Plot - No File");
    EXPECT_EQ(w.AnnaOtsikko(), "(4): Dot Plot - No File");
    EXPECT_TRUE(g.WindowRegistry[4].Selected);
    EXPECT_TRUE(g.WindowRegistry[4].ShowsFile);
    EXPECT_EQ(g.WindowRegistry[4].FileIndex, 0);
    w.Piirra();
    EXPECT_EQ(w.eventsDrawn(), 0);
    EXPECT_EQ(services.autosaves, 0);
    // 4000 twips square by default.
    EXPECT_EQ(w.width(), 267);
    EXPECT_EQ(w.height(), 267);
    EXPECT_EQ(w.picture().size(), w.size());
}

TEST_F(DotPlotWindowTest, NewWindowShowsTheFileLoadedLast) {
    PutFile(2, MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{250, 500}, {500, 250}}, "tube.fcs"));
    g.LastLoadedFile = 2;
    g.DefaultPlotWidth = 6000;
    g.DefaultPlotHeight = 4500;
    DotPlot& w = open(1);
    EXPECT_EQ(g.WindowRegistry[1].FileIndex, 2);
    EXPECT_EQ(w.AnnaOtsikko(), "(1): Dot Plot - tube.fcs");
    EXPECT_EQ(w.windowTitle(), "[S] (1): Dot Plot - tube.fcs");
    EXPECT_EQ(w.eventsDrawn(), 2);
    EXPECT_EQ(w.size(), QSize(400, 300));
    EXPECT_EQ(services.autosaves, 1);
}

TEST_F(DotPlotWindowTest, FastDrawFollowsTheLimit) {
    PutFile(1, MakeUniformFile(120000, 100, 100));
    PutFile(2, MakeUniformFile(50000, 100, 100));
    DotPlot& w = open(1);

    showFile(w, 1);
    EXPECT_TRUE(w.state().FastDrawOn);
    EXPECT_EQ(w.state().EventStep, 3);
    EXPECT_EQ(w.state().caption(MenuFastDraw), "Full draw mode");
    EXPECT_EQ(w.eventsDrawn(), 40000);

    showFile(w, 2);
    EXPECT_FALSE(w.state().FastDrawOn);
    EXPECT_EQ(w.state().EventStep, 1);
    EXPECT_EQ(w.state().caption(MenuFastDraw), "Fast draw mode");
    EXPECT_EQ(w.eventsDrawn(), 50000);

    // Menu item 14 does nothing on a file within the limit...
    w.MenuValintaReaktio(MenuFastDraw);
    EXPECT_FALSE(w.state().FastDrawOn);
    // ...and switches back and forth on a larger one.
    showFile(w, 1);
    w.MenuValintaReaktio(MenuFastDraw);
    EXPECT_EQ(w.state().EventStep, 1);
    EXPECT_EQ(w.state().caption(MenuFastDraw), "Fast draw mode");
    EXPECT_EQ(w.eventsDrawn(), 120000);
    w.MenuValintaReaktio(MenuFastDraw);
    EXPECT_EQ(w.state().EventStep, 3);
    EXPECT_EQ(w.state().caption(MenuFastDraw), "Full draw mode");

    // A limit below 1 is taken as 1.
    g.FastDrawLimit = 0;
    w.LatauksenJalkeen();
    EXPECT_EQ(w.state().EventStep, 120001);
}

// The tools' member does what the menu item does: the mark, the step and
// the caption change together, and a file within the limit stays full.
TEST_F(DotPlotWindowTest, FastModeMemberSwitchesAsTheMenuItemDoes) {
    PutFile(1, MakeUniformFile(1000, 100, 100));
    DotPlot& w = open(1);
    showFile(w, 1);
    w.AsetaPiirtoMoodi("fast");  // 1000 events within the limit of 50000
    EXPECT_FALSE(w.state().FastDrawOn);
    EXPECT_EQ(w.eventsDrawn(), 1000);

    g.FastDrawLimit = 100;
    w.AsetaPiirtoMoodi("fast");
    EXPECT_TRUE(w.state().FastDrawOn);
    EXPECT_EQ(w.state().EventStep, 11);
    EXPECT_EQ(w.eventsDrawn(), 91);
    EXPECT_EQ(w.state().caption(MenuFastDraw), "Full draw mode");
    const int saves = services.autosaves;
    w.AsetaPiirtoMoodi("fast");  // no change, no redraw
    w.AsetaPiirtoMoodi("Full");
    EXPECT_EQ(services.autosaves, saves);
    w.AsetaPiirtoMoodi("full");
    EXPECT_FALSE(w.state().FastDrawOn);
    EXPECT_EQ(w.state().EventStep, 1);
    EXPECT_EQ(w.eventsDrawn(), 1000);
    EXPECT_EQ(w.state().caption(MenuFastDraw), "Fast draw mode");
}

TEST_F(DotPlotWindowTest, PopupCaptionsSwitchWithEachToggle) {
    DotPlot& w = open(1);
    struct Toggle {
        int item;
        const char* first;
        const char* second;
    };
    const Toggle toggles[] = {
        {MenuDensity, "Dot plot", "Density plot"},
        {MenuRegionLines, "Show region lines", "Hide region lines"},
        {MenuCreatedHere, "Show all regions", "Show only regions created here"},
        {MenuMulticolour, "Enable multicoloring", "Disable multicoloring"},
        {MenuDotSize, "Small dots", "Large dots"},
        {MenuQuadrant, "Hide quadrant", "Show quadrant"},
        {MenuPrintPreview, "Don't show in print preview page", "Show in print preview page"},
        {MenuInvertBackground, "Invert background color", "Invert background color"},
    };
    EXPECT_EQ(w.state().caption(MenuQuadrant), "Show Quadrant");
    for (const Toggle& t : toggles) {
        SCOPED_TRACE(t.item);
        w.MenuValintaReaktio(t.item);
        EXPECT_EQ(w.state().caption(t.item), t.first);
        w.MenuValintaReaktio(t.item);
        EXPECT_EQ(w.state().caption(t.item), t.second);
    }
    EXPECT_TRUE(w.state().DarkBackground);
    EXPECT_EQ(w.state().DotSize, 1);
    // Separators and numbers outside the menu do nothing.
    for (int item : {0, 4, 8, 11, 15, 17, 19, -1}) w.MenuValintaReaktio(item);
    for (int k = 1; k <= DotPlotMenuItemCount; ++k)
        EXPECT_EQ(w.state().caption(k), k == MenuQuadrant ? "Show quadrant" : DotPlotStartCaptions[k]);
}

TEST_F(DotPlotWindowTest, QuadrantMembers) {
    DotPlot& w = open(1);
    w.NaytaTaiPiilotaKvadrantti("open");
    EXPECT_TRUE(w.OnkoKvadranttiKaytossa());
    EXPECT_EQ(w.AnnaKvadrantinKoordinaatit("x"), "5000");
    w.AsetaRegion("y", "2500");
    EXPECT_EQ(w.AnnaKvadrantinKoordinaatit("y"), "7500");
    EXPECT_EQ(w.AnnaKvadrantinKoordinaatit("z"), "");
    w.AsetaRegion("x", "abc");
    EXPECT_EQ(w.state().QuadrantX, 0);
    w.NaytaTaiPiilotaKvadrantti("open");  // already shown: nothing
    EXPECT_EQ(w.state().QuadrantY, 2500);
    w.NaytaTaiPiilotaKvadrantti("close");
    EXPECT_FALSE(w.OnkoKvadranttiKaytossa());

    // Shown again at the place last dropped in any dot plot, when it has both coordinates.
    g.LastQuadrantX = 3000;
    g.LastQuadrantY = 6000;
    w.NaytaTaiPiilotaKvadrantti("");
    EXPECT_EQ(w.state().QuadrantX, 3000);
    EXPECT_EQ(w.state().QuadrantY, 6000);
    w.NaytaTaiPiilotaKvadrantti("");
    g.LastQuadrantY = 0;
    w.NaytaTaiPiilotaKvadrantti("");
    EXPECT_EQ(w.state().QuadrantX, 5000);
}

TEST_F(DotPlotWindowTest, ChannelMembers) {
    PutFile(1, MakeFile({{"A", 1000}, {"B", 1000}, {"C", 1000}}, {{1, 2, 3}}));
    DotPlot& w = open(1);
    showFile(w, 1);
    w.AsetaKanava("y", "3");
    EXPECT_EQ(w.AnnaKanava("y"), "3");
    EXPECT_EQ(w.AnnaKanava("x"), "1");
    EXPECT_EQ(w.AnnaKanava("X"), "");
    // A channel the file lacks is brought back at the draw.
    w.AsetaKanava("x", "12");
    EXPECT_EQ(w.AnnaKanava("x"), "1");
    EXPECT_THROW(w.AsetaKanava("x", "many"), WindowOperationError);
}

TEST_F(DotPlotWindowTest, RightButtonMenus) {
    DotPlot& w = open(3);
    w.show();
    w.resize(236, 236);  // strips: X 0..18 left, Y 218..236 bottom
    // No file: the axis strips open no list and change nothing.
    w.rightButtonMenus(QPointF(9, 100), QPoint());
    w.rightButtonMenus(QPointF(100, 227), QPoint());
    EXPECT_EQ(services.channelPopups, 0);
    EXPECT_EQ(w.state().ChannelY, 2);

    // Inside the plot: the window's menu with its 18 captions.
    w.rightButtonMenus(QPointF(100, 100), QPoint());
    EXPECT_EQ(services.windowPopups, 1);
    EXPECT_EQ(services.owner, 3);
    ASSERT_EQ(services.lastCaptions.size(), 18);
    EXPECT_EQ(services.lastCaptions[1], "Show Quadrant");
    EXPECT_EQ(services.lastCaptions[17], "Show in print preview page");

    PutFile(1, MakeFile({{"FSC", 1000}, {"SSC", 1000}, {"FL1", 1000}}, {{1, 2, 3}}));
    showFile(w, 1);
    services.channelChoice = 2;
    w.rightButtonMenus(QPointF(9, 100), QPoint());  // Y strip
    EXPECT_EQ(services.lastNames, QStringList({"FSC", "SSC", "FL1"}));
    EXPECT_EQ(g.AxisPopupAxis, 2);
    EXPECT_EQ(w.state().ChannelY, 3);
    services.channelChoice = 1;
    w.rightButtonMenus(QPointF(100, 227), QPoint());  // X strip
    EXPECT_EQ(w.state().ChannelX, 2);

    // Dismissed: no change, and the last choice is kept for the next list.
    services.channelChoice = -1;
    w.rightButtonMenus(QPointF(100, 227), QPoint());
    EXPECT_EQ(w.state().ChannelX, 2);
    EXPECT_EQ(g.ChosenChannel, 1);

    // Corners of the picture belong to no strip.
    const int lists = services.channelPopups;
    w.rightButtonMenus(QPointF(9, 227), QPoint());
    EXPECT_EQ(services.channelPopups, lists);
}

TEST_F(DotPlotWindowTest, RightClickWhileDrawingAGateOpensNoMenu) {
    DotPlot& w = open(1);
    w.show();
    g.RegionDrawMode = true;
    QTest::mouseClick(&w, Qt::RightButton, {}, QPoint(100, 100));
    EXPECT_EQ(services.windowPopups, 0);
    g.RegionDrawMode = false;
    QTest::mouseClick(&w, Qt::RightButton, {}, QPoint(100, 100));
    EXPECT_EQ(services.windowPopups, 1);
}

TEST_F(DotPlotWindowTest, ResizeDrawsAQuickPassUntilTheMouseMoves) {
    PutFile(1, MakeUniformFile(120000, 100, 100));
    DotPlot& w = open(2);
    w.show();
    showFile(w, 1);
    const int saves = services.autosaves;
    w.resize(300, 250);
    EXPECT_EQ(g.FullRedrawPending, 2);
    EXPECT_EQ(g.DefaultPlotWidth, w.width() * 15);
    EXPECT_EQ(g.DefaultPlotHeight, w.height() * 15);
    EXPECT_EQ(w.picture().size(), QSize(300, 250));
    EXPECT_EQ(w.eventsDrawn(), 1000);
    EXPECT_EQ(w.state().EventStep, 3);
    EXPECT_EQ(services.autosaves, saves);  // the quick pass neither refreshes nor autosaves

    QTest::mouseMove(&w, QPoint(50, 50));
    EXPECT_EQ(g.FullRedrawPending, 0);
    EXPECT_EQ(w.eventsDrawn(), 40000);
    EXPECT_EQ(services.autosaves, saves + 1);
}

class DotPlotExportTest : public DotPlotWindowTest {
protected:
    void SetUp() override {
        DotPlotWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    static QByteArray read(const QString& p) {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString& p, const QByteArray& bytes) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir dir;
};

TEST_F(DotPlotExportTest, SaveAsBmpWritesThePicture) {
    PutFile(1, MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{250, 500}}));
    DotPlot& w = open(1);
    showFile(w, 1);
    ScriptedDialogs dlg;
    dlg.expectSaveFile(path("plot.bmp"), "Save the image");
    w.MenuValintaReaktio(MenuSaveBmp);
    QImage saved(path("plot.bmp"));
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), w.picture());
}

TEST_F(DotPlotExportTest, ExistingFileIsReplacedOnlyOnOk) {
    DotPlot& w = open(1);
    write(path("old.bmp"), "old");
    {
        ScriptedDialogs dlg;
        dlg.expectSaveFile(path("old.bmp"), "Save the image")
            .expectMessage("File already exists. Do you want to overwrite it?", "File already exists",
                           MsgButtons::OkCancel, MsgAnswer::Cancel);
        w.MenuValintaReaktio(MenuSaveBmp);
    }
    EXPECT_EQ(read(path("old.bmp")), "old");
    {
        ScriptedDialogs dlg;
        dlg.expectSaveFile(path("old.bmp"), "Save the image")
            .expectMessage("File already exists. Do you want to overwrite it?", "File already exists",
                           MsgButtons::OkCancel, MsgAnswer::Ok);
        w.MenuValintaReaktio(MenuSaveBmp);
        // The program's question is the only one: the save dialog does not ask too.
        dlg.finish();
        ASSERT_EQ(dlg.shown().size(), 2u);
        EXPECT_FALSE(dlg.shown()[0].dialogAsksOverwrite);
    }
    EXPECT_FALSE(QImage(path("old.bmp")).isNull());
    {
        ScriptedDialogs dlg;  // cancelled: nothing at all
        dlg.expectSaveFile(std::nullopt, "Save the image");
        w.MenuValintaReaktio(MenuSaveBmp);
        dlg.expectSaveFile(std::nullopt, "Save the data");
        w.MenuValintaReaktio(MenuSaveData);
    }
}

TEST_F(DotPlotExportTest, UnwritableTargetGivesSaveErrorAndKeepsTheOldFile) {
    DotPlot& w = open(1);
    const QString missing = path("no/such/folder/plot.bmp");
    // A folder where the file should go cannot be replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.txt"));
    const QString taken = path("taken.txt");
    {
        ScriptedDialogs dlg;
        dlg.expectSaveFile(missing, "Save the image")
            .expectMessage("The file could not be written:\n" + missing + "\nNo such file or directory", "Save error", MsgAnswer::Ok);
        w.MenuValintaReaktio(MenuSaveBmp);
        // A folder is no file to overwrite: refused without the question.
        dlg.expectSaveFile(taken, "Save the data")
            .expectMessage("The file could not be written:\n" + taken + "\nIs a directory", "Save error", MsgAnswer::Ok);
        w.MenuValintaReaktio(MenuSaveData);
    }
    EXPECT_TRUE(QFileInfo(taken).isDir());
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(DotPlotExportTest, SaveDataWritesTheShownEventsOfEveryStep) {
    FileRecord file = MakeUniformFile(120000, 1.5f, 2);
    file.WorkingData(7, 1) = 3.25f;
    file.Membership(7, 5) = 1;
    file.Membership(9, 5) = 1;
    PutFile(1, std::move(file));
    g.PopulationTable[5].InUse = true;
    DotPlot& w = open(1);
    showFile(w, 1);
    w.NaytaPopulaatio(5);
    {
        ScriptedDialogs dlg;
        dlg.expectSaveFile(path("data.txt"), "Save the data");
        w.MenuValintaReaktio(MenuSaveData);
    }
    EXPECT_EQ(read(path("data.txt")), "3.25\t2\n1.5\t2\n");
}

TEST_F(DotPlotExportTest, SaveDataWithoutFileWritesAnEmptyFile) {
    DotPlot& w = open(1);
    ScriptedDialogs dlg;
    dlg.expectSaveFile(path("empty.txt"), "Save the data");
    w.MenuValintaReaktio(MenuSaveData);
    EXPECT_TRUE(QFile::exists(path("empty.txt")));
    EXPECT_EQ(read(path("empty.txt")), "");
}

TEST_F(DotPlotWindowTest, SettingsLinesOfTheWindow) {
    PutFile(3, MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{1, 2}}));
    DotPlot& w = open(2);
    showFile(w, 3);
    w.move(20, 40);
    std::vector<std::string> lines = w.SaveInfo();
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[0], "22");
    EXPECT_EQ(lines[1], "location.x:300");
    EXPECT_EQ(lines[2], "location.y:600");
    EXPECT_EQ(lines[3], "size.x:" + std::to_string(w.width() * 15));
    EXPECT_EQ(lines[5], "file:3");

    DotPlot& other = open(5);
    for (size_t i = 1; i < lines.size(); ++i) other.LoadInfo("window.5." + lines[i]);
    EXPECT_EQ(g.WindowRegistry[5].FileIndex, 3);
    EXPECT_EQ(other.pos(), QPoint(20, 40));
    EXPECT_EQ(other.size(), w.size());

    // A slot that holds no loaded file leaves the window without one.
    other.LoadInfo("window.5.file:7");
    EXPECT_EQ(g.WindowRegistry[5].FileIndex, 0);
    other.LoadInfo("window.5.file:3");
    g.FileTable[3].Loaded = false;
    other.LoadInfo("window.5.axis.x:1");
    EXPECT_EQ(g.WindowRegistry[5].FileIndex, 0);
}

TEST_F(DotPlotWindowTest, ActivationSelectsWithAndWithoutShift) {
    DotPlot& a = open(1);
    DotPlot& b = open(2);
    b.onActivated();
    EXPECT_FALSE(g.WindowRegistry[1].Selected);
    EXPECT_TRUE(g.WindowRegistry[2].Selected);
    EXPECT_EQ(g.ActiveWindowSlot, 2);
    EXPECT_EQ(b.windowTitle(), "[S] (2): Dot Plot - No File");

    g.ShiftHeld = true;
    a.onActivated();
    EXPECT_TRUE(g.WindowRegistry[1].Selected);
    EXPECT_TRUE(g.WindowRegistry[2].Selected);
    EXPECT_EQ(g.ActiveWindowSlot, 1);

    g.ShiftHeld = false;
    g.SheetLoading = true;
    b.onActivated();
    EXPECT_EQ(g.ActiveWindowSlot, 1);
}

TEST_F(DotPlotWindowTest, ShiftKeyIsTracked) {
    DotPlot& w = open(1);
    QTest::keyPress(&w, Qt::Key_Shift);
    EXPECT_TRUE(g.ShiftHeld);
    QTest::keyRelease(&w, Qt::Key_A);
    EXPECT_FALSE(g.ShiftHeld);
}

TEST_F(DotPlotWindowTest, UnloadFreesTheSlotAndUnusedFiles) {
    PutFile(1, MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{1, 2}}));
    PutFile(2, MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{1, 2}}));
    DotPlot& a = open(1);
    DotPlot& b = open(2);
    showFile(a, 1);
    showFile(b, 2);
    a.UnloadWindow();
    EXPECT_FALSE(g.WindowRegistry[1].InUse);
    EXPECT_EQ(g.WindowRegistry[1].Form, nullptr);
    EXPECT_EQ(g.WindowRegistry[1].FileIndex, 0);
    EXPECT_FALSE(g.FileTable[1].Loaded);
    EXPECT_TRUE(g.FileTable[2].Loaded);
}

TEST_F(DotPlotWindowTest, CopyPutsThePictureOnTheClipboard) {
    PutFile(1, MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{250, 500}}));
    DotPlot& w = open(1);
    showFile(w, 1);
    w.MenuValintaReaktio(MenuCopy);
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), w.picture());
}

TEST_F(DotPlotWindowTest, ShownPopulationAndSheetLoading) {
    FileRecord file = MakeFile({{"FSC", 1000}, {"SSC", 1000}}, {{1, 2}, {3, 4}, {5, 6}});
    file.Membership(2, 3) = 1;
    PutFile(1, std::move(file));
    g.PopulationTable[3].InUse = true;
    DotPlot& w = open(1);
    showFile(w, 1);
    w.NaytaPopulaatio(3);
    EXPECT_EQ(w.eventsDrawn(), 1);
    // The population was deleted: the next draw shows every event again.
    g.PopulationTable[3].InUse = false;
    w.Piirra();
    EXPECT_EQ(w.state().ShownPopulation, 0);
    EXPECT_EQ(w.eventsDrawn(), 3);

    // While a sheet is read, neither LatauksenJalkeen nor Piirra works.
    g.SheetLoading = true;
    w.NaytaPopulaatio(3);
    EXPECT_EQ(w.state().ShownPopulation, 3);
    EXPECT_EQ(w.eventsDrawn(), 3);
}

TEST_F(DotPlotWindowTest, RegisteredKindIsMadeByTheCreationSequence) {
    registerDotPlotKind();
    ASSERT_TRUE(hasWindowKind("DotPlot"));
    const int id = createWindow("DotPlot");
    ASSERT_EQ(id, 1);
    auto* plot = dynamic_cast<DotPlot*>(windowAt(id));
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->AnnaOtsikko(), "(1): Dot Plot - No File");
    plot->close();
    EXPECT_FALSE(g.WindowRegistry[1].InUse);
    delete plot;
}

TEST_F(DotPlotWindowTest, InsideTheWorkspaceTheFrameIsTheOuterWindow) {
    QMdiArea area;
    area.resize(1000, 800);
    area.show();
    auto attach = [&](int id) -> DotPlot& {
        windows.push_back(std::make_unique<DotPlot>());
        DotPlot& w = *windows.back();
        QMdiSubWindow* sub = area.addSubWindow(&w);
        sub->setAttribute(Qt::WA_DeleteOnClose, false);
        sub->show();
        g.WindowRegistry[static_cast<size_t>(id)].InUse = true;
        g.WindowRegistry[static_cast<size_t>(id)].Form = &w;
        w.Alusta(id);
        return w;
    };
    DotPlot& a = attach(1);
    DotPlot& b = attach(2);
    EXPECT_EQ(a.parentWidget()->size(), QSize(267, 267));
    EXPECT_EQ(a.parentWidget()->windowTitle(), "[S] (1): Dot Plot - No File");

    // Activating a frame selects its plot alone (no Shift held).
    area.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(a.parentWidget()));
    area.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(b.parentWidget()));
    EXPECT_EQ(g.ActiveWindowSlot, 2);
    EXPECT_TRUE(g.WindowRegistry[2].Selected);
    EXPECT_FALSE(g.WindowRegistry[1].Selected);

    // Resizing the frame: the next new plot opens at that outer size.
    b.parentWidget()->resize(420, 330);
    EXPECT_EQ(g.DefaultPlotWidth, 420 * 15);
    EXPECT_EQ(g.DefaultPlotHeight, 330 * 15);
    EXPECT_EQ(b.picture().size(), b.size());
    DotPlot& c = attach(3);
    EXPECT_EQ(c.parentWidget()->size(), QSize(420, 330));

    // The settings lines give the frame's place and size.
    const std::vector<std::string> lines = b.SaveInfo();
    EXPECT_EQ(lines[3], "size.x:6300");
    EXPECT_EQ(lines[4], "size.y:4950");
    for (auto& w : windows) {
        w->close();
        w->setParent(nullptr);
    }
}

}  // namespace
}  // namespace qv
