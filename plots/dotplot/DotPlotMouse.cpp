// Gate drawing and editing with the left button, and the feedback drawn over
// the plot picture while a gate or the quadrant cross is being edited.
//
// Gates are kept in plot space (0..10000 over the plotting area, y from the
// top); the mouse works in picture pixels. The drawing and drag state is
// shared by every window (g.RegionDrawMode, g.GateInProgress, g.DraftRegion
// with its DraftWindow, the Drag... slots), so only one gate is drawn or
// dragged at a time in the whole program. A drag recomputes nothing: the
// plot is drawn once at the press without the dragged item, every move only
// repaints the feedback over the kept picture, and the release writes the
// gate, recomputes its membership and redraws every window.
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/MainServices.h"
#include "app/WindowRegistry.h"
#include "app/model/GateEditing.h"
#include "app/model/WaitCursor.h"
#include "core/PolygonTest.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"

namespace qv {
namespace {

using namespace gate;

// What the overlay shows; only the window named here paints it.
struct Feedback {
    const DotPlot* window = nullptr;
    QPointF pointer;
    int hoverSlot = 0;         // polygon whose handles are shown while hovering
    bool hoverCorner = false;  // its corners (true) or its label box (false)
    QPointF quadrant;          // the cross while it is dragged
};

Feedback& feedback() {
    static Feedback f;
    return f;
}

bool anyDrag(const DotPlotState& s) {
    return g.DragCornerPopulation != 0 || g.DragMovePopulation != 0 || g.DragLabelPopulation != 0 ||
           s.QuadrantDragging;
}

void redrawAll(DotPlot& window) {
    if (MainServices* main = mainServices())
        main->PiirraKaikki();
    else
        window.Piirra();
}

}  // namespace

namespace {

Geometry geometryOf(const DotPlotState& s, const QImage& picture, const QWidget& w) {
    return Geometry(s.Margin, picture.isNull() ? w.width() : picture.width(),
                    picture.isNull() ? w.height() : picture.height());
}

// The window's polygons, in slot order: the gates drawn on its parameter pair
// (and, while only gates made here are shown, made here).
std::vector<int> windowPolygons(const DotPlotState& s) {
    std::vector<int> gates;
    for (int k = 1; k <= g.MaxPopulations && k < PopulationTableSize; ++k) {
        const PopulationRecord& p = population(k);
        if (p.Type == "Polygon" && p.InUse && p.AxisX == s.ChannelX && p.AxisY == s.ChannelY &&
            (!s.CreatedHereOnly || p.Created == s.ID))
            gates.push_back(k);
    }
    return gates;
}

}  // namespace

void DotPlot::gateMousePress(QMouseEvent* event) {
    const Geometry geo = geometryOf(state_, picture_, *this);
    // No plotting area: nothing can be placed or grabbed.
    if (!geo.usable()) return;
    const double X = event->position().x();
    const double Y = event->position().y();
    const double tol = state_.HitTolerance;
    const bool left = event->button() == Qt::LeftButton;
    const bool right = event->button() == Qt::RightButton;
    feedback().window = this;
    feedback().pointer = event->position();
    feedback().hoverSlot = 0;

    // Editing: the first target hit starts exactly one drag.
    if (left && !g.RegionDrawMode) {
        if (state_.QuadrantOn &&
            hits(X, Y, geo.toPixelX(state_.QuadrantX), geo.toPixelY(state_.QuadrantY), tol)) {
            state_.QuadrantDragging = true;
            state_.Dragging = true;
            feedback().quadrant = event->position();
            Piirra();
            update();
            return;
        }
        if (!state_.RegionLinesOn) return;
        if (grabGate(windowPolygons(state_), X, Y, geo, tol, state_.MoveStartX, state_.MoveStartY) != GateGrab::None) {
            state_.Dragging = true;
            Piirra();
            update();
        }
        return;
    }

    // Closing the polygon being drawn: a right click, or a left click on its
    // first corner once it has two corners or more. A left click near the
    // first corner of a polygon closed earlier starts a new one instead.
    if (pressClosesDraft(left, right, X, Y, state_.ID, tol)) {
        // The hourglass while the new gate is checked in every file and every
        // window redrawn; a press that only ends drawing mode does no work.
        std::optional<WaitCursor> wait;
        if (g.GateInProgress) {
            wait.emplace();
            const MainServices* main = mainServices();
            // With no population row chosen the polygon has nowhere to go.
            if (const int slot = storeClosedDraft(geo, main ? main->ValittuPopulaatio() : 0, state_.ID, "Polygon")) {
                population(slot).AxisX = state_.ChannelX;
                population(slot).AxisY = state_.ChannelY;
                CheckPopulation(slot);
            }
        }
        g.GateInProgress = false;
        g.RegionDrawMode = false;
        state_.Dragging = false;
        update();
        redrawAll(*this);
        return;
    }

    // Adding corners.
    if (left && g.RegionDrawMode) {
        addDraftCorner(X, Y, state_.ID);
        update();
    }
}

void DotPlot::gateMouseMove(QMouseEvent* event) {
    Feedback& fb = feedback();
    const bool wasShowing = fb.window == this;
    fb.window = this;
    fb.pointer = event->position();
    fb.hoverSlot = 0;
    const Geometry geo = geometryOf(state_, picture_, *this);
    if (!geo.usable()) {
        if (wasShowing) update();
        return;
    }
    const double X = event->position().x();
    const double Y = event->position().y();
    const double tol = state_.HitTolerance;

    if (!g.RegionDrawMode && state_.RegionLinesOn && !anyDrag(state_)) {
        const GateHover hover = hoverGate(windowPolygons(state_), X, Y, geo, tol);
        fb.hoverSlot = hover.slot;
        fb.hoverCorner = hover.corner;
    }
    dragDraft(X, Y, state_.MoveStartX, state_.MoveStartY);
    if (state_.QuadrantDragging && !g.RegionDrawMode)
        fb.quadrant = QPointF(std::clamp(X, geo.m, geo.W - geo.m), std::clamp(Y, geo.m, geo.H - geo.m));
    // Only the overlay is repainted over the kept picture.
    update();
}

void DotPlot::gateMouseRelease(QMouseEvent* event) {
    const Geometry geo = geometryOf(state_, picture_, *this);
    if (!geo.usable()) return;
    const double X = event->position().x();
    const double Y = event->position().y();

    if (state_.QuadrantDragging) {
        state_.QuadrantDragging = false;
        const double qx = std::clamp(X, geo.m, geo.W - geo.m);
        const double qy = std::clamp(Y, geo.m, geo.H - geo.m);
        state_.QuadrantX = roundedWhole(geo.toPlotX(qx));
        state_.QuadrantY = roundedWhole(geo.toPlotY(qy));
        g.LastQuadrantX = state_.QuadrantX;
        g.LastQuadrantY = state_.QuadrantY;
        state_.Dragging = false;
        update();
        Piirra();
        return;
    }
    if (g.DragCornerPopulation != 0 || g.DragMovePopulation != 0) {
        CheckPopulation(g.DragCornerPopulation != 0 ? releaseCornerDrag(X, Y, geo) : releaseMoveDrag(geo));
        state_.Dragging = false;
        update();
        redrawAll(*this);
        return;
    }
    if (g.DragLabelPopulation != 0) {
        // The drop point becomes the top-left of the text.
        releaseLabelDrag(X, Y, geo);
        update();
        redrawAll(*this);
        // The redraw runs pending events: the window may have been closed.
        if (windowSlotOf(this) != 0) state_.Dragging = false;
    }
}

void DotPlot::paintFeedback(QPainter& painter) {
    const Feedback& fb = feedback();
    if (fb.window != this) return;
    const Geometry geo = geometryOf(state_, picture_, *this);
    if (!geo.usable()) return;
    const double tol = state_.HitTolerance;
    const QColor fore(state_.ForegroundGrey, state_.ForegroundGrey, state_.ForegroundGrey);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(fore);

    if (fb.hoverSlot != 0 && !g.RegionDrawMode && !anyDrag(state_)) {
        const PopulationRecord& p = population(fb.hoverSlot);
        if (fb.hoverCorner) {
            for (int j = 1; j <= cornerCount(p); ++j) {
                const double cx = geo.toPixelX(p.CornerX[static_cast<size_t>(j)]);
                const double cy = geo.toPixelY(p.CornerY[static_cast<size_t>(j)]);
                painter.drawRect(QRectF(cx - tol, cy - tol, 2 * tol, 2 * tol));
            }
        } else {
            const QPointF a = labelAnchor(p, geo);
            const double half = halfLabelWidth(p);
            painter.setPen(QColor(120, 120, 120));
            painter.drawRect(QRectF(a.x() - half - tol, a.y() - 4 - tol, 2 * (half + tol), 2 * (4 + tol)));
            painter.setPen(fore);
        }
    }
    if (g.GateInProgress && g.DraftRegion.DraftWindow == state_.ID) drawDraftPolygon(painter, false, tol, &fb.pointer);
    if (g.DragCornerPopulation != 0 || g.DragMovePopulation != 0) drawDraftPolygon(painter, true, tol, nullptr);
    if (state_.QuadrantDragging && !g.RegionDrawMode) {
        const QPointF q = fb.quadrant;
        painter.drawLine(QPointF(geo.m, q.y()), QPointF(geo.W - geo.m, q.y()));
        painter.drawLine(QPointF(q.x(), geo.m), QPointF(q.x(), geo.H - geo.m));
        painter.drawRect(QRectF(q.x() - tol, q.y() - tol, 2 * tol, 2 * tol));
    }
    if (g.DragLabelPopulation != 0) {
        QFont font(QStringLiteral("Courier New"));
        font.setStyleHint(QFont::TypeWriter);
        font.setPixelSize(11);
        painter.setFont(font);
        const std::string& name = population(g.DragLabelPopulation).Name;
        painter.drawText(QPointF(fb.pointer.x(), fb.pointer.y() + QFontMetrics(font).ascent()),
                         QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
}

}  // namespace qv
