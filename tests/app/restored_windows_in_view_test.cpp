// The windows a sheet brings back, new windows and the windows of their own
// lie wholly in view on the screen the program runs on (the offscreen
// screen, smaller than the one the sheets here were written for), and the
// windows of their own open side by side, clear of the main window's menus.
#include <gtest/gtest.h>

#include <QAction>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <utility>
#include <string>
#include <vector>

#include "app/FileInfo.h"
#include "app/MenuBar.h"
#include "app/WorkspacePlacement.h"
#include "output/PrintPreview.h"
#include "tests/app/SheetStoreFixture.h"
#include "tests/support/EveryWindowKind.h"

namespace qv::test {
namespace {

QRect screenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// Every value of a "key:" line of a sheet text set to `value`; false when
// the sheet has no such line.
bool setEveryValue(std::string& sheet, const std::string& keyEnd, const std::string& value) {
    bool found = false;
    for (size_t at = sheet.find(keyEnd + ":"); at != std::string::npos; at = sheet.find(keyEnd + ":", at + 1)) {
        const size_t from = at + keyEnd.size() + 1;
        sheet.replace(from, sheet.find("\r\n", from) - from, value);
        found = true;
    }
    return found;
}

void dropLinesStartingWith(std::string& sheet, const std::string& prefix) {
    for (size_t at = sheet.find("\r\n" + prefix); at != std::string::npos; at = sheet.find("\r\n" + prefix))
        sheet.erase(at, sheet.find("\r\n", at + 2) - at);
}

class WindowsInView : public SheetStoreTest {
protected:
    void SetUp() override {
        registerEveryWindowKind();
        SheetStoreTest::SetUp();
    }

    QRect menuBarOnScreen() const {
        const QMenuBar* bar = main->menuBar();
        return QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size());
    }

    // The workspace's whole view, and no scroll bar: every window lies in it.
    void expectInsideTheWorkspace(const QWidget& frame, const std::string& what) {
        QMdiArea* mdi = main->workspace();
        EXPECT_FALSE(mdi->horizontalScrollBar()->isVisible()) << what;
        EXPECT_FALSE(mdi->verticalScrollBar()->isVisible()) << what;
        const QRect view(QPoint(0, 0), mdi->viewport()->size());
        EXPECT_TRUE(view.contains(frame.geometry()))
            << what << " at " << frame.x() << "," << frame.y() << " size " << frame.width() << "x"
            << frame.height() << " in a view of " << view.width() << "x" << view.height();
    }

    static void expectOnScreen(const QWidget& window, const std::string& what) {
        const QRect frame = window.frameGeometry();
        EXPECT_TRUE(screenArea().contains(frame))
            << what << " at " << frame.x() << "," << frame.y() << " size " << frame.width() << "x" << frame.height();
    }

    void trigger(QAction* item) {
        item->trigger();
        QCoreApplication::processEvents();
    }

