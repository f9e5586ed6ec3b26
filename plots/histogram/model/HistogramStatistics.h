#pragma once
// Statistics of the events a histogram draws: for all shown events, for
// every marker on the window's channel and for every definition. Values are
// the events' working (compensated) values of the channel, not axis
// positions. Widget-free: the window hands over its file, channel, step,
// shown population and the population table, and gets the records back.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/FileRecord.h"
#include "core/Numbers.h"
#include "core/PopulationRecord.h"
#include "output/model/StatisticsTable.h"

namespace qv {

class StatisticsGrid;

// One statistics entry. Fraction and CV are ratios (shown times 100).
// GeoMean is 10 raised to the mean of Log10 of the values, a value at or
// below 0 counting as log 0; CV is the population standard deviation over
// the mean, 0 when the mean is at or below 0.
struct HistogramStatistics {
    int32_t Number = 0;
    double Fraction = 0.0;
    double Mean = 0.0;
    double GeoMean = 0.0;
    double CV = 0.0;
    bool operator==(const HistogramStatistics&) const = default;
};

// The statistics of an entry by the grid column order of a histogram.
enum class HistogramStatistic { Number, Fraction, Mean, GeoMean, CV };

// One statistic of an entry as a statistics grid shows it: Number whole,
// the others cut (never rounded) to two decimals, Fraction and CV as
// percentages. `values` says what Mean, GeoMean and CV were made from: the
// events' 32-bit values (a histogram), whose storage error is absorbed so a
// single event of 4.35 shows 4.35, or double arithmetic (a modeller's
// curves over whole channels), cut as tightly as a share. Fraction is a
// share of counts and always cut in double arithmetic.
std::string HistogramStatisticText(const HistogramStatistics& s, HistogramStatistic which,
                                   StatisticSource values = StatisticSource::FloatEvents);

struct HistogramStatisticsInput {
    const FileRecord* file = nullptr;
    int channel = 1;
    int32_t drawStep = 1;      // events 1, 1 + step, ...
    int shownPopulation = 0;   // 0: every visited event is visible
    std::span<const PopulationRecord> populations;  // the population table, slot 0 included
    int maxPopulations = 16;
    int maxDefinitions = 16;
};

// Whether slot `slot` has a row (and an entry computed): in use and either a
// definition or a "Histogram" marker on `channel`.
bool HistogramListsSlot(const PopulationRecord& record, int slot, int maxPopulations, int channel);

class HistogramStatisticsComputer {
public:
    // Entry 0 (the visible events, Fraction 1) and every listed slot, whose
    // Fraction is relative to entry 0. Entries of slots not listed keep what
    // they held. `stats` grows to entries 0..maxPopulations+maxDefinitions.
    void compute(const HistogramStatisticsInput& in, std::vector<HistogramStatistics>& stats);

private:
    // Running sums of the events that share one membership pattern of a
    // group of 8 listed slots; the squares are taken about a common shift so
    // the spread of large values keeps its precision.
    struct Bin {
        int64_t n = 0;
        double sum = 0.0, logSum = 0.0, shifted = 0.0, shiftedSquares = 0.0;
    };
    static constexpr int32_t kBlock = 8192;
    std::vector<int> listed_;
    std::vector<Bin> bins_;
    std::vector<int32_t> events_;  // scratch of one block of visible events
    std::vector<double> xs_, logs_;
    std::vector<uint8_t> masks_;  // 256 per group of 8 listed slots, by membership byte
};

// Which statistics columns (1 Number, 2 fraction, 3 mean, 4 geometric mean,
// 5 CV) and information rows the grid shows, and how.
struct HistogramGridOptions : StatisticsGridChoice {
    std::array<bool, 6> columnShown{};  // element 0 unused
    bool fastDraw = false;  // "FAST DRAW" in the header's corner
    int channel = 1;
};

// Rebuilds the grid: information rows, the header ("Number", "% of vis",
// "X mean", "X geomean", "CV"), "Visible", then every listed slot by name.
// Values are cut (never rounded) to two decimals, fraction and CV as
// percentages.
void FillHistogramStatisticsGrid(StatisticsGrid& grid, const HistogramGridOptions& options, const FileRecord& file,
                                 std::span<const PopulationRecord> populations,
                                 const std::vector<HistogramStatistics>& stats);

// One stored value by region (a text that reads as a number, rounded half
// to even to an entry; 0 the visible events) and statistic ("number", "vis"
// and "cv" as percentages, "xmean", "xgeomean"; exact keys). A region that
// is no number, or another statistic, gives 0; an entry outside the table
// gives no value (the caller reports an error).
std::optional<double> LookUpHistogramStatistic(const std::vector<HistogramStatistics>& stats,
                                               const std::string& region, const std::string& stat);

}  // namespace qv
