#pragma once

#include "platform/desktop/DesktopEntries.h"
#include "platform/desktop/DesktopOverride.h"

#include <QProcessEnvironment>
#include <QString>
#include <chrono>

// "Always open in this language" for an application of the desktop's menu, written where the
// desktop's launcher honours it: the user's override of the entry (DesktopOverride), or for a
// Flatpak application the user's environment override (FlatpakOverride, through the flatpak
// tool). Vexilo changes and removes only what it wrote.
namespace DesktopLanguageSetting {

using namespace std::chrono_literals;
// For the flatpak tool.
constexpr std::chrono::milliseconds kToolBound = 10s;

// Who set the application's language there, and Vexilo's language.
DesktopOverride::Found find(const DesktopApplication &app, const DesktopEntries &entries,
                            const QProcessEnvironment &environment);

// Makes the application always open in `code` (one of its languages); `user` is the user's
// environment the override's variables are worked out from. A DBusActivatable application also
// gets the user's service file of its name (DesktopOverride::writeService), unless the user has
// one of their own (UserFile, nothing written).
DesktopOverride::Result set(const DesktopApplication &app, const DesktopEntries &entries,
                            const QString &code, const QProcessEnvironment &user);

// Removes Vexilo's setting, its service file included; another's is left alone (UserFile).
DesktopOverride::Result reset(const DesktopApplication &app, const DesktopEntries &entries,
                              const QProcessEnvironment &user);

} // namespace DesktopLanguageSetting
