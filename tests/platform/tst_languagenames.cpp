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

        QTest::newRow("fr") << u"en"_s << QString() << u"fr"_s << u"French"_s << u"French"_s;
        QTest::newRow("GB") << u"en"_s << QString() << u"en-GB"_s << u"English (United Kingdom)"_s
                            << u"English"_s;
        QTest::newRow("zh_TW") << u"en"_s << QString() << u"zh_TW"_s << u"Chinese (Taiwan)"_s
                               << u"Chinese"_s;
        QTest::newRow("de") << u"fr"_s << QString() << u"de"_s << u"allemand"_s << u"allemand"_s;
        QTest::newRow("pt_BR") << u"fr"_s << QString() << u"pt_BR"_s << u"portugais (Brésil)"_s
                               << u"portugais"_s;
        QTest::newRow("LANGUAGE over LANG")
            << u"en_US"_s << u"fr:en"_s << u"de"_s << u"allemand"_s << u"allemand"_s;
        // A gettext modifier makes a language of its own, named by ICU where it knows it.
        const std::pair<const char *, const char *> variants[] = {
            {"ca@valencia", "Catalan (Valencian)"},     {"en@shaw", "English (Shavian)"},
            {"sr_RS@latin", "Serbian (Latin, Serbia)"}, {"be@latin", "Belarusian (Latin)"},
            {"uz@cyrillic", "Uzbek (Cyrillic)"},        {"sr@ije", "Serbian (ije)"}};
        for (const auto &[code, name] : variants)
            QTest::newRow(code) << u"en"_s << QString() << QString::fromLatin1(code)
                                << QString::fromLatin1(name)
                                << QString::fromLatin1(name).section(u' ', 0, 0);
        QTest::newRow("unknown modifier in French")
            << u"fr"_s << QString() << u"sr@ije"_s << u"serbe (ije)"_s << u"serbe"_s;
        // ICU would hand these back unchanged: they have no name.
        QTest::newRow("xx") << u"en"_s << QString() << u"xx"_s << QString() << QString();
        QTest::newRow("classic name")
            << u"en"_s << QString() << u"French"_s << QString() << QString();
        QTest::newRow("unknown region")
            << u"en"_s << QString() << u"fr_XX"_s << QString() << u"French"_s;
        QTest::newRow("garbage") << u"fr"_s << QString() << u"\x01//../\""_s << QString()
                                 << QString();
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
