#include "WorkPools.h"

#include <QThread>
#include <QThreadPool>
#include <algorithm>

namespace WorkPools {

QThreadPool *gathering()
{
    static QThreadPool *const pool = [] {
        auto *p = new QThreadPool;
        p->setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
        return p;
    }();
    return pool;
}

QThreadPool *launching()
{
    static QThreadPool *const pool = [] {
        auto *p = new QThreadPool;
        p->setMaxThreadCount(2);
        p->setExpiryTimeout(-1);
        return p;
    }();
    return pool;
}

} // namespace WorkPools
