#include "plots/dotplot/DotPlotStatisticsPanel.h"

#include <QString>

#include <cmath>

#include "app/PlotWindow.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "output/Statistics.h"
#include "output/model/StatisticsGrid.h"

namespace qv {

namespace {

// Statistics window entries that the dot plot reads: data columns 1..6 and
// the information rows 8..10; the settings lines keep entries 1..10.
constexpr int FirstInfoEntry = 8;
constexpr int SavedEntries = 10;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        pieces.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return pieces;
}

}  // namespace

DotPlotStatisticsPanel::DotPlotStatisticsPanel(DotPlotState& state) : state_(state) {
    populationStats_.resize(static_cast<size_t>(g.membershipSlots()) + 1);
}

DotPlotStatisticsPanel::~DotPlotStatisticsPanel() {
    QObject::disconnect(destroyedConnection_);
    // A statistics window still up when its plot goes (shutdown) goes too.
    if (window_) window_->unload();
}

void DotPlotStatisticsPanel::windowDestroyed() {
    // Gone without being closed (its workspace went first): the statistics
    // count as closed, so nothing is written for a window that is not there.
    if (!state_.StatisticsOpen) return;
    state_.StatisticsOpen = false;
    const size_t id = static_cast<size_t>(state_.ID);
    if (state_.ID >= 0 && id < g.StatisticsRegistry.size()) g.StatisticsRegistry[id].InUse = false;
    state_.setCaption(MenuStatistics, "Open statistics");
}

int DotPlotStatisticsPanel::fileIndex() const {
    const int id = state_.ID;
    if (id < 1 || static_cast<size_t>(id) >= g.WindowRegistry.size()) return 0;
    return g.WindowRegistry[static_cast<size_t>(id)].FileIndex;
}

void DotPlotStatisticsPanel::AvaaTaiSuljeStatistics(const std::string& mode) {
    if (mode == "open" && state_.StatisticsOpen) return;
    if (mode == "close" && !state_.StatisticsOpen) return;
    const size_t id = static_cast<size_t>(state_.ID);
    const bool inRegistry = state_.ID >= 0 && id < g.StatisticsRegistry.size();
    if (state_.StatisticsOpen) {
        // The flag goes first, so the window's own close notice finds the
        // statistics closed and does nothing.
        state_.StatisticsOpen = false;
        if (inRegistry) g.StatisticsRegistry[id].InUse = false;
        state_.setCaption(MenuStatistics, "Open statistics");
        QObject::disconnect(destroyedConnection_);
        if (window_) window_->unload();
        window_.clear();
        return;
    }
    state_.StatisticsOpen = true;
    state_.setCaption(MenuStatistics, "Close statistics");
    auto* window = new Statistics;
    window_ = window;
    destroyedConnection_ = QObject::connect(window, &QObject::destroyed, [this] { windowDestroyed(); });
    showStatisticsWindow(*window);
    if (inRegistry) g.StatisticsRegistry[id].InUse = true;
    window->Alusta(state_.ID);
    PaivitaStatistiikka();
}

void DotPlotStatisticsPanel::PaivitaStatistiikka() {
    if (!state_.StatisticsOpen || !window_) return;
    const int slot = fileIndex();
    if (slot < 1 || static_cast<size_t>(slot) >= g.FileTable.size()) return;
    const FileRecord& file = g.FileTable[static_cast<size_t>(slot)];
    if (!file.Loaded) return;
    state_.FileSlot = static_cast<int16_t>(slot);

    DotPlotStatisticsInput in;
    in.file = &file;
    in.channelX = state_.ChannelX;
    in.channelY = state_.ChannelY;
    in.eventStep = state_.EventStep;
    in.shownPopulation = state_.ShownPopulation;
    in.quadrantX = state_.QuadrantX;
    in.quadrantY = state_.QuadrantY;
    in.populations = std::span<const PopulationRecord>(g.PopulationTable);
    in.maxPopulations = g.MaxPopulations;
    in.maxDefinitions = g.MaxDefinitions;
    // The quadrants are left as they were while a sheet is being applied.
    if (state_.QuadrantOn && !g.SheetLoading) computer_.computeAll(in, populationStats_, quadrantStats_);
    else computer_.computePopulations(in, populationStats_);

    Statistics& w = *window_;
    w.setWindowTitle(QStringLiteral("(%1) Statistics: ").arg(state_.ID) +
                     QString::fromLatin1(file.FileName.data(), static_cast<qsizetype>(file.FileName.size())));
    DotPlotGridOptions options;
    for (int c = 1; c <= 6; ++c) options.columnShown[static_cast<size_t>(c)] = w.OnkoNakyvissa(c);
    options.fileNameRow = w.OnkoNakyvissa(FirstInfoEntry);
    options.sampleIdRow = w.OnkoNakyvissa(FirstInfoEntry + 1);
    options.commentsRow = w.OnkoNakyvissa(FirstInfoEntry + 2);
    options.copying = g.CopyingStatistics;
    options.fastDrawOn = state_.FastDrawOn;
    options.quadrantOn = state_.QuadrantOn;
    options.channelX = state_.ChannelX;
    options.channelY = state_.ChannelY;
    options.maxPopulations = g.MaxPopulations;
    options.maxDefinitions = g.MaxDefinitions;
    FillDotPlotStatisticsGrid(w.MSFlexGrid1(), options, file, std::span<const PopulationRecord>(g.PopulationTable),
                              populationStats_, quadrantStats_);
    w.showGrid();
}

