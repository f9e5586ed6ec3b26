// Speed of a dot plot's statistics refresh: a file of a million events shown
// in full (fast draw off), 16 populations on the plot's own parameter pair
// and 16 definitions, all listed; the computation alone and the whole
// refresh into the statistics window's grid.
#include <benchmark/benchmark.h>


#include <memory>
#include <random>
#include <vector>

#include "bench/OffscreenBenchmarks.h"
#include "app/WindowDisposal.h"
#include "app/PlotWindow.h"
#include "core/SharedState.h"
#include "output/Statistics.h"
#include "plots/dotplot/DotPlotStatisticsPanel.h"
#include "plots/dotplot/model/DotPlotStatistics.h"

namespace qv {
namespace {

constexpr int32_t kEvents = 1000000;
constexpr int kOwnerId = 1;

// Fills file slot 1 and the population table once.
void prepareWorkspace() {
    static bool done = false;
    if (done) return;
    done = true;
    resetSharedState();
    FileRecord& f = g.FileTable[1];
    f.Loaded = true;
    f.FileName = "million.fcs";
    f.EventCount = f.EventsLoaded = kEvents;
    f.ParameterCount = 3;
    f.Parameters.resize(4);
    f.Parameters[1] = {"FSC", false, 1024, false};
    f.Parameters[2] = {"SSC", true, 262144, false};
    f.Parameters[3] = {"FL1", true, 10000, false};
    f.WorkingData.resize(kEvents, 3);
    const int slotCount = g.membershipSlots();
    f.Membership.resize(kEvents, slotCount);
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> lin(-20.0f, 1100.0f);
    std::lognormal_distribution<float> log(6.0f, 2.5f);
    std::uniform_int_distribution<int> pick(0, 99);
    for (int32_t e = 1; e <= kEvents; ++e) {
        f.WorkingData(e, 1) = lin(rng);
        f.WorkingData(e, 2) = log(rng);
        f.WorkingData(e, 3) = log(rng);
    }
    // Each slot holds a fifth to a half of the events.
    for (int k = 1; k <= slotCount; ++k) {
        const int share = 20 + (k * 7) % 31;
        uint8_t* column = f.Membership.column(k);
        for (int32_t e = 1; e <= kEvents; ++e) column[e] = pick(rng) < share ? 1 : 0;
    }
    for (int k = 1; k <= slotCount; ++k) {
        PopulationRecord& p = g.PopulationTable[static_cast<size_t>(k)];
        p.InUse = true;
        p.Name = k <= g.MaxPopulations ? "Poly-" + std::to_string(k) : "Poly-" + std::to_string(k - 16) + " or Poly-1";
        if (k <= g.MaxPopulations) {
            p.Type = "Polygon";
            p.AxisX = 1;
            p.AxisY = 2;
        }
    }
}

DotPlotStatisticsInput benchInput(bool) {
    DotPlotStatisticsInput in;
    in.file = &g.FileTable[1];
    in.channelX = 1;
    in.channelY = 2;
    in.eventStep = 1;
    in.quadrantX = 5000;
    in.quadrantY = 5000;
    in.populations = std::span<const PopulationRecord>(g.PopulationTable);
    in.maxPopulations = g.MaxPopulations;
    in.maxDefinitions = g.MaxDefinitions;
    return in;
}

void BM_ComputePopulations(benchmark::State& state) {
    prepareWorkspace();
    DotPlotStatisticsComputer computer;
    std::vector<DotPlotStatistics> stats(static_cast<size_t>(g.membershipSlots()) + 1);
    const DotPlotStatisticsInput in = benchInput(false);
    for (auto _ : state) {
        computer.computePopulations(in, stats);
        benchmark::DoNotOptimize(stats.data());
    }
}
BENCHMARK(BM_ComputePopulations)->Unit(benchmark::kMillisecond);

void BM_ComputePopulationsAndQuadrants(benchmark::State& state) {
    prepareWorkspace();
    DotPlotStatisticsComputer computer;
    std::vector<DotPlotStatistics> stats(static_cast<size_t>(g.membershipSlots()) + 1);
    DotPlotQuadrantStatistics quadrants{};
    const DotPlotStatisticsInput in = benchInput(true);
    for (auto _ : state) {
        computer.computeAll(in, stats, quadrants);
        benchmark::DoNotOptimize(stats.data());
        benchmark::DoNotOptimize(quadrants.data());
    }
}
BENCHMARK(BM_ComputePopulationsAndQuadrants)->Unit(benchmark::kMillisecond);

// A plot window that only carries the statistics panel.
class BenchOwner : public PlotWindow {
public:
    BenchOwner() : panel(state) {
        state.ID = kOwnerId;
        WindowRecord& rec = g.WindowRegistry[kOwnerId];
        rec.InUse = true;
        rec.Form = this;
        rec.Type = "DotPlot";
        rec.FileIndex = 1;
    }
    ~BenchOwner() override { g.WindowRegistry[kOwnerId] = WindowRecord{}; }
    void Alusta(int) override {}
    void Piirra() override {}
    int AnnaID() const override { return kOwnerId; }
    void UnloadWindow() override {}
    void MenuValintaReaktio(int) override {}
    void CopyToClipboard() override {}
    std::vector<std::string> SaveInfo() override { return {"0"}; }
    void LoadInfo(const std::string&) override {}
    void PaivitaStatistiikka() override { panel.PaivitaStatistiikka(); }
    void UnloadStatistics() override { panel.UnloadStatistics(); }

    DotPlotState state;
    DotPlotStatisticsPanel panel;
};

// The whole refresh as a full draw makes it: records, grid cells, the
// table on screen, with the quadrant shown (37 data rows).
void BM_RefreshStatisticsWindow(benchmark::State& state) {
    prepareWorkspace();
    BenchOwner owner;
    owner.state.QuadrantOn = state.range(0) != 0;
    owner.state.QuadrantX = owner.state.QuadrantY = 5000;
    owner.panel.AvaaTaiSuljeStatistics("open");
    for (auto _ : state) owner.PaivitaStatistiikka();
    owner.panel.AvaaTaiSuljeStatistics("close");
    deleteDiscardedWidgets();
}
BENCHMARK(BM_RefreshStatisticsWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The refresh plus the grid's picture for the print page (after a full draw).
void BM_RefreshAfterFullDraw(benchmark::State& state) {
    prepareWorkspace();
    BenchOwner owner;
    owner.state.QuadrantOn = true;
    owner.state.QuadrantX = owner.state.QuadrantY = 5000;
    owner.panel.AvaaTaiSuljeStatistics("open");
    for (auto _ : state) owner.panel.afterFullDraw();
    owner.panel.AvaaTaiSuljeStatistics("close");
    deleteDiscardedWidgets();
}
BENCHMARK(BM_RefreshAfterFullDraw)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

int main(int argc, char** argv) { return qv::bench::RunOffscreenBenchmarks(argc, argv); }
