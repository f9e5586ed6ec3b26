// Speed of opening a large FCS file as "Open FCS..." does: a million events
// of twelve 32-bit float parameters, read, then compensated with a 12 x 12
// matrix of 20 non-zero shares.
#include <benchmark/benchmark.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "core/Compensation.h"
#include "core/FcsReader.h"
#include "core/SharedState.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

constexpr int32_t kEvents = 1000000;
constexpr int kParameters = 12;

// $COMP of 12 x 12 with 20 non-zero shares off the diagonal.
std::string compText() {
    std::string text = std::to_string(kParameters);
    int placed = 0, offDiagonal = 0;
    for (int i = 1; i <= kParameters; ++i) {
        for (int j = 1; j <= kParameters; ++j) {
            const bool share = i != j && offDiagonal++ % 6 == 0 && placed < 20;
            if (share) ++placed;
            text += share ? ",-" + std::to_string(1 + (i + j) % 9) : ",0";
        }
    }
    return text;
}

class BigFile {
public:
    BigFile() {
        test::FcsTestFile f;
        for (int p = 1; p <= kParameters; ++p) f.param("P" + std::to_string(p), "262144");
        f.Comp = compText();
        f.RawEvents = kEvents;
        f.RawData.resize(static_cast<size_t>(kEvents) * kParameters * 4);
        std::mt19937 rng(3);
        std::uniform_real_distribution<float> value(-100.0f, 262144.0f);
        for (size_t k = 0; k < f.RawData.size(); k += 4) {
            const auto bits = std::bit_cast<uint32_t>(value(rng));
            f.RawData[k] = static_cast<char>(bits >> 24);
            f.RawData[k + 1] = static_cast<char>(bits >> 16);
            f.RawData[k + 2] = static_cast<char>(bits >> 8);
            f.RawData[k + 3] = static_cast<char>(bits);
        }
        test::WriteFcsTestFile(folder.file("big.fcs"), f);
    }
    std::string path() const { return folder.file("big.fcs"); }

private:
    test::TempFolder folder;
};

const BigFile& bigFile() {
    static const BigFile file;
    return file;
}

void BM_ReadFcsFile(benchmark::State& state) {
    resetSharedState();
    const std::string path = bigFile().path();
    for (auto _ : state) {
        FileRecord r = ReadFcsFile(path);
        if (!r.Loaded || r.EventCount != kEvents) state.SkipWithError(("not loaded: " + r.RefusalReason).c_str());
        benchmark::DoNotOptimize(r.WorkingData.raw().data());
    }
    state.SetItemsProcessed(state.iterations() * kEvents);
}
BENCHMARK(BM_ReadFcsFile)->Unit(benchmark::kMillisecond);

// The whole opening: read, then compensation of the working data.
void BM_ReadFcsFileAndCompensate(benchmark::State& state) {
    resetSharedState();
    const std::string path = bigFile().path();
    for (auto _ : state) {
        FileRecord r = ReadFcsFile(path);
        if (!r.Loaded || !r.CompensationOn) state.SkipWithError(("not loaded: " + r.RefusalReason).c_str());
        ApplyCompensation(r);
        benchmark::DoNotOptimize(r.WorkingData.raw().data());
        int shares = 0;
        for (int i = 1; i <= kParameters; ++i)
            for (int j = 1; j <= kParameters; ++j) shares += r.CompensationMatrix(i, j) != 0.0f;
        state.counters["shares"] = shares;
    }
    state.SetItemsProcessed(state.iterations() * kEvents);
}
BENCHMARK(BM_ReadFcsFileAndCompensate)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv
