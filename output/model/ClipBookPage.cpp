#include "output/model/ClipBookPage.h"

#include <QPainter>

#include <cmath>
#include <limits>

#include "core/Numbers.h"

namespace qv {

namespace {

int32_t rounded(double v) {
    if (!(v == v)) return 0;
    const double r = std::nearbyint(v);
    if (r >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    if (r <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

}  // namespace

int ClipBookPage::paste(const QImage& picture) {
    if (picture.isNull()) return 0;
    for (int i = 1; i <= MaxClipObjects; ++i) {
        ClipObject& o = Objects[static_cast<size_t>(i)];
        if (o.InUse) continue;
        o.InUse = true;
        o.picture = picture;
        o.Width = picture.width();
        o.Height = picture.height();
        o.X = ClipPastePosition;
        o.Y = ClipPastePosition;
        return i;
    }
    return 0;
}

bool ClipBookPage::deleteSelected() {
    if (SelectedObject < 1 || SelectedObject > MaxClipObjects) return false;
    ClipObject& o = Objects[static_cast<size_t>(SelectedObject)];
    if (!o.InUse) return false;
    o = ClipObject{};
    return true;
}

void ClipBookPage::paint(QImage& page) const {
    page.fill(Qt::white);
    QPainter p(&page);
    for (int i = 1; i <= MaxClipObjects; ++i) {
        const ClipObject& o = Objects[static_cast<size_t>(i)];
        if (o.InUse && i != DraggedObject) p.drawImage(QPoint(o.X, o.Y), o.picture);
    }
}

int ClipBookPage::objectAt(QPointF pos) const {
    for (int i = MaxClipObjects; i >= 1; --i) {
        const ClipObject& o = Objects[static_cast<size_t>(i)];
        if (o.InUse && o.X < pos.x() && pos.x() < o.X + o.Width && o.Y < pos.y() && pos.y() < o.Y + o.Height)
            return i;
    }
    return 0;
}

QRect ClipBookPage::dragOutline(const ClipObject& o) {
    return QRect(QPoint(o.X, o.Y), QPoint(o.X + o.Width, o.Y + o.Height));
}

QRect ClipBookPage::hoverOutline(const ClipObject& o) {
    return QRect(QPoint(o.X - 1, o.Y - 1), QPoint(o.X + o.Width, o.Y + o.Height));
}

std::optional<QRect> ClipBookPage::press(QPointF pos) {
    const int i = objectAt(pos);
    if (i == 0) return std::nullopt;
    DraggedObject = static_cast<int16_t>(i);
    LastMouseX = rounded(pos.x());
    LastMouseY = rounded(pos.y());
    return dragOutline(Objects[static_cast<size_t>(i)]);
}

std::optional<QRect> ClipBookPage::hover(QPointF pos) {
    SelectedObject = static_cast<int16_t>(objectAt(pos));
    if (SelectedObject == 0) return std::nullopt;
    return hoverOutline(Objects[static_cast<size_t>(SelectedObject)]);
}

QRect ClipBookPage::drag(QPointF pos) {
    ClipObject& o = Objects[static_cast<size_t>(DraggedObject)];
    o.X = rounded(o.X + (pos.x() - LastMouseX));
    o.Y = rounded(o.Y + (pos.y() - LastMouseY));
    LastMouseX = rounded(pos.x());
    LastMouseY = rounded(pos.y());
    return dragOutline(o);
}

std::vector<std::string> ClipBookSettingsLines(const ClipBookFrame& frame) {
    return {"5",
            "location.x:" + NumberText(static_cast<float>(frame.left)),
            "location.y:" + NumberText(static_cast<float>(frame.top)),
            "size.x:" + NumberText(static_cast<float>(frame.width)),
            "size.y:" + NumberText(static_cast<float>(frame.height)),
            std::string("printview.window.visible:") + (frame.onPrintPage ? "1" : "0")};
}

ClipBookLine ParseClipBookLine(const std::string& line) {
    ClipBookLine out;
    const std::vector<std::string> pieces = split(line, ':');
    if (pieces.size() < 2) return out;
    const std::string& value = pieces[1];
    const std::vector<std::string> k = split(pieces[0], '.');
    if (k.size() < 4) return out;
    using Kind = ClipBookLine::Kind;
    if (k[2] == "location" || k[2] == "size") {
        const std::optional<double> v = ParseNumber(value);
        if (!v) return out;
        const bool location = k[2] == "location";
        if (k[3] == "x") out.kind = location ? Kind::Left : Kind::Width;
        else if (k[3] == "y") out.kind = location ? Kind::Top : Kind::Height;
        out.value = *v;
        return out;
    }
    if (k.size() >= 5 && k[2] == "printview" && k[3] == "window" && k[4] == "visible" && (value == "1" || value == "0")) {
        out.kind = Kind::PrintPage;
        out.flag = value == "1";
    }
    return out;
}

}  // namespace qv
