#include "LaunchWork.h"

#include "platform/Platform.h"
#include "platform/process/ProcessControl.h"

#include <QDebug>

namespace LaunchWork {

namespace {

LaunchEvent eventFor(LaunchEvent::Kind kind, const AppListing &app, const QString &name)
{
    LaunchEvent event;
    event.kind = kind;
    event.path = app.path();
    event.identifier = app.identifier();
    event.name = name;
    return event;
}

} // namespace

bool quitRunningCopies(Processes &processes, const AppListing &app)
{
    const QList<qint64> copies = app.runningCopies(processes);
    if (copies.isEmpty())
        return false;
    if (!ProcessControl::quit(copies, kQuitBound).isEmpty())
        qWarning().noquote() << QStringLiteral(
                                    "Error: %1 did not quit in time; it is left running.")
                                    .arg(app.identifier());
    return true;
}

void launch(Processes &processes, const LaunchChoice &choice, bool quitFirst, const Report &report)
{
    if (!choice.launchable())
        return;
    if (quitFirst)
        quitRunningCopies(processes, *choice.app);
    LaunchEvent done = eventFor(LaunchEvent::Kind::Started, *choice.app, choice.name);
    done.title = choice.title;
    const AppListing::StartOutcome started =
        choice.app->start(processes, AppListing::StartMode::Once, choice.code);
    done.running = started.running;
    done.failure = started.failure;
    report(done);
}

void changeStoredLanguage(const Platform &platform, const StoredLanguageChange &change,
                          const Report &report)
{
    if (!change.app)
        return;
    const AppListing &app = *change.app;
    Processes &processes = *platform.processes;
    const bool wasRunning = quitRunningCopies(processes, app);

    const AppListing::SettingChange result = app.changeStoredLanguage(platform, change.code);
    LaunchEvent stored = eventFor(LaunchEvent::Kind::StoredLanguageChanged, app, change.name);
    switch (result.result) {
    case AppListing::SettingChange::Result::Done:
        stored.storedLanguage = change.code;
        break;
    case AppListing::SettingChange::Result::UserFile:
        stored.kind = LaunchEvent::Kind::StoredLanguageKept;
        stored.userFile = result.detail;
        break;
    case AppListing::SettingChange::Result::Failed:
        stored.kind = LaunchEvent::Kind::StoredLanguageKept;
        stored.failure = result.detail;
        break;
    }
    report(stored);

    if (!wasRunning)
        return;
    // Without a language of its own: it opens as its setting says now. A copy quit for a change
    // that could not be made opens again as it was.
    const QString language = stored.kind == LaunchEvent::Kind::StoredLanguageChanged
                                 ? change.code.value_or(QString())
                                 : QString();
    LaunchEvent done = eventFor(LaunchEvent::Kind::Started, app, change.name);
    const AppListing::StartOutcome started =
        app.start(processes, AppListing::StartMode::AsStored, language);
    done.running = started.running;
    done.failure = started.failure;
    report(done);
}

} // namespace LaunchWork
