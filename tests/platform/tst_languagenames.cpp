#include "LanguageNames.h"
#include "TestEnvironment.h"

#include <QtTest>

class TestLanguageNames : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void displayNames_data();
    void displayNames();
    void explicitDisplayLocale();

    void currentLocaleIdentifier_data();
    void currentLocaleIdentifier();

    void canonicalLocaleIdentifier_data();
    void canonicalLocaleIdentifier();

    void preferredLanguages_data();
    void preferredLanguages();
};

namespace {

void setOrUnset(const char *name, const QString &value)
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value.toUtf8());
}

} // namespace

void TestLanguageNames::cleanup()
{
    TestEnvironment::setLanguage(QStringLiteral("en_US"));
}

void TestLanguageNames::displayNames_data()
{
    QTest::addColumn<QString>("userLocale");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<QString>("languageName");

    const QString en = QStringLiteral("en_US");
    const QString fr = QStringLiteral("fr_FR");
    QTest::newRow("en: fr") << en << "fr"
                            << "French"
                            << "French";
    QTest::newRow("en: de") << en << "de"
                            << "German"
                            << "German";
    QTest::newRow("en: en_GB") << en << "en_GB"
                               << "English (United Kingdom)"
                               << "English";
    QTest::newRow("en: zh_TW") << en << "zh_TW"
                               << "Chinese (Taiwan)"
                               << "Chinese";
    QTest::newRow("en: pt_BR") << en << "pt_BR"
                               << "Portuguese (Brazil)"
                               << "Portuguese";
    QTest::newRow("en: en-GB with a dash") << en << "en-GB"
                                           << "English (United Kingdom)"
                                           << "English";

    QTest::newRow("fr: fr") << fr << "fr" << QStringLiteral("français")
                            << QStringLiteral("français");
    QTest::newRow("fr: de") << fr << "de"
                            << "allemand"
                            << "allemand";
    QTest::newRow("fr: en_GB") << fr << "en_GB"
                               << "anglais (Royaume-Uni)"
                               << "anglais";
    QTest::newRow("fr: zh_TW") << fr << "zh_TW" << QStringLiteral("chinois (Taïwan)")
                               << QStringLiteral("chinois");
    QTest::newRow("fr: pt_BR") << fr << "pt_BR" << QStringLiteral("portugais (Brésil)")
                               << QStringLiteral("portugais");

    // ICU would hand these back unchanged; they have no name.
    QTest::newRow("en: xx") << en << "xx" << QString() << QString();
    QTest::newRow("en: qqq") << en << "qqq" << QString() << QString();
    QTest::newRow("fr: xx") << fr << "xx" << QString() << QString();
    QTest::newRow("en: classic name") << en << "French" << QString() << QString();
    QTest::newRow("en: empty") << en << "" << QString() << QString();
    QTest::newRow("en: root") << en << "root" << QString() << QString();
    QTest::newRow("en: unknown region") << en << "fr_XX" << QString() << "French";
    QTest::newRow("en: garbage") << en << "\x01//../\"" << QString() << QString();
    QTest::newRow("en: overlong") << en << QString(500, QLatin1Char('a')) << QString() << QString();
}

void TestLanguageNames::displayNames()
{
    QFETCH(QString, userLocale);
    QFETCH(QString, code);
    QFETCH(QString, localeName);
    QFETCH(QString, languageName);

    TestEnvironment::setLanguage(userLocale);
    QCOMPARE(LanguageNames::displayNameForLocaleIdentifier(code), localeName);
    QCOMPARE(LanguageNames::displayNameForLanguageCode(code), languageName);
}

void TestLanguageNames::explicitDisplayLocale()
{
    // Matching classic folder names asks for English names whatever the user's language.
    TestEnvironment::setLanguage(QStringLiteral("fr_FR"));
    QCOMPARE(LanguageNames::displayNameForLanguageCode(QStringLiteral("de"), QStringLiteral("en")),
             QStringLiteral("German"));
    QCOMPARE(LanguageNames::displayNameForLocaleIdentifier(QStringLiteral("de_AT"),
                                                           QStringLiteral("de")),
             QStringLiteral("Deutsch (Österreich)"));
    // The user's language is back when none is named.
    QCOMPARE(LanguageNames::displayNameForLanguageCode(QStringLiteral("de")),
             QStringLiteral("allemand"));
    // The locale is read again on each call.
    TestEnvironment::setLanguage(QStringLiteral("de_DE"));
    QCOMPARE(LanguageNames::displayNameForLanguageCode(QStringLiteral("fr")),
             QStringLiteral("Französisch"));
}

