// The menu bar as the user sees it (captions, shortcuts, ticks, first states),
// every item reaching its own command, and the commands the menu carries out
// itself: the service-window ticks, copying the active window, the
// negative-value option and the help page.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/MainServices.h"
#include "app/MenuBar.h"
#include "app/MenuCommands.h"
#include "app/PlotWindow.h"
#include "core/SharedState.h"
#include "tests/support/ScriptedDialogs.h"

namespace qv {
namespace {

// Records every command by the item's name.
class RecordingCommands : public MenuCommands {
public:
    std::vector<std::string> calls;
    PlotWindow* active = nullptr;
    std::vector<QUrl> helpPages;
    int redraws = 0;

#define QV_RECORD(name) \
    void name##_Click() override { calls.push_back(#name); }
    QV_RECORD(FileOpenFCS)
    QV_RECORD(FileNextFile)
    QV_RECORD(FilePreviousFile)
    QV_RECORD(FileOpenTXT)
    QV_RECORD(FileSaveFCSEiKysymysta)
    QV_RECORD(FileSaveFCS)
    QV_RECORD(FileOpenView)
    QV_RECORD(FileSaveView)
    QV_RECORD(MenuSaveAnalysisPackage)
    QV_RECORD(Printtaa)
    QV_RECORD(FileExit)
    QV_RECORD(SelectAll)
    QV_RECORD(CreateDotPlot)
    QV_RECORD(CreateHistogram)
    QV_RECORD(CreateHistogramModeller)
    QV_RECORD(CreateOverlayHistogram)
    QV_RECORD(Create3DPlot)
    QV_RECORD(CreateBendPlot)
    QV_RECORD(LuoFluxTracker)
    QV_RECORD(LuoProjector)
    QV_RECORD(LuoClipBook)
#undef QV_RECORD
    // The commands the menu implements itself are recorded and then run.
#define QV_RECORD_AND_RUN(name) \
    void name##_Click() override { calls.push_back(#name); MenuCommands::name##_Click(); }
    QV_RECORD_AND_RUN(AvaaFileNameHandler)
    QV_RECORD_AND_RUN(AvaaPrintPreviewPage)
    QV_RECORD_AND_RUN(CopyImages)
    QV_RECORD_AND_RUN(AsetaFastDrawLimit)
    QV_RECORD_AND_RUN(AsetaLadattavienPisteidenMaara)
    QV_RECORD_AND_RUN(KaytaNegAbsJuttua)
    QV_RECORD_AND_RUN(AvaaFileBrowser)
    QV_RECORD_AND_RUN(AvaaWellplatebrowser)
    QV_RECORD_AND_RUN(NaytaFileInfo)
    QV_RECORD_AND_RUN(AvaaHelp)
    QV_RECORD_AND_RUN(AvaaAboutLaatikko)
#undef QV_RECORD_AND_RUN
    void ShowPopulation_Click(int index) override { calls.push_back("ShowPopulation " + std::to_string(index)); }

protected:
    PlotWindow* activeChildWindow() override { return active; }
    void redrawAll() override {
        ++redraws;
        calls.push_back("redrawAll");
    }
    void openHelpPage(const QUrl& address) override { helpPages.push_back(address); }
};

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
    QAction* item(const char* name) {
        QAction* a = window.menuBar()->findChild<QAction*>(QString::fromLatin1(name));
        if (!a) ADD_FAILURE() << "no item " << name;
        return a;
    }
    QMainWindow window;
    RecordingCommands commands;
    MainMenu menu{window, commands};
    test::ScriptedDialogs dialogs;
};

TEST_F(MenuBarTest, TopLevelMenusInOrderWithTheirCaptions) {
    QStringList captions, names;
    for (QAction* a : window.menuBar()->actions()) {
        captions << a->text();
        names << a->objectName();
        EXPECT_TRUE(a->isVisible()) << a->text().toStdString();
    }
    EXPECT_EQ(captions, (QStringList{"&File", "&Edit", "View", "&Create", "&Tools", "&Help"}));
    EXPECT_EQ(names, (QStringList{"MenuFile", "MenuEdit", "MenuView", "MenuCreate", "MenuScript", "MenuHelp"}));
    // The pop-up menus of the child windows are never in the bar.
    for (const QMenu* hidden : {menu.KanavaLista, menu.NappiMenu, menu.StatMenu})
        EXPECT_FALSE(window.menuBar()->actions().contains(hidden->menuAction()));
}

struct ItemCase {
    const char* name;
    const char* caption;  // "-" for a separator
    QKeySequence shortcut;
    bool visible = true;
    bool enabled = true;
    bool tickable = false;
};

QKeySequence ctrl(Qt::Key key) { return QKeySequence(Qt::CTRL | key); }

const std::map<std::string, std::vector<ItemCase>>& expectedItems() {
    static const std::map<std::string, std::vector<ItemCase>> items = {
        {"MenuFile",
         {{"FileOpenFCS", "Open FCS...", ctrl(Qt::Key_O)},
          {"FileNextFile", "Next file", ctrl(Qt::Key_N)},
          {"FilePreviousFile", "Previous file", ctrl(Qt::Key_P)},
          {"FileOpenTXT", "Open TXT file...", {}},
          {"SaveViiva", "-", {}},
          {"FileSaveFCSEiKysymysta", "Save FCS", {}},
          {"FileSaveFCS", "Save FCS as...", {}},
          {"FileVali2", "-", {}},
          {"AvaaFileNameHandler", "File name handler", {}, true, true, true},
          {"FileVali10", "-", {}},
          {"FileOpenView", "Open analysis view...", {}},
          {"FileSaveView", "Save analysis view...", {}},
          {"MenuSaveAnalysisPackage", "Save analysis package...", {}},
          {"FileVali3", "-", {}},
          {"AvaaPrintPreviewPage", "Print preview", {}, true, true, true},
          {"Printtaa", "Print...", {}, true, false},
          {"ViivaVali8", "-", {}},
          {"FileExit", "Exit", {}}}},
        {"MenuEdit",
         {{"CopyImages", "Copy to clipboard", ctrl(Qt::Key_C)},
          {"SelectAll", "Select all", ctrl(Qt::Key_A)},
          {"EditViiva1", "-", {}},
          {"AsetaFastDrawLimit", "Set fast draw limit...", {}},
          {"AsetaLadattavienPisteidenMaara", "Set max event number...", {}},
          {"KaytaNegAbsJuttua", "Use neg value bumper", {}, false, true, true}}},
        {"MenuView",
         {{"AvaaFileBrowser", "File Browser", {}, true, true, true},
          {"AvaaWellplatebrowser", "Well plate browser", {}, true, true, true},
          {"Viiva10", "-", {}},
          {"NaytaFileInfo", "File info", ctrl(Qt::Key_I), true, true, true}}},
        {"MenuCreate",
         {{"CreateDotPlot", "Dot plot", ctrl(Qt::Key_D)},
          {"CreateHistogram", "Histogram", ctrl(Qt::Key_H)},
          {"CreateHistogramModeller", "Histogram modeller", {}},
          {"CreateOverlayHistogram", "Overlay histogram", {}},
          {"Create3DPlot", "3D Plot", {}},
          {"CreateBendPlot", "Bending plot", {}},
          {"LuoFluxTracker", "Flux tracker", {}},
          {"LuoProjector", "Projector", {}, false},
          {"LuoClipBook", "ClipBook", {}}}},
        {"MenuScript", {}},
        {"MenuHelp",
         {{"AvaaHelp", "Online Help", QKeySequence(Qt::Key_F1)},
          {"AvaaAboutLaatikko", "About Quorvane", {}}}},
    };
    return items;
}

TEST_F(MenuBarTest, EveryItemHasItsCaptionShortcutTickAndFirstState) {
    for (QAction* top : window.menuBar()->actions()) {
        const std::string menuName = top->objectName().toStdString();
        SCOPED_TRACE(menuName);
        ASSERT_TRUE(expectedItems().count(menuName));
        const std::vector<ItemCase>& want = expectedItems().at(menuName);
        const QList<QAction*> got = top->menu()->actions();
        ASSERT_EQ(got.size(), static_cast<qsizetype>(want.size()));
        for (size_t i = 0; i < want.size(); ++i) {
            const ItemCase& w = want[i];
            QAction* a = got[static_cast<qsizetype>(i)];
            SCOPED_TRACE(w.name);
            EXPECT_EQ(a->objectName().toStdString(), w.name);
            if (std::string(w.caption) == "-") {
                EXPECT_TRUE(a->isSeparator());
                continue;
            }
            EXPECT_FALSE(a->isSeparator());
            EXPECT_EQ(a->text().toStdString(), w.caption);
            EXPECT_EQ(a->shortcut(), w.shortcut);
            EXPECT_EQ(a->isVisible(), w.visible);
            if (w.visible) EXPECT_EQ(a->isEnabled(), w.enabled);  // Qt reports a hidden item as disabled
            EXPECT_EQ(a->isCheckable(), w.tickable);
            EXPECT_FALSE(a->isChecked());  // every tick starts off
        }
    }
}

TEST_F(MenuBarTest, HiddenPopupMenusHoldTheirFirstItems) {
    EXPECT_EQ(menu.KanavaLista->title(), "KanavaLista");
    ASSERT_EQ(menu.KanavaLista->actions().size(), 1);
    EXPECT_EQ(menu.KanavaLista->actions()[0]->text(), "Kanava");

    EXPECT_EQ(menu.NappiMenu->title(), "NappiMenu");
    ASSERT_EQ(menu.NappiMenu->actions().size(), 1);
    EXPECT_EQ(menu.NappiMenu->actions()[0]->menu(), menu.ShowPopulationMenu);
    EXPECT_EQ(menu.ShowPopulationMenu->title(), "Show populations");
    EXPECT_EQ(test::ScriptedDialogs::menuCaptions(*menu.NappiMenu),
              (QStringList{"Show populations", "Show populations/All events"}));

    EXPECT_EQ(menu.StatMenu->title(), "StatMenu");
    ASSERT_EQ(menu.StatMenu->actions().size(), 1);
    EXPECT_EQ(menu.StatMenu->actions()[0]->text(), "Copy to clipboard");
}

TEST_F(MenuBarTest, EachItemReachesItsOwnCommand) {
    // Commands whose work lies elsewhere: one call each, nothing else.
    const std::vector<const char*> names = {
        "FileOpenFCS", "FileNextFile", "FilePreviousFile", "FileOpenTXT", "FileSaveFCSEiKysymysta",
        "FileSaveFCS", "FileOpenView", "FileSaveView", "MenuSaveAnalysisPackage", "FileExit", "SelectAll",
        "CreateDotPlot", "CreateHistogram", "CreateHistogramModeller", "CreateOverlayHistogram", "Create3DPlot",
        "CreateBendPlot", "LuoFluxTracker", "LuoProjector", "LuoClipBook", "AvaaFileNameHandler",
        "AvaaPrintPreviewPage", "AvaaFileBrowser", "AvaaWellplatebrowser", "NaytaFileInfo", "AvaaAboutLaatikko",
        "CopyImages", "AvaaHelp"};
    for (const char* name : names) {
        commands.calls.clear();
        QAction* a = item(name);
        ASSERT_NE(a, nullptr);
        a->trigger();
        ASSERT_FALSE(commands.calls.empty()) << name;
        EXPECT_EQ(commands.calls.front(), name);
        // No service window is bound: nothing is shown, so nothing is ticked.
        EXPECT_FALSE(a->isChecked()) << name;
    }
    // "Print..." is disabled at start: a user can't reach it, but the item
    // still routes to its command once enabled.
    commands.calls.clear();
    menu.Printtaa->setEnabled(true);
    menu.Printtaa->trigger();
    EXPECT_EQ(commands.calls, std::vector<std::string>{"Printtaa"});
}

TEST_F(MenuBarTest, ShowPopulationsItemsReachTheCommandWithTheirNumber) {
    menu.ShowPopulationAllEvents->trigger();
    QAction* loaded = menu.ShowPopulationMenu->addAction("Poly-1");
    loaded->setData(1);
    loaded->trigger();
    EXPECT_EQ(commands.calls, (std::vector<std::string>{"ShowPopulation 0", "ShowPopulation 1"}));
}

// ---- service windows ----

struct ServiceCase {
    ServiceWindow which;
    const char* item;
};
void PrintTo(const ServiceCase& c, std::ostream* os) { *os << c.item; }

class ServiceWindowTicks : public MenuBarTest, public ::testing::WithParamInterface<ServiceCase> {};

TEST_P(ServiceWindowTicks, TickFollowsTheWindowAndItsCloseBoxOnlyHidesIt) {
    const ServiceCase c = GetParam();
    QWidget service;
    int shownCalls = 0;
    commands.setServiceWindow(c.which, &service, [&] { ++shownCalls; });
    QAction* a = item(c.item);
    ASSERT_NE(a, nullptr);

    // Opened from the menu while the main window has the keyboard, it takes it.
    window.show();
    QApplication::setActiveWindow(&window);
    a->trigger();
    EXPECT_TRUE(service.isVisible());
    EXPECT_TRUE(a->isChecked());
    EXPECT_EQ(shownCalls, 1);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&service, 1000));

    a->trigger();
    EXPECT_FALSE(service.isVisible());
    EXPECT_FALSE(a->isChecked());
    EXPECT_EQ(shownCalls, 1);

    // Shown again, then closed with its own close box: hidden, unticked, kept.
    a->trigger();
    EXPECT_TRUE(a->isChecked());
    EXPECT_FALSE(service.close());  // refused: it only hides
    EXPECT_FALSE(service.isVisible());
    EXPECT_FALSE(a->isChecked());
    a->trigger();
    EXPECT_TRUE(service.isVisible());
    EXPECT_TRUE(a->isChecked());
    EXPECT_EQ(shownCalls, 3);
}

INSTANTIATE_TEST_SUITE_P(Items, ServiceWindowTicks,
                         ::testing::Values(ServiceCase{ServiceWindow::FileNameHandler, "AvaaFileNameHandler"},
                                           ServiceCase{ServiceWindow::PrintPreview, "AvaaPrintPreviewPage"},
                                           ServiceCase{ServiceWindow::FileBrowser, "AvaaFileBrowser"},
                                           ServiceCase{ServiceWindow::WellPlateBrowser, "AvaaWellplatebrowser"},
                                           ServiceCase{ServiceWindow::FileInfo, "NaytaFileInfo"}),
                         [](const auto& info) { return std::string(info.param.item); });

TEST_F(MenuBarTest, PrintIsEnabledExactlyWhileThePageIsShownAndWindowsRedrawBeforeThePage) {
    QWidget page;
    commands.setServiceWindow(ServiceWindow::PrintPreview, &page, [&] { commands.calls.push_back("page drawn"); });
    menu.AvaaPrintPreviewPage->trigger();
    EXPECT_TRUE(menu.Printtaa->isEnabled());
    EXPECT_EQ(commands.calls, (std::vector<std::string>{"AvaaPrintPreviewPage", "redrawAll", "page drawn"}));

    menu.AvaaPrintPreviewPage->trigger();
    EXPECT_FALSE(menu.Printtaa->isEnabled());

    menu.AvaaPrintPreviewPage->trigger();
    page.close();  // the page's own close box
    EXPECT_FALSE(menu.Printtaa->isEnabled());
    EXPECT_FALSE(menu.AvaaPrintPreviewPage->isChecked());
}

