#include "PreferencesStore.h"
#include "TestEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

namespace {

const QString kTool = QStringLiteral(VEXILO_TEST_BUNDLE "/Contents/Helpers/defaults");
const QString kDomain = QStringLiteral("org.example.App");
const QString kKey = QStringLiteral("AppleLanguages");

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Result runTool(const QStringList &args)
{
    QProcess tool;
    tool.start(kTool, args);
    Result r;
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = tool.exitCode();
    r.out = tool.readAllStandardOutput();
    r.err = tool.readAllStandardError();
    return r;
}

QStringList snapshot(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        entries.append(QDir(root).relativeFilePath(it.filePath()) + QLatin1Char(' ') +
                       QString::number(it.fileInfo().isDir() ? -1 : it.fileInfo().size()));
    }
    entries.sort();
    return entries;
}

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; });
}

QByteArray pairMissing(const QString &domain, const QString &key)
{
    return QStringLiteral("The domain/default pair of (%1, %2) does not exist\n")
        .arg(domain, key)
        .toUtf8();
}

} // namespace

class TstDefaultsTool : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void writeThenRead_data();
    void writeThenRead();
    void readsStoredValues_data();
    void readsStoredValues();
    void readWholeDomain();
    void missingPair_data();
    void missingPair();
    void deleteRemoves();
    void refusedDomain_data();
    void refusedDomain();
    void usageErrors_data();
    void usageErrors();
    void storeReadsToolWrites();
    void corruptDomain();
    void concurrentWritersLoseNothing();

private:
    TestEnvironment *m_env = nullptr;
    PreferencesStore *m_store = nullptr;
};

void TstDefaultsTool::initTestCase()
{
    QVERIFY2(QFileInfo(kTool).isExecutable(), qPrintable(kTool + QStringLiteral(" is not built")));
}

void TstDefaultsTool::init()
{
    // Sets XDG_CONFIG_HOME, which the tool inherits.
    m_env = new TestEnvironment;
    QVERIFY(m_env->isValid());
    m_store = new PreferencesStore(m_env->preferencesDirectory());
}

void TstDefaultsTool::cleanup()
{
    delete m_store;
    delete m_env;
    m_store = nullptr;
    m_env = nullptr;
}

void TstDefaultsTool::writeThenRead_data()
{
    QTest::addColumn<QStringList>("value"); // what follows `write D K`
    QTest::addColumn<QByteArray>("printed");

    QTest::newRow("two languages")
        << QStringList{"-array", "fr", "de"} << QByteArray("(\n    fr,\n    de\n)\n");
    QTest::newRow("one language") << QStringList{"-array", "ja"} << QByteArray("(\n    ja\n)\n");
    QTest::newRow("empty list") << QStringList{"-array"} << QByteArray("(\n)\n");
    // Letters, digits and '_' print bare, so a scan for the leading letters of the first
    // element finds "en" in en_GB; anything else is quoted.
    QTest::newRow("underscore bare")
        << QStringList{"-array", "en_GB", "zh_TW"} << QByteArray("(\n    en_GB,\n    zh_TW\n)\n");
    QTest::newRow("dash and dot quoted")
        << QStringList{"-array", "en-GB", "zh-Hans", "pt.BR", "1"}
        << QByteArray("(\n    \"en-GB\",\n    \"zh-Hans\",\n    \"pt.BR\",\n    1\n)\n");
    QTest::newRow("escapes") << QStringList{"-array", "say \"hi\"", "back\\slash", "", "a b"}
                             << QByteArray("(\n    \"say \\\"hi\\\"\",\n    \"back\\\\slash\",\n"
                                           "    \"\",\n    \"a b\"\n)\n");
    QTest::newRow("non-ASCII escaped")
        << QStringList{"-array", QStringLiteral("Fran\u00e7ais"), QStringLiteral("\u65e5\u672c"),
                       QStringLiteral("\U0001F600")}
        << QByteArray("(\n    \"Fran\\U00e7ais\",\n    \"\\U65e5\\U672c\",\n"
                      "    \"\\Ud83d\\Ude00\"\n)\n");
    QTest::newRow("parenthesis inside")
        << QStringList{"-array", "(fr)", ","} << QByteArray("(\n    \"(fr)\",\n    \",\"\n)\n");

    QTest::newRow("plain string") << QStringList{"fr"} << QByteArray("fr\n");
    QTest::newRow("-string") << QStringList{"-string", "en-GB"} << QByteArray("\"en-GB\"\n");
    // A single value never starts with '(' and so never reads as a list.
    QTest::newRow("string that looks like a list")
        << QStringList{"-string", "(fr)"} << QByteArray("\"(fr)\"\n");
    QTest::newRow("string of a flag")
        << QStringList{"-string", "-array"} << QByteArray("\"-array\"\n");
    QTest::newRow("empty string") << QStringList{"-string", ""} << QByteArray("\"\"\n");
    QTest::newRow("-int") << QStringList{"-int", "42"} << QByteArray("42\n");
    QTest::newRow("negative -int") << QStringList{"-int", "-7"} << QByteArray("-7\n");
    QTest::newRow("-bool YES") << QStringList{"-bool", "YES"} << QByteArray("1\n");
    QTest::newRow("-bool NO") << QStringList{"-bool", "NO"} << QByteArray("0\n");
    QTest::newRow("-bool true") << QStringList{"-bool", "true"} << QByteArray("1\n");
}

