#include "CatalogueLoader.h"

#include "DefaultsKeys.h"
#include "DirectoryListing.h"
#include "LanguageNames.h"
#include "UserDefaults.h"
#include "Workspace.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

namespace CatalogueLoader {

namespace {

void append(Catalogue &catalogue, const AppListingPtr &listing, const QStringList &hidden)
{
    // A bundle without identifier cannot be hidden.
    if (listing->identifier().isEmpty() || !hidden.contains(listing->identifier()))
        catalogue.apps.append(listing);
    catalogue.allApps.append(listing);
}

} // namespace

void sortByName(QList<AppListingPtr> &listings)
{
    QCollator collator{QLocale(LanguageNames::currentLocaleIdentifier())};
    std::stable_sort(listings.begin(), listings.end(),
                     [&](const AppListingPtr &a, const AppListingPtr &b) {
                         return collator.compare(a->name(), b->name()) < 0;
                     });
}

Catalogue load(const std::shared_ptr<const Platform> &platform, UserDefaults &defaults,
               const Progress &progress)
{
    const QString folder = platform->workspace->applicationsDirectory();
    const QList<DirectoryListing::Entry> entries = DirectoryListing::entriesWithLinks(folder);
    // Resolved once; only entries that are links need resolving on their own.
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    QStringList extraApps = defaults.stringArrayForKey(DefaultsKeys::ExtraApps);
    const QStringList hidden = defaults.stringArrayForKey(DefaultsKeys::HiddenApps);

    Catalogue catalogue;
    progress.setMaxValue(double(entries.size() + extraApps.size()));

    double done = 0;
    for (const auto &[entry, mayBeLink] : entries) {
        progress.setProgress(++done);
        if (QFileInfo(entry).suffix() != QLatin1String("app"))
            continue;
        const QString resolved =
            mayBeLink ? QFileInfo(folder + QLatin1Char('/') + entry).canonicalFilePath()
                      : canonicalFolder + QLatin1Char('/') + entry;
        if (resolved.isEmpty()) {
            qWarning().noquote()
                << QStringLiteral("Error: omitting %1: could not get full path.").arg(entry);
            continue;
        }
        append(catalogue, AppListing::initWithPath(resolved, platform), hidden);
    }

    bool rewrite = false;
    // Asked all at once, so that the folder is checked once rather than for every entry.
    const QHash<QString, QString> known =
        platform->workspace->absolutePathsForAppBundlesWithIdentifiers(extraApps);
    for (qsizetype j = 0; j < extraApps.size(); ++j) {
        progress.setProgress(++done);
        const QString entry = extraApps.at(j);
        AppListingPtr listing;
        if (const QString path = known.value(entry); !path.isEmpty()) {
            // What creating it from the identifier does, without asking the workspace again.
            listing = AppListing::initWithPath(path, platform);
        } else {
            rewrite = true;
            // Only an absolute path names a bundle (see AppListing::initWithPath).
            const bool exists = QDir::isAbsolutePath(entry) && QFileInfo::exists(entry);
            listing = AppListing::initWithPath(entry, platform);
            if (exists) {
                if (!listing->identifier().isEmpty())
                    extraApps[j] = listing->identifier();
            } else {
                listing->setInvalid(true);
            }
        }
        append(catalogue, listing, hidden);
    }
    if (rewrite)
        defaults.setObject(DefaultsKeys::ExtraApps, extraApps);

    sortByName(catalogue.apps);
    sortByName(catalogue.allApps);
    return catalogue;
}

} // namespace CatalogueLoader
