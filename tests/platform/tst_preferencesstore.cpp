#include "FileOps.h"
#include "HostilePlists.h"
#include "PreferencesStore.h"
#include "PropertyList.h"
#include "TestEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <memory>

// The preferences store as Vexilo sees it and as the defaults tool sees it: both work on the
// same files, so most cases go through one side and check the other.
namespace {

const QString kTool = QStringLiteral(VEXILO_TEST_BUNDLE "/Contents/Helpers/defaults");
const QString kDomain = QStringLiteral("org.example.App");
const QString kKey = QStringLiteral("AppleLanguages");

struct Result {
    int exitCode = -1;
    QByteArray out, err;
};

Result runTool(const QStringList &args)
{
    QProcess tool;
    tool.start(kTool, args);
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit)
        return {};
    return {tool.exitCode(), tool.readAllStandardOutput(), tool.readAllStandardError()};
}

// Every entry below `root` with its size, so a test sees any file made or changed anywhere.
QStringList snapshot(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        entries.append(it.filePath() + QLatin1Char(' ') + QString::number(it.fileInfo().size()));
    }
    entries.sort();
    return entries;
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TstPreferencesStore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void setReadRemove_data();
    void setReadRemove();
    void corruptFileIsKept_data();
    void corruptFileIsKept();
    void toolOnCorruptFile_data() { corruptFileIsKept_data(); }
    void toolOnCorruptFile();
    void directoryFollowsXdg();
    void toolPrints_data();
    void toolPrints();
    void toolDeletes();
    void pathDomainIsRefused();
    void toolRefuses_data();
    void toolRefuses();
    void programAndToolLoseNoUpdate();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<PreferencesStore> m_store;
};

void TstPreferencesStore::init()
{
    // Sets XDG_CONFIG_HOME, which the tool inherits.
    m_env = std::make_unique<TestEnvironment>();
    QVERIFY(m_env->isValid());
    m_store = std::make_unique<PreferencesStore>(m_env->preferencesDirectory());
}

void TstPreferencesStore::cleanup()
{
    m_store.reset();
    m_env.reset();
}

void TstPreferencesStore::setReadRemove_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("language list")
        << QVariant(QStringList{"fr", "en-GB"}) << QVariant(QVariantList{"fr", "en-GB"});
    const QString text = QStringLiteral("<a>&amp; ]]> Fran\u00e7ais \U0001F600");
    QTest::newRow("markup, non-ASCII") << QVariant(text) << QVariant(text);
    QTest::newRow("date in another zone")
        << QVariant(QDateTime(QDate(2026, 12, 6), QTime(9, 24, 0), Qt::OffsetFromUTC, 7200))
        << QVariant(QDateTime(QDate(2026, 12, 6), QTime(7, 24, 0), Qt::UTC));
    const QVariantMap nested{{QStringLiteral("list"), QVariantList{-7, true, 2.5, QVariantList{}}},
                             {QStringLiteral("data"), QByteArray("\x00\xff", 2)}};
    QTest::newRow("nested") << QVariant(nested) << QVariant(nested);
}

void TstPreferencesStore::setReadRemove()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    QVERIFY(m_store->setValue(kDomain, QStringLiteral("other"), QStringLiteral("kept")));
    QVERIFY(m_store->setValue(kDomain, kKey, value));

    // A fresh store on the same folder reads the file, not a cache.
    const PreferencesStore reader(m_env->preferencesDirectory());
    const auto read = reader.value(kDomain, kKey);
    QVERIFY(read.has_value());
    QCOMPARE(read->typeId(), expected.typeId());
    QCOMPARE(*read, expected);

    QVERIFY(m_store->removeValue(kDomain, kKey));
    QCOMPARE(reader.read(kDomain), (QVariantMap{{QStringLiteral("other"), "kept"}}));
}

void TstPreferencesStore::corruptFileIsKept_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("garbage") << QByteArray("\x00\x01garbage\xff", 11);
    QTest::newRow("truncated XML")
        << PropertyList::toXml(QVariantMap{{QStringLiteral("k"), QStringLiteral("v")}}).left(60);
    QTest::newRow("not a dictionary") << PropertyList::toXml(QVariantList{1, 2});
    for (const auto &[name, bytes] : HostilePlists::all())
        QTest::newRow(name) << bytes;
}

