#include "BundleBuilder.h"
#include "TestEnvironment.h"
#include "catalogue/AppListing.h"
#include "language/LanguageDisplay.h"
#include "language/LanguageList.h"
#include "platform/bundle/Workspace.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QStringList words(const QString &text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
}

// Whether the display names of `codes` stand in the user's collation order.
bool inCollationOrder(const QStringList &codes, const QString &locale)
{
    QCollator collator{QLocale(locale)};
    for (qsizetype i = 1; i < codes.size(); ++i) {
        if (collator.compare(LanguageDisplay::name(codes.at(i - 1)),
                             LanguageDisplay::name(codes.at(i))) > 0)
            return false;
    }
    return true;
}

} // namespace

class TestLanguageList : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
    }

    // Bundles laid out like published applications.
    void languages_data()
    {
        QTest::addColumn<QString>("folders");
        QTest::addColumn<QVariant>("declared"); // CFBundleLocalizations
        QTest::addColumn<QString>("expected");  // in code order

        QTest::newRow("Base is no language") << u"Base en fr"_s << QVariant() << u"en fr"_s;
        QTest::newRow("classic name and code are one, by the code")
            << u"English en French"_s << QVariant() << u"en French"_s;
        QTest::newRow("classic name alone stays")
            << u"German Japanese"_s << QVariant() << u"German Japanese"_s;
        QTest::newRow("two spellings of one code")
            << u"zh_TW zh-TW zh-Hant"_s << QVariant() << u"zh-Hant zh-TW"_s;
        QTest::newRow("only CFBundleLocalizations")
            << u""_s << QVariant(QStringList{"en", "de", "Base"}) << u"de en"_s;
        QTest::newRow("declared joins the folders, classic folder gives way")
            << u"Base English"_s << QVariant(QVariantList{"en", "fr"}) << u"en fr"_s;
        QTest::newRow("declared values that are no codes")
            << u"en"_s << QVariant(QVariantList{1, "../x", "", "fr\n", QVariantList{"de"}, "it"})
            << u"en it"_s;
        QTest::newRow("declared as a single string") << u"en"_s << QVariant(u"fr"_s) << u"en"_s;
    }
    void languages()
    {
        QFETCH(QString, folders);
        QFETCH(QVariant, declared);
        QFETCH(QString, expected);
        QCOMPARE(LanguageList::languages(words(folders), declared), words(expected));
        // The order folders are listed in changes nothing.
        QStringList reversed = words(folders);
        std::reverse(reversed.begin(), reversed.end());
        QCOMPARE(LanguageList::languages(reversed, declared), words(expected));
    }

    void sortedByDisplayName_data()
    {
        QTest::addColumn<QString>("userLanguage");
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("english names")
            << u"en"_s << u"de en fr ja zh-Hant"_s << u"zh-Hant en fr de ja"_s;
        QTest::newRow("french names") << u"fr"_s << u"ja fr en de"_s << u"de en fr ja"_s;
        QTest::newRow("unnamed code by itself") << u"en"_s << u"qq de"_s << u"de qq"_s;
    }
    void sortedByDisplayName()
    {
        QFETCH(QString, userLanguage);
        QFETCH(QString, codes);
        QFETCH(QString, expected);
        TestEnvironment::setLanguage(userLanguage);
        QCOMPARE(LanguageList::sortedByDisplayName(words(codes)), words(expected));
    }

    // A bundle of fifty languages lists them in the user's collation of their names: in French,
    // "allemand" comes first and "espéranto" among the e's.
    void fiftyLanguagesAreSorted_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("english") << u"en_US"_s;
        QTest::newRow("french") << u"fr_FR"_s;
    }
    void fiftyLanguagesAreSorted()
    {
        QFETCH(QString, locale);
        TestEnvironment::setLanguage(locale);
        const QStringList codes = words(
            u"af ar az be bg bn ca cs cy da de el en eo es et eu fa fi fr ga gd gl he hi hr hu "
            "id is it ja ka kk ko lt lv mk ms nb nl pl pt ro ru sk sl sv tr uk zh"_s);
        const QString path = BundleBuilder(m_env->applicationsDirectory() + "/Babel.app")
                                 .identifier("org.example.Babel")
                                 .languages(codes + QStringList{"Base"})
                                 .write();
        const AppListingPtr listing = AppListing::fromPath(path, *m_env->platform().workspace);
        const QStringList langs = listing->langs();
        QCOMPARE(QSet<QString>(langs.cbegin(), langs.cend()),
                 QSet<QString>(codes.cbegin(), codes.cend()));
        QVERIFY2(inCollationOrder(langs, locale), qPrintable(langs.join(u' ')));
    }
};

QTEST_GUILESS_MAIN(TestLanguageList)
#include "tst_languagelist.moc"
