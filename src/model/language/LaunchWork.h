#pragma once

#include "LaunchEvent.h"
#include "platform/desktop/DesktopEntries.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <optional>

struct Platform;
class LaunchChoiceSnapshot;
class Processes;

// The steps of launching and of the always-open change, run on a worker thread: they touch no
// widget and no object of the main thread, and report what the window follows as LaunchEvents.
namespace LaunchWork {

using namespace std::chrono_literals;

// How long each wait may last. An application can take seconds to close its documents; one
// that has not quit by then is left running and the work goes on.
constexpr std::chrono::milliseconds kQuitBound = 10s;
// A started process that has not shown up by then (it ended at once) is not waited for longer.
constexpr std::chrono::milliseconds kKnownBound = 5s;
// For the new copy's window to show, to bring it to the front.
constexpr std::chrono::milliseconds kWindowBound = 5s;
// For the preferences tool's write or delete.
constexpr std::chrono::milliseconds kToolBound = 10s;

using Report = std::function<void(const LaunchEvent &)>;

// Asks every running copy of the application to quit and waits until they have ended, at most
// kQuitBound. True when a copy was running. A bundle's copies are those of its identifier, an
// application of the desktop's menu (`desktop`) those DesktopProcesses finds.
bool quitRunningCopies(Processes &processes, const QString &identifier,
                       const std::optional<DesktopApplication> &desktop = std::nullopt);

// Starts the executable of the bundle at `bundlePath` with these arguments, `language` (a code,
// or empty) first in its LANGUAGE; waits until it is known and brings it to the front. True when
// the new copy runs as this returns.
bool startAndRaise(Processes &processes, const QString &bundlePath, const QStringList &arguments,
                   const QString &language);

// Starts the application of the desktop's menu in `language` (empty: as the user's environment
// has it) as DesktopLaunch says; then as startAndRaise.
bool startDesktopAndRaise(Processes &processes, const DesktopApplication &app,
                          const QString &language);

// The two arguments that start an application in a language for one run: -AppleLanguages (fr).
QStringList languageArguments(const QString &code);

// Launch: quits the running copies of the selected application first when asked to, then starts
// the application selected now in the language chosen now, both read from `choice`.
void launch(Processes &processes, const LaunchChoiceSnapshot &choice, bool quitFirst,
            const Report &report);

// An always-open change the user confirmed: write `code` as the stored language, or delete it
// when there is none.
struct StoredLanguageChange {
    QString path;
    QString identifier;
    std::optional<QString> code;
    // An application of the desktop's menu: its override is written or removed instead.
    std::optional<DesktopApplication> desktop;

    bool operator==(const StoredLanguageChange &) const = default;
};

// Quits a running copy, writes or deletes the stored language with the platform's preferences
// tool (for an application of the desktop's menu: its override, DesktopLanguageSetting),
// reports it, then starts the application again, without a language of its own, if it was
// running.
void changeStoredLanguage(const Platform &platform, const StoredLanguageChange &change,
                          const Report &report);

} // namespace LaunchWork
