#include "plots/dotplot/DotPlot.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>
#include <stdexcept>

#include "app/FileInfo.h"
#include "app/MainServices.h"
#include "app/WindowDisposal.h"
#include "app/WindowRegistry.h"
#include "app/model/WaitCursor.h"
#include "app/model/FileSystemText.h"
#include "app/model/PopulationPanelModel.h"
#include "core/FileTableOps.h"
#include "core/Numbers.h"
#include "core/FastDraw.h"
#include "core/SharedState.h"
#include "output/PrintPreview.h"
#include "output/Statistics.h"
#include "plots/dotplot/DotPlotStatisticsPanel.h"
#include "plots/dotplot/model/DotPlotPopulationCheck.h"
#include "plots/dotplot/model/DotPlotSettings.h"

namespace qv {

void registerDotPlotKind() {
    registerWindowKind("DotPlot", [] { return new DotPlot(); });
}

DotPlot::DotPlot(QWidget* parent)
    : StatisticsOwnerWindow(parent), statistics_(std::make_unique<DotPlotStatisticsPanel>(state_)) {
    // Resize events before Alusta are ignored.
    state_.Initialised = false;
}

DotPlot::~DotPlot() = default;

const FileRecord& DotPlot::fileCopy() const {
    return fileRecord(state_.FileSlot);
}

// ---------------------------------------------------------------- lifecycle

void DotPlot::Alusta(int id) {
    state_ = DotPlotState();
    state_.ID = static_cast<int16_t>(id);
    state_.Title = NoFileTitle(id, "Dot Plot");
    if (WindowRecord* r = record()) {
        r->Selected = true;
        r->ShowsFile = true;
    }
    updateCaption();

    // The size of the last dot plot the user resized, else 4000 x 4000 twips.
    placeAtStartSize(g.DefaultPlotWidth, g.DefaultPlotHeight, 4000, 4000);
    state_.Initialised = true;

    showLastLoadedFile();
    update();
}

void DotPlot::LatauksenJalkeen() {
    if (g.SheetLoading) return;
    const int32_t events = shownEventCount();
    applyDrawMode(DrawModeAfterLoad(events, LimitOfAtLeastOne(g.FastDrawLimit)));
    FollowFileWindow(state_.ID, true);
}

int32_t DotPlot::shownEventCount() const {
    const int slot = fileIndex();
    return slot >= 1 && slot < static_cast<int>(g.FileTable.size()) ? g.FileTable[static_cast<size_t>(slot)].EventCount
                                                                     : 0;
}

void DotPlot::applyDrawMode(const DrawMode& mode) {
    state_.FastDrawOn = mode.fast;
    state_.EventStep = mode.step;
    state_.setCaption(MenuFastDraw, mode.caption);
}

void DotPlot::UnloadWindow() {
    if (statistics_) statistics_->closeWithWindow();
    // A polygon left half drawn in this window can never be closed once it
    // is gone; left in progress it would swallow every later click in the
    // other windows (or close into a new window that takes this ID).
    if (g.GateInProgress && g.DraftRegion.DraftWindow == state_.ID) AbandonGateDrawing();
    // Only while the slot is still this window's: a second unload (the
    // caller's, then the close box's) must not free a slot another window
    // has taken since.
    if (WindowRecord* r = record(); r && r->Form == this) releaseWindowSlot(state_.ID);
    if (state_.InPreview || state_.StatInPreview) redrawPrintPage();  // the page lets go of its pictures
    ReleaseUnusedFiles();
    state_.FileSlot = 0;
    discardWindow(*this);
}

void DotPlot::rememberKindSize(int32_t widthTwips, int32_t heightTwips) {
    g.DefaultPlotWidth = widthTwips;
    g.DefaultPlotHeight = heightTwips;
}

// ---------------------------------------------------------------- drawing

void DotPlot::forgetShownFile() {
    state_.Title = NoFileTitle(state_.ID, "Dot Plot");
    state_.FileSlot = 0;
    eventsDrawn_ = 0;
}


void DotPlot::Piirra() {
    const int slot = fileIndex();
    if (slot == 0 || g.SheetLoading) return;
    WaitCursor wait;

    state_.FileSlot = static_cast<int16_t>(slot);
    const FileRecord& file = fileCopy();
    fitPictureToClient();

    state_.Title = "(" + std::to_string(state_.ID) + "): Dot Plot - " + file.FileName;
    updateCaption();

    const bool quick = fullDrawPostponed();
    DotPlotRenderOptions options;
    options.quickPass = quick;
    // On the print page the picture carries its file's name.
    const bool onShownPage = state_.InPreview && printPreviewShown();
    options.showFileName = onShownPage;
    eventsDrawn_ = renderer_.render(picture_, state_, file, options);
    update();

    if (!state_.Dragging && !quick) {
        if (statistics_) statistics_->afterFullDraw();
        if (MainServices* services = mainServices()) services->TalletaNakyma(QStringLiteral("Autosave"));
    }
    // The page shows this window's current pictures: its plot, and its
    // statistics box, which the full draw above has just refreshed.
    if (onShownPage || (state_.StatInPreview && state_.StatisticsOpen && printPreviewShown())) redrawPrintPage();
}

void DotPlot::NaytaPopulaatio(int slot) {
    state_.ShownPopulation = static_cast<int16_t>(std::clamp(slot, int(INT16_MIN), int(INT16_MAX)));
    Piirra();
}

void DotPlot::CheckPopulation(int slot) { DotPlotCheckPopulation(slot); }

// ---------------------------------------------------------------- print page

void DotPlot::AsetaPreviewissa(bool flag) {
    if (flag) {
        state_.InPreview = true;
        state_.setCaption(MenuPrintPreview, "Don't show in print preview page");
        Piirra();
    } else {
        state_.InPreview = false;
        state_.setCaption(MenuPrintPreview, "Show in print preview page");
        redrawPrintPage();
    }
}

bool DotPlot::OnkoStatPreviewissa() const { return state_.StatInPreview; }
void DotPlot::AsetaStatPreviewissa(bool flag) { state_.StatInPreview = flag; }

// ---------------------------------------------------------------- statistics

double DotPlot::AnnaStatistiikka(const std::string& region, const std::string& stat) {
    return statistics_ ? statistics_->AnnaStatistiikka(region, stat) : 0.0;
}

StatisticsPanel* DotPlot::statisticsBase() const { return statistics_.get(); }

// ---------------------------------------------------------------- channels, modes, quadrant

std::string DotPlot::AnnaKanava(const std::string& axis) {
    if (axis == "x") return std::to_string(state_.ChannelX);
    if (axis == "y") return std::to_string(state_.ChannelY);
    return {};
}

void DotPlot::AsetaKanava(const std::string& axis, const std::string& value) {
    if (axis == "x" || axis == "y") (axis == "x" ? state_.ChannelX : state_.ChannelY) = channelArgument(value);
    Piirra();
}

void DotPlot::AsetaPiirtoMoodi(const std::string& mode) {
    if (AsksForOtherDrawMode(mode, state_.FastDrawOn)) switchDrawMode();
}

void DotPlot::switchDrawMode() {
    if (const auto mode = SwitchedDrawMode(state_.FastDrawOn, shownEventCount(), LimitOfAtLeastOne(g.FastDrawLimit))) {
        applyDrawMode(*mode);
        Piirra();
    }
}

void DotPlot::AsetaRegion(const std::string& axis, const std::string& value) {
    if (axis == "x" || axis == "y") {
        try {
            const int32_t v = CLng(Val(value));
            (axis == "x" ? state_.QuadrantX : state_.QuadrantY) = v;
        } catch (const std::overflow_error&) {
            throw WindowOperationError("Overflow: " + value);
        }
    }
    Piirra();
}

std::string DotPlot::AnnaKvadrantinKoordinaatit(const std::string& axis) const {
    if (axis == "x") return std::to_string(state_.QuadrantX);
    if (axis == "y") return std::to_string(10000 - static_cast<int64_t>(state_.QuadrantY));
    return {};
}

void DotPlot::NaytaTaiPiilotaKvadrantti(const std::string& mode) {
    if ((mode == "open" && state_.QuadrantOn) || (mode == "close" && !state_.QuadrantOn)) return;
    if (state_.QuadrantOn) {
        state_.QuadrantOn = false;
        state_.setCaption(MenuQuadrant, "Show quadrant");
    } else {
        state_.QuadrantOn = true;
        if (g.LastQuadrantX != 0 && g.LastQuadrantY != 0) {
            state_.QuadrantX = g.LastQuadrantX;
            state_.QuadrantY = g.LastQuadrantY;
        } else {
            state_.QuadrantX = 5000;
            state_.QuadrantY = 5000;
        }
        state_.setCaption(MenuQuadrant, "Hide quadrant");
    }
    Piirra();
}

// ---------------------------------------------------------------- settings lines

std::vector<std::string> DotPlot::SaveInfo() {
    const std::vector<std::string> statLines =
        statistics_ && state_.StatisticsOpen ? statistics_->settingsLines() : std::vector<std::string>{};
    return DotPlotSettingsLines(state_, frameTwips(), statLines);
}

void DotPlot::LoadInfo(const std::string& line) {
    applySettingRequest(ApplyDotPlotSettingLine(state_, line, fileEventCount(), g.FastDrawLimit), line);
    dropFileNotLoaded();
}

// ---------------------------------------------------------------- events

void DotPlot::mousePressEvent(QMouseEvent* event) {
    g.AxisPopupAxis = 0;
    if (event->button() == Qt::RightButton && !g.RegionDrawMode) {
        rightButtonMenus(event->position(), event->globalPosition().toPoint());
        return;
    }
    gateMousePress(event);
}

void DotPlot::mouseMoveEvent(QMouseEvent* event) {
    StatisticsOwnerWindow::mouseMoveEvent(event);
    gateMouseMove(event);
}

void DotPlot::mouseReleaseEvent(QMouseEvent* event) { gateMouseRelease(event); }

}  // namespace qv
