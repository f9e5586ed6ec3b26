#include <QApplication>

#include "app/PaaIkkuna.h"
#include "output/ClipBook.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/histogram/Histogram.h"
#include "plots/multi/ThreeDPlot.h"
#include "plots/multi/Dad.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The window kinds the registry can make.
    qv::registerDotPlotKind();
    qv::registerHistogramKind();
    qv::registerClipBookKind();
    qv::registerThreeDPlotKind();
    qv::registerDadKind();
    qv::PaaIkkuna mainWindow;
    mainWindow.MDIForm_Load();
    return app.exec();
}
