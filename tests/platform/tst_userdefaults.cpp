#include "PreferencesStore.h"
#include "TestEnvironment.h"
#include "UserDefaults.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTest>
#include <QThread>

namespace {

const QString kDomain = QStringLiteral("org.vexilo.Vexilo");

QDateTime utc(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

// The defaults Vexilo registers at start-up.
QVariantMap vexiloDefaults()
{
    return {{QStringLiteral("ExtraApps"), QVariantList()},
            {QStringLiteral("HiddenApps"), QVariantList()},
            {QStringLiteral("NumUses"), 0},
            {QStringLiteral("ShownDonateBox"), false}};
}

} // namespace

class TstUserDefaults : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void registeredVersusStored_data();
    void registeredVersusStored();
    void registeringStoresNothing();
    void laterRegistrationAddsAndWins();
    void typedReads_data();
    void typedReads();
    void dates();
    void arrays();
    void writtenAtOnce();
    void readsChangesMadeElsewhere();
    void removingBringsBackDefault();
    void refusedValueKeepsStoredOne();
    void threads();

private:
    std::shared_ptr<PreferencesStore> store() const
    {
        return std::make_shared<PreferencesStore>(m_env->preferencesDirectory());
    }
    TestEnvironment *m_env = nullptr;
};

void TstUserDefaults::init()
{
    m_env = new TestEnvironment;
    QVERIFY(m_env->isValid());
}

void TstUserDefaults::cleanup()
{
    delete m_env;
    m_env = nullptr;
}

void TstUserDefaults::registeredVersusStored_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored"); // invalid: nothing stored
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<bool>("hasStored");

    QTest::newRow("registered only")
        << QStringLiteral("NumUses") << QVariant() << QVariant(0) << false;
    QTest::newRow("stored wins") << QStringLiteral("NumUses") << QVariant(qlonglong(12))
                                 << QVariant(qlonglong(12)) << true;
    QTest::newRow("stored of another type wins")
        << QStringLiteral("NumUses") << QVariant(QStringLiteral("many"))
        << QVariant(QStringLiteral("many")) << true;
    QTest::newRow("stored NO is a value")
        << QStringLiteral("ShownDonateBox") << QVariant(false) << QVariant(false) << true;
    QTest::newRow("stored empty list is a value")
        << QStringLiteral("HiddenApps") << QVariant(QVariantList()) << QVariant(QVariantList())
        << true;
    QTest::newRow("stored without default")
        << QStringLiteral("InstallDate") << QVariant(utc(2026, 1, 2, 3, 4, 5))
        << QVariant(utc(2026, 1, 2, 3, 4, 5)) << true;
    QTest::newRow("neither") << QStringLiteral("InstallDate") << QVariant() << QVariant() << false;
}

void TstUserDefaults::registeredVersusStored()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(QVariant, expected);
    QFETCH(bool, hasStored);

    if (stored.isValid())
        QVERIFY(store()->setValue(kDomain, key, stored));
    UserDefaults defaults(store(), kDomain);
    defaults.registerDefaults(vexiloDefaults());

    QCOMPARE(defaults.objectForKey(key), expected);
    QCOMPARE(defaults.hasStoredValue(key), hasStored);
}

void TstUserDefaults::registeringStoresNothing()
{
    UserDefaults defaults(store(), kDomain);
    defaults.registerDefaults(vexiloDefaults());
    QCOMPARE(defaults.integerForKey(QStringLiteral("NumUses")), 0);
    QVERIFY(!QFileInfo::exists(store()->pathForDomain(kDomain)));
    // Another process sees none of them.
    UserDefaults other(store(), kDomain);
    QVERIFY(!other.objectForKey(QStringLiteral("NumUses")).isValid());
}

void TstUserDefaults::laterRegistrationAddsAndWins()
{
    UserDefaults defaults(store(), kDomain);
    defaults.registerDefaults(vexiloDefaults());
    defaults.registerDefaults({{QStringLiteral("HiddenApps"), QStringList{QStringLiteral("a.b")}}});
    QCOMPARE(defaults.stringArrayForKey(QStringLiteral("HiddenApps")),
             QStringList{QStringLiteral("a.b")});
    QCOMPARE(defaults.objectForKey(QStringLiteral("ExtraApps")), QVariant(QVariantList()));
    QVERIFY(defaults.objectForKey(QStringLiteral("NumUses")).isValid());
}

