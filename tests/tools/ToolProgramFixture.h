#pragma once
// Tools run inside the started program: the main window with real dot plots
// and histograms, the tool window and its commands and queries, every
// dialog answered by the test's script, and a folder of generated FCS files.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/PaaIkkuna.h"
#include "app/WindowDisposal.h"
#include "app/WindowRegistry.h"
#include "app/model/ProgramFolder.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "plots/histogram/Histogram.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/core/FcsTestWriter.h"
#include "tools/Skripti.h"

namespace qv::test {

class ToolProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(programFolder.isValid());
        setProgramFolderOverride(programFolder.path());
        registerDotPlotKind();
        registerHistogramKind();
        main = std::make_unique<PaaIkkuna>();
        main->setSheetWriter([](const QString&) {});
        main->setSheetReader([](const QString&) {});
        main->MDIForm_Load();
        QApplication::setActiveWindow(main.get());
    }
    void TearDown() override {
        dialogs.finish();
        main.reset();
        deleteDiscardedWidgets();
        registerWindowKind("DotPlot", nullptr);
        registerWindowKind("Histogram", nullptr);
        setProgramFolderOverride(QString());
        resetSharedState();
    }

    Skripti& tool() { return *main->toolWindow(); }
    // Runs the text as the Tools menu would (no variable pane).
    void run(const std::string& text) { tool().AjaOhjelma(text, false); }
    std::string value(const std::string& name) {
        const ScriptRun* r = tool().interpreter().lastRun();
        const ScriptVariable* v = r ? r->findVariable(name) : nullptr;
        return v ? v->Value : "<none>";
    }

    // A small FCS file of two parameters in the data folder.
    void writeFcs(const std::string& name, std::vector<std::vector<double>> events) {
        FcsTestFile file;
        file.param("FSC-H").param("SSC-H");
        file.Events = std::move(events);
        WriteFcsTestFile(data.file(name), file);
    }
    // A file the folder listing takes for FCS but the reader refuses.
    void writeDamaged(const std::string& name) { WriteBytes(data.file(name), "FCS3.0    damaged beyond reading"); }

    QTemporaryDir programFolder;
    ScriptedDialogs dialogs;
    std::unique_ptr<PaaIkkuna> main;
    TempFolder data;
};

// The abort message of a failing line, as shown.
inline QString abortText(int line) {
    return QStringLiteral("There is an error in the code on line %1. Aborting.").arg(line);
}

}  // namespace qv::test
