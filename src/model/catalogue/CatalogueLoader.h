#pragma once

#include "AppListing.h"

#include <QList>
#include <functional>

struct Platform;
class UserDefaults;

namespace CatalogueLoader {

struct Result {
    QList<AppListingPtr> apps;    // visible, sorted by name
    QList<AppListingPtr> allApps; // hidden ones too, sorted by name
};

// Called with the entries looked at so far and the entries to look at; at most about
// kProgressReports times a load, however many entries there are, and always at the end.
using Progress = std::function<void(qsizetype done, qsizetype total)>;
constexpr int kProgressReports = 200;

// Builds the catalogue: the applications folder (one level, bundles named *.app but not hidden
// ones named .*, links resolved), the added applications of ExtraApps and the applications of
// the desktop's menu (those that need no terminal), without the
// identifiers of HiddenApps in the visible list. Elements of either array that are not strings
// are passed over. Old path entries of ExtraApps are rewritten to identifiers, in one write, and
// only when one was.
Result load(const Platform &platform, UserDefaults &defaults, const Progress &progress);

// Sorts listings by name with the user's collation (LC_ALL, LC_COLLATE, LANG); equal names keep
// their order.
void sortByName(QList<AppListingPtr> &listings);

} // namespace CatalogueLoader
