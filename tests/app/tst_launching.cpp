#include "AppController.h"
#include "AppRowView.h"
#include "BundleBuilder.h"
#include "LanguagePopUp.h"
#include "MainWindow.h"
#include "SpinningIndicator.h"
#include "TestEnvironment.h"
#include "WindowDriver.h"
#include "catalogue/Catalogue.h"
#include "row/RowBrowser.h"
#include "row/RowGeometry.h"

#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// What an application's executable does once it has written its start to the log.
enum class Behaviour { Runs, QuitsSlowly, ExitsAtOnce, IgnoresQuit };

// A script that logs "start <pid> [arg]... LANGUAGE=<value>" and, when asked to quit,
// "end <pid>".
QByteArray recorder(const QString &log, Behaviour behaviour)
{
    QByteArray script = "#!/bin/sh\nlog='" + QFile::encodeName(log) +
                        "'\n"
                        "line=\"start $$\"\n"
                        "for a in \"$@\"; do line=\"$line [$a]\"; done\n"
                        "echo \"$line LANGUAGE=$LANGUAGE\" >> \"$log\"\n";
    switch (behaviour) {
    case Behaviour::ExitsAtOnce:
        return script + "exit 0\n";
    case Behaviour::IgnoresQuit:
        script += "trap '' TERM\n";
        break;
    case Behaviour::QuitsSlowly:
        script += "trap 'sleep 1; echo \"end $$\" >> \"$log\"; exit 0' TERM\n";
        break;
    case Behaviour::Runs:
        script += "trap 'echo \"end $$\" >> \"$log\"; exit 0' TERM\n";
        break;
    }
    // wait returns at once when a signal comes; the short sleeps leave nothing behind for long.
    return script + "while :; do sleep 0.2 & wait $!; done\n";
}

} // namespace

