#include "app/PopulationPanelActions.h"

#include <QApplication>
#include <QColor>
#include <QKeyEvent>
#include <QString>

#include "app/Dialogs.h"
#include "app/MainServices.h"
#include "app/PlotWindow.h"
#include "app/PopulationPanel.h"
#include "app/TypedText.h"
#include "app/model/PopulationPanelModel.h"
#include "app/model/PopulationRecompute.h"
#include "core/SharedState.h"

namespace qv {
namespace {

// The model's questions, answered by the dialog layer. Texts in the tables
// are 8-bit, one character per byte.
class DialogQuestions final : public PanelQuestions {
public:
    bool message(const std::string& text, const std::string& title, PanelButtons buttons) override {
        const MsgAnswer a = dialogs().messageBox(QString::fromLatin1(text), QString::fromLatin1(title),
                                                 buttons == PanelButtons::OkCancel ? MsgButtons::OkCancel
                                                                                   : MsgButtons::Ok);
        return a == MsgAnswer::Ok;
    }
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override {
        return AskLatin1Text(QString::fromLatin1(prompt), QString::fromLatin1(title),
                             QString::fromLatin1(defaultText));
    }
    std::optional<Rgb> chooseColour(Rgb initial) override {
        const std::optional<QColor> c = dialogs().chooseColour(QColor(initial.Red, initial.Green, initial.Blue));
        if (!c || !c->isValid()) return std::nullopt;
        return Rgb{static_cast<uint8_t>(c->red()), static_cast<uint8_t>(c->green()), static_cast<uint8_t>(c->blue())};
    }
};

}  // namespace

void InstallWindowPopulationCheck() {
    SetWindowPopulationCheck([](PlotWindow& window, int slot) { window.CheckPopulation(slot); });
}

PopulationPanelActions::PopulationPanelActions(PopulationPanel& panel, QObject* parent)
    : QObject(parent), panel_(panel) {
    InstallWindowPopulationCheck();
    connect(&panel, &PopulationPanel::createPopulationClicked, this, &PopulationPanelActions::LuoUusiRegion_Click);
    connect(&panel, &PopulationPanel::renamePopulationClicked, this,
            &PopulationPanelActions::MuutaRegioninNimi_Click);
    connect(&panel, &PopulationPanel::deletePopulationClicked, this, &PopulationPanelActions::PoistaRegion_Click);
    connect(&panel, &PopulationPanel::defineClicked, this, &PopulationPanelActions::LuoUusiMaaritelma_Click);
    connect(&panel, &PopulationPanel::deleteDefinitionClicked, this, &PopulationPanelActions::PoistaMaaritelma_Click);
    connect(&panel, &PopulationPanel::colourBoxActivated, this, &PopulationPanelActions::colourBox);
    connect(&panel, &PopulationPanel::transparencyLabelActivated, this, &PopulationPanelActions::transparencyLabel);
    qApp->installEventFilter(this);
}

PopulationPanelActions::~PopulationPanelActions() {
    if (qApp) qApp->removeEventFilter(this);
}

void PopulationPanelActions::redrawAll() {
    panel_.PaivitaRegionLista();
    if (MainServices* main = mainServices()) main->PiirraKaikki();
}

void PopulationPanelActions::LuoUusiRegion_Click() {
    DialogQuestions ask;
    wipeRubberBand(CreatePopulation(panel_.ValittuPopulaatio(), ask));
    panel_.showDrawingMode();
}

void PopulationPanelActions::abandonGateDrawing() {
    wipeRubberBand(AbandonGateDrawing());
    panel_.showDrawingMode();
}

void PopulationPanelActions::wipeRubberBand(int windowId) {
    if (windowId < 1 || static_cast<size_t>(windowId) >= g.WindowRegistry.size()) return;
    const WindowRecord& w = g.WindowRegistry[static_cast<size_t>(windowId)];
    if (w.InUse && w.Form) w.Form->update();
}

bool PopulationPanelActions::eventFilter(QObject* watched, QEvent* event) {
    // Esc anywhere in the program's windows abandons a gate being drawn;
    // a dialog or a menu that is open keeps its own Esc.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        (g.RegionDrawMode || g.GateInProgress) && !QApplication::activeModalWidget() &&
        !QApplication::activePopupWidget()) {
        abandonGateDrawing();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void PopulationPanelActions::MuutaRegioninNimi_Click() {
    DialogQuestions ask;
    if (RenamePopulation(panel_.ValittuPopulaatio(), ask)) redrawAll();
}

void PopulationPanelActions::PoistaRegion_Click() {
    DialogQuestions ask;
    if (DeletePopulation(panel_.ValittuPopulaatio(), ask)) redrawAll();
}

void PopulationPanelActions::LuoUusiMaaritelma_Click() {
    DialogQuestions ask;
    if (DefineDefinition(panel_.ValittuMaaritelma(), ask)) redrawAll();
}

void PopulationPanelActions::PoistaMaaritelma_Click() {
    DialogQuestions ask;
    if (DeleteDefinition(panel_.ValittuMaaritelma(), ask)) redrawAll();
}

void PopulationPanelActions::colourBox(int slot) {
    DialogQuestions ask;
    if (ChooseSlotColour(slot, ask)) redrawAll();
}

void PopulationPanelActions::transparencyLabel(int slot) {
    if (ToggleTransparent(slot)) redrawAll();
}

}  // namespace qv
