// A workspace window moved in from a larger screen whose title bar lies
// under windows of their own: it goes where its title bar is clear, and
// where the workspace has no such place it never ends up more hidden.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/WorkspacePlacement.h"

namespace qv::test {
namespace {

// The windows of their own are given by their client rectangles in the
// workspace's coordinates; the workspace is 600 x 400. The moved window
// lies at (300, 0), 200 x 150, over the title bar of a wide one at
// (100, 100); below its title bar a window of its own fills the middle.
struct Crowd {
    const char* name;
    std::vector<QRect> own;
    int visibleAtLeast;  // pixels of the moved window's title bar width left uncovered
};
void PrintTo(const Crowd& c, std::ostream* os) { *os << c.name; }

const QRect Middle(300, 80, 154, 320);
const QRect Right(454, 0, 146, 400);
const QRect Left(0, 0, 296, 400);

class MovedTitleBar : public ::testing::TestWithParam<Crowd> {};

TEST_P(MovedTitleBar, StaysReachableAmongWindowsOfTheirOwn) {
    const Crowd& c = GetParam();
    QMdiArea workspace;
    workspace.setFrameShape(QFrame::NoFrame);
    workspace.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    workspace.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    workspace.setGeometry(100, 100, 600, 400);
    workspace.show();
    const auto addPlot = [&](const QRect& place) {
        QMdiSubWindow* frame = addToWorkspace(workspace, *new QLabel);
        frame->show();
        frame->setGeometry(place);
        return frame;
    };
    addPlot(QRect(100, 100, 500, 150));
    QMdiSubWindow* moved = addPlot(QRect(300, 0, 200, 150));
    QApplication::processEvents();
    const QPoint origin = workspace.viewport()->mapToGlobal(QPoint(0, 0));
    std::vector<std::unique_ptr<QWidget>> own;
    std::vector<QWidget*> ownWindows;
    for (const QRect& r : c.own) {
        own.push_back(std::make_unique<QWidget>());
        own.back()->setGeometry(r.translated(origin));
        own.back()->show();
        ownWindows.push_back(own.back().get());
    }
    QApplication::processEvents();

    uncoverMovedTitleBars({moved}, ownWindows);

    const QRect frame = moved->geometry();
    ASSERT_TRUE(QRect(0, 0, 600, 400).contains(frame));
    const int y = frame.top() + moved->widget()->y() / 2;
    int visible = 0;
    for (int x = frame.left(); x <= frame.right(); ++x)
        visible += std::none_of(c.own.begin(), c.own.end(), [&](const QRect& r) { return r.contains(x, y); });
    EXPECT_GE(visible, c.visibleAtLeast) << "title bar at " << frame.x() << "," << frame.y();
}

INSTANTIATE_TEST_SUITE_P(Table, MovedTitleBar,
                         ::testing::Values(
                             // Room on the left: the title bar goes there, wholly clear.
                             Crowd{"ClearPlaceOnTheLeft", {Middle, Right}, 200},
                             // No room anywhere: the part of the bar in view stays in view.
                             Crowd{"NoClearPlace", {Left, Middle, Right}, 150}),
                         [](const ::testing::TestParamInfo<Crowd>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qv::test
