#pragma once

#include "platform/desktop/DesktopEntries.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <functional>
#include <optional>

class Processes;

// The running copies of an application of the menu, and the language each was opened in.
namespace DesktopProcesses {

// This user's processes that run the application, in PID order: for a Flatpak application,
// those in its sandbox (the application named in /proc/PID/root/.flatpak-info, as `flatpak ps`
// tells them); for others, those whose executable is the program Exec runs, symbolic links
// resolved (for a "#!" script, the interpreter running that script, or the program a wrapper
// script ends in with exec: ProgramFiles::execTargets), with Exec's first argument
// that is no option among their arguments when it has one (so that of the copies of an
// interpreter only the one running the entry's script counts); and the processes Vexilo
// started for the entry (Processes::rememberStart with its file), whatever they became.
// Zombies and Vexilo itself are none.
QList<qint64> running(const DesktopApplication &app, const Processes &processes);

// The languages a process environment (NUL-separated NAME=value, as /proc/PID/environ holds
// it) asks gettext for, in order: LANGUAGE's entries, then the messages locale (LC_ALL, else
// LC_MESSAGES, else LANG) without its codeset; with `localeOnly`, for a program that reads only
// the locale (ProgramFiles::readsLanguageFromLocale), the messages locale alone. Empty under the
// C or POSIX locale, where programs show their untranslated texts.
QStringList environmentLanguages(const QByteArray &environment, bool localeOnly = false);

// Whether a program started with `environment` can load the messages locale it names: from the
// folders of its LOCPATH and the C library's own if it has one, else as `localeExists` says.
bool messagesLocaleLoads(const QByteArray &environment,
                         const std::function<bool(const QString &)> &localeExists);

// The same for a running process, as its program reads them; empty when its environment cannot
// be read.
QStringList languagesOf(qint64 pid);
// The same, nullopt when the process hides its environment (Chromium blanks it) or it cannot be
// read, or a program that reads the locale cannot load its messages locale: then the language
// is unknown, which an empty list (the C locale) is not. A process with
// a blank environment that was started with --lang=<code> has that language.
std::optional<QStringList> knownLanguagesOf(qint64 pid);

// The application's running copy as the panel tells it: not running, running in the languages
// its first process asks for, or running in a language that cannot be known.
struct RunningCopy {
    enum State { NotRunning, Known, LanguageUnknown };
    State state = NotRunning;
    QList<qint64> pids;
    QStringList languages;
};
RunningCopy runningCopy(const DesktopApplication &app, const Processes &processes);

// The application a Flatpak sandbox's .flatpak-info names; empty for other text.
QString flatpakApplication(const QByteArray &flatpakInfo);

} // namespace DesktopProcesses
