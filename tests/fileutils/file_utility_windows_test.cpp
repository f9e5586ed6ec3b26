// The file utility windows in the running main window: the well-plate
// browser and the file browser loading into the selected dot plots, the
// batch renamer's preview, apply button and renaming, and the about box.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFileSystemModel>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/MenuBar.h"
#include "app/PaaIkkuna.h"
#include "app/PopulationPanel.h"
#include "app/WindowRegistry.h"
#include "app/model/ProgramFolder.h"
#include "core/SharedState.h"
#include "fileutils/AboutLaatikko.h"
#include "fileutils/FileBrowser.h"
#include "fileutils/FolderTree.h"
#include "fileutils/NimenMuuttaja.h"
#include "fileutils/WellPlateBrowser.h"
#include "fileutils/model/BatchRename.h"
#include "plots/dotplot/DotPlot.h"
#include "tests/fileutils/DeepFolder.h"
#include "tests/support/FileOpenWatch.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

// A small FCS file of `events` events of "FSC" and "SSC".
void writeFcs(const QString& path, int events) {
    test::FcsTestFile file;
    file.param("FSC").param("SSC");
    for (int e = 1; e <= events; ++e) file.event({double(e), double(2 * e)});
    const std::string bytes = test::FcsTestBytes(file);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void writeText(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray readText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

std::string fs(const QString& path) { return QFile::encodeName(path).toStdString(); }

class FileUtilitiesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(programDir.isValid());
        ASSERT_TRUE(data.isValid());
        setProgramFolderOverride(programDir.path());
        registerDotPlotKind();
        main = std::make_unique<PaaIkkuna>();
        main->setSheetWriter([](const QString&) {});
        main->setSheetReader([](const QString&) {});
        main->MDIForm_Load();
        QApplication::setActiveWindow(main.get());
    }
    void TearDown() override {
        main.reset();
        setProgramFolderOverride(QString());
        resetSharedState();
    }

    template <typename W>
    W* window(ServiceWindow which) {
        return qobject_cast<W*>(main->serviceWindow(which));
    }
    QString folder() const { return FolderText(data.path()); }
    // The file shown by window `id`, "" when none.
    std::string shownFile(int id) {
        const int slot = g.WindowRegistry[static_cast<size_t>(id)].FileIndex;
        return slot == 0 ? std::string() : g.FileTable[static_cast<size_t>(slot)].FileName;
    }
    int loadedFiles() {
        int n = 0;
        for (int f = 1; f <= g.MaxFiles; ++f) n += g.FileTable[static_cast<size_t>(f)].Loaded ? 1 : 0;
        return n;
    }

    QTemporaryDir programDir;
    QTemporaryDir data;
    std::unique_ptr<PaaIkkuna> main;
};

TEST_F(FileUtilitiesTest, DoubleClickOnAWellLoadsItsFileIntoTheSelectedDotPlot) {
    writeFcs(data.filePath("plate_A1_.fcs"), 3);
    writeFcs(data.filePath("PLATE-b07_x.fcs"), 5);
    const int id = main->createFromMenu("DotPlot");
    ASSERT_NE(id, 0);
    ASSERT_TRUE(g.WindowRegistry[static_cast<size_t>(id)].Selected);

    main->AvaaWellplatebrowser_Click();
    auto* browser = window<WellPlateBrowser>(ServiceWindow::WellPlateBrowser);
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_TRUE(main->mainMenu().AvaaWellplatebrowser->isChecked());
    browser->folderTree()->setFolder(data.path());

    const int a1 = WellNumber(1, 1), a2 = WellNumber(1, 2), b7 = WellNumber(2, 7);
    EXPECT_EQ(browser->WellFile(a1), fs(folder() + "plate_A1_.fcs"));
    EXPECT_EQ(browser->WellFile(b7), fs(folder() + "PLATE-b07_x.fcs"));
    EXPECT_TRUE(browser->plate()->isFull(b7));
    EXPECT_FALSE(browser->plate()->isFull(a2));

    WellPlateView* plate = browser->plate();
    QTest::mouseDClick(plate, Qt::LeftButton, {}, plate->wellCentre(a1));
    EXPECT_EQ(shownFile(id), "plate_A1_.fcs");
    auto* plot = dynamic_cast<DotPlot*>(windowAt(id));
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->eventsDrawn(), 3);

    // A grey well does nothing.
    QTest::mouseDClick(plate, Qt::LeftButton, {}, plate->wellCentre(a2));
    EXPECT_EQ(shownFile(id), "plate_A1_.fcs");

    // With no window selected nothing is loaded.
    DeselectAllWindows();
    QTest::mouseDClick(plate, Qt::LeftButton, {}, plate->wellCentre(b7));
    EXPECT_EQ(shownFile(id), "plate_A1_.fcs");
    EXPECT_EQ(loadedFiles(), 1);

    // The menu item hides it again.
    main->AvaaWellplatebrowser_Click();
    EXPECT_FALSE(browser->isVisible());
    EXPECT_FALSE(main->mainMenu().AvaaWellplatebrowser->isChecked());
}

TEST_F(FileUtilitiesTest, FileBrowserLoadsTheFileOnceIntoBothSelectedWindows) {
    writeFcs(data.filePath("b.fcs"), 4);
    writeFcs(data.filePath("A.fcs"), 2);
    const int first = main->createFromMenu("DotPlot");
    const int second = main->createFromMenu("DotPlot");
    SelectAllWindows();

    main->AvaaFileBrowser_Click();
    auto* browser = window<FileBrowser>(ServiceWindow::FileBrowser);
    ASSERT_NE(browser, nullptr);
    browser->folderTree()->setFolder(data.path());
    QListWidget* list = browser->fileList();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "A.fcs");
    EXPECT_EQ(list->item(1)->text(), "b.fcs");

    const QRect row = list->visualItemRect(list->item(1));
    // An item view takes a double click only after a press on the same item.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(shownFile(first), "b.fcs");
    EXPECT_EQ(shownFile(second), "b.fcs");
    EXPECT_EQ(g.WindowRegistry[static_cast<size_t>(first)].FileIndex,
              g.WindowRegistry[static_cast<size_t>(second)].FileIndex);
    EXPECT_EQ(loadedFiles(), 1);
}

// A well whose file the reader refuses: with two windows selected the user
// hears of it once, and both windows keep the file they showed.
TEST_F(FileUtilitiesTest, ARefusedWellFileIsReportedOnceWithTwoWindowsSelected) {
    writeFcs(data.filePath("run_A1_.fcs"), 3);
    writeText(data.filePath("run_A2_.fcs"), "not flow cytometry data\n");
    const int first = main->createFromMenu("DotPlot");
    const int second = main->createFromMenu("DotPlot");
    SelectAllWindows();
    main->AvaaWellplatebrowser_Click();
    auto* browser = window<WellPlateBrowser>(ServiceWindow::WellPlateBrowser);
    ASSERT_NE(browser, nullptr);
    browser->folderTree()->setFolder(data.path());
    WellPlateView* plate = browser->plate();
    QTest::mouseDClick(plate, Qt::LeftButton, {}, plate->wellCentre(WellNumber(1, 1)));
    ASSERT_EQ(shownFile(first), "run_A1_.fcs");
    ASSERT_EQ(shownFile(second), "run_A1_.fcs");

    test::ScriptedDialogs dlg;
    dlg.expectAnyMessage(MsgAnswer::Ok);
    QTest::mouseDClick(plate, Qt::LeftButton, {}, plate->wellCentre(WellNumber(1, 2)));
    dlg.finish();
    ASSERT_EQ(dlg.shown().size(), 1u);
    EXPECT_EQ(dlg.shown()[0].title, QStringLiteral("Load error"));
    EXPECT_EQ(shownFile(first), "run_A1_.fcs");
    EXPECT_EQ(shownFile(second), "run_A1_.fcs");
    EXPECT_EQ(loadedFiles(), 1);
}

// Every file of the folder is listed, names starting with "." included.
TEST_F(FileUtilitiesTest, DotFilesShowInThePlateTheFileBrowserAndTheRenamer) {
    writeFcs(data.filePath(".run_A1_.fcs"), 3);
    writeText(data.filePath("b.txt"), "b");
    ASSERT_TRUE(QDir(data.path()).mkdir(".folder"));

    main->AvaaWellplatebrowser_Click();
    auto* plate = window<WellPlateBrowser>(ServiceWindow::WellPlateBrowser);
    ASSERT_NE(plate, nullptr);
    plate->folderTree()->setFolder(data.path());
    EXPECT_EQ(plate->WellFile(WellNumber(1, 1)), fs(folder() + ".run_A1_.fcs"));

    main->AvaaFileBrowser_Click();
    auto* browser = window<FileBrowser>(ServiceWindow::FileBrowser);
    ASSERT_NE(browser, nullptr);
    browser->folderTree()->setFolder(data.path());
    QStringList listed;
    for (int i = 0; i < browser->fileList()->count(); ++i) listed << browser->fileList()->item(i)->text();
    EXPECT_EQ(listed, (QStringList{".run_A1_.fcs", "b.txt"}));

    main->AvaaFileNameHandler_Click();
    auto* renamer = window<NimenMuuttaja>(ServiceWindow::FileNameHandler);
    ASSERT_NE(renamer, nullptr);
    renamer->folderTree()->setFolder(data.path());
    QTest::mouseClick(renamer->a1ToA01(), Qt::LeftButton);
    QTest::mouseClick(renamer->previewButton(), Qt::LeftButton);
    ASSERT_EQ(renamer->previewList()->count(), 2);
    EXPECT_EQ(renamer->previewList()->item(0)->text(), ".run_A01_.fcs");
    QTest::mouseClick(renamer->applyButton(), Qt::LeftButton);
    EXPECT_EQ(readText(data.filePath(".run_A01_.fcs")).left(6), "FCS3.0");
}

// A folder tree lists folders by their names: no file of a listed folder is
// opened to learn its type (a device or a /proc entry read that way can block
// the program for good).
TEST_F(FileUtilitiesTest, FolderTreesNeverOpenTheFilesOfAFolder) {
    writeFcs(data.filePath("a.fcs"), 3);
    writeText(data.filePath("noext"), "\x89PNG\r\n\x1a\n");
    ASSERT_TRUE(QDir(data.path()).mkdir("sub"));
    writeText(data.filePath("sub/inner.fcs"), "FCS3.0");
    main->AvaaWellplatebrowser_Click();
    main->AvaaFileBrowser_Click();
    main->AvaaFileNameHandler_Click();
    const struct {
        const char* window;
        FolderTree* tree;
    } trees[] = {
        {"well plate browser", window<WellPlateBrowser>(ServiceWindow::WellPlateBrowser)->folderTree()},
        {"file browser", window<FileBrowser>(ServiceWindow::FileBrowser)->folderTree()},
        {"renamer", window<NimenMuuttaja>(ServiceWindow::FileNameHandler)->folderTree()},
    };
    for (const auto& t : trees) {
        test::FileOpenWatch watch(data.path());
        test::FileOpenWatch subWatch(data.filePath("sub"));
        ASSERT_TRUE(watch.isWatching());
        QFileSystemModel* model = t.tree->folderModel();
        QStringList loaded;
        QObject::connect(model, &QFileSystemModel::directoryLoaded, model,
                         [&](const QString& path) { loaded << QDir::cleanPath(path); });
        t.tree->setFolder(data.path());
        const QModelIndex folderIndex = model->index(data.path());
        ASSERT_TRUE(folderIndex.isValid()) << t.window;
        t.tree->expand(folderIndex);
        const QModelIndex subIndex = model->index(data.filePath("sub"));
        t.tree->expand(subIndex);
        EXPECT_TRUE(QTest::qWaitFor([&] { return loaded.contains(QDir::cleanPath(data.filePath("sub"))); }, 5000))
            << t.window;
        for (int row = 0; row < model->rowCount(folderIndex); ++row) {
            model->data(model->index(row, 0, folderIndex), Qt::DecorationRole);
            model->data(model->index(row, 2, folderIndex), Qt::DisplayRole);  // the type column
        }
        QTest::qWait(50);
        EXPECT_EQ(watch.openedFiles(), QStringList()) << t.window;
        EXPECT_EQ(subWatch.openedFiles(), QStringList()) << t.window;
    }
}

// Files written into the folder after a window listed it (a new
// acquisition, a tool's output) are listed when the window is next shown.
TEST_F(FileUtilitiesTest, FilesWrittenLaterAreListedWhenTheWindowIsNextShown) {
    writeFcs(data.filePath("run_A1_.fcs"), 3);
    const auto rowsOf = [](const QListWidget& list) {
        QStringList rows;
        for (int i = 0; i < list.count(); ++i) rows << list.item(i)->text();
        return rows;
    };
    const struct {
        const char* window;
        std::function<void()> toggle;  // the menu item that shows and hides it
        FolderTree* tree;
        std::function<bool(const QString&)> lists;  // whether the window lists that file
    } cases[] = {
        {"file browser", [&] { main->AvaaFileBrowser_Click(); },
         window<FileBrowser>(ServiceWindow::FileBrowser)->folderTree(),
         [&](const QString& name) { return rowsOf(*window<FileBrowser>(ServiceWindow::FileBrowser)->fileList()).contains(name); }},
        {"renamer", [&] { main->AvaaFileNameHandler_Click(); },
         window<NimenMuuttaja>(ServiceWindow::FileNameHandler)->folderTree(),
         [&](const QString& name) {
             return rowsOf(*window<NimenMuuttaja>(ServiceWindow::FileNameHandler)->fileList()).contains(name);
         }},
        {"well plate browser", [&] { main->AvaaWellplatebrowser_Click(); },
         window<WellPlateBrowser>(ServiceWindow::WellPlateBrowser)->folderTree(),
         [&](const QString& name) {
             const std::string path = fs(folder() + name);
             for (int w = 1; w <= PlateWells; ++w)
                 if (window<WellPlateBrowser>(ServiceWindow::WellPlateBrowser)->WellFile(w) == path) return true;
             return false;
         }},
    };
    int written = 0;
    for (const auto& c : cases) {
        c.toggle();
        c.tree->setFolder(data.path());
        ASSERT_TRUE(c.lists("run_A1_.fcs")) << c.window;
        c.toggle();  // hidden
        const QString later = QStringLiteral("run_B%1_.fcs").arg(++written);
        writeFcs(data.filePath(later), 2);
        EXPECT_FALSE(c.lists(later)) << c.window << ": not looked at while hidden";
        c.toggle();  // shown again
        EXPECT_TRUE(c.lists(later)) << c.window;
        c.toggle();
    }
}

