// Curve editing with the mouse: a left press grabs a handle (or arms the
// axis strip, from which a move up creates a curve), moves drag the held
// handle, the release redraws the window and removes a curve pulled down
// to the floor. The picture drawn at the grab holds the histogram and every
// other curve; each move only recomputes the sum and paints the held curve,
// its handles and the sum over that picture.
#include <QMouseEvent>
#include <QPainter>

#include <vector>

#include "core/SharedState.h"
#include "core/picture/PictureText.h"
#include "plots/modeller/HistogramModeller.h"
#include "plots/modeller/model/CurveEditing.h"
#include "plots/modeller/model/CurveStatistics.h"
#include "plots/modeller/model/ModellerRenderer.h"

namespace qv {

void HistogramModeller::mousePressEvent(QMouseEvent* event) {
    g.AxisPopupAxis = 0;
    const QPointF pos = event->position();
    if (event->button() == Qt::RightButton) {
        if (!g.RegionDrawMode) rightButtonMenus(pos, event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    const ModellerGeometry geo = ModellerGeometryOf(state_, picture_.width(), picture_.height());
    const bool modifier = (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
    if (GrabCurveHandle(state_, geo, pos.x(), pos.y(), modifier)) Piirra();
    if (pos.y() > picture_.height() - state_.Margin) state_.Dragging = true;
}

void HistogramModeller::mouseMoveEvent(QMouseEvent* event) {
    FilePlotWindow::mouseMoveEvent(event);
    const QPointF pos = event->position();
    if (state_.DraggedCurve > 0) {
        const ModellerGeometry geo = ModellerGeometryOf(state_, picture_.width(), picture_.height());
        DragCurveHandle(state_, geo, pos.x(), pos.y());
        SumActiveCurves(state_, geo.plotHeight());
        update();
    }
    if (state_.Dragging && pos.y() < picture_.height() - state_.Margin) {
        if (CreateCurveFromStrip(state_) != 0) Piirra();
    }
}

void HistogramModeller::mouseReleaseEvent(QMouseEvent*) {
    if (ReleaseCurve(state_)) Piirra();
    update();
}

void HistogramModeller::paintOverlay(QPainter& p) {
    const GaussCurve* held = state_.curve(state_.DraggedCurve);
    if (!held || picture_.isNull()) return;
    const ModellerGeometry geo = ModellerGeometryOf(state_, picture_.width(), picture_.height());
    std::vector<double> values(static_cast<size_t>(geo.R) + 1, 0.0);
    for (int32_t i = 1; i <= geo.R; ++i) values[static_cast<size_t>(i)] = CurveValue(*held, i);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(PictureFont());
    DrawCurveLine(p, values, geo);
    const QColor fore = state_.DarkBackground ? QColor(255, 255, 255) : QColor(0, 0, 0);
    if (!state_.Copying)
        DrawCurveHandles(p, *held, state_.DraggedCurve, geo, state_.HandleHeightDivisor, state_.HandleSize, fore);
    DrawCurveSumLine(p, state_.CurveSum, geo, state_.BackgroundLevel);
}

}  // namespace qv
