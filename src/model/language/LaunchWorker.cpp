#include "LaunchWorker.h"

#include "work/WorkPools.h"

#include <QPromise>
#include <QtConcurrentRun>

LaunchWorker::LaunchWorker(QObject *parent) : QObject(parent)
{
    connect(&m_watcher, &QFutureWatcher<LaunchEvent>::resultReadyAt, this,
            [this](int index) { emit event(m_watcher.resultAt(index)); });
    connect(&m_watcher, &QFutureWatcher<LaunchEvent>::finished, this, [this] {
        m_busy = false;
        emit busyChanged(false);
    });
}

bool LaunchWorker::run(Work work)
{
    if (m_busy)
        return false;
    m_busy = true;
    emit busyChanged(true);
    m_watcher.setFuture(QtConcurrent::run(
        WorkPools::launching(), [work = std::move(work)](QPromise<LaunchEvent> &promise) {
            work([&promise](const LaunchEvent &event) { promise.addResult(event); });
        }));
    return true;
}
