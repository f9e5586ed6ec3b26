#include "plots/timeproj/ScatterDisplayWindow.h"

#include <QMouseEvent>
#include <QStringList>

#include <algorithm>

#include "app/FileInfo.h"
#include "app/MainServices.h"
#include "app/WindowRegistry.h"
#include "app/model/WaitCursor.h"
#include "core/FileTableOps.h"
#include "core/FastDraw.h"
#include "core/SharedState.h"
#include "output/PrintPreview.h"
#include "output/Statistics.h"
#include "plots/timeproj/model/ScatterDisplay.h"
#include "plots/timeproj/model/ScatterSettings.h"

namespace qv {

ScatterDisplayWindow::ScatterDisplayWindow(QWidget* parent) : FilePlotWindow(parent) {}

ScatterDisplayWindow::~ScatterDisplayWindow() = default;

// ---------------------------------------------------------------- lifecycle

void ScatterDisplayWindow::beginAlusta(int id, const ScatterMenuItems& items,
                                       const std::vector<std::string>& captions) {
    view_ = NewScatterView(id, NoFileTitle(id, kindTitle()), items, captions);
    if (WindowRecord* r = record()) {
        r->Selected = true;
        r->ShowsFile = true;
    }
    updateCaption();
    placeAtStartSize(g.DefaultPlotWidth, g.DefaultPlotHeight, 4000, 4000);
}

void ScatterDisplayWindow::endAlusta() {
    view_.Initialised = true;
    showLastLoadedFile();
    update();
}

void ScatterDisplayWindow::LatauksenJalkeen() {
    if (g.SheetLoading) return;
    const FileRecord& file = shownFile();
    if (file.Parameters.size() <= 1) return;
    fileTaken(file);
    ChooseDrawMode(view_, file.EventCount, g.FastDrawLimit);
    FollowFileWindow(view_.ID, true);
}

void ScatterDisplayWindow::UnloadWindow() {
    // Only while the slot is still this window's: a second unload must not
    // free a slot another window has taken since.
    if (WindowRecord* r = record(); r && r->Form == this) releaseWindowSlot(view_.ID);
    if (view_.OnPreviewPage) redrawPrintPage();  // the page lets go of the picture
    ReleaseUnusedFiles();
    closeFrame();
}

// ---------------------------------------------------------------- drawing

void ScatterDisplayWindow::forgetShownFile() {
    view_.Title = NoFileTitle(view_.ID, kindTitle());
    eventsDrawn_ = 0;
}


bool ScatterDisplayWindow::shownMembership(const FileRecord& file, const uint8_t*& shown) const {
    shown = nullptr;
    if (view_.ShownPopulation == 0) return true;
    const int32_t last = std::min(file.EventCount, file.WorkingData.maxEvent());
    if (view_.ShownPopulation > file.Membership.maxColumn() || file.Membership.maxEvent() < last) return false;
    shown = file.Membership.column(view_.ShownPopulation);
    return true;
}

void ScatterDisplayWindow::Piirra() {
    const int slot = fileIndex();
    if (slot == 0 || g.SheetLoading) return;
    WaitCursor wait;
    const FileRecord& file = fileRecord(slot);
    fitPictureToClient();

    view_.Title = "(" + std::to_string(view_.ID) + "): " + kindTitle() + " - " + file.FileName;
    updateCaption();

    const bool quick = fullDrawPostponed();
    ScatterDrawOptions options;
    options.quickPass = quick;
    // On the shown print page the picture carries its file's name.
    options.showFileName = view_.OnPreviewPage && printPreviewShown();
    eventsDrawn_ = DrawScatter(picture_, view_, file, options, renderer_);
    drawOwnLayer(picture_, file, quick);
    update();

    if (!quick) {
        if (MainServices* services = mainServices()) services->TalletaNakyma(QStringLiteral("Autosave"));
    }
    if (options.showFileName) redrawPrintPage();
}

void ScatterDisplayWindow::NaytaPopulaatio(int slot) {
    if (slot >= 0 && slot <= g.membershipSlots() && slot < PopulationTableSize)
        view_.ShownPopulation = static_cast<int16_t>(slot);
    Piirra();
}

// ---------------------------------------------------------------- print page

void ScatterDisplayWindow::AsetaPreviewissa(bool flag) {
    if (flag) {
        view_.OnPreviewPage = true;
        view_.setCaption(view_.Items.PrintPage, "Don't show in print preview page");
        Piirra();
    } else {
        view_.OnPreviewPage = false;
        view_.setCaption(view_.Items.PrintPage, "Show in print preview page");
        redrawPrintPage();
    }
}

// ---------------------------------------------------------------- menus

void ScatterDisplayWindow::MenuValintaReaktio(int index) {
    if (ownMenuItem(index)) return;
    const ScatterMenuItems& it = view_.Items;
    if (ToggleDisplayItem(view_, index)) {
        Piirra();
    } else if (index == it.CopyImage) {
        CopyToClipboard();
    } else if (index == it.SavePicture) {
        saveImage();
    } else if (index == it.FastDraw) {
        switchDrawMode();
    } else if (index == it.PrintPage) {
        AsetaPreviewissa(!view_.OnPreviewPage);
    }
    // Separators and numbers outside the menu do nothing.
}

void ScatterDisplayWindow::rightButtonMenus(QPointF pos, QPoint globalPos) {
    const int axis = AxisStripAt(pos.x(), pos.y(), picture_.width(), picture_.height(), view_.PlotMargin);
    MainServices* services = mainServices();
    if (!services) return;
    if (axis == 0) {
        QStringList captions;
        for (int k = 1; k <= view_.menuCaptionCount(); ++k) captions << QString::fromLatin1(view_.caption(k));
        services->showWindowPopup(view_.ID, captions, globalPos);
        return;
    }

    // The parameter list of an axis strip; without a file, or without a
    // choice, the axes stay as they are.
    const std::optional<int16_t> channel = chooseAxisParameter(axis, globalPos);
    if (!channel) return;
    (axis == 1 ? view_.AxisX : view_.AxisY) = *channel;
    axisChosen(shownFile());
    Piirra();
}

void ScatterDisplayWindow::mousePressEvent(QMouseEvent* event) {
    g.AxisPopupAxis = 0;
    if (event->button() == Qt::RightButton && !g.RegionDrawMode)
        rightButtonMenus(event->position(), event->globalPosition().toPoint());
}

// ---------------------------------------------------------------- settings lines

std::vector<std::string> ScatterDisplayWindow::SaveInfo() {
    std::vector<std::string> lines;
    lines.emplace_back();  // the count, filled last
    AppendScatterSettingsLines(lines, view_, frameTwips());
    appendOwnSettingsLines(lines);
    lines[0] = std::to_string(lines.size() - 1);
    return lines;
}

void ScatterDisplayWindow::LoadInfo(const std::string& line) {
    const WindowSettingsLine parsed = ParseWindowSettingsLine(line);
    if (parsed.valid) {
        const FileRecord& file = shownFile();
        ScatterFileFacts facts;
        facts.eventCount = file.EventCount;
        facts.parameterCount = file.Loaded ? file.ParameterCount : 0;
        facts.fastDrawLimit = g.FastDrawLimit;
        bool handled = false;
        const WindowSettingRequest req = ApplyScatterSettingLine(view_, parsed, facts, handled);
        if (!handled)
            applyOwnSettingsLine(parsed.key, parsed.value);
        else if (!applyFrameRequest(req) && req.kind == WindowSettingRequest::Kind::Preview)
            AsetaPreviewissa(req.flag);
    }
    dropFileNotLoaded();
}

// ---------------------------------------------------------------- channels and modes

std::string ScatterDisplayWindow::AnnaKanava(const std::string& axis) {
    if (axis == "x") return std::to_string(view_.AxisX);
    if (axis == "y") return std::to_string(view_.AxisY);
    return {};
}

void ScatterDisplayWindow::AsetaKanava(const std::string& axis, const std::string& value) {
    // As on a dot plot: a value that is no number stops the tool's run; an
    // index beyond the file's parameters is kept until the drawing puts it
    // back to the first (X) or second (Y) parameter.
    if (axis == "x" || axis == "y") (axis == "x" ? view_.AxisX : view_.AxisY) = channelArgument(value);
    Piirra();
}

void ScatterDisplayWindow::AsetaPiirtoMoodi(const std::string& mode) {
    if (AsksForOtherDrawMode(mode, view_.FastDraw)) switchDrawMode();
}

void ScatterDisplayWindow::switchDrawMode() {
    if (ToggleFastDraw(view_, fileEventCount(), g.FastDrawLimit)) Piirra();
}

}  // namespace qv
