#include "plots/modeller/ModellerStatisticsPanel.h"

#include <QString>

#include "app/FilePlotWindow.h"
#include "app/model/FileSystemText.h"
#include "core/SharedState.h"
#include "output/Statistics.h"
#include "plots/modeller/model/CurveStatistics.h"
#include "plots/modeller/model/ModellerStatistics.h"

namespace qv {

namespace {

// Statistics window entries of a modeller owner: data columns 1..4 and the
// information rows 6..8; the settings lines keep entries 1..8.
constexpr int FirstInfoEntry = 6;
constexpr int SavedEntries = 8;

}  // namespace

ModellerStatisticsPanel::ModellerStatisticsPanel(ModellerState& state)
    : StatisticsPanel(state.ID, state.StatisticsOpen,
                      [&state](const char* caption) { state.setCaption(ModellerMenuStatistics, caption); },
                      SavedEntries),
      state_(state) {}

void ModellerStatisticsPanel::PaivitaStatistiikka() {
    if (!state_.StatisticsOpen || !window()) return;
    const int slot = fileIndex();
    const FileRecord& file = FilePlotWindow::fileRecord(slot);
    if (slot == 0 || !file.Loaded) return;
    // The shares are refreshed here only: they follow the curves while the
    // statistics are shown.
    ComputeCurvePercentages(state_);

    Statistics& w = *window();
    const FileRecord& shown = FilePlotWindow::fileRecord(state_.FileSlot);
    w.setWindowTitle(QStringLiteral("(%1) Statistics: ").arg(state_.ID) + shownFileSystemText(shown.FileName));
    ModellerGridOptions options;
    for (int c = 1; c <= 4; ++c) options.columnShown[static_cast<size_t>(c)] = w.OnkoNakyvissa(c);
    options.fileNameRow = w.OnkoNakyvissa(FirstInfoEntry);
    options.sampleIdRow = w.OnkoNakyvissa(FirstInfoEntry + 1);
    options.commentsRow = w.OnkoNakyvissa(FirstInfoEntry + 2);
    options.copying = g.CopyingStatistics;
    FillModellerStatisticsGrid(w.MSFlexGrid1(), options, file, state_);
    w.showGrid();
}

}  // namespace qv
