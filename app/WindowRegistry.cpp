#include "app/WindowRegistry.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <QString>

#include <algorithm>
#include <map>

#include "app/Dialogs.h"
#include "app/MainServices.h"
#include "app/PlotWindow.h"
#include "app/WorkspacePlacement.h"
#include "core/SharedState.h"

namespace qv {

namespace {

std::map<std::string, WindowMaker>& makers() {
    static std::map<std::string, WindowMaker> table;
    return table;
}

WindowShower& shower() {
    static WindowShower s;
    return s;
}

// What the creator does around Alusta for each kind.
struct KindSteps {
    const char* type;
    bool deselectsOthers;
    bool autosaves;
};

constexpr KindSteps kindSteps[] = {
    {"DotPlot", true, true},          {"Histogram", true, true},        {"Histogram Modeller", false, true},
    {"Overlay Histogram", false, true}, {"3D Plot", true, true},        {"BendPlot", true, true},
    {"FluxTracker", false, false},    {"Projector", false, false},      {"ClipBook", false, true},
    {"DAD", true, false},             {"Mirror Histogram", false, false},
};

KindSteps stepsFor(const std::string& type) {
    for (const KindSteps& k : kindSteps)
        if (type == k.type) return k;
    return {nullptr, false, false};
}

int lastSlot() {
    return std::min<int>(g.MaxWindows, static_cast<int>(g.WindowRegistry.size()) - 1);
}

bool validSlot(int id) { return id >= 1 && id <= lastSlot(); }

QString selectedPrefix() { return QString::fromLatin1(g.SelectedPrefix.data(), static_cast<qsizetype>(g.SelectedPrefix.size())); }

// The window the user sees as the active one: the workspace's current child,
// or a window of its own that is active.
bool isActiveWindowOfItsKind(const PlotWindow& window) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window.parentWidget())) {
        const QMdiArea* area = frame->mdiArea();
        return area && area->currentSubWindow() == frame;
    }
    return window.isWindow() && window.isActiveWindow();
}

// The creation sequence into a slot already known to be free.
bool createInto(const std::string& type, int slot) {
    auto it = makers().find(type);
    if (it == makers().end() || !it->second) return false;

    WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(slot)];
    // The slot is taken before anything else runs, so a window made or
    // initialised meanwhile can never be given the same ID. Nothing of the
    // slot's last window is left in it (whether it showed a file, which one).
    rec = WindowRecord{};
    rec.InUse = true;
    rec.Type = type;
    PlotWindow* window = it->second();
    if (!window) {
        releaseWindowSlot(slot);
        return false;
    }
    rec.Form = window;
    // A window destroyed without going through its own unload must not stay
    // reachable through the registry.
    QObject::connect(window, &QObject::destroyed, [slot, window] {
        if (validSlot(slot) && g.WindowRegistry[static_cast<size_t>(slot)].Form == window) releaseWindowSlot(slot);
    });

    if (shower())
        shower()(*window);
    else
        window->show();

    const KindSteps steps = stepsFor(type);
    if (steps.deselectsOthers) DeselectAllWindows();
    QPointer<PlotWindow> guard(window);
    window->Alusta(slot);
    // Alusta gave the window its size; a sheet or a tool may place it later.
    if (guard) keepInsideWorkspace(*window);
    // Shown before Alusta, the window became the active one while it could
    // not yet act on it: its activation step runs now.
    if (guard && windowAt(slot) == window && isActiveWindowOfItsKind(*window)) window->onActivated();
    if (steps.autosaves && guard) {
        if (MainServices* services = mainServices()) services->TalletaNakyma(QStringLiteral("Autosave"));
    }
    return true;
}

}  // namespace

void registerWindowKind(const std::string& type, WindowMaker maker) { makers()[type] = std::move(maker); }

bool hasWindowKind(const std::string& type) {
    auto it = makers().find(type);
    return it != makers().end() && it->second;
}

void setWindowShower(WindowShower s) { shower() = std::move(s); }

int firstFreeWindowSlot() {
    for (int s = 1; s <= lastSlot(); ++s)
        if (!g.WindowRegistry[static_cast<size_t>(s)].InUse) return s;
    return 0;
}

int createWindow(const std::string& type) {
    if (!hasWindowKind(type)) return 0;
    const int slot = firstFreeWindowSlot();
    if (slot == 0) {
        showMessage(QStringLiteral("You can create only ") + QString::number(g.MaxWindows) +
                        QStringLiteral(" windows at a time."),
                    QStringLiteral("Max number of windows"), MsgButtons::Ok);
        return 0;
    }
    return createInto(type, slot) ? slot : 0;
}

bool createWindowInSlot(const std::string& type, int slot) {
    if (!validSlot(slot) || g.WindowRegistry[static_cast<size_t>(slot)].InUse) return false;
    return createInto(type, slot);
}

PlotWindow* windowAt(int id) {
    if (!validSlot(id)) return nullptr;
    const WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(id)];
    return rec.InUse ? rec.Form : nullptr;
}

namespace {

// Sets a file window's caption from its own, with or without the selection
// prefix. A window that has no caption of its own keeps the one it shows.
void setSelectionCaption(PlotWindow* window, bool selected) {
    if (!window) return;
    try {
        window->setWindowTitle((selected ? selectedPrefix() : QString()) + window->AnnaOtsikko());
    } catch (const MissingMemberError&) {
    }
}

}  // namespace

void DeselectAllWindows() {
    for (int s = 1; s <= lastSlot(); ++s) {
        WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(s)];
        if (!rec.InUse || !rec.ShowsFile) continue;
        rec.Selected = false;
        setSelectionCaption(rec.Form, false);
    }
}

void SelectAllWindows() {
    for (int s = 1; s <= lastSlot(); ++s) {
        WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(s)];
        if (!rec.InUse || !rec.ShowsFile) continue;
        rec.Selected = true;
        setSelectionCaption(rec.Form, true);
    }
}

void releaseWindowSlot(int id) {
    if (!validSlot(id)) return;
    WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(id)];
    rec.InUse = false;
    rec.Form = nullptr;
    rec.FileIndex = 0;
}

void activateFileWindow(int id) {
    if (g.SheetLoading) return;
    PlotWindow* window = windowAt(id);
    if (!window) return;
    if (!g.ShiftHeld) DeselectAllWindows();
    g.WindowRegistry[static_cast<size_t>(id)].Selected = true;
    setSelectionCaption(window, true);
    g.ActiveWindowSlot = static_cast<int16_t>(id);
}

int windowSlotOf(const PlotWindow* window) {
    if (!window) return 0;
    for (int s = 1; s <= lastSlot(); ++s) {
        const WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(s)];
        if (rec.InUse && rec.Form == window) return s;
    }
    return 0;
}

}  // namespace qv
