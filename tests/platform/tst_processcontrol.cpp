#include "TestFiles.h"
#include "platform/process/ProcessControl.h"

#include <QTest>
#include <csignal>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// One process that sleeps, takes any arguments and can be told to ignore SIGTERM.
const QString kPython = QStringLiteral("/usr/bin/python3");

QByteArray procFile(qint64 pid, const char *name)
{
    return readFile(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
}

bool ignoresTerm(qint64 pid)
{
    for (const QByteArray &line : procFile(pid, "status").split('\n')) {
        if (line.startsWith("SigIgn:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    }
    return false;
}

// Ends a detached process the test started, whatever it ignores.
struct Kill {
    qint64 pid;
    ~Kill()
    {
        if (pid > 0)
            ::kill(pid_t(pid), SIGKILL);
    }
};

} // namespace

class TestProcessControl : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QFile::exists(kPython))
            QSKIP("python3 is not installed");
    }

    // Exactly the arguments and environment given; a session of its own, and not Vexilo's child,
    // so it outlives Vexilo and leaves no zombie behind.
    void startsDetached()
    {
        QProcessEnvironment environment;
        environment.insert("LANGUAGE", "fr:en");
        const qint64 pid = ProcessControl::startDetached(
            kPython, {"-c", "import time; time.sleep(30)", "-AppleLanguages", "(fr)"}, environment);
        const Kill stop{pid};
        QVERIFY(pid > 0);
        QVERIFY(ProcessControl::waitUntilKnown(pid, 5s));
        static const char words[] =
            "/usr/bin/python3\0-c\0import time; time.sleep(30)\0-AppleLanguages\0(fr)";
        QCOMPARE(procFile(pid, "cmdline"), QByteArray(words, sizeof words));
        static const char variables[] = "LANGUAGE=fr:en";
        QCOMPARE(procFile(pid, "environ"), QByteArray(variables, sizeof variables));
        QVERIFY(::getsid(pid_t(pid)) != ::getsid(0));
        const QByteArray stat = procFile(pid, "stat");
        QVERIFY(stat.mid(stat.lastIndexOf(')') + 2).split(' ').at(1).toLongLong() != ::getpid());

        QCOMPARE(ProcessControl::quit({pid}, 5s), QList<qint64>());
        QVERIFY(!ProcessControl::isRunning(pid));
    }

    void missingProgram()
    {
        QCOMPARE(ProcessControl::startDetached("/nonexistent/program", {}, {}), 0);
        QVERIFY(!ProcessControl::waitUntilKnown(0, 100ms));
    }

    // One that ignores the request is left running once the wait is over; Vexilo never asks
    // itself.
    void quitIsBounded()
    {
        const qint64 stubborn = ProcessControl::startDetached(
            kPython,
            {"-c", "import signal, time\nsignal.signal(signal.SIGTERM, signal.SIG_IGN)\n"
                   "time.sleep(30)"},
            QProcessEnvironment::systemEnvironment());
        const Kill stop{stubborn};
        const qint64 polite =
            ProcessControl::startDetached(kPython, {"-c", "import time; time.sleep(30)"},
                                          QProcessEnvironment::systemEnvironment());
        const Kill stopToo{polite};
        QVERIFY(ProcessControl::waitUntilKnown(stubborn, 5s));
        // Asked only once it ignores it.
        QTRY_VERIFY(ignoresTerm(stubborn));
        QElapsedTimer timer;
        timer.start();
        const QList<qint64> left =
            ProcessControl::quit({stubborn, polite, qint64(::getpid())}, 500ms);
        QVERIFY(timer.elapsed() >= 500 && timer.elapsed() < 3000);
        QCOMPARE(left, QList<qint64>{stubborn});
        QVERIFY(!ProcessControl::isRunning(polite));
        QVERIFY(ProcessControl::isRunning(stubborn));
    }
};

QTEST_GUILESS_MAIN(TestProcessControl)
#include "tst_processcontrol.moc"
