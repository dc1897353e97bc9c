#include "platform/process/LaunchEnvironment.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// "A=1 B=2" -> an environment holding just those.
QProcessEnvironment environment(const QString &assignments)
{
    QProcessEnvironment env;
    for (const QString &pair : assignments.split(' ', Qt::SkipEmptyParts))
        env.insert(pair.section('=', 0, 0), pair.section('=', 1));
    return env;
}

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

    // Only LANGUAGE and, under a C locale, the locale of messages change.
    void forLanguage_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("child");
        QTest::addColumn<QString>("utf8"); // the machine's UTF-8 locale, if any
        const auto row = [](const char *tag, const char *user, const char *language,
                            const char *child, const char *utf8 = "C.UTF-8") {
            QTest::newRow(tag) << QString(user) << QString(language) << QString(child)
                               << QString(utf8);
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
        row("no UTF-8 locale changes no locale", "LANG=C", "fr", "LANG=C LANGUAGE=fr", "");
    }
    void forLanguage()
    {
        QFETCH(QString, user);
        QFETCH(QString, language);
        QFETCH(QString, child);
        QFETCH(QString, utf8);
        QCOMPARE(LaunchEnvironment::forLanguage(environment(user), language, utf8, installed),
                 environment(child));
    }

    // Programs that read only the locale's name get one for the language, installed or not;
    // LC_ALL would outrank it.
    void messagesLocale_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("child");
        QTest::newRow("not installed") << u"LANG=C.UTF-8"_s << u"fr"_s
                                       << u"LANG=C.UTF-8 LANGUAGE=fr LC_MESSAGES=fr_FR.UTF-8"_s;
        QTest::newRow("installed")
            << u"LANG=C"_s << u"de"_s
            << u"LANG=C LANGUAGE=de LC_MESSAGES=de_DE.UTF-8 LC_CTYPE=C.UTF-8"_s;
        QTest::newRow("LC_ALL as LANG")
            << u"LC_ALL=C"_s << u"fr"_s << u"LANG=C.UTF-8 LANGUAGE=fr LC_MESSAGES=fr_FR.UTF-8"_s;
        QTest::newRow("modifier")
            << u"LANG=C.UTF-8"_s << u"sr@latin"_s
            << u"LANG=C.UTF-8 LANGUAGE=sr@latin LC_MESSAGES=sr_RS.UTF-8@latin"_s;
        QTest::newRow("region") << u"LANG=C.UTF-8"_s << u"pt_BR"_s
                                << u"LANG=C.UTF-8 LANGUAGE=pt_BR LC_MESSAGES=pt_BR.UTF-8"_s;
    }
    void messagesLocale()
    {
        QFETCH(QString, user);
        QFETCH(QString, language);
        QFETCH(QString, child);
        const QProcessEnvironment made =
            LaunchEnvironment::forLanguage(environment(user), language, u"C.UTF-8"_s, installed);
        QCOMPARE(LaunchEnvironment::withMessagesLocale(made, language, installed),
                 environment(child));
    }

    // gettext honours LANGUAGE in what a program started under the C locale prints.
    void gettextHonoursTheLanguage()
    {
        if (!QFile::exists("/usr/share/locale/fr/LC_MESSAGES/coreutils.mo"))
            QSKIP("coreutils' French messages are not installed");
        const QString utf8 = LaunchEnvironment::existingUtf8Locale();
        QVERIFY2(!utf8.isEmpty(), "no UTF-8 locale on this machine");
        QProcess ls;
        ls.setProcessEnvironment(LaunchEnvironment::forLanguage(environment("LANG=C"), "fr"));
        ls.start("/bin/ls", {"--no-such-option"});
        QVERIFY(ls.waitForFinished());
        const QString said = QString::fromUtf8(ls.readAllStandardError());
        QVERIFY2(said.contains(u"option non reconnue"), qPrintable(said));
        QVERIFY2(said.contains(u"\u00ab"), qPrintable(said)); // not transliterated to ASCII
    }
};

QTEST_GUILESS_MAIN(TestLaunchEnvironment)
#include "tst_launchenvironment.moc"
