// A window whose sheet line names a file slot beyond the file table is left
// without a file, and then shows none: its caption names no file, its plot
// is empty, and a histogram gives the windows built from it nothing to draw.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

#include "plots/histogram/Histogram.h"
#include "plots/histogram/MirrorHistogram.h"
#include "plots/histogram/Overlayhistogram.h"
#include "plots/modeller/HistogramModeller.h"
#include "plots/multi/BendPlot.h"
#include "plots/multi/Dad.h"
#include "plots/multi/ThreeDPlot.h"
#include "plots/timeproj/FluxTracker.h"
#include "plots/timeproj/Projector.h"
#include "tests/app/SheetStoreFixture.h"

namespace qv::test {
namespace {

struct FilelessKind {
    const char* type;     // the sheet's type name
    const char* caption;  // the caption of window 4 without a file
};

void PrintTo(const FilelessKind& k, std::ostream* os) { *os << k.type; }

class WindowWithoutFileFromSheet : public SheetStoreTest, public ::testing::WithParamInterface<FilelessKind> {
protected:
    void SetUp() override {
        registerHistogramKind();
        registerOverlayHistogramKind();
        registerMirrorHistogramKind();
        registerHistogramModellerKind();
        registerThreeDPlotKind();
        registerBendPlotKind();
        registerDadKind();
        registerFluxTrackerKind();
        registerProjectorKind();
        SheetStoreTest::SetUp();
    }

    // Window 4 of the kind with file line 99; window 2 a histogram of the
    // sheet's one file; with `sources`, overlays 6 (line 1 from window 4)
    // and 7 (line 1 from window 2), their line 1 in RGB(1, 200, 3), and a
    // mirror 8 (line 1 from window 4).
    void loadSheet(const std::string& type, bool sources) {
        WriteFcsTestFile(dataDir.file("t_r32.fcs"), sampleFile(0));
        std::string sheet = "file.1.path:" + dataDir.file("t_r32.fcs") +
                            "\r\nwindow.2.type:Histogram\r\nwindow.2.file:1\r\n"
                            "window.4.type:" + type + "\r\nwindow.4.file:99\r\n";
        if (sources)
            for (const char* overlay : {"6", "7"})
                sheet += std::string("window.") + overlay + ".type:Overlay Histogram\r\nwindow." + overlay +
                         ".line.1.window:" + (overlay == std::string("6") ? "4" : "2") + "\r\nwindow." + overlay +
                         ".line.1.red:1\r\nwindow." + overlay + ".line.1.green:200\r\nwindow." + overlay +
                         ".line.1.blue:3\r\n";
        if (sources) sheet += "window.8.type:Mirror Histogram\r\nwindow.8.line.1.window:4\r\n";
        WriteBytes(sheetDir.file("s.quorvane"), sheet);
        main->LataaNakyma(q(sheetDir.file("s.quorvane")));
    }
};

// Pixels of the picture in the given colour.
int pixelsOf(const QImage& picture, QRgb colour) {
    int n = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == colour) ++n;
    return n;
}

TEST_P(WindowWithoutFileFromSheet, ShowsNoFileAndAnEmptyPlot) {
    loadSheet(GetParam().type, false);
    ASSERT_TRUE(g.FileTable[1].Loaded);
    ASSERT_EQ(g.WindowRegistry[2].FileIndex, 1);
    PlotWindow* w = windowAt(4);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(g.WindowRegistry[4].FileIndex, 0);
    EXPECT_EQ(w->AnnaOtsikko(), GetParam().caption);
    EXPECT_FALSE(w->windowTitle().contains("t_r32")) << w->windowTitle().toStdString();

    const QImage picture = w->Kuva();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(pixelsOf(picture, picture.pixel(0, 0)), picture.width() * picture.height()) << "the plot is not empty";
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindThatShowsAFile, WindowWithoutFileFromSheet,
    ::testing::Values(FilelessKind{"DotPlot", "(4): Dot Plot - No File"},
                      FilelessKind{"Histogram", "(4): Histogram - No File"},
                      FilelessKind{"Histogram Modeller", "(4): Histogram Modeller - No File"},
                      FilelessKind{"3D Plot", "(4): 3D plot - No File"},
                      FilelessKind{"BendPlot", "(4): Bending plot - No File"},
                      FilelessKind{"DAD", "(4): Data Analyzing Data - No File"},
                      FilelessKind{"FluxTracker", "(4): Flux Tracker - No File"},
                      FilelessKind{"Projector", "(4): Projector - No File"}),
    [](const ::testing::TestParamInfo<FilelessKind>& info) {
        std::string name;
        for (const char c : std::string(info.param.type))
            if (std::isalnum(static_cast<unsigned char>(c))) name += c;
        return name;
    });

// The overlay and the mirror get no counts from a histogram without a file,
// while an overlay of the histogram with the file draws its line.
TEST_F(WindowWithoutFileFromSheet, OverlayAndMirrorDrawNothingForAHistogramWithoutAFile) {
    loadSheet("Histogram", true);
    auto* fileless = dynamic_cast<Histogram*>(windowAt(4));
    auto* withFile = dynamic_cast<Histogram*>(windowAt(2));
    auto* overlay = dynamic_cast<Overlayhistogram*>(windowAt(6));
    auto* control = dynamic_cast<Overlayhistogram*>(windowAt(7));
    auto* mirror = dynamic_cast<MirrorHistogram*>(windowAt(8));
    ASSERT_TRUE(fileless && withFile && overlay && control && mirror);
    main->PiirraKaikki();

    EXPECT_TRUE(fileless->LahetaHistogram().empty());
    EXPECT_FALSE(withFile->LahetaHistogram().empty());
    const QRgb lineColour = qRgb(1, 200, 3);
    EXPECT_GT(pixelsOf(control->picture(), lineColour), 0) << "the control overlay draws its line";
    EXPECT_EQ(pixelsOf(overlay->picture(), lineColour), 0);
    EXPECT_FALSE(mirror->state().LinesDrawn);
}

}  // namespace
}  // namespace qv::test
