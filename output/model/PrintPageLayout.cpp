#include "output/model/PrintPageLayout.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/Numbers.h"
#include "core/TextUtil.h"

namespace qv {

namespace {

bool validId(int id) { return id >= 1 && id < PagePlacementSlots; }

void paintGroup(QPainter& p, std::array<PagePlacement, PagePlacementSlots>& placements,
                const std::vector<PageItem>& items, int dragged, double scale) {
    for (const PageItem& item : items) {
        if (!validId(item.id) || item.id == dragged) continue;
        PagePlacement& pl = placements[static_cast<size_t>(item.id)];
        pl.Width = NearestInt32(scale * item.picture.width());
        pl.Height = NearestInt32(scale * item.picture.height());
        if (item.picture.isNull()) continue;
        p.drawImage(QRectF(pl.X * scale, pl.Y * scale, pl.Width, pl.Height), item.picture);
    }
}

void placementLines(std::vector<std::string>& out, const char* group, int id, const PagePlacement& p) {
    const std::string head = std::string(group) + "." + std::to_string(id) + ".";
    out.push_back(head + "location.x:" + NumberText(p.X));
    out.push_back(head + "location.y:" + NumberText(p.Y));
    out.push_back(head + "size.x:" + NumberText(p.Width));
    out.push_back(head + "size.y:" + NumberText(p.Height));
}

}  // namespace

double PageHeightFor(double width) { return width * std::sqrt(2.0); }

QSize PageSizeWithin(int wantedWidth, const QSize& room) {
    const int tallest = std::max(1, room.height());
    int width = std::clamp(wantedWidth, 1, std::max(1, room.width()));
    int height = static_cast<int>(std::lround(PageHeightFor(width)));
    if (height > tallest) {
        height = tallest;
        width = std::max(1, static_cast<int>(std::floor(height / PageHeightFor(1.0))));
    }
    return QSize(width, height);
}

QRectF PrintedPageRect(const QRectF& area) {
    double w = area.width();
    double h = PageHeightFor(w);
    if (h > area.height()) {
        h = area.height();
        w = h / std::sqrt(2.0);
    }
    return QRectF(area.topLeft(), QSizeF(w, h));
}

QSize PrintedPagePixels(const QSizeF& area, int dpi) {
    const QSizeF page = PrintedPageRect(QRectF(QPointF(0, 0), area)).size();
    const double shrink = dpi > MaxPrintedPageDpi ? static_cast<double>(MaxPrintedPageDpi) / dpi : 1.0;
    return QSize(std::max(1, NearestInt32(page.width() * shrink)), std::max(1, NearestInt32(page.height() * shrink)));
}

double PrintPageLayout::scaleFor(int pictureWidth, int pageWidthBase) {
    return pageWidthBase > 0 ? static_cast<double>(pictureWidth) / pageWidthBase : 1.0;
}

void PrintPageLayout::paint(QImage& page, const std::vector<PageItem>& windows, const std::vector<PageItem>& stats,
                            int pageWidthBase) {
    page.fill(Qt::white);
    const double scale = scaleFor(page.width(), pageWidthBase);
    QPainter p(&page);
    // Pictures made smaller are smoothed; enlarged ones (a large page, a
    // printed page) keep every pixel sharp instead of blurring their text.
    p.setRenderHint(QPainter::SmoothPixmapTransform, scale < 1.0);
    paintGroup(p, WindowPlacement, windows, DraggedWindow, scale);
    paintGroup(p, StatPlacement, stats, DraggedStat, scale);
}

bool PrintPageLayout::hits(const PagePlacement& pl, QPointF pos, double scale) {
    // Single precision, strict on all four sides.
    const float x = static_cast<float>(pos.x()), y = static_cast<float>(pos.y());
    const float left = static_cast<float>(pl.X * scale), top = static_cast<float>(pl.Y * scale);
    return left < x && x < left + pl.Width && top < y && y < top + pl.Height;
}

QRect PrintPageLayout::outline(const PagePlacement& pl, double scale) {
    const int left = NearestInt32(pl.X * scale), top = NearestInt32(pl.Y * scale);
    return QRect(QPoint(left, top), QPoint(left + pl.Width, top + pl.Height));
}

bool PrintPageLayout::press(QPointF pos, double scale, int maxId) {
    DraggedStat = 0;
    const int top = std::min(maxId, PagePlacementSlots - 1);
    auto grab = [&](std::array<PagePlacement, PagePlacementSlots>& placements, int16_t& dragged) {
        for (int id = top; id >= 1; --id) {
            if (!hits(placements[static_cast<size_t>(id)], pos, scale)) continue;
            dragged = static_cast<int16_t>(id);
            LastMouseX = NearestInt32(pos.x());
            LastMouseY = NearestInt32(pos.y());
            return true;
        }
        return false;
    };
    return grab(StatPlacement, DraggedStat) || grab(WindowPlacement, DraggedWindow);
}

std::optional<QRect> PrintPageLayout::drag(QPointF pos, double scale) {
    PagePlacement* pl = nullptr;
    if (DraggedWindow != 0) pl = &WindowPlacement[static_cast<size_t>(DraggedWindow)];
    if (DraggedStat != 0) pl = &StatPlacement[static_cast<size_t>(DraggedStat)];
    if (!pl || scale <= 0) return std::nullopt;
    pl->X = NearestInt32(pl->X + (pos.x() - LastMouseX) / scale);
    pl->Y = NearestInt32(pl->Y + (pos.y() - LastMouseY) / scale);
    LastMouseX = NearestInt32(pos.x());
    LastMouseY = NearestInt32(pos.y());
    return outline(*pl, scale);
}

std::vector<std::string> PrintPageSettingsLines(const PrintPageLayout& layout, const PageFrame& frame,
                                                const std::vector<int>& windowIds, const std::vector<int>& statIds) {
    std::vector<std::string> lines{""};
    lines.push_back("location.x:" + NumberText(static_cast<float>(frame.left)));
    lines.push_back("location.y:" + NumberText(static_cast<float>(frame.top)));
    lines.push_back("size.x:" + NumberText(static_cast<float>(frame.width)));
    lines.push_back("size.y:" + NumberText(static_cast<float>(frame.height)));
    for (int id : windowIds)
        if (validId(id)) placementLines(lines, "window", id, layout.WindowPlacement[static_cast<size_t>(id)]);
    for (int id : statIds)
        if (validId(id)) placementLines(lines, "stat", id, layout.StatPlacement[static_cast<size_t>(id)]);
    lines[0] = std::to_string(lines.size() - 1);
    return lines;
}

PrintPageLine ParsePrintPageLine(const std::string& line) {
    PrintPageLine out;
    const std::vector<std::string_view> pieces = SplitAt(line, ':');
    if (pieces.size() < 2) return out;
    const std::optional<double> value = ParseNumber(pieces[1]);
    if (!value) return out;
    const std::vector<std::string_view> k = SplitAt(pieces[0], '.');
    if (k.size() < 3 || k[0] != "printview") return out;

    using Kind = PrintPageLine::Kind;
    using Field = PrintPageLine::Field;
    if (k[1] == "location" || k[1] == "size") {
        const bool location = k[1] == "location";
        if (k[2] == "x") out.kind = location ? Kind::Left : Kind::Width;
        else if (k[2] == "y") out.kind = location ? Kind::Top : Kind::Height;
        out.value = *value;
        return out;
    }
    if (k[1] != "window" && k[1] != "stat") return out;
    const std::optional<double> id = ParseNumber(k[2]);
    if (!id || *id != std::floor(*id) || std::abs(*id) > 32767) return out;
    out.kind = k[1] == "window" ? Kind::Window : Kind::Stat;
    out.id = static_cast<int>(*id);
    out.value = *value;
    if (k.size() >= 5) {
        if (k[3] == "location") out.field = k[4] == "x" ? Field::X : k[4] == "y" ? Field::Y : Field::None;
        else if (k[3] == "size") out.field = k[4] == "x" ? Field::Width : k[4] == "y" ? Field::Height : Field::None;
    }
    return out;
}

void ApplyPlacementValue(PagePlacement& placement, PrintPageLine::Field field, double value) {
    int32_t v = 0;
    try {
        v = CLng(value);
    } catch (const std::overflow_error&) {
        return;
    }
    switch (field) {
    case PrintPageLine::Field::X: placement.X = v; break;
    case PrintPageLine::Field::Y: placement.Y = v; break;
    case PrintPageLine::Field::Width: placement.Width = v; break;
    case PrintPageLine::Field::Height: placement.Height = v; break;
    case PrintPageLine::Field::None: break;
    }
}

}  // namespace qv
