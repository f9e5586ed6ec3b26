#include "plots/histogram/model/HistogramStatistics.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/AxisScaling.h"
#include "core/Numbers.h"
#include "core/VectorState.h"
#include "output/model/StatisticsGrid.h"
#include "output/model/StatisticsTable.h"

namespace qv {

bool HistogramListsSlot(const PopulationRecord& record, int slot, int maxPopulations, int channel) {
    if (!record.InUse) return false;
    if (slot > maxPopulations) return true;
    return record.Type == "Histogram" && record.AxisX == channel;
}

namespace {

struct Sums {
    int64_t n = 0;
    double sum = 0.0, logSum = 0.0, shifted = 0.0, shiftedSquares = 0.0;
    template <class B>
    void add(const B& b) {
        n += b.n;
        sum += b.sum;
        logSum += b.logSum;
        shifted += b.shifted;
        shiftedSquares += b.shiftedSquares;
    }
};

// mask[i] gets bit j where member[i] is 1, eight events at a time: a byte
// is 1 exactly when its XOR with 1 is a zero byte, found without carries
// between the bytes.
void markMembers(const uint8_t* member, uint8_t* mask, size_t n, unsigned j) {
    constexpr uint64_t ones = 0x0101010101010101ull, low7 = 0x7F7F7F7F7F7F7F7Full;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t v, m;
        std::memcpy(&v, member + i, 8);
        std::memcpy(&m, mask + i, 8);
        const uint64_t t = v ^ ones;
        const uint64_t zero = ~(((t & low7) + low7) | t | low7);  // 0x80 in every zero byte
        m |= (zero >> 7) << j;
        std::memcpy(mask + i, &m, 8);
    }
    for (; i < n; ++i) mask[i] = static_cast<uint8_t>(mask[i] | (static_cast<unsigned>(member[i] == 1) << j));
}

void finish(const Sums& s, HistogramStatistics& out) {
    out = HistogramStatistics{};
    out.Number = static_cast<int32_t>(std::min<int64_t>(s.n, INT32_MAX));
    if (s.n <= 0) return;
    const double n = static_cast<double>(s.n);
    out.Mean = s.sum / n;
    out.GeoMean = std::pow(10.0, s.logSum / n);
    if (out.Mean > 0.0) {
        const double variance = std::max(0.0, (s.shiftedSquares - s.shifted * s.shifted / n) / n);
        out.CV = std::sqrt(variance) / out.Mean;
    }
}

}  // namespace

void HistogramStatisticsComputer::compute(const HistogramStatisticsInput& in, std::vector<HistogramStatistics>& stats) {
    const int entries = in.maxPopulations + in.maxDefinitions;
    if (static_cast<int>(stats.size()) < entries + 1) stats.resize(static_cast<size_t>(entries) + 1);

    const FileRecord& file = *in.file;
    const int slots = std::min(entries, static_cast<int>(in.populations.size()) - 1);
    const int32_t last = std::min(file.EventCount, file.WorkingData.maxEvent());
    const bool hasChannel = in.channel >= 1 && in.channel <= file.ParameterCount &&
                            in.channel <= file.WorkingData.maxColumn() && last >= 1;
    const bool hasMembership = last >= 1 && file.Membership.maxEvent() >= last;

    listed_.clear();
    for (int k = 1; k <= slots; ++k)
        if (HistogramListsSlot(in.populations[static_cast<size_t>(k)], k, in.maxPopulations, in.channel))
            listed_.push_back(k);

    const uint8_t* shown = nullptr;
    bool anyVisible = hasChannel;
    if (in.shownPopulation != 0) {
        if (hasMembership && in.shownPopulation > 0 && in.shownPopulation <= file.Membership.maxColumn())
            shown = file.Membership.column(in.shownPopulation);
        else
            anyVisible = false;
    }

    // Membership columns of the listed slots, 8 to a group; a column the
    // file lacks has no members.
    const size_t groups = (listed_.size() + 7) / 8;
    std::vector<const uint8_t*> columns(groups * 8, nullptr);
    for (size_t i = 0; i < listed_.size(); ++i)
        if (hasMembership && listed_[i] <= file.Membership.maxColumn())
            columns[i] = file.Membership.column(listed_[i]);
    bins_.assign(groups * 256, Bin{});

    Sums visible;
    if (anyVisible) {
        const float* values = file.WorkingData.column(in.channel);
        const int32_t step = std::max<int32_t>(1, in.drawStep);
        double shift = 0.0;
        bool shiftSet = false;
        // Block by block: the visible events' values, logs and shifted
        // values first, then each group's membership bytes, then the bins.
        events_.resize(kBlock);
        xs_.resize(kBlock);
        logs_.resize(kBlock);
        masks_.resize(kBlock);
        const int64_t stride = static_cast<int64_t>(step) * kBlock;
        for (int64_t first = 1; first <= last; first += stride) {
            const int64_t end = std::min<int64_t>(last + 1, first + stride);
            size_t n = 0;
            for (int64_t e = first; e < end; e += step) {
                if (shown && shown[e] != 1) continue;
                events_[n] = static_cast<int32_t>(e);
                xs_[n] = values[e];
                ++n;
            }
            if (n == 0) continue;
            if (!shiftSet) {
                shift = std::isfinite(xs_[0]) ? xs_[0] : 0.0;
                shiftSet = true;
            }
            ClearUpperVectorHalves();  // one logarithm per event
            for (size_t i = 0; i < n; ++i) logs_[i] = Log10(xs_[i]);
            for (size_t i = 0; i < n; ++i) {
                const double x = xs_[i], d = x - shift;
                visible.sum += x;
                visible.logSum += logs_[i];
                visible.shifted += d;
                visible.shiftedSquares += d * d;
            }
            visible.n += static_cast<int64_t>(n);
            for (size_t gi = 0; gi < groups; ++gi) {
                uint8_t* mask = masks_.data();
                std::fill(mask, mask + n, uint8_t{0});
                for (unsigned j = 0; j < 8; ++j) {
                    const uint8_t* c = columns[gi * 8 + j];
                    if (!c) continue;
                    if (step == 1 && !shown) {
                        markMembers(c + first, mask, n, j);
                    } else {
                        for (size_t i = 0; i < n; ++i)
                            mask[i] = static_cast<uint8_t>(mask[i] | (static_cast<unsigned>(c[events_[i]] == 1) << j));
                    }
                }
                Bin* bins = bins_.data() + gi * 256;
                for (size_t i = 0; i < n; ++i) {
                    if (mask[i] == 0) continue;
                    const double x = xs_[i], d = x - shift;
                    Bin& b = bins[mask[i]];
                    ++b.n;
                    b.sum += x;
                    b.logSum += logs_[i];
                    b.shifted += d;
                    b.shiftedSquares += d * d;
                }
            }
        }
    }

    HistogramStatistics& all = stats[0];
    finish(visible, all);
    all.Fraction = 1.0;
    for (size_t i = 0; i < listed_.size(); ++i) {
        const size_t gi = i / 8;
        const unsigned bit = 1u << (i % 8);
        Sums s;
        for (unsigned byte = 1; byte < 256; ++byte)
            if (byte & bit) s.add(bins_[gi * 256 + byte]);
        HistogramStatistics& out = stats[static_cast<size_t>(listed_[i])];
        finish(s, out);
        out.Fraction = all.Number > 0 ? static_cast<double>(out.Number) / all.Number : 0.0;
    }
}

