#include "BundleBuilder.h"
#include "TestEnvironment.h"
#include "UserDefaults.h"
#include "browser/AppBrowseController.h"
#include "catalogue/Controller.h"
#include "window/MainWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestControllerStartup : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    // One start of Vexilo up to the end of loading.
    struct Run {
        std::unique_ptr<Controller> controller;
        std::unique_ptr<MainWindow> window;
    };
    Run start(std::optional<quint32> systemVersion = std::nullopt)
    {
        auto platform = std::make_shared<Platform>(m_env->platform());
        platform->systemVersion = systemVersion;
        Run run;
        run.controller = std::make_unique<Controller>(platform);
        run.window = std::make_unique<MainWindow>(*run.controller);
        QSignalSpy loaded(run.controller.get(), &Controller::catalogueLoadedSignal);
        run.controller->applicationWillFinishLaunching();
        run.controller->applicationDidFinishLaunching();
        if (!loaded.wait(20000))
            qWarning("catalogue did not load");
        return run;
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
    }

    void firstAndSecondStart()
    {
        const QString apps = m_env->applicationsDirectory();
        BundleBuilder(apps + "/beta.app")
            .identifier("org.example.Beta")
            .localizedInfo("en", {{"CFBundleName", "Beta Pro"}})
            .write();
        BundleBuilder(apps + "/Gamma.app").identifier("org.example.Gamma").write();
        QFile note(apps + "/ReadMe.txt");
        QVERIFY(note.open(QIODevice::WriteOnly));
        note.close();

        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        QDateTime installDate;
        {
            Run run = start();
            Controller &c = *run.controller;
            QVERIFY(c.catalogueLoaded());
            installDate = c.defaults()->dateForKey("InstallDate");
            QVERIFY(installDate >= before &&
                    installDate <= QDateTime::currentDateTimeUtc().addSecs(1));
            QCOMPARE(c.defaults()->integerForKey("NumUses"), 1);
            QVERIFY(c.defaults()->stringArrayForKey("ExtraApps").isEmpty());

            // The progress bar followed the load and is gone.
            QCOMPARE(c.maxValue(), 3.0);
            QCOMPARE(c.progress(), 3.0);
            QTRY_COMPARE(c.progBar->value(), 3);
            QVERIFY(c.progBar->isHidden());

            // The first visible application is selected, as a copy linked to the catalogue's.
            QCOMPARE(c.apps().size(), 2);
            QVERIFY(c.currentListing());
            QCOMPARE(c.currentListing()->observer(), c.apps().first());
            QCOMPARE(c.nameLabel->text(), "Beta Pro");
            QCOMPARE(c.browser->applications().size(), 2);
            QCOMPARE(c.browser->selected(), 0);

            // The about texts come from Vexilo's own bundle.
            QVERIFY(c.version().startsWith("Version "));
            QVERIFY(!c.version().contains("%@"));
            QVERIFY(!c.marketingLine().isEmpty());
            QVERIFY(!c.credits().isEmpty());
            QVERIFY(c.creditsField->isReadOnly());
            QCOMPARE(c.creditsField->textCursor().position(), 0);
            QVERIFY(!c.creditsField->toPlainText().contains("\\rtf"));
        }
        {
            Run run = start();
            QCOMPARE(run.controller->defaults()->integerForKey("NumUses"), 2);
            QCOMPARE(run.controller->defaults()->dateForKey("InstallDate"), installDate);
        }
    }

    void emptyCatalogueLeavesPanelBlank()
    {
        Run run = start();
        QVERIFY(run.controller->catalogueLoaded());
        QVERIFY(run.controller->apps().isEmpty());
        QVERIFY(!run.controller->currentListing());
        QVERIFY(run.controller->nameLabel->isHidden());
        QVERIFY(!run.controller->launchButton->isEnabled());
    }

    void systemVersion_data()
    {
        QTest::addColumn<std::optional<quint32>>("version");
        QTest::addColumn<bool>("leopard");
        QTest::newRow("10.5.8") << std::optional<quint32>(0x1058) << true;
        QTest::newRow("10.4.11") << std::optional<quint32>(0x1049) << true;
        QTest::newRow("10.6.0") << std::optional<quint32>(0x1060) << false;
        QTest::newRow("10.6.8") << std::optional<quint32>(0x1068) << false;
        QTest::newRow("query fails") << std::optional<quint32>() << false;
    }
    void systemVersion()
    {
        QFETCH(std::optional<quint32>, version);
        QFETCH(bool, leopard);
        Run run = start(version);
        QCOMPARE(run.controller->isLeopard(), leopard);
    }
};

QTEST_MAIN(TestControllerStartup)
#include "tst_controllerstartup.moc"
