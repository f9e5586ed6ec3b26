#include "plots/dotplot/model/DotPlotStatistics.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <type_traits>

#include "core/AxisScaling.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "output/model/StatisticsGrid.h"
#include "output/model/StatisticsTable.h"

namespace qv {

bool DotPlotListsSlot(const PopulationRecord& record, int slot, int maxPopulations, int channelX, int channelY) {
    if (!record.InUse) return false;
    if (slot > maxPopulations) return true;
    return record.Type == "Polygon" && record.AxisX == channelX && record.AxisY == channelY;
}

namespace {

// A positive finite value as mantissa in [1, 2) and binary exponent. A value
// at or below 0 (or not a number) counts as 1 (log 0); +infinity gives its
// log separately.
struct Split {
    double mant = 1.0;
    int32_t exp = 0;
    double extraLog = 0.0;
};

inline Split splitValue(float v) {
    Split s;
    if (!(v > 0.0f)) return s;
    uint32_t bits = std::bit_cast<uint32_t>(v);
    uint32_t field = (bits >> 23) & 0xffu;
    int32_t bias = 127;
    if (field == 0xffu) {  // +infinity
        s.extraLog = std::log(static_cast<double>(v));
        return s;
    }
    if (field == 0) {  // subnormal: scaled up exactly by 2^32
        bits = std::bit_cast<uint32_t>(v * 4294967296.0f);
        field = (bits >> 23) & 0xffu;
        bias = 127 + 32;
    }
    s.mant = static_cast<double>(std::bit_cast<float>((bits & 0x007fffffu) | 0x3f800000u));
    s.exp = static_cast<int32_t>(field) - bias;
    return s;
}

// The product of at most this many mantissas stays far inside the range of
// a double; a bin's product is folded into its exponent that often.
constexpr int64_t RenormaliseEvery = 256;

inline void renormalise(double& mant, int64_t& exp) {
    int e = 0;
    mant = std::frexp(mant, &e);
    exp += e;
}

struct EventValues {
    double x, y;
    Split sx, sy;
};

// With WithInfinite false the event's values are known to be finite or at
// most 0 (no separate logs), the common case.
template <bool WithInfinite, class Bin>
inline void addTo(Bin& b, const EventValues& v) {
    ++b.n;
    b.x += v.x;
    b.y += v.y;
    b.mantX *= v.sx.mant;
    b.mantY *= v.sy.mant;
    b.expX += v.sx.exp;
    b.expY += v.sy.exp;
    if constexpr (WithInfinite) {
        b.extraLogX += v.sx.extraLog;
        b.extraLogY += v.sy.extraLog;
    }
    if ((b.n % RenormaliseEvery) == 0) {
        renormalise(b.mantX, b.expX);
        renormalise(b.mantY, b.expY);
    }
}

// Sums of one record gathered from its bins.
struct Totals {
    int64_t n = 0;
    double x = 0.0, y = 0.0, logX = 0.0, logY = 0.0;  // natural logs

