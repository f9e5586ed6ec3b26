#include "bench/OffscreenBenchmarks.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace qv::bench {

int RunOffscreenBenchmarks(int argc, char** argv, const std::function<void()>& beforeTheApplicationEnds) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    if (beforeTheApplicationEnds) beforeTheApplicationEnds();
    benchmark::Shutdown();
    return 0;
}

}  // namespace qv::bench
