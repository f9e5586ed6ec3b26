#pragma once
// The three-dimensional plot window ("3D Plot"): the events of one file as
// a cloud inside a cube of three parameters, turned with a left drag,
// moved nearer or farther with a Shift drag, with its pop-up menu, the
// parameter lists of its axis-name lines, its settings lines and the
// members tools call. The picture is drawn by RenderThreeD.
#include <QImage>
#include <QPointF>

#include <string>
#include <vector>

#include "app/FilePlotWindow.h"
#include "core/FastDraw.h"
#include "plots/multi/model/ThreeDState.h"

namespace qv {

// Registers the "3D Plot" window kind with the window registry.
void registerThreeDPlotKind();

// Outer size of the 3-D plot resized last (twips; 0 = none yet), taken by
// the next new one.
extern int32_t Plot3DDefaultWidth, Plot3DDefaultHeight;

class Plot3D : public FilePlotWindow {
    Q_OBJECT
public:
    explicit Plot3D(QWidget* parent = nullptr);
    ~Plot3D() override;

    // ---- the window protocol ----
    void Alusta(int id) override;
    void LatauksenJalkeen() override;
    void Piirra() override;
    void NaytaPopulaatio(int slot) override;
    int AnnaID() const override { return state_.ID; }
    void UnloadWindow() override;
    QImage Kuva() const override { return picture_; }
    bool OnkoPreviewissa() const override { return state_.OnPrintPage; }
    void AsetaPreviewissa(bool flag) override;
    void MenuValintaReaktio(int index) override;
    std::vector<std::string> SaveInfo() override;
    void LoadInfo(const std::string& line) override;

    // ---- tool members ----
    void MuutaRotaatiota(const std::string& axis, const std::string& delta) override;
    void MuutaEtaisyytta(const std::string& delta) override;
    void Nollaa() override;
    std::string AnnaKanava(const std::string& axis) override;
    void AsetaKanava(const std::string& axis, const std::string& value) override;
    void AsetaPiirtoMoodi(const std::string& mode) override;
    void AsetaTaustaKuvanTila(const std::string& mode) override;

    // ---- for the tests ----
    ThreeDState& state() { return state_; }
    const ThreeDState& state() const { return state_; }
    int fullDrawCount() const { return draws_; }
    // A right click at `pos` (picture pixels): the parameter list of an
    // axis-name line, else the window's menu.
    void rightButtonMenus(QPointF pos, QPoint globalPos);

protected:
    std::string titleText() const override { return state_.Title; }
    bool initialised() const override { return state_.Initialised; }
    bool darkBackground() const override { return state_.DarkBackground; }
    void forgetShownFile() override;
    void rememberKindSize(int32_t widthTwips, int32_t heightTwips) override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void switchDrawMode();
    void applyDrawMode(const DrawMode& mode);
    void toggleFlag(bool& flag, int item, const char* whenOn, const char* whenOff);

    ThreeDState state_;
    int draws_ = 0;
};

}  // namespace qv
