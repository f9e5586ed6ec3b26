// The clip book: pasting pictures from the clipboard (order, full book,
// its own page, an empty clipboard), hover and drag, delete and the reuse of
// a freed slot, the pop-up menu, the BMP save and the settings lines.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

#include "core/SharedState.h"
#include "output/ClipBook.h"
#include "output/PrintPreview.h"
#include "output/model/ClipBookPage.h"
#include "tests/support/OutlinePixels.h"
#include "tests/support/ScriptedDialogs.h"

namespace qv {
namespace {

QImage filled(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void putOnClipboard(const QImage& image) { QGuiApplication::clipboard()->setImage(image); }

void send(QWidget& w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, w.mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

void key(QWidget& w, int code, Qt::KeyboardModifiers modifiers) {
    QKeyEvent event(QEvent::KeyPress, code, modifiers);
    QApplication::sendEvent(&w, &event);
}

// ---------------------------------------------------------------- the page alone

TEST(ClipBookPageTest, PastesTakeTheLowestFreeSlotAtTenTenAndTheLastIsOnTop) {
    ClipBookPage book;
    EXPECT_EQ(book.paste(filled({40, 30}, Qt::red)), 1);
    EXPECT_EQ(book.paste(filled({20, 20}, Qt::blue)), 2);
    EXPECT_EQ(book.paste(filled({10, 10}, Qt::green)), 3);
    for (int i : {1, 2, 3}) {
        EXPECT_EQ(book.Objects[i].X, 10);
        EXPECT_EQ(book.Objects[i].Y, 10);
    }
    EXPECT_EQ(book.Objects[1].Width, 40);
    EXPECT_EQ(book.Objects[1].Height, 30);
    EXPECT_EQ(book.objectAt({15, 15}), 3);
    EXPECT_EQ(book.objectAt({25, 25}), 2);
    EXPECT_EQ(book.objectAt({45, 35}), 1);

    // Deleting object 2 of 3 frees slot 2; a second delete of it does nothing.
    book.SelectedObject = 2;
    EXPECT_TRUE(book.deleteSelected());
    EXPECT_FALSE(book.deleteSelected());
    EXPECT_FALSE(book.Objects[2].InUse);
    EXPECT_EQ(book.paste(filled({5, 5}, Qt::yellow)), 2);

    EXPECT_EQ(book.paste(QImage()), 0) << "no picture, nothing added";
    for (int i = 4; i <= MaxClipObjects; ++i) ASSERT_EQ(book.paste(filled({1, 1}, Qt::black)), i);
    EXPECT_EQ(book.paste(filled({1, 1}, Qt::black)), 0) << "a full book ignores pastes";
}

TEST(ClipBookPageTest, HitsAreStrictAndOutlinesFollowTheObject) {
    ClipBookPage book;
    book.paste(filled({40, 30}, Qt::red));
    struct Case {
        QPointF pos;
        int hit;
    };
    for (const Case& c : {Case{{10, 20}, 0}, Case{{50, 20}, 0}, Case{{20, 10}, 0}, Case{{20, 40}, 0},
                          Case{{10.5, 10.5}, 1}, Case{{49.5, 39.5}, 1}})
        EXPECT_EQ(book.objectAt(c.pos), c.hit) << c.pos.x() << "," << c.pos.y();

    EXPECT_EQ(book.hover({20, 20}), QRect(QPoint(9, 9), QPoint(50, 40)));  // one larger left and top
    EXPECT_EQ(book.SelectedObject, 1);
    EXPECT_FALSE(book.hover({200, 200}));
    EXPECT_EQ(book.SelectedObject, 0);

    EXPECT_EQ(book.press({20, 20}), QRect(QPoint(10, 10), QPoint(50, 40)));
    EXPECT_EQ(book.drag({25.4, 32.6}), QRect(QPoint(15, 23), QPoint(55, 53)));
    book.release();
    EXPECT_EQ(book.Objects[1].X, 15);
    EXPECT_EQ(book.Objects[1].Y, 23);
    EXPECT_EQ(book.Objects[1].Width, 40) << "objects are only moved";
}

TEST(ClipBookPageTest, SettingsLinesAndWhatIsReadBack) {
    ClipBookFrame frame{1500, 300, 4000, 4000, true};
    EXPECT_EQ(ClipBookSettingsLines(frame),
              (std::vector<std::string>{"5", "location.x:1500", "location.y:300", "size.x:4000", "size.y:4000",
                                        "printview.window.visible:1"}));
    using Kind = ClipBookLine::Kind;
    struct Case {
        const char* line;
        Kind kind;
        double value;
        bool flag;
    };
    const Case cases[] = {
        {"window.4.location.x:1500", Kind::Left, 1500, false},
        {"window.4.location.y:2,5", Kind::Top, 2.5, false},
        {"window.4.size.x:4000", Kind::Width, 4000, false},
        {"window.4.size.y:4000", Kind::Height, 4000, false},
        {"window.4.printview.window.visible:1", Kind::PrintPage, 0, true},
        {"window.4.printview.window.visible:0", Kind::PrintPage, 0, false},
        {"window.4.printview.window.visible:-1", Kind::None, 0, false},
        {"window.4.location.x:wide", Kind::None, 0, false},
        {"window.4.location.z:10", Kind::None, 0, false},
        {"window.4.Size.x:10", Kind::None, 0, false},
        {"window.4.size", Kind::None, 0, false},
    };
    for (const Case& c : cases) {
        const ClipBookLine got = ParseClipBookLine(c.line);
        EXPECT_EQ(got.kind, c.kind) << c.line;
        if (got.kind == Kind::PrintPage) EXPECT_EQ(got.flag, c.flag) << c.line;
        else if (got.kind != Kind::None) EXPECT_DOUBLE_EQ(got.value, c.value) << c.line;
    }
}

// ---------------------------------------------------------------- the window

class ClipBookTest : public ::testing::Test {
protected:
    static constexpr int Id = 4;
    void SetUp() override {
        resetSharedState();
        book = open(Id);
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override {
        books.clear();
        resetSharedState();
    }
    ClipBook* open(int id) {
        books.push_back(std::make_unique<ClipBook>());
        WindowRecord& r = g.WindowRegistry[static_cast<size_t>(id)];
        r.InUse = true;
        r.Selected = true;
        r.ShowsFile = true;
        r.Form = books.back().get();
        r.Type = "ClipBook";
        books.back()->Alusta(id);
        return books.back().get();
    }

    std::vector<std::unique_ptr<ClipBook>> books;
    ClipBook* book = nullptr;
};

TEST_F(ClipBookTest, StartsAsAnEmptyUnselectedWindowWithItsMenu) {
    EXPECT_EQ(book->windowTitle(), QStringLiteral("(4): ClipBook"));
    EXPECT_EQ(book->AnnaOtsikko(), QStringLiteral("(4): ClipBook"));
    EXPECT_FALSE(g.WindowRegistry[Id].Selected);
    EXPECT_FALSE(g.WindowRegistry[Id].ShowsFile);
    EXPECT_EQ(book->size(), QSize(267, 267));
    QStringList captions;
    for (int k = 1; k <= ClipBook::MenuCaptionCount; ++k) captions << book->menuCaption(k);
    EXPECT_EQ(captions, (QStringList{"Paste from Clipboard (CTRL-V)", "Delete selected object (DEL)", "-",
                                     "Copy to Clipboard (CTRL-C)", "Save as .BMP", "-", "Show in print preview page"}));
    book->MenuValintaReaktio(7);
    EXPECT_TRUE(book->OnkoPreviewissa());
    EXPECT_EQ(book->menuCaption(7), QStringLiteral("Don't show in print preview page"));
    EXPECT_THROW(book->AsetaStatPreviewissa(true), MissingMemberError);
}

TEST_F(ClipBookTest, CtrlVPastesTheClipboardPictureAndDelDeletesTheHoveredOne) {
    putOnClipboard(filled({40, 30}, Qt::red));
    key(*book, Qt::Key_V, Qt::ControlModifier);
    putOnClipboard(filled({20, 20}, Qt::blue));
    book->MenuValintaReaktio(1);
    EXPECT_TRUE(book->page().Objects[1].InUse);
    EXPECT_TRUE(book->page().Objects[2].InUse);
    EXPECT_EQ(book->Kuva().pixelColor(15, 15), QColor(Qt::blue));
    EXPECT_EQ(book->Kuva().pixelColor(45, 35), QColor(Qt::red));

    key(*book, Qt::Key_V, Qt::ShiftModifier | Qt::ControlModifier);  // not Ctrl alone
    EXPECT_FALSE(book->page().Objects[3].InUse);

    send(*book, QEvent::MouseMove, {15, 15}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(book->page().SelectedObject, 2);
    EXPECT_EQ(book->outlineColour(), QColor(Qt::red));
    key(*book, Qt::Key_Delete, Qt::NoModifier);
    EXPECT_FALSE(book->page().Objects[2].InUse);
    EXPECT_EQ(book->Kuva().pixelColor(15, 15), QColor(Qt::red));
}

TEST_F(ClipBookTest, ItsOwnCopiedPageAndAnEmptyClipboardAddNothing) {
    putOnClipboard(filled({40, 30}, Qt::red));
    book->paste();
    book->CopyToClipboard();
    g.LastCopiedWindow = Id;  // the main window's copy command records it
    book->paste();
    EXPECT_FALSE(book->page().Objects[2].InUse);

    ClipBook* other = open(5);
    other->paste();
    ASSERT_TRUE(other->page().Objects[1].InUse);
    EXPECT_EQ(other->page().Objects[1].picture.size(), book->Kuva().size());

    g.LastCopiedWindow = 0;
    QGuiApplication::clipboard()->clear();
    other->paste();
    EXPECT_FALSE(other->page().Objects[2].InUse);
}

TEST_F(ClipBookTest, DraggingMovesAPictureAndTheReleasePaintsItThere) {
    putOnClipboard(filled({40, 30}, Qt::red));
    book->paste();
    send(*book, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(book->page().DraggedObject, 1);
    EXPECT_EQ(book->Kuva().pixelColor(20, 20), QColor(Qt::white));
    send(*book, QEvent::MouseMove, {120, 70}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(book->outline(), QRect(QPoint(110, 60), QPoint(150, 90)));
    EXPECT_EQ(book->outlineColour(), QColor(Qt::black));
    send(*book, QEvent::MouseButtonRelease, {120, 70}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(book->page().DraggedObject, 0);
    EXPECT_EQ(book->Kuva().pixelColor(120, 70), QColor(Qt::red));
    EXPECT_EQ(book->Kuva().pixelColor(20, 20), QColor(Qt::white));
}

// What the window shows: the hover outline one unit outside the picture on
// the left and top, on its right and bottom edges' next pixel; the drag
// outline from the picture's corner to the corner plus its size.
TEST_F(ClipBookTest, OutlinesAreShownExactlyBetweenTheirCorners) {
    putOnClipboard(filled({40, 30}, Qt::blue));
    book->paste();
    struct Step {
        const char* name;
        QEvent::Type type;
        QPointF at;
        Qt::MouseButton button;
        Qt::MouseButtons held;
        QRect corners;
        QColor colour;
    };
    const Step steps[] = {
        {"Hover", QEvent::MouseMove, {20, 20}, Qt::NoButton, Qt::NoButton, QRect(QPoint(9, 9), QPoint(50, 40)),
         Qt::red},
        {"Press", QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton,
         QRect(QPoint(10, 10), QPoint(50, 40)), Qt::black},
        {"Drag", QEvent::MouseMove, {120, 70}, Qt::NoButton, Qt::LeftButton, QRect(QPoint(110, 60), QPoint(150, 90)),
         Qt::black},
    };
    for (const Step& s : steps) {
        send(*book, s.type, s.at, s.button, s.held);
        ASSERT_EQ(book->outline(), s.corners) << s.name;
        EXPECT_EQ(test::OutlineFault(book->grab().toImage(), s.corners, s.colour), "") << s.name;
    }
}

TEST_F(ClipBookTest, SaveAsBmpWritesThePageOrReportsASaveError) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    putOnClipboard(filled({40, 30}, Qt::red));
    book->paste();
    const QString path = dir.filePath(QStringLiteral("clips.bmp"));
    {
        test::ScriptedDialogs dialogs;
        dialogs.expectSaveFile(path, QStringLiteral("Save the image"));
        book->MenuValintaReaktio(5);
    }
    const QImage saved(path);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), book->Kuva().size());
    EXPECT_EQ(saved.pixelColor(20, 20), QColor(Qt::red));

    const QString missing = dir.filePath(QStringLiteral("no/such/folder/clips.bmp"));
    test::ScriptedDialogs dialogs;
    dialogs.expectSaveFile(missing, QStringLiteral("Save the image"));
    dialogs.expectMessage(QStringLiteral("The file could not be written:\n") + missing + "\nNo such file or directory", QStringLiteral("Save error"),
                          MsgAnswer::Ok);
    book->saveImage();
}

TEST_F(ClipBookTest, SettingsLinesRestorePlaceSizeAndPrintPageFlagButNoPictures) {
    putOnClipboard(filled({40, 30}, Qt::red));
    book->paste();
    book->move(20, 30);
    book->resize(300, 200);
    book->AsetaPreviewissa(true);
    const std::vector<std::string> lines = book->SaveInfo();
    EXPECT_EQ(lines, (std::vector<std::string>{"5", "location.x:300", "location.y:450", "size.x:4500", "size.y:3000",
                                               "printview.window.visible:1"}));

    ClipBook* restored = open(6);
    for (size_t i = 1; i < lines.size(); ++i) restored->LoadInfo("window.6." + lines[i]);
    EXPECT_EQ(restored->pos(), QPoint(20, 30));
    EXPECT_EQ(restored->size(), QSize(300, 200));
    EXPECT_TRUE(restored->OnkoPreviewissa());
    EXPECT_FALSE(restored->page().Objects[1].InUse);

    for (const char* hostile : {"window.6.location.x:far", "window.6.size.y:", "window.6.printview.window.visible:yes"})
        EXPECT_NO_THROW(restored->LoadInfo(hostile)) << hostile;
    EXPECT_EQ(restored->pos(), QPoint(20, 30));
    EXPECT_EQ(restored->size(), QSize(300, 200));
    EXPECT_TRUE(restored->OnkoPreviewissa());
}

TEST_F(ClipBookTest, OnTheShownPrintPageItsPageIsPrintedAndFollowsPastes) {
    PrintPreview page;
    page.show();
    page.resize(750, 1061);
    QApplication::processEvents();
    book->AsetaPreviewissa(true);
    putOnClipboard(filled({40, 30}, Qt::red));
    book->paste();
    // Scale 1: the book's page at (50, 50), the picture 10 further in.
    EXPECT_EQ(page.Kuva().pixelColor(65, 65), QColor(Qt::red));

    page.hide();  // a hidden page is not refreshed
    book->page().SelectedObject = 1;
    book->deleteSelected();
    EXPECT_EQ(page.Kuva().pixelColor(65, 65), QColor(Qt::red));
    page.show();
    page.Piirra();
    EXPECT_EQ(page.Kuva().pixelColor(65, 65), QColor(Qt::white));
}

}  // namespace
}  // namespace qv
