#pragma once
// A plot window for the statistics tests that answers the statistics
// members as the dot plot does, through the dot plot's statistics panel,
// and nothing else of the protocol. It registers itself in a registry slot
// of type "DotPlot".
#include <string>
#include <vector>

#include "app/PlotWindow.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlotStatisticsPanel.h"
#include "plots/dotplot/model/DotPlotState.h"

namespace qv::test {

class StatisticsTestOwner : public PlotWindow {
public:
    explicit StatisticsTestOwner(int id, int fileSlot = 1) : panel(state) {
        state.ID = static_cast<int16_t>(id);
        WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(id)];
        rec.InUse = true;
        rec.Form = this;
        rec.Type = "DotPlot";
        rec.FileIndex = static_cast<int16_t>(fileSlot);
        rec.ShowsFile = true;
    }
    ~StatisticsTestOwner() override {
        WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(state.ID)];
        if (rec.Form == this) rec = WindowRecord{};
    }

    void Alusta(int) override {}
    void Piirra() override {}
    int AnnaID() const override { return state.ID; }
    void UnloadWindow() override { panel.closeWithWindow(); }
    void MenuValintaReaktio(int) override {}
    void CopyToClipboard() override {}
    std::vector<std::string> SaveInfo() override { return {"0"}; }
    void LoadInfo(const std::string&) override {}

    bool OnkoStatPreviewissa() const override { return panel.OnkoStatPreviewissa(); }
    void AsetaStatPreviewissa(bool flag) override { panel.AsetaStatPreviewissa(flag); }
    bool OnkoStatistiikkaKaytossa() const override { return panel.OnkoStatistiikkaKaytossa(); }
    void PaivitaStatistiikka() override {
        ++refreshes;
        panel.PaivitaStatistiikka();
    }
    double AnnaStatistiikka(const std::string& region, const std::string& stat) override {
        return panel.AnnaStatistiikka(region, stat);
    }
    std::string AnnaKokoStatistiikka(const std::string& mode) override { return panel.AnnaKokoStatistiikka(mode); }
    void LiikutaStatistiikkaLaatikkoa(const std::string& axis, const std::string& value) override {
        panel.LiikutaStatistiikkaLaatikkoa(axis, value);
    }
    void AvaaTaiSuljeStatistics(const std::string& mode) override { panel.AvaaTaiSuljeStatistics(mode); }
    void UnloadStatistics() override {
        ++unloadCalls;
        panel.UnloadStatistics();
    }
    QImage StatKuva() const override { return panel.StatKuva(); }
    void AsetaStatKuva(const QImage& picture) override { panel.AsetaStatKuva(picture); }

    DotPlotState state;
    DotPlotStatisticsPanel panel;
    int refreshes = 0;
    int unloadCalls = 0;
};

}  // namespace qv::test
