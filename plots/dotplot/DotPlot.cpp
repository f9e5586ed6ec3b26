#include "plots/dotplot/DotPlot.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>
#include <stdexcept>

#include "app/FileInfo.h"
#include "app/MainServices.h"
#include "app/WindowRegistry.h"
#include "core/FileTableOps.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "output/PrintPreview.h"
#include "output/Statistics.h"
#include "plots/dotplot/DotPlotStatisticsPanel.h"
#include "plots/dotplot/model/DotPlotPopulationCheck.h"
#include "plots/dotplot/model/DotPlotSettings.h"

namespace qv {

namespace {

constexpr int kTwipsPerPixel = 15;

// Shows the wait cursor for its lifetime, on every path out.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

const FileRecord& emptyFile() {
    static const FileRecord empty;
    return empty;
}

int toPixels(double twips) {
    const double px = std::floor(twips / kTwipsPerPixel + 0.5);
    if (!(px > -1.0e6)) return -1000000;
    if (px > 1.0e6) return 1000000;
    return static_cast<int>(px);
}

}  // namespace

void registerDotPlotKind() {
    registerWindowKind("DotPlot", [] { return new DotPlot(); });
}

DotPlot::DotPlot(QWidget* parent) : PlotWindow(parent), statistics_(std::make_unique<DotPlotStatisticsPanel>(state_)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // Resize events before Alusta are ignored.
    state_.Initialised = false;
}

DotPlot::~DotPlot() = default;

WindowRecord* DotPlot::record() {
    const int id = state_.ID;
    if (id < 1 || id >= static_cast<int>(g.WindowRegistry.size())) return nullptr;
    return &g.WindowRegistry[static_cast<size_t>(id)];
}

const WindowRecord* DotPlot::record() const { return const_cast<DotPlot*>(this)->record(); }

int DotPlot::fileIndex() const {
    const WindowRecord* r = record();
    return r ? r->FileIndex : 0;
}

const FileRecord& DotPlot::fileCopy() const {
    const int slot = state_.FileSlot;
    if (slot < 1 || slot >= static_cast<int>(g.FileTable.size())) return emptyFile();
    return g.FileTable[static_cast<size_t>(slot)];
}

QWidget* DotPlot::outerWidget() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    return this;
}

const QWidget* DotPlot::outerWidget() const { return const_cast<DotPlot*>(this)->outerWidget(); }

void DotPlot::updateCaption() {
    const WindowRecord* r = record();
    const bool selected = r && r->Selected;
    setWindowTitle(QString::fromLatin1((selected ? g.SelectedPrefix : std::string()) + state_.Title));
}

QString DotPlot::AnnaOtsikko() const { return QString::fromLatin1(state_.Title); }

void DotPlot::fitPictureToClient() {
    const int w = width() > 0 ? width() : std::max(1, picture_.width());
    const int h = height() > 0 ? height() : std::max(1, picture_.height());
    if (picture_.width() == w && picture_.height() == h) return;
    picture_ = QImage(w, h, QImage::Format_RGB32);
    picture_.fill(state_.DarkBackground ? Qt::black : Qt::white);
}

// ---------------------------------------------------------------- lifecycle

void DotPlot::Alusta(int id) {
    state_ = DotPlotState();
    state_.ID = static_cast<int16_t>(id);
    state_.Title = "(" + std::to_string(id) + "): Dot Plot - No File";
    if (WindowRecord* r = record()) {
        r->Selected = true;
        r->ShowsFile = true;
    }
    updateCaption();

    // The size of the last dot plot the user resized, else 4000 x 4000 twips.
    int w = 4000, h = 4000;
    if (g.DefaultPlotWidth != 0 || g.DefaultPlotHeight != 0) {
        w = g.DefaultPlotWidth;
        h = g.DefaultPlotHeight;
    }
    outerWidget()->resize(std::max(1, toPixels(w)), std::max(1, toPixels(h)));

    fitPictureToClient();
    state_.Initialised = true;
    attachToSubWindow();

    const int last = g.LastLoadedFile;
    if (last != 0 && last >= 1 && last < static_cast<int>(g.FileTable.size()) &&
        g.FileTable[static_cast<size_t>(last)].Loaded) {
        if (WindowRecord* r = record()) r->FileIndex = static_cast<int16_t>(last);
        LatauksenJalkeen();
        Piirra();
    }
    update();
}

void DotPlot::LatauksenJalkeen() {
    if (g.SheetLoading) return;
    const int slot = fileIndex();
    const int32_t events =
        slot >= 1 && slot < static_cast<int>(g.FileTable.size()) ? g.FileTable[static_cast<size_t>(slot)].EventCount : 0;
    const int32_t limit = std::max<int32_t>(1, g.FastDrawLimit);
    if (events <= limit) {
        state_.EventStep = 1;
        state_.FastDrawOn = false;
        state_.setCaption(MenuFastDraw, "Fast draw mode");
    } else {
        state_.EventStep = FastDrawStep(events, limit);
        state_.FastDrawOn = true;
        state_.setCaption(MenuFastDraw, "Full draw mode");
    }
    FollowFileWindow(state_.ID, true);
}

void DotPlot::UnloadWindow() {
    if (statistics_) statistics_->closeWithWindow();
    // A polygon left half drawn in this window can never be closed once it
    // is gone; left in progress it would swallow every later click in the
    // other windows (or close into a new window that takes this ID).
    if (g.GateInProgress && g.DraftRegion.DraftWindow == state_.ID) {
        g.GateInProgress = false;
        g.RegionDrawMode = false;
        g.DraftRegion.Corners = 0;
    }
    // Only while the slot is still this window's: a second unload (the
    // caller's, then the close box's) must not free a slot another window
    // has taken since.
    if (WindowRecord* r = record(); r && r->Form == this) releaseWindowSlot(state_.ID);
    if (state_.InPreview || state_.StatInPreview) redrawPrintPage();  // the page lets go of its pictures
    ReleaseUnusedFiles();
    state_.FileSlot = 0;
    closeFrame();
}

void DotPlot::closeFrame() {
    // However the window is unloaded (its frame's close box, shutdown, a
    // tool, the sheet reader), its workspace frame goes with it: hidden now
    // and deleted once, later, so a caller still inside the window or the
    // frame's own close handling is not cut off. A lone window (no frame)
    // belongs to whoever made it and is only hidden.
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!frame) {
        hide();
        return;
    }
    if (frameDeleted_) return;
    frameDeleted_ = true;
    frame->hide();
    frame->deleteLater();
}

void DotPlot::closeEvent(QCloseEvent* event) {
    UnloadWindow();
    event->accept();
}

void DotPlot::resizeEvent(QResizeEvent* event) {
    PlotWindow::resizeEvent(event);
    if (!state_.Initialised) return;
    fitPictureToClient();
    // A resize that only shows the window at the size it was given is no
    // user's resize.
    if (!event->oldSize().isValid()) return;
    const QWidget* outer = outerWidget();
    g.DefaultPlotWidth = outer->width() * kTwipsPerPixel;
    g.DefaultPlotHeight = outer->height() * kTwipsPerPixel;
    g.FullRedrawPending = state_.ID;
    Piirra();
}

// ---------------------------------------------------------------- drawing

void DotPlot::Piirra() {
    const int slot = fileIndex();
    if (slot == 0 || g.SheetLoading) return;
    WaitCursor wait;

    state_.FileSlot = static_cast<int16_t>(slot);
    const FileRecord& file = fileCopy();
    fitPictureToClient();

    state_.Title = "(" + std::to_string(state_.ID) + "): Dot Plot - " + file.FileName;
    updateCaption();

    const bool quick = g.FullRedrawPending != 0 && g.FullRedrawPending == state_.ID;
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

void DotPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (picture_.isNull())
        p.fillRect(rect(), state_.DarkBackground ? Qt::black : Qt::white);
    else
        p.drawImage(0, 0, picture_);
    paintFeedback(p);
}

void DotPlot::NaytaPopulaatio(int slot) {
    state_.ShownPopulation = static_cast<int16_t>(std::clamp(slot, int(INT16_MIN), int(INT16_MAX)));
    Piirra();
}

void DotPlot::CopyToClipboard() {
    if (QClipboard* clip = QGuiApplication::clipboard()) {
        clip->clear();
        clip->setImage(picture_);
    }
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

bool DotPlot::OnkoStatistiikkaKaytossa() const { return state_.StatisticsOpen; }

void DotPlot::PaivitaStatistiikka() {
    if (statistics_) statistics_->PaivitaStatistiikka();
}

double DotPlot::AnnaStatistiikka(const std::string& region, const std::string& stat) {
    return statistics_ ? statistics_->AnnaStatistiikka(region, stat) : 0.0;
}

std::string DotPlot::AnnaKokoStatistiikka(const std::string& mode) {
    return statistics_ ? statistics_->AnnaKokoStatistiikka(mode) : std::string();
}

void DotPlot::LiikutaStatistiikkaLaatikkoa(const std::string& axis, const std::string& value) {
    if (statistics_) statistics_->LiikutaStatistiikkaLaatikkoa(axis, value);
}

void DotPlot::AvaaTaiSuljeStatistics(const std::string& mode) {
    if (statistics_) statistics_->AvaaTaiSuljeStatistics(mode);
}

void DotPlot::UnloadStatistics() {
    if (statistics_) statistics_->UnloadStatistics();
}

QImage DotPlot::StatKuva() const { return statistics_ ? statistics_->StatKuva() : QImage(); }

void DotPlot::AsetaStatKuva(const QImage& picture) {
    if (statistics_) statistics_->AsetaStatKuva(picture);
}

// ---------------------------------------------------------------- channels, modes, quadrant

std::string DotPlot::AnnaKanava(const std::string& axis) {
    if (axis == "x") return std::to_string(state_.ChannelX);
    if (axis == "y") return std::to_string(state_.ChannelY);
    return {};
}

void DotPlot::AsetaKanava(const std::string& axis, const std::string& value) {
    if (axis == "x" || axis == "y") {
        const auto v = ParseNumber(value);
        if (!v) throw WindowOperationError("Type mismatch: " + value);
        int16_t channel;
        try {
            channel = CInt(*v);
        } catch (const std::overflow_error&) {
            throw WindowOperationError("Overflow: " + value);
        }
        (axis == "x" ? state_.ChannelX : state_.ChannelY) = channel;
    }
    Piirra();
}

void DotPlot::AsetaPiirtoMoodi(const std::string& mode) {
    if (mode == "fast" && !state_.FastDrawOn) {
        state_.FastDrawOn = true;
        Piirra();
    } else if (mode == "full" && state_.FastDrawOn) {
        state_.FastDrawOn = false;
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
    DotPlotFrame frame;
    const QWidget* outer = outerWidget();
    frame.left = static_cast<float>(outer->x() * kTwipsPerPixel);
    frame.top = static_cast<float>(outer->y() * kTwipsPerPixel);
    frame.width = static_cast<float>(outer->width() * kTwipsPerPixel);
    frame.height = static_cast<float>(outer->height() * kTwipsPerPixel);
    frame.fileIndex = fileIndex();
    const std::vector<std::string> statLines =
        statistics_ && state_.StatisticsOpen ? statistics_->settingsLines() : std::vector<std::string>{};
    return DotPlotSettingsLines(state_, frame, statLines);
}

void DotPlot::LoadInfo(const std::string& line) {
    const int slot = fileIndex();
    const int32_t events =
        slot >= 1 && slot < static_cast<int>(g.FileTable.size()) ? g.FileTable[static_cast<size_t>(slot)].EventCount : 0;
    const DotPlotSettingRequest req = ApplyDotPlotSettingLine(state_, line, events, g.FastDrawLimit);
    using Kind = DotPlotSettingRequest::Kind;
    QWidget* outer = outerWidget();
    switch (req.kind) {
    case Kind::Left: outer->move(toPixels(req.number), outer->y()); break;
    case Kind::Top: outer->move(outer->x(), toPixels(req.number)); break;
    case Kind::Width: outer->resize(std::max(1, toPixels(req.number)), outer->height()); break;
    case Kind::Height: outer->resize(outer->width(), std::max(1, toPixels(req.number))); break;
    case Kind::File:
        if (WindowRecord* r = record()) r->FileIndex = static_cast<int16_t>(req.number);
        break;
    case Kind::Preview: AsetaPreviewissa(req.flag); break;
    case Kind::Statistics: AvaaTaiSuljeStatistics(req.flag ? "open" : "close"); break;
    case Kind::StatisticsLine:
        if (statistics_) statistics_->loadSettingsLine(line);
        break;
    case Kind::None: break;
    }
    // A file slot that holds no loaded file leaves the window without one.
    if (WindowRecord* r = record()) {
        const int f = r->FileIndex;
        if (f != 0 && (f < 1 || f >= static_cast<int>(g.FileTable.size()) || !g.FileTable[static_cast<size_t>(f)].Loaded))
            r->FileIndex = 0;
    }
}

// ---------------------------------------------------------------- events

bool DotPlot::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ParentChange: attachToSubWindow(); break;
    case QEvent::WindowActivate:
        // A top-level window (no MDI frame) is activated by the window system.
        if (!qobject_cast<QMdiSubWindow*>(parentWidget()) && state_.Initialised) activateWindow();
        break;
    default: break;
    }
    return PlotWindow::event(event);
}

void DotPlot::attachToSubWindow() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        connect(sub, &QMdiSubWindow::aboutToActivate, this, &DotPlot::onSubWindowActivating, Qt::UniqueConnection);
}

void DotPlot::onSubWindowActivating() {
    if (state_.Initialised) activateWindow();
}

void DotPlot::activateWindow() {
    if (g.SheetLoading) return;
    if (!g.ShiftHeld) DeselectAllWindows();
    if (WindowRecord* r = record()) r->Selected = true;
    updateCaption();
    g.ActiveWindowSlot = state_.ID;
    FollowFileWindow(state_.ID, false);
}

void DotPlot::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Shift) g.ShiftHeld = true;
    PlotWindow::keyPressEvent(event);
}

void DotPlot::keyReleaseEvent(QKeyEvent* event) {
    g.ShiftHeld = false;
    PlotWindow::keyReleaseEvent(event);
}

void DotPlot::mousePressEvent(QMouseEvent* event) {
    g.AxisPopupAxis = 0;
    if (event->button() == Qt::RightButton && !g.RegionDrawMode) {
        rightButtonMenus(event->position(), event->globalPosition().toPoint());
        return;
    }
    gateMousePress(event);
}

void DotPlot::mouseMoveEvent(QMouseEvent* event) {
    // The full draw a resize postponed.
    if (g.FullRedrawPending != 0 && g.FullRedrawPending == state_.ID) {
        g.FullRedrawPending = 0;
        Piirra();
    }
    gateMouseMove(event);
}

void DotPlot::mouseReleaseEvent(QMouseEvent* event) { gateMouseRelease(event); }

}  // namespace qv
