// The 3-D plot window offscreen: turning the cube and moving the viewer
// with the mouse (with the coarse step during a drag), the tool members,
// the name-line right clicks and the window menu, and the BMP save.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

#include "app/PlotWindow.h"
#include "app/WindowDisposal.h"
#include "app/WindowRegistry.h"
#include "core/SharedState.h"
#include "plots/multi/ThreeDPlot.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StubMainServices.h"

namespace qv {
namespace {

class ThreeDServices final : public test::StubMainServices {
public:
    void TalletaNakyma(const QString&) override { ++autosaves; }
    void showWindowPopup(int owner, const QStringList& captions, const QPoint&, bool) override {
        popupOwner = owner;
        popupCaptions = captions;
    }
    void showChannelPopup(int axis, const QStringList& names, const QPoint&) override {
        channelAxis = axis;
        channelNames = names;
        if (choice >= 0) g.ChosenChannel = static_cast<int16_t>(choice);
    }
    int autosaves = 0, popupOwner = 0, channelAxis = 0, choice = -1;
    QStringList popupCaptions, channelNames;
};

class ThreeDWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        Plot3DDefaultWidth = Plot3DDefaultHeight = 0;
        setMainServices(&services);
        std::vector<std::vector<float>> events;
        for (int e = 0; e < 3000; ++e) events.push_back({float(e % 400), float(e % 397), float(e % 311)});
        test::PutFile(1, test::MakeFile({{"FSC", 400}, {"SSC", 400}, {"FL1", 400}, {"FL2", 400}}, events, "cube.fcs"));
        window = std::make_unique<Plot3D>();
        WindowRecord& r = g.WindowRegistry[5];
        r.InUse = true;
        r.Form = window.get();
        r.Type = "3D Plot";
        window->Alusta(5);
        window->show();
        r.FileIndex = 1;
        window->LatauksenJalkeen();
        window->Piirra();
    }
    void TearDown() override {
        window->close();
        window.reset();
        deleteDiscardedWidgets();
        setMainServices(nullptr);
        resetSharedState();
    }
    void press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(window.get(), b, {}, p); }
    void release(QPoint p) { QTest::mouseRelease(window.get(), Qt::LeftButton, {}, p); }
    void move(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent ev(QEvent::MouseMove, QPointF(p), window->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::LeftButton,
                       mods);
        QCoreApplication::sendEvent(window.get(), &ev);
    }
    void drag(QPoint from, QPoint to) {
        press(from);
        move(to);
        release(to);
    }

    ThreeDServices services;
    std::unique_ptr<Plot3D> window;
};

TEST_F(ThreeDWindowTest, StartsWithItsDefaultsAndTheFile) {
    const ThreeDState& s = window->state();
    EXPECT_EQ(window->AnnaOtsikko(), "(5): 3D Plot - cube.fcs");
    EXPECT_EQ(window->picture().size(), QSize(267, 267));  // 4000 twips
    EXPECT_EQ(s.Step, 1);
    EXPECT_FALSE(s.FastDraw);
    const std::vector<std::string> lines = window->SaveInfo();
    EXPECT_EQ(lines[0], "19");
    EXPECT_EQ(lines[5], "file:1");
    EXPECT_EQ(lines[9], "show:0");
    EXPECT_EQ(lines[15], "distance:1500");
}

TEST_F(ThreeDWindowTest, DragTurnsTheCubeOneDegreePerPixel) {
    // 30 pixels left and 10 down: RotateX +30, RotateY +10.
    press({150, 100});
    EXPECT_EQ(window->state().Step, 3);  // about a thousand events while dragging
    move({120, 110});
    EXPECT_DOUBLE_EQ(window->state().RotateX, 30);
    EXPECT_DOUBLE_EQ(window->state().RotateY, 10);
    EXPECT_EQ(window->state().Step, 3);
    release({120, 110});
    EXPECT_EQ(window->state().Step, 1);
    EXPECT_FALSE(window->state().Dragging);

    struct Case {
        double from;
        int dx;
        double expected;
    } cases[] = {{350, -20, 10}, {10, 20, 350}, {0, 0, 0}};
    for (const Case& c : cases) {
        window->state().RotateX = c.from;
        drag({100, 100}, {100 + c.dx, 100});
        EXPECT_DOUBLE_EQ(window->state().RotateX, c.expected) << c.from << " by " << c.dx;
    }
}

