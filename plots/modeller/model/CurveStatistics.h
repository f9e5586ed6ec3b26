#pragma once
// The numbers behind the modeller's curves: a curve evaluated over every
// curve bin with its statistics (area, mean, geometric mean and CV of the
// channel values under it), the per-bin sum of the active curves, and each
// curve's share of the total. Widget-free.
#include <cstdint>
#include <span>
#include <vector>

#include "plots/histogram/model/HistogramStatistics.h"
#include "plots/modeller/model/ModellerState.h"

namespace qv {

// Evaluates `curve` at curve bins 1..R (R = values.size() - 1): writes each
// value to values[i], adds its drawn height value / R * plotHeight to
// curveSum[i], and fills `stats`:
//  Number  the running sum of the values, rounded half to even after every
//          addition (held at the 32-bit limits);
//  Mean    the sum of value * binValues[i] over that sum;
//  GeoMean 10 ^ (the sum of value * Log10(binValues[i]) over that sum);
//  CV      the standard deviation over the mean, each bin counted once per
//          whole unit of its value (a value below 1 not at all);
//  Fraction 0 (ComputeCurvePercentages sets it).
// An area below 1 leaves every statistic 0. binValues and curveSum must have
// R + 1 elements.
void EvaluateCurveValues(const GaussCurve& curve, std::span<const double> binValues, double plotHeight,
                         std::span<double> values, std::span<double> curveSum, HistogramStatistics& stats);

// The same for curve k of the window: its statistics entry is rewritten and
// its heights added into the window's CurveSum.
void EvaluateCurve(ModellerState& state, int k, double plotHeight, std::vector<double>& values);

// CurveSum zeroed, then every active curve but `leaveOut` evaluated into it
// (statistics included); `leaveOut` 0 leaves none out.
void SumActiveCurves(ModellerState& state, double plotHeight, int leaveOut = 0);

// Fraction of every active curve: its Number over the sum of Number of all
// active curves (summed in 64 bits); nothing changes while that sum is 0.
// Inactive curves keep what they had.
void ComputeCurvePercentages(ModellerState& state);

}  // namespace qv
