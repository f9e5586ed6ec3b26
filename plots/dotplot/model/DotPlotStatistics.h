#pragma once
// Statistics of the events a dot plot draws: for all shown events, for every
// polygon population drawn on the plot's own parameter pair, for every
// definition, and for the four quadrants of the cross. Widget-free: the
// window hands over its file copy, channels, step, shown population, cross
// and the population table, and gets the records back.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/FileRecord.h"
#include "core/PopulationRecord.h"
#include "output/model/StatisticsTable.h"

namespace qv {

class StatisticsGrid;

// One statistics record. Means are of the events' working (compensated)
// values; the geometric mean is 10 raised to the mean of Log10 of the
// values, where a value at or below 0 counts as log 0 (that is, as 1).
struct DotPlotStatistics {
    int32_t Number = 0;
    double Fraction = 0.0;  // share of a reference count, 0..1
    double XMean = 0.0;
    double YMean = 0.0;
    double XGeoMean = 0.0;
    double YGeoMean = 0.0;
    bool operator==(const DotPlotStatistics&) const = default;
};

// The quadrant records in their stored order.
enum DotPlotQuadrant : int { UpperLeft = 0, UpperRight = 1, LowerLeft = 2, LowerRight = 3 };
using DotPlotQuadrantStatistics = std::array<DotPlotStatistics, 4>;

struct DotPlotStatisticsInput {
    const FileRecord* file = nullptr;  // the window's file copy
    int channelX = 1;
    int channelY = 2;
    int32_t eventStep = 1;             // every n-th event is visited, from event 1
    int shownPopulation = 0;           // 0: every visited event is shown
    int32_t quadrantX = 0;             // the cross in plot space, y from the top
    int32_t quadrantY = 0;
    std::span<const PopulationRecord> populations;  // the population table, slot 0 included
    int maxPopulations = 16;
    int maxDefinitions = 16;
};

// Whether population slot `slot` has a row (and a record computed) in the
// statistics of a plot showing (channelX, channelY): in use and either a
// definition or a polygon drawn on exactly that pair, in that order.
bool DotPlotListsSlot(const PopulationRecord& record, int slot, int maxPopulations, int channelX, int channelY);

// Computes the records. Keeps its scratch between calls, so a refresh
// allocates nothing per event.
class DotPlotStatisticsComputer {
public:
    // Slot 0 (every shown event, Fraction 1) and every listed slot, whose
    // Fraction is relative to slot 0. Slots that are not listed keep what
    // they held. `stats` grows to slots 0..maxPopulations+maxDefinitions
    // when it is smaller.
    void computePopulations(const DotPlotStatisticsInput& in, std::vector<DotPlotStatistics>& stats);
    // The four quadrants, placing each shown event as its dot is placed; an
    // event on the vertical line counts right, on the horizontal line down.
    // Fractions are relative to the sum of the four counts.
    void computeQuadrants(const DotPlotStatisticsInput& in, DotPlotQuadrantStatistics& quadrants);
    // Both in one pass over the events, with the same results.
    void computeAll(const DotPlotStatisticsInput& in, std::vector<DotPlotStatistics>& stats,
                    DotPlotQuadrantStatistics& quadrants);

private:
    void compute(const DotPlotStatisticsInput& in, std::vector<DotPlotStatistics>* stats,
                 DotPlotQuadrantStatistics* quadrants);

    // Running sums of the events that share one membership pattern. The
    // geometric means are kept as a product of mantissas (each in [1, 2))
    // and a sum of binary exponents, so no logarithm is taken per event.
    struct Bin {
        int64_t n = 0;
        double x = 0.0, y = 0.0;
        double mantX = 1.0, mantY = 1.0;
        int64_t expX = 0, expY = 0;
        double extraLogX = 0.0, extraLogY = 0.0;  // natural logs of infinite values
    };

    std::vector<uint8_t> masks_;  // one byte per visited event and group of 8 listed slots
    std::vector<int> listed_;
    std::vector<Bin> bins_;       // 256 per group of 8 listed slots, by membership byte
};

// What the statistics grid shows and how.
struct DotPlotGridOptions : StatisticsGridChoice {
    std::array<bool, 7> columnShown{};  // data columns 1..6 (element 0 unused)
    bool fastDrawOn = false; // "FAST DRAW" in the header's corner
    bool quadrantOn = false; // the quadrant rows follow the population rows
    int channelX = 1;
    int channelY = 2;
};

// Rebuilds `grid` from scratch: information rows, header row, "Visible",
// the listed population rows, and the quadrant rows after an empty row;
// then sizes the grid (1500 twips for the label column plus the standard
// width per data column plus 100, rows times the standard height plus 380).
void FillDotPlotStatisticsGrid(StatisticsGrid& grid, const DotPlotGridOptions& options, const FileRecord& file,
                               std::span<const PopulationRecord> populations,
                               const std::vector<DotPlotStatistics>& stats,
                               const DotPlotQuadrantStatistics& quadrants);

// One stored value by region ("ul", "ur", "ll", "lr", or a text that reads
// as a number, rounded half to even to a population slot) and statistic
// ("number", "vis" as a percentage, "xmean", "ymean", "xgeomean",
// "ygeomean"); keys are compared exactly. Any other region or statistic
// gives 0. A slot outside the records asked for one of the six statistics
// gives no value: the caller reports it as an error.
std::optional<double> LookUpDotPlotStatistic(const std::vector<DotPlotStatistics>& stats,
                                             const DotPlotQuadrantStatistics& quadrants,
                                             const std::string& region, const std::string& stat);

}  // namespace qv
