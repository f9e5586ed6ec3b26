// The histogram's pop-up menu items and the parameter list of its X-axis
// strip.
#include <QClipboard>
#include <QGuiApplication>
#include <QStringList>

#include <cmath>
#include <stdexcept>

#include "app/Dialogs.h"
#include "app/MainServices.h"
#include "app/WindowRegistry.h"
#include "core/FastDraw.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "plots/histogram/Histogram.h"
#include "plots/histogram/HistogramInputs.h"
#include "plots/histogram/model/HistogramBins.h"

namespace qv {

void Histogram::MenuValintaReaktio(int index) {
    auto toggle = [&](bool& flag, int item, const char* whenOn, const char* whenOff) {
        flag = !flag;
        state_.setCaption(item, flag ? whenOn : whenOff);
        Piirra();
    };
    switch (index) {
    case HistoMenuStatistics: AvaaTaiSuljeStatistics(""); break;
    case HistoMenuYScale: askWholeNumber(index, "(0 = automatic)", state_.YScale); break;
    case HistoMenuSmoothing: askWholeNumber(index, "(0 = none)", state_.Smoothing); break;
    case HistoMenuRegionLines:
        toggle(state_.ShowRegionLines, index, "Hide marker lines", "Show marker lines");
        break;
    case HistoMenuCreatedHere:
        toggle(state_.ShowCreatedHereOnly, index, "Show all markers", "Show only markers created here");
        break;
    case HistoMenuCopy: CopyToClipboard(); break;
    case HistoMenuSaveBmp: saveImage(); break;
    case HistoMenuColour: chooseFillColour(); break;
    case HistoMenuInvertBackground:
        state_.DarkBackground = !state_.DarkBackground;
        Piirra();
        break;
    case HistoMenuOutline: toggle(state_.DrawOutline, index, "Don't draw outline", "Draw outline"); break;
    case HistoMenuFastDraw: switchDrawMode(); break;
    case HistoMenuCopyCounts: copyCountsToClipboard(); break;
    case HistoMenuPrintPreview: AsetaPreviewissa(!state_.OnPrintPage); break;
    default: break;  // separators and numbers outside the menu
    }
}

void Histogram::askWholeNumber(int item, const char* hint, int32_t& field) {
    const std::optional<int32_t> smoothing =
        &field == &state_.Smoothing ? std::optional<int32_t>(state_.Resolution) : std::nullopt;
    if (AskWholeNumberInto(state_.caption(item), hint, field, smoothing)) Piirra();
}

void Histogram::chooseFillColour() {
    ChooseFillColour(state_.FillRed, state_.FillGreen, state_.FillBlue);
    Piirra();
}

void Histogram::switchDrawMode() {
    if (const auto mode = SwitchedDrawMode(state_.FastDraw, fileEventCount(), g.FastDrawLimit)) {
        applyDrawMode(*mode);
        Piirra();
    }
}

void Histogram::copyCountsToClipboard() {
    if (fileIndex() == 0) return;
    QClipboard* clip = QGuiApplication::clipboard();
    if (!clip) return;
    const std::string text = BinCountsText(state_.Counts);
    clip->clear();
    clip->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void Histogram::rightButtonMenus(QPointF pos, QPoint globalPos) {
    const double X = pos.x(), Y = pos.y();
    const double W = picture_.width(), H = picture_.height();
    const double m = state_.PlotMargin;
    MainServices* services = mainServices();
    if (!services) return;
    if (!(X > m && X < W && Y > H - m && Y < H)) {
        QStringList captions;
        for (int k = 1; k <= state_.MenuItemCount && k <= HistogramMenuItemCount; ++k)
            captions << QString::fromLatin1(state_.caption(k));
        services->showWindowPopup(state_.ID, captions, globalPos);
        return;
    }

    const std::optional<int16_t> chosen = chooseAxisParameter(1, globalPos);
    if (!chosen) return;
    state_.Channel = *chosen;
    Piirra();
}

}  // namespace qv
