#pragma once

#include "catalogue/AppListing.h"

#include <QList>

// What the icon row shows and which icon is selected. Every index is a position in the shown
// list and is checked against it before it names an application.
class RowState {
public:
    // Takes a new list over; the selection is left to the caller.
    void setApplications(const QList<AppListingPtr> &applications)
    {
        m_applications = applications;
    }
    const QList<AppListingPtr> &applications() const { return m_applications; }

    int selected() const { return m_selected; }
    void setSelected(int index) { m_selected = index; }

    // The listing at `index`, or null when the index lies outside the list.
    AppListingPtr entryAt(int index) const
    {
        return index >= 0 && index < m_applications.size() ? m_applications.at(index) : nullptr;
    }

private:
    QList<AppListingPtr> m_applications;
    int m_selected = 0;
};