double DotPlotStatisticsPanel::AnnaStatistiikka(const std::string& region, const std::string& stat) const {
    const std::optional<double> value = LookUpDotPlotStatistic(populationStats_, quadrantStats_, region, stat);
    if (!value) throw WindowOperationError("Subscript out of range");
    return *value;
}

std::string DotPlotStatisticsPanel::AnnaKokoStatistiikka(const std::string& mode) const {
    if (!state_.StatisticsOpen || !window_)
        throw WindowOperationError("Object variable or With block variable not set");
    return window_->AnnaKokoStatistiikka(mode);
}

void DotPlotStatisticsPanel::LiikutaStatistiikkaLaatikkoa(const std::string& axis, const std::string& value) {
    if (!state_.StatisticsOpen || !window_) return;
    if (axis != "x" && axis != "y") return;
    const std::optional<double> twips = ParseNumber(value);
    if (!twips) throw WindowOperationError("Type mismatch");
    if (axis == "x") window_->setLeft(static_cast<float>(*twips));
    else window_->setTop(static_cast<float>(*twips));
}

void DotPlotStatisticsPanel::afterFullDraw() {
    PaivitaStatistiikka();
    if (state_.StatisticsOpen && window_) statPicture_ = window_->gridPicture();
}

void DotPlotStatisticsPanel::closeWithWindow() {
    if (!state_.StatisticsOpen || g.ProgramClosing) return;
    AvaaTaiSuljeStatistics("close");
}

std::string DotPlotStatisticsPanel::enabledLine() const {
    return std::string("statistics.enabled:") + (state_.StatisticsOpen ? "1" : "0");
}

std::vector<std::string> DotPlotStatisticsPanel::settingsLines() const {
    std::vector<std::string> lines;
    if (!state_.StatisticsOpen || !window_) return lines;
    lines.push_back("statistics.x:" + NumberText(window_->Left()));
    lines.push_back("statistics.y:" + NumberText(window_->Top()));
    for (int c = 1; c <= SavedEntries; ++c)
        lines.push_back("statistics.column." + std::to_string(c) +
                        ".visible:" + (window_->OnkoNakyvissa(c) ? "1" : "0"));
    return lines;
}

bool DotPlotStatisticsPanel::loadSettingsLine(const std::string& line) {
    const std::vector<std::string> parts = split(line, ':');
    const std::string value = parts.size() > 1 ? parts[1] : std::string();
    const std::vector<std::string> key = split(parts[0], '.');
    auto piece = [&](size_t i) { return i < key.size() ? key[i] : std::string(); };
    if (piece(2) != "statistics") return false;

    const std::string what = piece(3);
    if (what == "enabled") {
        if (value == "1") AvaaTaiSuljeStatistics("open");
        else if (value == "0") AvaaTaiSuljeStatistics("close");
        return true;
    }
    if (what == "x" || what == "y") {
        const std::optional<double> twips = ParseNumber(value);
        if (window_ && twips) {
            if (what == "x") window_->setLeft(static_cast<float>(*twips));
            else window_->setTop(static_cast<float>(*twips));
        }
        return true;
    }
    if (what == "column" && piece(5) == "visible") {
        const std::optional<double> column = ParseNumber(piece(4));
        // Entry numbers are whole; anything else names no entry.
        if (window_ && column && *column == std::floor(*column) && std::fabs(*column) < 1e6)
            window_->AsetaNakyvyys(static_cast<int>(*column), value);
        return true;
    }
    return false;
}

}  // namespace qv
