// The flux tracker and projector windows: their pop-up items and captions,
// the curve items with their dialogs, the time axis and projection made on
// the shown file (and nothing without one), the parameter lists and the
// logarithmic-X warning, the line's drags, the square projector, the BMP
// save and the settings lines of both windows read back.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "app/WindowRegistry.h"
#include "core/SharedState.h"
#include "plots/timeproj/FluxTracker.h"
#include "plots/timeproj/Projector.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StubMainServices.h"

namespace qv {
namespace {

using test::MakeFile;
using test::MakeUniformFile;
using test::PutFile;
using test::ScriptedDialogs;

class FakeServices final : public test::StubMainServices {
public:
    void TalletaNakyma(const QString& mode) override { autosaves += mode == "Autosave"; }
    void showWindowPopup(int ownerId, const QStringList& captions, const QPoint&, bool) override {
        owner = ownerId;
        lastCaptions = captions;
    }
    void showChannelPopup(int axis, const QStringList& names, const QPoint&) override {
        ++channelPopups;
        g.AxisPopupAxis = static_cast<int16_t>(axis);
        lastNames = names;
        if (channelChoice >= 0) g.ChosenChannel = static_cast<int16_t>(channelChoice);
    }
    int autosaves = 0, owner = 0, channelPopups = 0, channelChoice = -1;
    QStringList lastCaptions, lastNames;
};

// Two parameters of range 1023 and a log third; X runs over the range.
FileRecord timeFile(int events = 1000) {
    std::vector<std::vector<float>> rows;
    for (int e = 1; e <= events; ++e)
        rows.push_back({static_cast<float>(e % 1024), static_cast<float>(100 + e % 7), static_cast<float>(e)});
    return MakeFile({{"Time", 1023}, {"FL1", 1023}, {"FL3", 10000, true}}, rows, "run.fcs");
}

class TimeProjWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        setMainServices(&services);
        QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    }
    void TearDown() override {
        for (auto& w : windows) w->close();
        windows.clear();
        setMainServices(nullptr);
        resetSharedState();
    }

    template <class Kind>
    Kind& open(int id, const char* type) {
        auto* w = new Kind();
        windows.emplace_back(w);
        WindowRecord& r = g.WindowRegistry[static_cast<size_t>(id)];
        r.InUse = true;
        r.Form = w;
        r.Type = type;
        w->Alusta(id);
        return *w;
    }
    FluxTracker& flux(int id) { return open<FluxTracker>(id, "FluxTracker"); }
    Projector& projector(int id) { return open<Projector>(id, "Projector"); }

    void showFile(ScatterDisplayWindow& w, int slot) {
        g.WindowRegistry[static_cast<size_t>(w.AnnaID())].FileIndex = static_cast<int16_t>(slot);
        w.LatauksenJalkeen();
        w.Piirra();
    }
    static QStringList captions(const ScatterDisplayWindow& w) {
        QStringList out;
        for (int k = 1; k <= w.view().menuCaptionCount(); ++k) out << QString::fromStdString(w.view().caption(k));
        return out;
    }

    FakeServices services;
    std::vector<std::unique_ptr<ScatterDisplayWindow>> windows;
};

TEST_F(TimeProjWindowTest, NewWindowsCarryTheirItemsAndTakeTheFileLoadedLast) {
    FluxTracker& f = flux(1);
    EXPECT_EQ(captions(f), QStringList({"Set resolution", "Set smoothing", "Calculate geometric mean",
                                        "Create time axis", "Strecth X axis", "-", "Dot plot", "-",
                                        "Disable multicoloring", "-", "Copy image to clipboard", "Save as .BMP...",
                                        "-", "Invert background color", "Large dots", "Fast draw mode", "-",
                                        "Copy curve to clipboard", "-", "Show in print preview page"}));
    EXPECT_EQ(f.AnnaOtsikko(), "(1): Flux Tracker - No File");

    PutFile(3, timeFile());
    g.LastLoadedFile = 3;
    Projector& p = projector(2);
    EXPECT_EQ(captions(p), QStringList({"Make projection", "Set angle", "-", "Dot plot", "Set line color", "-",
                                        "Disable multicoloring", "-", "Copy image to clipboard", "Save as .BMP...",
                                        "-", "Invert background color", "Large dots", "Fast draw mode", "-",
                                        "Show in print preview page"}));
    EXPECT_EQ(g.WindowRegistry[2].FileIndex, 3);
    EXPECT_EQ(p.AnnaOtsikko(), "(2): Projector - run.fcs");
    EXPECT_EQ(p.angle(), 20);
    EXPECT_NEAR(p.lineCentre().x(), p.picture().width() / 2.0, 0.5);
    EXPECT_NEAR(p.lineCentre().y(), p.picture().height() / 2.0, 0.5);
    EXPECT_GT(p.eventsDrawn(), 0);
}

