#pragma once
// Where each item sits on the A4 print page, without a widget: the
// placements of window pictures and statistics boxes per window ID, the
// painting of the page from the windows' pictures, the strict hit test and
// the drag, and the page's settings lines.
//
// Two units meet here. Page units: the page is `pageWidthBase` (750) wide
// and pageWidthBase x sqrt(2) high, and an item is as many page units wide
// as its source picture has pixels. Page-picture units: the pixels of the
// page picture as painted, scale = picture width / pageWidthBase of them
// to a page unit. Positions are kept in page units; sizes as last painted,
// in page-picture units (0 until first painted, so never hit before).
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

inline constexpr int PagePlacementSlots = 101;  // indices 0..100, 0 unused
inline constexpr int PagePlacementStart = 50;   // page units from the top-left corner

struct PagePlacement {
    int32_t X = PagePlacementStart;
    int32_t Y = PagePlacementStart;
    int32_t Width = 0;
    int32_t Height = 0;
};

// One picture placed on the page: the window's ID and its current picture.
struct PageItem {
    int id = 0;
    QImage picture;
};

// The A4 proportion of the page.
double PageHeightFor(double width);
// The page's size for a wanted width, the A4 proportion kept and the page
// held within `room` (at least 1 x 1): where the height is the limit, the
// width follows from the height.
QSize PageSizeWithin(int wantedWidth, const QSize& room);
// Where the page goes inside a printer's printable area: as large as fits,
// the A4 proportion kept, at the area's top-left corner.
QRectF PrintedPageRect(const QRectF& area);
// The most dots per inch a printed page picture is painted at: 300 dpi is
// sharp on paper, and an A4 page at a fine printer's 1200 dpi would need a
// picture of half a gigabyte.
inline constexpr int MaxPrintedPageDpi = 300;
// The size in pixels of the page picture printed into a printable area of
// `area` pixels at `dpi` dots per inch: the whole PrintedPageRect at the
// printer's resolution, or at MaxPrintedPageDpi when the printer's is finer.
QSize PrintedPagePixels(const QSizeF& area, int dpi);

class PrintPageLayout {
public:
    std::array<PagePlacement, PagePlacementSlots> WindowPlacement{};
    std::array<PagePlacement, PagePlacementSlots> StatPlacement{};
    int16_t DraggedWindow = 0;  // ID of the window picture being dragged, 0 none
    int16_t DraggedStat = 0;    // ID of the statistics box being dragged, 0 none
    int32_t LastMouseX = 0;     // last pointer position, page-picture units
    int32_t LastMouseY = 0;

    static double scaleFor(int pictureWidth, int pageWidthBase);

    // Clears the page white, then paints the window pictures and over them
    // the statistics boxes, each group in ascending ID (higher over lower),
    // leaving out the item being dragged. Each painted item's placement
    // takes its size as drawn. Items whose ID is outside 1..100 are skipped.
    void paint(QImage& page, const std::vector<PageItem>& windows, const std::vector<PageItem>& stats,
               int pageWidthBase);

    // A press at `pos`: statistics boxes are tried first, then window
    // pictures, each from ID `maxId` down to 1; the first hit becomes the
    // dragged item. Returns whether anything was hit.
    bool press(QPointF pos, double scale, int maxId);
    // A pointer move during a drag: moves the dragged placement by the
    // pointer's travel in page units and returns its outline in
    // page-picture units; nothing while no item is dragged.
    std::optional<QRect> drag(QPointF pos, double scale);
    void release() { DraggedWindow = DraggedStat = 0; }
    bool dragging() const { return DraggedWindow != 0 || DraggedStat != 0; }

    // The outline of a placement in page-picture units.
    static QRect outline(const PagePlacement& p, double scale);
    // Whether `pos` lies strictly inside the placement as last painted.
    static bool hits(const PagePlacement& p, QPointF pos, double scale);
};

// The window's own place on screen, in twips.
struct PageFrame {
    double left = 0, top = 0, width = 0, height = 0;
};

// The page's settings lines: element 0 the count, then "location.x:",
// "location.y:", "size.x:", "size.y:" and four lines for each window
// picture and each statistics box on the page, in the given ID order. The
// list grows with the items; nothing limits how many are written.
std::vector<std::string> PrintPageSettingsLines(const PrintPageLayout& layout, const PageFrame& frame,
                                                const std::vector<int>& windowIds, const std::vector<int>& statIds);

// One "printview." line read back. Lines that match no key, whose ID is no
// whole number or whose value is no number are of kind None.
struct PrintPageLine {
    enum class Kind { None, Left, Top, Width, Height, Window, Stat };
    enum class Field { None, X, Y, Width, Height };
    Kind kind = Kind::None;
    int id = 0;                 // Window, Stat
    Field field = Field::None;  // Window, Stat: which placement value, None for an unknown key
    double value = 0;           // Left..Height: twips; Window, Stat: the placement value
};
PrintPageLine ParsePrintPageLine(const std::string& line);

// Sets the placement value the line names (a value outside the 32-bit range
// changes nothing).
void ApplyPlacementValue(PagePlacement& placement, PrintPageLine::Field field, double value);

}  // namespace qv
