#include "plots/multi/model/DadLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QV_DAD_AVX2 1
#endif

#include "core/AxisScaling.h"
#include "core/Numbers.h"
#include "core/ParallelChunks.h"
#include "core/VectorState.h"

namespace qv {
namespace {

constexpr int32_t TableEdge = 1000;  // offsets 0..1000 on each axis
constexpr size_t TableStride = TableEdge + 1;
// The target table may take at most this many bytes.
constexpr int64_t MaxTargetBytes = int64_t{1} << 30;

std::vector<float>& distanceTable() {
    static std::vector<float> table;
    return table;
}

// sqrt(dx^2 + dy^2) from the table (when built) or computed directly.
inline float distanceWithin(const float* table, int64_t dx, int64_t dy) {
    const uint64_t ax = dx < 0 ? 0 - static_cast<uint64_t>(dx) : static_cast<uint64_t>(dx);
    const uint64_t ay = dy < 0 ? 0 - static_cast<uint64_t>(dy) : static_cast<uint64_t>(dy);
    if (ax <= TableEdge && ay <= TableEdge && table) return table[ax * TableStride + ay];
    const double x = static_cast<double>(ax), y = static_cast<double>(ay);
    return static_cast<float>(std::sqrt(x * x + y * y));
}

// Uniform in [0, 1).
double uniform(std::mt19937_64& engine) { return static_cast<double>(engine() >> 11) * 0x1.0p-53; }

// A move held within the span of 32-bit positions; a sum that overflowed
// to infinity or to no number moves nothing beyond it.
float heldMove(float m) {
    constexpr float Span = 4294967296.0f;
    if (std::isnan(m)) return 0.0f;
    return std::clamp(m, -Span, Span);
}

int32_t clampToInt32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// A data value as a whole number, rounded half to even; infinities and
// values beyond 32 bits held at its ends, a NaN as 0.
int32_t wholeValue(float v) { return NearestInt32(static_cast<double>(v)); }

// The parameters whose channel flag is set; a parameter the file gained
// after the flags were made is not checked.
std::vector<int16_t> usedChannels(const DadLayout& layout, const FileRecord& file) {
    std::vector<int16_t> channels;
    const int32_t last = std::min<int32_t>({file.ParameterCount, static_cast<int32_t>(layout.ChannelUsed.size()) - 1,
                                            file.WorkingData.maxColumn(), INT16_MAX});
    for (int32_t p = 1; p <= last; ++p)
        if (layout.ChannelUsed[static_cast<size_t>(p)]) channels.push_back(static_cast<int16_t>(p));
    return channels;
}

int32_t layoutEvents(const DadLayout& layout, const FileRecord& file) {
    return std::max<int32_t>(0, std::min<int32_t>({file.EventCount, static_cast<int32_t>(layout.InSample.size()) - 1,
                                                   static_cast<int32_t>(layout.LayoutPosition.size()) - 1}));
}

// Rows of the long loops are handed to the progress call in blocks, so its
// cost (and the window events it processes) stays small beside the work.
template <class Rows>
bool inBlocks(int64_t total, int64_t block, const DadProgress& progress, Rows rows) {
    for (int64_t first = 0; first < total; first += block) {
        const int64_t last = std::min(total, first + block);
        rows(first, last);
        if (progress && !progress(last, total)) return false;
    }
    return true;
}

// Nearest sampled row of one rest row over whole values held in 32 bits
// without overflow: distances of all rows first, then the first smallest.
int32_t nearestSmall(const std::vector<std::vector<int32_t>>& sampled, const int32_t* rest, size_t channels,
                     std::vector<int32_t>& dist) {
    const size_t n = dist.size();
    std::fill(dist.begin(), dist.end(), 0);
    for (size_t c = 0; c < channels; ++c) {
        const int32_t* s = sampled[c].data();
        const int32_t r = rest[c];
        size_t a = 0;
#if defined(__SSE2__)
        const __m128i vr = _mm_set1_epi32(r);
        for (; a + 4 <= n; a += 4) {
            const __m128i d = _mm_sub_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + a)), vr);
            const __m128i sign = _mm_srai_epi32(d, 31);
            const __m128i absolute = _mm_sub_epi32(_mm_xor_si128(d, sign), sign);
            __m128i* out = reinterpret_cast<__m128i*>(dist.data() + a);
            _mm_storeu_si128(out, _mm_add_epi32(_mm_loadu_si128(out), absolute));
        }
#endif
        for (; a < n; ++a) dist[a] += std::abs(s[a] - r);
    }
    int32_t best = std::numeric_limits<int32_t>::max();
    for (size_t a = 0; a < n; ++a) best = std::min(best, dist[a]);
    for (size_t a = 0; a < n; ++a)
        if (dist[a] == best) return static_cast<int32_t>(a);
    return -1;
}

