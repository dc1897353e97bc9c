#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>

// Runs a command-line tool directly (no shell) and waits for it, at most `bound`, reading at
// most `maxOutput` bytes of its standard output; a tool that hangs or prints without end is
// stopped. Safe to call from any thread.
namespace ToolRun {

struct Result {
    // It ran to its end on its own, not killed or stopped for its time or output.
    bool finished = false;
    int exitCode = -1;
    QByteArray output;
    // Its standard error, at most `maxOutput` bytes, for telling the user why it failed.
    QByteArray errors;

    bool succeeded() const { return finished && exitCode == 0; }
    // The first line the tool wrote to standard error, else what went wrong in running it.
    QString failure() const;
};

Result run(const QString &program, const QStringList &arguments, std::chrono::milliseconds bound,
           qsizetype maxOutput = 64 * 1024);

} // namespace ToolRun
