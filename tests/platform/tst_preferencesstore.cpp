#include "FileTree.h"
#include "HostilePlists.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "platform/files/FileOps.h"
#include "platform/preferences/PreferencesStore.h"
#include "platform/preferences/PropertyList.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

// The preferences store as Vexilo sees it and as the defaults tool sees it: both work on the
// same files, so most cases go through one side and check the other.
namespace {

const QString kTool = QStringLiteral(VEXILO_TEST_BUNDLE "/Contents/Helpers/defaults");
const QString kDomain = QStringLiteral("org.example.App");
const QString kKey = QStringLiteral("AppleLanguages");

// The tool's exit status, standard output and standard error.
QByteArrayList runTool(const QStringList &args)
{
    QProcess tool;
    tool.start(kTool, args);
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit)
        return {"crashed"};
    return {QByteArray::number(tool.exitCode()), tool.readAllStandardOutput(),
            tool.readAllStandardError()};
}

} // namespace

class TstPreferencesStore : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<PreferencesStore> m_store;

    QString writeCorrupt(const QByteArray &bytes)
    {
        const QString path = m_store->pathForDomain(kDomain);
        if (!FileOps::updateLocked(path, [&](auto) { return std::optional<QByteArray>(bytes); }))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void init()
    {
        // Sets XDG_CONFIG_HOME, which the tool inherits.
        m_env = std::make_unique<TestEnvironment>();
        m_store = std::make_unique<PreferencesStore>(m_env->preferencesDirectory());
        // The folder follows XDG_CONFIG_HOME.
        QCOMPARE(PreferencesStore::defaultDirectory(),
                 QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                     "/vexilo/Preferences");
    }

    void setReadRemove_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("expected");
        row("language list", QVariant(QStringList{"fr", "en-GB"}),
            QVariant(QVariantList{"fr", "en-GB"}));
        const QString text = QStringLiteral("<a>&amp; ]]> Fran\u00e7ais \U0001F600");
        QTest::newRow("markup, non-ASCII") << QVariant(text) << QVariant(text);
        QTest::newRow("date in another zone")
            << QVariant(QDateTime(QDate(2026, 12, 6), QTime(9, 24, 0), Qt::OffsetFromUTC, 7200))
            << QVariant(QDateTime(QDate(2026, 12, 6), QTime(7, 24, 0), Qt::UTC));
        const QVariantMap nested{{"list", QVariantList{-7, true, 2.5, QVariantList{}}},
                                 {"data", QByteArray("\x00\xff", 2)}};
        QTest::newRow("nested") << QVariant(nested) << QVariant(nested);
    }
    void setReadRemove()
    {
        QFETCH(QVariant, value);
        QFETCH(QVariant, expected);
        QVERIFY(m_store->setValue(kDomain, "other", "kept"));
        QVERIFY(m_store->setValue(kDomain, kKey, value));

        // A fresh store on the same folder reads the file, not a cache.
        const PreferencesStore reader(m_env->preferencesDirectory());
        const auto read = reader.value(kDomain, kKey);
        QVERIFY(read.has_value());
        QCOMPARE(read->typeId(), expected.typeId());
        QCOMPARE(*read, expected);

        QVERIFY(m_store->removeValue(kDomain, kKey));
        QCOMPARE(reader.read(kDomain), (QVariantMap{{"other", "kept"}}));
    }

    // A file that is no dictionary reads as empty through either side and is kept aside
    // unchanged when either side writes the next value, of which alone the file is then made.
    void corruptFileIsKept_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("tool"); // the side that writes
        const QList<HostilePlists::Case> files{
            {"garbage", QByteArray("\x00\x01garbage\xff", 11)},
            {"truncated XML", PropertyList::toXml(QVariantMap{{"k", "v"}}).left(60)},
            {"not a dictionary", PropertyList::toXml(QVariantList{1, 2})}};
        for (const auto &[name, bytes] : files + HostilePlists::all()) {
            QTest::addRow("%s", name) << bytes << false;
            QTest::addRow("%s, tool", name) << bytes << true;
        }
    }
    void corruptFileIsKept()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, tool);
        const QString path = writeCorrupt(bytes);
        QVERIFY(m_store->read(kDomain).isEmpty());
        for (const QStringList &args :
             QList<QStringList>{{"read", kDomain}, {"read", kDomain, kKey}}) {
            QCOMPARE(
                runTool(args),
                (QByteArrayList{"1", "",
                                "defaults: domain org.example.App is unreadable: " + path.toUtf8() +
                                    " is not a property list holding a dictionary\n"}));
        }
        QCOMPARE(readFile(path), bytes);
        if (tool)
            QCOMPARE(runTool({"write", kDomain, kKey, "-array", "fr"}).first(), "0");
        else
            QVERIFY(m_store->setValue(kDomain, kKey, QStringList{"fr"}));
        QCOMPARE(readFile(path + ".corrupt"), bytes);
        QCOMPARE(readFile(path), PropertyList::toXml(QVariantMap{{kKey, QVariantList{"fr"}}}));
    }

    void toolPrints_data()
    {
        QTest::addColumn<QStringList>("value"); // what follows `write D K`
        QTest::addColumn<QByteArray>("printed");
        row("two languages", words("-array fr de"), QByteArray("(\n    fr,\n    de\n)\n"));
        // Only letters and digits print bare, as the system tool prints them.
        row("quoted unless letters and digits",
            QStringList{"-array", "en-GB", "en_GB", "a b", "fr2"},
            QByteArray("(\n    \"en-GB\",\n    \"en_GB\",\n    \"a b\",\n    fr2\n)\n"));
        row("empty list", words("-array"), QByteArray("(\n)\n"));
        row("non-ASCII escaped", words("-array Fran\u00e7ais"),
            QByteArray("(\n    \"Fran\\U00e7ais\"\n)\n"));
        row("plain string", words("fr"), QByteArray("fr\n"));
    }
    void toolPrints()
    {
        QFETCH(QStringList, value);
        QFETCH(QByteArray, printed);
        const QByteArrayList done{"0", "", ""};
        QCOMPARE(runTool(QStringList{"write", kDomain, kKey} + value), done);
        QCOMPARE(runTool({"read", kDomain, kKey}), (QByteArrayList{"0", printed, ""}));
        // What one side writes, the other reads.
        QVERIFY(
            m_store->setValue(kDomain, "copy", m_store->value(kDomain, kKey).value_or(QVariant())));
        QCOMPARE(runTool({"read", kDomain, "copy"}).value(1), printed);
        // The tool deletes one key and keeps the others.
        QCOMPARE(runTool({"delete", kDomain, kKey}), done);
        QCOMPARE(m_store->read(kDomain).keys(), QStringList{"copy"});
    }

    // Each refusal leaves every file as it was; so do the domains the store refuses itself.
    void toolRefuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("error"); // how standard error starts
        const auto row = [](const char *tag, const QStringList &args, const QByteArray &error) {
            QTest::newRow(tag) << args << error;
        };
        const QByteArray usage("usage: defaults"), invalid("defaults: invalid domain name");
        const QByteArray missing("The domain/default pair of (org.example.");
        row("nothing", {}, usage);
        row("write, no value", {"write", kDomain, kKey}, usage);
        row("-int not a number", {"write", kDomain, kKey, "-int", "x"}, usage);
        row("unknown command", {"rename", kDomain, kKey}, usage);
        row("control character", {"write", kDomain, kKey, "-array", "a\x01"},
            "defaults: keys and values cannot hold control characters");
        row("write to ../x", {"write", "../x", kKey, "-array", "fr"}, invalid);
        row("write to a/b", {"write", "a/b", kKey, "fr"}, invalid);
        row("write to .x", {"write", ".x", kKey, "fr"}, invalid);
        row("read of empty", {"read", "", kKey}, invalid);
        row("delete in ../x", {"delete", "../x", kKey}, invalid);
        row("read of a missing key", {"read", kDomain, "Gone"},
            missing + "App, Gone) does not exist\n");
        row("delete of a missing key", {"delete", kDomain, "Gone"},
            missing + "App, Gone) does not exist\n");
        row("read in an unknown domain", {"read", "org.example.None", kKey},
            missing + "None, AppleLanguages) does not exist\n");
    }
    void toolRefuses()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, error);
        QVERIFY(m_store->setValue(kDomain, kKey, QStringList{"fr"}));
        const FileTree before = FileTree::of(m_env->root());
        const QByteArrayList r = runTool(args);
        QCOMPARE(r.mid(0, 2), (QByteArrayList{"1", ""}));
        QVERIFY2(r.value(2).startsWith(error), r.value(2).constData());
        for (const QString domain : {"../x", "a/b", ".x", "", "org.example\n"}) {
            QVERIFY2(!m_store->setValue(domain, kKey, "fr"), qPrintable(domain));
            QVERIFY(!m_store->removeValue(domain, kKey));
            QVERIFY(m_store->read(domain).isEmpty());
        }
        QCOMPARE(before.differences(FileTree::of(m_env->root())), QStringList());
    }

    // A writer killed between writing and renaming leaves <file>.XXXXXX behind: the next write
    // removes those of its own file older than its lock, and nothing else.
    void staleTemporaryFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("age"); // seconds; negative: made after the lock was taken
        QTest::addColumn<bool>("removed");
        QTest::newRow("killed writer's") << kDomain + ".plist.Ab3xZ9" << 60 << true;
        QTest::newRow("live writer's") << kDomain + ".plist.Ab3xZ9" << -60 << false;
        QTest::newRow("five letters") << kDomain + ".plist.Ab3xZ" << 60 << false;
        QTest::newRow("not a letter") << kDomain + ".plist.Ab3-Z9" << 60 << false;
        QTest::newRow("another domain's") << "org.example.Ap.plist.Ab3xZ9" << 60 << false;
    }
    void staleTemporaryFiles()
    {
        QFETCH(QString, name);
        QFETCH(int, age);
        QVERIFY(QDir().mkpath(m_env->preferencesDirectory()));
        QFile file(m_env->preferencesDirectory() + '/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("<?xml") == 5 && file.flush());
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-age),
                                 QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(m_store->setValue(kDomain, kKey, "fr"));
        QTEST(!file.exists(), "removed");
    }

    void programAndToolLoseNoUpdate()
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
                        map.insert("count", map.value("count").toLongLong() + 1);
                        return std::optional<QByteArray>(PropertyList::toXml(map));
                    }));
                ++counted;
            } while (!tool.waitForFinished(1) && tool.state() != QProcess::NotRunning);
            QCOMPARE(tool.exitCode(), 0);
        }

        const QVariantMap map = m_store->read(kDomain);
        QCOMPARE(map.value("count").toLongLong(), counted);
        for (int i = 0; i < kTools; ++i)
            QCOMPARE(map.value(QStringLiteral("tool%1").arg(i)), QVariant("x"));
        QCOMPARE(map.size(), kTools + 1);
    }
};

QTEST_GUILESS_MAIN(TstPreferencesStore)
#include "tst_preferencesstore.moc"