void TstPreferencesStore::corruptFileIsKept()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_store->pathForDomain(kDomain);
    QVERIFY(FileOps::updateLocked(path, [&](auto) { return std::optional<QByteArray>(bytes); }));

    QVERIFY(m_store->read(kDomain).isEmpty());
    QCOMPARE(bytesOf(path), bytes);
    QVERIFY(m_store->setValue(kDomain, kKey, QStringLiteral("fr")));
    QCOMPARE(m_store->read(kDomain), (QVariantMap{{kKey, "fr"}}));
    QCOMPARE(bytesOf(path + QStringLiteral(".corrupt")), bytes);
}

void TstPreferencesStore::toolOnCorruptFile()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_store->pathForDomain(kDomain);
    QVERIFY(FileOps::updateLocked(path, [&](auto) { return std::optional<QByteArray>(bytes); }));

    for (const QStringList &args : QList<QStringList>{{"read", kDomain}, {"read", kDomain, kKey}}) {
        const Result read = runTool(args);
        QCOMPARE(read.exitCode, 1);
        QCOMPARE(read.out, QByteArray());
        QCOMPARE(read.err, "defaults: domain org.example.App is unreadable: " + path.toUtf8() +
                               " is not a property list holding a dictionary\n");
    }
    QCOMPARE(bytesOf(path), bytes);

    QCOMPARE(runTool({"write", kDomain, kKey, "-array", "fr"}).exitCode, 0);
    QCOMPARE(bytesOf(path + QStringLiteral(".corrupt")), bytes);
    // Only the bytes of the value written: nothing of the old file, nothing from memory.
    QCOMPARE(bytesOf(path), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                       "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                       "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                                       "<plist version=\"1.0\">\n"
                                       "<dict>\n"
                                       "\t<key>AppleLanguages</key>\n"
                                       "\t<array>\n"
                                       "\t\t<string>fr</string>\n"
                                       "\t</array>\n"
                                       "</dict>\n"
                                       "</plist>\n"));
}

void TstPreferencesStore::directoryFollowsXdg()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QCOMPARE(PreferencesStore::defaultDirectory(), config + QStringLiteral("/vexilo/Preferences"));
    QCOMPARE(config, m_env->root() + QStringLiteral("/config"));
}

void TstPreferencesStore::toolPrints_data()
{
    QTest::addColumn<QStringList>("value"); // what follows `write D K`
    QTest::addColumn<QByteArray>("printed");

    QTest::newRow("two languages")
        << QStringList{"-array", "fr", "de"} << QByteArray("(\n    fr,\n    de\n)\n");
    // Only letters and digits print bare, as the system tool prints them.
    QTest::newRow("quoted unless letters and digits")
        << QStringList{"-array", "en-GB", "en_GB", "a b", "fr2"}
        << QByteArray("(\n    \"en-GB\",\n    \"en_GB\",\n    \"a b\",\n    fr2\n)\n");
    QTest::newRow("empty list") << QStringList{"-array"} << QByteArray("(\n)\n");
    QTest::newRow("non-ASCII escaped") << QStringList{"-array", QStringLiteral("Fran\u00e7ais")}
                                       << QByteArray("(\n    \"Fran\\U00e7ais\"\n)\n");
    QTest::newRow("plain string") << QStringList{"fr"} << QByteArray("fr\n");
}

void TstPreferencesStore::toolPrints()
{
    QFETCH(QStringList, value);
    QFETCH(QByteArray, printed);

    const Result write = runTool(QStringList{"write", kDomain, kKey} + value);
    QCOMPARE(write.exitCode, 0);
    QCOMPARE(write.out + write.err, QByteArray());
    const Result read = runTool({"read", kDomain, kKey});
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(read.err, QByteArray());
    QCOMPARE(read.out, printed);

    // What one side writes, the other reads.
    QVERIFY(m_store->setValue(kDomain, QStringLiteral("copy"),
                              m_store->value(kDomain, kKey).value_or(QVariant())));
    QCOMPARE(runTool({"read", kDomain, "copy"}).out, printed);
}

void TstPreferencesStore::toolDeletes()
{
    QCOMPARE(runTool({"write", kDomain, kKey, "-array", "fr", "de"}).exitCode, 0);
    QCOMPARE(m_store->value(kDomain, kKey), QVariant(QVariantList{"fr", "de"}));
    QVERIFY(m_store->setValue(kDomain, QStringLiteral("Other"), QStringLiteral("kept")));

    const Result del = runTool({"delete", kDomain, kKey});
    QCOMPARE(del.exitCode, 0);
    QCOMPARE(del.out + del.err, QByteArray());
    QCOMPARE(m_store->read(kDomain), (QVariantMap{{QStringLiteral("Other"), "kept"}}));

    // From here the pair is missing, for either command; so is any pair of an unknown domain.
    const QString none = QStringLiteral("org.example.None");
    for (const QStringList &args : QList<QStringList>{
             {"read", kDomain, kKey}, {"delete", kDomain, kKey}, {"read", none, kKey}}) {
        const Result r = runTool(args);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QByteArray());
        QCOMPARE(r.err, QStringLiteral("The domain/default pair of (%1, %2) does not exist\n")
                            .arg(args.at(1), kKey)
                            .toUtf8());
    }
}