void TstDefaultsTool::writeThenRead()
{
    QFETCH(QStringList, value);
    QFETCH(QByteArray, printed);

    const Result write = runTool(QStringList{"write", kDomain, kKey} + value);
    QCOMPARE(write.exitCode, 0);
    QCOMPARE(write.out, QByteArray());
    QCOMPARE(write.err, QByteArray());

    const Result read = runTool({"read", kDomain, kKey});
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(read.err, QByteArray());
    QCOMPARE(read.out, printed);
    QVERIFY(isAscii(read.out));

    // Writing again replaces the value rather than adding to it.
    QCOMPARE(runTool({"write", kDomain, kKey, "-array", "it"}).exitCode, 0);
    QCOMPARE(runTool({"read", kDomain, kKey}).out, QByteArray("(\n    it\n)\n"));
}

void TstDefaultsTool::readsStoredValues_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("printed");

    QTest::newRow("date") << QVariant(QDateTime(QDate(2026, 12, 6), QTime(7, 24, 0), Qt::UTC))
                          << QByteArray("\"2026-12-06 07:24:00 +0000\"\n");
    QTest::newRow("date given in another zone")
        << QVariant(QDateTime(QDate(2026, 12, 6), QTime(9, 24, 0), Qt::OffsetFromUTC, 7200))
        << QByteArray("\"2026-12-06 07:24:00 +0000\"\n");
    QTest::newRow("real") << QVariant(1.5) << QByteArray("1.5\n");
    QTest::newRow("integer") << QVariant(qlonglong(-9000000000LL)) << QByteArray("-9000000000\n");
    QTest::newRow("boolean") << QVariant(true) << QByteArray("1\n");
    QTest::newRow("data") << QVariant(QByteArray("\x00\x01\xfe\xff\x10", 5))
                          << QByteArray("<0001feff 10>\n");
    QTest::newRow("list of mixed values")
        << QVariant(QVariantList{QStringLiteral("fr"), qlonglong(2), false})
        << QByteArray("(\n    fr,\n    2,\n    0\n)\n");
    QTest::newRow("nested list") << QVariant(QVariantList{QVariantList{QStringLiteral("a")},
                                                          QVariantList()})
                                 << QByteArray("(\n    (\n        a\n    ),\n    (\n    )\n)\n");
    QTest::newRow("dictionary")
        << QVariant(QVariantMap{{QStringLiteral("b-key"), QStringLiteral("x y")},
                                {QStringLiteral("a"), QVariantList{QStringLiteral("fr")}},
                                {QStringLiteral("empty"), QVariantMap()}})
        << QByteArray("{\n    a = (\n        fr\n    );\n    \"b-key\" = \"x y\";\n"
                      "    empty = {\n    };\n}\n");
}

void TstDefaultsTool::readsStoredValues()
{
    QFETCH(QVariant, value);
    QFETCH(QByteArray, printed);
    QVERIFY(m_store->setValue(kDomain, QStringLiteral("key"), value));
    const Result read = runTool({"read", kDomain, "key"});
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(read.out, printed);
}

void TstDefaultsTool::readWholeDomain()
{
    QVERIFY(m_store->setValue(kDomain, kKey, QStringList{"fr", "en-GB"}));
    QVERIFY(m_store->setValue(kDomain, QStringLiteral("NumUses"), 3));
    QVERIFY(m_store->setValue(kDomain, QStringLiteral("\u00e9t\u00e9"), true));
    const Result read = runTool({"read", kDomain});
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(read.err, QByteArray());
    QCOMPARE(read.out,
             QByteArray("{\n    AppleLanguages = (\n        fr,\n        \"en-GB\"\n    );\n"
                        "    NumUses = 3;\n    \"\\U00e9t\\U00e9\" = 1;\n}\n"));

    const Result missing = runTool({"read", QStringLiteral("org.example.Missing")});
    QCOMPARE(missing.exitCode, 1);
    QCOMPARE(missing.out, QByteArray());
    QVERIFY(missing.err.contains("org.example.Missing"));
}