void TstUserDefaults::typedReads_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<qlonglong>("integer");
    QTest::addColumn<bool>("boolean");
    QTest::addColumn<QStringList>("strings");
    QTest::addColumn<bool>("isDate");

    const QStringList none;
    QTest::newRow("integer") << QVariant(qlonglong(7)) << 7LL << true << none << false;
    QTest::newRow("zero") << QVariant(qlonglong(0)) << 0LL << false << none << false;
    QTest::newRow("negative") << QVariant(qlonglong(-3)) << -3LL << true << none << false;
    QTest::newRow("real truncates") << QVariant(3.9) << 3LL << true << none << false;
    QTest::newRow("negative real") << QVariant(-3.9) << -3LL << true << none << false;
    QTest::newRow("huge real clamps")
        << QVariant(1e300) << std::numeric_limits<qlonglong>::max() << true << none << false;
    QTest::newRow("YES") << QVariant(true) << 0LL << true << none << false;
    QTest::newRow("NO") << QVariant(false) << 0LL << false << none << false;
    QTest::newRow("numeric string")
        << QVariant(QStringLiteral("5")) << 0LL << false << none << false;
    QTest::newRow("string YES") << QVariant(QStringLiteral("YES")) << 0LL << false << none << false;
    QTest::newRow("string list") << QVariant(
                                        QVariantList{QStringLiteral("fr"), QStringLiteral("de")})
                                 << 0LL << false
                                 << QStringList{QStringLiteral("fr"), QStringLiteral("de")}
                                 << false;
    QTest::newRow("mixed list") << QVariant(QVariantList{QStringLiteral("fr"), 1}) << 0LL << false
                                << none << false;
    QTest::newRow("nested list") << QVariant(QVariantList{QVariantList{QStringLiteral("fr")}})
                                 << 0LL << false << none << false;
    QTest::newRow("dictionary") << QVariant(QVariantMap{{QStringLiteral("fr"), 1}}) << 0LL << false
                                << none << false;
    QTest::newRow("date") << QVariant(utc(2026, 12, 6, 7, 24, 0)) << 0LL << false << none << true;
    QTest::newRow("data") << QVariant(QByteArray("12")) << 0LL << false << none << false;
}

void TstUserDefaults::typedReads()
{
    QFETCH(QVariant, stored);
    QFETCH(qlonglong, integer);
    QFETCH(bool, boolean);
    QFETCH(QStringList, strings);
    QFETCH(bool, isDate);

    UserDefaults defaults(store(), kDomain);
    // Registered values of the right type must not answer for a stored value of the wrong one.
    defaults.registerDefaults({{QStringLiteral("key"), QVariantList{QStringLiteral("default")}}});
    QVERIFY(defaults.setObject(QStringLiteral("key"), stored));
    QCOMPARE(defaults.integerForKey(QStringLiteral("key")), integer);
    QCOMPARE(defaults.boolForKey(QStringLiteral("key")), boolean);
    QCOMPARE(defaults.stringArrayForKey(QStringLiteral("key")), strings);
    QCOMPARE(defaults.dateForKey(QStringLiteral("key")).isValid(), isDate);

    // A missing key reads as zero everywhere.
    QCOMPARE(defaults.integerForKey(QStringLiteral("absent")), 0);
    QVERIFY(!defaults.boolForKey(QStringLiteral("absent")));
    QVERIFY(defaults.stringArrayForKey(QStringLiteral("absent")).isEmpty());
    QVERIFY(!defaults.dateForKey(QStringLiteral("absent")).isValid());
}

void TstUserDefaults::dates()
{
    UserDefaults defaults(store(), kDomain);
    const QDateTime first = utc(2026, 12, 6, 7, 24, 0);
    QVERIFY(defaults.setObject(QStringLiteral("InstallDate"), first));
    QCOMPARE(defaults.dateForKey(QStringLiteral("InstallDate")), first);

    // A date given in another zone is the same instant when read back.
    const QDateTime zoned(QDate(2027, 3, 1), QTime(23, 30, 0), Qt::OffsetFromUTC, -5 * 3600);
    QVERIFY(defaults.setObject(QStringLiteral("InstallDate"), zoned));
    const QDateTime read = UserDefaults(store(), kDomain).dateForKey(QStringLiteral("InstallDate"));
    QCOMPARE(read, zoned);
    QCOMPARE(read.toUTC(), utc(2027, 3, 2, 4, 30, 0));
}

void TstUserDefaults::arrays()
{
    UserDefaults defaults(store(), kDomain);
    defaults.registerDefaults(vexiloDefaults());
    QVERIFY(defaults.stringArrayForKey(QStringLiteral("ExtraApps")).isEmpty());

    const QStringList apps{QStringLiteral("org.example.App"), QStringLiteral("/Users/x/Foo.app"),
                           QStringLiteral("Fran\u00e7ais")};
    QVERIFY(defaults.setObject(QStringLiteral("ExtraApps"), apps));
    QCOMPARE(defaults.stringArrayForKey(QStringLiteral("ExtraApps")), apps);
    QCOMPARE(defaults.objectForKey(QStringLiteral("ExtraApps")).typeId(),
             int(QMetaType::QVariantList));

    QVERIFY(defaults.setObject(QStringLiteral("ExtraApps"), QStringList()));
    QVERIFY(defaults.stringArrayForKey(QStringLiteral("ExtraApps")).isEmpty());
    QVERIFY(defaults.hasStoredValue(QStringLiteral("ExtraApps")));
}

