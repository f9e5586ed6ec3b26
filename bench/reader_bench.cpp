// Speed of opening large data files: an FCS file as "Open FCS..." does (a
// million events of twelve 32-bit float parameters, read, then compensated
// with a 12 x 12 matrix of 20 non-zero shares), and a text table of a
// million events of ten parameters as "Open TXT file..." does, the
// clipboard copy of the table included (goal: under a second).
#include <benchmark/benchmark.h>

#include <bit>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "core/Compensation.h"
#include "core/FcsReader.h"
#include "core/SharedState.h"
#include "core/TxtReader.h"
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

constexpr int32_t kTableEvents = 1000000;
constexpr int kTableParameters = 10;

// A table as instruments' export tools write it: a name column, values of
// up to seven digits with a few decimals, CR LF line ends.
class BigTable {
public:
    BigTable() {
        std::string text = "Name";
        for (int p = 1; p <= kTableParameters; ++p) text += "\tFL" + std::to_string(p);
        text += "\r\n";
        std::mt19937 rng(5);
        std::uniform_int_distribution<int> hundredths(-5000, 26214400);
        for (int32_t e = 1; e <= kTableEvents; ++e) {
            text += "e" + std::to_string(e);
            for (int p = 1; p <= kTableParameters; ++p) {
                const int v = hundredths(rng);
                const int whole = v / 100, rest = std::abs(v % 100);
                text += '\t';
                if (v < 0 && whole == 0) text += '-';
                text += std::to_string(whole) + '.' + (rest < 10 ? "0" : "") + std::to_string(rest);
            }
            text += "\r\n";
        }
        test::WriteBytes(folder.file("big.txt"), text);
        bytes = text.size();
    }
    std::string path() const { return folder.file("big.txt"); }
    size_t bytes = 0;

private:
    test::TempFolder folder;
};

const BigTable& bigTable() {
    static const BigTable table;
    return table;
}

void BM_ReadTxtFile(benchmark::State& state) {
    resetSharedState();
    const BigTable& table = bigTable();
    for (auto _ : state) {
        TxtReadResult result = ReadTxtFile(table.path());
        if (!result.Record.Loaded || result.Record.EventCount != kTableEvents)
            state.SkipWithError(("not loaded: " + result.Record.RefusalReason).c_str());
        benchmark::DoNotOptimize(result.ClipboardText.data());
        benchmark::DoNotOptimize(result.Record.WorkingData.raw().data());
    }
    state.SetItemsProcessed(state.iterations() * kTableEvents);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(table.bytes));
}
BENCHMARK(BM_ReadTxtFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv
