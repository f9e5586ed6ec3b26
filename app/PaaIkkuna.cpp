#include "app/PaaIkkuna.h"
#include "app/PopupMenuItems.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <optional>

#include "app/Dialogs.h"
#include "app/FcsSaveCommands.h"
#include "app/FileInfo.h"
#include "core/picture/PictureText.h"
#include "fileutils/FileUtilityWindows.h"
#include "app/FileOpening.h"
#include "app/MenuBar.h"
#include "app/PlotWindow.h"
#include "app/PopulationPanel.h"
#include "app/PopulationPanelActions.h"
#include "app/SheetSections.h"
#include "app/SheetStore.h"
#include "app/ToolsMenu.h"
#include "app/WindowRegistry.h"
#include "app/WorkspacePlacement.h"
#include "app/model/ProgramFolder.h"
#include "app/model/ScriptFolder.h"
#include "core/SharedState.h"
#include "output/PrintPreview.h"
#include "output/Statistics.h"
#include "tools/Skripti.h"

namespace qv {

namespace {

const QColor WorkspaceColour(34, 30, 31);

int lastWindowSlot() { return std::min<int>(g.MaxWindows, static_cast<int>(g.WindowRegistry.size()) - 1); }

}  // namespace

PaaIkkuna::PaaIkkuna(QWidget* parent) : QMainWindow(parent) {
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    mdi_ = new QMdiArea(central);
    // A window outside the visible part of the workspace (the main window
    // made smaller, a sheet from a larger screen) stays reachable.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(mdi_, 1);
    setCentralWidget(central);

    menu_ = std::make_unique<MainMenu>(*this, *this);
    sheets_ = std::make_unique<SheetStore>(*this);
    sheetWriter_ = [this](const QString& mode) { sheets_->write(mode); };
    sheetReader_ = [this](const QString& path) { sheets_->load(path); };

    setMainServices(this);
    setWindowShower([this](PlotWindow& window) { showInWorkspace(window); });
    // Statistics windows are children of the workspace like the plots.
    setStatisticsWindowShower([this](Statistics& window) { showInWorkspace(window); });
}

PaaIkkuna::~PaaIkkuna() {
    if (mainServices() == this) setMainServices(nullptr);
    if (fileInfo_) setSheetSection(SheetSectionKind::FileInfo, {});
    setSheetSection(SheetSectionKind::PrintView, {});
    setWindowShower({});
    setStatisticsWindowShower({});
    // The child windows go with the workspace; their slots must not outlive them.
    for (int s = 1; s <= lastWindowSlot(); ++s)
        if (windowAt(s)) releaseWindowSlot(s);
}

QMenu& PaaIkkuna::nappiMenu() const { return *menu_->NappiMenu; }
QMenu& PaaIkkuna::showPopulationMenu() const { return *menu_->ShowPopulationMenu; }
QMenu& PaaIkkuna::kanavaLista() const { return *menu_->KanavaLista; }
QMenu& PaaIkkuna::statMenu() const { return *menu_->StatMenu; }

void PaaIkkuna::MDIForm_Load() {
    // Every limit and table gets its start value; the tables are sized once.
    resetSharedState();
    setWindowTitle(QStringLiteral("Quorvane v. ") + Latin1Text(g.VersionText));
    mdi_->setBackground(WorkspaceColour);

    // The panel builds its rows from the limits just set, starts narrow and
    // keeps the "Show populations" submenu of the window pop-up.
    if (!panel_) {
        panel_ = new PopulationPanel(centralWidget());
        centralWidget()->layout()->addWidget(panel_);
        panel_->setShowPopulationMenu(menu_->ShowPopulationMenu);
        panel_->watchWorkspace(mdi_);
        connect(panel_, &PopulationPanel::mouseMovedOverWorkspace, this, &PaaIkkuna::MDIForm_MouseMove);
        panelActions_ = new PopulationPanelActions(*panel_, this);
    }
    panel_->applyWidth();
    openAtUsefulSize();
    keepServiceWindowsAbove(*this);

    // The print page is loaded once, hidden; "Print preview" shows it. It
    // is a window of its own beside the workspace, so it never counts among
    // the analysis windows.
    if (!printPage_) {
        printPage_ = new PrintPreview(this);
        printPage_->hide();
        printPage_->setMouseMoveHandler([this] {
            if (panel_) panel_->workspaceMouseMoved();
        });
        setServiceWindow(ServiceWindow::PrintPreview, printPage_, [this] {
            if (printPage_) printPage_->Piirra();
        });
        // Its layout in the analysis sheet, behind "printview.".
        setSheetSection(SheetSectionKind::PrintView,
                        {[this] { return printPage_ ? printPage_->SaveInfo() : std::vector<std::string>{"0"}; },
                         [this](const std::string& line) {
                             if (printPage_) printPage_->LoadInfo(line);
                         },
                         {}});
    }

    // The file information window lives hidden from here on.
    if (!fileInfo_) {
        fileInfo_ = new FileInfo(this);
        fileInfo_->setMouseMoveHandler([this] {
            if (panel_) panel_->workspaceMouseMoved();
        });
        setServiceWindow(ServiceWindow::FileInfo, fileInfo_, [this] {
            if (g.ActiveWindowSlot != 0) fileInfo_->AsetaLista(g.ActiveWindowSlot, false);
        });
        // Its lines in the analysis sheet, behind "fileinfo.".
        setSheetSection(SheetSectionKind::FileInfo,
                        {[this] { return fileInfo_->SaveInfo(); },
                         [this](const std::string& line) { fileInfo_->LoadInfo(line); },
                         [this] { fileInfo_->FileInfonAsetusLatauksenJalkeen(); }});
    }

    CreateFileUtilityWindows(*this, *this, [this] {
        if (panel_) panel_->workspaceMouseMoved();
    });

    PaivitaRegionLista();
    AutosaveEnabled = true;

    // An orderly exit deletes the autosave file, so finding one means the
    // last run ended another way.
    const QString autosave = leftAutosaveFile();
    if (!autosave.isEmpty()) {
        const MsgAnswer answer =
            showMessage(QStringLiteral("Quorvane was not closed properly. You want to recover the view?"),
                        QStringLiteral("Recovery"), MsgButtons::YesNo);
        if (answer == MsgAnswer::Yes) LataaNakyma(autosave);
    }

    if (!tools_) tools_ = std::make_unique<ToolsMenu>(*menu_->MenuScript);
    tools_->BuildScriptMenu(scriptsFolderIn(programFolder()));

    // The tool window starts small and hidden; it joins the workspace the
    // first time a tool runs or shows it.
    if (!skripti_) {
        skripti_ = new Skripti(this);
        skripti_->setWorkspacePlacer([this](Skripti& tool) { addToWorkspace(*mdi_, tool); });
        skripti_->setMouseMoveHandler([this] {
            if (panel_) panel_->workspaceMouseMoved();
        });
        tools_->setLauncher([this](const ScriptMenuEntry& entry, const QString& path, const std::string& text) {
            skripti_->runScriptFile(entry, path, text);
        });
    }
    skripti_->startSmallAndHidden();
}

void PaaIkkuna::openAtUsefulSize() {
    // Most of the screen, centred: room for several plots from the start.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        const QSize size(available.width() * 9 / 10, available.height() * 9 / 10);
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, available));
    }
    show();
}

