#pragma once
// The whole picture of a histogram window, drawn into a QImage without any
// widget: the binned and smoothed counts as columns with their outline, the
// axes with ticks, the marker gates of the shown channel with their names,
// the fast-draw label and the rotated Y maximum. Columns are written
// straight into the image's scan lines; QPainter draws the lines and texts.
#include <QImage>

#include <span>
#include <vector>

#include "core/FileRecord.h"
#include "plots/histogram/model/HistogramState.h"

namespace qv {

struct HistogramRenderOptions {
    // The picture is on the print page and that page is shown: the file
    // name is printed in the top left corner.
    bool showFileName = false;
};

// The columns of bins 1..R of `counts`: each a vertical line at
// x = Int(m + k / R * plotting width) from the X axis up to
// Int(axis - f * count), never above the plotting area, written straight
// into the scan lines of an RGB32 image. `columnTops`, when given, gets per
// pixel column of the plotting area the highest top drawn there (0 none).
void DrawHistogramColumns(QImage& image, std::span<const double> counts, float f, int m, QRgb colour,
                          std::vector<int32_t>* columnTops = nullptr);

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
