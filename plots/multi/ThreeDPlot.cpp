#include "plots/multi/ThreeDPlot.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "app/FileInfo.h"
#include "app/MainServices.h"
#include "app/WindowRegistry.h"
#include "app/model/WaitCursor.h"
#include "core/FastDraw.h"
#include "core/FileTableOps.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"
#include "output/Statistics.h"
#include "plots/multi/model/ThreeDRenderer.h"
#include "plots/multi/model/ThreeDSettings.h"

namespace qv {

int32_t Plot3DDefaultWidth = 0, Plot3DDefaultHeight = 0;

namespace {

constexpr int32_t FirstSizeTwips = 4000;

// The picture of background-picture mode: the program's name on a soft
// gradient, 385 x 171 pixels at a picture width of 800.
const QImage& backgroundPicture() {
    static const QImage picture = [] {
        QImage img(385, 171, QImage::Format_RGB32);
        QPainter p(&img);
        QLinearGradient gradient(0, 0, 385, 171);
        gradient.setColorAt(0, QColor(20, 30, 90));
        gradient.setColorAt(1, QColor(90, 20, 60));
        p.fillRect(img.rect(), gradient);
        QFont f = PictureFont();
        f.setPixelSize(40);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(230, 230, 255));
        p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("Quorvane"));
        return img;
    }();
    return picture;
}

}  // namespace

void registerThreeDPlotKind() {
    registerWindowKind("3D Plot", [] { return new Plot3D(); });
}

Plot3D::Plot3D(QWidget* parent) : FilePlotWindow(parent) {}

Plot3D::~Plot3D() = default;

// ---------------------------------------------------------------- lifecycle

void Plot3D::Alusta(int id) {
    state_ = ThreeDState();
    state_.ID = static_cast<int16_t>(id);
    state_.Title = NoFileTitle(id, "3D plot");
    if (WindowRecord* r = record()) {
        r->Selected = true;
        r->ShowsFile = true;
    }
    updateCaption();
    placeAtStartSize(Plot3DDefaultWidth, Plot3DDefaultHeight, FirstSizeTwips, FirstSizeTwips);
    state_.PictureWidth = std::max(1, picture_.width());
    state_.PictureHeight = std::max(1, picture_.height());
    state_.Initialised = true;
    showLastLoadedFile();
    update();
}

void Plot3D::LatauksenJalkeen() {
    if (g.SheetLoading) return;
    applyDrawMode(DrawModeAfterLoad(fileEventCount(), g.FastDrawLimit));
    FollowFileWindow(state_.ID, true);
}

void Plot3D::rememberKindSize(int32_t widthTwips, int32_t heightTwips) {
    Plot3DDefaultWidth = widthTwips;
    Plot3DDefaultHeight = heightTwips;
}

void Plot3D::UnloadWindow() {
    if (state_.Dragging) {
        state_.Step = state_.SavedStep;
        state_.Dragging = false;
    }
    const bool wasOnPage = state_.OnPrintPage;
    state_.OnPrintPage = false;
    if (WindowRecord* r = record(); r && r->Form == this) releaseWindowSlot(state_.ID);
    ReleaseUnusedFiles();
    state_.FileSlot = 0;
    if (wasOnPage) redrawPrintPage();
    closeFrame();
}

// ---------------------------------------------------------------- drawing

void Plot3D::forgetShownFile() {
    state_.Title = NoFileTitle(state_.ID, "3D plot");
    state_.FileSlot = 0;
}


void Plot3D::Piirra() {
    if (g.SheetLoading) return;
    const int slot = fileIndex();
    if (slot == 0) return;
    WaitCursor wait;
    ++draws_;
    state_.FileSlot = static_cast<int16_t>(slot);
    const FileRecord& file = fileRecord(slot);
    fitPictureToClient();
    state_.Title = "(" + std::to_string(state_.ID) + "): 3D Plot - " + file.FileName;
    updateCaption();
    ThreeDDrawOptions options;
    options.quickPass = fullDrawPostponed();
    options.backgroundPicture = &backgroundPicture();
    RenderThreeD(picture_, state_, file, options);
    update();

    if (state_.OnPrintPage) redrawPrintPage();
    // A drag step is no change worth writing; its release draws again and
    // writes then.
    if (!state_.Dragging && !options.quickPass)
        if (MainServices* services = mainServices()) services->TalletaNakyma(QStringLiteral("Autosave"));
}

