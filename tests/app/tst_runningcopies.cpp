#include "AppController.h"
#include "AppRowView.h"
#include "BundleBuilder.h"
#include "MainWindow.h"
#include "Processes.h"
#include "TestEnvironment.h"
#include "catalogue/Catalogue.h"
#include "row/RowGeometry.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

struct Stop { // whatever a test starts ends with it
    void operator()(QProcess *p) const { p->kill(), p->waitForFinished(), delete p; }
};
using ProcessPtr = std::unique_ptr<QProcess, Stop>;

bool isListed(qint64 pid)
{
    for (const RunningApplication &app : Processes().launchedApplications()) {
        if (app.processIdentifier == pid)
            return true;
    }
    return false;
}

} // namespace

// Copies of applications started outside Vexilo, as the window shows them.
class TestRunningCopies : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    // Started outside Vexilo, and up once the process list shows it.
    ProcessPtr startCopy(const QString &program, const QStringList &arguments)
    {
        ProcessPtr process(new QProcess);
        process->start(program, arguments);
        if (!process->waitForStarted() ||
            !QTest::qWaitFor([&] { return isListed(process->processId()); }, 10000))
            return nullptr;
        return process;
    }

    // Clicks the application's icon in the row, as the user does.
    void click(AppController &c, const QString &name)
    {
        const QList<AppListingPtr> apps = c.catalogue().apps();
        int index = -1;
        for (int i = 0; i < apps.size(); ++i) {
            if (apps.at(i)->name() == name)
                index = i;
        }
        QVERIFY2(index >= 0, qPrintable(name));
        auto *row = c.window().findChild<AppRowView *>();
        QTest::mouseClick(row, Qt::LeftButton, {}, RowGeometry::iconRect(index, false).center());
        QCOMPARE(c.row().selected(), index);
    }

    // The running-instance line as shown; empty when hidden.
    static QString runningLine(AppController &c)
    {
        for (QLabel *label : c.window().findChildren<QLabel *>()) {
            if (label->text().startsWith(u"Currently open in") && label->isVisible())
                return label->text();
        }
        return {};
    }

    static bool launchEnabled(AppController &c)
    {
        for (QPushButton *button : c.window().findChildren<QPushButton *>()) {
            if (button->text() == u"Launch")
                return button->isEnabled();
        }
        return false;
    }

    static void becomeActive()
    {
        emit static_cast<QGuiApplication *>(QCoreApplication::instance())
            ->applicationStateChanged(Qt::ApplicationActive);
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
    }

    void runningCopiesThroughTheWindow()
    {
        const QString apps = m_env->applicationsDirectory();
        const QString echo = BundleBuilder(apps + u"/\u00c9cho Zeta.app"_s)
                                 .identifier("org.example.EchoZeta")
                                 .languages({"en", "fr", "de"})
                                 .executable("Echo")
                                 .write();
        QTemporaryDir scratch;
        const QString scriptSource = scratch.filePath("run");
        QFile script(scriptSource);
        QVERIFY(script.open(QIODevice::WriteOnly) && script.write("#!/bin/sh\nread line\n") > 0);
        script.close();
        const QString wrapped = BundleBuilder(apps + "/Wrapped.app")
                                    .identifier("org.example.Wrapped")
                                    .languages({"en", "de"})
                                    .executable("run", scriptSource)
                                    .write();
        // Vexilo itself, renamed, beside an unrelated application that happens to be called so.
        const QString own = apps + "/Renamed.app";
        QCOMPARE(QProcess::execute("cp", {"-a", VEXILO_TEST_BUNDLE, own}), 0);
        BundleBuilder(apps + "/Vexilo.app")
            .identifier("org.example.NotVexilo")
            .languages({"en", "fr"})
            .write();

        ProcessPtr french = startCopy(echo + "/Contents/MacOS/Echo", {"-AppleLanguages", "(fr)"});
        const ProcessPtr german =
            startCopy(wrapped + "/Contents/MacOS/run", {"-AppleLanguages", "(de)"});
        QVERIFY(french && german);

        auto platform = std::make_shared<Platform>(m_env->platform());
        platform->mainBundlePath = own;
        AppController c(platform);
        QSignalSpy shown(&c, &AppController::catalogueShown);
        c.start();
        QVERIFY(shown.wait(20000));

        click(c, u"\u00c9cho Zeta"_s);
        QCOMPARE(runningLine(c), "Currently open in French.");
        click(c, "Wrapped");
        QCOMPARE(runningLine(c), "Currently open in German.");

        // Restarted in another language while Vexilo was in the background, then quit.
        click(c, u"\u00c9cho Zeta"_s);
        french.reset();
        french = startCopy(echo + "/Contents/MacOS/Echo", {"-AppleLanguages", "(de)"});
        QVERIFY(french);
        QCOMPARE(runningLine(c), "Currently open in French.");
        becomeActive();
        QCOMPARE(runningLine(c), "Currently open in German.");
        french.reset();
        becomeActive();
        QCOMPARE(runningLine(c), QString());

        // Vexilo's own entry is the bundle at its own path, running or not; it never has a line.
        const ProcessPtr vexilo = startCopy(own + "/Contents/MacOS/Vexilo", {});
        QVERIFY(vexilo);
        click(c, "Renamed");
        QVERIFY(!launchEnabled(c));
        becomeActive();
        QCOMPARE(runningLine(c), QString());
        click(c, "Vexilo");
        QVERIFY(launchEnabled(c));
    }
};

QTEST_MAIN(TestRunningCopies)
#include "tst_runningcopies.moc"