// A click on the folder the file browser shows lists it again, with the
// files written since; a click that picks another folder lists that one.
TEST_F(FileUtilitiesTest, AClickOnTheShownFolderListsItAgain) {
    // The browser shows "watch"; its parent holds a file of its own.
    QDir(data.path()).mkdir(QStringLiteral("watch"));
    const QString watch = data.filePath("watch");
    writeFcs(data.filePath("outside.fcs"), 2);
    writeFcs(watch + "/first.fcs", 2);
    main->AvaaFileBrowser_Click();
    auto* browser = window<FileBrowser>(ServiceWindow::FileBrowser);
    FolderTree* tree = browser->folderTree();
    tree->setFolder(watch);
    const auto listed = [&] {
        QStringList rows;
        for (int i = 0; i < browser->fileList()->count(); ++i) rows << browser->fileList()->item(i)->text();
        rows.sort();
        return rows;
    };
    ASSERT_EQ(listed(), QStringList{"first.fcs"});
    const QModelIndex watched = tree->folderModel()->index(watch);
    const QModelIndex parent = watched.parent();
    ASSERT_TRUE(watched.isValid() && parent.isValid());

    const struct {
        const char* what;
        const char* written;  // a file written into "watch" before the click
        QModelIndex clicked;
        QString folder;
        QStringList listed;
    } steps[] = {
        {"the shown folder, after a file arrived", "second.fcs", watched, FolderText(watch), {"first.fcs", "second.fcs"}},
        {"another folder", nullptr, parent, folder(), {"outside.fcs"}},
        {"back to the first folder", "third.fcs", watched, FolderText(watch), {"first.fcs", "second.fcs", "third.fcs"}},
        {"the shown folder, nothing new", nullptr, watched, FolderText(watch), {"first.fcs", "second.fcs", "third.fcs"}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.written) writeFcs(watch + "/" + step.written, 2);
        tree->scrollTo(step.clicked);
        const QRect place = tree->visualRect(step.clicked);
        ASSERT_TRUE(place.isValid());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, place.center());
        EXPECT_EQ(tree->folder(), step.folder);
        EXPECT_EQ(listed(), step.listed);
    }
}

TEST_F(FileUtilitiesTest, AboutBoxShowsTheVersionAndCloseHidesIt) {
    EXPECT_EQ(VersionLine("1.2.1", "19 November 2008"),
              "Version 1.2.1, released " + QLocale::system().toString(QDate(2008, 11, 19), QLocale::ShortFormat));
    main->AvaaAboutLaatikko_Click();
    auto* about = window<AboutLaatikko>(ServiceWindow::AboutBox);
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->versioTeksti()->text(), VersionLine(g.VersionText, g.ReleaseDate));
    EXPECT_EQ(about->windowTitle(), "About");
    QTest::mouseClick(about->suljeNappi(), Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());

    // Opened again it has the keyboard, and Escape closes it, wherever the
    // focus sits inside it.
    QApplication::setActiveWindow(main.get());
    main->AvaaAboutLaatikko_Click();
    ASSERT_TRUE(about->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(about, 1000));
    about->suljeNappi()->setFocus();
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : about, Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible());
    main->AvaaAboutLaatikko_Click();
    QTest::keyClick(about, Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible());
}

