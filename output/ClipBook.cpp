#include "output/ClipBook.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>

#include "app/Dialogs.h"
#include "app/MainServices.h"
#include "app/WindowRegistry.h"
#include "app/WorkspacePlacement.h"
#include "core/SharedState.h"
#include "core/picture/WindowPicture.h"
#include "output/PrintPreview.h"
#include "output/Statistics.h"

namespace qv {

namespace {

constexpr int kSizeTwips = 4000;

enum MenuItem { MenuPaste = 1, MenuDelete = 2, MenuCopy = 4, MenuSave = 5, MenuPrintPage = 7 };

}  // namespace

void registerClipBookKind() {
    registerWindowKind("ClipBook", [] { return new ClipBook(); });
}

ClipBook::ClipBook(QWidget* parent) : PlotWindow(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

ClipBook::~ClipBook() = default;

QWidget* ClipBook::outerWidget() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    return this;
}

void ClipBook::fitPictureToClient() {
    const int w = width() > 0 ? width() : std::max(1, page_.width());
    const int h = height() > 0 ? height() : std::max(1, page_.height());
    if (page_.width() == w && page_.height() == h) return;
    page_ = QImage(w, h, QImage::Format_RGB32);
    page_.fill(Qt::white);
}

void ClipBook::Alusta(int id) {
    id_ = id;
    title_ = QStringLiteral("(%1): ClipBook").arg(id);
    setWindowTitle(title_);
    if (id >= 1 && id < static_cast<int>(g.WindowRegistry.size())) {
        WindowRecord& r = g.WindowRegistry[static_cast<size_t>(id)];
        r.Selected = false;
        r.ShowsFile = false;
    }
    book_ = ClipBookPage{};
    outerWidget()->resize(TwipsToPixels(kSizeTwips), TwipsToPixels(kSizeTwips));
    fitPictureToClient();
    ready_ = true;
    onPrintPage_ = false;
}

QString ClipBook::menuCaption(int k) const {
    switch (k) {
    case 1: return QStringLiteral("Paste from Clipboard (CTRL-V)");
    case 2: return QStringLiteral("Delete selected object (DEL)");
    case 4: return QStringLiteral("Copy to Clipboard (CTRL-C)");
    case 5: return QStringLiteral("Save as .BMP");
    case 7:
        return onPrintPage_ ? QStringLiteral("Don't show in print preview page")
                            : QStringLiteral("Show in print preview page");
    case 3:
    case 6: return QStringLiteral("-");
    default: return {};
    }
}

void ClipBook::Piirra() {
    fitPictureToClient();
    book_.paint(page_);
    update();
    if (onPrintPage_ && printPreviewShown()) redrawPrintPage();
    if (MainServices* services = mainServices()) services->TalletaNakyma(QStringLiteral("Autosave"));
}

void ClipBook::paste() {
    // The clipboard holds this book's own page, copied by the main window.
    if (g.LastCopiedWindow == id_) return;
    const QClipboard* clip = QGuiApplication::clipboard();
    if (!clip || book_.paste(clip->image()) == 0) return;
    Piirra();
}

void ClipBook::deleteSelected() {
    if (book_.deleteSelected()) Piirra();
}

void ClipBook::CopyToClipboard() {
    if (QClipboard* clip = QGuiApplication::clipboard()) {
        clip->clear();
        clip->setImage(page_);
    }
}

void ClipBook::saveImage() {
    const std::optional<QString> path = AskPicturePath();
    if (!path) return;
    std::string reason;
    if (!SaveWindowPicture(page_, *path, &reason)) showSaveError(*path, reason);
}

void ClipBook::AsetaPreviewissa(bool flag) {
    onPrintPage_ = flag;
    redrawPrintPage();
}

void ClipBook::MenuValintaReaktio(int index) {
    switch (index) {
    case MenuPaste: paste(); break;
    case MenuDelete: deleteSelected(); break;
    case MenuCopy: CopyToClipboard(); break;
    case MenuSave: saveImage(); break;
    case MenuPrintPage: AsetaPreviewissa(!onPrintPage_); break;
    default: break;
    }
}

// ---------------------------------------------------------------- settings lines

std::vector<std::string> ClipBook::SaveInfo() {
    const QRect place = savedPlaceOf(*outerWidget());
    ClipBookFrame frame;
    frame.left = place.x() * TwipsPerPixel;
    frame.top = place.y() * TwipsPerPixel;
    frame.width = place.width() * TwipsPerPixel;
    frame.height = place.height() * TwipsPerPixel;
    frame.onPrintPage = onPrintPage_;
    return ClipBookSettingsLines(frame);
}

void ClipBook::LoadInfo(const std::string& line) {
    const ClipBookLine req = ParseClipBookLine(line);
    using Kind = ClipBookLine::Kind;
    QWidget* outer = outerWidget();
    switch (req.kind) {
    case Kind::Left: setPlaceFromTwips(*outer, WindowEdge::Left, req.value); break;
    case Kind::Top: setPlaceFromTwips(*outer, WindowEdge::Top, req.value); break;
    case Kind::Width: setPlaceFromTwips(*outer, WindowEdge::Width, req.value); break;
    case Kind::Height: setPlaceFromTwips(*outer, WindowEdge::Height, req.value); break;
    case Kind::PrintPage: AsetaPreviewissa(req.flag); break;
    case Kind::None: break;
    }
}

// ---------------------------------------------------------------- closing

void ClipBook::UnloadWindow() {
    if (id_ >= 1 && id_ < static_cast<int>(g.WindowRegistry.size()) &&
        g.WindowRegistry[static_cast<size_t>(id_)].Form == this)
        releaseWindowSlot(id_);
    if (onPrintPage_) redrawPrintPage();  // the page lets go of this book's page
    closeFrame();
}

void ClipBook::closeFrame() {
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!frame) {
        hide();
        return;
    }
    if (frameDeleted_) return;
    frameDeleted_ = true;
    frame->hide();
    frame->deleteLater();
}