    std::string saveFarOut(const std::string& name);
};

// A workspace of every window kind, a statistics window, the print page,
// File info and the browsers, saved and then given the places they would
// have on a screen twice as large: right of and below this one.
std::string WindowsInView::saveFarOut(const std::string& name) {
    WriteFcsTestFile(dataDir.file("a.fcs"), sampleFile(0));
    openFile(dataDir.file("a.fcs"));
    for (const char* kind : {"Histogram", "Overlay Histogram", "Histogram Modeller", "3D Plot", "DAD", "BendPlot",
                             "FluxTracker", "Projector", "ClipBook"})
        EXPECT_GT(main->createFromMenu(kind), 0) << kind;
    EXPECT_TRUE(createWindowInSlot("Mirror Histogram", 14));
    windowAt(1)->LoadInfo("window.1.statistics.enabled:1");
    trigger(main->mainMenu().AvaaPrintPreviewPage);
    trigger(main->mainMenu().NaytaFileInfo);
    std::string sheet = saveSheet(sheetDir.file(name));
    const QRect screen = screenArea();
    const std::string farRight = std::to_string((screen.right() + 500) * TwipsPerPixel);
    const std::string farDown = std::to_string((screen.bottom() + 300) * TwipsPerPixel);
    EXPECT_TRUE(setEveryValue(sheet, "location.x", farRight));
    EXPECT_TRUE(setEveryValue(sheet, "location.y", farDown));
    EXPECT_TRUE(setEveryValue(sheet, "statistics.x", farRight));
    EXPECT_TRUE(setEveryValue(sheet, "statistics.y", farDown));
    EXPECT_EQ(WriteFileAtomically(sheetDir.file(name), sheet, false), FileWriteResult::Ok);
    return sheetDir.file(name);
}

// Every window a sheet, a package or a recovery restores lies wholly in
// view, at its saved size (each is smaller than the screen).
TEST_F(WindowsInView, ASheetFromALargerScreenOpensWhollyInView) {
    const std::string path = saveFarOut("far.quorvane");
    if (HasFatalFailure()) return;
    std::vector<QSize> sizes;
    for (QMdiSubWindow* sub : main->workspace()->subWindowList())
        if (sub->isVisible()) sizes.push_back(sub->size());

    restartWithoutRecovery();
    // The browsers and the renamer were left beyond the screen's edge.
    for (QAction* item : {main->mainMenu().AvaaFileBrowser, main->mainMenu().AvaaWellplatebrowser,
                          main->mainMenu().AvaaFileNameHandler}) {
        trigger(item);
    }
    for (ServiceWindow which : {ServiceWindow::FileBrowser, ServiceWindow::WellPlateBrowser,
                                ServiceWindow::FileNameHandler}) {
        QWidget* window = main->serviceWindow(which);
        window->move(screenArea().right() - 20, screenArea().bottom() - 20);
    }
    loadSheet(path);
    QCoreApplication::processEvents();

    std::vector<QSize> sizesAfter;
    int shown = 0;
    for (QMdiSubWindow* sub : main->workspace()->subWindowList()) {
        if (!sub->isVisible()) continue;
        ++shown;
        sizesAfter.push_back(sub->size());
        expectInsideTheWorkspace(*sub, sub->windowTitle().toStdString());
    }
    EXPECT_GE(shown, 12) << "eleven kinds and a statistics window";
    const auto bySize = [](const QSize& a, const QSize& b) {
        return std::pair(a.width(), a.height()) < std::pair(b.width(), b.height());
    };
    std::sort(sizes.begin(), sizes.end(), bySize);
    std::sort(sizesAfter.begin(), sizesAfter.end(), bySize);
    EXPECT_EQ(sizesAfter, sizes) << "fitting windows keep their size";
    ASSERT_TRUE(main->printPage()->isVisible());
    ASSERT_TRUE(main->fileInfo()->isVisible());
    expectOnScreen(*main->printPage(), "print page");
    expectOnScreen(*main->fileInfo(), "File info");
    for (ServiceWindow which : {ServiceWindow::FileBrowser, ServiceWindow::WellPlateBrowser,
                                ServiceWindow::FileNameHandler})
        expectOnScreen(*main->serviceWindow(which), main->serviceWindow(which)->windowTitle().toStdString());
}

// The same through the recovery at start-up.
TEST_F(WindowsInView, ARecoveryFromALargerScreenOpensWhollyInView) {
    const std::string path = saveFarOut("far.quorvane");
    if (HasFatalFailure()) return;
    std::string bytes = readAll(path);
    main.reset();
    ASSERT_EQ(WriteFileAtomically(autosave(), bytes, false), FileWriteResult::Ok);
    restartWithRecovery();
    QCoreApplication::processEvents();
    ASSERT_NE(windowAt(14), nullptr);
    for (QMdiSubWindow* sub : main->workspace()->subWindowList())
        if (sub->isVisible()) expectInsideTheWorkspace(*sub, sub->windowTitle().toStdString());
    expectOnScreen(*main->printPage(), "print page");
    expectOnScreen(*main->fileInfo(), "File info");
}

// The title bar along the top of a window: a workspace frame's own, or the
// one the window manager puts above a window of its own (on a screen
// without a window manager, as wide as the one the program expects).
QRect titleBarOf(const QWidget& window) {
    if (auto* sub = qobject_cast<const QMdiSubWindow*>(&window))
        return QRect(sub->geometry().topLeft(), QSize(sub->width(), sub->widget()->y()));
    const QRect frame = window.frameGeometry();
    if (frame.top() < window.geometry().top())
        return QRect(frame.topLeft(), QSize(frame.width(), window.geometry().top() - frame.top()));
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window) + 4;
    return QRect(frame.left(), frame.top() - title, frame.width(), title);
}

