// The modeller's pop-up menu items and the parameter list of its X-axis
// strip.
#include <QStringList>

#include "app/Dialogs.h"
#include "app/MainServices.h"
#include "app/WindowRegistry.h"
#include "core/FastDraw.h"
#include "core/SharedState.h"
#include "plots/histogram/HistogramInputs.h"
#include "plots/histogram/model/HistogramState.h"
#include "plots/modeller/HistogramModeller.h"
#include "plots/modeller/model/CurveEditing.h"

namespace qv {

void HistogramModeller::MenuValintaReaktio(int index) {
    switch (index) {
    case ModellerMenuStatistics: AvaaTaiSuljeStatistics(""); break;
    case ModellerMenuAddCurve: addCurve(); break;
    case ModellerMenuYScale: askWholeNumber(index, "(0 = automatic)", state_.YScale); break;
    case ModellerMenuSmoothing: askWholeNumber(index, "(0 = none)", state_.Smoothing); break;
    case ModellerMenuCopy: CopyToClipboard(); break;
    case ModellerMenuSaveBmp: saveImage(); break;
    case ModellerMenuColour: chooseFillColour(); break;
    case ModellerMenuInvertBackground:
        state_.DarkBackground = !state_.DarkBackground;
        Piirra();
        break;
    case ModellerMenuFastDraw: switchDrawMode(); break;
    case ModellerMenuPrintPreview: AsetaPreviewissa(!state_.InPreview); break;
    default: break;  // separators and numbers outside the menu
    }
}

void HistogramModeller::addCurve() {
    if (ActivateFirstInactiveCurve(state_) != 0) {
        Piirra();
        return;
    }
    showMessage(QStringLiteral("You can create only %1 gauss curves at a time").arg(state_.MaxCurves),
                QStringLiteral("Max number of gauss curves"));
}

void HistogramModeller::askWholeNumber(int item, const char* hint, int32_t& field) {
    const std::optional<int32_t> smoothing =
        &field == &state_.Smoothing ? std::optional<int32_t>(state_.HistogramResolution) : std::nullopt;
    if (AskWholeNumberInto(state_.caption(item), hint, field, smoothing)) Piirra();
}

void HistogramModeller::chooseFillColour() {
    ChooseFillColour(state_.FillRed, state_.FillGreen, state_.FillBlue);
    Piirra();
}

void HistogramModeller::switchDrawMode() {
    if (const auto mode = SwitchedDrawMode(state_.FastDraw, fileEventCount(), g.FastDrawLimit)) {
        applyDrawMode(*mode);
        Piirra();
    }
}

void HistogramModeller::rightButtonMenus(QPointF pos, QPoint globalPos) {
    const double X = pos.x(), Y = pos.y();
    const double W = picture_.width(), H = picture_.height();
    const double m = state_.Margin;
    MainServices* services = mainServices();
    if (!services) return;
    if (!(X > m && X < W && Y > H - m && Y < H)) {
        QStringList captions;
        for (int k = 1; k <= state_.MenuCount && k <= ModellerMenuItemCount; ++k)
            captions << QString::fromLatin1(state_.caption(k));
        services->showWindowPopup(state_.ID, captions, globalPos);
        return;
    }

    const std::optional<int16_t> chosen = chooseAxisParameter(1, globalPos);
    if (!chosen) return;
    state_.Channel = *chosen;
    BuildBinValueTable();
    Piirra();
}

}  // namespace qv
