#pragma once
// The projector's own numbers: the events' positions along a line at an
// angle of -90..90 degrees made into a new parameter of the file, the
// parameter's name, the angle answers, the line with its handle and angle
// text, and keeping the line's centre in place when the picture is resized.
// Widget-free.
#include <QColor>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "core/FileRecord.h"

namespace qv {

// The angle's pi: the projection is defined with this value, not the exact one.
inline constexpr double ProjectionPi = 3.141592654;

// Any angle brought into -90..90.
int16_t ClampAngle(double angle);

// "Set angle": a number, rounded half to even and held within -90..90;
// nothing for an empty answer or one that is no number.
std::optional<int16_t> AngleAnswer(const std::string& answer);

// "<X name>,<Y name> (<angle> degr)".
std::string ProjectionName(const std::string& xName, const std::string& yName, int angle);

// The constants of one projection: a = |angle| in radians, the offset
// ry sin a for a non-negative angle, k = rx / (rx cos a + ry sin a).
struct ProjectionAxes {
    double cosA = 1, sinA = 0, k = 1, offset = 0;
    bool negative = false;
    int32_t range = 0;  // Range of the new parameter (that of X)
    // False when the length rx cos a + ry sin a is 0 or below (no projection).
    bool valid = false;
};
ProjectionAxes ProjectionFor(int angle, int32_t rangeX, int32_t rangeY);

// The projected value of one event (x, y): Int(k (x cos a - y sin a + ry sin a))
// for a non-negative angle, Int(k (x cos a + y sin a)) for a negative one,
// held within 0..range.
inline double ProjectedValue(const ProjectionAxes& a, double x, double y) {
    const double t = a.negative ? x * a.cosA + y * a.sinA : x * a.cosA - y * a.sinA + a.offset;
    double v = std::floor(a.k * t);
    if (v < 0 || v != v) v = 0;
    if (v > a.range) v = a.range;
    return v;
}

// The values of every event 1..n into `out`.
void ProjectValues(const ProjectionAxes& axes, const float* xs, const float* ys, float* out, int32_t n);

// "Make projection" on the file in FileTable slot `slot` with parameters
// axisX and axisY at `angle`: appends the projected parameter, values in both
// data copies. False, adding nothing, when the slot holds no loaded file,
// either parameter is not in it, or the projection has no length.
bool MakeProjection(int slot, int axisX, int axisY, int angle);

// The line through the centre at the angle, as long as the picture is wide
// each way, in red; the handle square (half side 3) in the line colour; the
// angle at (m, m), a non-negative one after a blank.
void DrawProjectionLine(QPainter& painter, int angle, int centreX, int centreY, int pictureWidth,
                        const QColor& lineColour, const QColor& textColour, int margin);

// The handle is hit strictly inside 3 units of the centre.
bool HandleHit(double x, double y, int centreX, int centreY);

// A centre coordinate after the picture went from `oldSize` to `newSize`
// units: Round(newSize / oldSize * centre), halves to even; the centre as it
// is when the old size is 0 or below.
int32_t RescaledCentre(int32_t centre, double newSize, double oldSize);

}  // namespace qv
