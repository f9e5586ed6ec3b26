// A file of 2048 parameters and one event (about 105 KB) opened through
// File > Open FCS into a dot plot of the running main window, with the file
// information window hidden and shown (target: a fraction of a second and
// tens of MB beyond the program's base), and a later activation of that
// window, which hands its file to the file information window again.
// The counter RSS_MB is the resident memory beyond the started program.
#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "bench/OffscreenBenchmarks.h"
#include "app/Dialogs.h"
#include "app/FileInfo.h"
#include "app/FileOpening.h"
#include "app/PaaIkkuna.h"
#include "app/PlotWindow.h"
#include "app/WindowDisposal.h"
#include "app/WindowRegistry.h"
#include "app/model/CompensationGridModel.h"
#include "app/model/ProgramFolder.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "bench/PathAnswers.h"
#include "tests/support/core/FcsTestWriter.h"

namespace {

constexpr int Parameters = 2048;

const std::string& wideFile() {
    static const auto folder = std::make_unique<qv::test::TempFolder>();
    static const std::string path = [] {
        qv::test::FcsTestFile file;
        for (int p = 1; p <= Parameters; ++p) file.param("P" + std::to_string(p));
        std::vector<double> event(Parameters);
        for (int p = 0; p < Parameters; ++p) event[static_cast<size_t>(p)] = p % 1024;
        file.event(event);
        const std::string name = folder->file("wide.fcs");
        qv::test::WriteFcsTestFile(name, file);
        return name;
    }();
    return path;
}

double residentMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

bool wideFileShownIn(int window) {
    const int slot = qv::g.WindowRegistry[static_cast<size_t>(window)].FileIndex;
    return slot != 0 && qv::g.FileTable[static_cast<size_t>(slot)].ParameterCount == Parameters;
}

// A started main window in a temporary program folder (its autosave goes
// there), File info shown or hidden.
struct Program {
    QTemporaryDir folder;
    qv::bench::PathAnswers dialogs;
    std::unique_ptr<qv::PaaIkkuna> main;
    double baseMegabytes = 0;

    explicit Program(bool fileInfoShown) {
        qv::setProgramFolderOverride(folder.path());
        dialogs.open = QString::fromStdString(wideFile());
        qv::setDialogProvider(&dialogs);
        qv::resetSharedState();
        qv::registerDotPlotKind();
        main = std::make_unique<qv::PaaIkkuna>();
        main->MDIForm_Load();
        if (fileInfoShown) main->NaytaFileInfo_Click();
        QApplication::processEvents();
        baseMegabytes = residentMegabytes();
    }
    ~Program() {
        main.reset();
        qv::deleteDiscardedWidgets();
        qv::setDialogProvider(nullptr);
        qv::setProgramFolderOverride(QString());
    }
    void open() {
        qv::FileOpenFCS_Click();
        QApplication::processEvents();
    }
};

// Argument 0: File info hidden; 1: shown. Each repetition opens the file
// again into the same window (the file before it is released).
void BM_OpenWideFile(benchmark::State& state) {
    const bool shown = state.range(0) != 0;
    wideFile();
    Program program(shown);
    for (auto _ : state) program.open();
    if (!wideFileShownIn(1)) state.SkipWithError("the file was not loaded");
    state.counters["RSS_MB"] = residentMegabytes() - program.baseMegabytes;
    // The rows of the compensation grid File info holds: none while hidden.
    state.counters["GridRows"] = program.main->fileInfo()->gridModel()->rowCount();
    state.SetLabel(shown ? "File info shown" : "File info hidden");
}
BENCHMARK(BM_OpenWideFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A click on the window of the wide file: it hands its file to File info
// again. Argument as above.
void BM_ActivateWindowOfWideFile(benchmark::State& state) {
    const bool shown = state.range(0) != 0;
    Program program(shown);
    program.open();
    qv::PlotWindow* window = qv::windowAt(1);
    if (!window || !wideFileShownIn(1)) {
        state.SkipWithError("the file was not loaded");
        return;
    }
    for (auto _ : state) window->onActivated();
    state.SetLabel(shown ? "File info shown" : "File info hidden");
}
BENCHMARK(BM_ActivateWindowOfWideFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return qv::bench::RunOffscreenBenchmarks(argc, argv); }
