#include "platform/process/ProcessControl.h"

#include "platform/process/ProcFiles.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <unistd.h>

namespace {

// Short enough that the wait ends soon after the process, long enough not to spin.
constexpr std::chrono::milliseconds kPoll{10};

bool allEnded(const QList<qint64> &pids)
{
    for (const qint64 pid : pids) {
        if (ProcessControl::isRunning(pid))
            return false;
    }
    return true;
}

} // namespace

namespace ProcessControl {

qint64 startDetached(const QString &program, const QStringList &arguments,
                     const QProcessEnvironment &environment, QString *error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessEnvironment(environment);
    // Qt starts it through a second fork in a new session and reports a failed exec.
    qint64 pid = 0;
    if (!process.startDetached(&pid)) {
        // "execv: Permission denied": the system's reason, without the call that failed.
        if (error)
            *error = process.errorString().section(QStringLiteral("execv: "), -1);
        return 0;
    }
    return pid;
}

bool isRunning(qint64 pid)
{
    if (pid <= 0)
        return false;
    const char state = ProcFiles::processState("/proc/" + QByteArray::number(pid));
    return state != '\0' && state != 'Z' && state != 'X';
}

bool waitUntilKnown(qint64 pid, std::chrono::milliseconds bound)
{
    const QDeadlineTimer deadline(bound);
    // Asked at least once, also with no time left.
    while (!isRunning(pid)) {
        if (deadline.hasExpired() || pid <= 0)
            return false;
        QThread::msleep(kPoll.count());
    }
    return true;
}

QList<qint64> quit(const QList<qint64> &pids, std::chrono::milliseconds bound)
{
    QList<qint64> asked;
    for (const qint64 pid : pids) {
        if (pid <= 0 || pid == qint64(::getpid()) || asked.contains(pid))
            continue;
        if (::kill(pid_t(pid), SIGTERM) == 0)
            asked.append(pid);
    }
    const QDeadlineTimer deadline(bound);
    while (!allEnded(asked) && !deadline.hasExpired())
        QThread::msleep(kPoll.count());
    QList<qint64> left;
    for (const qint64 pid : asked) {
        if (isRunning(pid))
            left.append(pid);
    }
    return left;
}

} // namespace ProcessControl
