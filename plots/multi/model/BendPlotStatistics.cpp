#include "plots/multi/model/BendPlotStatistics.h"

#include <algorithm>
#include <cmath>

#include "core/Numbers.h"
#include "output/model/StatisticsTable.h"

namespace qv {

bool BendCountsSlot(const PopulationRecord& p, int slot, int maxPopulations) {
    if (!p.InUse) return false;
    return slot > maxPopulations || p.Type == "BendPlot";
}

void CountBendPopulations(const FileRecord& file, int32_t step, int shownPopulation,
                          std::span<const PopulationRecord> populations, int maxPopulations, int maxDefinitions,
                          std::vector<PopulationCount>& counts) {
    if (counts.empty()) return;
    if (step < 1) step = 1;
    const int32_t last = std::min(file.EventCount, file.Membership.maxEvent());
    const uint8_t* shown = nullptr;
    bool nothingShown = last < 1;
    if (shownPopulation != 0) {
        if (file.Membership.contains(last, shownPopulation)) shown = file.Membership.column(shownPopulation);
        else nothingShown = true;
    }

    int32_t visible = 0;
    if (!nothingShown)
        for (int64_t e = 1; e <= last; e += step) visible += (!shown || shown[e] == 1) ? 1 : 0;
    counts[0].Number = visible;
    counts[0].Fraction = 1;

    const int slots = std::min<int>({maxPopulations + maxDefinitions, static_cast<int>(counts.size()) - 1,
                                     static_cast<int>(populations.size()) - 1});
    for (int k = 1; k <= slots; ++k) {
        if (!BendCountsSlot(populations[static_cast<size_t>(k)], k, maxPopulations)) continue;
        int32_t n = 0;
        if (!nothingShown && file.Membership.contains(last, k)) {
            const uint8_t* member = file.Membership.column(k);
            if (shown) {
                for (int64_t e = 1; e <= last; e += step) n += (member[e] == 1 && shown[e] == 1) ? 1 : 0;
            } else {
                for (int64_t e = 1; e <= last; e += step) n += member[e] == 1 ? 1 : 0;
            }
        }
        counts[static_cast<size_t>(k)].Number = n;
        counts[static_cast<size_t>(k)].Fraction = visible >= 1 ? static_cast<double>(n) / visible : 0.0;
    }
}

void FillBendPlotStatisticsGrid(StatisticsGrid& grid, const BendGridOptions& options, const FileRecord& file,
                                std::span<const PopulationRecord> populations,
                                const std::vector<PopulationCount>& counts) {
    StatisticsTableLayout layout;
    if (options.numberShown) layout.titles.emplace_back("Number");
    if (options.fractionShown) layout.titles.emplace_back("% of vis");
    layout.fileNameRow = options.fileNameRow;
    layout.sampleIdRow = options.sampleIdRow;
    layout.commentsRow = options.commentsRow;
    layout.copying = options.copying;
    layout.corner = options.fastDraw ? "FAST DRAW" : "";

    auto addRow = [&](const std::string& label, const PopulationCount& c) {
        StatisticsTableRow row{label, {}};
        if (options.numberShown) row.cells.push_back(NumberText(c.Number));
        if (options.fractionShown) row.cells.push_back(NumberText(TruncateTwoDecimals(c.Fraction, true)));
        layout.rows.push_back(std::move(row));
    };
    static const PopulationCount none;
    addRow("Visible", counts.empty() ? none : counts[0]);
    const int slots = std::min(options.maxPopulations + options.maxDefinitions,
                               static_cast<int>(populations.size()) - 1);
    for (int k = 1; k <= slots; ++k) {
        const PopulationRecord& p = populations[static_cast<size_t>(k)];
        if (!BendCountsSlot(p, k, options.maxPopulations)) continue;
        addRow(p.Name, static_cast<size_t>(k) < counts.size() ? counts[static_cast<size_t>(k)] : none);
    }
    FillStatisticsTable(grid, layout, file);
}

std::optional<double> LookUpBendStatistic(const std::vector<PopulationCount>& counts, const std::string& region,
                                          const std::string& stat) {
    if (stat != "number" && stat != "vis") return 0.0;
    const std::optional<double> number = ParseNumber(region);
    if (!number) return 0.0;
    const double slot = RoundHalfEven(*number);
    if (!(slot >= 0.0) || slot >= static_cast<double>(counts.size())) return std::nullopt;
    const PopulationCount& c = counts[static_cast<size_t>(slot)];
    return stat == "number" ? static_cast<double>(c.Number) : c.Fraction * 100.0;
}

}  // namespace qv
