#include "BundleBuilder.h"
#include "Processes.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Started as a copy of this test with this variable set, the program only waits for its
// standard input to close: a process that takes any arguments, whatever they look like.
constexpr char kChildVariable[] = "VEXILO_TST_PROCESSES_WAIT";

// Whatever a test starts ends with it.
struct KillAndReap {
    void operator()(QProcess *process) const
    {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished();
        }
        delete process;
    }
};
using ProcessPtr = std::unique_ptr<QProcess, KillAndReap>;

ProcessPtr start(const QString &program, const QStringList &arguments,
                 const QString &workingDirectory = QString())
{
    ProcessPtr process(new QProcess);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildVariable), QStringLiteral("1"));
    process->setProcessEnvironment(env);
    if (!workingDirectory.isEmpty())
        process->setWorkingDirectory(workingDirectory);
    process->start(program, arguments);
    if (!process->waitForStarted())
        return nullptr;
    // The exec has begun but the kernel sets up the new argument block a moment later.
    const QString cmdline = QStringLiteral("/proc/%1/cmdline").arg(process->processId());
    const bool ready = QTest::qWaitFor(
        [&] {
            QFile f(cmdline);
            return f.open(QIODevice::ReadOnly) && !f.readAll().isEmpty();
        },
        10000);
    return ready ? std::move(process) : nullptr;
}

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

// The entries for `pid`, however many the scan produced.
QList<RunningApplication> entriesFor(qint64 pid)
{
    QList<RunningApplication> found;
    for (const RunningApplication &app : Processes().launchedApplications()) {
        if (app.processIdentifier == pid)
            found.append(app);
    }
    return found;
}

char stateOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return '\0';
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close >= 0 && close + 2 < text.size() ? text.at(close + 2) : '\0';
}

} // namespace

class TestProcesses : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void listedWithIdentifierAndPid_data();
    void listedWithIdentifierAndPid();
    void instancesInPidOrder();
    void goneAfterKill();
    void zombieIsNotRunning();

    void commandLineReport_data();
    void commandLineReport();
    void reportOfMissingProcess_data();
    void reportOfMissingProcess();

private:
    QTemporaryDir m_dir;
    QString m_sleeper; // bundle whose executable is a copy of sleep
    QString m_waiter;  // bundle whose executable is a copy of this test
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
};

void TestProcesses::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_sleeper = BundleBuilder(path("Sleeper.app"))
                    .identifier("org.example.sleeper")
                    .executable("Sleeper", "/bin/sleep")
                    .write();
    m_waiter = BundleBuilder(path("Waiter.app"))
                   .identifier("org.example.waiter")
                   .executable("Waiter", QCoreApplication::applicationFilePath())
                   .write();

    BundleBuilder(path("NoId.app")).executable("NoId", "/bin/sleep").write();
    // A link: the kernel names /bin/sleep's file, only argv[0] names the bundle.
    BundleBuilder(path("Linked.app")).identifier("org.example.linked").write();
    QDir().mkpath(path("Linked.app/Contents/MacOS"));
    QVERIFY(QFile::link(canonical("/bin/sleep"), path("Linked.app/Contents/MacOS/Linked")));
    // Executables elsewhere in a bundle, or in a folder that only looks like one.
    BundleBuilder(path("Tool.app")).identifier("org.example.tool").file("Resources/tool").write();
    QFile::remove(path("Tool.app/Contents/Resources/tool"));
    QVERIFY(QFile::copy("/bin/sleep", path("Tool.app/Contents/Resources/tool")));
    QDir().mkpath(path(".app/Contents/MacOS"));
    QVERIFY(QFile::copy("/bin/sleep", path(".app/Contents/MacOS/nameless")));
    QDir().mkpath(path("Fake.app.d/Contents/MacOS"));
    QVERIFY(QFile::copy("/bin/sleep", path("Fake.app.d/Contents/MacOS/fake")));
    for (const QString &exe :
         {path("Tool.app/Contents/Resources/tool"), path(".app/Contents/MacOS/nameless"),
          path("Fake.app.d/Contents/MacOS/fake")})
        QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeOwner);
}

void TestProcesses::listedWithIdentifierAndPid_data()
{
    QTest::addColumn<QString>("program");          // relative to the test folder
    QTest::addColumn<QString>("workingDirectory"); // relative; empty: inherited
    QTest::addColumn<QString>("identifier");       // empty: not listed
    QTest::addColumn<QString>("bundle");

    QTest::newRow("copied executable")
        << "Sleeper.app/Contents/MacOS/Sleeper" << QString() << "org.example.sleeper"
        << "Sleeper.app";
    QTest::newRow("link: argv[0]")
        << "Linked.app/Contents/MacOS/Linked" << QString() << "org.example.linked"
        << "Linked.app";
    QTest::newRow("link: relative argv[0]") << "./Linked"
                                            << "Linked.app/Contents/MacOS"
                                            << "org.example.linked"
                                            << "Linked.app";
    QTest::newRow("bundle without identifier")
        << "NoId.app/Contents/MacOS/NoId" << QString() << QString() << QString();
    QTest::newRow("outside MacOS")
        << "Tool.app/Contents/Resources/tool" << QString() << QString() << QString();
    QTest::newRow("folder named only .app")
        << ".app/Contents/MacOS/nameless" << QString() << QString() << QString();
    QTest::newRow("not a .app folder")
        << "Fake.app.d/Contents/MacOS/fake" << QString() << QString() << QString();
}

