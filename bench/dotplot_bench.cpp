// Full draws of a dot plot of 1,000,000 events into a 400 x 400 plotting
// area with every event drawn (fast draw off): dots on linear and log axes,
// dots coloured by populations, density, and the quick pass after a resize.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <random>

#include "core/SharedState.h"
#include "plots/dotplot/model/DotPlotRenderer.h"

namespace {

using namespace qv;

constexpr int32_t kEvents = 1000000;

FileRecord& MillionEventFile(bool log) {
    static FileRecord files[2];
    FileRecord& f = files[log ? 1 : 0];
    if (f.Loaded) return f;
    f.Loaded = true;
    f.FileName = "million.fcs";
    f.ParameterCount = 2;
    f.Parameters.assign(3, ParameterInfo{});
    for (int p = 1; p <= 2; ++p) {
        f.Parameters[p].Name = p == 1 ? "FL1-H" : "FL2-H";
        f.Parameters[p].Range = log ? 262144 : 1024;
        f.Parameters[p].IsLog = log;
    }
    f.EventCount = f.EventsLoaded = kEvents;
    f.WorkingData.resize(kEvents, 2);
    std::mt19937 rng(7);
    std::lognormal_distribution<float> logv(6.0f, 1.5f);
    std::normal_distribution<float> linv(400.0f, 120.0f);
    for (int32_t e = 1; e <= kEvents; ++e)
        for (int p = 1; p <= 2; ++p) f.WorkingData(e, p) = log ? logv(rng) : linv(rng);
    f.Membership.resize(kEvents, g.membershipSlots());
    for (int32_t e = 1; e <= kEvents; ++e) {
        f.Membership(e, 1 + e % 4) = 1;            // four populations
        if (e % 3 == 0) f.Membership(e, 17) = 1;   // one definition
    }
    return f;
}

void Setup() {
    static bool done = false;
    if (!done) {
        resetSharedState();
        done = true;
    }
}

void Draw(benchmark::State& st, bool log, bool density, bool populations, bool quick) {
    Setup();
    for (int k = 1; k <= g.membershipSlots(); ++k) g.PopulationTable[static_cast<size_t>(k)].InUse = false;
    if (populations) {
        for (int k : {1, 2, 3, 4, 17}) g.PopulationTable[static_cast<size_t>(k)].InUse = true;
    }
    const FileRecord& file = MillionEventFile(log);
    QImage image(436, 436, QImage::Format_RGB32);
    DotPlotState state;
    state.ID = 1;
    state.DensityOn = density;
    DotPlotRenderer renderer;
    DotPlotRenderOptions options;
    options.quickPass = quick;
    int64_t drawn = 0;
    for (auto _ : st) {
        drawn = renderer.render(image, state, file, options);
        benchmark::DoNotOptimize(image.constBits());
    }
    st.counters["events"] = static_cast<double>(drawn);
}

void BM_DotsLinear(benchmark::State& st) { Draw(st, false, false, false, false); }
void BM_DotsLinearFivePopulations(benchmark::State& st) { Draw(st, false, false, true, false); }
void BM_DotsLog(benchmark::State& st) { Draw(st, true, false, false, false); }
void BM_DotsLogFivePopulations(benchmark::State& st) { Draw(st, true, false, true, false); }
void BM_DensityLinear(benchmark::State& st) { Draw(st, false, true, false, false); }
void BM_DensityLog(benchmark::State& st) { Draw(st, true, true, false, false); }
void BM_QuickPassAfterResize(benchmark::State& st) { Draw(st, true, false, true, true); }

BENCHMARK(BM_DotsLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DotsLinearFivePopulations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DotsLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DotsLogFivePopulations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DensityLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DensityLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickPassAfterResize)->Unit(benchmark::kMillisecond);

}  // namespace

// Text and fonts need a GUI application; the offscreen platform is enough.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
