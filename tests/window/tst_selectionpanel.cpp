#include "BundleBuilder.h"
#include "PreferencesStore.h"
#include "TestEnvironment.h"
#include "browser/AppBrowseController.h"
#include "catalogue/Controller.h"
#include "window/LanguagePopUp.h"
#include "window/MainWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestSelectionPanel : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::shared_ptr<const Platform> m_platform;
    std::unique_ptr<Controller> m_controller;
    std::unique_ptr<MainWindow> m_window;

    AppListingPtr app(const QString &name, const QStringList &langs, const QString &stored = {})
    {
        const QString path =
            BundleBuilder(m_env->applicationsDirectory() + QLatin1Char('/') + name + ".app")
                .identifier("org.example." + name)
                .languages(langs)
                .write();
        if (!stored.isEmpty())
            m_platform->preferences->setValue("org.example." + name, "AppleLanguages",
                                              QVariantList{stored});
        return AppListing::initWithPath(path, m_platform);
    }

    LanguagePopUp &menu() { return *m_controller->menu; }

    // The pop-up's entries from index 2 on, in the order the bundle reports its folders.
    QStringList languageTitles()
    {
        QStringList titles;
        for (int i = 2; i < menu().numberOfItems(); ++i)
            titles.append(menu().itemTitle(i));
        return titles;
    }

    int checkedLanguages()
    {
        int n = 0;
        for (int i = 0; i < menu().numberOfItems(); ++i)
            n += !menu().isSpecial(i) && menu().itemState(i);
        return n;
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
        m_platform = std::make_shared<const Platform>(m_env->platform());
        m_controller = std::make_unique<Controller>(m_platform);
        m_window = std::make_unique<MainWindow>(*m_controller);
    }

    void cleanup()
    {
        m_window.reset();
        m_controller.reset();
    }

    void languageCount_data()
    {
        QTest::addColumn<QStringList>("langs");
        QTest::addColumn<QString>("countLine");
        QTest::addColumn<bool>("menuEnabled");
        QTest::addColumn<bool>("launchEnabled");
        QTest::addColumn<int>("items");
        QTest::newRow("three, one without a name")
            << QStringList{"fr", "qq", "de"} << u"Available in 3 different languages."_s << true
            << true << 5;
        QTest::newRow("one with a name")
            << QStringList{"fr"} << u"Only available in French."_s << false << true << 3;
        QTest::newRow("one classic name")
            << QStringList{"German"} << u"Only available in German."_s << false << true << 3;
        QTest::newRow("one without a name")
            << QStringList{"qq"} << u"(Unable to determine available languages)"_s << false << false
            << 0;
        QTest::newRow("none") << QStringList{} << u"(Unable to determine available languages)"_s
                              << false << false << 0;
    }
    void languageCount()
    {
        QFETCH(QStringList, langs);
        QFETCH(QString, countLine);
        QFETCH(bool, menuEnabled);
        QFETCH(bool, launchEnabled);
        QFETCH(int, items);
        const AppListingPtr listing = app("Atlas", langs);
        m_controller->clickedListing(listing);

        QCOMPARE(m_controller->nameLabel->text(), "Atlas");
        QCOMPARE(m_controller->langCountField->text(), countLine);
        QCOMPARE(menu().isEnabled(), menuEnabled);
        QCOMPARE(m_controller->launchButton->isEnabled(), launchEnabled);
        QCOMPARE(menu().numberOfItems(), items);
        QVERIFY(m_controller->openVersionsField->isHidden());
        if (items == 0)
            return;
        QCOMPARE(menu().itemTitle(0), "Always open in this language");
        QVERIFY(menu().isSpecial(0));
        QVERIFY(menu().isSeparator(1));
        QCOMPARE(menu().indexOfSelectedItem(), 2);
        QVERIFY(menu().itemState(2));
        QCOMPARE(checkedLanguages(), 1);
        QVERIFY(!menu().itemState(0));
        QStringList expected;
        for (const QString &code : m_controller->currentListing()->langs())
            expected.append(code == QLatin1String("qq")   ? "qq"
                            : code == QLatin1String("fr") ? "French"
                                                          : "German");
        QCOMPARE(languageTitles(), expected);
    }

    // The always-open mark follows the chosen language: on exactly when it is the stored one.
    void alwaysOpenMark()
    {
        const AppListingPtr listing = app("Atlas", {"fr", "de"}, "de");
        m_controller->clickedListing(listing);
        const int stored = 2 + int(m_controller->currentListing()->langs().indexOf("de"));
        const int other = stored == 2 ? 3 : 2;
        QCOMPARE(menu().itemState(0), stored == 2);

        menu().pick(other);
        QCOMPARE(m_controller->lastSelection(), other);
        QVERIFY(!menu().itemState(0));
        QVERIFY(menu().itemState(other));
        QVERIFY(!menu().itemState(stored));
        QCOMPARE(checkedLanguages(), 1);

        menu().pick(stored);
        QVERIFY(menu().itemState(0));
        QVERIFY(!menu().itemState(other));
        QCOMPARE(checkedLanguages(), 1);
    }

    void storedLanguageNotOffered()
    {
        m_controller->clickedListing(app("Atlas", {"fr", "de"}, "ja"));
        for (int i : {2, 3, 2}) {
            menu().pick(i);
            QVERIFY(!menu().itemState(0));
        }
    }

    void ownEntry()
    {
        const QString link = m_env->applicationsDirectory() + "/Vexilo.app";
        QVERIFY(QFile::link(QStringLiteral(VEXILO_TEST_BUNDLE), link));
        m_controller->clickedListing(AppListing::initWithPath(link, m_platform));
        QVERIFY(!m_controller->launchButton->isEnabled());
        QVERIFY(!menu().isSpecial(0));
        QStringList titles;
        for (int i = 0; i < menu().numberOfItems(); ++i)
            titles.append(menu().itemTitle(i));
        titles.sort();
        QCOMPARE(titles, (QStringList{"English", "French", "German"}));
        QCOMPARE(menu().indexOfSelectedItem(), 0);
        QVERIFY(menu().itemState(0));
        QCOMPARE(m_controller->langCountField->text(), "Available in 3 different languages.");
        // A stored language of Vexilo's own must not move the marks of its language list.
        menu().pick(1);
        QVERIFY(!menu().itemState(0));
        QVERIFY(menu().itemState(1));
    }

    void emptySelectionThenClick()
    {
        const AppListingPtr listing = app("Atlas", {"fr", "de"});
        m_controller->clickedListing(listing);
        menu().pick(3);
        m_controller->emptySelection();
        QVERIFY(m_controller->nameLabel->isHidden());
        QVERIFY(m_controller->langCountField->isHidden());
        QVERIFY(!m_controller->launchButton->isEnabled());
        QCOMPARE(menu().numberOfItems(), 0);
        QVERIFY(!menu().isEnabled());

        m_controller->clickedListing(listing);
        QVERIFY(!m_controller->nameLabel->isHidden());
        QVERIFY(!m_controller->langCountField->isHidden());
        QCOMPARE(menu().numberOfItems(), 4);
        QCOMPARE(menu().indexOfSelectedItem(), 2);
        QCOMPARE(checkedLanguages(), 1);
    }

    // A click on an icon selects its application; a click beside the icons selects nothing.
    void clickOnIcon()
    {
        app("Atlas", {"fr", "de"});
        app("Beacon", {"fr"});
        m_controller->setApps(
            {AppListing::initWithPath(m_env->applicationsDirectory() + "/Atlas.app", m_platform),
             AppListing::initWithPath(m_env->applicationsDirectory() + "/Beacon.app", m_platform)});
        AppBrowseController *browser = m_controller->browser;
        browser->bridge();
        QTest::mouseClick(browser, Qt::LeftButton, {}, QPoint(10 + 60 + 30, 40));
        QCOMPARE(browser->selected(), 1);
        QCOMPARE(m_controller->nameLabel->text(), "Beacon");
        QTest::mouseClick(browser, Qt::LeftButton, {}, QPoint(10 + 60 * 5, 40));
        QTest::mouseClick(browser, Qt::LeftButton, {}, QPoint(40, 90));
        QCOMPARE(browser->selected(), 1);
        QCOMPARE(m_controller->nameLabel->text(), "Beacon");
    }
};

QTEST_MAIN(TestSelectionPanel)
#include "tst_selectionpanel.moc"