#if defined(QV_DAD_AVX2)
// nearestSmall with eight sampled rows at a time, on processors that have
// AVX2; the same result.
__attribute__((target("avx2"))) int32_t nearestSmallAvx2(const std::vector<std::vector<int32_t>>& sampled,
                                                          const int32_t* rest, size_t channels,
                                                          std::vector<int32_t>& dist) {
    const size_t n = dist.size();
    __m256i best = _mm256_set1_epi32(std::numeric_limits<int32_t>::max());
    size_t a = 0;
    for (; a + 8 <= n; a += 8) {
        __m256i sum = _mm256_setzero_si256();
        for (size_t c = 0; c < channels; ++c) {
            const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sampled[c].data() + a));
            sum = _mm256_add_epi32(sum, _mm256_abs_epi32(_mm256_sub_epi32(s, _mm256_set1_epi32(rest[c]))));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dist.data() + a), sum);
        best = _mm256_min_epi32(best, sum);
    }
    alignas(32) int32_t lanes[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), best);
    int32_t smallest = std::numeric_limits<int32_t>::max();
    for (int32_t v : lanes) smallest = std::min(smallest, v);
    for (; a < n; ++a) {
        int32_t d = 0;
        for (size_t c = 0; c < channels; ++c) d += std::abs(sampled[c][a] - rest[c]);
        dist[a] = d;
        smallest = std::min(smallest, d);
    }
    const __m256i target = _mm256_set1_epi32(smallest);
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i eq = _mm256_cmpeq_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(dist.data() + i)), target);
        if (const int mask = _mm256_movemask_ps(_mm256_castsi256_ps(eq)))
            return static_cast<int32_t>(i) + __builtin_ctz(static_cast<unsigned>(mask));
    }
    for (; i < n; ++i)
        if (dist[i] == smallest) return static_cast<int32_t>(i);
    return -1;
}

bool hasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

int32_t nearestSmallAny(const std::vector<std::vector<int32_t>>& sampled, const int32_t* rest, size_t channels,
                        std::vector<int32_t>& dist) {
#if defined(QV_DAD_AVX2)
    if (hasAvx2()) return nearestSmallAvx2(sampled, rest, channels, dist);
#endif
    return nearestSmall(sampled, rest, channels, dist);
}

// The same with 64-bit sums, for values too large for the fast form.
int32_t nearestWide(const std::vector<std::vector<int32_t>>& sampled, const int32_t* rest, size_t channels,
                    size_t rows) {
    int64_t best = std::numeric_limits<int64_t>::max();
    int32_t bestRow = -1;
    for (size_t a = 0; a < rows; ++a) {
        int64_t dist = 0;
        for (size_t c = 0; c < channels; ++c)
            dist += std::llabs(static_cast<int64_t>(sampled[c][a]) - static_cast<int64_t>(rest[c]));
        if (dist < best) {
            best = dist;
            bestRow = static_cast<int32_t>(a);
        }
    }
    return bestRow;
}

}  // namespace

int32_t MaxDadSampleSize() {
    return static_cast<int32_t>(std::sqrt(static_cast<double>(MaxTargetBytes / static_cast<int64_t>(sizeof(float))))) - 1;
}

