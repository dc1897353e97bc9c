#pragma once

#include "AppListing.h"

#include <QList>
#include <QStringList>
#include <QVariantList>

// What adding, removing and hiding applications do to the catalogue's lists and to the stored
// arrays, as values: no files, no window.
namespace CatalogueChanges {

// A stored array as it is, whatever its elements; empty when the value is no array.
QVariantList storedArray(const QVariant &value);
// The array with `entries` appended; every element already there stays as it is.
QVariantList appended(QVariantList stored, const QStringList &entries);
// The array without any string equal to one of `strings`; other elements stay in place.
QVariantList without(QVariantList stored, const QStringList &strings);
// The string elements of a stored array, in order.
QStringList strings(const QVariantList &stored);

// A listing is left out of the row when its identifier is hidden. One without identifier
// cannot be hidden.
bool isHidden(const AppListing &listing, const QStringList &hidden);
// The listings of `all` that are not hidden, in their order.
QList<AppListingPtr> visibleApps(const QList<AppListingPtr> &all, const QStringList &hidden);

// Both name the same application: equal identifiers, or the same bundle folder for listings
// without one (which could otherwise be added again and again).
bool sameApplication(const AppListing &a, const AppListing &b);

// What adding the chosen bundles does.
struct Addition {
    // The chosen applications that join the row, in the chooser's order.
    QList<AppListingPtr> added;
    // Entries to append to ExtraApps, in order: the identifier, or the path of a bundle that
    // declares none (the loader takes both).
    QStringList extraApps;
    // Identifiers to take out of HiddenApps: a hidden application that is chosen is shown
    // again, and stays shown after the next start.
    QStringList shownAgain;
    // The new visible and full lists, sorted by name.
    QList<AppListingPtr> apps;
    QList<AppListingPtr> allApps;
    // Where the first added application stands in the new `apps`; -1 when none was added.
    int firstNewIndex = -1;

    int count() const { return int(added.size()); }
};

// Adds the `chosen` listings to the catalogue (`apps` visible, `allApps` full) given the
// identifiers hidden now. A chosen application already in `apps` (as it stood before) is left
// out; one whose bundle is already in `allApps`, hidden, is shown again without a second
// listing; any other joins both lists and ExtraApps.
Addition add(const QList<AppListingPtr> &apps, const QList<AppListingPtr> &allApps,
             const QStringList &hidden, const QList<AppListingPtr> &chosen);

// The shown entry to select after `removedIndex` of `before` left the row, given the shown
// list `after`: the nearest entry before it that is still shown, else the first one.
int selectionAfterRemoval(const QList<AppListingPtr> &before, int removedIndex,
                          const QList<AppListingPtr> &after);

// Where the selection goes once the hidden-applications list has been applied.
struct HidingSelection {
    // The shown entry to select; -1 when the row is empty.
    int index = -1;
    // False: the same application is still at the selected place and the row is only redrawn.
    bool moveSelection = false;
};
// `selected` is the row's selection before, `shown` the shown list after and `panelName` the
// name the panel shows. At or past the end: the last entry. The same name still at the
// selected place: nothing moves. Otherwise: the entry before (the first for 0).
HidingSelection selectionAfterHiding(int selected, const QList<AppListingPtr> &shown,
                                     const QString &panelName);

} // namespace CatalogueChanges
