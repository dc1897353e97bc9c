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

        row("xml", QByteArray("xml"), "org.example.Reader", "2.1");
        row("binary", QByteArray("binary"), "org.example.Reader", "2.1");
        row("no identifier", QByteArray("noid"), QString(), "2.1");
        row("no Info.plist", QByteArray("none"), QString(), QString());
        row("garbage", QByteArray("\x00\x01garbage\xFF<<", 11), QString(), QString());
        row("not a dictionary", QByteArray("<plist><array/></plist>"), QString(), QString());
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
        row("a match", "en fr fr_CA", "en", "fr_CA", "fr_CA");
        row("development region", "de fr", "French", "ja", "fr");
        row("then English", "de en", "it", "", "en");
        row("Base is no language", "Base fr", "Base", "ja", "fr");
        row("Base alone", "Base", "", "ja", "Base");
        row("none", "", "en", "en", "");
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
        row("zh_TW: traditional", chinese, "zh_TW", "zh-Hant");
        row("zh_HK: traditional", chinese, "zh_HK", "zh-Hant");
        row("zh_Hant", chinese, "zh_Hant", "zh-Hant");
        row("zh_CN: simplified", chinese, "zh_CN", "zh-Hans");
        row("zh_SG: simplified", chinese, "zh_SG", "zh-Hans");
        row("zh: the bare folder", chinese, "zh", "zh");
        row("region folders, zh_HK", "zh_CN zh_TW", "zh_HK", "zh_TW");
        row("zh_MO through zh_Hant_HK", "zh_CN zh_HK zh_TW", "zh_MO", "zh_HK");
        row("only simplified for zh_TW", "en zh-Hans", "zh_TW", "zh-Hans");

        const QString portuguese = u"en pt pt-BR pt-PT"_s;
        row("pt_BR", portuguese, "pt_BR", "pt-BR");
        row("pt_PT", portuguese, "pt_PT", "pt-PT");
        row("pt_AO through pt_PT", portuguese, "pt_AO", "pt-PT");
        row("pt_PT without pt-PT: the plain one", "pt pt_BR", "pt_PT", "pt");
        row("pt is Brazilian", "pt_BR pt_PT", "pt", "pt_BR");

        // Opening the locale data of "no_NO" never returned with ICU 72.
        row("no_NO: Norwegian", "en no nb", "no_NO", "no");
        row("es_MX: Latin America", "es es-419", "es_MX", "es-419");
        row("es_ES: Spain", "es es-419", "es_ES", "es");
        row("es_MX without es-419", "es es_ES", "es_MX", "es");

        row("classic names", "English French German", "fr_FR.UTF-8", "French");
        row("classic name beside its code", "English en", "en_US", "en");
        row("another spelling", "en ZH-hant", "zh_TW", "ZH-hant");
        row("en_GB: the plain one over another region", "en_AU en", "en_GB", "en");
        row("first preference that matches", "en de fr", "ja de fr", "de");
        row("none", "en fr", "ja ko", "");
        row("not a language", "en Base", "../x", "");

        // gettext's variants: one serves only who asks for it, and is chosen then.
        const QString variants = u"ca ca@valencia sr sr@latin"_s;
        row("ca@valencia", variants, "ca@valencia", "ca@valencia");
        row("ca_ES.UTF-8@valencia", variants, "ca_ES.UTF-8@valencia", "ca@valencia");
        row("plain ca", variants, "ca_ES", "ca");
        row("sr@latin", variants, "sr_RS@latin", "sr@latin");
        row("sr, Cyrillic", variants, "sr", "sr");
        row("no plain catalogue", "en ca@valencia", "ca", "");
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

        row("plain file", "Tool", false, true);
        row("link inside MacOS", "Link", false, true);
        row("missing", "Missing", false, false);
        row("dot-dot", "../Resources/Tool", false, false);
        row("absolute", "/bin/sh", false, false);
        row("link outside", "System", false, false);
        row("MacOS linked elsewhere", "sh", true, false);
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

        row("bundle in the folder", "org.example.alpha", QString("Alpha.app"));
        row("binary Info.plist", "org.example.binary", QString("Binary.app"));
        row("link to a bundle", "org.example.linked", QString("Linked.app"));
        row("one level too deep", "org.example.deep", QString());
        row("unknown identifier", "org.example.nobody", QString());
        row("empty identifier", "", QString());
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