TEST_F(TimeProjWindowTest, ResizingNeverChangesTheStartSizeOfNewPlots) {
    FluxTracker& f = flux(1);
    f.show();
    f.resize(300, 260);
    EXPECT_EQ(g.DefaultPlotWidth, 0);
    EXPECT_EQ(g.DefaultPlotHeight, 0);
}

TEST_F(TimeProjWindowTest, WithoutAFileTheFileItemsDoNothing) {
    FluxTracker& f = flux(1);
    Projector& p = projector(2);
    ScatterDisplayWindow* both[] = {&f, &p};
    ScriptedDialogs dialogs;  // no dialog may come
    f.MenuValintaReaktio(FluxCreateTimeAxis);
    f.MenuValintaReaktio(FluxStretchX);
    f.MenuValintaReaktio(FluxCopyCurve);
    f.MenuValintaReaktio(FluxSetResolution);
    p.MenuValintaReaktio(ProjectorMakeProjection);
    for (ScatterDisplayWindow* w : both) w->rightButtonMenus(QPointF(5, 200), QPoint());  // a parameter list
    EXPECT_EQ(services.channelPopups, 0);
    EXPECT_EQ(g.FileTable[0].ParameterCount, 0);
    EXPECT_EQ(g.FileTable[0].Parameters.size(), 0u);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "untouched");
}

TEST_F(TimeProjWindowTest, TheCurveIsDrawnAndCopiedFromTheLastFullDraw) {
    PutFile(1, timeFile());
    FluxTracker& f = flux(1);
    f.resize(500, 400);
    showFile(f, 1);
    ASSERT_EQ(f.curveBins().lastBin(), 500);
    EXPECT_GT(f.curveBins().Count[250], 0);
    f.MenuValintaReaktio(FluxCopyCurve);
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_EQ(text.count('\n'), 499);
    // A red curve crosses the picture at the height of the Y means (about 103 of 1023).
    const QImage& pic = f.picture();
    const int y = 400 - 18 - static_cast<int>(103.0 / 1023 * (400 - 36));
    bool red = false;
    for (int dy = -3; dy <= 3; ++dy) red |= pic.pixel(250, y + dy) == qRgb(255, 0, 0);
    EXPECT_TRUE(red);
}

TEST_F(TimeProjWindowTest, ResolutionAnswersOutsideTheRangeAreRefusedButRedraw) {
    PutFile(1, timeFile());
    FluxTracker& f = flux(1);
    showFile(f, 1);
    const QString prompt = "Give the new value for curve resolution (2-1023)";
    for (const char* refused : {"1", "1024", "lots"}) {
        ScriptedDialogs dialogs;
        dialogs.expectInput(prompt, "Curve resolution", QString(refused));
        const int saves = services.autosaves;
        f.MenuValintaReaktio(FluxSetResolution);
        EXPECT_EQ(f.curveSettings().CurveResolution, 500) << refused;
        EXPECT_EQ(services.autosaves, saves + 1);  // redrawn all the same
    }
    {
        ScriptedDialogs dialogs;
        dialogs.expectInput(prompt, "Curve resolution", QString("2.5"));
        f.MenuValintaReaktio(FluxSetResolution);
    }
    EXPECT_EQ(f.curveSettings().CurveResolution, 2.5);
    EXPECT_EQ(f.curveBins().lastBin(), 2);
}

