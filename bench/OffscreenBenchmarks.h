#pragma once
// The entry of the benchmarks that draw, measure text or make windows: they
// need a Qt application, and the offscreen platform is enough.
#include <functional>

namespace qv::bench {

// Runs the benchmarks the command line names inside an offscreen
// application. `beforeTheApplicationEnds` lets a benchmark release the
// windows it keeps across runs while the application still exists.
int RunOffscreenBenchmarks(int argc, char** argv, const std::function<void()>& beforeTheApplicationEnds = {});

}  // namespace qv::bench
