
#include <QFileInfo>
#include <QStringList>

#include "app/Dialogs.h"
#include "app/MainServices.h"
#include "app/WindowRegistry.h"
#include "core/SharedState.h"
#include "core/picture/WindowPicture.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/dotplot/model/DotDataText.h"

namespace qv {

void DotPlot::MenuValintaReaktio(int index) {
    switch (index) {
    case MenuStatistics: AvaaTaiSuljeStatistics(""); break;
    case MenuQuadrant: NaytaTaiPiilotaKvadrantti(""); break;
    case MenuDensity:
        state_.DensityOn = !state_.DensityOn;
        state_.setCaption(MenuDensity, state_.DensityOn ? "Dot plot" : "Density plot");
        Piirra();
        break;
    case MenuRegionLines:
        state_.RegionLinesOn = !state_.RegionLinesOn;
        state_.setCaption(MenuRegionLines, state_.RegionLinesOn ? "Hide region lines" : "Show region lines");
        Piirra();
        break;
    case MenuCreatedHere:
        state_.CreatedHereOnly = !state_.CreatedHereOnly;
        state_.setCaption(MenuCreatedHere,
                          state_.CreatedHereOnly ? "Show all regions" : "Show only regions created here");
        Piirra();
        break;
    case MenuMulticolour:
        state_.MulticolourOn = !state_.MulticolourOn;
        state_.setCaption(MenuMulticolour, state_.MulticolourOn ? "Disable multicoloring" : "Enable multicoloring");
        Piirra();
        break;
    case MenuCopy: CopyToClipboard(); break;
    case MenuSaveBmp: saveImage(); break;
    case MenuInvertBackground:
        state_.DarkBackground = !state_.DarkBackground;
        Piirra();
        break;
    case MenuDotSize:
        if (state_.DotSize != 1) {
            state_.DotSize = 1;
            state_.setCaption(MenuDotSize, "Large dots");
        } else {
            state_.DotSize = 2;
            state_.setCaption(MenuDotSize, "Small dots");
        }
        Piirra();
        break;
    case MenuFastDraw: switchDrawMode(); break;
    case MenuSaveData: saveData(); break;
    case MenuPrintPreview: AsetaPreviewissa(!state_.InPreview); break;
    default: break;  // separators and numbers outside the menu
    }
}

void DotPlot::rightButtonMenus(QPointF pos, QPoint globalPos) {
    const double X = pos.x(), Y = pos.y();
    const double W = picture_.width(), H = picture_.height();
    const double m = state_.Margin;
    int axis = 0;
    if (X > 0 && X < m && Y > m && Y < H - m)
        axis = 2;
    else if (X > m && X < W && Y > H - m && Y < H)
        axis = 1;

    MainServices* services = mainServices();
    if (axis == 0) {
        if (!services) return;
        QStringList captions;
        for (int k = 1; k <= state_.MenuItemCount && k <= DotPlotMenuItemCount; ++k)
            captions << QString::fromLatin1(state_.caption(k));
        services->showWindowPopup(state_.ID, captions, globalPos);
        return;
    }

    // The parameter list of an axis strip; without a file, or without a
    // choice, the channel stays as it is.
    const std::optional<int16_t> channel = chooseAxisParameter(axis, globalPos);
    if (!channel) return;
    (axis == 1 ? state_.ChannelX : state_.ChannelY) = *channel;
    Piirra();
}

void DotPlot::saveData() {
    const std::optional<QString> path = AskExportPath(QStringLiteral("Save the data"),
                                                      QStringLiteral("TXT files (tab delimited) (*.TXT *.txt)"));
    if (!path) return;
    const int slot = fileIndex();
    state_.FileSlot = static_cast<int16_t>(slot);
    const std::string text = DotDataText(fileCopy(), state_.ChannelX, state_.ChannelY, state_.ShownPopulation);
    std::string reason;
    if (!WriteTextFileAtomically(*path, text, &reason)) showSaveError(*path, reason);
}

}  // namespace qv