void PaaIkkuna::showInWorkspace(QWidget& window) {
    QMdiSubWindow* sub = addToWorkspace(*mdi_, window);
    // A closed window's frame is deleted by the window's own close, once no
    // handler can still be running inside it; never by the frame itself.
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->show();
}

// ---- services ----

void PaaIkkuna::PiirraKaikki() {
    if (g.ProgramClosing) return;
    // Pending events run between the windows, so a handler may ask for
    // another redraw-all meanwhile: it is folded into the one running.
    if (redrawing_) {
        redrawAgain_ = true;
        return;
    }
    {
        struct Running {
            bool& flag;
            explicit Running(bool& f) : flag(f) { flag = true; }
            ~Running() { flag = false; }
        } running(redrawing_);
        do {
            redrawAgain_ = false;
            for (int w = 1; w <= g.MaxWindows; ++w) {
                if (g.ProgramClosing) break;
                // Looked up again for every slot: a window closed while
                // events ran is never called.
                if (PlotWindow* window = windowAt(w)) window->Piirra();
                processPendingEvents();
            }
        } while (redrawAgain_ && !g.ProgramClosing);
    }
    if (g.ProgramClosing) return;
    PaivitaRegionLista();
    TalletaNakyma(QStringLiteral("Autosave"));
}

