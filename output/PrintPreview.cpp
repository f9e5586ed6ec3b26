#include "output/PrintPreview.h"

#include <QBuffer>
#include <QFile>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QResizeEvent>

#include <cmath>

#include "app/Dialogs.h"
#include "app/PlotWindow.h"
#include "app/WindowRegistry.h"
#include "app/WorkspacePlacement.h"
#include "core/AtomicFile.h"
#include "core/SharedState.h"
#include "core/picture/WindowPicture.h"
#include "output/Statistics.h"

namespace qv {

namespace {

constexpr int kLoadWidthTwips = 5000;

PrintPreview*& thePage() {
    static PrintPreview* page = nullptr;
    return page;
}

int lastWindowSlot() { return std::min<int>(g.MaxWindows, static_cast<int>(g.WindowRegistry.size()) - 1); }

// The kinds whose statistics box the page shows.
bool hasStatisticsBox(const std::string& type) {
    return type == "Histogram" || type == "DotPlot" || type == "Histogram Modeller" || type == "BendPlot";
}

// The page asks windows by member name; a window lacking the member is
// taken as not on the page.
bool onPage(const PlotWindow& w) {
    try {
        return w.OnkoPreviewissa();
    } catch (const MissingMemberError&) {
        return false;
    }
}

bool statOnPage(const PlotWindow& w) {
    try {
        return w.OnkoStatistiikkaKaytossa() && w.OnkoStatPreviewissa();
    } catch (const MissingMemberError&) {
        return false;
    }
}

// The IDs of the windows whose picture, and of those whose statistics box,
// is on the page; `savedBoxesOnly` leaves out the bending plot's box, which
// the page shows but does not save.
void itemsOnPage(std::vector<int>& windows, std::vector<int>& stats, bool savedBoxesOnly) {
    for (int id = 1; id <= lastWindowSlot(); ++id) {
        const WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(id)];
        if (!rec.InUse || !rec.Form) continue;
        if (onPage(*rec.Form)) windows.push_back(id);
        if (hasStatisticsBox(rec.Type) && !(savedBoxesOnly && rec.Type == "BendPlot") && statOnPage(*rec.Form))
            stats.push_back(id);
    }
}

// Gives the page picture back its on-screen size and repaints it, whichever
// way printing ends.
class OnScreenSize {
public:
    OnScreenSize(PrintPreview& page) : page_(page), size_(page.Kuva().size()) {}
    ~OnScreenSize() {
        page_.setPictureSize(size_);
        page_.Piirra();
    }
    OnScreenSize(const OnScreenSize&) = delete;
    OnScreenSize& operator=(const OnScreenSize&) = delete;

private:
    PrintPreview& page_;
    QSize size_;
};

}  // namespace

PrintPreview* printPreview() { return thePage(); }

bool printPreviewShown() {
    PrintPreview* page = thePage();
    return page && !page->outerWidget()->isHidden();
}

PrintPreview::PrintPreview(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setWindowTitle(QStringLiteral("Print preview window (A4)"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    const int w = TwipsToPixels(kLoadWidthTwips);
    resize(w, static_cast<int>(std::lround(PageHeightFor(w))));
    g.PageWidthBase = 750;
    page_ = QImage(size(), QImage::Format_RGB32);
    page_.fill(Qt::white);
    layout_ = PrintPageLayout{};
    pageLoaded_ = true;
    thePage() = this;
    setPrintPageRedrawer([this] { Piirra(); });
}

PrintPreview::~PrintPreview() {
    if (thePage() == this) {
        thePage() = nullptr;
        setPrintPageRedrawer({});
    }
}

QWidget* PrintPreview::outerWidget() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    return this;
}

double PrintPreview::scale() const { return PrintPageLayout::scaleFor(page_.width(), g.PageWidthBase); }

void PrintPreview::setPictureSize(QSize size) {
    size = size.expandedTo(QSize(1, 1));
    if (page_.size() == size) return;
    page_ = QImage(size, QImage::Format_RGB32);
    page_.fill(Qt::white);
}

void PrintPreview::Piirra() {
    if (g.SheetLoading || !pageLoaded_) return;
    std::vector<int> windowIds, statIds;
    itemsOnPage(windowIds, statIds, false);
    std::vector<PageItem> windows, stats;
    for (int id : windowIds) windows.push_back({id, g.WindowRegistry[static_cast<size_t>(id)].Form->Kuva()});
    for (int id : statIds) stats.push_back({id, g.WindowRegistry[static_cast<size_t>(id)].Form->StatKuva()});
    layout_.paint(page_, windows, stats, g.PageWidthBase);
    update();
}

// ---------------------------------------------------------------- window

void PrintPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Beside the page, where a maximised window is wider than it.
    p.fillRect(rect(), Qt::gray);
    p.drawImage(0, 0, page_);
    if (outline_) DrawBoxOutline(p, *outline_, Qt::black);
}

namespace {

bool takesTheWindowManagersSize(const QWidget& outer) {
    return outer.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
}

}  // namespace

void PrintPreview::keepA4() {
    QWidget* outer = outerWidget();
    if (resizing_ || takesTheWindowManagersSize(*outer)) return;
    // The page's height follows its width, within the screen: where the
    // screen's height is the limit, the width follows from the height.
    const QSize page = PageSizeWithin(outer->width(), largestClientSizeOnScreen(*outer));
    if (outer->size() == page) return;
    resizing_ = true;
    outer->resize(page);
    // Grown to the screen's height, it may now reach below it.
    if (outer->isVisible()) keepOnScreen(*outer);
    resizing_ = false;
}

