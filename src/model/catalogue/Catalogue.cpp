#include "Catalogue.h"

#include "DefaultsKeys.h"
#include "platform/Platform.h"
#include "platform/bundle/Bundle.h"
#include "platform/preferences/UserDefaults.h"
#include "work/WorkPools.h"

#include <QDir>
#include <QFileInfo>
#include <QPromise>
#include <QtConcurrentRun>

Catalogue::Catalogue(std::shared_ptr<const Platform> platform,
                     std::shared_ptr<UserDefaults> defaults, QObject *parent)
    : QObject(parent), m_platform(std::move(platform)), m_defaults(std::move(defaults))
{
    connect(&m_watcher, &QFutureWatcher<CatalogueLoader::Result>::progressValueChanged, this,
            [this](int value) { emit loadingProgress(value, m_watcher.progressMaximum()); });
    connect(&m_watcher, &QFutureWatcher<CatalogueLoader::Result>::finished, this,
            &Catalogue::takeResult);
}

Catalogue::~Catalogue()
{
    // The load reads the platform and the defaults: it must end before they go.
    if (m_watcher.isRunning())
        m_watcher.waitForFinished();
}

void Catalogue::startLoading()
{
    if (m_watcher.isRunning() || m_loaded)
        return;
    auto work = [platform = m_platform,
                 defaults = m_defaults](QPromise<CatalogueLoader::Result> &promise) {
        CatalogueLoader::Result result =
            CatalogueLoader::load(*platform, *defaults, [&](qsizetype done, qsizetype total) {
                promise.setProgressRange(0, int(total));
                promise.setProgressValue(int(done));
            });
        promise.addResult(std::move(result));
    };
    m_watcher.setFuture(QtConcurrent::run(WorkPools::gathering(), std::move(work)));
}

void Catalogue::takeResult()
{
    if (m_watcher.future().resultCount() == 0)
        return;
    const CatalogueLoader::Result result = m_watcher.future().result();
    m_allApps = result.allApps;
    m_apps = result.apps;
    m_loaded = true;
    emit loaded();
}

namespace {

// A folder named *.app holding an Info.plist that reads as a dictionary. A bundle without
// identifier is one too: it is stored by its path.
bool isApplicationBundle(const QString &canonicalPath)
{
    const QFileInfo info(canonicalPath);
    if (!info.isDir() || info.suffix() != QLatin1String("app") ||
        info.fileName().startsWith(QLatin1Char('.')))
        return false;
    const auto bundle = Bundle::bundleWithPath(canonicalPath);
    return bundle && !bundle->infoDictionary().isEmpty();
}

} // namespace

Catalogue::AddOutcome Catalogue::add(const QStringList &paths)
{
    AddOutcome outcome;
    if (paths.isEmpty())
        return outcome;
    // Only bundles are read: reading one moves its disabled resources back, which a plain folder
    // must never undergo.
    QStringList canonical;
    for (const QString &path : paths) {
        const QString resolved = QFileInfo(path).canonicalFilePath();
        if (resolved.isEmpty() || !isApplicationBundle(resolved)) {
            const QString name = QFileInfo(QDir::cleanPath(path)).fileName();
            outcome.rejected.append(name.isEmpty() ? path : name);
        } else
            canonical.append(resolved);
    }
    if (canonical.isEmpty()) {
        outcome.status = AddOutcome::Status::NotAnApplication;
        return outcome;
    }
    QList<AppListingPtr> chosen;
    for (const QString &path : std::as_const(canonical))
        chosen.append(AppListing::fromPath(path, *m_platform->workspace));

    outcome.addition = CatalogueChanges::add(
        m_apps, m_allApps, m_defaults->stringArrayForKey(DefaultsKeys::HiddenApps), chosen);
    const CatalogueChanges::Addition &addition = outcome.addition;
    if (addition.added.isEmpty()) {
        outcome.status = AddOutcome::Status::NothingNew;
        return outcome;
    }
    const bool stored = m_defaults->update([&](QVariantMap &values) {
        using namespace CatalogueChanges;
        if (!addition.extraApps.isEmpty())
            values.insert(
                DefaultsKeys::ExtraApps,
                appended(storedArray(values.value(DefaultsKeys::ExtraApps)), addition.extraApps));
        if (!addition.shownAgain.isEmpty())
            values.insert(
                DefaultsKeys::HiddenApps,
                without(storedArray(values.value(DefaultsKeys::HiddenApps)), addition.shownAgain));
    });
    if (!stored) {
        outcome.status = AddOutcome::Status::NotSaved;
        return outcome;
    }
    m_apps = addition.apps;
    m_allApps = addition.allApps;
    outcome.status = AddOutcome::Status::Added;
    return outcome;
}

Catalogue::HideOutcome Catalogue::hide(const AppListingPtr &listing)
{
    const QString identifier = listing ? listing->identifier() : QString();
    if (identifier.isEmpty())
        return HideOutcome::NoIdentifier;
    const bool stored = m_defaults->update([&](QVariantMap &values) {
        values.insert(DefaultsKeys::HiddenApps,
                      CatalogueChanges::appended(
                          CatalogueChanges::storedArray(values.value(DefaultsKeys::HiddenApps)),
                          {identifier}));
    });
    if (!stored)
        return HideOutcome::NotSaved;
    // Hidden by identifier: another copy of the application goes too, as it will at the next
    // start.
    m_apps.removeIf([&](const AppListingPtr &l) { return l->identifier() == identifier; });
    return HideOutcome::Hidden;
}

HiddenAppsList Catalogue::hiddenAppsList() const
{
    return HiddenAppsList(m_allApps, m_defaults->stringArrayForKey(DefaultsKeys::HiddenApps));
}

bool Catalogue::applyHiddenApps(const HiddenAppsList &list)
{
    const HiddenAppsList::Changes changes = list.changes();
    QVariantList hidden;
    const bool stored = m_defaults->update([&](QVariantMap &values) {
        const QVariantList now =
            CatalogueChanges::storedArray(values.value(DefaultsKeys::HiddenApps));
        hidden = HiddenAppsList::applied(now, changes);
        if (hidden != now)
            values.insert(DefaultsKeys::HiddenApps, hidden);
    });
    if (!stored)
        return false;
    m_apps = CatalogueChanges::visibleApps(m_allApps, CatalogueChanges::strings(hidden));
    emit listChanged();
    return true;
}