void ClipBook::closeEvent(QCloseEvent* event) {
    UnloadWindow();
    event->accept();
}

// ---------------------------------------------------------------- events

void ClipBook::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, page_);
    if (outline_) DrawBoxOutline(p, *outline_, outlineColour_);
}

void ClipBook::resizeEvent(QResizeEvent* event) {
    PlotWindow::resizeEvent(event);
    if (!ready_) return;
    fitPictureToClient();
    g.FullRedrawPending = static_cast<int16_t>(id_);
    Piirra();
}

void ClipBook::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        QStringList captions;
        for (int k = 1; k <= MenuCaptionCount; ++k) captions << menuCaption(k);
        if (MainServices* services = mainServices())
            services->showWindowPopup(id_, captions, event->globalPosition().toPoint(), false);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    const std::optional<QRect> grabbed = book_.press(event->position());
    if (!grabbed) return;
    Piirra();  // the page without the grabbed object
    outline_ = grabbed;
    outlineColour_ = Qt::black;
    update();
}

void ClipBook::mouseMoveEvent(QMouseEvent* event) {
    if (book_.DraggedObject != 0) {
        outline_ = book_.drag(event->position());
        outlineColour_ = Qt::black;
    } else {
        outline_ = book_.hover(event->position());
        outlineColour_ = Qt::red;
    }
    update();
}

void ClipBook::mouseReleaseEvent(QMouseEvent*) {
    if (book_.DraggedObject == 0) return;
    book_.release();
    outline_.reset();
    Piirra();
}

void ClipBook::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_V && event->modifiers() == Qt::ControlModifier) {
        paste();
        return;
    }
    if (event->key() == Qt::Key_Delete && book_.SelectedObject != 0) {
        deleteSelected();
        return;
    }
    PlotWindow::keyPressEvent(event);
}

}  // namespace qv
