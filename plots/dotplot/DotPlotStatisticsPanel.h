#pragma once
// The statistics side of a dot plot window: its statistics window, the
// records per population slot and per quadrant, the statistics picture for
// the print page, and the statistics lines of its settings. The dot plot
// holds one and forwards its statistics members to it.
#include <QImage>
#include <QPointer>

#include <string>
#include <vector>

#include "plots/dotplot/model/DotPlotState.h"
#include "plots/dotplot/model/DotPlotStatistics.h"

namespace qv {

class Statistics;

class DotPlotStatisticsPanel {
public:
    // `state` is the window's own state (its ID, channels, step, shown
    // population, cross, StatisticsOpen, StatInPreview, menu captions); it
    // must outlive the panel.
    explicit DotPlotStatisticsPanel(DotPlotState& state);
    ~DotPlotStatisticsPanel();
    DotPlotStatisticsPanel(const DotPlotStatisticsPanel&) = delete;
    DotPlotStatisticsPanel& operator=(const DotPlotStatisticsPanel&) = delete;

    // "open" while open and "close" while closed do nothing; anything else
    // toggles. Opening makes a new statistics window, shows it, calls its
    // Alusta and fills it; closing unloads it. Neither redraws the plot.
    void AvaaTaiSuljeStatistics(const std::string& mode);
    // The statistics window was closed by the user.
    void UnloadStatistics() { AvaaTaiSuljeStatistics("close"); }
    bool OnkoStatistiikkaKaytossa() const { return state_.StatisticsOpen; }

    // Recomputes the records and rebuilds the statistics window's grid,
    // caption and size; does nothing while the window shows no file or its
    // statistics are closed.
    void PaivitaStatistiikka();
    // One stored value (keys as LookUpDotPlotStatistic). A region slot
    // outside the table asked for one of the six statistics raises
    // WindowOperationError.
    double AnnaStatistiikka(const std::string& region, const std::string& stat) const;
    // The statistics window's text in one of its layouts; raises
    // WindowOperationError while the statistics are closed.
    std::string AnnaKokoStatistiikka(const std::string& mode) const;
    // While open: "x" places the statistics window's left edge, "y" its top,
    // in twips; other axes change nothing. A value that is not a number
    // raises WindowOperationError.
    void LiikutaStatistiikkaLaatikkoa(const std::string& axis, const std::string& value);

    bool OnkoStatPreviewissa() const { return state_.StatInPreview; }
    void AsetaStatPreviewissa(bool flag) { state_.StatInPreview = flag; }

    // The statistics picture for the print page.
    QImage StatKuva() const { return statPicture_; }
    void AsetaStatKuva(const QImage& picture) { statPicture_ = picture; }

    // The statistics part of a full draw: refresh, then (while open) copy
    // the grid's picture into StatKuva.
    void afterFullDraw();
    // The window is being unloaded: closes the statistics window unless the
    // program is closing.
    void closeWithWindow();

    // Settings lines. While the statistics are open: "statistics.x:",
    // "statistics.y:" and "statistics.column.c.visible:" for c = 1..10, in
    // that order (the 12 lines after "statistics.enabled:"); none while
    // closed.
    std::vector<std::string> settingsLines() const;
    // "statistics.enabled:" with the value "1" or "0", for the window's own
    // list of lines.
    std::string enabledLine() const;
    // Applies one whole sheet line ("window.<n>.statistics....:value") when
    // its key is a statistics key ("statistics.enabled", "statistics.x",
    // "statistics.y", "statistics.column.<c>.visible") and returns true;
    // returns false for any other key. A number that does not read as one
    // leaves the setting as it was.
    bool loadSettingsLine(const std::string& line);

    Statistics* window() const { return window_.data(); }
    const std::vector<DotPlotStatistics>& populationStatistics() const { return populationStats_; }
    const DotPlotQuadrantStatistics& quadrantStatistics() const { return quadrantStats_; }

private:
    int fileIndex() const;

    void windowDestroyed();

    DotPlotState& state_;
    QPointer<Statistics> window_;
    QMetaObject::Connection destroyedConnection_;
    std::vector<DotPlotStatistics> populationStats_;
    DotPlotQuadrantStatistics quadrantStats_{};
    DotPlotStatisticsComputer computer_;
    QImage statPicture_;
};

}  // namespace qv
