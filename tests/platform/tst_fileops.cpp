#include "FileOps.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <unistd.h>

namespace FileOps::detail {
// The fallback for file systems without RENAME_NOREPLACE, defined in FileOps.cpp.
bool moveByLinkNoReplace(const QString &from, const QString &to);
} // namespace FileOps::detail

namespace {

using MoveFunction = bool (*)(const QString &, const QString &);

enum class Entry { None, File, Folder, Link };

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Makes an entry whose identity can be checked afterwards: a file holds `tag`, a folder holds
// a file "inside" with `tag`, a link points at `tag`.
void makeEntry(const QString &path, Entry kind, const QByteArray &tag)
{
    switch (kind) {
    case Entry::None:
        break;
    case Entry::File:
        writeFile(path, tag);
        break;
    case Entry::Folder:
        QVERIFY(QDir().mkpath(path));
        writeFile(path + QStringLiteral("/inside"), tag);
        break;
    case Entry::Link:
        QVERIFY(QFile::link(QString::fromUtf8(tag), path));
        break;
    }
}

bool entryIs(const QString &path, Entry kind, const QByteArray &tag)
{
    const QFileInfo info(path);
    switch (kind) {
    case Entry::None:
        return !info.exists() && !info.isSymLink();
    case Entry::File:
        return info.isFile() && !info.isSymLink() && fileBytes(path) == tag;
    case Entry::Folder:
        return info.isDir() && !info.isSymLink() &&
               fileBytes(path + QStringLiteral("/inside")) == tag;
    case Entry::Link:
        return info.isSymLink() && info.symLinkTarget().endsWith(QString::fromUtf8(tag));
    }
    return false;
}

// A recognisable large version of a file: its number on the first line, then filler derived
// from it, so a torn or mixed read never equals any version.
QByteArray version(int n)
{
    QByteArray out = "version " + QByteArray::number(n) + '\n';
    const QByteArray line = QByteArray(60, char('a' + n % 26)) + '\n';
    while (out.size() < 600 * 1024)
        out += line;
    return out + "end " + QByteArray::number(n) + '\n';
}

int childIncrement(const QString &counter, const QString &log, const QString &tag, int count)
{
    for (int i = 0; i < count; ++i) {
        const bool ok = FileOps::updateLocked(counter, [](std::optional<QByteArray> bytes) {
            const int n = bytes ? bytes->trimmed().toInt() : 0;
            return std::optional<QByteArray>(QByteArray::number(n + 1));
        });
        const bool logged = FileOps::updateLocked(log, [&](std::optional<QByteArray> bytes) {
            return std::optional<QByteArray>(bytes.value_or(QByteArray()) + tag.toUtf8() + ' ' +
                                             QByteArray::number(i) + '\n');
        });
        if (!ok || !logged)
            return 2;
    }
    return 0;
}

int childRewrite(const QString &path, const QString &stopFile)
{
    for (int n = 1; n < 100000 && !QFileInfo::exists(stopFile); ++n) {
        const bool ok = FileOps::updateLocked(
            path, [n](std::optional<QByteArray>) { return std::optional<QByteArray>(version(n)); });
        if (!ok)
            return 2;
    }
    return 0;
}

int childHoldLock(const QString &path)
{
    // Dies (killed by the test) in the middle of an update, lock held.
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

Q_DECLARE_METATYPE(Entry)

class TstFileOps : public QObject {
    Q_OBJECT

private slots:
    void moveNoReplace_data();
    void moveNoReplace();
    void moveNoReplaceMissingSource();
    void updateLockedContents_data();
    void updateLockedContents();
    void updateLockedUnreadable();
    void updateLockedLeavesNoClutter();
    void concurrentProcessesLoseNoUpdate();
    void lockOfKilledWriterIsBroken();
    void readerSeesWholeVersions();

private:
    QProcess *startChild(const QStringList &args);
};

void TstFileOps::moveNoReplace_data()
{
    QTest::addColumn<int>("move");
    QTest::addColumn<Entry>("source");
    QTest::addColumn<Entry>("target");
    QTest::addColumn<bool>("moved");

    const struct {
        const char *name;
        int move;
    } moves[] = {{"rename", 0}, {"link fallback", 1}};
    for (const auto &m : moves) {
        auto row = [&](const char *what) {
            return &QTest::newRow(qPrintable(
                QStringLiteral("%1: %2").arg(QLatin1String(m.name), QLatin1String(what))));
        };
        *row("file to free name") << m.move << Entry::File << Entry::None << true;
        *row("link to free name") << m.move << Entry::Link << Entry::None << true;
        *row("file onto file") << m.move << Entry::File << Entry::File << false;
        *row("file onto folder") << m.move << Entry::File << Entry::Folder << false;
        *row("file onto link") << m.move << Entry::File << Entry::Link << false;
        *row("folder onto folder") << m.move << Entry::Folder << Entry::Folder << false;
        *row("folder onto file") << m.move << Entry::Folder << Entry::File << false;
    }
    // Only a real rename can move a folder; the fallback refuses rather than risk replacing.
    QTest::newRow("rename: folder to free name") << 0 << Entry::Folder << Entry::None << true;
    QTest::newRow("link fallback: folder to free name")
        << 1 << Entry::Folder << Entry::None << false;
}

void TstFileOps::moveNoReplace()
{
    QFETCH(int, move);
    QFETCH(Entry, source);
    QFETCH(Entry, target);
    QFETCH(bool, moved);

    const MoveFunction fn =
        move == 0 ? &FileOps::moveNoReplace : &FileOps::detail::moveByLinkNoReplace;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString from = dir.filePath(QStringLiteral("from"));
    const QString to = dir.filePath(QStringLiteral("to"));
    makeEntry(from, source, "source bytes");
    makeEntry(to, target, "target bytes");

    QCOMPARE(fn(from, to), moved);
    if (moved) {
        QVERIFY(entryIs(from, Entry::None, {}));
        QVERIFY(entryIs(to, source, "source bytes"));
    } else {
        QVERIFY(entryIs(from, source, "source bytes"));
        QVERIFY(entryIs(to, target, "target bytes"));
    }
}

void TstFileOps::moveNoReplaceMissingSource()
{
    QTemporaryDir dir;
    const QString to = dir.filePath(QStringLiteral("to"));
    QVERIFY(!FileOps::moveNoReplace(dir.filePath(QStringLiteral("absent")), to));
    QVERIFY(!FileOps::detail::moveByLinkNoReplace(dir.filePath(QStringLiteral("absent")), to));
    QVERIFY(!QFileInfo::exists(to));
}

void TstFileOps::updateLockedContents_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("initial");
    QTest::addColumn<bool>("writes");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("missing file, written") << false << QByteArray() << true << QByteArray("new");
    QTest::newRow("missing file, left alone") << false << QByteArray() << false << QByteArray();
    QTest::newRow("empty file, written") << true << QByteArray() << true << QByteArray("new");
    QTest::newRow("file, written") << true << QByteArray("old") << true << QByteArray("oldnew");
    QTest::newRow("file, left alone") << true << QByteArray("old") << false << QByteArray("old");
}

void TstFileOps::updateLockedContents()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, initial);
    QFETCH(bool, writes);
    QFETCH(QByteArray, expected);

    QTemporaryDir dir;
    // Parent folders are made as needed.
    const QString path = dir.filePath(QStringLiteral("a/b/file"));
    if (exists) {
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("a/b"))));
        writeFile(path, initial);
    }

    std::optional<QByteArray> seen;
    bool called = false;
    const bool ok = FileOps::updateLocked(path, [&](std::optional<QByteArray> current) {
        called = true;
        seen = current;
        if (!writes)
            return std::optional<QByteArray>();
        return std::optional<QByteArray>(current.value_or(QByteArray()) + "new");
    });
    QVERIFY(ok);
    QVERIFY(called);
    QCOMPARE(seen.has_value(), exists);
    if (exists)
        QCOMPARE(*seen, initial);

    const auto after = FileOps::readAll(path);
    QCOMPARE(after.has_value(), exists || writes);
    if (after)
        QCOMPARE(*after, expected);
}

