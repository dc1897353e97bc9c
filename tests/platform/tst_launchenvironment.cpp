#include "TestFiles.h"
#include "platform/locale/PrivateLocales.h"
#include "platform/process/LaunchEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A machine with the C locales, C.UTF-8 and German.
bool installed(const QString &name)
{
    return QStringList{"C", "POSIX", "C.UTF-8", "de_DE.UTF-8"}.contains(name);
}

} // namespace

class TestLaunchEnvironment : public QObject {
    Q_OBJECT

private slots:
    void gettextLanguage_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        QTest::newRow("code") << u"fr"_s << u"fr"_s;
        QTest::newRow("region with a hyphen") << u"en-GB"_s << u"en_GB"_s;
        QTest::newRow("region") << u"pt_BR"_s << u"pt_BR"_s;
        QTest::newRow("classic name") << u"Japanese"_s << u"ja"_s;
        QTest::newRow("traditional Chinese") << u"zh-Hant"_s << u"zh_TW"_s;
        QTest::newRow("simplified Chinese") << u"zh_Hans"_s << u"zh_CN"_s;
        QTest::newRow("script and region") << u"zh-Hant-HK"_s << u"zh_HK"_s;
        QTest::newRow("Serbian in Latin letters") << u"sr-Latn"_s << u"sr@latin"_s;
        QTest::newRow("other scripts") << u"be_Latn"_s << u"be@latin"_s;
        QTest::newRow("script and region") << u"uz_Cyrl_UZ"_s << u"uz_UZ@cyrillic"_s;
        QTest::newRow("a catalogue's name stays") << u"ca@valencia"_s << u"ca@valencia"_s;
        QTest::newRow("with its region") << u"sr_RS@latin"_s << u"sr_RS@latin"_s;
        QTest::newRow("nothing") << QString() << QString();
    }
    void gettextLanguage()
    {
        QFETCH(QString, code);
        QTEST(LaunchEnvironment::gettextLanguage(code), "expected");
    }

    // Only LANGUAGE and, under a C locale, the locale of messages change. Programs that read
    // only the locale's name get one for the language, installed or not; LC_ALL would outrank it.
    void forLanguage_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("child");
        QTest::addColumn<QString>("utf8"); // the machine's UTF-8 locale, if any
        QTest::addColumn<bool>("localeOnly");
        const auto row = [](const char *tag, const char *user, const char *language,
                            const char *child, const char *utf8 = "C.UTF-8",
                            bool localeOnly = false) {
            QTest::newRow(tag) << QString(user) << QString(language) << QString(child)
                               << QString(utf8) << localeOnly;
        };
        const auto localeOnly = [&row](const char *tag, const char *user, const char *language,
                                       const char *child) {
            row(tag, user, language, child, "C.UTF-8", true);
        };
        row("first, the user's after it, once", "LANG=de_DE.UTF-8 LANGUAGE=de:fr:en HOME=/h", "fr",
            "LANG=de_DE.UTF-8 LANGUAGE=fr:de:en HOME=/h");
        row("no LANGUAGE: the locale's language follows", "LANG=de_DE.UTF-8", "en-GB",
            "LANG=de_DE.UTF-8 LANGUAGE=en_GB:de_DE");
        row("LC_MESSAGES decides", "LANG=C LC_MESSAGES=de_DE.UTF-8", "ja",
            "LANG=C LC_MESSAGES=de_DE.UTF-8 LANGUAGE=ja:de_DE");
        row("no language: unchanged", "LANG=C LANGUAGE=de", "", "LANG=C LANGUAGE=de");
        row("C: messages and characters in UTF-8", "LANG=C", "fr",
            "LANG=C LANGUAGE=fr LC_MESSAGES=C.UTF-8 LC_CTYPE=C.UTF-8");
        row("C.UTF-8 names no language", "LANG=C.UTF-8", "de", "LANG=C.UTF-8 LANGUAGE=de");
        row("POSIX messages, UTF-8 characters", "LANG=de_DE.UTF-8 LC_MESSAGES=POSIX", "fr",
            "LANG=de_DE.UTF-8 LC_MESSAGES=C.UTF-8 LANGUAGE=fr");
        row("nothing set", "PATH=/bin", "fr",
            "PATH=/bin LANGUAGE=fr LC_MESSAGES=C.UTF-8 LC_CTYPE=C.UTF-8");
        row("LC_ALL=C outranks the rest", "LC_ALL=C LC_MESSAGES=de_DE.UTF-8", "fr",
            "LC_ALL=C.UTF-8 LC_MESSAGES=de_DE.UTF-8 LANGUAGE=fr");
        row("a locale this machine lacks still names a language", "LANG=fr_CA.UTF-8", "ja",
            "LANG=fr_CA.UTF-8 LANGUAGE=ja:fr_CA LC_ALL=C.UTF-8");
        row("any category this machine lacks", "LANG=C LC_TIME=fr_CA.UTF-8", "ja",
            "LANG=C LC_TIME=fr_CA.UTF-8 LANGUAGE=ja LC_ALL=C.UTF-8");
        row("LC_TERMINAL names no locale", "LANG=C.UTF-8 LC_TERMINAL=iTerm2", "de",
            "LANG=C.UTF-8 LC_TERMINAL=iTerm2 LANGUAGE=de");
        row("no UTF-8 locale changes no locale", "LANG=C", "fr", "LANG=C LANGUAGE=fr", "");
        localeOnly("locale only: not installed", "LANG=C.UTF-8", "fr",
                   "LANG=C.UTF-8 LANGUAGE=fr LC_MESSAGES=fr_FR.UTF-8");
        localeOnly("locale only: installed", "LANG=C", "de",
                   "LANG=C LANGUAGE=de LC_MESSAGES=de_DE.UTF-8 LC_CTYPE=C.UTF-8");
        localeOnly("locale only: LC_ALL as LANG", "LC_ALL=C", "fr",
                   "LANG=C.UTF-8 LANGUAGE=fr LC_MESSAGES=fr_FR.UTF-8");
        localeOnly("locale only: modifier", "LANG=C.UTF-8", "sr@latin",
                   "LANG=C.UTF-8 LANGUAGE=sr@latin LC_MESSAGES=sr_RS.UTF-8@latin");
        localeOnly("locale only: region", "LANG=C.UTF-8", "pt_BR",
                   "LANG=C.UTF-8 LANGUAGE=pt_BR LC_MESSAGES=pt_BR.UTF-8");
    }
    void forLanguage()
    {
        QFETCH(QString, user);
        QFETCH(QString, language);
        QFETCH(QString, child);
        QFETCH(QString, utf8);
        QProcessEnvironment made =
            LaunchEnvironment::forLanguage(environmentOf(user), language, utf8, installed);
        QFETCH(bool, localeOnly);
        if (localeOnly)
            made = LaunchEnvironment::withMessagesLocale(made, language, installed);
        QCOMPARE(made, environmentOf(child));
    }

    // A start naming a locale this machine lacks gets LOCPATH, every locale it names then found
    // in a folder: the C library reads no locale archive under LOCPATH.
    void missingLocales_data()
    {
        QTest::addColumn<QString>("child");
        QTest::addColumn<QString>("cached");   // compiled before
        QTest::addColumn<bool>("compiles");    // whether localedef succeeds
        QTest::addColumn<QString>("compiled"); // what is compiled now
        QTest::addColumn<QString>("path");     // LOCPATH, "-" for Vexilo's folder
        row("all installed", "LANG=de_DE.UTF-8 LC_MESSAGES=C.UTF-8", "", true, "", "");
        row("missing; C.UTF-8 in the system folder", "LANG=C.UTF-8 LC_MESSAGES=fr_FR.UTF-8", "",
            true, "fr_FR.UTF-8", "-");
        row("an archived locale compiled too", "LANG=de_DE.UTF-8 LC_MESSAGES=fr_FR.UTF-8", "", true,
            "de_DE.UTF-8 fr_FR.UTF-8", "-");
        row("compiled before", "LANG=C LC_MESSAGES=fr_FR.UTF-8", "fr_FR.utf8", true, "", "-");
        row("LC_ALL outranks the rest", "LC_ALL=C.UTF-8 LC_MESSAGES=fr_FR.UTF-8", "", true, "", "");
        row("not a locale category", "LANG=C.UTF-8 LC_TERMINAL=iTerm2", "", true, "", "");
        row("the user's LOCPATH after", "LANG=C.UTF-8 LC_TIME=fr_FR.UTF-8 LOCPATH=/mine", "", true,
            "fr_FR.UTF-8", "-:/mine");
        row("failed: as without", "LANG=de_DE.UTF-8 LC_MESSAGES=fr_FR.UTF-8", "fr_FR.utf8", false,
            "de_DE.UTF-8", "");
    }
    void missingLocales()
    {
        QFETCH(QString, child);
        QFETCH(QString, cached);
        QFETCH(bool, compiles);
        QFETCH(QString, path);
        QTemporaryDir dir;
        PrivateLocales::Setup setup{dir.path() + "/cache", dir.path() + "/system", installed, {}};
        const auto make = [](const QString &folder) {
            QVERIFY(QDir().mkpath(folder));
            QFile file(folder + "/LC_CTYPE");
            QVERIFY(file.open(QIODevice::WriteOnly));
        };
        make(setup.systemFolder + "/C.utf8");
        for (const QString &name : cached.split(' ', Qt::SkipEmptyParts))
            make(setup.folder + '/' + name);
        QStringList compiled;
        setup.compile = [&](const QString &locale) {
            compiled.append(locale);
            if (compiles)
                make(setup.folder + '/' + PrivateLocales::folderName(locale));
            return compiles;
        };
        QProcessEnvironment expected = environmentOf(child);
        if (!path.isEmpty())
            expected.insert("LOCPATH", path.replace("-", setup.folder));
        QCOMPARE(PrivateLocales::withMissingLocales(environmentOf(child), setup), expected);
        QTEST(compiled.join(' '), "compiled");
    }

    // localedef's locale, in a folder of the user's alone, is the one the C library loads.
    void compiledLocaleLoads()
    {
        const QString i18n = u"/usr/share/i18n"_s;
        if (!QFile::exists(i18n + "/locales/C") ||
            QStandardPaths::findExecutable("localedef").isEmpty())
            QSKIP("the locales package or localedef is missing");
        QTemporaryDir dir;
        const QString folder = dir.path() + "/cache/vexilo/locales";
        for (const QString &bad : {u"C"_s, u"../C.UTF-8"_s, u"xx_XX.UTF-8"_s, u"C.NO-SUCH-SET"_s})
            QVERIFY2(!PrivateLocales::compile(folder, bad, i18n, std::chrono::seconds(30)),
                     qPrintable(bad));
        QVERIFY(PrivateLocales::compile(folder, "C.ISO-8859-1", i18n, std::chrono::seconds(30)));
        for (const QString &made : {dir.path() + "/cache", folder}) // neither group nor others
            QCOMPARE(int(QFileInfo(made).permissions() & 0x0077), 0);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"C.iso88591"});
        QProcess locale;
        QProcessEnvironment env = environmentOf("LC_ALL=C.ISO-8859-1");
        env.insert("LOCPATH", folder);
        locale.setProcessEnvironment(env);
        locale.start("locale", {"charmap"});
        QVERIFY(locale.waitForFinished());
        QCOMPARE(locale.readAllStandardOutput().trimmed(), "ISO-8859-1");
    }

    // gettext honours LANGUAGE in what a program started under the C locale prints.
    void gettextHonoursTheLanguage()
    {
        if (!QFile::exists("/usr/share/locale/fr/LC_MESSAGES/coreutils.mo"))
            QSKIP("coreutils' French messages are not installed");
        const QString utf8 = LaunchEnvironment::existingUtf8Locale();
        QVERIFY2(!utf8.isEmpty(), "no UTF-8 locale on this machine");
        QProcess ls;
        ls.setProcessEnvironment(LaunchEnvironment::forLanguage(environmentOf("LANG=C"), "fr"));
        ls.start("/bin/ls", {"--no-such-option"});
        QVERIFY(ls.waitForFinished());
        const QString said = QString::fromUtf8(ls.readAllStandardError());
        QVERIFY2(said.contains(u"option non reconnue"), qPrintable(said));
        QVERIFY2(said.contains(u"\u00ab"), qPrintable(said)); // not transliterated to ASCII
    }
};

QTEST_GUILESS_MAIN(TestLaunchEnvironment)
#include "tst_launchenvironment.moc"
