#include "plots/modeller/model/ModellerState.h"

#include "plots/histogram/model/HistogramState.h"

namespace qv {

ModellerState::ModellerState() {
    for (size_t i = 0; i < MenuCaptions.size(); ++i) MenuCaptions[i] = ModellerStartCaptions[i];
    Curves.resize(static_cast<size_t>(MaxCurves) + 1);
    for (int k = 1; k <= MaxCurves; ++k) Curves[static_cast<size_t>(k)] = InitialCurve(k, CurveResolution);
    CurveStatistics.assign(static_cast<size_t>(MaxCurves) + 1, HistogramStatistics{});
    BinValues.assign(static_cast<size_t>(CurveResolution) + 1, 0.0);
    CurveSum.assign(static_cast<size_t>(CurveResolution) + 1, 0.0);
}

GaussCurve* ModellerState::curve(int64_t k) {
    if (k < 1 || k > MaxCurves || k >= static_cast<int64_t>(Curves.size())) return nullptr;
    return &Curves[static_cast<size_t>(k)];
}

const GaussCurve* ModellerState::curve(int64_t k) const { return const_cast<ModellerState*>(this)->curve(k); }

int ModellerState::activeCurveCount() const {
    int n = 0;
    for (int k = 1; k <= MaxCurves; ++k)
        if (const GaussCurve* c = curve(k); c && c->Active) ++n;
    return n;
}

int32_t ModellerState::effectiveSmoothing() const { return SmoothingWithin(Smoothing, HistogramResolution); }

}  // namespace qv
