#pragma once
// The statistics side of a dot plot window: the records per population slot
// and per quadrant and the filling of its statistics window's grid. The
// window itself, the statistics picture and the statistics lines of the
// settings are the shared StatisticsPanel's.
#include <string>
#include <vector>

#include "output/StatisticsPanel.h"
#include "plots/dotplot/model/DotPlotState.h"
#include "plots/dotplot/model/DotPlotStatistics.h"

namespace qv {

class DotPlotStatisticsPanel : public StatisticsPanel {
public:
    // `state` is the window's own state (its ID, channels, step, shown
    // population, cross, StatisticsOpen, StatInPreview, menu captions); it
    // must outlive the panel.
    explicit DotPlotStatisticsPanel(DotPlotState& state);

    void PaivitaStatistiikka() override;
    // One stored value (keys as LookUpDotPlotStatistic). A region slot
    // outside the table asked for one of the six statistics raises
    // WindowOperationError.
    double AnnaStatistiikka(const std::string& region, const std::string& stat) const;

    bool OnkoStatPreviewissa() const { return state_.StatInPreview; }
    void AsetaStatPreviewissa(bool flag) { state_.StatInPreview = flag; }

    // "statistics.enabled:" with the value "1" or "0", for the window's own
    // list of lines.
    std::string enabledLine() const;

    const std::vector<DotPlotStatistics>& populationStatistics() const { return populationStats_; }
    const DotPlotQuadrantStatistics& quadrantStatistics() const { return quadrantStats_; }

private:
    DotPlotState& state_;
    std::vector<DotPlotStatistics> populationStats_;
    DotPlotQuadrantStatistics quadrantStats_{};
    DotPlotStatisticsComputer computer_;
};

}  // namespace qv
