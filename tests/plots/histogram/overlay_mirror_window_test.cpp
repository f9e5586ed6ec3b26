// The overlay and mirror windows offscreen, made through the window
// registry as the menus and sheets make them: their line selectors follow
// the open histogram windows, their drawing pulls the sources' counts, their
// settings lines go out and back, and the histogram's exchange members.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "app/WindowRegistry.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/histogram/Histogram.h"
#include "plots/histogram/MirrorHistogram.h"
#include "plots/histogram/Overlayhistogram.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StubMainServices.h"

namespace qv {
namespace {

using test::MakeFile;
using test::PutFile;

class SourceServices final : public test::StubMainServices {
public:
    void TalletaNakyma(const QString&) override { ++autosaves; }
    int autosaves = 0;
};

QStringList Items(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

// Values of FL1 spread over two peaks.
std::vector<std::vector<float>> Events(float peak, int count) {
    std::vector<std::vector<float>> e;
    for (int i = 0; i < count; ++i) e.push_back({10.0f, peak + static_cast<float>(i % 7)});
    return e;
}

class SourceWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        setMainServices(&services);
        registerHistogramKind();
        registerOverlayHistogramKind();
        registerMirrorHistogramKind();
        PutFile(1, MakeFile({{"FSC", 1024}, {"FL1-H", 1024}}, Events(300, 200), "a.fcs"));
        PutFile(2, MakeFile({{"FSC", 1024}, {"FL1-H", 1024}}, Events(700, 100), "b.fcs"));
        makeHistogram(2, 1);
        makeHistogram(5, 2);
    }
    void TearDown() override {
        for (int k = 1; k <= g.MaxWindows; ++k)
            if (PlotWindow* w = windowAt(k)) {
                w->UnloadWindow();
                delete w;
            }
        for (PlotWindow* w : closed) delete w;
        setMainServices(nullptr);
        resetSharedState();
    }
    Histogram* makeHistogram(int slot, int file) {
        EXPECT_TRUE(createWindowInSlot("Histogram", slot));
        auto* h = dynamic_cast<Histogram*>(windowAt(slot));
        g.WindowRegistry[static_cast<size_t>(slot)].FileIndex = static_cast<int16_t>(file);
        h->state().Channel = 2;
        h->LatauksenJalkeen();
        h->Piirra();
        return h;
    }
    template <class T>
    T* make(const char* type, int slot) {
        EXPECT_TRUE(createWindowInSlot(type, slot));
        return dynamic_cast<T*>(windowAt(slot));
    }
    // Closes the window in `slot` as its close box does (it is then only
    // hidden: a window without a workspace frame belongs to the test).
    void closeWindow(int slot) {
        PlotWindow* w = windowAt(slot);
        ASSERT_NE(w, nullptr);
        w->close();
        closed.push_back(w);
    }
    static void choose(QComboBox* box, int index) {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    SourceServices services;
    std::vector<PlotWindow*> closed;
};

TEST_F(SourceWindowsTest, OverlaySelectorsListOpenHistogramsAndResetWhenOneCloses) {
    auto* overlay = make<Overlayhistogram>("Overlay Histogram", 3);
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->windowTitle(), "(3): Overlay histogram");
    EXPECT_FALSE(g.WindowRegistry[3].ShowsFile);
    EXPECT_FALSE(g.WindowRegistry[3].Selected);
    for (int L = 1; L <= 4; ++L) {
        EXPECT_EQ(Items(overlay->selector(L)), (QStringList{"None", "2: a.fcs", "5: b.fcs"})) << L;
        EXPECT_EQ(overlay->selector(L)->currentIndex(), 0);
    }
    // A new window draws nothing until a line is chosen.
    EXPECT_EQ(overlay->picture().pixel(overlay->picture().width() / 2, overlay->picture().height() - 18),
              qRgb(255, 255, 255));

    choose(overlay->selector(1), 2);
    EXPECT_EQ(overlay->state().LineWindow[1], 5);
    choose(overlay->selector(2), 1);
    EXPECT_EQ(overlay->state().LineWindow[2], 2);
    // Drawn on a dark background with line 1's axis.
    EXPECT_EQ(overlay->state().BackgroundValue, 255);
    EXPECT_EQ(overlay->state().Resolution, 1024);
    const int autosaves = services.autosaves;

