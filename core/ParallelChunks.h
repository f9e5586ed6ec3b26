#pragma once
// Work on the items of a large table split over the machine's cores: the
// items 0..count-1 are cut into contiguous chunks, one per worker, and each
// chunk is handed to work(chunk, first, last) on a thread of its own. Small
// tables run on the calling thread alone. Returns when every chunk is done;
// an exception thrown by a chunk is thrown again here, after all have ended.
#include <algorithm>
#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace qv {

// The number of chunks ForEachChunk cuts `count` items into.
inline size_t ChunkCount(size_t count, size_t minimumPerChunk) {
    const size_t cores = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    return std::clamp<size_t>(count / std::max<size_t>(minimumPerChunk, 1), 1, cores);
}

template <class Work>
void ForEachChunk(size_t count, size_t chunks, Work work) {
    chunks = std::max<size_t>(chunks, 1);
    auto bounds = [&](size_t c) { return count / chunks * c + std::min(c, count % chunks); };
    if (chunks == 1) {
        work(size_t{0}, size_t{0}, count);
        return;
    }
    std::vector<std::exception_ptr> failures(chunks);
    std::vector<std::thread> workers;
    workers.reserve(chunks - 1);
    auto run = [&](size_t c) {
        try {
            work(c, bounds(c), bounds(c + 1));
        } catch (...) {
            failures[c] = std::current_exception();
        }
    };
    for (size_t c = 1; c < chunks; ++c) {
        // A thread the system can't start leaves its chunk to this one.
        try {
            workers.emplace_back(run, c);
        } catch (const std::system_error&) {
            run(c);
        }
    }
    run(0);
    for (std::thread& w : workers) w.join();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

}  // namespace qv