void Plot3D::NaytaPopulaatio(int slot) {
    state_.ShownPopulation = static_cast<int16_t>(std::clamp(slot, 0, PopulationTableSize - 1));
    Piirra();
}

void Plot3D::AsetaPreviewissa(bool flag) {
    state_.OnPrintPage = flag;
    state_.setCaption(ThreeDMenuPrintPreview, flag ? "Don't show in print preview page" : "Show in print preview page");
    if (flag) Piirra();
    else redrawPrintPage();
}

// ---------------------------------------------------------------- pop-up menus

void Plot3D::toggleFlag(bool& flag, int item, const char* whenOn, const char* whenOff) {
    flag = !flag;
    state_.setCaption(item, flag ? whenOn : whenOff);
    Piirra();
}

void Plot3D::MenuValintaReaktio(int index) {
    switch (index) {
    case ThreeDMenuZeroRotation: Nollaa(); break;
    case ThreeDMenuCopy: CopyToClipboard(); break;
    case ThreeDMenuSaveBmp: saveImage(); break;
    case ThreeDMenuOutlines: toggleFlag(state_.ShowOutlines, index, "Hide outlines", "Show outlines"); break;
    case ThreeDMenuParameterNames:
        toggleFlag(state_.ShowParameterNames, index, "Hide parameter names", "Show parameter names");
        break;
    case ThreeDMenuInvertBackground:
        state_.DarkBackground = !state_.DarkBackground;
        Piirra();
        break;
    case ThreeDMenuDotSize:
        if (state_.DotSize != 1) {
            state_.DotSize = 1;
            state_.setCaption(index, "Large dots");
        } else {
            state_.DotSize = 2;
            state_.setCaption(index, "Small dots");
        }
        Piirra();
        break;
    case ThreeDMenuFastDraw: switchDrawMode(); break;
    case ThreeDMenuPrintPreview: AsetaPreviewissa(!state_.OnPrintPage); break;
    default: break;  // separators and numbers outside the menu
    }
}

void Plot3D::switchDrawMode() {
    if (const auto mode = SwitchedDrawMode(state_.FastDraw, fileEventCount(), g.FastDrawLimit)) {
        applyDrawMode(*mode);
        Piirra();
    }
}

void Plot3D::applyDrawMode(const DrawMode& mode) {
    state_.FastDraw = mode.fast;
    state_.Step = mode.step;
    state_.setCaption(ThreeDMenuFastDraw, mode.caption);
}

void Plot3D::rightButtonMenus(QPointF pos, QPoint globalPos) {
    MainServices* services = mainServices();
    if (!services) return;
    const double Y = pos.y();
    int axis = 0;
    if (state_.ShowParameterNames) {
        if (Y > 0 && Y < 12) axis = 1;
        else if (Y > 12 && Y < 24) axis = 2;
        else if (Y > 24 && Y < 36) axis = 3;
    }
    if (axis == 0) {
        QStringList captions;
        for (int k = 1; k <= ThreeDMenuItemCount; ++k) captions << QString::fromLatin1(state_.caption(k));
        services->showWindowPopup(state_.ID, captions, globalPos);
        return;
    }
    // Without a file, or with the list dismissed, the axis stays as it is.
    const std::optional<int16_t> chosen = chooseAxisParameter(axis, globalPos);
    if (!chosen) return;
    (axis == 1 ? state_.AxisX : axis == 2 ? state_.AxisY : state_.AxisZ) = *chosen;
    Piirra();
}

// ---------------------------------------------------------------- mouse

