#pragma once
// A file window that owns a statistics window (the dot plot, the histogram):
// the protocol members of its statistics, forwarded to the kind's panel,
// and what both do with a settings line their state did not take (place,
// size, file, print page, statistics window). The kind computes and fills
// its own grid in its panel.
#include <string>

#include "app/FilePlotWindow.h"
#include "app/model/WindowSettingsLine.h"

namespace qv {

class StatisticsPanel;

class StatisticsOwnerWindow : public FilePlotWindow {
    Q_OBJECT
public:
    using FilePlotWindow::FilePlotWindow;

    bool OnkoStatistiikkaKaytossa() const override;
    void PaivitaStatistiikka() override;
    std::string AnnaKokoStatistiikka(const std::string& mode) override;
    void LiikutaStatistiikkaLaatikkoa(const std::string& axis, const std::string& value) override;
    void AvaaTaiSuljeStatistics(const std::string& mode) override;
    void UnloadStatistics() override;
    QImage StatKuva() const override;
    void AsetaStatKuva(const QImage& picture) override;

protected:
    // The kind's statistics panel (none only while it is being made).
    virtual StatisticsPanel* statisticsBase() const = 0;
    // Carries out what a settings line asks of the window beyond its state;
    // `line` is the whole sheet line, for the statistics window's own keys.
    void applySettingRequest(const WindowSettingRequest& request, const std::string& line);
};

}  // namespace qv