// Every well's label, the three-character ones of columns 10 to 12 too,
// lies inside its well's circle.
TEST_F(FileUtilitiesTest, WellLabelsFitTheirWells) {
    main->AvaaWellplatebrowser_Click();
    auto* browser = window<WellPlateBrowser>(ServiceWindow::WellPlateBrowser);
    ASSERT_NE(browser, nullptr);
    const WellPlateView* plate = browser->plate();
    const double size = WellPlateView::wellPixels();
    const double radius = WellPlateView::wellRadius();
    EXPECT_GE(plate->labelFont().pixelSize(), 6);  // still readable
    for (int w = 1; w <= PlateWells; ++w) {
        const QPointF centre((WellColumn(w) - 0.5) * size, (WellRow(w) - 0.5) * size);
        const QRectF label = plate->labelRect(w);
        ASSERT_FALSE(label.isEmpty()) << WellLabel(w);
        for (const QPointF corner : {label.topLeft(), label.topRight(), label.bottomLeft(), label.bottomRight()}) {
            const QPointF d = corner - centre;
            EXPECT_LE(std::hypot(d.x(), d.y()), radius) << WellLabel(w) << ": label " << label.width() << "x"
                                                        << label.height() << ", well radius " << radius;
        }
    }
}

TEST_F(FileUtilitiesTest, PointerOverAUtilityWindowNarrowsThePanelUnlessFrozen) {
    main->AvaaWellplatebrowser_Click();
    auto* browser = window<WellPlateBrowser>(ServiceWindow::WellPlateBrowser);
    ASSERT_NE(browser, nullptr);
    for (const bool frozen : {false, true}) {
        main->panel()->panelMouseMoved();  // widens it
        ASSERT_FALSE(g.PanelCollapsed);
        g.PanelFrozen = frozen;
        QTest::mouseMove(browser->plate(), browser->plate()->wellCentre(5));
        EXPECT_EQ(g.PanelCollapsed, !frozen) << "frozen " << frozen;
        g.PanelFrozen = false;
    }
}

// ---- the batch renamer ----

class RenamerTest : public FileUtilitiesTest {
protected:
    NimenMuuttaja& renamer() {
        main->AvaaFileNameHandler_Click();
        auto* r = window<NimenMuuttaja>(ServiceWindow::FileNameHandler);
        EXPECT_NE(r, nullptr);
        EXPECT_TRUE(main->mainMenu().AvaaFileNameHandler->isChecked());
        r->folderTree()->setFolder(data.path());
        return *r;
    }
    static QStringList rows(const QListWidget& list) {
        QStringList out;
        for (int i = 0; i < list.count(); ++i) out << list.item(i)->text();
        return out;
    }
};

TEST_F(RenamerTest, EveryChangeAfterThePreviewDisablesMakeTheChanges) {
    writeText(data.filePath("plate_A1_.fcs"), "x");
    QTemporaryDir other;
    struct Case {
        const char* change;
        std::function<void(NimenMuuttaja&)> act;
    };
    const Case cases[] = {
        {"folder", [&](NimenMuuttaja& r) { r.folderTree()->setFolder(other.path()); }},
        {"rule 1 box", [](NimenMuuttaja& r) { QTest::mouseClick(r.a1ToA01(), Qt::LeftButton); }},
        {"rule 2 box", [](NimenMuuttaja& r) { QTest::mouseClick(r.replaceBox(), Qt::LeftButton); }},
        {"text to find", [](NimenMuuttaja& r) { QTest::keyClicks(r.string1(), "p"); }},
        {"replacement", [](NimenMuuttaja& r) { QTest::keyClicks(r.string2(), "P"); }},
    };
    NimenMuuttaja& r = renamer();
    EXPECT_FALSE(r.applyButton()->isEnabled());
    for (const Case& c : cases) {
        r.folderTree()->setFolder(data.path());
        QTest::mouseClick(r.previewButton(), Qt::LeftButton);
        EXPECT_TRUE(r.applyButton()->isEnabled()) << c.change;
        c.act(r);
        EXPECT_FALSE(r.applyButton()->isEnabled()) << c.change;
    }
}

TEST_F(RenamerTest, RuleOneRenamesAfterThePreview) {
    writeText(data.filePath("plate_A1_x.fcs"), "one");
    writeText(data.filePath("plate_A10_x.fcs"), "ten");
    writeText(data.filePath("plate_a1_x.fcs"), "lower");
    NimenMuuttaja& r = renamer();
    QTest::mouseClick(r.a1ToA01(), Qt::LeftButton);
    QTest::mouseClick(r.previewButton(), Qt::LeftButton);
    EXPECT_EQ(rows(*r.fileList()), (QStringList{"plate_A10_x.fcs", "plate_A1_x.fcs", "plate_a1_x.fcs"}));
    EXPECT_EQ(rows(*r.previewList()), (QStringList{"plate_A10_x.fcs", "plate_A01_x.fcs", "plate_a1_x.fcs"}));
    EXPECT_EQ(r.fileList()->currentRow(), 0);

    QTest::mouseClick(r.applyButton(), Qt::LeftButton);
    EXPECT_FALSE(r.applyButton()->isEnabled());
    EXPECT_EQ(rows(*r.fileList()), (QStringList{"plate_A01_x.fcs", "plate_A10_x.fcs", "plate_a1_x.fcs"}));
    EXPECT_EQ(readText(data.filePath("plate_A01_x.fcs")), "one");
    EXPECT_EQ(readText(data.filePath("plate_A10_x.fcs")), "ten");
    EXPECT_EQ(readText(data.filePath("plate_a1_x.fcs")), "lower");
}

