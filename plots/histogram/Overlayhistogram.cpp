#include "plots/histogram/Overlayhistogram.h"

#include <QCheckBox>
#include <QPushButton>

#include "app/Dialogs.h"
#include "app/FilePlotWindow.h"
#include "app/MainServices.h"
#include "app/WindowRegistry.h"
#include "core/SharedState.h"
#include "output/PrintPreview.h"
#include "output/Statistics.h"
#include "plots/histogram/Histogram.h"
#include "plots/histogram/model/OverlayRenderer.h"
#include "plots/histogram/model/OverlaySettings.h"

namespace qv {

namespace {

constexpr int32_t FirstWidthTwips = 6000, FirstHeightTwips = 5000;
constexpr int BoxSide = 17;

void paintBox(QPushButton* box, int r, int g, int b) {
    box->setStyleSheet(QStringLiteral("background-color: rgb(%1,%2,%3); border: 1px solid gray;").arg(r).arg(g).arg(b));
}

}  // namespace

void registerOverlayHistogramKind() {
    registerWindowKind("Overlay Histogram", [] { return new Overlayhistogram(); });
}

Overlayhistogram::Overlayhistogram(QWidget* parent) : HistogramSourcesWindow(parent) {}

Overlayhistogram::~Overlayhistogram() = default;

void Overlayhistogram::Alusta(int id) {
    state_ = OverlayState();
    state_.ID = static_cast<int16_t>(id);
    state_.Title = "(" + std::to_string(id) + "): Overlay histogram";

    for (QPushButton* b : colourBoxes_) delete b;
    for (QCheckBox* b : boldBoxes_) delete b;
    colourBoxes_.assign(static_cast<size_t>(state_.LineCount) + 1, nullptr);
    boldBoxes_.assign(static_cast<size_t>(state_.LineCount) + 1, nullptr);
    for (int L = 0; L <= state_.LineCount; ++L) {
        auto* box = new QPushButton(this);
        box->setFixedSize(BoxSide, BoxSide);
        box->setFocusPolicy(Qt::NoFocus);
        connect(box, &QPushButton::clicked, this, [this, L] { chooseColour(L); });
        box->show();
        colourBoxes_[static_cast<size_t>(L)] = box;
        if (L == 0) continue;
        auto* bold = new QCheckBox(QStringLiteral("Bold line"), this);
        bold->setFixedSize(97, BoxSide);
        connect(bold, &QCheckBox::clicked, this, [this, L] {
            bool& thick = state_.LineThick[static_cast<size_t>(L)];
            thick = !thick;
            boldBoxes_[static_cast<size_t>(L)]->setChecked(thick);
            drawLines();
        });
        bold->show();
        boldBoxes_[static_cast<size_t>(L)] = bold;
    }
    startWindow(id, state_.Title, g.DefaultOverlayWidth, g.DefaultOverlayHeight, FirstWidthTwips, FirstHeightTwips,
                state_.LineCount);
    refreshColourBoxes();
    state_.Ready = true;
    Piirra();
}

void Overlayhistogram::placeControls(int pictureHeight) {
    HistogramSourcesWindow::placeControls(pictureHeight);
    for (int L = 1; L < static_cast<int>(colourBoxes_.size()); ++L) {
        const int row = pictureHeight + 25 * (L - 1);
        colourBoxes_[static_cast<size_t>(L)]->move(230, row + 5);
        boldBoxes_[static_cast<size_t>(L)]->move(275, row + 5);
    }
    if (!colourBoxes_.empty()) colourBoxes_[0]->move(250, pictureHeight + 5);
}

QPushButton* Overlayhistogram::colourBox(int line) const {
    return line >= 0 && line < static_cast<int>(colourBoxes_.size()) ? colourBoxes_[static_cast<size_t>(line)] : nullptr;
}

QCheckBox* Overlayhistogram::boldBox(int line) const {
    return line >= 1 && line < static_cast<int>(boldBoxes_.size()) ? boldBoxes_[static_cast<size_t>(line)] : nullptr;
}

void Overlayhistogram::rememberKindSize(int32_t widthTwips, int32_t heightTwips) {
    g.DefaultOverlayWidth = widthTwips;
    g.DefaultOverlayHeight = heightTwips;
}

void Overlayhistogram::Piirra() {
    if (g.SheetLoading) return;
    if (rebuildSelectors()) drawLines();
}

void Overlayhistogram::drawLines() {
    if (g.SheetLoading) return;
    OverlayAxis axis;
    std::vector<OverlayLine> lines;
    for (int L = 1; L <= state_.LineCount && L <= OverlayMaxStyledLine; ++L) {
        const int slot = state_.LineWindow[static_cast<size_t>(L)];
        if (slot <= 0) continue;
        if (!slotInUse(slot)) {
            // The source closed since the last rebuild: the picture stays
            // cleared until the next Piirra drops the line.
            clearPicture(state_.DarkBackground ? Qt::black : Qt::white);
            return;
        }
        // A slot holding another kind, or a histogram that has never
        // counted, gives this line nothing to draw.
        const Histogram* source = sourceWindow(slot);
        if (!source) continue;
        if (L == 1) {
            axis.title = source->LahetaNimi();
            axis.isLog = source->LahetaLog();
            axis.range = source->LahetaMax();
            axis.channel = source->LahetaKanavaID();
        }
        lines.push_back({L, source->LahetaHistogram(), source->LahetaScale()});
    }
    RenderOverlay(picture_, state_, axis, lines);
    update();
    refreshColourBoxes();
    if (state_.OnPrintPage && printPreviewShown()) redrawPrintPage();
    if (MainServices* services = mainServices()) services->TalletaNakyma(QStringLiteral("Autosave"));
}

void Overlayhistogram::refreshColourBoxes() {
    if (colourBoxes_.empty()) return;
    paintBox(colourBoxes_[0], state_.FillRed, state_.FillGreen, state_.FillBlue);
    for (int L = 1; L < static_cast<int>(colourBoxes_.size()); ++L) {
        const auto& c = state_.LineColor[static_cast<size_t>(L)];
        paintBox(colourBoxes_[static_cast<size_t>(L)], c[0], c[1], c[2]);
    }
}

void Overlayhistogram::chooseColour(int line) {
    const bool fill = line == 0;
    auto& c = state_.LineColor[static_cast<size_t>(line)];
    const QColor before = fill ? QColor(state_.FillRed, state_.FillGreen, state_.FillBlue) : QColor(c[0], c[1], c[2]);
    const QColor chosen = dialogs().chooseColour(before).value_or(before);
    const auto r = static_cast<uint8_t>(chosen.red()), gr = static_cast<uint8_t>(chosen.green()),
               b = static_cast<uint8_t>(chosen.blue());
    if (fill) {
        state_.FillRed = r;
        state_.FillGreen = gr;
        state_.FillBlue = b;
    } else {
        c = {r, gr, b};
    }
    Piirra();
}

void Overlayhistogram::AsetaPreviewissa(bool flag) {
    state_.OnPrintPage = flag;
    state_.setCaption(OverlayMenuPrintPreview, flag ? "Don't show in print preview page" : "Show in print preview page");
    if (flag) Piirra();
    else redrawPrintPage();
}

QStringList Overlayhistogram::popupCaptions() const {
    QStringList captions;
    for (int k = 1; k <= state_.MenuCount; ++k) captions << QString::fromLatin1(state_.caption(k));
    return captions;
}

void Overlayhistogram::MenuValintaReaktio(int index) {
    switch (index) {
    case OverlayMenuCopy: CopyToClipboard(); break;
    case OverlayMenuSaveBmp: SavePictureAs(picture_); break;
    case OverlayMenuRegionLines:
        state_.ShowRegionLines = !state_.ShowRegionLines;
        state_.setCaption(OverlayMenuRegionLines, state_.ShowRegionLines ? "Hide marker lines" : "Show marker lines");
        Piirra();
        break;
    case OverlayMenuInvertBackground:
        state_.DarkBackground = !state_.DarkBackground;
        Piirra();
        break;
    case OverlayMenuPrintPreview: AsetaPreviewissa(!state_.OnPrintPage); break;
    default: break;  // the separator and numbers outside the menu
    }
}

std::vector<std::string> Overlayhistogram::SaveInfo() { return OverlaySettingsLines(state_, FrameTwipsOf(*outer())); }

void Overlayhistogram::LoadInfo(const std::string& line) {
    const WindowSettingRequest req = ApplyOverlaySettingLine(state_, line);
    if (ApplyPlaceRequest(*outer(), req)) return;
    if (req.kind == WindowSettingRequest::Kind::Preview) AsetaPreviewissa(req.flag);
}

}  // namespace qv