void PrintPreview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    keepA4();
    // Maximised, the window is the window manager's size and the page the
    // largest A4 page inside it, at its top left as always.
    setPictureSize(takesTheWindowManagersSize(*outerWidget()) ? PageSizeWithin(width(), size()) : size());
    Piirra();
}

void PrintPreview::mousePressEvent(QMouseEvent* event) {
    if (!pageLoaded_) return;
    page_.fill(Qt::white);
    outline_.reset();
    if (layout_.press(event->position(), scale(), g.MaxWindows))
        Piirra();  // the page without the grabbed item
    else
        update();  // stays cleared until the release
}

void PrintPreview::mouseMoveEvent(QMouseEvent* event) {
    if (mouseMoved_) mouseMoved_();
    if (!pageLoaded_ || !layout_.dragging()) return;
    outline_ = layout_.drag(event->position(), scale());
    update();
}

void PrintPreview::mouseReleaseEvent(QMouseEvent*) {
    layout_.release();
    outline_.reset();
    Piirra();
}

// ---------------------------------------------------------------- settings lines

std::vector<std::string> PrintPreview::SaveInfo() {
    const QRect place = savedPlaceOf(*outerWidget());
    PageFrame frame;
    frame.left = place.x() * TwipsPerPixel;
    frame.top = place.y() * TwipsPerPixel;
    frame.width = place.width() * TwipsPerPixel;
    frame.height = place.height() * TwipsPerPixel;
    std::vector<int> windowIds, statIds;
    itemsOnPage(windowIds, statIds, true);
    return PrintPageSettingsLines(layout_, frame, windowIds, statIds);
}

void PrintPreview::LoadInfo(const std::string& line) {
    const PrintPageLine req = ParsePrintPageLine(line);
    using Kind = PrintPageLine::Kind;
    QWidget* outer = outerWidget();
    switch (req.kind) {
    case Kind::None: return;
    case Kind::Left: setPlaceFromTwips(*outer, WindowEdge::Left, req.value); return;
    case Kind::Top: setPlaceFromTwips(*outer, WindowEdge::Top, req.value); return;
    case Kind::Width: setPlaceFromTwips(*outer, WindowEdge::Width, req.value); return;
    case Kind::Height: setPlaceFromTwips(*outer, WindowEdge::Height, req.value); return;
    case Kind::Window:
    case Kind::Stat: break;
    }
    // Only a window in use that has a page picture (or, for a box, its
    // statistics) takes a place on the page.
    if (req.id < 1 || req.id > lastWindowSlot() || req.id >= PagePlacementSlots) return;
    const WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(req.id)];
    if (!rec.InUse || !rec.Form) return;
    const bool box = req.kind == Kind::Stat;
    if (box && !hasStatisticsBox(rec.Type)) return;
    try {
        if (box)
            rec.Form->AsetaStatPreviewissa(true);
        else
            rec.Form->AsetaPreviewissa(true);
    } catch (const MissingMemberError&) {
        return;
    }
    auto& placements = box ? layout_.StatPlacement : layout_.WindowPlacement;
    ApplyPlacementValue(placements[static_cast<size_t>(req.id)], req.field, req.value);
}

// ---------------------------------------------------------------- printing

void PrintPreview::Printtaa() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    if (!ChoosePrinter(printer)) return;
    PrintOn(printer);
}

bool PrintPreview::PrintOn(QPrinter& printer) {
    OnScreenSize restore(*this);
    // The page is painted as large as it lands on the paper, at the
    // printer's resolution, so that nothing is enlarged a second time and
    // blurred; the layout is the same at any scale.
    setPictureSize(PrintedPagePixels(printer.pageLayout().paintRectPixels(printer.resolution()).size(),
                                     printer.resolution()));
    Piirra();
    return printImage(page_, printer);
}

bool PrintPreview::printImage(const QImage& image, QPrinter& printer) {
    auto paintOn = [&image](QPainter& painter, const QRectF& printable) {
        // Lossless: a PDF would otherwise hold the page as a JPEG.
        painter.setRenderHint(QPainter::LosslessImageRendering);
        painter.drawImage(PrintedPageRect(printable), image);
    };
    const QString pdfPath = PrintFileName(printer);
    if (pdfPath.isEmpty()) {
        // A printer that fails simply ends the command.
        QPainter painter;
        if (!painter.begin(&printer)) return false;
        paintOn(painter, QRectF(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size()));
        return painter.end();
    }
    // A PDF is a file written for the user: made in memory, then written
    // as every file is, the old one kept when the new one cannot be written.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    bool written = buffer.open(QIODevice::WriteOnly);
    if (written) {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Quorvane"));
        writer.setPageLayout(printer.pageLayout());
        writer.setResolution(printer.resolution());
        QPainter painter;
        written = painter.begin(&writer);
        if (written) {
            paintOn(painter, QRectF(QPointF(0, 0), writer.pageLayout().paintRectPixels(writer.resolution()).size()));
            written = painter.end();
        }
    }
    buffer.close();
    if (!written) {
        showSaveError(pdfPath, "The page could not be made");
        return false;
    }
    int error = 0;
    const FileWriteResult result =
        WriteFileAtomically(QFile::encodeName(pdfPath).toStdString(),
                            std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), true, &error);
    if (result != FileWriteResult::Ok) showSaveError(pdfPath, FileWriteReason(result, error));
    return result == FileWriteResult::Ok;
}

}  // namespace qv