TEST_F(RenamerTest, RuleTwoAndBothRules) {
    writeText(data.filePath("plate_plate_B2_.fcs"), "p");
    NimenMuuttaja& r = renamer();
    QTest::mouseClick(r.replaceBox(), Qt::LeftButton);
    QTest::keyClicks(r.string1(), "plate");
    QTest::keyClicks(r.string2(), "P");
    QTest::mouseClick(r.previewButton(), Qt::LeftButton);
    EXPECT_EQ(rows(*r.previewList()), QStringList{"P_P_B2_.fcs"});
    QTest::mouseClick(r.a1ToA01(), Qt::LeftButton);
    QTest::mouseClick(r.previewButton(), Qt::LeftButton);
    EXPECT_EQ(rows(*r.previewList()), QStringList{"P_P_B02_.fcs"});
    QTest::mouseClick(r.applyButton(), Qt::LeftButton);
    EXPECT_EQ(rows(*r.fileList()), QStringList{"P_P_B02_.fcs"});
    EXPECT_EQ(readText(data.filePath("P_P_B02_.fcs")), "p");
}

TEST_F(RenamerTest, AClashRefusesTheBatchAndKeepsBothFiles) {
    writeText(data.filePath("a_A1_.fcs"), "short");
    writeText(data.filePath("a_A01_.fcs"), "padded");
    writeText(data.filePath("b_B1_.fcs"), "b");
    NimenMuuttaja& r = renamer();
    QTest::mouseClick(r.a1ToA01(), Qt::LeftButton);
    QTest::mouseClick(r.previewButton(), Qt::LeftButton);
    test::ScriptedDialogs dlg;
    dlg.expectMessage("No file was renamed:\na_A1_.fcs -> a_A01_.fcs: a_A01_.fcs exists already",
                      "File name handler", MsgAnswer::Ok);
    QTest::mouseClick(r.applyButton(), Qt::LeftButton);
    dlg.finish();
    EXPECT_EQ(readText(data.filePath("a_A1_.fcs")), "short");
    EXPECT_EQ(readText(data.filePath("a_A01_.fcs")), "padded");
    EXPECT_EQ(readText(data.filePath("b_B1_.fcs")), "b");  // not renamed either
    EXPECT_FALSE(r.applyButton()->isEnabled());
}

// The preview marks, before anything is renamed, each new name that would be
// refused: too long, or taken by another file.
TEST_F(RenamerTest, ThePreviewMarksRefusedNamesAndTheBatchRenamesNothing) {
    const QString longName = QString(250, QChar('m')) + "1.fcs";  // 255 bytes, 256 after the rule
    writeText(data.filePath("a1.fcs"), "a");
    writeText(data.filePath(longName), "m");
    writeText(data.filePath("z1.fcs"), "z");
    writeText(data.filePath("z22.fcs"), "taken");
    NimenMuuttaja& r = renamer();
    QTest::mouseClick(r.replaceBox(), Qt::LeftButton);
    QTest::keyClicks(r.string1(), "1");
    QTest::keyClicks(r.string2(), "22");
    QTest::mouseClick(r.previewButton(), Qt::LeftButton);
    QListWidget* preview = r.previewList();
    ASSERT_EQ(preview->count(), 4);
    const QStringList expectedRows{"a22.fcs", QString(250, QChar('m')) + "22.fcs", "z22.fcs", "z22.fcs"};
    EXPECT_EQ(rows(*preview), expectedRows);
    const bool marked[] = {false, true, true, false};
    for (int row = 0; row < 4; ++row) {
        const QString why = preview->item(row)->data(NimenMuuttaja::RefusalRole).toString();
        EXPECT_EQ(!why.isEmpty(), marked[row]) << "row " << row << ": " << why.toStdString();
        EXPECT_EQ(preview->item(row)->toolTip(), why) << "row " << row;
    }
    EXPECT_TRUE(preview->item(1)->data(NimenMuuttaja::RefusalRole).toString().contains("256 bytes"));
    EXPECT_EQ(preview->item(2)->data(NimenMuuttaja::RefusalRole).toString(),
              "z1.fcs -> z22.fcs: z22.fcs exists already");

    test::ScriptedDialogs dlg;
    dlg.expectAnyMessage(MsgAnswer::Ok);
    QTest::mouseClick(r.applyButton(), Qt::LeftButton);
    dlg.finish();
    ASSERT_EQ(dlg.shown().size(), 1u);
    EXPECT_TRUE(dlg.shown()[0].text.startsWith("No file was renamed:")) << dlg.shown()[0].text.toStdString();
    EXPECT_EQ(readText(data.filePath("a1.fcs")), "a");
    EXPECT_EQ(readText(data.filePath(longName)), "m");
    EXPECT_EQ(readText(data.filePath("z1.fcs")), "z");
    EXPECT_EQ(readText(data.filePath("z22.fcs")), "taken");
}

