// Places and sizes from outside held to sane bounds, and where a new
// window opens, on plain rectangles.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "app/model/WindowGeometry.h"

namespace qv {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// A workspace of 1000 x 700 at (0, 0) on a 1600 x 1000 screen, and a window
// of 300 x 200 at (100, 50) in it.
const QRect Area(0, 0, 1000, 700);
const QSize Screen(1600, 1000);
const QRect Window(100, 50, 300, 200);

// The title bar can be reached: its top inside the area, at least its
// reachable part between the left and right edges, above the bottom.
void expectReachable(const QRect& r, const std::string& what) {
    EXPECT_GE(r.width(), MinWindowPixels) << what;
    EXPECT_GE(r.height(), MinWindowPixels) << what;
    EXPECT_LE(r.width(), MaxScreensPerWindow * Screen.width()) << what;
    EXPECT_LE(r.height(), MaxScreensPerWindow * Screen.height()) << what;
    const int reach = std::min(r.width(), ReachableTitleWidth);
    EXPECT_GE(r.x() + r.width(), Area.left() + reach) << what;
    EXPECT_LE(r.x(), Area.left() + Area.width() - reach) << what;
    EXPECT_GE(r.y(), Area.top()) << what;
    EXPECT_LE(r.y(), Area.top() + Area.height() - ReachableTitleHeight) << what;
}

struct OutsideValue {
    const char* name;
    WindowEdge edge;
    double twips;
    QRect expected;
};

void PrintTo(const OutsideValue& v, std::ostream* os) { *os << v.name; }

class OutsideValues : public ::testing::TestWithParam<OutsideValue> {};

TEST_P(OutsideValues, GiveABoundedReachableWindow) {
    const OutsideValue& c = GetParam();
    const QRect got = WithTwipsValue(Window, c.edge, c.twips, Area, Screen);
    expectReachable(got, c.name);
    EXPECT_EQ(got, c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, OutsideValues,
    ::testing::Values(
        // Sizes: at most two screens, at least MinWindowPixels; the place stays.
        OutsideValue{"WidthHuge", WindowEdge::Width, 1e30, QRect(100, 50, 3200, 200)},
        OutsideValue{"HeightHuge", WindowEdge::Height, 1e30, QRect(100, 50, 300, 2000)},
        OutsideValue{"WidthBeyondFloat", WindowEdge::Width, 1e300, QRect(100, 50, 3200, 200)},
        OutsideValue{"WidthNegative", WindowEdge::Width, -5, QRect(100, 50, MinWindowPixels, 200)},
        OutsideValue{"HeightNegative", WindowEdge::Height, -5, QRect(100, 50, 300, MinWindowPixels)},
        OutsideValue{"HeightHugeNegative", WindowEdge::Height, -1e300, QRect(100, 50, 300, MinWindowPixels)},
        OutsideValue{"WidthNaNKeepsIt", WindowEdge::Width, NaN, Window},
        OutsideValue{"WidthInfinityKeepsIt", WindowEdge::Width, Inf, Window},
        OutsideValue{"WidthOrdinary", WindowEdge::Width, 6000, QRect(100, 50, 400, 200)},
        // Places: the title bar stays reachable.
        OutsideValue{"LeftHuge", WindowEdge::Left, 1e30, QRect(1000 - ReachableTitleWidth, 50, 300, 200)},
        OutsideValue{"LeftBeyondFloat", WindowEdge::Left, 1e300, QRect(1000 - ReachableTitleWidth, 50, 300, 200)},
        OutsideValue{"LeftHugeNegative", WindowEdge::Left, -1e300, QRect(ReachableTitleWidth - 300, 50, 300, 200)},
        OutsideValue{"LeftSlightlyNegative", WindowEdge::Left, -5, QRect(0, 50, 300, 200)},
        OutsideValue{"LeftPartlyOutKept", WindowEdge::Left, -1500, QRect(-100, 50, 300, 200)},
        OutsideValue{"TopHuge", WindowEdge::Top, 1e30, QRect(100, 700 - ReachableTitleHeight, 300, 200)},
        OutsideValue{"TopNegative", WindowEdge::Top, -5, QRect(100, 0, 300, 200)},
        OutsideValue{"TopHugeNegative", WindowEdge::Top, -1e300, QRect(100, 0, 300, 200)},
        OutsideValue{"TopNaNKeepsIt", WindowEdge::Top, NaN, Window},
        OutsideValue{"TopOrdinary", WindowEdge::Top, 4500, QRect(100, 300, 300, 200)}),
    [](const ::testing::TestParamInfo<OutsideValue>& info) { return std::string(info.param.name); });

TEST(TwipsToPixels, RoundsToNearestAndSaturates) {
    EXPECT_EQ(TwipsToPixels(4000), 267);
    EXPECT_EQ(TwipsToPixels(-22), -1);
    EXPECT_EQ(TwipsToPixels(1e300), 1000000);
    EXPECT_EQ(TwipsToPixels(-1e300), -1000000);
    EXPECT_EQ(TwipsToPixels(Inf), 1000000);
    EXPECT_EQ(TwipsToPixels(NaN), 0);
}

// A window already out of bounds (a far corner of a larger screen) is
// brought back whichever value is set next.
TEST(BoundedWindowRect, BringsAFarWindowBackWhicheverValueComesNext) {
    const QRect far(50000, -9000, 90000, 5);
    const QRect got = WithTwipsValue(far, WindowEdge::Height, 3000, Area, Screen);
    expectReachable(got, "far window");
    EXPECT_EQ(got.height(), 200);
}

// An area narrower than the reachable part of the title bar, as a workspace
// not laid out yet, still gives a window at its left edge.
TEST(BoundedWindowRect, TinyAreaKeepsTheWindowAtItsCorner) {
    const QRect got = BoundedWindowRect(QRect(500, 500, 300, 200), QRect(0, 0, 10, 10), Screen);
    EXPECT_EQ(got, QRect(0, 0, 300, 200));
}

struct Placement {
    const char* name;
    QSize size;
    std::vector<QRect> others;
    QPoint expected;
};

void PrintTo(const Placement& p, std::ostream* os) { *os << p.name; }

class NewWindows : public ::testing::TestWithParam<Placement> {};

TEST_P(NewWindows, OpenWhollyInViewBesideTheOthers) {
    const Placement& c = GetParam();
    const QPoint at = NewWindowPlace(c.size, Area, c.others);
    EXPECT_EQ(at, c.expected) << c.name;
    if (c.size.width() <= Area.width() && c.size.height() <= Area.height()) {
        EXPECT_TRUE(Area.contains(QRect(at, c.size))) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, NewWindows,
    ::testing::Values(
        Placement{"EmptyWorkspace", {267, 267}, {}, {0, 0}},
        Placement{"BesideAPlot", {267, 267}, {QRect(0, 0, 267, 267)}, {267, 0}},
        // The overlay is wider than a plot: the next window goes right of
        // its real edge, not under it.
        Placement{"BesideTheWiderOverlay", {267, 267}, {QRect(0, 0, 400, 333)}, {400, 0}},
        // No room left on the top row: the next row, under the highest
        // window it would otherwise cover.
        Placement{"NextRow", {400, 300},
                  {QRect(0, 0, 400, 333), QRect(400, 0, 267, 267), QRect(667, 0, 267, 267)}, {400, 267}},
        Placement{"FullWorkspaceCoversLeast", {600, 600},
                  {QRect(0, 0, 500, 350), QRect(500, 0, 500, 350), QRect(0, 350, 500, 350)}, {400, 100}},
        Placement{"LargerThanTheWorkspace", {1200, 900}, {QRect(0, 0, 267, 267)}, {0, 0}}),
    [](const ::testing::TestParamInfo<Placement>& info) { return std::string(info.param.name); });

// A 1024 x 768 screen, its window manager's frame, and windows brought
// back from a sheet written on a 1600 x 1000 screen (client rectangles).
const QRect SmallScreen(0, 0, 1024, 768);
const QMargins Frame(4, 24, 4, 4);

struct Restore {
    const char* name;
    QRect saved;
    QMargins frame;
    QRect area;
    QRect expected;
};

void PrintTo(const Restore& r, std::ostream* os) { *os << r.name; }

class RestoredWindows : public ::testing::TestWithParam<Restore> {};

TEST_P(RestoredWindows, LieWhollyInTheirArea) {
    const Restore& c = GetParam();
    const QRect got = FittedIntoView(c.saved, c.frame, c.area);
    EXPECT_EQ(got, c.expected) << c.name;
    EXPECT_TRUE(c.area.contains(got.marginsAdded(c.frame))) << c.name;
    // Shrunk only where larger than the area.
    if (c.saved.width() + c.frame.left() + c.frame.right() <= c.area.width()) {
        EXPECT_EQ(got.width(), c.saved.width()) << c.name;
    }
    if (c.saved.height() + c.frame.top() + c.frame.bottom() <= c.area.height()) {
        EXPECT_EQ(got.height(), c.saved.height()) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RestoredWindows,
    ::testing::Values(
        Restore{"FittingStaysWhereSaved", QRect(300, 200, 327, 347), Frame, SmallScreen, QRect(300, 200, 327, 347)},
        Restore{"FileInfoAtTheRightOfTheLargerScreen", QRect(961, 120, 412, 347), Frame, SmallScreen,
                QRect(608, 120, 412, 347)},
        Restore{"PrintPageAtTheRightOfTheLargerScreen", QRect(961, 60, 333, 471), Frame, SmallScreen,
                QRect(687, 60, 333, 471)},
        Restore{"BelowTheBottomWithItsFrame", QRect(200, 640, 327, 347), Frame, SmallScreen,
                QRect(200, 417, 327, 347)},
        Restore{"TitleBarAboveTheTop", QRect(-30, 10, 327, 347), Frame, SmallScreen, QRect(4, 24, 327, 347)},
        Restore{"TallerThanTheScreenShrinksInHeightOnly", QRect(900, 20, 333, 1414), Frame, SmallScreen,
                QRect(687, 24, 333, 740)},
        Restore{"LargerThanTheScreen", QRect(50, 50, 3000, 2000), Frame, SmallScreen, QRect(4, 24, 1016, 740)},
        Restore{"WorkspaceWindowFarRightAndDown", QRect(1400, 900, 300, 200), QMargins(), Area,
                QRect(700, 500, 300, 200)},
        Restore{"WorkspaceWindowLargerThanTheWorkspace", QRect(10, 10, 1300, 200), QMargins(), Area,
                QRect(0, 10, 1000, 200)}),
    [](const ::testing::TestParamInfo<Restore>& info) { return std::string(info.param.name); });

// The main window on a 1024 x 768 screen, 90 per cent of it, centred: its
// title and menu bars are kept clear.
const QRect MainBars(51, 38, 922, 47);

struct OwnPlace {
    const char* name;
    QSize size;
    std::vector<QRect> others;
    QRect keepClear;
    QPoint expected;
};

void PrintTo(const OwnPlace& p, std::ostream* os) { *os << p.name; }

class OwnWindows : public ::testing::TestWithParam<OwnPlace> {};

TEST_P(OwnWindows, OpenAtAFreeSpotClearOfTheMainWindowsMenus) {
    const OwnPlace& c = GetParam();
    const QPoint at = OwnWindowPlace(c.size, SmallScreen, c.others, {c.keepClear});
    EXPECT_EQ(at, c.expected) << c.name;
    const QRect spot(at, c.size);
    EXPECT_TRUE(SmallScreen.contains(spot)) << c.name;
    EXPECT_FALSE(spot.intersects(c.keepClear)) << c.name;
    for (const QRect& other : c.others) EXPECT_FALSE(spot.intersects(other)) << c.name;
}

// One after another, as the menu opens them: each beside those before.
const QRect PageSpot(683, 85, 341, 499);
const QRect InfoSpot(263, 85, 420, 375);

INSTANTIATE_TEST_SUITE_P(
    Table, OwnWindows,
    ::testing::Values(
        OwnPlace{"FirstAtTheRightBelowTheMenuBar", {341, 499}, {}, MainBars, {683, 85}},
        OwnPlace{"SecondBesideTheFirst", {420, 375}, {PageSpot}, MainBars, {263, 85}},
        OwnPlace{"ThirdBelowWhereTheRowIsFull", {300, 250}, {PageSpot, InfoSpot}, MainBars, {383, 460}},
        OwnPlace{"MainWindowLowerDownLeavesTheTopFree", {341, 250}, {}, QRect(51, 300, 922, 47), {683, 0}},
        OwnPlace{"MainWindowAtTheTopLeftLeavesTheRightSide", {300, 700}, {}, QRect(0, 0, 700, 60), {724, 0}}),
    [](const ::testing::TestParamInfo<OwnPlace>& info) { return std::string(info.param.name); });

// The five windows of their own (print page, File info, the two browsers,
// the renamer, frames included) opened one after another on a 1600 x 1000
// screen below a main window of 90 per cent of it: each at its own spot.
TEST(OwnWindows, FiveOpenedOneAfterAnotherDoNotOverlap) {
    const QRect screen(0, 0, 1600, 1000);
    const QRect bars(80, 29, 1442, 62);
    std::vector<QRect> open;
    for (const QSize size : {QSize(341, 499), QSize(420, 375), QSize(268, 508), QSize(495, 275), QSize(648, 528)}) {
        const QRect spot(OwnWindowPlace(size, screen, open, {bars}), size);
        EXPECT_TRUE(screen.contains(spot)) << open.size();
        EXPECT_FALSE(spot.intersects(bars)) << open.size();
        for (const QRect& other : open) EXPECT_FALSE(spot.intersects(other)) << open.size();
        open.push_back(spot);
    }
}

// No spot is clear: the one covering least of the bars, then of the others.
TEST(OwnWindows, CoverTheBarsLeastWhenNoSpotIsClear) {
    const QSize tall(341, 740);
    const QPoint at = OwnWindowPlace(tall, SmallScreen, {}, {MainBars});
    EXPECT_TRUE(SmallScreen.contains(QRect(at, tall)));
    // The screen leaves 51 pixels beside the bars on either side.
    EXPECT_EQ(QRect(at, tall).intersected(MainBars).width(), 341 - 51);
    EXPECT_EQ(OwnWindowPlace(QSize(2000, 2000), SmallScreen, {}, {MainBars}), QPoint(0, 0));
}

// Windows brought back among others settled before them: title bars of
// 24 pixels, never hidden under another window nor lying over the main
// window's bars while the area has room.
struct Settle {
    const char* name;
    QRect window;
    std::vector<QRect> settled;
    std::vector<QRect> keepClear;
    QPoint expected;
    // Title bars of windows below it, cleared where that hides nothing more.
    std::vector<QRect> lower = {};
};

void PrintTo(const Settle& c, std::ostream* os) { *os << c.name; }

constexpr int Title = 24;

QRect titleBar(const QRect& r) { return QRect(r.x(), r.y(), r.width(), Title); }

class SettledWindows : public ::testing::TestWithParam<Settle> {};

TEST_P(SettledWindows, KeepClearOfEachOthersTitleBars) {
    const Settle& c = GetParam();
    std::vector<TitledRect> settled;
    for (const QRect& r : c.settled) settled.push_back({r, Title});
    const QPoint at = PlaceClearOfTitleBars({c.window, Title}, SmallScreen, settled, c.keepClear, c.lower);
    EXPECT_EQ(at, c.expected) << c.name;
    const QRect spot(at, c.window.size());
    EXPECT_TRUE(SmallScreen.contains(spot)) << c.name;
    for (const QRect& r : c.keepClear) EXPECT_FALSE(spot.intersects(r)) << c.name;
    for (const QRect& r : c.lower) EXPECT_FALSE(spot.intersects(r)) << c.name << ": hides a lower title bar";
    for (const QRect& r : c.settled) {
        EXPECT_FALSE(spot.intersects(titleBar(r))) << c.name << ": hides a title bar";
        EXPECT_FALSE(titleBar(spot).intersects(r)) << c.name << ": its title bar hidden";
    }
}

// The print page and File info as a sheet of a 1600 x 1000 screen brings
// them back onto a 1024 x 768 one, fitted against its right edge.
const QRect FittedInfo(604, 96, 420, 375);

INSTANTIATE_TEST_SUITE_P(
    Table, SettledWindows,
    ::testing::Values(
        Settle{"ClearStaysPut", QRect(100, 300, 300, 200), {FittedInfo}, {MainBars}, {100, 300}},
        Settle{"NothingSettledStaysPut", QRect(683, 100, 341, 499), {}, {}, {683, 100}},
        // Its title bar under File info: it moves the shortest way clear,
        // to the left of it.
        Settle{"TitleBarUnderAnother", QRect(683, 150, 341, 499), {FittedInfo}, {MainBars}, {263, 150}},
        // Over File info's title bar: the same.
        Settle{"OverAnothersTitleBar", QRect(683, 90, 341, 499), {FittedInfo}, {MainBars}, {263, 90}},
        // A large print page over the main window's title bar and its
        // buttons, with the whole height of the screen free below them.
        Settle{"OverTheMainWindowsBars", QRect(683, 0, 341, 600), {}, {MainBars}, {683, 85}},
        Settle{"BelowTheBarsTheShortestWay", QRect(900, 20, 100, 100), {}, {MainBars}, {900, 85}},
        Settle{"BesideTheBarsWhereThatIsNearer", QRect(30, 20, 40, 100), {}, {MainBars}, {11, 20}},
        // A workspace plot's title bar under File info: it moves down clear
        // of it, still clear of the print page.
        Settle{"OverALowerTitleBar", QRect(200, 100, 420, 375), {QRect(683, 85, 341, 499)}, {MainBars}, {200, 324},
               {QRect(300, 300, 267, 24)}}),
    [](const ::testing::TestParamInfo<Settle>& info) { return std::string(info.param.name); });

// No place is clear: the one hiding least, and a window larger than the
// area one way keeps its place that way.
TEST(SettledWindows, WithoutRoomHideTheLeast) {
    const QRect area(0, 0, 500, 400);
    const std::vector<TitledRect> settled{{QRect(0, 0, 500, 200), Title}};
    const QPoint at = PlaceClearOfTitleBars({QRect(0, 0, 500, 300), Title}, area, settled, {});
    EXPECT_EQ(at, QPoint(0, 100)) << "lowest: its title bar over the least of the other";
    const QPoint wide = PlaceClearOfTitleBars({QRect(-20, 10, 900, 150), Title}, area, settled, {});
    EXPECT_EQ(wide, QPoint(-20, 200));
}

// A window too large for the room beside the main window's bars on a
// 1024 x 768 screen: shrunk in proportion into the largest part beside
// them, but never below half its size.
TEST(SizeClearOf, ShrinksInProportionIntoTheRoomBesideTheBars) {
    struct Case {
        const char* name;
        QSize size;
        QSize expected;
    };
    const Case cases[] = {
        {"FitsBelowTheBars", {341, 683}, {341, 683}},
        {"TallPrintPage", {400, 740}, {369, 683}},
        {"WideFitsBelowAtHalf", {2000, 683}, {1024, 350}},
        {"BelowHalfStaysAsItIs", {341, 1400}, {341, 1400}},
    };
    for (const Case& c : cases) EXPECT_EQ(SizeClearOf(c.size, SmallScreen, {MainBars}), c.expected) << c.name;
    EXPECT_EQ(SizeClearOf(QSize(400, 740), SmallScreen, {}), QSize(400, 740)) << "nothing to keep clear";
}

// A title bar's hidden part: each pixel counted once however many windows
// lie over it, and only inside the bar.
TEST(CoveredArea, CountsEachHiddenPixelOnce) {
    struct Case {
        const char* name;
        std::vector<QRect> covers;
        int64_t expected;
    };
    const QRect bar(100, 50, 200, 20);
    const Case cases[] = {
        {"Nothing", {}, 0},
        {"Beside", {QRect(300, 50, 50, 20), QRect(100, 70, 200, 30)}, 0},
        {"OneEnd", {QRect(0, 0, 150, 400)}, 50 * 20},
        {"Overlapping", {QRect(150, 0, 100, 400), QRect(200, 60, 300, 100)}, 100 * 20 + 50 * 10},
        {"SameTwice", {QRect(120, 40, 30, 40), QRect(120, 40, 30, 40)}, 30 * 20},
        {"Whole", {QRect(0, 0, 1000, 1000), QRect(150, 55, 10, 5)}, 200 * 20},
    };
    for (const Case& c : cases) EXPECT_EQ(CoveredArea(bar, c.covers), c.expected) << c.name;
}

TEST(MovedIntoView, MovesWithoutShrinking) {
    EXPECT_EQ(MovedIntoView(QRect(900, 600, 300, 200), Area), QRect(700, 500, 300, 200));
    EXPECT_EQ(MovedIntoView(QRect(-50, -20, 300, 200), Area), QRect(0, 0, 300, 200));
    EXPECT_EQ(MovedIntoView(QRect(100, 50, 300, 200), Area), QRect(100, 50, 300, 200));
    EXPECT_EQ(MovedIntoView(QRect(300, 300, 1400, 200), Area), QRect(0, 300, 1400, 200));
}

}  // namespace
}  // namespace qv
