#pragma once

#include "AppListing.h"
#include "CatalogueLoader.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <memory>

struct Platform;
class UserDefaults;

// The applications Vexilo knows: every listing (`allApps`, hidden ones included) and the visible
// ones (`apps`), both sorted by name. Built once per run on a worker thread; the result reaches
// the main thread as a value.
class Catalogue : public QObject {
    Q_OBJECT
public:
    Catalogue(std::shared_ptr<const Platform> platform, std::shared_ptr<UserDefaults> defaults,
              QObject *parent = nullptr);
    ~Catalogue() override;

    void startLoading();
    bool isLoaded() const { return m_loaded; }

    QList<AppListingPtr> apps() const { return m_apps; }
    QList<AppListingPtr> allApps() const { return m_allApps; }

signals:
    // Entries looked at so far against entries to look at, a bounded number of times per load.
    void loadingProgress(int done, int total);
    void loaded();

private:
    void takeResult();

    std::shared_ptr<const Platform> m_platform;
    std::shared_ptr<UserDefaults> m_defaults;
    QFutureWatcher<CatalogueLoader::Result> m_watcher;
    QList<AppListingPtr> m_apps;
    QList<AppListingPtr> m_allApps;
    bool m_loaded = false;
};
