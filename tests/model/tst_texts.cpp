#include "TestEnvironment.h"
#include "language/AlwaysOpen.h"
#include "text/Texts.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestTexts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::setLanguage("en_US", "en"); }

    void formatText_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two kinds in order")
            << u"Available in %d languages, like %@."_s << QStringList{"3", "French"}
            << u"Available in 3 languages, like French."_s;
        QTest::newRow("a value holding a placeholder is not filled again")
            << u"%@ and %@"_s << QStringList{"%@", "x"} << u"%@ and x"_s;
        QTest::newRow("surplus placeholder stays") << u"%@ %@"_s << QStringList{"a"} << u"a %@"_s;
        QTest::newRow("percent sign") << u"100%% %@"_s << QStringList{"sure"} << u"100% sure"_s;
        QTest::newRow("other escapes stay") << u"%s %1 %"_s << QStringList{"x"} << u"%s %1 %"_s;
    }
    void formatText()
    {
        QFETCH(QString, format);
        QFETCH(QStringList, values);
        QTEST(::formatText(format, values), "expected");
    }

    // The six always-open confirmations for French: whether Atlas runs, whether the entry is
    // checked, which language is stored.
    void alwaysOpenQuestion_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("stored"); // null: none
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        const QString reset = u"Reset to default language?"_s, french = u"Always open in French?"_s;
        const auto row = [](const char *tag, bool running, bool checked, const QString &stored,
                            const QString &title, const char *message) {
            QTest::newRow(tag) << running << checked << stored << title << QString(message);
        };
        row("1 running, reset", true, true, "German", reset, "Vexilo will need to quit Atlas.");
        row("1 running, reset, none stored", true, true, {}, reset,
            "Vexilo will need to quit Atlas.");
        row("2 running, another stored", true, false, "German", french,
            "Atlas currently opens in German.\nVexilo will need to quit it first.");
        row("3 running, none stored", true, false, {}, french, "Vexilo will need to quit Atlas.");
        row("4 reset", false, true, "French", reset,
            "Atlas will always open in the system language.");
        row("5 another stored", false, false, "German", french, "Atlas currently opens in German.");
        row("6 none stored", false, false, {}, french, "This can be changed at any time.");
    }
    void alwaysOpenQuestion()
    {
        QFETCH(bool, running);
        QFETCH(bool, checked);
        QFETCH(QString, stored);
        QFETCH(QString, title);
        QFETCH(QString, message);
        AlwaysOpen::Facts facts{running, checked, std::nullopt, u"Atlas"_s, u"French"_s};
        if (!stored.isNull())
            facts.storedName = stored;
        QCOMPARE(AlwaysOpen::question(facts), (SheetText{title, message, true}));
    }
};

QTEST_GUILESS_MAIN(TestTexts)
#include "tst_texts.moc"
