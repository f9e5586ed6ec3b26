#pragma once
// The histogram window: one parameter of one file binned, smoothed and
// drawn as columns, with the marker gates of that parameter, its statistics
// window, its pop-up menu and its settings lines. The picture is drawn by
// RenderHistogram; the mouse code paints its quick feedback over it, so a
// mouse move never redraws the histogram.
#include <QPointF>

#include <memory>
#include <string>
#include <vector>

#include "app/StatisticsOwnerWindow.h"
#include "core/FastDraw.h"
#include "plots/histogram/model/HistogramState.h"

namespace qv {

class HistogramStatisticsPanel;

// Registers the "Histogram" window kind with the window registry; main and
// tests call it once.
void registerHistogramKind();

class Histogram : public StatisticsOwnerWindow {
    Q_OBJECT
public:
    explicit Histogram(QWidget* parent = nullptr);
    ~Histogram() override;

    // ---- the window protocol ----
    void Alusta(int id) override;
    void LatauksenJalkeen() override;
    void Piirra() override;
    void NaytaPopulaatio(int slot) override;
    int AnnaID() const override { return state_.ID; }
    void UnloadWindow() override;

    bool OnkoPreviewissa() const override { return state_.OnPrintPage; }
    void AsetaPreviewissa(bool flag) override;
    bool OnkoStatPreviewissa() const override { return state_.StatisticsOnPrintPage; }
    void AsetaStatPreviewissa(bool flag) override { state_.StatisticsOnPrintPage = flag; }

    void MenuValintaReaktio(int index) override;
    // Works from the shared tables alone (the recomputation of all
    // populations calls it on a window that was never set up).
    void CheckPopulation(int slot) override;

    std::vector<std::string> SaveInfo() override;
    void LoadInfo(const std::string& line) override;

    double AnnaStatistiikka(const std::string& region, const std::string& stat) override;

    std::string AnnaKanava(const std::string& axis) override;
    void AsetaKanava(const std::string& axis, const std::string& value) override;
    void AsetaPiirtoMoodi(const std::string& mode) override;
    int32_t AnnaHistonKorkeinKohta(const std::string& what, int32_t marker) override;

    // ---- the exchange: what overlay and mirror windows and tools read ----
    // The counts of the last draw (bins 0..Resolution, smoothed); empty
    // before the first draw with a file.
    const std::vector<double>& LahetaHistogram() const { return state_.Counts; }
    // Range, IsLog and Name of the shown parameter of the window's file as
    // the file table holds it now; 0, false and "" without one.
    int32_t LahetaMax() const;
    bool LahetaLog() const;
    std::string LahetaNimi() const;
    int16_t LahetaKanavaID() const { return state_.Channel; }
    int32_t LahetaScale() const { return state_.YScale; }
    // The peak inside marker slot `marker` by key ("paikka", "abskorkeus",
    // "suhtkorkeus"); a slot outside 0..100 raises WindowOperationError.
    int32_t AnnaHistonKorkeinKohta(const std::string& what, double marker) const;
    // The relative height at plot-space position `pos`, which is given back
    // as the bin read (kept within the table).
    int32_t AnnaHistonKorkeus(double& pos) override;

    // ---- for the menus, the mouse code and the tests ----
    HistogramState& state() { return state_; }
    const HistogramState& state() const { return state_; }
    HistogramStatisticsPanel* statisticsPanel() const { return statistics_.get(); }
    // The pop-up menus of a right click at `pos` (picture pixels): the
    // parameter list on the X-axis strip, else the window's menu.
    void rightButtonMenus(QPointF pos, QPoint globalPos);
    // "Copy histogram to clipboard": the bin counts of the last draw.
    void copyCountsToClipboard();
    // Full draws since the window was made (a drag must add none per move).
    int fullDrawCount() const { return fullDraws_; }

protected:
    std::string titleText() const override { return state_.Title; }
    bool initialised() const override { return state_.Initialised; }
    bool darkBackground() const override { return state_.DarkBackground; }
    void forgetShownFile() override;
    void rememberKindSize(int32_t widthTwips, int32_t heightTwips) override;
    void paintOverlay(QPainter& painter) override;
    StatisticsPanel* statisticsBase() const override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The marker drawing and editing with the left button (HistogramMouse.cpp).
    void markerMousePress(QPointF pos);
    void markerMouseMove(QPointF pos);
    void markerMouseRelease(QPointF pos);
    // The Y scale and smoothing input boxes (menu items 2 and 3).
    void askWholeNumber(int item, const char* hint, int32_t& field);
    void chooseFillColour();
    void switchDrawMode();
    void applyDrawMode(const DrawMode& mode);

    HistogramState state_;
    std::unique_ptr<HistogramStatisticsPanel> statistics_;
    int fullDraws_ = 0;
};

}  // namespace qv
