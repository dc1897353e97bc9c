#include "LaunchEnvironment.h"

#include <QProcess>
#include <QtTest>

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
        QTest::newRow("code") << "fr"
                              << "fr";
        QTest::newRow("region with a hyphen") << "en-GB"
                                              << "en_GB";
        QTest::newRow("region") << "pt_BR"
                                << "pt_BR";
        QTest::newRow("classic name") << "Japanese"
                                      << "ja";
        QTest::newRow("traditional Chinese") << "zh-Hant"
                                             << "zh_TW";
        QTest::newRow("simplified Chinese") << "zh_Hans"
                                            << "zh_CN";
        QTest::newRow("script and region") << "zh-Hant-HK"
                                           << "zh_HK";
        QTest::newRow("Serbian in Latin letters") << "sr-Latn"
                                                  << "sr@latin";
        QTest::newRow("nothing") << ""
                                 << "";
    }
    void gettextLanguage()
    {
        QFETCH(QString, code);
        QFETCH(QString, expected);
        QCOMPARE(LaunchEnvironment::gettextLanguage(code), expected);
    }

    // Only LANGUAGE and, under a C locale, the locale of messages change.
    void forLanguage_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("child");
        QTest::newRow("first, the user's after it, once")
            << "LANG=de_DE.UTF-8 LANGUAGE=de:fr:en HOME=/h"
            << "fr"
            << "LANG=de_DE.UTF-8 LANGUAGE=fr:de:en HOME=/h";
        QTest::newRow("no LANGUAGE: the locale's language follows")
            << "LANG=de_DE.UTF-8"
            << "en-GB"
            << "LANG=de_DE.UTF-8 LANGUAGE=en_GB:de_DE";
        QTest::newRow("LC_MESSAGES decides") << "LANG=C LC_MESSAGES=de_DE.UTF-8"
                                             << "ja"
                                             << "LANG=C LC_MESSAGES=de_DE.UTF-8 LANGUAGE=ja:de_DE";
        QTest::newRow("no language: unchanged") << "LANG=C LANGUAGE=de"
                                                << ""
                                                << "LANG=C LANGUAGE=de";
        QTest::newRow("C: messages and characters in UTF-8")
            << "LANG=C"
            << "fr"
            << "LANG=C LANGUAGE=fr LC_MESSAGES=C.UTF-8 LC_CTYPE=C.UTF-8";
        QTest::newRow("C.UTF-8 names no language") << "LANG=C.UTF-8"
                                                   << "de"
                                                   << "LANG=C.UTF-8 LANGUAGE=de";
        QTest::newRow("POSIX messages, UTF-8 characters")
            << "LANG=de_DE.UTF-8 LC_MESSAGES=POSIX"
            << "fr"
            << "LANG=de_DE.UTF-8 LC_MESSAGES=C.UTF-8 LANGUAGE=fr";
        QTest::newRow("nothing set") << "PATH=/bin"
                                     << "fr"
                                     << "PATH=/bin LANGUAGE=fr LC_MESSAGES=C.UTF-8 "
                                        "LC_CTYPE=C.UTF-8";
        QTest::newRow("LC_ALL=C outranks the rest")
            << "LC_ALL=C LC_MESSAGES=de_DE.UTF-8"
            << "fr"
            << "LC_ALL=C.UTF-8 LC_MESSAGES=de_DE.UTF-8 LANGUAGE=fr";
        QTest::newRow("a locale this machine lacks still names a language")
            << "LANG=fr_CA.UTF-8"
            << "ja"
            << "LANG=fr_CA.UTF-8 LANGUAGE=ja:fr_CA LC_ALL=C.UTF-8";
        QTest::newRow("any category this machine lacks")
            << "LANG=C LC_TIME=fr_CA.UTF-8"
            << "ja"
            << "LANG=C LC_TIME=fr_CA.UTF-8 LANGUAGE=ja LC_ALL=C.UTF-8";
    }
    void forLanguage()
    {
        QFETCH(QString, user);
        QFETCH(QString, language);
        QFETCH(QString, child);
        QCOMPARE(LaunchEnvironment::forLanguage(environment(user), language, "C.UTF-8", installed),
                 environment(child));
    }

    void noUtf8LocaleChangesNoLocale()
    {
        QCOMPARE(LaunchEnvironment::forLanguage(environment("LANG=C"), "fr", QString(), installed),
                 environment("LANG=C LANGUAGE=fr"));
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