QRect withTitleBar(const QWidget& window) { return window.frameGeometry().united(titleBarOf(window)); }

void expectTitleBarsClear(const std::vector<const QWidget*>& windows) {
    for (const QWidget* a : windows)
        for (const QWidget* b : windows)
            if (a != b) {
                const QRect outer = a->isWindow() ? withTitleBar(*a) : a->geometry();
                EXPECT_FALSE(outer.intersects(titleBarOf(*b)))
                    << a->windowTitle().toStdString() << " hides the title bar of " << b->windowTitle().toStdString();
            }
}

// A sheet of a larger screen puts the windows right of and below this
// one; brought back, each title bar stays clear of the other windows, the
// windows of their own of the main window's title and menu bars, and the
// plots' title bars of the windows of their own, as all fit side by side.
TEST_F(WindowsInView, WindowsFromALargerScreenKeepEachOthersTitleBarsClear) {
    WriteFcsTestFile(dataDir.file("a.fcs"), sampleFile(0));
    openFile(dataDir.file("a.fcs"));
    for (const char* kind : {"Histogram", "DotPlot"}) EXPECT_GT(main->createFromMenu(kind), 0) << kind;
    trigger(main->mainMenu().AvaaPrintPreviewPage);
    trigger(main->mainMenu().NaytaFileInfo);
    std::string sheet = saveSheet(sheetDir.file("title.quorvane"));
    const QRect screen = screenArea();
    EXPECT_TRUE(setEveryValue(sheet, "location.x", std::to_string((screen.right() + 500) * TwipsPerPixel)));
    EXPECT_TRUE(setEveryValue(sheet, "location.y", std::to_string(80 * TwipsPerPixel)));
    // Plots small enough for three side by side in the workspace.
    for (int id = 1; id <= 3; ++id)
        for (const char* edge : {".size.x", ".size.y"})
            EXPECT_TRUE(setEveryValue(sheet, "window." + std::to_string(id) + edge, std::to_string(180 * TwipsPerPixel)));
    ASSERT_EQ(WriteFileAtomically(sheetDir.file("title.quorvane"), sheet, false), FileWriteResult::Ok);

    restartWithoutRecovery();
    loadSheet(sheetDir.file("title.quorvane"));
    QCoreApplication::processEvents();
    std::vector<const QWidget*> plots;
    for (QMdiSubWindow* sub : main->workspace()->subWindowList()) {
        if (!sub->isVisible()) continue;
        expectInsideTheWorkspace(*sub, sub->windowTitle().toStdString());
        EXPECT_EQ(sub->size(), QSize(180, 180));
        plots.push_back(sub);
    }
    EXPECT_EQ(plots.size(), 3u);
    expectTitleBarsClear(plots);

    const std::vector<const QWidget*> own{main->printPage(), main->fileInfo()};
    for (const QWidget* window : own) {
        ASSERT_TRUE(window->isVisible());
        const std::string what = window->windowTitle().toStdString();
        expectOnScreen(*window, what);
        EXPECT_TRUE(screen.contains(titleBarOf(*window))) << what;
        EXPECT_FALSE(withTitleBar(*window).intersects(menuBarOnScreen())) << what;
        EXPECT_FALSE(withTitleBar(*window).intersects(titleBarOf(*main))) << what << " over the main window's title bar";
    }
    expectTitleBarsClear(own);

    // Nor does a window of its own lie over a plot's title bar: the plots
    // were moved too, and the workspace has room for them beside.
    const QPoint workspaceOrigin = main->workspace()->viewport()->mapToGlobal(QPoint(0, 0));
    for (const QWidget* plot : plots)
        for (const QWidget* window : own)
            EXPECT_FALSE(withTitleBar(*window).intersects(titleBarOf(*plot).translated(workspaceOrigin)))
                << window->windowTitle().toStdString() << " hides the title bar of " << plot->windowTitle().toStdString();
}

