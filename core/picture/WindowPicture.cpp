#include "core/picture/WindowPicture.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QImageWriter>

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "core/AtomicFile.h"

namespace qv {

bool SaveWindowPicture(const QImage& picture, const QString& path, std::string* reason) {
    return SaveWindowPicture(picture, QFile::encodeName(path).toStdString(), reason);
}

bool SaveWindowPicture(const QImage& picture, const std::string& path, std::string* reason) {
    const auto failed = [reason](std::string why) {
        if (reason) *reason = std::move(why);
        return false;
    };
    if (picture.isNull()) return failed("The window has no picture");
    if (path.empty()) return failed(FileWriteReason(FileWriteResult::Failed, ENOENT));
    // A bitmap has no transparency; a picture that carries alpha is written
    // opaque.
    const QImage opaque = picture.hasAlphaChannel() ? picture.convertToFormat(QImage::Format_RGB32) : picture;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(opaque)) return failed(writer.errorString().toStdString());
    int error = 0;
    const FileWriteResult result =
        WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), true, &error);
    if (result != FileWriteResult::Ok) return failed(FileWriteReason(result, error));
    return true;
}

void DrawBoxOutline(QPainter& painter, const QRect& corners, const QColor& colour) {
    const QRect box = corners.normalized();
    if (box.isEmpty()) return;
    // Four strips of whole pixels: exact whatever the painter's pen and
    // antialiasing.
    painter.fillRect(QRect(box.left(), box.top(), box.width(), 1), colour);
    painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), colour);
    painter.fillRect(QRect(box.left(), box.top(), 1, box.height()), colour);
    painter.fillRect(QRect(box.right(), box.top(), 1, box.height()), colour);
}

QFont RotatedTitleFont(const QString& face, int height, int weight) {
    QFont font(face);
    font.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
    font.setWeight(static_cast<QFont::Weight>(weight <= 0 ? 400 : std::clamp(weight, 1, 1000)));
    if (height < 0) {
        font.setPixelSize(-height);  // character height
    } else if (height > 0) {
        // A positive height is the whole character cell (ascent and descent);
        // bring the cell of the font found down to it.
        font.setPixelSize(height);
        const double cell = QFontMetricsF(font).height();
        if (cell > height) font.setPixelSize(std::max(1, static_cast<int>(std::lround(height * height / cell))));
    }
    return font;
}

void RotatedFont::select(QPainter& painter, const QString& face, int height, int weight, int escapement) {
    restore();
    painter_ = &painter;
    previousFont_ = painter.font();
    previousTransform_ = painter.transform();
    font_ = RotatedTitleFont(face, height, weight);
    degrees_ = escapement / 10.0;
    painter.setFont(font_);
}

void RotatedFont::restore() {
    if (!painter_) return;
    painter_->setFont(previousFont_);
    painter_->setTransform(previousTransform_);
    painter_ = nullptr;
}

void RotatedFont::drawText(QPointF at, const QString& text) {
    if (!painter_ || text.isEmpty()) return;
    const QTransform before = painter_->transform();
    painter_->translate(at);
    painter_->rotate(-degrees_);  // QPainter turns clockwise on screen
    painter_->setFont(font_);
    painter_->drawText(QPointF(0.0, QFontMetricsF(font_, painter_->device()).ascent()), text);
    painter_->setTransform(before);
}

QSizeF RotatedFont::unrotatedSize(const QString& text) const {
    const QFontMetricsF metrics(font_, painter_ ? painter_->device() : nullptr);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void DrawVerticalTitle(QPainter& painter, QPointF at, const QString& text, int height, int weight) {
    RotatedFont rotated(painter, QStringLiteral("Courier New"), height, weight, 900);
    rotated.drawText(at, text);
}

}  // namespace qv
