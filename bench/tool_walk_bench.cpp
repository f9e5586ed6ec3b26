// A tool walking a folder of data files in one dot plot with its statistics
// open, reading four statistics per file and writing a line per file
// (target: 100 files of 10,000 events in under 3 s, drawing included).
// And a walk over a folder of thousands of files the reader refuses with two
// good ones among them, which must take time in proportion to the files and
// end with one message naming the refused ones. And a walk over data files
// with as many files beside them that are no data files (exports, notes,
// empty placeholders), which must take time in proportion to the files too.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <vector>
#include <string>
#include <utility>

#include "bench/OffscreenBenchmarks.h"
#include "app/Dialogs.h"
#include "app/WindowDisposal.h"
#include "app/WindowRegistry.h"
#include "app/FileOpening.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "tests/support/core/FcsTestWriter.h"
#include "tools/ToolCommands.h"
#include "tools/ToolHost.h"
#include "tools/model/ScriptInterpreter.h"

namespace {

constexpr int FileCount = 100;
constexpr int EventsPerFile = 10000;

// The generated folder, made once for every repetition.
const qv::test::TempFolder& dataFolder() {
    static const auto folder = [] {
        auto f = std::make_unique<qv::test::TempFolder>();
        std::mt19937 random(7);
        std::normal_distribution<double> value(500.0, 150.0);
        for (int i = 0; i < FileCount; ++i) {
            qv::test::FcsTestFile file;
            file.param("FSC-H").param("SSC-H").param("FL1-H");
            file.Events.reserve(EventsPerFile);
            for (int e = 0; e < EventsPerFile; ++e) file.Events.push_back({value(random), value(random), value(random)});
            char name[32];
            std::snprintf(name, sizeof name, "tube%03d.fcs", i);
            qv::test::WriteFcsTestFile(f->file(name), file);
        }
        return f;
    }();
    return *folder;
}

int linesIn(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    int n = 0;
    for (std::string line; std::getline(in, line);) ++n;
    return n;
}

// Answers every message box at once, as a user clicking OK, and keeps the
// texts; any other dialog is cancelled.
class MessageAnswers final : public qv::DialogProvider {
public:
    MessageAnswers() { qv::setDialogProvider(this); }
    ~MessageAnswers() { qv::setDialogProvider(nullptr); }
    qv::MsgAnswer messageBox(const QString& text, const QString&, qv::MsgButtons, const QString&) override {
        texts.push_back(text);
        return qv::MsgAnswer::Ok;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> openFileName(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> saveFileName(const QString&, const QString&, const QString&, qv::OverwriteQuestion) override {
        return {};
    }
    std::optional<QColor> chooseColour(const QColor&) override { return {}; }
    bool choosePrinter(QPrinter&) override { return false; }
    QAction* execMenu(QMenu&, const QPoint&) override { return nullptr; }
    std::vector<QString> texts;
};

// Runs the walk once per repetition, each in a fresh program state, timing
// only the run; the walk must write `lines` lines to `result` and end with
// `messages` message boxes (the one naming the files it passed).
void runWalks(benchmark::State& state, const std::string& script, const std::string& result, int lines,
              size_t messages) {
    for (auto _ : state) {
        state.PauseTiming();
        qv::resetSharedState();
        qv::registerDotPlotKind();
        std::remove(result.c_str());
        qv::ToolHost host;
        qv::ScriptInterpreter interpreter(host);
        qv::installToolCommands(interpreter);
        MessageAnswers answers;
        state.ResumeTiming();
        interpreter.AjaOhjelma(script, false);
        state.PauseTiming();
        if (linesIn(result) != lines) state.SkipWithError("not one line per loadable file");
        if (answers.texts.size() != messages) state.SkipWithError("not the messages expected");
        if (qv::PlotWindow* w = qv::windowAt(1)) w->UnloadWindow();
        qv::deleteDiscardedWidgets();
        state.ResumeTiming();
    }
}

void BM_ToolWalksAFolderWithStatistics(benchmark::State& state) {
    const std::string folder = dataFolder().path();
    const std::string script =
        "folder.set:" + folder +
        "\r\n"
        "create.dotplot:1\r\n"
        "w.1.statistics.visible:true\r\n"
        "w.1.quadrant.visible:true\r\n"
        "w.1.quadrant.position.x:5000\r\n"
        "w.1.quadrant.position.y:5000\r\n"
        "w.1.file.move:first\r\n"
        "output.set:result.txt\r\n"
        "do:@.filesinfolder\r\n"
        "$name.set:@.w.1.filename\r\n"
        "$a.set:@.w.1.quadrant.ul.vis\r\n"
        "$b.set:@.w.1.quadrant.ur.vis\r\n"
        "$c.set:@.w.1.quadrant.ll.vis\r\n"
        "$d.set:@.w.1.quadrant.lr.vis\r\n"
        "output.write:$name[tab]$a[tab]$b[tab]$c[tab]$d\r\n"
        "w.1.file.move:next\r\n"
        "loop\r\n";
    runWalks(state, script, folder + "result.txt", FileCount, 0);
    state.SetLabel("100 files x 10000 events");
}

// A small data file of two events.
qv::test::FcsTestFile smallFile() {
    qv::test::FcsTestFile good;
    good.param("FSC-H").param("SSC-H");
    good.Events = {{100, 200}, {300, 400}};
    return good;
}

// A folder made once for each size by `fill`.
using FolderFill = void (*)(const qv::test::TempFolder&, int);
const qv::test::TempFolder& folderOf(int size, FolderFill fill) {
    static std::map<std::pair<FolderFill, int>, std::unique_ptr<qv::test::TempFolder>> folders;
    std::unique_ptr<qv::test::TempFolder>& f = folders[{fill, size}];
    if (!f) {
        f = std::make_unique<qv::test::TempFolder>();
        fill(*f, size);
    }
    return *f;
}

std::string numbered(const char* pattern, int i) {
    char name[32];
    std::snprintf(name, sizeof name, pattern, i);
    return name;
}

// `refused` files that look like FCS files but that the reader refuses, with
// one good file in the middle of them and one after them.
void fillWithRefusedFiles(const qv::test::TempFolder& f, int refused) {
    for (int i = 0; i < refused; ++i)
        qv::test::WriteBytes(f.file(numbered("r%05d.fcs", i)), "FCS3.0    damaged beyond reading");
    qv::test::WriteFcsTestFile(f.file(numbered("r%05d_good.fcs", refused / 2)), smallFile());
    qv::test::WriteFcsTestFile(f.file("z_good.fcs"), smallFile());
}

// `pairs` small data files, each with a text file beside it.
void fillWithDataAndTextFiles(const qv::test::TempFolder& f, int pairs) {
    const std::string bytes = qv::test::FcsTestBytes(smallFile());
    for (int i = 0; i < pairs; ++i) {
        qv::test::WriteBytes(f.file(numbered("t%05d.fcs", i)), bytes);
        qv::test::WriteBytes(f.file(numbered("t%05d.txt", i)), "exported values");
    }
}

// A walk over `folder` writing the name of each file it visits.
std::string nameWalk(const std::string& folder) {
    return "folder.set:" + folder +
           "\r\n"
           "create.dotplot:1\r\n"
           "w.1.file.move:first\r\n"
           "output.set:result.txt\r\n"
           "do:@.filesinfolder\r\n"
           "$name.set:@.w.1.filename\r\n"
           "output.write:$name\r\n"
           "w.1.file.move:next\r\n"
           "loop\r\n";
}

void BM_ToolWalksPastRefusedFiles(benchmark::State& state) {
    const int refused = static_cast<int>(state.range(0));
    const std::string folder = folderOf(refused, fillWithRefusedFiles).path();
    runWalks(state, nameWalk(folder), folder + "result.txt", 2, 1);
    state.SetComplexityN(refused);
    state.SetLabel(std::to_string(refused) + " refused files + 2 good");
}

void BM_ToolWalksPastFilesThatAreNoDataFiles(benchmark::State& state) {
    const int pairs = static_cast<int>(state.range(0));
    const std::string folder = folderOf(pairs, fillWithDataAndTextFiles).path();
    // The files of the folder as if it had been still for long, as during a
    // walk over yesterday's acquisition.
    qv::SetWalkClock([] { return qv::WallClockNow() + qv::WalkListings::SettleNs * 1000; });
    runWalks(state, nameWalk(folder), folder + "result.txt", pairs, 0);
    qv::SetWalkClock({});
    state.SetComplexityN(pairs);
    state.SetLabel(std::to_string(pairs) + " data files + as many text files");
}

}  // namespace

BENCHMARK(BM_ToolWalksAFolderWithStatistics)->Unit(benchmark::kMillisecond)->Iterations(3);

// Three folder sizes, to show the time grows in proportion to the files.
void overFolderSizes(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Arg(1000)->Arg(2000)->Arg(4000)->Iterations(3)->Complexity(benchmark::oN);
}
BENCHMARK(BM_ToolWalksPastRefusedFiles)->Apply(overFolderSizes);
BENCHMARK(BM_ToolWalksPastFilesThatAreNoDataFiles)->Apply(overFolderSizes);

int main(int argc, char** argv) { return qv::bench::RunOffscreenBenchmarks(argc, argv); }
