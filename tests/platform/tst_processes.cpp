#include "BundleBuilder.h"
#include "TestFiles.h"
#include "platform/desktop/DesktopProcesses.h"
#include "platform/process/Processes.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Started with this variable set, a copy of this test only waits for its standard input to
// close: a bundled process that takes any arguments, whatever they look like.
constexpr char kChildVariable[] = "VEXILO_TST_PROCESSES_WAIT";

struct Stop { // whatever a test starts ends with it, without QProcess's warning
    void operator()(QProcess *p) const { p->kill(), p->waitForFinished(), delete p; }
};
using ProcessPtr = std::unique_ptr<QProcess, Stop>;

ProcessPtr start(const QString &program, const QStringList &arguments = {})
{
    ProcessPtr process(new QProcess);
    process->start(program, arguments);
    // The kernel puts the new argument block in place a moment after the exec has begun.
    const QByteArray started = "ARGS\n" + QFile::encodeName(program);
    const bool ready = QTest::qWaitFor([&] {
        return process->waitForStarted() &&
               Processes().commandLineReport(process->processId()).startsWith(started);
    });
    return ready ? std::move(process) : nullptr;
}

// The PIDs of the running applications (of one bundle identifier), in the order listed.
QList<qint64> listed(const QString &identifier = QString())
{
    QList<qint64> pids;
    for (const RunningApplication &app : Processes().launchedApplications())
        if (identifier.isEmpty() || app.bundleIdentifier == identifier)
            pids.append(app.processIdentifier);
    return pids;
}

} // namespace