// "Make the changes!" renames exactly what the last preview showed. When the
// folder no longer matches it, nothing is renamed, the user is told, and the
// preview is made again from the folder as it is; a change to files the rules
// leave alone does not matter.
TEST_F(RenamerTest, ChangesRenameOnlyThePreviewedBatch) {
    const QString changed =
        "The folder has changed since the preview: no file was renamed.\nThe preview has been made again.";
    struct Case {
        const char* what;
        std::function<void(const QDir&)> change;  // between the preview and "Make the changes!"
        bool refused;
        QStringList files;    // the folder's files afterwards
        QStringList preview;  // the preview made again (refused only)
        QStringList afterTheNextChanges;  // the files once the new preview is carried out; empty: not tried
    };
    const QStringList original{"notes.txt", "plate_A1_.fcs", "plate_B2_.fcs"};
    const Case cases[] = {
        {"a new file the rule renames", [](const QDir& d) { writeText(d.filePath("plate_C3_.fcs"), "c"); }, true,
         {"notes.txt", "plate_A1_.fcs", "plate_B2_.fcs", "plate_C3_.fcs"},
         {"notes.txt", "plate_A01_.fcs", "plate_B02_.fcs", "plate_C03_.fcs"},
         {"notes.txt", "plate_A01_.fcs", "plate_B02_.fcs", "plate_C03_.fcs"}},
        {"a file to rename gone", [](const QDir& d) { QFile::remove(d.filePath("plate_B2_.fcs")); }, true,
         {"notes.txt", "plate_A1_.fcs"}, {"notes.txt", "plate_A01_.fcs"}, {"notes.txt", "plate_A01_.fcs"}},
        {"a file to rename written again", [](const QDir& d) { writeText(d.filePath("plate_B2_.fcs"), "b, longer"); },
         true, original, {"notes.txt", "plate_A01_.fcs", "plate_B02_.fcs"},
         {"notes.txt", "plate_A01_.fcs", "plate_B02_.fcs"}},
        {"a file to rename replaced by another",
         [](const QDir& d) {
             writeText(d.filePath("other"), "B");
             ::rename(fs(d.filePath("other")).c_str(), fs(d.filePath("plate_B2_.fcs")).c_str());
         },
         true, original, {"notes.txt", "plate_A01_.fcs", "plate_B02_.fcs"},
         {"notes.txt", "plate_A01_.fcs", "plate_B02_.fcs"}},
        {"a file to rename replaced by a link",
         [](const QDir& d) {
             QFile::remove(d.filePath("plate_B2_.fcs"));
             ASSERT_EQ(::symlink("notes.txt", fs(d.filePath("plate_B2_.fcs")).c_str()), 0);
         },
         true, original, {"notes.txt", "plate_A01_.fcs", "plate_B02_.fcs"},
         {"notes.txt", "plate_A01_.fcs", "plate_B02_.fcs"}},
        {"a new name taken by a link to nothing",
         [](const QDir& d) { ASSERT_EQ(::symlink("nowhere", fs(d.filePath("plate_B02_.fcs")).c_str()), 0); }, true,
         original, {"notes.txt", "plate_A01_.fcs", "plate_B02_.fcs"}, {}},
        {"a new name taken", [](const QDir& d) { writeText(d.filePath("plate_B02_.fcs"), "taken"); }, true,
         {"notes.txt", "plate_A1_.fcs", "plate_B02_.fcs", "plate_B2_.fcs"},
         {"notes.txt", "plate_A01_.fcs", "plate_B02_.fcs", "plate_B02_.fcs"},
         {}},
        {"a new file the rule leaves alone", [](const QDir& d) { writeText(d.filePath("other.txt"), "o"); }, false,
         {"notes.txt", "other.txt", "plate_A01_.fcs", "plate_B02_.fcs"}, {}, {}},
        {"a file the rule leaves alone written again", [](const QDir& d) { writeText(d.filePath("notes.txt"), "more"); },
         false, {"notes.txt", "plate_A01_.fcs", "plate_B02_.fcs"}, {}, {}},
    };
    NimenMuuttaja& r = renamer();
    QTest::mouseClick(r.a1ToA01(), Qt::LeftButton);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir folder;
        const QDir dir(folder.path());
        writeText(dir.filePath("notes.txt"), "n");
        writeText(dir.filePath("plate_A1_.fcs"), "a");
        writeText(dir.filePath("plate_B2_.fcs"), "b");
        r.folderTree()->setFolder(folder.path());
        QTest::mouseClick(r.previewButton(), Qt::LeftButton);
        ASSERT_EQ(rows(*r.previewList()), (QStringList{"notes.txt", "plate_A01_.fcs", "plate_B02_.fcs"}));
        c.change(dir);

        test::ScriptedDialogs dlg;
        if (c.refused) dlg.expectMessage(changed, "File name handler", MsgAnswer::Ok);
        QTest::mouseClick(r.applyButton(), Qt::LeftButton);
        dlg.finish();
        EXPECT_EQ(rows(*r.fileList()), c.files);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase), c.files);
        if (!c.refused) {
            EXPECT_FALSE(r.applyButton()->isEnabled());
            EXPECT_EQ(readText(dir.filePath("plate_A01_.fcs")), "a");
            continue;
        }
        EXPECT_EQ(readText(dir.filePath("plate_A1_.fcs")), "a");
        EXPECT_EQ(rows(*r.previewList()), c.preview);
        EXPECT_TRUE(r.applyButton()->isEnabled());
        if (c.afterTheNextChanges.isEmpty()) continue;
        QTest::mouseClick(r.applyButton(), Qt::LeftButton);
        EXPECT_EQ(rows(*r.fileList()), c.afterTheNextChanges);
    }
}

