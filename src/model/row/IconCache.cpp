#include "IconCache.h"

#include "platform/icon/IconImage.h"

#include <QFutureWatcher>
#include <QtConcurrentRun>

namespace {

// A failed decode is remembered as a null image with a small cost, so it is not tried again on
// every paint yet cannot fill the cache.
constexpr int kFailedCost = 64;

} // namespace

IconCache::IconCache(qint64 maxBytes, QObject *parent) : QObject(parent), m_images(maxBytes)
{
    // One decode at a time beside the main thread: the machine's other cores stay free, and the
    // icons on screen arrive in the order they were asked for, newest first.
    m_pool.setMaxThreadCount(1);
}

IconCache::~IconCache()
{
    m_pool.clear();
    m_pool.waitForDone();
}

QString IconCache::keyOf(const Request &request)
{
    return QString::number(request.side) + QLatin1Char(':') + request.path;
}

QImage IconCache::icon(const QString &path, int side, bool *failed)
{
    const Request request{path, side};
    const QString key = keyOf(request);
    if (const QImage *image = m_images.object(key)) {
        if (failed)
            *failed = image->isNull();
        return *image;
    }
    if (failed)
        *failed = false;
    if (!m_decoding.contains(key)) {
        m_waiting.removeOne(request);
        m_waiting.append(request);
        if (m_waiting.size() > kMaxWaiting)
            m_waiting.removeFirst();
        startNext();
    }
    return {};
}

QImage IconCache::load(const QString &path, int side)
{
    QImage image = IconImage::loadToFit(path, side);
    if (image.isNull())
        return {};
    if (image.width() > side || image.height() > side)
        image = image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void IconCache::startNext()
{
    while (!m_waiting.isEmpty() && m_decoding.isEmpty()) {
        const Request request = m_waiting.takeLast();
        m_decoding.insert(keyOf(request));
        auto *watcher = new QFutureWatcher<QImage>(this);
        connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, request] {
            watcher->deleteLater();
            finished(request, watcher->result());
        });
        watcher->setFuture(
            QtConcurrent::run(&m_pool, &IconCache::load, request.path, request.side));
    }
}

void IconCache::finished(const Request &request, const QImage &image)
{
    const QString key = keyOf(request);
    m_decoding.remove(key);
    const qint64 cost = image.isNull() ? kFailedCost : image.sizeInBytes();
    m_images.insert(key, new QImage(image), cost);
    emit iconReady(request.path);
    startNext();
    if (pending() == 0)
        emit idle();
}
