#include "plots/histogram/MirrorHistogram.h"

#include "app/FilePlotWindow.h"
#include "app/WindowRegistry.h"
#include "core/SharedState.h"
#include "plots/histogram/Histogram.h"
#include "plots/histogram/model/MirrorRenderer.h"
#include "plots/histogram/model/MirrorSettings.h"

namespace qv {

namespace {
constexpr int32_t FirstWidthTwips = 6000, FirstHeightTwips = 4000;
}  // namespace

void registerMirrorHistogramKind() {
    registerWindowKind("Mirror Histogram", [] { return new MirrorHistogram(); });
}

MirrorHistogram::MirrorHistogram(QWidget* parent) : HistogramSourcesWindow(parent) {}

MirrorHistogram::~MirrorHistogram() = default;

void MirrorHistogram::Alusta(int id) {
    state_ = MirrorState();
    state_.ID = static_cast<int16_t>(id);
    state_.Title = "(" + std::to_string(id) + "): Mirror histogram";
    startWindow(id, state_.Title, g.DefaultMirrorWidth, g.DefaultMirrorHeight, FirstWidthTwips, FirstHeightTwips, 2);
    state_.Ready = true;
    Piirra();
}

void MirrorHistogram::rememberKindSize(int32_t widthTwips, int32_t heightTwips) {
    g.DefaultMirrorWidth = widthTwips;
    g.DefaultMirrorHeight = heightTwips;
}

void MirrorHistogram::Piirra() {
    rebuildSelectors();
    drawLines();
}

void MirrorHistogram::drawLines() {
    if (g.SheetLoading) return;
    MirrorAxis axis;
    std::vector<MirrorLine> lines;
    for (int L = 1; L <= 2; ++L) {
        const int slot = state_.LineWindow[static_cast<size_t>(L)];
        if (slot <= 0) continue;
        if (!holdsHistogramWindow(slot)) {
            // The source closed, or its slot went to another kind, since
            // the last rebuild: the picture stays cleared, with neither line
            // nor axes, until the next Piirra drops the line.
            state_.LinesDrawn = false;
            clearPicture(Qt::white);
            return;
        }
        // A histogram that has never counted gives nothing to draw.
        const Histogram* source = sourceWindow(slot);
        if (!source) continue;
        if (L == 1) {
            axis.isLog = source->LahetaLog();
            axis.range = source->LahetaMax();
        }
        lines.push_back({L, source->LahetaHistogram(), source->LahetaScale()});
    }
    RenderMirror(picture_, state_, axis, lines);
    update();
}

QStringList MirrorHistogram::popupCaptions() const { return {QString::fromLatin1(state_.caption(1))}; }

void MirrorHistogram::MenuValintaReaktio(int index) {
    if (index == 1) CopyToClipboard();
}

std::vector<std::string> MirrorHistogram::SaveInfo() { return MirrorSettingsLines(state_, FrameTwipsOf(*outer())); }

void MirrorHistogram::LoadInfo(const std::string& line) {
    ApplyPlaceRequest(*outer(), ApplyMirrorSettingLine(state_, line));
}

}  // namespace qv
