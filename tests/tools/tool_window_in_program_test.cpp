// The tool window inside the running program: start-up, the Tools menu,
// the copy command and the exit while a tool runs.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "app/ToolsMenu.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedDialogs.h"
#include "tools/Skripti.h"

namespace qv::test {
namespace {

class ToolWindowInProgram : public MainWindowTest {
protected:
    void writeScript(const QString& name, const QByteArray& text) {
        ASSERT_TRUE(QDir(folder_.path()).mkpath("scripts"));
        QFile f(folder_.path() + "/scripts/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    std::string value(const std::string& name) {
        const ScriptRun* r = main_->toolWindow()->interpreter().lastRun();
        const ScriptVariable* v = r ? r->findVariable(name) : nullptr;
        return v ? v->Value : "<none>";
    }
    ScriptedDialogs dialogs;
};

TEST_F(ToolWindowInProgram, StartsSmallAndHiddenOutsideTheWorkspace) {
    PaaIkkuna& main = start();
    ASSERT_NE(main.toolWindow(), nullptr);
    EXPECT_FALSE(main.toolWindow()->isVisible());
    EXPECT_TRUE(g.ToolWindowSmall);
    EXPECT_TRUE(main.workspace()->subWindowList().isEmpty());
}

TEST_F(ToolWindowInProgram, ToolsMenuRunsTheScriptAndHidesTheWindowAgain) {
    writeScript("Count.qorscript", "$a.set:1\r\n$b.calc:$a+1");
    PaaIkkuna& main = start();
    writes.clear();
    bool visibleDuringRun = false;
    main.toolWindow()->host().pendingEvents = [&] { visibleDuringRun = main.toolWindow()->isVisible(); };
    main.toolsMenu()->SkriptiLista(0)->trigger();
    EXPECT_TRUE(visibleDuringRun);
    EXPECT_EQ(value("$b"), "2");
    EXPECT_EQ(autosaves(), 1);
    EXPECT_FALSE(main.toolWindow()->isVisible());
    EXPECT_EQ(main.workspace()->subWindowList().size(), 1);
}

TEST_F(ToolWindowInProgram, ToolsMenuStartsNothingWhileAToolRuns) {
    writeScript("Count.qorscript", "$a.set:1\r\n$a.set:2\r\n");
    writeScript("Other.qorscript", "$a.set:99\r\n");
    PaaIkkuna& main = start();
    const ScriptRun* first = nullptr;
    main.toolWindow()->host().pendingEvents = [&] {
        if (first) return;
        first = main.toolWindow()->interpreter().lastRun();
        main.toolsMenu()->SkriptiLista(1)->trigger();
    };
    main.toolsMenu()->SkriptiLista(0)->trigger();
    EXPECT_EQ(main.toolWindow()->interpreter().lastRun(), first);
    EXPECT_EQ(value("$a"), "2");
}

TEST_F(ToolWindowInProgram, ExitDuringARunEndsTheRunFirst) {
    writeScript("Long.qorscript", "$a.set:1\r\ndo:1000\r\n$b.set:ran\r\nloop\r\n");
    PaaIkkuna& main = start();
    dialogs.expectMessage("Do you really want to exit? All unsaved data will be lost.", "Exit the program",
                          MsgAnswer::Ok);
    main.toolWindow()->host().pendingEvents = [&] {
        if (!main.exited()) main.FileExit_Click();
    };
    main.toolsMenu()->SkriptiLista(0)->trigger();
    EXPECT_TRUE(main.exited());
    EXPECT_EQ(value("$a"), "1");
    EXPECT_EQ(value("$b"), "<none>");
    EXPECT_FALSE(g.ScriptRunning);
}

TEST_F(ToolWindowInProgram, CopyCommandCopiesTheToolTextWithTheToolWindowActive) {
    PaaIkkuna& main = start();
    Skripti& tool = *main.toolWindow();
    tool.MuutaSkriptiKoko("iso");
    tool.Teksti->setPlainText("do:3\nloop");
    auto* sub = qobject_cast<QMdiSubWindow*>(tool.parentWidget());
    ASSERT_NE(sub, nullptr);
    main.workspace()->setActiveSubWindow(sub);
    main.CopyImages_Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "do:3\nloop");
    EXPECT_EQ(g.LastCopiedWindow, 999);
}

TEST_F(ToolWindowInProgram, PointerOverTheToolWindowNarrowsThePanel) {
    PaaIkkuna& main = start();
    Skripti& tool = *main.toolWindow();
    tool.MuutaSkriptiKoko("iso");
    for (QWidget* target : {static_cast<QWidget*>(&tool), tool.Teksti->viewport(), tool.Muuttujat->viewport()}) {
        g.PanelCollapsed = false;
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        EXPECT_TRUE(g.PanelCollapsed) << target->objectName().toStdString();
    }
}

// The routes by which the tool window takes its large layout.
struct LargeLayoutRoute {
    const char* name;
    void (*enlarge)(Skripti&);
};
void PrintTo(const LargeLayoutRoute& r, std::ostream* os) { *os << r.name; }

class ToolWindowLargeLayout : public ToolWindowInProgram, public ::testing::WithParamInterface<LargeLayoutRoute> {};

// In a main window of 90 per cent of a 1024 x 768 screen with plots in it,
// the large layout lies wholly in the workspace's view: opened first, and grown again after
// the small layout was moved to the workspace's bottom right corner.
TEST_P(ToolWindowLargeLayout, LiesInsideTheWorkspace) {
    PaaIkkuna& main = start();
    main.resize(922, 691);
    QCoreApplication::processEvents();
    // Plots along the top, where the workspace puts them.
    for (int n = 0; n < 3; ++n) ASSERT_GT(main.createFromMenu("DotPlot"), 0);
    Skripti& tool = *main.toolWindow();
    const QRect view(QPoint(0, 0), main.workspace()->viewport()->size());
    ASSERT_GT(view.height(), 427) << "room for the large layout";
    const auto expectInView = [&](const std::string& what) {
        QCoreApplication::processEvents();
        const QRect frame = tool.frame()->geometry();
        EXPECT_FALSE(g.ToolWindowSmall) << what;
        EXPECT_TRUE(view.contains(frame)) << what << " at " << frame.x() << "," << frame.y() << " size "
                                          << frame.width() << "x" << frame.height();
        EXPECT_GE(frame.width(), 560) << what << ": the design size";
        EXPECT_GE(frame.height(), 400) << what << ": the design size";
    };
    GetParam().enlarge(tool);
    expectInView("opened");

    tool.MuutaSkriptiKoko("pieni");
    QWidget* frame = tool.frame();
    frame->move(view.width() - frame->width(), view.height() - frame->height());
    GetParam().enlarge(tool);
    expectInView("grown at the bottom right");
}

// The tool window left maximised or minimised in the workspace takes either
// layout in its normal state: a layout resizing the maximised frame would
// leave it maximised at the layout's size, its title bar gone.
TEST_P(ToolWindowLargeLayout, ComesBackNormalFromAMaximisedOrMinimisedFrame) {
    PaaIkkuna& main = start();
    main.resize(922, 691);
    QCoreApplication::processEvents();
    Skripti& tool = *main.toolWindow();
    GetParam().enlarge(tool);
    QWidget* frame = tool.frame();
    ASSERT_NE(frame, &tool) << "the window lives in the workspace";
    const QRect view(QPoint(0, 0), main.workspace()->viewport()->size());
    for (const Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowMinimized}) {
        const std::string what = state == Qt::WindowMaximized ? "maximised" : "minimised";
        const auto expectNormalInView = [&](const std::string& layout, const QSize& atLeast) {
            QCoreApplication::processEvents();
            EXPECT_FALSE(frame->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) << what << ", " << layout;
            EXPECT_TRUE(view.contains(frame->geometry())) << what << ", " << layout;
            EXPECT_GE(frame->width(), atLeast.width()) << what << ", " << layout;
            EXPECT_GE(frame->height(), atLeast.height()) << what << ", " << layout;
        };
        frame->setWindowState(state);
        QCoreApplication::processEvents();
        tool.MuutaSkriptiKoko("pieni");
        expectNormalInView("small", QSize(120, 60));
        EXPECT_LT(frame->height(), 200) << what << ": the small layout";
        frame->setWindowState(state);
        QCoreApplication::processEvents();
        GetParam().enlarge(tool);
        expectNormalInView("large", QSize(560, 400));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Routes, ToolWindowLargeLayout,
    ::testing::Values(LargeLayoutRoute{"Shown", [](Skripti& tool) { tool.MuutaSkriptiKoko("iso"); }},
                      LargeLayoutRoute{"ShowscripterInARun",
                                       [](Skripti& tool) { tool.AjaOhjelma("showscripter:\r\n", false); }},
                      LargeLayoutRoute{"MaximizeButton", [](Skripti& tool) { tool.MuutaKokoa_Click(); }}),
    [](const ::testing::TestParamInfo<LargeLayoutRoute>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qv::test