// Launching in a language and always opening in it, through the window as the user does.
class TestLaunching : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<AppController> m_controller;
    QStringList m_logs;

    // A bundle whose executable logs its starts to <name>.log in the test's folder.
    QString recordingApp(const QString &name, const QStringList &languages,
                         Behaviour behaviour = Behaviour::Runs)
    {
        const QString log = m_env->root() + u"/%1.log"_s.arg(name);
        m_logs.append(log);
        const QString script = m_env->root() + u"/%1.sh"_s.arg(name);
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly) || file.write(recorder(log, behaviour)) < 0)
            return {};
        file.close();
        return BundleBuilder(m_env->applicationsDirectory() + u"/%1.app"_s.arg(name))
            .identifier("org.example." + name)
            .languages(languages)
            .executable(name, script)
            .write();
    }

    QStringList logOf(const QString &name) const
    {
        QFile file(m_env->root() + u"/%1.log"_s.arg(name));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    AppController &start()
    {
        m_controller =
            std::make_unique<AppController>(std::make_shared<Platform>(m_env->platform()));
        QSignalSpy shown(m_controller.get(), &AppController::catalogueShown);
        m_controller->start();
        if (!shown.wait(20000))
            qWarning("catalogue was not shown");
        return *m_controller;
    }

    MainWindow &window() { return m_controller->window(); }

    void click(const QString &name)
    {
        const QList<AppListingPtr> apps = m_controller->catalogue().apps();
        int index = -1;
        for (int i = 0; i < apps.size(); ++i) {
            if (apps.at(i)->name() == name)
                index = i;
        }
        QVERIFY2(index >= 0, qPrintable(name));
        WindowDriver::clickIcon(*m_controller, index);
    }

    void pick(const QString &title) { WindowDriver::pick(window(), title); }
    bool alwaysOpenChecked() { return window().findChild<LanguagePopUp *>()->itemState(0); }
    QPushButton *launchButton() { return WindowDriver::launchButton(window()); }
    bool isIdle() { return WindowDriver::isIdle(window()); }
    void pressLaunch() { QTest::mouseClick(launchButton(), Qt::LeftButton); }
    QString runningLine() { return WindowDriver::runningLine(window()); }
    QMessageBox *sheet() { return WindowDriver::sheet(window()); }
    void answer(const QString &button) { WindowDriver::answer(window(), button); }

    QString toolRead(const QString &domain)
    {
        QProcess tool;
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(m_env->platform().defaultsToolPath(), {"read", domain, "AppleLanguages"});
        tool.waitForFinished();
        return QString::fromUtf8(tool.readAll()).simplified();
    }

    static qint64 pidOf(const QString &line) { return line.section(' ', 1, 1).toLongLong(); }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en:it");
    }

    void cleanup()
    {
        // Whatever was started ends with the test.
        if (m_controller)
            QTRY_VERIFY_WITH_TIMEOUT(isIdle(), 30000);
        m_controller.reset();
        for (const QString &log : std::as_const(m_logs)) {
            QFile file(log);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray &line : file.readAll().split('\n')) {
                if (line.startsWith("start "))
                    ::kill(pid_t(line.split(' ').at(1).toLongLong()), SIGKILL);
            }
        }
        m_logs.clear();
    }

    void launchInALanguageAndAgainInAnother()
    {
        QVERIFY(!recordingApp("Recorder", {"en", "fr", "de"}).isEmpty());
        start();
        click("Recorder");
        pick("French");
        pressLaunch();
        // The work runs; the window waits with it but is not frozen.
        QCOMPARE(launchButton()->text(), "Launching...");
        QVERIFY(!launchButton()->isEnabled());
        QVERIFY(window().findChild<SpinningIndicator *>()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(isIdle(), 15000);
        QVERIFY(launchButton()->isEnabled());
        QCOMPARE(runningLine(), "Currently open in French.");
        QStringList log = logOf("Recorder");
        QCOMPARE(log.size(), 1);
        QVERIFY2(log.first().contains(" [-AppleLanguages] [(fr)] LANGUAGE=fr:en:it"),
                 qPrintable(log.first()));
        const qint64 french = pidOf(log.first());

        // Running: asks first, naming the application and the language.
        pick("German");
        pressLaunch();
        QVERIFY(sheet());
        QCOMPARE(sheet()->text(), "Quit?");
        QCOMPARE(sheet()->informativeText(), "Recorder is already open. Are you sure you want to "
                                             "quit it and then re-open it in German?");
        answer("Cancel");
        QVERIFY(isIdle());
        QTest::qWait(300);
        QCOMPARE(logOf("Recorder").size(), 1);

        pressLaunch();
        answer("OK");
        QTRY_COMPARE_WITH_TIMEOUT(logOf("Recorder").size(), 3, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(isIdle(), 15000);
        log = logOf("Recorder");
        QCOMPARE(log.at(1), u"end %1"_s.arg(french));
        QVERIFY2(log.at(2).contains(" [-AppleLanguages] [(de)] LANGUAGE=de:en:it"),
                 qPrintable(log.at(2)));
        QCOMPARE(runningLine(), "Currently open in German.");
    }

    // After the quit the application selected then starts, in the language chosen for it.
    void selectionChangedWhileTheOldCopyQuits()
    {
        QVERIFY(!recordingApp("Slow", {"en", "fr"}, Behaviour::QuitsSlowly).isEmpty());
        QVERIFY(!recordingApp("Other", {"de", "ja"}).isEmpty());
        start();
        click("Slow");
        pressLaunch();
        QTRY_VERIFY_WITH_TIMEOUT(isIdle(), 15000);
        pressLaunch();
        answer("OK");
        click("Other");
        pick("Japanese");
        QTRY_VERIFY_WITH_TIMEOUT(isIdle(), 15000);
        QCOMPARE(logOf("Slow").size(), 2);
        QVERIFY(logOf("Slow").last().startsWith("end "));
        QCOMPARE(logOf("Other").size(), 1);
        QVERIFY(logOf("Other").first().contains(" [-AppleLanguages] [(ja)] LANGUAGE=ja:en:it"));
        QCOMPARE(runningLine(), "Currently open in Japanese.");
    }

    void alwaysOpen()
    {
        QVERIFY(!recordingApp("Keeper", {"en", "fr", "de"}).isEmpty());
        start();
        click("Keeper");
        pick("French");
        QVERIFY(!alwaysOpenChecked());

        // Cancel runs no tool and changes nothing.
        pick("Always open in this language");
        QCOMPARE(sheet()->text(), "Always open in French?");
        QCOMPARE(sheet()->informativeText(), "This can be changed at any time.");
        answer("Cancel");
        QVERIFY(isIdle());
        QVERIFY(!alwaysOpenChecked());
        QVERIFY(!QFileInfo::exists(m_env->preferencesDirectory() + "/org.example.Keeper.plist"));

        pick("Always open in this language");
        answer("OK");
        QTRY_VERIFY_WITH_TIMEOUT(alwaysOpenChecked(), 15000);
        QTRY_VERIFY(isIdle());
        QCOMPARE(toolRead("org.example.Keeper"), "( fr )");
        // The chosen language stays chosen, never the always-open entry.
        QCOMPARE(window().findChild<LanguagePopUp *>()->text(), "French");
        QVERIFY(logOf("Keeper").isEmpty());

        // Checked: the same entry resets, quitting and restarting the running copy around it.
        pressLaunch();
        QTRY_VERIFY_WITH_TIMEOUT(isIdle(), 15000);
        pick("Always open in this language");
        QCOMPARE(sheet()->text(), "Reset to default language?");
        QCOMPARE(sheet()->informativeText(), "Vexilo will need to quit Keeper.");
        answer("OK");
        QTRY_VERIFY_WITH_TIMEOUT(logOf("Keeper").size() == 3 && isIdle(), 15000);
        QVERIFY(!alwaysOpenChecked());
        QVERIFY(toolRead("org.example.Keeper").contains("does not exist"));
        QStringList log = logOf("Keeper");
        QVERIFY(log.at(1).startsWith("end "));
        // Started without arguments, in the user's own languages.
        QCOMPARE(log.at(2), u"start %1 LANGUAGE=en:it"_s.arg(pidOf(log.at(2))));

        // Running, no stored language: German is written and the copy restarted in it.
        pick("German");
        pick("Always open in this language");
        QCOMPARE(sheet()->text(), "Always open in German?");
        QCOMPARE(sheet()->informativeText(), "Vexilo will need to quit Keeper.");
        answer("OK");
        QTRY_VERIFY_WITH_TIMEOUT(logOf("Keeper").size() == 5 && isIdle(), 15000);
        QVERIFY(alwaysOpenChecked());
        QCOMPARE(toolRead("org.example.Keeper"), "( de )");
        log = logOf("Keeper");
        QVERIFY(log.at(3).startsWith("end "));
        QCOMPARE(log.at(4), u"start %1 LANGUAGE=de:en:it"_s.arg(pidOf(log.at(4))));
        QCOMPARE(runningLine(), "Currently open in German.");
    }

    // Whatever the executable does, the panel is idle again within the bounds.
    void troublesomeExecutables_data()
    {
        QTest::addColumn<int>("behaviour");
        QTest::addColumn<bool>("missing");
        QTest::newRow("exits at once") << int(Behaviour::ExitsAtOnce) << false;
        QTest::newRow("ignores the request to quit") << int(Behaviour::IgnoresQuit) << false;
        QTest::newRow("missing") << int(Behaviour::Runs) << true;
    }
    void troublesomeExecutables()
    {
        QFETCH(int, behaviour);
        QFETCH(bool, missing);
        const QString bundle = recordingApp("Trouble", {"en", "fr"}, Behaviour(behaviour));
        if (missing)
            QVERIFY(QFile::remove(bundle + "/Contents/MacOS/Trouble"));
        start();
        click("Trouble");
        pick("French");
        pressLaunch();
        QTRY_VERIFY_WITH_TIMEOUT(isIdle(), 15000);
        if (missing) {
            // Nothing runs, and the panel does not claim otherwise.
            QVERIFY(logOf("Trouble").isEmpty());
            QCOMPARE(runningLine(), QString());
            return;
        }
        QCOMPARE(logOf("Trouble").size(), 1);
        if (Behaviour(behaviour) == Behaviour::ExitsAtOnce)
            return;
        QCOMPARE(runningLine(), "Currently open in French.");
        pressLaunch();
        answer("OK");
        QVERIFY(!isIdle());
        // Left running after the wait for it to quit; the launch goes on.
        QTRY_VERIFY_WITH_TIMEOUT(isIdle(), 25000);
        const QStringList log = logOf("Trouble");
        QCOMPARE(log.size(), 2);
        QVERIFY(log.at(1).contains("[(fr)]"));
        QVERIFY(::kill(pid_t(pidOf(log.at(0))), 0) == 0);
    }
};

QTEST_MAIN(TestLaunching)
#include "tst_launching.moc"
