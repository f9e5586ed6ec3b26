#include "plots/timeproj/FluxTracker.h"

#include <QClipboard>
#include <QGuiApplication>


#include "app/Dialogs.h"
#include "app/WindowRegistry.h"
#include "app/model/WaitCursor.h"
#include "core/Numbers.h"
#include "core/SharedState.h"

namespace qv {

void registerFluxTrackerKind() {
    registerWindowKind("FluxTracker", [] { return new FluxTracker(); });
}

namespace {

const std::vector<std::string> kStartCaptions = {
    "",
    "Set resolution",
    "Set smoothing",
    "Calculate geometric mean",
    "Create time axis",
    "Strecth X axis",
    "-",
    "Dot plot",
    "-",
    "Disable multicoloring",
    "-",
    "Copy image to clipboard",
    "Save as .BMP...",
    "-",
    "Invert background color",
    "Large dots",
    "Fast draw mode",
    "-",
    "Copy curve to clipboard",
    "-",
    "Show in print preview page",
};

constexpr ScatterMenuItems kItems{FluxDensity, FluxMulticolor, FluxCopyImage, FluxSavePicture,
                                  FluxBackground, FluxDotSize, FluxFastDraw, FluxPrintPage};

}  // namespace

FluxTracker::FluxTracker(QWidget* parent) : ScatterDisplayWindow(parent) {}

FluxTracker::~FluxTracker() = default;

void FluxTracker::Alusta(int id) {
    beginAlusta(id, kItems, kStartCaptions);
    curve_ = FluxCurveSettings();
    bins_ = FluxCurveBins();
    binsResolution_ = 0;
    endAlusta();
}

std::optional<int32_t> FluxTracker::xRange() const {
    const FileRecord& file = shownFile();
    const int x = view_.AxisX;
    if (!file.Loaded || x < 1 || x > file.ParameterCount || x >= static_cast<int>(file.Parameters.size()))
        return std::nullopt;
    return file.Parameters[static_cast<size_t>(x)].Range;
}

void FluxTracker::fileTaken(const FileRecord&) {
    if (const auto range = xRange(); range && curve_.CurveResolution > *range && *range > 1)
        curve_.CurveResolution = *range;
}

void FluxTracker::drawOwnLayer(QImage& picture, const FileRecord& file, bool quickPass) {
    if (quickPass) return;  // the curve waits for the full draw
    const uint8_t* shown = nullptr;
    // The resolution is the window's own, whatever X is now: over a channel
    // with fewer values than bins, the bins X can't reach stay empty.
    bins_ = shownMembership(file, shown)
                ? ComputeFluxCurve(file, view_.AxisX, view_.AxisY, curve_, view_.EventStep, shown)
                : FluxCurveBins();
    binsResolution_ = curve_.CurveResolution;
    if (bins_.empty()) return;
    DrawFluxCurve(picture, bins_, curve_.CurveResolution, file.Parameters[static_cast<size_t>(view_.AxisY)],
                  view_.PlotMargin);
}

bool FluxTracker::ownMenuItem(int index) {
    switch (index) {
    case FluxSetResolution: setResolution(); return true;
    case FluxSetSmoothing: setSmoothing(); return true;
    case FluxGeometricMean:
        curve_.GeometricMean = !curve_.GeometricMean;
        view_.setCaption(FluxGeometricMean,
                         curve_.GeometricMean ? "Calculate arithmetic mean" : "Calculate geometric mean");
        Piirra();
        return true;
    case FluxCreateTimeAxis: createTimeAxis(); return true;
    case FluxStretchX: stretchXAxis(); return true;
    case FluxCopyCurve: copyCurve(); return true;
    default: return false;
    }
}

void FluxTracker::setResolution() {
    const auto range = xRange();
    if (!range) return;
    const std::optional<QString> answer =
        dialogs().inputBox(QString::fromStdString("Give the new value for curve resolution (2-" +
                                                  std::to_string(*range) + ")"),
                           QStringLiteral("Curve resolution"),
                           QString::fromStdString(NumberText(curve_.CurveResolution)));
    if (answer) {
        if (const auto r = ResolutionAnswer(answer->toStdString(), *range)) curve_.CurveResolution = *r;
    }
    Piirra();
}

void FluxTracker::setSmoothing() {
    const std::optional<QString> answer =
        dialogs().inputBox(QStringLiteral("Give the new value for curve smoothing"), QStringLiteral("Curve smoothing"),
                           QString::number(curve_.CurveSmoothing));
    if (!answer) return;
    const auto s = SmoothingAnswer(answer->toStdString());
    if (!s) return;
    curve_.CurveSmoothing = *s;
    Piirra();
}

void FluxTracker::createTimeAxis() {
    const int slot = fileIndex();
    if (slot == 0 || !shownFile().Loaded) return;
    {
        WaitCursor wait;
        CreateTimeAxis(slot);
    }
    Piirra();
}

void FluxTracker::stretchXAxis() {
    const int slot = fileIndex();
    if (slot == 0 || !shownFile().Loaded) return;
    StretchXValues(g.FileTable[static_cast<size_t>(slot)], view_.AxisX);
    Piirra();
}

void FluxTracker::copyCurve() {
    if (fileIndex() == 0 || !shownFile().Loaded || bins_.empty()) return;
    const std::string text = FluxCurveText(bins_, binsResolution_);
    if (QClipboard* clip = QGuiApplication::clipboard()) {
        clip->clear();
        clip->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    }
}

void FluxTracker::axisChosen(const FileRecord& file) {
    const int x = view_.AxisX;
    if (x >= 1 && x < static_cast<int>(file.Parameters.size()) && file.Parameters[static_cast<size_t>(x)].IsLog)
        showMessage(QStringLiteral("Attention! The tracking doesn't work correctly if X axis is logarithmic!"));
}

void FluxTracker::appendOwnSettingsLines(std::vector<std::string>& lines) const {
    lines.push_back("curve.resolution:" + NumberText(curve_.CurveResolution));
    lines.push_back("curve.smoothing:" + NumberText(curve_.CurveSmoothing));
    lines.push_back(std::string("curve.geomean:") + FlagText(curve_.GeometricMean));
}

void FluxTracker::applyOwnSettingsLine(const std::string& key, const std::string& value) {
    if (key == "curve.resolution") {
        const std::optional<double> r = ParseNumber(value);
        // Held against X's Range only by the clamp after the next load.
        if (!r || !(*r > 1) || *r > MaxCurveResolution) return;
        curve_.CurveResolution = *r;
    } else if (key == "curve.smoothing") {
        if (const auto s = SmoothingAnswer(value)) curve_.CurveSmoothing = *s;
    } else if (key == "curve.geomean") {
        if (value == "1") {
            curve_.GeometricMean = true;
            view_.setCaption(FluxGeometricMean, "Calculate arithmetic mean");
        } else if (value == "0") {
            curve_.GeometricMean = false;
            view_.setCaption(FluxGeometricMean, "Calculate geometric mean");
        }
    }
}

}  // namespace qv
