#pragma once
// What the windows that draw and edit polygon gates with the mouse share:
// the conversion between picture pixels and plot space, the hit tests of
// corners, labels and whole gates, the program-wide draft polygon
// (g.DraftRegion) and the outline drawn over a picture while a gate is drawn
// or dragged. Gates are stored in plot space (0..10000 over the plotting
// area, y from the top); the mouse works in picture pixels.
#include <QPainter>
#include <QPointF>

#include <cstdint>
#include <string>
#include <vector>

#include "core/PopulationRecord.h"

namespace qv::gate {

// Picture pixels <-> plot space for a picture of W x H with margin m.
struct Geometry {
    double m = 0, W = 0, H = 0, plotW = 0, plotH = 0;
    Geometry() = default;
    Geometry(double margin, double width, double height)
        : m(margin), W(width), H(height), plotW(width - 2 * margin), plotH(height - 2 * margin) {}
    bool usable() const { return plotW > 0 && plotH > 0; }
    double toPlotX(double x) const { return (x - m) / plotW * 10000.0; }
    double toPlotY(double y) const { return (y - m) / plotH * 10000.0; }
    double toPixelX(double px) const { return m + plotW * px / 10000.0; }
    double toPixelY(double py) const { return m + plotH * py / 10000.0; }
};

// A plot-space coordinate as stored: a 32-bit float that is always finite.
float storedCoordinate(double v);
// Rounded to the nearest whole number, halves to even, held in range.
int32_t roundedWhole(double v);
// (x, y) strictly within tol of (tx, ty) in both directions.
bool hits(double x, double y, double tx, double ty, double tol);

PopulationRecord& population(int slot);
// Corners 1..n of a record, n held within 0..50.
int cornerCount(const PopulationRecord& p);
// Half the width of a gate's label as the centring counts it.
double halfLabelWidth(const PopulationRecord& p);
// The label's anchor (lx, ly) in picture pixels.
QPointF labelAnchor(const PopulationRecord& p, const Geometry& geo);
// Whether the plot-space point lies inside the gate (corners rounded).
bool insidePolygon(const PopulationRecord& p, double px, double py);

// The draft := the picture points of the population's corners.
void copyCornersToDraft(const PopulationRecord& p, const Geometry& geo);
// The population's corners := the draft's (picture points to plot space),
// and its corner count.
void copyDraftToCorners(PopulationRecord& p, const Geometry& geo);
// A left click while drawing: the first corner of a new draft owned by
// `windowId`, or one more corner of the draft this window owns. A click
// beyond the 50th corner, or in another window while a draft is open there,
// adds nothing.
void addDraftCorner(double x, double y, int16_t windowId);

// What a left press grabs among `gates` (slots in order), the first hit
// winning: a corner within tol (DragCornerPopulation and DragCornerIndex,
// the draft := the gate's corners), else a label's grab point, the top-left
// of its text (DragLabelPopulation), else the inside of a gate
// (DragMovePopulation, the draft := its corners, moveStart := the point).
enum class GateGrab { None, Corner, Label, Whole };
GateGrab grabGate(const std::vector<int>& gates, double x, double y, const Geometry& geo, double tol,
                  int32_t& moveStartX, int32_t& moveStartY);

// The gate whose marks hovering shows: the first of `gates` with a corner
// within tol (its corners) or whose label box holds the point (its label).
struct GateHover {
    int slot = 0;
    bool corner = false;
};
GateHover hoverGate(const std::vector<int>& gates, double x, double y, const Geometry& geo, double tol);

// A move while a corner or a whole gate is dragged: the draft follows the
// pointer (a whole gate by the step since the last move).
void dragDraft(double x, double y, int32_t& moveStartX, int32_t& moveStartY);

// The releases: the dragged corner, or the whole moved draft, stored in the
// gate and the drag ended; the slot whose membership must be recomputed.
int releaseCornerDrag(double x, double y, const Geometry& geo);
int releaseMoveDrag(const Geometry& geo);
// The label dropped with its text's top-left at the point; no membership
// changes.
void releaseLabelDrag(double x, double y, const Geometry& geo);

// Whether a press closes the draft window `windowId` owns: a right click, or
// a left click within tol of its first corner once it has two corners.
bool pressClosesDraft(bool left, bool right, double x, double y, int16_t windowId, double tol);
// A closed draft stored in the chosen population row (1..MaxPopulations):
// its corners, in use, of `type`, made by `windowId`, label offset 0, not
// transparent; a row not yet in use gets the default name of a `type` gate
// (DefaultGateName; a row in use keeps the name definitions may use).
// Returns the slot, 0 when no row is chosen (nothing is written then).
int storeClosedDraft(const Geometry& geo, int chosenSlot, int16_t windowId, const std::string& type);

// The draft as lines and corner boxes: open with a line to *toPointer, or
// closed back to corner 1.
void drawDraftPolygon(QPainter& painter, bool closed, double tol, const QPointF* toPointer);

}  // namespace qv::gate
