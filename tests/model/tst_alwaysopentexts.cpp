#include "TestEnvironment.h"
#include "language/AlwaysOpen.h"

#include <QtTest>

using Facts = AlwaysOpen::Facts;

// What the always-open confirmations say.
class TestAlwaysOpenTexts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::setLanguage("en_US", "en"); }

    // The six confirmations: whether it runs, whether the entry is checked, whether a language
    // is stored.
    void alwaysOpenQuestion_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("1 running, reset") << true << true << "German"
                                          << "Reset to default language?"
                                          << "Vexilo will need to quit Atlas.";
        QTest::newRow("1 running, reset, none stored")
            << true << true << QString() << "Reset to default language?"
            << "Vexilo will need to quit Atlas.";
        QTest::newRow("2 running, another stored")
            << true << false << "German"
            << "Always open in French?"
            << "Atlas currently opens in German.\nVexilo will need to quit it first.";
        QTest::newRow("3 running, none stored")
            << true << false << QString() << "Always open in French?"
            << "Vexilo will need to quit Atlas.";
        QTest::newRow("4 reset") << false << true << "French"
                                 << "Reset to default language?"
                                 << "Atlas will always open in the system language.";
        QTest::newRow("5 another stored") << false << false << "German"
                                          << "Always open in French?"
                                          << "Atlas currently opens in German.";
        QTest::newRow("6 none stored") << false << false << QString() << "Always open in French?"
                                       << "This can be changed at any time.";
    }
    void alwaysOpenQuestion()
    {
        QFETCH(bool, running);
        QFETCH(bool, checked);
        QFETCH(QString, stored);
        QFETCH(QString, title);
        QFETCH(QString, message);
        Facts facts;
        facts.running = running;
        facts.entryChecked = checked;
        if (!stored.isNull())
            facts.storedName = stored;
        facts.applicationName = "Atlas";
        facts.language = "French";
        QCOMPARE(AlwaysOpen::question(facts), (SheetText{title, message, true}));
    }
};

QTEST_GUILESS_MAIN(TestAlwaysOpenTexts)
#include "tst_alwaysopentexts.moc"