    template <class Bin>
    void add(const Bin& b) {
        if (b.n == 0) return;
        static const double ln2 = std::log(2.0);
        n += b.n;
        x += b.x;
        y += b.y;
        logX += static_cast<double>(b.expX) * ln2 + std::log(b.mantX) + b.extraLogX;
        logY += static_cast<double>(b.expY) * ln2 + std::log(b.mantY) + b.extraLogY;
    }
};

void finish(const Totals& s, DotPlotStatistics& out) {
    out.Number = static_cast<int32_t>(s.n);
    if (s.n > 0) {
        const double n = static_cast<double>(s.n);
        const double ln10 = std::log(10.0);
        out.XMean = s.x / n;
        out.YMean = s.y / n;
        out.XGeoMean = std::pow(10.0, s.logX / ln10 / n);
        out.YGeoMean = std::pow(10.0, s.logY / ln10 / n);
    } else {
        out.XMean = out.YMean = out.XGeoMean = out.YGeoMean = 0.0;
    }
}

bool channelUsable(const FileRecord& f, int channel) {
    return channel >= 1 && channel <= f.ParameterCount && static_cast<size_t>(channel) < f.Parameters.size() &&
           !f.WorkingData.empty() && channel <= f.WorkingData.maxColumn();
}

// bits[i] |= bit wherever column[i] is exactly 1, sixteen bytes at a time.
void markMembers(uint8_t* bits, const uint8_t* column, int64_t n, uint8_t bit) {
    using Bytes = uint8_t __attribute__((vector_size(16)));
    const Bytes one = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    const Bytes mark = one * bit;
    int64_t i = 0;
    for (; i + 16 <= n; i += 16) {
        Bytes c, b;
        std::memcpy(&c, column + i, 16);
        std::memcpy(&b, bits + i, 16);
        b |= reinterpret_cast<Bytes>(c == one) & mark;
        std::memcpy(bits + i, &b, 16);
    }
    for (; i < n; ++i) bits[i] |= column[i] == 1 ? bit : uint8_t{0};
}

// Whether a parameter's axis position never falls as the value grows (over
// finite values): linear with a positive range, or logarithmic, and no
// folding of negative values.
bool monotoneScale(const FileRecord& f, int channel) {
    if (g.UseNegativeAbs) return false;
    const ParameterInfo& p = f.Parameters[static_cast<size_t>(channel)];
    return p.IsLog || p.Range >= 0;
}

// Float values in their numeric order as unsigned keys (NaN excluded).
inline uint32_t orderKey(float v) {
    const uint32_t b = std::bit_cast<uint32_t>(v);
    return (b & 0x80000000u) ? ~b : (b | 0x80000000u);
}
inline float fromOrderKey(uint32_t k) {
    return std::bit_cast<float>((k & 0x80000000u) ? (k & 0x7fffffffu) : ~k);
}

// A test "value lies on this side" that is false up to some value and true
// from there on (or the other way round), answered by one comparison with
// the first value where the answer changes; found by halving over the
// finite floats. Without `fast` (or for infinite or not-a-number values)
// the test is made in full.
class QuadrantSide {
public:
    template <class Test>
    QuadrantSide(const AxisScale&, Test test, bool fast) : full_(test) {
        if (!fast) return;
        const uint32_t lo = orderKey(-std::numeric_limits<float>::max());
        const uint32_t hi = orderKey(std::numeric_limits<float>::max());
        rising_ = !test(fromOrderKey(lo));  // false at the bottom: turns true
        const bool atTop = test(fromOrderKey(hi));
        if (atTop == test(fromOrderKey(lo))) {  // one answer for every finite value
            constant_ = true;
            constantAnswer_ = atTop;
            fast_ = true;
            return;
        }
        // First key whose answer differs from the bottom's.
        uint32_t a = lo, b = hi;  // answer(a) == bottom, answer(b) != bottom
        while (b - a > 1) {
            const uint32_t m = a + (b - a) / 2;
            if (test(fromOrderKey(m)) == !rising_) a = m;
            else b = m;
        }
        threshold_ = fromOrderKey(b);
        fast_ = true;
    }

