#include "plots/timeproj/model/FluxCurve.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

#include "core/AxisScaling.h"
#include "core/FileTableOps.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/VectorState.h"
#include "core/picture/PictureText.h"

namespace qv {

int32_t CurveLastBin(double resolution) {
    if (!(resolution > 0)) return 0;
    return NearestInt32(std::min(resolution, MaxCurveResolution));
}

namespace {

bool hasParameter(const FileRecord& file, int p) {
    return p >= 1 && p <= file.ParameterCount && p < static_cast<int>(file.Parameters.size()) &&
           p <= file.WorkingData.maxColumn();
}

}  // namespace

FluxCurveBins ComputeFluxCurve(const FileRecord& file, int axisX, int axisY, const FluxCurveSettings& settings,
                               int32_t step, const uint8_t* shown) {
    FluxCurveBins bins;
    const double r = settings.CurveResolution;
    if (!hasParameter(file, axisX) || !hasParameter(file, axisY) || !(r > 0) || r > MaxCurveResolution) return bins;
    const int32_t R = file.Parameters[static_cast<size_t>(axisX)].Range;
    if (R <= 0) return bins;
    const int32_t B = CurveLastBin(r);
    bins.Value.assign(static_cast<size_t>(B) + 1, 0.0);
    bins.Count.assign(static_cast<size_t>(B) + 1, 0.0);

    const int32_t last = std::min(file.EventCount, file.WorkingData.maxEvent());
    step = std::max<int32_t>(1, step);
    const float* xs = file.WorkingData.column(axisX);
    const float* ys = file.WorkingData.column(axisY);
    double* value = bins.Value.data();
    double* count = bins.Count.data();
    const double range = R;
    const double lastBin = B;
    const bool geometric = settings.GeometricMean;
    if (geometric) ClearUpperVectorHalves();  // one logarithm per event
    for (int64_t e = 1; e <= last; e += step) {
        if (shown && shown[e] != 1) continue;
        const double b = std::floor(static_cast<double>(xs[e]) / range * r);
        // Bin 0 (below one bin width), bins beyond B and values that are not
        // numbers are not counted.
        if (!(b > 0.0 && b <= lastBin)) continue;
        const double y = ys[e];
        const size_t k = static_cast<size_t>(b);
        value[k] += geometric ? Log10(y) : y;
        count[k] += 1.0;
    }
    for (int32_t b = 1; b <= B; ++b) {
        if (count[b] > 0) value[b] = geometric ? std::pow(10.0, value[b] / count[b]) : value[b] / count[b];
    }
    SmoothCurve(bins.Value, r, settings.CurveSmoothing);
    return bins;
}

void SmoothCurve(std::vector<double>& value, double r, int s) {
    if (s < 1 || value.empty()) return;
    const int64_t B = static_cast<int64_t>(value.size()) - 1;
    const int64_t width = static_cast<int64_t>(s) + 1;
    if (!(1 <= r - s - 1 && width <= B)) {
        // No window fits inside the curve: the width reaches every bin, so
        // every bin shows their common mean.
        if (B < 1) return;
        float sum = 0.0f;
        for (int64_t k = 1; k <= B; ++k) sum = static_cast<float>(static_cast<double>(sum) + value[static_cast<size_t>(k)]);
        std::fill(value.begin() + 1, value.end(), static_cast<double>(sum / static_cast<float>(B)));
        return;
    }
    // Each window is summed afresh in single precision while that stays
    // cheap; very wide windows over very many bins slide one running sum
    // along instead, so that no width can stall the draw.
    const bool sumEachWindow = static_cast<double>(B) * static_cast<double>(width) <= 5.0e7;
    double running = 0;
    if (!sumEachWindow)
        for (int64_t k = 1; k < width; ++k) running += value[static_cast<size_t>(k)];
    double lastMean = 0;
    for (int64_t b = 1; b <= r - s - 1 && b + s <= B; ++b) {
        const double own = value[static_cast<size_t>(b)];  // not yet smoothed
        float sum = 0.0f;
        if (sumEachWindow) {
            for (int64_t k = b; k <= b + s; ++k)
                sum = static_cast<float>(static_cast<double>(sum) + value[static_cast<size_t>(k)]);
        } else {
            running += value[static_cast<size_t>(b + s)];
            sum = static_cast<float>(running);
            running -= own;
        }
        value[static_cast<size_t>(b)] = static_cast<double>(sum / static_cast<float>(width));
        lastMean = value[static_cast<size_t>(b)];
    }
    // The tail, where no full window of bins is left, repeats the last mean.
    for (int64_t b = static_cast<int64_t>(std::ceil(r - s + 1)); b <= r - 1 && b <= B; ++b)
        if (b >= 1) value[static_cast<size_t>(b)] = lastMean;
}

std::string FluxCurveText(const FluxCurveBins& bins, double resolution) {
    std::string text;
    const int32_t lines = std::min(CurveLastBin(resolution - 1), bins.lastBin());
    for (int32_t b = 1; b <= lines; ++b) {
        text += NumberText(bins.Value[static_cast<size_t>(b)]);
        text += '\n';
    }
    return text;
}

void DrawFluxCurve(QImage& image, const FluxCurveBins& bins, double resolution, const ParameterInfo& yParameter,
                   int m) {
    if (bins.empty() || image.isNull() || !(resolution > 0)) return;
    const double W = image.width(), H = image.height();
    const double plotW = W - 2 * m, plotH = H - 2 * m;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(QColor(255, 0, 0));
    pen.setWidth(2);
    p.setPen(pen);
    QPoint previous(PixelOf(m), PixelOf(H - m));
    double y = H - m;
    for (int32_t b = 1; b <= bins.lastBin(); ++b) {
        const double x = m + plotW * b / resolution;
        if (bins.Count[static_cast<size_t>(b)] > 0) {
            const double v = bins.Value[static_cast<size_t>(b)];
            if (yParameter.IsLog)
                y = H - m - ScaleValueToAxis(NearestInt32(v), yParameter.Range, plotH);
            else
                y = H - m - v / yParameter.Range * plotH;
        }
        const QPoint at(PixelOf(x), PixelOf(y));
        if (b == 1)
            p.drawPoint(at);
        else
            p.drawLine(previous, at);
        previous = at;
    }
}

std::optional<double> ResolutionAnswer(const std::string& answer, int32_t range) {
    const std::optional<double> v = ParseNumber(answer);
    if (!v || !(*v > 1) || *v > range || *v > MaxCurveResolution) return std::nullopt;
    return *v;
}

std::optional<int32_t> SmoothingAnswer(const std::string& answer) {
    const std::optional<double> v = ParseNumber(answer);
    if (!v || !(*v >= 0)) return std::nullopt;
    return NearestInt32(*v);
}

void FillTimeValues(float* column, int32_t n) {
    const double events = n;
    for (int32_t i = 1; i <= n; ++i) column[i] = static_cast<float>(std::floor(i / events * 1024.0));
}

bool CreateTimeAxis(int slot) {
    if (slot < 1 || slot >= static_cast<int>(g.FileTable.size()) || !g.FileTable[static_cast<size_t>(slot)].Loaded)
        return false;
    if (!AddParameterToFile(slot)) return false;
    FileRecord& f = g.FileTable[static_cast<size_t>(slot)];
    const int32_t p = f.ParameterCount;
    ParameterInfo& info = f.Parameters[static_cast<size_t>(p)];
    info.Name = "Time (generic)";
    info.IsLog = false;
    info.Range = 1023;
    info.LogLocked = false;
    const int32_t n = std::min({f.EventCount, f.WorkingData.maxEvent(), f.PristineData.maxEvent()});
    if (n < 1) return true;
    FillTimeValues(f.WorkingData.column(p), n);
    std::copy_n(f.WorkingData.column(p) + 1, n, f.PristineData.column(p) + 1);
    return true;
}

int32_t StretchFactor(double maximum, int32_t range) {
    if (!(maximum > 0)) return 1;
    return std::max<int32_t>(1, NearestInt32(range / maximum));
}

int32_t StretchXValues(FileRecord& file, int axisX) {
    if (!hasParameter(file, axisX)) return 0;
    const int32_t n = std::min(file.EventCount, file.WorkingData.maxEvent());
    float* x = file.WorkingData.column(axisX);
    double maximum = -100000;
    for (int32_t e = 1; e <= n; ++e)
        if (x[e] > maximum) maximum = x[e];
    const int32_t factor = StretchFactor(maximum, file.Parameters[static_cast<size_t>(axisX)].Range);
    for (int32_t e = 1; e <= n; ++e) x[e] = static_cast<float>(std::floor(static_cast<double>(x[e]) * factor));
    return factor;
}

}  // namespace qv
