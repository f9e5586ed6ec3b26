// A dot plot inside the running main window: made from the Create menu with
// the file loaded last, its pop-up menu and the parameter lists of its axis
// strips answered through the main window's menus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/PaaIkkuna.h"
#include "app/WindowRegistry.h"
#include "app/model/ProgramFolder.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ScriptedDialogs.h"

namespace qv {
namespace {

class DotPlotInMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        setProgramFolderOverride(folder.path());
        registerDotPlotKind();
        main = std::make_unique<PaaIkkuna>();
        main->setSheetWriter([this](const QString& mode) { writes << mode; });
        main->setSheetReader([](const QString&) {});
        main->MDIForm_Load();
        QApplication::setActiveWindow(main.get());
    }
    void TearDown() override {
        main.reset();
        setProgramFolderOverride(QString());
        resetSharedState();
    }

    QTemporaryDir folder;
    std::unique_ptr<PaaIkkuna> main;
    QStringList writes;
};

TEST_F(DotPlotInMainWindowTest, PopupAndParameterListsGoThroughTheMainWindow) {
    test::PutFile(1, test::MakeFile({{"FSC-H", 1024}, {"SSC-H", 1024}, {"FL1-H", 10000, true}},
                                    {{100, 200, 300}, {400, 500, 600}}, "tube.fcs"));
    g.LastLoadedFile = 1;
    const int id = main->createFromMenu("DotPlot");
    ASSERT_EQ(id, 1);
    auto* plot = dynamic_cast<DotPlot*>(windowAt(id));
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->AnnaOtsikko(), "(1): Dot Plot - tube.fcs");
    EXPECT_EQ(plot->eventsDrawn(), 2);

    test::ScriptedDialogs dlg;
    // The window's own menu, below "Show populations".
    dlg.expectMenuChoice("Density plot");
    QTest::mouseClick(plot, Qt::RightButton, {}, QPoint(plot->width() / 2, plot->height() / 2));
    EXPECT_TRUE(plot->state().DensityOn);
    EXPECT_EQ(plot->state().caption(MenuDensity), "Dot plot");
    EXPECT_EQ(g.PopupOwner, 1);

    // The X strip below the plot: its parameter list.
    dlg.expectMenuChoice("FL1-H");
    QTest::mouseClick(plot, Qt::RightButton, {}, QPoint(plot->width() / 2, plot->height() - 9));
    EXPECT_EQ(plot->state().ChannelX, 3);

    // Dismissed: the axis stays.
    dlg.expectMenuDismiss();
    QTest::mouseClick(plot, Qt::RightButton, {}, QPoint(9, plot->height() / 2));
    EXPECT_EQ(plot->state().ChannelY, 2);
    dlg.finish();
}

}  // namespace
}  // namespace qv
