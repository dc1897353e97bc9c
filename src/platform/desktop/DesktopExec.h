#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The Exec line of a desktop entry: its quoting, its field codes, and the program it runs.
namespace DesktopExec {

// What the field codes of a launch without files expand to.
struct Context {
    // %c: the entry's name in the user's language.
    QString name;
    // %i: "--icon" and this, when it is set.
    QString icon;
    // %k: the entry's file.
    QString location;
};

// The arguments of an Exec value (string escapes already resolved) for a launch without files:
// split at blanks; double quotes group an argument, inside them a backslash escapes " ` $ and
// \; single quotes group literally; outside quotes a backslash escapes the next character.
// %f %F %u %U (and the deprecated %d %D %n %N %v %m) stand for no file: an argument made of
// them alone goes; %i is "--icon <Icon>", %c the name, %k the entry's file, %% a percent sign.
// nullopt when a quote is left open or nothing is left to run.
std::optional<QStringList> arguments(const QString &exec, const Context &context);

// Where the program of these arguments is: past "env" and its NAME=value assignments (and its
// options), the first word. Empty when there is none.
qsizetype programIndex(const QStringList &arguments);

// An argument written for an Exec line: quoted when it holds a character that needs it.
QString quote(const QString &argument);

// The program a word names: an absolute path when it is an executable file, else the first
// executable of that name on `path` (colon-separated). Empty when there is none.
QString findProgram(const QString &word, const QString &path);

// The Flatpak application an entry starts through "flatpak run": the first argument after
// "run" that is no option. Empty when the arguments are no Flatpak start.
QString flatpakApplication(const QStringList &arguments);

} // namespace DesktopExec