void BuildDistanceTable() {
    std::vector<float>& table = distanceTable();
    if (!table.empty()) return;
    table.resize(TableStride * TableStride);
    for (int32_t i = 0; i <= TableEdge; ++i)
        for (int32_t j = 0; j <= TableEdge; ++j)
            table[static_cast<size_t>(i) * TableStride + static_cast<size_t>(j)] =
                static_cast<float>(std::sqrt(static_cast<double>(i) * i + static_cast<double>(j) * j));
}


float ScreenDistance(int64_t dx, int64_t dy) {
    const std::vector<float>& table = distanceTable();
    return distanceWithin(table.empty() ? nullptr : table.data(), dx, dy);
}

bool IsDadCandidate(const FileRecord& file, int16_t population, int32_t e) {
    if (population == 0) return true;
    return file.Membership.contains(e, population) && file.Membership(e, population) == 1;
}

std::vector<int32_t> SampledEvents(const DadLayout& layout) {
    std::vector<int32_t> events;
    for (size_t e = 1; e < layout.InSample.size(); ++e)
        if (layout.InSample[e] == 1) events.push_back(static_cast<int32_t>(e));
    return events;
}

void PrepareDadLayoutForFile(DadLayout& layout, const FileRecord& file) {
    const int32_t events = std::max<int32_t>(0, file.EventCount);
    layout.TargetsStale = true;
    layout.LayoutPosition.assign(static_cast<size_t>(events) + 1, LayoutPoint{});
    ClearUpperVectorHalves();  // a logarithm per event on log axes
    layout.InSample.assign(static_cast<size_t>(events) + 1, 0);
    // Without a file there is nothing to cap at: the window keeps its sample
    // size (the sheet's or the default) for the file it is given later.
    if (file.Loaded && events < layout.SampleSize) layout.SampleSize = std::max<int32_t>(events, 1);
    SelectSample(layout, file);
    if (layout.StartAxisX > file.ParameterCount || layout.StartAxisX < 1) layout.StartAxisX = 1;
    if (layout.StartAxisY > file.ParameterCount || layout.StartAxisY < 1) layout.StartAxisY = 2;
    layout.ChannelUsed.assign(static_cast<size_t>(std::max<int32_t>(file.ParameterCount, 0)) + 1, 0);
}

int32_t SelectSample(DadLayout& layout, const FileRecord& file) {
    const int32_t events = layoutEvents(layout, file);
    std::fill(layout.InSample.begin(), layout.InSample.end(), uint8_t{0});
    const int32_t N = layout.SampleSize;
    if (events <= 0 || N < 1) return 0;
    int32_t M = 0;
    for (int32_t e = 1; e <= events; ++e) M += IsDadCandidate(file, layout.ShownPopulation, e) ? 1 : 0;
    const int32_t step = std::max<int32_t>(1, M / N);
    int32_t stepCounter = 1, taken = 1;
    for (int32_t e = 1; e <= events; ++e) {
        if (!IsDadCandidate(file, layout.ShownPopulation, e)) continue;
        if (stepCounter == step && taken <= N) {
            layout.InSample[static_cast<size_t>(e)] = 1;
            stepCounter = 1;
            ++taken;
        } else {
            ++stepCounter;
            layout.LayoutPosition[static_cast<size_t>(e)] = {1, 1};
        }
    }
    return taken - 1;
}

void PlaceInitial(DadLayout& layout, const FileRecord& file, int32_t pictureWidth, int32_t pictureHeight) {
    const int32_t events = std::max<int32_t>(0, std::min<int32_t>(file.EventCount, static_cast<int32_t>(layout.InSample.size()) - 1));
    layout.LayoutPosition.assign(static_cast<size_t>(events) + 1, LayoutPoint{});
    for (int32_t e = 1; e <= events; ++e) {
        LayoutPoint& p = layout.LayoutPosition[static_cast<size_t>(e)];
        if (layout.RandomStart) {
            p.x = static_cast<int32_t>(std::floor(uniform(layout.Random) * pictureWidth));
            p.y = static_cast<int32_t>(std::floor(uniform(layout.Random) * pictureHeight));
        } else {
            p.x = NearestInt32(ScaleEventToAxis(file, e, layout.StartAxisX, 200) + 50);
            p.y = NearestInt32(50 + (200 - ScaleEventToAxis(file, e, layout.StartAxisY, 200)));
        }
    }
}

