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

void WellPlateView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(std::max(6, wellPixels() / 3));
    painter.setFont(font);
    const double size = wellPixels();
    const double radius = size / 2.5;
    for (int w = 1; w <= PlateWells; ++w) {
        const QPointF origin((WellColumn(w) - 1) * size, (WellRow(w) - 1) * size);
        const bool full = isFull(w);
        painter.setPen(Qt::black);
        painter.setBrush(full ? FullWellFill : EmptyWellFill);
        painter.drawEllipse(origin + QPointF(size / 2, size / 2), radius, radius);
        // The label's top left at a quarter of the well.
        painter.setPen(full ? FullWellText : QColor(Qt::black));
        const QRectF labelBox(origin + QPointF(size / 4, size / 4), QSizeF(size, size));
        painter.drawText(labelBox, Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(WellLabel(w)));
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
    watchMouseMoves();
    scanFolder(dir1_->folder());
}

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