TEST_F(MenuBarTest, APageShownOrHiddenByOtherCodeKeepsTickAndPrintWithIt) {
    // An analysis sheet shows the print page without the menu: the tick and
    // "Print..." follow it all the same.
    QWidget page;
    commands.setServiceWindow(ServiceWindow::PrintPreview, &page);
    page.show();
    EXPECT_TRUE(menu.AvaaPrintPreviewPage->isChecked());
    EXPECT_TRUE(menu.Printtaa->isEnabled());
    page.hide();
    EXPECT_FALSE(menu.AvaaPrintPreviewPage->isChecked());
    EXPECT_FALSE(menu.Printtaa->isEnabled());

    QWidget info;
    commands.setServiceWindow(ServiceWindow::FileInfo, &info);
    info.show();
    EXPECT_TRUE(menu.NaytaFileInfo->isChecked());
    menu.NaytaFileInfo->trigger();  // the next click hides it
    EXPECT_FALSE(info.isVisible());
    EXPECT_FALSE(menu.NaytaFileInfo->isChecked());
}

TEST_F(MenuBarTest, ServiceWindowsCloseForRealOnceShutdownBegan) {
    QWidget service;
    commands.setServiceWindow(ServiceWindow::FileBrowser, &service);
    menu.AvaaFileBrowser->trigger();
    g.ProgramClosing = true;
    EXPECT_TRUE(service.close());
    EXPECT_FALSE(service.isVisible());
}

