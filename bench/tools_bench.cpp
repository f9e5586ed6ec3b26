// Tool language speed: a long counted loop, and variable substitution with
// many variables.
#include <benchmark/benchmark.h>

#include <string>

#include "core/SharedState.h"
#include "tools/model/ScriptInterpreter.h"

namespace {

// Answers nothing and shows nothing; pending events are a no-op.
class QuietHost final : public qv::ScriptHost {
public:
    void message(const std::string&, const std::string&) override {}
    bool confirm(const std::string&, const std::string&) override { return true; }
    std::optional<std::string> input(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> openFile(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const std::string&) override { return std::nullopt; }
    bool choosePrinter() override { return false; }
    void redrawAll() override {}
    void redrawWindow(int) override {}
    void recomputeAllPopulations() override {}
    void recomputePopulation(int) override {}
    void showToolWindow() override {}
};

// 100,000 passes of a calculation and a comparison (target: under 1 s).
void BM_LoopOfCalculationAndComparison(benchmark::State& state) {
    qv::resetSharedState();
    QuietHost host;
    qv::ScriptInterpreter interpreter(host);
    const std::string script =
        "$i.set:0\r\ndo:100000\r\n$i.calc:$i+1\r\n$i.if.bigger:-1\r\nendif\r\nloop\r\n";
    for (auto _ : state) {
        interpreter.AjaOhjelma(script, false);
        benchmark::DoNotOptimize(interpreter.lastRun());
    }
    if (interpreter.lastRun()->findVariable("$i")->Value != "100000") state.SkipWithError("wrong count");
    state.SetLabel("100000 passes, 4 lines each");
}
BENCHMARK(BM_LoopOfCalculationAndComparison)->Unit(benchmark::kMillisecond);

// One argument substituted with 100 variables defined (target: under 20 us).
void BM_SubstitutionWith100Variables(benchmark::State& state) {
    qv::ScriptRun run;
    for (int v = 0; v < 100; ++v) run.appendVariable("$var" + std::to_string(v), std::to_string(v * 7), true);
    const std::string argument = "$var17+$var42*$var99 - $var5 of file_$var63.fcs";
    for (auto _ : state) benchmark::DoNotOptimize(run.substituteVariables(argument));
}
BENCHMARK(BM_SubstitutionWith100Variables)->Unit(benchmark::kMicrosecond);

}  // namespace
