#include "CatalogueLoader.h"

#include "CatalogueChanges.h"
#include "DefaultsKeys.h"
#include "platform/Platform.h"
#include "platform/bundle/Bundle.h"
#include "platform/bundle/Workspace.h"
#include "platform/desktop/DesktopEntries.h"
#include "platform/files/DirectoryListing.h"
#include "platform/locale/LanguageNames.h"
#include "platform/preferences/UserDefaults.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <numeric>
#include <vector>

namespace CatalogueLoader {

namespace {

// Passes progress on when it has moved by a step of the whole, so that a load of ten thousand
// entries does not flood the main thread's event loop.
class ProgressSteps {
public:
    ProgressSteps(const Progress &report, qsizetype total) : m_report(report), m_total(total)
    {
        if (m_report)
            m_report(0, m_total);
    }
    void advance()
    {
        ++m_done;
        const qsizetype step = m_done * kProgressReports / std::max<qsizetype>(m_total, 1);
        if (m_report && (step != m_lastStep || m_done == m_total)) {
            m_lastStep = step;
            m_report(m_done, m_total);
        }
    }

private:
    const Progress &m_report;
    qsizetype m_total;
    qsizetype m_done = 0;
    qsizetype m_lastStep = 0;
};

// Where the registry last saw the bundle of an identifier entry, when nothing is there any more.
QString lastKnownPath(const Workspace &workspace, const QString &entry)
{
    if (QDir::isAbsolutePath(entry))
        return {};
    const QString path = workspace.lastKnownPath(entry);
    return !path.isEmpty() && !QFileInfo::exists(path) ? path : QString();
}

} // namespace

void sortByName(QList<AppListingPtr> &listings)
{
    QCollator collator{QLocale(LanguageNames::collationLocaleIdentifier())};
    if (collator.locale().language() == QLocale::C || listings.size() < 64) {
        std::stable_sort(listings.begin(), listings.end(),
                         [&](const AppListingPtr &a, const AppListingPtr &b) {
                             return collator.compare(a->name(), b->name()) < 0;
                         });
        return;
    }
    // A catalogue of thousands: each name's collation key made once and compared as bytes,
    // rather than the collator working through both names at every comparison. Both orders
    // are the same by the collator's definition (the C locale compares otherwise).
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(listings.size()));
    for (const AppListingPtr &listing : std::as_const(listings))
        keys.push_back(collator.sortKey(listing->name()));
    std::vector<qsizetype> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return keys[size_t(a)].compare(keys[size_t(b)]) < 0;
    });
    QList<AppListingPtr> sorted;
    sorted.reserve(listings.size());
    for (const qsizetype at : order)
        sorted.append(std::move(listings[at]));
    listings = std::move(sorted);
}

Result load(const Platform &platform, UserDefaults &defaults, const Progress &progress)
{
    Workspace &workspace = *platform.workspace;
    const QString folder = workspace.applicationsDirectory();
    const QList<DirectoryListing::Entry> entries = DirectoryListing::entriesWithLinks(folder);
    // Resolved once; only entries that are links need resolving on their own.
    const QString canonicalFolder = DirectoryListing::canonicalPath(folder);
    // An element of ExtraApps that is not a string names no application: it is passed over, and
    // kept where it stands should the array be written back.
    const QStringList extraStrings = CatalogueChanges::strings(
        CatalogueChanges::storedArray(defaults.objectForKey(DefaultsKeys::ExtraApps)));
    const QStringList hidden = defaults.stringArrayForKey(DefaultsKeys::HiddenApps);

    // Programs that need a terminal are left out: Vexilo starts no terminal for them. So is
    // Vexilo's own menu entry, which starts the bundle Vexilo runs from.
    QList<DesktopApplication> desktopApps = platform.desktopEntries
                                                ? platform.desktopEntries->applications()
                                                : QList<DesktopApplication>();
    const auto own = Bundle::bundleWithPath(platform.mainBundlePath);
    const QString ownId = own && !own->bundleIdentifier().isEmpty()
                              ? own->bundleIdentifier() + QStringLiteral(".desktop")
                              : QString();
    desktopApps.removeIf([&](const DesktopApplication &app) {
        return app.terminal || (!ownId.isEmpty() && app.id == ownId);
    });

    Result result;
    ProgressSteps steps(progress, entries.size() + extraStrings.size() + desktopApps.size());
    for (const auto &[entry, mayBeLink] : entries) {
        // Every entry counts, before it is tested.
        steps.advance();
        // A hidden entry (".app" itself, "._Foo.app" left by copies) is no application.
        if (entry.startsWith(QLatin1Char('.')) || !entry.endsWith(QLatin1String(".app")))
            continue;
        const QString resolved =
            mayBeLink ? DirectoryListing::canonicalPath(folder + QLatin1Char('/') + entry)
                      : canonicalFolder + QLatin1Char('/') + entry;
        if (resolved.isEmpty()) {
            qWarning().noquote()
                << QStringLiteral("Error: omitting %1: could not get full path.").arg(entry);
            continue;
        }
        result.allApps.append(AppListing::fromPath(resolved, workspace));
    }

    // Asked all at once, so that the folder is checked once rather than for every entry.
    const QHash<QString, QString> known =
        workspace.absolutePathsForAppBundlesWithIdentifiers(extraStrings);
    QHash<QString, QString> rewrites; // old path entry -> identifier
    for (qsizetype n = 0; n < extraStrings.size(); ++n) {
        steps.advance();
        const QString &entry = extraStrings.at(n);
        AppListingPtr listing;
        if (const QString path = known.value(entry); !path.isEmpty()) {
            // What making it from the identifier does, without asking the workspace again.
            listing = AppListing::fromPath(path, workspace);
        } else if (const QString gone = lastKnownPath(workspace, entry); !gone.isEmpty()) {
            // An added application whose disk is not there: named after its folder.
            listing = AppListing::fromPath(gone, workspace, true);
        } else {
            // Only an absolute path names a bundle (see AppListing::fromPath).
            const bool exists = QDir::isAbsolutePath(entry) && QFileInfo::exists(entry);
            listing = AppListing::fromPath(entry, workspace, !exists);
            if (exists && !listing->identifier().isEmpty())
                rewrites.insert(entry, listing->identifier());
        }
        result.allApps.append(listing);
    }
    for (const DesktopApplication &app : std::as_const(desktopApps)) {
        steps.advance();
        result.allApps.append(
            AppListing::fromDesktopApplication(app, *platform.desktopEntries, false));
    }

    // Written only when an old path entry became an identifier, and to the array as it is on
    // disk now: an application another Vexilo added meanwhile stays.
    if (!rewrites.isEmpty()) {
        defaults.update([&](QVariantMap &values) {
            QVariantList extraApps =
                CatalogueChanges::storedArray(values.value(DefaultsKeys::ExtraApps));
            bool changed = false;
            for (QVariant &element : extraApps) {
                if (element.typeId() == QMetaType::QString &&
                    rewrites.contains(element.toString())) {
                    element = rewrites.value(element.toString());
                    changed = true;
                }
            }
            if (changed)
                values.insert(DefaultsKeys::ExtraApps, extraApps);
        });
    }

    // Sorted once: the visible ones keep the order they have among all.
    sortByName(result.allApps);
    result.apps = CatalogueChanges::visibleApps(result.allApps, hidden);
    return result;
}

} // namespace CatalogueLoader
