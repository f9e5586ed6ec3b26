#include "app/PaaIkkuna.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <algorithm>

#include "app/Dialogs.h"
#include "app/FileOpening.h"
#include "app/PlotWindow.h"
#include "app/WindowRegistry.h"
#include "app/model/ProgramFolder.h"
#include "core/SharedState.h"

namespace qv {

namespace {

QString latin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

const QColor WorkspaceColour(34, 30, 31);

int lastWindowSlot() { return std::min<int>(g.MaxWindows, static_cast<int>(g.WindowRegistry.size()) - 1); }

// Adds the loaded items of a pop-up: item k (1-based) carries k, "-" is a separator.
void addItems(QMenu& menu, const QStringList& captions, int firstNumber) {
    int k = firstNumber;
    for (const QString& caption : captions) {
        QAction* a = caption == QStringLiteral("-") ? menu.addSeparator() : menu.addAction(caption);
        a->setData(k++);
    }
}

}  // namespace

PaaIkkuna::PaaIkkuna(QWidget* parent)
    : QMainWindow(parent),
      nappiMenu_(QStringLiteral("NappiMenu")),
      showPopulationMenu_(QStringLiteral("Show populations")),
      kanavaLista_(QStringLiteral("KanavaLista")),
      statMenu_(QStringLiteral("StatMenu")) {
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    mdi_ = new QMdiArea(central);
    layout->addWidget(mdi_, 1);
    setCentralWidget(central);

    mdi_->viewport()->setMouseTracking(true);
    mdi_->viewport()->installEventFilter(this);

    // The hidden menus: item 0 of each is designed in, the rest are loaded
    // by the window that opens the pop-up.
    showPopulationMenu_.addAction(QStringLiteral("All events"))->setData(0);
    nappiMenu_.addMenu(&showPopulationMenu_);
    kanavaLista_.addAction(QStringLiteral("Kanava"));
    statMenu_.addAction(QStringLiteral("Copy to clipboard"))->setData(0);

    setMainServices(this);
    setWindowShower([this](PlotWindow& window) { showChild(window); });
}

PaaIkkuna::~PaaIkkuna() {
    if (mainServices() == this) setMainServices(nullptr);
    setWindowShower({});
    // The child windows go with the workspace; their slots must not outlive them.
    for (int s = 1; s <= lastWindowSlot(); ++s)
        if (windowAt(s)) releaseWindowSlot(s);
}

void PaaIkkuna::MDIForm_Load() {
    // Every limit and table gets its start value; the tables are sized once.
    resetSharedState();
    setWindowTitle(QStringLiteral("Quorvane v. ") + latin1(g.VersionText));
    mdi_->setBackground(WorkspaceColour);
    show();

    showPopulationMenuCount_ = 0;
    PaivitaRegionLista();
    AutosaveEnabled = true;

    // An orderly exit deletes the autosave file, so finding one means the
    // last run ended another way.
    const QString autosave = autosaveFilePath();
    if (QFileInfo::exists(autosave)) {
        const MsgAnswer answer =
            showMessage(QStringLiteral("Quorvane was not closed properly. You want to recover the view?"),
                        QStringLiteral("Recovery"), MsgButtons::YesNo);
        if (answer == MsgAnswer::Yes && sheetReader_) sheetReader_(autosave);
    }
}

void PaaIkkuna::showChild(PlotWindow& window) {
    QMdiSubWindow* sub = mdi_->addSubWindow(&window);
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
    redrawing_ = true;
    do {
        redrawAgain_ = false;
        for (int w = 1; w <= g.MaxWindows; ++w) {
            if (g.ProgramClosing) break;
            // Looked up again for every slot: a window closed while events
            // ran is never called.
            if (PlotWindow* window = windowAt(w)) window->Piirra();
            QCoreApplication::processEvents();
        }
    } while (redrawAgain_ && !g.ProgramClosing);
    redrawing_ = false;
    if (g.ProgramClosing) return;
    PaivitaRegionLista();
    TalletaNakyma(QStringLiteral("Autosave"));
}

void PaaIkkuna::PaivitaRegionLista() { rebuildShowPopulationMenu(); }

void PaaIkkuna::rebuildShowPopulationMenu() {
    clearLoadedItems(showPopulationMenu_, 1);
    showPopulationMenuCount_ = 0;
    g.ShowPopulationMap[0] = 0;
    const int last = std::min<int>(g.membershipSlots(), PopulationTableSize - 1);
    for (int slot = 1; slot <= last; ++slot) {
        const PopulationRecord& rec = g.PopulationTable[static_cast<size_t>(slot)];
        if (!rec.InUse) continue;
        ++showPopulationMenuCount_;
        showPopulationMenu_.addAction(latin1(rec.Name))->setData(showPopulationMenuCount_);
        g.ShowPopulationMap[static_cast<size_t>(showPopulationMenuCount_)] = static_cast<int16_t>(slot);
    }
}

int PaaIkkuna::ValittuPopulaatio() const { return 0; }

int PaaIkkuna::ValittuMaaritelma() const { return 0; }

void PaaIkkuna::TalletaNakyma(const QString& mode) {
    // Nothing is written once the exit has begun: the autosave file is
    // deleted at its end and must not come back.
    if (g.ProgramClosing) return;
    if (mode == QStringLiteral("Autosave") && !AutosaveEnabled) return;
    if (sheetWriter_) sheetWriter_(mode);
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
    clearLoadedItems(nappiMenu_, 1);
    addItems(nappiMenu_, captions, 1);
    g.WindowMenuCount = static_cast<int16_t>(captions.size());
    g.PopupOwner = static_cast<int16_t>(ownerId);

    QAction* populations = showPopulationMenu_.menuAction();
    populations->setVisible(showPopulations);
    QAction* chosen = dialogs().execMenu(nappiMenu_, globalPos);
    populations->setVisible(true);
    if (!chosen) return;
    if (showPopulationMenu_.actions().contains(chosen)) {
        ShowPopulation_Click(chosen->data().toInt());
    } else if (nappiMenu_.actions().contains(chosen)) {
        Menu_Click(chosen->data().toInt());
    }
}

void PaaIkkuna::Menu_Click(int index) {
    // The owner may have closed while the menu was up.
    PlotWindow* owner = windowAt(g.PopupOwner);
    if (!owner) return;
    owner->MenuValintaReaktio(index);
    TalletaNakyma(QStringLiteral("Autosave"));
}

void PaaIkkuna::showChannelPopup(int axis, const QStringList& parameterNames, const QPoint& globalPos) {
    g.AxisPopupAxis = static_cast<int16_t>(axis);
    clearLoadedItems(kanavaLista_, 0);
    g.ChannelMenuCount = static_cast<int16_t>(std::max<qsizetype>(0, parameterNames.size() - 1));
    if (parameterNames.isEmpty()) return;  // nothing a user could choose
    addItems(kanavaLista_, parameterNames, 0);
    QAction* chosen = dialogs().execMenu(kanavaLista_, globalPos);
    if (chosen && kanavaLista_.actions().contains(chosen)) Kanava_Click(chosen->data().toInt());
}

void PaaIkkuna::Kanava_Click(int index) { g.ChosenChannel = static_cast<int16_t>(index); }

int PaaIkkuna::showStatisticsPopup(int ownerId, const QStringList& items, const QPoint& globalPos) {
    clearLoadedItems(statMenu_, 1);
    addItems(statMenu_, items, 1);
    g.StatisticsMenuCount = static_cast<int16_t>(items.size());
    g.PopupOwner = static_cast<int16_t>(ownerId);
    QAction* chosen = dialogs().execMenu(statMenu_, globalPos);
    if (!chosen || !statMenu_.actions().contains(chosen)) return -1;
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

void PaaIkkuna::SelectAll_Click() { SelectAllWindows(); }

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
    const QString autosave = autosaveFilePath();
    if (QFileInfo::exists(autosave)) QFile::remove(autosave);
    exited_ = true;
    hide();
    // Ends the event loop the program runs in. Without a running loop (tests
    // drive the window directly) there is nothing to end, and asking would
    // make every later event loop return at once.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

// ---- workspace mouse ----

void PaaIkkuna::MDIForm_MouseMove() {
    if (g.FullRedrawPending != 0) {
        const int id = g.FullRedrawPending;
        g.FullRedrawPending = 0;
        if (PlotWindow* window = windowAt(id)) window->Piirra();
    }
}

bool PaaIkkuna::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mdi_->viewport() && event->type() == QEvent::MouseMove) MDIForm_MouseMove();
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace qv
