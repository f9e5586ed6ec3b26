#include "plots/timeproj/Projector.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

#include "app/Dialogs.h"
#include "app/WindowRegistry.h"
#include "app/model/WindowSettingsLine.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "plots/timeproj/model/Projection.h"

namespace qv {

void registerProjectorKind() {
    registerWindowKind("Projector", [] { return new Projector(); });
}

namespace {

const std::vector<std::string> kStartCaptions = {
    "",
    "Make projection",
    "Set angle",
    "-",
    "Dot plot",
    "Set line color",
    "-",
    "Disable multicoloring",
    "-",
    "Copy image to clipboard",
    "Save as .BMP...",
    "-",
    "Invert background color",
    "Large dots",
    "Fast draw mode",
    "-",
    "Show in print preview page",
};

constexpr ScatterMenuItems kItems{ProjectorDensity,  ProjectorMulticolor, ProjectorCopyImage, ProjectorSavePicture,
                                  ProjectorBackground, ProjectorDotSize, ProjectorFastDraw,  ProjectorPrintPage};

}  // namespace

Projector::Projector(QWidget* parent) : ScatterDisplayWindow(parent) {}

Projector::~Projector() = default;

void Projector::Alusta(int id) {
    beginAlusta(id, kItems, kStartCaptions);
    Angle = 20;
    fitPictureToClient();
    LineColorRed = 255;
    LineColorGreen = 0;
    LineColorBlue = 0;
    LineCenterX = NearestInt32(picture_.width() / 2.0);
    LineCenterY = NearestInt32(picture_.height() / 2.0);
    LastPictureWidth = picture_.width();
    LastPictureHeight = picture_.height();
    RotatingLine = MovingLine = false;
    DragStartY = 0;
    endAlusta();
}

// ---------------------------------------------------------------- the line

void Projector::drawLine(QPainter& painter) const {
    const QColor text = view_.DarkBackground ? QColor(255, 255, 255) : QColor(0, 0, 0);
    DrawProjectionLine(painter, Angle, LineCenterX, LineCenterY, picture_.width(), lineColour(), text,
                       view_.PlotMargin);
}

void Projector::drawOwnLayer(QImage& picture, const FileRecord&, bool) {
    // Drawn in the quick pass too; left out while a drag draws it apart.
    if (RotatingLine || MovingLine) return;
    QPainter p(&picture);
    drawLine(p);
}

void Projector::paintOverlay(QPainter& painter) {
    if (RotatingLine || MovingLine) drawLine(painter);
}

// ---------------------------------------------------------------- menu

bool Projector::ownMenuItem(int index) {
    switch (index) {
    case ProjectorMakeProjection: makeProjection(); return true;
    case ProjectorSetAngle: setAngle(); return true;
    case ProjectorLineColour: setLineColour(); return true;
    default: return false;
    }
}

void Projector::makeProjection() {
    const int slot = fileIndex();
    if (slot == 0 || !shownFile().Loaded) return;
    // No redraw follows; the new parameter is offered by every parameter
    // list of the file from now on.
    MakeProjection(slot, view_.AxisX, view_.AxisY, Angle);
}

void Projector::setAngle() {
    const std::optional<QString> answer = dialogs().inputBox(
        QStringLiteral("Set the angle (-90 to 90)"), QStringLiteral("Set angle"), QString::number(Angle));
    if (answer && !answer->isEmpty()) {
        if (const auto a = AngleAnswer(answer->toStdString())) Angle = *a;
    }
    Piirra();
}

void Projector::setLineColour() {
    if (const std::optional<QColor> c = dialogs().chooseColour(lineColour())) {
        LineColorRed = static_cast<uint8_t>(c->red());
        LineColorGreen = static_cast<uint8_t>(c->green());
        LineColorBlue = static_cast<uint8_t>(c->blue());
    }
    Piirra();
}

// ---------------------------------------------------------------- mouse

void Projector::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        ScatterDisplayWindow::mousePressEvent(event);
        return;
    }
    g.AxisPopupAxis = 0;
    // In any mode, also while the panel draws a gate.
    const QPointF at = event->position();
    if (HandleHit(at.x(), at.y(), LineCenterX, LineCenterY)) {
        MovingLine = true;
    } else {
        RotatingLine = true;
        DragStartY = NearestInt32(at.y());
    }
    Piirra();  // the plot without the line, which the drag now draws over it
    update();
}

void Projector::mouseMoveEvent(QMouseEvent* event) {
    ScatterDisplayWindow::mouseMoveEvent(event);
    const QPointF at = event->position();
    const int m = view_.PlotMargin;
    if (RotatingLine) {
        // One unit down turns the line one degree further.
        Angle = ClampAngle(RoundHalfEven(Angle + (at.y() - DragStartY)));
        DragStartY = NearestInt32(at.y());
        update();
    } else if (MovingLine) {
        LineCenterX = std::clamp(NearestInt32(at.x()), m, std::max(m, picture_.width() - m));
        LineCenterY = std::clamp(NearestInt32(at.y()), m, std::max(m, picture_.height() - m));
        update();
    }
}

void Projector::mouseReleaseEvent(QMouseEvent*) {
    if (!RotatingLine && !MovingLine) return;
    RotatingLine = false;
    MovingLine = false;
    Piirra();
}

// ---------------------------------------------------------------- resize

void Projector::resizeEvent(QResizeEvent* event) {
    if (view_.Initialised && !squaring_) {
        // The window is square: its height follows its width. A minimised
        // or maximised window keeps the size it is given.
        QWidget* outer = outerWidget();
        const Qt::WindowStates state = outer->windowState();
        const bool normal = !(state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
        if (normal && outer->width() > 0 && outer->height() != outer->width()) {
            squaring_ = true;
            outer->resize(outer->width(), outer->width());
            squaring_ = false;
            // The square size has arrived (and been drawn) meanwhile.
            if (size() != event->size()) return;
        }
    }
    if (view_.Initialised) {
        // The line keeps its place relative to the picture.
        const int W = width() > 0 ? width() : picture_.width();
        const int H = height() > 0 ? height() : picture_.height();
        LineCenterX = RescaledCentre(LineCenterX, W, LastPictureWidth);
        LineCenterY = RescaledCentre(LineCenterY, H, LastPictureHeight);
    }
    ScatterDisplayWindow::resizeEvent(event);
    if (view_.Initialised) {
        LastPictureWidth = picture_.width();
        LastPictureHeight = picture_.height();
    }
}

// ---------------------------------------------------------------- settings lines

void Projector::appendOwnSettingsLines(std::vector<std::string>& lines) const {
    lines.push_back("angle:" + NumberText(Angle));
    lines.push_back("line.color.red:" + NumberText(static_cast<int>(LineColorRed)));
    lines.push_back("line.color.green:" + NumberText(static_cast<int>(LineColorGreen)));
    lines.push_back("line.color.blue:" + NumberText(static_cast<int>(LineColorBlue)));
}

void Projector::applyOwnSettingsLine(const std::string& key, const std::string& value) {
    if (key == "angle") {
        if (const auto a = ParseNumber(value)) Angle = ClampAngle(*a);
    } else if (key == "line.color.red") {
        if (const auto b = ReadByte(value)) LineColorRed = *b;
    } else if (key == "line.color.green") {
        if (const auto b = ReadByte(value)) LineColorGreen = *b;
    } else if (key == "line.color.blue") {
        if (const auto b = ReadByte(value)) LineColorBlue = *b;
    }
}

}  // namespace qv
