#include "plots/modeller/model/ModellerStatistics.h"

#include <cmath>
#include <vector>

#include "core/Numbers.h"
#include "output/model/StatisticsTable.h"

namespace qv {

void FillModellerStatisticsGrid(StatisticsGrid& grid, const ModellerGridOptions& options, const FileRecord& file,
                                const ModellerState& state) {
    static const char* const titles[5] = {"", "% of tot", "X mean", "X geomean", "CV"};
    StatisticsTableLayout layout;
    std::vector<int> shown;
    for (int c = 1; c <= 4; ++c) {
        if (!options.columnShown[static_cast<size_t>(c)]) continue;
        shown.push_back(c);
        layout.titles.emplace_back(titles[c]);
    }
    layout.fileNameRow = options.fileNameRow;
    layout.sampleIdRow = options.sampleIdRow;
    layout.commentsRow = options.commentsRow;
    layout.copying = options.copying;
    for (int k = 1; k <= state.MaxCurves; ++k) {
        const GaussCurve* c = state.curve(k);
        if (!c || !c->Active) continue;
        StatisticsTableRow row{c->Name, {}};
        // Grid columns 1..4 are the statistics from the share on; a curve's
        // Number is not shown. A curve's statistics are sums over its
        // channels in double arithmetic: no event's storage error to absorb.
        for (int column : shown)
            row.cells.push_back(HistogramStatisticText(state.CurveStatistics[static_cast<size_t>(k)],
                                                       static_cast<HistogramStatistic>(column),
                                                       StatisticSource::DoubleArithmetic));
        layout.rows.push_back(std::move(row));
    }
    FillStatisticsTable(grid, layout, file);
}

std::optional<double> LookUpCurveStatistic(const ModellerState& state, const std::string& curve,
                                           const std::string& stat) {
    const std::optional<double> number = ParseNumber(curve);
    if (!number) return 0.0;
    if (!(std::fabs(*number) < 1.0e9)) return std::nullopt;
    const int32_t k = CLng(*number);
    if (!state.curve(k)) return std::nullopt;
    const HistogramStatistics& s = state.CurveStatistics[static_cast<size_t>(k)];
    if (stat == "vis") return s.Fraction * 100.0;
    if (stat == "xmean") return s.Mean;
    if (stat == "xgeomean") return s.GeoMean;
    if (stat == "cv") return s.CV * 100.0;
    return 0.0;
}

}  // namespace qv