void TstPreferencesStore::pathDomainIsRefused()
{
    // A store that already holds a domain, so a stray write next to it would show too.
    QVERIFY(m_store->setValue(kDomain, kKey, QStringList{"fr"}));
    const QStringList before = snapshot(m_env->root());
    for (const QString &domain : QStringList{"../x", "a/b", ".x", "", "org.example\n"}) {
        QVERIFY2(!m_store->setValue(domain, kKey, QStringLiteral("fr")), qPrintable(domain));
        QVERIFY(!m_store->removeValue(domain, kKey));
        QVERIFY(m_store->read(domain).isEmpty());
    }
    QCOMPARE(snapshot(m_env->root()), before);
}

void TstPreferencesStore::toolRefuses_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("error"); // how standard error starts
    const QByteArray usage("usage: defaults"), invalid("defaults: invalid domain name");

    QTest::newRow("nothing") << QStringList() << usage;
    QTest::newRow("write, no value") << QStringList{"write", kDomain, kKey} << usage;
    QTest::newRow("-int not a number") << QStringList{"write", kDomain, kKey, "-int", "x"} << usage;
    QTest::newRow("unknown command") << QStringList{"rename", kDomain, kKey} << usage;
    QTest::newRow("control character")
        << QStringList{"write", kDomain, kKey, "-array", "a\x01"}
        << QByteArray("defaults: keys and values cannot hold control characters");
    QTest::newRow("write to ../x") << QStringList{"write", "../x", kKey, "-array", "fr"} << invalid;
    QTest::newRow("write to a/b") << QStringList{"write", "a/b", kKey, "fr"} << invalid;
    QTest::newRow("write to .x") << QStringList{"write", ".x", kKey, "fr"} << invalid;
    QTest::newRow("read of empty") << QStringList{"read", "", kKey} << invalid;
    QTest::newRow("delete in ../x") << QStringList{"delete", "../x", kKey} << invalid;
}

void TstPreferencesStore::toolRefuses()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, error);
    QVERIFY(m_store->setValue(kDomain, kKey, QStringList{"fr"}));
    const QStringList before = snapshot(m_env->root());
    const Result r = runTool(args);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QByteArray());
    QVERIFY2(r.err.startsWith(error), r.err.constData());
    QCOMPARE(snapshot(m_env->root()), before);
}

void TstPreferencesStore::programAndToolLoseNoUpdate()
{
    // This process writes as Vexilo does, through FileOps, for as long as each tool runs: a
    // writer that did not wait for the other would drop the other's change.
    constexpr int kTools = 30;
    qlonglong counted = 0;
    for (int i = 0; i < kTools; ++i) {
        QProcess tool;
        tool.start(kTool, {"write", kDomain, QStringLiteral("tool%1").arg(i), "x"});
        QVERIFY(tool.waitForStarted());
        do {
            QVERIFY(FileOps::updateLocked(
                m_store->pathForDomain(kDomain), [](std::optional<QByteArray> bytes) {
                    QVariantMap map = PropertyList::parse(bytes.value_or(QByteArray()))
                                          .value_or(QVariant())
                                          .toMap();
                    map.insert(QStringLiteral("count"),
                               map.value(QStringLiteral("count")).toLongLong() + 1);
                    return std::optional<QByteArray>(PropertyList::toXml(map));
                }));
            ++counted;
        } while (!tool.waitForFinished(1) && tool.state() != QProcess::NotRunning);
        QCOMPARE(tool.exitCode(), 0);
    }

    const QVariantMap map = m_store->read(kDomain);
    QCOMPARE(map.value(QStringLiteral("count")).toLongLong(), counted);
    for (int i = 0; i < kTools; ++i)
        QCOMPARE(map.value(QStringLiteral("tool%1").arg(i)), QVariant(QStringLiteral("x")));
    QCOMPARE(map.size(), kTools + 1);
}

QTEST_GUILESS_MAIN(TstPreferencesStore)
#include "tst_preferencesstore.moc"
