#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <unistd.h>

#include "core/picture/WindowPicture.h"
#include "tests/support/OutlinePixels.h"

namespace qv {
namespace {

QImage testPicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb((x * 7) & 255, (y * 13) & 255, (x + y) & 255));
    return image;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(WindowPicture, SavesABitmapThatReadsBackPixelForPixel) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("plot.bmp");
    writeFile(path, QByteArray(200000, 'x'));  // an older, larger file is replaced whole

    const QImage picture = testPicture(37, 21);  // odd width: rows are padded in the file
    ASSERT_TRUE(SaveWindowPicture(picture, path));
    const QByteArray bytes = readAll(path);
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    QImage back;
    ASSERT_TRUE(back.loadFromData(bytes, "BMP"));
    ASSERT_EQ(back.size(), picture.size());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ASSERT_EQ(back.pixel(x, y) & 0xffffff, picture.pixel(x, y) & 0xffffff) << x << "," << y;

    // The 8-bit path form writes the same file; no temporary file is left.
    ASSERT_TRUE(SaveWindowPicture(picture, dir.filePath("second.bmp").toStdString()));
    EXPECT_EQ(readAll(dir.filePath("second.bmp")), bytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // A picture with transparency is written opaque.
    QImage clear(4, 4, QImage::Format_ARGB32);
    clear.fill(qRgba(10, 20, 30, 0));
    ASSERT_TRUE(SaveWindowPicture(clear, path));
    ASSERT_TRUE(back.load(path, "BMP"));
    EXPECT_EQ(back.pixel(1, 1) & 0xffffff, qRgb(10, 20, 30) & 0xffffff);
}

// Every failure is reported, and an existing file of that name stays as it
// was, byte for byte.
TEST(WindowPicture, FailureReportsFalseAndLeavesTheOldFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString existing = dir.filePath("old.bmp");
    const QByteArray oldBytes("previous contents");
    writeFile(existing, oldBytes);
    QDir(dir.path()).mkdir("folder.bmp");

    struct Case { const char* what; QImage picture; QString path; };
    const Case cases[] = {
        {"empty picture over an existing file", QImage(), existing},
        {"zero-size picture", QImage(0, 0, QImage::Format_RGB32), existing},
        {"missing folder", testPicture(3, 3), dir.filePath("no/such/folder/x.bmp")},
        {"a folder of that name", testPicture(3, 3), dir.filePath("folder.bmp")},
        {"empty path", testPicture(3, 3), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(SaveWindowPicture(c.picture, c.path));
    }
    EXPECT_EQ(readAll(existing), oldBytes);
    EXPECT_TRUE(QFileInfo(dir.filePath("folder.bmp")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);  // no temporary left
}

TEST(WindowPicture, ReadOnlyTargetIsNotReplaced) {
    if (geteuid() == 0) GTEST_SKIP() << "running as root: file permissions do not stop a write";
    QTemporaryDir dir;
    const QString path = dir.filePath("locked.bmp");
    writeFile(path, "keep");
    QFile::setPermissions(path, QFile::ReadOwner);
    EXPECT_FALSE(SaveWindowPicture(testPicture(2, 2), path));
    EXPECT_EQ(readAll(path), QByteArray("keep"));
}

// Bounding box of the pixels that are not white.
QRect inkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) != 0xffffff) box |= QRect(x, y, 1, 1);
    return box;
}

// A box outline covers its two corners and stops there, whatever the
// painter was set to before.
TEST(BoxOutline, CoversBothCornersAndNothingBeyond) {
    struct Case {
        const char* name;
        QRect corners;
        bool antialiased;
        int penWidth;
    };
    const Case cases[] = {
        {"Plain", QRect(QPoint(10, 10), QPoint(50, 40)), false, 1},
        {"OneUnitLargerOnTheLeftAndTop", QRect(QPoint(9, 9), QPoint(50, 40)), false, 1},
        {"Antialiased", QRect(QPoint(10, 10), QPoint(50, 40)), true, 1},
        {"WidePenLeftInThePainter", QRect(QPoint(10, 10), QPoint(50, 40)), false, 5},
        {"OnePixel", QRect(QPoint(7, 8), QPoint(7, 8)), false, 1},
        {"OneRow", QRect(QPoint(7, 8), QPoint(30, 8)), false, 1},
    };
    for (const Case& c : cases) {
        QImage image(80, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, c.antialiased);
        p.setPen(QPen(Qt::green, c.penWidth));
        DrawBoxOutline(p, c.corners, Qt::red);
        p.end();
        EXPECT_EQ(test::OutlineFault(image, c.corners, Qt::red), "") << c.name;
    }
}

TEST(RotatedFont, VerticalTitleRunsUpwardsFromItsAnchor) {
    QImage image(60, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setPen(Qt::black);
        DrawVerticalTitle(p, QPointF(20, 180), QStringLiteral("FSC-Height"));
    }
    const QRect box = inkBox(image);
    ASSERT_FALSE(box.isNull()) << "nothing was drawn";
    EXPECT_GT(box.height(), 3 * box.width());  // runs along y, not x
    EXPECT_GE(box.left(), 19);
    EXPECT_LE(box.right(), 20 + 13);           // one cell of height 13 to the right of the anchor
    EXPECT_LE(box.bottom(), 181);              // starts at the anchor and goes up
    EXPECT_GT(box.bottom(), 160);
    EXPECT_LT(box.top(), 120);
}

TEST(RotatedFont, RestoreGivesThePainterBackAsItWas) {
    QImage image(50, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    QFont original(QStringLiteral("Liberation Sans"));
    original.setPixelSize(9);
    p.setFont(original);
    p.translate(3, 4);
    const QTransform transform = p.transform();
    {
        RotatedFont rotated(p, QStringLiteral("Courier New"), 13, 200, 900);
        EXPECT_TRUE(rotated.active());
        EXPECT_EQ(p.font().weight(), QFont::ExtraLight);
        rotated.drawText(QPointF(10, 40), QStringLiteral("Y"));
        EXPECT_EQ(p.transform(), transform);  // drawing does not leave the turn behind
        // Selecting again before restoring still restores the very first font.
        rotated.select(p, QStringLiteral("Courier New"), 13, 400, 900);
        EXPECT_EQ(p.font().weight(), QFont::Normal);
        rotated.restore();
        EXPECT_FALSE(rotated.active());
        EXPECT_EQ(p.font(), original);
        rotated.restore();  // a second restore does nothing
        EXPECT_EQ(p.font(), original);
        rotated.select(p, QStringLiteral("Courier New"), 13, 400, 900);
    }  // the end of the scope restores as well
    EXPECT_EQ(p.font(), original);
    EXPECT_EQ(p.transform(), transform);
    p.end();

    // The cell of the requested height is not exceeded.
    const QFont title = RotatedTitleFont(QStringLiteral("Courier New"), 13, 400);
    EXPECT_LE(QFontMetricsF(title).height(), 13.5);
}

}  // namespace
}  // namespace qv
