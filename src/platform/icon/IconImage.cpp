#include "platform/icon/IconImage.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QList>
#include <QSet>
#include <QtEndian>
#include <algorithm>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Entry types whose payload is a PNG (or a JPEG 2000 image) standing on its own.
bool isStandalone(const QByteArray &type)
{
    static const QSet<QByteArray> types{"icp4", "icp5", "icp6", "ic07", "ic08", "ic09",
                                        "ic10", "ic11", "ic12", "ic13", "ic14"};
    return types.contains(type);
}

// An icon file opened for reading: a regular file of bounded size, or nothing.
class IconFile {
public:
    explicit IconFile(const QString &path)
    {
        // O_NONBLOCK: opening a pipe planted as an icon must not wait for a writer.
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        struct stat info;
        if (m_fd >= 0 && (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode) ||
                          info.st_size > IconImage::kMaxFileSize)) {
            ::close(m_fd);
            m_fd = -1;
        }
        m_size = m_fd >= 0 ? qint64(info.st_size) : 0;
    }
    ~IconFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    IconFile(const IconFile &) = delete;
    IconFile &operator=(const IconFile &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    qint64 size() const { return m_size; }

    // Exactly `length` bytes at `offset`; empty when the file holds fewer (it may have
    // shrunk since it was opened).
    QByteArray read(qint64 offset, qint64 length) const
    {
        if (m_fd < 0 || offset < 0 || length <= 0 || length > m_size - offset)
            return {};
        QByteArray bytes(qsizetype(length), Qt::Uninitialized);
        qint64 done = 0;
        while (done < length) {
            const ssize_t n =
                ::pread(m_fd, bytes.data() + done, size_t(length - done), off_t(offset + done));
            if (n <= 0)
                return {};
            done += n;
        }
        return bytes;
    }

private:
    int m_fd = -1;
    qint64 m_size = 0;
};

struct Entry {
    QByteArray type;
    qint64 offset;
    qint64 length;
    int side;
};

// The entries an .icns file of `size` bytes lists, from their 8-byte headers alone (`read`
// gives the bytes at an offset); empty when it is not an .icns file or its table does not hold
// together.
template <typename Read> QList<Entry> icnsEntries(qint64 size, Read read)
{
    const QByteArray header = read(0, 8);
    if (header.size() != 8 || !header.startsWith("icns"))
        return {};
    const qint64 end = std::min<qint64>(size, qFromBigEndian<quint32>(header.constData() + 4));
    QList<Entry> entries;
    for (qint64 offset = 8; offset + 8 <= end;) {
        const QByteArray head = read(offset, 8);
        const qint64 length = head.size() == 8 ? qFromBigEndian<quint32>(head.constData() + 4) : 0;
        if (length < 8 || length > end - offset)
            return {};
        entries.append({head.left(4), offset + 8, length - 8, entrySide(head.left(4))});
        offset += length;
    }
    return entries;
}

QList<Entry> icnsEntries(const IconFile &file)
{
    return icnsEntries(file.size(),
                       [&file](qint64 offset, qint64 length) { return file.read(offset, length); });
}

// An .icns file cut to the entries its table vouches for; empty when the table does not hold
// together. Qt's reader allocates what an entry claims to hold before reading it, and reads
// entries past the table's end: a few hundred bytes could claim gigabytes.
QByteArray checkedIcns(const QByteArray &contents)
{
    const QList<Entry> entries = icnsEntries(contents.size(), [&contents](qint64 at, qint64 n) {
        return contents.mid(qsizetype(at), qsizetype(n));
    });
    if (entries.isEmpty())
        return {};
    return contents.left(qsizetype(entries.last().offset + entries.last().length));
}

} // namespace

namespace IconImage {

QImage loadToFit(const QString &path, int minimumSide)
{
    const IconFile file(path);
    if (!file.isOpen())
        return {};

    // The usual case, a modern .icns: read the chosen PNG entry alone. Entries of the classic
    // kinds (an image and its mask in two entries) are left to the whole-file decoder.
    QList<Entry> entries = icnsEntries(file);
    entries.removeIf([](const Entry &entry) { return entry.side == 0; });
    std::stable_sort(entries.begin(), entries.end(), [minimumSide](const Entry &a, const Entry &b) {
        return better(a.side, b.side, minimumSide);
    });
    for (const Entry &entry : std::as_const(entries)) {
        if (!isStandalone(entry.type))
            break;
        const QByteArray payload = file.read(entry.offset, entry.length);
        if (!payload.startsWith("\x89PNG"))
            continue;
        const QImage image = QImage::fromData(payload, "PNG");
        if (!image.isNull())
            return image;
    }
    return decodeToFit(file.read(0, file.size()), minimumSide);
}

QImage decodeToFit(const QByteArray &data, int minimumSide)
{
    const QByteArray contents = data.startsWith("icns") ? checkedIcns(data) : data;
    if (contents.isEmpty())
        return {};
    // Named, an .icns file loads its one image plugin; unnamed, Qt loads every plugin it has
    // (TIFF, WebP, ...) to ask each whether it reads the data.
    const QByteArray format = contents.startsWith("icns") ? QByteArray("icns") : QByteArray();
    QBuffer buffer;
    buffer.setData(contents);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
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
    QImageReader sequential(&again, format);
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
    return loadToFit(path, INT_MAX);
}

} // namespace IconImage
