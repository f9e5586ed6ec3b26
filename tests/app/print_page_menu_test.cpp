// The print page as the main window holds it: loaded hidden at start-up,
// shown and hidden by "Print preview" with "Print..." enabled exactly while
// it is shown, its close box only hiding it, and "Print..." writing the page.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>

#include "app/MenuBar.h"
#include "output/PrintPreview.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedDialogs.h"

namespace qv::test {
namespace {

TEST_F(MainWindowTest, PrintPreviewItemShowsAndHidesThePageAndPrintFollowsIt) {
    PaaIkkuna& main = start();
    PrintPreview* page = main.printPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(printPreview(), page);
    EXPECT_TRUE(page->isHidden());
    MainMenu& menu = main.mainMenu();
    EXPECT_FALSE(menu.Printtaa->isEnabled());

    main.AvaaPrintPreviewPage_Click();
    EXPECT_FALSE(page->isHidden());
    EXPECT_TRUE(printPreviewShown());
    EXPECT_TRUE(menu.AvaaPrintPreviewPage->isChecked());
    EXPECT_TRUE(menu.Printtaa->isEnabled());

    // A pointer over the page narrows the panel, as over any child window.
    g.PanelCollapsed = false;
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 20), page->mapToGlobal(QPointF(20, 20)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(page, &move);
    EXPECT_TRUE(g.PanelCollapsed);

    const QString pdf = folder_.filePath(QStringLiteral("page.pdf"));
    {
        ScriptedDialogs dialogs;
        dialogs.expectPrinterToPdf(pdf);
        main.Printtaa_Click();
    }
    EXPECT_TRUE(QFileInfo(pdf).size() > 0);

    page->close();  // the close box only hides it
    EXPECT_TRUE(page->isHidden());
    EXPECT_FALSE(printPreviewShown());
    EXPECT_FALSE(menu.AvaaPrintPreviewPage->isChecked());
    EXPECT_FALSE(menu.Printtaa->isEnabled());
    EXPECT_EQ(main.printPage(), page);
}

}  // namespace
}  // namespace qv::test