    closeWindow(5);
    EXPECT_EQ(overlay->state().LineWindow[1], 0);
    EXPECT_EQ(overlay->state().LineWindow[2], 2);
    EXPECT_EQ(Items(overlay->selector(1)), (QStringList{"None", "2: a.fcs"}));
    EXPECT_EQ(overlay->selector(1)->currentText(), "None");
    EXPECT_EQ(overlay->selector(2)->currentText(), "2: a.fcs");
    EXPECT_GT(services.autosaves, autosaves);

    choose(overlay->selector(2), 0);
    EXPECT_EQ(overlay->state().LineWindow[2], 0);
}

TEST_F(SourceWindowsTest, OverlaySkipsSourcesWithoutCountsAndOtherKinds) {
    auto* overlay = make<Overlayhistogram>("Overlay Histogram", 3);
    // A histogram that has never drawn (no file) and a slot that now holds
    // another kind: neither is drawn, the drawing goes on.
    ASSERT_TRUE(createWindowInSlot("Histogram", 7));
    overlay->AsetaHistogram(1, 7);
    EXPECT_EQ(overlay->state().LineWindow[1], 7);
    overlay->state().LineWindow[2] = 4;
    ASSERT_TRUE(createWindowInSlot("Overlay Histogram", 4));
    overlay->drawLines();
    EXPECT_EQ(overlay->state().BackgroundValue, 255);
    overlay->Piirra();
    EXPECT_EQ(overlay->state().LineWindow[1], 7);
    EXPECT_EQ(overlay->state().LineWindow[2], 0);
    EXPECT_THROW(overlay->AsetaHistogram(101, 2), WindowOperationError);
    EXPECT_THROW(overlay->AsetaHistogram(1, 1e9), WindowOperationError);
}

TEST_F(SourceWindowsTest, OverlayBoldColourAndMenu) {
    auto* overlay = make<Overlayhistogram>("Overlay Histogram", 3);
    choose(overlay->selector(1), 1);
    overlay->boldBox(2)->click();
    EXPECT_TRUE(overlay->state().LineThick[2]);
    EXPECT_TRUE(overlay->boldBox(2)->isChecked());

    test::ScriptedDialogs dlg;
    setDialogProvider(&dlg);
    dlg.expectColour(QColor(1, 2, 3));
    overlay->colourBox(0)->click();
    EXPECT_EQ(overlay->state().FillRed, 1);
    EXPECT_EQ(overlay->state().FillBlue, 3);
    dlg.expectColour(std::nullopt);
    overlay->colourBox(3)->click();
    EXPECT_EQ(overlay->state().LineColor[3], (std::array<uint8_t, 3>{0, 0, 255}));

    overlay->MenuValintaReaktio(OverlayMenuRegionLines);
    EXPECT_FALSE(overlay->state().ShowRegionLines);
    EXPECT_EQ(overlay->state().caption(OverlayMenuRegionLines), "Show marker lines");
    overlay->MenuValintaReaktio(OverlayMenuInvertBackground);
    EXPECT_EQ(overlay->state().BackgroundValue, 0);

    QTemporaryDir dir;
    const QString missing = dir.filePath("no/such/folder/overlay.bmp");
    dlg.expectSaveFile(missing, "Save the image");
    dlg.expectMessage("The file could not be written:\n" + missing + "\nNo such file or directory", "Save error", MsgAnswer::Ok);
    overlay->MenuValintaReaktio(OverlayMenuSaveBmp);
    dlg.finish();
    setDialogProvider(nullptr);
}

TEST_F(SourceWindowsTest, OverlaySettingsRestoreOnlyHistogramSlots) {
    auto* overlay = make<Overlayhistogram>("Overlay Histogram", 3);
    choose(overlay->selector(1), 1);
    choose(overlay->selector(2), 2);
    overlay->state().LineWindow[3] = 9;  // no window there
    const std::vector<std::string> lines = overlay->SaveInfo();
    ASSERT_EQ(lines[0], "27");

    auto* copy = make<Overlayhistogram>("Overlay Histogram", 8);
    g.SheetLoading = true;
    for (size_t k = 1; k < lines.size(); ++k) copy->LoadInfo("window.8." + lines[k]);
    g.SheetLoading = false;
    EXPECT_EQ(copy->state().LineWindow[3], 9);
    copy->Piirra();
    EXPECT_EQ(copy->state().LineWindow[1], 2);
    EXPECT_EQ(copy->state().LineWindow[2], 5);
    EXPECT_EQ(copy->state().LineWindow[3], 0);
    EXPECT_EQ(copy->size(), overlay->size());
}

TEST_F(SourceWindowsTest, ResizedOverlayAndMirrorSetTheSizeOfTheNextOne) {
    auto* overlay = make<Overlayhistogram>("Overlay Histogram", 3);
    EXPECT_EQ(overlay->size(), QSize(400, 333));
    overlay->resize(500, 400);
    EXPECT_EQ(g.DefaultOverlayWidth, 7500);
    EXPECT_EQ(g.DefaultOverlayHeight, 6000);
    EXPECT_EQ(overlay->picture().size(), QSize(500, 295));
    auto* next = make<Overlayhistogram>("Overlay Histogram", 4);
    EXPECT_EQ(next->size(), QSize(500, 400));

    auto* mirror = make<MirrorHistogram>("Mirror Histogram", 6);
    EXPECT_EQ(mirror->size(), QSize(400, 267));
    mirror->resize(450, 300);
    EXPECT_EQ(g.DefaultMirrorWidth, 6750);
    EXPECT_EQ(mirror->picture().size(), QSize(450, 247));
}

TEST_F(SourceWindowsTest, MirrorFromSheetLinesReadsItsSources) {
    auto* mirror = make<MirrorHistogram>("Mirror Histogram", 6);
    EXPECT_EQ(mirror->windowTitle(), "(6): Mirror histogram");
    EXPECT_FALSE(g.WindowRegistry[6].ShowsFile);
    EXPECT_FALSE(mirror->OnkoPreviewissa());
    EXPECT_THROW(mirror->AsetaPreviewissa(true), MissingMemberError);
    EXPECT_FALSE(mirror->state().LinesDrawn);
    g.SheetLoading = true;
    mirror->LoadInfo("window.6.line.1.window:2");
    mirror->LoadInfo("window.6.line.2.window:5");
    g.SheetLoading = false;
    mirror->Piirra();
    EXPECT_EQ(mirror->selector(1)->currentText(), "2: a.fcs");
    EXPECT_EQ(mirror->selector(2)->currentText(), "5: b.fcs");
    ASSERT_TRUE(mirror->state().LinesDrawn);
    // Peaks in different places: the difference changes sign.
    EXPECT_GT(mirror->state().Difference[303], 0);
    EXPECT_LT(mirror->state().Difference[703], 0);
    const std::vector<std::string> lines = mirror->SaveInfo();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "6");
    EXPECT_EQ(lines[3], "size.x:6000");
    EXPECT_EQ(lines[5], "line.1.window:2");
    EXPECT_EQ(lines[6], "line.2.window:5");

