#pragma once

#include "platform/desktop/DesktopEntries.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// What starts an application of the desktop's menu in a language, once.
namespace DesktopLaunch {

struct Command {
    // Empty when the program cannot be found.
    QString program;
    QStringList arguments;
    QProcessEnvironment environment;
};

// The variables that set the language (LANGUAGE and the locale variables) whose values differ
// between `user` and `child`, as NAME=value, in a fixed order.
QStringList changedVariables(const QProcessEnvironment &user, const QProcessEnvironment &child);

// The application's Exec arguments started with `child` as its environment: with `language`
// set (a code of its languages) a Chromium-style program also gets --lang=<language> after the
// program, and a Flatpak application gets the changed variables as `flatpak run --env=` options,
// since the sandbox does not pass every variable on. `path` is where programs are looked for.
Command command(const DesktopApplication &app, const QString &language,
                const QProcessEnvironment &user, const QProcessEnvironment &child,
                const QString &path);

// The environment of the application started in `language`: LaunchEnvironment's, and for a
// program that picks its language from the locale (ProgramFiles) the messages locale too.
QProcessEnvironment environment(const DesktopApplication &app, const QString &language,
                                const QProcessEnvironment &user);

// The same with that environment, started now: for a program that reads the locale, the locales
// this machine lacks are compiled for it first (PrivateLocales), which may take seconds.
Command command(const DesktopApplication &app, const QString &language,
                const QProcessEnvironment &user);

} // namespace DesktopLaunch
