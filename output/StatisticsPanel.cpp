#include "output/StatisticsPanel.h"

#include <cmath>

#include "app/PlotWindow.h"
#include "app/model/FileSystemText.h"
#include "app/WorkspacePlacement.h"
#include "app/model/WindowSettingsLine.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "output/Statistics.h"

namespace qv {

StatisticsPanel::StatisticsPanel(const int16_t& ownerId, bool& open, std::function<void(const char*)> setMenuCaption,
                                 int savedEntries)
    : ownerId_(ownerId), open_(open), setMenuCaption_(std::move(setMenuCaption)), savedEntries_(savedEntries) {}

StatisticsPanel::~StatisticsPanel() {
    QObject::disconnect(destroyedConnection_);
    // A statistics window still up when its owner goes (shutdown) goes too.
    if (window_) window_->unload();
}

void StatisticsPanel::windowDestroyed() {
    // Gone without being closed (its workspace went first): the statistics
    // count as closed, so nothing is written for a window that is not there.
    if (!open_) return;
    open_ = false;
    const size_t id = static_cast<size_t>(ownerId_);
    if (ownerId_ >= 0 && id < g.StatisticsRegistry.size()) g.StatisticsRegistry[id].InUse = false;
    setMenuCaption_("Open statistics");
}

int StatisticsPanel::fileIndex() const {
    const int id = ownerId_;
    if (id < 1 || static_cast<size_t>(id) >= g.WindowRegistry.size()) return 0;
    return g.WindowRegistry[static_cast<size_t>(id)].FileIndex;
}

const FileRecord* StatisticsPanel::fileToFill() const {
    if (!open_ || !window()) return nullptr;
    const int slot = fileIndex();
    if (slot < 1 || static_cast<size_t>(slot) >= g.FileTable.size()) return nullptr;
    const FileRecord& file = g.FileTable[static_cast<size_t>(slot)];
    return file.Loaded ? &file : nullptr;
}

void StatisticsPanel::readWindowChoice(const FileRecord& file, StatisticsGridChoice& choice,
                                       std::span<bool> columnShown, int firstInfoEntry) {
    Statistics& w = *window();
    w.setWindowTitle(QStringLiteral("(%1) Statistics: ").arg(ownerId_) + shownFileSystemText(file.FileName));
    for (size_t c = 1; c < columnShown.size(); ++c) columnShown[c] = w.OnkoNakyvissa(static_cast<int>(c));
    choice.fileNameRow = w.OnkoNakyvissa(firstInfoEntry);
    choice.sampleIdRow = w.OnkoNakyvissa(firstInfoEntry + 1);
    choice.commentsRow = w.OnkoNakyvissa(firstInfoEntry + 2);
    choice.copying = g.CopyingStatistics;
    choice.maxPopulations = g.MaxPopulations;
    choice.maxDefinitions = g.MaxDefinitions;
}

void StatisticsPanel::AvaaTaiSuljeStatistics(const std::string& mode) {
    if (mode == "open" && open_) return;
    if (mode == "close" && !open_) return;
    const size_t id = static_cast<size_t>(ownerId_);
    const bool inRegistry = ownerId_ >= 0 && id < g.StatisticsRegistry.size();
    if (open_) {
        // The flag goes first, so the window's own close notice finds the
        // statistics closed and does nothing; the window is deleted once.
        open_ = false;
        if (inRegistry) g.StatisticsRegistry[id].InUse = false;
        setMenuCaption_("Open statistics");
        QObject::disconnect(destroyedConnection_);
        if (window_) window_->unload();
        window_.clear();
        return;
    }
    open_ = true;
    setMenuCaption_("Close statistics");
    auto* window = new Statistics;
    window_ = window;
    destroyedConnection_ = QObject::connect(window, &QObject::destroyed, [this] { windowDestroyed(); });
    showStatisticsWindow(*window);
    if (inRegistry) g.StatisticsRegistry[id].InUse = true;
    window->Alusta(ownerId_);
    PaivitaStatistiikka();
    // Sized by its rows now, it opens where the user can see it.
    if (window_) keepInsideWorkspace(*window_);
}

std::string StatisticsPanel::AnnaKokoStatistiikka(const std::string& mode) const {
    if (!open_ || !window_) throw WindowOperationError("Object variable or With block variable not set");
    return window_->AnnaKokoStatistiikka(mode);
}

void StatisticsPanel::LiikutaStatistiikkaLaatikkoa(const std::string& axis, const std::string& value) {
    if (!open_ || !window_) return;
    if (axis != "x" && axis != "y") return;
    const std::optional<double> twips = ParseNumber(value);
    if (!twips) throw WindowOperationError("Type mismatch");
    if (axis == "x") window_->setLeft(*twips);
    else window_->setTop(*twips);
}

void StatisticsPanel::afterFullDraw() {
    PaivitaStatistiikka();
    if (open_ && window_) statPicture_ = window_->gridPicture();
}

void StatisticsPanel::closeWithWindow() {
    if (!open_ || g.ProgramClosing) return;
    AvaaTaiSuljeStatistics("close");
}

std::vector<std::string> StatisticsPanel::settingsLines() const {
    std::vector<std::string> lines;
    if (!open_ || !window_) return lines;
    lines.push_back("statistics.x:" + NumberText(window_->Left()));
    lines.push_back("statistics.y:" + NumberText(window_->Top()));
    for (int c = 1; c <= savedEntries_; ++c)
        lines.push_back("statistics.column." + std::to_string(c) +
                        ".visible:" + (window_->OnkoNakyvissa(c) ? "1" : "0"));
    return lines;
}

bool StatisticsPanel::loadSettingsLine(const std::string& line) {
    const WindowSettingsLine parsed = ParseWindowSettingsLine(line);
    auto piece = [&](size_t i) { return i < parsed.pieces.size() ? parsed.pieces[i] : std::string(); };
    if (piece(2) != "statistics") return false;
    const std::string& value = parsed.value;
    const std::string what = piece(3);
    if (what == "enabled") {
        if (value == "1") AvaaTaiSuljeStatistics("open");
        else if (value == "0") AvaaTaiSuljeStatistics("close");
        return true;
    }
    if (what == "x" || what == "y") {
        const std::optional<double> twips = ParseNumber(value);
        if (window_ && twips) {
            if (what == "x") window_->setLeft(*twips);
            else window_->setTop(*twips);
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
