#include "Bundle.h"
#include "BundleBuilder.h"
#include "IconImage.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

bool copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo &entry :
         source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() ? !copyTree(entry.filePath(), target)
                          : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

const QString kRealworld = QStringLiteral(VEXILO_TEST_REALWORLD);

} // namespace

class TestBundle : public QObject {
    Q_OBJECT

private slots:
    void readsInfoPlist_data();
    void readsInfoPlist();
    void withoutInfoPlist();
    void corruptInfoPlist_data();
    void corruptInfoPlist();
    void withoutIdentifier();
    void listsLocalizationFolders();
    void withoutResources();
    void refusesWhatIsNotAFolder_data();
    void refusesWhatIsNotAFolder();
    void preferredLocalization_data();
    void preferredLocalization();
    void localizedInfoDictionary_data();
    void localizedInfoDictionary();
    void localizedValueWins();
    void userLanguagesChooseByDefault();
    void executableConfinedToMacOS_data();
    void executableConfinedToMacOS();
    void bundleWithIdentifierFindsLastOpened();
    void pathForResource();
    void realClassicNamedStrings();
    void realAutoupdateBundle();

private:
    QTemporaryDir m_dir;
    int m_counter = 0;
    QString freshPath(const QString &name = QStringLiteral("App"))
    {
        return m_dir.filePath(QStringLiteral("%1-%2.app").arg(name).arg(++m_counter));
    }
};

void TestBundle::readsInfoPlist_data()
{
    QTest::addColumn<bool>("binary");
    QTest::newRow("xml") << false;
    QTest::newRow("binary") << true;
}

void TestBundle::readsInfoPlist()
{
    QFETCH(bool, binary);
    BundleBuilder builder(freshPath());
    builder.identifier(QStringLiteral("org.example.Reader"))
        .info(QStringLiteral("CFBundleVersion"), QStringLiteral("2.1"))
        .info(QStringLiteral("LSItems"), QVariantList{qlonglong(1), QStringLiteral("two")})
        .languages({QStringLiteral("en")});
    if (binary)
        builder.binaryInfoPlist();
    const QString path = builder.write();
    if (binary) {
        QFile file(path + QStringLiteral("/Contents/Info.plist"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("bplist"));
    }

    const auto bundle = Bundle::bundleWithPath(path);
    QVERIFY(bundle);
    QCOMPARE(bundle->bundlePath(), QDir::cleanPath(path));
    QCOMPARE(bundle->bundleIdentifier(), QStringLiteral("org.example.Reader"));
    QCOMPARE(bundle->infoDictionary().value(QStringLiteral("CFBundleVersion")).toString(),
             QStringLiteral("2.1"));
    QCOMPARE(bundle->infoDictionary().value(QStringLiteral("LSItems")).toList(),
             (QVariantList{qlonglong(1), QStringLiteral("two")}));
    QCOMPARE(bundle->objectForInfoDictionaryKey(QStringLiteral("CFBundleVersion"), {}).toString(),
             QStringLiteral("2.1"));
    QCOMPARE(bundle->resourcePath(), QDir::cleanPath(path) + QStringLiteral("/Contents/Resources"));

    // A trailing slash names the same bundle.
    QCOMPARE(Bundle::bundleWithPath(path + QLatin1Char('/'))->bundlePath(), QDir::cleanPath(path));
}

void TestBundle::withoutInfoPlist()
{
    const QString path = BundleBuilder(freshPath())
                             .noInfoPlist()
                             .languages({QStringLiteral("de"), QStringLiteral("fr")})
                             .write();
    const auto bundle = Bundle::bundleWithPath(path);
    QVERIFY(bundle);
    QVERIFY(bundle->infoDictionary().isEmpty());
    QVERIFY(bundle->bundleIdentifier().isEmpty());
    QVERIFY(bundle->executablePath().isEmpty());
    QCOMPARE(sorted(bundle->localizations()), (QStringList{"de", "fr"}));
}

void TestBundle::corruptInfoPlist_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("garbage") << QByteArray("\x00\x01garbage\xFF<<", 11);
    QTest::newRow("truncated xml") << QByteArray("<?xml version=\"1.0\"?><plist><dict><key>a");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("array instead of dictionary")
        << QByteArray("<plist version=\"1.0\"><array><string>x</string></array></plist>");
}

