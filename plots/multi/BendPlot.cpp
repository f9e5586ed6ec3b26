#include "plots/multi/BendPlot.h"

#include <QMouseEvent>

#include <algorithm>

#include "app/FileInfo.h"
#include "app/MainServices.h"
#include "app/WindowDisposal.h"
#include "app/WindowRegistry.h"
#include "app/model/PopulationPanelModel.h"
#include "app/model/PopulationRecompute.h"
#include "app/model/WaitCursor.h"
#include "core/FastDraw.h"
#include "core/FileTableOps.h"
#include "core/SharedState.h"
#include "output/PrintPreview.h"
#include "output/Statistics.h"
#include "plots/multi/BendPlotStatisticsPanel.h"
#include "plots/multi/model/BendPlotSettings.h"
#include "plots/multi/model/BendPopulationCheck.h"

namespace qv {

int32_t BendPlot::DefaultBendPlotWidth = 0;
int32_t BendPlot::DefaultBendPlotHeight = 0;

void registerBendPlotKind() {
    registerWindowKind("BendPlot", [] { return new BendPlot(); });
}

BendPlot::BendPlot(QWidget* parent)
    : StatisticsOwnerWindow(parent), statistics_(std::make_unique<BendPlotStatisticsPanel>(state_)) {
    state_.Initialised = false;
}

BendPlot::~BendPlot() = default;

// ---------------------------------------------------------------- lifecycle

void BendPlot::Alusta(int id) {
    state_ = BendPlotState();
    state_.ID = static_cast<int16_t>(id);
    state_.Title = NoFileTitle(id, "Bending plot");
    if (WindowRecord* r = record()) {
        r->Selected = true;
        r->ShowsFile = true;
    }
    updateCaption();
    placeAtStartSize(DefaultBendPlotWidth, DefaultBendPlotHeight, 4000, 4000);
    state_.Initialised = true;
    showLastLoadedFile();
    update();
}

void BendPlot::LatauksenJalkeen() {
    if (g.SheetLoading) return;
    applyDrawMode(DrawModeAfterLoad(fileEventCount(), LimitOfAtLeastOne(g.FastDrawLimit)));
    const bool gatesChanged = checkOwnGates();
    FollowFileWindow(state_.ID, true);
    // The other windows show the new members of this window's gates.
    if (gatesChanged)
        if (MainServices* main = mainServices()) main->PiirraKaikki();
}

void BendPlot::applyDrawMode(const DrawMode& mode) {
    state_.FastDraw = mode.fast;
    state_.EventStep = mode.step;
    state_.setCaption(BendMenuFastDraw, mode.caption);
}

bool BendPlot::checkOwnGates() {
    bool any = false;
    for (int k = 1; k <= g.MaxPopulations && k < PopulationTableSize; ++k) {
        const PopulationRecord& p = g.PopulationTable[static_cast<size_t>(k)];
        if (p.Type == "BendPlot" && p.InUse && p.Created == state_.ID) {
            BendCheckPopulation(k, state_.Axes, fileIndex(), DefinitionRecheck::None);
            any = true;
        }
    }
    if (any) CheckAllDefinitions();
    return any;
}

void BendPlot::CheckPopulation(int slot) {
    if (slot < 0 || slot >= PopulationTableSize) return;
    const PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
    // Another bending plot's gate is placed by that window's axes and file.
    if (p.Type == "BendPlot" && p.Created != state_.ID) {
        RecomputePopulation(slot);
        return;
    }
    BendCheckPopulation(slot, state_.Axes, fileIndex());
}

void BendPlot::UnloadWindow() {
    if (statistics_) statistics_->closeWithWindow();
    // A polygon half drawn here could never be closed once the window is gone.
    if (g.GateInProgress && g.DraftRegion.DraftWindow == state_.ID) AbandonGateDrawing();
    if (WindowRecord* r = record(); r && r->Form == this) releaseWindowSlot(state_.ID);
    if (state_.OnPreviewPage || state_.StatisticsOnPreviewPage) redrawPrintPage();
    ReleaseUnusedFiles();
    state_.FileSlot = 0;
    discardWindow(*this);
}

void BendPlot::rememberKindSize(int32_t widthTwips, int32_t heightTwips) {
    DefaultBendPlotWidth = widthTwips;
    DefaultBendPlotHeight = heightTwips;
}

// ---------------------------------------------------------------- drawing

void BendPlot::forgetShownFile() {
    state_.Title = NoFileTitle(state_.ID, "Bending plot");
    state_.FileSlot = 0;
    eventsDrawn_ = 0;
}


void BendPlot::Piirra() {
    const int slot = fileIndex();
    if (slot == 0 || g.SheetLoading) return;
    WaitCursor wait;
    state_.FileSlot = static_cast<int16_t>(slot);
    const FileRecord& file = fileRecord(slot);
    fitPictureToClient();
    state_.Title = "(" + std::to_string(state_.ID) + "): Bending Plot - " + file.FileName;
    updateCaption();

    const bool quick = fullDrawPostponed();
    BendPlotRenderOptions options;
    options.quickPass = quick;
    const bool onShownPage = state_.OnPreviewPage && printPreviewShown();
    options.showFileName = onShownPage;
    eventsDrawn_ = renderer_.render(picture_, state_, file, options);
    update();

    // While anything is dragged the statistics and the workspace wait for
    // the release.
    if (!state_.GateEditActive && state_.DraggedAxis == 0 && !quick) {
        if (statistics_) statistics_->afterFullDraw();
        if (MainServices* services = mainServices()) services->TalletaNakyma(QStringLiteral("Autosave"));
    }
    if (onShownPage || (state_.StatisticsOnPreviewPage && state_.StatisticsOpen && printPreviewShown()))
        redrawPrintPage();
}

void BendPlot::NaytaPopulaatio(int slot) {
    state_.ShownPopulation = static_cast<int16_t>(std::clamp(slot, int(INT16_MIN), int(INT16_MAX)));
    Piirra();
}

// ---------------------------------------------------------------- print page

void BendPlot::AsetaPreviewissa(bool flag) {
    if (flag) {
        state_.OnPreviewPage = true;
        state_.setCaption(BendMenuPrintPreview, "Don't show in print preview page");
        Piirra();
    } else {
        state_.OnPreviewPage = false;
        state_.setCaption(BendMenuPrintPreview, "Show in print preview page");
        redrawPrintPage();
    }
}

// ---------------------------------------------------------------- statistics

double BendPlot::AnnaStatistiikka(const std::string& region, const std::string& stat) {
    return statistics_ ? statistics_->AnnaStatistiikka(region, stat) : 0.0;
}

StatisticsPanel* BendPlot::statisticsBase() const { return statistics_.get(); }

// ---------------------------------------------------------------- tools

void BendPlot::AsetaKanava(const std::string& axis, const std::string& value) {
    (void)axis;
    (void)value;
    Piirra();
}

void BendPlot::AsetaPiirtoMoodi(const std::string& mode) {
    if (AsksForOtherDrawMode(mode, state_.FastDraw)) toggleFastDraw();
}

// ---------------------------------------------------------------- settings lines

std::vector<std::string> BendPlot::SaveInfo() {
    const std::vector<std::string> statLines =
        statistics_ && state_.StatisticsOpen ? statistics_->settingsLines() : std::vector<std::string>{};
    return BendPlotSettingsLines(state_, frameTwips(), statLines);
}

void BendPlot::LoadInfo(const std::string& line) {
    const WindowSettingRequest req = ApplyBendPlotSettingLine(state_, line, fileEventCount(), g.FastDrawLimit);
    applySettingRequest(req, line);
    dropFileNotLoaded();
}

// ---------------------------------------------------------------- events

void BendPlot::mousePressEvent(QMouseEvent* event) {
    g.AxisPopupAxis = 0;
    if (event->button() == Qt::RightButton && !g.RegionDrawMode) {
        rightButtonMenus(event->position(), event->globalPosition().toPoint());
        return;
    }
    gateMousePress(event);
}

void BendPlot::mouseMoveEvent(QMouseEvent* event) {
    FilePlotWindow::mouseMoveEvent(event);
    gateMouseMove(event);
}

void BendPlot::mouseReleaseEvent(QMouseEvent* event) { gateMouseRelease(event); }

}  // namespace qv
