#include "plots/dotplot/DotPlotStatisticsPanel.h"

#include <QString>

#include "app/model/FileSystemText.h"
#include "app/PlotWindow.h"
#include "core/SharedState.h"
#include "output/Statistics.h"
#include "output/model/StatisticsGrid.h"

namespace qv {

namespace {

// Statistics window entries that the dot plot reads: data columns 1..6 and
// the information rows 8..10; the settings lines keep entries 1..10.
constexpr int FirstInfoEntry = 8;
constexpr int SavedEntries = 10;

}  // namespace

DotPlotStatisticsPanel::DotPlotStatisticsPanel(DotPlotState& state)
    : StatisticsPanel(state.ID, state.StatisticsOpen,
                      [&state](const char* caption) { state.setCaption(MenuStatistics, caption); }, SavedEntries),
      state_(state) {
    populationStats_.resize(static_cast<size_t>(g.membershipSlots()) + 1);
}

void DotPlotStatisticsPanel::PaivitaStatistiikka() {
    const FileRecord* shown = fileToFill();
    if (!shown) return;
    const FileRecord& file = *shown;
    state_.FileSlot = static_cast<int16_t>(fileIndex());

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

    DotPlotGridOptions options;
    readWindowChoice(file, options, options.columnShown, FirstInfoEntry);
    options.fastDrawOn = state_.FastDrawOn;
    options.quadrantOn = state_.QuadrantOn;
    options.channelX = state_.ChannelX;
    options.channelY = state_.ChannelY;
    FillDotPlotStatisticsGrid(window()->MSFlexGrid1(), options, file,
                              std::span<const PopulationRecord>(g.PopulationTable), populationStats_, quadrantStats_);
    window()->showGrid();
}

double DotPlotStatisticsPanel::AnnaStatistiikka(const std::string& region, const std::string& stat) const {
    const std::optional<double> value = LookUpDotPlotStatistic(populationStats_, quadrantStats_, region, stat);
    if (!value) throw WindowOperationError("Subscript out of range");
    return *value;
}

std::string DotPlotStatisticsPanel::enabledLine() const {
    return std::string("statistics.enabled:") + (state_.StatisticsOpen ? "1" : "0");
}

}  // namespace qv
