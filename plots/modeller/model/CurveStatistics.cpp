#include "plots/modeller/model/CurveStatistics.h"

#include <cmath>

#include "core/AxisScaling.h"
#include "core/Numbers.h"

namespace qv {

namespace {

int32_t saturated(double whole) {
    if (whole >= 2147483647.0) return INT32_MAX;
    if (whole <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(whole);
}

}  // namespace

void EvaluateCurveValues(const GaussCurve& curve, std::span<const double> binValues, double plotHeight,
                         std::span<double> values, std::span<double> curveSum, HistogramStatistics& stats) {
    stats = HistogramStatistics{};
    if (values.size() < 2) return;
    const int32_t R = static_cast<int32_t>(values.size()) - 1;
    // The area is kept whole after each addition, as the stored statistics
    // were always computed; a double holds it exactly far past 32 bits.
    double area = 0.0, meanSum = 0.0, logSum = 0.0;
    for (int32_t i = 1; i <= R; ++i) {
        const double value = CurveValue(curve, i);
        values[static_cast<size_t>(i)] = value;
        curveSum[static_cast<size_t>(i)] += value / R * plotHeight;
        area = RoundHalfEven(area + value);
        const double channel = binValues[static_cast<size_t>(i)];
        meanSum += value * channel;
        logSum += value * Log10(channel);
    }
    stats.Number = saturated(area);
    if (!(area >= 1.0)) return;
    const double mean = meanSum / area;
    stats.Mean = mean;
    stats.GeoMean = std::pow(10.0, logSum / area);
    if (!(mean > 0.0)) return;
    double spread = 0.0;
    for (int32_t i = 1; i <= R; ++i) {
        // Each bin counts once per whole unit of its value.
        const double units = Int(values[static_cast<size_t>(i)]);
        if (units < 1.0) continue;
        const double d = binValues[static_cast<size_t>(i)] - mean;
        spread += d * d * units;
    }
    stats.CV = std::sqrt(spread / area) / mean;
}

void EvaluateCurve(ModellerState& state, int k, double plotHeight, std::vector<double>& values) {
    const GaussCurve* c = state.curve(k);
    if (!c) return;
    const size_t n = static_cast<size_t>(state.CurveResolution) + 1;
    values.resize(n);
    state.CurveSum.resize(n, 0.0);
    state.BinValues.resize(n, 0.0);
    EvaluateCurveValues(*c, state.BinValues, plotHeight, values, state.CurveSum,
                        state.CurveStatistics[static_cast<size_t>(k)]);
}

void SumActiveCurves(ModellerState& state, double plotHeight, int leaveOut) {
    state.CurveSum.assign(static_cast<size_t>(state.CurveResolution) + 1, 0.0);
    std::vector<double> values;
    for (int k = 1; k <= state.MaxCurves; ++k) {
        const GaussCurve* c = state.curve(k);
        if (c && c->Active && k != leaveOut) EvaluateCurve(state, k, plotHeight, values);
    }
}

void ComputeCurvePercentages(ModellerState& state) {
    int64_t total = 0;
    for (int k = 1; k <= state.MaxCurves; ++k)
        if (const GaussCurve* c = state.curve(k); c && c->Active) total += state.CurveStatistics[static_cast<size_t>(k)].Number;
    if (total <= 0) return;
    for (int k = 1; k <= state.MaxCurves; ++k)
        if (const GaussCurve* c = state.curve(k); c && c->Active) {
            HistogramStatistics& s = state.CurveStatistics[static_cast<size_t>(k)];
            s.Fraction = static_cast<double>(s.Number) / static_cast<double>(total);
        }
}

}  // namespace qv
