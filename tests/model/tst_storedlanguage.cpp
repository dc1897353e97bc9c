#include "BundleBuilder.h"
#include "TestEnvironment.h"
#include "catalogue/AppListing.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguage.h"
#include "language/StoredLanguages.h"
#include "panel/Selection.h"
#include "platform/bundle/Workspace.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestStoredLanguage : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

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

    // With the real tool: a change made outside Vexilo shows at the next selection, and the
    // always-open mark goes with it.
    void selectionSeesChangesMadeOutside()
    {
        auto platform = std::make_shared<const Platform>(m_env->platform());
        const QString id = "org.example.Atlas";
        const QString path = BundleBuilder(m_env->applicationsDirectory() + "/Atlas.app")
                                 .identifier(id)
                                 .languages({"en", "fr", "de"})
                                 .write();
        StoredLanguages stored(platform);
        RunningInstances running(platform->processes);
        Selection selection(platform, stored, running);
        const AppListingPtr listing = AppListing::fromPath(path, *platform->workspace);
        selection.select(listing);
        QVERIFY(!stored.knownStoredLanguage(id));

        const std::pair<QStringList, QString> changes[] = {
            {StoredLanguage::writeArguments(id, "fr"), "fr"},
            {{"write", id, "AppleLanguages", "-array", "de", "fr"}, "de"},
            {StoredLanguage::deleteArguments(id), ""}};
        for (const auto &[arguments, expected] : changes) {
            QProcess tool;
            tool.start(platform->defaultsToolPath(), arguments);
            QVERIFY(tool.waitForFinished() && tool.exitCode() == 0);
            selection.select(listing);
            QCOMPARE(stored.knownStoredLanguage(id).value_or(QString()), expected);
            for (const QString &code : {"fr", "de"}) {
                selection.chooseLanguage(Panel::kFirstLanguage +
                                         int(selection.current()->langs().indexOf(code)));
                QCOMPARE(selection.panel().entries.first().checked, code == expected);
            }
        }
    }
};

QTEST_MAIN(TestStoredLanguage)
#include "tst_storedlanguage.moc"
