#include "plots/modeller/HistogramModeller.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>

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
#include "plots/modeller/ModellerStatisticsPanel.h"
#include "plots/modeller/model/BinValueTable.h"
#include "plots/modeller/model/CurveEditing.h"
#include "plots/modeller/model/ModellerRenderer.h"
#include "plots/modeller/model/ModellerSettings.h"
#include "plots/modeller/model/ModellerStatistics.h"

namespace qv {

namespace {

constexpr int32_t FirstSizeTwips = 4000;

[[noreturn]] void reportCurveCommand(CurveCommandError error, const std::string& what) {
    if (error == CurveCommandError::CurveOutOfRange) throw WindowOperationError("Subscript out of range: " + what);
    throw WindowOperationError("Type mismatch: " + what);
}

}  // namespace

void registerHistogramModellerKind() {
    registerWindowKind("Histogram Modeller", [] { return new HistogramModeller(); });
}

HistogramModeller::HistogramModeller(QWidget* parent)
    : StatisticsOwnerWindow(parent), statistics_(std::make_unique<ModellerStatisticsPanel>(state_)) {}

HistogramModeller::~HistogramModeller() = default;

// ---------------------------------------------------------------- lifecycle

void HistogramModeller::Alusta(int id) {
    state_ = ModellerState();
    state_.ID = static_cast<int16_t>(id);
    state_.Title = NoFileTitle(id, "Histogram Modeller");
    if (WindowRecord* r = record()) {
        r->Selected = true;
        r->ShowsFile = true;
    }
    updateCaption();
    placeAtStartSize(g.DefaultModellerWidth, g.DefaultModellerHeight, FirstSizeTwips, FirstSizeTwips);
    state_.Initialised = true;

    showLastLoadedFile();
    update();
}

void HistogramModeller::LatauksenJalkeen() {
    // The table first, also while a sheet loads: the curves' means are read
    // in the new file's channel units from the first draw on.
    BuildBinValueTable();
    if (g.SheetLoading) return;
    applyDrawMode(DrawModeAfterLoad(fileEventCount(), g.FastDrawLimit));
    FollowFileWindow(state_.ID, true);
}

void HistogramModeller::applyDrawMode(const DrawMode& mode) {
    state_.FastDraw = mode.fast;
    state_.DrawStep = mode.step;
    state_.setCaption(ModellerMenuFastDraw, mode.caption);
}

void HistogramModeller::rememberKindSize(int32_t widthTwips, int32_t heightTwips) {
    g.DefaultModellerWidth = widthTwips;
    g.DefaultModellerHeight = heightTwips;
}

void HistogramModeller::UnloadWindow() {
    if (statistics_) statistics_->closeWithWindow();
    state_.DraggedCurve = 0;
    state_.DragPeak = 0;
    state_.DragLeftFlank = state_.DragRightFlank = state_.DragPlateau = 0.0;
    state_.Dragging = false;
    // Only while the slot is still this window's: a second unload must not
    // free a slot another window has taken since.
    if (WindowRecord* r = record(); r && r->Form == this) releaseWindowSlot(state_.ID);
    ReleaseUnusedFiles();
    state_.FileSlot = 0;
    closeFrame();
}

// ---------------------------------------------------------------- bin values

void HistogramModeller::BuildBinValueTable() {
    const int slot = fileIndex();
    const FileRecord& file = fileRecord(slot);
    if (slot == 0 || !file.Loaded) return;
    // A channel the file lacks is brought into range before the table is read.
    if (FitModellerToFile(state_, file) < 1) return;
    const ParameterInfo& parameter = file.Parameters[static_cast<size_t>(state_.Channel)];
    state_.BinValues = qv::BuildBinValueTable(parameter, state_.CurveResolution);
    state_.BinValuesBuiltFrom = {static_cast<int16_t>(slot), state_.Channel, parameter.IsLog, parameter.Range};
    if (QClipboard* clip = QGuiApplication::clipboard()) {
        const std::string text = BinValuesText(state_.BinValues);
        clip->clear();
        clip->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    }
}

void HistogramModeller::rebuildBinValuesWhenStale() {
    const int slot = fileIndex();
    const FileRecord& file = fileRecord(slot);
    if (FitModellerToFile(state_, file) < 1) return;
    const ParameterInfo& p = file.Parameters[static_cast<size_t>(state_.Channel)];
    const ModellerState::BinTableSource now{static_cast<int16_t>(slot), state_.Channel, p.IsLog, p.Range};
    if (!(now == state_.BinValuesBuiltFrom)) BuildBinValueTable();
}

// ---------------------------------------------------------------- drawing

void HistogramModeller::forgetShownFile() {
    state_.Title = NoFileTitle(state_.ID, "Histogram Modeller");
    state_.FileSlot = 0;
}


void HistogramModeller::Piirra() {
    const int slot = fileIndex();
    if (slot == 0 || g.SheetLoading) return;
    WaitCursor wait;
    ++fullDraws_;

    state_.FileSlot = static_cast<int16_t>(slot);
    const FileRecord& file = fileRecord(slot);
    fitPictureToClient();
    rebuildBinValuesWhenStale();
    state_.Title = "(" + std::to_string(state_.ID) + "): Histogram Modeller - " + file.FileName;
    updateCaption();

    const bool onShownPage = state_.InPreview && printPreviewShown();
    ModellerRenderOptions options;
    options.showFileName = onShownPage;
    RenderModeller(picture_, state_, file, options);
    update();

    if (!fullDrawPostponed()) {
        if (statistics_) statistics_->afterFullDraw();
        if (MainServices* services = mainServices()) services->TalletaNakyma(QStringLiteral("Autosave"));
    }
    if (onShownPage || (state_.StatInPreview && state_.StatisticsOpen && printPreviewShown())) redrawPrintPage();
}

void HistogramModeller::NaytaPopulaatio(int slot) {
    state_.ShownPopulation = static_cast<int16_t>(std::clamp(slot, int(INT16_MIN), int(INT16_MAX)));
    Piirra();
}

void HistogramModeller::CopyToClipboard() {
    state_.Copying = true;
    Piirra();
    FilePlotWindow::CopyToClipboard();
    state_.Copying = false;
    Piirra();
}

// ---------------------------------------------------------------- print page

void HistogramModeller::AsetaPreviewissa(bool flag) {
    state_.InPreview = flag;
    state_.setCaption(ModellerMenuPrintPreview,
                      flag ? "Don't show in print preview page" : "Show in print preview page");
    if (flag) Piirra();
    else redrawPrintPage();
}

// ---------------------------------------------------------------- statistics

double HistogramModeller::AnnaStatistiikka(const std::string& curve, const std::string& stat) {
    const std::optional<double> value = LookUpCurveStatistic(state_, curve, stat);
    if (!value) throw WindowOperationError("Subscript out of range: " + curve);
    return *value;
}

StatisticsPanel* HistogramModeller::statisticsBase() const { return statistics_.get(); }

// ---------------------------------------------------------------- channel, drawing mode, curves

std::string HistogramModeller::AnnaKanava(const std::string& axis) {
    return axis == "x" ? std::to_string(state_.Channel) : std::string();
}

void HistogramModeller::AsetaKanava(const std::string& axis, const std::string& value) {
    if (axis == "x") {
        state_.Channel = channelArgument(value);
        BuildBinValueTable();
    }
    Piirra();
}

void HistogramModeller::AsetaPiirtoMoodi(const std::string& mode) {
    if (AsksForOtherDrawMode(mode, state_.FastDraw)) switchDrawMode();
}

void HistogramModeller::SiirraKayraa(const std::string& what, const std::string& curve, const std::string& value) {
    const CurveCommandError error = SetCurveProperty(state_, what, curve, value);
    if (error != CurveCommandError::None) reportCurveCommand(error, error == CurveCommandError::NotANumber &&
                                                                            ParseNumber(curve) ? value : curve);
    Piirra();
}

void HistogramModeller::LuoTaiPoista(const std::string& action, const std::string& curve, const std::string& name) {
    const CurveCommandError error = CreateOrRemoveCurve(state_, action, curve, name);
    if (error != CurveCommandError::None) reportCurveCommand(error, curve);
    Piirra();
}

int32_t HistogramModeller::AnnaSummanKorkeus(double position) {
    std::string pos = NumberText(position);
    return AnnaSummanKorkeus(pos);
}

int HistogramModeller::AnnaSummanKorkeus(std::string& pos) {
    const std::optional<int32_t> bin = CurveSumBinAt(state_, pos);
    if (!bin) throw WindowOperationError("Subscript out of range: " + pos);
    pos = std::to_string(*bin);
    return CurveSumHeightAt(state_, *bin, static_cast<double>(picture_.height()) - 2.0 * state_.Margin);
}

// ---------------------------------------------------------------- settings lines

std::vector<std::string> HistogramModeller::SaveInfo() {
    return ModellerSettingsLines(state_, frameTwips(), statistics_->settingsLines());
}

void HistogramModeller::LoadInfo(const std::string& line) {
    const WindowSettingRequest req = ApplyModellerSettingLine(state_, line, fileEventCount(), g.FastDrawLimit);
    applySettingRequest(req, line);
    dropFileNotLoaded();
}

}  // namespace qv
