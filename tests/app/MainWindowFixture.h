#pragma once
// A started main window in a temporary program folder, with stand-in window
// kinds registered under the type names the tests create, and the sheet
// writer replaced by a recorder of the modes it was asked for.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include "app/PaaIkkuna.h"
#include "app/PlotWindow.h"
#include "app/WindowRegistry.h"
#include "app/model/ProgramFolder.h"
#include "core/SharedState.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/StandInWindow.h"

namespace qv::test {

// Type name, caption kind, file window.
struct StandInKind {
    const char* type;
    const char* title;
    bool showsFile;
};

inline constexpr StandInKind AllStandInKinds[] = {
    {"DotPlot", "Dot Plot", true},
    {"Histogram", "Histogram", true},
    {"Histogram Modeller", "Histogram Modeller", true},
    {"Overlay Histogram", "Overlay Histogram", false},
    {"Mirror Histogram", "Mirror Histogram", false},
    {"3D Plot", "3D Plot", true},
    {"BendPlot", "Bending Plot", true},
    {"DAD", "DAD", true},
    {"FluxTracker", "Flux Tracker", true},
    {"Projector", "Projector", true},
    {"ClipBook", "ClipBook", false},
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        setProgramFolderOverride(folder_.path());
        for (const StandInKind& k : AllStandInKinds) registerStandInKind(k.type, k.title, k.showsFile);
        StandInWindow::log().clear();
        StandInWindow::onAlusta() = nullptr;
        StandInWindow::onDraw() = nullptr;
        StandInWindow::onUnload() = nullptr;
    }

    void TearDown() override {
        main_.reset();
        StandInWindow::onAlusta() = nullptr;
        StandInWindow::onDraw() = nullptr;
        StandInWindow::onUnload() = nullptr;
        for (const StandInKind& k : AllStandInKinds) registerWindowKind(k.type, nullptr);
        setProgramFolderOverride(QString());
    }

    // Builds and starts the main window (dialogs the start-up shows must be scripted first).
    PaaIkkuna& start() {
        main_ = std::make_unique<PaaIkkuna>();
        main_->setSheetWriter([this](const QString& mode) { writes << mode; });
        main_->setSheetReader([this](const QString& path) { reads << path; });
        main_->MDIForm_Load();
        // The workspace activates its children only while its window is active.
        QApplication::setActiveWindow(main_.get());
        return *main_;
    }

    QString autosavePath() const { return QDir(folder_.path()).filePath(QStringLiteral("autosave.quorvane")); }
    void writeAutosave() {
        QFile f(autosavePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("# Quorvane Analysis sheet\r\n");
    }

    StandInWindow* standIn(int id) { return qobject_cast<StandInWindow*>(windowAt(id)); }
    QString caption(int id) {
        PlotWindow* w = windowAt(id);
        return w ? w->windowTitle() : QString();
    }
    QList<int> selectedIds() const {
        QList<int> ids;
        for (int s = 1; s <= g.MaxWindows; ++s)
            if (g.WindowRegistry[static_cast<size_t>(s)].InUse && g.WindowRegistry[static_cast<size_t>(s)].Selected)
                ids << s;
        return ids;
    }
    int autosaves() const { return static_cast<int>(writes.count(QStringLiteral("Autosave"))); }

    QTemporaryDir folder_;
    std::unique_ptr<PaaIkkuna> main_;
    QStringList writes;
    QStringList reads;
};

}  // namespace qv::test
