// The waits of a large workspace in the running main window: one file of
// 1,000,000 events and 8 float parameters with a spillover matrix, a dot
// plot on two log axes with two polygons, the quadrant cross and four
// definitions, a histogram drawn in full with a marker, both with their
// statistics windows, and File info shown.
//   BM_CompensationToggle: the "Compensate" box of File info ticked or
//     cleared (target: under 1 s).
//   BM_OpenSheet: the workspace's analysis sheet opened in its place
//     (target: under 1 s); argument 1 opens the same sheet with a
//     statistics window saved a few twips off its pixel.
#include <QApplication>
#include <QCheckBox>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "bench/OffscreenBenchmarks.h"
#include "app/Dialogs.h"
#include "app/FileInfo.h"
#include "app/FileOpening.h"
#include "app/PaaIkkuna.h"
#include "app/PlotWindow.h"
#include "app/WindowDisposal.h"
#include "app/WindowRegistry.h"
#include "app/model/PopulationRecompute.h"
#include "app/model/ProgramFolder.h"
#include "core/AtomicFile.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/histogram/Histogram.h"
#include "bench/PathAnswers.h"
#include "tests/support/core/FcsTestWriter.h"

namespace {

using namespace qv;

constexpr int Events = 1000000;
constexpr int Parameters = 8;

// FSC and SSC linear, six fluorescence channels on log axes, each spilling
// a few percent into the next.
std::string millionFile(const std::string& path) {
    test::FcsTestFile file;
    file.ByteOrder = "1,2,3,4";
    file.param("FSC-H", "262144").param("SSC-H", "262144");
    for (int p = 1; p <= 6; ++p) {
        file.param("FL" + std::to_string(p) + "-H", "262144");
        file.Parameters.back().Display = "LOG";
    }
    file.Spill = "6,FL1-H,FL2-H,FL3-H,FL4-H,FL5-H,FL6-H";
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j) file.Spill += i == j ? ",1" : j == i + 1 ? ",0.08" : j == i - 1 ? ",0.02" : ",0";
    std::mt19937 rng(11);
    std::normal_distribution<float> scatter(60000.0f, 15000.0f);
    std::lognormal_distribution<float> fluorescence(6.0f, 1.6f);
    std::vector<float> values(static_cast<size_t>(Events) * Parameters);
    for (size_t e = 0; e < static_cast<size_t>(Events); ++e)
        for (int p = 0; p < Parameters; ++p) values[e * Parameters + p] = p < 2 ? scatter(rng) : fluorescence(rng);
    file.RawData.assign(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(float));
    file.RawEvents = Events;
    test::WriteFcsTestFile(path, file);
    return path;
}

void setPolygon(int slot, const char* name, std::initializer_list<std::pair<float, float>> corners) {
    PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
    p.InUse = true;
    p.Name = name;
    p.Type = "Polygon";
    p.AxisX = 3;
    p.AxisY = 4;
    p.Created = 1;
    p.Corners = 0;
    for (const auto& [x, y] : corners) {
        ++p.Corners;
        p.CornerX[static_cast<size_t>(p.Corners)] = x;
        p.CornerY[static_cast<size_t>(p.Corners)] = y;
    }
}

// The program with the workspace built through the windows' own members,
// saved as a sheet, and the same sheet with the dot plot's statistics
// window 7 twips to the right.
struct Program {
    QTemporaryDir folder;
    bench::PathAnswers dialogs;
    std::unique_ptr<PaaIkkuna> main;
    std::string sheet, movedSheet;

