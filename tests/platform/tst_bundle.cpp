#include "BundleBuilder.h"
#include "HostilePlists.h"
#include "TestEnvironment.h"
#include "platform/bundle/Bundle.h"
#include "platform/icon/IconImage.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QStringList words(const QString &text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
}

} // namespace

class TestBundle : public QObject {
    Q_OBJECT

private slots:
    void infoPlist_data()
    {
        QTest::addColumn<QByteArray>("kind"); // how Info.plist is written, or its contents
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QString>("version");

        QTest::newRow("xml") << QByteArray("xml") << u"org.example.Reader"_s << u"2.1"_s;
        QTest::newRow("binary") << QByteArray("binary") << u"org.example.Reader"_s << u"2.1"_s;
        QTest::newRow("no identifier") << QByteArray("noid") << QString() << u"2.1"_s;
        QTest::newRow("no Info.plist") << QByteArray("none") << QString() << QString();
        QTest::newRow("garbage") << QByteArray("\x00\x01garbage\xFF<<", 11) << QString()
                                 << QString();
        QTest::newRow("not a dictionary")
            << QByteArray("<plist><array/></plist>") << QString() << QString();
    }
    void infoPlist()
    {
        QFETCH(QByteArray, kind);
        QFETCH(QString, identifier);

        BundleBuilder builder(freshPath());
        builder.info("CFBundleVersion", "2.1").languages({"ja"});
        if (!identifier.isEmpty())
            builder.identifier(identifier);
        else if (kind == "none")
            builder.noInfoPlist();
        else if (kind != "noid")
            builder.noInfoPlist().file("Info.plist", kind);
        if (kind == "binary")
            builder.binaryInfoPlist();
        const QString path = builder.write();
        QFile plist(path + "/Contents/Info.plist");
        QCOMPARE(plist.open(QIODevice::ReadOnly) && plist.peek(6) == "bplist", kind == "binary");

        const auto bundle = Bundle::bundleWithPath(path);
        QVERIFY(bundle);
        QCOMPARE(bundle->bundleIdentifier(), identifier);
        QTEST(bundle->infoDictionary().value("CFBundleVersion").toString(), "version");
        QCOMPARE(bundle->localizations(), QStringList{"ja"});
    }

    void preferredLocalization_data()
    {
        QTest::addColumn<QString>("localizations");
        QTest::addColumn<QString>("developmentRegion");
        QTest::addColumn<QString>("preferred");
        QTest::addColumn<QString>("expected");

        // Which folder serves a language is the matcher's; these are the bundle's fallbacks.
        QTest::newRow("a match") << u"en fr fr_CA"_s << u"en"_s << u"fr_CA"_s << u"fr_CA"_s;
        QTest::newRow("development region") << u"de fr"_s << u"French"_s << u"ja"_s << u"fr"_s;
        QTest::newRow("then English") << u"de en"_s << u"it"_s << u""_s << u"en"_s;
        QTest::newRow("Base is no language") << u"Base fr"_s << u"Base"_s << u"ja"_s << u"fr"_s;
        QTest::newRow("Base alone") << u"Base"_s << u""_s << u"ja"_s << u"Base"_s;
        QTest::newRow("none") << u""_s << u"en"_s << u"en"_s << u""_s;
    }
    void preferredLocalization()
    {
        QFETCH(QString, localizations);
        QFETCH(QString, developmentRegion);
        QFETCH(QString, preferred);

        BundleBuilder builder(freshPath());
        builder.languages(words(localizations))
            .info("CFBundleDevelopmentRegion", developmentRegion);
        const auto bundle = Bundle::bundleWithPath(builder.write());
        QVERIFY(bundle);
        QTEST(bundle->preferredLocalization(words(preferred)), "expected");
    }

    void localizedInfo()
    {
        QStringEncoder toUtf16(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom);
        const QByteArray japanese = toUtf16.encode(u"/* ja */\nCFBundleName = \"\u65d7\";\n");
        const auto bundle = Bundle::bundleWithPath(
            BundleBuilder(freshPath())
                .info("CFBundleName", "Plain")
                .info("CFBundleVersion", "7")
                .languages({"it"})
                .localizedInfo("French", {{"CFBundleName", "Drapeaux"}})
                .file("Resources/ja.lproj/InfoPlist.strings", japanese)
                .file("Resources/sv.lproj/InfoPlist.strings", "broken = ")
                .file("Resources/de.lproj/InfoPlist.strings", HostilePlists::all().first().bytes)
                .write());
        QVERIFY(bundle);
        QCOMPARE(bundle->localizedInfoDictionary({"ja"}).value("CFBundleName"), u"\u65d7"_s);
        // No strings file, or a broken or hostile one: nothing localised, the plain value answers.
        for (const char *language : {"it", "sv", "de"}) {
            QVERIFY(bundle->localizedInfoDictionary({language}).isEmpty());
            QCOMPARE(bundle->objectForInfoDictionaryKey("CFBundleName", {language}), "Plain");
        }
        QCOMPARE(bundle->objectForInfoDictionaryKey("CFBundleName", {"fr_CA"}), "Drapeaux");
        QCOMPARE(bundle->objectForInfoDictionaryKey("CFBundleVersion", {"fr"}), "7");
        QCOMPARE(bundle->infoDictionary().value("CFBundleName"), "Plain");
    }

