#pragma once
// The statistics side of a bending plot: its counts per gate and definition
// and the filling of its statistics window's grid. The window itself, the
// statistics picture and the statistics lines of the settings are the shared
// StatisticsPanel's.
#include <string>
#include <vector>

#include "output/StatisticsPanel.h"
#include "plots/multi/model/BendPlotState.h"
#include "plots/multi/model/BendPlotStatistics.h"

namespace qv {

class BendPlotStatisticsPanel : public StatisticsPanel {
public:
    // `state` is the window's own state; it must outlive the panel.
    explicit BendPlotStatisticsPanel(BendPlotState& state);

    void PaivitaStatistiikka() override;
    // A stored count; a numeric region outside 0..32 raises
    // WindowOperationError.
    double AnnaStatistiikka(const std::string& region, const std::string& stat) const;

    const std::vector<PopulationCount>& counts() const { return counts_; }

private:
    BendPlotState& state_;
    std::vector<PopulationCount> counts_;
};

}  // namespace qv
