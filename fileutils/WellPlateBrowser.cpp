#include "fileutils/WellPlateBrowser.h"

#include <QFile>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>

#include "app/PopulationPanel.h"
#include "app/model/FolderListing.h"
#include "app/model/WaitCursor.h"
#include "fileutils/FolderTree.h"

namespace qv {
namespace {

constexpr int WellSizeTwips = 400;
constexpr int FolderListTwips = 2400;
const QColor EmptyWellFill(200, 200, 200);
const QColor FullWellFill(50, 50, 50);
const QColor FullWellText(200, 200, 200);

}  // namespace

// ---- the plate ----

WellPlateView::WellPlateView(QWidget* parent) : QWidget(parent) {
    setFixedSize(PlateColumns * wellPixels(), PlateRows * wellPixels());
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

int WellPlateView::wellPixels() { return twipsToPixels(WellSizeTwips); }

void WellPlateView::setFullWells(const WellFiles& files) {
    files_ = files;
    update();
}

int WellPlateView::wellAt(const QPoint& pos) const {
    if (pos.x() < 0 || pos.y() < 0) return 0;
    const int column = pos.x() / wellPixels() + 1;
    const int row = pos.y() / wellPixels() + 1;
    if (column > PlateColumns || row > PlateRows) return 0;
    return WellNumber(row, column);
}

QPoint WellPlateView::wellCentre(int well) const {
    const int size = wellPixels();
    return {(WellColumn(well) - 1) * size + size / 2, (WellRow(well) - 1) * size + size / 2};
}

namespace {

// Whether a label's ink, centred in the well, lies inside the circle's outline.
bool insideCircle(const QRectF& ink, double radius) {
    const double halfWidth = ink.width() / 2 + 0.5, halfHeight = ink.height() / 2 + 0.5;
    const double room = radius - 1.5;  // within the outline's pen
    return halfWidth * halfWidth + halfHeight * halfHeight <= room * room;
}

}  // namespace

double WellPlateView::wellRadius() { return wellPixels() / 2.5; }

QFont WellPlateView::labelFont() const {
    if (labelFontFor_ && labelFontFor_->first == font()) return labelFontFor_->second;
    QFont labels = font();
    // The largest size at which every label, A10 to H12 too, fits inside its circle.
    int pixels = std::max(6, wellPixels() / 2);
    for (; pixels > 4; --pixels) {
        labels.setPixelSize(pixels);
        const QFontMetricsF metrics(labels);
        bool fits = true;
        for (int w = 1; w <= PlateWells && fits; ++w)
            fits = insideCircle(metrics.tightBoundingRect(QString::fromStdString(WellLabel(w))), wellRadius());
        if (fits) break;
    }
    labels.setPixelSize(pixels);
    labelFontFor_.emplace(font(), labels);
    return labels;
}

QRectF WellPlateView::labelRect(int well) const {
    const QFontMetricsF metrics(labelFont());
    const QRectF ink = metrics.tightBoundingRect(QString::fromStdString(WellLabel(well)));
    QRectF placed(QPointF(0, 0), ink.size());
    placed.moveCenter(QPointF(wellCentre(well)) + QPointF(wellPixels() % 2 / 2.0, wellPixels() % 2 / 2.0));
    return placed;
}

void WellPlateView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFont labels = labelFont();
    painter.setFont(labels);
    const QFontMetricsF metrics(labels);
    const double size = wellPixels();
    const double radius = wellRadius();
    for (int w = 1; w <= PlateWells; ++w) {
        const QPointF origin((WellColumn(w) - 1) * size, (WellRow(w) - 1) * size);
        const QPointF centre = origin + QPointF(size / 2, size / 2);
        const bool full = isFull(w);
        painter.setPen(Qt::black);
        painter.setBrush(full ? FullWellFill : EmptyWellFill);
        painter.drawEllipse(centre, radius, radius);
        // The label's ink centred in the circle, so the longer labels fit too.
        painter.setPen(full ? FullWellText : QColor(Qt::black));
        const QString label = QString::fromStdString(WellLabel(w));
        const QRectF ink = metrics.tightBoundingRect(label);
        painter.drawText(centre - ink.center(), label);
    }
}

void WellPlateView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (const int well = wellAt(event->position().toPoint())) emit wellDoubleClicked(well);
}

// ---- the browser ----

WellPlateBrowser::WellPlateBrowser(QWidget* parent) : UtilityWindow(parent) {
    setWindowTitle(QStringLiteral("Well plate browser"));
    dir1_ = new FolderTree(this);
    dir1_->setFixedWidth(twipsToPixels(FolderListTwips) - 6);
    plate_ = new WellPlateView(this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(dir1_);
    layout->addWidget(plate_, 0, Qt::AlignTop);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    resize(twipsToPixels(PlateColumns * WellSizeTwips + 2500), twipsToPixels(PlateRows * WellSizeTwips + 500));
    connect(dir1_, &FolderTree::folderChanged, this, &WellPlateBrowser::scanFolder);
    connect(plate_, &WellPlateView::wellDoubleClicked, this, &WellPlateBrowser::loadWell);
    // The folder is scanned when the window is shown, not while it waits hidden.
    watchMouseMoves();
}

void WellPlateBrowser::listFolder() { scanFolder(dir1_->folder()); }

void WellPlateBrowser::scanFolder(const QString& folder) {
    WaitCursor wait;
    const std::string path = QFile::encodeName(folder).toStdString();
    wellFile_ = AssignWells(path, ListFolderFiles(path));
    plate_->setFullWells(wellFile_);
}

void WellPlateBrowser::loadWell(int well) {
    if (well < 1 || well > PlateWells || WellFile(well).empty()) return;
    LoadIntoSelectedWindows(WellFile(well));
}

}  // namespace qv
