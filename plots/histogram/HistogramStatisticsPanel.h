#pragma once
// The statistics side of a histogram window: one entry for the visible
// events and one per population and definition slot, and the filling of its
// statistics window's grid. The window itself, its picture and its settings
// lines are the shared StatisticsPanel's.
#include <string>
#include <vector>

#include "output/StatisticsPanel.h"
#include "plots/histogram/model/HistogramState.h"
#include "plots/histogram/model/HistogramStatistics.h"

namespace qv {

class HistogramStatisticsPanel : public StatisticsPanel {
public:
    // `state` is the window's own state; it must outlive the panel.
    explicit HistogramStatisticsPanel(HistogramState& state);

    void PaivitaStatistiikka() override;
    // One stored value (keys as LookUpHistogramStatistic); a region outside
    // the entries raises WindowOperationError.
    double AnnaStatistiikka(const std::string& region, const std::string& stat) const;

    // PopulationStatistics: entry 0 the visible events, entry k slot k.
    const std::vector<HistogramStatistics>& populationStatistics() const { return stats_; }

private:
    HistogramState& state_;
    std::vector<HistogramStatistics> stats_;
    HistogramStatisticsComputer computer_;
};

}  // namespace qv
