#include "TestEnvironment.h"
#include "platform/locale/LanguageNames.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestLanguageNames : public QObject {
    Q_OBJECT

private slots:
    void displayNames_data()
    {
        QTest::addColumn<QString>("userLocale");
        QTest::addColumn<QString>("languageList"); // LANGUAGE, which names the texts' language
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("localeName");
        QTest::addColumn<QString>("languageName");

        const auto row = [](const char *tag, const char *user, const char *code,
                            const char *localeName, const char *languageName,
                            const char *languageList = "") {
            QTest::newRow(tag) << QString(user) << QString(languageList) << QString(code)
                               << QString(localeName) << QString(languageName);
        };
        row("fr", "en", "fr", "French", "French");
        row("GB", "en", "en-GB", "English (United Kingdom)", "English");
        row("zh_TW", "en", "zh_TW", "Chinese (Taiwan)", "Chinese");
        row("de", "fr", "de", "allemand", "allemand");
        row("pt_BR", "fr", "pt_BR", "portugais (Brésil)", "portugais");
        row("LANGUAGE over LANG", "en_US", "de", "allemand", "allemand", "fr:en");
        // A gettext modifier makes a language of its own, named by ICU where it knows it.
        row("ca@valencia", "en", "ca@valencia", "Catalan (Valencian)", "Catalan");
        row("en@shaw", "en", "en@shaw", "English (Shavian)", "English");
        row("sr_RS@latin", "en", "sr_RS@latin", "Serbian (Latin, Serbia)", "Serbian");
        row("be@latin", "en", "be@latin", "Belarusian (Latin)", "Belarusian");
        row("uz@cyrillic", "en", "uz@cyrillic", "Uzbek (Cyrillic)", "Uzbek");
        row("sr@ije", "en", "sr@ije", "Serbian (ije)", "Serbian");
        row("unknown modifier in French", "fr", "sr@ije", "serbe (ije)", "serbe");
        // ICU would hand these back unchanged: they have no name.
        row("xx", "en", "xx", "", "");
        row("classic name", "en", "French", "", "");
        row("unknown region", "en", "fr_XX", "", "French");
        row("garbage", "fr", "\x01//../\"", "", "");
    }
    void displayNames()
    {
        QFETCH(QString, userLocale);
        QFETCH(QString, languageList);
        QFETCH(QString, code);

        TestEnvironment::setLanguage(userLocale, languageList);
        QTEST(LanguageNames::displayNameForLocaleIdentifier(code), "localeName");
        QTEST(LanguageNames::displayNameForLanguageCode(code), "languageName");
    }

    void canonicalLocaleIdentifier_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");

        QTest::newRow("classic French") << u"French"_s << u"fr"_s;
        QTest::newRow("classic Japanese") << u"Japanese"_s << u"ja"_s;
        QTest::newRow("dash form") << u"en-GB"_s << u"en_GB"_s;
        QTest::newRow("case of the region") << u"pt_br"_s << u"pt_BR"_s;
        // Classic names are folder names, matched exactly: this one is left to ICU.
        QTest::newRow("lowercase french") << u"french"_s << u"french"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("overlong") << QString(400, u'x') << QString();
    }
    void canonicalLocaleIdentifier()
    {
        QFETCH(QString, input);
        QTEST(LanguageNames::canonicalLocaleIdentifier(input), "expected");
    }

    void preferredLanguages()
    {
        TestEnvironment::setLanguage(u"en_US"_s, u"fr_CA:de"_s);
        QCOMPARE(LanguageNames::preferredLanguages(), (QStringList{"fr_CA", "de", "en_US"}));
        // Empty entries, codesets, C and repeats are left out.
        TestEnvironment::setLanguage(u"fr_FR"_s, u":de_DE.UTF-8::C:de:de_DE@euro:fr_FR"_s);
        QCOMPARE(LanguageNames::preferredLanguages(), (QStringList{"de_DE", "de", "fr_FR"}));
        TestEnvironment::setLanguage(u"en"_s);
        qputenv("LANG", "C");
        QCOMPARE(LanguageNames::preferredLanguages(), QStringList{"en"});
        qputenv("LC_ALL", "pt_BR.UTF-8"); // over LANG
        QCOMPARE(LanguageNames::preferredLanguages(), QStringList{"pt_BR"});
    }

    void cleanup() { TestEnvironment::setLanguage(u"en_US"_s); }
};

QTEST_GUILESS_MAIN(TestLanguageNames)
#include "tst_languagenames.moc"
