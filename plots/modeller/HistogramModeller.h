#pragma once
// The histogram modeller window: a histogram of one parameter of one file
// with up to 20 model curves (two gaussian flanks around a flat plateau)
// that the user drags into place by their handles, the sum of the curves,
// and statistics per curve. The picture is drawn by RenderModeller; while a
// handle is held, the held curve, its handles and the sum are painted over
// that picture at each move, so a drag never recounts the histogram.
#include <QPointF>

#include <memory>
#include <string>
#include <vector>

#include "app/StatisticsOwnerWindow.h"
#include "core/FastDraw.h"
#include "plots/modeller/model/ModellerState.h"

namespace qv {

class ModellerStatisticsPanel;

// Registers the "Histogram Modeller" window kind with the window registry;
// main and tests call it once.
void registerHistogramModellerKind();

class HistogramModeller : public StatisticsOwnerWindow {
    Q_OBJECT
public:
    explicit HistogramModeller(QWidget* parent = nullptr);
    ~HistogramModeller() override;

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
    bool OnkoStatPreviewissa() const override { return state_.StatInPreview; }
    void AsetaStatPreviewissa(bool flag) override { state_.StatInPreview = flag; }

    void MenuValintaReaktio(int index) override;
    // The picture without handles and curve numbers to the clipboard.
    void CopyToClipboard() override;

    std::vector<std::string> SaveInfo() override;
    void LoadInfo(const std::string& line) override;

    // "vis", "xmean", "xgeomean", "cv" of a curve; a curve number outside
    // 1..20 raises WindowOperationError.
    double AnnaStatistiikka(const std::string& curve, const std::string& stat) override;
    // The modeller hands out no statistics text and does not move its
    // statistics window for tools: both stay missing members.
    std::string AnnaKokoStatistiikka(const std::string& mode) override {
        return PlotWindow::AnnaKokoStatistiikka(mode);
    }
    void LiikutaStatistiikkaLaatikkoa(const std::string& axis, const std::string& value) override {
        PlotWindow::LiikutaStatistiikkaLaatikkoa(axis, value);
    }

    std::string AnnaKanava(const std::string& axis) override;
    // "x" sets the channel (the bin value table follows); then a redraw.
    void AsetaKanava(const std::string& axis, const std::string& value) override;
    void AsetaPiirtoMoodi(const std::string& mode) override;

    // Curves from tools; a curve number outside 1..20, or a number that
    // does not read, raises WindowOperationError.
    void SiirraKayraa(const std::string& what, const std::string& curve, const std::string& value) override;
    void LuoTaiPoista(const std::string& action, const std::string& curve, const std::string& name) override;
    // The tools' form: the position as a number.
    int32_t AnnaSummanKorkeus(double position) override;
    // `pos` is overwritten with the curve bin it names.
    int AnnaSummanKorkeus(std::string& pos);

    // ---- for the menus, the mouse code and the tests ----
    ModellerState& state() { return state_; }
    const ModellerState& state() const { return state_; }
    ModellerStatisticsPanel* statisticsPanel() const { return statistics_.get(); }
    // Fills BinValues for the shown file and channel and puts the table on
    // the clipboard; without a file the table stays as it is.
    void BuildBinValueTable();
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
    // The pop-up menus of a right click at `pos`: the parameter list on the
    // X-axis strip, else the window's menu.
    void rightButtonMenus(QPointF pos, QPoint globalPos);
    void addCurve();
    void askWholeNumber(int item, const char* hint, int32_t& field);
    void chooseFillColour();
    void switchDrawMode();
    void applyDrawMode(const DrawMode& mode);
    // The table follows a channel, log switch or range changed since it was
    // built (a tool, the file information window).
    void rebuildBinValuesWhenStale();

    ModellerState state_;
    std::unique_ptr<ModellerStatisticsPanel> statistics_;
    int fullDraws_ = 0;
};

}  // namespace qv
