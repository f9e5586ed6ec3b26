#pragma once
// Where the bending plot puts each event: the root plus, for every existing
// axis in index order, that axis's vector scaled by the event's position on
// the axis's parameter (0 at the axis start, the whole axis at the
// parameter's Range). Pure functions over the file's flat columns.
//
// Each axis's position is computed once per event on an axis of length 1
// and then multiplied by the axis's |dx| and |dy|, which gives exactly what
// scaling the value onto axes of those two lengths gives.
#include <cstdint>
#include <vector>

#include "core/FileRecord.h"
#include "plots/multi/model/BendPlotState.h"

namespace qv {

struct BendPlacement {
    // Per event 0..EventCount, plot space; events not placed stay at (0, 0).
    std::vector<float> X, Y;
    // Per event: the sum over the axes of the length of its move along each
    // axis (filled only with distances asked for).
    std::vector<double> Distance;
    // Sum of the lengths of all existing axes (only with distances).
    double TotalAxisLength = 0;
};

// Places events 1, 1 + step, ... of `file` (all of them when shownPopulation
// is 0, else only members of that membership column) into `out`, which is
// sized anew to the file's events. Axes whose parameter the file lacks add
// nothing. `step` below 1 counts as 1.
void PlaceBendEvents(const FileRecord& file, const AxisTable& axes, int32_t step, int shownPopulation,
                     bool withDistances, BendPlacement& out);

// Places every event e = 1..EventCount, unfiltered, into xs[e], ys[e]
// (plot space, each sized EventCount + 1 by the caller): the positions a
// bending-plot gate is tested against.
void PlaceAllBendEvents(const FileRecord& file, const AxisTable& axes, float* xs, float* ys);

}  // namespace qv
