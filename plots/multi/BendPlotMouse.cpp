// Mouse editing of a bending plot: dragging the end points of the axis chain
// (the root included), choosing an axis's parameter, drawing polygon gates
// and dragging their corners, labels and whole outlines, and the window's
// pop-up menu.
//
// The picture has no margin: plot space 0..10000 spans it whole. Gate
// drawing and dragging share the program-wide state (g.RegionDrawMode,
// g.GateInProgress, g.DraftRegion, the Drag... slots) with the other
// gate-drawing windows. A gate drag recomputes nothing: the plot is drawn
// once at the grab without the gate, each move repaints only the outline
// over the kept picture, and the release stores the gate, recomputes it and
// redraws every window. An axis drag redraws about 1000 events per move and
// recomputes the gates only at the release.
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "app/MainServices.h"
#include "app/WindowRegistry.h"
#include "app/model/GateEditing.h"
#include "app/model/WaitCursor.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"
#include "plots/multi/BendPlot.h"
#include "plots/multi/model/BendAxes.h"

namespace qv {
namespace {

using namespace gate;

// What the overlay shows; only the window named here paints it.
struct Feedback {
    const BendPlot* window = nullptr;
    QPointF pointer;
    int hoverSlot = 0;         // gate whose marks are shown while hovering
    bool hoverCorner = false;  // its corners (true) or its label's grab point
};

Feedback& feedback() {
    static Feedback f;
    return f;
}

Geometry geometryOf(const QImage& picture, const QWidget& w) {
    return Geometry(0, picture.isNull() ? w.width() : picture.width(), picture.isNull() ? w.height() : picture.height());
}

// The gates this window draws and lets the mouse grab, in slot order.
std::vector<int> grabbableGates(const BendPlotState& s) {
    std::vector<int> gates;
    for (int k = 1; k <= g.MaxPopulations && k < PopulationTableSize; ++k) {
        const PopulationRecord& p = population(k);
        if (p.Type == "BendPlot" && p.InUse && (!s.CreatedHereOnly || p.Created == s.ID)) gates.push_back(k);
    }
    return gates;
}

bool anyDrag(const BendPlotState& s) {
    return g.DragCornerPopulation != 0 || g.DragMovePopulation != 0 || g.DragLabelPopulation != 0 ||
           s.DraggedAxis != 0;
}

void redrawAll(BendPlot& window) {
    if (MainServices* main = mainServices())
        main->PiirraKaikki();
    else
        window.Piirra();
}

// An axis end point from a picture point.
void moveAxisEnd(AxisRecord& axis, double X, double Y, const Geometry& geo) {
    axis.X = roundedWhole(geo.toPlotX(X));
    axis.Y = roundedWhole(geo.toPlotY(Y));
}

}  // namespace

void BendPlot::rightButtonMenus(QPointF pos, QPoint globalPos) {
    const Geometry geo = geometryOf(picture_, *this);
    const int axis = BendAxisAt(state_.Axes, pos.x(), pos.y(), geo.W, geo.H);
    if (axis != 0) {
        chooseAxisParameter(axis, globalPos);
        return;
    }
    MainServices* services = mainServices();
    if (!services) return;
    QStringList captions;
    for (int k = 1; k <= BendPlotMenuItemCount; ++k) captions << QString::fromLatin1(state_.caption(k));
    QList<int> disabled;
    if (!BendCanAddAxis(state_.Axes, state_.SelectedAxis)) disabled << BendMenuAddAxis;
    if (!BendCanDeleteAxis(state_.Axes, state_.SelectedAxis)) disabled << BendMenuDeleteAxis;
    services->showWindowPopupWithDisabled(state_.ID, captions, globalPos, disabled);
}

void BendPlot::chooseAxisParameter(int axis, QPoint globalPos) {
    const FileRecord& file = fileRecord(fileIndex());
    const int params = std::min<int>(file.ParameterCount, static_cast<int>(file.Parameters.size()) - 1);
    MainServices* services = mainServices();
    if (!file.Loaded || params < 1 || !services) return;
    QStringList names;
    for (int p = 1; p <= params; ++p) names << Latin1Text(file.Parameters[static_cast<size_t>(p)].Name);

    // A list dismissed without a choice changes nothing: the last choice is
    // kept for the next list, but not applied here.
    const int16_t before = g.ChosenChannel;
    g.ChosenChannel = -1;
    services->showChannelPopup(axis, names, globalPos);
    if (g.ChosenChannel < 0 || g.ChosenChannel >= params || windowSlotOf(this) == 0) {
        if (g.ChosenChannel < 0) g.ChosenChannel = before;
        return;
    }
    state_.Axes[static_cast<size_t>(axis)].Parameter = static_cast<int16_t>(g.ChosenChannel + 1);
    if (checkOwnGates())
        redrawAll(*this);
    else
        Piirra();
}

void BendPlot::gateMousePress(QMouseEvent* event) {
    const Geometry geo = geometryOf(picture_, *this);
    if (!geo.usable()) return;
    const double X = event->position().x();
    const double Y = event->position().y();
    const double tol = state_.HandleTolerance;
    const bool left = event->button() == Qt::LeftButton;
    const bool right = event->button() == Qt::RightButton;
    feedback().window = this;
    feedback().pointer = event->position();
    feedback().hoverSlot = 0;

    if (left && !g.RegionDrawMode) {
        // An end handle wins over a gate corner under it.
        if (const int a = BendEndHandleAt(state_.Axes, X, Y, geo.W, geo.H, tol); a != 0) {
            state_.DraggedAxis = static_cast<int16_t>(a);
            state_.SelectedAxis = static_cast<int16_t>(a);
            state_.StepBeforeDrag = state_.EventStep;
            const int32_t events = fileEventCount();
            if (events > 1000) state_.EventStep = events / 1000;
            return;
        }
        if (state_.RegionLinesShown &&
            grabGate(grabbableGates(state_), X, Y, geo, tol, state_.MoveStartX, state_.MoveStartY) != GateGrab::None) {
            // Drawn once without the gate; the moves repaint only its outline.
            state_.GateEditActive = true;
            Piirra();
            update();
            return;
        }
        // Nothing grabbed: no axis is selected any more.
        state_.SelectedAxis = 0;
        Piirra();
        return;
    }

    // Closing the polygon being drawn: a right click, or a left click on its
    // first corner once it has two corners or more.
    if (pressClosesDraft(left, right, X, Y, state_.ID, tol)) {
        std::optional<WaitCursor> wait;
        if (g.GateInProgress) {
            wait.emplace();
            const MainServices* main = mainServices();
            // With no population row chosen the polygon has nowhere to go
            // and is dropped.
            if (const int slot = storeClosedDraft(geo, main ? main->ValittuPopulaatio() : 0, state_.ID, "BendPlot"))
                CheckPopulation(slot);
        }
        g.GateInProgress = false;
        g.RegionDrawMode = false;
        state_.GateEditActive = false;
        update();
        redrawAll(*this);
        // The left click that closed a gate also drops the axis selection.
        if (left && windowSlotOf(this) != 0) {
            state_.SelectedAxis = 0;
            Piirra();
        }
        return;
    }

    if (left && g.RegionDrawMode) {
        addDraftCorner(X, Y, state_.ID);
        update();
    }
}

void BendPlot::gateMouseMove(QMouseEvent* event) {
    Feedback& fb = feedback();
    const bool wasShowing = fb.window == this;
    fb.window = this;
    fb.pointer = event->position();
    fb.hoverSlot = 0;
    setCursor(g.RegionDrawMode ? Qt::CrossCursor : Qt::ArrowCursor);
    const Geometry geo = geometryOf(picture_, *this);
    if (!geo.usable()) {
        if (wasShowing) update();
        return;
    }
    const double X = event->position().x();
    const double Y = event->position().y();
    const double tol = state_.HandleTolerance;

    if (!g.RegionDrawMode && state_.RegionLinesShown && !anyDrag(state_)) {
        const GateHover hover = hoverGate(grabbableGates(state_), X, Y, geo, tol);
        fb.hoverSlot = hover.slot;
        fb.hoverCorner = hover.corner;
    }
    dragDraft(X, Y, state_.MoveStartX, state_.MoveStartY);
    if (state_.DraggedAxis != 0) {
        moveAxisEnd(state_.Axes[static_cast<size_t>(std::clamp<int>(state_.DraggedAxis, 1, BendRootAxis))], X, Y, geo);
        Piirra();
    }
    update();
}

void BendPlot::gateMouseRelease(QMouseEvent* event) {
    const Geometry geo = geometryOf(picture_, *this);
    if (!geo.usable()) return;
    const double X = event->position().x();
    const double Y = event->position().y();

    if (state_.DraggedAxis != 0) {
        // The step of the grab comes back, so fast draw keeps its sample.
        state_.EventStep = state_.StepBeforeDrag;
        moveAxisEnd(state_.Axes[static_cast<size_t>(std::clamp<int>(state_.DraggedAxis, 1, BendRootAxis))], X, Y, geo);
        state_.DraggedAxis = 0;
        checkOwnGates();
        redrawAll(*this);
        return;
    }
    if (g.DragCornerPopulation != 0 || g.DragMovePopulation != 0) {
        const int slot = g.DragCornerPopulation != 0 ? releaseCornerDrag(X, Y, geo) : releaseMoveDrag(geo);
        state_.GateEditActive = false;
        CheckPopulation(slot);
        update();
        redrawAll(*this);
        return;
    }
    if (g.DragLabelPopulation != 0) {
        // The drop point becomes the top-left of the text.
        releaseLabelDrag(X, Y, geo);
        state_.GateEditActive = false;
        update();
        redrawAll(*this);
    }
}

void BendPlot::paintFeedback(QPainter& painter) {
    const Feedback& fb = feedback();
    if (fb.window != this) return;
    const Geometry geo = geometryOf(picture_, *this);
    if (!geo.usable()) return;
    const double tol = state_.HandleTolerance;
    const uint8_t level = state_.ForegroundLevel;
    const QColor fore(level, level, level);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(fore);
    auto box = [&](double x, double y) { painter.drawRect(QRectF(x - tol, y - tol, 2 * tol, 2 * tol)); };

    if (fb.hoverSlot != 0 && !g.RegionDrawMode && !anyDrag(state_)) {
        const PopulationRecord& p = population(fb.hoverSlot);
        if (fb.hoverCorner) {
            for (int j = 1; j <= cornerCount(p); ++j)
                box(geo.toPixelX(p.CornerX[static_cast<size_t>(j)]), geo.toPixelY(p.CornerY[static_cast<size_t>(j)]));
        } else {
            const QPointF a = labelAnchor(p, geo);
            painter.setPen(QColor(120, 120, 120));
            box(a.x() - halfLabelWidth(p), a.y() - 4);
            painter.setPen(fore);
        }
    }
    if (g.GateInProgress && g.DraftRegion.DraftWindow == state_.ID) drawDraftPolygon(painter, false, tol, &fb.pointer);
    if (g.DragCornerPopulation != 0 || g.DragMovePopulation != 0) drawDraftPolygon(painter, true, tol, nullptr);
    if (g.DragLabelPopulation != 0) {
        painter.setFont(PictureFont());
        PrintAt(painter, fb.pointer.x(), fb.pointer.y(), Latin1Text(population(g.DragLabelPopulation).Name));
    }
}

}  // namespace qv