// Smoothing takes any width at least 0 and redraws; a width that reaches
// the whole curve shows the mean of every bin in each bin.
TEST_F(TimeProjWindowTest, SmoothingTakesAnyWidthFromZeroUpAndRedraws) {
    PutFile(1, timeFile());
    FluxTracker& f = flux(1);
    showFile(f, 1);
    struct Case {
        const char* answer;
        int taken;  // -1: refused, no redraw
    };
    for (const Case& c : std::vector<Case>{{"499", 499}, {"500", 500}, {"40000", 40000}, {"0", 0}, {"-2", -1},
                                           {"wide", -1}, {"", -1}}) {
        const int before = f.curveSettings().CurveSmoothing;
        ScriptedDialogs dialogs;
        dialogs.expectInput("Give the new value for curve smoothing", "Curve smoothing", QString(c.answer));
        const int saves = services.autosaves;
        f.MenuValintaReaktio(FluxSetSmoothing);
        EXPECT_EQ(f.curveSettings().CurveSmoothing, c.taken < 0 ? before : c.taken) << c.answer;
        EXPECT_EQ(services.autosaves, saves + (c.taken < 0 ? 0 : 1)) << c.answer;
        if (c.taken >= 499) {
            const FluxCurveBins& bins = f.curveBins();
            ASSERT_EQ(bins.lastBin(), 500);
            for (int b = 2; b <= 500; ++b) ASSERT_EQ(bins.Value[static_cast<size_t>(b)], bins.Value[1]) << c.answer;
            EXPECT_GT(bins.Value[1], 0.0);
        }
    }
}

// The resolution stays the window's own when X changes to a channel with
// fewer values than bins: the sheet, the prompt and the copy agree on it.
TEST_F(TimeProjWindowTest, ResolutionOutlastsASwitchToANarrowXChannel) {
    std::vector<std::vector<float>> rows;
    for (int e = 1; e <= 2000; ++e)
        rows.push_back({static_cast<float>(e % 1024), static_cast<float>(100 + e % 7), static_cast<float>(e % 33)});
    PutFile(1, MakeFile({{"FSC-A", 1024}, {"FL1", 1023}, {"Narrow", 32}}, rows, "run.fcs"));
    FluxTracker& f = flux(1);
    showFile(f, 1);
    ASSERT_EQ(f.curveSettings().CurveResolution, 500);
    f.AsetaKanava("x", "3");
    f.Piirra();
    f.MenuValintaReaktio(FluxCopyCurve);
    EXPECT_EQ(QGuiApplication::clipboard()->text().count('\n'), 499);
    const FluxCurveBins& bins = f.curveBins();
    ASSERT_EQ(bins.lastBin(), 500);
    int reached = 0;
    for (int b = 1; b <= 500; ++b) reached += bins.Count[static_cast<size_t>(b)] > 0;
    EXPECT_EQ(reached, 32);  // one bin for each X value 1..32; the others stay empty
    EXPECT_EQ(f.SaveInfo()[16], "curve.resolution:500");
    {
        ScriptedDialogs dialogs;
        dialogs.expectInput("Give the new value for curve resolution (2-32)", "Curve resolution", QString("20"));
        f.MenuValintaReaktio(FluxSetResolution);
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.shown()[0].defaultText, "500");  // the resolution the curve uses
    }
    EXPECT_EQ(f.curveSettings().CurveResolution, 20);
}

TEST_F(TimeProjWindowTest, TimeAxisAndStretchWorkOnTheSharedFile) {
    PutFile(1, MakeFile({{"FSC", 1023}, {"SSC", 1023}}, {{100, 1}, {400, 2}, {200, 3}, {50, 4}}));
    FluxTracker& f = flux(1);
    showFile(f, 1);
    f.MenuValintaReaktio(FluxCreateTimeAxis);
    const FileRecord& file = g.FileTable[1];
    ASSERT_EQ(file.ParameterCount, 3);
    EXPECT_EQ(file.Parameters[3].Name, "Time (generic)");
    EXPECT_EQ(file.WorkingData(4, 3), 1024);
    EXPECT_EQ(file.PristineData(1, 3), 256);

    f.MenuValintaReaktio(FluxStretchX);  // largest X 400: factor 3
    EXPECT_EQ(file.WorkingData(2, 1), 1200);
    EXPECT_EQ(file.PristineData(2, 1), 400);
}