// A folder so deep that one new name makes a path past the system's limit:
// the preview marks it and "Make the changes!" renames nothing, not even the
// names that would fit.
TEST_F(RenamerTest, APathPastTheSystemLimitRenamesNothing) {
    NimenMuuttaja& r = renamer();
    const size_t limit = NameRulesOf(fs(folder())).maxPathBytes;
    const std::string deep = test::MakeDeepFolder(fs(data.path()), limit - 7);
    ASSERT_EQ(deep.size(), limit - 7);
    const QString deepFolder = QFile::decodeName(QByteArray::fromStdString(deep));
    writeText(deepFolder + "a1.fcs", "a");
    writeText(deepFolder + "bb1.fcs", "b");
    r.folderTree()->setFolder(deepFolder);
    QTest::mouseClick(r.replaceBox(), Qt::LeftButton);
    QTest::keyClicks(r.string1(), "1");
    QTest::keyClicks(r.string2(), "22");
    QTest::mouseClick(r.previewButton(), Qt::LeftButton);
    ASSERT_EQ(rows(*r.previewList()), (QStringList{"a22.fcs", "bb22.fcs"}));
    EXPECT_TRUE(r.previewList()->item(0)->data(NimenMuuttaja::RefusalRole).toString().isEmpty());
    const QString why = r.previewList()->item(1)->data(NimenMuuttaja::RefusalRole).toString();
    EXPECT_TRUE(why.contains(QStringLiteral("makes a path of %1 bytes").arg(limit + 1))) << why.toStdString();

    test::ScriptedDialogs dlg;
    dlg.expectMessage(QStringLiteral("No file was renamed:\n") + why, "File name handler", MsgAnswer::Ok);
    QTest::mouseClick(r.applyButton(), Qt::LeftButton);
    dlg.finish();
    EXPECT_EQ(readText(deepFolder + "a1.fcs"), "a");
    EXPECT_EQ(readText(deepFolder + "bb1.fcs"), "b");
    EXPECT_EQ(rows(*r.fileList()), (QStringList{"a1.fcs", "bb1.fcs"}));
}

TEST_F(RenamerTest, AnEmptyTextToFindIsRefused) {
    writeText(data.filePath("a.fcs"), "a");
    NimenMuuttaja& r = renamer();
    QTest::mouseClick(r.replaceBox(), Qt::LeftButton);
    QTest::keyClicks(r.string2(), "b");
    QTest::mouseClick(r.previewButton(), Qt::LeftButton);
    test::ScriptedDialogs dlg;
    dlg.expectMessage("No file was renamed:\nThe text to replace is empty.", "File name handler", MsgAnswer::Ok);
    QTest::mouseClick(r.applyButton(), Qt::LeftButton);
    dlg.finish();
    EXPECT_EQ(rows(*r.fileList()), QStringList{"a.fcs"});
}

}  // namespace
}  // namespace qv
