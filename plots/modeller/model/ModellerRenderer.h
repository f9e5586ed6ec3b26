#pragma once
// The picture of a histogram modeller window, drawn into a QImage without
// any widget: the histogram of the shown events as columns, the axes with
// ticks and the parameter name, every active curve with its handles and
// number, the sum of the curves and the rotated Y maximum. While a curve is
// held by the mouse that curve and the sum are left to the window, which
// draws them over this picture at each move.
#include <QImage>
#include <QPainter>

#include <span>

#include "core/FileRecord.h"
#include "plots/modeller/model/ModellerGeometry.h"
#include "plots/modeller/model/ModellerState.h"

namespace qv {

struct ModellerRenderOptions {
    // The picture is on the shown print page: the file name is printed in
    // the top left corner.
    bool showFileName = false;
};

// Brings Channel into the parameters of `file` (a channel the file lacks
// becomes 1) and ShownPopulation back to 0 when it names no slot in use.
// Returns the number of parameters that can be binned.
int FitModellerToFile(ModellerState& state, const FileRecord& file);

// The geometry of a picture of this size for the state's margin and curve
// resolution.
ModellerGeometry ModellerGeometryOf(const ModellerState& state, int width, int height);

// Draws the complete picture into `image` and updates what the drawing owns:
// HistogramCounts, YMax, BackgroundLevel, CurveSum and the curves'
// statistics (the held curve's included), Channel and ShownPopulation when
// out of range.
void RenderModeller(QImage& image, ModellerState& state, const FileRecord& file,
                    const ModellerRenderOptions& options = {});

// One curve as a line through its values at bins 1..R, in RGB(0, 0, 255).
void DrawCurveLine(QPainter& painter, std::span<const double> values, const ModellerGeometry& geo);
// The handles of curve k that lie inside the plotting area, with its number
// over the peak and plateau-end handles in `textColour`.
void DrawCurveHandles(QPainter& painter, const GaussCurve& curve, int k, const ModellerGeometry& geo,
                      double heightDivisor, int handleSize, const QColor& textColour);
// The sum of the curves (in pixels per bin), two pixels wide, in grey `level`.
void DrawCurveSumLine(QPainter& painter, std::span<const double> curveSum, const ModellerGeometry& geo, int level);

}  // namespace qv
