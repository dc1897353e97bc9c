#include "PreferencesStore.h"
#include "PropertyList.h"
#include "TestEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPoint>
#include <QTest>
#include <QThread>

namespace {

// Every entry below `root` with its size, so a test sees any file made or changed anywhere.
QStringList snapshot(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        entries.append(QDir(root).relativeFilePath(info.filePath()) + QLatin1Char(' ') +
                       QString::number(info.isDir() ? -1 : info.size()));
    }
    entries.sort();
    return entries;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QDateTime utc(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

// The longest domain the store accepts: its file, lock and copies must fit one file name.
const int kLongestDomain = 223;

} // namespace

class TstPreferencesStore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void validDomain_data();
    void validDomain();
    void refusedDomainWritesNothing_data();
    void refusedDomainWritesNothing();
    void longestDomainWorks();
    void setReadRemove();
    void removeMissingKeyLeavesFileAlone();
    void corruptFile_data();
    void corruptFile();
    void corruptCopiesAreNeverOverwritten();
    void roundTrip_data();
    void roundTrip();
    void unsupportedValueWritesNothing();
    void threadsLoseNoUpdate();
    void defaultDirectoryFollowsXdg();

private:
    TestEnvironment *m_env = nullptr;
    PreferencesStore *m_store = nullptr;
};

void TstPreferencesStore::init()
{
    m_env = new TestEnvironment;
    QVERIFY(m_env->isValid());
    m_store = new PreferencesStore(m_env->preferencesDirectory());
}

void TstPreferencesStore::cleanup()
{
    delete m_store;
    delete m_env;
    m_store = nullptr;
    m_env = nullptr;
}

void TstPreferencesStore::validDomain_data()
{
    QTest::addColumn<QString>("domain");
    QTest::addColumn<bool>("valid");

    QTest::newRow("identifier") << QStringLiteral("org.example.App") << true;
    QTest::newRow("single word") << QStringLiteral("Vexilo") << true;
    QTest::newRow("dashes, underscores") << QStringLiteral("com.my-co.app_2") << true;
    QTest::newRow("blank inside") << QStringLiteral("My App") << true;
    QTest::newRow("non-ASCII") << QStringLiteral("org.exämple.Ünï") << true;
    QTest::newRow("non-BMP") << QStringLiteral("org.\U0001F600.app") << true;
    QTest::newRow("trailing dot") << QStringLiteral("org.example.") << true;
    QTest::newRow("longest") << QString(kLongestDomain, QLatin1Char('a')) << true;
    QTest::newRow("longest, multi-byte")
        << QString(kLongestDomain / 2, QChar(0xe9)) + QLatin1Char('a') << true;

    QTest::newRow("empty") << QString() << false;
    QTest::newRow("slash") << QStringLiteral("/") << false;
    QTest::newRow("absolute path") << QStringLiteral("/etc/passwd") << false;
    QTest::newRow("path") << QStringLiteral("a/b") << false;
    QTest::newRow("trailing slash") << QStringLiteral("org.example/") << false;
    QTest::newRow("backslash") << QStringLiteral("a\\b") << false;
    QTest::newRow("dot dot") << QStringLiteral("..") << false;
    QTest::newRow("parent path") << QStringLiteral("../x") << false;
    QTest::newRow("dot dot inside") << QStringLiteral("org..example") << false;
    QTest::newRow("dot") << QStringLiteral(".") << false;
    QTest::newRow("hidden") << QStringLiteral(".hidden") << false;
    QTest::newRow("newline") << QStringLiteral("org.example\n") << false;
    QTest::newRow("tab") << QStringLiteral("org\texample") << false;
    QTest::newRow("nul") << QString::fromUtf16(u"org\0ex", 6) << false;
    QTest::newRow("escape") << QStringLiteral("org\x1b[31m") << false;
    QTest::newRow("delete") << QStringLiteral("org\x7f") << false;
    QTest::newRow("C1 control") << QString(QStringLiteral("org")) + QChar(0x85) << false;
    QTest::newRow("lone surrogate") << QString(QStringLiteral("org")) + QChar(0xd800) << false;
    QTest::newRow("one byte too long") << QString(kLongestDomain + 1, QLatin1Char('a')) << false;
    QTest::newRow("too long, multi-byte") << QString(kLongestDomain / 2 + 1, QChar(0xe9)) << false;
    QTest::newRow("256 bytes") << QString(256, QLatin1Char('a')) << false;
}

