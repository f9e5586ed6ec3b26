#include "plots/modeller/model/ModellerRenderer.h"

#include <QPolygonF>

#include <algorithm>
#include <string>
#include <vector>

#include "app/model/FileSystemText.h"
#include "core/AxisTicks.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"
#include "core/picture/WindowPicture.h"
#include "plots/histogram/model/HistogramBins.h"
#include "plots/histogram/model/HistogramRenderer.h"
#include "plots/modeller/model/CurveStatistics.h"

namespace qv {

namespace {

const QColor CurveColour(0, 0, 255);

// A line through the points (m + (i + 1) / R * W', y(i)) for i = 1..R,
// starting at (m + 1 / R * W', `startY`): each bin's segment runs from the
// end of the one before it.
QPolygonF binLine(std::span<const double> heights, const ModellerGeometry& geo, double startY, bool fromAxis) {
    const int32_t R = static_cast<int32_t>(heights.size()) - 1;
    QPolygonF line;
    if (R < 1) return line;
    line.reserve(R + 1);
    line << QPointF(geo.m + 1.0 / R * geo.plotWidth(), startY);
    for (int32_t i = 1; i <= R; ++i) {
        const double h = heights[static_cast<size_t>(i)];
        const double y = fromAxis ? geo.plotHeight() - h + geo.m : h;
        line << QPointF(geo.m + static_cast<double>(i + 1) / R * geo.plotWidth(), y);
    }
    return line;
}

// Coordinates far outside the picture are held near it, so no painter
// works on huge or undefined numbers.
void holdNearPicture(QPolygonF& line, const ModellerGeometry& geo) {
    const double far = 4.0 * std::max(geo.W, geo.H) + 1000.0;
    for (QPointF& p : line) {
        const double y = p.y();
        p.setY(!(y > -far) ? -far : (y > far ? far : y));
    }
}

}  // namespace

int FitModellerToFile(ModellerState& state, const FileRecord& file) {
    int params = std::min<int>(file.ParameterCount, static_cast<int>(file.Parameters.size()) - 1);
    params = std::min<int>(params, file.WorkingData.maxColumn());
    if (params >= 1 && (state.Channel < 1 || state.Channel > params)) state.Channel = 1;
    const int s = state.ShownPopulation;
    if (s != 0 && (s < 0 || s >= PopulationTableSize || !g.PopulationTable[static_cast<size_t>(s)].InUse))
        state.ShownPopulation = 0;
    return std::max(0, params);
}

ModellerGeometry ModellerGeometryOf(const ModellerState& state, int width, int height) {
    return ModellerGeometry{static_cast<double>(std::max(1, width)), static_cast<double>(std::max(1, height)),
                            static_cast<double>(state.Margin), std::max<int32_t>(1, state.CurveResolution)};
}

void DrawCurveLine(QPainter& p, std::span<const double> values, const ModellerGeometry& geo) {
    std::vector<double> heights(values.begin(), values.end());
    for (double& v : heights) v = v / geo.R * geo.plotHeight();
    QPolygonF line = binLine(heights, geo, geo.plotHeight() + geo.m, true);
    holdNearPicture(line, geo);
    p.setPen(QPen(CurveColour, 1));
    p.drawPolyline(line);
}

void DrawCurveHandles(QPainter& p, const GaussCurve& curve, int k, const ModellerGeometry& geo, double divisor,
                      int t, const QColor& textColour) {
    const auto handles = CurveHandles(curve, geo, divisor);
    const QString number = QString::number(k);
    for (size_t h = 0; h < handles.size(); ++h) {
        const HandleCentre c = handles[h];
        if (!geo.inside(c.x, c.y)) continue;
        p.setPen(QPen(CurveColour, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(c.x - t, c.y - t, 2.0 * t, 2.0 * t));
        if (h <= 1) {
            p.setPen(textColour);
            PrintAt(p, c.x, c.y - 10, number);
        }
    }
}

void DrawCurveSumLine(QPainter& p, std::span<const double> curveSum, const ModellerGeometry& geo, int level) {
    QPolygonF line = binLine(curveSum, geo, geo.plotHeight() + geo.m, true);
    holdNearPicture(line, geo);
    p.setPen(QPen(QColor(level, level, level), 2));
    p.drawPolyline(line);
    p.setPen(QPen(QColor(level, level, level), 1));
}

void RenderModeller(QImage& image, ModellerState& state, const FileRecord& file,
                    const ModellerRenderOptions& options) {
    if (image.isNull()) return;
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    const int W = std::max(1, image.width());
    const int H = std::max(1, image.height());
    const int m = state.Margin;
    const int gap = state.TextGap;
    const ModellerGeometry geo = ModellerGeometryOf(state, W, H);

    state.BackgroundLevel = state.DarkBackground ? 255 : 0;
    const int level = state.BackgroundLevel;
    const QColor grey(level, level, level);
    const QColor fore = state.DarkBackground ? QColor(255, 255, 255) : QColor(0, 0, 0);
    image.fill(state.DarkBackground ? QColor(0, 0, 0) : QColor(255, 255, 255));

    const int params = FitModellerToFile(state, file);
    const ParameterInfo* param = params > 0 ? &file.Parameters[static_cast<size_t>(state.Channel)] : nullptr;

    // The histogram: the histogram window's binning, moving mean and Y maximum.
    state.HistogramResolution = std::max<int32_t>(1, state.HistogramResolution);
    HistogramBinning binning;
    binning.channel = param ? state.Channel : 0;
    binning.resolution = state.HistogramResolution;
    binning.step = state.DrawStep;
    binning.shownPopulation = state.ShownPopulation;
    state.YMax =
        BinnedSmoothedCounts(file, binning, state.effectiveSmoothing(), state.YScale, state.HistogramCounts);
    const float f = static_cast<float>(H - 2 * m) / state.YMax;
    if (W - 2 * m > 0) {
        std::vector<int32_t> tops;
        DrawHistogramColumns(image, state.HistogramCounts, f, m, qRgb(state.FillRed, state.FillGreen, state.FillBlue), tops);
    }

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(PictureFont());
    p.setPen(fore);
    if (options.showFileName) PrintAt(p, m, 1, shownFileSystemText(file.FileName));
    if (param) PrintAt(p, W / 2.0 - CentringWidth(param->Name) / 2.0, H - m + gap, Latin1Text(param->Name));

    p.setPen(fore);
    p.drawLine(m, m, m, H - m);
    p.drawLine(m, H - m, W - m, H - m);
    if (param) {
        p.setPen(grey);
        for (const double d : AxisTickDistances(*param, W - 2 * m)) {
            const int x = PixelOf(m + d);
            p.drawLine(x, H - m, x, H - m + gap);
        }
    }
    p.setPen(fore);
    if (state.FastDraw) PrintAt(p, (W - m) - 98, m, QStringLiteral("FAST DRAW MODE"));

    // The curves, the held one last and only summed: the window draws it.
    state.CurveSum.assign(static_cast<size_t>(state.CurveResolution) + 1, 0.0);
    std::vector<double> values;
    for (int k = 1; k <= state.MaxCurves; ++k) {
        const GaussCurve* c = state.curve(k);
        if (!c || !c->Active || k == state.DraggedCurve) continue;
        EvaluateCurve(state, k, geo.plotHeight(), values);
        DrawCurveLine(p, values, geo);
        if (!state.Copying) DrawCurveHandles(p, *c, k, geo, state.HandleHeightDivisor, state.HandleSize, fore);
    }
    if (state.curve(state.DraggedCurve))
        EvaluateCurve(state, state.DraggedCurve, geo.plotHeight(), values);
    else
        DrawCurveSumLine(p, state.CurveSum, geo, level);

    p.setPen(fore);
    const std::string top = NumberText(Int(state.YMax));
    DrawVerticalTitle(p, QPointF(m - 12 - gap, m + 7.0 * static_cast<double>(top.size())), Latin1Text(top), 13, 400);
}

}  // namespace qv
