#include "CatalogueChanges.h"

#include "CatalogueLoader.h"

#include <QVariant>

namespace CatalogueChanges {

QVariantList storedArray(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList) {
        QVariantList list;
        for (const QString &string : value.toStringList())
            list.append(string);
        return list;
    }
    return value.typeId() == QMetaType::QVariantList ? value.toList() : QVariantList();
}

QVariantList appended(QVariantList stored, const QStringList &entries)
{
    for (const QString &entry : entries)
        stored.append(entry);
    return stored;
}

QVariantList without(QVariantList stored, const QStringList &strings)
{
    stored.removeIf([&](const QVariant &element) {
        return element.typeId() == QMetaType::QString && strings.contains(element.toString());
    });
    return stored;
}

QStringList strings(const QVariantList &stored)
{
    QStringList out;
    for (const QVariant &element : stored) {
        if (element.typeId() == QMetaType::QString)
            out.append(element.toString());
    }
    return out;
}

bool isHidden(const AppListing &listing, const QStringList &hidden)
{
    return !listing.identifier().isEmpty() && hidden.contains(listing.identifier());
}

QList<AppListingPtr> visibleApps(const QList<AppListingPtr> &all, const QStringList &hidden)
{
    QList<AppListingPtr> visible;
    for (const AppListingPtr &listing : all) {
        if (!isHidden(*listing, hidden))
            visible.append(listing);
    }
    return visible;
}

bool sameApplication(const AppListing &a, const AppListing &b)
{
    if (a.isEqualToListing(b))
        return true;
    return a.identifier().isEmpty() && b.identifier().isEmpty() && a.path() == b.path();
}

namespace {

bool containsSame(const QList<AppListingPtr> &list, const AppListing &listing)
{
    return std::any_of(list.cbegin(), list.cend(),
                       [&](const AppListingPtr &l) { return sameApplication(*l, listing); });
}

AppListingPtr withPath(const QList<AppListingPtr> &list, const QString &path)
{
    for (const AppListingPtr &l : list) {
        if (l->path() == path)
            return l;
    }
    return nullptr;
}

} // namespace

Addition add(const QList<AppListingPtr> &apps, const QList<AppListingPtr> &allApps,
             const QStringList &hidden, const QList<AppListingPtr> &chosen)
{
    Addition result;
    result.apps = apps;
    result.allApps = allApps;
    for (const AppListingPtr &listing : chosen) {
        // Compared with the row as it was: two copies of one application chosen together are
        // both added.
        if (containsSame(apps, *listing))
            continue;
        AppListingPtr joining = withPath(allApps, listing->path());
        if (!joining) {
            joining = listing;
            result.allApps.append(listing);
            result.extraApps.append(listing->identifier().isEmpty() ? listing->path()
                                                                    : listing->identifier());
        }
        if (isHidden(*joining, hidden) && !result.shownAgain.contains(joining->identifier()))
            result.shownAgain.append(joining->identifier());
        if (!result.added.contains(joining))
            result.added.append(joining);
    }

    for (const AppListingPtr &listing : std::as_const(result.added)) {
        if (!result.apps.contains(listing))
            result.apps.append(listing);
    }
    // Shown again by identifier, so every listing of it comes back, as the next start shows.
    for (const AppListingPtr &listing : std::as_const(result.allApps)) {
        if (result.shownAgain.contains(listing->identifier()) && !result.apps.contains(listing))
            result.apps.append(listing);
    }
    CatalogueLoader::sortByName(result.apps);
    CatalogueLoader::sortByName(result.allApps);
    if (!result.added.isEmpty())
        result.firstNewIndex = int(result.apps.indexOf(result.added.first()));
    return result;
}

int selectionAfterRemoval(const QList<AppListingPtr> &before, int removedIndex,
                          const QList<AppListingPtr> &after)
{
    for (int i = std::min(removedIndex, int(before.size())) - 1; i >= 0; --i) {
        const int index = int(after.indexOf(before.at(i)));
        if (index >= 0)
            return index;
    }
    return 0;
}

HidingSelection selectionAfterHiding(int selected, const QList<AppListingPtr> &shown,
                                     const QString &panelName)
{
    const int count = int(shown.size());
    // Compared as unsigned, so that a negative selection counts as past the end.
    if (unsigned(selected) >= unsigned(count)) {
        return {count - 1, true};
    }
    if (shown.at(selected)->localizedAppName() == panelName)
        return {selected, false};
    return {std::max(selected - 1, 0), true};
}

} // namespace CatalogueChanges
