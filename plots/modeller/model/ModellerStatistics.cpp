#include "plots/modeller/model/ModellerStatistics.h"

#include <cmath>
#include <vector>

#include "core/Numbers.h"
#include "output/model/StatisticsTable.h"

namespace qv {

namespace {

std::string cellText(const HistogramStatistics& s, int column) {
    switch (column) {
    case 1: return NumberText(TruncateTwoDecimals(s.Fraction, true));
    case 2: return NumberText(TruncateTwoDecimals(s.Mean, false));
    case 3: return NumberText(TruncateTwoDecimals(s.GeoMean, false));
    case 4: return NumberText(TruncateTwoDecimals(s.CV, true));
    default: return {};
    }
}

}  // namespace

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
        for (int column : shown) row.cells.push_back(cellText(state.CurveStatistics[static_cast<size_t>(k)], column));
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
