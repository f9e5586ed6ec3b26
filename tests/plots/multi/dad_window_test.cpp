// The DAD window offscreen: a whole run with its status, log and clipboard,
// Stop during the targets, during a run and during its last iteration,
// closing the window while "Place rest" runs, the input boxes, gates drawn
// with the mouse and their membership through later layout moves, and
// windows without a file.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/WindowDisposal.h"
#include "app/WindowRegistry.h"
#include "app/model/DefinitionEvaluator.h"
#include "core/SharedState.h"
#include "plots/multi/Dad.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StubMainServices.h"

namespace qv {
namespace {

class DadServices final : public test::StubMainServices {
public:
    void PiirraKaikki() override {
        ++redrawAll;
        for (auto& r : g.WindowRegistry)
            if (r.InUse && r.Form) r.Form->Piirra();
    }
    void PaivitaRegionLista() override { ++panelRefreshes; }
    int ValittuPopulaatio() const override { return chosen; }
    void showWindowPopup(int owner, const QStringList& captions, const QPoint&, bool) override {
        popupOwner = owner;
        popupCaptions = captions;
    }
    int chosen = 0, redrawAll = 0, panelRefreshes = 0, popupOwner = 0;
    QStringList popupCaptions;
};

// A file of `count` events over three linear parameters of range 1000.
FileRecord runFile(int count) {
    std::vector<std::vector<float>> events;
    for (int e = 0; e < count; ++e)
        events.push_back({static_cast<float>((e * 37) % 1000), static_cast<float>((e * 91) % 1000),
                          static_cast<float>((e * 13) % 1000)});
    return test::MakeFile({{"FSC", 1000}, {"SSC", 1000}, {"FL1", 1000}}, events, "run.fcs");
}

class DadWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        setMainServices(&services);
    }
    void TearDown() override {
        if (window && windowSlotOf(window.get()) != 0) window->close();
        window.reset();
        deleteDiscardedWidgets();
        setMainServices(nullptr);
        resetSharedState();
    }
    DAD& open(int events, int fileSlot = 1) {
        if (fileSlot) test::PutFile(fileSlot, runFile(events));
        window = std::make_unique<DAD>();
        WindowRecord& r = g.WindowRegistry[6];
        r.InUse = true;
        r.Form = window.get();
        r.Type = "DAD";
        window->Alusta(6);
        window->show();
        r.FileIndex = static_cast<int16_t>(fileSlot);
        window->LatauksenJalkeen();
        window->Piirra();
        window->setEventInterval(0);
        return *window;
    }
    void click(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseClick(window.get(), b, {}, p); }

    DadServices services;
    std::unique_ptr<DAD> window;
};

TEST_F(DadWindowTest, StartsReadyForChannels) {
    DAD& w = open(500);
    EXPECT_EQ(w.AnnaOtsikko(), "(6): Data Analyzing Data - , run.fcs");
    EXPECT_EQ(w.channelNames(), (QStringList{"FSC", "SSC", "FL1"}));
    EXPECT_EQ(w.layout().SampleSize, 500);  // capped at the file's events
    EXPECT_FALSE(w.startEnabled());
    w.setChannelChecked(0, true);
    EXPECT_FALSE(w.startEnabled());
    w.setChannelChecked(2, true);
    EXPECT_TRUE(w.startEnabled());
    EXPECT_EQ(w.picture().size(), QSize(DadPictureSize, DadPictureSize));
}

