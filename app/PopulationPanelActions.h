#pragma once
// What the populations panel's buttons, colour boxes and T/C labels do: each
// runs the matching command of the panel model on the row chosen at that
// moment, asks its questions through the dialog layer, and after a change
// refreshes the panel and redraws every window (PiirraKaikki, which also
// autosaves). The main window makes one of these for its panel at start-up.
#include <QObject>

namespace qv {

class PopulationPanel;

class PopulationPanelActions : public QObject {
    Q_OBJECT
public:
    // Connects to the panel's signals, and hands bending-plot gates to their
    // windows during recomputation (InstallWindowPopulationCheck).
    // Esc pressed in any of the program's windows abandons a gate being drawn.
    explicit PopulationPanelActions(PopulationPanel& panel, QObject* parent = nullptr);
    ~PopulationPanelActions() override;

    // The handlers, also callable directly.
    void LuoUusiRegion_Click();
    void MuutaRegioninNimi_Click();
    void PoistaRegion_Click();
    void LuoUusiMaaritelma_Click();
    void PoistaMaaritelma_Click();
    void colourBox(int slot);
    void transparencyLabel(int slot);
    // Esc: drawing mode off, a half-drawn polygon and its rubber band gone.
    void abandonGateDrawing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Repaints window `windowId` (0: none) so that no rubber band stays on it.
    void wipeRubberBand(int windowId);
    // Refreshes the panel, then every window (when a main window exists).
    void redrawAll();

    PopulationPanel& panel_;
};

// Lets the recomputation of all populations reach a bending plot's own
// CheckPopulation (the gate depends on that window's axis chain).
void InstallWindowPopulationCheck();

}  // namespace qv
