#include "app/model/GateEditing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/GateKinds.h"
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
    return PointInPolygon(px, py, GatePolygon(p));
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

GateGrab grabGate(const std::vector<int>& gates, double x, double y, const Geometry& geo, double tol,
                  int32_t& moveStartX, int32_t& moveStartY) {
    for (int k : gates) {
        const PopulationRecord& p = population(k);
        for (int j = 1; j <= cornerCount(p); ++j) {
            if (!hits(x, y, geo.toPixelX(p.CornerX[static_cast<size_t>(j)]), geo.toPixelY(p.CornerY[static_cast<size_t>(j)]),
                      tol))
                continue;
            g.DragCornerPopulation = static_cast<int16_t>(k);
            g.DragCornerIndex = static_cast<int16_t>(j);
            copyCornersToDraft(p, geo);
            return GateGrab::Corner;
        }
    }
    for (int k : gates) {
        const PopulationRecord& p = population(k);
        const QPointF anchor = labelAnchor(p, geo);
        if (!hits(x, y, anchor.x() - halfLabelWidth(p), anchor.y() - 4, tol)) continue;
        g.DragLabelPopulation = static_cast<int16_t>(k);
        return GateGrab::Label;
    }
    const double px = geo.toPlotX(x), py = geo.toPlotY(y);
    for (int k : gates) {
        if (!insidePolygon(population(k), px, py)) continue;
        g.DragMovePopulation = static_cast<int16_t>(k);
        copyCornersToDraft(population(k), geo);
        moveStartX = roundedWhole(x);
        moveStartY = roundedWhole(y);
        return GateGrab::Whole;
    }
    return GateGrab::None;
}

GateHover hoverGate(const std::vector<int>& gates, double x, double y, const Geometry& geo, double tol) {
    for (int k : gates) {
        const PopulationRecord& p = population(k);
        bool corner = false;
        for (int j = 1; j <= cornerCount(p) && !corner; ++j)
            corner = hits(x, y, geo.toPixelX(p.CornerX[static_cast<size_t>(j)]),
                          geo.toPixelY(p.CornerY[static_cast<size_t>(j)]), tol);
        const QPointF a = labelAnchor(p, geo);
        const double half = halfLabelWidth(p);
        const bool label = x >= a.x() - half - tol && x <= a.x() + half + tol && y >= a.y() - 4 - tol &&
                           y <= a.y() + 4 + tol;
        if (corner || label) return {k, corner};
    }
    return {};
}

void dragDraft(double x, double y, int32_t& moveStartX, int32_t& moveStartY) {
    if (g.DragCornerPopulation != 0) {
        const int j = std::clamp<int>(g.DragCornerIndex, 1, MaxCorners);
        g.DraftRegion.CornerX[static_cast<size_t>(j)] = static_cast<float>(x);
        g.DraftRegion.CornerY[static_cast<size_t>(j)] = static_cast<float>(y);
    }
    if (g.DragMovePopulation != 0) {
        const double dx = x - moveStartX, dy = y - moveStartY;
        for (int j = 1; j <= std::clamp<int>(g.DraftRegion.Corners, 0, MaxCorners); ++j) {
            g.DraftRegion.CornerX[static_cast<size_t>(j)] += static_cast<float>(dx);
            g.DraftRegion.CornerY[static_cast<size_t>(j)] += static_cast<float>(dy);
        }
        moveStartX = roundedWhole(x);
        moveStartY = roundedWhole(y);
    }
}

int releaseCornerDrag(double x, double y, const Geometry& geo) {
    const int slot = g.DragCornerPopulation;
    const int j = std::clamp<int>(g.DragCornerIndex, 1, MaxCorners);
    PopulationRecord& p = population(slot);
    p.CornerX[static_cast<size_t>(j)] = storedCoordinate(geo.toPlotX(x));
    p.CornerY[static_cast<size_t>(j)] = storedCoordinate(geo.toPlotY(y));
    g.DragCornerPopulation = 0;
    g.DragCornerIndex = 0;
    return slot;
}

int releaseMoveDrag(const Geometry& geo) {
    const int slot = g.DragMovePopulation;
    copyDraftToCorners(population(slot), geo);
    g.DragMovePopulation = 0;
    return slot;
}

void releaseLabelDrag(double x, double y, const Geometry& geo) {
    PopulationRecord& p = population(g.DragLabelPopulation);
    p.TitleX = roundedWhole(geo.toPlotX(x + halfLabelWidth(p)) - p.LabelBaseX);
    p.TitleY = roundedWhole(geo.toPlotY(y + 4) - p.LabelBaseY);
    g.DragLabelPopulation = 0;
}

bool pressClosesDraft(bool left, bool right, double x, double y, int16_t windowId, double tol) {
    const PopulationRecord& draft = g.DraftRegion;
    // A left click near the first corner of a polygon closed earlier starts
    // a new one instead.
    return g.RegionDrawMode && windowId == draft.DraftWindow &&
           (right || (left && g.GateInProgress && draft.Corners > 1 && hits(x, y, draft.CornerX[1], draft.CornerY[1], tol)));
}

int storeClosedDraft(const Geometry& geo, int chosenSlot, int16_t windowId, const std::string& type) {
    if (chosenSlot < 1 || chosenSlot > g.MaxPopulations || chosenSlot >= PopulationTableSize) return 0;
    PopulationRecord& p = population(chosenSlot);
    copyDraftToCorners(p, geo);
    if (!p.InUse) p.Name = DefaultGateName(type, chosenSlot);
    p.InUse = true;
    p.Type = type;
    p.Created = windowId;
    p.TitleX = 0;
    p.TitleY = 0;
    p.Transparent = false;
    return chosenSlot;
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
