#include "RowGeometry.h"

namespace RowGeometry {

QRect iconRect(int index, bool selected)
{
    const int left = kLeftMargin + kCellWidth * index;
    if (selected) {
        const int side = kIconSize + 2 * kSelectedGrowth;
        return {left - kSelectedGrowth, kRowHeight - kSelectedIconBottom - side, side, side};
    }
    return {left, kRowHeight - kIconBottom - kIconSize, kIconSize, kIconSize};
}

int indexAt(const QPoint &point, int count, int selected)
{
    if (point.x() < kLeftMargin - kSelectedGrowth)
        return -1;
    // Only the cell under the point and its neighbours can hold it: the grown icon reaches 4
    // points into the next cells.
    const int cell = (point.x() - kLeftMargin) / kCellWidth;
    for (int index : {selected, cell, cell - 1, cell + 1}) {
        if (index >= 0 && index < count && iconRect(index, index == selected).contains(point))
            return index;
    }
    return -1;
}

} // namespace RowGeometry
