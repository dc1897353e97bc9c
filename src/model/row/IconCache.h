#pragma once

#include <QCache>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>

// Application icons at the size the row draws them, decoded off the main thread. Painting asks
// for an icon and gets it at once when it is here, else a null image and, later, iconReady.
// Only the scaled image is kept, in a cache bounded in bytes that drops the icon used longest
// ago; icons asked for while others decode wait in a short queue whose oldest requests (icons
// long scrolled past) are dropped. Nothing here reads a file on the thread that asks.
class IconCache : public QObject {
    Q_OBJECT
public:
    // 16 MiB: about 1,200 icons drawn 58 pixels square, 300 at twice the scale; a wide screen
    // shows about 40.
    static constexpr qint64 kDefaultMaxBytes = 16 * 1024 * 1024;
    // More requests than any screen shows icons.
    static constexpr int kMaxWaiting = 64;

    explicit IconCache(qint64 maxBytes = kDefaultMaxBytes, QObject *parent = nullptr);
    ~IconCache() override;

    // The icon file at `path`, scaled to fit `side` pixels square. Null while it is being
    // decoded (iconReady follows) and when the file cannot be read or decoded, which `failed`
    // then tells.
    QImage icon(const QString &path, int side, bool *failed = nullptr);

    qint64 bytes() const { return m_images.totalCost(); }
    qint64 maxBytes() const { return m_images.maxCost(); }
    // Icons waiting or being decoded.
    int pending() const { return int(m_waiting.size() + m_decoding.size()); }

    // Reads and decodes one icon file as the workers do: the entry that fits, scaled to fit.
    static QImage load(const QString &path, int side);

signals:
    void iconReady(const QString &path);
    // Nothing left waiting or decoding.
    void idle();

private:
    struct Request {
        QString path;
        int side;
        bool operator==(const Request &other) const = default;
    };
    static QString keyOf(const Request &request);
    void startNext();
    void finished(const Request &request, const QImage &image);

    QCache<QString, QImage> m_images;
    // Most recent last.
    QList<Request> m_waiting;
    QSet<QString> m_decoding;
    QThreadPool m_pool;
};