void TstFileOps::updateLockedUnreadable()
{
    // A folder where the file should be: nothing can be read, so nothing is replaced.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file"));
    makeEntry(path, Entry::Folder, "kept");
    bool called = false;
    QVERIFY(!FileOps::updateLocked(path, [&](std::optional<QByteArray>) {
        called = true;
        return std::optional<QByteArray>("replaced");
    }));
    QVERIFY(!called);
    QVERIFY(entryIs(path, Entry::Folder, "kept"));
    QVERIFY(!FileOps::readAll(path));
    QVERIFY(!FileOps::readAll(dir.filePath(QStringLiteral("absent"))));
}

void TstFileOps::updateLockedLeavesNoClutter()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file"));
    for (int i = 0; i < 3; ++i) {
        QVERIFY(FileOps::updateLocked(path, [](std::optional<QByteArray> b) {
            return std::optional<QByteArray>(b.value_or(QByteArray()) + 'x');
        }));
    }
    QCOMPARE(FileOps::readAll(path).value_or(QByteArray()), QByteArray("xxx"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("file")});
}

QProcess *TstFileOps::startChild(const QStringList &args)
{
    auto *child = new QProcess(this);
    child->setProcessChannelMode(QProcess::ForwardedChannels);
    child->start(QCoreApplication::applicationFilePath(), args);
    return child;
}

