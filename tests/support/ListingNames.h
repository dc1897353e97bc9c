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

// Listings of bundles in `folder` that need not be there: a listing's name is its folder's name.
inline QList<AppListingPtr> listingsIn(const QString &folder, const QStringList &names,
                                       Workspace &workspace)
{
    QList<AppListingPtr> out;
    for (const QString &name : names)
        out.append(AppListing::fromPath(folder + u'/' + name + QStringLiteral(".app"), workspace));
    return out;
}
