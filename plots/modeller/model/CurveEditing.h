#pragma once
// What the mouse, the pop-up menu and tools do to the modeller's curves:
// grabbing a handle, dragging it, creating a curve from the axis strip,
// releasing (which removes a curve pulled down to the floor), adding a
// curve, and the tool commands that set, create, delete and measure curves
// in ten-thousandths of the axis. Widget-free; the window redraws.
#include <cstdint>
#include <optional>
#include <string>

#include "plots/modeller/model/ModellerGeometry.h"
#include "plots/modeller/model/ModellerState.h"

namespace qv {

// A left press at (x, y): the first handle of the first active curve whose
// centre lies less than HandleSize from the press on both axes, handles
// tested peak, plateau end, left flank, right flank. The peak is skipped
// while a modifier key is held, so a press on a peak without plateau takes
// the plateau end under it. Sets DraggedCurve and the handle's flag; false
// (nothing changed) when no handle is hit.
bool GrabCurveHandle(ModellerState& state, const ModellerGeometry& geo, double x, double y, bool modifierHeld);

// A move to (x, y) while a handle is held: the peak sets Place (rounded
// half to even) and Height (at least 1) while x is strictly inside the
// plotting area; the plateau end sets Plateau (at least 0) under the same
// condition; a flank sets its deviation (at least 1) wherever x is.
void DragCurveHandle(ModellerState& state, const ModellerGeometry& geo, double x, double y);

// The strip gesture reaching the plot: the first inactive curve becomes
// active at Height 1 named "Curve k", its peak held; Dragging ends. Returns
// k, or 0 (Dragging stays) when every curve is active.
int CreateCurveFromStrip(ModellerState& state);

// The release: Dragging ends; a held curve whose Height is exactly 1 is
// removed; every handle is let go. Returns whether a curve was held.
bool ReleaseCurve(ModellerState& state);

// "Add curve": the first inactive curve becomes active as its record
// stands. Returns k, or 0 when every curve is active.
int ActivateFirstInactiveCurve(ModellerState& state);

enum class CurveCommandError {
    None,
    CurveOutOfRange,  // a curve number outside 1..MaxCurves
    NotANumber,       // a curve number or value that is no number or does not fit
};

// Tool "SiirraKayraa": "nimi" the name; "korkeus", "paikka" (rounded half
// to even), "tasanne", "hajontavasen", "hajontaoikea" take value / 10000 *
// CurveResolution; other words change nothing. A deviation of 0 or less is
// taken as 1. Active is not changed.
CurveCommandError SetCurveProperty(ModellerState& state, const std::string& what, const std::string& curve,
                                   const std::string& value);

// Tool "LuoTaiPoista": "luo" makes the curve active at Place 100, Height
// 100 with the name; "poista" removes it as the mouse does; other actions
// change nothing.
CurveCommandError CreateOrRemoveCurve(ModellerState& state, const std::string& action, const std::string& curve,
                                      const std::string& name);

// Tool "AnnaSummanKorkeus": the curve bin Int(pos / 10000 * R) of a
// position; nothing when pos is no number or the bin lies outside the
// curve sum (0..R).
std::optional<int32_t> CurveSumBinAt(const ModellerState& state, const std::string& pos);
// The curve sum at that bin in ten-thousandths of the plotting height,
// rounded half to even; 0 for a plotting area of no height.
int32_t CurveSumHeightAt(const ModellerState& state, int32_t bin, double plotHeight);

}  // namespace qv
