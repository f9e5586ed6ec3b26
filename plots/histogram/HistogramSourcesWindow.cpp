#include "plots/histogram/HistogramSourcesWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "app/FilePlotWindow.h"
#include "app/MainServices.h"
#include "app/WindowDisposal.h"
#include "app/WindowRegistry.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"
#include "plots/histogram/Histogram.h"

namespace qv {

namespace {

constexpr int SelectorLeft = 3;
constexpr int SelectorWidth = 217;
constexpr int RowHeight = 25;

}  // namespace

HistogramSourcesWindow::HistogramSourcesWindow(QWidget* parent) : PlotWindow(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

HistogramSourcesWindow::~HistogramSourcesWindow() = default;

QWidget* HistogramSourcesWindow::outer() { return OuterWindowOf(this); }

void HistogramSourcesWindow::startWindow(int id, const std::string& title, int32_t rememberedWidth,
                                         int32_t rememberedHeight, int32_t firstWidth, int32_t firstHeight,
                                         int lines) {
    id_ = static_cast<int16_t>(id);
    setWindowTitle(Latin1Text(title));
    if (id >= 1 && id < static_cast<int>(g.WindowRegistry.size()))
        g.WindowRegistry[static_cast<size_t>(id)].ShowsFile = false;
    ResizeToStartSize(*outer(), rememberedWidth, rememberedHeight, firstWidth, firstHeight);
    fitPicture();

    for (QComboBox* c : selectors_) delete c;
    selectors_.assign(static_cast<size_t>(lines) + 1, nullptr);
    for (int L = 1; L <= lines; ++L) {
        auto* box = new QComboBox(this);
        box->setFixedWidth(SelectorWidth);
        box->addItem(QStringLiteral("None"));
        box->setCurrentIndex(0);
        // Only the user's choice counts; the rebuild sets its selection quietly.
        connect(box, &QComboBox::activated, this, [this, L] { selectorChosen(L); });
        box->show();
        selectors_[static_cast<size_t>(L)] = box;
    }
    placeControls(picture_.height());
}

QComboBox* HistogramSourcesWindow::selector(int line) const {
    if (line < 1 || line >= static_cast<int>(selectors_.size())) return nullptr;
    return selectors_[static_cast<size_t>(line)];
}

void HistogramSourcesWindow::placeControls(int pictureHeight) {
    for (int L = 1; L < static_cast<int>(selectors_.size()); ++L)
        selectors_[static_cast<size_t>(L)]->move(SelectorLeft, pictureHeight + RowHeight * (L - 1) + 3);
}

bool HistogramSourcesWindow::rebuildSelectors() {
    const std::vector<SourceChoice> choices = HistogramSourceChoices();
    SourceLineWindows& windows = lineWindows();
    bool any = false;
    for (int L = 1; L <= lineCount() && L < static_cast<int>(selectors_.size()); ++L) {
        QComboBox* box = selectors_[static_cast<size_t>(L)];
        const QSignalBlocker quiet(box);
        box->clear();
        box->addItem(QStringLiteral("None"));
        for (const SourceChoice& c : choices) box->addItem(Latin1Text(c.text));
        box->setCurrentIndex(KeepSourceLine(windows[static_cast<size_t>(L)], choices));
        any = any || windows[static_cast<size_t>(L)] > 0;
    }
    return any;
}

void HistogramSourcesWindow::selectorChosen(int line) {
    if (!ready()) return;
    QComboBox* box = selector(line);
    if (!box) return;
    lineWindows()[static_cast<size_t>(line)] = SourceOfChoiceText(box->currentText().toStdString());
    drawLines();
}

void HistogramSourcesWindow::AsetaHistogram(int line, int window) {
    if (window < std::numeric_limits<int16_t>::min() || window > std::numeric_limits<int16_t>::max())
        throw WindowOperationError("Overflow");
    if (line < 0 || line > MaxSourceLineIndex) throw WindowOperationError("Subscript out of range");
    lineWindows()[static_cast<size_t>(line)] = static_cast<int16_t>(window);
    Piirra();
}

bool HistogramSourcesWindow::slotInUse(int slot) {
    return slot >= 1 && slot < static_cast<int>(g.WindowRegistry.size()) &&
           g.WindowRegistry[static_cast<size_t>(slot)].InUse;
}

bool HistogramSourcesWindow::holdsHistogramWindow(int slot) {
    return slotInUse(slot) && g.WindowRegistry[static_cast<size_t>(slot)].Type == "Histogram";
}

Histogram* HistogramSourcesWindow::sourceWindow(int slot) {
    if (!holdsHistogramWindow(slot)) return nullptr;
    auto* h = dynamic_cast<Histogram*>(g.WindowRegistry[static_cast<size_t>(slot)].Form);
    return h && h->LahetaHistogram().size() >= 2 ? h : nullptr;
}

void HistogramSourcesWindow::clearPicture(const QColor& colour) {
    picture_.fill(colour);
    update();
}

void HistogramSourcesWindow::fitPicture() {
    const int band = controlBandHeight();
    const int w = width() > 0 ? width() : std::max(1, picture_.width());
    const int h = height() > band ? height() - band : std::max(1, picture_.height());
    if (picture_.width() == w && picture_.height() == h) return;
    picture_ = QImage(w, h, QImage::Format_RGB32);
    picture_.fill(Qt::white);
}

void HistogramSourcesWindow::CopyToClipboard() { CopyPictureToClipboard(picture_); }

void HistogramSourcesWindow::UnloadWindow() {
    if (id_ >= 1 && id_ < static_cast<int>(g.WindowRegistry.size()) &&
        g.WindowRegistry[static_cast<size_t>(id_)].Form == this)
        releaseWindowSlot(id_);
    discardWindow(*this);
}

void HistogramSourcesWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (!picture_.isNull()) p.drawImage(0, 0, picture_);
}

void HistogramSourcesWindow::resizeEvent(QResizeEvent* event) {
    PlotWindow::resizeEvent(event);
    if (!ready()) return;
    fitPicture();
    placeControls(picture_.height());
    // Only a resize by the user is remembered for the next window of the kind.
    if (event->oldSize().isValid()) {
        const QWidget* o = outer();
        rememberKindSize(o->width() * TwipsPerPixel, o->height() * TwipsPerPixel);
    }
    drawLines();
}

void HistogramSourcesWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) return;
    if (MainServices* services = mainServices())
        services->showWindowPopup(id_, popupCaptions(), event->globalPosition().toPoint(), false);
}

void HistogramSourcesWindow::closeEvent(QCloseEvent* event) {
    UnloadWindow();
    event->accept();
}

}  // namespace qv