    // A source that closes is not followed at once (only overlays are); a
    // drawing before the next Piirra leaves the picture cleared, and that
    // Piirra drops the line.
    closeWindow(5);
    EXPECT_EQ(mirror->state().LineWindow[2], 5);
    mirror->drawLines();
    EXPECT_FALSE(mirror->state().LinesDrawn);
    mirror->Piirra();
    EXPECT_EQ(mirror->state().LineWindow[2], 0);
    EXPECT_EQ(mirror->selector(2)->currentText(), "None");
    EXPECT_TRUE(mirror->state().LinesDrawn);
}

// A line whose slot holds no histogram window (closed since the last
// rebuild, or taken by another kind) ends the mirror's drawing: the picture
// is left cleared, without the other line, its sums or the axes.
struct MirrorLines {
    const char* name;
    const char* kindInSlot7;  // "" leaves slot 7 free
    int line1, line2;
    bool drawn;
};

void PrintTo(const MirrorLines& c, std::ostream* out) { *out << c.name; }

class MirrorLineSources : public SourceWindowsTest, public ::testing::WithParamInterface<MirrorLines> {};

TEST_P(MirrorLineSources, ALineOnNoHistogramLeavesThePictureCleared) {
    const MirrorLines& c = GetParam();
    registerDotPlotKind();
    auto* mirror = make<MirrorHistogram>("Mirror Histogram", 6);
    ASSERT_NE(mirror, nullptr);
    if (*c.kindInSlot7) {
        ASSERT_TRUE(createWindowInSlot(c.kindInSlot7, 7));
    }
    // As a sheet or an earlier choice left them, before any rebuild.
    mirror->state().LineWindow[1] = static_cast<int16_t>(c.line1);
    mirror->state().LineWindow[2] = static_cast<int16_t>(c.line2);
    mirror->drawLines();

    const QImage& picture = mirror->picture();
    int marked = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) marked += picture.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_EQ(mirror->state().LinesDrawn, c.drawn);
    if (c.drawn)
        EXPECT_GT(marked, 0);
    else
        EXPECT_EQ(marked, 0) << "pixels drawn on a picture that should stay cleared";
}

