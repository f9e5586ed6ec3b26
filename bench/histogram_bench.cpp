// Speed of a histogram window's numbers and picture over a million events:
// the full draw (fast draw off) of a linear and of a log parameter, and the
// statistics of the visible events, 16 markers on the channel and 16
// definitions.
#include <benchmark/benchmark.h>

#include <QImage>

#include <random>
#include <vector>

#include "bench/OffscreenBenchmarks.h"
#include "core/SharedState.h"
#include "plots/histogram/model/HistogramRenderer.h"
#include "plots/histogram/model/HistogramStatistics.h"

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
    f.Parameters[1] = {"FSC-H", false, 1024, false};
    f.Parameters[2] = {"FL1-H", true, 10000, false};
    f.WorkingData.resize(kEvents, 2);
    const int slotCount = g.membershipSlots();
    f.Membership.resize(kEvents, slotCount);
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> lin(-20.0f, 1100.0f);
    std::lognormal_distribution<float> log(4.0f, 1.5f);
    std::uniform_int_distribution<int> pick(0, 99);
    for (int32_t e = 1; e <= kEvents; ++e) {
        f.WorkingData(e, 1) = lin(rng);
        f.WorkingData(e, 2) = log(rng);
    }
    for (int k = 1; k <= slotCount; ++k) {
        const int share = 10 + (k * 7) % 41;
        uint8_t* column = f.Membership.column(k);
        for (int32_t e = 1; e <= kEvents; ++e) column[e] = pick(rng) < share ? 1 : 0;
        PopulationRecord& p = g.PopulationTable[static_cast<size_t>(k)];
        p.InUse = true;
        p.Name = (k <= g.MaxPopulations ? "Histo-" : "D") + std::to_string(k);
        if (k <= g.MaxPopulations) {
            p.Type = "Histogram";
            p.AxisX = 1;
            p.Corners = 2;
            p.CornerX[1] = static_cast<float>(k * 300);
            p.CornerX[2] = static_cast<float>(k * 300 + 2000);
            p.CornerY[1] = static_cast<float>(k * 500);
        }
    }
    return f;
}

void fullDraw(benchmark::State& st, int channel) {
    const FileRecord& f = millionEventFile();
    HistogramState s;
    s.Channel = static_cast<int16_t>(channel);
    QImage image(600, 400, QImage::Format_RGB32);
    for (auto _ : st) {
        RenderHistogram(image, s, f);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_HistogramFullDrawLinear(benchmark::State& st) { fullDraw(st, 1); }
void BM_HistogramFullDrawLog(benchmark::State& st) { fullDraw(st, 2); }
BENCHMARK(BM_HistogramFullDrawLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistogramFullDrawLog)->Unit(benchmark::kMillisecond);

void BM_HistogramStatistics16Markers16Definitions(benchmark::State& st) {
    const FileRecord& f = millionEventFile();
    HistogramStatisticsComputer computer;
    std::vector<HistogramStatistics> stats;
    HistogramStatisticsInput in;
    in.file = &f;
    in.channel = 1;
    in.populations = std::span<const PopulationRecord>(g.PopulationTable);
    for (auto _ : st) {
        computer.compute(in, stats);
        benchmark::DoNotOptimize(stats.data());
    }
}
BENCHMARK(BM_HistogramStatistics16Markers16Definitions)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

int main(int argc, char** argv) { return qv::bench::RunOffscreenBenchmarks(argc, argv); }
