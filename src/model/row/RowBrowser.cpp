#include "RowBrowser.h"

#include "RowGeometry.h"
#include "RowSearch.h"

RowBrowser::RowBrowser(QObject *parent) : QObject(parent) {}

void RowBrowser::bridge(const QList<AppListingPtr> &applications)
{
    m_loading = false;
    m_applications = applications;
    m_keys.clear();
    m_keys.reserve(applications.size());
    for (const AppListingPtr &listing : applications)
        m_keys.append(RowSearch::searchKey(listing ? listing->name() : QString()));
    if (m_inSearch) {
        m_results.clear();
        for (int position : RowSearch::matching(m_keys, m_searchText))
            m_results.append(m_applications.at(position));
    }
    emit shownListChanged();
}

void RowBrowser::search(const QString &text)
{
    if (text.isEmpty()) {
        if (!m_inSearch)
            return;
        m_inSearch = false;
        m_searchText.clear();
        m_results.clear();
        emit shownListChanged();
        // Back to the full list at its start; the selection held before the search is gone.
        if (m_applications.isEmpty())
            emit selectionEmptied();
        else
            emit listingClicked(m_applications.first());
        setSelected(0);
        return;
    }

    // Always from the full list, so shortening the text widens the results again.
    m_inSearch = true;
    m_searchText = text;
    m_results.clear();
    for (int position : RowSearch::matching(m_keys, text))
        m_results.append(m_applications.at(position));
    emit shownListChanged();
    setSelected(0);
    if (m_results.isEmpty())
        emit selectionEmptied();
    else
        emit listingClicked(m_results.first());
}

AppListingPtr RowBrowser::shownAt(int index) const
{
    const QList<AppListingPtr> &list = shown();
    return index >= 0 && index < list.size() ? list.at(index) : nullptr;
}

void RowBrowser::setSelected(int index)
{
    m_selected = index;
    emit selectionChanged(index);
    emit scrollRequested(RowGeometry::scrollTarget(index));
}

RowBrowser::KeyResult RowBrowser::keyPressed(Key key)
{
    const int count = int(shown().size());
    if (key == Key::Right) {
        if (m_selected >= count - 1)
            return KeyResult::Alert;
        setSelected(m_selected + 1);
    } else {
        if (m_selected <= 0)
            return KeyResult::Alert;
        setSelected(m_selected - 1);
    }
    report(m_selected);
    return KeyResult::Moved;
}

void RowBrowser::pointerMoved(const QPoint &point)
{
    m_pointer.moved(point);
}

void RowBrowser::pointerLeft()
{
    m_pointer.left();
}

void RowBrowser::click()
{
    if (m_pointer.inArea())
        activate(m_pointer.tempSelection());
}

void RowBrowser::activate(int index)
{
    // The list may have changed under a pointer that stayed on an icon.
    if (!shownAt(index))
        return;
    m_selected = index;
    emit selectionChanged(index);
    emit redrawRequested();
    report(index);
}

void RowBrowser::remove()
{
    const AppListingPtr listing = shownAt(m_pointer.tempSelection());
    if (!listing)
        return;
    // The controller knows the full list only; a search result is found there by identity.
    const int index = m_inSearch ? int(m_applications.indexOf(listing)) : m_pointer.tempSelection();
    if (index >= 0)
        emit removeRequested(index);
}

AppListingPtr RowBrowser::toolTipAt(const QPoint &point, QRect *region) const
{
    const RowRegion *found = m_pointer.toolTipAt(point);
    if (!found)
        return nullptr;
    if (region)
        *region = found->rect;
    return found->toolTip;
}

RowBrowser::Pass RowBrowser::paintPass(const QRegion &area, const QSize &size, const QRect &visible)
{
    Pass pass;
    pass.size = size;
    // Until the first hand-over there is the background only, and no regions.
    if (m_loading) {
        pass.loading = true;
        return pass;
    }

    const QList<AppListingPtr> &list = shown();
    const auto [first, last] = RowGeometry::cellsIn(area.boundingRect(), int(list.size()));
    QList<RowRegion> regions;
    for (int i = first; i < last; ++i) {
        const bool selected = i == m_selected;
        const QRect rect = RowGeometry::iconRect(i, selected);
        if (!area.intersects(rect))
            continue;
        pass.cells.append({i, rect, selected, list.at(i)});
        // The selected icon is named in the panel beside the row and has no tool tip.
        regions.append({rect, i, selected ? nullptr : list.at(i)});
    }
    m_pointer.repaint(area, visible, regions);
    pass.noResults = m_inSearch && m_results.isEmpty();
    pass.size = sizeFor(size, visible);
    return pass;
}

QSize RowBrowser::sizeFor(const QSize &size, const QRect &visible) const
{
    if (m_inSearch)
        return RowGeometry::sizeToFit(int(m_results.size()), visible);
    return RowGeometry::sizeForFullList(int(m_applications.size()), size);
}

void RowBrowser::report(int index)
{
    if (const AppListingPtr listing = shownAt(index))
        emit listingClicked(listing);
}
