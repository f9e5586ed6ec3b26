// Marker drawing and editing with the left button, and the feedback painted
// over the picture while a marker is drawn, dragged or hovered.
//
// Markers are kept in plot space; the mouse works in picture pixels. The
// drawing and drag state is shared by every window (g.RegionDrawMode, the
// Drag... slots, g.DraftRegion), so one gate at a time is drawn or dragged
// in the whole program. A drag recomputes nothing: the histogram is drawn
// once at the grab without the dragged marker (and without its follow-up
// work), each move only repaints the feedback over that picture, and the
// release writes the marker, recomputes its membership and redraws every
// window.
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/MainServices.h"
#include "app/WindowRegistry.h"
#include "app/model/WaitCursor.h"
#include "core/GateKinds.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"
#include "plots/histogram/Histogram.h"
#include "plots/histogram/model/HistogramMarkers.h"

namespace qv {
namespace {

// What the feedback shows; only the window named here paints it.
struct Feedback {
    const Histogram* window = nullptr;
    QPointF pointer;
    std::vector<int> hoverEndSlots;  // markers whose end handles are shown
    int hoverLabelSlot = 0;  // marker whose label handle is shown
    bool pressColour = false;  // a new marker right at its press: drawn in red
};

Feedback& feedback() {
    static Feedback f;
    return f;
}

PopulationRecord& population(int slot) { return g.PopulationTable[static_cast<size_t>(slot)]; }

bool hits(double x, double y, double tx, double ty, double tol) {
    return std::fabs(x - tx) < tol && std::fabs(y - ty) < tol;
}

// Rounded to the nearest whole number, halves to even, held in range.
int32_t roundedWhole(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int32_t>(std::nearbyint(std::clamp(v, -2.0e9, 2.0e9)));
}

std::vector<int> eligibleMarkers(const HistogramState& s) {
    std::vector<int> found;
    for (int k = 1; k <= g.MaxPopulations && k < PopulationTableSize; ++k)
        if (IsEligibleMarker(population(k), k, s)) found.push_back(k);
    return found;
}

bool anyDrag() { return g.DragCornerPopulation != 0 || g.DragMovePopulation != 0 || g.DragLabelPopulation != 0; }

void copyMarkerToDraft(const PopulationRecord& p, const HistogramGeometry& geo) {
    g.DraftRegion.Corners = 2;
    g.DraftRegion.CornerX[1] = static_cast<float>(geo.px(p.CornerX[1]));
    g.DraftRegion.CornerX[2] = static_cast<float>(geo.px(p.CornerX[2]));
    g.DraftRegion.CornerY[1] = static_cast<float>(geo.py(p.CornerY[1]));
}

void redrawAll(Histogram& window) {
    if (MainServices* main = mainServices()) main->PiirraKaikki();
    else window.Piirra();
}

}  // namespace

void Histogram::markerMousePress(QPointF pos) {
    const HistogramGeometry geo{static_cast<double>(picture_.width()), static_cast<double>(picture_.height()),
                                static_cast<double>(state_.PlotMargin)};
    const double X = pos.x(), Y = pos.y();
    const double t = state_.HitTolerance;
    Feedback& fb = feedback();
    fb.window = this;
    fb.pointer = pos;
    fb.hoverEndSlots.clear();
    fb.hoverLabelSlot = 0;
    fb.pressColour = false;

    if (g.RegionDrawMode) {
        state_.MarkerInProgress = true;
        g.DraftRegion.Corners = 2;
        g.DraftRegion.CornerX[1] = static_cast<float>(X);
        g.DraftRegion.CornerX[2] = static_cast<float>(X);
        g.DraftRegion.CornerY[1] = static_cast<float>(Y);
        g.DraftRegion.DraftWindow = state_.ID;
        fb.pressColour = true;
        update();
        return;
    }
    if (!state_.ShowRegionLines || fileIndex() == 0) return;
    const std::vector<int> markers = eligibleMarkers(state_);

    auto grab = [&]() {
        state_.Dragging = true;
        Piirra();
        update();
    };
    for (int k : markers) {
        const PopulationRecord& p = population(k);
        g.DragCornerPopulation = 0;
        for (int j = 1; j <= 2; ++j) {
            if (!hits(X, Y, geo.px(p.CornerX[static_cast<size_t>(j)]), geo.py(p.CornerY[1]), t)) continue;
            g.DragCornerPopulation = static_cast<int16_t>(k);
            g.DragCornerIndex = static_cast<int16_t>(j);  // both ends under the press: end 2
        }
        if (g.DragCornerPopulation != 0) {
            grab();
            copyMarkerToDraft(p, geo);
            return;
        }
    }
    for (int k : markers) {
        const MarkerLabel l = MarkerLabelAt(population(k), geo);
        if (!hits(X, Y, l.left(), l.top(), t)) continue;
        g.DragLabelPopulation = static_cast<int16_t>(k);
        grab();
        return;
    }
    for (int k : markers) {
        const PopulationRecord& p = population(k);
        if (!(geo.px(p.CornerX[1]) < X && X < geo.px(p.CornerX[2]))) continue;
        g.DragMovePopulation = static_cast<int16_t>(k);
        state_.DragStartX = static_cast<float>(X);
        state_.DragStartY = static_cast<float>(Y);
        copyMarkerToDraft(p, geo);
        grab();
        return;
    }
}

void Histogram::markerMouseMove(QPointF pos) {
    const HistogramGeometry geo{static_cast<double>(picture_.width()), static_cast<double>(picture_.height()),
                                static_cast<double>(state_.PlotMargin)};
    const double X = pos.x(), Y = pos.y();
    const double t = state_.HitTolerance;
    const double m = geo.m;
    Feedback& fb = feedback();
    const bool wasShowing = fb.window == this;
    fb.window = this;
    fb.pointer = pos;
    fb.hoverEndSlots.clear();
    fb.hoverLabelSlot = 0;
    setCursor(g.RegionDrawMode ? Qt::CrossCursor : Qt::ArrowCursor);

    if (!g.RegionDrawMode && state_.ShowRegionLines && !anyDrag() && !state_.MarkerInProgress) {
        // Every marker with an end under the pointer shows both its end
        // handles, up to the first marker whose label is under it.
        for (int k : eligibleMarkers(state_)) {
            const PopulationRecord& p = population(k);
            const double py = geo.py(p.CornerY[1]);
            if (hits(X, Y, geo.px(p.CornerX[1]), py, t) || hits(X, Y, geo.px(p.CornerX[2]), py, t))
                fb.hoverEndSlots.push_back(k);
            const MarkerLabel l = MarkerLabelAt(p, geo);
            if (l.lx - l.hw - t < X && X < l.lx + l.hw + t && l.ly - 14 - t < Y && Y < l.ly - 6 + t) {
                fb.hoverLabelSlot = k;
                break;
            }
        }
    }
    auto clampX = [&](double x) { return std::max(m, std::min(x, geo.W - m)); };
    auto clampY = [&](double y) { return std::max(m, std::min(y, geo.H - m)); };
    if (state_.MarkerInProgress) {
        fb.pressColour = false;
        g.DraftRegion.CornerX[2] = static_cast<float>(clampX(X));
        g.DraftRegion.CornerY[1] = static_cast<float>(clampY(Y));
    } else if (state_.Dragging && g.DragCornerPopulation > 0) {
        const size_t j = g.DragCornerIndex == 1 ? 1 : 2;
        g.DraftRegion.CornerX[j] = static_cast<float>(clampX(X));
        g.DraftRegion.CornerY[1] = static_cast<float>(clampY(Y));
    } else if (state_.Dragging && g.DragMovePopulation != 0) {
        const double dx = X - state_.DragStartX, dy = Y - state_.DragStartY;
        const double x1 = g.DraftRegion.CornerX[1] + dx, x2 = g.DraftRegion.CornerX[2] + dx;
        const double y = g.DraftRegion.CornerY[1] + dy;
        auto inside = [&](double v, double hi) { return m <= v && v <= hi - m; };
        // A step that would take an end or the bar out of the plotting area
        // is refused whole, and not made up later.
        if (inside(x1, geo.W) && inside(x2, geo.W) && inside(y, geo.H)) {
            g.DraftRegion.CornerX[1] = static_cast<float>(x1);
            g.DraftRegion.CornerX[2] = static_cast<float>(x2);
            g.DraftRegion.CornerY[1] = static_cast<float>(y);
        }
        state_.DragStartX = static_cast<float>(X);
        state_.DragStartY = static_cast<float>(Y);
    }
    if (wasShowing || !fb.hoverEndSlots.empty() || fb.hoverLabelSlot || state_.Dragging || state_.MarkerInProgress) update();
}

void Histogram::markerMouseRelease(QPointF pos) {
    const HistogramGeometry geo{static_cast<double>(picture_.width()), static_cast<double>(picture_.height()),
                                static_cast<double>(state_.PlotMargin)};
    const double X = pos.x(), Y = pos.y();
    feedback().hoverEndSlots.clear();
    feedback().hoverLabelSlot = 0;

    if (state_.MarkerInProgress) {
        WaitCursor wait;
        state_.MarkerInProgress = false;
        g.RegionDrawMode = false;
        const MainServices* main = mainServices();
        const int slot = main ? main->ValittuPopulaatio() : 0;
        // Without a chosen population row there is no slot to write: the
        // marker is dropped (drawing mode ends all the same).
        if (slot >= 1 && slot <= g.MaxPopulations && slot < PopulationTableSize) {
            PopulationRecord& p = population(slot);
            // A row in use keeps its name (definitions may name it); a new
            // row gets the default.
            if (!p.InUse || p.Name.empty()) p.Name = DefaultGateName("Histogram", slot);
            p.AxisX = state_.Channel;
            p.InUse = true;
            p.Corners = 2;
            p.Type = "Histogram";
            p.Transparent = true;
            p.CornerX[1] = geo.spaceX(g.DraftRegion.CornerX[1]);
            p.CornerX[2] = geo.spaceX(g.DraftRegion.CornerX[2]);
            p.CornerY[1] = geo.spaceY(g.DraftRegion.CornerY[1]);
            p.Created = state_.ID;
            p.TitleX = 0;
            p.TitleY = 0;
            CheckPopulation(slot);
        }
        g.DraftRegion.Corners = 0;
        state_.Dragging = false;
        update();
        redrawAll(*this);
        return;
    }
    if (!state_.Dragging) return;

    auto writeDraft = [&](int slot) {
        PopulationRecord& p = population(slot);
        p.CornerX[1] = geo.spaceX(g.DraftRegion.CornerX[1]);
        p.CornerX[2] = geo.spaceX(g.DraftRegion.CornerX[2]);
        p.CornerY[1] = geo.spaceY(g.DraftRegion.CornerY[1]);
        CheckPopulation(slot);
    };
    if (g.DragCornerPopulation > 0) {
        WaitCursor wait;
        writeDraft(g.DragCornerPopulation);
        g.DragCornerPopulation = 0;
        g.DragCornerIndex = 0;
        state_.Dragging = false;
        update();
        redrawAll(*this);
    } else if (g.DragLabelPopulation != 0) {
        PopulationRecord& p = population(g.DragLabelPopulation);
        const double hw = CentringWidth(p.Name) / 2.0;
        const double pw = geo.plotWidth(), ph = geo.plotHeight();
        if (pw > 0 && ph > 0) {
            p.TitleX = roundedWhole((X + hw - geo.m) / pw * MarkerPlotSpace - p.LabelBaseX);
            p.TitleY = roundedWhole((Y + 14 - geo.m) / ph * MarkerPlotSpace - p.LabelBaseY);
        }
        g.DragLabelPopulation = 0;
        update();
        // This window's own draw inside runs still dragging and so skips its
        // follow-up: the membership has not changed.
        redrawAll(*this);
        // The redraw runs pending events: the window may have been closed.
        if (windowSlotOf(this) != 0) state_.Dragging = false;
    } else if (g.DragMovePopulation != 0) {
        WaitCursor wait;
        writeDraft(g.DragMovePopulation);
        g.DragMovePopulation = 0;
        state_.Dragging = false;
        update();
        redrawAll(*this);
    } else {
        state_.Dragging = false;
    }
}

void Histogram::paintOverlay(QPainter& p) {
    const Feedback& fb = feedback();
    if (fb.window != this) return;
    const HistogramGeometry geo{static_cast<double>(picture_.width()), static_cast<double>(picture_.height()),
                                static_cast<double>(state_.PlotMargin)};
    const double t = state_.HitTolerance;
    const uint8_t b = state_.BackgroundValue;
    p.setBrush(Qt::NoBrush);
    auto square = [&](double x, double y) { p.drawRect(QRectF(x - t, y - t, 2 * t, 2 * t)); };

    p.setPen(QColor(b, b, b));
    for (int slot : fb.hoverEndSlots) {
        const PopulationRecord& r = population(slot);
        square(geo.px(r.CornerX[1]), geo.py(r.CornerY[1]));
        square(geo.px(r.CornerX[2]), geo.py(r.CornerY[1]));
    }
    if (fb.hoverLabelSlot) {
        const MarkerLabel l = MarkerLabelAt(population(fb.hoverLabelSlot), geo);
        p.setPen(QColor(120, 120, 120));
        square(l.left(), l.top());
    }
    const bool figure = state_.MarkerInProgress ||
                        (state_.Dragging && (g.DragCornerPopulation > 0 || g.DragMovePopulation != 0));
    if (figure) {
        p.setPen(fb.pressColour ? QColor(255, 0, 0) : QColor(b, b, b));
        const double x1 = g.DraftRegion.CornerX[1], x2 = g.DraftRegion.CornerX[2], y = g.DraftRegion.CornerY[1];
        p.drawLine(QPointF(x1, geo.m), QPointF(x1, geo.H - geo.m));
        p.drawLine(QPointF(x2, geo.m), QPointF(x2, geo.H - geo.m));
        p.drawLine(QPointF(x1, y), QPointF(x2, y));
        square(x1, y);
        square(x2, y);
    }
    if (state_.Dragging && g.DragLabelPopulation != 0) {
        p.setPen(state_.DarkBackground ? Qt::white : Qt::black);
        p.setFont(PictureFont());
        PrintAt(p, fb.pointer.x(), fb.pointer.y(), Latin1Text(population(g.DragLabelPopulation).Name));
    }
}

}  // namespace qv