INSTANTIATE_TEST_SUITE_P(
    Slots, MirrorLineSources,
    ::testing::Values(MirrorLines{"BothHistograms", "", 2, 5, true},
                      MirrorLines{"OneHistogramAlone", "", 2, 0, true},
                      MirrorLines{"SecondOnADotPlot", "DotPlot", 2, 7, false},
                      MirrorLines{"FirstOnADotPlot", "DotPlot", 7, 5, false},
                      MirrorLines{"SecondOnAnOverlay", "Overlay Histogram", 2, 7, false},
                      MirrorLines{"SecondOnAFreeSlot", "", 2, 7, false},
                      MirrorLines{"SecondBeyondTheTable", "", 2, 30000, false}),
    [](const ::testing::TestParamInfo<MirrorLines>& info) { return std::string(info.param.name); });

TEST_F(SourceWindowsTest, HistogramExchangeMembers) {
    auto* h = dynamic_cast<Histogram*>(windowAt(2));
    EXPECT_EQ(h->LahetaHistogram().size(), 1025u);
    EXPECT_EQ(h->LahetaMax(), 1024);
    EXPECT_FALSE(h->LahetaLog());
    EXPECT_EQ(h->LahetaNimi(), "FL1-H");
    EXPECT_EQ(h->LahetaKanavaID(), 2);
    EXPECT_EQ(h->LahetaScale(), 0);
    double pos = 5000;
    h->AnnaHistonKorkeus(pos);
    EXPECT_EQ(pos, 512);
    pos = 20000;
    h->AnnaHistonKorkeus(pos);
    EXPECT_EQ(pos, 1024);
    EXPECT_THROW(h->AnnaHistonKorkeinKohta("paikka", 101), WindowOperationError);
    EXPECT_THROW(h->AnnaHistonKorkeinKohta("paikka", -1), WindowOperationError);
    EXPECT_EQ(h->AnnaHistonKorkeinKohta("paikka", 0), 0);
    PopulationRecord& m = g.PopulationTable[3];
    m.CornerX[1] = 2000;
    m.CornerX[2] = 4000;
    const int32_t at = h->AnnaHistonKorkeinKohta("paikka", 3);
    EXPECT_GE(at, 2900);
    EXPECT_LE(at, 3000);
    EXPECT_GT(h->AnnaHistonKorkeinKohta("abskorkeus", 3), 0);

    ASSERT_TRUE(createWindowInSlot("Histogram", 9));
    auto* empty = dynamic_cast<Histogram*>(windowAt(9));
    EXPECT_TRUE(empty->LahetaHistogram().empty());
    EXPECT_EQ(empty->LahetaMax(), 0);
    EXPECT_EQ(empty->LahetaNimi(), "");
    pos = 5000;
    EXPECT_EQ(empty->AnnaHistonKorkeus(pos), 0);
}

}  // namespace
}  // namespace qv