bool ComputeTargetDistances(DadLayout& layout, const FileRecord& file, int32_t pictureWidth,
                            const DadProgress& progress) {
    const std::vector<int32_t> sampled = SampledEvents(layout);
    const int32_t N = std::clamp<int32_t>(layout.SampleSize, 0, MaxDadSampleSize());
    const int32_t S = std::min<int32_t>(static_cast<int32_t>(sampled.size()), N);
    const size_t order = static_cast<size_t>(N) + 1;
    layout.TargetDistance.assign(order * order, 0.0f);
    layout.TargetOrder = N;
    layout.TargetSample.clear();
    layout.TargetsStale = true;

    const double L = static_cast<double>(std::clamp<int32_t>(pictureWidth, INT16_MIN, INT16_MAX));
    const std::vector<int16_t> channels = usedChannels(layout, file);
    const size_t k = channels.size();
    // Positions of every sampled event on every used channel, channel by channel.
    std::vector<double> positions(k * static_cast<size_t>(S));
    ClearUpperVectorHalves();  // a logarithm per position on log axes
    for (size_t c = 0; c < k; ++c)
        for (int32_t a = 0; a < S; ++a)
            positions[c * static_cast<size_t>(S) + static_cast<size_t>(a)] =
                ScaleEventToAxis(file, sampled[static_cast<size_t>(a)], channels[c], L);

    float* table = layout.TargetDistance.data();
    const float divisor = static_cast<float>(k);
    for (int32_t a = 0; a < S; ++a) {
        // The table is symmetric: each row fills its upper half and mirrors it.
        if (k > 0) {
            for (int32_t b = a; b < S; ++b) {
                float sum = 0.0f;
                for (size_t c = 0; c < k; ++c) {
                    const double* pc = positions.data() + c * static_cast<size_t>(S);
                    sum = static_cast<float>(static_cast<double>(sum) + std::fabs(pc[a] - pc[b]));
                }
                const float t = sum / divisor;
                table[static_cast<size_t>(a + 1) * order + static_cast<size_t>(b + 1)] = t;
                table[static_cast<size_t>(b + 1) * order + static_cast<size_t>(a + 1)] = t;
            }
        }
        if (progress && !progress(a + 1, N)) return false;
    }
    layout.TargetSample.assign(sampled.begin(), sampled.begin() + S);
    layout.TargetsStale = false;
    return true;
}