void TstDefaultsTool::missingPair_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("key");

    for (const char *command : {"read", "delete"}) {
        const QString c = QString::fromLatin1(command);
        QTest::addRow("%s, no domain", command) << c << QStringLiteral("org.example.None") << kKey;
        QTest::addRow("%s, no key", command) << c << kDomain << QStringLiteral("Absent");
        QTest::addRow("%s, key differs in case", command) << c << kDomain << kKey.toLower();
        QTest::addRow("%s, non-ASCII key", command) << c << kDomain << QStringLiteral("cl\u00e9");
    }
}

void TstDefaultsTool::missingPair()
{
    QFETCH(QString, command);
    QFETCH(QString, domain);
    QFETCH(QString, key);

    QVERIFY(m_store->setValue(kDomain, kKey, QStringList{"fr"}));
    const QStringList before = snapshot(m_env->root());
    const Result r = runTool({command, domain, key});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(r.err, pairMissing(domain, key));
    // Asking about a missing pair changes nothing.
    QCOMPARE(snapshot(m_env->root()), before);
}

void TstDefaultsTool::deleteRemoves()
{
    QCOMPARE(runTool({"write", kDomain, kKey, "-array", "fr"}).exitCode, 0);
    QCOMPARE(runTool({"write", kDomain, "Other", "kept"}).exitCode, 0);

    const Result del = runTool({"delete", kDomain, kKey});
    QCOMPARE(del.exitCode, 0);
    QCOMPARE(del.out, QByteArray());
    QCOMPARE(del.err, QByteArray());

    QVERIFY(!m_store->value(kDomain, kKey));
    QCOMPARE(m_store->value(kDomain, QStringLiteral("Other")), QVariant(QStringLiteral("kept")));
    const Result read = runTool({"read", kDomain, kKey});
    QCOMPARE(read.exitCode, 1);
    QCOMPARE(read.err, pairMissing(kDomain, kKey));
    QCOMPARE(runTool({"delete", kDomain, kKey}).exitCode, 1);
}

void TstDefaultsTool::refusedDomain_data()
{
    QTest::addColumn<QString>("domain");
    QTest::newRow("parent") << QStringLiteral("../x");
    QTest::newRow("far up") << QStringLiteral("../../../../../../x");
    QTest::newRow("sub-folder") << QStringLiteral("a/b");
    QTest::newRow("hidden") << QStringLiteral(".x");
    QTest::newRow("dot dot") << QStringLiteral("..");
    QTest::newRow("absolute") << QStringLiteral("/tmp/vexilo-escaped");
    QTest::newRow("empty") << QString();
    QTest::newRow("control character") << QStringLiteral("org.example\n");
}

void TstDefaultsTool::refusedDomain()
{
    QFETCH(QString, domain);
    const QStringList before = snapshot(m_env->root());
    // Where a path domain would have landed, whether inside the test's folder or not.
    const QString landing = QDir::cleanPath(
        QDir(m_env->preferencesDirectory()).absoluteFilePath(domain + QStringLiteral(".plist")));
    QVERIFY(!QFileInfo::exists(landing));

    const QList<QStringList> commands{{"write", domain, kKey, "-array", "fr"},
                                      {"write", domain, kKey, "fr"},
                                      {"read", domain, kKey},
                                      {"read", domain},
                                      {"delete", domain, kKey}};
    for (const QStringList &args : commands) {
        const Result r = runTool(args);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QByteArray());
        QVERIFY2(r.err.startsWith("defaults: invalid domain name"), r.err.constData());
    }
    QVERIFY(!QFileInfo::exists(landing));
    QVERIFY(!QFileInfo::exists(landing + QStringLiteral(".lock")));
    QCOMPARE(snapshot(m_env->root()), before);
}

