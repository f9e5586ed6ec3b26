#include "plots/multi/model/BendAxes.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/Numbers.h"

namespace qv {

AxisTable DefaultAxisTable() {
    AxisTable t{};
    t[BendRootAxis] = {1000, 9000, 0, true, 0, false};
    t[1] = {4000, 9000, BendRootAxis, true, 1, false};
    t[2] = {1000, 5000, BendRootAxis, true, 2, true};
    t[3] = {7000, 8000, 1, true, 3, false};
    t[4] = {2000, 2000, 2, true, 4, true};
    return t;
}

bool BendAxisHasChild(const AxisTable& axes, int entry) {
    for (int a = 1; a <= BendLastAxis; ++a)
        if (axes[static_cast<size_t>(a)].Exists && axes[static_cast<size_t>(a)].Connected == entry) return true;
    return false;
}

bool BendCanAddAxis(const AxisTable& axes, int selected) {
    return selected >= 1 && selected <= BendRootAxis && !BendAxisHasChild(axes, selected);
}

bool BendCanDeleteAxis(const AxisTable& axes, int selected) {
    return selected >= 3 && selected <= BendRootAxis && !BendAxisHasChild(axes, selected);
}

int BendAddAxis(AxisTable& axes, int selected) {
    int n = 0;
    for (int a = 1; a <= BendLastAxis && n == 0; ++a)
        if (!axes[static_cast<size_t>(a)].Exists) n = a;
    if (n == 0) return 0;
    if (selected < 0 || selected > BendRootAxis) selected = BendRootAxis;
    const AxisRecord& from = axes[static_cast<size_t>(selected)];
    AxisRecord& to = axes[static_cast<size_t>(n)];
    to.Exists = true;
    to.YAxis = from.YAxis;
    to.Connected = static_cast<int16_t>(selected);
    to.Parameter = 1;
    to.X = from.X >= 9000 ? from.X - 1000 : from.X + 1000;
    to.Y = from.Y >= 9000 ? from.Y - 1000 : from.Y + 1000;
    return n;
}

void BendDeleteAxis(AxisTable& axes, int selected) {
    if (selected >= 0 && selected <= BendRootAxis) axes[static_cast<size_t>(selected)].Exists = false;
}

int32_t BendAxisNameEscapement(double dx, double dy) {
    if (dx == 0) dx = 0.1;
    const double a = std::atan(dy / dx) / 3.141592654 * 180.0;
    const double angle = dx > 0 ? 360.0 - a : 180.0 - a;
    return static_cast<int32_t>(RoundHalfEven(angle * 10.0));
}

namespace {

const AxisRecord& parentOf(const AxisTable& axes, const AxisRecord& a) {
    static const AxisRecord none{};
    const int c = a.Connected;
    return c >= 0 && c <= BendRootAxis ? axes[static_cast<size_t>(c)] : none;
}

}  // namespace

BendAxisBox BendAxisHitBox(const AxisTable& axes, int a, double W, double H) {
    const AxisRecord& axis = axes[static_cast<size_t>(std::clamp(a, 0, BendRootAxis))];
    const AxisRecord& start = parentOf(axes, axis);
    const double x0 = start.X / 10000.0 * W, y0 = start.Y / 10000.0 * H;
    const double x1 = axis.X / 10000.0 * W, y1 = axis.Y / 10000.0 * H;
    BendAxisBox b{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    if (b.right - b.left < 10) {
        b.left -= 5;
        b.right += 5;
    }
    if (b.bottom - b.top < 10) {
        b.top -= 5;
        b.bottom += 5;
    }
    return b;
}

int BendAxisAt(const AxisTable& axes, double x, double y, double W, double H) {
    int hit = 0;
    for (int a = 1; a <= BendLastAxis; ++a)
        if (axes[static_cast<size_t>(a)].Exists && BendAxisHitBox(axes, a, W, H).contains(x, y)) hit = a;
    return hit;
}

int BendEndHandleAt(const AxisTable& axes, double x, double y, double W, double H, double tolerance) {
    for (int a = 1; a <= BendRootAxis; ++a) {
        const AxisRecord& axis = axes[static_cast<size_t>(a)];
        if (!axis.Exists) continue;
        if (std::fabs(x - axis.X / 10000.0 * W) < tolerance && std::fabs(y - axis.Y / 10000.0 * H) < tolerance)
            return a;
    }
    return 0;
}

namespace {

std::array<Rgb, BendRampTop + 1> buildRamp() {
    std::array<Rgb, BendRampTop + 1> r{};
    for (int i = 0; i <= 255; ++i) r[static_cast<size_t>(i)] = {static_cast<uint8_t>(i), 0, 0};
    for (int i = 1; i <= 255; ++i) r[static_cast<size_t>(255 + i)] = {255, static_cast<uint8_t>(i), 0};
    for (int i = 1; i <= 255; ++i) r[static_cast<size_t>(510 + i)] = {255, 255, static_cast<uint8_t>(i)};
    return r;
}

}  // namespace

Rgb BendRampColour(int index) {
    static const std::array<Rgb, BendRampTop + 1> ramp = buildRamp();
    return ramp[static_cast<size_t>(std::clamp(index, 0, BendRampTop))];
}

int BendRampIndex(double distance, double total) {
    if (!(total > 0)) return 0;
    const double k = std::floor(distance / total * BendRampTop);
    if (!(k > 0)) return 0;
    return k >= BendRampTop ? BendRampTop : static_cast<int>(k);
}

}  // namespace qv
