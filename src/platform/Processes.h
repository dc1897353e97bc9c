#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A running instance of an application bundle.
struct RunningApplication {
    QString bundleIdentifier;
    QString bundlePath;
    qint64 processIdentifier = 0;
};

// This user's processes, as the workspace and the process-status tool report them.
class Processes {
public:
    // This user's processes whose executable, argv[0] or - for an interpreter running a "#!"
    // script - script lies in <bundle>.app/Contents/MacOS/, with that bundle's identifier
    // (bundles without identifier are left out), in PID order. Zombies are not running.
    QList<RunningApplication> launchedApplications() const;

    // The command line of a process in the form of `ps -p PID -o args`: the header line "ARGS",
    // then the arguments joined by blanks and a line feed, their bytes (UTF-8 paths) as the
    // process holds them but for control characters, shown as '?'. Only the header when the
    // process does not exist.
    QByteArray commandLineReport(qint64 pid) const;
};