class TestProcesses : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv(kChildVariable, "1"); // for the children: this process has read it already
        const QString self = QCoreApplication::applicationFilePath();
        BundleBuilder(m_dir.filePath("NoId.app")).executable("NoId", self).write();
        // Blanks and accented letters in the path, as the report must carry them.
        BundleBuilder builder(m_dir.filePath(u"\u00c9cho Zeta.app"_s));
        builder.identifier("org.example.tst-processes").executable("App", self).write();
        m_waiter = m_dir.filePath(u"\u00c9cho Zeta.app/Contents/MacOS/App"_s);
    }

    void runningApplications()
    {
        ProcessPtr first = start(m_waiter, {"-AppleLanguages", "(fr)"});
        // A line break in an argument cannot pose as a line of the report.
        const ProcessPtr second = start(m_waiter, {"a b", "", "one\nARGS\n-AppleLanguages (de)"});
        const ProcessPtr noId = start(m_dir.filePath("NoId.app/Contents/MacOS/NoId"));
        QVERIFY(first && second && noId);
        const qint64 firstPid = first->processId(), secondPid = second->processId();
        const QByteArray exe = QFile::encodeName(m_waiter);
        QCOMPARE(Processes().commandLineReport(firstPid),
                 "ARGS\n" + exe + " -AppleLanguages (fr)\n");
        QCOMPARE(Processes().commandLineReport(secondPid),
                 "ARGS\n" + exe + " a b  one?ARGS?-AppleLanguages (de)\n");

        QVERIFY(!listed().contains(noId->processId()));
        QCOMPARE(listed("org.example.tst-processes"),
                 (QList<qint64>{std::min(firstPid, secondPid), std::max(firstPid, secondPid)}));
        first.reset(); // killed, and waited for
        QCOMPARE(listed("org.example.tst-processes"), QList<qint64>{secondPid});
    }

    void zombieAndMissingProcesses()
    {
        const QByteArray exe = QFile::encodeName(m_waiter);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(STDIN_FILENO); // ends at once
            ::execl(exe.constData(), exe.constData(), nullptr);
            ::_exit(127);
        }
        // Waits for the end without reaping: the child stays a zombie until waitpid below.
        siginfo_t info{};
        QVERIFY(::waitid(P_PID, pid, &info, WEXITED | WNOWAIT) == 0 && info.si_status == 0);
        QVERIFY(!listed().contains(pid));
        QCOMPARE(Processes().commandLineReport(pid), QByteArray("ARGS\n"));
        ::waitpid(pid, nullptr, 0);

        for (qint64 missing : {qint64(0), qint64(-1), qint64(4194304 + 7), qint64(1) << 33})
            QCOMPARE(Processes().commandLineReport(missing), QByteArray("ARGS\n"));
    }

    void scripts_data()
    {
        QTest::addColumn<QByteArray>("firstLine");
        QTest::addColumn<QString>("start"); // how the process is started
        QTest::addColumn<bool>("shown");
        row("#!/bin/sh", QByteArray("#!/bin/sh"), "direct", true);
        row("with an argument", QByteArray("#!/bin/sh -e"), "direct", true);
        row("through env", QByteArray("#!/usr/bin/env sh"), "direct", true);
        row("relative path", QByteArray("#!/bin/sh"), "./run", true);
        // An editor or viewer opened on the file is no running copy of the application, nor is
        // a program that only names the script in argv, which any program can choose.
        row("opened by another program", QByteArray("#!/bin/sh"), "other program", false);
        row("argv[0] names the script", QByteArray("#!/bin/sh"), "exec -a \"$0\" sleep 300", false);
        row("argv poses as its interpreter", QByteArray("#!/bin/sh"),
            "exec -a /bin/sh \"$1\" \"$0\" \"${@:2}\"", false);
    }
    // A bundle or a menu entry whose executable is a script runs as its interpreter, with the
    // script as argument.
    void scripts()
    {
        QFETCH(QByteArray, firstLine);
        QFETCH(QString, start);
        const QString identifier = "org.example.tst-script";
        const QString bundle = BundleBuilder(m_dir.filePath(QTest::currentDataTag() + u".app"_s))
                                   .identifier(identifier)
                                   .file("MacOS/run", firstLine + "\nread line\n")
                                   .write();
        const QString script = bundle + "/Contents/MacOS/run";
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        ProcessPtr process(new QProcess);
        const QStringList arguments{"-AppleLanguages", "(de)"};
        const QString self = QCoreApplication::applicationFilePath();
        if (start == "other program") {
            process->start(self, QStringList{script} + arguments);
        } else if (start == "./run") {
            process->setWorkingDirectory(bundle + "/Contents/MacOS");
            process->start(start, arguments);
        } else if (start.startsWith("exec")) {
            process->start("bash", QStringList{"-c", start, script, self} + arguments);
        } else {
            process->start(script, arguments);
        }
        QVERIFY(process->waitForStarted());
        const qint64 pid = process->processId();
        // Up once its command line ends in the arguments, after any env or bash in between.
        QVERIFY(QTest::qWaitFor([&] {
            const QByteArray report = Processes().commandLineReport(pid);
            return (report.endsWith(" -AppleLanguages (de)\n") || report.endsWith(" 300\n")) &&
                   !report.contains("/env ") && !report.contains(" -c ");
        }));
        QTEST(listed(identifier).contains(pid), "shown");
        DesktopApplication entry;
        entry.path = bundle + "/run.desktop";
        entry.program = script;
        entry.arguments = QStringList{script};
        QTEST(DesktopProcesses::running(entry, Processes()).contains(pid), "shown");
    }

    // A wrapper script that execs an installed program is known by the start Vexilo
    // remembers, and described by the command line Vexilo gave it, as long as that process runs.
    void wrapperThatHandsOver()
    {
        const QString identifier = "org.example.tst-wrapper";
        const QString bundle = BundleBuilder(m_dir.filePath("Wrapper.app"))
                                   .identifier(identifier)
                                   .file("MacOS/run", "#!/bin/sh\nexec /bin/sleep 30\n")
                                   .write();
        const QString script = bundle + "/Contents/MacOS/run";
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QStringList arguments{"-AppleLanguages", "(de)"};
        ProcessPtr process(new QProcess);
        process->start(script, arguments);
        QVERIFY(process->waitForStarted());
        const qint64 pid = process->processId();
        QVERIFY(QTest::qWaitFor(
            [&] { return Processes().commandLineReport(pid) == "ARGS\n/bin/sleep 30\n"; }));
        Processes processes;
        QVERIFY(!listed(identifier).contains(pid));
        processes.rememberStart(pid, bundle, QStringList{script} + arguments);
        QCOMPARE(processes.launchedApplications().count({identifier, bundle, pid}), 1);
        QCOMPARE(processes.commandLineReport(pid),
                 "ARGS\n" + QFile::encodeName(script) + " -AppleLanguages (de)\n");
        process.reset();
        QVERIFY(!processes.launchedApplications().contains({identifier, bundle, pid}));
        QCOMPARE(processes.commandLineReport(pid), QByteArray("ARGS\n"));
    }

private:
    QTemporaryDir m_dir;
    QString m_waiter; // a copy of this test in a bundle
};

int main(int argc, char *argv[])
{
    char byte; // nobody writes to a child: its read ends when its input closes
    if (qEnvironmentVariableIsSet(kChildVariable))
        return int(::read(STDIN_FILENO, &byte, 1) > 0);
    QCoreApplication app(argc, argv);
    TestProcesses test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_processes.moc"
