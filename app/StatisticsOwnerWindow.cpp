#include "app/StatisticsOwnerWindow.h"

#include "output/Statistics.h"
#include "output/StatisticsPanel.h"

namespace qv {

bool StatisticsOwnerWindow::OnkoStatistiikkaKaytossa() const {
    const StatisticsPanel* panel = statisticsBase();
    return panel && panel->OnkoStatistiikkaKaytossa();
}

void StatisticsOwnerWindow::PaivitaStatistiikka() {
    if (StatisticsPanel* panel = statisticsBase()) panel->PaivitaStatistiikka();
}

std::string StatisticsOwnerWindow::AnnaKokoStatistiikka(const std::string& mode) {
    const StatisticsPanel* panel = statisticsBase();
    return panel ? panel->AnnaKokoStatistiikka(mode) : std::string();
}

void StatisticsOwnerWindow::LiikutaStatistiikkaLaatikkoa(const std::string& axis, const std::string& value) {
    if (StatisticsPanel* panel = statisticsBase()) panel->LiikutaStatistiikkaLaatikkoa(axis, value);
}

void StatisticsOwnerWindow::AvaaTaiSuljeStatistics(const std::string& mode) {
    if (StatisticsPanel* panel = statisticsBase()) panel->AvaaTaiSuljeStatistics(mode);
}

void StatisticsOwnerWindow::UnloadStatistics() {
    if (StatisticsPanel* panel = statisticsBase()) panel->UnloadStatistics();
}

QImage StatisticsOwnerWindow::StatKuva() const {
    const StatisticsPanel* panel = statisticsBase();
    return panel ? panel->StatKuva() : QImage();
}

void StatisticsOwnerWindow::AsetaStatKuva(const QImage& picture) {
    if (StatisticsPanel* panel = statisticsBase()) panel->AsetaStatKuva(picture);
}

void StatisticsOwnerWindow::applySettingRequest(const WindowSettingRequest& req, const std::string& line) {
    using Kind = WindowSettingRequest::Kind;
    if (applyFrameRequest(req)) return;
    switch (req.kind) {
    case Kind::Preview: AsetaPreviewissa(req.flag); break;
    case Kind::Statistics: AvaaTaiSuljeStatistics(req.flag ? "open" : "close"); break;
    case Kind::StatisticsLine:
        if (StatisticsPanel* panel = statisticsBase()) panel->loadSettingsLine(line);
        break;
    default: break;
    }
}

}  // namespace qv
