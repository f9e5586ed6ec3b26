#pragma once
// The flux tracker's own numbers: the mean (or geometric mean) of Y over
// equal bins of X with its moving-mean smoothing, the curve as clipboard
// text and as a red line over the picture, the generated time parameter
// and the stretching of X values over their range. Widget-free.
#include <QImage>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/FileRecord.h"

namespace qv {

// Bins 0..B of the last full draw: value (the mean after smoothing) and
// count of each. Empty while no curve has been built.
struct FluxCurveBins {
    std::vector<double> Value;
    std::vector<double> Count;
    int32_t lastBin() const { return static_cast<int32_t>(Value.size()) - 1; }
    bool empty() const { return Value.empty(); }
};

struct FluxCurveSettings {
    double CurveResolution = 500;  // bins along X (may be fractional)
    int32_t CurveSmoothing = 3;    // width of the moving mean, 0 none
    bool GeometricMean = false;
};

// The most bins a curve holds, whatever a sheet asks for: far beyond any
// screen, and a bound on the memory a damaged sheet can ask for.
inline constexpr double MaxCurveResolution = 1.0e7;

// B = CLng(resolution), halves to even.
int32_t CurveLastBin(double resolution);

// Bins the events 1, 1 + step, ... of `file` that are shown (`shown` the
// membership column of the shown population, null for all events): each
// Y value (its Log10 for the geometric mean) goes to bin
// Int(x / Range of X * resolution) when that bin lies in 1..B. Then the
// means (10 ^ mean for the geometric mean) and the smoothing. A parameter
// outside the file, an X Range of 0 or below, or a resolution that is not
// above 0 gives no curve (empty bins).
FluxCurveBins ComputeFluxCurve(const FileRecord& file, int axisX, int axisY, const FluxCurveSettings& settings,
                               int32_t step, const uint8_t* shown);

// The moving mean over `smoothing` + 1 bins for b = 1 while b <= r - s - 1
// (each over values not yet smoothed, in single precision), then bins
// r - s + 1 .. r - 1 take the last mean; bins r - s and B stay as they are.
// A width that leaves no such window (s >= r - 1 for a whole r) covers the
// whole curve: every bin 1..B takes the mean of bins 1..B.
void SmoothCurve(std::vector<double>& value, double resolution, int smoothing);

// The clipboard text: value(b) for b = 1 .. CLng(resolution - 1), each
// followed by LF, limited to the bins the curve holds.
std::string FluxCurveText(const FluxCurveBins& bins, double resolution);

// Draws the curve as a red line of pen width 2 over `image`: x = m + (W -
// 2m) b / resolution, y from the bin's value on the Y parameter's axis
// (log or linear); an empty bin repeats the height before it, the first
// point starts on the X axis line.
void DrawFluxCurve(QImage& image, const FluxCurveBins& bins, double resolution, const ParameterInfo& yParameter,
                   int margin);

// "Set resolution": the answer as the new resolution when it is a number
// above 1 and at most the X Range (and the curve's bound); nothing otherwise.
std::optional<double> ResolutionAnswer(const std::string& answer, int32_t range);
// "Set smoothing" and the sheet's smoothing: any number at least 0, rounded
// half to even (held at the 32-bit end, where it covers any curve anyway);
// nothing otherwise.
std::optional<int32_t> SmoothingAnswer(const std::string& answer);

// The values of the generated time parameter of an N-event file: event i
// gets Int(i / N * 1024), written into `column` (events 1..N).
void FillTimeValues(float* column, int32_t eventCount);

// "Create time axis" on the file in FileTable slot `slot`: a new parameter
// "Time (generic)", linear, Range 1023, in both data copies. False, changing
// nothing, when the slot holds no loaded file.
bool CreateTimeAxis(int slot);

// The factor of "Strecth X axis" for the largest X value `maximum` on an
// axis of `range`: CLng(range / maximum) when the maximum is above 0, at
// least 1 (a stretch never multiplies by 0), else 1.
int32_t StretchFactor(double maximum, int32_t range);
// Stretches WorkingData of parameter `axisX` of `file` (every event): each
// value becomes Int(value * factor). The pristine copy stays. Returns the
// factor used, 0 when the parameter is not in the file.
int32_t StretchXValues(FileRecord& file, int axisX);

}  // namespace qv