void TstFileOps::concurrentProcessesLoseNoUpdate()
{
    QTemporaryDir dir;
    const QString counter = dir.filePath(QStringLiteral("prefs/counter"));
    const QString log = dir.filePath(QStringLiteral("prefs/log"));
    constexpr int kChildren = 3;
    constexpr int kEach = 60;

    QList<QProcess *> children;
    for (int c = 0; c < kChildren; ++c) {
        children.append(startChild({QStringLiteral("--child-increment"), counter, log,
                                    QStringLiteral("c%1").arg(c), QString::number(kEach)}));
    }
    for (QProcess *child : children) {
        QVERIFY(child->waitForFinished(120000));
        QCOMPARE(child->exitStatus(), QProcess::NormalExit);
        QCOMPARE(child->exitCode(), 0);
    }

    QCOMPARE(FileOps::readAll(counter).value_or(QByteArray()).toInt(), kChildren * kEach);
    // Every append is there once, and each child's appends in its own order.
    const QList<QByteArray> lines =
        FileOps::readAll(log).value_or(QByteArray()).trimmed().split('\n');
    QCOMPARE(lines.size(), kChildren * kEach);
    QList<int> next(kChildren, 0);
    for (const QByteArray &line : lines) {
        const QList<QByteArray> parts = line.split(' ');
        QCOMPARE(parts.size(), 2);
        const int c = parts.at(0).mid(1).toInt();
        QVERIFY(c >= 0 && c < kChildren);
        QCOMPARE(parts.at(1).toInt(), next[c]++);
    }
}

void TstFileOps::lockOfKilledWriterIsBroken()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file"));
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--child-hold-lock"), path});
    QVERIFY(holder.waitForStarted());
    while (!holder.canReadLine())
        QVERIFY(holder.waitForReadyRead(60000));
    QCOMPARE(holder.readLine(), QByteArray("locked\n"));
    QVERIFY(QFileInfo::exists(path + QStringLiteral(".lock")));
    holder.kill();
    QVERIFY(holder.waitForFinished(60000));
    QVERIFY(QFileInfo::exists(path + QStringLiteral(".lock")));

    QVERIFY(FileOps::updateLocked(
        path, [](std::optional<QByteArray>) { return std::optional<QByteArray>("after"); }));
    QCOMPARE(FileOps::readAll(path).value_or(QByteArray()), QByteArray("after"));
    QVERIFY(!QFileInfo::exists(path + QStringLiteral(".lock")));
}

void TstFileOps::readerSeesWholeVersions()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big"));
    const QString stop = dir.filePath(QStringLiteral("stop"));
    QVERIFY(FileOps::updateLocked(
        path, [](std::optional<QByteArray>) { return std::optional<QByteArray>(version(0)); }));

    QProcess *writer = startChild({QStringLiteral("--child-rewrite"), path, stop});
    QVERIFY(writer->waitForStarted());

    QSet<int> seen;
    int reads = 0;
    // Bounded only so that a broken writer cannot hang the test.
    QDeadlineTimer limit(120000);
    while (seen.size() < 6 && writer->state() != QProcess::NotRunning && !limit.hasExpired()) {
        const auto bytes = FileOps::readAll(path);
        QVERIFY(bytes.has_value());
        const int n = bytes->left(bytes->indexOf('\n')).mid(8).toInt();
        if (*bytes != version(n))
            QFAIL(qPrintable(QStringLiteral("read %1 bytes that are no written version (read %2)")
                                 .arg(bytes->size())
                                 .arg(reads)));
        seen.insert(n);
        ++reads;
        QCoreApplication::processEvents();
    }
    writeFile(stop, "stop");
    QVERIFY(writer->waitForFinished(120000));
    QCOMPARE(writer->exitCode(), 0);
    // The reads overlapped several rewrites, or the test proved nothing.
    QVERIFY2(seen.size() >= 6, qPrintable(QStringLiteral("versions seen: %1").arg(seen.size())));
}

int main(int argc, char **argv)
{
    // The same binary is the second process of the concurrency tests.
    if (argc == 6 && qstrcmp(argv[1], "--child-increment") == 0)
        return childIncrement(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                              QString::fromLocal8Bit(argv[4]), atoi(argv[5]));
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