void TstPreferencesStore::validDomain()
{
    QFETCH(QString, domain);
    QFETCH(bool, valid);
    QCOMPARE(PreferencesStore::isValidDomain(domain), valid);
    QCOMPARE(m_store->pathForDomain(domain).isEmpty(), !valid);
    if (valid) {
        QCOMPARE(QFileInfo(m_store->pathForDomain(domain)).absolutePath(),
                 QDir(m_env->preferencesDirectory()).absolutePath());
    }
}

void TstPreferencesStore::refusedDomainWritesNothing_data()
{
    QTest::addColumn<QString>("domain");
    QTest::newRow("parent") << QStringLiteral("../x");
    QTest::newRow("grandparent") << QStringLiteral("../../x");
    QTest::newRow("sub-folder") << QStringLiteral("a/b");
    QTest::newRow("absolute") << QStringLiteral("<root>/escaped");
    QTest::newRow("hidden") << QStringLiteral(".x");
    QTest::newRow("dot dot") << QStringLiteral("..");
    QTest::newRow("empty") << QString();
}

void TstPreferencesStore::refusedDomainWritesNothing()
{
    QFETCH(QString, domain);
    domain.replace(QStringLiteral("<root>"), m_env->root());
    // A store that already holds a domain, so a stray write next to it would show too.
    QVERIFY(m_store->setValue(QStringLiteral("org.example.App"), QStringLiteral("k"), 1));
    const QStringList before = snapshot(m_env->root());

    QVERIFY(!m_store->setValue(domain, QStringLiteral("k"), QStringLiteral("v")));
    QVERIFY(!m_store->removeValue(domain, QStringLiteral("k")));
    bool called = false;
    QVERIFY(!m_store->update(domain, [&](QVariantMap &map) {
        called = true;
        map.insert(QStringLiteral("k"), QStringLiteral("v"));
    }));
    QVERIFY(!called);
    QVERIFY(m_store->read(domain).isEmpty());
    QVERIFY(!m_store->value(domain, QStringLiteral("k")));

    QCOMPARE(snapshot(m_env->root()), before);
}

void TstPreferencesStore::longestDomainWorks()
{
    // Including the copy of a corrupt file, whose name is the longest the store makes.
    const QString domain(kLongestDomain, QLatin1Char('d'));
    writeBytes(m_store->pathForDomain(domain), "corrupt");
    QVERIFY(m_store->setValue(domain, QStringLiteral("k"), QStringLiteral("v")));
    QCOMPARE(m_store->value(domain, QStringLiteral("k")), QVariant(QStringLiteral("v")));
    QCOMPARE(bytesOf(m_store->pathForDomain(domain) + QStringLiteral(".corrupt")),
             QByteArray("corrupt"));
}

void TstPreferencesStore::setReadRemove()
{
    const QString domain = QStringLiteral("org.example.App");
    const QString other = QStringLiteral("org.example.Other");
    QVERIFY(m_store->read(domain).isEmpty());
    QVERIFY(!QFileInfo::exists(m_store->pathForDomain(domain)));

    QVERIFY(m_store->setValue(domain, QStringLiteral("AppleLanguages"),
                              QStringList{QStringLiteral("fr"), QStringLiteral("de")}));
    QVERIFY(m_store->setValue(domain, QStringLiteral("Count"), 3));
    QVERIFY(m_store->setValue(other, QStringLiteral("Count"), 7));
    QVERIFY(m_store->setValue(domain, QStringLiteral("Count"), 4));

    const QVariantMap expected{{QStringLiteral("AppleLanguages"),
                                QVariantList{QStringLiteral("fr"), QStringLiteral("de")}},
                               {QStringLiteral("Count"), qlonglong(4)}};
    QCOMPARE(m_store->read(domain), expected);
    QCOMPARE(m_store->value(other, QStringLiteral("Count")), QVariant(qlonglong(7)));
    QCOMPARE(QFileInfo(m_store->pathForDomain(domain)).absolutePath(),
             QDir(m_env->preferencesDirectory()).absolutePath());
    // The file is the XML form, readable by anything that reads property lists.
    QVERIFY(bytesOf(m_store->pathForDomain(domain)).startsWith("<?xml"));

    QVERIFY(m_store->removeValue(domain, QStringLiteral("AppleLanguages")));
    QVERIFY(!m_store->value(domain, QStringLiteral("AppleLanguages")));
    QCOMPARE(m_store->read(domain), (QVariantMap{{QStringLiteral("Count"), qlonglong(4)}}));
    QCOMPARE(m_store->value(other, QStringLiteral("Count")), QVariant(qlonglong(7)));
}

void TstPreferencesStore::removeMissingKeyLeavesFileAlone()
{
    const QString domain = QStringLiteral("org.example.App");
    // Removing from a domain that does not exist makes no file.
    QVERIFY(m_store->removeValue(domain, QStringLiteral("k")));
    QVERIFY(!QFileInfo::exists(m_store->pathForDomain(domain)));

    // A file written by someone else, in their own layout, is not rewritten for nothing.
    const QByteArray foreign =
        PropertyList::toXml(QVariantMap{{QStringLiteral("a"), true}}) + "<!-- theirs -->\n";
    QVERIFY(PropertyList::parse(foreign).has_value());
    writeBytes(m_store->pathForDomain(domain), foreign);
    QVERIFY(m_store->removeValue(domain, QStringLiteral("k")));
    QVERIFY(m_store->setValue(domain, QStringLiteral("a"), true));
    QCOMPARE(bytesOf(m_store->pathForDomain(domain)), foreign);

    // A change of type is a change, even where the values compare equal.
    QVERIFY(m_store->setValue(domain, QStringLiteral("a"), 1));
    QCOMPARE(m_store->value(domain, QStringLiteral("a"))->typeId(), int(QMetaType::LongLong));
}

void TstPreferencesStore::corruptFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("garbage") << QByteArray("\x00\x01garbage\xff", 11);
    QTest::newRow("truncated XML")
        << PropertyList::toXml(QVariantMap{{QStringLiteral("k"), QStringLiteral("v")}}).left(60);
    QTest::newRow("not a dictionary") << PropertyList::toXml(QVariantList{1, 2});
    QTest::newRow("a string") << PropertyList::toXml(QStringLiteral("text"));
    QTest::newRow("old-style text") << QByteArray("{ AppleLanguages = (fr); }");
}

void TstPreferencesStore::corruptFile()
{
    QFETCH(QByteArray, bytes);
    const QString domain = QStringLiteral("org.example.App");
    const QString path = m_store->pathForDomain(domain);
    writeBytes(path, bytes);

    QVERIFY(m_store->read(domain).isEmpty());
    QVERIFY(!m_store->value(domain, QStringLiteral("k")));
    // Reading and a change that changes nothing leave it as it is.
    QVERIFY(m_store->removeValue(domain, QStringLiteral("k")));
    QCOMPARE(bytesOf(path), bytes);
    QVERIFY(!QFileInfo::exists(path + QStringLiteral(".corrupt")));

    QVERIFY(m_store->setValue(domain, QStringLiteral("new"), QStringLiteral("value")));
    QCOMPARE(m_store->read(domain),
             (QVariantMap{{QStringLiteral("new"), QStringLiteral("value")}}));
    QCOMPARE(bytesOf(path + QStringLiteral(".corrupt")), bytes);
}

void TstPreferencesStore::corruptCopiesAreNeverOverwritten()
{
    const QString domain = QStringLiteral("org.example.App");
    const QString path = m_store->pathForDomain(domain);
    writeBytes(path, "first corrupt");
    QVERIFY(m_store->setValue(domain, QStringLiteral("k"), 1));
    writeBytes(path, "second corrupt");
    QVERIFY(m_store->setValue(domain, QStringLiteral("k"), 2));
    writeBytes(path, "");
    // An empty file holds nothing to keep.
    QVERIFY(m_store->setValue(domain, QStringLiteral("k"), 3));

    QCOMPARE(bytesOf(path + QStringLiteral(".corrupt")), QByteArray("first corrupt"));
    QCOMPARE(bytesOf(path + QStringLiteral(".corrupt-2")), QByteArray("second corrupt"));
    QVERIFY(!QFileInfo::exists(path + QStringLiteral(".corrupt-3")));
    QCOMPARE(m_store->value(domain, QStringLiteral("k")), QVariant(qlonglong(3)));
}