TEST_F(DadWindowTest, RunPerformsIterationCountPlusOneIterationsAndLogsEach) {
    DAD& w = open(200);
    w.layout().IterationCount = 3;
    w.setChannelChecked(0, true);
    w.setChannelChecked(1, true);
    w.startOrStop();
    EXPECT_EQ(w.startCaption(), "Stop iteration");
    EXPECT_FALSE(w.placeRestEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!w.layout().Running, 10000);
    EXPECT_EQ(w.startCaption(), "Start iteration");
    EXPECT_TRUE(w.placeRestEnabled());
    EXPECT_TRUE(w.statusText().startsWith("Iterating... 3 / 3 ("));
    const QStringList log = QGuiApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(log.size(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(log[i].startsWith(QString::number(i) + "\t")) << log[i].toStdString();
    EXPECT_FALSE(w.layout().TargetsStale);
}

// The status box shows its whole text: wrapped into the box, it takes no
// more room than the box has, and its tooltip holds it too. A run of many
// iterations gives the longest text of an ordinary run.
TEST_F(DadWindowTest, TheStatusBoxShowsItsWholeText) {
    DAD& w = open(200);
    w.layout().IterationCount = 100000;
    w.setChannelChecked(0, true);
    w.setChannelChecked(1, true);
    w.startOrStop();
    QTRY_VERIFY_WITH_TIMEOUT(w.statusText().startsWith("Iterating... "), 10000);
    w.startOrStop();
    ASSERT_FALSE(w.layout().Running);

    const QLabel& box = *w.statusBox();
    const QString text = box.text();
    EXPECT_TRUE(text.contains(" / 100000 (")) << text.toStdString();
    EXPECT_EQ(box.toolTip(), text);
    const QRect room = box.contentsRect().adjusted(box.margin(), box.margin(), -box.margin(), -box.margin());
    const QRect needed = box.fontMetrics().boundingRect(room, Qt::TextWordWrap | box.alignment(), text);
    EXPECT_TRUE(room.contains(needed)) << text.toStdString() << ": needs " << needed.width() << " x "
                                       << needed.height() << ", has " << room.width() << " x " << room.height();
}

TEST_F(DadWindowTest, StopDuringTargetsLeavesThemStale) {
    DAD& w = open(3000);
    w.setChannelChecked(0, true);
    w.setChannelChecked(1, true);
    w.onLoopEvents = [&] { w.startOrStop(); };
    w.startOrStop();
    w.onLoopEvents = nullptr;
    EXPECT_FALSE(w.layout().Running);
    EXPECT_TRUE(w.layout().TargetsStale);
    EXPECT_EQ(w.startCaption(), "Start iteration");
    QTest::qWait(50);
    EXPECT_FALSE(w.layout().Running);
    EXPECT_EQ(w.layout().IterationCounter, 0);
}

TEST_F(DadWindowTest, StopDuringARunEndsIt) {
    DAD& w = open(400);
    w.layout().IterationCount = 100000;
    w.setChannelChecked(0, true);
    w.setChannelChecked(1, true);
    w.startOrStop();
    QTRY_VERIFY_WITH_TIMEOUT(w.layout().IterationCounter >= 2, 10000);
    w.startOrStop();
    EXPECT_FALSE(w.layout().Running);
    const int32_t counter = w.layout().IterationCounter;
    QTest::qWait(60);
    EXPECT_EQ(w.layout().IterationCounter, counter);
    // Stop again changes nothing; Start again starts from the same targets.
    w.stopRun();
    EXPECT_FALSE(w.layout().Running);
    w.startRun();
    EXPECT_TRUE(w.layout().Running);
    EXPECT_FALSE(w.layout().TargetsStale);
    w.stopRun();
}

TEST_F(DadWindowTest, StopInTheLastIterationNeverStartsANewRun) {
    DAD& w = open(600);
    w.layout().IterationCount = 0;  // a run of one iteration
    w.setChannelChecked(0, true);
    w.setChannelChecked(1, true);
    bool stopped = false;
    w.startOrStop();
    w.onLoopEvents = [&] {
        if (w.busy() && w.layout().Running && !stopped) {
            stopped = true;
            w.startOrStop();
        }
    };
    QTRY_VERIFY_WITH_TIMEOUT(stopped, 10000);
    w.onLoopEvents = nullptr;
    QTest::qWait(60);
    EXPECT_FALSE(w.layout().Running);
    EXPECT_EQ(w.startCaption(), "Start iteration");
}

TEST_F(DadWindowTest, ClosingDuringPlaceRestEndsCleanly) {
    DAD& w = open(60000);
    w.layout().SampleSize = 50;
    w.setChannelChecked(0, true);
    w.setChannelChecked(2, true);
    SelectSample(w.layout(), g.FileTable[1]);
    int calls = 0;
    w.onLoopEvents = [&] {
        if (++calls == 1) w.close();
    };
    w.placeRest();
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(w.busy());
    EXPECT_FALSE(g.WindowRegistry[6].InUse);
    EXPECT_EQ(windowAt(6), nullptr);
    // Nothing the closed window still receives does anything.
    w.Piirra();
    w.placeRest();
    w.startRun();
    EXPECT_FALSE(w.layout().Running);
}

TEST_F(DadWindowTest, PlaceRestDrawsTheWholePopulationAndDisablesItself) {
    DAD& w = open(3000);
    w.layout().SampleSize = 100;
    w.setChannelChecked(0, true);
    w.setChannelChecked(1, true);
    SelectSample(w.layout(), g.FileTable[1]);
    w.placeRest();
    EXPECT_FALSE(w.placeRestEnabled());
    EXPECT_EQ(SampledEvents(w.layout()).size(), 3000u);
    EXPECT_EQ(w.statusText(), "Putting cells... 100%");
}

TEST_F(DadWindowTest, EventsBoxRefusesWhatCannotBeSampled) {
    DAD& w = open(20000);
    test::ScriptedDialogs dlg;
    const QString title = QStringLiteral("Number of events");
    const QString prompt = QStringLiteral("Give a number of events");
    w.layout().TargetsStale = false;
    dlg.expectInput(prompt, title, QStringLiteral("0"));
    w.askEvents();
    EXPECT_EQ(w.layout().SampleSize, 1000);
    EXPECT_TRUE(w.layout().TargetsStale);  // any answer makes the targets stale
    dlg.expectInput(prompt, title, QStringLiteral("20001"));  // more than the file holds: silent
    w.askEvents();
    dlg.expectInput(prompt, title, QStringLiteral("19000"));
    dlg.expectMessage(QStringLiteral("The sample is too large: at most ") + QString::number(MaxDadSampleSize()) +
                          QStringLiteral(" events."),
                      title, MsgAnswer::Ok);
    w.askEvents();
    dlg.expectInput(prompt, title, QStringLiteral("many"));
    dlg.expectAnyMessage(MsgAnswer::Ok);
    w.askEvents();
    EXPECT_EQ(w.layout().SampleSize, 1000);
    dlg.expectInput(prompt, title, QStringLiteral("250.9"));
    w.askEvents();
    EXPECT_EQ(w.layout().SampleSize, 250);
    EXPECT_EQ(SampledEvents(w.layout()).size(), 250u);

    dlg.expectInput(QStringLiteral("Give a Deviator"), QStringLiteral("Deviator"), QStringLiteral("0"));
    w.askDeviator();
    EXPECT_EQ(w.layout().Deviator, 1000);
    dlg.expectInput(QStringLiteral("Give a number of iterations"), QStringLiteral("Number of iterations"),
                    QStringLiteral("12"));
    w.askIterations();
    EXPECT_EQ(w.layout().IterationCount, 12);
    dlg.finish();
}

TEST_F(DadWindowTest, GateDrawnWithTheMouseIsStoredWithoutThePan) {
    DAD& w = open(300);
    // Every event at a known place: the first half at (100, 100), the rest at (300, 300).
    for (int e = 1; e <= 300; ++e) w.layout().LayoutPosition[static_cast<size_t>(e)] = e <= 150 ? LayoutPoint{100, 100} : LayoutPoint{300, 300};
    w.pan() = {20, -10};
    w.Piirra();
    // A definition naming the gate follows it.
    PopulationRecord& def = g.PopulationTable[17];
    def.InUse = true;
    def.Name = "DAD-2";

    g.RegionDrawMode = true;
    services.chosen = 2;
    // Around screen (120, 90), which is layout (100, 100).
    click({90, 60});
    click({150, 60});
    click({150, 120});
    click({90, 120});
    click({100, 100}, Qt::RightButton);
    EXPECT_FALSE(g.RegionDrawMode);
    EXPECT_FALSE(g.GateInProgress);
    const PopulationRecord& gate = g.PopulationTable[2];
    ASSERT_TRUE(gate.InUse);
    EXPECT_EQ(gate.Type, "DAD");
    EXPECT_EQ(gate.Name, "DAD-2");
    EXPECT_EQ(gate.Corners, 4);
    EXPECT_FLOAT_EQ(gate.CornerX[1], static_cast<float>((90 - 20) / 417.0 * 10000));
    EXPECT_FLOAT_EQ(gate.CornerY[1], static_cast<float>((60 + 10) / 417.0 * 10000));
    const FileRecord& file = g.FileTable[1];
    for (int e = 1; e <= 300; ++e) {
        ASSERT_EQ(file.Membership(e, 2), e <= 150 ? 1 : 0) << e;
        ASSERT_EQ(file.Membership(e, 17), e <= 150 ? 1 : 0) << e;
    }
    EXPECT_GE(services.redrawAll, 1);
    EXPECT_EQ(services.panelRefreshes, 1);
}

// Gates keep the membership they were given when their polygon closed; only
// a polygon drawn again follows the layout as it is then.
class DadGateMembershipTest : public DadWindowTest {
protected:
    // Draws a rectangular gate into population slot `slot` with the mouse.
    void drawGate(int slot, QRect r) {
        g.RegionDrawMode = true;
        services.chosen = slot;
        click(r.topLeft());
        click(r.topRight());
        click(r.bottomRight());
        click(r.bottomLeft());
        click(r.center(), Qt::RightButton);
        ASSERT_TRUE(g.PopulationTable[static_cast<size_t>(slot)].InUse);
    }
    std::vector<uint8_t> members(int slot) const {
        const FileRecord& file = g.FileTable[1];
        std::vector<uint8_t> m;
        for (int e = 1; e <= file.EventCount; ++e) m.push_back(file.Membership(e, slot));
        return m;
    }
    // What the gate over `r` holds for the layout as it stands now.
    std::vector<uint8_t> insideNow(QRect r) {
        std::vector<uint8_t> m;
        for (int e = 1; e <= g.FileTable[1].EventCount; ++e) {
            const LayoutPoint p = window->layout().LayoutPosition[static_cast<size_t>(e)];
            m.push_back(p.x > r.left() && p.x < r.right() && p.y > r.top() && p.y < r.bottom() ? 1 : 0);
        }
        return m;
    }
    static size_t count(const std::vector<uint8_t>& m) { return static_cast<size_t>(std::count(m.begin(), m.end(), 1)); }
};

TEST_F(DadGateMembershipTest, RunAfterTheGateLeavesItsMembership) {
    DAD& w = open(300);
    w.layout().SampleSize = 300;
    w.layout().IterationCount = 4;
    w.setChannelChecked(0, true);
    w.setChannelChecked(2, true);
    // The left half of the initial dot plot (it spans 50..250 on both axes).
    const QRect left(40, 40, 110, 220);
    drawGate(2, left);
    const std::vector<uint8_t> before = members(2);
    ASSERT_EQ(before, insideNow(left));
    w.startOrStop();
    QTRY_VERIFY_WITH_TIMEOUT(!w.layout().Running, 10000);
    // The run moved events across the gate's edge, yet the gate holds what it held.
    ASSERT_NE(insideNow(left), before);
    EXPECT_EQ(members(2), before);
}

TEST_F(DadGateMembershipTest, PlaceRestLeavesEarlierGatesAndLaterGatesHoldEveryEvent) {
    DAD& w = open(300);
    w.layout().SampleSize = 100;
    w.setChannelChecked(0, true);
    w.setChannelChecked(1, true);
    SelectSample(w.layout(), g.FileTable[1]);
    w.Piirra();
    // Everything but the corner where the events outside the sample wait.
    const QRect most(20, 20, 380, 380);
    drawGate(2, most);
    const std::vector<uint8_t> before = members(2);
    EXPECT_EQ(count(before), 100u);

    w.placeRest();
    ASSERT_EQ(SampledEvents(w.layout()).size(), 300u);
    ASSERT_EQ(count(insideNow(most)), 300u);
    EXPECT_EQ(members(2), before);

    // Drawn after "Place rest", a gate holds every event it covers, sampled or not.
    drawGate(3, most);
    EXPECT_EQ(count(members(3)), 300u);
    const QRect left(20, 20, 130, 380);
    drawGate(4, left);
    const std::vector<uint8_t> share = members(4);
    EXPECT_EQ(share, insideNow(left));
    EXPECT_GT(count(share), 100u);
    EXPECT_LT(count(share), 300u);
    // Redrawing the first slot's polygon brings it up to date as well.
    drawGate(2, most);
    EXPECT_EQ(count(members(2)), 300u);
}

TEST_F(DadWindowTest, GateWithoutAPopulationRowOrPastFiftyCornersIsGuarded) {
    DAD& w = open(100);
    g.RegionDrawMode = true;
    services.chosen = 0;
    click({10, 10});
    click({50, 10});
    click({50, 50});
    click({20, 20}, Qt::RightButton);
    EXPECT_FALSE(g.RegionDrawMode);
    for (int k = 1; k <= g.MaxPopulations; ++k) EXPECT_FALSE(g.PopulationTable[static_cast<size_t>(k)].InUse);

    g.RegionDrawMode = true;
    for (int i = 0; i < 60; ++i) click({10 + i * 5, 10 + (i % 7) * 20});
    EXPECT_EQ(g.DraftRegion.Corners, 50);
    // Closing the window with the polygon open discards it.
    w.close();
    EXPECT_FALSE(g.GateInProgress);
    EXPECT_FALSE(g.RegionDrawMode);
}

TEST_F(DadWindowTest, PanAndZeroMoving) {
    DAD& w = open(100);
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(120, 90), w.mapToGlobal(QPointF(120, 90)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &move);
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(120, 90));
    EXPECT_EQ(w.pan().x, 20);
    EXPECT_EQ(w.pan().y, -10);
    click({200, 200}, Qt::RightButton);
    EXPECT_EQ(services.popupCaptions, (QStringList{"Copy to clipboard", "Zero moving"}));
    w.MenuValintaReaktio(2);
    EXPECT_EQ(w.pan().x, 0);
    EXPECT_EQ(w.pan().y, 0);
}

TEST_F(DadWindowTest, WindowWithoutAFileDoesNothing) {
    DAD& w = open(0, 0);
    EXPECT_EQ(w.AnnaOtsikko(), "(6): Data Analyzing Data - No File");
    w.NaytaPopulaatio(3);
    w.startOrStop();
    w.placeRest();
    EXPECT_FALSE(w.layout().Running);
    test::ScriptedDialogs dlg;
    dlg.expectInput(QStringLiteral("Give a number of events"), QStringLiteral("Number of events"), QStringLiteral("5"));
    w.askEvents();
    dlg.finish();
    EXPECT_EQ(w.layout().SampleSize, 1000);
    w.CheckPopulation(1);
}

// A window restored without a file keeps its sample size, shown in its
// box, and a file given to it later lowers it only to the file's events.
TEST_F(DadWindowTest, AWindowWithoutAFileKeepsItsSampleSizeForTheFileItIsGiven) {
    struct Case {
        const char* what;
        const char* sheetLine;  // nullptr: the default size
        int fileEvents;
        int32_t sampled;
    } cases[] = {
        {"the default, then a smaller file", nullptr, 500, 500},
        {"the default, then a larger file", nullptr, 3000, 1000},
        {"the sheet's size, then a larger file", "window.6.events:300", 500, 300},
        {"the sheet's size, then a smaller file", "window.6.events:300", 120, 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (window) window->close();
        window.reset();
        deleteDiscardedWidgets();
        resetSharedState();
        DAD& w = open(0, 0);
        if (c.sheetLine) w.LoadInfo(c.sheetLine);
        w.LatauksenJalkeen();  // the sheet reader's call, still without a file
        const int32_t kept = c.sheetLine ? 300 : 1000;
        EXPECT_EQ(w.layout().SampleSize, kept);
        EXPECT_EQ(w.eventsBox()->text(), QString::number(kept));

        test::PutFile(1, runFile(c.fileEvents));
        g.WindowRegistry[6].FileIndex = 1;
        w.LatauksenJalkeen();
        w.Piirra();
        EXPECT_EQ(w.layout().SampleSize, c.sampled);
        EXPECT_EQ(w.eventsBox()->text(), QString::number(c.sampled));
        EXPECT_EQ(static_cast<int32_t>(SampledEvents(w.layout()).size()), c.sampled);
    }
}

TEST_F(DadWindowTest, SettingsLinesComeBackInANewWindow) {
    DAD& w = open(500);
    w.layout().IterationCount = 33;
    w.layout().Deviator = 77;
    w.pan() = {5, 6};
    w.LoadInfo("window.6.axis.y:3");
    w.LoadInfo("window.6.events:0");  // refused: at least one event
    const std::vector<std::string> lines = w.SaveInfo();
    EXPECT_EQ(lines[0], "11");
    EXPECT_EQ(lines[3], "file:1");
    EXPECT_EQ(lines[5], "axis.y:3");
    EXPECT_EQ(lines[8], "events:500");

    DAD other;
    g.WindowRegistry[7].InUse = true;
    g.WindowRegistry[7].Form = &other;
    other.Alusta(7);
    for (size_t i = 1; i < lines.size(); ++i) other.LoadInfo("window.7." + lines[i]);
    EXPECT_EQ(other.SaveInfo(), lines);
    other.close();
}

}  // namespace
}  // namespace qv
