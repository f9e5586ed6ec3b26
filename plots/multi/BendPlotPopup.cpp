// The bending plot's pop-up menu and what its items do.
#include <QStringList>

#include "app/Dialogs.h"
#include "app/MainServices.h"
#include "core/FastDraw.h"
#include "core/SharedState.h"
#include "plots/multi/BendPlot.h"
#include "plots/multi/model/BendAxes.h"

namespace qv {

void BendPlot::MenuValintaReaktio(int index) {
    auto toggle = [&](bool& flag, int item, const char* onCaption, const char* offCaption) {
        flag = !flag;
        state_.setCaption(item, flag ? onCaption : offCaption);
        Piirra();
    };
    switch (index) {
    case BendMenuStatistics: AvaaTaiSuljeStatistics(""); break;
    case BendMenuAddAxis:
        if (BendAddAxis(state_.Axes, state_.SelectedAxis) == 0) {
            showMessage(QStringLiteral("There is already maximum number of axes."));
            break;
        }
        Piirra();
        break;
    case BendMenuDeleteAxis:
        BendDeleteAxis(state_.Axes, state_.SelectedAxis);
        Piirra();
        break;
    case BendMenuRegionLines:
        toggle(state_.RegionLinesShown, BendMenuRegionLines, "Hide region lines", "Show region lines");
        break;
    case BendMenuCreatedHere:
        toggle(state_.CreatedHereOnly, BendMenuCreatedHere, "Show all regions", "Show only regions created here");
        break;
    case BendMenuMulticolour:
        toggle(state_.Multicolor, BendMenuMulticolour, "Disable multicoloring", "Enable multicoloring");
        break;
    case BendMenuDistanceColours:
        toggle(state_.DistanceColors, BendMenuDistanceColours, "Don't use distance colors", "Use distance colors");
        break;
    case BendMenuCopy: CopyToClipboard(); break;
    case BendMenuSaveBmp: saveImage(); break;
    case BendMenuInvertBackground:
        state_.DarkBackground = !state_.DarkBackground;
        Piirra();
        break;
    case BendMenuDotSize:
        if (state_.DotSize != 1) {
            state_.DotSize = 1;
            state_.setCaption(BendMenuDotSize, "Large dots");
        } else {
            state_.DotSize = 2;
            state_.setCaption(BendMenuDotSize, "Small dots");
        }
        Piirra();
        break;
    case BendMenuFastDraw: toggleFastDraw(); break;
    case BendMenuPrintPreview: AsetaPreviewissa(!state_.OnPreviewPage); break;
    default: break;  // separators and numbers outside the menu
    }
}

void BendPlot::toggleFastDraw() {
    if (const auto mode = SwitchedDrawMode(state_.FastDraw, fileEventCount(), LimitOfAtLeastOne(g.FastDrawLimit))) {
        applyDrawMode(*mode);
        Piirra();
    }
}

}  // namespace qv
