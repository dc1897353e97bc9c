#include "BundleBuilder.h"
#include "DesktopTree.h"
#include "ListingNames.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "WindowDriver.h"
#include "platform/preferences/PreferencesStore.h"
#include "platform/process/ProcessControl.h"
#include "platform/process/Processes.h"

#include <csignal>

using namespace Qt::StringLiterals;
using namespace WindowDriver;

namespace {

// What an executable does once it has logged its start. wait returns at once when a signal
// comes; the short sleeps leave nothing behind for long.
const QByteArray kLoop = "while :; do sleep 0.2 & wait $!; done\n";
const QByteArray kRuns = "trap 'echo \"end $$\" >> \"$log\"; exit 0' TERM\n" + kLoop;
const QByteArray kQuitsSlowly =
    "trap 'sleep 4; echo \"end $$\" >> \"$log\"; exit 0' TERM\n" + kLoop;
const QByteArray kIgnoresQuit = "trap '' TERM\n" + kLoop;

// Running copies are found by identifier, machine-wide: one of this run's own keeps another
// run of these tests from seeing this one's copies.
QString identifier(const QString &name)
{
    return "org.example." + name + QString::number(QCoreApplication::applicationPid());
}

qint64 pidOf(const QString &line)
{
    return line.section(' ', 1, 1).toLongLong();
}

} // namespace

