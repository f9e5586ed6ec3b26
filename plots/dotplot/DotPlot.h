#pragma once
// The dot plot window: two parameters of one file as a scatter of dots or as
// a density image, with the polygon gates drawn on that parameter pair, the
// quadrant cross and the fast-draw mode. The window keeps its picture (Kuva)
// as a QImage drawn by DotPlotRenderer; quick feedback of the mouse code is
// painted over it, so a mouse move never redraws the plot.
#include <QImage>
#include <QPointF>

#include <memory>
#include <string>
#include <vector>

#include "app/StatisticsOwnerWindow.h"
#include "core/FastDraw.h"
#include "core/FileRecord.h"
#include "core/WindowRecord.h"
#include "plots/dotplot/model/DotPlotRenderer.h"
#include "plots/dotplot/model/DotPlotState.h"

class QMouseEvent;
class QPainter;

namespace qv {

class DotPlotStatisticsPanel;

// Registers the "DotPlot" window kind with the window registry; main and
// tests call it once.
void registerDotPlotKind();

class DotPlot : public StatisticsOwnerWindow {
    Q_OBJECT
public:
    explicit DotPlot(QWidget* parent = nullptr);
    ~DotPlot() override;

    // ---- the window protocol ----
    void Alusta(int id) override;
    void LatauksenJalkeen() override;
    void Piirra() override;
    void NaytaPopulaatio(int slot) override;
    int AnnaID() const override { return state_.ID; }
    void UnloadWindow() override;

    QImage Kuva() const override { return picture_; }
    bool OnkoPreviewissa() const override { return state_.InPreview; }
    void AsetaPreviewissa(bool flag) override;
    bool OnkoStatPreviewissa() const override;
    void AsetaStatPreviewissa(bool flag) override;

    void MenuValintaReaktio(int index) override;
    void CheckPopulation(int slot) override;

    std::vector<std::string> SaveInfo() override;
    void LoadInfo(const std::string& line) override;

    double AnnaStatistiikka(const std::string& region, const std::string& stat) override;

    std::string AnnaKanava(const std::string& axis) override;
    void AsetaKanava(const std::string& axis, const std::string& value) override;
    void AsetaPiirtoMoodi(const std::string& mode) override;

    // ---- the dot plot's own members (tools and its menu) ----
    void AsetaRegion(const std::string& axis, const std::string& value) override;
    std::string AnnaKvadrantinKoordinaatit(const std::string& axis) const override;
    void NaytaTaiPiilotaKvadrantti(const std::string& mode) override;
    bool OnkoKvadranttiKaytossa() const override { return state_.QuadrantOn; }

    // ---- for the statistics, the gate editing and the tests ----
    DotPlotState& state() { return state_; }
    const DotPlotState& state() const { return state_; }
    // The file the last full draw or data export read (FileCopy): the
    // FileTable record in FileSlot, read in place rather than copied; an
    // empty record when there is none.
    const FileRecord& fileCopy() const;
    // Events drawn by the last draw (dots or density counts).
    int64_t eventsDrawn() const { return eventsDrawn_; }
    DotPlotStatisticsPanel* statisticsPanel() const { return statistics_.get(); }

    // The pop-up menus of a right click at `pos` (picture pixels): the
    // parameter list on an axis strip, else the window's menu.
    void rightButtonMenus(QPointF pos, QPoint globalPos);
    // Save data as .TXT... (menu item 16).
    void saveData();

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
    // The gate editing with the left button and the feedback over the
    // picture (DotPlotMouse.cpp).
    void gateMousePress(QMouseEvent* event);
    void gateMouseMove(QMouseEvent* event);
    void gateMouseRelease(QMouseEvent* event);
    void paintFeedback(QPainter& painter);
    // EventCount of the file slot the window names, loaded or not; 0 for no
    // slot.
    int32_t shownEventCount() const;
    void applyDrawMode(const DrawMode& mode);
    // The menu's fast / full draw item.
    void switchDrawMode();

    DotPlotState state_;
    DotPlotRenderer renderer_;
    std::unique_ptr<DotPlotStatisticsPanel> statistics_;
    int64_t eventsDrawn_ = 0;
};

}  // namespace qv
