#include "app/MenuBar.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/MenuCommands.h"

namespace qv {
namespace {

QMenu* addMenu(QMenuBar& bar, const char* caption, const char* name) {
    QMenu* menu = bar.addMenu(QString::fromLatin1(caption));
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

template <typename Handler>
QAction* addItem(QMenu* menu, const char* caption, const char* name, MenuCommands& commands, Handler handler,
                 const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    QObject::connect(action, &QAction::triggered, menu, [&commands, handler] { (commands.*handler)(); });
    return action;
}

// An item with a tick: the command sets the tick itself, so a click on an
// item whose window does not exist leaves it unticked.
template <typename Handler>
QAction* addTickItem(QMenu* menu, const char* caption, const char* name, MenuCommands& commands, Handler handler,
                     const QKeySequence& shortcut = {}) {
    QAction* action = addItem(menu, caption, name, commands, handler, shortcut);
    action->setCheckable(true);
    action->setChecked(false);
    return action;
}

QAction* addSeparator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

MainMenu::MainMenu(QMenuBar& menuBar, MenuCommands& commands) : bar(&menuBar) { build(commands); }

MainMenu::MainMenu(QMainWindow& window, MenuCommands& commands) : bar(window.menuBar()) { build(commands); }

MainMenu::~MainMenu() {
    if (commands_ && commands_->menu() == this) commands_->attachMenu(nullptr);
    delete KanavaLista;
    delete NappiMenu;  // owns ShowPopulationMenu
    delete StatMenu;
}

void MainMenu::build(MenuCommands& c) {
    using C = MenuCommands;
    commands_ = &c;
    c.attachMenu(this);

    MenuFile = addMenu(*bar, "&File", "MenuFile");
    FileOpenFCS = addItem(MenuFile, "Open FCS...", "FileOpenFCS", c, &C::FileOpenFCS_Click, QKeySequence(Qt::CTRL | Qt::Key_O));
    FileNextFile = addItem(MenuFile, "Next file", "FileNextFile", c, &C::FileNextFile_Click, QKeySequence(Qt::CTRL | Qt::Key_N));
    FilePreviousFile = addItem(MenuFile, "Previous file", "FilePreviousFile", c, &C::FilePreviousFile_Click,
                               QKeySequence(Qt::CTRL | Qt::Key_P));
    FileOpenTXT = addItem(MenuFile, "Open TXT file...", "FileOpenTXT", c, &C::FileOpenTXT_Click);
    SaveViiva = addSeparator(MenuFile, "SaveViiva");
    FileSaveFCSEiKysymysta = addItem(MenuFile, "Save FCS", "FileSaveFCSEiKysymysta", c, &C::FileSaveFCSEiKysymysta_Click);
    FileSaveFCS = addItem(MenuFile, "Save FCS as...", "FileSaveFCS", c, &C::FileSaveFCS_Click);
    FileVali2 = addSeparator(MenuFile, "FileVali2");
    AvaaFileNameHandler = addTickItem(MenuFile, "File name handler", "AvaaFileNameHandler", c, &C::AvaaFileNameHandler_Click);
    FileVali10 = addSeparator(MenuFile, "FileVali10");
    FileOpenView = addItem(MenuFile, "Open analysis view...", "FileOpenView", c, &C::FileOpenView_Click);
    FileSaveView = addItem(MenuFile, "Save analysis view...", "FileSaveView", c, &C::FileSaveView_Click);
    MenuSaveAnalysisPackage = addItem(MenuFile, "Save analysis package...", "MenuSaveAnalysisPackage", c,
                                      &C::MenuSaveAnalysisPackage_Click);
    FileVali3 = addSeparator(MenuFile, "FileVali3");
    AvaaPrintPreviewPage = addTickItem(MenuFile, "Print preview", "AvaaPrintPreviewPage", c, &C::AvaaPrintPreviewPage_Click);
    Printtaa = addItem(MenuFile, "Print...", "Printtaa", c, &C::Printtaa_Click);
    Printtaa->setEnabled(false);  // only while the print page is shown
    ViivaVali8 = addSeparator(MenuFile, "ViivaVali8");
    FileExit = addItem(MenuFile, "Exit", "FileExit", c, &C::FileExit_Click);

    MenuEdit = addMenu(*bar, "&Edit", "MenuEdit");
    CopyImages = addItem(MenuEdit, "Copy to clipboard", "CopyImages", c, &C::CopyImages_Click, QKeySequence(Qt::CTRL | Qt::Key_C));
    SelectAll = addItem(MenuEdit, "Select all", "SelectAll", c, &C::SelectAll_Click, QKeySequence(Qt::CTRL | Qt::Key_A));
    EditViiva1 = addSeparator(MenuEdit, "EditViiva1");
    AsetaFastDrawLimit = addItem(MenuEdit, "Set fast draw limit...", "AsetaFastDrawLimit", c, &C::AsetaFastDrawLimit_Click);
    AsetaLadattavienPisteidenMaara = addItem(MenuEdit, "Set max event number...", "AsetaLadattavienPisteidenMaara", c,
                                             &C::AsetaLadattavienPisteidenMaara_Click);
    KaytaNegAbsJuttua = addTickItem(MenuEdit, "Use neg value bumper", "KaytaNegAbsJuttua", c, &C::KaytaNegAbsJuttua_Click);
    KaytaNegAbsJuttua->setVisible(false);  // hidden for the whole run

    MenuView = addMenu(*bar, "View", "MenuView");
    AvaaFileBrowser = addTickItem(MenuView, "File Browser", "AvaaFileBrowser", c, &C::AvaaFileBrowser_Click);
    AvaaWellplatebrowser = addTickItem(MenuView, "Well plate browser", "AvaaWellplatebrowser", c, &C::AvaaWellplatebrowser_Click);
    Viiva10 = addSeparator(MenuView, "Viiva10");
    NaytaFileInfo = addTickItem(MenuView, "File info", "NaytaFileInfo", c, &C::NaytaFileInfo_Click, QKeySequence(Qt::CTRL | Qt::Key_I));

    MenuCreate = addMenu(*bar, "&Create", "MenuCreate");
    CreateDotPlot = addItem(MenuCreate, "Dot plot", "CreateDotPlot", c, &C::CreateDotPlot_Click, QKeySequence(Qt::CTRL | Qt::Key_D));
    CreateHistogram = addItem(MenuCreate, "Histogram", "CreateHistogram", c, &C::CreateHistogram_Click,
                              QKeySequence(Qt::CTRL | Qt::Key_H));
    CreateHistogramModeller = addItem(MenuCreate, "Histogram modeller", "CreateHistogramModeller", c,
                                      &C::CreateHistogramModeller_Click);
    CreateOverlayHistogram = addItem(MenuCreate, "Overlay histogram", "CreateOverlayHistogram", c, &C::CreateOverlayHistogram_Click);
    Create3DPlot = addItem(MenuCreate, "3D Plot", "Create3DPlot", c, &C::Create3DPlot_Click);
    CreateBendPlot = addItem(MenuCreate, "Bending plot", "CreateBendPlot", c, &C::CreateBendPlot_Click);
    LuoFluxTracker = addItem(MenuCreate, "Flux tracker", "LuoFluxTracker", c, &C::LuoFluxTracker_Click);
    LuoProjector = addItem(MenuCreate, "Projector", "LuoProjector", c, &C::LuoProjector_Click);
    LuoProjector->setVisible(false);  // hidden for the whole run
    LuoClipBook = addItem(MenuCreate, "ClipBook", "LuoClipBook", c, &C::LuoClipBook_Click);

    MenuScript = addMenu(*bar, "&Tools", "MenuScript");

    MenuHelp = addMenu(*bar, "&Help", "MenuHelp");
    AvaaHelp = addItem(MenuHelp, "Online Help", "AvaaHelp", c, &C::AvaaHelp_Click, QKeySequence(Qt::Key_F1));
    AvaaAboutLaatikko = addItem(MenuHelp, "About Quorvane", "AvaaAboutLaatikko", c, &C::AvaaAboutLaatikko_Click);

    // The hidden pop-up menus. They have no parent so that nothing shows
    // them in the bar; this object deletes them.
    KanavaLista = new QMenu(QStringLiteral("KanavaLista"));
    KanavaLista->setObjectName(QStringLiteral("KanavaLista"));
    Kanava0 = KanavaLista->addAction(QStringLiteral("Kanava"));
    Kanava0->setObjectName(QStringLiteral("Kanava"));

    NappiMenu = new QMenu(QStringLiteral("NappiMenu"));
    NappiMenu->setObjectName(QStringLiteral("NappiMenu"));
    ShowPopulationMenu = new QMenu(QStringLiteral("Show populations"), NappiMenu);
    ShowPopulationMenu->setObjectName(QStringLiteral("ShowPopulation"));
    ShowPopulationItem = NappiMenu->addMenu(ShowPopulationMenu);
    ShowPopulationItem->setObjectName(QStringLiteral("Menu"));
    ShowPopulationAllEvents = ShowPopulationMenu->addAction(QStringLiteral("All events"));
    ShowPopulationAllEvents->setObjectName(QStringLiteral("ShowPopulation"));
    ShowPopulationAllEvents->setData(0);
    // Every item of the submenu, also those the panel loads later, carries
    // its item number in data().
    QObject::connect(ShowPopulationMenu, &QMenu::triggered, ShowPopulationMenu,
                     [&c](QAction* action) { c.ShowPopulation_Click(action->data().toInt()); });

    StatMenu = new QMenu(QStringLiteral("StatMenu"));
    StatMenu->setObjectName(QStringLiteral("StatMenu"));
    StatisticsMenuCopy = StatMenu->addAction(QStringLiteral("Copy to clipboard"));
    StatisticsMenuCopy->setObjectName(QStringLiteral("StatisticsMenu"));
}

}  // namespace qv
