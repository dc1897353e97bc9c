#include "LaunchWork.h"

#include "Bundle.h"
#include "Desktop.h"
#include "LaunchChoice.h"
#include "LaunchEnvironment.h"
#include "ProcessControl.h"
#include "Processes.h"
#include "StoredLanguage.h"

#include <QDebug>
#include <QProcess>

namespace LaunchWork {

bool quitRunningCopies(Processes &processes, const QString &identifier)
{
    if (identifier.isEmpty())
        return false;
    QList<qint64> copies;
    for (const RunningApplication &app : processes.launchedApplications()) {
        if (app.bundleIdentifier == identifier)
            copies.append(app.processIdentifier);
    }
    if (copies.isEmpty())
        return false;
    const QList<qint64> left = ProcessControl::quit(copies, kQuitBound);
    if (!left.isEmpty())
        qWarning().noquote() << QStringLiteral(
                                    "Error: %1 did not quit in time; it is left running.")
                                    .arg(identifier);
    return true;
}

bool startAndRaise(Processes &processes, const QString &bundlePath, const QStringList &arguments,
                   const QString &language)
{
    const auto bundle = Bundle::bundleWithPath(bundlePath);
    const QString executable = bundle ? bundle->executablePath() : QString();
    if (executable.isEmpty()) {
        qWarning().noquote()
            << QStringLiteral("Error: %1 has no executable to start.").arg(bundlePath);
        return false;
    }
    const qint64 pid = ProcessControl::startDetached(
        executable, arguments,
        LaunchEnvironment::forLanguage(QProcessEnvironment::systemEnvironment(), language));
    if (pid == 0) {
        qWarning().noquote() << QStringLiteral("Error: could not start %1.").arg(executable);
        return false;
    }
    processes.rememberStart(pid, bundlePath, QStringList{executable} + arguments);
    if (!ProcessControl::waitUntilKnown(pid, kKnownBound))
        return false;
    Desktop::bringToFront(pid, kWindowBound);
    return ProcessControl::isRunning(pid);
}

QStringList languageArguments(const QString &code)
{
    return {QStringLiteral("-AppleLanguages"), QStringLiteral("(%1)").arg(code)};
}

void launch(Processes &processes, const LaunchChoiceSnapshot &choice, bool quitFirst,
            const Report &report)
{
    if (quitFirst)
        quitRunningCopies(processes, choice.get().identifier);
    // Read again after the quit: a selection changed meanwhile is what starts.
    const LaunchChoice now = choice.get();
    LaunchEvent done;
    done.kind = LaunchEvent::Kind::Started;
    done.path = now.path;
    done.identifier = now.identifier;
    done.title = now.title;
    if (now.launchable)
        done.running = startAndRaise(processes, now.path, languageArguments(now.code), now.code);
    report(done);
}

void changeStoredLanguage(Processes &processes, const QString &toolPath,
                          const StoredLanguageChange &change, const Report &report)
{
    const bool wasRunning = quitRunningCopies(processes, change.identifier);

    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedChannels);
    tool.start(toolPath,
               change.code ? StoredLanguage::writeArguments(change.identifier, *change.code)
                           : StoredLanguage::deleteArguments(change.identifier),
               QIODevice::ReadOnly);
    if (tool.waitForStarted() &&
        !tool.waitForFinished(int(std::chrono::milliseconds(kToolBound).count()))) {
        tool.kill();
        tool.waitForFinished();
    }

    LaunchEvent stored;
    stored.kind = LaunchEvent::Kind::StoredLanguageChanged;
    stored.path = change.path;
    stored.identifier = change.identifier;
    stored.storedLanguage = change.code;
    report(stored);

    if (!wasRunning)
        return;
    // Without arguments, so that it reads its stored language.
    LaunchEvent done;
    done.kind = LaunchEvent::Kind::Started;
    done.path = change.path;
    done.identifier = change.identifier;
    done.running = startAndRaise(processes, change.path, {}, change.code.value_or(QString()));
    report(done);
}

} // namespace LaunchWork
