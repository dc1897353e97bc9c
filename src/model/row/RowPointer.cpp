#include "RowPointer.h"

void RowPointer::repaint(const QRegion &area, const QRect &visible, const QList<RowRegion> &painted)
{
    m_regions.removeIf([&](const RowRegion &region) {
        return area.intersects(region.rect) || !visible.intersects(region.rect);
    });
    m_regions.append(painted);
}

const RowRegion *RowPointer::regionAt(const QPoint &point) const
{
    for (const RowRegion &region : m_regions) {
        if (region.rect.contains(point))
            return &region;
    }
    return nullptr;
}

void RowPointer::moved(const QPoint &point)
{
    const RowRegion *under = regionAt(point);
    // Leaving: out of the entered icon, or onto a region that now stands for another one.
    if (m_inArea && (!m_enteredRect.contains(point) ||
                     (under && (under->rect != m_enteredRect || under->index != m_enteredIndex))))
        left();
    if (!m_inArea && under) {
        m_inArea = true;
        m_tempSelection = under->index;
        m_enteredRect = under->rect;
        m_enteredIndex = under->index;
    }
}

void RowPointer::left()
{
    m_inArea = false;
    m_enteredRect = QRect();
    m_enteredIndex = -1;
}

const RowRegion *RowPointer::toolTipAt(const QPoint &point) const
{
    const RowRegion *region = regionAt(point);
    return region && region->toolTip ? region : nullptr;
}
