// Full draws of a dot plot of 1,000,000 events into a 400 x 400 plotting
// area with every event drawn (fast draw off): dots on linear and log axes,
// dots coloured by populations, density, and the quick pass after a resize.
#include <benchmark/benchmark.h>

#include <QImage>

#include "bench/OffscreenBenchmarks.h"
#include "bench/MillionEventFile.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/dotplot/model/DotPlotRenderer.h"

namespace {

using namespace qv;

using bench::MillionEventFile;

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

// The window resized by the user: a new picture of the new size and the
// quick pass of about 1000 events, as the resize event runs it.
void BM_WindowResizeQuickPass(benchmark::State& st) {
    Setup();
    g.FileTable[1] = MillionEventFile(false);
    DotPlot plot;
    g.WindowRegistry[1].InUse = true;
    g.WindowRegistry[1].Form = &plot;
    plot.Alusta(1);
    plot.show();
    g.WindowRegistry[1].FileIndex = 1;
    plot.LatauksenJalkeen();
    plot.Piirra();
    bool big = false;
    for (auto _ : st) {
        big = !big;
        plot.resize(big ? 436 : 420, big ? 436 : 420);
    }
    st.counters["events"] = static_cast<double>(plot.eventsDrawn());
    g.WindowRegistry[1] = WindowRecord{};
    g.FileTable[1] = FileRecord{};
}

BENCHMARK(BM_DotsLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DotsLinearFivePopulations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DotsLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DotsLogFivePopulations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DensityLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DensityLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickPassAfterResize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowResizeQuickPass)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return qv::bench::RunOffscreenBenchmarks(argc, argv); }