bool IterateOnce(DadLayout& layout, const DadProgress& progress) {
    const std::vector<int32_t> sampled = SampledEvents(layout);
    const size_t S = sampled.size();
    layout.MeanMovement = 0;
    std::vector<int32_t> xs(S), ys(S);
    for (size_t a = 0; a < S; ++a) {
        const LayoutPoint& p = layout.LayoutPosition[static_cast<size_t>(sampled[a])];
        xs[a] = p.x;
        ys[a] = p.y;
    }
    std::vector<float> moveX(S, 0.0f), moveY(S, 0.0f);
    const double deviator = std::max<int32_t>(layout.Deviator, 1);
    const int32_t order = layout.TargetOrder;
    const float* targets = layout.TargetDistance.data();
    const float* table = distanceTable().empty() ? nullptr : distanceTable().data();

    // The force factor of every pair of one row: the distance from the
    // table, then ((d - target) / Deviator) / d held as a 32-bit float.
    auto rowFactors = [&](size_t a, float* factors) {
        const int64_t xi = xs[a], yi = ys[a];
        for (size_t b = 0; b < S; ++b) factors[b] = distanceWithin(table, xs[b] - xi, ys[b] - yi);
        const size_t withTargets = static_cast<int64_t>(a) + 1 <= order
                                       ? std::min<size_t>(S, static_cast<size_t>(order)) : 0;
        const float* targetRow = targets + (a + 1) * static_cast<size_t>(order + 1) + 1;
        size_t b = 0;
#if defined(__SSE2__)
        const __m128d one = _mm_set1_pd(1.0), dev = _mm_set1_pd(deviator);
        for (; b + 2 <= S; b += 2) {
            const __m128d d = _mm_max_pd(_mm_cvtps_pd(_mm_setr_ps(factors[b], factors[b + 1], 0.0f, 0.0f)), one);
            __m128d t = _mm_setzero_pd();
            if (b + 2 <= withTargets)
                t = _mm_cvtps_pd(_mm_setr_ps(targetRow[b], targetRow[b + 1], 0.0f, 0.0f));
            else if (b < withTargets)
                t = _mm_set_pd(0.0, targetRow[b]);
            const __m128 f = _mm_cvtpd_ps(_mm_div_pd(_mm_div_pd(_mm_sub_pd(d, t), dev), d));
            alignas(16) float out[4];
            _mm_store_ps(out, f);
            factors[b] = out[0];
            factors[b + 1] = out[1];
        }
#endif
        for (; b < S; ++b) {
            const double d = std::max(1.0, static_cast<double>(factors[b]));
            const double t = b < withTargets ? targetRow[b] : 0.0;
            factors[b] = static_cast<float>(((d - t) / deviator) / d);
        }
    };
    // The moves of rows first..first + count - 1 (at most RowGroup), each
    // summed in 32-bit floats in pair order; the rows are summed side by side
    // so that their additions overlap.
    constexpr size_t RowGroup = 4;
    auto groupMoves = [&](size_t first, size_t count, std::vector<float>* factors) {
        double xi[RowGroup] = {}, yi[RowGroup] = {};
        float mx[RowGroup] = {}, my[RowGroup] = {};
        const float* f[RowGroup] = {};
        for (size_t r = 0; r < RowGroup; ++r) {
            const size_t a = first + std::min(r, count - 1);
            if (r < count) rowFactors(a, factors[r].data());
            xi[r] = xs[a];
            yi[r] = ys[a];
            f[r] = factors[std::min(r, count - 1)].data();
        }
        for (size_t b = 0; b < S; ++b) {
            const double xb = xs[b], yb = ys[b];
            for (size_t r = 0; r < RowGroup; ++r) {
                const double fr = f[r][b];
                mx[r] = static_cast<float>(fr * (xb - xi[r]) + mx[r]);
                my[r] = static_cast<float>(fr * (yb - yi[r]) + my[r]);
            }
        }
        for (size_t r = 0; r < count; ++r) {
            moveX[first + r] = heldMove(mx[r]);
            moveY[first + r] = heldMove(my[r]);
        }
    };
    // Rows are independent: each sums its own moves in the same order, so
    // the work is shared over the cores with the single-threaded result.
    const bool completed = inBlocks(static_cast<int64_t>(S), 256, progress, [&](int64_t first, int64_t last) {
        const size_t rows = static_cast<size_t>(last - first);
        const size_t groups = (rows + RowGroup - 1) / RowGroup;
        ForEachChunk(groups, ChunkCount(rows * S, 65536), [&](size_t, size_t begin, size_t end) {
            std::vector<float> factors[RowGroup];
            for (auto& v : factors) v.resize(S);
            for (size_t gi = begin; gi < end; ++gi) {
                const size_t a = static_cast<size_t>(first) + gi * RowGroup;
                groupMoves(a, std::min(RowGroup, static_cast<size_t>(last) - a), factors);
            }
        });
    });
    if (!completed) return false;

    double total = 0;
    for (size_t a = 0; a < S; ++a) {
        LayoutPoint& p = layout.LayoutPosition[static_cast<size_t>(sampled[a])];
        p.x = NearestInt32(static_cast<double>(moveX[a]) + p.x);
        p.y = NearestInt32(static_cast<double>(moveY[a]) + p.y);
        total += std::sqrt(static_cast<double>(moveX[a]) * moveX[a] + static_cast<double>(moveY[a]) * moveY[a]);
    }
    layout.MeanMovement = total / (static_cast<double>(S) + 1);
    return true;
}

