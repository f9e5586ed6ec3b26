#pragma once
// The flux tracker: the scatter display with a red curve of the mean (or
// geometric mean) of Y over equal bins of X. Its own items set the number of
// bins and the smoothing, switch the mean, give the file a generated time
// parameter, stretch the X values over their range and copy the curve as
// text.
#include "plots/timeproj/ScatterDisplayWindow.h"
#include "plots/timeproj/model/FluxCurve.h"

namespace qv {

// Registers the "FluxTracker" window kind with the window registry.
void registerFluxTrackerKind();

// Pop-up items of the flux tracker (1-based).
enum FluxTrackerMenuItem : int {
    FluxSetResolution = 1,
    FluxSetSmoothing = 2,
    FluxGeometricMean = 3,
    FluxCreateTimeAxis = 4,
    FluxStretchX = 5,
    FluxDensity = 7,
    FluxMulticolor = 9,
    FluxCopyImage = 11,
    FluxSavePicture = 12,
    FluxBackground = 14,
    FluxDotSize = 15,
    FluxFastDraw = 16,
    FluxCopyCurve = 18,
    FluxPrintPage = 20,
};

class FluxTracker : public ScatterDisplayWindow {
    Q_OBJECT
public:
    explicit FluxTracker(QWidget* parent = nullptr);
    ~FluxTracker() override;

    void Alusta(int id) override;

    const FluxCurveSettings& curveSettings() const { return curve_; }
    // The curve of the last full draw.
    const FluxCurveBins& curveBins() const { return bins_; }

protected:
    const char* kindTitle() const override { return "Flux Tracker"; }
    void drawOwnLayer(QImage& picture, const FileRecord& file, bool quickPass) override;
    bool ownMenuItem(int index) override;
    void axisChosen(const FileRecord& file) override;
    void fileTaken(const FileRecord& file) override;
    void appendOwnSettingsLines(std::vector<std::string>& lines) const override;
    void applyOwnSettingsLine(const std::string& key, const std::string& value) override;

private:
    void setResolution();
    void setSmoothing();
    void createTimeAxis();
    void stretchXAxis();
    void copyCurve();
    // Range of the X parameter of the shown file; nothing without one.
    std::optional<int32_t> xRange() const;

    FluxCurveSettings curve_;
    FluxCurveBins bins_;
    // The resolution the bins of the last full draw were built with.
    double binsResolution_ = 0;
};

}  // namespace qv
