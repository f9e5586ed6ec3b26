#pragma once
// The statistics side that every owner of a statistics window shares: the
// window itself (opened, closed, toggled, moved, gone with its owner), the
// statistics picture for the print page, the texts for tools and the
// statistics lines of the owner's settings. Each owner kind derives and
// fills the grid in its own PaivitaStatistiikka.
#include <QImage>
#include <QMetaObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/FileRecord.h"
#include "output/model/StatisticsTable.h"

namespace qv {

class Statistics;

class StatisticsPanel {
public:
    // `ownerId` and `open` are fields of the owner's state (its ID and its
    // StatisticsOpen flag) and must outlive the panel. `setMenuCaption` puts
    // the caption of the owner's statistics menu item. The settings lines
    // keep the statistics window's entries 1..savedEntries.
    StatisticsPanel(const int16_t& ownerId, bool& open, std::function<void(const char*)> setMenuCaption,
                    int savedEntries);
    virtual ~StatisticsPanel();
    StatisticsPanel(const StatisticsPanel&) = delete;
    StatisticsPanel& operator=(const StatisticsPanel&) = delete;

    // "open" while open and "close" while closed do nothing; anything else
    // toggles. Opening makes a new statistics window, shows it, calls its
    // Alusta and fills it; closing unloads it. Neither redraws the plot.
    void AvaaTaiSuljeStatistics(const std::string& mode);
    // The statistics window was closed by the user.
    void UnloadStatistics() { AvaaTaiSuljeStatistics("close"); }
    bool OnkoStatistiikkaKaytossa() const { return open_; }

    // Recomputes the statistics and rebuilds the window's grid, caption and
    // size; does nothing while the owner shows no file or the statistics
    // are closed.
    virtual void PaivitaStatistiikka() = 0;

    // The statistics window's text in one of its layouts; raises
    // WindowOperationError while the statistics are closed.
    std::string AnnaKokoStatistiikka(const std::string& mode) const;
    // While open: "x" places the statistics window's left edge, "y" its top,
    // in twips; other axes change nothing. A value that is not a number
    // raises WindowOperationError.
    void LiikutaStatistiikkaLaatikkoa(const std::string& axis, const std::string& value);

    // The statistics picture for the print page.
    QImage StatKuva() const { return statPicture_; }
    void AsetaStatKuva(const QImage& picture) { statPicture_ = picture; }

    // The statistics part of a full draw: refresh, then (while open) copy
    // the grid's picture into StatKuva.
    void afterFullDraw();
    // The owner is being unloaded: closes the statistics window unless the
    // program is closing.
    void closeWithWindow();

    // While open: "statistics.x:", "statistics.y:" and
    // "statistics.column.c.visible:" for c = 1..savedEntries; none while
    // closed.
    std::vector<std::string> settingsLines() const;
    // Applies one whole sheet line ("window.<n>.statistics....:value") when
    // its key is a statistics key and returns true; false for any other key.
    // Lines for the statistics window while it is closed change nothing, as
    // do numbers that do not read.
    bool loadSettingsLine(const std::string& line);

    Statistics* window() const { return window_.data(); }

protected:
    int ownerId() const { return ownerId_; }
    // WindowRecord.FileIndex of the owner, 0 when none.
    int fileIndex() const;
    // The start of every owner's refresh: the loaded file the owner shows
    // while its statistics window is open; none otherwise (nothing to fill).
    const FileRecord* fileToFill() const;
    // The caption "(<ID>) Statistics: <file name>", the data columns 1..n
    // (`columnShown` of n + 1 elements) and information rows (from entry
    // `firstInfoEntry`) the window shows, and the table's extent.
    void readWindowChoice(const FileRecord& file, StatisticsGridChoice& choice, std::span<bool> columnShown,
                          int firstInfoEntry);

private:
    void windowDestroyed();

    const int16_t& ownerId_;
    bool& open_;
    std::function<void(const char*)> setMenuCaption_;
    int savedEntries_;
    QPointer<Statistics> window_;
    QMetaObject::Connection destroyedConnection_;
    QImage statPicture_;
};

}  // namespace qv
