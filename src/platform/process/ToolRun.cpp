#include "platform/process/ToolRun.h"

#include <QElapsedTimer>
#include <QProcess>

namespace ToolRun {

QString Result::failure() const
{
    const QString first = QString::fromUtf8(errors).section(QLatin1Char('\n'), 0, 0).trimmed();
    if (!first.isEmpty())
        return first.left(500);
    if (!finished)
        return QStringLiteral("The tool did not finish.");
    return QStringLiteral("The tool ended with status %1.").arg(exitCode);
}

Result run(const QString &program, const QStringList &arguments, std::chrono::milliseconds bound,
           qsizetype maxOutput)
{
    Result result;
    QProcess tool;
    tool.start(program, arguments, QIODevice::ReadOnly);
    if (!tool.waitForStarted()) {
        result.errors = tool.errorString().toUtf8();
        return result;
    }
    // Read as it comes, so that a tool printing without end neither fills the memory nor holds
    // its caller longer than one that hangs.
    QElapsedTimer clock;
    clock.start();
    while (tool.state() != QProcess::NotRunning) {
        const qint64 left = bound.count() - clock.elapsed();
        if (left <= 0 || result.output.size() > maxOutput || result.errors.size() > maxOutput) {
            tool.kill();
            tool.waitForFinished();
            return result;
        }
        tool.waitForReadyRead(int(std::min<qint64>(left, 100)));
        result.output += tool.readAllStandardOutput();
        result.errors += tool.readAllStandardError();
    }
    result.output += tool.readAllStandardOutput();
    result.errors += tool.readAllStandardError();
    result.finished = tool.exitStatus() == QProcess::NormalExit;
    result.exitCode = result.finished ? tool.exitCode() : -1;
    return result;
}

} // namespace ToolRun