TEST_F(ThreeDWindowTest, ShiftDragMovesTheViewerAndAutosavesOnlyAtTheEnd) {
    const int before = services.autosaves;
    press({100, 100});
    move({100, 110}, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(window->state().Distance, 1530);
    EXPECT_DOUBLE_EQ(window->state().RotateY, 0);
    move({100, 90}, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(window->state().Distance, 1470);
    EXPECT_EQ(services.autosaves, before);
    release({100, 90});
    EXPECT_EQ(services.autosaves, before + 1);
}

TEST_F(ThreeDWindowTest, ToolMembers) {
    PlotWindow& w = *window;
    w.MuutaRotaatiota("x", "400");
    EXPECT_DOUBLE_EQ(window->state().RotateX, 40);  // wrapped once
    w.Nollaa();
    w.MuutaRotaatiota("x", "800");
    EXPECT_DOUBLE_EQ(window->state().RotateX, 440);
    w.MuutaRotaatiota("y", "-30.5");
    EXPECT_DOUBLE_EQ(window->state().RotateY, 329.5);
    w.MuutaRotaatiota("X", "10");  // axis words are case-sensitive
    EXPECT_DOUBLE_EQ(window->state().RotateX, 440);
    w.MuutaEtaisyytta("100");
    EXPECT_DOUBLE_EQ(window->state().Distance, 1400);
    w.Nollaa();
    EXPECT_DOUBLE_EQ(window->state().RotateX, 0);
    EXPECT_DOUBLE_EQ(window->state().Distance, 1500);

    w.AsetaKanava("z", "4");
    EXPECT_EQ(w.AnnaKanava("z"), "4");
    EXPECT_EQ(w.AnnaKanava("w"), "");
    EXPECT_THROW(w.AsetaKanava("x", "abc"), WindowOperationError);
    // An axis past the file's parameters falls back at the next draw.
    w.AsetaKanava("y", "9");
    EXPECT_EQ(w.AnnaKanava("y"), "2");

    // The drawing-mode words do what the menu item does: a file within the
    // limit stays full; above it the notice and the step change together.
    w.AsetaPiirtoMoodi("fast");
    EXPECT_FALSE(window->state().FastDraw);
    g.FastDrawLimit = 1000;
    w.AsetaPiirtoMoodi("fast");
    EXPECT_TRUE(window->state().FastDraw);
    EXPECT_EQ(window->state().Step, 4);
    w.AsetaPiirtoMoodi("full");
    EXPECT_FALSE(window->state().FastDraw);
    EXPECT_EQ(window->state().Step, 1);
    w.AsetaTaustaKuvanTila("paalla");
    EXPECT_TRUE(window->state().BackgroundPictureShown);
    w.AsetaTaustaKuvanTila("poissa");
    EXPECT_FALSE(window->state().BackgroundPictureShown);
}

TEST_F(ThreeDWindowTest, OtherKindsRaiseMissingMemberForThreeDMembers) {
    class Bare : public PlotWindow {
    public:
        void Alusta(int) override {}
        void Piirra() override {}
        int AnnaID() const override { return 0; }
        void UnloadWindow() override {}
        void MenuValintaReaktio(int) override {}
        void CopyToClipboard() override {}
        std::vector<std::string> SaveInfo() override { return {"0"}; }
        void LoadInfo(const std::string&) override {}
    } bare;
    EXPECT_THROW(bare.MuutaRotaatiota("x", "1"), MissingMemberError);
    EXPECT_THROW(bare.MuutaEtaisyytta("1"), MissingMemberError);
    EXPECT_THROW(bare.Nollaa(), MissingMemberError);
    EXPECT_THROW(bare.AsetaTaustaKuvanTila("paalla"), MissingMemberError);
}

TEST_F(ThreeDWindowTest, NameLinesOpenTheParameterListOtherPlacesTheMenu) {
    services.choice = 3;  // "FL2"
    press({40, 5}, Qt::RightButton);
    EXPECT_EQ(services.channelAxis, 1);
    EXPECT_EQ(services.channelNames, (QStringList{"FSC", "SSC", "FL1", "FL2"}));
    EXPECT_EQ(window->state().AxisX, 4);
    press({40, 30}, Qt::RightButton);
    EXPECT_EQ(services.channelAxis, 3);
    EXPECT_EQ(window->state().AxisZ, 4);

    // Exactly on a boundary: the window menu.
    press({40, 12}, Qt::RightButton);
    EXPECT_EQ(services.popupOwner, 5);
    ASSERT_EQ(services.popupCaptions.size(), 12);
    EXPECT_EQ(services.popupCaptions[0], "Zero rotation");
    EXPECT_EQ(services.popupCaptions[11], "Show in print preview page");

    // Dismissed: nothing changes.
    services.choice = -1;
    press({40, 18}, Qt::RightButton);
    EXPECT_EQ(window->state().AxisY, 2);
}

TEST_F(ThreeDWindowTest, MenuItemsToggleAndCarryTheirCaptions) {
    window->MenuValintaReaktio(ThreeDMenuOutlines);
    EXPECT_FALSE(window->state().ShowOutlines);
    EXPECT_EQ(window->state().caption(ThreeDMenuOutlines), "Show outlines");
    window->MenuValintaReaktio(ThreeDMenuDotSize);
    EXPECT_EQ(window->state().DotSize, 2);
    EXPECT_EQ(window->state().caption(ThreeDMenuDotSize), "Small dots");
    window->MenuValintaReaktio(ThreeDMenuInvertBackground);
    EXPECT_EQ(window->state().BackgroundLevel, 0);
    // Fast draw on a small file does nothing.
    window->MenuValintaReaktio(ThreeDMenuFastDraw);
    EXPECT_FALSE(window->state().FastDraw);
}

TEST_F(ThreeDWindowTest, ParameterListWithoutAFileDoesNothing) {
    g.WindowRegistry[5].FileIndex = 0;
    services.choice = 1;
    press({40, 5}, Qt::RightButton);
    EXPECT_TRUE(services.channelNames.isEmpty());
    EXPECT_EQ(window->state().AxisX, 1);
}

TEST_F(ThreeDWindowTest, BmpThatCannotBeWrittenGivesSaveError) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("missing/cube.bmp"));
    test::ScriptedDialogs dlg;
    dlg.expectSaveFile(path);
    dlg.expectMessage(QStringLiteral("The file could not be written:\n") + path + "\nNo such file or directory", QStringLiteral("Save error"),
                      MsgAnswer::Ok);
    window->MenuValintaReaktio(ThreeDMenuSaveBmp);
    dlg.finish();

    const QString good = QDir(dir.path()).filePath(QStringLiteral("cube.bmp"));
    dlg.expectSaveFile(good);
    window->MenuValintaReaktio(ThreeDMenuSaveBmp);
    EXPECT_TRUE(QFile::exists(good));
}

}  // namespace
}  // namespace qv