void PaaIkkuna::processPendingEvents() {
    if (g.SheetLoading || sheets_->loading())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    else
        QCoreApplication::processEvents();
}

void PaaIkkuna::PaivitaRegionLista() {
    if (panel_) panel_->PaivitaRegionLista();
}

int PaaIkkuna::ValittuPopulaatio() const { return panel_ ? panel_->ValittuPopulaatio() : 0; }

int PaaIkkuna::ValittuMaaritelma() const { return panel_ ? panel_->ValittuMaaritelma() : 0; }

void PaaIkkuna::TalletaNakyma(const QString& mode) {
    // Nothing is written once the exit has begun: the autosave file is
    // deleted at its end and must not come back.
    if (g.ProgramClosing) return;
    if (mode == QStringLiteral("Autosave")) {
        if (!AutosaveEnabled) return;
        // A sheet load writes the workspace once, at its end: a half-loaded
        // workspace never replaces the file being recovered.
        if (g.SheetLoading || sheets_->loading()) return;
        // A redraw-all writes once, when every window has drawn.
        if (redrawing_) return;
    }
    if (sheetWriter_) sheetWriter_(mode);
}

void PaaIkkuna::LataaNakyma(const QString& path) {
    if (sheetReader_) sheetReader_(path);
}

void PaaIkkuna::FileOpenView_Click() {
    const std::optional<QString> chosen = dialogs().openFileName(
        QStringLiteral("Open analysis file"), QStringLiteral("Quorvane files (*.quorvane)"), QString());
    if (chosen && !chosen->isEmpty()) LataaNakyma(*chosen);
}

bool PaaIkkuna::SeuraavaTiedosto(int id) { return ::qv::SeuraavaTiedosto(id); }

bool PaaIkkuna::EdellinenTiedosto(int id) { return ::qv::EdellinenTiedosto(id); }

// ---- pop-up exchange ----

void PaaIkkuna::clearLoadedItems(QMenu& menu, int keep) {
    const QList<QAction*> actions = menu.actions();
    for (int i = keep; i < actions.size(); ++i) {
        menu.removeAction(actions[i]);
        if (actions[i]->parent() == &menu) delete actions[i];
    }
}

void PaaIkkuna::showWindowPopup(int ownerId, const QStringList& captions, const QPoint& globalPos,
                                bool showPopulations) {
    showWindowMenu(ownerId, captions, globalPos, showPopulations, {});
}

void PaaIkkuna::showWindowPopupWithDisabled(int ownerId, const QStringList& captions, const QPoint& globalPos,
                                            const QList<int>& disabledItems) {
    showWindowMenu(ownerId, captions, globalPos, true, disabledItems);
}

void PaaIkkuna::showWindowMenu(int ownerId, const QStringList& captions, const QPoint& globalPos,
                               bool showPopulations, const QList<int>& disabledItems) {
    QMenu& menu = nappiMenu();
    clearLoadedItems(menu, 1);
    addNumberedMenuItems(menu, captions, 1);
    // Every showing loads its items anew, so an item disabled for one window
    // is enabled again for the next.
    for (QAction* a : menu.actions())
        if (a->data().isValid() && disabledItems.contains(a->data().toInt())) a->setEnabled(false);
    g.WindowMenuCount = static_cast<int16_t>(captions.size());
    g.PopupOwner = static_cast<int16_t>(ownerId);

    QAction* populations = menu_->ShowPopulationItem;
    populations->setVisible(showPopulations);
    QAction* chosen = dialogs().execMenu(menu, globalPos);
    populations->setVisible(true);
    // A "Show populations" item reaches ShowPopulation_Click through its own
    // menu; the window's items come back here.
    if (chosen && chosen != populations && menu.actions().contains(chosen)) Menu_Click(chosen->data().toInt());
}

