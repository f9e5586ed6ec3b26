#pragma once
// The overlay histogram window: up to four chosen histogram windows drawn
// over each other on the first one's axis, line 1 filled, every line with
// its own outline colour and thickness. It counts nothing itself: each
// drawing pulls the counts and axis facts of the source windows.
#include <QStringList>

#include <array>
#include <string>
#include <vector>

#include "plots/histogram/HistogramSourcesWindow.h"
#include "plots/histogram/model/OverlayState.h"

class QCheckBox;
class QPushButton;

namespace qv {

// Registers the "Overlay Histogram" window kind; main and tests call it once.
void registerOverlayHistogramKind();

class Overlayhistogram : public HistogramSourcesWindow {
    Q_OBJECT
public:
    explicit Overlayhistogram(QWidget* parent = nullptr);
    ~Overlayhistogram() override;

    void Alusta(int id) override;
    // Nothing while a sheet loads; else the selector rebuild, then the
    // drawing when a line has a window.
    void Piirra() override;
    bool OnkoPreviewissa() const override { return state_.OnPrintPage; }
    void AsetaPreviewissa(bool flag) override;
    void MenuValintaReaktio(int index) override;
    std::vector<std::string> SaveInfo() override;
    void LoadInfo(const std::string& line) override;

    OverlayState& state() { return state_; }
    const OverlayState& state() const { return state_; }
    QPushButton* colourBox(int line) const;  // 0: the fill colour's box
    QCheckBox* boldBox(int line) const;
    // DrawOverlayLines: the picture from the current lines.
    void drawLines() override;

protected:
    SourceLineWindows& lineWindows() override { return state_.LineWindow; }
    int lineCount() const override { return state_.LineCount; }
    int controlBandHeight() const override { return state_.ControlBandHeight; }
    bool ready() const override { return state_.Ready; }
    void rememberKindSize(int32_t widthTwips, int32_t heightTwips) override;
    QStringList popupCaptions() const override;
    void placeControls(int pictureHeight) override;

private:
    void chooseColour(int line);
    void refreshColourBoxes();

    OverlayState state_;
    std::vector<QPushButton*> colourBoxes_;  // element 0 the fill colour's
    std::vector<QCheckBox*> boldBoxes_;      // element L line L's
};

}  // namespace qv