void TstUserDefaults::writtenAtOnce()
{
    UserDefaults writer(store(), kDomain);
    UserDefaults reader(store(), kDomain);
    QVERIFY(writer.setInteger(QStringLiteral("NumUses"), 5));
    QCOMPARE(reader.integerForKey(QStringLiteral("NumUses")), 5);
    QVERIFY(writer.setBool(QStringLiteral("ShownDonateBox"), true));
    QVERIFY(reader.boolForKey(QStringLiteral("ShownDonateBox")));
    // The file itself holds it: the store reads it back from disk.
    QCOMPARE(PreferencesStore(m_env->preferencesDirectory()).read(kDomain),
             (QVariantMap{{QStringLiteral("NumUses"), qlonglong(5)},
                          {QStringLiteral("ShownDonateBox"), true}}));
    // Other domains are untouched.
    QVERIFY(!UserDefaults(store(), QStringLiteral("org.example.Other"))
                 .objectForKey(QStringLiteral("NumUses"))
                 .isValid());
}

void TstUserDefaults::readsChangesMadeElsewhere()
{
    UserDefaults defaults(store(), kDomain);
    defaults.registerDefaults(vexiloDefaults());
    QCOMPARE(defaults.integerForKey(QStringLiteral("NumUses")), 0);
    QVERIFY(store()->setValue(kDomain, QStringLiteral("NumUses"), 9));
    QCOMPARE(defaults.integerForKey(QStringLiteral("NumUses")), 9);
    QVERIFY(store()->removeValue(kDomain, QStringLiteral("NumUses")));
    QCOMPARE(defaults.integerForKey(QStringLiteral("NumUses")), 0);
}

void TstUserDefaults::removingBringsBackDefault()
{
    UserDefaults defaults(store(), kDomain);
    defaults.registerDefaults(vexiloDefaults());
    QVERIFY(defaults.setObject(QStringLiteral("HiddenApps"), QStringList{QStringLiteral("x.y")}));
    QVERIFY(defaults.removeObject(QStringLiteral("HiddenApps")));
    QVERIFY(!defaults.hasStoredValue(QStringLiteral("HiddenApps")));
    QCOMPARE(defaults.objectForKey(QStringLiteral("HiddenApps")), QVariant(QVariantList()));

    // Setting no value clears it too.
    QVERIFY(defaults.setInteger(QStringLiteral("NumUses"), 4));
    QVERIFY(defaults.setObject(QStringLiteral("NumUses"), QVariant()));
    QVERIFY(!defaults.hasStoredValue(QStringLiteral("NumUses")));
    QCOMPARE(defaults.objectForKey(QStringLiteral("NumUses")), QVariant(0));
}

void TstUserDefaults::refusedValueKeepsStoredOne()
{
    UserDefaults defaults(store(), kDomain);
    QVERIFY(defaults.setInteger(QStringLiteral("NumUses"), 4));
    QVERIFY(!defaults.setObject(QStringLiteral("NumUses"), QVariant(QDateTime())));
    QCOMPARE(defaults.integerForKey(QStringLiteral("NumUses")), 4);

    // A domain that is a path cannot be written, and reads as empty.
    UserDefaults escaped(store(), QStringLiteral("../escaped"));
    QVERIFY(!escaped.setInteger(QStringLiteral("NumUses"), 1));
    QVERIFY(!escaped.objectForKey(QStringLiteral("NumUses")).isValid());
}

void TstUserDefaults::threads()
{
    // One object shared by several threads, registering and writing at the same time.
    UserDefaults defaults(store(), kDomain);
    constexpr int kThreads = 4;
    constexpr int kEach = 10;
    QList<QThread *> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.append(QThread::create([&defaults, t] {
            for (int i = 0; i < kEach; ++i) {
                const QString key = QStringLiteral("k%1-%2").arg(t).arg(i);
                defaults.registerDefaults({{key + QStringLiteral("-default"), i}});
                defaults.setInteger(key, i);
            }
        }));
        threads.last()->start();
    }
    for (QThread *thread : threads) {
        QVERIFY(thread->wait(120000));
        delete thread;
    }
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kEach; ++i) {
            const QString key = QStringLiteral("k%1-%2").arg(t).arg(i);
            QCOMPARE(defaults.integerForKey(key), i);
            QVERIFY(!defaults.hasStoredValue(key + QStringLiteral("-default")));
            QCOMPARE(defaults.objectForKey(key + QStringLiteral("-default")), QVariant(i));
        }
    }
}

QTEST_GUILESS_MAIN(TstUserDefaults)
#include "tst_userdefaults.moc"