void TestBundle::corruptInfoPlist()
{
    QFETCH(QByteArray, contents);
    const QString path = BundleBuilder(freshPath())
                             .noInfoPlist()
                             .languages({QStringLiteral("ja")})
                             .file(QStringLiteral("Info.plist"), contents)
                             .write();
    const auto bundle = Bundle::bundleWithPath(path);
    QVERIFY(bundle);
    QVERIFY(bundle->infoDictionary().isEmpty());
    QVERIFY(bundle->bundleIdentifier().isEmpty());
    QCOMPARE(bundle->localizations(), QStringList{QStringLiteral("ja")});
}

void TestBundle::withoutIdentifier()
{
    const QString path = BundleBuilder(freshPath())
                             .info(QStringLiteral("CFBundleName"), QStringLiteral("Nameless"))
                             .write();
    const auto bundle = Bundle::bundleWithPath(path);
    QVERIFY(bundle);
    QVERIFY(bundle->bundleIdentifier().isEmpty());
    QCOMPARE(bundle->infoDictionary().value(QStringLiteral("CFBundleName")).toString(),
             QStringLiteral("Nameless"));
    QVERIFY(!Bundle::bundleWithIdentifier(QString()));

    // An identifier that is not a string is no identifier.
    const auto numeric = Bundle::bundleWithPath(
        BundleBuilder(freshPath()).info(QStringLiteral("CFBundleIdentifier"), 42).write());
    QVERIFY(numeric);
    QVERIFY(numeric->bundleIdentifier().isEmpty());
    QVERIFY(!Bundle::bundleWithIdentifier(QStringLiteral("42")));
}

void TestBundle::listsLocalizationFolders()
{
    const QString path = BundleBuilder(freshPath())
                             .identifier(QStringLiteral("org.example.Langs"))
                             .languages({QStringLiteral("English"), QStringLiteral("fr"),
                                         QStringLiteral("zh_TW"), QStringLiteral("pt-BR")})
                             // Neither a folder ending in .lproj nor a file is a localisation.
                             .file(QStringLiteral("Resources/Images/"))
                             .file(QStringLiteral("Resources/notes.lproj"), "a file, not a folder")
                             .file(QStringLiteral("Resources/Upper.LPROJ/"))
                             .file(QStringLiteral("Resources Disabled/de.lproj/"))
                             .write();
    const auto bundle = Bundle::bundleWithPath(path);
    QVERIFY(bundle);
    QCOMPARE(sorted(bundle->localizations()), (QStringList{"English", "fr", "pt-BR", "zh_TW"}));
}

void TestBundle::withoutResources()
{
    const QString path =
        BundleBuilder(freshPath()).identifier(QStringLiteral("org.example.Bare")).write();
    const auto bundle = Bundle::bundleWithPath(path);
    QVERIFY(bundle);
    QVERIFY(bundle->resourcePath().isEmpty());
    QVERIFY(bundle->localizations().isEmpty());
    QVERIFY(bundle->preferredLocalization({QStringLiteral("en")}).isEmpty());
    QVERIFY(bundle->localizedInfoDictionary({QStringLiteral("en")}).isEmpty());
    QVERIFY(bundle->pathForResource(QStringLiteral("Info"), QStringLiteral("plist"), {}).isEmpty());
}

void TestBundle::refusesWhatIsNotAFolder_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing") << QStringLiteral("Missing.app");
    QTest::newRow("regular file") << QStringLiteral("File.app");
    QTest::newRow("empty path") << QString();
}

void TestBundle::refusesWhatIsNotAFolder()
{
    QFETCH(QString, relative);
    writeFile(m_dir.filePath(QStringLiteral("File.app")), "not a bundle");
    const QString path = relative.isEmpty() ? QString() : m_dir.filePath(relative);
    QVERIFY(!Bundle::bundleWithPath(path));
}

