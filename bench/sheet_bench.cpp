// One autosave of a large workspace: 50 dot plots, 16 populations of 50
// corners and 16 definitions. Building the text and writing it (the
// temporary file and its rename, without the flush to disk) is one figure;
// the same with the flush (fsync) measures the disk and is reported apart.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/model/SheetWriter.h"
#include "core/AtomicFile.h"
#include "core/SharedState.h"
#include "plots/dotplot/model/DotPlotSettings.h"

namespace qv {
namespace {

struct LargeWorkspace {
    std::vector<DotPlotState> plots;
    std::string path;

    LargeWorkspace() {
        resetSharedState();
        for (int s = 1; s <= 32; ++s) {
            PopulationRecord& p = g.PopulationTable[static_cast<size_t>(s)];
            p.InUse = true;
            p.Name = s <= 16 ? "Poly-" + std::to_string(s) : "Poly-1 and not (Poly-2 or Poly-" + std::to_string(s - 16) + ")";
            if (s > 16) continue;
            p.Type = "Polygon";
            p.AxisX = 1;
            p.AxisY = 2;
            p.Corners = 50;
            for (int j = 1; j <= 50; ++j) {
                p.CornerX[static_cast<size_t>(j)] = 1234.567f + 97.31f * static_cast<float>(j);
                p.CornerY[static_cast<size_t>(j)] = 8765.4321f - 83.17f * static_cast<float>(j);
            }
        }
        plots.resize(50);
        for (int w = 0; w < 50; ++w) {
            plots[static_cast<size_t>(w)].ID = static_cast<int16_t>(w + 1);
            plots[static_cast<size_t>(w)].QuadrantOn = true;
            plots[static_cast<size_t>(w)].QuadrantX = 4321;
        }
        path = (std::filesystem::temp_directory_path() / "qv-sheet-bench.quorvane").string();
    }
    ~LargeWorkspace() { std::remove(path.c_str()); }

    // What the main window gathers and builds for one autosave.
    std::string text() const {
        SheetContent c;
        c.mode = SheetMode::Autosave;
        c.versionText = "1.2.1";
        c.date = "10.12.2026";
        c.populations = &g.PopulationTable;
        for (int f = 1; f <= 2; ++f) c.files.push_back({f, "/data/run/tube" + std::to_string(f) + ".fcs", "", 0});
        for (const DotPlotState& s : plots) {
            DotPlotFrame frame{1500.0f * s.ID, 300.0f, 6000.0f, 6000.0f, 1};
            c.windows.push_back({s.ID, "DotPlot", DotPlotSettingsLines(s, frame)});
        }
        return SheetText(c);
    }
};

void BM_AutosaveBuildOnly(benchmark::State& state) {
    const LargeWorkspace w;
    for (auto _ : state) benchmark::DoNotOptimize(w.text());
}
BENCHMARK(BM_AutosaveBuildOnly)->Unit(benchmark::kMillisecond);

// Argument 0: written without the flush to disk (the figure with a target);
// argument 1: with the flush, which measures the disk.
void BM_AutosaveBuildAndWrite(benchmark::State& state) {
    const LargeWorkspace w;
    const bool flush = state.range(0) != 0;
    for (auto _ : state) {
        const std::string text = w.text();
        if (WriteFileAtomically(w.path, text, flush) != FileWriteResult::Ok) state.SkipWithError("write failed");
    }
    state.counters["bytes"] = static_cast<double>(w.text().size());
}
BENCHMARK(BM_AutosaveBuildAndWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv
