#pragma once

#include "LaunchEvent.h"
#include "LaunchWork.h"

#include <QFutureWatcher>
#include <QObject>
#include <functional>

// Runs one piece of launch work at a time on a worker thread, so the window never waits for an
// application to quit or start. Its steps come back to the main thread in order, as values.
class LaunchWorker : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void(const LaunchWork::Report &report)>;

    explicit LaunchWorker(QObject *parent = nullptr);

    bool isBusy() const { return m_busy; }
    // Starts `work` unless work already runs; false then. The work must hold what it uses: it
    // may outlive this object.
    bool run(Work work);

signals:
    void busyChanged(bool busy);
    void event(const LaunchEvent &event);

private:
    QFutureWatcher<LaunchEvent> m_watcher;
    bool m_busy = false;
};
