#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <utility>

// Where the icon row puts things, in the row view's coordinates (origin at the top left, y
// downwards): one 60-point cell per application, the selected icon grown by 4 points on each
// side. Painting, hit testing, scrolling and sizing all use these, so what is drawn is what is
// clicked.
namespace RowGeometry {

constexpr int kCellWidth = 60;
constexpr int kLeftMargin = 10;
constexpr int kIconSize = 50;
constexpr int kSelectedGrowth = 4;
constexpr int kSelectedIconSize = kIconSize + 2 * kSelectedGrowth;
constexpr int kRowHeight = 86;
// Distances of the icons' bottom edges from the row's bottom edge.
constexpr int kIconBottom = 21;
constexpr int kSelectedIconBottom = 17;

constexpr qreal kSelectedOpacity = 1.0;
constexpr qreal kUnselectedOpacity = 0.4;

// Pixel size of the "No Results Found" text (a point of the row is a logical pixel).
constexpr int kMessagePixelSize = 15;

// The icon of cell `index`, grown when it is the selected one.
QRect iconRect(int index, bool selected);

// The cells [first, last) of a list of `count` whose icon, grown or not, can reach into `area`:
// a paint pass looks only at these, however long the list.
std::pair<int, int> cellsIn(const QRect &area, int count);

// The cell whose icon (as drawn with `selected` the selected cell) holds the point; -1 when the
// point lies beside every icon. Only the `count` cells of the list are considered.
int indexAt(const QPoint &point, int count, int selected);

// The width the row needs for `count` icons.
constexpr int widthFor(int count)
{
    return kCellWidth * count + kLeftMargin;
}

// What selecting `index` brings into view: the grown icon and 8 points past its right edge; the
// row's start for the first cell (or none).
QRect scrollTarget(int index);

// The horizontal scroll offset that shows `target` moving as little as possible from `offset`,
// for a view `visibleWidth` wide onto content `contentWidth` wide.
int offsetToShow(const QRect &target, int offset, int visibleWidth, int contentWidth);

// The row's size after a pass over the full list of `count` entries: it grows to hold them and
// never narrows.
QSize sizeForFullList(int count, const QSize &size);

// The row's size for `count` shown entries when it may also shrink: wide enough for them, else
// just the visible area.
QSize sizeToFit(int count, const QRect &visible);

// Where "No Results Found" goes in a row `rowHeight` high: centred in an area of `visible` size
// measured from the row's origin, each offset rounded toward zero from the bottom-left corner.
QRect messageRect(const QSize &visible, const QSize &text, int rowHeight);

} // namespace RowGeometry
