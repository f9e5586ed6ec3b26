#pragma once
// Checks a one-pixel box outline in a picture pixel by pixel: every pixel of
// the border from corners.topLeft() to corners.bottomRight() (both
// included) has the outline's colour, and the pixels just outside each side
// do not.
#include <QColor>
#include <QImage>
#include <QRect>

#include <string>

namespace qv::test {

// "" when the outline is exactly there; otherwise the first pixel found wrong.
inline std::string OutlineFault(const QImage& picture, const QRect& corners, const QColor& colour) {
    const QRgb want = colour.rgb() & 0xffffff;
    auto pixel = [&](int x, int y) -> QRgb { return picture.pixel(x, y) & 0xffffff; };
    auto where = [](const char* what, int x, int y) {
        return std::string(what) + " at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    };
    const int l = corners.left(), t = corners.top(), r = corners.right(), b = corners.bottom();
    if (l < 1 || t < 1 || r + 1 >= picture.width() || b + 1 >= picture.height())
        return "the outline and a pixel around it do not fit the picture";
    for (int x = l; x <= r; ++x)
        for (int y : {t, b})
            if (pixel(x, y) != want) return where("border pixel missing", x, y);
    for (int y = t; y <= b; ++y)
        for (int x : {l, r})
            if (pixel(x, y) != want) return where("border pixel missing", x, y);
    const int mx = (l + r) / 2, my = (t + b) / 2;
    const int outside[][2] = {{l - 1, my}, {r + 1, my}, {mx, t - 1}, {mx, b + 1}, {r + 1, b + 1}};
    for (const auto& p : outside)
        if (pixel(p[0], p[1]) == want) return where("outline drawn beyond its corners", p[0], p[1]);
    return {};
}

}  // namespace qv::test
