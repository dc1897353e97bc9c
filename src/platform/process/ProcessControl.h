#pragma once

#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <chrono>

// Starting applications and asking them to quit. Safe to call from any thread.
namespace ProcessControl {

// Starts the program directly (no shell) with exactly these arguments and this environment,
// detached: in a session of its own, it outlives Vexilo, and nobody needs to wait for it. Its
// standard channels are Vexilo's. Its process id, or 0 when it could not be started, with the
// reason in `error`.
qint64 startDetached(const QString &program, const QStringList &arguments,
                     const QProcessEnvironment &environment, QString *error = nullptr);

// The process exists and is not a zombie.
bool isRunning(qint64 pid);

// Waits until the process is known to run, at most `bound`; false when it did not (it ended at
// once, or never existed).
bool waitUntilKnown(qint64 pid, std::chrono::milliseconds bound);

// Asks each process to quit (SIGTERM; never Vexilo itself), then waits at most `bound` until all
// have ended. Returns those still running: a program that ignores the request is left alone.
QList<qint64> quit(const QList<qint64> &pids, std::chrono::milliseconds bound);

} // namespace ProcessControl
