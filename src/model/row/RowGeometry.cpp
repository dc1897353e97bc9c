#include "RowGeometry.h"

#include <algorithm>
#include <cmath>

namespace RowGeometry {

QRect iconRect(int index, bool selected)
{
    const int left = kLeftMargin + kCellWidth * index;
    if (selected) {
        return {left - kSelectedGrowth, kRowHeight - kSelectedIconBottom - kSelectedIconSize,
                kSelectedIconSize, kSelectedIconSize};
    }
    return {left, kRowHeight - kIconBottom - kIconSize, kIconSize, kIconSize};
}

std::pair<int, int> cellsIn(const QRect &area, int count)
{
    if (area.isEmpty() || count <= 0)
        return {0, 0};
    // Cell i reaches from 10 + 60i - 4 to 10 + 60i + 54 (exclusive), grown.
    const int reachLeft = kLeftMargin - kSelectedGrowth;
    const int reachRight = kLeftMargin + kIconSize + kSelectedGrowth;
    const auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    const int first = floorDiv(area.left() - reachRight, kCellWidth) + 1;
    const int last = floorDiv(area.right() - reachLeft, kCellWidth) + 1;
    return {std::clamp(first, 0, count), std::clamp(last, 0, count)};
}

int indexAt(const QPoint &point, int count, int selected)
{
    const auto [first, last] = cellsIn(QRect(point, QSize(1, 1)), count);
    if (selected >= first && selected < last && iconRect(selected, true).contains(point))
        return selected;
    for (int index = first; index < last; ++index) {
        if (index != selected && iconRect(index, false).contains(point))
            return index;
    }
    return -1;
}

QRect scrollTarget(int index)
{
    if (index <= 0)
        return {0, kRowHeight - kCellWidth, kCellWidth, kCellWidth};
    return {kCellWidth * index + 6, kRowHeight - kSelectedIconBottom - kCellWidth, 66, kCellWidth};
}

int offsetToShow(const QRect &target, int offset, int visibleWidth, int contentWidth)
{
    int result = offset;
    if (target.width() > visibleWidth || target.left() < offset)
        result = target.left();
    else if (target.left() + target.width() > offset + visibleWidth)
        result = target.left() + target.width() - visibleWidth;
    return std::clamp(result, 0, std::max(0, contentWidth - visibleWidth));
}

QSize sizeForFullList(int count, const QSize &size)
{
    if (kCellWidth * qint64(count) > size.width())
        return {widthFor(count), kRowHeight};
    return size;
}

QSize sizeToFit(int count, const QRect &visible)
{
    if (kCellWidth * qint64(count) > visible.width())
        return {widthFor(count), kRowHeight};
    return visible.size();
}

QRect messageRect(const QSize &visible, const QSize &text, int rowHeight)
{
    const int x = int(std::trunc(0.5 * visible.width() - 0.5 * text.width()));
    const int fromBottom = int(std::trunc(0.5 * visible.height() - 0.5 * text.height()));
    return {x, rowHeight - fromBottom - text.height(), text.width(), text.height()};
}

} // namespace RowGeometry
