// Speed of gating: one polygon population over a loaded file of a million
// events (scaling of both axes included), a definition over four
// populations, and the recomputation of every gate after a file load.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <cmath>
#include <random>
#include <string>

#include "app/model/DefinitionEvaluator.h"
#include "app/model/PopulationRecompute.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/dotplot/model/DotPlotPopulationCheck.h"

namespace {

using namespace qv;

constexpr int32_t Events = 1000000;

// Four parameters with a spread like scatter and fluorescence, range 1024.
void LoadFile(bool logAxes) {
    resetSharedState();
    FileRecord& f = g.FileTable[1];
    f.Loaded = true;
    f.FileKey = 1;
    f.ParameterCount = 4;
    f.Parameters.assign(5, ParameterInfo{});
    for (int p = 1; p <= 4; ++p) {
        f.Parameters[static_cast<size_t>(p)].Name = "P" + std::to_string(p);
        f.Parameters[static_cast<size_t>(p)].Range = 1024;
        f.Parameters[static_cast<size_t>(p)].IsLog = logAxes;
    }
    f.EventsLoaded = Events;
    f.EventCount = Events;
    f.PristineData.resize(Events, 4);
    std::mt19937 rng(7);
    std::normal_distribution<float> centre(400.0f, 150.0f);
    std::uniform_real_distribution<float> decades(-0.3f, 3.0f);
    for (int e = 1; e <= Events; ++e) {
        f.PristineData(e, 1) = centre(rng);
        f.PristineData(e, 2) = centre(rng);
        f.PristineData(e, 3) = std::pow(10.0f, decades(rng));
        f.PristineData(e, 4) = std::pow(10.0f, decades(rng));
    }
    f.WorkingData = f.PristineData;
    f.Membership.resize(Events, g.membershipSlots());
}

// A ten-corner gate, roughly round, around the middle of the plot.
void PutGate(int slot, int ax, int ay, double cx, double cy, double r) {
    PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
    p.InUse = true;
    p.Type = "Polygon";
    p.Name = "Poly-" + std::to_string(slot);
    p.AxisX = static_cast<int16_t>(ax);
    p.AxisY = static_cast<int16_t>(ay);
    p.Corners = 10;
    for (int j = 1; j <= 10; ++j) {
        const double a = 2.0 * 3.14159265358979 * j / 10.0;
        const double rr = r * (j % 2 ? 1.0 : 0.7);
        p.CornerX[static_cast<size_t>(j)] = static_cast<float>(cx + rr * std::cos(a));
        p.CornerY[static_cast<size_t>(j)] = static_cast<float>(cy + rr * std::sin(a));
    }
}

void BM_CheckPopulation(benchmark::State& state) {
    const bool logAxes = state.range(0) != 0;
    LoadFile(logAxes);
    // On log axes the fluorescence parameters spread over the plot.
    if (logAxes)
        PutGate(1, 3, 4, 5000, 5000, 3000);
    else
        PutGate(1, 1, 2, 4000, 6000, 2500);
    for (auto _ : state) {
        DotPlotCheckPopulation(1);
        benchmark::DoNotOptimize(g.FileTable[1].Membership.column(1));
    }
    int64_t members = 0;
    for (int e = 1; e <= Events; ++e) members += g.FileTable[1].Membership(e, 1);
    state.counters["members"] = static_cast<double>(members);
    state.SetLabel(state.range(0) ? "log axes" : "linear axes");
}
BENCHMARK(BM_CheckPopulation)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EvaluateDefinitionOfFourPopulations(benchmark::State& state) {
    LoadFile(false);
    PutGate(1, 1, 2, 4000, 6000, 2500);
    PutGate(2, 3, 4, 5000, 5000, 3000);
    PutGate(3, 1, 3, 3000, 4000, 2000);
    PutGate(4, 2, 4, 6000, 5000, 3500);
    for (int slot = 1; slot <= 4; ++slot) DotPlotCheckPopulation(slot, DefinitionRecheck::None);
    for (auto _ : state) {
        const DefinitionResult r = EvaluateDefinition(17, "Poly-1 and (Poly-2 or not Poly-3) and not Poly-4");
        benchmark::DoNotOptimize(r.Message.data());
    }
}
BENCHMARK(BM_EvaluateDefinitionOfFourPopulations)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a file load costs in gating: four polygons and two definitions.
void BM_RecomputeAllPopulations(benchmark::State& state) {
    LoadFile(true);
    PutGate(1, 1, 2, 4000, 6000, 2500);
    PutGate(2, 3, 4, 5000, 5000, 3000);
    PutGate(3, 1, 3, 3000, 4000, 2000);
    PutGate(4, 2, 4, 6000, 5000, 3500);
    for (int slot : {17, 18}) {
        g.PopulationTable[static_cast<size_t>(slot)].InUse = true;
        g.PopulationTable[static_cast<size_t>(slot)].Name = slot == 17 ? "Poly-1 and not Poly-2" : "Poly-3 or Poly-4";
    }
    for (auto _ : state) RecomputeAllPopulations();
}
BENCHMARK(BM_RecomputeAllPopulations)->Unit(benchmark::kMillisecond)->UseRealTime();

// One mouse move while a corner of a gate is dragged in a 400 x 400 dot plot
// of the million events, with the repaint it causes: the move only redraws
// the feedback over the kept picture, never the events.
void BM_DragMoveOverGate(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "gating_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    LoadFile(false);
    PutGate(1, 1, 2, 4000, 6000, 2500);
    DotPlotCheckPopulation(1);
    DotPlot window;
    WindowRecord& r = g.WindowRegistry[1];
    r.InUse = true;
    r.Form = &window;
    r.Type = "DotPlot";
    window.Alusta(1);
    window.resize(400, 400);
    window.show();
    r.FileIndex = 1;
    window.LatauksenJalkeen();
    window.Piirra();
    // Press on corner 1 of the gate.
    const PopulationRecord& gate = g.PopulationTable[1];
    const double plot = 400 - 2 * 18;
    const QPointF corner(18 + plot * gate.CornerX[1] / 10000.0, 18 + plot * gate.CornerY[1] / 10000.0);
    QMouseEvent press(QEvent::MouseButtonPress, corner, window.mapToGlobal(corner), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &press);
    QImage screen(400, 400, QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        const QPointF at(corner.x() + (step++ % 40), corner.y());
        QMouseEvent move(QEvent::MouseMove, at, window.mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &move);
        window.render(&screen);  // what a repaint paints: the kept picture and the feedback
    }
    if (g.DragCornerPopulation != 1) state.SkipWithError("the press did not grab the corner");
    QMouseEvent release(QEvent::MouseButtonRelease, corner, window.mapToGlobal(corner), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &release);
    window.close();
    r = WindowRecord{};
}
BENCHMARK(BM_DragMoveOverGate)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
