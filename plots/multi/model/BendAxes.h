#pragma once
// Editing the bending plot's chain of axes, and the geometry that the
// drawing and the mouse code read from it: adding and deleting axes, which
// of the two the pop-up allows, the angle of an axis name, the box an axis
// answers a right click in, and the distance-colour ramp.
#include <cstdint>

#include "core/SharedState.h"
#include "plots/multi/model/BendPlotState.h"

namespace qv {

// Whether an existing axis hangs on entry `entry` (its Connected is entry).
bool BendAxisHasChild(const AxisTable& axes, int entry);

// Pop-up rules: "Add new axis" needs a selected entry without an existing
// child; "Delete axis" needs a selected axis 3..99 (axes 1 and 2 and the
// root stay) without an existing child.
bool BendCanAddAxis(const AxisTable& axes, int selected);
bool BendCanDeleteAxis(const AxisTable& axes, int selected);

// Adds an axis after entry `selected` in the first free entry 1..99: it
// takes the selected entry's YAxis, parameter 1, and ends 1000 units right of
// and below the selected end point (left or up instead where that end lies at
// 9000 or beyond). Returns the new entry, 0 when all 99 are in use (nothing
// changes then). A selected entry outside 0..100 counts as the root.
int BendAddAxis(AxisTable& axes, int selected);

// Deletes entry `selected` (0..100); other numbers change nothing.
void BendDeleteAxis(AxisTable& axes, int selected);

// The escapement (tenths of a degree, counter-clockwise, screen y down) of
// the name of an axis running dx, dy picture units from its start: an axis
// pointing straight up gives 4500 / 10 = 450 degrees, one pointing left 180.
int32_t BendAxisNameEscapement(double dx, double dy);

// The box in picture units that a right click on axis `a` must fall strictly
// inside: spanned by its start and end points, widened by 5 on each side
// in a direction where it is less than 10 wide.
struct BendAxisBox {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool contains(double x, double y) const { return x > left && x < right && y > top && y < bottom; }
};
BendAxisBox BendAxisHitBox(const AxisTable& axes, int a, double W, double H);

// The axis whose box holds (x, y) on a right click: the highest-numbered
// hit, 0 when none.
int BendAxisAt(const AxisTable& axes, double x, double y, double W, double H);

// The first end handle 1..100 (root included) within `tolerance` of (x, y)
// in both directions, strictly; 0 when none.
int BendEndHandleAt(const AxisTable& axes, double x, double y, double W, double H, double tolerance);

// The distance-colour ramp, entries 0..765: black, red, yellow, white.
inline constexpr int BendRampTop = 765;
Rgb BendRampColour(int index);
// Ramp entry of an event whose distance along the chain is `distance` out of
// `total`: Int(distance / total * 765), held within 0..765; 0 when the
// total is 0 or a value is not a number.
int BendRampIndex(double distance, double total);

}  // namespace qv
