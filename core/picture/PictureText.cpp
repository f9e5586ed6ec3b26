#include "core/picture/PictureText.h"

#include <QFontMetrics>
#include <QPoint>

#include <cmath>

namespace qv {

QFont PictureFont() {
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setPixelSize(11);
    return f;
}

void PrintAt(QPainter& painter, double x, double y, const QString& text) {
    const QFontMetrics fm(painter.font());
    painter.drawText(QPoint(PixelOf(x), PixelOf(y) + fm.ascent()), text);
}

int PixelOf(double v) {
    constexpr double kFar = 1.0e7;
    if (!(v > -kFar)) return -static_cast<int>(kFar);  // also a NaN
    if (v > kFar) return static_cast<int>(kFar);
    return static_cast<int>(std::floor(v + 0.5));
}

}  // namespace qv
