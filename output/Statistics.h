#pragma once
// The statistics window of one plot window (its owner): one grid of the
// owner's statistics, the grid's pop-up menu (copy, show or hide a column or
// an information row, put the statistics on the print page), the clipboard
// copy and the three text layouts that tools write to files.
//
// The owner creates the window, calls Alusta with its own ID, writes every
// cell of MSFlexGrid1() in its PaivitaStatistiikka and then calls
// showGrid(). The window reaches its owner by ID through the window
// registry (UnloadStatistics, PaivitaStatistiikka, OnkoStatPreviewissa,
// AsetaStatPreviewissa, AsetaStatKuva).
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>

#include "output/model/StatisticsEntries.h"
#include "output/model/StatisticsGrid.h"

class QTableWidget;

namespace qv {

class PlotWindow;

class Statistics : public QWidget {
    Q_OBJECT
public:
    explicit Statistics(QWidget* parent = nullptr);
    ~Statistics() override;

    // The owner's ID.
    int AnnaID() const { return id_; }
    // Records the owner and builds the menu entries for the owner's window
    // type; every column choice starts from the kind's defaults.
    void Alusta(int ownerId);

    // The reaction to pop-up item `index`: 0 copies, the last item toggles
    // the owner's statistics on the print page, any other switches its
    // entry (the last entry left on stays on). Then the owner refreshes.
    void StatistiikkaMenuValintaReaktio(int index);

    // Entry k switched on (false outside 1..N).
    bool OnkoNakyvissa(int item) const { return entries_.visible(item); }
    // From a settings line: "1" switches entry k on, "0" off, anything else
    // (and a k outside 1..N) changes nothing. No redraw.
    void AsetaNakyvyys(int item, const std::string& value) { entries_.setVisibleFromText(item, value); }

    // The whole grid to the clipboard as text, each information text once.
    void CopyToClipboard();
    // The grid as the owner's last refresh left it, in one of the layouts
    // "1-rivinen-otsikko", "1-rivinen-tieto", "monirivinen"; "" otherwise.
    std::string AnnaKokoStatistiikka(const std::string& mode) const;

    // The grid the owner writes; showGrid() puts it on screen and sizes the
    // window to it.
    StatisticsGrid& MSFlexGrid1() { return grid_; }
    const StatisticsGrid& MSFlexGrid1() const { return grid_; }
    void showGrid();

    // An image of the grid as displayed (for the owner's StatKuva).
    QImage gridPicture() const;

    const StatisticsEntries& entries() const { return entries_; }
    QTableWidget* table() const { return table_; }

    // Position of the window in twips (15 to a pixel); with a frame around
    // the window (the main window's workspace) the frame is placed.
    float Left() const;
    float Top() const;
    // Held to sane bounds in the workspace, whatever the number.
    void setLeft(double twips);
    void setTop(double twips);

    // Opens the grid's pop-up at `globalPos` and acts on the choice.
    void openPopup(const QPoint& globalPos);

    // Called by the owner when it closes its statistics: the window goes
    // away without calling back, and is deleted once, back in the top-level
    // event loop (so the owner may call it from inside any handler).
    void unload();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PlotWindow* owner() const;
    QWidget* frame() const;
    void ownerClosedByUser();
    void refreshOwner();
    // Every cell whose text is wider than the cell gets it as its tooltip.
    void giveCutTextsTheirTooltips();

    int id_ = 0;
    StatisticsEntries entries_;
    StatisticsGrid grid_;
    QTableWidget* table_ = nullptr;
    bool unloaded_ = false;
    bool ownerNotified_ = false;
};

// How a new statistics window is shown: the main window installs a shower
// that adds it to its workspace. Without one the window is shown on its own
// (tests of a lone window).
using StatisticsWindowShower = std::function<void(Statistics& window)>;
void setStatisticsWindowShower(StatisticsWindowShower shower);
void showStatisticsWindow(Statistics& window);

// Redraws the print page when there is one; the print page installs it.
void setPrintPageRedrawer(std::function<void()> redraw);
void redrawPrintPage();

}  // namespace qv
