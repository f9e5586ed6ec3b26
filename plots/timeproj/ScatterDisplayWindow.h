#pragma once
// The window both time and projection plots are: a scatter of two
// parameters of one file as dots or density, with axes, ticks and titles,
// fast and full drawing, the quick pass after a resize, the parameter lists
// of the axis strips, the display items of the pop-up menu and the common
// settings lines. A kind adds its own layer over the picture, its own menu
// items and settings lines. These windows have no statistics and no gates,
// and a resize never changes the start size of new plots.
#include <QImage>

#include <string>
#include <vector>

#include "app/FilePlotWindow.h"
#include "plots/dotplot/model/DotPlotRenderer.h"
#include "plots/timeproj/model/ScatterView.h"

class QMouseEvent;

namespace qv {

class ScatterDisplayWindow : public FilePlotWindow {
    Q_OBJECT
public:
    explicit ScatterDisplayWindow(QWidget* parent = nullptr);
    ~ScatterDisplayWindow() override;

    // ---- the window protocol ----
    void LatauksenJalkeen() override;
    void Piirra() override;
    void NaytaPopulaatio(int slot) override;
    int AnnaID() const override { return view_.ID; }
    void UnloadWindow() override;

    QImage Kuva() const override { return picture_; }
    bool OnkoPreviewissa() const override { return view_.OnPreviewPage; }
    void AsetaPreviewissa(bool flag) override;
    bool OnkoStatPreviewissa() const override { return false; }
    void AsetaStatPreviewissa(bool) override {}

    void MenuValintaReaktio(int index) override;
    void CheckPopulation(int) override {}

    std::vector<std::string> SaveInfo() override;
    void LoadInfo(const std::string& line) override;

    std::string AnnaKanava(const std::string& axis) override;
    void AsetaKanava(const std::string& axis, const std::string& value) override;
    void AsetaPiirtoMoodi(const std::string& mode) override;

    // ---- for the kinds and the tests ----
    const ScatterView& view() const { return view_; }
    // Events drawn by the last draw.
    int64_t eventsDrawn() const { return eventsDrawn_; }
    // The pop-up menus of a right click at `pos` (picture units).
    void rightButtonMenus(QPointF pos, QPoint globalPos);

protected:
    // What a kind adds.
    // "Flux Tracker" / "Projector", as the title names the kind.
    virtual const char* kindTitle() const = 0;
    // The kind's layer over a drawn picture (step 19 of the draw).
    virtual void drawOwnLayer(QImage& picture, const FileRecord& file, bool quickPass) = 0;
    // The kind's own pop-up items; false when `index` is not one of them.
    virtual bool ownMenuItem(int index) = 0;
    // Runs after an axis was chosen from a parameter list, before the redraw.
    virtual void axisChosen(const FileRecord& file) { (void)file; }
    // Runs in LatauksenJalkeen before the drawing mode is chosen.
    virtual void fileTaken(const FileRecord& file) { (void)file; }
    // Lines 16 onwards of the settings, and reading one of them.
    virtual void appendOwnSettingsLines(std::vector<std::string>& lines) const = 0;
    virtual void applyOwnSettingsLine(const std::string& key, const std::string& value) = 0;

    // Alusta's shared beginning: the view with its defaults, items and
    // captions, the caption, the selection, and the start size (the dot
    // plot's last size, else 4000 x 4000 twips).
    void beginAlusta(int id, const ScatterMenuItems& items, const std::vector<std::string>& captions);
    // Alusta's shared end: resize events act from now on; a file loaded last
    // is taken and drawn.
    void endAlusta();

    // The file the window shows now (an empty record when none).
    const FileRecord& shownFile() const { return fileRecord(fileIndex()); }
    // The membership column of the shown population in `file` for its events,
    // null when every event is shown; false when the population cannot be
    // shown there.
    bool shownMembership(const FileRecord& file, const uint8_t*& shown) const;

    std::string titleText() const override { return view_.Title; }
    bool initialised() const override { return view_.Initialised; }
    bool darkBackground() const override { return view_.DarkBackground; }
    void forgetShownFile() override;
    // The start size of new plots is the dot plot's alone.
    void rememberKindSize(int32_t, int32_t) override {}

    void mousePressEvent(QMouseEvent* event) override;

    ScatterView view_;

private:
    // The menu's fast / full draw item.
    void switchDrawMode();

    DotPlotRenderer renderer_;
    int64_t eventsDrawn_ = 0;
};

}  // namespace qv
