#pragma once
// What the analysis windows need of the main window: redrawing every window,
// the populations panel, autosave, stepping through a folder and the pop-up
// menus that the main window owns. Windows reach it through mainServices();
// it is null while no main window exists (tests of a lone window), and every
// caller must then do without it.
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace qv {

class MainServices {
public:
    virtual ~MainServices() = default;

    // Redraws every window in use, refreshes the panel, autosaves.
    virtual void PiirraKaikki() = 0;
    // Refreshes the populations panel and the "Show populations" submenu.
    virtual void PaivitaRegionLista() = 0;
    // The population row / definition row chosen in the panel, 0 for none.
    virtual int ValittuPopulaatio() const = 0;
    virtual int ValittuMaaritelma() const = 0;
    // Writes the workspace; mode "Autosave" writes the autosave file.
    virtual void TalletaNakyma(const QString& mode) = 0;

    // Loads the next / previous data file of the folder of window `id`'s file.
    virtual bool SeuraavaTiedosto(int id) = 0;
    virtual bool EdellinenTiedosto(int id) = 0;

    // The window pop-up: "Show populations" (unless hidden) and then the
    // window's captions ("-" is a separator). Sets PopupOwner to ownerId;
    // a chosen caption k (1-based) reaches the owner as MenuValintaReaktio(k).
    // Returns when the menu has closed.
    virtual void showWindowPopup(int ownerId, const QStringList& captions,
                                 const QPoint& globalPos, bool showPopulations = true) = 0;
    // The parameter pop-up of an axis strip: sets AxisPopupAxis to axis,
    // shows the names; a choice sets ChosenChannel (index, 0-based). Returns
    // when the menu has closed; ChosenChannel keeps its value without a choice.
    virtual void showChannelPopup(int axis, const QStringList& parameterNames,
                                  const QPoint& globalPos) = 0;
    // The statistics pop-up: "Copy to clipboard" then the items, each with
    // its tick state when ticks are given (-1 none, 0 unticked, 1 ticked).
    // Sets PopupOwner to ownerId. The chosen index (0 = copy) is returned,
    // -1 when dismissed; the autosave follows once the caller has acted.
    virtual int showStatisticsPopup(int ownerId, const QStringList& items, const QPoint& globalPos,
                                    const QList<int>& ticks = {}) = 0;
    // The window pop-up with the items numbered in `disabledItems` (1-based,
    // as the captions) shown but not choosable. Without an override the
    // items are all offered.
    virtual void showWindowPopupWithDisabled(int ownerId, const QStringList& captions, const QPoint& globalPos,
                                             const QList<int>& disabledItems) {
        (void)disabledItems;
        showWindowPopup(ownerId, captions, globalPos);
    }
};

MainServices* mainServices();
void setMainServices(MainServices* services);

}  // namespace qv