TEST_F(MenuBarTest, AboutBoxIsCentredOnTheMainWindowAndNotModal) {
    window.setGeometry(100, 100, 800, 600);
    window.show();
    QWidget box;
    box.resize(200, 100);
    commands.setServiceWindow(ServiceWindow::AboutBox, &box);
    menu.AvaaAboutLaatikko->trigger();
    EXPECT_TRUE(box.isVisible());
    EXPECT_FALSE(box.isModal());
    const QPoint mainCentre = window.mapToGlobal(QPoint(window.width() / 2, window.height() / 2));
    EXPECT_EQ(box.pos(), QPoint(mainCentre.x() - 100, mainCentre.y() - 50));
}

// ---- copy, negative values, help ----

class CopyWindow : public PlotWindow {
public:
    explicit CopyWindow(int id) : id_(id) {}
    void Alusta(int id) override { id_ = id; }
    void Piirra() override {}
    int AnnaID() const override { return id_; }
    void UnloadWindow() override {}
    void MenuValintaReaktio(int) override {}
    void CopyToClipboard() override {
        ++copies;
        QApplication::clipboard()->setText("picture of " + QString::number(id_));
    }
    std::vector<std::string> SaveInfo() override { return {"0"}; }
    void LoadInfo(const std::string&) override {}
    int copies = 0;

private:
    int id_;
};