void PaaIkkuna::Menu_Click(int index) {
    // The owner may have closed while the menu was up.
    PlotWindow* owner = windowAt(g.PopupOwner);
    if (!owner) return;
    owner->MenuValintaReaktio(index);
    TalletaNakyma(QStringLiteral("Autosave"));
}

void PaaIkkuna::showChannelPopup(int axis, const QStringList& parameterNames, const QPoint& globalPos) {
    QMenu& menu = kanavaLista();
    g.AxisPopupAxis = static_cast<int16_t>(axis);
    // Item 0 takes the first name, so it is refilled along with the rest.
    clearLoadedItems(menu, 1);
    g.ChannelMenuCount = static_cast<int16_t>(std::max<qsizetype>(0, parameterNames.size() - 1));
    if (parameterNames.isEmpty()) return;  // nothing a user could choose
    menu_->Kanava0->setText(parameterNames.front());
    menu_->Kanava0->setData(0);
    addNumberedMenuItems(menu, parameterNames.mid(1), 1);
    QAction* chosen = dialogs().execMenu(menu, globalPos);
    if (chosen && menu.actions().contains(chosen)) Kanava_Click(chosen->data().toInt());
}

void PaaIkkuna::Kanava_Click(int index) { g.ChosenChannel = static_cast<int16_t>(index); }

int PaaIkkuna::showStatisticsPopup(int ownerId, const QStringList& items, const QPoint& globalPos,
                                   const QList<int>& ticks) {
    QMenu& menu = statMenu();
    clearLoadedItems(menu, 1);
    addNumberedMenuItems(menu, items, 1, ticks);
    g.StatisticsMenuCount = static_cast<int16_t>(items.size());
    g.PopupOwner = static_cast<int16_t>(ownerId);
    QAction* chosen = dialogs().execMenu(menu, globalPos);
    if (!chosen || !menu.actions().contains(chosen)) return -1;
    // The caller acts on the choice when this returns; the autosave follows it.
    QTimer::singleShot(0, this, [this] { TalletaNakyma(QStringLiteral("Autosave")); });
    return chosen->data().toInt();
}

void PaaIkkuna::ShowPopulation_Click(int index) {
    if (index < 0 || index >= PopulationTableSize) return;
    const int slot = g.ShowPopulationMap[static_cast<size_t>(index)];
    for (int w = 1; w <= lastWindowSlot(); ++w) {
        const WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(w)];
        if (!rec.InUse || !rec.Selected || !rec.Form) continue;
        try {
            rec.Form->NaytaPopulaatio(slot);
        } catch (const MissingMemberError&) {
            // Only file windows are ever selected, and they all answer it.
        }
    }
    TalletaNakyma(QStringLiteral("Autosave"));
}

// ---- commands ----

int PaaIkkuna::createFromMenu(const std::string& type) { return createWindow(type); }

void PaaIkkuna::FileOpenFCS_Click() { ::qv::FileOpenFCS_Click(); }
void PaaIkkuna::FileNextFile_Click() { ::qv::FileNextFile_Click(); }
void PaaIkkuna::FilePreviousFile_Click() { ::qv::FilePreviousFile_Click(); }
void PaaIkkuna::FileOpenTXT_Click() { ::qv::FileOpenTXT_Click(); }
void PaaIkkuna::FileSaveFCSEiKysymysta_Click() { SaveFcsOverOriginal(); }
void PaaIkkuna::FileSaveFCS_Click() { SaveFcsAs(); }

