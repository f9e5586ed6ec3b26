// The A4 print page: where placed pictures and statistics boxes are drawn
// and at what size, the strict hit test and dragging, the settings lines
// written and read back (hostile lines included), the A4 proportion, and
// printing into a PDF file, plus the dot plot's side of the page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "core/AtomicFile.h"
#include "core/SharedState.h"
#include "output/ClipBook.h"
#include "output/PrintPreview.h"
#include "output/model/PrintPageLayout.h"
#include "plots/dotplot/DotPlot.h"
#include "tests/output/PageTestWindow.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/plots/dotplot/DotPlotTestWindows.h"
#include "tests/support/OutlinePixels.h"
#include "tests/support/ScriptedDialogs.h"

namespace qv {
namespace {

using test::PageTestWindow;

QImage filled(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QColor at(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

bool allWhite(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
    return true;
}

void send(QWidget& w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, w.mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

// ---------------------------------------------------------------- the layout alone

TEST(PrintPageLayoutTest, PlacedPictureAndBoxAreDrawnAtScaledPlacesAndSizes) {
    // A page picture 4875 wide: scale 6.5. A window picture never moved sits
    // at (325, 325) and its 300 x 200 are drawn 1950 x 1300; a box moved to
    // (200, 100) in page units lies at (1300, 650), 100 x 40 drawn 650 x 260,
    // over the window picture.
    PrintPageLayout layout;
    layout.StatPlacement[1].X = 200;
    layout.StatPlacement[1].Y = 100;
    QImage page(4875, 1700, QImage::Format_RGB32);
    layout.paint(page, {{1, filled({300, 200}, Qt::red)}}, {{1, filled({100, 40}, Qt::blue)}}, 750);

    EXPECT_DOUBLE_EQ(PrintPageLayout::scaleFor(4875, 750), 6.5);
    const PagePlacement& w = layout.WindowPlacement[1];
    EXPECT_EQ(w.Width, 1950);
    EXPECT_EQ(w.Height, 1300);
    EXPECT_EQ(at(page, 327, 327), QColor(Qt::red));
    EXPECT_EQ(at(page, 323, 400), QColor(Qt::white));
    EXPECT_EQ(at(page, 400, 323), QColor(Qt::white));
    EXPECT_EQ(at(page, 325 + 1950 - 3, 325 + 1300 - 3), QColor(Qt::red));
    EXPECT_EQ(at(page, 325 + 1950 + 2, 400), QColor(Qt::white));
    EXPECT_EQ(at(page, 400, 325 + 1300 + 2), QColor(Qt::white));

    const PagePlacement& s = layout.StatPlacement[1];
    EXPECT_EQ(s.Width, 650);
    EXPECT_EQ(s.Height, 260);
    EXPECT_EQ(at(page, 1302, 652), QColor(Qt::blue));
    EXPECT_EQ(at(page, 1300 + 650 - 3, 650 + 260 - 3), QColor(Qt::blue));
    EXPECT_EQ(at(page, 1300 + 650 + 2, 700), QColor(Qt::red));

    // At scale 1 (printing) items have their source pictures' own sizes.
    QImage printed(750, 1061, QImage::Format_RGB32);
    layout.paint(printed, {{1, filled({300, 200}, Qt::red)}}, {}, 750);
    EXPECT_EQ(layout.WindowPlacement[1].Width, 300);
    EXPECT_EQ(layout.WindowPlacement[1].Height, 200);
    EXPECT_EQ(at(printed, 51, 51), QColor(Qt::red));
    EXPECT_EQ(at(printed, 349, 249), QColor(Qt::red));
    EXPECT_EQ(at(printed, 351, 100), QColor(Qt::white));
}

TEST(PrintPageLayoutTest, PressHitsStrictlyInsideBoxesFirstAndHigherIdsOnTop) {
    PrintPageLayout layout;
    layout.WindowPlacement[1] = {50, 50, 100, 100};
    layout.WindowPlacement[2] = {100, 100, 100, 100};
    layout.WindowPlacement[3] = {10, 10, 0, 0};  // never painted
    layout.StatPlacement[1] = {130, 130, 30, 30};
    struct Case {
        QPointF pos;
        int window;
        int stat;
    };
    const Case cases[] = {
        {{50, 80}, 0, 0},     // on the left edge
        {{80, 150}, 0, 0},    // on the bottom edge
        {{51, 51}, 1, 0},     // just inside
        {{120, 120}, 2, 0},   // two pictures overlap: the higher ID
        {{140, 140}, 0, 1},   // a box over a picture: the box
        {{10.5, 10.5}, 0, 0}, // size 0 is never hit
        {{400, 400}, 0, 0},   // empty page
    };
    for (const Case& c : cases) {
        layout.release();
        const bool hit = layout.press(c.pos, 1.0, 50);
        EXPECT_EQ(hit, c.window != 0 || c.stat != 0) << c.pos.x() << "," << c.pos.y();
        EXPECT_EQ(layout.DraggedWindow, c.window) << c.pos.x() << "," << c.pos.y();
        EXPECT_EQ(layout.DraggedStat, c.stat) << c.pos.x() << "," << c.pos.y();
    }
}

TEST(PrintPageLayoutTest, DragMovesByThePointersTravelInPageUnits) {
    PrintPageLayout layout;
    layout.WindowPlacement[4] = {50, 50, 1950, 1300};
    ASSERT_TRUE(layout.press({400, 400}, 6.5, 50));
    const std::optional<QRect> outline = layout.drag({465, 530}, 6.5);
    EXPECT_EQ(layout.WindowPlacement[4].X, 60);
    EXPECT_EQ(layout.WindowPlacement[4].Y, 70);
    ASSERT_TRUE(outline);
    EXPECT_EQ(*outline, QRect(QPoint(390, 455), QPoint(390 + 1950, 455 + 1300)));
    layout.release();
    EXPECT_FALSE(layout.dragging());
    EXPECT_FALSE(layout.drag({500, 500}, 6.5));
}

// ---------------------------------------------------------------- the page window

class PrintPreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        page = std::make_unique<PrintPreview>();
    }
    void TearDown() override {
        page.reset();
        windows.clear();
        resetSharedState();
    }
    PageTestWindow& window(int id, const std::string& type, QSize size = {300, 200}, QColor colour = Qt::red) {
        windows.push_back(std::make_unique<PageTestWindow>(id, type, size, colour));
        return *windows.back();
    }

    std::unique_ptr<PrintPreview> page;
    std::vector<std::unique_ptr<PageTestWindow>> windows;
};

TEST_F(PrintPreviewTest, LoadsAsAnEmptyA4PageAndKeepsTheProportionWhenResized) {
    EXPECT_EQ(page->windowTitle(), QStringLiteral("Print preview window (A4)"));
    EXPECT_EQ(g.PageWidthBase, 750);
    EXPECT_EQ(page->layout().WindowPlacement[50].X, 50);
    EXPECT_EQ(page->layout().StatPlacement[100].Y, 50);
    page->show();
    for (int width : {400, 333}) {
        page->resize(width, 100);
        QApplication::processEvents();
        EXPECT_EQ(page->height(), std::lround(width * std::sqrt(2.0))) << width;
        EXPECT_EQ(page->Kuva().size(), page->size()) << width;
    }
    // A width whose page would be taller than the screen: the height is the
    // limit and the width follows from it.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    page->resize(screen.width(), 100);
    QApplication::processEvents();
    EXPECT_LE(page->height(), screen.height());
    EXPECT_GT(page->height(), screen.height() / 2);
    EXPECT_NEAR(page->height(), page->width() * std::sqrt(2.0), 1.5);
    EXPECT_EQ(page->Kuva().size(), page->size());
}

// The outline shown while a picture is dragged runs from
// (X, Y) to (X + Width, Y + Height), both corners included and nothing beyond.
TEST_F(PrintPreviewTest, DragOutlineIsShownExactlyBetweenItsCorners) {
    // A page that fits the screen, shown: scale 0.4.
    page->resize(300, 424);
    page->show();
    QApplication::processEvents();
    ASSERT_EQ(page->Kuva().width(), 300);
    PageTestWindow& w = window(2, "DotPlot", {100, 100}, Qt::red);
    w.inPreview = true;
    page->Piirra();
    send(*page, QEvent::MouseButtonPress, {30, 30}, Qt::LeftButton, Qt::LeftButton);
    ASSERT_EQ(page->layout().DraggedWindow, 2);
    send(*page, QEvent::MouseMove, {130, 80}, Qt::NoButton, Qt::LeftButton);
    ASSERT_TRUE(page->dragOutline());
    EXPECT_EQ(*page->dragOutline(), QRect(QPoint(120, 70), QPoint(160, 110)));
    EXPECT_EQ(test::OutlineFault(page->grab().toImage(), *page->dragOutline(), Qt::black), "");
    send(*page, QEvent::MouseButtonRelease, {130, 80}, Qt::LeftButton, Qt::NoButton);
}

TEST_F(PrintPreviewTest, MouseDragMovesAPictureAndRepaintsItAtItsNewPlace) {
    // Scale 1, a page taller than a screen: as printing paints it, not shown.
    page->resize(750, 1061);
    page->setPictureSize({750, 1061});
    PageTestWindow& w = window(2, "DotPlot", {100, 100}, Qt::red);
    w.inPreview = true;
    page->Piirra();
    EXPECT_EQ(at(page->Kuva(), 60, 60), QColor(Qt::red));

    send(*page, QEvent::MouseButtonPress, {60, 60}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(page->layout().DraggedWindow, 2);
    EXPECT_EQ(at(page->Kuva(), 60, 60), QColor(Qt::white)) << "the dragged picture leaves the page";
    send(*page, QEvent::MouseMove, {260, 160}, Qt::NoButton, Qt::LeftButton);
    ASSERT_TRUE(page->dragOutline());
    EXPECT_EQ(*page->dragOutline(), QRect(QPoint(250, 150), QPoint(350, 250)));
    send(*page, QEvent::MouseButtonRelease, {260, 160}, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(page->dragOutline());
    EXPECT_EQ(page->layout().WindowPlacement[2].X, 250);
    EXPECT_EQ(page->layout().WindowPlacement[2].Y, 150);
    EXPECT_EQ(at(page->Kuva(), 60, 60), QColor(Qt::white));
    EXPECT_EQ(at(page->Kuva(), 260, 160), QColor(Qt::red));

    // A press on empty page leaves it cleared until the release.
    send(*page, QEvent::MouseButtonPress, {600, 900}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(allWhite(page->Kuva()));
    send(*page, QEvent::MouseButtonRelease, {600, 900}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(at(page->Kuva(), 260, 160), QColor(Qt::red));
}

TEST_F(PrintPreviewTest, SettingsLinesAreWrittenAndReadBack) {
    page->resize(750, 1061);
    page->setPictureSize({750, 1061});
    PageTestWindow& plot = window(2, "DotPlot", {300, 200});
    plot.inPreview = true;
    PageTestWindow& histogram = window(5, "Histogram");
    histogram.giveStatistics({120, 60}, Qt::blue);
    histogram.statInPreview = true;
    PageTestWindow& bend = window(7, "BendPlot");  // its box is painted, not saved
    bend.giveStatistics({50, 50}, Qt::green);
    bend.statInPreview = true;
    page->layout().WindowPlacement[2].X = 120;
    page->layout().StatPlacement[5].Y = 333;
    page->Piirra();
    EXPECT_EQ(page->layout().StatPlacement[7].Width, 50);

    const std::vector<std::string> lines = page->SaveInfo();
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], "12");
    EXPECT_EQ(lines[1].rfind("location.x:", 0), 0u);
    EXPECT_EQ(lines[4].rfind("size.y:", 0), 0u);
    const std::vector<std::string> items(lines.begin() + 5, lines.end());
    EXPECT_EQ(items, (std::vector<std::string>{
                         "window.2.location.x:120", "window.2.location.y:50", "window.2.size.x:300",
                         "window.2.size.y:200", "stat.5.location.x:50", "stat.5.location.y:333",
                         "stat.5.size.x:120", "stat.5.size.y:60"}));

    // Read back into a fresh page, the windows off the page.
    page = std::make_unique<PrintPreview>();
    plot.inPreview = false;
    histogram.statInPreview = false;
    for (const std::string& line : items) page->LoadInfo("printview." + line);
    EXPECT_TRUE(plot.inPreview);
    EXPECT_EQ(plot.previewCalls, 4);
    EXPECT_TRUE(histogram.statInPreview);
    const PagePlacement& p = page->layout().WindowPlacement[2];
    EXPECT_EQ((std::vector<int>{p.X, p.Y, p.Width, p.Height}), (std::vector<int>{120, 50, 300, 200}));
    const PagePlacement& s = page->layout().StatPlacement[5];
    EXPECT_EQ((std::vector<int>{s.X, s.Y, s.Width, s.Height}), (std::vector<int>{50, 333, 120, 60}));

    page->LoadInfo("printview.location.x:1500");
    page->LoadInfo("printview.size.x:6000");
    EXPECT_EQ(page->outerWidget()->x(), 100);
    EXPECT_EQ(page->outerWidget()->width(), 400);
}

TEST_F(PrintPreviewTest, ManyItemsOnThePageAreAllWritten) {
    for (int id = 1; id <= 30; ++id) window(id, "DotPlot").inPreview = true;
    const std::vector<std::string> lines = page->SaveInfo();
    EXPECT_EQ(lines[0], "124");
    ASSERT_EQ(lines.size(), 125u);
    EXPECT_EQ(lines.back(), "window.30.size.y:0");
}

TEST_F(PrintPreviewTest, HostileLinesLoadWithoutEffect) {
    PageTestWindow& plot = window(2, "DotPlot");
    PageTestWindow& mirror = window(6, "Mirror Histogram");
    mirror.neverOnPage = true;
    ClipBook clipBook;
    g.WindowRegistry[4].InUse = true;
    g.WindowRegistry[4].Form = &clipBook;
    g.WindowRegistry[4].Type = "ClipBook";
    clipBook.Alusta(4);
    const QPoint where = page->outerWidget()->pos();

    const char* lines[] = {
        "printview.window.0.location.x:10",  "printview.window.51.location.x:10",
        "printview.window.x.location.x:10",  "printview.window.-3.location.x:10",
        "printview.window.2.location.x:abc", "printview.window.2.location.x:",
        "printview.window.9.location.x:10",  "printview.window.6.location.x:10",
        "printview.stat.6.location.x:10",    "printview.stat.4.location.x:10",
        "printview.stat.2.location.y",       "printview.location.x:left",
        "printview.window.2",                "printview.window.3000000000.size.x:1",
        "window.2.location.x:10",            "printview.Window.2.location.x:10",
    };
    for (const char* line : lines) EXPECT_NO_THROW(page->LoadInfo(line)) << line;

    EXPECT_EQ(plot.previewCalls, 0);
    EXPECT_EQ(plot.statPreviewCalls, 0);
    EXPECT_FALSE(mirror.inPreview);
    EXPECT_FALSE(clipBook.OnkoPreviewissa());
    for (int id = 0; id < PagePlacementSlots; ++id) {
        for (const PagePlacement* p : {&page->layout().WindowPlacement[id], &page->layout().StatPlacement[id]}) {
            EXPECT_EQ(p->X, 50) << id;
            EXPECT_EQ(p->Y, 50) << id;
        }
    }
    EXPECT_EQ(page->outerWidget()->pos(), where);
    g.WindowRegistry[4] = WindowRecord{};
}

// ---------------------------------------------------------------- printing

// The dot plot on file slot 1: a dense block of events in the middle of
// both axes, so the printed plot is plainly visible.
class PrintingTest : public PrintPreviewTest {
protected:
    void SetUp() override {
        PrintPreviewTest::SetUp();
        std::vector<std::vector<float>> events;
        for (int i = 0; i < 4000; ++i) events.push_back({300.0f + i % 400, 300.0f + (i / 10) % 400});
        test::PutFile(1, test::MakeFile({{"FSC", 1024}, {"SSC", 1024}}, events, "printed.fcs"));
        plot = &test::OpenDotPlot(plots, 3);
        g.WindowRegistry[3].FileIndex = 1;
        plot->resize(300, 200);
        page->show();
        QApplication::processEvents();
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override {
        plots.clear();
        PrintPreviewTest::TearDown();
    }

    QTemporaryDir dir;
    std::vector<std::unique_ptr<DotPlot>> plots;
    DotPlot* plot = nullptr;
};

TEST_F(PrintingTest, PdfIsOneA4PageShowingThePlacedPlot) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (pdftoppm.isEmpty() || pdfinfo.isEmpty()) GTEST_SKIP() << "poppler-utils (pdftoppm, pdfinfo) is not installed";

    plot->AsetaPreviewissa(true);
    const QSize onScreen = page->Kuva().size();
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    {
        test::ScriptedDialogs dialogs;
        dialogs.expectPrinterToPdf(pdf);
        page->Printtaa();
    }
    EXPECT_EQ(page->Kuva().size(), onScreen);
    ASSERT_TRUE(QFileInfo::exists(pdf));

    QProcess info;
    info.start(pdfinfo, {pdf});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString facts = QString::fromLatin1(info.readAllStandardOutput());
    EXPECT_TRUE(facts.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << facts.toStdString();
    EXPECT_TRUE(facts.contains(QStringLiteral("(A4)"))) << facts.toStdString();

    const QString stem = dir.filePath(QStringLiteral("rendered"));
    ASSERT_EQ(QProcess::execute(pdftoppm, {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-singlefile"),
                                           pdf, stem}),
              0);
    const QImage rendered(stem + QStringLiteral(".ppm"));
    ASSERT_FALSE(rendered.isNull());
    // The plot lies at (50, 50) page units, 300 x 200 of the 750 across:
    // everything printed is in the upper left part of the page.
    QRect inked;
    for (int y = 0; y < rendered.height(); ++y)
        for (int x = 0; x < rendered.width(); ++x)
            if (qGray(rendered.pixel(x, y)) < 128) inked |= QRect(x, y, 1, 1);
    ASSERT_FALSE(inked.isEmpty()) << "nothing printed";
    EXPECT_LT(inked.right(), rendered.width() / 2);
    EXPECT_LT(inked.bottom(), rendered.height() / 3);
    EXPECT_GT(inked.width(), rendered.width() / 6) << "the plot is printed at its size on the page";
}

// The printed page is a picture at the printer's resolution (held to
// MaxPrintedPageDpi), stored without loss: each pixel of a window's picture
// becomes a sharp block of its own colour, with no blur and no JPEG noise.
TEST_F(PrintingTest, PdfHoldsThePageAtThePrintersResolutionWithoutLoss) {
    const QString pdfimages = QStandardPaths::findExecutable(QStringLiteral("pdfimages"));
    if (pdfimages.isEmpty()) GTEST_SKIP() << "poppler-utils (pdfimages) is not installed";

    plot->AsetaPreviewissa(true);
    const QString pdf = dir.filePath(QStringLiteral("sharp.pdf"));
    {
        test::ScriptedDialogs dialogs;
        dialogs.expectPrinterToPdf(pdf);
        page->Printtaa();
    }
    ASSERT_TRUE(QFileInfo::exists(pdf));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("/DCTDecode")) << "a JPEG in the PDF";

    // The page as the printer of "Print..." lays it out.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    ASSERT_GT(printer.resolution(), MaxPrintedPageDpi);
    const QSize expected =
        PrintedPagePixels(printer.pageLayout().paintRectPixels(printer.resolution()).size(), printer.resolution());
    EXPECT_GT(expected.width(), 2000);  // A4 less its margins at 300 dpi

    const QString stem = dir.filePath(QStringLiteral("image"));
    ASSERT_EQ(QProcess::execute(pdfimages, {QStringLiteral("-png"), pdf, stem}), 0);
    const QStringList images = QDir(dir.path()).entryList({QStringLiteral("image-*.png")});
    ASSERT_EQ(images.size(), 1) << images.join(' ').toStdString();
    const QImage printed = QImage(dir.filePath(images[0])).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(printed.size(), expected);

    // Every printed colour is one of the plot picture's, or the white page.
    QSet<QRgb> source{qRgb(255, 255, 255)};
    const QImage picture = plot->Kuva().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) source.insert(picture.pixel(x, y) | 0xff000000u);
    int foreign = 0;
    for (int y = 0; y < printed.height(); y += 3)
        for (int x = 0; x < printed.width(); x += 3) foreign += !source.contains(printed.pixel(x, y) | 0xff000000u);
    EXPECT_EQ(foreign, 0) << "colours made by blurring or compression";
}

TEST_F(PrintPreviewTest, PrintedPageSizeFollowsThePrinterUpToItsLimit) {
    struct Case {
        const char* name;
        QSizeF area;
        int dpi;
        QSize expected;
    };
    for (const Case& c : std::vector<Case>{
             {"coarse printer, the page at its resolution", {1000, 2000}, 150, {1000, 1414}},
             {"wide area, the page as high as fits", {2000, 1414}, 150, {1000, 1414}},
             {"at the limit", {2400, 4000}, 300, {2400, 3394}},
             {"fine printer, held to the limit", {9600, 16000}, 1200, {2400, 3394}}}) {
        EXPECT_EQ(PrintedPagePixels(c.area, c.dpi), c.expected) << c.name;
    }
}

// The page window on a screen: the A4 proportion within the room the
// screen gives, the width following the height where that is the limit.
TEST(PageSizeWithin, KeepsTheProportionInsideTheScreen) {
    struct Case {
        const char* name;
        int wantedWidth;
        QSize room;
        QSize expected;
    };
    for (const Case& c :
         {Case{"as loaded, fits", 333, {1016, 740}, {333, 471}},
          Case{"maximised width on a small screen, the height the limit", 1024, {1016, 740}, {523, 740}},
          Case{"wider than the screen", 3000, {1592, 972}, {687, 972}},
          Case{"exactly as high as the room", 523, {1016, 740}, {523, 740}},
          Case{"no width", 0, {1016, 740}, {1, 1}},
          Case{"no room", 333, {0, 0}, {1, 1}}}) {
        const QSize got = PageSizeWithin(c.wantedWidth, c.room);
        EXPECT_EQ(got, c.expected) << c.name;
        EXPECT_LE(got.height(), std::max(1, c.room.height())) << c.name;
        EXPECT_LE(got.width(), std::max(1, c.room.width())) << c.name;
    }
}

TEST_F(PrintingTest, CancelledOrFailedPrintingRestoresThePage) {
    plot->AsetaPreviewissa(true);
    const QSize onScreen = page->Kuva().size();
    const QImage before = page->Kuva();
    {
        test::ScriptedDialogs dialogs;
        dialogs.expectPrinter(false);
        page->Printtaa();
    }
    EXPECT_EQ(page->Kuva().size(), onScreen);
    EXPECT_EQ(page->Kuva(), before);

    const QString pdf = dir.filePath(QStringLiteral("missing/page.pdf"));
    {
        test::ScriptedDialogs dialogs;
        dialogs.expectPrinterToPdf(pdf);
        // A missing folder: the message gives the system's reason under the path.
        dialogs.expectMessage(QString::fromStdString(SaveFailureText(
                                  pdf.toStdString(), FileWriteReason(FileWriteResult::Failed, ENOENT))),
                              QStringLiteral("Save error"), MsgAnswer::Ok);
        page->Printtaa();
    }
    EXPECT_EQ(page->Kuva().size(), onScreen);
    EXPECT_EQ(page->Kuva(), before);
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

// ---------------------------------------------------------------- the dot plot's side

TEST_F(PrintingTest, DotPlotOnTheShownPageCarriesItsFileNameAndRepaintsThePage) {
    plot->Piirra();
    const QImage offPage = plot->Kuva();
    EXPECT_TRUE(allWhite(page->Kuva()));

    plot->AsetaPreviewissa(true);  // its full draw repaints the page
    EXPECT_FALSE(allWhite(page->Kuva()));
    EXPECT_NE(plot->Kuva().copy(0, 0, 300, 14), offPage.copy(0, 0, 300, 14)) << "file name at the top";

    plot->AsetaPreviewissa(false);  // taken off: the page is repainted without it
    EXPECT_TRUE(allWhite(page->Kuva()));

    // While the page is hidden the plot prints no file name.
    page->hide();
    plot->AsetaPreviewissa(true);
    EXPECT_EQ(plot->Kuva().copy(0, 0, 300, 14), offPage.copy(0, 0, 300, 14));
}

TEST_F(PrintingTest, ClosedWindowsLeaveThePage) {
    plot->AsetaPreviewissa(true);
    ClipBook book;
    WindowRecord& r = g.WindowRegistry[5];
    r.InUse = true;
    r.Form = &book;
    r.Type = "ClipBook";
    book.Alusta(5);
    book.page().paste(filled({40, 30}, Qt::red));
    book.Piirra();
    book.AsetaPreviewissa(true);
    page->layout().WindowPlacement[5].Y = 600;
    page->Piirra();
    ASSERT_GT(page->layout().WindowPlacement[5].Width, 0);
    const QImage withBoth = page->Kuva();

    plot->UnloadWindow();
    EXPECT_NE(page->Kuva(), withBoth);
    EXPECT_FALSE(allWhite(page->Kuva())) << "the clip book's page stays";
    book.UnloadWindow();
    EXPECT_TRUE(allWhite(page->Kuva()));
}

TEST_F(PrintingTest, DotPlotsStatisticsBoxAloneOnThePageFollowsItsDraws) {
    plot->AvaaTaiSuljeStatistics("open");
    plot->AsetaStatPreviewissa(true);
    page->layout().StatPlacement[3].X = 400;
    plot->Piirra();
    const PagePlacement& box = page->layout().StatPlacement[3];
    ASSERT_GT(box.Width, 0) << "the box was painted";
    EXPECT_FALSE(plot->OnkoPreviewissa());
    EXPECT_EQ(page->layout().WindowPlacement[3].Width, 0) << "the plot itself is not on the page";
    plot->AvaaTaiSuljeStatistics("close");
}

}  // namespace
}  // namespace qv