std::string HistogramStatisticText(const HistogramStatistics& s, HistogramStatistic which, StatisticSource values) {
    switch (which) {
        case HistogramStatistic::Number: return NumberText(s.Number);
        case HistogramStatistic::Fraction: return NumberText(TruncateTwoDecimals(s.Fraction, true));
        case HistogramStatistic::Mean: return NumberText(TruncateTwoDecimals(s.Mean, false, values));
        case HistogramStatistic::GeoMean: return NumberText(TruncateTwoDecimals(s.GeoMean, false, values));
        case HistogramStatistic::CV: return NumberText(TruncateTwoDecimals(s.CV, true, values));
    }
    return {};
}

void FillHistogramStatisticsGrid(StatisticsGrid& grid, const HistogramGridOptions& options, const FileRecord& file,
                                 std::span<const PopulationRecord> populations,
                                 const std::vector<HistogramStatistics>& stats) {
    static const char* const titles[6] = {"", "Number", "% of vis", "X mean", "X geomean", "CV"};
    StatisticsTableLayout layout;
    std::vector<int> shownColumns;
    for (int c = 1; c <= 5; ++c) {
        if (!options.columnShown[static_cast<size_t>(c)]) continue;
        shownColumns.push_back(c);
        layout.titles.emplace_back(titles[c]);
    }
    layout.fileNameRow = options.fileNameRow;
    layout.sampleIdRow = options.sampleIdRow;
    layout.commentsRow = options.commentsRow;
    layout.copying = options.copying;
    layout.corner = options.fastDraw ? "FAST DRAW" : "";

    static const HistogramStatistics none;
    auto addData = [&](const std::string& label, const HistogramStatistics& s) {
        StatisticsTableRow row{label, {}};
        // Grid columns 1..5 are the statistics in their order.
        for (int c : shownColumns) row.cells.push_back(HistogramStatisticText(s, static_cast<HistogramStatistic>(c - 1)));
        layout.rows.push_back(std::move(row));
    };
    addData("Visible", stats.empty() ? none : stats[0]);
    const int slots = std::min(options.maxPopulations + options.maxDefinitions,
                               static_cast<int>(populations.size()) - 1);
    for (int k = 1; k <= slots; ++k) {
        const PopulationRecord& p = populations[static_cast<size_t>(k)];
        if (!HistogramListsSlot(p, k, options.maxPopulations, options.channel)) continue;
        addData(p.Name, static_cast<size_t>(k) < stats.size() ? stats[static_cast<size_t>(k)] : none);
    }
    FillStatisticsTable(grid, layout, file);
}

std::optional<double> LookUpHistogramStatistic(const std::vector<HistogramStatistics>& stats,
                                               const std::string& region, const std::string& stat) {
    const std::optional<double> number = ParseNumber(region);
    if (!number) return 0.0;
    // Compared before any conversion, so a huge number is out of range
    // rather than an overflow.
    if (!(std::fabs(*number) < 1.0e9)) return std::nullopt;
    const int32_t k = CLng(*number);
    if (k < 0 || static_cast<size_t>(k) >= stats.size()) return std::nullopt;
    const HistogramStatistics& s = stats[static_cast<size_t>(k)];
    if (stat == "number") return static_cast<double>(s.Number);
    if (stat == "vis") return s.Fraction * 100.0;
    if (stat == "xmean") return s.Mean;
    if (stat == "xgeomean") return s.GeoMean;
    if (stat == "cv") return s.CV * 100.0;
    return 0.0;
}

}  // namespace qv
