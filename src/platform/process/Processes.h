#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <optional>

// A running instance of an application bundle.
struct RunningApplication {
    QString bundleIdentifier;
    QString bundlePath;
    qint64 processIdentifier = 0;

    bool operator==(const RunningApplication &) const = default;
};

// This user's processes, as the workspace and the process-status tool report them.
class Processes {
public:
    // This user's processes whose executable - or, for the interpreter running a "#!" script,
    // that script (ProcFiles::runsScript) - lies in <bundle>.app/Contents/MacOS/, and those
    // remembered by rememberStart, with that bundle's identifier (bundles without identifier are
    // left out), in PID order. A bundle's path in argv[0] alone makes no copy. Zombies are not
    // running.
    QList<RunningApplication> launchedApplications() const;

    // The command line of a process in the form of `ps -p PID -o args`: the header line "ARGS",
    // then the arguments joined by blanks and a line feed, their bytes (UTF-8 paths) as the
    // process holds them but for control characters, shown as '?'. Only the header when the
    // process does not exist.
    // A process that Vexilo started but that no longer shows its bundle (see rememberStart) is
    // reported with the command line Vexilo started it with.
    QByteArray commandLineReport(qint64 pid) const;

    // A process Vexilo started from the bundle at `bundlePath` with this command line. A wrapper
    // script that hands over to an installed program (exec) leaves neither the executable nor
    // argv[0] in the bundle; the process is still that bundle's running copy, known by its PID
    // and start time (so a reused PID is not mistaken for it) for as long as it runs.
    // Safe to call from any thread.
    void rememberStart(qint64 pid, const QString &bundlePath, const QStringList &commandLine);
    // The processes remembered as started from `path` that still run, in PID order.
    QList<qint64> startedFrom(const QString &path) const;

private:
    struct Started {
        qint64 pid = 0;
        QByteArray startTime;
        QString bundlePath;
        QByteArray commandLine;
    };
    // The remembered start of a running process, if it is one.
    std::optional<Started> startedProcess(qint64 pid) const;

    mutable QMutex m_mutex;
    mutable QList<Started> m_started;
};
