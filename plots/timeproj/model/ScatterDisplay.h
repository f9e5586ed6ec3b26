#pragma once
// The common scatter display of the flux tracker and the projector: the
// picture (axes, ticks, titles, dots or density, the fast-draw label) drawn
// with the dot plot's renderer, the fast-draw step after a load and from
// the menu, the display items of the pop-up menu, the axis strips that open
// the parameter list, and the checks on axis and population values that
// sheets and tools hand in.
#include <QImage>

#include <cstdint>
#include <optional>
#include <string>

#include "core/FileRecord.h"
#include "plots/dotplot/model/DotPlotRenderer.h"
#include "plots/timeproj/model/ScatterView.h"

namespace qv {

struct ScatterDrawOptions {
    bool quickPass = false;     // the pass after a resize: about 1000 events
    bool showFileName = false;  // the picture is on the shown print page
};

// Draws the whole picture of `view` over `file` into `image`. Brings an axis
// above the file's parameter count back to 1 (X) or 2 (Y) and a shown
// population no longer in use back to 0; sets ForegroundLevel from the
// background and rebuilds DensityGrid on a density draw. Returns the number
// of events drawn.
int64_t DrawScatter(QImage& image, ScatterView& view, const FileRecord& file, const ScatterDrawOptions& options,
                    DotPlotRenderer& renderer);

// After a file was loaded: at most `limit` events draw every event ("Fast
// draw mode" offered), more switch fast draw on with step Int(E / limit) + 1
// ("Full draw mode" offered).
void ChooseDrawMode(ScatterView& view, int32_t eventCount, int32_t limit);

// The fast-draw item: switches fast draw off, or on for a file of more than
// `limit` events. False when nothing changed (no redraw follows).
bool ToggleFastDraw(ScatterView& view, int32_t eventCount, int32_t limit);

// The display items that only change the view (density, multicolour,
// background, dot size): toggles the one at `index` with its caption. False
// for every other index.
bool ToggleDisplayItem(ScatterView& view, int index);

// Which axis strip a right click at (x, y) of a picture of W x H with margin
// m lies on: 2 the Y axis strip, 1 the X axis strip, 0 neither (the window's
// own pop-up).
int AxisStripAt(double x, double y, double W, double H, double m);

// An axis value read from a sheet line: a number, rounded half to
// even, from 1 up to `parameterCount` (any positive 16-bit value while no
// file is shown, parameterCount 0). Nothing for other values.
std::optional<int16_t> AxisValue(const std::string& text, int parameterCount);
// A shown-population value: a whole number (rounded half to even) from 0 to
// the last population or definition slot. Nothing otherwise.
std::optional<int16_t> ShownPopulationValue(const std::string& text);

}  // namespace qv
