#include "app/model/GateEditing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/PolygonTest.h"
#include "core/SharedState.h"

namespace qv::gate {

float storedCoordinate(double v) {
    if (std::isnan(v)) return 0.0f;
    return static_cast<float>(std::clamp(v, -1.0e9, 1.0e9));
}

int32_t roundedWhole(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int32_t>(std::nearbyint(std::clamp(v, -2.0e9, 2.0e9)));
}

bool hits(double x, double y, double tx, double ty, double tol) {
    return std::fabs(x - tx) < tol && std::fabs(y - ty) < tol;
}

PopulationRecord& population(int slot) { return g.PopulationTable[static_cast<size_t>(slot)]; }

int cornerCount(const PopulationRecord& p) { return std::clamp<int>(p.Corners, 0, MaxCorners); }

double halfLabelWidth(const PopulationRecord& p) { return static_cast<double>(p.Name.size()) * 7.0 / 2.0; }

QPointF labelAnchor(const PopulationRecord& p, const Geometry& geo) {
    return {geo.toPixelX(static_cast<double>(p.LabelBaseX) + p.TitleX),
            geo.toPixelY(static_cast<double>(p.LabelBaseY) + p.TitleY)};
}

bool insidePolygon(const PopulationRecord& p, double px, double py) {
    std::vector<PolygonCorner> corners;
    for (int j = 1; j <= cornerCount(p); ++j)
        corners.push_back({roundedWhole(p.CornerX[static_cast<size_t>(j)]), roundedWhole(p.CornerY[static_cast<size_t>(j)])});
    return PointInPolygon(px, py, corners);
}

void copyCornersToDraft(const PopulationRecord& p, const Geometry& geo) {
    const int n = cornerCount(p);
    g.DraftRegion.Corners = static_cast<int16_t>(n);
    for (int j = 1; j <= n; ++j) {
        g.DraftRegion.CornerX[static_cast<size_t>(j)] = static_cast<float>(geo.toPixelX(p.CornerX[static_cast<size_t>(j)]));
        g.DraftRegion.CornerY[static_cast<size_t>(j)] = static_cast<float>(geo.toPixelY(p.CornerY[static_cast<size_t>(j)]));
    }
}

void copyDraftToCorners(PopulationRecord& p, const Geometry& geo) {
    const int n = std::clamp<int>(g.DraftRegion.Corners, 0, MaxCorners);
    for (int k = 1; k <= n; ++k) {
        p.CornerX[static_cast<size_t>(k)] = storedCoordinate(geo.toPlotX(g.DraftRegion.CornerX[static_cast<size_t>(k)]));
        p.CornerY[static_cast<size_t>(k)] = storedCoordinate(geo.toPlotY(g.DraftRegion.CornerY[static_cast<size_t>(k)]));
    }
    p.Corners = static_cast<int16_t>(n);
}

void addDraftCorner(double x, double y, int16_t windowId) {
    PopulationRecord& draft = g.DraftRegion;
    if (!g.GateInProgress) {
        g.GateInProgress = true;
        draft.Corners = 1;
        draft.CornerX[1] = static_cast<float>(x);
        draft.CornerY[1] = static_cast<float>(y);
        draft.DraftWindow = windowId;
    } else if (draft.DraftWindow == windowId && draft.Corners < MaxCorners) {
        ++draft.Corners;
        draft.CornerX[static_cast<size_t>(draft.Corners)] = static_cast<float>(x);
        draft.CornerY[static_cast<size_t>(draft.Corners)] = static_cast<float>(y);
    }
}

void drawDraftPolygon(QPainter& painter, bool closed, double tol, const QPointF* toPointer) {
    const int n = std::clamp<int>(g.DraftRegion.Corners, 0, MaxCorners);
    auto corner = [](int j) {
        return QPointF(g.DraftRegion.CornerX[static_cast<size_t>(j)], g.DraftRegion.CornerY[static_cast<size_t>(j)]);
    };
    for (int j = 1; j < n; ++j) painter.drawLine(corner(j), corner(j + 1));
    if (n >= 1 && closed) painter.drawLine(corner(n), corner(1));
    if (n >= 1 && toPointer) painter.drawLine(corner(n), *toPointer);
    for (int j = 1; j <= n; ++j) {
        const QPointF c = corner(j);
        painter.drawRect(QRectF(c.x() - tol, c.y() - tol, 2 * tol, 2 * tol));
    }
}

}  // namespace qv::gate
