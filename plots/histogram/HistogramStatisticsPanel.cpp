#include "plots/histogram/HistogramStatisticsPanel.h"

#include <QString>

#include "app/model/FileSystemText.h"
#include "app/FilePlotWindow.h"
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
    if (!state_.StatisticsOpen || !window()) return;
    const int slot = fileIndex();
    const FileRecord& file = FilePlotWindow::fileRecord(slot);
    if (slot == 0 || !file.Loaded) return;
    state_.FileSlot = static_cast<int16_t>(slot);
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

    Statistics& w = *window();
    w.setWindowTitle(QStringLiteral("(%1) Statistics: ").arg(state_.ID) +
                     shownFileSystemText(file.FileName));
    HistogramGridOptions options;
    for (int c = 1; c <= 5; ++c) options.columnShown[static_cast<size_t>(c)] = w.OnkoNakyvissa(c);
    options.fileNameRow = w.OnkoNakyvissa(FirstInfoEntry);
    options.sampleIdRow = w.OnkoNakyvissa(FirstInfoEntry + 1);
    options.commentsRow = w.OnkoNakyvissa(FirstInfoEntry + 2);
    options.copying = g.CopyingStatistics;
    options.fastDraw = state_.FastDraw;
    options.channel = state_.Channel;
    options.maxPopulations = g.MaxPopulations;
    options.maxDefinitions = g.MaxDefinitions;
    FillHistogramStatisticsGrid(w.MSFlexGrid1(), options, file, std::span<const PopulationRecord>(g.PopulationTable),
                                stats_);
    w.showGrid();
}

double HistogramStatisticsPanel::AnnaStatistiikka(const std::string& region, const std::string& stat) const {
    const std::optional<double> value = LookUpHistogramStatistic(stats_, region, stat);
    if (!value) throw WindowOperationError("Subscript out of range");
    return *value;
}

}  // namespace qv