void TstDefaultsTool::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList();
    QTest::newRow("read alone") << QStringList{"read"};
    QTest::newRow("read, extra word") << QStringList{"read", kDomain, kKey, "more"};
    QTest::newRow("write, no key") << QStringList{"write", kDomain};
    QTest::newRow("write, no value") << QStringList{"write", kDomain, kKey};
    QTest::newRow("write, two values") << QStringList{"write", kDomain, kKey, "a", "b"};
    QTest::newRow("-int without number") << QStringList{"write", kDomain, kKey, "-int"};
    QTest::newRow("-int not a number") << QStringList{"write", kDomain, kKey, "-int", "x"};
    QTest::newRow("-bool maybe") << QStringList{"write", kDomain, kKey, "-bool", "maybe"};
    QTest::newRow("unknown type") << QStringList{"write", kDomain, kKey, "-color", "red"};
    QTest::newRow("delete, no key") << QStringList{"delete", kDomain};
    QTest::newRow("delete, extra word") << QStringList{"delete", kDomain, kKey, "more"};
    QTest::newRow("unknown command") << QStringList{"rename", kDomain, kKey};
    QTest::newRow("command in capitals") << QStringList{"READ", kDomain, kKey};
}

void TstDefaultsTool::usageErrors()
{
    QFETCH(QStringList, args);
    QVERIFY(m_store->setValue(kDomain, kKey, QStringList{"fr"}));
    const QStringList before = snapshot(m_env->root());
    const Result r = runTool(args);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QByteArray());
    QVERIFY2(r.err.startsWith("usage: defaults"), r.err.constData());
    QCOMPARE(snapshot(m_env->root()), before);
    QCOMPARE(m_store->value(kDomain, kKey), QVariant(QVariantList{"fr"}));
}

void TstDefaultsTool::storeReadsToolWrites()
{
    QCOMPARE(runTool({"write", kDomain, kKey, "-array", "fr", "de"}).exitCode, 0);
    QCOMPARE(m_store->value(kDomain, kKey), QVariant(QVariantList{"fr", "de"}));
    QCOMPARE(runTool({"write", kDomain, "Count", "-int", "12"}).exitCode, 0);
    QCOMPARE(m_store->value(kDomain, QStringLiteral("Count")), QVariant(qlonglong(12)));
    QCOMPARE(runTool({"write", kDomain, "Flag", "-bool", "NO"}).exitCode, 0);
    QCOMPARE(m_store->value(kDomain, QStringLiteral("Flag")), QVariant(false));
    // The tool works on the same folder as the store of the program.
    QCOMPARE(QFileInfo(m_store->pathForDomain(kDomain)).absolutePath(),
             QDir(m_env->preferencesDirectory()).absolutePath());
    QVERIFY(QFileInfo::exists(m_store->pathForDomain(kDomain)));

    QVERIFY(m_store->setValue(kDomain, kKey, QStringList{"ja"}));
    QCOMPARE(runTool({"read", kDomain, kKey}).out, QByteArray("(\n    ja\n)\n"));
}

void TstDefaultsTool::corruptDomain()
{
    const QString path = m_store->pathForDomain(kDomain);
    QVERIFY(QDir().mkpath(m_env->preferencesDirectory()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a property list");
    file.close();

    const Result read = runTool({"read", kDomain, kKey});
    QCOMPARE(read.exitCode, 1);
    QCOMPARE(read.err, pairMissing(kDomain, kKey));

    QCOMPARE(runTool({"write", kDomain, kKey, "-array", "fr"}).exitCode, 0);
    QCOMPARE(runTool({"read", kDomain, kKey}).out, QByteArray("(\n    fr\n)\n"));
    QFile copy(path + QStringLiteral(".corrupt"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray("not a property list"));
}

void TstDefaultsTool::concurrentWritersLoseNothing()
{
    constexpr int kWriters = 8;
    QList<QProcess *> tools;
    for (int i = 0; i < kWriters; ++i) {
        auto *tool = new QProcess(this);
        tool->start(kTool, {"write", kDomain, QStringLiteral("key%1").arg(i), "-array",
                            QStringLiteral("v%1").arg(i)});
        tools.append(tool);
    }
    for (QProcess *tool : tools) {
        QVERIFY(tool->waitForFinished(60000));
        QCOMPARE(tool->exitCode(), 0);
    }
    const QVariantMap map = m_store->read(kDomain);
    QCOMPARE(map.size(), kWriters);
    for (int i = 0; i < kWriters; ++i) {
        QCOMPARE(map.value(QStringLiteral("key%1").arg(i)),
                 QVariant(QVariantList{QStringLiteral("v%1").arg(i)}));
    }
}

QTEST_GUILESS_MAIN(TstDefaultsTool)
#include "tst_defaultstool.moc"
