// The bending plot over 1,000,000 events with every event drawn (fast draw
// off): full draws into a 400 x 400 picture with the four default axes and
// with twelve linear axes, and the membership of a 10-corner gate.
#include <benchmark/benchmark.h>

#include <QImage>

#include <cmath>
#include <random>

#include "bench/OffscreenBenchmarks.h"
#include "core/SharedState.h"
#include "plots/multi/model/BendAxes.h"
#include "plots/multi/model/BendPlotRenderer.h"
#include "plots/multi/model/BendPopulationCheck.h"

namespace {

using namespace qv;

constexpr int32_t kEvents = 1000000;
constexpr int kParameters = 12;

// Twelve linear parameters of range 1024, with four populations and a
// definition marked.
FileRecord& MillionEventFile() {
    static bool made = false;
    if (made) return g.FileTable[1];
    made = true;
    resetSharedState();
    FileRecord& f = g.FileTable[1];
    f.Loaded = true;
    f.FileName = "million.fcs";
    f.ParameterCount = kParameters;
    f.Parameters.assign(kParameters + 1, ParameterInfo{});
    for (int p = 1; p <= kParameters; ++p) {
        f.Parameters[static_cast<size_t>(p)].Name = "P" + std::to_string(p);
        f.Parameters[static_cast<size_t>(p)].Range = 1024;
    }
    f.EventCount = f.EventsLoaded = kEvents;
    f.WorkingData.resize(kEvents, kParameters);
    std::mt19937 rng(7);
    std::normal_distribution<float> v(400.0f, 120.0f);
    for (int p = 1; p <= kParameters; ++p)
        for (int32_t e = 1; e <= kEvents; ++e) f.WorkingData(e, p) = v(rng);
    f.Membership.resize(kEvents, g.membershipSlots());
    for (int32_t e = 1; e <= kEvents; ++e) {
        f.Membership(e, 1 + e % 4) = 1;
        if (e % 3 == 0) f.Membership(e, 17) = 1;
    }
    for (int k : {1, 2, 3, 4, 17}) g.PopulationTable[static_cast<size_t>(k)].InUse = true;
    return f;
}

// A chain of twelve axes, each continuing the one before.
AxisTable TwelveAxes() {
    AxisTable axes{};
    axes[BendRootAxis] = {500, 9500, 0, true, 0, false};
    int previous = BendRootAxis;
    for (int a = 1; a <= kParameters; ++a) {
        const AxisRecord& from = axes[static_cast<size_t>(previous)];
        axes[static_cast<size_t>(a)] = {from.X + (a % 2 ? 700 : 100), from.Y - (a % 2 ? 100 : 700),
                                        static_cast<int16_t>(previous), true, static_cast<int16_t>(a), false};
        previous = a;
    }
    return axes;
}

void Draw(benchmark::State& st, const AxisTable& axes, bool distances) {
    const FileRecord& file = MillionEventFile();
    BendPlotState state;
    state.Axes = axes;
    state.DistanceColors = distances;
    BendPlotRenderer renderer;
    QImage image(400, 400, QImage::Format_RGB32);
    int64_t drawn = 0;
    for (auto _ : st) {
        drawn = renderer.render(image, state, file, {});
        benchmark::DoNotOptimize(image.constBits());
    }
    st.counters["events"] = static_cast<double>(drawn);
}

void BM_BendDrawDefaultAxes(benchmark::State& st) { Draw(st, DefaultAxisTable(), false); }
void BM_BendDrawDefaultAxesDistanceColours(benchmark::State& st) { Draw(st, DefaultAxisTable(), true); }
void BM_BendDrawTwelveAxes(benchmark::State& st) { Draw(st, TwelveAxes(), false); }

void BM_BendCheckPopulationTenCorners(benchmark::State& st) {
    MillionEventFile();
    PopulationRecord& gate = g.PopulationTable[5];
    gate.InUse = true;
    gate.Type = "BendPlot";
    gate.Name = "Bending-5";
    gate.Corners = 10;
    for (int j = 1; j <= 10; ++j) {
        const double angle = j * 2 * 3.14159265358979 / 10;
        gate.CornerX[static_cast<size_t>(j)] = static_cast<float>(3500 + 1500 * std::cos(angle));
        gate.CornerY[static_cast<size_t>(j)] = static_cast<float>(6000 + 1500 * std::sin(angle));
    }
    const AxisTable axes = DefaultAxisTable();
    for (auto _ : st) {
        BendCheckPopulation(5, axes, 1, DefinitionRecheck::None);
        benchmark::DoNotOptimize(g.FileTable[1].Membership.column(5));
    }
}

BENCHMARK(BM_BendDrawDefaultAxes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BendDrawDefaultAxesDistanceColours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BendDrawTwelveAxes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BendCheckPopulationTenCorners)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return qv::bench::RunOffscreenBenchmarks(argc, argv); }