TEST_F(TimeProjWindowTest, ALogarithmicXParameterIsWarnedOfAndADismissedListChangesNothing) {
    PutFile(1, timeFile());
    FluxTracker& f = flux(1);
    f.resize(400, 400);
    showFile(f, 1);
    services.channelChoice = -1;
    f.rightButtonMenus(QPointF(200, 395), QPoint());
    EXPECT_EQ(services.lastNames, QStringList({"Time", "FL1", "FL3"}));
    EXPECT_EQ(f.view().AxisX, 1);

    services.channelChoice = 2;  // FL3, logarithmic
    {
        ScriptedDialogs dialogs;
        dialogs.expectMessage("Attention! The tracking doesn't work correctly if X axis is logarithmic!", "Quorvane",
                              MsgButtons::Ok, MsgAnswer::Ok);
        f.rightButtonMenus(QPointF(200, 395), QPoint());
    }
    EXPECT_EQ(f.view().AxisX, 3);

    // The projector has no such warning.
    Projector& p = projector(2);
    p.resize(400, 400);
    showFile(p, 1);
    ScriptedDialogs none;
    p.rightButtonMenus(QPointF(200, 395), QPoint());
    EXPECT_EQ(p.view().AxisX, 3);

    p.rightButtonMenus(QPointF(200, 200), QPoint());  // the window's own pop-up
    EXPECT_EQ(services.owner, 2);
    EXPECT_EQ(services.lastCaptions.size(), 16);
}

TEST_F(TimeProjWindowTest, SetAngleAnswersAreRoundedAndHeldWithinNinetyDegrees) {
    PutFile(1, timeFile());
    Projector& p = projector(1);
    showFile(p, 1);
    struct Case {
        const char* answer;
        int angle;
    };
    const std::vector<Case> cases = {{"120", 90}, {"-200", -90}, {"12.5", 12}, {"13.5", 14}, {"", 14}, {"abc", 14}};
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        dialogs.expectInput("Set the angle (-90 to 90)", "Set angle", QString(c.answer));
        const int saves = services.autosaves;
        p.MenuValintaReaktio(ProjectorSetAngle);
        EXPECT_EQ(p.angle(), c.angle) << c.answer;
        EXPECT_EQ(services.autosaves, saves + 1);  // redrawn whatever the answer
    }
    ScriptedDialogs dialogs;
    dialogs.expectInput("Set the angle (-90 to 90)", "Set angle", std::nullopt);
    p.MenuValintaReaktio(ProjectorSetAngle);
    EXPECT_EQ(p.angle(), 14);
}

TEST_F(TimeProjWindowTest, MakeProjectionAddsAParameterEveryWindowOfTheFileOffers) {
    PutFile(1, MakeFile({{"FL1", 1024}, {"FL2", 1024}}, {{500, 200}, {1024, 0}}));
    Projector& p = projector(1);
    showFile(p, 1);
    {
        ScriptedDialogs dialogs;
        dialogs.expectInput("Set the angle (-90 to 90)", "Set angle", QString("30"));
        p.MenuValintaReaktio(ProjectorSetAngle);
    }
    const int saves = services.autosaves;
    p.MenuValintaReaktio(ProjectorMakeProjection);
    EXPECT_EQ(services.autosaves, saves);  // no redraw
    const FileRecord& f = g.FileTable[1];
    ASSERT_EQ(f.ParameterCount, 3);
    EXPECT_EQ(f.Parameters[3].Name, "FL1,FL2 (30 degr)");
    EXPECT_EQ(f.WorkingData(1, 3), 618);

    FluxTracker& other = flux(2);
    other.resize(400, 400);
    showFile(other, 1);
    other.rightButtonMenus(QPointF(5, 200), QPoint());
    EXPECT_EQ(services.lastNames.last(), "FL1,FL2 (30 degr)");
}

