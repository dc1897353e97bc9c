#include "AppController.h"
#include "BundleBuilder.h"
#include "MainWindow.h"
#include "PreferencesStore.h"
#include "TestEnvironment.h"
#include "UserDefaults.h"

#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kDonationUrl =
    "https://www.paypal.com/cgi-bin/webscr?cmd=_donations&business=donations%40vexilo.org"
    "&item_name=Donation%20to%20support%20Vexilo&page_style=PayPal&no_shipping=1&no_note=1"
    "&cn=Any%20Comments&tax=0&currency_code=EUR&bn=PP%2dDonationsBF&charset=UTF%2d8";

} // namespace

class TestSupportCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QList<QByteArray> m_opened;
    QList<QString> m_asked;

    // A controller whose reminder answers "Donate Now" when `donate`, else "Not yet".
    std::unique_ptr<AppController> controller(bool donate = false, QDateTime now = QDateTime())
    {
        auto c = std::make_unique<AppController>(std::make_shared<Platform>(m_env->platform()));
        c->setUrlOpener([this](const QByteArray &url) { m_opened.append(url); });
        c->setDonationAsker([this, donate](const DonationReminder::Texts &texts) {
            m_asked.append(texts.title);
            return donate;
        });
        if (now.isValid())
            c->setClock([now] { return now; });
        return c;
    }

    // One start up to the end of loading, at `now`.
    void start(bool donate, const QDateTime &now)
    {
        auto c = controller(donate, now);
        QSignalSpy shown(c.get(), &AppController::catalogueShown);
        c->start();
        QVERIFY(shown.wait(20000));
    }

    UserDefaults vexiloDefaults() const
    {
        return UserDefaults(m_env->platform().preferences, u"org.vexilo.Vexilo"_s);
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
        m_opened.clear();
        m_asked.clear();
    }

    void donationReminderAtTheEndOfLoading_data()
    {
        QTest::addColumn<qint64>("secondsSinceInstall");
        QTest::addColumn<int>("usesBefore");
        QTest::addColumn<bool>("shownBefore");
        QTest::addColumn<bool>("donate");
        QTest::addColumn<bool>("asked");
        const qint64 day = 86400;
        QTest::newRow("43 days, 50th start, Donate Now") << 43 * day << 49 << false << true << true;
        QTest::newRow("43 days, 50th start, Not yet") << 43 * day << 49 << false << false << true;
        QTest::newRow("exactly 42 days") << 42 * day << 49 << false << true << false;
        QTest::newRow("49th start after a year") << 365 * day << 48 << false << true << false;
        QTest::newRow("shown before") << 365 * day << 200 << true << true << false;
        QTest::newRow("first start ever") << qint64(0) << -1 << false << true << false;
    }
    void donationReminderAtTheEndOfLoading()
    {
        QFETCH(qint64, secondsSinceInstall);
        QFETCH(int, usesBefore);
        QFETCH(bool, shownBefore);
        QFETCH(bool, donate);
        QFETCH(bool, asked);

        // Whole seconds: the preference file keeps dates to the second.
        const QDateTime now(QDate(2024, 5, 1), QTime(12, 0), Qt::UTC);
        if (usesBefore >= 0) {
            UserDefaults defaults = vexiloDefaults();
            defaults.setObject("InstallDate", now.addSecs(-secondsSinceInstall));
            defaults.setInteger("NumUses", usesBefore);
            if (shownBefore)
                defaults.setBool("ShownDonateBox", true);
        }

        start(donate, now);
        QCOMPARE(m_asked,
                 asked ? QList<QString>{u"Thank you for using Vexilo!"_s} : QList<QString>{});
        const bool donated = asked && donate;
        QCOMPARE(m_opened, donated ? QList<QByteArray>{kDonationUrl} : QList<QByteArray>{});
        QCOMPARE(vexiloDefaults().boolForKey("ShownDonateBox"), asked || shownBefore);
        QCOMPARE(vexiloDefaults().integerForKey("NumUses"), qMax(usesBefore, 0) + 1);

        // A later start asks only if this one did not, and then only when it is due.
        m_asked.clear();
        start(false, now.addDays(1));
        const bool dueNext = !asked && !shownBefore && usesBefore >= 0;
        QCOMPARE(m_asked.size(), dueNext ? 1 : 0);
    }

    void helpPageInTheUsersLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("languages");
        QTest::addColumn<QString>("lproj");
        QTest::newRow("French") << u"fr_FR"_s << u"fr"_s << u"fr"_s;
        QTest::newRow("Japanese") << u"ja_JP"_s << u"ja"_s << u"ja"_s;
        QTest::newRow("Portuguese, then Spanish") << u"pt_BR"_s << u"pt:es"_s << u"es"_s;
        QTest::newRow("no language of Vexilo's") << u"pt_BR"_s << QString() << u"en"_s;
    }
    void helpPageInTheUsersLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QString, languages);
        QFETCH(QString, lproj);
        TestEnvironment::setLanguage(locale, languages);
        auto c = controller();
        emit c->window().helpRequested();
        const QString page = QStringLiteral(VEXILO_TEST_BUNDLE) + "/Contents/Resources/" + lproj +
                             ".lproj/help.html";
        QCOMPARE(m_opened, QList<QByteArray>{QUrl::fromLocalFile(page).toEncoded()});
    }

    void missingHelpPageOpensNothing()
    {
        Platform platform = m_env->platform();
        platform.mainBundlePath =
            BundleBuilder(m_env->root() + "/Bare.app").identifier("org.vexilo.Vexilo").write();
        AppController c(std::make_shared<Platform>(platform));
        c.setUrlOpener([this](const QByteArray &url) { m_opened.append(url); });
        emit c.window().helpRequested();
        QVERIFY(m_opened.isEmpty());
    }

    void feedbackAndDonationCommands()
    {
        auto c = controller();
        emit c->window().feedbackRequested();
        emit c->window().donateRequested();
        QCOMPARE(m_opened, (QList<QByteArray>{"mailto:feedback@vexilo.org", kDonationUrl}));
    }
};

QTEST_MAIN(TestSupportCommands)
#include "tst_supportcommands.moc"
