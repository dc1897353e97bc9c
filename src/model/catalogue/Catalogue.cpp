#include "Catalogue.h"

#include "Platform.h"
#include "UserDefaults.h"

#include <QPromise>
#include <QtConcurrent>

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
    m_watcher.setFuture(QtConcurrent::run(std::move(work)));
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
