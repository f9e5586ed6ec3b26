// Speed of the DAD layout: one iteration of the default sample (1000
// events), the target distances of 1000 events over 8 channels, and placing
// a million events beside 1000 sampled ones over 4 channels.
#include <benchmark/benchmark.h>

#include <random>

#include "core/SharedState.h"
#include "plots/multi/model/DadLayout.h"

namespace qv {
namespace {

FileRecord makeFile(int32_t events, int32_t parameters) {
    FileRecord f;
    f.Loaded = true;
    f.EventCount = f.EventsLoaded = events;
    f.ParameterCount = parameters;
    f.Parameters.resize(static_cast<size_t>(parameters) + 1);
    for (int p = 1; p <= parameters; ++p) f.Parameters[static_cast<size_t>(p)] = {"P" + std::to_string(p), p % 2 == 0, 1024, false};
    f.WorkingData.resize(events, parameters);
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> value(0.0f, 1024.0f);
    for (int p = 1; p <= parameters; ++p)
        for (int32_t e = 1; e <= events; ++e) f.WorkingData(e, p) = value(rng);
    return f;
}

DadLayout layoutFor(const FileRecord& file, int32_t sample, int channels) {
    DadLayout l;
    l.SampleSize = sample;
    PrepareDadLayoutForFile(l, file);
    for (int p = 1; p <= channels; ++p) l.ChannelUsed[static_cast<size_t>(p)] = 1;
    PlaceInitial(l, file, 417, 417);
    return l;
}

void BM_DadIteration(benchmark::State& st) {
    resetSharedState();
    BuildDistanceTable();
    const FileRecord file = makeFile(10000, 4);
    DadLayout l = layoutFor(file, 1000, 4);
    ComputeTargetDistances(l, file, 417, {});
    for (auto _ : st) benchmark::DoNotOptimize(IterateOnce(l, {}));
}

void BM_DadTargetDistances(benchmark::State& st) {
    resetSharedState();
    const FileRecord file = makeFile(10000, 8);
    DadLayout l = layoutFor(file, 1000, 8);
    for (auto _ : st) benchmark::DoNotOptimize(ComputeTargetDistances(l, file, 417, {}));
}

void BM_DadPlaceRest(benchmark::State& st) {
    resetSharedState();
    const FileRecord file = makeFile(1000000, 4);
    DadLayout l = layoutFor(file, 1000, 4);
    int64_t progressCalls = 0;
    for (auto _ : st) {
        st.PauseTiming();
        SelectSample(l, file);
        st.ResumeTiming();
        benchmark::DoNotOptimize(PlaceRest(l, file, [&](int64_t, int64_t) { ++progressCalls; return true; }));
    }
    st.counters["progress_calls"] = static_cast<double>(progressCalls) / static_cast<double>(st.iterations());
}

BENCHMARK(BM_DadIteration)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DadTargetDistances)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DadPlaceRest)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace qv