PlotWindow* PaaIkkuna::activeChildWindow() {
    QMdiSubWindow* sub = mdi_->activeSubWindow();
    return sub ? qobject_cast<PlotWindow*>(sub->widget()) : nullptr;
}

void PaaIkkuna::CopyImages_Click() {
    // A statistics window is no plot window: it copies its grid as text and
    // is remembered under its owner's ID.
    QMdiSubWindow* sub = mdi_->activeSubWindow();
    if (auto* tool = sub ? qobject_cast<Skripti*>(sub->widget()) : nullptr) {
        tool->CopyToClipboard();
        g.LastCopiedWindow = static_cast<int16_t>(tool->AnnaID());
        return;
    }
    auto* statistics = sub ? qobject_cast<Statistics*>(sub->widget()) : nullptr;
    if (!statistics) {
        MenuCommands::CopyImages_Click();
        return;
    }
    QGuiApplication::clipboard()->clear();
    const int id = statistics->AnnaID();
    if (id == 0) return;
    statistics->CopyToClipboard();
    g.LastCopiedWindow = static_cast<int16_t>(id);
}

void PaaIkkuna::SelectAll_Click() { SelectAllWindows(); }

PrintPreview* PaaIkkuna::printPage() const { return printPage_.data(); }

void PaaIkkuna::Printtaa_Click() {
    if (printPage_) printPage_->Printtaa();
}

void PaaIkkuna::FileExit_Click() {
    if (exited_) return;
    if (showMessage(QStringLiteral("Do you really want to exit? All unsaved data will be lost."),
                    QStringLiteral("Exit the program"), MsgButtons::OkCancel) != MsgAnswer::Ok)
        return;
    UnloadAll();
    close();
}

void PaaIkkuna::closeEvent(QCloseEvent* event) {
    if (exited_) {
        event->accept();
        return;
    }
    if (showMessage(QStringLiteral("Do you really want to exit? All unsaved data will be lost."),
                    QStringLiteral("Exit the program"), MsgButtons::OkCancel) == MsgAnswer::Cancel) {
        event->ignore();
        return;
    }
    UnloadAll();
    event->accept();
}

void PaaIkkuna::UnloadAll() {
    // Drawing and autosave stop first, so nothing the windows do while they
    // unload can write the autosave file again or touch released data.
    g.ProgramClosing = true;
    // A running tool stops before its next line: it must never run a line
    // over the windows and data released here.
    g.ScriptRunning = false;
    for (int w = 1; w <= lastWindowSlot(); ++w) {
        if (PlotWindow* window = windowAt(w)) window->UnloadWindow();
    }
    // Only when no window is left that could draw is the event data released.
    const int lastFile = std::min<int>(g.MaxFiles, static_cast<int>(g.FileTable.size()) - 1);
    for (int f = 1; f <= lastFile; ++f) {
        FileRecord& file = g.FileTable[static_cast<size_t>(f)];
        file.WorkingData.release();
        file.Membership.release();
    }
    // A file that can't be deleted is left; the program ends all the same.
    for (const QString& autosave : {autosaveFilePath(), fallbackAutosaveFilePath()})
        if (!autosave.isEmpty() && QFileInfo::exists(autosave)) QFile::remove(autosave);
    exited_ = true;
    hide();
    // Ends the event loop the program runs in. Without a running loop (tests
    // drive the window directly) there is nothing to end, and asking would
    // make every later event loop return at once.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

// ---- workspace mouse ----

void PaaIkkuna::MDIForm_MouseMove() {
    // While a button is held the user is still dragging (a window frame
    // being resized): the full draw waits for the first movement after it.
    if (QGuiApplication::mouseButtons() != Qt::NoButton) return;
    if (g.FullRedrawPending != 0) {
        const int id = g.FullRedrawPending;
        g.FullRedrawPending = 0;
        if (PlotWindow* window = windowAt(id)) window->Piirra();
    }
}

}  // namespace qv
