#include "platform/locale/LocalizationMatch.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestLocalizationMatch : public QObject {
    Q_OBJECT

private slots:
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
};

QTEST_GUILESS_MAIN(TestLocalizationMatch)
#include "tst_localizationmatch.moc"