TEST_F(TimeProjWindowTest, TheLineColourColoursTheHandle) {
    PutFile(1, timeFile());
    Projector& p = projector(1);
    p.resize(400, 400);
    showFile(p, 1);
    {
        ScriptedDialogs dialogs;
        dialogs.expectColour(QColor(0, 255, 0));
        p.MenuValintaReaktio(ProjectorLineColour);
    }
    EXPECT_EQ(p.lineColour(), QColor(0, 255, 0));
    const QPoint c = p.lineCentre();
    EXPECT_EQ(p.picture().pixel(c.x() - 3, c.y() + 1), qRgb(0, 255, 0));
    {
        ScriptedDialogs dialogs;
        dialogs.expectColour(std::nullopt);  // cancelled: the colour stays
        p.MenuValintaReaktio(ProjectorLineColour);
    }
    EXPECT_EQ(p.lineColour(), QColor(0, 255, 0));
}

TEST_F(TimeProjWindowTest, DragsTurnTheLineAndMoveItsCentreWithinTheMargins) {
    PutFile(1, timeFile());
    Projector& p = projector(1);
    p.show();
    p.resize(400, 400);
    showFile(p, 1);
    const QPoint c = p.lineCentre();

    QTest::mousePress(&p, Qt::LeftButton, {}, QPoint(c.x() + 3, 100));  // 3 units right: a rotation
    EXPECT_TRUE(p.rotatingLine());
    QTest::mouseMove(&p, QPoint(c.x() + 3, 300));
    EXPECT_EQ(p.angle(), 90);
    QTest::mouseMove(&p, QPoint(c.x() + 3, 270));
    EXPECT_EQ(p.angle(), 60);
    QTest::mouseRelease(&p, Qt::LeftButton, {}, QPoint(c.x() + 3, 270));
    EXPECT_FALSE(p.rotatingLine());

    QTest::mousePress(&p, Qt::LeftButton, {}, c);
    EXPECT_TRUE(p.movingLine());
    QTest::mouseMove(&p, QPoint(399, 5));
    QTest::mouseRelease(&p, Qt::LeftButton, {}, QPoint(399, 5));
    EXPECT_EQ(p.lineCentre(), QPoint(p.picture().width() - 18, 18));
}

TEST_F(TimeProjWindowTest, TheProjectorStaysSquareAndKeepsItsCentreInPlace) {
    PutFile(1, timeFile(60000));
    Projector& p = projector(1);
    p.show();
    p.resize(400, 400);
    showFile(p, 1);
    const QPoint before = p.lineCentre();
    p.resize(800, 300);
    EXPECT_EQ(p.size(), QSize(800, 800));
    EXPECT_EQ(p.picture().size(), QSize(800, 800));
    EXPECT_EQ(p.lineCentre(), before * 2);
    EXPECT_EQ(g.FullRedrawPending, 1);
    EXPECT_EQ(p.eventsDrawn(), 1000);  // the quick pass, the line drawn in it
}

TEST_F(TimeProjWindowTest, APictureThatCannotBeWrittenGivesSaveError) {
    PutFile(1, timeFile());
    FluxTracker& f = flux(1);
    showFile(f, 1);
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/folder/curve.bmp");
    ScriptedDialogs dialogs;
    dialogs.expectSaveFile(path, "Save the image");
    dialogs.expectMessage("The file could not be written:\n" + path + "\nNo such file or directory", "Save error", MsgAnswer::Ok);
    f.MenuValintaReaktio(FluxSavePicture);
}

