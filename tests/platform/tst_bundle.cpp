#include "BundleBuilder.h"
#include "HostilePlists.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "platform/bundle/Bundle.h"
#include "platform/bundle/Workspace.h"
#include "platform/icon/IconImage.h"
#include "platform/locale/LocalizationMatch.h"

#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

// Reading a bundle, choosing its localisation, and finding it by identifier.
class TestBundle : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }

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

    // Folder sets as published applications lay them out, and the users who meet them.
    void bestMatch_data()
    {
        QTest::addColumn<QString>("available");
        QTest::addColumn<QString>("preferred"); // the user's languages, best first
        QTest::addColumn<QString>("expected");

        const QString chinese = u"en zh zh-Hans zh-Hant"_s;
        QTest::newRow("zh_TW: traditional") << chinese << u"zh_TW"_s << u"zh-Hant"_s;
        QTest::newRow("zh_HK: traditional") << chinese << u"zh_HK"_s << u"zh-Hant"_s;
        QTest::newRow("zh_Hant") << chinese << u"zh_Hant"_s << u"zh-Hant"_s;
        QTest::newRow("zh_CN: simplified") << chinese << u"zh_CN"_s << u"zh-Hans"_s;
        QTest::newRow("zh_SG: simplified") << chinese << u"zh_SG"_s << u"zh-Hans"_s;
        QTest::newRow("zh: the bare folder") << chinese << u"zh"_s << u"zh"_s;
        QTest::newRow("region folders, zh_HK") << u"zh_CN zh_TW"_s << u"zh_HK"_s << u"zh_TW"_s;
        QTest::newRow("zh_MO through zh_Hant_HK")
            << u"zh_CN zh_HK zh_TW"_s << u"zh_MO"_s << u"zh_HK"_s;
        QTest::newRow("only simplified for zh_TW") << u"en zh-Hans"_s << u"zh_TW"_s << u"zh-Hans"_s;

        const QString portuguese = u"en pt pt-BR pt-PT"_s;
        QTest::newRow("pt_BR") << portuguese << u"pt_BR"_s << u"pt-BR"_s;
        QTest::newRow("pt_PT") << portuguese << u"pt_PT"_s << u"pt-PT"_s;
        QTest::newRow("pt_AO through pt_PT") << portuguese << u"pt_AO"_s << u"pt-PT"_s;
        QTest::newRow("pt_PT without pt-PT: the plain one")
            << u"pt pt_BR"_s << u"pt_PT"_s << u"pt"_s;
        QTest::newRow("pt is Brazilian") << u"pt_BR pt_PT"_s << u"pt"_s << u"pt_BR"_s;

        // Opening the locale data of "no_NO" never returned with ICU 72.
        QTest::newRow("no_NO: Norwegian") << u"en no nb"_s << u"no_NO"_s << u"no"_s;
        QTest::newRow("es_MX: Latin America") << u"es es-419"_s << u"es_MX"_s << u"es-419"_s;
        QTest::newRow("es_ES: Spain") << u"es es-419"_s << u"es_ES"_s << u"es"_s;
        QTest::newRow("es_MX without es-419") << u"es es_ES"_s << u"es_MX"_s << u"es"_s;

        QTest::newRow("classic names")
            << u"English French German"_s << u"fr_FR.UTF-8"_s << u"French"_s;
        QTest::newRow("classic name beside its code") << u"English en"_s << u"en_US"_s << u"en"_s;
        QTest::newRow("another spelling") << u"en ZH-hant"_s << u"zh_TW"_s << u"ZH-hant"_s;
        QTest::newRow("en_GB: the plain one over another region")
            << u"en_AU en"_s << u"en_GB"_s << u"en"_s;
        QTest::newRow("first preference that matches") << u"en de fr"_s << u"ja de fr"_s << u"de"_s;
        QTest::newRow("none") << u"en fr"_s << u"ja ko"_s << u""_s;
        QTest::newRow("not a language") << u"en Base"_s << u"../x"_s << u""_s;

        // gettext's variants: one serves only who asks for it, and is chosen then.
        const QString variants = u"ca ca@valencia sr sr@latin"_s;
        QTest::newRow("ca@valencia") << variants << u"ca@valencia"_s << u"ca@valencia"_s;
        QTest::newRow("ca_ES.UTF-8@valencia")
            << variants << u"ca_ES.UTF-8@valencia"_s << u"ca@valencia"_s;
        QTest::newRow("plain ca") << variants << u"ca_ES"_s << u"ca"_s;
        QTest::newRow("sr@latin") << variants << u"sr_RS@latin"_s << u"sr@latin"_s;
        QTest::newRow("sr, Cyrillic") << variants << u"sr"_s << u"sr"_s;
        QTest::newRow("no plain catalogue") << u"en ca@valencia"_s << u"ca"_s << u""_s;
    }
    void bestMatch()
    {
        QFETCH(QString, available);
        QFETCH(QString, preferred);
        QFETCH(QString, expected);
        const QStringList folders = available.split(u' ');
        const QStringList languages = preferred.split(u' ');
        QCOMPARE(LocalizationMatch::firstMatch(folders, languages), expected);
        // The order the file system lists folders in changes nothing.
        QStringList reversed(folders.crbegin(), folders.crend());
        QCOMPARE(LocalizationMatch::firstMatch(reversed, languages), expected);
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
        QCOMPARE(Bundle::executablePath(bundle->bundlePath(), bundle->executableName()),
                 accepted ? macOS + "/" + name : QString());
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
        const QImage icon = IconImage::loadToFit(bundle->resourcePath() + "/" + iconFile, 1024);
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

    void applicationsFolderLookup_data()
    {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QString>("expected"); // relative to the applications folder

        QTest::newRow("bundle in the folder") << "org.example.alpha" << QString("Alpha.app");
        QTest::newRow("binary Info.plist") << "org.example.binary" << QString("Binary.app");
        QTest::newRow("link to a bundle") << "org.example.linked" << QString("Linked.app");
        QTest::newRow("one level too deep") << "org.example.deep" << QString();
        QTest::newRow("unknown identifier") << "org.example.nobody" << QString();
        QTest::newRow("empty identifier") << "" << QString();
    }
    void applicationsFolderLookup()
    {
        QFETCH(QString, identifier);
        QFETCH(QString, expected);

        const QString apps = m_env->applicationsDirectory();
        BundleBuilder(apps + "/Alpha.app").identifier("org.example.alpha").write();
        BundleBuilder(apps + "/Binary.app")
            .identifier("org.example.binary")
            .binaryInfoPlist()
            .write();
        BundleBuilder(outside("Real.app")).identifier("org.example.linked").write();
        QVERIFY(QFile::link(outside("Real.app"), apps + "/Linked.app"));
        BundleBuilder(apps + "/Utilities/Deep.app").identifier("org.example.deep").write();
        // Broken neighbours must not stop the scan.
        BundleBuilder(apps + "/Corrupt.app")
            .noInfoPlist()
            .file("Info.plist", "<plist><dict>")
            .write();
        QVERIFY(QFile::link(m_env->root() + "/missing.app", apps + "/Dangling.app"));

        QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier(identifier),
                 expected.isEmpty() ? QString() : apps + "/" + expected);
    }

    // Lookups remember the folder between calls, but never answer from an outdated picture of
    // it.
    void folderChangesAreSeen()
    {
        const QString apps = m_env->applicationsDirectory();
        BundleBuilder(apps + "/Alpha.app").identifier("org.example.alpha").write();
        QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier("org.example.alpha"),
                 apps + "/Alpha.app");
        QVERIFY(workspace().absolutePathForAppBundleWithIdentifier("org.example.beta").isEmpty());

        BundleBuilder(apps + "/Beta.app").identifier("org.example.beta").write();
        QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier("org.example.beta"),
                 apps + "/Beta.app");
        // Same folder entries, another identifier inside.
        BundleBuilder(apps + "/Alpha.app").identifier("org.example.gamma").write();
        QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier("org.example.gamma"),
                 apps + "/Alpha.app");
        QVERIFY(workspace().absolutePathForAppBundleWithIdentifier("org.example.alpha").isEmpty());
    }

    void rememberedBundles()
    {
        const QString noId =
            BundleBuilder(outside("NoId.app")).info("CFBundleName", "NoId").write();
        workspace().rememberApplication(noId);
        const QString registry = Workspace::defaultRegistryFile();
        QVERIFY(!QFile::exists(registry));
        // A corrupt registry holds nothing and is replaced.
        QVERIFY(QDir().mkpath(QFileInfo(registry).path()) &&
                !writeFile(registry, "\xff\xfe garbage <plist>").isEmpty());

        const QString one = BundleBuilder(outside("One.app")).identifier("org.example.one").write();
        const QString two = BundleBuilder(outside("Two.app")).identifier("org.example.two").write();
        // Another Vexilo sharing the registry, already read: neither loses the other's entry.
        Workspace other(Workspace::defaultApplicationsDirectory(), registry);
        QCOMPARE(other.absolutePathForAppBundleWithIdentifier("org.example.one"), QString());
        workspace().rememberApplication(one);
        other.rememberApplication(two);
        QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier("org.example.one"), one);

        // The next start finds them both.
        Workspace later(Workspace::defaultApplicationsDirectory(), registry);
        QCOMPARE(later.absolutePathForAppBundleWithIdentifier("org.example.one"), one);
        QCOMPARE(later.absolutePathForAppBundleWithIdentifier("org.example.two"), two);

        // A remembered path is checked against the bundle as it is now.
        BundleBuilder(one).identifier("org.example.other").write();
        QVERIFY(QDir(two).removeRecursively());
        for (Workspace *ws : {&workspace(), &later}) {
            QCOMPARE(ws->absolutePathForAppBundleWithIdentifier("org.example.one"), QString());
            QCOMPARE(ws->absolutePathForAppBundleWithIdentifier("org.example.two"), QString());
        }
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    Workspace &workspace() const { return *m_env->platform().workspace; }
    QString outside(const QString &name) const { return m_env->root() + "/elsewhere/" + name; }
    QTemporaryDir m_dir;
    int m_counter = 0;
    QString freshPath() { return m_dir.filePath(u"App-%1.app"_s.arg(++m_counter)); }
};

QTEST_GUILESS_MAIN(TestBundle)
#include "tst_bundle.moc"
