#include "output/model/ClipBookPage.h"

#include <QPainter>

#include <cmath>

#include "core/Numbers.h"
#include "core/TextUtil.h"

namespace qv {

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
    LastMouseX = NearestInt32(pos.x());
    LastMouseY = NearestInt32(pos.y());
    return dragOutline(Objects[static_cast<size_t>(i)]);
}

std::optional<QRect> ClipBookPage::hover(QPointF pos) {
    SelectedObject = static_cast<int16_t>(objectAt(pos));
    if (SelectedObject == 0) return std::nullopt;
    return hoverOutline(Objects[static_cast<size_t>(SelectedObject)]);
}

QRect ClipBookPage::drag(QPointF pos) {
    ClipObject& o = Objects[static_cast<size_t>(DraggedObject)];
    o.X = NearestInt32(o.X + (pos.x() - LastMouseX));
    o.Y = NearestInt32(o.Y + (pos.y() - LastMouseY));
    LastMouseX = NearestInt32(pos.x());
    LastMouseY = NearestInt32(pos.y());
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
    const std::vector<std::string_view> pieces = SplitAt(line, ':');
    if (pieces.size() < 2) return out;
    const std::string_view value = pieces[1];
    const std::vector<std::string_view> k = SplitAt(pieces[0], '.');
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