void TestBundle::preferredLocalization_data()
{
    QTest::addColumn<QStringList>("localizations");
    QTest::addColumn<QString>("developmentRegion");
    QTest::addColumn<QStringList>("preferred");
    QTest::addColumn<QString>("expected");

    QTest::newRow("exact") << QStringList{"en", "fr", "fr_CA"} << "" << QStringList{"fr_CA"}
                           << "fr_CA";
    QTest::newRow("exact before language")
        << QStringList{"fr", "fr_CA"} << "" << QStringList{"fr"} << "fr";
    QTest::newRow("dash and underscore alike")
        << QStringList{"en", "fr_CA"} << "" << QStringList{"fr-CA"} << "fr_CA";
    QTest::newRow("dashed folder")
        << QStringList{"en", "pt-BR"} << "" << QStringList{"pt_BR"} << "pt-BR";
    QTest::newRow("codeset and modifier ignored")
        << QStringList{"en", "de_DE"} << "" << QStringList{"de_DE.UTF-8@euro"} << "de_DE";
    QTest::newRow("region to language")
        << QStringList{"en", "fr"} << "" << QStringList{"fr_CA"} << "fr";
    QTest::newRow("language to region")
        << QStringList{"en", "fr_FR"} << "" << QStringList{"fr"} << "fr_FR";
    QTest::newRow("region to another region")
        << QStringList{"en", "fr_FR"} << "" << QStringList{"fr_CA"} << "fr_FR";
    QTest::newRow("language's own region among several")
        << QStringList{"pt_BR", "pt_PT", "en"} << "" << QStringList{"pt"} << "pt_PT";
    QTest::newRow("classic name for a code")
        << QStringList{"English", "French", "German"} << "" << QStringList{"fr"} << "French";
    QTest::newRow("classic name for a regional code")
        << QStringList{"English", "German"} << "" << QStringList{"de_AT"} << "German";
    QTest::newRow("classic name asked for")
        << QStringList{"en", "fr"} << "" << QStringList{"French"} << "fr";
    QTest::newRow("first preference that matches")
        << QStringList{"en", "de", "fr"} << "" << QStringList{"ja", "", "de", "fr"} << "de";
    QTest::newRow("development region code")
        << QStringList{"de", "fr", "it"} << "fr" << QStringList{"ja"} << "fr";
    QTest::newRow("development region as classic name")
        << QStringList{"German", "French"} << "French" << QStringList{"ja"} << "French";
    QTest::newRow("classic development region, code folders")
        << QStringList{"de", "fr"} << "French" << QStringList{"ja"} << "fr";
    QTest::newRow("development region not present, English")
        << QStringList{"de", "en", "fr"} << "it" << QStringList{"ja"} << "en";
    QTest::newRow("English as classic name")
        << QStringList{"German", "English"} << "" << QStringList{"ja"} << "English";
    QTest::newRow("no preferences at all")
        << QStringList{"de", "en"} << "" << QStringList{} << "en";
    QTest::newRow("only one") << QStringList{"sv"} << "" << QStringList{"ja"} << "sv";
    QTest::newRow("none") << QStringList{} << "en" << QStringList{"en"} << "";
}

void TestBundle::preferredLocalization()
{
    QFETCH(QStringList, localizations);
    QFETCH(QString, developmentRegion);
    QFETCH(QStringList, preferred);
    QFETCH(QString, expected);

    BundleBuilder builder(freshPath());
    builder.identifier(QStringLiteral("org.example.Pref")).languages(localizations);
    if (!developmentRegion.isEmpty())
        builder.info(QStringLiteral("CFBundleDevelopmentRegion"), developmentRegion);
    const auto bundle = Bundle::bundleWithPath(builder.write());
    QVERIFY(bundle);
    QCOMPARE(bundle->preferredLocalization(preferred), expected);
}

void TestBundle::localizedInfoDictionary_data()
{
    QTest::addColumn<QStringList>("preferred");
    QTest::addColumn<QString>("expectedName");

    QTest::newRow("code folder") << QStringList{"de"} << QStringLiteral("Flaggen");
    QTest::newRow("classic-named folder for fr")
        << QStringList{"fr_CA", "de"} << QStringLiteral("Drapeaux");
    QTest::newRow("utf-16 strings file") << QStringList{"ja"} << QStringLiteral("\u65d7");
    QTest::newRow("falls back to English") << QStringList{"ko"} << QStringLiteral("Flags");
    QTest::newRow("localisation without strings file") << QStringList{"it"} << QString();
}

