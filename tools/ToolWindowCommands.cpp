// Window, creation and population commands of the tool language.
#include <QMdiSubWindow>

#include <cmath>
#include <limits>
#include <optional>

#include "app/FileOpening.h"
#include "app/FilePlotWindow.h"
#include "app/MainServices.h"
#include "app/PlotWindow.h"
#include "app/WindowRegistry.h"
#include "app/WorkspacePlacement.h"
#include "core/AtomicFile.h"
#include "core/FileKey.h"
#include "core/FileTableOps.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/picture/WindowPicture.h"
#include "tools/ToolCommands.h"
#include "tools/ToolWindowAccess.h"
#include "tools/model/ScriptInterpreter.h"

namespace qv {

namespace {

// A size or place in twips, as sheets give them; the window is then held
// to sane bounds like one placed by a sheet.
void setPlaceArgument(PlotWindow& window, WindowEdge which, const std::string& arg) {
    const double v = ScriptLine::number(arg);
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        throw ScriptError("out of range: " + arg);
    setPlaceFromTwips(*OuterWindowOf(&window), which, v);
}

// A plot-space position 0..10000; nullopt (the command does nothing) beyond
// it. Not a number is an error of the line.
std::optional<double> plotPosition(const std::string& arg) {
    const double v = ScriptLine::number(arg);
    if (v < 0.0 || v > 10000.0) return std::nullopt;
    return v;
}

// ---- file stepping ----

// The truth of a step goes to the innermost loop (record 0 outside any).
void setLoopActive(ScriptRun& run, bool active) {
    if (run.LoopDepth >= 0 && run.LoopDepth <= MaxLoopDepth) run.LoopStack[static_cast<size_t>(run.LoopDepth)].Active = active;
}

void fileMove(ScriptLine& line, int n) {
    ScriptRun& run = line.run;
    const std::string& arg = line.ScriptArgument;
    if (arg == "next" || arg == "previous") {
        setLoopActive(run, StepToLoadableFile(n, arg == "next", line.keepWorking()));
    } else if (arg == "first") {
        if (run.ToolFolder.empty()) {
            const int f = g.WindowRegistry[static_cast<size_t>(n)].FileIndex;
            if (f >= 1 && f < static_cast<int>(g.FileTable.size()) && g.FileTable[static_cast<size_t>(f)].Loaded)
                run.ToolFolder = g.FileTable[static_cast<size_t>(f)].Folder;
        }
        // Without a folder the listing would be of the working directory.
        if (run.ToolFolder.empty()) throw ScriptError("no folder to step through");
        // Refused files are passed as in every step of a walk, so how the
        // names sort never empties a batch; the truth goes to the loop.
        setLoopActive(run, FirstLoadableFile(n, run.ToolFolder, line.keepWorking()));
    }
}

// ---- loading a named file ----

// The file at `path` sits in the table already (as the loader recognises
// it: the same content key and the same file), so it needs no free slot.
bool isLoadedAlready(const std::string& path) {
    const int32_t key = ComputeFileKey(path);
    return key != 0 && LoadedFileSlotOf(path, key) != 0;
}

void fileLoad(ScriptLine& line, int n) {
    const std::string path = line.run.ToolFolder + line.ScriptArgument;
    // The files no window shows go first and again afterwards, as after
    // every other load: a batch that loads file after file into one window
    // frees each file the window leaves, however many it loads.
    ReleaseUnusedFiles();
    // A file the loader refuses has had the loader's message, and the run goes on.
    if (FreeFileSlot() == 0 && !isLoadedAlready(path)) {
        // A full table can still take the file in place of the window's
        // own when no other window shows that one.
        const int ownSlot = FileSlotShownOnlyBy(n);
        if (ownSlot == 0)
            throw ExplainedScriptError("The file table is full: each of its " + std::to_string(g.MaxFiles) +
                                       " files is shown by a window.");
        LoadInPlaceOfOwnFile(path, n, ownSlot);
    } else {
        TiedostonLukuToimenPiteet(path, n, 0);
    }
    ReleaseUnusedFiles();
}

void saveImage(ScriptLine& line, PlotWindow& window) {
    std::string path;
    if (!ToolWritePath(line, line.ScriptArgument, path)) return;
    std::string reason;
    if (!SaveWindowPicture(window.Kuva(), path, &reason)) throw ExplainedScriptError(SaveFailureText(path, reason));
}

// ---- window commands ----

void windowCommand(ScriptLine& line) {
    const int n = ToolWindowNumber(line.token(1));
    PlotWindow& window = ToolWindow(n);
    const std::string& arg = line.ScriptArgument;
    const std::string& t2 = line.token(2);
    const std::string& t3 = line.token(3);
    const std::string& t4 = line.token(4);
    const bool xy = t3 == "x" || t3 == "y";

    if (t2 == "saveimage") {
        saveImage(line, window);
    } else if (t2 == "file" && t3 == "move") {
        fileMove(line, n);
    } else if (t2 == "file" && t3 == "load") {
        fileLoad(line, n);
    } else if (t2 == "drawmode") {
        window.AsetaPiirtoMoodi(arg);
    } else if (t2 == "axis" && xy) {
        window.AsetaKanava(t3, arg);
    } else if (t2 == "size" && xy) {
        setPlaceArgument(window, t3 == "x" ? WindowEdge::Width : WindowEdge::Height, arg);
    } else if (t2 == "position" && xy) {
        setPlaceArgument(window, t3 == "x" ? WindowEdge::Left : WindowEdge::Top, arg);
    } else if (t2 == "statistics" && t3 == "visible") {
        if (arg == "true") window.AvaaTaiSuljeStatistics("open");
        if (arg == "false") window.AvaaTaiSuljeStatistics("close");
    } else if (t2 == "statistics" && t3 == "position" && (t4 == "x" || t4 == "y")) {
        window.LiikutaStatistiikkaLaatikkoa(t4, NumberText(ScriptLine::number(arg)));
    } else if (t2 == "quadrant" && t3 == "visible") {
        if (arg == "true") window.NaytaTaiPiilotaKvadrantti("open");
        if (arg == "false") window.NaytaTaiPiilotaKvadrantti("close");
    } else if (t2 == "quadrant" && t3 == "position" && (t4 == "x" || t4 == "y")) {
        if (const std::optional<double> v = plotPosition(arg))
            window.AsetaRegion(t4, NumberText(t4 == "y" ? 10000.0 - *v : *v));
    } else if (t2 == "rotate" && xy) {
        window.MuutaRotaatiota(t3, arg);
    } else if (t2 == "distance") {
        window.MuutaEtaisyytta(arg);
    } else if (t2 == "zero") {
        window.Nollaa();
    } else if (t2 == "bgpicture") {
        if (arg == "true") window.AsetaTaustaKuvanTila("paalla");
        if (arg == "false") window.AsetaTaustaKuvanTila("poissa");
    } else if (t2 == "overlay" && t4 == "histogram") {
        const int lineNumber = ScriptLine::index(t3, 0, std::numeric_limits<int16_t>::max());
        window.AsetaHistogram(lineNumber, ToolWindowNumber(arg));
    } else if (t2 == "curve") {
        ScriptLine::wholeNumber(t3);  // the curve number must be a number
        const std::string& t5 = line.token(5);
        if (t4 == "height") window.SiirraKayraa("korkeus", t3, arg);
        else if (t4 == "name") window.SiirraKayraa("nimi", t3, arg);
        else if (t4 == "position") window.SiirraKayraa("paikka", t3, arg);
        else if (t4 == "plateau") window.SiirraKayraa("tasanne", t3, arg);
        else if (t4 == "deviation" && t5 == "left") window.SiirraKayraa("hajontavasen", t3, arg);
        else if (t4 == "deviation" && t5 == "right") window.SiirraKayraa("hajontaoikea", t3, arg);
        else if (t4 == "create") window.LuoTaiPoista("luo", t3, arg);
        else if (t4 == "delete") window.LuoTaiPoista("poista", t3, arg);
    }
}

// ---- creation ----

const char* createdKind(const std::string& word) {
    if (word == "dotplot") return "DotPlot";
    if (word == "histogram") return "Histogram";
    if (word == "dad") return "DAD";
    return nullptr;
}

void createCommand(ScriptLine& line) {
    const char* kind = createdKind(line.token(1));
    // A misspelt kind leaves slot N alone.
    if (!kind) return;
    const int32_t top = std::min<int32_t>(g.MaxWindows, static_cast<int32_t>(g.WindowRegistry.size()) - 1);
    const int n = ScriptLine::index(line.ScriptArgument, 1, top);
    if (!hasWindowKind(kind)) throw ScriptError(std::string("no window kind ") + kind);
    // The window there closes as a closed window does: its slot is freed at
    // once and the window deleted once the program is idle again.
    if (PlotWindow* old = windowAt(n)) old->UnloadWindow();
    if (g.WindowRegistry[static_cast<size_t>(n)].InUse) releaseWindowSlot(n);
    if (!createWindowInSlot(kind, n)) throw ScriptError("the window could not be created");
}

// ---- populations ----

void redrawAfterPopulationChange(ScriptLine& line, int k, bool recompute) {
    if (!line.run.AutoUpdate) return;
    if (recompute) line.host.recomputePopulation(k);
    line.host.redrawAll();
}

void populationCommand(ScriptLine& line) {
    const int k = ScriptLine::index(line.token(1), 0, PopulationTableSize - 1);
    PopulationRecord& p = g.PopulationTable[static_cast<size_t>(k)];
    const std::string& arg = line.ScriptArgument;
    const std::string& t2 = line.token(2);
    const std::string& t3 = line.token(3);
    const std::string& t4 = line.token(4);

    if (t2 == "color" && (t3 == "red" || t3 == "green" || t3 == "blue")) {
        const int32_t v = ScriptLine::wholeNumber(arg);
        if (v < 0 || v > 255) throw ScriptError("colour out of range: " + arg);
        (t3 == "red" ? p.ColorRed : t3 == "green" ? p.ColorGreen : p.ColorBlue) = static_cast<uint8_t>(v);
        if (MainServices* services = mainServices()) services->PaivitaRegionLista();
        redrawAfterPopulationChange(line, k, false);
    } else if (t2 == "position" && (t3 == "left" || t3 == "right")) {
        const std::optional<double> v = plotPosition(arg);
        if (!v || p.Type != "Histogram") return;
        p.CornerX[t3 == "left" ? 1 : 2] = static_cast<float>(*v);
        redrawAfterPopulationChange(line, k, true);
    } else if (t2 == "position" && (t4 == "x" || t4 == "y")) {
        const int j = ScriptLine::index(t3, 0, MaxCorners);
        const std::optional<double> v = plotPosition(arg);
        if (!v || p.Type != "Polygon") return;
        if (t4 == "x") p.CornerX[static_cast<size_t>(j)] = static_cast<float>(*v);
        else p.CornerY[static_cast<size_t>(j)] = static_cast<float>(10000.0 - *v);
        redrawAfterPopulationChange(line, k, true);
    }
}

bool firstTokenIs(const std::vector<std::string>& t, const char* a, const char* b, size_t minTokens) {
    return t.size() >= minTokens && (t[0] == a || t[0] == b);
}

}  // namespace

void addWindowScriptCommands(ScriptCommandTable& table) {
    table.add([](const std::vector<std::string>& t) { return firstTokenIs(t, "w", "window", 3); }, windowCommand);
    table.add([](const std::vector<std::string>& t) { return t.size() == 2 && t[0] == "create"; }, createCommand);
    table.add([](const std::vector<std::string>& t) { return firstTokenIs(t, "p", "population", 3); },
              populationCommand);
}

}  // namespace qv
