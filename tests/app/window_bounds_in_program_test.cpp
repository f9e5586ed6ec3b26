// Every window kind, the print page and File info in the running program:
// places and sizes from sheets held to sane bounds, places that come back
// exactly, and new windows that open in view at their real size.
#include <gtest/gtest.h>

#include <QAction>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

#include <ostream>
#include <string>
#include <tuple>

#include "app/FileInfo.h"
#include "app/FilePlotWindow.h"
#include "app/MenuBar.h"
#include "app/WorkspacePlacement.h"
#include "output/PrintPreview.h"
#include "tests/app/SheetStoreFixture.h"
#include "tests/support/EveryWindowKind.h"

namespace qv::test {
namespace {

QSize screenSize() { return QGuiApplication::primaryScreen()->availableGeometry().size(); }

// A window (its outer rectangle in `area`) whose title bar can be reached
// and whose size, and picture, a screen can hold a few times over.
void expectBounded(const QRect& r, const QRect& area, const std::string& what) {
    const QSize largest = LargestWindowSize(screenSize());
    EXPECT_GE(r.width(), 1) << what;
    EXPECT_GE(r.height(), 1) << what;
    EXPECT_LE(r.width(), largest.width()) << what;
    EXPECT_LE(r.height(), largest.height()) << what;
    EXPECT_GE(r.x() + r.width(), area.left() + std::min(r.width(), ReachableTitleWidth)) << what;
    EXPECT_LE(r.x(), area.left() + area.width() - std::min(r.width(), ReachableTitleWidth)) << what;
    EXPECT_GE(r.y(), area.top()) << what;
    EXPECT_LE(r.y(), std::max(area.top(), area.top() + area.height() - ReachableTitleHeight)) << what;
}

struct Kind {
    const char* name;
    const char* type;
};
struct Line {
    const char* name;
    const char* keyAndValue;
};
void PrintTo(const Kind& k, std::ostream* os) { *os << k.name; }
void PrintTo(const Line& l, std::ostream* os) { *os << l.name; }

constexpr Kind Kinds[] = {
    {"DotPlot", "DotPlot"},
    {"Histogram", "Histogram"},
    {"Modeller", "Histogram Modeller"},
    {"Overlay", "Overlay Histogram"},
    {"Mirror", "Mirror Histogram"},
    {"ThreeD", "3D Plot"},
    {"BendPlot", "BendPlot"},
    {"Dad", "DAD"},
    {"FluxTracker", "FluxTracker"},
    {"Projector", "Projector"},
    {"ClipBook", "ClipBook"},
};

constexpr Line Lines[] = {
    {"WidthHuge", "size.x:1e30"},
    {"HeightHuge", "size.y:1e30"},
    {"WidthNegative", "size.x:-5"},
    {"HeightNegative", "size.y:-5"},
    {"WidthBeyondFloat", "size.x:1e300"},
    {"WidthNaN", "size.x:NaN"},
    {"LeftHuge", "location.x:1e30"},
    {"LeftHugeNegative", "location.x:-1e30"},
    {"TopNegative", "location.y:-5"},
    {"TopBeyondFloat", "location.y:1e300"},
    {"TopHuge", "location.y:1e30"},
};

class OutsideSheetValues : public SheetStoreTest, public ::testing::WithParamInterface<std::tuple<Kind, Line>> {
protected:
    void SetUp() override {
        registerEveryWindowKind();
        SheetStoreTest::SetUp();
    }
};

// A window of each kind given a far place or size by its settings line, as
// a sheet hands it over: the window stays reachable and its picture
// allocatable.
TEST_P(OutsideSheetValues, GiveABoundedWindow) {
    const auto& [kind, line] = GetParam();
    main->resize(900, 650);
    QCoreApplication::processEvents();
    WriteFcsTestFile(dataDir.file("a.fcs"), sampleFile(0));
    openFile(dataDir.file("a.fcs"));
    const int id = main->createFromMenu(kind.type);
    ASSERT_GT(id, 0);
    PlotWindow* window = windowAt(id);
    window->LoadInfo("window." + std::to_string(id) + "." + line.keyAndValue);
    window->Piirra();
    QCoreApplication::processEvents();
    const QRect area(QPoint(0, 0), main->workspace()->viewport()->size());
    expectBounded(OuterWindowOf(window)->geometry(), area, line.keyAndValue);
    if (auto* plot = dynamic_cast<FilePlotWindow*>(window)) {
        EXPECT_LE(plot->picture().width(), LargestWindowSize(screenSize()).width());
        EXPECT_LE(plot->picture().height(), LargestWindowSize(screenSize()).height());
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, OutsideSheetValues, ::testing::Combine(::testing::ValuesIn(Kinds), ::testing::ValuesIn(Lines)),
    [](const ::testing::TestParamInfo<std::tuple<Kind, Line>>& info) {
        return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

class WindowBoundsInProgram : public SheetStoreTest {
protected:
    void SetUp() override {
        registerEveryWindowKind();
        SheetStoreTest::SetUp();
    }

    QRect screenArea() const { return QGuiApplication::primaryScreen()->availableGeometry(); }

    // The value of a "prefix" line of a sheet text, "" when there is none.
    static std::string lineValue(const std::string& sheet, const std::string& key) {
        const size_t at = sheet.find("\r\n" + key + ":");
        if (at == std::string::npos) return "";
        const size_t from = at + 2 + key.size() + 1;
        return sheet.substr(from, sheet.find("\r\n", from) - from);
    }
};

// A damaged sheet: a bending plot far too wide and of negative height, a
// print page far too wide, File info and the clip book far away. It loads
// into reachable windows, and the next sheet holds the bounded values.
TEST_F(WindowBoundsInProgram, FarValuesOfASheetLoadIntoReachableWindows) {
    main->resize(900, 650);
    WriteFcsTestFile(dataDir.file("a.fcs"), sampleFile(0));
    openFile(dataDir.file("a.fcs"));
    ASSERT_EQ(main->createFromMenu("BendPlot"), 2);
    ASSERT_EQ(main->createFromMenu("ClipBook"), 3);
    main->mainMenu().NaytaFileInfo->trigger();
    std::string sheet = saveSheet(sheetDir.file("good.quorvane"));
    for (const auto& [key, value] :
         {std::pair<std::string, std::string>{"window.2.size.x", "1e30"}, {"window.2.size.y", "-5"},
          {"window.3.location.x", "-1e30"}, {"window.3.size.y", "1e30"}, {"printview.size.x", "1e30"},
          {"printview.location.y", "1e30"}, {"fileinfo.location.x", "1e300"}, {"fileinfo.location.y", "-1e300"}}) {
        const size_t at = sheet.find("\r\n" + key + ":");
        ASSERT_NE(at, std::string::npos) << key;
        const size_t from = at + 2 + key.size() + 1;
        sheet.replace(from, sheet.find("\r\n", from) - from, value);
    }
    ASSERT_EQ(WriteFileAtomically(sheetDir.file("far.quorvane"), sheet, false), FileWriteResult::Ok);
    loadSheet(sheetDir.file("far.quorvane"));

    const QRect area(QPoint(0, 0), main->workspace()->viewport()->size());
    for (int id : {2, 3}) {
        ASSERT_NE(windowAt(id), nullptr) << id;
        expectBounded(OuterWindowOf(windowAt(id))->geometry(), area, "window " + std::to_string(id));
    }
    EXPECT_LE(dynamic_cast<FilePlotWindow*>(windowAt(2))->picture().width(), LargestWindowSize(screenSize()).width());
    expectBounded(main->printPage()->frameGeometry(), screenArea(), "print page");
    EXPECT_LE(main->printPage()->Kuva().height(), LargestWindowSize(screenSize()).height());
    expectBounded(main->fileInfo()->frameGeometry(), screenArea(), "File info");

    const std::string again = saveSheet(sheetDir.file("again.quorvane"));
    const QSize largest = LargestWindowSize(screenSize());
    EXPECT_LE(std::stod(lineValue(again, "printview.size.x")), largest.width() * TwipsPerPixel);
    EXPECT_LE(std::stod(lineValue(again, "printview.size.y")), largest.height() * TwipsPerPixel);
    EXPECT_LE(std::stod(lineValue(again, "window.2.size.x")), largest.width() * TwipsPerPixel);
    EXPECT_GE(std::stod(lineValue(again, "window.2.size.y")), MinWindowPixels * TwipsPerPixel);
}

// A window minimised to its icon strip or maximised over the workspace:
// the sheet and the autosave hold the place and size it comes back to, and
// the sheet reopens it whole there.
struct NotNormal {
    const char* name;
    const char* type;
    Qt::WindowState state;
};
void PrintTo(const NotNormal& c, std::ostream* os) { *os << c.name; }

class NotNormalWindowInSheets : public WindowBoundsInProgram, public ::testing::WithParamInterface<NotNormal> {
protected:
    // The window of the case's kind over a loaded file, placed at `normal`
    // and then put in the case's state; its ID.
    int windowLeftNotNormal(const QRect& normal) {
        const NotNormal& c = GetParam();
        WriteFcsTestFile(dataDir.file("a.fcs"), sampleFile(0));
        openFile(dataDir.file("a.fcs"));
        const int id = std::string(c.type) == "DotPlot" ? 1 : main->createFromMenu(c.type);
        if (id <= 0) return id;
        QWidget* frame = OuterWindowOf(windowAt(id));
        frame->setGeometry(normal);
        QCoreApplication::processEvents();
        EXPECT_EQ(frame->geometry(), normal);
        frame->setWindowState(c.state);
        QCoreApplication::processEvents();
        return id;
    }
};

TEST_P(NotNormalWindowInSheets, SavesItsNormalPlaceAndSize) {
    const QRect normal(40, 30, 300, 250);
    const int id = windowLeftNotNormal(normal);
    ASSERT_GT(id, 0);
    const QWidget* frame = OuterWindowOf(windowAt(id));
    ASSERT_NE(frame->geometry(), normal) << "the window shows as an icon strip or over the workspace";
    // Something changes, and the autosave follows.
    main->PiirraKaikki();

    const std::string key = "window." + std::to_string(id) + ".";
    const std::string sheet = saveSheet(sheetDir.file("state.quorvane"));
    for (const std::string& text : {sheet, readAll(autosave())}) {
        EXPECT_EQ(lineValue(text, key + "location.x"), "600");
        EXPECT_EQ(lineValue(text, key + "location.y"), "450");
        EXPECT_EQ(lineValue(text, key + "size.x"), "4500");
        EXPECT_EQ(lineValue(text, key + "size.y"), "3750");
    }

    restartWithoutRecovery();
    loadSheet(sheetDir.file("state.quorvane"));
    ASSERT_NE(windowAt(id), nullptr);
    const QWidget* back = OuterWindowOf(windowAt(id));
    EXPECT_FALSE(back->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
    EXPECT_EQ(back->geometry(), normal);
}

// A size given from outside (a tool, a settings line) is for the window
// in its normal state: it comes back whole at that size.
TEST_P(NotNormalWindowInSheets, TakesASizeFromOutsideInItsNormalState) {
    const int id = windowLeftNotNormal(QRect(40, 30, 300, 250));
    ASSERT_GT(id, 0);
    const QWidget* frame = OuterWindowOf(windowAt(id));
    windowAt(id)->LoadInfo("window." + std::to_string(id) + ".size.x:4000");
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
    EXPECT_EQ(frame->geometry(), QRect(40, 30, 267, 250));
}

INSTANTIATE_TEST_SUITE_P(Table, NotNormalWindowInSheets,
                         ::testing::Values(NotNormal{"MinimisedDotPlot", "DotPlot", Qt::WindowMinimized},
                                           NotNormal{"MaximisedDotPlot", "DotPlot", Qt::WindowMaximized},
                                           NotNormal{"MinimisedHistogram", "Histogram", Qt::WindowMinimized},
                                           NotNormal{"MinimisedClipBook", "ClipBook", Qt::WindowMinimized}),
                         [](const ::testing::TestParamInfo<NotNormal>& info) { return std::string(info.param.name); });

// The print page maximised: its sheet lines hold its normal place and size.
TEST_F(WindowBoundsInProgram, MaximisedPrintPageSavesItsNormalPlaceAndSize) {
    PrintPreview* page = main->printPage();
    main->mainMenu().AvaaPrintPreviewPage->trigger();
    ASSERT_TRUE(page->isVisible());
    QCoreApplication::processEvents();
    const QRect normal = page->geometry();
    page->showMaximized();
    QCoreApplication::processEvents();
    ASSERT_NE(page->geometry(), normal);
    const std::string sheet = saveSheet(sheetDir.file("page.quorvane"));
    EXPECT_EQ(lineValue(sheet, "printview.location.x"), std::to_string(normal.x() * TwipsPerPixel));
    EXPECT_EQ(lineValue(sheet, "printview.location.y"), std::to_string(normal.y() * TwipsPerPixel));
    EXPECT_EQ(lineValue(sheet, "printview.size.x"), std::to_string(normal.width() * TwipsPerPixel));
    EXPECT_EQ(lineValue(sheet, "printview.size.y"), std::to_string(normal.height() * TwipsPerPixel));
}

// A window of its own left maximised or minimised when a sheet or a tool
// sets one of its place values: it comes back at the size it had in its
// normal state, the value set, not at the size of the whole screen.
struct OwnNotNormal {
    const char* name;
    bool fileInfo;
    Qt::WindowState state;
};
void PrintTo(const OwnNotNormal& c, std::ostream* os) { *os << c.name; }

class OwnWindowNotNormal : public WindowBoundsInProgram, public ::testing::WithParamInterface<OwnNotNormal> {};

TEST_P(OwnWindowNotNormal, TakesAPlaceInItsNormalState) {
    const OwnNotNormal& c = GetParam();
    QWidget* window = c.fileInfo ? static_cast<QWidget*>(main->fileInfo()) : main->printPage();
    (c.fileInfo ? main->mainMenu().NaytaFileInfo : main->mainMenu().AvaaPrintPreviewPage)->trigger();
    ASSERT_TRUE(window->isVisible());
    const QRect normal(QPoint(120, 140), window->size());
    window->setGeometry(normal);
    QCoreApplication::processEvents();
    ASSERT_EQ(window->geometry(), normal);
    window->setWindowState(c.state);
    QCoreApplication::processEvents();
    const std::string line = std::string(c.fileInfo ? "fileinfo" : "printview") + ".location.x:1500";
    if (c.fileInfo)
        main->fileInfo()->LoadInfo(line);
    else
        main->printPage()->LoadInfo(line);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
    EXPECT_EQ(window->geometry(), QRect(QPoint(100, 140), normal.size()));
}

INSTANTIATE_TEST_SUITE_P(Table, OwnWindowNotNormal,
                         ::testing::Values(OwnNotNormal{"MaximisedFileInfo", true, Qt::WindowMaximized},
                                           OwnNotNormal{"MinimisedFileInfo", true, Qt::WindowMinimized},
                                           OwnNotNormal{"MaximisedPrintPage", false, Qt::WindowMaximized},
                                           OwnNotNormal{"MinimisedPrintPage", false, Qt::WindowMinimized}),
                         [](const ::testing::TestParamInfo<OwnNotNormal>& info) { return std::string(info.param.name); });

// File info saved and restored through sheets stays exactly where it was,
// however many times.
TEST_F(WindowBoundsInProgram, FileInfoStaysPutThroughSheets) {
    main->mainMenu().NaytaFileInfo->trigger();
    FileInfo* info = main->fileInfo();
    ASSERT_TRUE(info->isVisible());
    info->setGeometry(QRect(QPoint(137, 211), info->size()));
    const QPoint placed = info->geometry().topLeft();
    for (int cycle = 1; cycle <= 5; ++cycle) {
        const std::string path = sheetDir.file("cycle" + std::to_string(cycle) + ".quorvane");
        const std::string sheet = saveSheet(path);
        EXPECT_EQ(lineValue(sheet, "fileinfo.location.x"), "2055") << "cycle " << cycle;
        EXPECT_EQ(lineValue(sheet, "fileinfo.location.y"), "3165") << "cycle " << cycle;
        loadSheet(path);
        EXPECT_EQ(info->geometry().topLeft(), placed) << "cycle " << cycle;
    }
}

// The print page and File info open wholly on the screen, frame included,
// whether they were placed before (here below its bottom edge) or not.
TEST_F(WindowBoundsInProgram, WindowsOfTheirOwnOpenWhollyInView) {
    const QRect screen = screenArea();
    PrintPreview* page = main->printPage();
    main->mainMenu().AvaaPrintPreviewPage->trigger();
    ASSERT_TRUE(page->isVisible());
    EXPECT_TRUE(screen.contains(page->frameGeometry())) << "print page, first opening";
    main->mainMenu().AvaaPrintPreviewPage->trigger();
    ASSERT_FALSE(page->isVisible());
    page->setGeometry(QRect(QPoint(screen.right() - 40, screen.bottom() - 60), page->size()));
    main->mainMenu().AvaaPrintPreviewPage->trigger();
    EXPECT_TRUE(screen.contains(page->frameGeometry())) << "print page, placed below the screen";

    FileInfo* info = main->fileInfo();
    info->setGeometry(QRect(QPoint(20, screen.bottom() - 100), info->size()));
    main->mainMenu().NaytaFileInfo->trigger();
    ASSERT_TRUE(info->isVisible());
    EXPECT_TRUE(screen.contains(info->frameGeometry())) << "File info";
}

// New windows of every kind open wholly inside the workspace at their real
// size, and beside each other while there is room: the window after the
// wider overlay lies right of it, not under it.
TEST_F(WindowBoundsInProgram, NewWindowsOfEveryKindOpenInsideTheWorkspace) {
    main->resize(1500, 950);
    QCoreApplication::processEvents();
    WriteFcsTestFile(dataDir.file("a.fcs"), sampleFile(0));
    openFile(dataDir.file("a.fcs"));
    const QRect area(QPoint(0, 0), main->workspace()->viewport()->size());
    ASSERT_EQ(main->createFromMenu("Overlay Histogram"), 2);
    ASSERT_EQ(main->createFromMenu("DotPlot"), 3);
    const QRect overlay = OuterWindowOf(windowAt(2))->geometry();
    const QRect next = OuterWindowOf(windowAt(3))->geometry();
    EXPECT_GT(overlay.width(), OuterWindowOf(windowAt(1))->width());
    EXPECT_FALSE(overlay.intersects(next)) << "the window after the overlay";

    int id = 3;
    for (const Kind& kind : Kinds) {
        ASSERT_EQ(main->createFromMenu(kind.type), ++id) << kind.name;
        QCoreApplication::processEvents();
        const QRect frame = OuterWindowOf(windowAt(id))->geometry();
        if (frame.width() <= area.width() && frame.height() <= area.height()) {
            EXPECT_TRUE(area.contains(frame)) << kind.name << " at " << frame.x() << "," << frame.y() << " size "
                                              << frame.width() << "x" << frame.height();
        }
    }
}

}  // namespace
}  // namespace qv::test
