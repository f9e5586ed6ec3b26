// Gate drawing and editing with the left button, and the feedback drawn over
// the plot picture while a gate or the quadrant cross is being edited.
// Nothing here yet: presses, moves and releases of the left button leave the
// plot as it is, and no feedback is drawn.
#include <QMouseEvent>
#include <QPainter>

#include "plots/dotplot/DotPlot.h"

namespace qv {

void DotPlot::gateMousePress(QMouseEvent* event) { (void)event; }

void DotPlot::gateMouseMove(QMouseEvent* event) { (void)event; }

void DotPlot::gateMouseRelease(QMouseEvent* event) { (void)event; }

void DotPlot::paintFeedback(QPainter& painter) { (void)painter; }

}  // namespace qv
