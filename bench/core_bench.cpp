// Speeds of the numeric work done once per event: scaling onto axes, the
// polygon test and compensation, each over a million events.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/AxisScaling.h"
#include "core/Compensation.h"
#include "core/PolygonTest.h"
#include "core/SharedState.h"

namespace qv {
namespace {

constexpr int32_t kEvents = 1000000;

// One parameter per axis kind: 1 linear Range 1024, 2 log Range 262144,
// 3 log Range 10000. Values spread over the whole axis, some negative.
const FileRecord& scalingFile() {
    static const FileRecord file = [] {
        FileRecord f;
        f.Loaded = true;
        f.EventCount = f.EventsLoaded = kEvents;
        f.ParameterCount = 3;
        f.Parameters.resize(4);
        f.Parameters[1] = {"Linear", false, 1024, false};
        f.Parameters[2] = {"Log262144", true, 262144, false};
        f.Parameters[3] = {"Log10000", true, 10000, false};
        f.WorkingData.resize(kEvents, 3);
        std::mt19937 rng(1);
        std::uniform_real_distribution<float> lin(-20.0f, 1100.0f);
        std::lognormal_distribution<float> log(6.0f, 2.5f);
        for (int32_t e = 1; e <= kEvents; ++e) {
            f.WorkingData(e, 1) = lin(rng);
            f.WorkingData(e, 2) = log(rng) - 50.0f;
            f.WorkingData(e, 3) = log(rng);
        }
        return f;
    }();
    return file;
}

// The per-event routine, as a caller that scales one event at a time uses it.
void BM_ScaleEventToAxis(benchmark::State& state) {
    resetSharedState();
    const FileRecord& f = scalingFile();
    const auto parameter = static_cast<int16_t>(state.range(0));
    for (auto _ : state) {
        double sum = 0.0;
        for (int32_t e = 1; e <= kEvents; ++e) sum += ScaleEventToAxis(f, e, parameter, 10000.0);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kEvents);
}
BENCHMARK(BM_ScaleEventToAxis)->Arg(1)->Arg(2)->Arg(3)->ArgName("parameter")->Unit(benchmark::kMillisecond);

// The column form the plot windows draw and gate with.
void BM_ScaleEventsToAxisColumn(benchmark::State& state) {
    resetSharedState();
    const FileRecord& f = scalingFile();
    const auto parameter = static_cast<int16_t>(state.range(0));
    std::vector<float> out(kEvents);
    for (auto _ : state) {
        ScaleEventsToAxis(f, parameter, 10000.0, 1, kEvents, 1, std::span<float>(out));
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kEvents);
}
BENCHMARK(BM_ScaleEventsToAxisColumn)->Arg(1)->Arg(2)->Arg(3)->ArgName("parameter")->Unit(benchmark::kMillisecond);

struct PolygonData {
    std::vector<float> xs, ys;
    std::vector<PlotPoint> points;  // point 0 unused
    std::vector<PolygonCorner> corners;
};

const PolygonData& polygonData() {
    static const PolygonData data = [] {
        PolygonData d;
        std::mt19937 rng(2);
        std::uniform_real_distribution<float> where(0.0f, 10000.0f);
        d.xs.resize(kEvents);
        d.ys.resize(kEvents);
        d.points.resize(static_cast<size_t>(kEvents) + 1);
        for (int32_t k = 0; k < kEvents; ++k) {
            d.xs[static_cast<size_t>(k)] = where(rng);
            d.ys[static_cast<size_t>(k)] = where(rng);
            d.points[static_cast<size_t>(k) + 1] = {d.xs[static_cast<size_t>(k)], d.ys[static_cast<size_t>(k)]};
        }
        // A ten-corner gate, concave, over much of the plot.
        const double pi = std::acos(-1.0);
        for (int k = 0; k < 10; ++k) {
            const double radius = (k % 2 == 0) ? 4500.0 : 2200.0;
            const double angle = 2.0 * pi * k / 10.0 + 0.1;
            d.corners.push_back({static_cast<int32_t>(5000 + radius * std::cos(angle)),
                                 static_cast<int32_t>(5000 + radius * std::sin(angle))});
        }
        return d;
    }();
    return data;
}

void BM_PointsInPolygonFlat(benchmark::State& state) {
    const PolygonData& d = polygonData();
    std::vector<uint8_t> inside(kEvents);
    for (auto _ : state) {
        PointsInPolygon(d.xs.data(), d.ys.data(), d.xs.size(), d.corners, inside.data());
        benchmark::DoNotOptimize(inside.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kEvents);
}
BENCHMARK(BM_PointsInPolygonFlat)->Unit(benchmark::kMillisecond);

// The point-array form, which allocates its result on each call.
void BM_PointsInPolygonPoints(benchmark::State& state) {
    const PolygonData& d = polygonData();
    for (auto _ : state) {
        std::vector<uint8_t> inside = PointsInPolygon(d.points, d.corners);
        benchmark::DoNotOptimize(inside.data());
    }
    state.SetItemsProcessed(state.iterations() * kEvents);
}
BENCHMARK(BM_PointsInPolygonPoints)->Unit(benchmark::kMillisecond);

// 1,000,000 events of 12 parameters with 20 non-zero coefficients.
void BM_ApplyCompensation(benchmark::State& state) {
    FileRecord f;
    const int32_t parameters = 12;
    f.Loaded = true;
    f.EventCount = f.EventsLoaded = kEvents;
    f.ParameterCount = parameters;
    f.Parameters.resize(parameters + 1);
    f.PristineData.resize(kEvents, parameters);
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> value(0.0f, 262144.0f);
    for (float& v : f.PristineData.raw()) v = value(rng);
    f.WorkingData.resize(kEvents, parameters);
    f.CompensationMatrix.resize(parameters, parameters);
    for (int k = 0; k < 20; ++k) f.CompensationMatrix(1 + k % parameters, 1 + (k * 5 + 1) % parameters) = 0.01f * (k + 1);
    f.CompensationOn = true;
    for (auto _ : state) {
        ApplyCompensation(f);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kEvents);
}
BENCHMARK(BM_ApplyCompensation)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv
