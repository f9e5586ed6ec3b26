#include "output/Statistics.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

#include "app/Dialogs.h"
#include "app/MainServices.h"
#include "app/PlotWindow.h"
#include "app/PopupMenuItems.h"
#include "app/WindowDisposal.h"
#include "app/WorkspacePlacement.h"
#include "app/model/FileSystemText.h"
#include "app/model/ToolTipText.h"
#include "core/SharedState.h"

namespace qv {

namespace {

StatisticsWindowShower& shower() {
    static StatisticsWindowShower s;
    return s;
}

std::function<void()>& printPageRedrawer() {
    static std::function<void()> r;
    return r;
}

int toPixels(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel)); }

// Sets CopyingStatistics for the length of a copy, whatever way the copy ends.
class CopyingFlag {
public:
    CopyingFlag() { g.CopyingStatistics = true; }
    ~CopyingFlag() { g.CopyingStatistics = false; }
    CopyingFlag(const CopyingFlag&) = delete;
    CopyingFlag& operator=(const CopyingFlag&) = delete;
};

}  // namespace

void setStatisticsWindowShower(StatisticsWindowShower s) { shower() = std::move(s); }

void showStatisticsWindow(Statistics& window) {
    if (shower()) shower()(window);
    else window.show();
    // A frame around the window (a workspace sub-window) closes the window
    // with it: its close is seen here too.
    if (QWidget* parent = window.parentWidget(); qobject_cast<QMdiSubWindow*>(parent))
        parent->installEventFilter(&window);
}

void setPrintPageRedrawer(std::function<void()> redraw) { printPageRedrawer() = std::move(redraw); }

void redrawPrintPage() {
    if (printPageRedrawer()) printPageRedrawer()();
}

Statistics::Statistics(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Statistics"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    setFont(font);

    table_ = new QTableWidget(this);
    table_->setFont(font);
    table_->horizontalHeader()->hide();
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setFocusPolicy(Qt::NoFocus);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setWordWrap(false);
    // No frame of its own: the cells fill the window to its edges.
    table_->setFrameShape(QFrame::NoFrame);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    // Movement over the grid counts as movement over the workspace (the
    // populations panel narrows), also without a button held.
    table_->setMouseTracking(true);
    table_->viewport()->setMouseTracking(true);
    table_->move(0, 0);
    connect(table_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { openPopup(table_->viewport()->mapToGlobal(pos)); });

    // The grid's standard sizes follow its font; the owners read them before
    // they size the grid.
    const QFontMetrics fm(font);
    const int columnPixels = std::max(64, fm.horizontalAdvance(QStringLiteral("X geomean")) + 16);
    const int rowPixels = fm.height() + 4;
    grid_.setStandardSizes(columnPixels * TwipsPerPixel, rowPixels * TwipsPerPixel);
    showGrid();
}

Statistics::~Statistics() = default;

void Statistics::Alusta(int ownerId) {
    id_ = ownerId;
    std::string type;
    if (ownerId >= 0 && static_cast<size_t>(ownerId) < g.WindowRegistry.size())
        type = g.WindowRegistry[static_cast<size_t>(ownerId)].Type;
    entries_.build(type);
}

PlotWindow* Statistics::owner() const {
    if (id_ < 1 || static_cast<size_t>(id_) >= g.WindowRegistry.size()) return nullptr;
    const WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(id_)];
    return rec.InUse ? rec.Form : nullptr;
}

QWidget* Statistics::frame() const {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    return const_cast<Statistics*>(this);
}

void Statistics::refreshOwner() {
    if (PlotWindow* o = owner()) {
        o->PaivitaStatistiikka();
        o->AsetaStatKuva(gridPicture());
    }
    redrawPrintPage();
}

void Statistics::StatistiikkaMenuValintaReaktio(int index) {
    const int n = entries_.count();
    if (index < 0 || index > n) return;
    if (index == 0) {
        CopyToClipboard();
        refreshOwner();
        return;
    }
    if (index == entries_.previewEntry()) {
        if (PlotWindow* o = owner()) o->AsetaStatPreviewissa(!o->OnkoStatPreviewissa());
        if (MainServices* services = mainServices()) services->PiirraKaikki();
        return;
    }
    entries_.toggle(index);
    refreshOwner();
}

