// Speed of a histogram modeller's picture and curves over a million events:
// the full draw with 20 active curves (linear and log parameter), one step
// of a handle drag (every curve summed again, no recount of the histogram),
// and the bin value table of the widest log range.
#include <benchmark/benchmark.h>

#include <QImage>

#include <random>

#include "bench/OffscreenBenchmarks.h"
#include "core/SharedState.h"
#include "plots/modeller/model/BinValueTable.h"
#include "plots/modeller/model/CurveStatistics.h"
#include "plots/modeller/model/ModellerRenderer.h"

namespace qv {
namespace {

constexpr int32_t kEvents = 1000000;

FileRecord& millionEventFile() {
    static bool done = false;
    if (done) return g.FileTable[1];
    done = true;
    resetSharedState();
    FileRecord& f = g.FileTable[1];
    f.Loaded = true;
    f.FileName = "million.fcs";
    f.EventCount = f.EventsLoaded = kEvents;
    f.ParameterCount = 2;
    f.Parameters.resize(3);
    f.Parameters[1] = {"FL2-A", false, 1024, false};
    f.Parameters[2] = {"FL1-H", true, 10000, false};
    f.WorkingData.resize(kEvents, 2);
    f.Membership.resize(kEvents, g.membershipSlots());
    std::mt19937 rng(5);
    std::normal_distribution<float> g1(200.0f, 12.0f), g2(400.0f, 20.0f);
    std::lognormal_distribution<float> log(4.0f, 1.5f);
    for (int32_t e = 1; e <= kEvents; ++e) {
        f.WorkingData(e, 1) = e % 3 == 0 ? g2(rng) : g1(rng);
        f.WorkingData(e, 2) = log(rng);
    }
    return f;
}

ModellerState twentyCurves(int channel) {
    ModellerState s;
    s.Channel = static_cast<int16_t>(channel);
    s.BinValues = BuildBinValueTable(g.FileTable[1].Parameters[static_cast<size_t>(channel)], s.CurveResolution);
    for (int k = 1; k <= s.MaxCurves; ++k) {
        GaussCurve& c = s.Curves[static_cast<size_t>(k)];
        c.Active = true;
        c.Place = 40 * k;
        c.Height = 20.0 * k;
        c.Plateau = k % 3 == 0 ? 15 : 0;
    }
    return s;
}

void fullDraw(benchmark::State& st, int channel) {
    const FileRecord& f = millionEventFile();
    ModellerState s = twentyCurves(channel);
    QImage image(600, 400, QImage::Format_RGB32);
    for (auto _ : st) {
        RenderModeller(image, s, f);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_ModellerFullDraw20CurvesLinear(benchmark::State& st) { fullDraw(st, 1); }
void BM_ModellerFullDraw20CurvesLog(benchmark::State& st) { fullDraw(st, 2); }
BENCHMARK(BM_ModellerFullDraw20CurvesLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModellerFullDraw20CurvesLog)->Unit(benchmark::kMillisecond);

void BM_ModellerDragStep20Curves(benchmark::State& st) {
    millionEventFile();
    ModellerState s = twentyCurves(1);
    for (auto _ : st) {
        SumActiveCurves(s, 364.0);
        benchmark::DoNotOptimize(s.CurveSum.data());
    }
}
BENCHMARK(BM_ModellerDragStep20Curves)->Unit(benchmark::kMicrosecond);

void BM_ModellerBinTableLog262144(benchmark::State& st) {
    ParameterInfo p;
    p.IsLog = true;
    p.Range = 262144;
    for (auto _ : st) benchmark::DoNotOptimize(BuildBinValueTable(p, 1000).data());
}
BENCHMARK(BM_ModellerBinTableLog262144)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qv

int main(int argc, char** argv) { return qv::bench::RunOffscreenBenchmarks(argc, argv); }
