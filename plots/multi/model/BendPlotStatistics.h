#pragma once
// The bending plot's statistics: how many of the shown events fall into each
// bending-plot gate and each definition, and what share of the shown events
// that is; the rows of its statistics grid; the values tools ask for.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/FileRecord.h"
#include "core/PopulationRecord.h"
#include "output/model/StatisticsGrid.h"

namespace qv {

struct PopulationCount {
    int32_t Number = 0;    // events counted
    double Fraction = 0;   // share of the shown events, 0..1
};

// Whether slot k gets a count and a row: a population slot in use whose
// Type is "BendPlot" (of any bending plot), or a definition slot in use.
bool BendCountsSlot(const PopulationRecord& p, int slot, int maxPopulations);

// CountPopulations: element 0 counts the shown events (every `step`-th
// event that is a member of `shownPopulation`, or every one when it is 0),
// with Fraction 1; element k of every counted slot the shown events that are
// members of k, and their share (0 when nothing is shown). `counts` must
// hold elements 0..slots; slots not counted keep their values.
void CountBendPopulations(const FileRecord& file, int32_t step, int shownPopulation,
                          std::span<const PopulationRecord> populations, int maxPopulations, int maxDefinitions,
                          std::vector<PopulationCount>& counts);

struct BendGridOptions {
    bool numberShown = true;     // statistics entry 1
    bool fractionShown = true;   // statistics entry 2
    bool fileNameRow = false, sampleIdRow = false, commentsRow = false;  // entries 4..6
    bool copying = false;
    bool fastDraw = false;
    int maxPopulations = 16, maxDefinitions = 16;
};

// The grid: the information rows, the header ("FAST DRAW" in the corner
// while fast draw is on), "Visible", then one row per counted slot.
void FillBendPlotStatisticsGrid(StatisticsGrid& grid, const BendGridOptions& options, const FileRecord& file,
                                std::span<const PopulationRecord> populations,
                                const std::vector<PopulationCount>& counts);

// AnnaStatistiikka: "number" or "vis" (percent) of a numeric region (rounded
// half to even); any other statistic, or a region that is no number, gives
// 0. A numeric region outside the counts gives nothing (the caller reports
// the error).
std::optional<double> LookUpBendStatistic(const std::vector<PopulationCount>& counts, const std::string& region,
                                          const std::string& stat);

}  // namespace qv