std::string MovementLogLine(int32_t counter, double meanMovement, double seconds) {
    return NumberText(counter) + "\t" + NumberText(meanMovement) + "\t" + NumberText(seconds) + "\n";
}

bool PlaceRest(DadLayout& layout, const FileRecord& file, const DadProgress& progress) {
    const int32_t events = layoutEvents(layout, file);
    const std::vector<int16_t> channels = usedChannels(layout, file);
    const size_t m = channels.size();

    std::vector<int32_t> sampledRows, restRows;
    for (int32_t e = 1; e <= events; ++e) (layout.InSample[static_cast<size_t>(e)] == 1 ? sampledRows : restRows).push_back(e);
    const size_t S = sampledRows.size(), R = restRows.size();

    // Whole values channel by channel; the rest table row by row.
    int64_t largest = 0;
    std::vector<std::vector<int32_t>> sampledValues(m, std::vector<int32_t>(S));
    for (size_t c = 0; c < m; ++c)
        for (size_t a = 0; a < S; ++a) {
            const int32_t v = wholeValue(file.WorkingData(sampledRows[a], channels[c]));
            sampledValues[c][a] = v;
            largest = std::max<int64_t>(largest, std::llabs(v));
        }
    std::vector<int32_t> restValues(R * m);
    for (size_t r = 0; r < R; ++r)
        for (size_t c = 0; c < m; ++c) {
            const int32_t v = wholeValue(file.WorkingData(restRows[r], channels[c]));
            restValues[r * m + c] = v;
            largest = std::max<int64_t>(largest, std::llabs(v));
        }
    // Sums of m differences of values below 2^30 / m stay within 31 bits.
    const bool small = m == 0 || largest < (int64_t{1} << 30) / static_cast<int64_t>(m);

    std::vector<int32_t> nearest(R, -1);
    const int64_t block = 16384;
    const bool completed = inBlocks(static_cast<int64_t>(R), block, progress, [&](int64_t first, int64_t last) {
        const size_t rows = static_cast<size_t>(last - first);
        // Searched in parallel; the jitter is drawn afterwards in event order.
        ForEachChunk(rows, ChunkCount(rows * std::max<size_t>(S, 1), 1 << 20), [&](size_t, size_t begin, size_t end) {
            std::vector<int32_t> dist(S);
            for (size_t i = begin; i < end; ++i) {
                const size_t r = static_cast<size_t>(first) + i;
                const int32_t* rest = restValues.data() + r * m;
                nearest[r] = S == 0 ? -1
                             : small ? nearestSmallAny(sampledValues, rest, m, dist)
                                     : nearestWide(sampledValues, rest, m, S);
            }
        });
        for (size_t r = static_cast<size_t>(first); r < static_cast<size_t>(last); ++r) {
            const LayoutPoint anchor =
                nearest[r] < 0 ? LayoutPoint{} : layout.LayoutPosition[static_cast<size_t>(sampledRows[static_cast<size_t>(nearest[r])])];
            const int64_t jx = static_cast<int64_t>(std::floor(uniform(layout.Random) * 4));
            const int64_t jy = static_cast<int64_t>(std::floor(uniform(layout.Random) * 4));
            LayoutPoint& p = layout.LayoutPosition[static_cast<size_t>(restRows[r])];
            p.x = clampToInt32(jx + anchor.x - 2);
            p.y = clampToInt32(jy + anchor.y - 2);
        }
    });
    if (!completed) return false;

    for (int32_t e = 1; e <= events; ++e)
        layout.InSample[static_cast<size_t>(e)] = IsDadCandidate(file, layout.ShownPopulation, e) ? 1 : 0;
    return true;
}

}  // namespace qv
