#include "plots/histogram/Histogram.h"

#include <QMouseEvent>

#include <algorithm>
#include <utility>
#include <cmath>
#include <stdexcept>

#include "app/FileInfo.h"
#include "app/MainServices.h"
#include "app/WindowRegistry.h"
#include "app/model/WaitCursor.h"
#include "core/FastDraw.h"
#include "core/FileTableOps.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "output/PrintPreview.h"
#include "output/Statistics.h"
#include "plots/histogram/HistogramStatisticsPanel.h"
#include "plots/histogram/model/HistogramExchange.h"
#include "plots/histogram/model/HistogramMarkerCheck.h"
#include "plots/histogram/model/HistogramRenderer.h"
#include "plots/histogram/model/HistogramSettings.h"

namespace qv {

namespace {

constexpr int32_t FirstSizeTwips = 4000;

// Every window built from histograms follows a histogram's draw or close.
void redrawWindowsOfType(std::initializer_list<const char*> types) {
    for (int k = 1; k <= g.MaxWindows && k < static_cast<int>(g.WindowRegistry.size()); ++k) {
        const WindowRecord& r = g.WindowRegistry[static_cast<size_t>(k)];
        if (!r.InUse || !r.Form) continue;
        for (const char* t : types)
            if (r.Type == t) {
                r.Form->Piirra();
                break;
            }
    }
}

}  // namespace

void registerHistogramKind() {
    registerWindowKind("Histogram", [] { return new Histogram(); });
}

Histogram::Histogram(QWidget* parent)
    : StatisticsOwnerWindow(parent), statistics_(std::make_unique<HistogramStatisticsPanel>(state_)) {}

Histogram::~Histogram() = default;

// ---------------------------------------------------------------- lifecycle

void Histogram::Alusta(int id) {
    state_ = HistogramState();
    state_.ID = static_cast<int16_t>(id);
    state_.Title = NoFileTitle(id, "Histogram");
    if (WindowRecord* r = record()) {
        r->Selected = true;
        r->ShowsFile = true;
    }
    updateCaption();
    placeAtStartSize(g.DefaultHistogramWidth, g.DefaultHistogramHeight, FirstSizeTwips, FirstSizeTwips);
    state_.Initialised = true;

    showLastLoadedFile();
    update();
}

void Histogram::LatauksenJalkeen() {
    if (g.SheetLoading) return;
    applyDrawMode(DrawModeAfterLoad(fileEventCount(), g.FastDrawLimit));
    FollowFileWindow(state_.ID, true);
}

void Histogram::applyDrawMode(const DrawMode& mode) {
    state_.FastDraw = mode.fast;
    state_.DrawStep = mode.step;
    state_.setCaption(HistoMenuFastDraw, mode.caption);
}

void Histogram::rememberKindSize(int32_t widthTwips, int32_t heightTwips) {
    g.DefaultHistogramWidth = widthTwips;
    g.DefaultHistogramHeight = heightTwips;
}

void Histogram::UnloadWindow() {
    if (statistics_) statistics_->closeWithWindow();
    // A marker being drawn or dragged here can never be finished once the
    // window is gone.
    if (state_.MarkerInProgress) g.RegionDrawMode = false;
    state_.MarkerInProgress = false;
    if (state_.Dragging) {
        g.DragCornerPopulation = g.DragCornerIndex = g.DragMovePopulation = g.DragLabelPopulation = 0;
        state_.Dragging = false;
    }
    // Only while the slot is still this window's: a second unload must not
    // free a slot another window has taken since.
    if (WindowRecord* r = record(); r && r->Form == this) releaseWindowSlot(state_.ID);
    ReleaseUnusedFiles();
    state_.FileSlot = 0;
    // Overlays built from this window lose its lines.
    redrawWindowsOfType({"Overlay Histogram"});
    closeFrame();
}

// ---------------------------------------------------------------- drawing

void Histogram::forgetShownFile() {
    state_.Title = NoFileTitle(state_.ID, "Histogram");
    state_.FileSlot = 0;
    // The overlay and the mirror draw nothing from a histogram without counts.
    state_.Counts.clear();
    state_.ColumnTops.clear();
    state_.YMax = 0.0f;
}


void Histogram::Piirra() {
    const int slot = fileIndex();
    // A sheet being read draws every window once, at its end.
    if (slot == 0 || g.SheetLoading) return;
    WaitCursor wait;
    ++fullDraws_;

    state_.FileSlot = static_cast<int16_t>(slot);
    const FileRecord& file = fileRecord(slot);
    fitPictureToClient();
    state_.Title = "(" + std::to_string(state_.ID) + "): Histogram - " + file.FileName;
    updateCaption();
    // On the print page, while it is shown, the picture carries its file's
    // name.
    const bool onShownPage = state_.OnPrintPage && printPreviewShown();
    HistogramRenderOptions options;
    options.showFileName = onShownPage;
    RenderHistogram(picture_, state_, file, options);
    update();

    if (!state_.Dragging && !fullDrawPostponed()) {
        if (statistics_) statistics_->afterFullDraw();
        redrawWindowsOfType({"Overlay Histogram", "Mirror Histogram"});
        if (MainServices* services = mainServices()) services->TalletaNakyma(QStringLiteral("Autosave"));
    }
    if (onShownPage) redrawPrintPage();
}

void Histogram::NaytaPopulaatio(int slot) {
    state_.ShownPopulation = static_cast<int16_t>(std::clamp(slot, int(INT16_MIN), int(INT16_MAX)));
    Piirra();
}

void Histogram::CheckPopulation(int slot) { HistogramCheckPopulation(slot); }

// ---------------------------------------------------------------- print page

void Histogram::AsetaPreviewissa(bool flag) {
    state_.OnPrintPage = flag;
    state_.setCaption(HistoMenuPrintPreview, flag ? "Don't show in print preview page" : "Show in print preview page");
    if (flag) Piirra();
    else redrawPrintPage();
}

// ---------------------------------------------------------------- statistics

double Histogram::AnnaStatistiikka(const std::string& region, const std::string& stat) {
    return statistics_->AnnaStatistiikka(region, stat);
}

StatisticsPanel* Histogram::statisticsBase() const { return statistics_.get(); }

// ---------------------------------------------------------------- channel and drawing mode

std::string Histogram::AnnaKanava(const std::string& axis) {
    return axis == "x" ? std::to_string(state_.Channel) : std::string();
}

void Histogram::AsetaKanava(const std::string& axis, const std::string& value) {
    if (axis == "x") state_.Channel = channelArgument(value);
    Piirra();
}

void Histogram::AsetaPiirtoMoodi(const std::string& mode) {
    if (AsksForOtherDrawMode(mode, state_.FastDraw)) switchDrawMode();
}

// ---------------------------------------------------------------- exchange

namespace {

// The shown parameter of a window's file, as the file table holds it now.
const ParameterInfo* shownParameter(int fileSlot, int channel) {
    const FileRecord& file = FilePlotWindow::fileRecord(fileSlot);
    if (!file.Loaded || channel < 1 || channel > file.ParameterCount ||
        channel >= static_cast<int>(file.Parameters.size()))
        return nullptr;
    return &file.Parameters[static_cast<size_t>(channel)];
}

}  // namespace

int32_t Histogram::LahetaMax() const {
    const ParameterInfo* p = shownParameter(fileIndex(), state_.Channel);
    return p ? p->Range : 0;
}

bool Histogram::LahetaLog() const {
    const ParameterInfo* p = shownParameter(fileIndex(), state_.Channel);
    return p && p->IsLog;
}

std::string Histogram::LahetaNimi() const {
    const ParameterInfo* p = shownParameter(fileIndex(), state_.Channel);
    return p ? p->Name : std::string();
}

int32_t Histogram::AnnaHistonKorkeinKohta(const std::string& what, double marker) const {
    int32_t slot = -1;
    try {
        slot = CLng(marker);
    } catch (const std::overflow_error&) {
    }
    if (slot < 0 || slot >= PopulationTableSize) throw WindowOperationError("Subscript out of range");
    const PopulationRecord& r = g.PopulationTable[static_cast<size_t>(slot)];
    const std::optional<int32_t> v = HistogramPeak(state_.Counts, state_.YMax, r.CornerX[1], r.CornerX[2], what);
    if (!v) throw WindowOperationError("Overflow");
    return *v;
}

int32_t Histogram::AnnaHistonKorkeus(double& pos) {
    int32_t bin = 0;
    const std::optional<int32_t> v = HistogramHeightAt(state_.Counts, state_.YMax, pos, bin);
    if (!v) throw WindowOperationError("Invalid procedure call or argument");
    pos = bin;
    return *v;
}

int32_t Histogram::AnnaHistonKorkeinKohta(const std::string& what, int32_t marker) {
    return std::as_const(*this).AnnaHistonKorkeinKohta(what, static_cast<double>(marker));
}

// ---------------------------------------------------------------- settings lines

std::vector<std::string> Histogram::SaveInfo() {
    return HistogramSettingsLines(state_, frameTwips(), statistics_->settingsLines());
}

void Histogram::LoadInfo(const std::string& line) {
    applySettingRequest(ApplyHistogramSettingLine(state_, line, fileEventCount(), g.FastDrawLimit), line);
    dropFileNotLoaded();
}

// ---------------------------------------------------------------- events

void Histogram::mousePressEvent(QMouseEvent* event) {
    g.AxisPopupAxis = 0;
    if (event->button() == Qt::RightButton) {
        if (!g.RegionDrawMode) rightButtonMenus(event->position(), event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton) markerMousePress(event->position());
}

void Histogram::mouseMoveEvent(QMouseEvent* event) {
    StatisticsOwnerWindow::mouseMoveEvent(event);
    markerMouseMove(event->position());
}

void Histogram::mouseReleaseEvent(QMouseEvent* event) { markerMouseRelease(event->position()); }

}  // namespace qv
