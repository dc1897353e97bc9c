#include "IconImage.h"

#include "DirectoryListing.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QList>
#include <algorithm>
#include <climits>

namespace {

// The side of an .icns entry by its type; 0 when the type does not tell.
int entrySide(const QByteArray &type)
{
    static const QHash<QByteArray, int> sides{
        {"is32", 16},  {"icp4", 16},   {"ic04", 16},  {"ics#", 16},  {"ics4", 16},  {"ics8", 16},
        {"il32", 32},  {"icp5", 32},   {"ic05", 32},  {"ic11", 32},  {"ICN#", 32},  {"icl4", 32},
        {"icl8", 32},  {"ih32", 48},   {"ich#", 48},  {"ich4", 48},  {"ich8", 48},  {"icp6", 64},
        {"ic12", 64},  {"it32", 128},  {"ic07", 128}, {"ic08", 256}, {"ic13", 256}, {"ic09", 512},
        {"ic14", 512}, {"ic10", 1024},
    };
    return sides.value(type, 0);
}

// Whether an entry `a` pixels square serves a `wanted`-pixel drawing better than one `b` square.
bool better(int a, int b, int wanted)
{
    if (a >= wanted && b >= wanted)
        return a < b;
    if (a >= wanted || b >= wanted)
        return a >= wanted;
    return a > b;
}

int sideOf(const QImage &image)
{
    return std::max(image.width(), image.height());
}

} // namespace

namespace IconImage {

std::optional<QByteArray> readFile(const QString &path)
{
    return DirectoryListing::readRegularFile(path, kMaxFileSize);
}

QImage decodeToFit(const QByteArray &contents, int minimumSide)
{
    QBuffer buffer;
    buffer.setData(contents);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const int count = reader.imageCount();
    if (count <= 1)
        return reader.read();

    struct Entry {
        int index;
        int side;
    };
    QList<Entry> entries;
    bool sidesKnown = true;
    for (int i = 0; i < count && sidesKnown; ++i) {
        sidesKnown = reader.jumpToImage(i);
        const int side = sidesKnown ? entrySide(reader.subType()) : 0;
        sidesKnown = sidesKnown && side > 0;
        entries.append({i, side});
    }
    if (sidesKnown) {
        std::stable_sort(entries.begin(), entries.end(), [minimumSide](Entry a, Entry b) {
            return better(a.side, b.side, minimumSide);
        });
        for (const Entry &entry : entries) {
            if (!reader.jumpToImage(entry.index))
                continue;
            const QImage image = reader.read();
            if (!image.isNull())
                return image;
        }
        return {};
    }

    // The sizes are known only once decoded: decode each in turn and keep the best.
    QBuffer again;
    again.setData(contents);
    again.open(QIODevice::ReadOnly);
    QImageReader sequential(&again);
    QImage best;
    for (int i = 0; i < count && sequential.canRead(); ++i) {
        const QImage image = sequential.read();
        if (!image.isNull() && (best.isNull() || better(sideOf(image), sideOf(best), minimumSide)))
            best = image;
    }
    return best;
}

QImage decodeLargest(const QString &path)
{
    const std::optional<QByteArray> contents = readFile(path);
    return contents ? decodeToFit(*contents, INT_MAX) : QImage();
}

} // namespace IconImage
