#pragma once
// Where a window may sit and how large it may be. Sheets and tools hand in
// places and sizes from outside, any number at all; a new window needs a
// spot in view. Plain rectangle work in pixels, without widgets: the
// windows pass in their outer rectangle (title bar at its top), the area
// they live in (the workspace, or the screen for a window of its own) and
// the screen's size.
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <vector>

namespace qv {

// Sheets keep places and sizes in twips, 15 to a pixel.
inline constexpr int TwipsPerPixel = 15;

// Twips to the nearest pixel. Whatever the input, the result is defined: a
// value beyond a million pixels either way is held there, NaN gives 0.
int TwipsToPixels(double twips);

// A window is at most this many screens wide and high, so its picture can
// always be allocated and drawn quickly.
inline constexpr int MaxScreensPerWindow = 2;
// And at least this many pixels each way, so it can be seen and grabbed.
inline constexpr int MinWindowPixels = 16;
// So much of the title bar stays inside the area: this wide (or the whole
// window when it is narrower) and this high, so it can always be dragged.
inline constexpr int ReachableTitleWidth = 64;
inline constexpr int ReachableTitleHeight = 24;

// The largest window on a screen of `screen` size.
QSize LargestWindowSize(const QSize& screen);

// `wanted` held to sane bounds: its size to MinWindowPixels ..
// MaxScreensPerWindow screens, its place so the title bar stays reachable
// inside `area` (its top never above the area's top, its top-left
// ReachableTitleHeight above the bottom at the lowest, ReachableTitleWidth
// of it between the left and right edges). An empty `screen` counts as the
// area's size.
QRect BoundedWindowRect(const QRect& wanted, const QRect& area, const QSize& screen);

// One of a window's place and size values as sheets and tools name them.
enum class WindowEdge { Left, Top, Width, Height };

// `current` with one value set from `twips` (a NaN or infinite value keeps
// the current one), then held to bounds as BoundedWindowRect does. Every
// place or size that comes from outside goes through here.
QRect WithTwipsValue(const QRect& current, WindowEdge which, double twips, const QRect& area, const QSize& screen);

// `window` moved, never shrunk, wholly into `area` when it fits; a window
// larger than the area has its top-left corner at the area's.
QRect MovedIntoView(const QRect& window, const QRect& area);

// `window`, a client rectangle with `frame` around it, lying wholly inside
// `area`, frame included: kept where it is when it lies there already, else
// moved the shortest way in; shrunk to the area only where it is larger.
QRect FittedIntoView(const QRect& window, const QMargins& frame, const QRect& area);

// Where a new window of `size` opens in `area`: wholly inside it when it
// fits, beside the `others` (the windows already there, by their real
// size) so it covers as little of them as possible, and among equal
// places the highest, then the leftmost. The corners tried are the area's
// four and those right of and below every other window.
QPoint NewWindowPlace(const QSize& size, const QRect& area, const std::vector<QRect>& others);

// Where a window of its own of `size` (frame included) opens on `screen`:
// wholly on it, clear of every `keepClear` rectangle (the main window's
// title and menu bars) wherever there is room, covering as little of the
// `others` (the other windows of their own in view) as it can, and among
// equal places the one nearest the screen's top right corner: the
// workspace fills with plots from the left. The places tried are the
// screen's corners and those beside every other and every kept-clear
// rectangle.
QPoint OwnWindowPlace(const QSize& size, const QRect& screen, const std::vector<QRect>& others,
                      const std::vector<QRect>& keepClear);

// The size a window of `size` takes to lie in `area` clear of every
// `keepClear` rectangle: its own where a part of the area above, below,
// left or right of them holds it; else shrunk, keeping its proportions, to
// the largest such part, but never below half its size (it then stays as
// it is and covers what it must).
QSize SizeClearOf(const QSize& size, const QRect& area, const std::vector<QRect>& keepClear);

// A window's outer rectangle and the height of the title bar along its top.
struct TitledRect {
    QRect rect;
    int titleHeight = 0;
};

// How much of `r` the `covers` hide together, each pixel counted once.
int64_t CoveredArea(const QRect& r, const std::vector<QRect>& covers);

// Where a window brought back into `area` goes among the windows `settled`
// there before it, so that no title bar hides under another window: its
// own place when its title bar and theirs are clear of each other and it
// keeps off every `keepClear` rectangle (the main window's title and menu
// bars) and every one of `lowerTitleBars` (those of windows it lies
// above, which cannot hide its own); else the nearest place wholly in the
// area that is; where the area has no such room, the one covering least of
// the kept-clear rectangles, then of the settled windows' title bars, then
// of the lower ones, then the nearest. A window larger than the area one
// way keeps its place that way.
QPoint PlaceClearOfTitleBars(const TitledRect& window, const QRect& area, const std::vector<TitledRect>& settled,
                             const std::vector<QRect>& keepClear, const std::vector<QRect>& lowerTitleBars = {});

}  // namespace qv
