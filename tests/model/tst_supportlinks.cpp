#include "about/DonationReminder.h"
#include "about/SupportLinks.h"
#include "platform/bundle/Bundle.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestSupportLinks : public QObject {
    Q_OBJECT

private slots:
    // Vexilo's own help page and texts, as the built bundle ships them, for users of several
    // languages.
    void ownResourcesFollowPreferredLanguages_data()
    {
        QTest::addColumn<QStringList>("preferred");
        QTest::addColumn<QString>("lproj");
        QTest::addColumn<bool>("translated");
        QTest::newRow("French") << QStringList{"fr_FR"} << u"fr"_s << true;
        QTest::newRow("Japanese") << QStringList{"ja_JP"} << u"ja"_s << true;
        QTest::newRow("Mexican Spanish") << QStringList{"es_MX"} << u"es"_s << true;
        QTest::newRow("unknown first, Spanish second")
            << QStringList{"pt_BR", "es"} << u"es"_s << true;
        QTest::newRow("no language of Vexilo's") << QStringList{"pt_BR"} << u"en"_s << false;
        QTest::newRow("English") << QStringList{"en_GB"} << u"en"_s << false;
    }
    void ownResourcesFollowPreferredLanguages()
    {
        QFETCH(QStringList, preferred);
        QFETCH(QString, lproj);
        QFETCH(bool, translated);
        const QString bundle = QStringLiteral(VEXILO_TEST_BUNDLE);
        const QString page = bundle + "/Contents/Resources/" + lproj + ".lproj/help.html";
        QVERIFY(QFileInfo::exists(page));
        QCOMPARE(SupportLinks::helpPageUrl(bundle, preferred),
                 QUrl::fromLocalFile(page).toEncoded());
        // main.cpp loads the texts the same way; English needs none.
        const QString qm =
            Bundle::bundleWithPath(bundle)->pathForResource("Vexilo", "qm", preferred);
        QCOMPARE(qm.isEmpty(), !translated);
        if (translated)
            QVERIFY(qm.endsWith("/" + lproj + ".lproj/Vexilo.qm"));
    }

    // The boundaries and odd dates; the usual cases run through the whole start-up in the
    // application's tests.
    void reminderIsDue_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<qint64>("secondsSinceInstall");
        QTest::addColumn<qlonglong>("uses");
        QTest::addColumn<bool>("due");
        const qint64 day = 86400;
        QTest::newRow("exactly 42 days") << false << 42 * day << 50LL << false;
        QTest::newRow("a second past 42 days") << false << 42 * day + 1 << 50LL << true;
        QTest::newRow("49 uses") << false << 365 * day << 49LL << false;
        QTest::newRow("first start in the future") << false << -43 * day << 50LL << false;
        QTest::newRow("already shown") << true << 365 * day << 500LL << false;
    }
    void reminderIsDue()
    {
        QFETCH(bool, shown);
        QFETCH(qint64, secondsSinceInstall);
        QFETCH(qlonglong, uses);
        QFETCH(bool, due);
        const QDateTime now(QDate(2024, 5, 1), QTime(12, 0), Qt::UTC);
        QCOMPARE(DonationReminder::isDue(shown, now.addSecs(-secondsSinceInstall), now, uses), due);
        // A first start that cannot be read never makes it due.
        QVERIFY(!DonationReminder::isDue(shown, QDateTime(), now, uses));
    }
};

QTEST_GUILESS_MAIN(TestSupportLinks)
#include "tst_supportlinks.moc"
