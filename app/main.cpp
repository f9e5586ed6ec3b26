#include <QApplication>

#include "app/PaaIkkuna.h"
#include "output/ClipBook.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/histogram/Histogram.h"
#include "plots/histogram/MirrorHistogram.h"
#include "plots/histogram/Overlayhistogram.h"
#include "plots/multi/BendPlot.h"
#include "plots/timeproj/FluxTracker.h"
#include "plots/timeproj/Projector.h"
#include "plots/modeller/HistogramModeller.h"
#include "plots/multi/ThreeDPlot.h"
#include "plots/multi/Dad.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The window kinds the registry can make.
    qv::registerDotPlotKind();
    qv::registerHistogramKind();
    qv::registerClipBookKind();
    qv::registerOverlayHistogramKind();
    qv::registerMirrorHistogramKind();
    qv::registerBendPlotKind();
    qv::registerFluxTrackerKind();
    qv::registerProjectorKind();
    qv::registerHistogramModellerKind();
    qv::registerThreeDPlotKind();
    qv::registerDadKind();
    qv::PaaIkkuna mainWindow;
    mainWindow.MDIForm_Load();
    return app.exec();
}
