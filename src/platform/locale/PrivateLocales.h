#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>

// Locales this machine lacks, compiled for a program of Vexilo's own start. A program that picks
// its language from the locale's name (wxWidgets) and sets that locale stays in English when the
// C library cannot load it, and a Debian machine usually has only its user's locale. The C
// library also reads compiled locales from the folders LOCPATH names, then from its own folder,
// but no longer from its locale archive, where the installed locales usually are: so every
// locale such a start names must then be found in a folder.
namespace PrivateLocales {

// The C library's own folder of compiled locales, still read under LOCPATH.
inline const QString kSystemFolder = QStringLiteral("/usr/lib/locale");

// The folder glibc looks in for a locale, its codeset normalised as glibc does:
// "fr_FR.UTF-8" -> "fr_FR.utf8", "sr_RS.UTF-8@latin" -> "sr_RS.utf8@latin".
QString folderName(const QString &locale);

// Whether `folder` holds the locale compiled.
bool holds(const QString &folder, const QString &locale);

// The localedef arguments that compile `locale` from the sources under `i18n` (locales/ and
// charmaps/, /usr/share/i18n) into `target`; empty when the name has no codeset, is no plain
// name, or has no source there.
QStringList compileArguments(const QString &locale, const QString &i18n, const QString &target);

struct Setup {
    // Where compiled locales go (folderFor).
    QString folder;
    // The C library's own folder of compiled locales, still read under LOCPATH.
    QString systemFolder;
    std::function<bool(const QString &)> localeExists;
    // Compiles a locale into `folder`; false when it could not.
    std::function<bool(const QString &)> compile;
};

// `child` with LOCPATH naming `setup.folder` (before a LOCPATH of the user's) when a locale it
// names is missing on this machine, every locale it names that no folder holds compiled there
// first. `child` unchanged when none is missing, or when one cannot be compiled: the program
// then starts as it would without.
QProcessEnvironment withMissingLocales(const QProcessEnvironment &child, const Setup &setup);

// Vexilo's folder for compiled locales: $XDG_CACHE_HOME/vexilo/locales/<C library version>,
// compiled locales being bound to the library that reads them. Empty without a home.
QString folderFor(const QProcessEnvironment &user);

// Compiles `locale` into `folder` with localedef, at most `bound`: into a temporary folder first,
// then moved to its name, so that a start never sees half a locale. Creates `folder` private to
// the user; refuses a folder that is a link or that others may write to.
bool compile(const QString &folder, const QString &locale, const QString &i18n,
             std::chrono::milliseconds bound);

// This machine's setup for the user's starts.
Setup machineSetup(const QProcessEnvironment &user);

} // namespace PrivateLocales