// A print page saved large at the right of a larger screen: brought back,
// it is made smaller and leaves the main window's title bar, with its
// buttons, and its menu bar free.
TEST_F(WindowsInView, ALargePrintPageFromALargerScreenLeavesTheMainWindowsBarsFree) {
    trigger(main->mainMenu().AvaaPrintPreviewPage);
    std::string sheet = saveSheet(sheetDir.file("page.quorvane"));
    const QRect screen = screenArea();
    EXPECT_TRUE(setEveryValue(sheet, "printview.location.x", std::to_string((screen.right() + 300) * TwipsPerPixel)));
    EXPECT_TRUE(setEveryValue(sheet, "printview.location.y", std::to_string(10 * TwipsPerPixel)));
    EXPECT_TRUE(setEveryValue(sheet, "printview.size.x", std::to_string(screen.height() * TwipsPerPixel)));
    EXPECT_TRUE(setEveryValue(sheet, "printview.size.y", std::to_string(screen.height() * 3 / 2 * TwipsPerPixel)));
    ASSERT_EQ(WriteFileAtomically(sheetDir.file("page.quorvane"), sheet, false), FileWriteResult::Ok);

    restartWithoutRecovery();
    loadSheet(sheetDir.file("page.quorvane"));
    QCoreApplication::processEvents();
    const PrintPreview* page = main->printPage();
    ASSERT_TRUE(page->isVisible());
    expectOnScreen(*page, "print page");
    EXPECT_TRUE(screen.contains(titleBarOf(*page)));
    EXPECT_FALSE(withTitleBar(*page).intersects(titleBarOf(*main))) << "over the main window's title bar";
    EXPECT_FALSE(withTitleBar(*page).intersects(menuBarOnScreen())) << "over the main window's menu bar";
    EXPECT_NEAR(page->height(), page->width() * std::sqrt(2.0), 1.5) << "still an A4 page";
}

// "fileinfo.visible:1" without location lines: File info opens in view, at
// a free spot clear of the main window's menu bar.
TEST_F(WindowsInView, FileInfoShownBySheetWithoutAPlaceOpensInView) {
    trigger(main->mainMenu().NaytaFileInfo);
    std::string sheet = saveSheet(sheetDir.file("info.quorvane"));
    dropLinesStartingWith(sheet, "fileinfo.location.");
    ASSERT_EQ(sheet.find("fileinfo.location"), std::string::npos);
    ASSERT_NE(sheet.find("fileinfo.visible:1"), std::string::npos);
    ASSERT_EQ(WriteFileAtomically(sheetDir.file("info.quorvane"), sheet, false), FileWriteResult::Ok);

    restartWithoutRecovery();
    ASSERT_FALSE(main->fileInfo()->isVisible());
    loadSheet(sheetDir.file("info.quorvane"));
    ASSERT_TRUE(main->fileInfo()->isVisible());
    EXPECT_TRUE(main->mainMenu().NaytaFileInfo->isChecked());
    expectOnScreen(*main->fileInfo(), "File info");
    EXPECT_FALSE(main->fileInfo()->frameGeometry().intersects(menuBarOnScreen()));
}

