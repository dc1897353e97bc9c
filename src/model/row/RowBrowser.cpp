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
        // Back to the full list at its start; the selection held before the search is gone.
        m_inSearch = false;
        m_searchText.clear();
        m_results.clear();
    } else {
        // Always from the full list, so shortening the text widens the results again.
        m_inSearch = true;
        m_searchText = text;
        m_results.clear();
        for (int position : RowSearch::matching(m_keys, text))
            m_results.append(m_applications.at(position));
    }
    emit shownListChanged();
    select(0, Report::Always);
}

AppListingPtr RowBrowser::shownAt(int index) const
{
    const QList<AppListingPtr> &list = shown();
    return index >= 0 && index < list.size() ? list.at(index) : nullptr;
}

void RowBrowser::setSelected(int index)
{
    select(index, Report::IfChanged);
}

void RowBrowser::select(int index, Report how)
{
    m_selected = index;
    emit selectionChanged(index);
    emit scrollRequested(RowGeometry::scrollTarget(index));
    report(shownAt(index), how);
}

void RowBrowser::report(const AppListingPtr &listing, Report how)
{
    if (how == Report::IfChanged && m_reported && listing == m_current)
        return;
    m_reported = true;
    m_current = listing;
    emit currentChanged(listing);
}

RowBrowser::KeyResult RowBrowser::keyPressed(Key key)
{
    const int last = int(shown().size()) - 1;
    int next = m_selected;
    switch (key) {
    case Key::Right:
        next = m_selected + 1;
        break;
    case Key::Left:
        next = m_selected - 1;
        break;
    case Key::Home:
        next = 0;
        break;
    case Key::End:
        next = last;
        break;
    }
    if (next < 0 || next > last)
        return KeyResult::Alert;
    if (next != m_selected || !shownAt(m_selected))
        select(next, Report::Always);
    return KeyResult::Moved;
}

void RowBrowser::pointerMoved(const QPoint &point)
{
    const int index = RowGeometry::indexAt(point, int(shown().size()), m_selected);
    m_inArea = index >= 0;
    if (m_inArea)
        m_tempSelection = index;
}

void RowBrowser::pointerLeft()
{
    m_inArea = false;
}

void RowBrowser::click()
{
    if (m_inArea)
        activate(m_tempSelection);
}

void RowBrowser::activate(int index)
{
    // The list may have changed under a pointer that stayed on an icon.
    if (!shownAt(index))
        return;
    m_selected = index;
    emit selectionChanged(index);
    emit redrawRequested();
    report(shownAt(index), Report::Always);
}

void RowBrowser::remove(int index)
{
    const AppListingPtr listing = shownAt(index);
    if (!listing)
        return;
    // The controller knows the full list only; a search result is found there by identity.
    const int full = m_inSearch ? int(m_applications.indexOf(listing)) : index;
    if (full >= 0)
        emit removeRequested(full);
}

AppListingPtr RowBrowser::toolTipAt(const QPoint &point, QRect *region) const
{
    const int index = RowGeometry::indexAt(point, int(shown().size()), m_selected);
    // The selected icon is named in the panel beside the row and has no tool tip.
    if (index < 0 || index == m_selected)
        return nullptr;
    if (region)
        *region = RowGeometry::iconRect(index, false);
    return shownAt(index);
}

RowBrowser::Pass RowBrowser::paintPass(const QRegion &area, const QSize &size,
                                       const QRect &visible) const
{
    Pass pass;
    pass.size = size;
    // Until the first hand-over there is the background only.
    if (m_loading) {
        pass.loading = true;
        return pass;
    }

    const QList<AppListingPtr> &list = shown();
    const auto [first, last] = RowGeometry::cellsIn(area.boundingRect(), int(list.size()));
    for (int i = first; i < last; ++i) {
        const bool selected = i == m_selected;
        const QRect rect = RowGeometry::iconRect(i, selected);
        if (area.intersects(rect))
            pass.cells.append({i, rect, selected, list.at(i)});
    }
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