    Program() {
        const std::string dir = folder.path().toStdString() + "/";
        setProgramFolderOverride(folder.path());
        setDialogProvider(&dialogs);
        resetSharedState();
        registerDotPlotKind();
        registerHistogramKind();
        main = std::make_unique<PaaIkkuna>();
        main->MDIForm_Load();
        main->NaytaFileInfo_Click();
        QApplication::processEvents();

        dialogs.open = QString::fromStdString(millionFile(dir + "million.fcs"));
        FileOpenFCS_Click();
        auto* plot = dynamic_cast<DotPlot*>(windowAt(1));
        if (!plot) return;
        plot->AsetaKanava("x", "3");
        plot->AsetaKanava("y", "4");
        setPolygon(1, "Poly-1", {{5000, 3000}, {8000, 3000}, {8000, 6000}, {5000, 6000}});
        setPolygon(2, "Poly-2", {{2000, 2000}, {6000, 1000}, {7000, 5000}, {4000, 8000}, {1500, 6000}});
        PopulationRecord& marker = g.PopulationTable[3];
        marker.InUse = true;
        marker.Name = "Histo-3";
        marker.Type = "Histogram";
        marker.AxisX = 3;
        marker.Corners = 2;
        marker.CornerX[1] = 4500;
        marker.CornerX[2] = 7500;
        marker.CornerY[1] = marker.CornerY[2] = 5000;
        const char* definitions[] = {"Poly-1 and Poly-2", "Poly-1 or Poly-2", "not Poly-1",
                                     "(Poly-1 or Poly-2) and not Histo-3"};
        for (int d = 0; d < 4; ++d) {
            PopulationRecord& p = g.PopulationTable[static_cast<size_t>(g.MaxPopulations + 1 + d)];
            p.InUse = true;
            p.Name = definitions[d];
        }
        plot->NaytaTaiPiilotaKvadrantti("open");
        plot->AvaaTaiSuljeStatistics("open");

        const int histogramId = main->createFromMenu("Histogram");
        PlotWindow* histogram = windowAt(histogramId);
        if (!histogram) return;
        histogram->AsetaKanava("x", "3");
        histogram->AsetaPiirtoMoodi("full");
        histogram->AvaaTaiSuljeStatistics("open");
        // The gates were put straight into the table.
        RecomputeAllPopulations();
        main->PiirraKaikki();

        sheet = dir + "million.quorvane";
        dialogs.save = QString::fromStdString(sheet);
        main->TalletaNakyma(QStringLiteral("Sheet"));
        std::string text;
        if (!ReadWholeFile(sheet, text)) return;
        const std::string key = "window.1.statistics.x:";
        const size_t at = text.find(key);
        if (at == std::string::npos) return;
        const size_t value = at + key.size();
        const size_t end = text.find("\r\n", value);
        const double x = std::atof(text.substr(value, end - value).c_str()) + 7;
        text.replace(value, end - value, std::to_string(static_cast<long>(std::lround(x))));
        movedSheet = dir + "million-moved.quorvane";
        if (WriteFileAtomically(movedSheet, text, false) != FileWriteResult::Ok) movedSheet.clear();
    }
    ~Program() {
        main.reset();
        deleteDiscardedWidgets();
        setDialogProvider(nullptr);
        setProgramFolderOverride(QString());
    }

    bool ready() const {
        const int slot = g.WindowRegistry[1].FileIndex;
        return !sheet.empty() && !movedSheet.empty() && slot != 0 &&
               g.FileTable[static_cast<size_t>(slot)].EventCount == Events &&
               !g.FileTable[static_cast<size_t>(slot)].CompensationMatrix.empty();
    }
};

// Built once, at the first benchmark that needs it, and kept for the run.
std::unique_ptr<Program> built;
Program& program() {
    if (!built) built = std::make_unique<Program>();
    return *built;
}

void BM_CompensationToggle(benchmark::State& state) {
    Program& p = program();
    if (!p.ready()) {
        state.SkipWithError("the workspace was not built");
        return;
    }
    p.main->fileInfo()->AsetaLista(1, false);
    QCheckBox* box = p.main->fileInfo()->compensateBox();
    for (auto _ : state) {
        box->setChecked(!box->isChecked());
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CompensationToggle)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenSheet(benchmark::State& state) {
    Program& p = program();
    if (!p.ready()) {
        state.SkipWithError("the workspace was not built");
        return;
    }
    const bool moved = state.range(0) != 0;
    const QString path = QString::fromStdString(moved ? p.movedSheet : p.sheet);
    for (auto _ : state) {
        p.main->LataaNakyma(path);
        QApplication::processEvents();
    }
    if (!windowAt(1) || g.WindowRegistry[1].FileIndex == 0) state.SkipWithError("the sheet did not load");
    state.SetLabel(moved ? "statistics window off its pixel" : "as saved");
}
BENCHMARK(BM_OpenSheet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return qv::bench::RunOffscreenBenchmarks(argc, argv, [] { built.reset(); }); }
