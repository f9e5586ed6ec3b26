#pragma once
// The modeller's statistics as the statistics window and tools see them:
// one grid row per active curve ("% of tot", "X mean", "X geomean", "CV"),
// and single values for tools. Widget-free.
#include <array>
#include <optional>
#include <string>

#include "core/FileRecord.h"
#include "output/model/StatisticsGrid.h"
#include "plots/modeller/model/ModellerState.h"

namespace qv {

struct ModellerGridOptions {
    std::array<bool, 5> columnShown{};  // 1 share, 2 mean, 3 geometric mean, 4 CV; element 0 unused
    bool fileNameRow = false;
    bool sampleIdRow = false;
    bool commentsRow = false;
    bool copying = false;
};

// Rebuilds the grid: the shown information rows, the header row with an
// empty corner, then one row per active curve in curve order, titled with
// its name. Values are cut (never rounded) to two decimals, the share and
// the CV as percentages.
void FillModellerStatisticsGrid(StatisticsGrid& grid, const ModellerGridOptions& options, const FileRecord& file,
                                const ModellerState& state);

// One stored value of curve `curve` (a text that reads as a number, rounded
// half to even): "vis" the share and "cv" as percentages, "xmean",
// "xgeomean"; any other key, or a curve that is no number, gives 0. A curve
// number outside 1..MaxCurves gives no value (the caller reports an error).
std::optional<double> LookUpCurveStatistic(const ModellerState& state, const std::string& curve,
                                           const std::string& stat);

}  // namespace qv
