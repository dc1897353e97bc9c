#include "IconImage.h"

#include <QImageReader>
#include <QMutexLocker>

namespace {

qint64 area(const QImage &image)
{
    return qint64(image.width()) * image.height();
}

// An .icns file holds one image per size; the largest is drawn best at every scale.
QImage decodeLargest(const QString &path)
{
    QImageReader reader(path);
    // The content decides: icon files are often named after another format than they hold.
    reader.setDecideFormatFromContent(true);
    const int count = reader.imageCount();
    if (count <= 1)
        return reader.read();

    QImage best;
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull() && area(image) > area(best))
            best = image;
    }
    if (best.isNull()) {
        // A reader that cannot jump still yields its images one after another.
        QImageReader sequential(path);
        sequential.setDecideFormatFromContent(true);
        for (int i = 0; i < count && sequential.canRead(); ++i) {
            const QImage image = sequential.read();
            if (!image.isNull() && area(image) > area(best))
                best = image;
        }
    }
    return best;
}

} // namespace

IconImage::IconImage(QString filePath) : m_filePath(std::move(filePath)) {}

IconImage::IconImage(QImage image) : m_loaded(true), m_image(std::move(image)) {}

QImage IconImage::image() const
{
    QMutexLocker lock(&m_mutex);
    if (!m_loaded) {
        if (!m_filePath.isEmpty())
            m_image = decodeLargest(m_filePath);
        m_loaded = true;
    }
    return m_image;
}

bool IconImage::isLoaded() const
{
    QMutexLocker lock(&m_mutex);
    return m_loaded;
}
