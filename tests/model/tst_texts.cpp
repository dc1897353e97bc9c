#include "text/Texts.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestTexts : public QObject {
    Q_OBJECT

private slots:
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
};

QTEST_GUILESS_MAIN(TestTexts)
#include "tst_texts.moc"
