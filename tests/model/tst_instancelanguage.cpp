#include "BundleBuilder.h"
#include "TestEnvironment.h"
#include "catalogue/AppListing.h"
#include "language/InstanceLanguage.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguages.h"
#include "panel/Selection.h"
#include "platform/bundle/Workspace.h"
#include "platform/preferences/PreferencesStore.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestInstanceLanguage : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::shared_ptr<const Platform> m_platform;
    std::vector<std::unique_ptr<QProcess>> m_running;

    QString writeApp(const QString &name, const QStringList &langs)
    {
        return BundleBuilder(m_env->applicationsDirectory() + QLatin1Char('/') + name + ".app")
            .identifier("org.example." + name)
            .languages(langs)
            .executable(name)
            .write();
    }

    // Starts the bundle's executable and waits until it is up.
    void startInstance(const QString &bundle, const QStringList &arguments)
    {
        auto process = std::make_unique<QProcess>();
        process->start(bundle + "/Contents/MacOS/" + QFileInfo(bundle).completeBaseName(),
                       arguments);
        QVERIFY(process->waitForStarted());
        QVERIFY(process->waitForReadyRead(10000)); // it prints its language once it runs
        m_running.push_back(std::move(process));
    }

    // The running-instance line as the panel shows it after a selection.
    QString lineFor(const QString &bundle)
    {
        StoredLanguages stored(m_platform->defaultsToolPath());
        RunningInstances running(m_platform->processes);
        Selection selection(m_platform, stored, running);
        selection.select(AppListing::fromPath(bundle, *m_platform->workspace));
        return selection.panel().runningLineVisible ? selection.panel().runningLine : QString();
    }

    bool isRunning(const QString &bundle)
    {
        const AppListingPtr listing = AppListing::fromPath(bundle, *m_platform->workspace);
        return RunningInstances(m_platform->processes).isAppRunning(listing.get());
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_platform = std::make_shared<const Platform>(m_env->platform());
        TestEnvironment::setLanguage("en_US", "en");
    }

    void cleanup()
    {
        for (auto &p : m_running) {
            p->kill();
            p->waitForFinished();
        }
        m_running.clear();
    }

    void languageArgument_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("expected"); // empty: none
        QTest::newRow("launched in fr")
            << QByteArray("ARGS\n/A/X.app/Contents/MacOS/X -AppleLanguages (fr)\n") << u"fr"_s;
        QTest::newRow("leading blank lines and case")
            << QByteArray("\n  args\n/X -applelanguages (de)\n") << u"de"_s;
        QTest::newRow("blanks inside")
            << QByteArray("ARGS\n/X -AppleLanguages ( zh_TW )\n") << u"zh_TW"_s;
        QTest::newRow("several codes")
            << QByteArray("ARGS\n/X -AppleLanguages (fr, de)\n") << u"fr, de"_s;
        QTest::newRow("no closing parenthesis")
            << QByteArray("ARGS\n/X -AppleLanguages (ja") << u"ja"_s;
        QTest::newRow("first of two")
            << QByteArray("ARGS\n/X -AppleLanguages (it) -AppleLanguages (es)\n") << u"it"_s;
        QTest::newRow("empty parentheses") << QByteArray("ARGS\n/X -AppleLanguages ()\n") << u""_s;
        QTest::newRow("no argument") << QByteArray("ARGS\n/X -psn_0_1234\n") << u""_s;
        QTest::newRow("no header") << QByteArray("COMMAND\n/X -AppleLanguages (fr)\n") << u""_s;
        QTest::newRow("UTF-8 path with blanks") << QByteArray("ARGS\n/A/\xc3\x89"
                                                              "cho Zeta.app/Contents/MacOS/\xc3\x89"
                                                              "cho "
                                                              "-AppleLanguages (fr)\n")
                                                << u"fr"_s;
        QTest::newRow("UTF-8 code")
            << QByteArray("ARGS\n/X -AppleLanguages (\xc3\xa9)\n") << u"\u00e9"_s;
    }
    void languageArgument()
    {
        QFETCH(QByteArray, output);
        QTEST(InstanceLanguage::languageArgument(output).value_or(QString()), "expected");
    }

    void nameForArgument_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        QTest::newRow("french user, fr") << u"fr_FR"_s << u"fr"_s << u"français"_s;
        QTest::newRow("region") << u"en_US"_s << u"pt_BR"_s << u"Portuguese (Brazil)"_s;
        QTest::newRow("classic name") << u"en_US"_s << u"German"_s << u"German"_s;
        QTest::newRow("classic name, french user") << u"fr_FR"_s << u"German"_s << u"allemand"_s;
        QTest::newRow("unknown code") << u"en_US"_s << u"qq"_s << u"qq"_s;
    }
    void nameForArgument()
    {
        QFETCH(QString, locale);
        QFETCH(QString, code);
        TestEnvironment::setLanguage(locale);
        QTEST(InstanceLanguage::nameForArgument(code), "expected");
    }

    void nameForOwnChoice_data()
    {
        QTest::addColumn<QStringList>("preferred");
        QTest::addColumn<QStringList>("langs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("second preference")
            << QStringList{"en", "fr"} << QStringList{"fr"} << u"French"_s;
        QTest::newRow("english folder name")
            << QStringList{"en"} << QStringList{"English", "German"} << u"English"_s;
        QTest::newRow("region falls back to language")
            << QStringList{"de_AT"} << QStringList{"de"} << u"German"_s;
        QTest::newRow("script chosen for the region")
            << QStringList{"zh_TW", "en"} << QStringList{"zh-Hans", "zh-Hant", "en"}
            << u"Chinese (Traditional)"_s;
        QTest::newRow("none supported") << QStringList{"en", "fr"} << QStringList{"ja"} << u""_s;
    }
    void nameForOwnChoice()
    {
        QFETCH(QStringList, preferred);
        QFETCH(QStringList, langs);
        QTEST(InstanceLanguage::nameForOwnChoice(preferred, langs), "expected");
    }

    void runningInstances_data()
    {
        QTest::addColumn<QString>("languages"); // LANGUAGE of the user
        QTest::addColumn<QStringList>("langs"); // the bundle's localisations
        QTest::addColumn<QString>("stored");    // its stored language, if any
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("launched in fr")
            << u"en"_s << QStringList{"en", "fr"} << u""_s << QStringList{"-AppleLanguages", "(fr)"}
            << u"Currently open in French."_s;
        QTest::newRow("stored de") << u"en"_s << QStringList{"en", "de"} << u"de"_s << QStringList{}
                                   << u"Currently open in German."_s;
        QTest::newRow("preferred en then fr, only fr")
            << u"en:fr"_s << QStringList{"fr"} << u""_s << QStringList{}
            << u"Currently open in French."_s;
        QTest::newRow("none supported")
            << u"en:fr"_s << QStringList{"ja"} << u""_s << QStringList{} << u""_s;
    }
    void runningInstances()
    {
        QFETCH(QString, languages);
        QFETCH(QStringList, langs);
        QFETCH(QString, stored);
        QFETCH(QStringList, arguments);
        QVERIFY(!RunningInstances(m_platform->processes).isAppRunning(nullptr));
        TestEnvironment::setLanguage("en_US", languages);
        const QString bundle = writeApp("Atlas", langs);
        if (!stored.isEmpty())
            QVERIFY(m_platform->preferences->setValue("org.example.Atlas", "AppleLanguages",
                                                      QVariantList{stored}));
        QVERIFY(!isRunning(bundle) && lineFor(bundle).isEmpty());
        startInstance(bundle, arguments);
        QVERIFY(isRunning(bundle));
        QTEST(lineFor(bundle), "expected");
    }

    void firstOfTwoInstancesIsInspected()
    {
        const QString bundle = writeApp("Atlas", {"fr", "de"});
        startInstance(bundle, {"-AppleLanguages", "(fr)"});
        startInstance(bundle, {"-AppleLanguages", "(de)"});
        QCOMPARE(lineFor(bundle), "Currently open in French.");
        m_running.front()->kill();
        m_running.front()->waitForFinished();
        QCOMPARE(lineFor(bundle), "Currently open in German.");
    }
};

QTEST_MAIN(TestInstanceLanguage)
#include "tst_instancelanguage.moc"
