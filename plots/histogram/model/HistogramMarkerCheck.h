#pragma once
// The histogram's population check: brings one marker gate's membership up
// to date in every loaded file. It reads the marker (its two ends in
// PlotSpace x and its parameter AxisX) and the file table only, never a
// window's own settings, so any histogram window and the recomputation of
// all populations get the same result.
#include "app/model/DefinitionEvaluator.h"
#include "core/GateMembership.h"

namespace qv {

// Puts the marker's ends in order, CornerX(1) <= CornerX(2), and writes them
// back always finite (an end that is not a number becomes 0, an infinite one
// +-1e9). For every loaded file, writes Membership column `slot` for events
// 1..EventCount: 1 when the event's value on AxisX scaled to 10000 lies
// between the two ends, both included, else 0. A file lacking the parameter
// gets 0 for every event. Then, with DefinitionRecheck::All, every definition
// is evaluated again. Shows nothing. A slot outside the membership columns
// does nothing.
void HistogramCheckPopulation(int slot, DefinitionRecheck recheck = DefinitionRecheck::All);

// The same as one gate of WriteGatesMembership, for checking many gates in
// one pass: puts the marker's ends in order and writes them back as above,
// and returns the test of its events. `slot` must be a gate slot
// (IsGateSlot).
GateBlockCheck HistogramGateCheck(int slot);

}  // namespace qv