void TestBundle::localizedInfoDictionary()
{
    QFETCH(QStringList, preferred);
    QFETCH(QString, expectedName);

    QStringEncoder toUtf16(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom);
    const QByteArray japanese =
        toUtf16.encode(QStringLiteral("/* Japanese */\nCFBundleName = \"\u65d7\";\n"));

    const QString path =
        BundleBuilder(freshPath())
            .identifier(QStringLiteral("org.example.Flags"))
            .languages({QStringLiteral("it")})
            .localizedInfo(QStringLiteral("en"), {{QStringLiteral("CFBundleName"), "Flags"}})
            .localizedInfo(QStringLiteral("de"), {{QStringLiteral("CFBundleName"), "Flaggen"}})
            .localizedInfo(QStringLiteral("French"), {{QStringLiteral("CFBundleName"), "Drapeaux"}})
            .file(QStringLiteral("Resources/ja.lproj/InfoPlist.strings"), japanese)
            .write();
    const auto bundle = Bundle::bundleWithPath(path);
    QVERIFY(bundle);
    const QVariantMap localized = bundle->localizedInfoDictionary(preferred);
    QCOMPARE(localized.value(QStringLiteral("CFBundleName")).toString(), expectedName);
    QCOMPARE(localized.isEmpty(), expectedName.isEmpty());
}

void TestBundle::localizedValueWins()
{
    const QString path =
        BundleBuilder(freshPath())
            .identifier(QStringLiteral("org.example.Wins"))
            .info(QStringLiteral("CFBundleName"), QStringLiteral("Plain"))
            .info(QStringLiteral("CFBundleVersion"), QStringLiteral("7"))
            .localizedInfo(QStringLiteral("fr"), {{QStringLiteral("CFBundleName"), "Localisé"},
                                                  {QStringLiteral("PromoLine"), "Promo"}})
            .languages({QStringLiteral("en")})
            .file(QStringLiteral("Resources/de.lproj/InfoPlist.strings"), "broken = ")
            .write();
    const auto bundle = Bundle::bundleWithPath(path);
    QVERIFY(bundle);
    const QStringList fr{QStringLiteral("fr")};
    QCOMPARE(bundle->objectForInfoDictionaryKey(QStringLiteral("CFBundleName"), fr).toString(),
             QStringLiteral("Localisé"));
    QCOMPARE(bundle->objectForInfoDictionaryKey(QStringLiteral("PromoLine"), fr).toString(),
             QStringLiteral("Promo"));
    QCOMPARE(bundle->objectForInfoDictionaryKey(QStringLiteral("CFBundleVersion"), fr).toString(),
             QStringLiteral("7"));
    QVERIFY(!bundle->objectForInfoDictionaryKey(QStringLiteral("Missing"), fr).isValid());
    // English has no strings file and German a broken one: the plain value answers.
    for (const QString &lang : {QStringLiteral("en"), QStringLiteral("de")}) {
        QCOMPARE(
            bundle->objectForInfoDictionaryKey(QStringLiteral("CFBundleName"), {lang}).toString(),
            QStringLiteral("Plain"));
    }
    // The plain dictionary is not changed by the localised one.
    QCOMPARE(bundle->infoDictionary().value(QStringLiteral("CFBundleName")).toString(),
             QStringLiteral("Plain"));
}

