#include "BundleBuilder.h"
#include "TestEnvironment.h"
#include "catalogue/AppListing.h"
#include "catalogue/Controller.h"
#include "language/StoredLanguage.h"
#include "window/MainWindow.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// A stand-in for the preferences tool: prints a chosen output on a chosen stream and counts
// how often it ran.
QString writeStandInBundle(const QString &root)
{
    const QString bundle = root + "/StandIn.app";
    const QString helpers = bundle + "/Contents/Helpers";
    QDir().mkpath(helpers);
    QFile script(helpers + "/defaults");
    if (script.open(QIODevice::WriteOnly)) {
        script.write("#!/bin/sh\n"
                     "echo \"$*\" >> \"$STANDIN_DIR/calls\"\n"
                     "if [ -f \"$STANDIN_DIR/stderr\" ]; then cat \"$STANDIN_DIR/output\" >&2;\n"
                     "else cat \"$STANDIN_DIR/output\"; fi\n");
        script.close();
    }
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    return bundle;
}

} // namespace

class TestStoredLanguage : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    std::shared_ptr<Platform> standInPlatform()
    {
        auto platform = std::make_shared<Platform>(m_env->platform());
        platform->mainBundlePath = writeStandInBundle(m_env->root());
        qputenv("STANDIN_DIR", QFile::encodeName(m_env->root()));
        return platform;
    }

    void setStandInOutput(const QByteArray &output, bool onStandardError)
    {
        QFile f(m_env->root() + "/output");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(output);
        QFile marker(m_env->root() + "/stderr");
        if (onStandardError) {
            QVERIFY(marker.open(QIODevice::WriteOnly));
        } else {
            marker.remove();
        }
    }

    QStringList standInCalls() const
    {
        QFile f(m_env->root() + "/calls");
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QString writeApp(const QString &name, const QStringList &langs)
    {
        return BundleBuilder(m_env->applicationsDirectory() + QLatin1Char('/') + name + ".app")
            .identifier("org.example." + name)
            .languages(langs)
            .write();
    }

    QProcess::ExitStatus runTool(const QStringList &arguments)
    {
        QProcess tool;
        tool.start(m_env->platform().defaultsToolPath(), arguments);
        tool.waitForFinished();
        return tool.exitStatus();
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
    }

    void parse_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("expected"); // empty: no stored language
        QTest::newRow("one element") << QByteArray("(\n    fr\n)\n") << u"fr"_s;
        QTest::newRow("several elements")
            << QByteArray("(\n    de,\n    fr,\n    en\n)\n") << u"de"_s;
        QTest::newRow("region") << QByteArray("(\n    en_GB,\n    fr\n)\n") << u"en"_s;
        QTest::newRow("quoted element") << QByteArray("(\n    \"en-GB\",\n    fr\n)\n") << u"en"_s;
        QTest::newRow("empty list") << QByteArray("(\n)\n") << u""_s;
        QTest::newRow("empty quoted element") << QByteArray("(\n    \"\"\n)\n") << u""_s;
        QTest::newRow("element starting with a digit") << QByteArray("(\n    42\n)\n") << u""_s;
        QTest::newRow("single value") << QByteArray("fr\n") << u""_s;
        QTest::newRow("missing pair")
            << QByteArray(
                   "The domain/default pair of (org.example.App, AppleLanguages) does not exist\n")
            << "";
        QTest::newRow("not ASCII") << QByteArray("(\n    fr\xc3\xa9\n)\n") << u""_s;
        QTest::newRow("nothing") << QByteArray() << u""_s;
    }
    void parse()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, expected);
        const auto result = StoredLanguage::parseReadOutput(output);
        QCOMPARE(result.value_or(QString()), expected);
        QCOMPARE(result.has_value(), !expected.isEmpty());
    }

    // The same outputs through a real child process, on either stream: one run per listing
    // object, whatever it found, and every method answers from that one run.
    void probe_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<bool>("onStandardError");
        QTest::addColumn<QString>("expected");
        QTest::newRow("list") << QByteArray("(\n    fr,\n    de\n)\n") << false << u"fr"_s;
        QTest::newRow("missing pair on stderr")
            << QByteArray("The domain/default pair of (org.example.Atlas, AppleLanguages) does not "
                          "exist\n")
            << true << "";
        QTest::newRow("garbage") << QByteArray("\x01\xff\xfe garbage") << false << u""_s;
        QTest::newRow("nothing") << QByteArray() << false << u""_s;
    }
    void probe()
    {
        QFETCH(QByteArray, output);
        QFETCH(bool, onStandardError);
        QFETCH(QString, expected);
        auto platform = standInPlatform();
        setStandInOutput(output, onStandardError);
        const AppListingPtr listing =
            AppListing::initWithPath(writeApp("Atlas", {"en", "fr"}), platform);

        QCOMPARE(listing->hasAutomaticLanguage(), !expected.isEmpty());
        QCOMPARE(listing->automaticLanguage(), expected);
        QCOMPARE(listing->indexOfAutoLang(),
                 expected.isEmpty() ? AppListing::NotFound : int(listing->langs().indexOf("fr")));
        QCOMPARE(listing->localizedAutoLang(), expected.isEmpty() ? QString() : "French");
        QVERIFY(listing->testedForAutoLang());
        QCOMPARE(standInCalls(), QStringList{"read org.example.Atlas AppleLanguages"});

        // A new object (the next selection's copy) asks again.
        const AppListingPtr copy = listing->copy();
        copy->hasAutomaticLanguage();
        QCOMPARE(standInCalls().size(), 2);
    }

    void stateSetByTheAlwaysOpenCommandNeedsNoProbe()
    {
        auto platform = standInPlatform();
        setStandInOutput("(\n    fr\n)\n", false);
        const AppListingPtr listing = AppListing::initWithPath(writeApp("Atlas", {"de"}), platform);
        listing->setTestedForAutoLang(true);
        listing->setHasAutoLang(true);
        listing->setAutoLang("de");
        QCOMPARE(listing->automaticLanguage(), "de");
        QCOMPARE(listing->indexOfAutoLang(), 0);
        QVERIFY(standInCalls().isEmpty());
    }

    // Folders come in directory order, so the expected position is that of the named folder.
    void indexOfAutoLang_data()
    {
        QTest::addColumn<QStringList>("langs");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expectedFolder"); // empty: not found
        QTest::newRow("code") << QStringList{"en", "fr"} << u"fr"_s << u"fr"_s;
        QTest::newRow("code beside its classic name")
            << QStringList{"French", "fr"} << u"fr"_s << u"fr"_s;
        QTest::newRow("classic name")
            << QStringList{"English", "German", "French"} << u"fr"_s << u"French"_s;
        QTest::newRow("case matters") << QStringList{"en", "FR"} << u"fr"_s << u""_s;
        QTest::newRow("neither") << QStringList{"en", "de"} << u"fr"_s << u""_s;
        QTest::newRow("code without a name") << QStringList{"en", "de"} << u"qq"_s << u""_s;
    }
    void indexOfAutoLang()
    {
        QFETCH(QStringList, langs);
        QFETCH(QString, stored);
        QFETCH(QString, expectedFolder);
        auto platform = standInPlatform();
        setStandInOutput("(\n    " + stored.toLatin1() + "\n)\n", false);
        // Names stay English whatever the user's language.
        TestEnvironment::setLanguage("fr_FR", "fr");
        const AppListingPtr listing =
            AppListing::initWithPath(writeApp("Lexicon", langs), platform);
        QCOMPARE(listing->indexOfAutoLang(), expectedFolder.isEmpty()
                                                 ? AppListing::NotFound
                                                 : int(listing->langs().indexOf(expectedFolder)));
    }

    void localizedAutoLang_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("english user") << u"en_US"_s << u"fr"_s << u"French"_s;
        QTest::newRow("french user") << u"fr_FR"_s << u"de"_s << u"allemand"_s;
        QTest::newRow("classic name") << u"en_US"_s << u"German"_s << u"German"_s;
        QTest::newRow("no name") << u"en_US"_s << u"qq"_s << u"qq"_s;
    }
    void localizedAutoLang()
    {
        QFETCH(QString, locale);
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        auto platform = standInPlatform();
        setStandInOutput("(\n    " + stored.toLatin1() + "\n)\n", false);
        TestEnvironment::setLanguage(locale);
        const AppListingPtr listing = AppListing::initWithPath(writeApp("Atlas", {"en"}), platform);
        QCOMPARE(listing->localizedAutoLang(), expected);
    }

    // With the real tool: a change made outside Vexilo shows at the next selection.
    void selectionSeesChangesMadeOutside()
    {
        auto platform = std::make_shared<const Platform>(m_env->platform());
        writeApp("Atlas", {"en", "fr", "de"});
        Controller controller(platform);
        MainWindow window(controller);
        const AppListingPtr catalogueListing =
            AppListing::initWithPath(m_env->applicationsDirectory() + "/Atlas.app", platform);

        controller.clickedListing(catalogueListing);
        QVERIFY(!controller.currentListing()->hasAutomaticLanguage());

        QCOMPARE(runTool(StoredLanguage::writeArguments("org.example.Atlas", "fr")),
                 QProcess::NormalExit);
        controller.clickedListing(catalogueListing);
        QCOMPARE(controller.currentListing()->automaticLanguage(), "fr");
        QCOMPARE(controller.currentListing()->indexOfAutoLang(),
                 int(controller.currentListing()->langs().indexOf("fr")));
        QCOMPARE(catalogueListing->autoLang(), "fr");

        runTool({"write", "org.example.Atlas", "AppleLanguages", "-array", "de", "fr"});
        controller.clickedListing(catalogueListing);
        QCOMPARE(controller.currentListing()->automaticLanguage(), "de");

        runTool(StoredLanguage::deleteArguments("org.example.Atlas"));
        controller.clickedListing(catalogueListing);
        QVERIFY(!controller.currentListing()->hasAutomaticLanguage());
        QVERIFY(!catalogueListing->hasAutoLang());
    }
};

QTEST_MAIN(TestStoredLanguage)
#include "tst_storedlanguage.moc"