void TestProcesses::listedWithIdentifierAndPid()
{
    QFETCH(QString, program);
    QFETCH(QString, workingDirectory);
    QFETCH(QString, identifier);
    QFETCH(QString, bundle);

    const QString programPath = workingDirectory.isEmpty() ? path(program) : program;
    const ProcessPtr process =
        start(programPath, {"30"}, workingDirectory.isEmpty() ? QString() : path(workingDirectory));
    QVERIFY(process);

    const QList<RunningApplication> found = entriesFor(process->processId());
    if (identifier.isEmpty()) {
        QVERIFY(found.isEmpty());
        return;
    }
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first().bundleIdentifier, identifier);
    QCOMPARE(canonical(found.first().bundlePath), canonical(path(bundle)));
}

void TestProcesses::instancesInPidOrder()
{
    const QString exe = m_sleeper + "/Contents/MacOS/Sleeper";
    const ProcessPtr first = start(exe, {"30"});
    const ProcessPtr second = start(exe, {"30"});
    const ProcessPtr third = start(exe, {"30"});
    QVERIFY(first && second && third);

    QList<qint64> pids;
    const QList<RunningApplication> all = Processes().launchedApplications();
    for (const RunningApplication &app : all) {
        if (app.bundleIdentifier == "org.example.sleeper")
            pids.append(app.processIdentifier);
    }
    QList<qint64> expected{first->processId(), second->processId(), third->processId()};
    std::sort(expected.begin(), expected.end());
    QCOMPARE(pids, expected);

    // The whole list is in PID order, not just this bundle's part.
    for (qsizetype i = 1; i < all.size(); ++i)
        QVERIFY(all[i - 1].processIdentifier < all[i].processIdentifier);
}

void TestProcesses::goneAfterKill()
{
    const ProcessPtr process = start(m_sleeper + "/Contents/MacOS/Sleeper", {"30"});
    QVERIFY(process);
    const qint64 pid = process->processId();
    QCOMPARE(entriesFor(pid).size(), 1);

    process->kill();
    QVERIFY(process->waitForFinished());
    QVERIFY(entriesFor(pid).isEmpty());
}

void TestProcesses::zombieIsNotRunning()
{
    const QByteArray exe = QFile::encodeName(m_sleeper + "/Contents/MacOS/Sleeper");
    const pid_t pid = ::fork();
    QVERIFY(pid >= 0);
    if (pid == 0) {
        char *const argv[] = {const_cast<char *>(exe.constData()), const_cast<char *>("0"),
                              nullptr};
        ::execv(exe.constData(), argv);
        ::_exit(127);
    }
    // Not reaped yet: the child stays a zombie until waitpid below.
    QTRY_COMPARE(stateOf(pid), 'Z');
    const bool listed = !entriesFor(pid).isEmpty();
    const QByteArray report = Processes().commandLineReport(pid);
    int status = 0;
    ::waitpid(pid, &status, 0);
    QVERIFY(!listed);
    QCOMPARE(report, QByteArray("ARGS\n"));
}

void TestProcesses::commandLineReport_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("expectedArguments");

    QTest::newRow("language arguments")
        << QStringList{"-AppleLanguages", "(fr)"} << QByteArray(" -AppleLanguages (fr)");
    QTest::newRow("region code") << QStringList{"-AppleLanguages", "(zh_TW)"}
                                 << QByteArray(" -AppleLanguages (zh_TW)");
    QTest::newRow("no arguments") << QStringList{} << QByteArray();
    QTest::newRow("blank inside an argument") << QStringList{"a b", "c"} << QByteArray(" a b c");
    QTest::newRow("empty argument") << QStringList{"x", "", "y"} << QByteArray(" x  y");
    // A line break in an argument cannot pose as a line of the report.
    QTest::newRow("control characters")
        << QStringList{"one\nARGS\n-AppleLanguages (de)", "tab\there"}
        << QByteArray(" one?ARGS?-AppleLanguages (de) tab?here");
    QTest::newRow("UTF-8 kept") << QStringList{QStringLiteral("(français)")}
                                << QByteArray(" (fran\xc3\xa7"
                                              "ais)");
}

void TestProcesses::commandLineReport()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, expectedArguments);

    const QString exe = m_waiter + "/Contents/MacOS/Waiter";
    const ProcessPtr process = start(exe, arguments);
    QVERIFY(process);
    const QByteArray report = Processes().commandLineReport(process->processId());
    QCOMPARE(report, "ARGS\n" + QFile::encodeName(exe) + expectedArguments + "\n");

    // A waiting copy of this test is also a running application.
    const QList<RunningApplication> found = entriesFor(process->processId());
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first().bundleIdentifier, QStringLiteral("org.example.waiter"));

    process->closeWriteChannel();
    QVERIFY(process->waitForFinished());
    QCOMPARE(process->exitCode(), 0);
}

void TestProcesses::reportOfMissingProcess_data()
{
    QTest::addColumn<qint64>("pid");
    QTest::newRow("zero") << qint64(0);
    QTest::newRow("negative") << qint64(-1);
    // The kernel's PID limit is at most 2^22.
    QTest::newRow("beyond any PID") << qint64(4194304 + 7);
    QTest::newRow("beyond 32 bits") << (qint64(1) << 33);
}

void TestProcesses::reportOfMissingProcess()
{
    QFETCH(qint64, pid);
    QCOMPARE(Processes().commandLineReport(pid), QByteArray("ARGS\n"));
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet(kChildVariable)) {
        char buffer[256];
        while (::read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
        }
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestProcesses test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_processes.moc"
