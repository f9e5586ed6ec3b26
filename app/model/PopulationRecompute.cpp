#include "app/model/PopulationRecompute.h"
#include "app/model/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

#include <utility>
#include <vector>

#include "app/model/DefinitionEvaluator.h"
#include "core/SharedState.h"
#include "plots/dotplot/model/DotPlotPopulationCheck.h"
#include "plots/histogram/model/HistogramMarkerCheck.h"

namespace qv {
namespace {

WindowPopulationCheck& windowCheck() {
    static WindowPopulationCheck hook;
    return hook;
}


void recompute(int slot, DefinitionRecheck recheck) {
    if (slot < 1 || slot >= PopulationTableSize) return;
    const PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
    if (p.Type == "Polygon") {
        DotPlotCheckPopulation(slot, recheck);
    } else if (p.Type == "DAD") {
        // The layout these gates refer to lives only in the DAD window.
    } else if (p.Type == "Histogram") {
        HistogramCheckPopulation(slot, recheck);
    } else if (p.Type == "BendPlot") {
        const int id = p.Created;
        if (id < 1 || id >= static_cast<int>(g.WindowRegistry.size())) return;
        const WindowRecord& w = g.WindowRegistry[static_cast<size_t>(id)];
        // A closed window, or its slot taken by another kind, holds no chain for this gate.
        if (!w.InUse || w.Type != "BendPlot" || w.Form == nullptr || !windowCheck()) return;
        windowCheck()(*w.Form, slot);
    }
}

}  // namespace

void SetWindowPopulationCheck(WindowPopulationCheck hook) { windowCheck() = std::move(hook); }

void RecomputePopulation(int slot) { recompute(slot, DefinitionRecheck::All); }

void RecomputeAllPopulations() {
    WaitCursor wait;
    // The gates drawn from the tables alone are checked together, so a
    // parameter several of them test is scaled once. Each writes only its
    // own column, so the order of the checks does not matter.
    std::vector<GateBlockCheck> tableGates;
    for (int slot = 1; slot <= g.MaxPopulations && slot < PopulationTableSize; ++slot) {
        const PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
        if (!p.InUse) continue;
        if (IsGateSlot(slot) && p.Type == "Polygon") tableGates.push_back(DotPlotGateCheck(slot));
        else if (IsGateSlot(slot) && p.Type == "Histogram") tableGates.push_back(HistogramGateCheck(slot));
        else recompute(slot, DefinitionRecheck::None);
    }
    WriteGatesMembership(tableGates);
    CheckAllDefinitions();
}

}  // namespace qv
