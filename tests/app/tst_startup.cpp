#include "AppController.h"
#include "AppRowView.h"
#include "BundleBuilder.h"
#include "HostilePlists.h"
#include "MainWindow.h"
#include "TestEnvironment.h"
#include "UserDefaults.h"
#include "catalogue/Catalogue.h"
#include "panel/Selection.h"
#include "row/RowBrowser.h"
#include "row/RowGeometry.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestStartup : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    // One start of Vexilo up to the end of loading.
    std::unique_ptr<AppController> start()
    {
        auto controller =
            std::make_unique<AppController>(std::make_shared<Platform>(m_env->platform()));
        QSignalSpy shown(controller.get(), &AppController::catalogueShown);
        controller->start();
        if (!shown.wait(20000))
            qWarning("catalogue was not shown");
        return controller;
    }

    // A left click on icon `index` of the row, once the row has painted.
    static void clickIcon(AppController &controller, int index,
                          Qt::MouseButton button = Qt::LeftButton)
    {
        auto *row = controller.window().findChild<AppRowView *>();
        QVERIFY(QTest::qWaitForWindowExposed(&controller.window()));
        row->repaint();
        const QPoint centre = RowGeometry::iconRect(index, false).center();
        QTest::mouseClick(row, button, {}, centre);
    }

    template <typename Widget> Widget *visible(AppController &controller, const QString &text)
    {
        for (Widget *w : controller.window().findChildren<Widget *>()) {
            if (w->text() == text && w->isVisible())
                return w;
        }
        return nullptr;
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
            .languages({"en", "fr"})
            .localizedInfo("en", {{"CFBundleName", "Beta Pro"}})
            .write();
        BundleBuilder(apps + "/Gamma.app").identifier("org.example.Gamma").write();
        QFile note(apps + "/ReadMe.txt");
        QVERIFY(note.open(QIODevice::WriteOnly));
        note.close();

        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        QDateTime installDate;
        {
            auto c = start();
            QVERIFY(c->catalogue().isLoaded());
            installDate = c->defaults().dateForKey("InstallDate");
            QVERIFY(installDate >= before &&
                    installDate <= QDateTime::currentDateTimeUtc().addSecs(1));
            QCOMPARE(c->defaults().integerForKey("NumUses"), 1);
            QVERIFY(c->defaults().stringArrayForKey("ExtraApps").isEmpty());

            // The progress bar followed the load and is gone.
            auto *bar = c->window().findChild<QProgressBar *>();
            QCOMPARE(bar->maximum(), 3);
            QCOMPARE(bar->value(), 3);
            QVERIFY(bar->isHidden());

            // The first visible application is selected, read afresh.
            QCOMPARE(c->catalogue().apps().size(), 2);
            QVERIFY(c->selection().current());
            QCOMPARE(c->selection().current()->path(), c->catalogue().apps().first()->path());
            QVERIFY(c->selection().current() != c->catalogue().apps().first());
            QVERIFY(visible<QLabel>(*c, "Beta Pro"));
            QVERIFY(visible<QLabel>(*c, "Available in 2 different languages."));
            QCOMPARE(c->row().selected(), 0);

            // A click on the second icon shows the second application.
            clickIcon(*c, 1);
            QCOMPARE(c->row().selected(), 1);
            QVERIFY(visible<QLabel>(*c, "Gamma"));
            QVERIFY(visible<QLabel>(*c, "(Unable to determine available languages)"));

            // The about box shows the texts of Vexilo's own bundle.
            c->window().showAboutBox();
            auto *credits = c->window().findChild<QTextBrowser *>();
            QVERIFY(credits && credits->isVisible());
            QVERIFY(credits->toPlainText().contains("Libraries"));
            QCOMPARE(credits->textCursor().position(), 0);
            QVERIFY(credits->isReadOnly());
            QVERIFY(visible<QLabel>(*c, "Version " + QString::fromLatin1(VEXILO_VERSION)));
            QVERIFY(visible<QLabel>(*c, "Open any application in any of its languages."));
        }
        {
            auto c = start();
            QCOMPARE(c->defaults().integerForKey("NumUses"), 2);
            QCOMPARE(c->defaults().dateForKey("InstallDate"), installDate);
        }
    }

    // Crafted Info.plist files list their bundles without identifier; the good one loads as
    // usual and Vexilo goes on working.
    void hostileBundlesBesideAGoodOne()
    {
        const QString apps = m_env->applicationsDirectory();
        BundleBuilder(apps + "/Good.app")
            .identifier("org.example.Good")
            .languages({"en", "fr"})
            .write();
        int i = 0;
        for (const auto &[name, bytes] : HostilePlists::all())
            BundleBuilder(apps + u"/Hostile-%1.app"_s.arg(++i))
                .file("Info.plist", bytes)
                .noInfoPlist()
                .write();
        auto c = start();
        QCOMPARE(c->catalogue().allApps().size(), i + 1);
        for (const AppListingPtr &listing : c->catalogue().allApps())
            QCOMPARE(listing->identifier().isEmpty(), listing->name() != "Good");
        // Each one can be selected, the last one too.
        auto *row = c->window().findChild<AppRowView *>();
        for (int index = 0; index < i; ++index)
            QTest::keyClick(row, Qt::Key_Right);
        QCOMPARE(c->selection().current()->path(), c->catalogue().apps().last()->path());
        QVERIFY(c->selection().panel().showsApplication);
    }

    // Typing in the search field narrows the row and shows its first match; a Remove over a
    // result asks about that application.
    void searchAndRemoveReachTheController()
    {
        for (const char *name : {"Alpha", "alpine", "Beta", "Bravo"}) {
            BundleBuilder(m_env->applicationsDirectory() + '/' + name + ".app")
                .identifier(QStringLiteral("org.example.") + name)
                .write();
        }
        auto c = start();
        auto *search = c->window().findChild<QLineEdit *>();
        QTest::keyClicks(search, "b");
        QCOMPARE(c->selection().current()->name(), "Beta");
        QCOMPARE(c->row().shown().size(), 2);

        auto *row = c->window().findChild<AppRowView *>();
        row->repaint();
        auto *menu = row->findChild<QMenu *>();
        const QPoint beside(65, 40);
        QContextMenuEvent besideEvent(QContextMenuEvent::Mouse, beside, row->mapToGlobal(beside));
        QApplication::sendEvent(row, &besideEvent);
        QVERIFY(!menu->isVisible());
        const QPoint bravo = RowGeometry::iconRect(1, false).center();
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, bravo, row->mapToGlobal(bravo));
        QApplication::sendEvent(row, &menuEvent);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().first()->text(), "Remove");
        menu->actions().first()->trigger();
        // The removal sheet names the result, found in the full list.
        auto *sheet = c->window().findChild<QMessageBox *>();
        QVERIFY(sheet && sheet->isVisible());
        QCOMPARE(sheet->text(), "Are you sure you want to remove Bravo from Vexilo?");
        sheet->reject();

        QTest::keyClicks(search, "x");
        QVERIFY(!c->selection().panel().showsApplication);
        search->clear();
        QCOMPARE(c->selection().current()->name(), "Alpha");
        QCOMPARE(c->row().shown().size(), 4);
    }

    void emptyCatalogueLeavesPanelBlank()
    {
        auto c = start();
        QVERIFY(c->catalogue().isLoaded());
        QVERIFY(c->catalogue().apps().isEmpty());
        QVERIFY(!c->selection().current());
        QVERIFY(!c->selection().panel().showsApplication);
        QVERIFY(!visible<QPushButton>(*c, "Launch")->isEnabled());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
