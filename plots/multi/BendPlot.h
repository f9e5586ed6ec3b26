#pragma once
// The bending plot window: many parameters of one file at once, each event
// placed by a chain of bent axes (one parameter each) and coloured by
// population or by its distance along the chain, with polygon gates drawn on
// that picture. The window keeps its picture (Kuva) as a QImage drawn by
// BendPlotRenderer; quick feedback of the mouse code is painted over it.
#include <QImage>
#include <QPointF>

#include <memory>
#include <string>
#include <vector>

#include "app/StatisticsOwnerWindow.h"
#include "core/FastDraw.h"
#include "plots/multi/model/BendPlotRenderer.h"
#include "plots/multi/model/BendPlotState.h"

class QMouseEvent;
class QPainter;

namespace qv {

class BendPlotStatisticsPanel;

// Registers the "BendPlot" window kind with the window registry; main and
// tests call it once.
void registerBendPlotKind();

class BendPlot : public StatisticsOwnerWindow {
    Q_OBJECT
public:
    explicit BendPlot(QWidget* parent = nullptr);
    ~BendPlot() override;

    // Outer size (twips) of the bending plot resized last; 0 until then.
    static int32_t DefaultBendPlotWidth, DefaultBendPlotHeight;

    // ---- the window protocol ----
    void Alusta(int id) override;
    void LatauksenJalkeen() override;
    void Piirra() override;
    void NaytaPopulaatio(int slot) override;
    int AnnaID() const override { return state_.ID; }
    void UnloadWindow() override;

    QImage Kuva() const override { return picture_; }
    bool OnkoPreviewissa() const override { return state_.OnPreviewPage; }
    void AsetaPreviewissa(bool flag) override;
    bool OnkoStatPreviewissa() const override { return state_.StatisticsOnPreviewPage; }
    void AsetaStatPreviewissa(bool flag) override { state_.StatisticsOnPreviewPage = flag; }

    void MenuValintaReaktio(int index) override;
    // Recomputes a gate this window drew, with its axes and its file; the
    // gate of another bending plot goes to the window that drew it.
    void CheckPopulation(int slot) override;

    std::vector<std::string> SaveInfo() override;
    void LoadInfo(const std::string& line) override;

    double AnnaStatistiikka(const std::string& region, const std::string& stat) override;

    // The window has no x or y channel: "" for every axis; setting one only
    // redraws.
    std::string AnnaKanava(const std::string& axis) override { (void)axis; return {}; }
    void AsetaKanava(const std::string& axis, const std::string& value) override;
    void AsetaPiirtoMoodi(const std::string& mode) override;

    // ---- for the statistics, the mouse code and the tests ----
    BendPlotState& state() { return state_; }
    const BendPlotState& state() const { return state_; }
    const BendPlotRenderer& renderer() const { return renderer_; }
    int64_t eventsDrawn() const { return eventsDrawn_; }
    BendPlotStatisticsPanel* statisticsPanel() const { return statistics_.get(); }

protected:
    std::string titleText() const override { return state_.Title; }
    bool initialised() const override { return state_.Initialised; }
    bool darkBackground() const override { return state_.DarkBackground; }
    void forgetShownFile() override;
    void rememberKindSize(int32_t widthTwips, int32_t heightTwips) override;
    void paintOverlay(QPainter& painter) override { paintFeedback(painter); }
    StatisticsPanel* statisticsBase() const override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Mouse editing of axes and gates and its feedback (BendPlotMouse.cpp).
    void rightButtonMenus(QPointF pos, QPoint globalPos);
    void chooseAxisParameter(int axis, QPoint globalPos);
    void gateMousePress(QMouseEvent* event);
    void gateMouseMove(QMouseEvent* event);
    void gateMouseRelease(QMouseEvent* event);
    void paintFeedback(QPainter& painter);
    // Every gate this window drew, recomputed after its axes or file
    // changed, then every definition; false when it drew none.
    bool checkOwnGates();
    // Turns fast draw on or off from the pop-up.
    void toggleFastDraw();
    void applyDrawMode(const DrawMode& mode);

    BendPlotState state_;
    BendPlotRenderer renderer_;
    std::unique_ptr<BendPlotStatisticsPanel> statistics_;
    int64_t eventsDrawn_ = 0;
};

}  // namespace qv
