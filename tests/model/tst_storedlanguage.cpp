#include "BundleBuilder.h"
#include "TestEnvironment.h"
#include "Workspace.h"
#include "catalogue/AppListing.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguage.h"
#include "language/StoredLanguages.h"
#include "panel/Selection.h"

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

    // The stored languages as the stand-in tool reports them.
    StoredLanguages standIn()
    {
        Platform platform = m_env->platform();
        platform.mainBundlePath = writeStandInBundle(m_env->root());
        qputenv("STANDIN_DIR", QFile::encodeName(m_env->root()));
        return StoredLanguages(platform.defaultsToolPath());
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
        QTest::newRow("region") << QByteArray("(\n    en_GB,\n    fr\n)\n") << u"en_GB"_s;
        QTest::newRow("quoted element")
            << QByteArray("(\n    \"en-GB\",\n    fr\n)\n") << u"en-GB"_s;
        QTest::newRow("quoted with script")
            << QByteArray("(\n    \"zh-Hant\"\n)\n") << u"zh-Hant"_s;
        QTest::newRow("blank inside quotes") << QByteArray("(\n    \"en GB\"\n)\n") << u""_s;
        QTest::newRow("unterminated quotes") << QByteArray("(\n    \"en_GB") << u""_s;
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
        StoredLanguages stored = standIn();
        setStandInOutput(output, onStandardError);
        const QString identifier = "org.example.Atlas";

        QCOMPARE(stored.storedLanguage(identifier).value_or(QString()), expected);
        QCOMPARE(stored.storedLanguage(identifier).has_value(), !expected.isEmpty());
        QVERIFY(stored.isKnown(identifier));
        QCOMPARE(stored.knownStoredLanguage(identifier).value_or(QString()), expected);
        QCOMPARE(standInCalls(), QStringList{"read org.example.Atlas AppleLanguages"});

        // Forgotten (as every selection does), it is asked again.
        stored.forget(identifier);
        stored.storedLanguage(identifier);
        QCOMPARE(standInCalls().size(), 2);
        // An application without identifier has no preferences to read.
        QVERIFY(!stored.storedLanguage(QString()));
        QCOMPARE(standInCalls().size(), 2);
    }

    void stateSetByTheAlwaysOpenCommandNeedsNoProbe()
    {
        StoredLanguages stored = standIn();
        setStandInOutput("(\n    fr\n)\n", false);
        stored.remember("org.example.Atlas", u"de"_s);
        QCOMPARE(stored.storedLanguage("org.example.Atlas"), u"de"_s);
        stored.remember("org.example.Atlas", std::nullopt);
        QVERIFY(!stored.storedLanguage("org.example.Atlas"));
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
        QTest::newRow("another spelling") << QStringList{"en", "FR"} << u"fr"_s << u"FR"_s;
        QTest::newRow("region served by its language")
            << QStringList{"en", "fr"} << u"en_GB"_s << u"en"_s;
        QTest::newRow("zh_TW served by zh-Hant")
            << QStringList{"zh-Hans", "zh-Hant"} << u"zh_TW"_s << u"zh-Hant"_s;
        QTest::newRow("neither") << QStringList{"en", "de"} << u"fr"_s << u""_s;
        QTest::newRow("code without a name") << QStringList{"en", "de"} << u"qq"_s << u""_s;
    }
    void indexOfAutoLang()
    {
        QFETCH(QStringList, langs);
        QFETCH(QString, stored);
        QFETCH(QString, expectedFolder);
        // Names stay English whatever the user's language.
        TestEnvironment::setLanguage("fr_FR", "fr");
        QCOMPARE(indexOfStoredLanguage(stored, langs), expectedFolder.isEmpty()
                                                           ? AppListing::NotFound
                                                           : int(langs.indexOf(expectedFolder)));
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
        TestEnvironment::setLanguage(locale);
        QCOMPARE(localizedStoredLanguage(stored), expected);
    }

    // With the real tool: a change made outside Vexilo shows at the next selection.
    void selectionSeesChangesMadeOutside()
    {
        auto platform = std::make_shared<const Platform>(m_env->platform());
        const QString path = writeApp("Atlas", {"en", "fr", "de"});
        StoredLanguages stored(platform->defaultsToolPath());
        RunningInstances running(platform->processes);
        Selection selection(platform, stored, running);
        const AppListingPtr listing = AppListing::fromPath(path, *platform->workspace);
        auto alwaysOpenMarked = [&] { return selection.panel().entries.first().checked; };
        // The language the always-open mark belongs to is chosen first.
        auto choose = [&](const QString &code) {
            selection.chooseLanguage(Panel::kFirstLanguage +
                                     int(selection.current()->langs().indexOf(code)));
        };

        selection.select(listing);
        QVERIFY(!stored.knownStoredLanguage("org.example.Atlas"));
        QVERIFY(!alwaysOpenMarked());

        QCOMPARE(runTool(StoredLanguage::writeArguments("org.example.Atlas", "fr")),
                 QProcess::NormalExit);
        selection.select(listing);
        QCOMPARE(stored.knownStoredLanguage("org.example.Atlas"), u"fr"_s);
        choose("fr");
        QVERIFY(alwaysOpenMarked());

        runTool({"write", "org.example.Atlas", "AppleLanguages", "-array", "de", "fr"});
        selection.select(listing);
        choose("fr");
        QVERIFY(!alwaysOpenMarked());
        choose("de");
        QVERIFY(alwaysOpenMarked());

        runTool(StoredLanguage::deleteArguments("org.example.Atlas"));
        selection.select(listing);
        choose("de");
        QVERIFY(!alwaysOpenMarked());
        QVERIFY(!stored.knownStoredLanguage("org.example.Atlas"));
    }
};

QTEST_MAIN(TestStoredLanguage)
#include "tst_storedlanguage.moc"
