#pragma once
// The page of a clip book without a widget: the pasted pictures with their
// places, which one the pointer is over, the drag, the painting of the page
// and the window's settings lines. Coordinates are pixels of the page
// picture.
#include <QImage>
#include <QPointF>
#include <QRect>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

inline constexpr int MaxClipObjects = 100;
// Where a pasted picture's top-left corner lands.
inline constexpr int ClipPastePosition = 10;

struct ClipObject {
    bool InUse = false;
    int32_t X = 0, Y = 0;           // top-left corner
    int32_t Width = 0, Height = 0;  // the pasted picture's size
    QImage picture;                 // held exactly while the object is in use
};

class ClipBookPage {
public:
    // Objects 1..MaxClipObjects; element 0 is not used.
    std::array<ClipObject, MaxClipObjects + 1> Objects{};
    int16_t SelectedObject = 0;  // under the pointer, what a delete removes
    int16_t DraggedObject = 0;
    int32_t LastMouseX = 0, LastMouseY = 0;

    // Adds the picture as the lowest free object at (10, 10); returns its
    // index, 0 when the book is full or the picture is empty.
    int paste(const QImage& picture);
    // Removes the selected object when it is in use; true when it did.
    bool deleteSelected();

    // Clears the page and paints the objects in ascending index (higher
    // over lower) at their own size, leaving out the one being dragged.
    void paint(QImage& page) const;

    // The topmost object strictly containing `pos`, 0 for none.
    int objectAt(QPointF pos) const;
    // Left press: grabs the topmost object under the pointer; its black
    // outline, nothing when no object is hit.
    std::optional<QRect> press(QPointF pos);
    // Pointer move without a drag: the object under the pointer becomes the
    // selected one (0 when none); its red outline, one unit larger on the
    // left and top.
    std::optional<QRect> hover(QPointF pos);
    // Pointer move during a drag: the object follows the pointer; its black
    // outline at the new place.
    QRect drag(QPointF pos);
    void release() { DraggedObject = 0; }

    static QRect dragOutline(const ClipObject& o);
    static QRect hoverOutline(const ClipObject& o);
};

// The clip book's place on screen, in twips, and its print-page flag.
struct ClipBookFrame {
    double left = 0, top = 0, width = 0, height = 0;
    bool onPrintPage = false;
};

// Element 0 "5", then location, size and "printview.window.visible:".
std::vector<std::string> ClipBookSettingsLines(const ClipBookFrame& frame);

// One "window.<ID>." line of a clip book read back; lines it does not know,
// and values that are no number (or no exact "1"/"0" for the flag), give None.
struct ClipBookLine {
    enum class Kind { None, Left, Top, Width, Height, PrintPage };
    Kind kind = Kind::None;
    double value = 0;   // twips
    bool flag = false;  // PrintPage
};
ClipBookLine ParseClipBookLine(const std::string& line);

}  // namespace qv
