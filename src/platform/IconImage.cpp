#include "IconImage.h"

#include <QImageReader>

namespace {

qint64 area(const QImage &image)
{
    return qint64(image.width()) * image.height();
}

} // namespace

namespace IconImage {

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

} // namespace IconImage
