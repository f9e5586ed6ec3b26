#pragma once
// The whole picture of a histogram window, drawn into a QImage without any
// widget: the binned and smoothed counts as columns with their outline, the
// axes with ticks, the marker gates of the shown channel with their names,
// the fast-draw label and the rotated Y maximum. Columns are written
// straight into the image's scan lines; QPainter draws the lines and texts.
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include <span>
#include <vector>

#include "core/FileRecord.h"
#include "core/PopulationRecord.h"
#include "plots/histogram/model/HistogramMarkers.h"
#include "plots/histogram/model/HistogramState.h"

namespace qv {

// Int of a drawing coordinate, held far outside any picture when it is not
// a number or very large.
int32_t FloorPixel(double v);

// The columns of bins 1..n (n the last index of `counts`; bin 0 is never
// drawn): bin k at x = Int(m + k / n * (W - 2m)) from the X axis at H - m up
// to Int(H - m - f * count), never above the plotting area (y = m). Written
// straight into the image's scan lines in `colour` (nothing is written
// without one). `tops` gets one entry per pixel column 0..W - 2m: the
// highest column top in it, 0 where no bin falls.
void DrawHistogramColumns(QImage& image, std::span<const double> counts, float f, int m,
                          std::optional<QRgb> colour, std::vector<int32_t>& tops);
// The outline over the column tops in the painter's pen: pixel column c
// joined to c + 1 for c = 1..W - 2m - 1, where a bin reaches both.
void DrawColumnOutline(QPainter& painter, const std::vector<int32_t>& tops, int m);
// The Y axis, the X axis and the X ticks (distances from the origin), each
// tick `gap` long below the axis, in the painter's pen.
void DrawHistogramAxes(QPainter& painter, int W, int H, int m, int gap, const std::vector<double>& ticks);
// A marker as a bar at its height between two end strokes each 10 % of the
// plot height tall, in the painter's pen.
void DrawMarkerBar(QPainter& painter, const PopulationRecord& record, const HistogramGeometry& geometry);

struct HistogramRenderOptions {
    // The picture is on the print page and that page is shown: the file
    // name is printed in the top left corner.
    bool showFileName = false;
};

// Brings Channel into the parameters of `file` (a channel the file lacks
// becomes 1) and ShownPopulation back to 0 when it names no population or
// definition in use. Returns the number of parameters that can be binned.
int FitHistogramToFile(HistogramState& state, const FileRecord& file);

// Draws the complete picture into `image` (its size is the picture's size)
// and updates what the drawing owns: Counts, YMax, ColumnTops,
// BackgroundValue, Channel and ShownPopulation when out of range, and
// LabelBaseX/LabelBaseY of the markers it draws (in the shared population
// table). Markers being dragged (by an end or whole) are left out, and a
// label being dragged is not printed.
void RenderHistogram(QImage& image, HistogramState& state, const FileRecord& file,
                     const HistogramRenderOptions& options = {});

}  // namespace qv
