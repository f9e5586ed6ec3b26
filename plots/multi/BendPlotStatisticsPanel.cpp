#include "plots/multi/BendPlotStatisticsPanel.h"

#include <QString>

#include "app/PlotWindow.h"
#include "app/model/FileSystemText.h"
#include "core/SharedState.h"
#include "output/Statistics.h"

namespace qv {

namespace {

// Statistics window entries the bending plot reads: data columns 1 and 2,
// information rows 4..6; the settings lines keep entries 1..6.
constexpr int FirstInfoEntry = 4;
constexpr int SavedEntries = 6;

}  // namespace

BendPlotStatisticsPanel::BendPlotStatisticsPanel(BendPlotState& state)
    : StatisticsPanel(state.ID, state.StatisticsOpen,
                      [&state](const char* caption) { state.setCaption(BendMenuStatistics, caption); }, SavedEntries),
      state_(state) {
    counts_.resize(static_cast<size_t>(g.membershipSlots()) + 1);
}

void BendPlotStatisticsPanel::PaivitaStatistiikka() {
    if (!state_.StatisticsOpen || !window()) return;
    const int slot = fileIndex();
    if (slot < 1 || static_cast<size_t>(slot) >= g.FileTable.size()) return;
    const FileRecord& file = g.FileTable[static_cast<size_t>(slot)];
    if (!file.Loaded) return;
    state_.FileSlot = static_cast<int16_t>(slot);

    const std::span<const PopulationRecord> populations(g.PopulationTable);
    CountBendPopulations(file, state_.EventStep, state_.ShownPopulation, populations, g.MaxPopulations,
                         g.MaxDefinitions, counts_);

    Statistics& w = *window();
    w.setWindowTitle(QStringLiteral("(%1) Statistics: ").arg(state_.ID) + shownFileSystemText(file.FileName));
    BendGridOptions options;
    options.numberShown = w.OnkoNakyvissa(1);
    options.fractionShown = w.OnkoNakyvissa(2);
    options.fileNameRow = w.OnkoNakyvissa(FirstInfoEntry);
    options.sampleIdRow = w.OnkoNakyvissa(FirstInfoEntry + 1);
    options.commentsRow = w.OnkoNakyvissa(FirstInfoEntry + 2);
    options.copying = g.CopyingStatistics;
    options.fastDraw = state_.FastDraw;
    options.maxPopulations = g.MaxPopulations;
    options.maxDefinitions = g.MaxDefinitions;
    FillBendPlotStatisticsGrid(w.MSFlexGrid1(), options, file, populations, counts_);
    w.showGrid();
}

double BendPlotStatisticsPanel::AnnaStatistiikka(const std::string& region, const std::string& stat) const {
    const std::optional<double> value = LookUpBendStatistic(counts_, region, stat);
    if (!value) throw WindowOperationError("Subscript out of range");
    return *value;
}

}  // namespace qv