// Launching in a language and always opening in it through the window as the user does, and
// the copies started outside Vexilo that the window tells of.
class TestLaunching : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<DesktopTree> m_tree; // its logs list what was started
    std::unique_ptr<AppController> m_c;
    QStringList m_programs;
    QList<qint64> m_copies;
    QByteArray m_path;

    // A bundle whose executable appends "start <pid> [arg]... LANGUAGE=<value>" to <name>.log,
    // then does `then`.
    QString recordingApp(const QString &name, const QStringList &languages,
                         const QByteArray &then = kRuns, const QByteArray &shebang = "#!/bin/sh\n")
    {
        m_programs.append(name);
        const QString script =
            m_tree->write(name + ".sh", shebang + "log='" + QFile::encodeName(m_env->root()) + "/" +
                                            name.toUtf8() +
                                            ".log'\nline=\"start $$\"\n"
                                            "for a in \"$@\"; do line=\"$line [$a]\"; done\n"
                                            "echo \"$line LANGUAGE=$LANGUAGE\" >> \"$log\"\n" +
                                            then);
        return BundleBuilder(m_env->applicationsDirectory() + '/' + name + ".app")
            .identifier(identifier(name))
            .languages(languages)
            .executable(name, script)
            .write();
    }
    QStringList logOf(const QString &name) const { return m_tree->log(name); }
    // Line `index` of the application's log holds `text`.
    void logged(const QString &name, int index, const QString &text)
    {
        const QString line = logOf(name).value(index);
        QVERIFY2(line.contains(text),
                 qPrintable(u"%1, line %2: %3"_s.arg(name).arg(index).arg(line)));
    }
    // Until the application's log has this many lines and no work runs.
    void waitForLog(const QString &name, int lines)
    {
        QTRY_VERIFY_WITH_TIMEOUT(logOf(name).size() == lines && isIdle(), 20000);
    }

    void start() { m_c = WindowDriver::start(m_env->platform()); }
    MainWindow &window() { return m_c->window(); }
    void pressLaunch() { QTest::mouseClick(launchButton(window()), Qt::LeftButton); }
    // No launch work runs.
    bool isIdle()
    {
        return launchButton(window())->text() == u"Launch" &&
               window().findChild<SpinningIndicator *>()->isHidden();
    }
    QString runningLine() { return label(window(), "Currently open in"); }
    LanguagePopUp *popUp() { return window().findChild<LanguagePopUp *>(); }
    bool alwaysOpenChecked() { return popUp()->itemState(0); }
    // Picks these entries of the pop-up's menu in turn.
    void pick(const QStringList &titles)
    {
        for (const QString &title : titles) {
            const QList<QAction *> entries = popUp()->menu()->actions();
            const auto entry = std::find_if(entries.begin(), entries.end(),
                                            [&](QAction *a) { return a->text() == title; });
            QVERIFY2(entry != entries.end(), qPrintable(title));
            (*entry)->trigger();
        }
    }
    // Started outside Vexilo, and up once the process list shows it; quit with the test.
    qint64 startCopy(const QString &program, const QStringList &arguments)
    {
        const qint64 pid = ProcessControl::startDetached(program, arguments,
                                                         QProcessEnvironment::systemEnvironment());
        m_copies.append(pid);
        const auto listed = [pid] {
            for (const RunningApplication &app : Processes().launchedApplications()) {
                if (app.processIdentifier == pid)
                    return true;
            }
            return false;
        };
        return QTest::qWaitFor(listed, 10000) ? pid : 0;
    }
    // The language stored for the application, as the next start reads it.
    QVariant stored(const QString &name)
    {
        return PreferencesStore(m_env->preferencesDirectory())
            .value(identifier(name), "AppleLanguages")
            .value_or(QVariant());
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_tree = std::make_unique<DesktopTree>(m_env->root());
        TestEnvironment::setLanguage("en_US", "en:it");
        m_path = qgetenv("PATH");
    }

    void cleanup()
    {
        if (m_c)
            QTRY_VERIFY_WITH_TIMEOUT(isIdle(), 30000);
        m_c.reset();
        for (const QString &name : std::as_const(m_programs)) {
            for (const QString &line : logOf(name)) {
                if (line.startsWith("start "))
                    ::kill(pid_t(pidOf(line)), SIGKILL);
            }
        }
        m_programs.clear();
        for (qint64 pid : ProcessControl::quit(m_copies, std::chrono::seconds(5)))
            ::kill(pid_t(pid), SIGKILL);
        m_copies.clear();
        qputenv("PATH", m_path);
    }

    // Launched in French, then in German after its quit; while the German one quits, another
    // application is selected: what starts then is what the user confirmed.
    void launchInALanguageAndAgainInAnother()
    {
        QVERIFY(!recordingApp("Recorder", {"en", "fr", "de"}, kQuitsSlowly).isEmpty());
        QVERIFY(!recordingApp("Other", {"de", "ja"}).isEmpty());
        start();
        // Return before the next application is gathered does not start the one before.
        QTest::keyClick(row(*m_c), Qt::Key_Right);
        QTest::keyClick(row(*m_c), Qt::Key_Return);
        QVERIFY(isIdle());
        click(*m_c, "Recorder");
        pick({"French"});
        pressLaunch();
        // The work runs; the window waits with it but is not frozen.
        QCOMPARE(launchButton(window())->text(), "Launching...");
        QVERIFY(!launchButton(window())->isEnabled());
        QVERIFY(window().findChild<SpinningIndicator *>()->isVisible());
        waitForLog("Recorder", 1);
        QVERIFY(launchButton(window())->isEnabled());
        logged("Recorder", 0, " [-AppleLanguages] [(fr)] LANGUAGE=fr:en:it");
        QCOMPARE(runningLine(), "Currently open in French.");

        // Running: asks first; Cancel starts no work.
        pick({"German"});
        pressLaunch();
        QCOMPARE(sheetLines(window()),
                 (QStringList{"Quit?", "Recorder is already open. Are you sure you want to quit "
                                       "it and then re-open it in German?"}));
        answer(window(), "Cancel");
        QVERIFY(isIdle());
        pressLaunch();
        answer(window(), "OK");
        waitForLog("Recorder", 3);
        QCOMPARE(logOf("Recorder").at(1), u"end %1"_s.arg(pidOf(logOf("Recorder").at(0))));
        logged("Recorder", 2, " [-AppleLanguages] [(de)] LANGUAGE=de:en:it");
        QCOMPARE(runningLine(), "Currently open in German.");

        pressLaunch();
        answer(window(), "OK");
        click(*m_c, "Other");
        pick({"Japanese"});
        waitForLog("Recorder", 5);
        logged("Recorder", 3, "end ");
        logged("Recorder", 4, " [-AppleLanguages] [(de)] LANGUAGE=de:en:it");
        QVERIFY(logOf("Other").isEmpty());
        click(*m_c, "Recorder");
        QCOMPARE(runningLine(), "Currently open in German.");
    }

    // Stored with the preferences tool; a running copy is quit and started again around it.
    void alwaysOpen()
    {
        QVERIFY(!recordingApp("Keeper", {"en", "fr", "de"}).isEmpty());
        start();
        click(*m_c, "Keeper");
        pick({"French", "Always open in this language"});
        QCOMPARE(sheetLines(window()),
                 (QStringList{"Always open in French?", "This can be changed at any time."}));
        answer(window(), "Cancel");
        QVERIFY(isIdle() && !alwaysOpenChecked() && stored("Keeper").isNull());
        pick({"Always open in this language"});
        answer(window(), "OK");
        QTRY_VERIFY_WITH_TIMEOUT(alwaysOpenChecked() && isIdle(), 15000);
        QCOMPARE(stored("Keeper"), QVariant(QVariantList{"fr"}));
        // The chosen language stays chosen, never the always-open entry.
        QCOMPARE(popUp()->text(), "French");
        QVERIFY(logOf("Keeper").isEmpty());

        // Running and checked: the same entry resets.
        pressLaunch();
        waitForLog("Keeper", 1);
        pick({"Always open in this language"});
        QCOMPARE(sheetLines(window()),
                 (QStringList{"Reset to default language?", "Vexilo will need to quit Keeper."}));
        answer(window(), "OK");
        waitForLog("Keeper", 3);
        QVERIFY(!alwaysOpenChecked());
        QCOMPARE(stored("Keeper"), QVariant());
        logged("Keeper", 1, "end ");
        // Started without arguments, in the user's own languages.
        QCOMPARE(logOf("Keeper").at(2),
                 u"start %1 LANGUAGE=en:it"_s.arg(pidOf(logOf("Keeper").at(2))));

        // Running, no stored language: German is written and the copy restarted in it.
        pick({"German", "Always open in this language"});
        QCOMPARE(sheetLines(window()),
                 (QStringList{"Always open in German?", "Vexilo will need to quit Keeper."}));
        answer(window(), "OK");
        waitForLog("Keeper", 5);
        QVERIFY(alwaysOpenChecked());
        QCOMPARE(stored("Keeper"), QVariant(QVariantList{"de"}));
        logged("Keeper", 3, "end ");
        QCOMPARE(logOf("Keeper").at(4),
                 u"start %1 LANGUAGE=de:en:it"_s.arg(pidOf(logOf("Keeper").at(4))));
        QTRY_COMPARE(runningLine(), "Currently open in German.");
    }

    // A change that cannot be made is said so and leaves the mark as it was; an application
    // without identifier offers none, and says why.
    void alwaysOpenRefused()
    {
        QVERIFY(!recordingApp("Keeper", {"en", "fr"}).isEmpty());
        const QString anonymous = recordingApp("Anonymous", {"en", "fr"});
        BundleBuilder(anonymous).languages({"en", "fr"}).write();
        // A folder where the application's preferences would be written.
        QVERIFY(
            QDir().mkpath(m_env->preferencesDirectory() + '/' + identifier("Keeper") + ".plist"));
        start();
        click(*m_c, "Keeper");
        pick({"French", "Always open in this language"});
        answer(window(), "OK");
        QTRY_VERIFY(isIdle() && sheet(window()));
        const QStringList lines = sheetLines(window());
        QCOMPARE(lines.value(0), "The language was not changed");
        QVERIFY2(lines.value(1).startsWith("Vexilo could not change the language Keeper opens "
                                           "in.\n\n"),
                 qPrintable(lines.value(1)));
        answer(window(), "OK");
        QVERIFY(!alwaysOpenChecked());

        click(*m_c, "Anonymous");
        QVERIFY(!popUp()->menu()->actions().first()->isEnabled());
        QCOMPARE(popUp()->menu()->actions().first()->toolTip(),
                 "This app has no bundle identifier, so Vexilo cannot set its language.");
    }

    // Whatever the executable does, the panel is idle again within the bounds; one that cannot
    // be started at all is said so in a sheet.
    void troublesomeExecutables_data()
    {
        QTest::addColumn<QByteArray>("then");
        QTest::addColumn<QString>("breakage");
        QTest::addColumn<QString>("reason"); // the sheet's message; empty: no sheet
        QTest::newRow("exits at once") << QByteArray("exit 0\n") << u""_s << u""_s;
        QTest::newRow("ignores the request to quit") << kIgnoresQuit << u""_s << u""_s;
        QTest::newRow("missing") << kRuns << u"missing"_s
                                 << u"The application has no executable to start."_s;
        QTest::newRow("not executable") << kRuns << u"mode"_s << u"Permission denied"_s;
        QTest::newRow("CRLF #! line") << kRuns << u"crlf"_s << u"No such file or directory"_s;
    }
    void troublesomeExecutables()
    {
        QFETCH(QByteArray, then);
        QFETCH(QString, breakage);
        QFETCH(QString, reason);
        const QString bundle = recordingApp("Trouble", {"en", "fr"}, then,
                                            breakage == "crlf" ? "#!/bin/sh\r\n" : "#!/bin/sh\n");
        const QString executable = bundle + "/Contents/MacOS/Trouble";
        if (breakage == "missing")
            QVERIFY(QFile::remove(executable));
        if (breakage == "mode")
            QVERIFY(QFile::setPermissions(executable, QFile::ReadOwner | QFile::WriteOwner));
        start();
        click(*m_c, "Trouble");
        pick({"French"});
        pressLaunch();
        if (!reason.isEmpty()) {
            QTRY_VERIFY(isIdle());
            QCOMPARE(sheetLines(window()), (QStringList{"Trouble could not be opened.", reason}));
            answer(window(), "OK");
            // Nothing runs, and the panel does not claim otherwise.
            QCOMPARE(runningLine(), QString());
            QVERIFY(logOf("Trouble").isEmpty());
            return;
        }
        waitForLog("Trouble", 1);
        if (then != kIgnoresQuit)
            return;
        QCOMPARE(runningLine(), "Currently open in French.");
        pressLaunch();
        answer(window(), "OK");
        QVERIFY(!isIdle());
        // Left running after the wait for it to quit; the launch goes on.
        QTRY_VERIFY_WITH_TIMEOUT(isIdle(), 25000);
        QCOMPARE(logOf("Trouble").size(), 2);
        logged("Trouble", 1, "[(fr)]");
        QVERIFY(::kill(pid_t(pidOf(logOf("Trouble").at(0))), 0) == 0);
    }

    // An application of the desktop's menu, launched with its own command and always opened in
    // a language through an entry of Vexilo's own in the user's folder, which the reset takes
    // away; an entry of the user's own is never changed. How each kind of program is told apart
    // and started is the platform's own tests' matter.
    void desktopApplication()
    {
        DesktopTree &tree = *m_tree;
        qputenv("PATH", tree.path().toUtf8());
        tree.recorder("bin/gtkapp", "gtkapp");
        m_programs.append("gtkapp");
        const QString sys = tree.systemFolder();
        tree.entry(
            sys, "org.example.Gtk.desktop",
            "Name=Gtk App\nExec=gtkapp --title \"Two words\" %U\nX-GNOME-Gettext-Domain=gtk\n");
        tree.entry(sys, "console.desktop", "Name=Console\nExec=gtkapp\nTerminal=true\n");
        tree.entry(sys, "mine.desktop", "Name=Mine\nExec=gtkapp\nX-GNOME-Gettext-Domain=gtk\n");
        tree.entry(tree.userFolder(), "mine.desktop",
                   "Name=Mine\nExec=env LANGUAGE=it gtkapp\nX-GNOME-Gettext-Domain=gtk\n");
        for (const char *lang : {"fr", "de"})
            tree.write(u"system/locale/%1/LC_MESSAGES/gtk.mo"_s.arg(QLatin1String(lang)), "");
        const QHash<QString, QByteArray> before = DesktopTree::snapshot(tree.userFolder());
        m_env->setDesktopEntries(std::make_shared<DesktopEntries>(tree.setup()));
        start();
        // Programs that need a terminal are left out.
        QCOMPARE(names(m_c->row().shown()), (QStringList{"Gtk App", "Mine"}));

        click(*m_c, "Gtk App");
        pick({"French"});
        pressLaunch();
        waitForLog("gtkapp", 1);
        logged("gtkapp", 0, "[--title] [Two words] LANGUAGE=fr:en:it");
        // The copy's own environment tells its language.
        QCOMPARE(runningLine(), "Currently open in French.");

        pick({"German", "Always open in this language"});
        QCOMPARE(sheetLines(window()),
                 (QStringList{"Always open in German?", "Vexilo will need to quit Gtk App."}));
        answer(window(), "OK");
        waitForLog("gtkapp", 3);
        logged("gtkapp", 1, "end ");
        logged("gtkapp", 2, "LANGUAGE=de:en:it");
        QVERIFY(readFile(tree.userFolder() + "/org.example.Gtk.desktop")
                    .contains("Exec=env LANGUAGE=de:en:it"));

        // Selected again, the mark is read back from the entry; the reset removes it.
        click(*m_c, "Mine");
        click(*m_c, "Gtk App");
        pick({"German"});
        QVERIFY(alwaysOpenChecked());
        pick({"Always open in this language"});
        QCOMPARE(sheetLines(window()).value(0), "Reset to default language?");
        answer(window(), "OK");
        waitForLog("gtkapp", 5);
        QVERIFY(!alwaysOpenChecked());
        QCOMPARE(DesktopTree::snapshot(tree.userFolder()), before);

        click(*m_c, "Mine");
        pick({"German", "Always open in this language"});
        QCOMPARE(sheetLines(window()).value(0), "The language was not changed");
        QVERIFY(sheetLines(window()).value(1).contains(tree.userFolder() + "/mine.desktop"));
        QCOMPARE(sheet(window())->buttons().size(), 1);
        answer(window(), "OK");
        QCOMPARE(DesktopTree::snapshot(tree.userFolder()), before);
        QCOMPARE(logOf("gtkapp").size(), 5);
    }

    // A copy started outside Vexilo has its line, which follows it when Vexilo becomes active
    // again.
    // Vexilo's own bundle, whatever it is called, never has a line nor a Launch button.
    void runningCopiesStartedElsewhere()
    {
        const QString apps = m_env->applicationsDirectory();
        const QString echo = BundleBuilder(apps + u"/\u00c9cho Zeta.app"_s)
                                 .identifier(identifier("EchoZeta"))
                                 .languages({"en", "fr", "de"})
                                 .executable("Echo")
                                 .write();
        const QString own = apps + "/Renamed.app";
        QCOMPARE(QProcess::execute("cp", {"-a", VEXILO_TEST_BUNDLE, own}), 0);
        BundleBuilder(apps + "/Vexilo.app")
            .identifier("org.example.NotVexilo")
            .languages({"en", "fr"})
            .write();
        const qint64 copy = startCopy(echo + "/Contents/MacOS/Echo", {"-AppleLanguages", "(fr)"});
        QVERIFY(copy && startCopy(own + "/Contents/MacOS/Vexilo", {}));
        Platform platform = m_env->platform();
        platform.mainBundlePath = own;
        m_c = WindowDriver::start(platform);
        const auto becomeActive = [] {
            emit static_cast<QGuiApplication *>(QCoreApplication::instance())
                ->applicationStateChanged(Qt::ApplicationActive);
        };

        click(*m_c, u"\u00c9cho Zeta"_s);
        QCOMPARE(runningLine(), "Currently open in French.");
        QVERIFY(ProcessControl::quit({copy}, std::chrono::seconds(5)).isEmpty());
        QCOMPARE(runningLine(), "Currently open in French.");
        becomeActive();
        // Looked for again in the background.
        QTRY_COMPARE(runningLine(), QString());

        click(*m_c, "Renamed");
        becomeActive();
        QCOMPARE(runningLine(), QString());
        QVERIFY(!launchButton(window())->isEnabled());
        click(*m_c, "Vexilo");
        QVERIFY(launchButton(window())->isEnabled());
    }
};

QTEST_MAIN(TestLaunching)
#include "tst_launching.moc"
