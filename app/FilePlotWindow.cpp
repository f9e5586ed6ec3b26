#include "app/FilePlotWindow.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QStringList>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "app/model/FileSystemText.h"
#include "app/MainServices.h"
#include "app/Dialogs.h"
#include "app/FileInfo.h"
#include "app/MainServices.h"
#include "app/WindowDisposal.h"
#include "app/WindowRegistry.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/picture/WindowPicture.h"
#include "output/Statistics.h"
#include "app/Dialogs.h"

namespace qv {

FilePlotWindow::FilePlotWindow(QWidget* parent) : PlotWindow(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

FilePlotWindow::~FilePlotWindow() = default;

WindowRecord* FilePlotWindow::record() {
    const int id = AnnaID();
    if (id < 1 || id >= static_cast<int>(g.WindowRegistry.size())) return nullptr;
    return &g.WindowRegistry[static_cast<size_t>(id)];
}

const WindowRecord* FilePlotWindow::record() const { return const_cast<FilePlotWindow*>(this)->record(); }

int FilePlotWindow::fileIndex() const {
    const WindowRecord* r = record();
    return r ? r->FileIndex : 0;
}

const FileRecord& FilePlotWindow::fileRecord(int slot) {
    static const FileRecord empty;
    if (slot < 1 || slot >= static_cast<int>(g.FileTable.size())) return empty;
    const FileRecord& f = g.FileTable[static_cast<size_t>(slot)];
    return f.Loaded ? f : empty;
}

int32_t FilePlotWindow::fileEventCount() const { return fileRecord(fileIndex()).EventCount; }

QWidget* FilePlotWindow::outerWidget() { return OuterWindowOf(this); }

const QWidget* FilePlotWindow::outerWidget() const { return const_cast<FilePlotWindow*>(this)->outerWidget(); }

void FilePlotWindow::updateCaption() {
    const WindowRecord* r = record();
    const bool selected = r && r->Selected;
    setWindowTitle(shownFileSystemText((selected ? g.SelectedPrefix : std::string()) + titleText()));
}

QString FilePlotWindow::AnnaOtsikko() const { return shownFileSystemText(titleText()); }

void FilePlotWindow::placeAtStartSize(int32_t rememberedWidth, int32_t rememberedHeight, int32_t firstWidth,
                                      int32_t firstHeight) {
    ResizeToStartSize(*outerWidget(), rememberedWidth, rememberedHeight, firstWidth, firstHeight);
    fitPictureToClient();
}

void ResizeToStartSize(QWidget& outer, int32_t rememberedWidth, int32_t rememberedHeight, int32_t firstWidth,
                       int32_t firstHeight) {
    int32_t w = firstWidth, h = firstHeight;
    if (rememberedWidth != 0 || rememberedHeight != 0) {
        w = rememberedWidth;
        h = rememberedHeight;
    }
    outer.resize(std::max(1, TwipsToPixels(w)), std::max(1, TwipsToPixels(h)));
}

void FilePlotWindow::fitPictureToClient() {
    const int w = width() > 0 ? width() : std::max(1, picture_.width());
    const int h = height() > 0 ? height() : std::max(1, picture_.height());
    if (picture_.width() == w && picture_.height() == h) return;
    picture_ = QImage(w, h, QImage::Format_RGB32);
    picture_.fill(darkBackground() ? Qt::black : Qt::white);
}

void FilePlotWindow::showLastLoadedFile() {
    const int last = g.LastLoadedFile;
    if (last == 0 || !fileRecord(last).Loaded) return;
    if (WindowRecord* r = record()) r->FileIndex = static_cast<int16_t>(last);
    LatauksenJalkeen();
    Piirra();
}

bool FilePlotWindow::fullDrawPostponed() const { return g.FullRedrawPending != 0 && g.FullRedrawPending == AnnaID(); }

void FilePlotWindow::closeFrame() { discardWindow(*this); }

WindowFrameTwips FrameTwipsOf(const QWidget& outer) {
    const QRect place = savedPlaceOf(outer);
    WindowFrameTwips f;
    f.left = static_cast<float>(place.x() * TwipsPerPixel);
    f.top = static_cast<float>(place.y() * TwipsPerPixel);
    f.width = static_cast<float>(place.width() * TwipsPerPixel);
    f.height = static_cast<float>(place.height() * TwipsPerPixel);
    return f;
}

bool ApplyPlaceRequest(QWidget& outer, const WindowSettingRequest& req) {
    using Kind = WindowSettingRequest::Kind;
    switch (req.kind) {
    case Kind::Left: setPlaceFromTwips(outer, WindowEdge::Left, req.number); return true;
    case Kind::Top: setPlaceFromTwips(outer, WindowEdge::Top, req.number); return true;
    case Kind::Width: setPlaceFromTwips(outer, WindowEdge::Width, req.number); return true;
    case Kind::Height: setPlaceFromTwips(outer, WindowEdge::Height, req.number); return true;
    default: return false;
    }
}

WindowFrameTwips FilePlotWindow::frameTwips() const {
    WindowFrameTwips f = FrameTwipsOf(*outerWidget());
    f.fileIndex = fileIndex();
    return f;
}

bool FilePlotWindow::applyFrameRequest(const WindowSettingRequest& req) {
    if (ApplyPlaceRequest(*outerWidget(), req)) return true;
    if (req.kind != WindowSettingRequest::Kind::File) return false;
    if (WindowRecord* r = record()) r->FileIndex = static_cast<int16_t>(req.number);
    return true;
}

void FilePlotWindow::dropFileNotLoaded() {
    WindowRecord* r = record();
    if (!r) return;
    if (r->FileIndex != 0 && !fileRecord(r->FileIndex).Loaded) r->FileIndex = 0;
    if (r->FileIndex == 0) showNoFile();
}

void FilePlotWindow::showNoFile() {
    forgetShownFile();
    updateCaption();
    picture_.fill(darkBackground() ? Qt::black : Qt::white);
    update();
}

std::string NoFileTitle(int id, const std::string& kind) { return "(" + std::to_string(id) + "): " + kind + " - No File"; }

std::optional<int16_t> FilePlotWindow::chooseAxisParameter(int axis, QPoint globalPos) {
    const FileRecord& file = fileRecord(fileIndex());
    const int params = std::min<int>(file.ParameterCount, static_cast<int>(file.Parameters.size()) - 1);
    MainServices* services = mainServices();
    if (!file.Loaded || params < 1 || !services) return std::nullopt;
    QStringList names;
    for (int p = 1; p <= params; ++p) names << QString::fromLatin1(file.Parameters[static_cast<size_t>(p)].Name);

    const int16_t before = g.ChosenChannel;
    g.ChosenChannel = -1;
    services->showChannelPopup(axis, names, globalPos);
    if (g.ChosenChannel < 0 || windowSlotOf(this) == 0) {
        g.ChosenChannel = before;
        return std::nullopt;
    }
    return static_cast<int16_t>(g.ChosenChannel + 1);
}

int16_t FilePlotWindow::channelArgument(const std::string& value) {
    const auto v = ParseNumber(value);
    if (!v) throw WindowOperationError("Type mismatch: " + value);
    try {
        return CInt(*v);
    } catch (const std::overflow_error&) {
        throw WindowOperationError("Overflow: " + value);
    }
}

void CopyPictureToClipboard(const QImage& picture) {
    if (QClipboard* clip = QGuiApplication::clipboard()) {
        clip->clear();
        clip->setImage(picture);
    }
}

void SavePictureAs(const QImage& picture) {
    const std::optional<QString> path = AskPicturePath();
    if (!path) return;
    std::string reason;
    if (!SaveWindowPicture(picture, *path, &reason)) showSaveError(*path, reason);
}

void FilePlotWindow::CopyToClipboard() { CopyPictureToClipboard(picture_); }

void FilePlotWindow::saveImage() { SavePictureAs(picture_); }

void FilePlotWindow::onActivated() {
    if (!initialised() || g.SheetLoading) return;
    activateFileWindow(AnnaID());
    FollowFileWindow(AnnaID(), false);
}

void FilePlotWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (picture_.isNull())
        p.fillRect(rect(), darkBackground() ? Qt::black : Qt::white);
    else
        p.drawImage(0, 0, picture_);
    paintOverlay(p);
}

void FilePlotWindow::resizeEvent(QResizeEvent* event) {
    PlotWindow::resizeEvent(event);
    // The resize being handled, handed over again from inside its own draw:
    // the picture already has this size and is being drawn.
    if (!initialised() || inResize_) return;
    {
        const QScopedValueRollback<bool> resizing(inResize_, true);
        fitPictureToClient();
        // A resize that only shows the window at the size it was given is no
        // user's resize; the picture, new and blank, is drawn all the same.
        if (event->oldSize().isValid()) {
            const QWidget* outer = outerWidget();
            rememberKindSize(outer->width() * TwipsPerPixel, outer->height() * TwipsPerPixel);
            // The picture follows at once; the work after a full draw waits
            // until no button is held (the end of an edge drag) or the
            // pointer moves.
            g.FullRedrawPending = static_cast<int16_t>(AnnaID());
        }
        Piirra();
    }
    // A size that changed again while the picture was drawn is drawn once
    // control is back in the event loop.
    if (picture_.size() != size())
        QTimer::singleShot(0, this, [this] {
            fitPictureToClient();
            Piirra();
        });
}

void FilePlotWindow::mouseMoveEvent(QMouseEvent* event) {
    // The full draw a resize postponed.
    if (fullDrawPostponed()) {
        g.FullRedrawPending = 0;
        Piirra();
    }
    PlotWindow::mouseMoveEvent(event);
}

void FilePlotWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Shift) g.ShiftHeld = true;
    PlotWindow::keyPressEvent(event);
}

void FilePlotWindow::keyReleaseEvent(QKeyEvent* event) {
    g.ShiftHeld = false;
    PlotWindow::keyReleaseEvent(event);
}

void FilePlotWindow::closeEvent(QCloseEvent* event) {
    UnloadWindow();
    event->accept();
}

}  // namespace qv