void Plot3D::mousePressEvent(QMouseEvent* event) {
    g.AxisPopupAxis = 0;
    const QPointF pos = event->position();
    if (event->button() == Qt::RightButton) {
        rightButtonMenus(pos, event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    state_.LastX = static_cast<int16_t>(std::clamp<int32_t>(NearestInt32(pos.x()), INT16_MIN, INT16_MAX));
    state_.LastY = static_cast<int16_t>(std::clamp<int32_t>(NearestInt32(pos.y()), INT16_MIN, INT16_MAX));
    if (!state_.Dragging) state_.SavedStep = state_.Step;
    state_.Dragging = true;
    state_.Step = CoarseThreeDStep(fileEventCount());
    Piirra();
}

void Plot3D::mouseMoveEvent(QMouseEvent* event) {
    FilePlotWindow::mouseMoveEvent(event);
    if (!state_.Dragging) return;
    const QPointF pos = event->position();
    const int16_t X = static_cast<int16_t>(std::clamp<int32_t>(NearestInt32(pos.x()), INT16_MIN, INT16_MAX));
    const int16_t Y = static_cast<int16_t>(std::clamp<int32_t>(NearestInt32(pos.y()), INT16_MIN, INT16_MAX));
    const double dx = static_cast<double>(state_.LastX) - X;
    const double dy = static_cast<double>(state_.LastY) - Y;
    state_.LastX = X;
    state_.LastY = Y;
    if (event->modifiers() == Qt::ShiftModifier) {
        state_.Distance -= 3 * dy;
    } else {
        state_.RotateX = WrapAngleOnce(state_.RotateX + dx);
        state_.RotateY = WrapAngleOnce(state_.RotateY - dy);
    }
    Piirra();
}

void Plot3D::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !state_.Dragging) return;
    state_.Step = state_.SavedStep;
    state_.Dragging = false;
    Piirra();
}

// ---------------------------------------------------------------- tool members

void Plot3D::MuutaRotaatiota(const std::string& axis, const std::string& delta) {
    if (axis == "x") state_.RotateX = WrapAngleOnce(state_.RotateX + Val(delta));
    else if (axis == "y") state_.RotateY = WrapAngleOnce(state_.RotateY + Val(delta));
    Piirra();
}

void Plot3D::MuutaEtaisyytta(const std::string& delta) {
    state_.Distance -= Val(delta);
    Piirra();
}

void Plot3D::Nollaa() {
    state_.RotateX = state_.RotateY = state_.RotateZ = 0;
    state_.Distance = ThreeDDefaultDistance;
    Piirra();
}

std::string Plot3D::AnnaKanava(const std::string& axis) {
    if (axis == "x") return std::to_string(state_.AxisX);
    if (axis == "y") return std::to_string(state_.AxisY);
    if (axis == "z") return std::to_string(state_.AxisZ);
    return {};
}

void Plot3D::AsetaKanava(const std::string& axis, const std::string& value) {
    if (axis == "x") state_.AxisX = channelArgument(value);
    else if (axis == "y") state_.AxisY = channelArgument(value);
    else if (axis == "z") state_.AxisZ = channelArgument(value);
    Piirra();
}

void Plot3D::AsetaPiirtoMoodi(const std::string& mode) {
    if (AsksForOtherDrawMode(mode, state_.FastDraw)) switchDrawMode();
}

void Plot3D::AsetaTaustaKuvanTila(const std::string& mode) {
    if (mode == "paalla") state_.BackgroundPictureShown = true;
    else if (mode == "poissa") state_.BackgroundPictureShown = false;
    else return;
    Piirra();
}

// ---------------------------------------------------------------- settings lines

std::vector<std::string> Plot3D::SaveInfo() { return ThreeDSettingsLines(state_, frameTwips()); }

void Plot3D::LoadInfo(const std::string& line) {
    const WindowSettingRequest req = ApplyThreeDSettingLine(state_, line, fileEventCount(), g.FastDrawLimit);
    if (!applyFrameRequest(req) && req.kind == WindowSettingRequest::Kind::Preview) AsetaPreviewissa(req.flag);
    dropFileNotLoaded();
}

}  // namespace qv
