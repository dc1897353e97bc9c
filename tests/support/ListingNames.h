#pragma once

#include "catalogue/AppListing.h"

#include <QStringList>

// The names of listings in their order, for comparing a catalogue against what a test expects.
inline QStringList names(const QList<AppListingPtr> &listings)
{
    QStringList out;
    for (const AppListingPtr &listing : listings)
        out.append(listing->name());
    return out;
}
