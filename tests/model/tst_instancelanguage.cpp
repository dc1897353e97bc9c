#include "BundleBuilder.h"
#include "DesktopTree.h"
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
            .info("CFBundleDevelopmentRegion", "de")
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
        StoredLanguages stored(m_platform);
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

    // The language an application opens in by itself: one rule, which each kind answers with
    // its own fallbacks (a bundle its development region, English, then the first code; a
    // program of the menu the English it is written in).
    void ownLanguage_data()
    {
        QTest::addColumn<QStringList>("preferred");
        QTest::addColumn<QStringList>("langs");
        QTest::addColumn<QString>("development"); // the bundle's development region
        QTest::addColumn<QString>("bundle");
        QTest::addColumn<QString>("menuEntry");
        QTest::newRow("first preference")
            << QStringList{"fr"} << QStringList{"de", "fr"} << u""_s << u"fr"_s << u"fr"_s;
        QTest::newRow("second preference")
            << QStringList{"it", "de"} << QStringList{"de", "fr"} << u""_s << u"de"_s << u"de"_s;
        QTest::newRow("region falls back to language")
            << QStringList{"de_AT"} << QStringList{"de", "fr"} << u""_s << u"de"_s << u"de"_s;
        QTest::newRow("script chosen for the region")
            << QStringList{"zh_TW"} << QStringList{"zh_CN", "zh_TW"} << u""_s << u"zh_TW"_s
            << u"zh_TW"_s;
        QTest::newRow("none preferred: development region")
            << QStringList{"en"} << QStringList{"de", "fr"} << u"de"_s << u"de"_s << u"en"_s;
        QTest::newRow("none preferred, no region: first code")
            << QStringList{"ja"} << QStringList{"fr", "de"} << u""_s << u"de"_s << u"en"_s;
    }
    void ownLanguage()
    {
        QFETCH(QStringList, preferred);
        QFETCH(QStringList, langs);
        QFETCH(QString, development);
        BundleBuilder builder(m_env->applicationsDirectory() + "/Atlas.app");
        builder.identifier("org.example.Atlas").languages(langs);
        if (!development.isEmpty())
            builder.info("CFBundleDevelopmentRegion", development);
        const AppListingPtr bundle =
            AppListing::fromPath(builder.write(), *m_platform->workspace)->reread(*m_platform);

        DesktopTree tree(m_env->root());
        tree.recorder(u"bin/atlas"_s, u"atlas"_s);
        tree.entry(tree.systemFolder(), u"atlas.desktop"_s, "Name=Atlas\nExec=atlas\n");
        for (const QString &code : langs)
            tree.write(u"system/locale/%1/LC_MESSAGES/atlas.mo"_s.arg(code), "");
        const DesktopEntries entries(tree.setup());
        const AppListingPtr menuEntry = AppListing::fromDesktopApplication(
            *entries.application(u"atlas.desktop"_s), entries, true);

        QTEST(bundle->ownLanguage(preferred), "bundle");
        QTEST(menuEntry->ownLanguage(preferred), "menuEntry");
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
        // It runs all the same: Launch must ask before it starts a second copy.
        QTest::newRow("development region") << u"en"_s << QStringList{"de", "fr"} << u""_s
                                            << QStringList{} << u"Currently open in German."_s;
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
