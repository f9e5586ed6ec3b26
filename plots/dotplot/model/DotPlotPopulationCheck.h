#pragma once
// The dot plot's population check: brings one polygon gate's membership up
// to date in every loaded file. It reads the gate (corners in PlotSpace,
// AxisX/AxisY) and the file table only, never a window's own settings, so
// the dot plot window's CheckPopulation member and the recomputation of all
// populations both call it and get the same result.
#include "app/model/DefinitionEvaluator.h"
#include "core/GateMembership.h"

namespace qv {

// For every loaded file of g.FileTable, writes Membership column `slot`
// (events 1..EventCount): 1 when the event's dot (X on the gate's AxisX, Y on
// its AxisY, both scaled to PlotSpace as the dot plot places dots) lies inside
// the polygon of corners 1..Corners (each rounded half to even), else 0. A
// file lacking one of the gate's parameters gets 0 for every event. Then, with
// DefinitionRecheck::All, every definition is evaluated again. Shows nothing;
// the PopulationRecord is not changed. A slot outside the membership columns
// does nothing.
// The same test as one gate of WriteGatesMembership, for checking many
// gates in one pass; `slot` must be a gate slot (IsGateSlot).
GateBlockCheck DotPlotGateCheck(int slot);
void DotPlotCheckPopulation(int slot, DefinitionRecheck recheck = DefinitionRecheck::All);

}  // namespace qv
