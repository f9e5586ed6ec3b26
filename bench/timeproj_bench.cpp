// The time and projection plots over 1,000,000 events: full draws of the
// shared scatter display into a 400 x 400 plotting area with fast draw off
// (dots on linear and log axes, density), the flux curve (arithmetic and
// geometric mean), and the value loops of "Make projection" and "Create time
// axis" (the columns they fill are made beforehand, not counted).
#include <benchmark/benchmark.h>

#include <QImage>

#include <vector>

#include "bench/OffscreenBenchmarks.h"
#include "bench/MillionEventFile.h"
#include "core/SharedState.h"
#include "plots/dotplot/model/DotPlotRenderer.h"
#include "plots/timeproj/model/FluxCurve.h"
#include "plots/timeproj/model/Projection.h"
#include "plots/timeproj/model/ScatterDisplay.h"

namespace {

using namespace qv;

using bench::MillionEventFile;
constexpr int32_t kEvents = bench::kMillionEvents;

void Setup() {
    static bool done = false;
    if (!done) {
        resetSharedState();
        done = true;
    }
}

void Draw(benchmark::State& st, bool log, bool density) {
    Setup();
    const FileRecord& file = MillionEventFile(log);
    QImage image(436, 436, QImage::Format_RGB32);
    ScatterView view = NewScatterView(1, "(1): Projector - million.fcs", {}, {""});
    view.DensityShown = density;
    DotPlotRenderer renderer;
    int64_t drawn = 0;
    for (auto _ : st) {
        drawn = DrawScatter(image, view, file, {}, renderer);
        benchmark::DoNotOptimize(image.constBits());
    }
    st.counters["events"] = static_cast<double>(drawn);
}

void BM_ScatterDotsLinear(benchmark::State& st) { Draw(st, false, false); }
void BM_ScatterDotsLog(benchmark::State& st) { Draw(st, true, false); }
void BM_ScatterDensityLinear(benchmark::State& st) { Draw(st, false, true); }
void BM_ScatterDensityLog(benchmark::State& st) { Draw(st, true, true); }

void Curve(benchmark::State& st, bool geometric) {
    Setup();
    const FileRecord& file = MillionEventFile(false);
    FluxCurveSettings settings;
    settings.GeometricMean = geometric;
    for (auto _ : st) {
        FluxCurveBins bins = ComputeFluxCurve(file, 1, 2, settings, 1, nullptr);
        benchmark::DoNotOptimize(bins.Value.data());
    }
}

void BM_FluxCurveMean(benchmark::State& st) { Curve(st, false); }
void BM_FluxCurveGeometricMean(benchmark::State& st) { Curve(st, true); }

void BM_MakeProjectionValues(benchmark::State& st) {
    Setup();
    const FileRecord& file = MillionEventFile(false);
    std::vector<float> out(static_cast<size_t>(kEvents) + 1);
    const ProjectionAxes axes = ProjectionFor(20, 1024, 1024);
    for (auto _ : st) {
        ProjectValues(axes, file.WorkingData.column(1), file.WorkingData.column(2), out.data(), kEvents);
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_CreateTimeAxisValues(benchmark::State& st) {
    std::vector<float> out(static_cast<size_t>(kEvents) + 1);
    for (auto _ : st) {
        FillTimeValues(out.data(), kEvents);
        benchmark::DoNotOptimize(out.data());
    }
}

BENCHMARK(BM_ScatterDotsLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScatterDotsLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScatterDensityLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScatterDensityLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FluxCurveMean)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FluxCurveGeometricMean)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeProjectionValues)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateTimeAxisValues)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return qv::bench::RunOffscreenBenchmarks(argc, argv); }
