#include "plots/histogram/HistogramStatisticsPanel.h"

#include <QString>

#include "app/PlotWindow.h"
#include "core/SharedState.h"
#include "output/Statistics.h"
#include "plots/histogram/model/HistogramRenderer.h"

namespace qv {

namespace {

// Statistics window entries of a histogram owner: data columns 1..5 and the
// information rows 7..9; the settings lines keep entries 1..9.
constexpr int FirstInfoEntry = 7;
constexpr int SavedEntries = 9;

}  // namespace

HistogramStatisticsPanel::HistogramStatisticsPanel(HistogramState& state)
    : StatisticsPanel(state.ID, state.StatisticsOpen,
                      [&state](const char* caption) { state.setCaption(HistoMenuStatistics, caption); }, SavedEntries),
      state_(state) {
    stats_.resize(static_cast<size_t>(g.membershipSlots()) + 1);
}

void HistogramStatisticsPanel::PaivitaStatistiikka() {
    const FileRecord* shown = fileToFill();
    if (!shown) return;
    const FileRecord& file = *shown;
    state_.FileSlot = static_cast<int16_t>(fileIndex());
    // A sheet may name a channel or population the file lacks.
    FitHistogramToFile(state_, file);

    HistogramStatisticsInput in;
    in.file = &file;
    in.channel = state_.Channel;
    in.drawStep = state_.DrawStep;
    in.shownPopulation = state_.ShownPopulation;
    in.populations = std::span<const PopulationRecord>(g.PopulationTable);
    in.maxPopulations = g.MaxPopulations;
    in.maxDefinitions = g.MaxDefinitions;
    computer_.compute(in, stats_);

    HistogramGridOptions options;
    readWindowChoice(file, options, options.columnShown, FirstInfoEntry);
    options.fastDraw = state_.FastDraw;
    options.channel = state_.Channel;
    FillHistogramStatisticsGrid(window()->MSFlexGrid1(), options, file,
                                std::span<const PopulationRecord>(g.PopulationTable), stats_);
    window()->showGrid();
}

double HistogramStatisticsPanel::AnnaStatistiikka(const std::string& region, const std::string& stat) const {
    const std::optional<double> value = LookUpHistogramStatistic(stats_, region, stat);
    if (!value) throw WindowOperationError("Subscript out of range");
    return *value;
}

}  // namespace qv