void TestLanguageNames::currentLocaleIdentifier_data()
{
    QTest::addColumn<QString>("lcAll");
    QTest::addColumn<QString>("lcMessages");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("expected");

    QTest::newRow("LANG only") << QString() << QString() << "fr_FR.UTF-8"
                               << "fr_FR";
    QTest::newRow("modifier") << QString() << QString() << "de_DE.ISO-8859-15@euro"
                              << "de_DE";
    QTest::newRow("modifier without codeset") << QString() << QString() << "ca_ES@valencia"
                                              << "ca_ES";
    QTest::newRow("LC_MESSAGES over LANG") << QString() << "it_IT.UTF-8"
                                           << "fr_FR.UTF-8"
                                           << "it_IT";
    QTest::newRow("LC_ALL over all") << "pt_BR.UTF-8"
                                     << "it_IT.UTF-8"
                                     << "fr_FR.UTF-8"
                                     << "pt_BR";
    QTest::newRow("empty LC_ALL ignored") << ""
                                          << ""
                                          << "ja_JP.UTF-8"
                                          << "ja_JP";
    QTest::newRow("C") << QString() << QString() << "C"
                       << "en";
    QTest::newRow("C.UTF-8") << QString() << QString() << "C.UTF-8"
                             << "en";
    QTest::newRow("POSIX") << QString() << QString() << "POSIX"
                           << "en";
    QTest::newRow("nothing set") << QString() << QString() << QString() << "en";
    QTest::newRow("LC_ALL=C wins over LANG") << "C" << QString() << "fr_FR.UTF-8"
                                             << "en";
}

void TestLanguageNames::currentLocaleIdentifier()
{
    QFETCH(QString, lcAll);
    QFETCH(QString, lcMessages);
    QFETCH(QString, lang);
    QFETCH(QString, expected);

    setOrUnset("LC_ALL", lcAll);
    setOrUnset("LC_MESSAGES", lcMessages);
    setOrUnset("LANG", lang);
    QCOMPARE(LanguageNames::currentLocaleIdentifier(), expected);
}

void TestLanguageNames::canonicalLocaleIdentifier_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("classic French") << "French"
                                    << "fr";
    QTest::newRow("classic English") << "English"
                                     << "en";
    QTest::newRow("classic Japanese") << "Japanese"
                                      << "ja";
    QTest::newRow("dash form") << "en-GB"
                               << "en_GB";
    QTest::newRow("already canonical") << "zh_TW"
                                       << "zh_TW";
    QTest::newRow("case of the region") << "pt_br"
                                        << "pt_BR";
    QTest::newRow("empty") << "" << QString();
    // Classic names are folder names, matched exactly: this one is left to ICU.
    QTest::newRow("lowercase french") << "french"
                                      << "french";
    QTest::newRow("overlong") << QString(400, QLatin1Char('x')) << QString();
}

void TestLanguageNames::canonicalLocaleIdentifier()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(LanguageNames::canonicalLocaleIdentifier(input), expected);
}

void TestLanguageNames::preferredLanguages_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("LANGUAGE then locale") << "fr_CA:de"
                                          << "en_US.UTF-8" << QStringList{"fr_CA", "de", "en_US"};
    QTest::newRow("C locale alone") << QString() << "C" << QStringList{"en"};
    QTest::newRow("no repeats") << "en_US:fr"
                                << "en_US.UTF-8" << QStringList{"en_US", "fr"};
    QTest::newRow("empty entries, codesets, C skipped")
        << ":de_DE.UTF-8::C:de:de_DE@euro"
        << "fr_FR.UTF-8" << QStringList{"de_DE", "de", "fr_FR"};
    QTest::newRow("empty LANGUAGE") << ""
                                    << "ja_JP.UTF-8" << QStringList{"ja_JP"};
}

void TestLanguageNames::preferredLanguages()
{
    QFETCH(QString, language);
    QFETCH(QString, lang);
    QFETCH(QStringList, expected);

    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    setOrUnset("LANGUAGE", language);
    setOrUnset("LANG", lang);
    QCOMPARE(LanguageNames::preferredLanguages(), expected);
}

QTEST_GUILESS_MAIN(TestLanguageNames)
#include "tst_languagenames.moc"
