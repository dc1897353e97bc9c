#include "BundleBuilder.h"
#include "row/IconCache.h"

#include <QSignalSpy>
#include <QtTest>
#include <sys/stat.h>

class TestIconCache : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeIcon(const QString &name, const QByteArray &contents)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }

private slots:
    // Asked for while painting: nothing at first, the fitting entry scaled to the drawn size
    // once decoded elsewhere.
    void iconArrivesLater()
    {
        const QString path = writeIcon("Atlas.icns", BundleBuilder::icnsUpTo(1024, "green"));
        IconCache cache;
        QSignalSpy ready(&cache, &IconCache::iconReady);
        bool failed = true;
        QVERIFY(cache.icon(path, 58, &failed).isNull());
        QVERIFY(!failed);
        QCOMPARE(cache.pending(), 1);
        QVERIFY(ready.wait());
        QCOMPARE(ready.first().first().toString(), path);
        const QImage icon = cache.icon(path, 58, &failed);
        QVERIFY(!failed);
        QCOMPARE(icon.size(), QSize(58, 58));
        QCOMPARE(QColor(icon.pixel(29, 29)), QColor("green"));
        QCOMPARE(cache.bytes(), icon.sizeInBytes());
        QCOMPARE(cache.pending(), 0);
    }

    // A file that cannot give an icon (here a pipe, which must not block the decoding) is
    // answered as failed, once.
    void unusableFileFails()
    {
        const QString path = m_dir.filePath("fifo");
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        IconCache cache;
        QSignalSpy idle(&cache, &IconCache::idle);
        bool failed = false;
        QVERIFY(cache.icon(path, 58, &failed).isNull());
        QVERIFY(idle.wait());
        QVERIFY(cache.icon(path, 58, &failed).isNull());
        QVERIFY(failed);
        QCOMPARE(cache.pending(), 0);
    }

    // However many icons go by, the cache holds at most its bound, and the ones used last.
    void memoryIsBounded()
    {
        const QByteArray bytes = BundleBuilder::icnsUpTo(128, "blue");
        const qint64 oneIcon = qint64(58) * 58 * 4;
        IconCache cache(3 * oneIcon + 100);
        QStringList paths;
        for (int i = 0; i < 10; ++i) {
            paths.append(writeIcon(QStringLiteral("%1.icns").arg(i), bytes));
            QSignalSpy idle(&cache, &IconCache::idle);
            cache.icon(paths.last(), 58);
            QVERIFY(idle.wait());
            QVERIFY(cache.bytes() <= cache.maxBytes());
        }
        QCOMPARE(cache.bytes(), 3 * oneIcon);
        QVERIFY(!cache.icon(paths.last(), 58).isNull());
        QVERIFY(cache.icon(paths.first(), 58).isNull());
    }

    // Scrolling fast past many icons: those asked for long ago are dropped unread, the newest
    // are decoded.
    void oldRequestsAreDropped()
    {
        const QByteArray bytes = BundleBuilder::icnsUpTo(128, "red");
        QStringList paths;
        for (int i = 0; i < 3 * IconCache::kMaxWaiting; ++i)
            paths.append(writeIcon(QStringLiteral("fast%1.icns").arg(i), bytes));
        IconCache cache;
        QSignalSpy ready(&cache, &IconCache::iconReady);
        QSignalSpy idle(&cache, &IconCache::idle);
        for (const QString &path : paths)
            cache.icon(path, 58);
        QVERIFY(cache.pending() <= IconCache::kMaxWaiting + 1);
        QVERIFY(idle.wait(20000));
        QVERIFY(ready.size() <= IconCache::kMaxWaiting + 1);
        QVERIFY(!cache.icon(paths.last(), 58).isNull());
        QVERIFY(cache.icon(paths.at(1), 58).isNull());
    }
};

QTEST_GUILESS_MAIN(TestIconCache)
#include "tst_iconcache.moc"