// The print page maximised keeps an A4 page inside the screen; restored and
// opened again it lies wholly in view at the A4 proportion, not maximised.
TEST_F(WindowsInView, PrintPageMaximisedRestoredAndReopenedStaysInView) {
    PrintPreview* page = main->printPage();
    const auto expectA4InView = [&](const std::string& what) {
        QCoreApplication::processEvents();
        expectOnScreen(*page, what);
        EXPECT_NEAR(page->height(), page->width() * std::sqrt(2.0), 1.5) << what;
        EXPECT_EQ(page->Kuva().size(), page->size()) << what;
    };
    trigger(main->mainMenu().AvaaPrintPreviewPage);
    // The widest page a user may drag it to.
    page->resize(screenArea().width(), page->height());
    expectA4InView("dragged wide");

    page->showMaximized();
    QCoreApplication::processEvents();
    expectOnScreen(*page, "maximised");
    EXPECT_LE(page->Kuva().height(), page->height());
    EXPECT_LE(page->Kuva().width(), page->width());
    EXPECT_NEAR(page->Kuva().height(), page->Kuva().width() * std::sqrt(2.0), 1.5);
    EXPECT_GT(page->Kuva().height(), page->height() - 2) << "the height is the limit";

    page->showNormal();
    expectA4InView("restored");

    page->showMaximized();
    QCoreApplication::processEvents();
    trigger(main->mainMenu().AvaaPrintPreviewPage);
    ASSERT_FALSE(page->isVisible());
    trigger(main->mainMenu().AvaaPrintPreviewPage);
    ASSERT_TRUE(page->isVisible());
    EXPECT_FALSE(page->isMaximized());
    expectA4InView("opened again");
}

// After a window was made larger than the workspace, the next one (which
// takes the size last given) is no larger than the workspace and lies in it.
TEST_F(WindowsInView, NewWindowAfterALargeOneFitsTheWorkspace) {
    WriteFcsTestFile(dataDir.file("a.fcs"), sampleFile(0));
    openFile(dataDir.file("a.fcs"));
    QMdiSubWindow* first = main->workspace()->subWindowList().value(0);
    ASSERT_NE(first, nullptr);
    const QSize view = main->workspace()->viewport()->size();
    first->resize(view.width() + 200, view.height() + 150);
    QCoreApplication::processEvents();
    for (const char* kind : {"DotPlot", "Histogram"}) {
        const int id = main->createFromMenu(kind);
        ASSERT_GT(id, 0) << kind;
        QCoreApplication::processEvents();
        const QWidget* frame = OuterWindowOf(windowAt(id));
        EXPECT_LE(frame->width(), view.width()) << kind;
        EXPECT_LE(frame->height(), view.height()) << kind;
        EXPECT_TRUE(QRect(QPoint(0, 0), main->workspace()->viewport()->size()).contains(frame->geometry())) << kind;
    }
}

// The windows of their own, opened one after another, each at its own spot:
// beside those already open while the screen has room, and every one of
// them in view and clear of the main window's title and menu bars.
TEST_F(WindowsInView, ServiceWindowsOpenedOneAfterAnotherDoNotOverlap) {
    MainMenu& menu = main->mainMenu();
    trigger(menu.AvaaPrintPreviewPage);
    trigger(menu.NaytaFileInfo);
    const QRect page = main->printPage()->frameGeometry();
    const QRect info = main->fileInfo()->frameGeometry();
    EXPECT_FALSE(page.intersects(info));
    for (QAction* item : {menu.AvaaFileBrowser, menu.AvaaWellplatebrowser, menu.AvaaFileNameHandler}) trigger(item);
    for (ServiceWindow which : AllServiceWindows) {
        QWidget* window = main->serviceWindow(which);
        if (which == ServiceWindow::AboutBox) continue;
        ASSERT_TRUE(window && window->isVisible());
        const std::string what = window->windowTitle().toStdString();
        expectOnScreen(*window, what);
        EXPECT_FALSE(window->frameGeometry().intersects(menuBarOnScreen())) << what;
        EXPECT_GT(window->frameGeometry().top(), main->geometry().top()) << what << " covers the title bar";
        // Minimised alone: it stands for no other window.
        EXPECT_EQ(window->windowHandle()->transientParent(), nullptr) << what;
    }
}

}  // namespace
}  // namespace qv::test
