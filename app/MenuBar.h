#pragma once
// The main window's menu bar: every menu and item with its caption, shortcut,
// tick and first enabled/visible state, and the hidden menus that serve as the
// child windows' pop-ups. Each item reaches one member of MenuCommands; the
// main window derives from MenuCommands and implements what belongs to it.
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;

namespace qv {

class MenuCommands;

class MainMenu {
public:
    // Builds every menu into `bar` and routes the items to `commands`
    // (neither is owned; both must outlive this object). The hidden pop-up
    // menus are owned by this object.
    MainMenu(QMenuBar& bar, MenuCommands& commands);
    // Same, into the window's own menu bar.
    MainMenu(QMainWindow& window, MenuCommands& commands);
    ~MainMenu();
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    QMenuBar* bar = nullptr;

    // "&File"
    QMenu* MenuFile = nullptr;
    QAction* FileOpenFCS = nullptr;
    QAction* FileNextFile = nullptr;
    QAction* FilePreviousFile = nullptr;
    QAction* FileOpenTXT = nullptr;
    QAction* SaveViiva = nullptr;
    QAction* FileSaveFCSEiKysymysta = nullptr;
    QAction* FileSaveFCS = nullptr;
    QAction* FileVali2 = nullptr;
    QAction* AvaaFileNameHandler = nullptr;
    QAction* FileVali10 = nullptr;
    QAction* FileOpenView = nullptr;
    QAction* FileSaveView = nullptr;
    QAction* MenuSaveAnalysisPackage = nullptr;
    QAction* FileVali3 = nullptr;
    QAction* AvaaPrintPreviewPage = nullptr;
    QAction* Printtaa = nullptr;
    QAction* ViivaVali8 = nullptr;
    QAction* FileExit = nullptr;

    // "&Edit"
    QMenu* MenuEdit = nullptr;
    QAction* CopyImages = nullptr;
    QAction* SelectAll = nullptr;
    QAction* EditViiva1 = nullptr;
    QAction* AsetaFastDrawLimit = nullptr;
    QAction* AsetaLadattavienPisteidenMaara = nullptr;
    QAction* KaytaNegAbsJuttua = nullptr;

    // "View"
    QMenu* MenuView = nullptr;
    QAction* AvaaFileBrowser = nullptr;
    QAction* AvaaWellplatebrowser = nullptr;
    QAction* Viiva10 = nullptr;
    QAction* NaytaFileInfo = nullptr;

    // "&Create"
    QMenu* MenuCreate = nullptr;
    QAction* CreateDotPlot = nullptr;
    QAction* CreateHistogram = nullptr;
    QAction* CreateHistogramModeller = nullptr;
    QAction* CreateOverlayHistogram = nullptr;
    QAction* Create3DPlot = nullptr;
    QAction* CreateBendPlot = nullptr;
    QAction* LuoFluxTracker = nullptr;
    QAction* LuoProjector = nullptr;
    QAction* LuoClipBook = nullptr;

    // "&Tools": filled with one item per tool script (ToolsMenu).
    QMenu* MenuScript = nullptr;

    // "&Help"
    QMenu* MenuHelp = nullptr;
    QAction* AvaaHelp = nullptr;
    QAction* AvaaAboutLaatikko = nullptr;

    // Hidden menus, never in the bar: the pop-ups of the child windows.
    // NappiMenu's first item is the submenu "Show populations"
    // (ShowPopulationMenu), whose first item is "All events"; the panel
    // loads one item per slot in use after it. Choosing item k of that
    // submenu (its data() is k) reaches MenuCommands::ShowPopulation_Click(k).
    QMenu* KanavaLista = nullptr;
    QAction* Kanava0 = nullptr;
    QMenu* NappiMenu = nullptr;
    QMenu* ShowPopulationMenu = nullptr;
    QAction* ShowPopulationItem = nullptr;  // NappiMenu's item 0 that opens ShowPopulationMenu
    QAction* ShowPopulationAllEvents = nullptr;
    QMenu* StatMenu = nullptr;
    QAction* StatisticsMenuCopy = nullptr;

private:
    void build(MenuCommands& commands);
    MenuCommands* commands_ = nullptr;
};

}  // namespace qv
