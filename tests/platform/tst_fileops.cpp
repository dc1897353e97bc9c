#include "TestFiles.h"
#include "platform/files/FileOps.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>
#include <cstdio>
#include <unistd.h>

namespace {

// A file holding `tag`, or a folder holding a file "inside" with `tag`; nothing for "".
void makeEntry(const QString &path, const QString &kind, const QByteArray &tag)
{
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    if (!kind.isEmpty())
        QVERIFY(!writeFile(
                     kind == QLatin1String("folder") ? path + QStringLiteral("/inside") : path, tag)
                     .isEmpty());
}

// What stands at `path`, down to the bytes, so a replaced entry shows.
QByteArray entryAt(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return "none";
    return info.isDir() ? "folder " + readFile(path + QStringLiteral("/inside"))
                        : "file " + readFile(path);
}

// A large file whose versions differ throughout, so a torn or mixed read equals none of them.
QByteArray version(int n)
{
    return "version " + QByteArray::number(n) + '\n' + QByteArray(600 * 1024, char('a' + n % 26)) +
           "end " + QByteArray::number(n) + '\n';
}

int childRewrite(const QString &path, const QString &stopFile)
{
    for (int n = 1; n < 100000 && !QFileInfo::exists(stopFile); ++n) {
        if (!FileOps::updateLocked(path, [n](std::optional<QByteArray>) {
                return std::optional<QByteArray>(version(n));
            }))
            return 2;
    }
    return 0;
}

// Killed by the test in the middle of an update, lock held.
int childHoldLock(const QString &path)
{
    FileOps::updateLocked(path, [](std::optional<QByteArray>) {
        std::fputs("locked\n", stdout);
        std::fflush(stdout);
        for (;;)
            ::pause();
        return std::optional<QByteArray>();
    });
    return 0;
}

} // namespace

class TstFileOps : public QObject {
    Q_OBJECT

private slots:
    void moveNoReplace_data()
    {
        QTest::addColumn<QString>("source"); // "file" or "folder"
        QTest::addColumn<QString>("target"); // "", "file" or "folder"

        const QString file = QStringLiteral("file"), folder = QStringLiteral("folder");
        QTest::newRow("file to free name") << file << QString();
        QTest::newRow("folder to free name") << folder << QString();
        QTest::newRow("file onto file") << file << file;
        QTest::newRow("file onto folder") << file << folder;
        QTest::newRow("folder onto folder") << folder << folder;
    }
    void moveNoReplace()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);

        QTemporaryDir dir;
        const QString from = dir.filePath(QStringLiteral("from"));
        const QString to = dir.filePath(QStringLiteral("to"));
        makeEntry(from, source, "source");
        makeEntry(to, target, "target");
        const QByteArray fromBefore = entryAt(from);
        const QByteArray toBefore = entryAt(to);

        const bool moved = target.isEmpty();
        QCOMPARE(FileOps::moveNoReplace(from, to), moved);
        QCOMPARE(entryAt(from), moved ? QByteArray("none") : fromBefore);
        QCOMPARE(entryAt(to), moved ? fromBefore : toBefore);
    }

    void readerSeesWholeVersions()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big"));
        const QString stop = dir.filePath(QStringLiteral("stop"));
        QVERIFY(FileOps::updateLocked(
            path, [](std::optional<QByteArray>) { return std::optional<QByteArray>(version(0)); }));

        QProcess writer;
        writer.setProcessChannelMode(QProcess::ForwardedChannels);
        writer.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--child-rewrite"), path, stop});
        QVERIFY(writer.waitForStarted());

        QSet<int> seen;
        // Bounded only so that a broken writer cannot hang the test.
        QDeadlineTimer limit(120000);
        while (seen.size() < 6 && writer.state() != QProcess::NotRunning && !limit.hasExpired()) {
            const QByteArray bytes = FileOps::readAll(path).value_or(QByteArray());
            const int n = bytes.left(bytes.indexOf('\n')).mid(8).toInt();
            QVERIFY2(bytes == version(n), "read a part of a version, or a mix of two");
            seen.insert(n);
        }
        QVERIFY(!writeFile(stop, "stop").isEmpty());
        QVERIFY(writer.waitForFinished(120000));
        QCOMPARE(writer.exitCode(), 0);
        // The reads overlapped several rewrites, or the test proved nothing.
        QVERIFY2(seen.size() >= 6,
                 qPrintable(QStringLiteral("versions seen: %1").arg(seen.size())));
    }

    void lockOfKilledWriterIsBroken()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("file"));
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--child-hold-lock"), path});
        QVERIFY(holder.waitForStarted());
        QVERIFY(holder.waitForReadyRead(60000));
        QCOMPARE(holder.readLine(), QByteArray("locked\n"));
        holder.kill();
        QVERIFY(holder.waitForFinished(60000));
        // The dead holder's lock file is still there; its lock is not.
        QVERIFY(QFileInfo::exists(path + QStringLiteral(".lock")));

        QVERIFY(FileOps::updateLocked(
            path, [](std::optional<QByteArray>) { return std::optional<QByteArray>("after"); }));
        QCOMPARE(FileOps::readAll(path).value_or(QByteArray()), QByteArray("after"));
    }
};

int main(int argc, char **argv)
{
    // The same binary is the second process of the tests that need two.
    if (argc == 3 && qstrcmp(argv[1], "--child-hold-lock") == 0)
        return childHoldLock(QString::fromLocal8Bit(argv[2]));
    if (argc == 4 && qstrcmp(argv[1], "--child-rewrite") == 0)
        return childRewrite(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));

    QCoreApplication app(argc, argv);
    TstFileOps tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_fileops.moc"
