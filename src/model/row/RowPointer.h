#pragma once

#include "catalogue/AppListing.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QRegion>

// One icon's pointer region, registered by the paint pass that drew the icon: the cell index it
// stands for and, when the icon has a tool tip, the listing that names it.
struct RowRegion {
    QRect rect;
    int index = -1;
    AppListingPtr toolTip;
};

// Which icon the pointer is over, from the regions the last paint passes registered. The window
// system reports only pointer moves, so entering and leaving a region are derived here.
class RowPointer {
public:
    // A pass painted `area`: the regions there are replaced by those of the icons it painted.
    // Regions elsewhere in the `visible` part of the row still describe what is on screen and
    // stay; those scrolled out of sight go, so a long row keeps only a screenful. The pointer's
    // state is left alone, as a repaint moves no pointer.
    void repaint(const QRegion &area, const QRect &visible, const QList<RowRegion> &painted);
    const QList<RowRegion> &regions() const { return m_regions; }

    // The pointer is at `point` in the row (a move or a press).
    void moved(const QPoint &point);
    // The pointer left the row.
    void left();

    // Between entering a region and leaving it.
    bool inArea() const { return m_inArea; }
    // The index of the region entered last; -1 before the first.
    int tempSelection() const { return m_tempSelection; }

    // The region under the point that carries a tool tip; null when there is none.
    const RowRegion *toolTipAt(const QPoint &point) const;

private:
    const RowRegion *regionAt(const QPoint &point) const;

    QList<RowRegion> m_regions;
    bool m_inArea = false;
    int m_tempSelection = -1;
    // The region entered last, as it was when entered, to tell when the pointer leaves it.
    QRect m_enteredRect;
    int m_enteredIndex = -1;
};