void TestBundle::userLanguagesChooseByDefault()
{
    const QByteArray oldLanguage = qgetenv("LANGUAGE");
    const QByteArray oldLang = qgetenv("LANG");
    const QByteArray oldAll = qgetenv("LC_ALL");
    const QByteArray oldMessages = qgetenv("LC_MESSAGES");
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qputenv("LANG", "de_DE.UTF-8");
    qputenv("LANGUAGE", "sv:de");

    const QString path =
        BundleBuilder(freshPath())
            .identifier(QStringLiteral("org.example.Env"))
            .localizedInfo(QStringLiteral("en"), {{QStringLiteral("CFBundleName"), "Flags"}})
            .localizedInfo(QStringLiteral("de"), {{QStringLiteral("CFBundleName"), "Flaggen"}})
            .file(QStringLiteral("Resources/de.lproj/help.html"), "<p>Hilfe</p>")
            .write();
    const auto bundle = Bundle::bundleWithPath(path);
    const QString name =
        bundle ? bundle->objectForInfoDictionaryKey(QStringLiteral("CFBundleName")).toString()
               : QString();
    const QString localizedName =
        bundle ? bundle->localizedInfoDictionary().value(QStringLiteral("CFBundleName")).toString()
               : QString();
    const QString help =
        bundle ? bundle->pathForResource(QStringLiteral("help"), QStringLiteral("html"))
               : QString();

    auto restore = [](const char *name, const QByteArray &value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    restore("LANGUAGE", oldLanguage);
    restore("LANG", oldLang);
    restore("LC_ALL", oldAll);
    restore("LC_MESSAGES", oldMessages);

    QVERIFY(bundle);
    QCOMPARE(name, QStringLiteral("Flaggen"));
    QCOMPARE(localizedName, QStringLiteral("Flaggen"));
    QCOMPARE(help,
             QDir::cleanPath(path) + QStringLiteral("/Contents/Resources/de.lproj/help.html"));
}

void TestBundle::executableConfinedToMacOS_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("plain file") << "file"
                                << "Tool" << true;
    QTest::newRow("link to a file inside MacOS") << "link-inside"
                                                 << "Tool" << true;
    QTest::newRow("missing") << "none"
                             << "Tool" << false;
    QTest::newRow("no name") << "file"
                             << "" << false;
    QTest::newRow("a folder") << "folder"
                              << "Tool" << false;
    QTest::newRow("dot-dot out of the bundle") << "outside"
                                               << "../../../bin/sh" << false;
    QTest::newRow("dot-dot into Resources") << "resources"
                                            << "../Resources/Tool" << false;
    QTest::newRow("absolute name") << "file"
                                   << "/bin/sh" << false;
    QTest::newRow("link to a system program") << "link-system"
                                              << "Tool" << false;
    QTest::newRow("link into Resources") << "link-resources"
                                         << "Tool" << false;
    QTest::newRow("MacOS linked to a system folder") << "macos-link"
                                                     << "sh" << false;
}

void TestBundle::executableConfinedToMacOS()
{
    QFETCH(QString, setup);
    QFETCH(QString, name);
    QFETCH(bool, accepted);

    QTemporaryDir root;
    const QString path = root.filePath(QStringLiteral("Tool.app"));
    BundleBuilder(path)
        .identifier(QStringLiteral("org.example.Tool"))
        .info(QStringLiteral("CFBundleExecutable"), name)
        .write();
    const QString contents = path + QStringLiteral("/Contents");
    const QString macOS = contents + QStringLiteral("/MacOS");
    QDir().mkpath(macOS);
    // Targets a name escaping the bundle would reach, so the escape is not refused merely for
    // pointing at nothing.
    writeFile(root.filePath(QStringLiteral("bin/sh")), "#!/bin/sh\n");
    writeFile(contents + QStringLiteral("/Resources/Tool"), "#!/bin/sh\n");

    if (setup == QLatin1String("file")) {
        writeFile(macOS + QStringLiteral("/Tool"), "#!/bin/sh\n");
    } else if (setup == QLatin1String("link-inside")) {
        writeFile(macOS + QStringLiteral("/Tool-real"), "#!/bin/sh\n");
        QVERIFY(QFile::link(QStringLiteral("Tool-real"), macOS + QStringLiteral("/Tool")));
    } else if (setup == QLatin1String("folder")) {
        QDir().mkpath(macOS + QStringLiteral("/Tool"));
    } else if (setup == QLatin1String("link-system")) {
        QVERIFY(QFile::link(QStringLiteral("/bin/sh"), macOS + QStringLiteral("/Tool")));
    } else if (setup == QLatin1String("link-resources")) {
        QVERIFY(QFile::link(QStringLiteral("../Resources/Tool"), macOS + QStringLiteral("/Tool")));
    } else if (setup == QLatin1String("macos-link")) {
        QVERIFY(QDir(macOS).removeRecursively());
        QVERIFY(QFile::link(QStringLiteral("/bin"), macOS));
        QVERIFY(QFileInfo::exists(macOS + QStringLiteral("/sh")));
    }

    const auto bundle = Bundle::bundleWithPath(path);
    QVERIFY(bundle);
    const QString executable = bundle->executablePath();
    if (accepted)
        QCOMPARE(executable, QDir::cleanPath(macOS + QLatin1Char('/') + name));
    else
        QVERIFY2(executable.isEmpty(), qPrintable(executable));
}

