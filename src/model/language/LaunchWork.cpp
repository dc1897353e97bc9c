#include "LaunchWork.h"

#include "LaunchChoice.h"
#include "StoredLanguage.h"
#include "platform/Platform.h"
#include "platform/bundle/Bundle.h"
#include "platform/desktop/DesktopLanguageSetting.h"
#include "platform/desktop/DesktopLaunch.h"
#include "platform/desktop/DesktopProcesses.h"
#include "platform/process/LaunchEnvironment.h"
#include "platform/process/ProcessControl.h"
#include "platform/process/Processes.h"
#include "platform/x11/Desktop.h"

#include <QDebug>
#include <QProcess>

namespace LaunchWork {

namespace {

// Starts a program, remembers it as started for `startedFrom` (the bundle or entry file), waits
// until it is known and brings it to the front.
bool startCommandAndRaise(Processes &processes, const QString &startedFrom, const QString &program,
                          const QStringList &arguments, const QProcessEnvironment &environment)
{
    const qint64 pid = ProcessControl::startDetached(program, arguments, environment);
    if (pid == 0) {
        qWarning().noquote() << QStringLiteral("Error: could not start %1.").arg(program);
        return false;
    }
    processes.rememberStart(pid, startedFrom, QStringList{program} + arguments);
    if (!ProcessControl::waitUntilKnown(pid, kKnownBound))
        return false;
    Desktop::bringToFront(pid, kWindowBound);
    return ProcessControl::isRunning(pid);
}

} // namespace

bool quitRunningCopies(Processes &processes, const QString &identifier,
                       const std::optional<DesktopApplication> &desktop)
{
    QList<qint64> copies;
    if (desktop) {
        copies = DesktopProcesses::running(*desktop, processes);
    } else if (!identifier.isEmpty()) {
        for (const RunningApplication &app : processes.launchedApplications()) {
            if (app.bundleIdentifier == identifier)
                copies.append(app.processIdentifier);
        }
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
    return startCommandAndRaise(
        processes, bundlePath, executable, arguments,
        LaunchEnvironment::forLanguage(QProcessEnvironment::systemEnvironment(), language));
}

bool startDesktopAndRaise(Processes &processes, const DesktopApplication &app,
                          const QString &language)
{
    const DesktopLaunch::Command command =
        DesktopLaunch::command(app, language, QProcessEnvironment::systemEnvironment());
    if (command.program.isEmpty()) {
        qWarning().noquote() << QStringLiteral("Error: %1 has no program to start.").arg(app.id);
        return false;
    }
    return startCommandAndRaise(processes, app.path, command.program, command.arguments,
                                command.environment);
}

QStringList languageArguments(const QString &code)
{
    return {QStringLiteral("-AppleLanguages"), QStringLiteral("(%1)").arg(code)};
}

void launch(Processes &processes, const LaunchChoiceSnapshot &choice, bool quitFirst,
            const Report &report)
{
    if (quitFirst) {
        const LaunchChoice before = choice.get();
        quitRunningCopies(processes, before.identifier, before.desktop);
    }
    // Read again after the quit: a selection changed meanwhile is what starts.
    const LaunchChoice now = choice.get();
    LaunchEvent done;
    done.kind = LaunchEvent::Kind::Started;
    done.path = now.path;
    done.identifier = now.identifier;
    done.title = now.title;
    if (now.launchable && now.desktop)
        done.running = startDesktopAndRaise(processes, *now.desktop, now.code);
    else if (now.launchable)
        done.running = startAndRaise(processes, now.path, languageArguments(now.code), now.code);
    report(done);
}

namespace {

// Writes or removes the always-open setting of an application of the desktop's menu; the event
// that tells how it went.
LaunchEvent changeDesktopSetting(const Platform &platform, const StoredLanguageChange &change)
{
    LaunchEvent event;
    event.path = change.path;
    event.identifier = change.identifier;
    const QProcessEnvironment user = QProcessEnvironment::systemEnvironment();
    const DesktopOverride::Result result =
        !platform.desktopEntries ? DesktopOverride::Result::Failed
        : change.code
            ? DesktopLanguageSetting::set(*change.desktop, *platform.desktopEntries, *change.code,
                                          user)
            : DesktopLanguageSetting::reset(*change.desktop, *platform.desktopEntries, user);
    switch (result) {
    case DesktopOverride::Result::Done:
        event.kind = LaunchEvent::Kind::StoredLanguageChanged;
        event.storedLanguage = change.code;
        break;
    case DesktopOverride::Result::UserFile:
        event.kind = LaunchEvent::Kind::StoredLanguageKept;
        event.userFile =
            DesktopLanguageSetting::find(*change.desktop, *platform.desktopEntries, user).path;
        break;
    case DesktopOverride::Result::Failed:
        event.kind = LaunchEvent::Kind::StoredLanguageKept;
        break;
    }
    return event;
}

// Writes or deletes a bundle's stored language with the preferences tool.
LaunchEvent changeBundleSetting(const QString &toolPath, const StoredLanguageChange &change)
{
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
    return stored;
}

} // namespace

void changeStoredLanguage(const Platform &platform, const StoredLanguageChange &change,
                          const Report &report)
{
    Processes &processes = *platform.processes;
    const bool wasRunning = quitRunningCopies(processes, change.identifier, change.desktop);
    const LaunchEvent stored = change.desktop
                                   ? changeDesktopSetting(platform, change)
                                   : changeBundleSetting(platform.defaultsToolPath(), change);
    report(stored);

    if (!wasRunning)
        return;
    // Without a language of its own: it opens as its setting says now. A copy quit for a change
    // that could not be made opens again as it was.
    LaunchEvent done;
    done.kind = LaunchEvent::Kind::Started;
    done.path = change.path;
    done.identifier = change.identifier;
    const QString language = stored.kind == LaunchEvent::Kind::StoredLanguageChanged
                                 ? change.code.value_or(QString())
                                 : QString();
    done.running = change.desktop ? startDesktopAndRaise(processes, *change.desktop, language)
                                  : startAndRaise(processes, change.path, {}, language);
    report(done);
}

} // namespace LaunchWork
