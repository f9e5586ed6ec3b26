#include "plots/timeproj/model/Projection.h"

#include <algorithm>
#include <cmath>

#include "core/FileTableOps.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"

namespace qv {

int16_t ClampAngle(double angle) {
    if (!(angle == angle)) return 0;
    const double r = RoundHalfEven(std::clamp(angle, -90.0, 90.0));
    return static_cast<int16_t>(r);
}

std::optional<int16_t> AngleAnswer(const std::string& answer) {
    const std::optional<double> v = ParseNumber(answer);
    if (!v) return std::nullopt;
    return ClampAngle(*v);
}

std::string ProjectionName(const std::string& xName, const std::string& yName, int angle) {
    return xName + "," + yName + " (" + std::to_string(angle) + " degr)";
}

ProjectionAxes ProjectionFor(int angle, int32_t rangeX, int32_t rangeY) {
    ProjectionAxes a;
    const double rad = std::abs(angle) / 180.0 * ProjectionPi;
    a.cosA = std::cos(rad);
    a.sinA = std::sin(rad);
    a.negative = angle < 0;
    a.offset = a.negative ? 0.0 : rangeY * a.sinA;
    a.range = rangeX;
    const double length = rangeX * a.cosA + rangeY * a.sinA;
    a.valid = length > 0;
    a.k = a.valid ? rangeX / length : 0.0;
    return a;
}

void ProjectValues(const ProjectionAxes& axes, const float* xs, const float* ys, float* out, int32_t n) {
    for (int32_t e = 1; e <= n; ++e) out[e] = static_cast<float>(ProjectedValue(axes, xs[e], ys[e]));
}

bool MakeProjection(int slot, int axisX, int axisY, int angle) {
    if (slot < 1 || slot >= static_cast<int>(g.FileTable.size())) return false;
    FileRecord& f = g.FileTable[static_cast<size_t>(slot)];
    auto has = [&](int p) {
        return p >= 1 && p <= f.ParameterCount && p < static_cast<int>(f.Parameters.size()) &&
               p <= f.WorkingData.maxColumn();
    };
    if (!f.Loaded || !has(axisX) || !has(axisY)) return false;
    angle = ClampAngle(angle);
    const ParameterInfo px = f.Parameters[static_cast<size_t>(axisX)];
    const ParameterInfo py = f.Parameters[static_cast<size_t>(axisY)];
    const ProjectionAxes axes = ProjectionFor(angle, px.Range, py.Range);
    if (!axes.valid) return false;

    if (!AddParameterToFile(slot)) return false;
    const int32_t p = f.ParameterCount;
    ParameterInfo& info = f.Parameters[static_cast<size_t>(p)];
    info.Name = ProjectionName(px.Name, py.Name, angle);
    info.LogLocked = false;
    info.IsLog = false;
    info.Range = px.Range;

    const int32_t n = std::min({f.EventCount, f.WorkingData.maxEvent(), f.PristineData.maxEvent()});
    if (n < 1) return true;
    ProjectValues(axes, f.WorkingData.column(axisX), f.WorkingData.column(axisY), f.WorkingData.column(p), n);
    std::copy_n(f.WorkingData.column(p) + 1, n, f.PristineData.column(p) + 1);
    return true;
}

void DrawProjectionLine(QPainter& p, int angle, int cx, int cy, int pictureWidth, const QColor& lineColour,
                        const QColor& textColour, int m) {
    const double a = angle / 180.0 * ProjectionPi;
    const double dx = pictureWidth * std::cos(a), dy = pictureWidth * std::sin(a);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 0, 0), 1));
    p.drawLine(QPoint(cx, cy), QPoint(PixelOf(cx + dx), PixelOf(cy + dy)));
    p.drawLine(QPoint(cx, cy), QPoint(PixelOf(cx - dx), PixelOf(cy - dy)));
    p.setPen(QPen(lineColour, 1));
    p.drawRect(cx - 3, cy - 3, 6, 6);
    p.setPen(textColour);
    p.setFont(PictureFont());
    PrintAt(p, m, m, QString::fromStdString((angle >= 0 ? " " : "") + std::to_string(angle)));
    p.restore();
}

bool HandleHit(double x, double y, int cx, int cy) {
    return cx - 3 < x && x < cx + 3 && cy - 3 < y && y < cy + 3;
}

int32_t RescaledCentre(int32_t centre, double newSize, double oldSize) {
    if (!(oldSize > 0)) return centre;
    return NearestInt32(newSize / oldSize * centre);
}

}  // namespace qv
