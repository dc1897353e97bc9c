#pragma once

#include "LaunchChoice.h"
#include "LaunchEvent.h"

#include <chrono>
#include <functional>
#include <optional>

struct Platform;
class Processes;

// The steps of launching and of the always-open change, run on a worker thread: they touch no
// widget and no object of the main thread, work on the values they were handed, and report what
// the window follows as LaunchEvents.
namespace LaunchWork {

using namespace std::chrono_literals;

// How long quitting may last. An application can take seconds to close its documents; one that
// has not quit by then is left running and the work goes on.
constexpr std::chrono::milliseconds kQuitBound = 10s;

using Report = std::function<void(const LaunchEvent &)>;

// Asks every running copy of the application to quit and waits until they have ended, at most
// kQuitBound. True when a copy was running.
bool quitRunningCopies(Processes &processes, const AppListing &app);

// Launch: quits the running copies of the chosen application first when asked to, then starts
// it in the chosen language.
void launch(Processes &processes, const LaunchChoice &choice, bool quitFirst, const Report &report);

// An always-open change the user confirmed: write `code` as the stored language, or delete it
// when there is none.
struct StoredLanguageChange {
    AppListingPtr app;
    std::optional<QString> code;
    // The application's name as the question named it.
    QString name;
};

// Quits a running copy, writes or deletes the stored language, reports it, then starts the
// application again, without a language of its own, if it was running.
void changeStoredLanguage(const Platform &platform, const StoredLanguageChange &change,
                          const Report &report);

} // namespace LaunchWork