    bool operator()(float v) const {
        if (!fast_ || !(std::fabs(v) <= std::numeric_limits<float>::max())) return full_(v);
        if (constant_) return constantAnswer_;
        return rising_ ? v >= threshold_ : v < threshold_;
    }

private:
    std::function<bool(float)> full_;
    bool fast_ = false;
    bool constant_ = false;
    bool constantAnswer_ = false;
    bool rising_ = true;
    float threshold_ = 0.0f;
};

constexpr int SlotsPerGroup = 8;  // one mask byte per visited event and group
constexpr size_t BinsPerGroup = 256;

}  // namespace

void DotPlotStatisticsComputer::computePopulations(const DotPlotStatisticsInput& in,
                                                   std::vector<DotPlotStatistics>& stats) {
    compute(in, &stats, nullptr);
}

void DotPlotStatisticsComputer::computeQuadrants(const DotPlotStatisticsInput& in,
                                                 DotPlotQuadrantStatistics& quadrants) {
    compute(in, nullptr, &quadrants);
}

void DotPlotStatisticsComputer::computeAll(const DotPlotStatisticsInput& in, std::vector<DotPlotStatistics>& stats,
                                           DotPlotQuadrantStatistics& quadrants) {
    compute(in, &stats, &quadrants);
}

// One pass over the visited events. Every shown event adds its values to
// one bin per group of 8 listed slots, chosen by its membership byte for
// those slots, and to the bin of its quadrant (one bin when the quadrants
// are not asked for). A slot's record is then the sum of the bins whose
// byte has its bit set, and the visible record the sum of the quadrant bins.
void DotPlotStatisticsComputer::compute(const DotPlotStatisticsInput& in, std::vector<DotPlotStatistics>* stats,
                                        DotPlotQuadrantStatistics* quadrants) {
    static const FileRecord noFile;
    const FileRecord& f = in.file ? *in.file : noFile;

    // Slots with a record: 1..maxPopulations+maxDefinitions, within the table.
    int slotCount = std::max(0, in.maxPopulations) + std::max(0, in.maxDefinitions);
    slotCount = std::min(slotCount, static_cast<int>(in.populations.size()) - 1);
    slotCount = std::max(slotCount, 0);
    if (stats && stats->size() < static_cast<size_t>(slotCount) + 1) stats->resize(static_cast<size_t>(slotCount) + 1);

    listed_.clear();
    if (stats)
        for (int k = 1; k <= slotCount; ++k)
            if (DotPlotListsSlot(in.populations[static_cast<size_t>(k)], k, in.maxPopulations, in.channelX,
                                 in.channelY))
                listed_.push_back(k);

    // Events visited: 1, 1 + step, ... up to the last event the data holds.
    const int32_t step = std::max<int32_t>(in.eventStep, 1);
    int32_t last = 0;
    if (channelUsable(f, in.channelX) && channelUsable(f, in.channelY))
        last = std::max(0, std::min(f.EventCount, f.WorkingData.maxEvent()));
    const bool hasMembership = !f.Membership.empty();
    const int32_t lastWithMembership = hasMembership ? std::min(last, f.Membership.maxEvent()) : 0;
    const int64_t visited = last >= 1 ? (static_cast<int64_t>(last) - 1) / step + 1 : 0;
    const int64_t visitedWithMembership =
        lastWithMembership >= 1 ? (static_cast<int64_t>(lastWithMembership) - 1) / step + 1 : 0;

    // The shown population's column; a population the file has no column
    // for shows nothing.
    const bool filtered = in.shownPopulation != 0;
    const uint8_t* shownColumn = nullptr;
    if (filtered && hasMembership && in.shownPopulation >= 1 && in.shownPopulation <= f.Membership.maxColumn())
        shownColumn = f.Membership.column(in.shownPopulation);
    const int64_t shownLimit = filtered ? (shownColumn ? visitedWithMembership : 0) : visited;
    const size_t stride = static_cast<size_t>(shownLimit);

    // Membership of the listed slots as bits, one byte per group of 8,
    // built column by column (contiguous, cheap) before the event pass.
    const size_t groups = (listed_.size() + SlotsPerGroup - 1) / SlotsPerGroup;
    masks_.assign(groups * stride, 0);
    for (size_t j = 0; j < listed_.size(); ++j) {
        const int k = listed_[j];
        if (!hasMembership || k > f.Membership.maxColumn()) continue;
        const uint8_t* column = f.Membership.column(k);
        uint8_t* bits = masks_.data() + (j / SlotsPerGroup) * stride;
        const uint8_t bit = static_cast<uint8_t>(1u << (j % SlotsPerGroup));
        const int64_t n = std::min<int64_t>(shownLimit, visitedWithMembership);
        if (step == 1) markMembers(bits, column + 1, n, bit);
        else
            for (int64_t i = 0; i < n; ++i) bits[i] |= column[1 + i * step] == 1 ? bit : uint8_t{0};
    }

    // Bins: 4 quadrant bins first, then 256 per group.
    bins_.assign(4 + groups * BinsPerGroup, Bin{});
    Bin* quadrantBins = bins_.data();
    Bin* groupBins = bins_.data() + 4;

    const float* xs = last >= 1 ? f.WorkingData.column(in.channelX) : nullptr;
    const float* ys = last >= 1 ? f.WorkingData.column(in.channelY) : nullptr;
    const double crossX = in.quadrantX;
    const double crossY = in.quadrantY;
    // The same axis mapping that places the dots, at plot-space length.
    AxisScale scaleX, scaleY;
    if (quadrants && last >= 1) {
        scaleX = AxisScale::forParameter(f.Parameters[static_cast<size_t>(in.channelX)], 10000.0);
        scaleY = AxisScale::forParameter(f.Parameters[static_cast<size_t>(in.channelY)], 10000.0);
    }

    // Which side of the cross an event lies on. The place is the dot's
    // place, px = position(x) and py = 10000 - position(y); on a scale that
    // grows with the value each test is one comparison with a threshold
    // value found once (the values that are not finite are placed in full).
    const QuadrantSide rightSide(scaleX, [&](float v) { return scaleX.position(v) >= crossX; },
                                 quadrants && last >= 1 && monotoneScale(f, in.channelX));
    const QuadrantSide lowerSide(scaleY, [&](float v) { return 10000.0 - scaleY.position(v) >= crossY; },
                                 quadrants && last >= 1 && monotoneScale(f, in.channelY));
    auto right = [&](float v) { return rightSide(v); };
    auto lower = [&](float v) { return lowerSide(v); };

    auto pass = [&](auto withQuadrants) {
        for (int64_t i = 0; i < shownLimit; ++i) {
            const int32_t e = static_cast<int32_t>(1 + i * step);
            if (shownColumn && shownColumn[e] != 1) continue;
            const float fx = xs[e];
            const float fy = ys[e];
            const EventValues v{fx, fy, splitValue(fx), splitValue(fy)};
            int q = 0;
            if constexpr (decltype(withQuadrants)::value) q = (right(fx) ? 1 : 0) + (lower(fy) ? 2 : 0);
            auto addEverywhere = [&](auto withInfinite) {
                constexpr bool special = decltype(withInfinite)::value;
                addTo<special>(quadrantBins[q], v);
                for (size_t gi = 0; gi < groups; ++gi) {
                    const uint8_t b = masks_[gi * stride + static_cast<size_t>(i)];
                    if (b) addTo<special>(groupBins[gi * BinsPerGroup + b], v);
                }
            };
            if (v.sx.extraLog != 0.0 || v.sy.extraLog != 0.0) addEverywhere(std::true_type{});
            else addEverywhere(std::false_type{});
        }
    };
    if (quadrants) pass(std::true_type{});
    else pass(std::false_type{});

    Totals visible;
    for (int q = 0; q < 4; ++q) visible.add(quadrantBins[q]);
    if (stats) {
        DotPlotStatistics& all = (*stats)[0];
        finish(visible, all);
        all.Fraction = 1.0;
        for (size_t j = 0; j < listed_.size(); ++j) {
            const Bin* bins = groupBins + (j / SlotsPerGroup) * BinsPerGroup;
            const unsigned bit = 1u << (j % SlotsPerGroup);
            Totals t;
            for (unsigned b = 1; b < BinsPerGroup; ++b)
                if (b & bit) t.add(bins[b]);
            DotPlotStatistics& s = (*stats)[static_cast<size_t>(listed_[j])];
            finish(t, s);
            s.Fraction = visible.n > 0 ? static_cast<double>(t.n) / static_cast<double>(visible.n) : 0.0;
        }
    }
    if (quadrants) {
        const int64_t total = visible.n;
        for (size_t q = 0; q < 4; ++q) {
            Totals t;
            t.add(quadrantBins[q]);
            finish(t, (*quadrants)[q]);
            (*quadrants)[q].Fraction = total > 0 ? static_cast<double>(t.n) / static_cast<double>(total) : 0.0;
        }
    }
}

namespace {

std::string cellText(const DotPlotStatistics& s, int column) {
    switch (column) {
        case 1: return NumberText(s.Number);
        case 2: return NumberText(TruncateTwoDecimals(s.Fraction, true));
        case 3: return NumberText(TruncateTwoDecimals(s.XMean, false, StatisticSource::FloatEvents));
        case 4: return NumberText(TruncateTwoDecimals(s.YMean, false, StatisticSource::FloatEvents));
        case 5: return NumberText(TruncateTwoDecimals(s.XGeoMean, false, StatisticSource::FloatEvents));
        case 6: return NumberText(TruncateTwoDecimals(s.YGeoMean, false, StatisticSource::FloatEvents));
        default: return {};
    }
}

// A comment's line breaks (carriage returns) shown as ", ".

}  // namespace

void FillDotPlotStatisticsGrid(StatisticsGrid& grid, const DotPlotGridOptions& options, const FileRecord& file,
                               std::span<const PopulationRecord> populations,
                               const std::vector<DotPlotStatistics>& stats,
                               const DotPlotQuadrantStatistics& quadrants) {
    static const char* const titles[7] = {"", "Number", "% of vis", "X mean", "Y mean", "X geomean", "Y geomean"};
    static const char* const quadrantLabels[4] = {"Upper Left", "Upper Right", "Lower Left", "Lower Right"};

    std::vector<int> shownColumns;  // data columns 1..6 in grid order
    StatisticsTableLayout layout;
    for (int c = 1; c <= 6; ++c) {
        if (!options.columnShown[static_cast<size_t>(c)]) continue;
        shownColumns.push_back(c);
        layout.titles.emplace_back(titles[c]);
    }
    layout.fileNameRow = options.fileNameRow;
    layout.sampleIdRow = options.sampleIdRow;
    layout.commentsRow = options.commentsRow;
    layout.copying = options.copying;
    layout.corner = options.fastDrawOn ? "FAST DRAW" : "";

    auto addData = [&](const std::string& label, const DotPlotStatistics& s) {
        StatisticsTableRow row{label, {}};
        for (int c : shownColumns) row.cells.push_back(cellText(s, c));
        layout.rows.push_back(std::move(row));
    };
    static const DotPlotStatistics none;
    addData("Visible", stats.empty() ? none : stats[0]);

    const int slots = std::min(options.maxPopulations + options.maxDefinitions,
                               static_cast<int>(populations.size()) - 1);
    for (int k = 1; k <= slots; ++k) {
        const PopulationRecord& p = populations[static_cast<size_t>(k)];
        if (!DotPlotListsSlot(p, k, options.maxPopulations, options.channelX, options.channelY)) continue;
        addData(p.Name, static_cast<size_t>(k) < stats.size() ? stats[static_cast<size_t>(k)] : none);
    }

    if (options.quadrantOn) {
        layout.rows.push_back({});  // the gap row, its label empty
        for (int q = 0; q < 4; ++q) addData(quadrantLabels[q], quadrants[static_cast<size_t>(q)]);
    }
    FillStatisticsTable(grid, layout, file);
}

std::optional<double> LookUpDotPlotStatistic(const std::vector<DotPlotStatistics>& stats,
                                             const DotPlotQuadrantStatistics& quadrants,
                                             const std::string& region, const std::string& stat) {
    enum class Field { Number, Vis, XMean, YMean, XGeoMean, YGeoMean };
    Field field;
    if (stat == "number") field = Field::Number;
    else if (stat == "vis") field = Field::Vis;
    else if (stat == "xmean") field = Field::XMean;
    else if (stat == "ymean") field = Field::YMean;
    else if (stat == "xgeomean") field = Field::XGeoMean;
    else if (stat == "ygeomean") field = Field::YGeoMean;
    else return 0.0;

    const DotPlotStatistics* record = nullptr;
    if (region == "ul") record = &quadrants[UpperLeft];
    else if (region == "ur") record = &quadrants[UpperRight];
    else if (region == "ll") record = &quadrants[LowerLeft];
    else if (region == "lr") record = &quadrants[LowerRight];
    else {
        const std::optional<double> number = ParseNumber(region);
        if (!number) return 0.0;
        // Halves to even; compared before any conversion, so a huge number
        // is out of range rather than an overflow.
        const double slot = *number - std::floor(*number) == 0.5 && std::fmod(std::floor(*number), 2.0) == 0.0
                                ? std::floor(*number)
                                : std::floor(*number + 0.5);
        if (!(slot >= 0.0) || slot >= static_cast<double>(stats.size())) return std::nullopt;
        record = &stats[static_cast<size_t>(slot)];
    }
    switch (field) {
        case Field::Number: return static_cast<double>(record->Number);
        case Field::Vis: return record->Fraction * 100.0;
        case Field::XMean: return record->XMean;
        case Field::YMean: return record->YMean;
        case Field::XGeoMean: return record->XGeoMean;
        case Field::YGeoMean: return record->YGeoMean;
    }
    return 0.0;
}

}  // namespace qv
