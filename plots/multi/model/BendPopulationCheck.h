#pragma once
// The membership of a bending-plot gate: its polygon (plot space) tested
// against the events placed by the chain of axes of the window that drew it,
// in that window's file only. The window passes its own axes and file, so
// the check needs no widget.
#include "app/model/DefinitionEvaluator.h"
#include "plots/multi/model/BendPlotState.h"

namespace qv {

// For gate `slot` (a membership column): every loaded file other than
// `fileSlot` gets 0 for every event; in `fileSlot` (when it holds a loaded
// file) every event, unfiltered and whatever the fast-draw step, is placed
// with `axes` and gets 1 when its point lies inside the gate's polygon
// (corners rounded half to even), else 0. Then, with DefinitionRecheck::All,
// every definition is evaluated again. A slot outside the membership columns
// does nothing.
void BendCheckPopulation(int slot, const AxisTable& axes, int fileSlot,
                         DefinitionRecheck recheck = DefinitionRecheck::All);

}  // namespace qv
