#pragma once

#include <QPoint>
#include <QRect>

// Where the icon row puts things, in the row view's coordinates (origin at the top left, y
// downwards): one 60-point cell per application, the selected icon grown by 4 points on each
// side. Painting and hit testing both use these, so what is drawn is what is clicked.
namespace RowGeometry {

constexpr int kCellWidth = 60;
constexpr int kLeftMargin = 10;
constexpr int kIconSize = 50;
constexpr int kSelectedGrowth = 4;
constexpr int kRowHeight = 86;
// Distances of the icons' bottom edges from the row's bottom edge.
constexpr int kIconBottom = 21;
constexpr int kSelectedIconBottom = 17;

constexpr qreal kSelectedOpacity = 1.0;
constexpr qreal kUnselectedOpacity = 0.4;

// The icon of cell `index`, grown when it is the selected one.
QRect iconRect(int index, bool selected);

// The cell whose icon (as drawn with `selected` the selected cell) holds the point; -1 when the
// point lies beside every icon. Only the `count` cells of the list are considered.
int indexAt(const QPoint &point, int count, int selected);

// The width the row needs for `count` icons.
constexpr int widthFor(int count)
{
    return kCellWidth * count + kLeftMargin;
}

} // namespace RowGeometry
