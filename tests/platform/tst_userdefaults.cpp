#include "TestEnvironment.h"
#include "platform/preferences/PreferencesStore.h"
#include "platform/preferences/UserDefaults.h"

#include <QTest>

class TstUserDefaults : public QObject {
    Q_OBJECT

private slots:
    void registeredStoredAndWrittenAtOnce()
    {
        UserDefaults writer = defaults(), reader = defaults();
        writer.registerDefaults({{"NumUses", 0}, {"ShownDonateBox", true}});
        QCOMPARE(writer.objectForKey("NumUses"), QVariant(0));
        QVERIFY(!writer.hasStoredValue("NumUses") && !writer.objectForKey("Neither").isValid());
        QVERIFY(!reader.objectForKey("NumUses").isValid()); // registering stores nothing

        QVERIFY(writer.setInteger("NumUses", 5) && writer.setBool("ShownDonateBox", false));
        QCOMPARE(reader.integerForKey("NumUses"), 5);
        QVERIFY(!writer.boolForKey("ShownDonateBox")); // a stored NO is a value
        QCOMPARE(PreferencesStore(m_env->preferencesDirectory()).read(writer.domain()), // on disk
                 (QVariantMap{{"NumUses", qlonglong(5)}, {"ShownDonateBox", false}}));
    }

    void typedReads_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<qlonglong>("integer");
        QTest::addColumn<bool>("boolean");
        QTest::addColumn<QStringList>("strings");

        QTest::newRow("integer") << QVariant(7) << 7LL << true << QStringList();
        QTest::newRow("real truncates") << QVariant(-3.9) << -3LL << true << QStringList();
        QTest::newRow("numeric string") << QVariant("5") << 0LL << false << QStringList();
        // One foreign element does not cost the others.
        QTest::newRow("mixed list") << QVariant(QVariantList{"fr", 1, QVariantMap{}, "de"}) << 0LL
                                    << false << QStringList{"fr", "de"};
        QTest::newRow("date") << QVariant(QDateTime(QDate(2026, 1, 2), QTime(3, 4))) << 0LL << false
                              << QStringList();
    }
    void typedReads()
    {
        QFETCH(QVariant, stored);

        UserDefaults defaults = this->defaults();
        // A registered value of the right type must not answer for a stored one of the wrong type.
        defaults.registerDefaults({{"key", QStringList{"default"}}});
        QVERIFY(defaults.setObject("key", stored));
        QTEST(defaults.integerForKey("key"), "integer");
        QTEST(defaults.boolForKey("key"), "boolean");
        QTEST(defaults.stringArrayForKey("key"), "strings");
        QCOMPARE(defaults.dateForKey("key").isValid(), stored.typeId() == QMetaType::QDateTime);
    }

    void init() { m_env = std::make_unique<TestEnvironment>(); }

private:
    // Each instance stands for another process: registered values are its own.
    UserDefaults defaults() const
    {
        return UserDefaults(m_env->platform().preferences, "org.vexilo.Vexilo");
    }
    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_GUILESS_MAIN(TstUserDefaults)
#include "tst_userdefaults.moc"
