#pragma once
// Registers the program's real window kinds, every one, for tests that run
// them in the main window.
#include "output/ClipBook.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/histogram/Histogram.h"
#include "plots/histogram/MirrorHistogram.h"
#include "plots/histogram/Overlayhistogram.h"
#include "plots/modeller/HistogramModeller.h"
#include "plots/multi/BendPlot.h"
#include "plots/multi/Dad.h"
#include "plots/multi/ThreeDPlot.h"
#include "plots/timeproj/FluxTracker.h"
#include "plots/timeproj/Projector.h"

namespace qv::test {

inline void registerEveryWindowKind() {
    registerDotPlotKind();
    registerHistogramKind();
    registerClipBookKind();
    registerOverlayHistogramKind();
    registerMirrorHistogramKind();
    registerBendPlotKind();
    registerFluxTrackerKind();
    registerProjectorKind();
    registerHistogramModellerKind();
    registerThreeDPlotKind();
    registerDadKind();
}

}  // namespace qv::test