void TestBundle::bundleWithIdentifierFindsLastOpened()
{
    const QString identifier = QStringLiteral("org.example.Twice");
    QVERIFY(!Bundle::bundleWithIdentifier(identifier));
    const QString first = BundleBuilder(freshPath(QStringLiteral("One")))
                              .identifier(identifier)
                              .info(QStringLiteral("CFBundleVersion"), QStringLiteral("1"))
                              .write();
    const QString second = BundleBuilder(freshPath(QStringLiteral("Two")))
                               .identifier(identifier)
                               .info(QStringLiteral("CFBundleVersion"), QStringLiteral("2"))
                               .write();

    QVERIFY(Bundle::bundleWithPath(first));
    auto found = Bundle::bundleWithIdentifier(identifier);
    QVERIFY(found);
    QCOMPARE(found->bundlePath(), QDir::cleanPath(first));

    // Remembered even when the caller lets its own reference go.
    Bundle::bundleWithPath(second).reset();
    found = Bundle::bundleWithIdentifier(identifier);
    QVERIFY(found);
    QCOMPARE(found->bundlePath(), QDir::cleanPath(second));
    QCOMPARE(found->infoDictionary().value(QStringLiteral("CFBundleVersion")).toString(),
             QStringLiteral("2"));

    QVERIFY(Bundle::bundleWithPath(first));
    QCOMPARE(Bundle::bundleWithIdentifier(identifier)->bundlePath(), QDir::cleanPath(first));
    QVERIFY(!Bundle::bundleWithIdentifier(QStringLiteral("org.example.Unknown")));
}

void TestBundle::pathForResource()
{
    const QString path = BundleBuilder(freshPath())
                             .identifier(QStringLiteral("org.example.Res"))
                             .file(QStringLiteral("Resources/Credits.rtf"), "{\\rtf1}")
                             .file(QStringLiteral("Resources/en.lproj/help.html"), "en")
                             .file(QStringLiteral("Resources/fr.lproj/help.html"), "fr")
                             .file(QStringLiteral("Resources/fr.lproj/Credits.rtf"), "fr")
                             .file(QStringLiteral("secret.txt"), "outside Resources")
                             .write();
    const auto bundle = Bundle::bundleWithPath(path);
    QVERIFY(bundle);
    const QString resources = QDir::cleanPath(path) + QStringLiteral("/Contents/Resources");
    const QStringList fr{QStringLiteral("fr")};

    QCOMPARE(bundle->pathForResource(QStringLiteral("Credits"), QStringLiteral("rtf"), fr),
             resources + QStringLiteral("/Credits.rtf"));
    QCOMPARE(bundle->pathForResource(QStringLiteral("help"), QStringLiteral("html"), fr),
             resources + QStringLiteral("/fr.lproj/help.html"));
    QCOMPARE(bundle->pathForResource(QStringLiteral("help"), QStringLiteral("html"),
                                     {QStringLiteral("ja")}),
             resources + QStringLiteral("/en.lproj/help.html"));
    QCOMPARE(bundle->pathForResource(QStringLiteral("help.html"), QString(), fr),
             resources + QStringLiteral("/fr.lproj/help.html"));
    QVERIFY(
        bundle->pathForResource(QStringLiteral("missing"), QStringLiteral("png"), fr).isEmpty());
    QVERIFY(
        bundle->pathForResource(QStringLiteral("../secret"), QStringLiteral("txt"), fr).isEmpty());
    QVERIFY(bundle->pathForResource(QStringLiteral("/etc/passwd"), QString(), fr).isEmpty());
}