void Statistics::CopyToClipboard() {
    std::string text;
    {
        CopyingFlag copying;
        if (PlotWindow* o = owner()) o->PaivitaStatistiikka();
        text = StatisticsGridText(grid_);
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    if (PlotWindow* o = owner()) o->PaivitaStatistiikka();
}

std::string Statistics::AnnaKokoStatistiikka(const std::string& mode) const {
    return StatisticsText(grid_, id_, entries_.infoRowsShown(), mode);
}

void Statistics::showGrid() {
    const int rows = grid_.Rows();
    const int cols = grid_.Cols();
    table_->setUpdatesEnabled(false);
    table_->clearSpans();
    table_->setRowCount(rows);
    table_->setColumnCount(cols);
    const int header = entries_.infoRowsShown();
    const QBrush fixedCell = palette().brush(QPalette::Button);
    const QBrush plainCell = palette().brush(QPalette::Base);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            QTableWidgetItem* item = table_->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                table_->setItem(r, c, item);
            }
            const std::string text = grid_.text(r, c);
            item->setText(grid_.rowHoldsFileName(r) ? shownFileSystemText(text)
                                                    : QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
            // The label column and the rows up to the header look fixed.
            item->setBackground(c == 0 || r <= header ? fixedCell : plainCell);
        }
        table_->setRowHeight(r, std::max(1, toPixels(grid_.rowHeight(r))));
        for (const auto& [first, last] : grid_.mergedRuns(r)) table_->setSpan(r, first, 1, last - first + 1);
    }
    for (int c = 0; c < cols; ++c) table_->setColumnWidth(c, std::max(1, toPixels(grid_.colWidth(c))));
    giveCutTextsTheirTooltips();
    table_->setUpdatesEnabled(true);

    // Once the owner has sized the grid, the window's inside holds exactly
    // its columns and rows. The owner's size (its extra 100 and 380 twips)
    // stands for the frame's borders and title bar around them, not for an
    // empty band inside the window or on the picture for the print page.
    if (grid_.width() > 0 && grid_.height() > 0) {
        int width = 0, height = 0;
        for (int c = 0; c < cols; ++c) width += table_->columnWidth(c);
        for (int r = 0; r < rows; ++r) height += table_->rowHeight(r);
        const QSize size(std::max(1, width), std::max(1, height));
        table_->resize(size);
        QWidget* f = frame();
        if (f != this) {
            // The frame keeps its border and title around the new size.
            const QSize border = f->size() - this->size();
            resize(size);
            f->resize(size + border);
        } else {
            resize(size);
        }
    }
}

void Statistics::giveCutTextsTheirTooltips() {
    // The column widths are the grid's own (the label column's among
    // them), so a text wider than its cell shows whole in its tooltip.
    const int padding = 2 * (table_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table_) + 1);
    const QFontMetrics metrics(table_->font());
    for (int r = 0; r < table_->rowCount(); ++r) {
        for (int c = 0; c < table_->columnCount(); ++c) {
            QTableWidgetItem* item = table_->item(r, c);
            if (!item) continue;
            int width = 0;
            for (int k = c; k < c + table_->columnSpan(r, c) && k < table_->columnCount(); ++k)
                width += table_->columnWidth(k);
            const QString text = item->text();
            item->setToolTip(CutTextToolTip(text, metrics, width - padding));
        }
    }
}

QImage Statistics::gridPicture() const {
    // Painted straight into an image (no pixmap and conversion on the way).
    QImage picture(table_->size(), QImage::Format_RGB32);
    picture.fill(palette().color(QPalette::Window));
    table_->render(&picture);
    return picture;
}

float Statistics::Left() const { return static_cast<float>(savedPlaceOf(*frame()).x() * TwipsPerPixel); }
float Statistics::Top() const { return static_cast<float>(savedPlaceOf(*frame()).y() * TwipsPerPixel); }

void Statistics::setLeft(double twips) { setPlaceFromTwips(*frame(), WindowEdge::Left, twips); }

void Statistics::setTop(double twips) { setPlaceFromTwips(*frame(), WindowEdge::Top, twips); }

void Statistics::openPopup(const QPoint& globalPos) {
    if (PlotWindow* o = owner()) entries_.setPreviewCaption(o->OnkoStatPreviewissa());
    QStringList captions;
    QList<int> ticks;
    for (int k = 1; k <= entries_.count(); ++k) {
        const StatisticsMenuEntry& e = entries_.entry(k);
        captions << QString::fromLatin1(e.Caption.c_str());
        ticks << (e.Caption == "-" ? -1 : (entries_.visible(k) ? 1 : 0));
    }

    // The main window's statistics menu, which autosaves once we have acted.
    if (MainServices* services = mainServices()) {
        const int index = services->showStatisticsPopup(id_, captions, globalPos, ticks);
        if (index >= 0) StatistiikkaMenuValintaReaktio(index);
        return;
    }
    // A lone statistics window, with no main window around it, runs the same
    // menu itself.
    QMenu menu;
    menu.addAction(QStringLiteral("Copy to clipboard"))->setData(0);
    addNumberedMenuItems(menu, captions, 1, ticks);
    g.StatisticsMenuCount = static_cast<int16_t>(captions.size());
    g.PopupOwner = static_cast<int16_t>(id_);
    QAction* chosen = dialogs().execMenu(menu, globalPos);
    if (chosen) StatistiikkaMenuValintaReaktio(chosen->data().toInt());  // dismissed: nothing changes
}

void Statistics::ownerClosedByUser() {
    if (ownerNotified_ || unloaded_) return;
    ownerNotified_ = true;
    if (g.ProgramClosing) return;
    if (PlotWindow* o = owner()) o->UnloadStatistics();
}

void Statistics::closeEvent(QCloseEvent* event) {
    // The close is never cancelled. An owner unloads the window; without
    // one (or at shutdown) the window goes by itself.
    ownerClosedByUser();
    if (!unloaded_) unload();
    event->accept();
}

bool Statistics::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Close) {
        ownerClosedByUser();
        if (!unloaded_) unload();
    }
    return QWidget::eventFilter(watched, event);
}

void Statistics::unload() {
    if (unloaded_) return;
    unloaded_ = true;
    deleteWhenIdle(frame());
}

}  // namespace qv