void TstPreferencesStore::roundTrip_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");

    auto same = [](const char *name, const QVariant &v) { QTest::newRow(name) << v << v; };
    same("string", QStringLiteral("fr"));
    same("empty string", QString(""));
    same("markup characters", QStringLiteral("<a href=\"x\">&amp;</a> ]]>"));
    same("non-ASCII", QStringLiteral("Fran\u00e7ais \u65e5\u672c\u8a9e \U0001F600"));
    same("multi-line", QStringLiteral("line 1\nline 2\ttab"));
    same("integer", QVariant(qlonglong(42)));
    same("negative integer", QVariant(qlonglong(-7)));
    same("largest integer", QVariant(std::numeric_limits<qlonglong>::max()));
    same("smallest integer", QVariant(std::numeric_limits<qlonglong>::min()));
    same("real", QVariant(2.5));
    same("negative real", QVariant(-0.125));
    same("true", QVariant(true));
    same("false", QVariant(false));
    same("date", QVariant(utc(2026, 12, 6, 7, 24, 0)));
    same("old date", QVariant(utc(1970, 1, 1, 0, 0, 1)));
    same("data", QVariant(QByteArray("\x00\x01\xfe\xff binary", 12)));
    same("empty data", QVariant(QByteArray("")));
    same("empty array", QVariant(QVariantList()));
    same("empty dictionary", QVariant(QVariantMap()));
    same("nested",
         QVariant(QVariantMap{{QStringLiteral("list"),
                               QVariantList{QStringLiteral("a"), qlonglong(1), QVariantList{true}}},
                              {QStringLiteral("dict"), QVariantMap{{QStringLiteral("x"), 1.5}}}}));

    QTest::newRow("int becomes integer") << QVariant(int(5)) << QVariant(qlonglong(5));
    QTest::newRow("unsigned becomes integer") << QVariant(uint(5)) << QVariant(qlonglong(5));
    QTest::newRow("string list becomes array")
        << QVariant(QStringList{QStringLiteral("fr"), QStringLiteral("de")})
        << QVariant(QVariantList{QStringLiteral("fr"), QStringLiteral("de")});
    QTest::newRow("local date becomes UTC")
        << QVariant(QDateTime(QDate(2026, 12, 6), QTime(9, 24, 0), Qt::OffsetFromUTC, 7200))
        << QVariant(utc(2026, 12, 6, 7, 24, 0));
}

void TstPreferencesStore::roundTrip()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    const QString domain = QStringLiteral("org.example.Types");
    QVERIFY(m_store->setValue(domain, QStringLiteral("key"), value));

    // A fresh store on the same folder reads the file, not a cache.
    const PreferencesStore reader(m_env->preferencesDirectory());
    const auto read = reader.value(domain, QStringLiteral("key"));
    QVERIFY(read.has_value());
    QCOMPARE(read->typeId(), expected.typeId());
    QCOMPARE(*read, expected);
    if (expected.typeId() == QMetaType::QDateTime)
        QCOMPARE(read->toDateTime().offsetFromUtc(), 0);
}

void TstPreferencesStore::unsupportedValueWritesNothing()
{
    const QString domain = QStringLiteral("org.example.App");
    QVERIFY(m_store->setValue(domain, QStringLiteral("kept"), QStringLiteral("yes")));
    const QByteArray before = bytesOf(m_store->pathForDomain(domain));

    const QVariantList bad{QVariant(), QVariant(QPoint(1, 2)), QVariant(QDateTime()),
                           QVariant(QVariantList{1, QVariant(QPoint(1, 2))}),
                           QVariant(std::numeric_limits<qulonglong>::max())};
    for (const QVariant &value : bad) {
        QVERIFY2(!m_store->setValue(domain, QStringLiteral("bad"), value), value.typeName());
        QVERIFY(!m_store->update(
            domain, [&](QVariantMap &map) { map.insert(QStringLiteral("bad"), value); }));
    }
    QCOMPARE(bytesOf(m_store->pathForDomain(domain)), before);
}

void TstPreferencesStore::threadsLoseNoUpdate()
{
    const QString domain = QStringLiteral("org.example.Threads");
    constexpr int kThreads = 4;
    constexpr int kEach = 15;
    QList<QThread *> threads;
    QAtomicInt failures;
    for (int t = 0; t < kThreads; ++t) {
        threads.append(QThread::create([&, t] {
            PreferencesStore store(m_env->preferencesDirectory());
            for (int i = 0; i < kEach; ++i) {
                if (!store.setValue(domain, QStringLiteral("t%1-%2").arg(t).arg(i), i))
                    failures.ref();
                if (!store.update(domain, [](QVariantMap &map) {
                        map[QStringLiteral("count")] =
                            map.value(QStringLiteral("count")).toLongLong() + 1;
                    }))
                    failures.ref();
            }
        }));
        threads.last()->start();
    }
    for (QThread *thread : threads) {
        QVERIFY(thread->wait(120000));
        delete thread;
    }
    QCOMPARE(failures.loadRelaxed(), 0);
    const QVariantMap map = m_store->read(domain);
    QCOMPARE(map.size(), kThreads * kEach + 1);
    QCOMPARE(map.value(QStringLiteral("count")).toLongLong(), qlonglong(kThreads * kEach));
}

void TstPreferencesStore::defaultDirectoryFollowsXdg()
{
    QCOMPARE(QDir(PreferencesStore::defaultDirectory()).absolutePath(),
             QDir(m_env->preferencesDirectory()).absolutePath());
}

QTEST_GUILESS_MAIN(TstPreferencesStore)
#include "tst_preferencesstore.moc"
