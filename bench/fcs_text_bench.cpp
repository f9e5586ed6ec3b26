// Splitting a huge FCS TEXT into its keyword-value pairs: millions of short
// pairs ("k/v/", four bytes each), split, searched for a keyword and read as
// a whole file. Besides the time, each run reports the most memory the work
// held at once beyond its input (every allocation of this program is
// counted), as bytes and as a multiple of the TEXT's size (goal: a small
// multiple, the pairs held as offsets into the TEXT).
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "core/FcsReader.h"
#include "core/SharedState.h"

namespace {

std::atomic<size_t> liveBytes{0};
std::atomic<size_t> peakBytes{0};

void* countedAllocation(size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    const size_t now = liveBytes.fetch_add(malloc_usable_size(p)) + malloc_usable_size(p);
    size_t peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void countedRelease(void* p) {
    if (p == nullptr) return;
    liveBytes.fetch_sub(malloc_usable_size(p));
    std::free(p);
}

}  // namespace

void* operator new(size_t size) { return countedAllocation(size); }
void* operator new[](size_t size) { return countedAllocation(size); }
void operator delete(void* p) noexcept { countedRelease(p); }
void operator delete[](void* p) noexcept { countedRelease(p); }
void operator delete(void* p, size_t) noexcept { countedRelease(p); }
void operator delete[](void* p, size_t) noexcept { countedRelease(p); }

namespace qv {
namespace {

// The keywords a one-parameter float file needs, then `fillerPairs` pairs of
// a one-character keyword and value.
std::string hugeText(size_t fillerPairs) {
    std::string text = "/$TOT/1/$PAR/1/$DATATYPE/F/$BYTEORD/1,2,3,4/$P1N/FSC/$P1R/1024/$P1B/32/";
    text.reserve(text.size() + fillerPairs * 4);
    for (size_t i = 0; i < fillerPairs; ++i) {
        text += static_cast<char>('a' + i % 26);
        text += '/';
        text += static_cast<char>('0' + i % 10);
        text += '/';
    }
    return text;
}

std::string field8(size_t n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%8zu", n);
    return buffer;
}

// A whole file around the TEXT: HEADER, TEXT, one event.
std::string hugeFile(const std::string& text) {
    const size_t textStart = 58, dataStart = textStart + text.size();
    std::string bytes = "FCS3.0    " + field8(textStart) + field8(dataStart - 1) + field8(dataStart) +
                        field8(dataStart + 3) + field8(0) + field8(0);
    bytes += text;
    bytes += std::string("\0\0\x80\x3f", 4);  // 1.0f, least significant byte first
    return bytes;
}

void reportMemory(benchmark::State& state, size_t peak, size_t textBytes) {
    state.counters["text_MB"] = static_cast<double>(textBytes) / 1e6;
    state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
    state.counters["peak_per_text_byte"] = static_cast<double>(peak) / static_cast<double>(textBytes);
}

// Split, then the search for a keyword the TEXT lacks, which looks at every
// pair.
void BM_SplitFcsText(benchmark::State& state) {
    const std::string text = hugeText(static_cast<size_t>(state.range(0)) * 1000000);
    size_t peak = 0;
    for (auto _ : state) {
        const size_t before = liveBytes.load();
        peakBytes.store(before);
        const FcsTextPairs pairs = SplitFcsText(text);
        const std::string value = FcsKeywordValue(pairs, "\\$P2N");  // absent: every pair is looked at
        benchmark::DoNotOptimize(value.data());
        if (pairs.size() < static_cast<size_t>(state.range(0)) * 1000000) state.SkipWithError("pairs lost");
        peak = std::max(peak, peakBytes.load() - before);
    }
    state.counters["pairs"] = static_cast<double>(SplitFcsText(text).size());
    reportMemory(state, peak, text.size());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_SplitFcsText)->Arg(1)->Arg(24)->Unit(benchmark::kMillisecond)->Iterations(3);

// The whole reading of a file whose TEXT holds millions of pairs: every
// keyword the reader looks up, each over all of them.
void BM_ReadFcsFileWithAHugeText(benchmark::State& state) {
    resetSharedState();
    const std::string bytes = hugeFile(hugeText(static_cast<size_t>(state.range(0)) * 1000000));
    const size_t textBytes = bytes.size() - 58 - 4;
    size_t peak = 0;
    for (auto _ : state) {
        const size_t before = liveBytes.load();
        peakBytes.store(before);
        {
            const FileRecord r = ReadFcsData(bytes, "/data/huge-text.fcs");
            if (!r.Loaded || r.Parameters[1].Name != "FSC") state.SkipWithError(("not read: " + r.RefusalReason).c_str());
        }
        peak = std::max(peak, peakBytes.load() - before);
    }
    reportMemory(state, peak, textBytes);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(textBytes));
}
BENCHMARK(BM_ReadFcsFileWithAHugeText)->Arg(24)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace qv