    void executableConfinedToMacOS_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("linkMacOS"); // MacOS itself a link to /bin
        QTest::addColumn<bool>("accepted");

        QTest::newRow("plain file") << u"Tool"_s << false << true;
        QTest::newRow("link inside MacOS") << u"Link"_s << false << true;
        QTest::newRow("missing") << u"Missing"_s << false << false;
        QTest::newRow("dot-dot") << u"../Resources/Tool"_s << false << false;
        QTest::newRow("absolute") << u"/bin/sh"_s << false << false;
        QTest::newRow("link outside") << u"System"_s << false << false;
        QTest::newRow("MacOS linked elsewhere") << u"sh"_s << true << false;
    }
    void executableConfinedToMacOS()
    {
        QFETCH(QString, name);
        QFETCH(bool, linkMacOS);
        QFETCH(bool, accepted);

        BundleBuilder builder(freshPath());
        // The escapes reach real files: they are not refused merely for pointing at nothing.
        builder.info("CFBundleExecutable", name).file("Resources/Tool", "#!/bin/sh\n");
        if (!linkMacOS)
            builder.file("MacOS/Tool", "#!/bin/sh\n");
        const QString macOS = builder.write() + "/Contents/MacOS";
        QVERIFY(linkMacOS ? QFile::link("/bin", macOS)
                          : QFile::link("Tool", macOS + "/Link") &&
                                QFile::link("/bin/sh", macOS + "/System"));

        const auto bundle = Bundle::bundleWithPath(macOS + "/../..");
        QVERIFY(bundle);
        QCOMPARE(bundle->executablePath(), accepted ? macOS + "/" + name : QString());
    }

    void opening()
    {
        QVERIFY(!Bundle::bundleWithPath(m_dir.filePath("Missing.app")));
        QVERIFY(!Bundle::bundleWithPath(QString()));
        const QString path = BundleBuilder(freshPath()).identifier("org.example.Slash").write();
        QCOMPARE(Bundle::bundleWithPath(path + "/")->bundlePath(), path);
    }

    void realWorldBundles()
    {
        VEXILO_REQUIRE_REALWORLD();
        const auto bundle = Bundle::bundleWithPath(VEXILO_TEST_REALWORLD "/Autoupdate.app");
        QVERIFY(bundle);
        QCOMPARE(bundle->bundleIdentifier(), "org.sparkle-project.Sparkle.Autoupdate");
        QCOMPARE(bundle->localizations().size(), 32);
        for (const char *code : {"pt_BR", "zh_CN", "zh_TW"})
            QVERIFY2(bundle->localizations().contains(QLatin1String(code)), code);
        // Development region "English" reaches the "en" folder.
        const char *const matches[][2] = {{"eo", "en"},
                                          {"pt_PT", "pt_PT"},
                                          {"pt_BR", "pt_BR"},
                                          {"zh_HK", "zh_TW"},
                                          {"nb_NO", "nb"}};
        for (const auto &[preferred, expected] : matches)
            QCOMPARE(bundle->preferredLocalization({preferred}), expected);
        const QString iconFile = bundle->infoDictionary().value("CFBundleIconFile").toString();
        QCOMPARE(iconFile, "AppIcon.icns");
        const QImage icon = IconImage::decodeLargest(bundle->resourcePath() + "/" + iconFile);
        QVERIFY(icon.width() >= 32);
        QCOMPARE(icon.width(), icon.height());

        // The 2009 resources: classic folder names, UTF-16 strings files in both byte orders.
        const QString midiKeys = BundleBuilder(freshPath()).noInfoPlist().write();
        QVERIFY(
            QFile::link(VEXILO_TEST_REALWORLD "/MidiKeys-2009", midiKeys + "/Contents/Resources"));
        const auto classic = Bundle::bundleWithPath(midiKeys);
        QVERIFY(classic);
        QCOMPARE(classic->preferredLocalization({"ja-JP"}), "Japanese");
        QCOMPARE(classic->preferredLocalization({"ko"}), "English");
        QCOMPARE(classic->objectForInfoDictionaryKey("CFBundleName", {"fr"}), "MidiKeys");
        QCOMPARE(classic->objectForInfoDictionaryKey("CFBundleShortVersionString", {"de"}), "1.9");
    }

private:
    QTemporaryDir m_dir;
    int m_counter = 0;
    QString freshPath() { return m_dir.filePath(u"App-%1.app"_s.arg(++m_counter)); }
};

QTEST_GUILESS_MAIN(TestBundle)
#include "tst_bundle.moc"
