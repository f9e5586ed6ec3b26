#pragma once
// The mirror histogram window: two chosen histogram windows drawn up and
// down from one middle line, with the difference curve, its sums and their
// ratio. Made only by analysis sheets (no menu item or tool creates one).
#include <QStringList>

#include <string>
#include <vector>

#include "plots/histogram/HistogramSourcesWindow.h"
#include "plots/histogram/model/MirrorState.h"

namespace qv {

// Registers the "Mirror Histogram" window kind; main and tests call it once.
void registerMirrorHistogramKind();

class MirrorHistogram : public HistogramSourcesWindow {
    Q_OBJECT
public:
    explicit MirrorHistogram(QWidget* parent = nullptr);
    ~MirrorHistogram() override;

    void Alusta(int id) override;
    // The selector rebuild, then the drawing (empty axes without lines).
    void Piirra() override;
    void MenuValintaReaktio(int index) override;
    std::vector<std::string> SaveInfo() override;
    // The pointer over a mirror leaves the main window's panel as it is.
    bool pointerNarrowsPanel() const override { return false; }
    void LoadInfo(const std::string& line) override;

    MirrorState& state() { return state_; }
    const MirrorState& state() const { return state_; }
    // DrawMirror: the picture from the current lines.
    void drawLines() override;

protected:
    SourceLineWindows& lineWindows() override { return state_.LineWindow; }
    int lineCount() const override { return 2; }
    int controlBandHeight() const override { return state_.ControlBandHeight; }
    bool ready() const override { return state_.Ready; }
    void rememberKindSize(int32_t widthTwips, int32_t heightTwips) override;
    QStringList popupCaptions() const override;

private:
    MirrorState state_;
};

}  // namespace qv
