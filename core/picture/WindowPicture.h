#pragma once
// Saving a window's picture as a bitmap file, and the rotated text of
// vertical axis titles. Widget-free: works on QImage and QPainter only.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QString>

#include <string>

namespace qv {

// Writes the picture to `path` as a Windows bitmap (BMP), replacing a file of
// that name. The bitmap is made in memory and written as every file of the
// program is (core/AtomicFile: whole or not at all, through a link, never
// into a pipe or a device), so a failure (no permission, a read-only target,
// a full disk, a missing folder, a folder of that name, an empty picture)
// leaves an existing file exactly as it was.
// Returns false on any failure, with the reason in words in `reason` when
// given; the caller shows the message.
bool SaveWindowPicture(const QImage& picture, const QString& path, std::string* reason = nullptr);
// The same for a path held as 8-bit text, as the file system names it.
bool SaveWindowPicture(const QImage& picture, const std::string& path, std::string* reason = nullptr);

// A one-pixel outline of the box from corners.topLeft() to
// corners.bottomRight(), both corners drawn and nothing beyond them (QRect's
// right() and bottom(); QPainter::drawRect with a one-pixel pen would draw
// one pixel further right and down).
void DrawBoxOutline(QPainter& painter, const QRect& corners, const QColor& colour);

// The font of a rotated axis title: the face asked for by name, `height` the
// character cell height in pixels, `weight` on the 1..1000 scale (400
// normal, 200 light, 700 bold).
QFont RotatedTitleFont(const QString& face, int height, int weight);

// Text turned counter-clockwise by an escapement in tenths of a degree (900:
// running upwards), drawn through one painter between the selection of the
// rotated font and its release. Selecting saves the painter's font and
// transform; restoring (or the end of the scope) gives both back exactly,
// so the painter is left as it was and nothing of the rotated font remains.
// Only one rotated font is held at a time: selecting again releases the
// previous one first.
class RotatedFont {
public:
    RotatedFont() = default;
    RotatedFont(QPainter& painter, const QString& face, int height, int weight, int escapement) {
        select(painter, face, height, weight, escapement);
    }
    ~RotatedFont() { restore(); }
    RotatedFont(const RotatedFont&) = delete;
    RotatedFont& operator=(const RotatedFont&) = delete;

    // SelectRotatedFont: the painter draws with the rotated font from now on.
    void select(QPainter& painter, const QString& face, int height, int weight, int escapement);
    // RestoreFont: the painter's previous font and transform come back.
    void restore();
    bool active() const { return painter_ != nullptr; }

    // Draws `text` with its reference point (the top left corner of the
    // text's first character cell, as the unrotated text would have it) at
    // `at` in the painter's coordinates; the text then runs in the rotated
    // direction from there.
    void drawText(QPointF at, const QString& text);
    // The size of the text before rotation: advance along the run, and the
    // cell height across it.
    QSizeF unrotatedSize(const QString& text) const;

private:
    QPainter* painter_ = nullptr;
    QFont previousFont_;
    QTransform previousTransform_;
    QFont font_;
    double degrees_ = 0.0;  // counter-clockwise on screen
};

// One vertical axis title in the usual way of the windows: "Courier New",
// the given height and weight, running upwards from `at` (the text's lower
// left corner on screen is at `at`, its cell extends to the right of it).
void DrawVerticalTitle(QPainter& painter, QPointF at, const QString& text, int height = 13, int weight = 400);

}  // namespace qv
