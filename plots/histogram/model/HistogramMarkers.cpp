#include "plots/histogram/model/HistogramMarkers.h"

#include "core/SharedState.h"
#include "core/picture/PictureText.h"

namespace qv {

bool IsEligibleMarker(const PopulationRecord& record, int slot, const HistogramState& state) {
    return slot >= 1 && slot <= g.MaxPopulations && record.InUse && record.Type == "Histogram" &&
           record.AxisX == state.Channel && (!state.ShowCreatedHereOnly || record.Created == state.ID);
}

bool SetMarkerLabelAnchor(PopulationRecord& record) {
    const float middle = (record.CornerX[1] + record.CornerX[2]) / 2.0f;
    const float height = record.CornerY[1];
    constexpr float kLimit = 2.0e9f;
    if (!(std::fabs(middle) < kLimit) || !(std::fabs(height) < kLimit)) return false;
    record.LabelBaseX = static_cast<int32_t>(std::nearbyint(middle));
    record.LabelBaseY = static_cast<int32_t>(std::nearbyint(height));
    return true;
}

MarkerLabel MarkerLabelAt(const PopulationRecord& record, const HistogramGeometry& geometry) {
    MarkerLabel l;
    l.lx = geometry.px(static_cast<double>(record.LabelBaseX) + record.TitleX);
    l.ly = geometry.py(static_cast<double>(record.LabelBaseY) + record.TitleY);
    l.hw = CentringWidth(record.Name) / 2.0;
    return l;
}

}  // namespace qv