void TestBundle::realClassicNamedStrings()
{
    // The 2009 resources: classic folder names and UTF-16 strings files in both byte orders.
    const QString path = freshPath(QStringLiteral("MidiKeys"));
    const QString resources = path + QStringLiteral("/Contents/Resources");
    for (const char *folder : {"English.lproj", "French.lproj", "German.lproj", "Japanese.lproj",
                               "Spanish.lproj", "sv.lproj"}) {
        QVERIFY(copyTree(kRealworld + QStringLiteral("/MidiKeys-2009/") + QLatin1String(folder),
                         resources + QLatin1Char('/') + QLatin1String(folder)));
    }
    BundleBuilder(path)
        .identifier(QStringLiteral("com.example.MidiKeys"))
        .info(QStringLiteral("CFBundleDevelopmentRegion"), QStringLiteral("English"))
        .info(QStringLiteral("CFBundleShortVersionString"), QStringLiteral("plain"))
        .write();

    const auto bundle = Bundle::bundleWithPath(path);
    QVERIFY(bundle);
    QCOMPARE(sorted(bundle->localizations()),
             (QStringList{"English", "French", "German", "Japanese", "Spanish", "sv"}));
    QCOMPARE(bundle->preferredLocalization({QStringLiteral("fr_FR")}), QStringLiteral("French"));
    QCOMPARE(bundle->preferredLocalization({QStringLiteral("ja-JP")}), QStringLiteral("Japanese"));
    QCOMPARE(bundle->preferredLocalization({QStringLiteral("ko")}), QStringLiteral("English"));

    const QVariantMap french = bundle->localizedInfoDictionary({QStringLiteral("fr")});
    QCOMPARE(french.value(QStringLiteral("CFBundleName")).toString(), QStringLiteral("MidiKeys"));
    QCOMPARE(bundle
                 ->objectForInfoDictionaryKey(QStringLiteral("CFBundleShortVersionString"),
                                              {QStringLiteral("de")})
                 .toString(),
             QStringLiteral("1.9"));
    // sv has no InfoPlist.strings: the plain value stands.
    QCOMPARE(bundle
                 ->objectForInfoDictionaryKey(QStringLiteral("CFBundleShortVersionString"),
                                              {QStringLiteral("sv")})
                 .toString(),
             QStringLiteral("plain"));
}

void TestBundle::realAutoupdateBundle()
{
    const auto bundle = Bundle::bundleWithPath(kRealworld + QStringLiteral("/Autoupdate.app"));
    QVERIFY(bundle);
    QCOMPARE(bundle->bundleIdentifier(), QStringLiteral("org.sparkle-project.Sparkle.Autoupdate"));
    QCOMPARE(Bundle::bundleWithIdentifier(bundle->bundleIdentifier()), bundle);

    // 32 folders as shipped (ar to zh_TW), every one listed.
    const QStringList localizations = bundle->localizations();
    QCOMPARE(localizations.size(), 32);
    for (const char *code : {"pt_BR", "pt_PT", "zh_CN", "zh_TW", "en", "fr", "ar"})
        QVERIFY2(localizations.contains(QLatin1String(code)), code);

    QCOMPARE(bundle->objectForInfoDictionaryKey(QStringLiteral("CFBundleVersion"), {}).toString(),
             QStringLiteral("1.24.0"));
    QCOMPARE(bundle->preferredLocalization({QStringLiteral("zh-TW")}), QStringLiteral("zh_TW"));
    QCOMPARE(bundle->preferredLocalization({QStringLiteral("pt")}), QStringLiteral("pt_PT"));
    // Development region "English" reaches the "en" folder.
    QCOMPARE(bundle->preferredLocalization({QStringLiteral("eo")}), QStringLiteral("en"));
    // The bundle as shipped has no executable.
    QVERIFY(bundle->executablePath().isEmpty());

    const QString iconFile =
        bundle->infoDictionary().value(QStringLiteral("CFBundleIconFile")).toString();
    QCOMPARE(iconFile, QStringLiteral("AppIcon.icns"));
    IconImage icon(bundle->resourcePath() + QLatin1Char('/') + iconFile);
    QVERIFY(!icon.isLoaded());
    const QImage image = icon.image();
    QVERIFY(!image.isNull());
    QVERIFY(image.width() >= 32);
    QCOMPARE(image.width(), image.height());
}

QTEST_GUILESS_MAIN(TestBundle)
#include "tst_bundle.moc"
