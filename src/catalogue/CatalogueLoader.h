#pragma once

#include "AppListing.h"

#include <QList>
#include <functional>

class UserDefaults;

namespace CatalogueLoader {

struct Catalogue {
    QList<AppListingPtr> apps;    // visible, sorted by name
    QList<AppListingPtr> allApps; // hidden ones too, sorted by name
};

struct Progress {
    std::function<void(double)> setMaxValue;
    std::function<void(double)> setProgress;
};

// Builds the catalogue: the applications folder (one level, bundles named *.app, links
// resolved) and the added applications of ExtraApps, without the identifiers of HiddenApps in
// the visible list. Old path entries of ExtraApps are rewritten to identifiers, in one write.
Catalogue load(const std::shared_ptr<const Platform> &platform, UserDefaults &defaults,
               const Progress &progress);

// Sorts listings by name with the user's locale collation; equal names keep their order.
void sortByName(QList<AppListingPtr> &listings);

} // namespace CatalogueLoader