TEST_F(TimeProjWindowTest, SettingsLinesOfBothWindowsReadBack) {
    PutFile(1, timeFile());
    FluxTracker& f = flux(1);
    showFile(f, 1);
    f.AsetaKanava("x", "3");
    f.MenuValintaReaktio(FluxGeometricMean);
    f.MenuValintaReaktio(FluxDensity);
    {
        ScriptedDialogs dialogs;
        dialogs.expectInput("Give the new value for curve smoothing", "Curve smoothing", QString("5"));
        f.MenuValintaReaktio(FluxSetSmoothing);
    }
    const std::vector<std::string> lines = f.SaveInfo();
    ASSERT_EQ(lines[0], "18");
    EXPECT_EQ(lines[16], "curve.resolution:500");
    EXPECT_EQ(lines[17], "curve.smoothing:5");
    EXPECT_EQ(lines[18], "curve.geomean:1");

    FluxTracker& f2 = flux(2);
    for (size_t k = 1; k < lines.size(); ++k) f2.LoadInfo("window.2." + lines[k]);
    std::vector<std::string> again = f2.SaveInfo();
    EXPECT_EQ(std::vector<std::string>(again.begin() + 5, again.end()),
              std::vector<std::string>(lines.begin() + 5, lines.end()));
    EXPECT_EQ(captions(f2)[2], "Calculate arithmetic mean");
    EXPECT_EQ(captions(f2)[6], "Density plot");

    Projector& p = projector(3);
    showFile(p, 1);
    p.LoadInfo("window.3.angle:-35");
    p.LoadInfo("window.3.line.color.green:128");
    const std::vector<std::string> pl = p.SaveInfo();
    ASSERT_EQ(pl[0], "19");
    EXPECT_EQ(pl[16], "angle:-35");
    EXPECT_EQ(pl[17], "line.color.red:255");
    EXPECT_EQ(pl[18], "line.color.green:128");
    EXPECT_EQ(pl[19], "line.color.blue:0");
    Projector& p2 = projector(4);
    for (size_t k = 1; k < pl.size(); ++k) p2.LoadInfo("window.4." + pl[k]);
    const std::vector<std::string> pl2 = p2.SaveInfo();
    EXPECT_EQ(std::vector<std::string>(pl2.begin() + 5, pl2.end()), std::vector<std::string>(pl.begin() + 5, pl.end()));

    // Damaged values: angles held within 90 degrees, the rest ignored.
    for (const char* line : {"window.4.angle:500", "window.4.line.color.blue:300", "window.4.curve.x:1",
                             "window.4.axis.x:-3", "window.4.show:abc"})
        p2.LoadInfo(line);
    EXPECT_EQ(p2.angle(), 90);
    EXPECT_EQ(p2.lineColour().blue(), 0);
    EXPECT_EQ(p2.view().AxisX, 1);
    p2.LoadInfo("window.4.angle:x");
    EXPECT_EQ(p2.angle(), 90);

    // Resolution from a sheet: kept above 1 as it reads; the X range holds it
    // only from the next load on.
    f2.LoadInfo("window.2.curve.resolution:1");
    EXPECT_EQ(f2.curveSettings().CurveResolution, 500);
    f2.LoadInfo("window.2.axis.x:1");
    f2.LoadInfo("window.2.curve.resolution:99999");
    EXPECT_EQ(f2.curveSettings().CurveResolution, 99999);
    showFile(f2, 1);
    EXPECT_EQ(f2.curveSettings().CurveResolution, 1023);
    // Smoothing from a sheet: any width at least 0.
    f2.LoadInfo("window.2.curve.smoothing:40000");
    EXPECT_EQ(f2.curveSettings().CurveSmoothing, 40000);
    f2.LoadInfo("window.2.curve.smoothing:-1");
    EXPECT_EQ(f2.curveSettings().CurveSmoothing, 40000);
}

TEST_F(TimeProjWindowTest, TheRegistryMakesBothKindsAndTheyAnswerNoStatistics) {
    registerFluxTrackerKind();
    registerProjectorKind();
    const int a = createWindow("FluxTracker");
    const int b = createWindow("Projector");
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    PlotWindow* w = windowAt(b);
    ASSERT_NE(dynamic_cast<Projector*>(w), nullptr);
    EXPECT_THROW(w->AnnaStatistiikka("1", "number"), MissingMemberError);
    EXPECT_EQ(w->AnnaKanava("y"), "2");
    EXPECT_EQ(w->AnnaKanava("z"), "");
    EXPECT_FALSE(w->OnkoStatPreviewissa());
    PlotWindow* first = windowAt(a);
    first->UnloadWindow();
    w->UnloadWindow();
    EXPECT_FALSE(g.WindowRegistry[static_cast<size_t>(a)].InUse);
    // A window without a workspace frame belongs to whoever made it.
    delete first;
    delete w;
}

}  // namespace
}  // namespace qv