TEST_F(MenuBarTest, CopyToClipboardCopiesTheActiveWindowAndRemembersIt) {
    CopyWindow plot(7);
    commands.active = &plot;
    QApplication::clipboard()->setText("old");
    menu.CopyImages->trigger();
    EXPECT_EQ(plot.copies, 1);
    EXPECT_EQ(g.LastCopiedWindow, 7);
    EXPECT_EQ(QApplication::clipboard()->text(), "picture of 7");
}

TEST_F(MenuBarTest, CopyToClipboardWithoutAWindowToCopyEmptiesTheClipboardOnly) {
    g.LastCopiedWindow = 3;
    // A window that answers ID 0 (browsers, the about box) copies nothing.
    CopyWindow browser(0);
    commands.active = &browser;
    QApplication::clipboard()->setText("old");
    menu.CopyImages->trigger();
    EXPECT_EQ(browser.copies, 0);
    EXPECT_EQ(g.LastCopiedWindow, 3);
    EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());

    // No active window at all.
    commands.active = nullptr;
    QApplication::clipboard()->setText("old");
    menu.CopyImages->trigger();
    EXPECT_EQ(g.LastCopiedWindow, 3);
    EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());
}

TEST_F(MenuBarTest, NegativeValueBumperTogglesTheOptionAndRedrawsEveryWindow) {
    menu.KaytaNegAbsJuttua->trigger();
    EXPECT_TRUE(g.UseNegativeAbs);
    EXPECT_TRUE(menu.KaytaNegAbsJuttua->isChecked());
    EXPECT_EQ(commands.redraws, 1);
    menu.KaytaNegAbsJuttua->trigger();
    EXPECT_FALSE(g.UseNegativeAbs);
    EXPECT_FALSE(menu.KaytaNegAbsJuttua->isChecked());
    EXPECT_EQ(commands.redraws, 2);
    EXPECT_FALSE(menu.KaytaNegAbsJuttua->isVisible());  // stays hidden
}

TEST_F(MenuBarTest, OnlineHelpOpensTheHelpPageWithoutADialog) {
    menu.AvaaHelp->trigger();
    ASSERT_EQ(commands.helpPages.size(), 1u);
    EXPECT_EQ(commands.helpPages[0], onlineHelpAddress());
    EXPECT_TRUE(commands.helpPages[0].isLocalFile());
    // The page is shipped next to the program and is a page of its own.
    QFile page(commands.helpPages[0].toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << page.fileName().toStdString();
    EXPECT_TRUE(page.readAll().contains("<title>Quorvane help</title>"));
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST(OnlineHelp, TheMainWindowsCommandGoesThroughTheInstalledOpener) {
    QMainWindow window;
    MenuCommands plain;  // as the main window has it: openHelpPage not overridden
    MainMenu menu(window, plain);
    std::vector<QUrl> opened;
    setHelpPageOpener([&](const QUrl& url) { opened.push_back(url); });
    menu.AvaaHelp->trigger();
    setHelpPageOpener({});
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], onlineHelpAddress());
    // Without an opener the offscreen platform starts nothing.
    menu.AvaaHelp->trigger();
    EXPECT_EQ(opened.size(), 1u);
}

// With no browser to start, the user is told where the help page is.
TEST(OnlineHelp, NoBrowserShowsTheHelpPagesPath) {
    struct NoBrowser : MenuCommands {
        int tries = 0;
        bool startBrowser(const QUrl&) override {
            ++tries;
            return false;
        }
    };
    QMainWindow window;
    NoBrowser commands;
    MainMenu menu(window, commands);
    test::ScriptedDialogs dlg;
    dlg.expectMessage("No web browser could be started to show the help page. The page is at:\n" +
                          onlineHelpAddress().toLocalFile(),
                      "Online Help", MsgAnswer::Ok);
    menu.AvaaHelp->trigger();
    dlg.finish();
    EXPECT_EQ(commands.tries, 1);
}

TEST(MenuBarLifetime, CommandsForgetAMenuThatIsGone) {
    RecordingCommands commands;
    {
        QMainWindow window;
        MainMenu menu(window, commands);
        EXPECT_EQ(commands.menu(), &menu);
    }
    EXPECT_EQ(commands.menu(), nullptr);
    // Commands that keep ticks still run without a menu.
    resetSharedState();
    commands.KaytaNegAbsJuttua_Click();
    EXPECT_TRUE(g.UseNegativeAbs);
    commands.NaytaFileInfo_Click();
}

}  // namespace
}  // namespace qv
