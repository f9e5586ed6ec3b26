#pragma once
// Recomputing populations after the data under the gates changed (a file
// loaded, a sheet read, log marks or compensation changed, a tool asked).
// Each gate kind is recomputed by the code that knows how its gates map
// events to plot space:
//   "Polygon"   DotPlotCheckPopulation (from the tables alone)
//   "Histogram" HistogramCheckPopulation (from the tables alone)
//   "BendPlot"  the bending-plot window that drew it (record's Created), whose
//               axis chain only it holds: reached through the hook below
//   "DAD"       left as it is; only the DAD window itself re-checks its gates
// Any other kind (empty, a definition slot) is left alone.
#include <functional>

namespace qv {

class PlotWindow;

// The application installs this so the model, which knows no widgets, can
// hand a gate to a window: it is called with g.WindowRegistry[Created].Form
// and the slot, and should call that window's CheckPopulation(slot). It is
// called only when that registry slot is in use, holds a "BendPlot" window
// and has a Form; otherwise the population keeps its membership as it was.
// An empty function removes the hook.
using WindowPopulationCheck = std::function<void(PlotWindow& window, int slot)>;
void SetWindowPopulationCheck(WindowPopulationCheck hook);

// Recomputes the population in `slot` by its kind (see above); the checks
// re-evaluate the definitions afterwards.
void RecomputePopulation(int slot);

// Recomputes every population in use (slots 1..MaxPopulations; the polygon
// and histogram gates in one pass over each file's events, each parameter
// scaled once), then evaluates every definition in use once, from the final
// population columns;
// a definition that no longer evaluates is dropped (InUse false). Shows the
// wait cursor while it runs when there is a GUI.
void RecomputeAllPopulations();

}  // namespace qv
