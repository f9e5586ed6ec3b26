#pragma once
// Which plotted points lie inside a polygon gate, by counting the edges that
// a ray from the point towards increasing x crosses.
//
// An edge counts for a point (px, py) only when py lies strictly between the
// edge's lowest and highest y; it counts when px is left of the edge's x at
// py (interpolated in double precision from the edge's lower end). So a
// corner level with the point and a horizontal edge give no crossing, a point
// on the left boundary of a gate is inside and one on the right boundary
// outside. A polygon of fewer than three corners contains no point.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/PopulationRecord.h"

namespace qv {

struct PlotPoint {
    float X = 0.0f;
    float Y = 0.0f;
};

struct PolygonCorner {
    int32_t X = 0;
    int32_t Y = 0;
};

// A gate corner held in PlotSpace as a float, as a whole-number polygon
// corner: rounded to the nearest whole number, halves to even. A corner that
// is not a number counts as 0, and one beyond +-1e9 is held there, so a
// damaged record can neither overflow the conversion nor the edge arithmetic.
PolygonCorner PolygonCornerFromPlotSpace(float x, float y);

// The corners 1..Corners (held within 0..50) of a gate as a polygon.
std::vector<PolygonCorner> GatePolygon(const PopulationRecord& gate);

// points[0..N]: point 0 is not tested. polygon: the corners in order, each
// joined to the next and the last back to the first. Returns bytes 0..N, 1
// for a point inside, else 0; element 0 is always 0.
std::vector<uint8_t> PointsInPolygon(std::span<const PlotPoint> points, std::span<const PolygonCorner> polygon);

// The same test on precomputed coordinate arrays: inside[k] := 1 when
// (xs[k], ys[k]) is inside, else 0, for every k < count (all of them are
// tested). xs, ys and inside each hold count elements.
void PointsInPolygon(const float* xs, const float* ys, size_t count,
                     std::span<const PolygonCorner> polygon, uint8_t* inside);

// One point, for hit tests while a gate is edited.
bool PointInPolygon(double px, double py, std::span<const PolygonCorner> polygon);

}  // namespace qv
