#pragma once
// The statistics side of a modeller window: the shares of the curves are
// refreshed and its statistics window's grid filled with one row per active
// curve. The window itself, its picture and its settings lines are the
// shared StatisticsPanel's.
#include "output/StatisticsPanel.h"
#include "plots/modeller/model/ModellerState.h"

namespace qv {

class ModellerStatisticsPanel : public StatisticsPanel {
public:
    // `state` is the window's own state; it must outlive the panel.
    explicit ModellerStatisticsPanel(ModellerState& state);

    void PaivitaStatistiikka() override;

private:
    ModellerState& state_;
};

}  // namespace qv
