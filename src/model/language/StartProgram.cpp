#include "StartProgram.h"

#include "platform/process/ProcessControl.h"
#include "platform/process/Processes.h"
#include "platform/x11/Desktop.h"

#include <QDebug>

namespace StartProgram {

AppListing::StartOutcome startAndRaise(Processes &processes, const QString &startedFrom,
                                       const QString &program, const QStringList &arguments,
                                       const QProcessEnvironment &environment)
{
    QString error;
    const qint64 pid = ProcessControl::startDetached(program, arguments, environment, &error);
    if (pid == 0) {
        qWarning().noquote() << QStringLiteral("Error: could not start %1: %2").arg(program, error);
        return {false, error};
    }
    processes.rememberStart(pid, startedFrom, QStringList{program} + arguments);
    if (!ProcessControl::waitUntilKnown(pid, kKnownBound))
        return {false, {}};
    Desktop::bringToFront(pid, kWindowBound);
    return {ProcessControl::isRunning(pid), {}};
}

} // namespace StartProgram
