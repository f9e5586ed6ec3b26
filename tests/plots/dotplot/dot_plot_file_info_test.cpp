// The dot plot hands its file to the file information window when a file is
// put into it and when it is activated, but not while a sheet is read.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/FileInfo.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/plots/dotplot/DotPlotTestWindows.h"

namespace qv {
namespace {

using test::MakeFile;
using test::PutFile;

class DotPlotFileInfoTest : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
    void TearDown() override {
        for (auto& w : windows) w->close();
        windows.clear();
        resetSharedState();
    }
    void showFile(DotPlot& w, int slot) {
        g.WindowRegistry[static_cast<size_t>(w.AnnaID())].FileIndex = static_cast<int16_t>(slot);
        w.LatauksenJalkeen();
    }

    std::vector<std::unique_ptr<DotPlot>> windows;
};

TEST_F(DotPlotFileInfoTest, TheWindowFollowsLoadsAndActivations) {
    FileInfo info;
    PutFile(1, MakeFile({{"FSC", 1024}, {"SSC", 1024}}, {{1, 2}}, "one.fcs"));
    PutFile(2, MakeFile({{"A", 1024}}, {{1}}, "two.fcs"));
    DotPlot& a = test::OpenDotPlot(windows, 1);
    DotPlot& b = test::OpenDotPlot(windows, 2);
    showFile(a, 1);
    EXPECT_EQ(info.shownFileSlot(), 1);
    showFile(b, 2);
    EXPECT_EQ(info.shownFileSlot(), 2);
    a.onActivated();
    EXPECT_EQ(info.shownFileSlot(), 1);

    g.SheetLoading = true;
    b.onActivated();
    showFile(b, 2);
    EXPECT_EQ(info.shownFileSlot(), 1);
}

}  // namespace
}  // namespace qv
