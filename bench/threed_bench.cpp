// Speed of the 3-D plot's picture over a million events on a 400 x 400
// picture: the full draw on linear and on log axes, and one drag step (the
// coarse step of about a thousand events).
#include <benchmark/benchmark.h>

#include <QImage>

#include <random>

#include "bench/OffscreenBenchmarks.h"
#include "core/SharedState.h"
#include "plots/multi/model/ThreeDRenderer.h"

namespace qv {
namespace {

constexpr int32_t kEvents = 1000000;

const FileRecord& millionEventFile() {
    static bool done = false;
    if (done) return g.FileTable[1];
    done = true;
    resetSharedState();
    FileRecord& f = g.FileTable[1];
    f.Loaded = true;
    f.FileName = "million.fcs";
    f.EventCount = f.EventsLoaded = kEvents;
    f.ParameterCount = 6;
    f.Parameters.resize(7);
    for (int p = 1; p <= 3; ++p) f.Parameters[p] = {"LIN" + std::to_string(p), false, 1024, false};
    for (int p = 4; p <= 6; ++p) f.Parameters[p] = {"LOG" + std::to_string(p), true, 10000, false};
    f.WorkingData.resize(kEvents, 6);
    f.Membership.resize(kEvents, g.membershipSlots());
    std::mt19937 rng(3);
    std::normal_distribution<float> lin(500.0f, 150.0f);
    std::lognormal_distribution<float> log(4.0f, 1.5f);
    for (int32_t e = 1; e <= kEvents; ++e) {
        for (int p = 1; p <= 3; ++p) f.WorkingData(e, p) = lin(rng);
        for (int p = 4; p <= 6; ++p) f.WorkingData(e, p) = log(rng);
        f.Membership(e, 1 + e % 4) = 1;
    }
    for (int k = 1; k <= 4; ++k) {
        g.PopulationTable[k].InUse = true;
        g.PopulationTable[k].ColorRed = static_cast<uint8_t>(60 * k);
    }
    return f;
}

void draw(benchmark::State& st, int16_t firstAxis, bool drag) {
    const FileRecord& file = millionEventFile();
    QImage picture(400, 400, QImage::Format_RGB32);
    ThreeDState s;
    s.AxisX = firstAxis;
    s.AxisY = static_cast<int16_t>(firstAxis + 1);
    s.AxisZ = static_cast<int16_t>(firstAxis + 2);
    s.RotateX = 30;
    s.RotateY = 20;
    s.Step = drag ? CoarseThreeDStep(file.EventCount) : 1;
    for (auto _ : st) {
        s.RotateX = WrapAngleOnce(s.RotateX + 1);
        RenderThreeD(picture, s, file, {});
        benchmark::DoNotOptimize(picture.constBits());
    }
    st.counters["events_drawn"] = static_cast<double>(s.ProjectedPoints.size() - 360);
}

void BM_ThreeDFullDrawLinear(benchmark::State& st) { draw(st, 1, false); }
void BM_ThreeDFullDrawLog(benchmark::State& st) { draw(st, 4, false); }
void BM_ThreeDDragStep(benchmark::State& st) { draw(st, 1, true); }

BENCHMARK(BM_ThreeDFullDrawLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThreeDFullDrawLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThreeDDragStep)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

int main(int argc, char** argv) { return qv::bench::RunOffscreenBenchmarks(argc, argv); }
